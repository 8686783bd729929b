// The durable file operations: a bounded read, and a write killed at its worst moments.
#include <gtest/gtest.h>

#include <csignal>

#include "Store/DurableFile.h"
#include "Store/RecordFile.h"
#include "tests/unit/store/StoreFixture.h"

namespace kravelon {

namespace {

// The game killed between writing the new record and renaming it over the old, and between the
// rename and flushing the folder: the record is the old one or the new one, whole, and the next
// write clears away what the killed one left.
TEST(DurableFile, AWriteKilledMidwayLeavesTheOldFileOrTheNewNeverAMix) {
  struct TCase {
    TWriteStage KillAt;
    std::size_t GamesAfter;
  };
  for (const TCase c : {TCase{TWriteStage::Written, 1}, TCase{TWriteStage::Renamed, 2}}) {
    SCOPED_TRACE(static_cast<int>(c.KillAt));
    TScratchFolder scratch;
    const std::string folder = scratch.Path() + "kravelon", path = folder + "/record";
    TRecordFile(folder).Add(Game(true, 1));
    const int status = InChild([&] {
      SetWriteStageHook([&](TWriteStage stage) {
        if (stage == c.KillAt) raise(SIGKILL);
      });
      TRecordFile record(folder);
      record.Add(Game(false, 2));
      return 0;
    });
    ASSERT_EQ(status, 128 + SIGKILL);
    const auto games = ParseRecord(ReadText(path));
    ASSERT_TRUE(games) << ReadText(path);
    EXPECT_EQ(games->size(), c.GamesAfter);
    EXPECT_EQ(games->front(), Game(true, 1));

    TRecordFile(folder).Add(Game(true, 3));
    EXPECT_EQ(ParseRecord(ReadText(path))->size(), c.GamesAfter + 1);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"record", "record.lock"}));
  }
}

TEST(DurableFile, AFileMovedAsideNeverTakesTheNameOfAnEarlierOne) {
  TScratchFolder scratch;
  const std::string path = scratch.Path() + "record";
  std::vector<std::string> aside;
  for (const char* bytes : {"first", "second", "third"}) {
    WriteText(path, bytes);
    aside.push_back(MoveAside(path));
    ASSERT_FALSE(aside.back().empty());
    EXPECT_EQ(ReadText(aside.back()), bytes);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(ReadText(aside[0]), "first");  // not overwritten by the two that followed
}

}  // namespace

}  // namespace kravelon
