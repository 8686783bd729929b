#pragma once
// Every picture of the game, drawn from code. One palette and one light, from the top left.
#include <vector>

#include "tools/assetgen/Raster.h"

namespace assetgen {

Raster AboutPicture();
Raster WinPicture();
Raster BackgroundPicture();
Raster TitlePicture();
Raster ConsolePicture();
Raster MenuPicture(bool selected);
Raster ActivePicture();

Raster WaterTile();
Raster MissTile();
Raster ShipTile();
Raster HitTile();

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
