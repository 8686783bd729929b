// The loaders against damaged files: sizes are read from the header and refused before anything
// large is allocated; a folder in place of a file is a missing file.
#include <gtest/gtest.h>
#include <SDL.h>
#include <jpeglib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Toolkit/Cursor.h"
#include "Formats/Decoders.h"
#include "Platform/Errors.h"
#include "Platform/Files.h"
#include "Toolkit/Graphics.h"
#include "Toolkit/Jpeg.h"
#include "Formats/Wave.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Asset(const char* relative) {
  std::ifstream in(fs::path(KRAVELON_ASSETS) / relative, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put16(TBytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(TBytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// The largest single block SDL is asked for while `work` runs: a refused file must not get one.
std::atomic<std::size_t> Largest{0};
SDL_malloc_func RealMalloc;
SDL_calloc_func RealCalloc;
SDL_realloc_func RealRealloc;
SDL_free_func RealFree;

void Note(std::size_t n) {
  std::size_t seen = Largest.load();
  while (n > seen && !Largest.compare_exchange_weak(seen, n)) {
  }
}

std::size_t LargestSdlBlock(const std::function<void()>& work) {
  SDL_GetMemoryFunctions(&RealMalloc, &RealCalloc, &RealRealloc, &RealFree);
  SDL_SetMemoryFunctions(
      [](std::size_t n) {
        Note(n);
        return RealMalloc(n);
      },
      [](std::size_t c, std::size_t n) {
        Note(c * n);
        return RealCalloc(c, n);
      },
      [](void* p, std::size_t n) {
        Note(n);
        return RealRealloc(p, n);
      },
      [](void* p) { RealFree(p); });
  Largest = 0;
  work();
  SDL_SetMemoryFunctions(RealMalloc, RealCalloc, RealRealloc, RealFree);
  return Largest;
}

constexpr std::size_t OneMegabyte = 1u << 20;

// ---- Windows bitmaps --------------------------------------------------------------------------

TEST(BmpDecoder, RefusesSizesBeyondTheGameOrTheFileBeforeAllocating) {
  struct TCase {
    const char* What;
    std::int32_t Width, Height;
    std::size_t Keep;  // bytes of the file kept (0: all)
  };
  const TCase refused[] = {
      {"a huge square", 60000, 60000, 0},
      {"a huge strip, cut short", 150994992, 48, 4700},
      {"one row more than the file holds", 48, 49, 0},
      {"a picture wider than the limit that the file could hold", MaxPictureSide + 1, 1, 0},
      {"no width", 0, 48, 0},
  };
  for (const TCase& c : refused) {
    TBytes bmp = Asset("Images/Report.bmp");
    Put32(bmp, 18, static_cast<std::uint32_t>(c.Width));
    Put32(bmp, 22, static_cast<std::uint32_t>(c.Height));
    if (c.Keep) bmp.resize(c.Keep);
    const std::size_t largest = LargestSdlBlock(
        [&] { EXPECT_THROW(DecodeBmp(bmp.data(), bmp.size()), TToolkitError) << c.What; });
    EXPECT_LT(largest, OneMegabyte) << c.What;
  }
}

TEST(BmpDecoder, ReadsWholeBitmapsBottomUpAndTopDown) {
  TBytes bmp = Asset("Images/Border.bmp");
  auto up = DecodeBmp(bmp.data(), bmp.size());
  Put32(bmp, 22, static_cast<std::uint32_t>(-64));
  auto down = DecodeBmp(bmp.data(), bmp.size());
  ASSERT_EQ(up->w, 64);
  ASSERT_EQ(down->h, 64);
  // The same rows, in the other order.
  const auto* top = static_cast<const std::uint8_t*>(up->pixels);
  const auto* bottom = static_cast<const std::uint8_t*>(down->pixels) + 63 * down->pitch;
  EXPECT_TRUE(std::equal(top, top + up->w * up->format->BytesPerPixel, bottom));
}

// ---- JPEG -------------------------------------------------------------------------------------

// The frame header holds the height and width, big-endian, five and seven bytes past its marker.
void SetJpegSize(TBytes& jpeg, int width, int height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(width);
      return;
    }
  }
  FAIL() << "no frame header";
}

TEST(JpegDecoder, RefusesAHugeFrameBeforeAllocating) {
  for (const char* name : {"Images/Ship.jpg", "Images/About.jpg", "Images/Backround.jpg"}) {
    TBytes jpeg = Asset(name);
    SetJpegSize(jpeg, 60000, 60000);
    const std::size_t largest = LargestSdlBlock([&] {
      try {
        DecodeJpeg(jpeg.data(), jpeg.size());
        ADD_FAILURE() << name << " decoded";
      } catch (const TToolkitError& e) {
        EXPECT_NE(std::string(e.what()).find("60000 x 60000"), std::string::npos) << e.what();
      }
    });
    EXPECT_LT(largest, OneMegabyte) << name;
  }
}

TEST(JpegDecoder, DecodesTheLargestPictureWeShipAndRefusesOneSideTooMany) {
  TBytes jpeg = Asset("Images/Backround.jpg");
  auto picture = DecodeJpeg(jpeg.data(), jpeg.size());
  EXPECT_EQ(picture->w, 696);
  EXPECT_EQ(picture->h, 488);
  SetJpegSize(jpeg, 696, MaxPictureSide + 1);
  EXPECT_THROW(DecodeJpeg(jpeg.data(), jpeg.size()), TToolkitError);
}

// A grey 16 × 16 picture, progressive, with one scan per AC coefficient of each colour channel
// after the DC scan: a legal file of `scans` scans.
TBytes ProgressiveJpeg(int acScansPerChannel) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = info.image_height = 16;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  std::vector<jpeg_scan_info> scans(1);
  scans[0] = {3, {0, 1, 2, 0}, 0, 0, 0, 0};
  for (int component = 0; component < 3; ++component) {
    for (int k = 1; k <= 63; ++k) {
      const bool last = k >= acScansPerChannel;
      scans.push_back({1, {component, 0, 0, 0}, k, last ? 63 : k, 0, 0});
      if (last) break;
    }
  }
  info.scan_info = scans.data();
  info.num_scans = static_cast<int>(scans.size());
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(16 * 3, 128);
  for (int y = 0; y < 16; ++y) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  TBytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

TEST(JpegDecoder, RefusesAFileOfMoreScansThanAnyPictureNeeds) {
  const TBytes few = ProgressiveJpeg(10);  // 31 scans, like an ordinary progressive file
  EXPECT_EQ(DecodeJpeg(few.data(), few.size())->w, 16);
  const TBytes many = ProgressiveJpeg(63);  // 190 scans
  try {
    DecodeJpeg(many.data(), many.size());
    ADD_FAILURE() << "decoded";
  } catch (const TToolkitError& e) {
    EXPECT_NE(std::string(e.what()).find("scans"), std::string::npos) << e.what();
  }
}

// ---- Cursors ----------------------------------------------------------------------------------

// Our cursor: one directory entry (6 + 16 bytes), then a 40-byte bitmap header at 22.
TEST(CursorDecoder, AcceptsOnlyDirectoriesThatAgreeWithTheirBitmapsAndTheFile) {
  struct TCase {
    const char* What;
    std::function<void(TBytes&)> Damage;
    TCursorResult Expected;
  };
  const TCase cases[] = {
      {"our own cursor", [](TBytes&) {}, TCursorResult::Loaded},
      {"a bitmap claiming 60000 x 60000",
       [](TBytes& b) { Put32(b, 26, 60000), Put32(b, 30, 120000); }, TCursorResult::Refused},
      {"a bitmap larger than its directory entry",
       [](TBytes& b) { Put32(b, 26, 64), Put32(b, 30, 128); }, TCursorResult::Refused},
      {"a 256 x 256 entry over a 32 x 32 bitmap", [](TBytes& b) { b[6] = b[7] = 0; },
       TCursorResult::Refused},
      {"an image that runs past the end", [](TBytes& b) { Put32(b, 14, 0x7FFFFFF0); },
       TCursorResult::Refused},
      {"a file cut in half", [](TBytes& b) { b.resize(b.size() / 2); }, TCursorResult::Refused},
      {"entries beyond the file", [](TBytes& b) { Put16(b, 4, 0xFFFF); }, TCursorResult::Refused},
      {"a palette larger than its depth allows",
       [](TBytes& b) { Put16(b, 36, 8), Put32(b, 54, 100000); }, TCursorResult::Refused},
      {"an icon, not a cursor", [](TBytes& b) { Put16(b, 2, 1); }, TCursorResult::Failed},
      {"text",
       [](TBytes& b) {
         b.assign({'n', 'o', 't', ' ', 'a', ' ', 'c', 'u', 'r'});
       },
       TCursorResult::Failed},
  };
  for (const TCase& c : cases) {
    TBytes cur = Asset("Images/CURSOR.CUR");
    c.Damage(cur);
    TCursorImage image;
    const std::size_t largest = LargestSdlBlock(
        [&] { EXPECT_EQ(DecodeCursor(cur.data(), cur.size(), image), c.Expected) << c.What; });
    if (c.Expected != TCursorResult::Loaded) {
      EXPECT_LT(largest, OneMegabyte) << c.What;
    }
  }
  TBytes cur = Asset("Images/CURSOR.CUR");
  TCursorImage image;
  ASSERT_EQ(DecodeCursor(cur.data(), cur.size(), image), TCursorResult::Loaded);
  EXPECT_EQ(image.Pixels->w, 32);
  EXPECT_EQ(image.Pixels->h, 32);
  EXPECT_EQ(image.HotX, 15);
  EXPECT_EQ(image.HotY, 15);
}

// ---- Waves ------------------------------------------------------------------------------------

// Shot.wav: "RIFF" size "WAVE", then "fmt " at 12 and "data" at 36.
TEST(WaveDecoder, ASoundWhoseChunksDoNotFitTheFileIsSilent) {
  struct TCase {
    const char* What;
    std::function<void(TBytes&)> Damage;
    bool Plays;
  };
  const TCase cases[] = {
      {"our own shot", [](TBytes&) {}, true},
      {"a data chunk claiming 4 GB", [](TBytes& b) { Put32(b, 40, 0xFFFFFFF0); }, false},
      {"a RIFF chunk longer than the file", [](TBytes& b) { Put32(b, 4, 0x7FFFFFFF); }, false},
      {"a file cut in half", [](TBytes& b) { b.resize(b.size() / 2); }, false},
      {"a format chunk running into the data", [](TBytes& b) { Put32(b, 16, 1000000); }, false},
      {"no format chunk", [](TBytes& b) { std::copy_n("JUNK", 4, b.begin() + 12); }, false},
      {"no wave at all", [](TBytes& b) { b.assign(100, 'x'); }, false},
  };
  for (const TCase& c : cases) {
    TBytes wave = Asset("Sounds/Shot.wav");
    c.Damage(wave);
    TDecodedWave decoded;
    const std::size_t largest =
        LargestSdlBlock([&] { decoded = TDecodedWave(wave.data(), wave.size()); });
    EXPECT_EQ(!decoded.Silent(), c.Plays) << c.What;
    EXPECT_LT(largest, OneMegabyte) << c.What;
  }
}

// ---- Files ------------------------------------------------------------------------------------

class FileTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path();
};

