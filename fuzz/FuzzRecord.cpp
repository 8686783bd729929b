// The record on any bytes: what is accepted is written again as the same games, and every game
// it holds is one the record can hold.
#include <cstdlib>
#include <string_view>

#include "Store/Record.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > RecordSizeLimit) return 0;  // refused unread
  const auto games = ParseRecord(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!games) return 0;
  for (const TGameResult& game : *games)
    if (!Recordable(game)) std::abort();
  if (ParseRecord(FormatRecord(*games)) != games) std::abort();
  return 0;
}
