#include "GameEngine/Consol.h"

#include "GameEngine/Globals.h"

#include <cstdio>

void TConsol::AddLine(std::string_view text) {
  Lines.emplace_back(text);
  if (EchoToStdout) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  if (GraphicsReady) {
    if (OnRedraw) OnRedraw();
  } else {
    Memo1.emplace_back(text);
  }
}
