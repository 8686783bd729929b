#pragma once
// The toolkit's own errors: what an unreadable picture or a failed platform call raises.
#include <stdexcept>
#include <string>
#include <utility>

namespace kravelon {

class TToolkitError : public std::runtime_error {
 public:
  explicit TToolkitError(const std::string& message) : std::runtime_error(message) {}
};

// A file the game cannot use: missing, not a file, damaged, or declaring more than the game can
// use. It carries the file's full path to the one place that tells the player.
class TFileError : public TToolkitError {
 public:
  TFileError(std::string path, const std::string& message)
      : TToolkitError(message), FullPath(std::move(path)) {}
  const std::string& Path() const noexcept { return FullPath; }

 private:
  std::string FullPath;
};

}  // namespace kravelon
