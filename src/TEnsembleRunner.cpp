#include "TEnsembleRunner.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <utility>
#include <vector>

namespace {

TFileResult Attempt(const TEnsembleRunner::Work& work, std::size_t index) {
  TFileResult result;
  try {
    result.table = work(index);
    result.ok = true;
  } catch (const TError& error) {
    result.message = error.what();
    result.kind = error.GetKind();
  } catch (const std::bad_alloc&) {
    result.message = "Out of memory";
    result.kind = TError::Kind::kInput;
  } catch (const std::exception& error) {
    result.message = error.what();
    result.kind = TError::Kind::kInternal;
  }
  return result;
}

// The state the workers and the delivering thread share, under one mutex.
class Queue {
 public:
  Queue(std::size_t count, std::size_t window)
      : count_(count), window_(window) {}

  // The next index to analyse, or count when none is left or the run was
  // stopped. Waits while too many results are waiting to be delivered.
  std::size_t Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [this] {
      return stopped_ || next_ >= count_ || next_ < delivered_ + window_;
    });
    if (stopped_ || next_ >= count_) return count_;
    return next_++;
  }

  void Put(std::size_t index, TFileResult result) {
    std::lock_guard<std::mutex> lock(mutex_);
    done_.emplace(index, std::move(result));
    ready_.notify_all();
  }

  // Waits for the result of `index`, the next to deliver, and removes it.
  TFileResult Await(std::size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return done_.count(index) > 0; });
    TFileResult result = std::move(done_.at(index));
    done_.erase(index);
    return result;
  }

  void Delivered(std::size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    delivered_ = index + 1;
    room_.notify_all();
  }

  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    room_.notify_all();
  }

 private:
  const std::size_t count_;
  const std::size_t window_;
  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable ready_;
  std::size_t next_ = 0;
  std::size_t delivered_ = 0;
  bool stopped_ = false;
  std::map<std::size_t, TFileResult> done_;
};

}  // namespace

std::string TFileResult::FileMessage(const std::string& file) const {
  const std::string prefix = file + ": ";
  std::string text = message;
  if (kind == TError::Kind::kInternal) {
    text = "internal error, please report it: " + text;
  }
  if (text.compare(0, prefix.size(), prefix) == 0) return text;
  return prefix + text;
}

void TEnsembleRunner::Run(std::size_t count, std::size_t jobs, const Work& work,
                          const Deliver& deliver) {
  if (count == 0) return;
  jobs = std::max<std::size_t>(1, std::min(jobs, count));
  if (jobs == 1) {
    for (std::size_t index = 0; index < count; ++index) {
      TFileResult result = Attempt(work, index);
      deliver(index, result);
    }
    return;
  }
  // Results may run ahead of the delivery by this many files: enough to
  // keep every job busy past one slow file, few enough to bound memory.
  Queue queue(count, 4 * jobs);
  std::vector<std::thread> workers;
  workers.reserve(jobs);
  for (std::size_t j = 0; j < jobs; ++j) {
    workers.emplace_back([&queue, &work, count] {
      for (std::size_t index = queue.Take(); index < count;
           index = queue.Take()) {
        queue.Put(index, Attempt(work, index));
      }
    });
  }
  std::exception_ptr failure;
  try {
    for (std::size_t index = 0; index < count; ++index) {
      TFileResult result = queue.Await(index);
      deliver(index, result);
      queue.Delivered(index);
    }
  } catch (...) {
    failure = std::current_exception();
    queue.Stop();
  }
  for (std::thread& worker : workers) worker.join();
  if (failure) std::rethrow_exception(failure);
}
