// Every file the game loads: present, decodable, of the size its drawing code assumes.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/JpegFile.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;
const fs::path kAssets = KRAVELON_ASSET_DIR;

std::vector<uint8_t> ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TRgbPicture LoadJpeg(const std::string& name) {
  TRgbPicture p;
  EXPECT_TRUE(ReadJpegFile(kAssets / "Images" / name, p)) << name;
  return p;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr LoadBmp(const std::string& name) {
  return {SDL_LoadBMP((kAssets / "Images" / name).c_str()), SDL_FreeSurface};
}

// The game's mask rule: blue, green, red as one number, black up to 0x808080.
bool MaskIsWhite(const uint8_t* rgb) {
  uint32_t v = (rgb[2] << 16) | (rgb[1] << 8) | rgb[0];
  return v > 0x808080;
}

struct JpegCase {
  const char* name;
  int width, height;
  friend void PrintTo(const JpegCase& c, std::ostream* os) { *os << c.name; }
};

class JpegFiles : public testing::TestWithParam<JpegCase> {};

TEST_P(JpegFiles, DecodeStrictlyAtTheirSize) {
  TRgbPicture p = LoadJpeg(GetParam().name);
  EXPECT_EQ(p.Width, GetParam().width);
  EXPECT_EQ(p.Height, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(
    Images, JpegFiles,
    testing::Values(JpegCase{"About.jpg", 696, 488}, JpegCase{"Ship.jpg", 32, 32},
                    JpegCase{"Shipoff.jpg", 32, 32}, JpegCase{"Empty.jpg", 32, 32},
                    JpegCase{"Miss.jpg", 32, 32}, JpegCase{"Sunk.jpg", 32, 32},
                    JpegCase{"Revealed.jpg", 32, 32}, JpegCase{"Backround.jpg", 696, 488},
                    JpegCase{"Consol.jpg", 688, 128}, JpegCase{"MenuBar.jpg", 256, 64},
                    JpegCase{"MenuSelected.jpg", 256, 64}, JpegCase{"Title.jpg", 696, 32},
                    JpegCase{"Win.jpg", 696, 488}, JpegCase{"Active.jpg", 128, 128},
                    JpegCase{"Explosion.jpg", 256, 256}, JpegCase{"ExplosionMask.jpg", 256, 256},
                    JpegCase{"en/About.jpg", 696, 488}, JpegCase{"en/Title.jpg", 696, 32}),
    [](const testing::TestParamInfo<JpegCase>& info) {
      std::string n = info.param.name;
      n = n.substr(0, n.find('.'));
      if (const auto slash = n.find('/'); slash != std::string::npos) n.erase(slash, 1);
      return n;
    });

TEST(AboutPicture, BytesAddUpToTheSumTheGameChecksInEveryLanguage) {
  for (const char* name : {"About.jpg", "en/About.jpg"}) {
    std::vector<uint8_t> data = ReadAll(kAssets / "Images" / name);
    uint64_t sum = 0;
    for (uint8_t b : data) sum += b;
    EXPECT_EQ(sum, 25902023u) << name;
  }
}

// A colour-blind player, or a greyscale screen, tells the cells apart by light and shape: each
// pair of cell pictures differs in grey levels, and still does with each picture's mean
// brightness taken out, so that no pair differs by being lighter or darker alone.
TEST(CellTiles, TellApartInGreyByShape) {
  const char* names[] = {"Empty.jpg", "Ship.jpg", "Miss.jpg", "Shipoff.jpg", "Sunk.jpg", "Revealed.jpg"};
  std::vector<std::vector<float>> grey, shape;
  for (const char* name : names) {
    TRgbPicture p = LoadJpeg(name);
    ASSERT_EQ(p.Width * p.Height, 32 * 32) << name;
    std::vector<float> g;
    for (int i = 0; i < p.Width * p.Height; ++i)
      g.push_back(0.3f * p.Rgb[i * 3] + 0.59f * p.Rgb[i * 3 + 1] + 0.11f * p.Rgb[i * 3 + 2]);
    float mean = 0;
    for (float v : g) mean += v / static_cast<float>(g.size());
    std::vector<float> centred;
    for (float v : g) centred.push_back(v - mean);
    grey.push_back(g);
    shape.push_back(centred);
  }
  auto meanDifference = [](const std::vector<float>& a, const std::vector<float>& b) {
    float diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) diff += std::fabs(a[i] - b[i]);
    return diff / static_cast<float>(a.size());
  };
  for (std::size_t a = 0; a < grey.size(); ++a)
    for (std::size_t b = a + 1; b < grey.size(); ++b) {
      SCOPED_TRACE(std::string(names[a]) + " vs " + names[b]);
      EXPECT_GT(meanDifference(grey[a], grey[b]), 20.0f);
      EXPECT_GT(meanDifference(shape[a], shape[b]), 25.0f);
    }
}

TEST(ExplosionSheet, EveryFrameHasFireAndATransparentCorner) {
  TRgbPicture sheet = LoadJpeg("Explosion.jpg"), mask = LoadJpeg("ExplosionMask.jpg");
  ASSERT_EQ(sheet.Width, 256);
  ASSERT_EQ(mask.Width, 256);
  for (int n = 0; n < 20; ++n) {
    int ox = 48 * (n % 5), oy = 64 * (n / 5);
    // The frame's bottom-left pixel becomes its transparent colour: it must be background.
    EXPECT_FALSE(MaskIsWhite(mask.At(ox, oy + 63))) << "frame " << n;
    int inside = 0, holes = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 48; ++x) {
        if (!MaskIsWhite(mask.At(ox + x, oy + y))) continue;
        ++inside;
        const uint8_t* c = sheet.At(ox + x, oy + y);
        // Pure black inside the fire would be keyed out as a hole.
        if (c[0] == 0 && c[1] == 0 && c[2] == 0) ++holes;
      }
    EXPECT_GT(inside, 8) << "frame " << n;
    EXPECT_EQ(holes, 0) << "frame " << n;
  }
}

TEST(BorderSheet, TwentyFourBitWithAThinOpaqueRim) {
  std::vector<uint8_t> file = ReadAll(kAssets / "Images" / "Border.bmp");
  ASSERT_GT(file.size(), 30u);
  EXPECT_EQ(file[28], 24);  // bits per pixel
  SurfacePtr s = LoadBmp("Border.bmp");
  ASSERT_TRUE(s) << SDL_GetError();
  ASSERT_EQ(s->w, 64);
  ASSERT_EQ(s->h, 64);
  SurfacePtr rgb(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGB24, 0), SDL_FreeSurface);
  auto magenta = [&](int x, int y) {
    const uint8_t* p = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch + x * 3;
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
  };
  // The edge pieces are the sheet's middle bands; the boards start 4 pixels in.
  for (int along = 16; along < 48; ++along)
    for (int depth = 4; depth < 32; ++depth) {
      EXPECT_TRUE(magenta(depth, along)) << "left band at " << depth << "," << along;
      EXPECT_TRUE(magenta(63 - depth, along)) << "right band";
      EXPECT_TRUE(magenta(along, depth)) << "top band";
      EXPECT_TRUE(magenta(along, 63 - depth)) << "bottom band";
    }
  EXPECT_FALSE(magenta(0, 32));
  EXPECT_FALSE(magenta(32, 0));
}

