#include "tools/assetgen/Preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/assetgen/Art.h"
#include "tools/assetgen/Formats.h"
#include "tools/assetgen/Text.h"

namespace assetgen {
namespace {

namespace fs = std::filesystem;

uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Raster LoadBmp24(const fs::path& file) {
  Bytes b = ReadFile(file);
  int w = static_cast<int>(Le32(b, 18)), h = static_cast<int>(Le32(b, 22));
  size_t offset = Le32(b, 10), stride = (w * 3 + 3) & ~3;
  Raster r(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &b[offset + (h - 1 - y) * stride + x * 3];
      r.Set(x, y, {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f});
    }
  return r;
}

// The cursor over a checkerboard, so its transparent parts show as such.
Raster LoadCursorOnChecker(const fs::path& file) {
  Bytes b = ReadFile(file);
  size_t pixels = Le32(b, 18) + 40;
  Raster r(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint8_t* p = &b[pixels + ((31 - y) * 32 + x) * 4];
      float check = ((x / 4 + y / 4) % 2) ? 0.75f : 0.45f;
      Rgb under{check, check, check};
      r.Set(x, y, Mix(under, {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f}, p[3] / 255.0f));
    }
  return r;
}

float WavSeconds(const fs::path& file) {
  Bytes b = ReadFile(file);
  return static_cast<float>(Le32(b, 40)) / static_cast<float>(Le32(b, 28));
}

Raster Zoom(const Raster& r, int k) {
  Raster out(r.Width() * k, r.Height() * k);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.Set(x, y, r.Get(x / k, y / k));
  return out;
}

// Text with its top at y, the way the game's canvas writes it.
void TextAt(Raster& r, Face face, float size, const std::string& text, int x, int y, Rgb colour) {
  TextMask m = RenderText(face, size, text);
  DrawMask(r, m, x - m.pad, y - m.pad, colour);
}

Raster Jpeg(const fs::path& dir, const char* name) {
  return DecodeJpeg(ReadFile(dir / "Images" / name));
}

void DrawKeyed(Raster& dst, const Raster& src, int x, int y, Rgb key) {
  auto same = [](Rgb a, Rgb b) {
    return std::lround(a.r * 255) == std::lround(b.r * 255) &&
           std::lround(a.g * 255) == std::lround(b.g * 255) &&
           std::lround(a.b * 255) == std::lround(b.b * 255);
  };
  for (int sy = 0; sy < src.Height(); ++sy)
    for (int sx = 0; sx < src.Width(); ++sx)
      if (!same(src.Get(sx, sy), key)) dst.Set(x + sx, y + sy, src.Get(sx, sy));
}

// Composes like the painter: a frame of pieces cut from the border sheet, magenta left out.
void DrawFrame(Raster& back, const Raster& sheet) {
  const Rgb magenta{1, 0, 1};
  auto piece = [&](int x, int y) { return sheet.Crop(x, y, 32, 32); };
  const int W = back.Width(), H = back.Height();
  for (int i = 0; i < (H - 32) / 32; ++i) {
    DrawKeyed(back, piece(0, 16), 0, 32 + 32 * i, magenta);
    DrawKeyed(back, piece(32, 16), W - 32, 32 + 32 * i, magenta);
  }
  for (int i = 0; i < (W - 32) / 32; ++i) {
    DrawKeyed(back, piece(16, 0), 32 + 32 * i, 0, magenta);
    DrawKeyed(back, piece(16, 32), 32 + 32 * i, H - 32, magenta);
  }
  DrawKeyed(back, piece(0, 0), 0, 0, magenta);
  DrawKeyed(back, piece(32, 0), W - 32, 0, magenta);
  DrawKeyed(back, piece(0, 32), 0, H - 32, magenta);
  DrawKeyed(back, piece(32, 32), W - 32, H - 32, magenta);
}

Raster Average(const Raster& a, const Raster& b) {
  Raster out(a.Width(), a.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      Rgb p = a.Get(x, y), q = b.Get(x, y);
      out.Set(x, y,
              {std::floor((p.r + q.r) * 255 / 2) / 255, std::floor((p.g + q.g) * 255 / 2) / 255,
               std::floor((p.b + q.b) * 255 / 2) / 255});
    }
  return out;
}

// The nine-piece panel at half strength over the target's rectangle.
void DrawPanel(Raster& target, const Raster& sheet, int left, int top, int right, int bottom) {
  int W = right - left, H = bottom - top, rows = H / 16, cols = W / 16;
  Raster under = target.Crop(left, top, W, H), work = under;
  auto cell = [&](int c, int r) { return sheet.Crop(16 * c, 16 * r, 16, 16); };
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) work.Draw(cell(1, 1), 16 * c, 16 * r);
  for (int i = 0; i < rows; ++i) {
    work.Draw(cell(0, 1), 0, 16 * i);
    work.Draw(cell(2, 1), W - 16, 16 * i);
  }
  for (int i = 0; i < cols - 1; ++i) {
    work.Draw(cell(1, 0), 16 + 16 * i, 0);
    work.Draw(cell(1, 2), 16 + 16 * i, H - 16);
  }
  work.Draw(cell(0, 0), 0, 0);
  work.Draw(cell(2, 0), W - 16, 0);
  work.Draw(cell(0, 2), 0, H - 16);
  work.Draw(cell(2, 2), W - 16, H - 16);
  target.Draw(Average(work, under), left, top);
}

struct Screens {
  Raster about, ship, shipoff, empty, miss, background, consol, menu, menuSelected, title, win;
  Raster explosion, mask, border, report;
  explicit Screens(const fs::path& dir)
      : about(Jpeg(dir, "About.jpg")),
        ship(Jpeg(dir, "Ship.jpg")),
        shipoff(Jpeg(dir, "Shipoff.jpg")),
        empty(Jpeg(dir, "Empty.jpg")),
        miss(Jpeg(dir, "Miss.jpg")),
        background(Jpeg(dir, "Backround.jpg")),
        consol(Jpeg(dir, "Consol.jpg")),
        menu(Jpeg(dir, "MenuBar.jpg")),
        menuSelected(Jpeg(dir, "MenuSelected.jpg")),
        title(Jpeg(dir, "Title.jpg")),
        win(Jpeg(dir, "Win.jpg")),
        explosion(Jpeg(dir, "Explosion.jpg")),
        mask(Jpeg(dir, "ExplosionMask.jpg")),
        border(LoadBmp24(dir / "Images" / "Border.bmp")),
        report(LoadBmp24(dir / "Images" / "Report.bmp")) {
    // The game writes its menu caption onto the title strip once.
    TextAt(title, Face::ArialBold, 13.33f, "МЕНЮ", 14, 9, {1, 1, 0});
  }
};

// One string per row: "." water, "S" ship, "o" miss, "X" hit.
using Board = std::vector<std::string>;

void DrawBoard(Raster& back, const Screens& s, const Board& b, int originX, bool hideShips) {
  for (int row = 0; row < 10; ++row)
    for (int col = 0; col < 10; ++col) {
      char c = b[row][col];
      const Raster& tile = c == 'S'   ? (hideShips ? s.empty : s.ship)
                           : c == 'o' ? s.miss
                           : c == 'X' ? s.shipoff
                                      : s.empty;
      back.Draw(tile, originX + 32 * col, 36 + 32 * row);
    }
}

Raster BoardScreen(const Screens& s, const Board& user, const Board& computer, bool placing) {
  Raster back = s.background;
  back.Draw(s.title, 0, 4);
  DrawBoard(back, s, user, 4, false);
  DrawBoard(back, s, computer, 372, true);
  if (placing) {
    Raster on = Average(s.ship, s.empty);
    for (int i = 0; i < 3; ++i) back.Draw(on, 4 + 32 * (6 + i), 36 + 32 * 8);
  }
  Raster panel = s.consol;
  const char* lines[] = {"Paint: Инициализация завершена", "Game: Компьютер расставил флот",
                         "Game: Пользователь произвел выстрел в сектор Д5",
                         "Game: Компьютер произвел выстрел в сектор Б7",
                         "Game: Пользователь произвел выстрел в сектор Ж3"};
  for (int i = 0; i < 5; ++i)
    TextAt(panel, Face::ArialBold, 13.33f, lines[i], 8, 32 + 16 * i, {1, 1, 0});
  TextAt(panel, Face::ArialBold, 13.33f, "Сектор: Ж3", 8, 5, {1, 1, 0});
  back.Draw(panel, 4, 356);
  DrawFrame(back, s.border);
  return back;
}

// One explosion frame, cut and masked as the painter does, drawn over a cell.
void DrawExplosionFrame(Raster& back, const Screens& s, int frame, int x, int y) {
  int ox = 48 * (frame % 5), oy = 64 * (frame / 5);
  Raster f(48, 64);
  for (int py = 0; py < 64; ++py)
    for (int px = 0; px < 48; ++px) {
      Rgb m = s.mask.Get(ox + px, oy + py);
      uint32_t v = (static_cast<uint32_t>(std::lround(m.b * 255)) << 16) |
                   (static_cast<uint32_t>(std::lround(m.g * 255)) << 8) |
                   static_cast<uint32_t>(std::lround(m.r * 255));
      f.Set(px, py, v <= 0x808080 ? Rgb{} : s.explosion.Get(ox + px, oy + py));
    }
  DrawKeyed(back, f, x, y, f.Get(0, 63));
}

const Board kUser = {"SSSS..S...", "......S..S", ".o.S......", "...S..o.X.", "S..X.....o",
                     "..........", "S.....SS..", "...o......", "X.S......o", "..S...SSX."};
const Board kComputer = {"..o.......", "......o...", "..X.......", ".oXo..SSS.", "..S.......",
                         "......o...", "S...o....S", "S.........", ".......o..", "..SS.....S"};

}  // namespace

