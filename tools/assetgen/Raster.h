#pragma once
// A small floating-point raster with the few drawing operations our art needs.
// Colours are sRGB components in 0..1; every shape is anti-aliased by coverage.
#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb a, float k);
Rgb FromHex(uint32_t rgb);

struct Point {
  float x = 0, y = 0;
};

// Coverage of one pixel, 0 (outside) .. 1 (inside).
using Coverage = std::function<float(float x, float y)>;

class Raster {
 public:
  Raster() = default;
  Raster(int width, int height, Rgb fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Get(int x, int y) const;
  void Set(int x, int y, Rgb c);
  // Alpha-blends c over the pixel; ignores pixels off the raster.
  void Blend(int x, int y, Rgb c, float alpha);

  // Calls shade(x, y) with the pixel's centre for every pixel of the rectangle.
  void Paint(int x0, int y0, int x1, int y1, const std::function<Rgb(float, float, Rgb)>& shade);
  // Blends colour over every pixel of the box by coverage (supersampled 4 × 4).
  void Fill(int x0, int y0, int x1, int y1, const Coverage& cover, Rgb colour, float alpha = 1);
  void Draw(const Raster& src, int x, int y);
  Raster Crop(int x, int y, int w, int h) const;

  // 8-bit RGB rows, top row first, with rounding and clamping.
  std::vector<uint8_t> Bytes() const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<Rgb> px_;
};

// Signed distances (negative inside) turned into pixel coverage.
float Smooth(float distance);
float DistCircle(float x, float y, float cx, float cy, float r);
float DistRoundBox(float x, float y, float x0, float y0, float x1, float y1, float radius);
float DistSegment(float x, float y, Point a, Point b);
bool InsidePolygon(float x, float y, const std::vector<Point>& poly);

// Deterministic value noise in 0..1; period (in cells) wraps it, 0 means no wrap.
float Hash01(int x, int y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
float Fbm(float x, float y, uint32_t seed, int octaves, int period = 0);

// A fixed-seed generator: the same sequence on every run.
class XorShift {
 public:
  explicit XorShift(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next();
  float Uniform(float lo, float hi);

 private:
  uint32_t state_;
};

}  // namespace assetgen
