#include "tools/assetgen/Art.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/assetgen/Text.h"

namespace assetgen {
namespace {

constexpr float kPi = 3.14159265f;

// The palette: night navy and sea blues, steel, brass, fire.
const Rgb kNight = FromHex(0x0A1320);
const Rgb kNavy = FromHex(0x142640);
const Rgb kNavyLight = FromHex(0x27476B);
const Rgb kSeaDeep = FromHex(0x0E2C47);
const Rgb kSea = FromHex(0x1A5372);
const Rgb kSeaLight = FromHex(0x2C7391);
const Rgb kFoam = FromHex(0xE8F3F2);
const Rgb kGrid = FromHex(0x0A2236);
const Rgb kBrass = FromHex(0xBE9046);
const Rgb kBrassLight = FromHex(0xF4D88E);
const Rgb kBrassDark = FromHex(0x5A3F19);
const Rgb kSteel = FromHex(0x8A949C);
const Rgb kSteelLight = FromHex(0xCCD3D8);
const Rgb kSteelDark = FromHex(0x414A53);
const Rgb kFireHot = FromHex(0xFFF0B8);
const Rgb kFire = FromHex(0xFF8C1F);
const Rgb kEmber = FromHex(0xB0240C);
const Rgb kSoot = FromHex(0x2B2725);
const Rgb kParchment = FromHex(0xF1E8D2);
const Rgb kGoldText = FromHex(0xF3D98C);
const Rgb kBlack{0, 0, 0};
const Rgb kWhite{1, 1, 1};
const Rgb kMagenta{1, 0, 1};

using Sdf = std::function<float(float, float)>;
using Shader = std::function<Rgb(float, float)>;

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float SmoothStep(float a, float b, float v) {
  float t = Clamp01((v - a) / (b - a));
  return t * t * (3 - 2 * t);
}

// Paints a shape whose rim catches the light from the top left; depth < 0 sinks it.
void Bevel(Raster& r, int x0, int y0, int x1, int y1, const Sdf& sdf, const Shader& base,
           float width, float depth) {
  r.Paint(x0, y0, x1, y1, [&](float x, float y, Rgb prev) {
    float d = sdf(x, y);
    float cover = Smooth(d);
    if (cover <= 0) return prev;
    Rgb c = base(x, y);
    if (-d < width) {
      float gx = sdf(x + 0.5f, y) - sdf(x - 0.5f, y);
      float gy = sdf(x, y + 0.5f) - sdf(x, y - 0.5f);
      float len = std::hypot(gx, gy);
      if (len > 1e-4f) {
        float light = (-gx - gy) / (len * 1.41421f) * depth;
        float k = 1 - Clamp01(-d / width);
        c = light > 0 ? Mix(c, kWhite, Clamp01(light * k)) : Mix(c, kBlack, Clamp01(-light * k));
      }
    }
    return Mix(prev, c, cover);
  });
}

void Shadow(Raster& r, const Sdf& sdf, int x0, int y0, int x1, int y1, float dx, float dy,
            float soft, float alpha) {
  r.Paint(x0, y0, x1, y1, [&](float x, float y, Rgb prev) {
    float d = sdf(x - dx, y - dy);
    return Mix(prev, kBlack, alpha * Clamp01(0.5f - d / soft));
  });
}

void Rivet(Raster& r, float cx, float cy, float radius, Rgb colour) {
  Shadow(
      r, [&](float x, float y) { return DistCircle(x, y, cx, cy, radius); },
      static_cast<int>(cx - radius - 3), static_cast<int>(cy - radius - 3),
      static_cast<int>(cx + radius + 4), static_cast<int>(cy + radius + 4), 0.8f, 0.8f, 1.2f, 0.5f);
  Bevel(
      r, static_cast<int>(cx - radius - 2), static_cast<int>(cy - radius - 2),
      static_cast<int>(cx + radius + 3), static_cast<int>(cy + radius + 3),
      [&](float x, float y) { return DistCircle(x, y, cx, cy, radius); },
      [&](float, float) { return colour; }, radius, 0.9f);
}

// A mask shaded per pixel; the shader gets coordinates relative to the text's baseline start.
void DrawMaskShaded(Raster& target, const TextMask& m, int x, int y, const Shader& shade,
                    float alpha = 1) {
  for (int my = 0; my < m.height; ++my)
    for (int mx = 0; mx < m.width; ++mx) {
      float a = m.a[my * m.width + mx];
      if (a > 0)
        target.Blend(x + mx, y + my,
                     shade(static_cast<float>(mx - m.pad), static_cast<float>(my - m.baseline)),
                     a * alpha);
    }
}

// Text centred on cx with its baseline at y, a soft shadow below right, an optional outline.
void Lettering(Raster& r, Face face, float size, const std::string& text, float cx, int baseline,
               Rgb colour, float outline, Rgb outlineColour, float tracking = 0) {
  TextMask m = RenderText(face, size, text, tracking);
  int x = static_cast<int>(std::lround(cx - m.advance / 2.0f)) - m.pad;
  int y = baseline - m.baseline;
  TextMask grown = outline > 0 ? Dilate(m, outline) : m;
  DrawMask(r, Blur(grown, 1), x + 1, y + 2, kBlack, 0.6f);
  if (outline > 0) DrawMask(r, grown, x, y, outlineColour);
  DrawMask(r, m, x, y, colour);
}

// ---------------------------------------------------------------- water and cells

Rgb WaterAt(float x, float y) {
  // Periodic in 32 pixels so that neighbouring cells meet without a seam.
  float n = Fbm(x / 8, y / 8, 11, 3, 4);
  Rgb c = Mix(kSeaLight, kSea, Clamp01(y / 36 + 0.15f));
  return Mix(c, Mix(kSeaDeep, kSeaLight, n), 0.35f);
}

void WaterWithGrid(Raster& r) {
  r.Paint(0, 0, 32, 32, [](float x, float y, Rgb) { return WaterAt(x, y); });
  // Little ripples, lit from above: short wavy strokes, their crests bright.
  struct Ripple {
    float cx, cy, half;
  };
  for (Ripple c :
       {Ripple{9, 11, 5}, Ripple{23, 20, 5.5f}, Ripple{12, 27, 4}, Ripple{26, 6, 3.5f}}) {
    r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb prev) {
      float u = x - c.cx;
      if (std::fabs(u) > c.half) return prev;
      float wave = c.cy + 1.1f * std::sin(u * 1.2f);
      float taper = 1 - std::pow(std::fabs(u) / c.half, 2.0f);
      float d = std::fabs(y - wave) - 0.5f;
      return Mix(prev, kFoam, 0.3f * Smooth(d) * taper);
    });
  }
  // The grid line on the top and left edges: ten cells in a row read as a board.
  for (int i = 0; i < 32; ++i) {
    r.Set(i, 0, kGrid);
    r.Set(0, i, kGrid);
    r.Blend(i, 1, kSeaLight, 0.35f);
    r.Blend(1, i, kSeaLight, 0.35f);
  }
}

Sdf DeckPlate() {
  return [](float x, float y) { return DistRoundBox(x, y, 3, 3, 31, 31, 3.5f); };
}

}  // namespace

Raster WaterTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  return r;
}

