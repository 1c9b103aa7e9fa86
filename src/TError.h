#ifndef ZELVATRIX_TERROR_H_
#define ZELVATRIX_TERROR_H_

#include <stdexcept>
#include <string>

// The one error type of the program. It carries its message text, which is
// what the user sees on standard error, and a kind, so that a caller can tell
// a bad input file from a bad command line and from a fault of the program
// without reading the text. Everything below the drivers throws it; each
// driver catches it in one place. Thread safety: an error is immutable once
// made and may be read from any thread.
class TError : public std::runtime_error {
 public:
  enum class Kind {
    // The data at fault: an MP file that cannot be read or is malformed, or
    // settings its years cannot hold (a burn-in beyond the span, ...).
    kInput,
    // The command line at fault: an unknown option, a value out of range.
    kUsage,
    // A library operation called outside its limits or a lookup that cannot
    // fail on the programs' paths: a fault of the caller, never of the data.
    kInternal,
  };

  explicit TError(const std::string& message, Kind kind = Kind::kInput);
  // The same kind with another message, e.g. the file name put in front.
  TError WithMessage(const std::string& message) const;
  Kind GetKind() const { return kind_; }

 private:
  Kind kind_;
};

#endif  // ZELVATRIX_TERROR_H_