void WriteMockup(const fs::path& assetDir, const fs::path& png) {
  Screens s(assetDir);
  const int gap = 16;
  Raster sheet(2 * 696 + 3 * gap, 2 * 488 + 3 * gap, {0.2f, 0.2f, 0.2f});

  // Battle: a hit on the computer's board, its explosion at the height of its flare.
  Raster battle = BoardScreen(s, kUser, kComputer, false);
  DrawExplosionFrame(battle, s, 5, 6 * 32 + 372 - 8, 2 * 32 + 36 - 30);
  DrawExplosionFrame(battle, s, 12, 9 * 32 + 4 - 8, 4 * 32 + 36 - 30);
  sheet.Draw(battle, gap, gap);

  // Placement with a preview, and the exit question open over it.
  Board early(10, std::string(10, '.'));
  early[0] = "SSSS......";
  early[2] = "......SSS.";
  Raster placing = BoardScreen(s, early, Board(10, std::string(10, '.')), true);
  const char* items[] = {"Выйти?", "Да", "Нет"};
  for (int i = 0; i < 3; ++i) {
    int x = 348 - 128, y = 244 - 100 + 64 * i;
    Rgb caption{0, 1, 1};
    if (i == 0) {
      placing.Draw(s.menu, x, y);
      caption = {0, 1, 0};
    } else if (i == 1) {
      placing.Draw(s.menuSelected, x, y);
      caption = {1, 1, 0};
    } else {
      placing.Paint(x, y, x + 256, y + 64, [](float, float, Rgb) { return Rgb{0, 0, 1}; });
    }
    TextMask m = RenderText(Face::NarrowBold, 48, items[i]);
    int h = m.height - 2 * m.pad;
    DrawMask(placing, m, x + (256 - m.advance) / 2 - m.pad, y + (64 - h) / 2 - m.pad, caption);
  }
  sheet.Draw(placing, 2 * gap + 696, gap);

  // Game over: the panel at half strength over the picture, the result in large letters.
  Raster over = battle;
  Raster reportText = s.win;
  DrawPanel(reportText, s.report, 64, 296, 632, 424);
  TextMask big = RenderText(Face::NarrowBold, 80, "Вы выиграли!");
  int h = big.height - 2 * big.pad;
  DrawMask(reportText, big, (696 - big.advance) / 2 - big.pad, (128 - h) / 2 + 296 - big.pad,
           {1, 1, 0});
  over.Draw(reportText, 0, 4);
  over.Draw(s.title, 0, 4);
  DrawFrame(over, s.border);
  sheet.Draw(over, gap, 2 * gap + 488);

  Raster about = s.about;
  TextAt(about, Face::SansBold, 10.67f, "Версия 1.2", 584, 267, {0, 0, 0});
  TextAt(about, Face::SansBold, 10.67f, "Закрузка изображений...", 16, 267, {0, 0, 0});
  sheet.Draw(about, 2 * gap + 696, 2 * gap + 488);
  WriteFile(png, EncodePng(sheet));
}