Raster MissTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  // Fired-at water is a shade darker, so the searched part of a board reads at once.
  r.Paint(2, 2, 32, 32, [](float, float, Rgb p) { return Mix(p, kSeaDeep, 0.3f); });
  const float cx = 16.5f, cy = 16.5f;
  auto ring = [&](float rad, float width, float alpha) {
    r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb prev) {
      float d = std::fabs(DistCircle(x - 0.8f, y - 0.8f, cx, cy, rad)) - width / 2;
      prev = Mix(prev, kGrid, 0.5f * alpha * Smooth(d));
      d = std::fabs(DistCircle(x, y, cx, cy, rad)) - width / 2;
      return Mix(prev, kFoam, alpha * Smooth(d));
    });
  };
  ring(10, 1.6f, 0.85f);
  ring(5.5f, 1.4f, 0.95f);
  r.Fill(
      12, 12, 22, 22, [&](float x, float y) { return DistCircle(x, y, cx, cy, 2.2f) < 0; }, kWhite);
  for (float a : {0.6f, 2.3f, 3.9f, 5.4f}) {
    float dx = cx + 13.5f * std::cos(a), dy = cy + 13.5f * std::sin(a);
    r.Fill(
        0, 0, 32, 32, [&](float x, float y) { return DistCircle(x, y, dx, dy, 1.1f) < 0; }, kFoam,
        0.8f);
  }
  return r;
}

Raster ShipTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  Sdf plate = DeckPlate();
  Shadow(r, plate, 0, 0, 32, 32, 1.5f, 1.5f, 1.5f, 0.55f);
  Bevel(
      r, 0, 0, 32, 32, plate,
      [](float x, float y) {
        float n = Fbm(x / 5, y / 5, 23, 2);
        return Mix(Mix(kSteelLight, kSteel, Clamp01((x + y) / 40)), kSteelDark, 0.25f * n);
      },
      2.2f, 0.9f);
  // Deck seams along the plate, then the hatch: a sunken ring with a raised lid.
  for (float sy : {9.5f, 23.5f})
    r.Paint(5, 0, 30, 32, [&](float, float y, Rgb p) {
      return Mix(p, kSteelDark, 0.45f * Smooth(std::fabs(y - sy) - 0.4f));
    });
  Bevel(
      r, 0, 0, 32, 32, [](float x, float y) { return DistCircle(x, y, 17, 17, 6.5f); },
      [](float, float) { return kSteelDark; }, 2, -1);
  Bevel(
      r, 0, 0, 32, 32, [](float x, float y) { return DistCircle(x, y, 17, 17, 4.3f); },
      [](float x, float y) { return Mix(kSteelLight, kSteel, Clamp01((x + y - 26) / 16)); }, 1.6f,
      1);
  for (auto [x, y] :
       {Point{6.5f, 6.5f}, Point{27.5f, 6.5f}, Point{6.5f, 27.5f}, Point{27.5f, 27.5f}})
    Rivet(r, x, y, 1.3f, kSteel);
  return r;
}

Raster HitTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  Sdf plate = DeckPlate();
  Shadow(r, plate, 0, 0, 32, 32, 1.5f, 1.5f, 1.5f, 0.55f);
  // The same plate, burnt: soot with a glow at the heart of the hit.
  Bevel(
      r, 0, 0, 32, 32, plate,
      [](float x, float y) {
        float n = Fbm(x / 4, y / 4, 41, 3);
        float glow = Clamp01(1 - std::hypot(x - 17, y - 17) / 13);
        Rgb c = Mix(kSoot, FromHex(0x5A3A2E), n);
        return Mix(c, kEmber, glow * glow * 0.9f);
      },
      2.2f, 0.6f);
  // A bold cross: the hit reads by its shape, not its colour alone.
  const Point a{9, 9}, b{25, 25}, c{25, 9}, d{9, 25};
  auto cross = [&](float x, float y) {
    return std::min(DistSegment(x, y, a, b), DistSegment(x, y, c, d));
  };
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    return Mix(p, FromHex(0x120A08), Smooth(cross(x, y) - 4.2f));
  });
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    float heat = Clamp01(1 - std::hypot(x - 17, y - 17) / 12);
    Rgb fire = Mix(kFire, kFireHot, heat);
    return Mix(p, fire, Smooth(cross(x, y) - 2.3f));
  });
  for (auto [x, y] : {Point{6.5f, 27.5f}, Point{27.5f, 6.5f}}) Rivet(r, x, y, 1.3f, kSteelDark);
  return r;
}

Raster SunkTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  // Deeper water over the wreck.
  r.Paint(2, 2, 32, 32, [](float, float, Rgb p) { return Mix(p, kSeaDeep, 0.4f); });
  Sdf plate = DeckPlate();
  Bevel(
      r, 0, 0, 32, 32, plate,
      [](float x, float y) {
        float n = Fbm(x / 4, y / 4, 53, 3);
        return Mix(Mix(kSoot, kSeaDeep, 0.45f), kSteelDark, 0.5f * n);
      },
      2.2f, -0.7f);
  // The hit's cross, burnt out: black with a cold rim where the hit's is fire.
  const Point a{9, 9}, b{25, 25}, c{25, 9}, d{9, 25};
  auto cross = [&](float x, float y) {
    return std::min(DistSegment(x, y, a, b), DistSegment(x, y, c, d));
  };
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    return Mix(p, kSteelLight, 0.55f * Smooth(std::fabs(cross(x, y) - 3.4f) - 0.6f));
  });
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    return Mix(p, FromHex(0x06090C), Smooth(cross(x, y) - 2.6f));
  });
  // The sea closing over it: two bright wave crests right across the cell.
  for (float crest : {13.0f, 22.5f}) {
    r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
      float wave = crest + 1.4f * std::sin(x * 0.55f);
      p = Mix(p, kSeaLight, 0.9f * Smooth(std::fabs(y - wave - 1.2f) - 1.2f));
      return Mix(p, kFoam, 0.95f * Smooth(std::fabs(y - wave) - 0.7f));
    });
  }
  return r;
}

Raster RevealedTile() {
  Raster r(32, 32);
  WaterWithGrid(r);
  Sdf plate = DeckPlate();
  // Hatching across the plate's place, one diagonal every six pixels.
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    float inside = Smooth(plate(x, y) + 2.0f);
    float u = std::fmod(x - y + 64.0f, 6.0f);
    float line = std::fabs(u - 3.0f) / 1.41421f - 0.75f;
    return Mix(p, kBrassLight, 0.9f * inside * Smooth(line));
  });
  // Its outline, dark outside and bright within, so that it shows on light and dark water.
  r.Paint(0, 0, 32, 32, [&](float x, float y, Rgb p) {
    float d = plate(x, y);
    p = Mix(p, kNight, 0.8f * Smooth(std::fabs(d - 0.9f) - 0.6f));
    return Mix(p, kBrassLight, Smooth(std::fabs(d + 0.6f) - 0.8f));
  });
  return r;
}

