#include "tests/unit/media/PaintFixture.h"

#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Toolkit/Pause.h"

namespace kravelon {

void WriteJpeg(const std::string& path, int width, int height,
               const std::function<TColor(int, int)>& pixel, int quality) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      TColor c = pixel(x, y);
      row[3 * x] = c.R;
      row[3 * x + 1] = c.G;
      row[3 * x + 2] = c.B;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

void WriteBmp(const std::string& path, int width, int height,
              const std::function<TColor(int, int)>& pixel) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * height);
  std::vector<std::uint8_t> bytes(54 + dataSize, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + dataSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, dataSize);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bytes.data() + 54 + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      TColor c = pixel(x, y);
      row[3 * x] = c.B;
      row[3 * x + 1] = c.G;
      row[3 * x + 2] = c.R;
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<TBitmap> SolidPicture(int width, int height, TColor color) {
  auto picture = std::make_unique<TBitmap>(width, height);
  picture->Canvas.BrushColor = color;
  picture->Canvas.FillRect({0, 0, width, height});
  return picture;
}

void PaintFixture::SetUp() {
  ToolkitFixture::SetUp();
  std::filesystem::create_directory(Folder + "Images");
  SetSleeper([](int) {});
  Window = std::make_unique<TForm>("test", 696, 488);
  Console = std::make_unique<TConsol>();
  GameEngine = std::make_unique<TGameEngine>();
  Painter = std::make_unique<TPaint>(*Window, "1.2", *GameEngine, *Console);
  Console->OnRedraw = [this] { Painter->Redraw(); };
}

void PaintFixture::TearDown() {
  Painter.reset();
  GameEngine.reset();
  Console.reset();
  Window.reset();
  SetSleeper({});
  ToolkitFixture::TearDown();
}

}  // namespace kravelon