TEST(ReportSheet, TwentyFourBitThreeByThreeCells) {
  std::vector<uint8_t> file = ReadAll(kAssets / "Images" / "Report.bmp");
  ASSERT_GT(file.size(), 30u);
  EXPECT_EQ(file[28], 24);
  SurfacePtr s = LoadBmp("Report.bmp");
  ASSERT_TRUE(s) << SDL_GetError();
  EXPECT_EQ(s->w, 48);
  EXPECT_EQ(s->h, 48);
}

TEST(Cursor, DecodesWithAlphaAndAimsWhereItIsOpaque) {
  std::vector<uint8_t> file = ReadAll(kAssets / "Images" / "CURSOR.CUR");
  ASSERT_GE(file.size(), 22u);
  EXPECT_EQ(file[2], 2);  // a cursor, not an icon
  int hotX = file[10] | (file[11] << 8), hotY = file[12] | (file[13] << 8);
  ASSERT_LT(hotX, 32);
  ASSERT_LT(hotY, 32);

  SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  SurfacePtr s(IMG_LoadCUR_RW(rw), SDL_FreeSurface);
  SDL_RWclose(rw);
  ASSERT_TRUE(s) << IMG_GetError();
  ASSERT_EQ(s->w, 32);
  ASSERT_EQ(s->h, 32);
  SurfacePtr rgba(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGBA32, 0), SDL_FreeSurface);
  auto alpha = [&](int x, int y) {
    return static_cast<const uint8_t*>(rgba->pixels)[y * rgba->pitch + x * 4 + 3];
  };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(hotX, hotY), 255);
  int partial = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) partial += alpha(x, y) > 0 && alpha(x, y) < 255;
  EXPECT_GT(partial, 0) << "edges are smoothed by alpha";
}

