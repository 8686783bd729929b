// The committed assets are exactly what the generator writes: regenerate and compare.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::vector<char>> FilesUnder(const fs::path& root) {
  std::map<std::string, std::vector<char>> files;
  for (const char* folder : {"Images", "Sounds"}) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      files[std::string(folder) + "/" + entry.path().filename().string()] = {
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

}  // namespace
