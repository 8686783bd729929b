#include "Console/Consol.h"

#include <cstdio>

namespace kravelon {

std::vector<std::string> TConsol::AllLines() const {
  std::vector<std::string> lines;
  lines.reserve(Ends.size());
  for (int i = 0; i < Count(); ++i) lines.emplace_back(Line(i));
  return lines;
}

void TConsol::AddLine(std::string_view text) {
  Text.append(text);
  Ends.push_back(static_cast<std::uint32_t>(Text.size()));
  if (EchoToStdout) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  if (OnLine) OnLine(text);
  if (Showing) {
    if (OnRedraw) OnRedraw();
  } else {
    Early.emplace_back(text);
  }
}

}  // namespace kravelon