TEST(Icons, OneSquarePictureForEachDesktopSizeWithClearCorners) {
  // The sizes the hicolor theme is installed with.
  for (int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const fs::path file = kAssets / "Icons" / ("kravelon-" + std::to_string(size) + ".png");
    SurfacePtr s(IMG_Load(file.c_str()), SDL_FreeSurface);
    ASSERT_TRUE(s) << IMG_GetError();
    EXPECT_EQ(s->w, size);
    EXPECT_EQ(s->h, size);
    ASSERT_TRUE(SDL_ISPIXELFORMAT_ALPHA(s->format->format));
    SurfacePtr rgba(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGBA32, 0), SDL_FreeSurface);
    auto alpha = [&](int x, int y) {
      return static_cast<const uint8_t*>(rgba->pixels)[y * rgba->pitch + x * 4 + 3];
    };
    for (int corner : {0, size - 1}) {
      EXPECT_EQ(alpha(corner, 0), 0);
      EXPECT_EQ(alpha(corner, size - 1), 0);
    }
    EXPECT_EQ(alpha(size / 2, size / 2), 255);
  }
}

struct WavCase {
  const char* name;
  double minSeconds, maxSeconds;
  friend void PrintTo(const WavCase& c, std::ostream* os) { *os << c.name; }
};

class WavFiles : public testing::TestWithParam<WavCase> {};

TEST_P(WavFiles, AreSixteenBitPcmOfTheirLength) {
  SDL_AudioSpec audio{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  fs::path file = kAssets / "Sounds" / GetParam().name;
  ASSERT_TRUE(SDL_LoadWAV(file.c_str(), &audio, &buffer, &length)) << SDL_GetError();
  std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(buffer, SDL_FreeWAV);
  EXPECT_EQ(audio.format, AUDIO_S16LSB);
  EXPECT_TRUE(audio.freq == 22050 || audio.freq == 44100) << audio.freq;
  double seconds = static_cast<double>(length) / (2.0 * audio.channels * audio.freq);
  EXPECT_GE(seconds, GetParam().minSeconds);
  EXPECT_LE(seconds, GetParam().maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(Sounds, WavFiles,
                         testing::Values(WavCase{"Shot.wav", 0.4, 0.7},
                                         WavCase{"Setup.wav", 0.01, 0.2},
                                         WavCase{"win.wav", 2.0, 4.0}),
                         [](const testing::TestParamInfo<WavCase>& info) {
                           std::string n = info.param.name;
                           return n.substr(0, n.find('.'));
                         });

TEST(WinTune, LoopsWithoutAClick) {
  SDL_AudioSpec audio{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  fs::path file = kAssets / "Sounds" / "win.wav";
  ASSERT_TRUE(SDL_LoadWAV(file.c_str(), &audio, &buffer, &length)) << SDL_GetError();
  std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(buffer, SDL_FreeWAV);
  ASSERT_EQ(audio.channels, 1);
  const int16_t* s = reinterpret_cast<const int16_t*>(buffer);
  size_t n = length / 2;
  ASSERT_GT(n, 2u);
  // The step from the last sample back to the first is no bigger than steps inside the tune.
  int largest = 0;
  for (size_t i = 1; i < n; ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
  EXPECT_LE(std::abs(s[0] - s[n - 1]), largest);
  EXPECT_GT(largest, 0);
}

}  // namespace

}  // namespace kravelon
