#include "GameEngine/Consol.h"

#include "GameEngine/Globals.h"

void TConsol::AddLine(std::string_view text) {
  Lines.emplace_back(text);
  if (GraphicsReady) {
    if (OnRedraw) OnRedraw();
  } else {
    Memo1.emplace_back(text);
  }
}