TEST_F(FileTest, PictureLoadersNameTheFullPathOfWhatTheyRefuse) {
  fs::create_directory(Folder + "Ship.jpg");
  fs::create_directory(Folder + "Border.bmp");
  TBitmap picture;
  for (const std::string name : {"Ship.jpg", "Border.bmp"}) {
    try {
      if (name.ends_with(".jpg")) {
        LoadJpegFile(picture, Folder + name);
      } else {
        picture.LoadFromFile(Folder + name);
      }
      ADD_FAILURE() << name << " loaded";
    } catch (const TFileError& e) {
      EXPECT_EQ(e.Path(), Folder + name);
    }
  }
}

TEST_F(FileTest, AFolderOrAHugeCursorIsRefusedLikeAMissingOne) {
  fs::create_directory(Folder + "CURSOR.CUR");
  EXPECT_EQ(LoadCursorFromFile(Folder + "CURSOR.CUR"), TCursorResult::NotFound);
  TBytes cur = Asset("Images/CURSOR.CUR");
  Put32(cur, 26, 60000);
  Put32(cur, 30, 120000);
  std::ofstream(Folder + "Huge.cur", std::ios::binary)
      .write(reinterpret_cast<const char*>(cur.data()), static_cast<std::streamsize>(cur.size()));
  EXPECT_EQ(LoadCursorFromFile(Folder + "Huge.cur"), TCursorResult::Refused);
}

}  // namespace

}  // namespace kravelon