namespace {

// ---------------------------------------------------------------- the caravel

struct ShipStyle {
  Rgb hull, hullLight, sail, sailShade, rig;
  bool cross;  // the red cross on the main course
};

void DrawCaravel(Raster& img, float cx, float wl, float s, const ShipStyle& st, float reflect) {
  auto P = [&](float u, float v) { return Point{cx + u * s, wl + v * s}; };
  auto poly = [&](std::initializer_list<Point> units) {
    std::vector<Point> pts;
    for (Point u : units) pts.push_back(P(u.x, u.y));
    return pts;
  };
  int bx0 = static_cast<int>(cx - 1.9f * s), bx1 = static_cast<int>(cx + 1.9f * s);
  int by0 = static_cast<int>(wl - 2.7f * s), by1 = static_cast<int>(wl + 1.0f * s);

  std::vector<Point> hull = poly({{-1.12f, -0.80f},
                                  {-0.72f, -0.82f},
                                  {-0.66f, -0.50f},
                                  {0.50f, -0.46f},
                                  {0.70f, -0.60f},
                                  {1.05f, -0.66f},
                                  {1.28f, -0.72f},
                                  {1.06f, -0.30f},
                                  {0.80f, 0.02f},
                                  {0.40f, 0.16f},
                                  {-0.55f, 0.16f},
                                  {-0.95f, 0.02f},
                                  {-1.12f, -0.35f}});
  if (reflect > 0) {
    std::vector<Point> mirrored = hull;
    for (Point& p : mirrored) p.y = 2 * wl - p.y + 0.25f * s;
    img.Fill(
        bx0, static_cast<int>(wl), bx1, by1 + static_cast<int>(0.6f * s),
        [&](float x, float y) {
          float wob = 2.5f * std::sin(y * 0.9f);
          return InsidePolygon(x + wob, y, mirrored) ? 1.0f : 0.0f;
        },
        Scale(st.hull, 0.6f), reflect);
  }

  auto stroke = [&](Point a, Point b, float w, Rgb c) {
    img.Fill(
        bx0, by0, bx1, by1, [&](float x, float y) { return DistSegment(x, y, a, b) < w; }, c);
  };
  // Masts, yards, bowsprit.
  float mastW = 0.028f * s;
  stroke(P(-0.62f, -0.75f), P(-0.62f, -1.95f), mastW, st.rig);
  stroke(P(0.02f, -0.46f), P(0.02f, -2.55f), mastW * 1.2f, st.rig);
  stroke(P(0.62f, -0.55f), P(0.62f, -2.15f), mastW, st.rig);
  stroke(P(1.05f, -0.64f), P(1.70f, -1.00f), mastW, st.rig);
  // Rigging lines, thin.
  for (auto [a, b] :
       {std::pair{P(0.02f, -2.5f), P(-1.05f, -0.80f)}, std::pair{P(0.02f, -2.5f), P(1.62f, -0.97f)},
        std::pair{P(0.62f, -2.1f), P(1.45f, -0.88f)},
        std::pair{P(-0.62f, -1.9f), P(-1.12f, -0.80f)}})
    img.Fill(
        bx0, by0, bx1, by1, [&](float x, float y) { return DistSegment(x, y, a, b) < 0.45f; },
        st.rig, 0.7f);

  auto sail = [&](const std::vector<Point>& pts, float left, float right) {
    img.Fill(
        bx0, by0, bx1, by1,
        [&](float x, float y) { return InsidePolygon(x, y, pts) ? 1.0f : 0.0f; }, st.sail);
    // Light from the left: the sail darkens toward its lee edge.
    img.Paint(bx0, by0, bx1, by1, [&](float x, float y, Rgb p) {
      if (!InsidePolygon(x, y, pts)) return p;
      float t = Clamp01((x - left) / (right - left));
      return Mix(p, st.sailShade, 0.75f * t * t);
    });
  };
  sail(
      poly({{-0.50f, -2.10f}, {0.54f, -2.10f}, {0.60f, -1.02f}, {0.02f, -0.92f}, {-0.56f, -1.02f}}),
      P(-0.56f, 0).x, P(0.60f, 0).x);
  sail(poly({{-0.34f, -2.44f}, {0.38f, -2.44f}, {0.46f, -2.16f}, {-0.42f, -2.16f}}), P(-0.42f, 0).x,
       P(0.46f, 0).x);
  sail(poly({{0.30f, -1.85f}, {0.94f, -1.85f}, {1.00f, -0.98f}, {0.62f, -0.90f}, {0.26f, -0.98f}}),
       P(0.26f, 0).x, P(1.0f, 0).x);
  sail(poly({{-1.18f, -0.92f}, {-0.40f, -2.02f}, {-0.58f, -0.88f}}), P(-1.18f, 0).x,
       P(-0.40f, 0).x);
  // Yards over the sails.
  stroke(P(-0.54f, -2.12f), P(0.58f, -2.12f), mastW, st.rig);
  stroke(P(-0.38f, -2.46f), P(0.42f, -2.46f), mastW * 0.8f, st.rig);
  stroke(P(0.26f, -1.87f), P(0.98f, -1.87f), mastW, st.rig);
  stroke(P(-1.20f, -0.90f), P(-0.38f, -2.05f), mastW * 0.8f, st.rig);
  if (st.cross) {
    Point c = P(0.03f, -1.52f);
    float arm = 0.26f * s, w = 0.07f * s;
    img.Fill(
        bx0, by0, bx1, by1,
        [&](float x, float y) {
          return (std::fabs(x - c.x) < w && std::fabs(y - c.y) < arm) ||
                 (std::fabs(y - c.y) < w && std::fabs(x - c.x) < arm);
        },
        FromHex(0xB3261E));
  }
  // Pennants streaming to the right, the way the wind blows.
  for (Point top : {P(0.02f, -2.55f), P(0.62f, -2.15f), P(-0.62f, -1.95f)}) {
    std::vector<Point> flag{
        top, {top.x + 0.42f * s, top.y + 0.05f * s}, {top.x, top.y + 0.11f * s}};
    img.Fill(
        bx0, by0, bx1, by1, [&](float x, float y) { return InsidePolygon(x, y, flag); },
        FromHex(0xB3261E));
  }
  // Hull: darker toward the keel, a lit wale along the deck, a row of gun ports.
  img.Paint(bx0, by0, bx1, by1, [&](float x, float y, Rgb p) {
    float cover = 0;
    for (int sy = 0; sy < 3; ++sy)
      for (int sx = 0; sx < 3; ++sx)
        cover += InsidePolygon(x + (sx - 1) / 3.0f, y + (sy - 1) / 3.0f, hull) ? 1 : 0;
    if (cover == 0) return p;
    float v = (y - (wl - 0.8f * s)) / (0.96f * s);
    Rgb c = Mix(st.hullLight, st.hull, Clamp01(v));
    return Mix(p, c, cover / 9);
  });
  img.Fill(
      bx0, by0, bx1, by1,
      [&](float x, float y) {
        float top = wl - 0.40f * s;
        return std::fabs(y - top) < 0.035f * s && InsidePolygon(x, y, hull);
      },
      st.hullLight);
  for (float u = -0.48f; u < 0.70f; u += 0.2f) {
    Point c = P(u, -0.26f);
    img.Fill(
        bx0, by0, bx1, by1,
        [&](float x, float y) {
          return std::fabs(x - c.x) < 0.045f * s && std::fabs(y - c.y) < 0.045f * s;
        },
        Scale(st.hull, 0.35f));
  }
}

// Waves lit from the upper left: short bright strokes over a gradient.
// Below calmFrom the crests fade, to keep text laid over the water readable.
void Sea(Raster& img, int top, int bottom, Rgb nearColour, Rgb farColour, Rgb glint,
         float glintAlpha, uint32_t seed, float calmFrom) {
  img.Paint(0, top, img.Width(), bottom, [&](float x, float y, Rgb) {
    float depth = (y - top) / static_cast<float>(bottom - top);
    Rgb c = Mix(farColour, nearColour, std::sqrt(depth));
    float scale = 0.35f + 2.2f * depth;
    float n = Fbm(x / (22 * scale), y / (5 * scale), seed, 4);
    float crest = SmoothStep(0.62f, 0.78f, n);
    c = Mix(c, Scale(c, 0.75f), SmoothStep(0.45f, 0.25f, n));
    float calm = 1 - 0.75f * SmoothStep(calmFrom, calmFrom + 40, y);
    return Mix(c, glint, crest * glintAlpha * calm);
  });
}

// An old sea chart: parchment, a grid, islands with their coast lines, a course and a
// compass rose, inked in brown.
void SeaChart(Raster& img, int top, int bottom, const char* const (&letters)[4]) {
  const Rgb ink = FromHex(0x5A4326), paper = FromHex(0xE3D3AE), stain = FromHex(0xB99B66);
  img.Paint(0, top, img.Width(), bottom, [&](float x, float y, Rgb) {
    float n = Fbm(x / 70, y / 50, 211, 4);
    Rgb c = Mix(paper, stain, 0.55f * SmoothStep(0.45f, 0.8f, n));
    float edge = std::min(std::min(x, img.Width() - x), static_cast<float>(bottom) - y);
    c = Mix(c, stain, 0.5f * SmoothStep(40, 0, edge));
    float land = Fbm(x / 55, y / 38, 223, 4) - 0.08f * SmoothStep(380, 460, x);
    bool grid = std::fmod(x, 58.0f) < 1 || std::fmod(y - top, 58.0f) < 1;
    if (grid) c = Mix(c, ink, 0.18f);
    if (land > 0.6f) c = Mix(FromHex(0xC9B27C), FromHex(0x9C8552), SmoothStep(0.6f, 0.8f, land));
    float coast = std::fabs(land - 0.6f) / 0.012f;
    c = Mix(c, ink, 0.85f * Clamp01(1 - coast));
    float contour = std::fabs(land - 0.55f) / 0.008f;
    return Mix(c, ink, 0.35f * Clamp01(1 - contour));
  });
  // The course: a dotted line between two islands, a cross where it ends.
  for (float t = 0; t <= 1.0f; t += 0.035f) {
    float cx = 130 + 300 * t, cy = 440 - 90 * t + 30 * std::sin(t * 3.1f);
    img.Fill(
        static_cast<int>(cx) - 3, static_cast<int>(cy) - 3, static_cast<int>(cx) + 4,
        static_cast<int>(cy) + 4,
        [&](float x, float y) { return DistCircle(x, y, cx, cy, 1.6f) < 0; }, FromHex(0x8E2A1C));
  }
  img.Fill(
      420, 330, 442, 352,
      [](float x, float y) {
        return std::min(DistSegment(x, y, {424, 334}, {438, 348}),
                        DistSegment(x, y, {438, 334}, {424, 348})) < 1.8f;
      },
      FromHex(0x8E2A1C));
  // Compass rose; each point is lit on its upper left half.
  const float cx = 590, cy = 388, R = 62;
  img.Paint(static_cast<int>(cx - R - 4), static_cast<int>(cy - R - 4),
            static_cast<int>(cx + R + 4), static_cast<int>(cy + R + 4),
            [&](float x, float y, Rgb p) {
              float d = std::hypot(x - cx, y - cy);
              float ring = std::min(std::fabs(d - 0.78f * R), std::fabs(d - 0.84f * R)) - 0.5f;
              return Mix(p, ink, 0.8f * Smooth(ring));
            });
  for (int k = 0; k < 8; ++k) {
    float a = k * kPi / 4 - kPi / 2;
    float len = k % 2 ? 0.55f * R : R, w = k % 2 ? 0.1f * R : 0.14f * R;
    Point tip{cx + std::cos(a) * len, cy + std::sin(a) * len};
    Point side1{cx + std::cos(a + kPi / 2) * w, cy + std::sin(a + kPi / 2) * w};
    Point side2{cx + std::cos(a - kPi / 2) * w, cy + std::sin(a - kPi / 2) * w};
    Point centre{cx, cy};
    std::vector<Point> half1{centre, side1, tip}, half2{centre, tip, side2};
    bool firstLit = std::cos(a + kPi / 2) + std::sin(a + kPi / 2) < 0;
    Rgb light = k % 2 ? FromHex(0xE8D7A8) : kBrassLight,
        dark = k % 2 ? FromHex(0x8A7448) : kBrassDark;
    img.Fill(
        static_cast<int>(cx - R), static_cast<int>(cy - R), static_cast<int>(cx + R + 1),
        static_cast<int>(cy + R + 1), [&](float x, float y) { return InsidePolygon(x, y, half1); },
        firstLit ? light : dark);
    img.Fill(
        static_cast<int>(cx - R), static_cast<int>(cy - R), static_cast<int>(cx + R + 1),
        static_cast<int>(cy + R + 1), [&](float x, float y) { return InsidePolygon(x, y, half2); },
        firstLit ? dark : light);
  }
  img.Fill(
      static_cast<int>(cx) - 6, static_cast<int>(cy) - 6, static_cast<int>(cx) + 7,
      static_cast<int>(cy) + 7,
      [&](float x, float y) { return DistCircle(x, y, cx, cy, 3.5f) < 0; }, ink);
  for (int k = 0; k < 4; ++k) {
    float a = k * kPi / 2 - kPi / 2;
    TextMask m = RenderText(Face::SerifBold, 15, letters[k]);
    float lx = cx + std::cos(a) * (R + 12), ly = cy + std::sin(a) * (R + 12);
    DrawMask(img, m, static_cast<int>(std::lround(lx - m.advance / 2.0f)) - m.pad,
             static_cast<int>(std::lround(ly + 5)) - m.baseline, ink);
  }
}

}  // namespace

