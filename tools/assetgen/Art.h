#pragma once
// Every picture of the game, drawn from code. One palette and one light, from the top left.
#include <vector>

#include "tools/assetgen/Raster.h"

namespace assetgen {

// The words two pictures carry, in one language: the about picture's title, subtitle and compass
// points (north, east, south, west), and the title strip's labels over the two boards.
struct PictureWords {
  const char* folder;  // under Images/: "" for the game's own Russian, else the language's code
  const char* title;
  const char* subtitle;
  const char* compass[4];
  const char* ownFleet;
  const char* enemyFleet;
};
extern const PictureWords kRussianWords;
extern const PictureWords kEnglishWords;

Raster AboutPicture(const PictureWords& words = kRussianWords);
Raster WinPicture();
Raster BackgroundPicture();
Raster TitlePicture(const PictureWords& words = kRussianWords);
Raster ConsolePicture();
Raster MenuPicture(bool selected);
Raster ActivePicture();

Raster WaterTile();
Raster MissTile();
Raster ShipTile();
Raster HitTile();
// A ship sunk to its last segment: the burnt plate gone dark under the waves, its cross put out.
Raster SunkTile();
// A ship the other side never found, shown once the game is over: its plate only outlined and
// hatched over the water, so that it reads apart from a ship afloat by its shape.
Raster RevealedTile();

// Sheets whose magenta (border) or 16 × 16 cells (report) the game cuts apart.
Raster BorderSheet();
Raster ReportSheet();

// 20 frames of 48 × 64 in 4 rows of 5; the mask is pure white inside the fire and smoke.
struct ExplosionSheets {
  Raster colour;
  Raster mask;
};
ExplosionSheets ExplosionPictures();

struct Cursor {
  Raster colour;
  std::vector<float> alpha;
  int hotX = 0, hotY = 0;
};
Cursor Gunsight();

// The application icon, size × size: the caravel on a brass-rimmed badge with clear corners.
struct Icon {
  Raster colour;
  std::vector<float> alpha;
};
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
Icon AppIcon(int size);

}  // namespace assetgen
