#ifndef ZELVATRIX_TERROR_H_
#define ZELVATRIX_TERROR_H_

#include <stdexcept>
#include <string>

// The one error type of the program. It carries only its message text, which
// is what the user sees on standard error. Everything below the driver throws
// it; the driver catches it in one place.
class TError : public std::runtime_error {
 public:
  explicit TError(const std::string& message);
};

#endif  // ZELVATRIX_TERROR_H_
