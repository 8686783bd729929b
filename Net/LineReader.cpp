#include "Net/LineReader.h"

namespace kravelon {

TLineReader::TLineReader(std::size_t limit) : Limit(limit) { Partial.reserve(limit); }

bool TLineReader::Feed(std::string_view data, const std::function<bool(std::string_view)>& line) {
  while (!Overflow && !data.empty()) {
    const std::size_t end = data.find('\n');
    const std::string_view piece = data.substr(0, end);
    if (Partial.size() + piece.size() + 1 > Limit) {
      Overflow = true;
      Partial.clear();
      break;
    }
    if (end == std::string_view::npos) {
      Partial.append(piece);
      break;
    }
    data.remove_prefix(end + 1);
    bool goOn = true;
    if (Partial.empty()) {
      goOn = line(piece);
    } else {
      Partial.append(piece);
      goOn = line(Partial);
      Partial.clear();
    }
    if (!goOn) break;
  }
  return !Overflow;
}

}  // namespace kravelon
