#pragma once
// The first board screen as the game composes it from the asset files, and a screenshot held
// against it.
#include <string>

#include "tests/window/Pictures.h"
#include "tests/window/XHarness.h"

namespace kravelon {

// The screen before any text is written on it, from the pictures in the folder `images`.
TCanvasImage FirstBoardScreen(const std::string& images);

// Empty when the shot of the game window equals the expected screen outside the text (the buttons'
// captions and the console's lines); else how many pixels differ and the first few.
std::string BoardDifferences(const TScreenshot& shot, const TCanvasImage& expected);

}  // namespace kravelon
