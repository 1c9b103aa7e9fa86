#include "TError.h"

TError::TError(const std::string& message) : std::runtime_error(message) {}