void WriteContactSheet(const fs::path& assetDir, const fs::path& png) {
  fs::path img = assetDir / "Images";
  struct Item {
    std::string label;
    Raster picture;
  };
  std::vector<Item> items;
  auto add = [&](const std::string& name, const Raster& r, bool zoomToo) {
    items.push_back({name, r});
    if (zoomToo) items.push_back({name + " ×4", Zoom(r, 4)});
  };
  for (const char* name :
       {"About.jpg", "Win.jpg", "Backround.jpg", "Explosion.jpg", "ExplosionMask.jpg", "Active.jpg",
        "Consol.jpg", "Title.jpg", "MenuBar.jpg", "MenuSelected.jpg"})
    add(name, DecodeJpeg(ReadFile(img / name)), false);
  add("Border.bmp", LoadBmp24(img / "Border.bmp"), true);
  add("Report.bmp", LoadBmp24(img / "Report.bmp"), true);
  for (const char* name :
       {"Ship.jpg", "Shipoff.jpg", "Sunk.jpg", "Empty.jpg", "Miss.jpg", "Revealed.jpg"})
    add(name, DecodeJpeg(ReadFile(img / name)), true);
  add("CURSOR.CUR", LoadCursorOnChecker(img / "CURSOR.CUR"), true);
  // The icons are drawn afresh (the generator's test holds the files to the same bytes).
  for (int size : kIconSizes) {
    Icon icon = AppIcon(size);
    Raster shown(size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        float check = ((x / 4 + y / 4) % 2) ? 0.75f : 0.45f;
        shown.Set(x, y,
                  Mix({check, check, check}, icon.colour.Get(x, y),
                      icon.alpha[static_cast<size_t>(y) * size + x]));
      }
    add("Icons/kravelon-" + std::to_string(size) + ".png", shown, size <= 48);
  }
  {
    // The twenty frames as the game shows them: masked, keyed, over a board cell.
    Screens s(assetDir);
    Raster frames(5 * 56, 4 * 72, {0.16f, 0.16f, 0.17f});
    for (int n = 0; n < 20; ++n) {
      int fx = 56 * (n % 5) + 4, fy = 72 * (n / 5) + 4;
      for (int py = 0; py < 64; ++py)
        for (int px = 0; px < 48; ++px)
          frames.Set(fx + px, fy + py, s.empty.Get((px + 24) % 32, (py + 2) % 32));
      frames.Draw(s.shipoff, fx + 8, fy + 30);
      DrawExplosionFrame(frames, s, n, fx, fy);
    }
    add("explosion frames as drawn ×2", Zoom(frames, 2), false);
  }

  const int width = 1440, margin = 16, label = 20;
  // Shelf packing, left to right, in the order above.
  struct Placed {
    int x, y;
  };
  std::vector<Placed> at;
  int x = margin, y = margin, shelf = 0;
  for (const Item& it : items) {
    int slot = std::max(it.picture.Width(), RenderText(Face::Sans, 13, it.label).advance);
    if (x + slot > width - margin) {
      x = margin;
      y += shelf + label + margin;
      shelf = 0;
    }
    at.push_back({x, y});
    x += slot + margin;
    shelf = std::max(shelf, it.picture.Height());
  }
  int height = y + shelf + label + margin + 40;
  Raster sheet(width, height, {0.16f, 0.16f, 0.17f});
  for (size_t i = 0; i < items.size(); ++i) {
    TextAt(sheet, Face::Sans, 13, items[i].label, at[i].x, at[i].y, {0.9f, 0.9f, 0.9f});
    sheet.Draw(items[i].picture, at[i].x, at[i].y + label);
  }
  char sounds[200];
  std::snprintf(
      sounds, sizeof sounds, "Sounds: Shot.wav %.3f s   Setup.wav %.3f s   win.wav %.3f s (loop)",
      WavSeconds(assetDir / "Sounds" / "Shot.wav"), WavSeconds(assetDir / "Sounds" / "Setup.wav"),
      WavSeconds(assetDir / "Sounds" / "win.wav"));
  TextAt(sheet, Face::Sans, 14, sounds, margin, height - 36, {0.9f, 0.9f, 0.9f});
  WriteFile(png, EncodePng(sheet));
}

}  // namespace assetgen
