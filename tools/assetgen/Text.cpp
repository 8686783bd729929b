#include "tools/assetgen/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace assetgen {
namespace {

const char* FontFile(Face face) {
  switch (face) {
    case Face::SansBold:
      return "/usr/share/fonts/truetype/paratype/PTS75F.ttf";
    case Face::Sans:
      return "/usr/share/fonts/truetype/paratype/PTS55F.ttf";
    case Face::SerifBold:
      return "/usr/share/fonts/truetype/paratype/PTF75F.ttf";
    case Face::NarrowBold:
      return "/usr/share/fonts/truetype/paratype/PTN77F.ttf";
    case Face::ArialBold:
      return "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
  }
  return "";
}

std::vector<char32_t> Decode(const std::string& s) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra ? c & (0x3F >> extra) : c;
    for (int k = 1; k <= extra && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

class Fonts {
 public:
  Fonts() {
    if (FT_Init_FreeType(&lib_)) throw std::runtime_error("FreeType did not start");
  }
  ~Fonts() {
    for (auto& [face, ft] : faces_) FT_Done_Face(ft);
    FT_Done_FreeType(lib_);
  }
  FT_Face Get(Face face) {
    auto it = faces_.find(face);
    if (it != faces_.end()) return it->second;
    FT_Face ft = nullptr;
    if (FT_New_Face(lib_, FontFile(face), 0, &ft))
      throw std::runtime_error(std::string("missing font ") + FontFile(face));
    faces_[face] = ft;
    return ft;
  }

 private:
  FT_Library lib_ = nullptr;
  std::map<Face, FT_Face> faces_;
};

Fonts& TheFonts() {
  static Fonts fonts;
  return fonts;
}

}  // namespace

TextMask RenderText(Face face, float pixelSize, const std::string& utf8, float tracking) {
  FT_Face ft = TheFonts().Get(face);
  // Unhinted outlines at 26.6 sizes: the shapes depend on the font file alone.
  FT_Set_Char_Size(ft, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
  std::vector<char32_t> text = Decode(utf8);
  const int pad = 8 + static_cast<int>(pixelSize / 4);
  int ascent = static_cast<int>(std::ceil(ft->size->metrics.ascender / 64.0));
  int descent = static_cast<int>(std::ceil(-ft->size->metrics.descender / 64.0));
  float pen = 0;
  for (char32_t cp : text) {
    FT_Load_Char(ft, cp, FT_LOAD_NO_HINTING);
    pen += ft->glyph->advance.x / 64.0f + tracking;
  }
  TextMask m;
  m.pad = pad;
  m.advance = static_cast<int>(std::lround(pen - tracking));
  m.width = static_cast<int>(std::ceil(pen)) + 2 * pad;
  m.height = ascent + descent + 2 * pad;
  m.baseline = pad + ascent;
  m.a.assign(static_cast<size_t>(m.width) * m.height, 0.0f);
  pen = 0;
  for (char32_t cp : text) {
    FT_Load_Char(ft, cp, FT_LOAD_NO_HINTING | FT_LOAD_RENDER);
    const FT_Bitmap& bmp = ft->glyph->bitmap;
    int ox = pad + static_cast<int>(std::lround(pen)) + ft->glyph->bitmap_left;
    int oy = m.baseline - ft->glyph->bitmap_top;
    for (unsigned y = 0; y < bmp.rows; ++y)
      for (unsigned x = 0; x < bmp.width; ++x) {
        int tx = ox + static_cast<int>(x), ty = oy + static_cast<int>(y);
        if (tx < 0 || ty < 0 || tx >= m.width || ty >= m.height) continue;
        float& dst = m.a[ty * m.width + tx];
        dst = std::min(1.0f, dst + bmp.buffer[y * bmp.pitch + x] / 255.0f);
      }
    pen += ft->glyph->advance.x / 64.0f + tracking;
  }
  return m;
}

TextMask Dilate(const TextMask& mask, float radius) {
  TextMask out = mask;
  int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
          float w = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
          best = std::max(best, mask.At(x + dx, y + dy) * w);
        }
      out.a[y * mask.width + x] = best;
    }
  return out;
}

TextMask Blur(const TextMask& mask, int radius) {
  TextMask tmp = mask, out = mask;
  float n = 2.0f * radius + 1;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      float s = 0;
      for (int d = -radius; d <= radius; ++d) s += mask.At(x + d, y);
      tmp.a[y * mask.width + x] = s / n;
    }
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      float s = 0;
      for (int d = -radius; d <= radius; ++d) s += tmp.At(x, y + d);
      out.a[y * mask.width + x] = s / n;
    }
  return out;
}

void DrawMask(Raster& target, const TextMask& mask, int x, int y, Rgb colour, float alpha) {
  for (int my = 0; my < mask.height; ++my)
    for (int mx = 0; mx < mask.width; ++mx) {
      float a = mask.a[my * mask.width + mx];
      if (a > 0) target.Blend(x + mx, y + my, colour, a * alpha);
    }
}

void DrawText(Raster& target, Face face, float size, const std::string& utf8, int x, int y,
              Rgb colour, float alpha) {
  TextMask m = RenderText(face, size, utf8);
  DrawMask(target, m, x - m.pad, y - m.baseline, colour, alpha);
}

}  // namespace assetgen
