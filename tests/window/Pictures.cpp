#include "tests/window/Pictures.h"

#include <cstdio>

#include "tests/support/JpegFile.h"

namespace kravelon {

TImage ReadJpeg(const std::string& path) {
  TImage image;
  TRgbPicture picture;
  if (!ReadJpegFile(path, picture)) return image;
  image.Width = picture.Width;
  image.Height = picture.Height;
  for (std::size_t i = 0; i + 2 < picture.Rgb.size(); i += 3)
    image.Pixels.push_back({picture.Rgb[i], picture.Rgb[i + 1], picture.Rgb[i + 2]});
  return image;
}

TImage ReadBmp24(const std::string& path) {
  TImage image;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return image;
  std::vector<unsigned char> b;
  for (int c; (c = std::fgetc(file)) != EOF;) b.push_back(static_cast<unsigned char>(c));
  std::fclose(file);
  auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24; };
  const int offset = static_cast<int>(u32(10));
  image.Width = static_cast<int>(u32(18));
  image.Height = static_cast<int>(u32(22));
  const int stride = (image.Width * 3 + 3) & ~3;
  image.Pixels.resize(static_cast<std::size_t>(image.Width) * image.Height);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) {
      const unsigned char* p = &b[static_cast<std::size_t>(offset + (image.Height - 1 - y) * stride + 3 * x)];
      image.Pixels[static_cast<std::size_t>(y) * image.Width + x] = {p[2], p[1], p[0]};
    }
  return image;
}

TCanvasImage::TCanvasImage(int w, int h) {
  Width = w;
  Height = h;
  Pixels.resize(static_cast<std::size_t>(w) * h);
}

void TCanvasImage::Draw(const TImage& from, int left, int top, std::function<bool(TColor)> transparent,
                        TRect source) {
  if (source.Right < 0) source = {0, 0, from.Width, from.Height};
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) {
      const int dx = left + x, dy = top + y;
      if (dx < 0 || dy < 0 || dx >= Width || dy >= Height) continue;
      const TColor c = from.At(source.Left + x, source.Top + y);
      if (transparent && transparent(c)) continue;
      Pixels[static_cast<std::size_t>(dy) * Width + dx] = c;
    }
}

}  // namespace kravelon
