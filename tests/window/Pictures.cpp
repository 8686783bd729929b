#include "tests/window/Pictures.h"

#include <jpeglib.h>

#include <cstdio>

TImage ReadJpeg(const std::string& path) {
  TImage image;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return image;
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image.Width = static_cast<int>(info.output_width);
  image.Height = static_cast<int>(info.output_height);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(image.Width) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&info, &r, 1);
    for (int x = 0; x < image.Width; ++x) image.Pixels.push_back({row[3 * x], row[3 * x + 1], row[3 * x + 2]});
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
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
