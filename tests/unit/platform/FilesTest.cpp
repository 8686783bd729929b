// The one bounded read every file of the game goes through.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Platform/Files.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

namespace {

TEST(Files, ReadsAFileWithinItsLimitAndRefusesAnythingElseUnread) {
  TScratchFolder scratch;
  const std::string dir = scratch.Path();
  std::ofstream(dir + "small") << "12345";
  std::ofstream(dir + "large") << "123456";
  std::ofstream(dir + "empty");
  std::filesystem::create_directory(dir + "folder");
  mkfifo((dir + "pipe").c_str(), 0600);
  struct TCase {
    std::string Path;
    TReadStatus Status;
    std::string Bytes;
  };
  const TCase cases[] = {
      {dir + "small", TReadStatus::Read, "12345"},
      {dir + "empty", TReadStatus::Read, ""},
      {dir + "large", TReadStatus::TooLarge, ""},
      {dir + "missing", TReadStatus::Missing, ""},
      {dir + "small/below", TReadStatus::Missing, ""},  // through a file, as a path to nothing
      {dir + "folder", TReadStatus::NotAFile, ""},
      {dir + "pipe", TReadStatus::NotAFile, ""},  // never waited on for a writer
      {"/dev/zero", TReadStatus::NotAFile, ""},   // endless: never read
  };
  for (const TCase& c : cases) {
    const TFileBytes file = ReadLimited(c.Path, 5);
    EXPECT_EQ(file.Status, c.Status) << c.Path;
    EXPECT_EQ(file.Bytes, c.Bytes) << c.Path;
  }
}

TEST(Files, AFileTheGameMayNotReadFailsWithItsReason) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TScratchFolder scratch;
  const std::string path = scratch.Path() + "locked";
  std::ofstream(path) << "x";
  chmod(path.c_str(), 0);
  const TFileBytes file = ReadLimited(path, 5);
  EXPECT_EQ(file.Status, TReadStatus::Failed);
  EXPECT_EQ(file.Error, EACCES);
}

}  // namespace

}  // namespace kravelon