// ---------------------------------------------------------------- full-window pictures

const PictureWords kRussianWords{
    "", "КРАВЕЛОН", "МОРСКОЕ СРАЖЕНИЕ", {"С", "В", "Ю", "З"}, "ВАШ ФЛОТ", "ФЛОТ ПРОТИВНИКА"};
const PictureWords kEnglishWords{
    "en", "KRAVELON", "NAVAL BATTLE", {"N", "E", "S", "W"}, "YOUR FLEET", "ENEMY FLEET"};

Raster AboutPicture(const PictureWords& words) {
  Raster img(696, 488);
  const int horizon = 214;
  // Morning sky, the sun high on the left.
  img.Paint(0, 0, 696, horizon, [&](float x, float y, Rgb) {
    Rgb c = Mix(FromHex(0x3F78A8), FromHex(0xCFE3EC), SmoothStep(0, horizon, y));
    float sun = std::hypot(x - 96, y - 168);
    c = Mix(c, FromHex(0xFFF6DA), 0.85f * std::exp(-sun / 55));
    float cloud = SmoothStep(0.55f, 0.75f, Fbm(x / 90, y / 28, 5, 5));
    float shade = Clamp01((y - 40) / 160);
    return Mix(c, Mix(kWhite, FromHex(0xB9CAD6), shade), 0.7f * cloud);
  });
  img.Fill(
      60, 120, 140, 210, [](float x, float y) { return DistCircle(x, y, 96, 168, 20) < 0; },
      FromHex(0xFFFBEA));
  Sea(img, horizon, 292, FromHex(0x1F5878), FromHex(0x4F8FAE), kFoam, 0.55f, 17, 488);
  SeaChart(img, 292, 488, words.compass);
  // Sunlight glitters on the water under the sun.
  img.Paint(0, horizon, 696, 252, [&](float x, float y, Rgb p) {
    float band = std::exp(-std::pow((x - 96 - (y - horizon) * 0.2f) / 70, 2.0f));
    float n = Fbm(x / 6, y / 2, 77, 2);
    return Mix(p, FromHex(0xFFF3D0), band * SmoothStep(0.6f, 0.8f, n) * 0.8f);
  });
  ShipStyle day{FromHex(0x3B2414), FromHex(0x8A5A33), FromHex(0xF6EEDB),
                FromHex(0xB9AC92), FromHex(0x2A1C12), true};
  DrawCaravel(img, 540, 238, 48, day, 0.35f);

  // Title lettering in brass, raised out of the sky.
  TextMask m = RenderText(Face::SerifBold, 96, words.title, 6);
  int x = 348 - m.advance / 2 - m.pad, y = 112 - m.baseline;
  DrawMask(img, Blur(Dilate(m, 3), 3), x + 4, y + 5, kBlack, 0.55f);
  DrawMask(img, Dilate(m, 3), x, y, FromHex(0x2A1A08));
  DrawMaskShaded(img, m, x, y, [](float, float v) {
    // v runs from about -68 (cap top) to 0 (baseline).
    float t = Clamp01((v + 68) / 68);
    Rgb c = Mix(kBrassLight, kBrass, SmoothStep(0.0f, 0.55f, t));
    c = Mix(c, kBrassDark, SmoothStep(0.55f, 1.0f, t) * 0.8f);
    return Mix(c, kWhite, 0.5f * std::exp(-std::pow((t - 0.5f) / 0.05f, 2.0f)));
  });
  Lettering(img, Face::SansBold, 17, words.subtitle, 348, 140, FromHex(0x1B2E47), 0, kBlack, 6);

  // A calm parchment band for the start-up texts and the version.
  img.Paint(0, 250, 696, 292, [&](float x, float y, Rgb p) {
    if (y < 252 || y > 290) {
      return Mix(p, FromHex(0x4A3418), 0.85f);
    }
    float n = Fbm(x / 40, y / 8, 91, 3);
    Rgb c = Mix(kParchment, FromHex(0xE2D4B0), 0.35f * n);
    float edge = std::min(y - 252, 290 - y);
    return Mix(FromHex(0xB89E6C), c, SmoothStep(0, 4, edge));
  });
  for (float cx : {300.0f, 348.0f, 396.0f}) {
    float rad = cx == 348 ? 5.0f : 3.0f;
    img.Fill(
        static_cast<int>(cx) - 8, 262, static_cast<int>(cx) + 9, 281,
        [&](float x, float y) { return std::fabs(x - cx) + std::fabs(y - 271) < rad; },
        FromHex(0xA7885A));
  }
  img.Paint(200, 269, 500, 273, [](float x, float y, Rgb p) {
    bool gap = std::fabs(x - 300) < 7 || std::fabs(x - 348) < 9 || std::fabs(x - 396) < 7;
    return gap ? p : Mix(p, FromHex(0xA7885A), 0.8f * Smooth(std::fabs(y - 271) - 0.5f));
  });
  // A thin brass frame, since no border is drawn over the about screen.
  img.Paint(0, 0, 696, 488, [](float x, float y, Rgb p) {
    float d = std::min(std::min(x, 696 - x), std::min(y, 488 - y));
    if (d < 1.5f) return FromHex(0x20150A);
    if (d < 4.5f) return Mix(kBrass, kBrassLight, (x + y < 600 ? 0.6f : 0.1f));
    if (d < 5.5f) return FromHex(0x20150A);
    return p;
  });
  return img;
}

