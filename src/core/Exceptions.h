#pragma once

#include <stdexcept>
#include <string>

namespace zentrix {

// Root of every exception our engines raise. Each carries only its message, so the GUI's
// one error box and the CLI can show any of them the same way.
class EZentrixError : public std::runtime_error {
public:
  explicit EZentrixError(const std::string& message) : std::runtime_error(message) {}
};

// A date or time that cannot be encoded, decoded or parsed.
class EConvertError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

}  // namespace zentrix
