#pragma once
// Cuts a byte stream into lines, holding at most one line's worth of bytes: a peer that never
// sends "\n" costs the game 511 bytes, not the megabyte it sends.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kravelon {

class TLineReader {
 public:
  // `limit` counts the "\n".
  explicit TLineReader(std::size_t limit);

  // Hands every line `data` completes, without its "\n", to `line`, in order; `line` answers
  // whether to go on. False once a line has run past the limit: the reader then takes nothing
  // more, so the stream must be dropped.
  bool Feed(std::string_view data, const std::function<bool(std::string_view)>& line);

  bool Overflowed() const { return Overflow; }
  std::size_t Pending() const { return Partial.size(); }

 private:
  std::size_t Limit;
  std::string Partial;  // the line begun, never longer than Limit - 1
  bool Overflow = false;
};

}  // namespace kravelon