Raster WinPicture() {
  Raster img(696, 488);
  const int horizon = 232;
  // Evening after the battle: the sun sets on the left, smoke drifts on the right.
  img.Paint(0, 0, 696, horizon, [&](float x, float y, Rgb) {
    float t = y / horizon;
    Rgb c = Mix(FromHex(0x0F1A33), FromHex(0x5A3A5E), SmoothStep(0.0f, 0.7f, t));
    c = Mix(c, FromHex(0xF08A3C), SmoothStep(0.55f, 1.0f, t));
    float sun = std::hypot(x - 170, y - horizon);
    c = Mix(c, FromHex(0xFFD58A), 0.9f * std::exp(-sun / 70));
    float cloud = SmoothStep(0.55f, 0.8f, Fbm(x / 120, y / 18, 9, 5));
    return Mix(c, Mix(FromHex(0xF2A25C), FromHex(0x2B2240), Clamp01(x / 600)), 0.55f * cloud);
  });
  img.Fill(
      120, horizon - 50, 220, horizon,
      [&](float x, float y) { return DistCircle(x, y, 170, horizon + 6, 34) < 0; },
      FromHex(0xFFE9B0));
  // Smoke from a sinking hull on the horizon.
  img.Paint(470, 40, 696, horizon, [&](float x, float y, Rgb p) {
    float axis = 600 + (horizon - y) * 0.45f;
    float width = 10 + (horizon - y) * 0.35f;
    float n = Fbm(x / 25, y / 25, 31, 4);
    float d = std::fabs(x - axis) / width + 0.6f * (n - 0.5f);
    float a = SmoothStep(1.0f, 0.5f, d) * SmoothStep(40, 120, y) * 0.8f;
    return Mix(p, Mix(FromHex(0x3A3440), FromHex(0x7A6A70), n), a);
  });
  img.Fill(
      560, horizon - 12, 640, horizon + 2,
      [&](float x, float y) {
        return y > horizon - 10 + std::fabs(x - 600) * 0.15f && std::fabs(x - 600) < 34;
      },
      FromHex(0x1A1016));
  img.Paint(585, horizon - 16, 620, horizon - 2, [&](float x, float y, Rgb p) {
    float glow = std::exp(-std::hypot(x - 602, y - horizon + 8) / 5);
    return Mix(p, kFire, glow);
  });
  Sea(img, horizon, 488, FromHex(0x071422), FromHex(0x3B3A5C), FromHex(0xF7B26A), 0.45f, 23, 270);
  // The sun's path on the water.
  img.Paint(0, horizon, 696, 488, [&](float x, float y, Rgb p) {
    float spread = 20 + (y - horizon) * 0.5f;
    float band = std::exp(-std::pow((x - 170) / spread, 2.0f));
    float n = Fbm(x / 7, y / 2.5f, 55, 2);
    float fade = 1 - SmoothStep(horizon, 310, y) * 0.85f;
    return Mix(p, FromHex(0xFFC27A), band * SmoothStep(0.5f, 0.75f, n) * 0.85f * fade);
  });
  ShipStyle dusk{FromHex(0x140C10), FromHex(0x3A2630), FromHex(0x4C3A48),
                 FromHex(0x2A2030), FromHex(0x0E080A), false};
  DrawCaravel(img, 380, 262, 58, dusk, 0.3f);
  return img;
}

