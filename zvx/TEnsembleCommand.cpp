#include "TEnsembleCommand.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "TCsvWriter.h"
#include "TEnsembleRunner.h"
#include "TEnsembleSummary.h"
#include "TEnsembleValues.h"
#include "TError.h"
#include "Zvx.h"

namespace {

// "1234/4000 files, 2 failed", redrawn in place on a terminal.
class Progress {
 public:
  Progress(std::ostream& err, bool shown, std::size_t total)
      : err_(err), shown_(shown), total_(total) {}

  void Count(bool failed) {
    ++done_;
    if (failed) ++failed_;
    Draw();
  }
  // Clears the line before a message is written under it.
  void Clear() {
    if (shown_ && drawn_) err_ << "\r\033[K";
  }
  void Draw() {
    if (!shown_) return;
    err_ << '\r' << done_ << '/' << total_ << " files, " << failed_ << " failed"
         << std::flush;
    drawn_ = true;
  }
  void Finish() {
    if (shown_ && drawn_) err_ << '\n';
  }
  std::size_t Failed() const { return failed_; }

 private:
  std::ostream& err_;
  const bool shown_;
  const std::size_t total_;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
  bool drawn_ = false;
};

}  // namespace

std::string TEnsembleCommand::OutputName(const TCommandContext& context) {
  return context.options.output.empty() ? "standard output"
                                        : context.options.output;
}

std::ostream& TEnsembleCommand::OpenOutput(TCommandContext& context,
                                           std::ofstream& file_out) {
  if (context.options.output.empty()) return context.out;
  const std::string& out_name = context.options.output;
  file_out.open(out_name, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!file_out) {
    const int error = errno;
    throw TError("--output '" + out_name + "': cannot open it for writing: " +
                     (error != 0 ? std::strerror(error) : "unknown error"),
                 TError::Kind::kUsage);
  }
  return file_out;
}

int TEnsembleCommand::Run(TCommandContext& context,
                          const std::vector<std::string>& files,
                          const TTable& columns, const Analyse& analyse) {
  std::ofstream file_out;
  std::ostream& out = OpenOutput(context, file_out);
  const std::string out_name = OutputName(context);
  if (context.options.header) TCsvWriter::WriteHeader(columns, out);
  bool write_failed = false;
  return Gather(
      context, files, analyse,
      [&](const TTable& table) {
        TCsvWriter::WriteRows(table, out);
        out.flush();
        if (!out) {
          write_failed = true;
          throw TError("zvx " + context.command +
                       ": cannot write the table to " + out_name +
                       " (is the disk full?)");
        }
      },
      [&]() {
        out.flush();
        if (!out && !write_failed) {
          throw TError("zvx " + context.command +
                       ": cannot write the table to " + out_name +
                       " (is the disk full?)");
        }
      });
}

int TEnsembleCommand::Summarise(TCommandContext& context,
                                const std::vector<std::string>& files,
                                const Analyse& analyse,
                                const std::string& series_column) {
  std::ofstream file_out;
  std::ostream& out = OpenOutput(context, file_out);
  TEnsembleSummary summary;
  return Gather(
      context, files, analyse,
      [&](const TTable& values) { TEnsembleValues::AddTo(values, &summary); },
      [&]() {
        const TTable table = summary.Table(series_column);
        if (context.options.header) TCsvWriter::WriteHeader(table, out);
        TCsvWriter::WriteRows(table, out);
        out.flush();
        if (!out) {
          throw TError("zvx " + context.command +
                       ": cannot write the table to " + OutputName(context) +
                       " (is the disk full?)");
        }
      });
}

int TEnsembleCommand::Gather(TCommandContext& context,
                             const std::vector<std::string>& files,
                             const Analyse& analyse, const Take& take,
                             const Finish& finish) {
  Progress progress(
      context.err,
      context.err_is_terminal && !context.options.quiet && files.size() > 1,
      files.size());
  bool internal = false;
  TEnsembleRunner::Run(
      files.size(), context.options.jobs,
      [&](std::size_t index) { return analyse(files[index]); },
      [&](std::size_t index, TFileResult& result) {
        if (result.ok) {
          take(result.table);
        } else {
          progress.Clear();
          context.err << result.FileMessage(files[index]) << '\n';
          if (result.kind == TError::Kind::kInternal) internal = true;
        }
        progress.Count(!result.ok);
      });
  finish();
  progress.Finish();
  if (progress.Failed() > 0) {
    context.err << "zvx " << context.command << ": " << progress.Failed()
                << " of " << files.size() << " files failed\n";
  }
  if (internal) return kZvxInternal;
  return progress.Failed() > 0 ? kZvxFileFailed : kZvxSuccess;
}
