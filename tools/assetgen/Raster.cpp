#include "tools/assetgen/Raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }

Rgb FromHex(uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height, fill) {}

Rgb Raster::Get(int x, int y) const {
  x = std::clamp(x, 0, width_ - 1);
  y = std::clamp(y, 0, height_ - 1);
  return px_[static_cast<size_t>(y) * width_ + x];
}

void Raster::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  px_[static_cast<size_t>(y) * width_ + x] = c;
}

void Raster::Blend(int x, int y, Rgb c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Rgb& p = px_[static_cast<size_t>(y) * width_ + x];
  p = Mix(p, c, std::min(alpha, 1.0f));
}

void Raster::Paint(int x0, int y0, int x1, int y1,
                   const std::function<Rgb(float, float, Rgb)>& shade) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      Rgb& p = px_[static_cast<size_t>(y) * width_ + x];
      p = shade(x + 0.5f, y + 0.5f, p);
    }
}

void Raster::Fill(int x0, int y0, int x1, int y1, const Coverage& cover, Rgb colour, float alpha) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      float sum = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) sum += cover(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
      Blend(x, y, colour, alpha * sum / 16);
    }
}

void Raster::Draw(const Raster& src, int x, int y) {
  for (int sy = 0; sy < src.height_; ++sy)
    for (int sx = 0; sx < src.width_; ++sx) Set(x + sx, y + sy, src.Get(sx, sy));
}

Raster Raster::Crop(int x, int y, int w, int h) const {
  Raster out(w, h);
  for (int sy = 0; sy < h; ++sy)
    for (int sx = 0; sx < w; ++sx) out.Set(sx, sy, Get(x + sx, y + sy));
  return out;
}

std::vector<uint8_t> Raster::Bytes() const {
  std::vector<uint8_t> out;
  out.reserve(px_.size() * 3);
  auto q = [](float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
  };
  for (const Rgb& p : px_) {
    out.push_back(q(p.r));
    out.push_back(q(p.g));
    out.push_back(q(p.b));
  }
  return out;
}

float Smooth(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

float DistCircle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

float DistRoundBox(float x, float y, float x0, float y0, float x1, float y1, float radius) {
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float DistSegment(float x, float y, Point a, Point b) {
  float px = x - a.x, py = y - a.y, dx = b.x - a.x, dy = b.y - a.y;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - dx * t, py - dy * t);
}

bool InsidePolygon(float x, float y, const std::vector<Point>& poly) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point& a = poly[i];
    const Point& b = poly[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

float Hash01(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777215.0f;
}

float ValueNoise(float x, float y, uint32_t seed, int period) {
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  float fx = x - ix, fy = y - iy;
  auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
  auto at = [&](int dx, int dy) { return Hash01(wrap(ix + dx), wrap(iy + dy), seed); };
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  float top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
  float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

float Fbm(float x, float y, uint32_t seed, int octaves, int period) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + i * 101, period);
    norm += amp;
    x *= 2;
    y *= 2;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

uint32_t XorShift::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float XorShift::Uniform(float lo, float hi) {
  return lo + (hi - lo) * ((Next() & 0xFFFFFF) / 16777216.0f);
}

}  // namespace assetgen
