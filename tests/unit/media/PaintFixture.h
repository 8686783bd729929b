#pragma once
// A painter on an off-screen window, with a console, an engine and a scratch program folder.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "Media/Paint/Paint.h"
#include "Toolkit/Form.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

// Writes pictures for the tests: `pixel(x, y)` gives each pixel's colour.
void WriteJpeg(const std::string& path, int width, int height,
               const std::function<TColor(int, int)>& pixel, int quality = 100);
void WriteBmp(const std::string& path, int width, int height,
              const std::function<TColor(int, int)>& pixel);
std::unique_ptr<TBitmap> SolidPicture(int width, int height, TColor color);

class PaintFixture : public ToolkitFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  TScratchProgramFolder Scratch;
  const std::string Folder = Scratch.Path();  // the program's folder
  std::unique_ptr<TForm> Window;
  std::unique_ptr<TConsol> Console;
  std::unique_ptr<TGameEngine> GameEngine;
  std::unique_ptr<TPaint> Painter;
};

}  // namespace kravelon
