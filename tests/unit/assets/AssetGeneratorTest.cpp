// The committed assets are what the generator writes and what it meant to draw.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/assetgen/Art.h"
#include "tools/assetgen/Formats.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::vector<char>> FilesUnder(const fs::path& root) {
  std::map<std::string, std::vector<char>> files;
  for (const char* folder : {"Images", "Sounds", "Icons"}) {
    if (!fs::is_directory(root / folder)) continue;
    // Language folders (Images/en/) included.
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files[std::string(folder) + "/" + entry.path().lexically_relative(root / folder).string()] = {
          std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
  }
  return files;
}

TEST(AssetGenerator, ReproducesTheCommittedFilesByteForByte) {
  fs::path out = fs::temp_directory_path() / ("kravelon-assets-" + std::to_string(getpid()));
  fs::remove_all(out);
  std::string command = std::string("\"") + KRAVELON_ASSETGEN + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  auto fresh = FilesUnder(out);
  auto committed = FilesUnder(KRAVELON_ASSET_DIR);
  fs::remove_all(out);
  ASSERT_FALSE(committed.empty());
  for (const auto& [name, bytes] : committed) {
    auto it = fresh.find(name);
    ASSERT_NE(it, fresh.end()) << name << " is not written by the generator";
    EXPECT_TRUE(it->second == bytes) << name << " differs from a fresh run";
  }
  for (const auto& [name, bytes] : fresh)
    EXPECT_TRUE(committed.count(name)) << name << " is written but not committed";
}

TEST(ExplosionMask, KeepsItsShapeThroughJpegAndTheGamesThreshold) {
  // The game turns the decoded mask black and white at 0x808080 (blue high, red low);
  // compression must not move a single pixel across that line.
  assetgen::Raster meant = assetgen::ExplosionPictures().mask;
  assetgen::Raster decoded = assetgen::DecodeJpeg(
      assetgen::ReadFile(fs::path(KRAVELON_ASSET_DIR) / "Images" / "ExplosionMask.jpg"));
  ASSERT_EQ(decoded.Width(), meant.Width());
  ASSERT_EQ(decoded.Height(), meant.Height());
  int moved = 0;
  for (int y = 0; y < meant.Height(); ++y)
    for (int x = 0; x < meant.Width(); ++x) {
      auto byte = [](float v) { return static_cast<uint32_t>(std::lround(v * 255)); };
      assetgen::Rgb c = decoded.Get(x, y);
      bool white = ((byte(c.b) << 16) | (byte(c.g) << 8) | byte(c.r)) > 0x808080;
      moved += white != (meant.Get(x, y).r > 0.5f);
    }
  EXPECT_EQ(moved, 0);
}

}  // namespace

}  // namespace kravelon
