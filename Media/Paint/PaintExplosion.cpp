// The explosion: twenty frames cut from a masked sheet, played over a cell.
#include <algorithm>
#include <cstdio>

#include "Common/Text.h"
#include "Media/Layout.h"
#include "Media/Paint/Paint.h"
#include "Toolkit/Pause.h"

namespace kravelon {

namespace {

constexpr int FrameWidth = 48;
constexpr int FrameHeight = 64;
constexpr int FramesPerRow = 5;
constexpr int FrameDelayMs = 30;

}  // namespace

void TPaint::BuildExplosion() {
  Log(Tr("Создание анимации"));
  AddImage("IM_EXPLOSION", LoadJpegImage("Images/Explosion.jpg"));
  AddImage("IM_EXPLOSION_MASK", LoadJpegImage("Images/ExplosionMask.jpg"));
  MakeMask("IM_EXPLOSION_MASK");
  TBitmap& sheet = *GetImage("IM_EXPLOSION");
  sheet.Canvas.CopyMode = TCopyMode::And;
  sheet.Canvas.CopyRect({0, 0, 256, 256}, *GetImage("IM_EXPLOSION_MASK"), {0, 0, 256, 256});
  for (int n = 0; n < ExplosionFrameCount; ++n) {
    const int column = n % FramesPerRow, row = n / FramesPerRow;
    auto frame = CreateImage(FrameHeight, FrameWidth);
    ExplosionFrames[static_cast<std::size_t>(n)] = frame.get();
    char name[32];
    std::snprintf(name, sizeof name, "IM_EXPLOSION_FRAME_%02d", n);
    frame->Canvas.Draw(-FrameWidth * column, -FrameHeight * row, &sheet);
    frame->Transparent = true;
    frame->TransparentMode = TTransparentMode::Auto;
    AddImage(name, std::move(frame));
  }
}

void TPaint::MakeMask(std::string_view name) {
  TBitmap* picture = GetImage(name);
  if (!picture) return;
  for (int y = 0; y < picture->Height(); ++y) {
    std::uint32_t* row = picture->Row(y);
    for (int x = 0; x < picture->Width(); ++x) {
      const TColor c = picture->Unpack(row[x]);
      // Blue in the high byte, red in the low one.
      const std::uint32_t value = (std::uint32_t{c.B} << 16) | (std::uint32_t{c.G} << 8) | c.R;
      row[x] = picture->Pack(value <= 0x808080 ? clr::Black : clr::White);
    }
  }
}

void TPaint::Explode(int board, TPoint cell) {
  // The explosion picture is drawn up and to the left of the cell it covers.
  const TRect at = CellRect(board, cell);
  PlayAnimation(at.Left - 8, at.Top - 30, ExplosionFrameCount);
}

void TPaint::PlayAnimation(int x, int y, int count) {
  TBitmap* back = GetImage("SYS_BACK");
  if (!back || !BackCanvas) return;
  // Only the sprite's rectangle changes: it is saved, restored under each frame and sent.
  const TRect sprite{std::max(x, 0), std::max(y, 0), std::min(x + FrameWidth, back->Width()),
                     std::min(y + FrameHeight, back->Height())};
  if (sprite.Width() <= 0 || sprite.Height() <= 0) return;
  const TRect saved{0, 0, sprite.Width(), sprite.Height()};
  TBitmap beneath(sprite.Width(), sprite.Height());
  beneath.Canvas.CopyRect(saved, *back, sprite);
  for (int i = 0; i < count && i < ExplosionFrameCount; ++i) {
    BackCanvas->CopyRect(sprite, beneath, saved);
    BackCanvas->Draw(x, y, ExplosionFrames[static_cast<std::size_t>(i)]);
    CopyToWindow(sprite);
    Sleep(FrameDelayMs);
  }
  BackCanvas->CopyRect(sprite, beneath, saved);
  CopyToWindow(sprite);
}

}  // namespace kravelon