Raster BackgroundPicture() {
  Raster img(696, 488);
  // Dark steel plating with seams and rivets: mostly covered, it frames what shows through.
  img.Paint(0, 0, 696, 488, [](float x, float y, Rgb) {
    float n = Fbm(x / 60, y / 9, 3, 4);
    Rgb c = Mix(kNight, kNavy, 0.35f + 0.5f * n);
    return Mix(c, kNavyLight, 0.25f * SmoothStep(488, 0, y + x * 0.3f));
  });
  // Seams every 116 pixels, none of them in the channel between the boards.
  for (int sx = 58; sx < 696; sx += 116)
    img.Paint(sx - 1, 0, sx + 2, 488, [&](float x, float, Rgb p) {
      return Mix(p, x < sx + 0.5f ? kBlack : kNavyLight, 0.5f);
    });
  // The strip between the boards: a recessed channel with the row numbers.
  img.Paint(324, 36, 372, 356, [](float x, float y, Rgb p) {
    Rgb c = Mix(p, kNight, 0.45f);
    float shadowLeft = SmoothStep(336, 324, x);
    float shadowTop = SmoothStep(46, 36, y);
    return Mix(c, kBlack, 0.6f * std::max(shadowLeft, shadowTop));
  });
  for (int row = 0; row < 10; ++row) {
    float cy = 36 + 32 * row + 16;
    Sdf plate = [cy](float x, float y) {
      return DistRoundBox(x, y, 333, cy - 12, 363, cy + 12, 4);
    };
    Shadow(img, plate, 328, static_cast<int>(cy) - 16, 370, static_cast<int>(cy) + 17, 1.5f, 1.5f,
           1.5f, 0.6f);
    Bevel(
        img, 328, static_cast<int>(cy) - 16, 370, static_cast<int>(cy) + 16, plate,
        [](float x, float y) { return Mix(kBrass, kBrassDark, Clamp01((x + y) / 60 - 6.0f)); },
        1.8f, 0.9f);
    Bevel(
        img, 328, static_cast<int>(cy) - 16, 370, static_cast<int>(cy) + 16,
        [cy](float x, float y) {
          return DistRoundBox(x, y, 335.5f, cy - 9.5f, 360.5f, cy + 9.5f, 3);
        },
        [](float, float) { return kNight; }, 1.2f, -0.8f);
    std::string label = std::to_string(row + 1);
    Lettering(img, Face::SansBold, 16, label, 348, static_cast<int>(cy) + 6, kGoldText, 0, kBlack);
  }
  return img;
}

Raster TitlePicture(const PictureWords& words) {
  Raster img(696, 32);
  img.Paint(0, 0, 696, 32, [](float x, float y, Rgb) {
    float n = Fbm(x / 50, y / 6, 7, 3);
    Rgb c = Mix(kNavy, kNight, SmoothStep(0, 32, y));
    return Mix(c, kNavyLight, 0.2f * n);
  });
  // Brass trim along the bottom, lit on its upper edge.
  for (int x = 0; x < 696; ++x) {
    img.Set(x, 28, kBrassDark);
    img.Set(x, 29, kBrassLight);
    img.Set(x, 30, kBrass);
    img.Set(x, 31, kBrassDark);
    img.Blend(x, 0, kNavyLight, 0.8f);
  }
  // The two buttons at the strip's ends: the main menu's over the left 64 pixels of the board
  // area, the game menu's over the right 64.
  for (const float left : {5.0f, 629.0f}) {
    Sdf button = [left](float x, float y) { return DistRoundBox(x, y, left, 2, left + 62, 27, 4); };
    const int from = static_cast<int>(left) - 2, to = static_cast<int>(left) + 67;
    Shadow(img, button, from, 0, to, 30, 1.5f, 1.5f, 1.5f, 0.6f);
    Bevel(
        img, from, 0, to, 30, button,
        [left](float x, float y) {
          return Mix(FromHex(0x7A2A1E), FromHex(0x3E120C),
                     Clamp01((y - 2) / 25 + (x - left + 5) / 400));
        },
        2.5f, 0.9f);
    img.Paint(from, 0, to, 30, [&](float x, float y, Rgb p) {
      float d = std::fabs(button(x, y)) - 0.6f;
      return Mix(p, kBrass, 0.9f * Smooth(d));
    });
  }
  // Labels over the boards, with small anchors of brass either side.
  Lettering(img, Face::SansBold, 16, words.ownFleet, 196, 20, kGoldText, 1.2f, kNight, 1.5f);
  Lettering(img, Face::SansBold, 16, words.enemyFleet, 498, 20, kGoldText, 1.2f, kNight, 1.5f);
  for (float cx : {118.0f, 274.0f, 402.0f, 594.0f}) {
    img.Fill(
        static_cast<int>(cx) - 6, 6, static_cast<int>(cx) + 7, 26,
        [&](float x, float y) { return std::fabs(x - cx) + std::fabs(y - 14.5f) < 4.2f; }, kBrass);
    img.Fill(
        static_cast<int>(cx) - 6, 6, static_cast<int>(cx) + 7, 26,
        [&](float x, float y) { return std::fabs(x - cx + 1) + std::fabs(y - 13.5f) < 1.6f; },
        kBrassLight);
  }
  // A brass compass star over the channel between the boards.
  img.Fill(
      330, 0, 368, 28,
      [](float x, float y) {
        float dx = x - 348, dy = y - 14.5f;
        float ax = std::fabs(dx), ay = std::fabs(dy);
        return (ax * 4 + ay < 12 && ay < 12) || (ay * 4 + ax < 12 && ax < 12);
      },
      kBrass);
  img.Fill(
      330, 0, 368, 28,
      [](float x, float y) {
        float dx = x - 348, dy = y - 14.5f;
        return dx <= 0 && dy <= 0 && std::fabs(dx) * 4 + std::fabs(dy) < 11;
      },
      kBrassLight);
  return img;
}

Raster ConsolePicture() {
  Raster img(688, 128);
  img.Paint(0, 0, 688, 128, [](float x, float y, Rgb) {
    float n = Fbm(x / 80, y / 12, 13, 3);
    Rgb c = y < 26 ? Mix(FromHex(0x16263C), FromHex(0x0D1828), y / 26)
                   : Mix(kNight, FromHex(0x060B13), (y - 26) / 102);
    return Mix(c, kNavy, 0.35f * n);
  });
  // The separator between the status line and the log: a brass rule.
  for (int x = 4; x < 684; ++x) {
    img.Set(x, 25, kBrassDark);
    img.Set(x, 26, kBrassLight);
    img.Set(x, 27, kBrass);
    img.Set(x, 28, kBrassDark);
    img.Blend(x, 29, kBlack, 0.6f);
  }
  // A bevelled edge, lit top and left.
  img.Paint(0, 0, 688, 128, [](float x, float y, Rgb p) {
    float d = std::min(std::min(x, 688 - x), std::min(y, 128 - y));
    if (d >= 3) return p;
    bool lit = x < 3 || y < 3;
    bool dark = x > 685 || y > 125;
    Rgb edge = lit && !dark ? kNavyLight : kBlack;
    return Mix(p, edge, d < 1 ? 0.9f : d < 2 ? 0.6f : 0.3f);
  });
  return img;
}

