#pragma once
// The toolkit's own error: what an unreadable picture or a failed platform call raises.
#include <stdexcept>
#include <string>

class TToolkitError : public std::runtime_error {
 public:
  explicit TToolkitError(const std::string& message) : std::runtime_error(message) {}
};
