#ifndef ZELVATRIX_TENSEMBLERUNNER_H_
#define ZELVATRIX_TENSEMBLERUNNER_H_

#include <cstddef>
#include <functional>
#include <string>

#include "TError.h"
#include "TTable.h"

// The outcome of analysing one file of an ensemble: its table, or why it
// failed.
struct TFileResult {
  bool ok = false;
  TTable table{{}};
  std::string message;
  TError::Kind kind = TError::Kind::kInput;

  // The message of a failed result as the programs report it, "FILE: ...",
  // whether or not its source put the file name in front; a fault of the
  // program says so and asks to be reported.
  std::string FileMessage(const std::string& file) const;
};

// Analyses the files of an ensemble in parallel and hands the results over
// in file order. Each file is analysed on its own (loaded, analysed and
// freed by the work function), and at most a few results per job wait for
// an earlier file to finish, so memory is bounded by the jobs in flight, not
// by the size of the ensemble.
// Thread safety: stateless; Run may be called from several threads at once.
class TEnsembleRunner {
 public:
  // Makes the table of file `index`; may throw. Called from worker threads,
  // several at once: it must be safe to call concurrently.
  using Work = std::function<TTable(std::size_t index)>;
  // Receives the result of file `index`, called on the thread that called
  // Run, in increasing order of index, as soon as every file before it is
  // done.
  using Deliver = std::function<void(std::size_t index, TFileResult& result)>;

  // Runs `work` for the indices 0 to count - 1 on `jobs` threads (at least
  // one) and `deliver` for each in order. A work function that throws gives
  // a failed result: TError with its message and kind, running out of
  // memory as "Out of memory" (kind kInput), any other exception as kind
  // kInternal. Returns when every result has been delivered; an exception
  // thrown by `deliver` stops the run and is passed on once the workers
  // have finished the files they had begun.
  static void Run(std::size_t count, std::size_t jobs, const Work& work,
                  const Deliver& deliver);
};

#endif  // ZELVATRIX_TENSEMBLERUNNER_H_