Raster MenuPicture(bool selected) {
  Raster img(256, 64);
  img.Paint(0, 0, 256, 64, [&](float x, float y, Rgb) {
    if (!selected) return Mix(kNavy, kNight, y / 64 + x / 1024);
    float glow = std::exp(-std::pow((y - 32) / 22, 2.0f));
    return Mix(Mix(FromHex(0x0F2A78), FromHex(0x081646), y / 64), FromHex(0x2B5BD0), glow * 0.8f);
  });
  Sdf frame = [](float x, float y) { return DistRoundBox(x, y, 2, 2, 254, 62, 6); };
  // The rim: a brass band, raised; thicker and brighter on the highlighted item.
  float band = selected ? 4.0f : 3.0f;
  img.Paint(0, 0, 256, 64, [&](float x, float y, Rgb p) {
    float d = frame(x, y);
    if (d > 0.5f) return kNight;
    if (d < -band) return p;
    float t = Clamp01((x + y) / 320);
    Rgb c = selected ? Mix(kBrassLight, kBrass, t) : Mix(kBrass, kBrassDark, t);
    float inner = Clamp01(-d - band + 0.5f);
    return Mix(Mix(p, c, 1 - inner), kNight, Clamp01(d + 0.5f));
  });
  for (auto [x, y] : {Point{12, 12}, Point{244, 12}, Point{12, 52}, Point{244, 52}})
    Rivet(img, x, y, 2.2f, selected ? kBrassLight : kBrass);
  return img;
}

Raster ActivePicture() {
  Raster img(128, 128, kNight);
  img.Paint(0, 0, 128, 128, [](float x, float y, Rgb p) {
    float d = std::hypot(x - 64, y - 64);
    float rings = std::min(std::fabs(d - 50), std::fabs(d - 30)) - 1.2f;
    float cross = std::min(std::fabs(x - 64), std::fabs(y - 64)) - 0.8f;
    float a = std::max(Smooth(rings), d < 58 && d > 8 ? Smooth(cross) : 0.0f);
    return Mix(Mix(p, kEmber, 0.3f * Clamp01(1 - d / 64)), kBrass, a);
  });
  return img;
}

// ---------------------------------------------------------------- sheets

Raster BorderSheet() {
  // Pieces are cut from a 64 × 64 sheet; the middle 32-pixel bands of each side repeat along
  // the window's edges, so the rim is uniform along its length.
  Raster img(64, 64, kMagenta);
  auto rimColour = [](int depth, bool lit) {
    switch (depth) {
      case 0:
        return FromHex(0x1A120A);
      case 1:
        return lit ? kBrassLight : kBrass;
      case 2:
        return lit ? kBrass : FromHex(0x8C6A33);
      default:
        return kBrassDark;
    }
  };
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      int d = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
      if (d >= 4) continue;
      bool lit = (x == d || y == d) && !(63 - x == d) && !(63 - y == d);
      img.Set(x, y, rimColour(d, lit));
    }
  // Corner brackets: L-shaped brass plates with a rivet, inside 12 pixels of the corner. Only at
  // the top: the console panel is drawn again over the inside of the bottom corners at every
  // status-line update, which would cut a bracket there in half.
  for (int corner = 0; corner < 2; ++corner) {
    bool right = corner & 1, bottom = false;
    for (int v = 0; v < 12; ++v)
      for (int u = 0; u < 12; ++u) {
        bool arm = (u < 12 && v < 7) || (u < 7 && v < 12);
        if (!arm) continue;
        int x = right ? 63 - u : u, y = bottom ? 63 - v : v;
        bool edge =
            (u == 11 || v == 11 || (u >= 7 && v == 6) || (v >= 7 && u == 6) || u == 0 || v == 0);
        // Light from the top left: the bracket's edges facing it are bright.
        bool facing = (!right && u == 0) || (right && (u == 11 || (v >= 7 && u == 6))) ||
                      (!bottom && v == 0) || (bottom && (v == 11 || (u >= 7 && v == 6)));
        Rgb c = edge ? (facing ? kBrassLight : FromHex(0x2A1C0C)) : Mix(kBrass, kBrassLight, 0.2f);
        img.Set(x, y, c);
      }
    int rx = right ? 60 : 3, ry = bottom ? 60 : 3;
    img.Set(rx, ry, kBrassDark);
    img.Set(rx + (right ? -1 : 1), ry, kBrassDark);
    img.Set(rx, ry + (bottom ? -1 : 1), kBrassDark);
    img.Set(rx + (right ? -1 : 1), ry + (bottom ? -1 : 1), kBrassLight);
  }
  return img;
}

Raster ReportSheet() {
  // 3 × 3 cells of 16: brass rim outside, a dark navy field inside that repeats seamlessly.
  Raster img(48, 48);
  img.Paint(0, 0, 48, 48, [](float x, float y, Rgb) {
    float n = Fbm(x / 4, y / 4, 61, 2, 4);
    return Mix(FromHex(0x0B1830), FromHex(0x13264A), 0.5f * n);
  });
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      int d = std::min(std::min(x, 47 - x), std::min(y, 47 - y));
      bool lit = (x == d || y == d) && 47 - x != d && 47 - y != d;
      Rgb c;
      switch (d) {
        case 0:
          c = FromHex(0x1A120A);
          break;
        case 1:
          c = lit ? kBrassLight : kBrass;
          break;
        case 2:
          c = kBrass;
          break;
        case 3:
          c = lit ? kBrass : kBrassDark;
          break;
        case 4:
          c = FromHex(0x1A120A);
          break;
        case 5:
          c = Mix(img.Get(x, y), kBlack, 0.4f);
          break;
        default:
          continue;
      }
      img.Set(x, y, c);
    }
  for (auto [x, y] :
       {Point{9.5f, 9.5f}, Point{38.5f, 9.5f}, Point{9.5f, 38.5f}, Point{38.5f, 38.5f}})
    Rivet(img, x, y, 2.2f, kBrass);
  return img;
}

// ---------------------------------------------------------------- explosion

namespace {

struct Blast {
  // Density above 0 is inside the fire or smoke; heat picks the colour.
  float density, heat, smoke;
};

Blast BlastAt(int frame, float x, float y) {
  float t = frame / 19.0f;
  const float cx = 24;
  float cy = 45 - 17 * SmoothStep(0.1f, 1.0f, t);
  float radius = 4 + 10 * SmoothStep(0.0f, 0.3f, t) + 3 * SmoothStep(0.5f, 1.0f, t);
  float dx = x - cx, dy = y - cy;
  float dist = std::hypot(dx, dy);
  float n = Fbm(x / 7, y / 7 + t * 4, 301 + frame / 4, 3);
  float density = 1 - dist / radius + 0.45f * (n - 0.5f);
  // Billows around the rim.
  for (int k = 0; k < 7; ++k) {
    float a = k * 2 * kPi / 7 + frame * 0.13f;
    float px = cx + std::cos(a) * radius * 0.72f, py = cy + std::sin(a) * radius * 0.72f;
    density = std::max(density, 1 - std::hypot(x - px, y - py) / (radius * 0.42f) - 0.15f);
  }
  // Flare: sharp rays while the fireball is at its brightest.
  float flare = std::exp(-std::pow((t - 0.22f) / 0.11f, 2.0f));
  if (flare > 0.02f && dist > 0.5f) {
    float ang = std::atan2(dy, dx);
    float ray = std::pow(std::fabs(std::cos(ang * 4 + 0.4f)), 16.0f);
    density = std::max(density, flare * ray * 1.3f - dist / (1.8f * radius));
  }
  // Late frames: smoke thins and breaks up into wisps.
  float fade = SmoothStep(0.55f, 1.0f, t);
  density -= fade * (0.35f + 0.6f * Fbm(x / 5, y / 5 - t * 3, 333, 3));
  // Turbulence breaks the fire into hot tongues and darker soot.
  float heat = std::max(0.0f, 1.5f - 1.9f * t) * Clamp01(1.15f - dist / (radius * 1.2f)) *
                   (0.7f + 0.6f * n) +
               flare * 0.35f;
  // Keep clear of the frame's edges: frames are drawn transparent at their bottom-left pixel.
  float edge = std::min(std::min(x - 2, 46 - x), std::min(y - 2, 61 - y));
  density = std::min(density, edge / 4);
  return {density, Clamp01(heat), Clamp01(t * 1.4f - 0.25f)};
}

Rgb BlastColour(const Blast& b, float x, float y, int frame) {
  float h = b.heat;
  Rgb c = h > 0.75f  ? Mix(kFire, kFireHot, (h - 0.75f) / 0.25f)
          : h > 0.4f ? Mix(kEmber, kFire, (h - 0.4f) / 0.35f)
                     : Mix(Mix(FromHex(0x3E322C), FromHex(0x8A8582), b.smoke), kEmber,
                           (h / 0.4f) * (h / 0.4f));
  // Smoke lit from the top left; fire needs no shading.
  float lightSide = Clamp01(0.5f + ((24 - x) + (40 - y)) / 60);
  float n = Fbm(x / 3, y / 3, 407 + frame, 2);
  c = Mix(c, Scale(c, 0.7f + 0.5f * lightSide), 1 - h);
  c = Mix(c, Scale(c, 0.8f), n * 0.6f);
  // Never pure black inside: black is the transparent colour of a frame.
  return {std::max(c.r, 0.14f), std::max(c.g, 0.12f), std::max(c.b, 0.12f)};
}

}  // namespace

