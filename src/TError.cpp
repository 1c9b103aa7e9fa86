#include "TError.h"

TError::TError(const std::string& message, Kind kind)
    : std::runtime_error(message), kind_(kind) {}

TError TError::WithMessage(const std::string& message) const {
  return TError(message, kind_);
}
