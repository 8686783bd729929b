#pragma once
// A painter on an off-screen window, with a console, an engine and a scratch program folder.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GameEngine/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/Paint.h"
#include "Toolkit/Forms.h"
#include "Toolkit/MessageBox.h"

// Writes pictures for the tests: `pixel(x, y)` gives each pixel's colour.
void WriteJpeg(const std::string& path, int width, int height,
               const std::function<TColor(int, int)>& pixel, int quality = 100);
void WriteBmp(const std::string& path, int width, int height,
              const std::function<TColor(int, int)>& pixel);
std::unique_ptr<TBitmap> SolidPicture(int width, int height, TColor color);

struct TShownBox {
  std::string Text, Caption;
  TMessageIcon Icon;
};

class PaintFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Folder;  // the program's folder, ending in '/'
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TForm> Window;
  std::unique_ptr<TConsol> Console;
  std::unique_ptr<TGameEngine> GameEngine;
  std::unique_ptr<TPaint> Painter;
  std::vector<TShownBox> Boxes;
};