ExplosionSheets ExplosionPictures() {
  ExplosionSheets s{Raster(256, 256, kBlack), Raster(256, 256, kBlack)};
  for (int frame = 0; frame < 20; ++frame) {
    int ox = 48 * (frame % 5), oy = 64 * (frame / 5);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 48; ++x) {
        float fx = x + 0.5f, fy = y + 0.5f;
        Blast b = BlastAt(frame, fx, fy);
        // Colour runs a little past the mask's edge so the cut never shows a dark fringe.
        if (b.density > -0.25f) {
          float a = SmoothStep(-0.25f, 0.0f, b.density);
          s.colour.Set(ox + x, oy + y, Scale(BlastColour(b, fx, fy, frame), std::max(a, 0.0f)));
          if (b.density > 0) s.colour.Set(ox + x, oy + y, BlastColour(b, fx, fy, frame));
        }
        if (b.density > 0) s.mask.Set(ox + x, oy + y, kWhite);
      }
  }
  return s;
}

// ---------------------------------------------------------------- cursor

Cursor Gunsight() {
  Cursor c{Raster(32, 32), std::vector<float>(32 * 32, 0.0f), 15, 15};
  const float cx = 15.5f, cy = 15.5f;
  auto shape = [&](float x, float y) {
    float ring = std::fabs(DistCircle(x, y, cx, cy, 9.5f));
    float arms = std::min(std::min(DistSegment(x, y, {cx, cy - 4}, {cx, cy - 14}),
                                   DistSegment(x, y, {cx, cy + 4}, {cx, cy + 14})),
                          std::min(DistSegment(x, y, {cx - 4, cy}, {cx - 14, cy}),
                                   DistSegment(x, y, {cx + 4, cy}, {cx + 14, cy})));
    float dot = std::hypot(x - cx, y - cy) - 0.6f;
    return std::min(std::min(ring, arms), dot);
  };
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      float inner = 0, outer = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          float d = shape(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
          inner += d < 0.85f ? 1 : 0;
          outer += d < 2.0f ? 1 : 0;
        }
      inner /= 16;
      outer /= 16;
      // A light sight with a dark outline shows over water and over the lit panels alike.
      c.alpha[y * 32 + x] = std::max(inner, outer * 0.9f);
      Rgb light = std::hypot(x + 0.5f - cx, y + 0.5f - cy) < 1.5f ? FromHex(0xFF5A2A) : kParchment;
      c.colour.Set(x, y, Mix(FromHex(0x101418), light, outer > 0 ? inner / outer : 0));
    }
  return c;
}

// ---------------------------------------------------------------- application icon

Icon AppIcon(int size) {
  // Drawn four times larger and averaged down, in design units of a 256 × 256 badge, so every
  // size shows the same picture and the small ones stay clean.
  constexpr int kOver = 4;
  const int n = size * kOver;
  const float k = n / 256.0f;
  constexpr float kHorizon = 156;
  Sdf badge = [k](float x, float y) {
    return DistRoundBox(x, y, 6 * k, 6 * k, 250 * k, 250 * k, 46 * k);
  };
  Sdf window = [k](float x, float y) {
    return DistRoundBox(x, y, 22 * k, 22 * k, 234 * k, 234 * k, 32 * k);
  };
  Raster img(n, n);
  img.Paint(0, 0, n, n, [&](float x, float y, Rgb) {
    const float u = x / k, v = y / k;
    if (v < kHorizon) {
      Rgb c = Mix(FromHex(0x2F6494), FromHex(0xD4E6EE), SmoothStep(22, kHorizon, v));
      return Mix(c, FromHex(0xFFF6DA), 0.8f * std::exp(-std::hypot(u - 62, v - 128) / 34));
    }
    Rgb c = Mix(FromHex(0x4F8FAE), kSeaDeep, SmoothStep(kHorizon, 234, v));
    float crest = SmoothStep(0.6f, 0.75f, Fbm(u / 26, v / 5, 17, 3));
    return Mix(c, kFoam, 0.5f * crest);
  });
  ShipStyle day{FromHex(0x3B2414), FromHex(0x8A5A33), FromHex(0xF6EEDB),
                FromHex(0xB9AC92), FromHex(0x2A1C12), true};
  DrawCaravel(img, 122 * k, 196 * k, 60 * k, day, 0.3f);
  // The brass frame over whatever reaches past the window, sunk at its inner edge.
  Shadow(
      img, [&](float x, float y) { return -window(x, y); }, 0, 0, n, n, 2 * k, 2 * k, 4 * k, 0.5f);
  Bevel(
      img, 0, 0, n, n, [&](float x, float y) { return std::max(badge(x, y), -window(x, y)); },
      [&](float x, float y) { return Mix(kBrassLight, kBrassDark, Clamp01((x + y) / (512 * k))); },
      6 * k, 0.9f);

  Icon icon{Raster(size, size), std::vector<float>(static_cast<size_t>(size) * size, 0.0f)};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      // Colour weighted by coverage, so the clear corners lend the edge none of their colour.
      Rgb sum;
      float cover = 0;
      for (int sy = 0; sy < kOver; ++sy)
        for (int sx = 0; sx < kOver; ++sx) {
          const int px = x * kOver + sx, py = y * kOver + sy;
          const float a = Smooth(badge(px + 0.5f, py + 0.5f));
          const Rgb c = img.Get(px, py);
          sum = {sum.r + c.r * a, sum.g + c.g * a, sum.b + c.b * a};
          cover += a;
        }
      icon.alpha[static_cast<size_t>(y) * size + x] = cover / (kOver * kOver);
      if (cover > 0) icon.colour.Set(x, y, Scale(sum, 1 / cover));
    }
  return icon;
}

}  // namespace assetgen
