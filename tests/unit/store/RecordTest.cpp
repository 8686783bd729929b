// The record: its lines, what is refused as not ours, the sums the statistics box shows, and the
// record file's ways of never losing a game (a damaged file, a folder that will not take it,
// a full disk, two copies of the game at once).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "Store/RecordFile.h"
#include "tests/unit/store/StoreFixture.h"

namespace kravelon {

namespace {

const std::string Header = std::string(RecordHeader) + "\n";

TEST(Record, WhatIsWrittenReadsBackTheSame) {
  const std::vector<TGameResult> games{Game(true, 1), Game(false, 2), Game(true, 3)};
  const std::string text = FormatRecord(games);
  EXPECT_EQ(ParseRecord(text), games);
  EXPECT_NE(text.find("2025-01-31T23:59:51Z user 41 20 60 15\n"), std::string::npos) << text;
  EXPECT_EQ(ParseRecord(FormatRecord({})), std::vector<TGameResult>{});
}

TEST(Record, RefusesWhatNoRealGameCouldHaveWritten) {
  const std::string good = "2025-01-31T23:59:59Z user 45 20 60 15\n";
  const char* const texts[] = {
      "",                                                         // empty
      "kravelon record 2\n",                                      // another format
      "[game]\nsound = true\n",                                   // not ours
      "kravelon record 1",                                        // cut before its newline
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 6",     // cut inside a game
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 60\n",  // a field short
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 60 15 1\n",
      "kravelon record 1\n2025-01-31T23:59:59Z nobody 45 20 60 15\n",
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 19 60 15\n",    // won with a ship afloat
      "kravelon record 1\n2025-01-31T23:59:59Z computer 45 20 60 15\n",  // both fleets sunk
      "kravelon record 1\n2025-01-31T23:59:59Z user 101 20 60 15\n",  // more shots than cells
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 10 15\n",   // more hits than shots
      "kravelon record 1\n2025-01-31T23:59:59Z user -45 20 60 15\n",
      "kravelon record 1\n2025-01-31 23:59:59 user 45 20 60 15\n",
      "kravelon record 1\n\n",
      "kravelon record 1\n2025-01-31T23:59:59Z  user 45 20 60 15\n",
  };
  ASSERT_TRUE(ParseRecord(Header + good));
  for (const char* text : texts) EXPECT_FALSE(ParseRecord(text)) << text;
  EXPECT_FALSE(ParseRecord(Header + good + std::string("\0\x01\xff", 3) + "\n"));
}

TEST(Record, SumsWhatTheStatisticsBoxShows) {
  struct TCase {
    std::vector<TGameResult> Games;
    TRecordSummary Expected;
  };
  auto won = [](int shots, int computerShots, int computerHits) {
    TGameResult g = Game(true);
    g.UserShots = shots;
    g.ComputerShots = computerShots;
    g.ComputerHits = computerHits;
    return g;
  };
  const TCase cases[] = {
      {{}, {0, 0, 0, 0, 0, 0}},
      {{Game(false)}, {1, 0, 1, 0, 0, 33}},  // 20 of 60, cut down
      // Fewest and average of the games won only; the average rounded to the nearest.
      {{won(50, 40, 10), Game(false), won(45, 40, 10), won(46, 40, 10)}, {4, 3, 1, 45, 47, 27}},
      {{won(50, 0, 0), won(51, 0, 0)}, {2, 2, 0, 50, 51, 0}},  // 50.5 rounds up; no shots at all
  };
  for (const TCase& c : cases) {
    const TRecordSummary s = Summarize(c.Games);
    const TRecordSummary& e = c.Expected;
    EXPECT_EQ(std::tuple(s.Played, s.Won, s.Lost, s.FewestShotsWon, s.AverageShotsWon, s.ComputerHitPercent),
              std::tuple(e.Played, e.Won, e.Lost, e.FewestShotsWon, e.AverageShotsWon, e.ComputerHitPercent))
        << c.Games.size() << " games";
  }
}

class RecordFileTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path() + "data/kravelon";
  const std::string Path = Folder + "/record";
};

TEST_F(RecordFileTest, NothingIsWrittenBeforeTheFirstFinishedGame) {
  TRecordFile record(Folder);
  EXPECT_TRUE(record.Load().empty());
  EXPECT_FALSE(std::filesystem::exists(Scratch.Path() + "data"));
  EXPECT_TRUE(record.Add(Game(true)).empty());
  EXPECT_EQ(ParseRecord(ReadText(Path)), std::vector<TGameResult>{Game(true)});
  // Only the record and its lock: no leftovers of the write.
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{"record", "record.lock"}));
}

TEST_F(RecordFileTest, AFileItCannotReadIsMovedAsideWholeAndARecordStartedAfresh) {
  const std::string cases[] = {
      "not a record at all\n",
      FormatRecord({Game(true)}).substr(0, 40),  // cut short
      std::string(RecordSizeLimit + 1, '#'),     // too large to read
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    WriteText(Path, bytes);
    TRecordFile record(Folder);
    record.Load();
    EXPECT_EQ(record.Games().size(), 0u);
    const auto lines = record.Add(Game(false));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(Path), std::string::npos) << lines[0];
    EXPECT_EQ(ParseRecord(ReadText(Path)), std::vector<TGameResult>{Game(false)});
    std::vector<std::string> aside;
    for (const auto& name : Names(Folder))
      if (name.starts_with("record.damaged-")) aside.push_back(name);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadText(Folder + "/" + aside[0]), bytes);
    EXPECT_NE(lines[0].find(aside[0]), std::string::npos) << lines[0];
  }
}

// A folder that will not take the record: the games are kept, one console line is written for
// the whole run of failures, and once the way is clear the next write takes them all.
TEST_F(RecordFileTest, AGameTheFolderWillNotTakeIsKeptAndWrittenLater) {
  struct TCase {
    const char* Name;
    std::function<void()> Block, Clear;
  };
  const TCase cases[] = {
      {"a folder in place of the file",
       [&] { std::filesystem::create_directories(Path); },
       [&] { std::filesystem::remove(Path); }},
      {"a file in place of the folder",
       [&] {
         std::filesystem::create_directories(Scratch.Path() + "data");
         WriteText(Folder, "x");
       },
       [&] { std::filesystem::remove(Folder); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove_all(Scratch.Path() + "data");
    c.Block();
    TRecordFile record(Folder);
    EXPECT_EQ(record.Add(Game(true, 1)).size(), 1u);
    EXPECT_TRUE(record.Add(Game(false, 2)).empty()) << "a second line for the same failure";
    EXPECT_FALSE(record.AllWritten());
    EXPECT_EQ(record.Games().size(), 2u);  // the statistics still count them
    c.Clear();
    EXPECT_TRUE(record.Flush().empty());
    EXPECT_TRUE(record.AllWritten());
    EXPECT_EQ(ParseRecord(ReadText(Path)), (std::vector<TGameResult>{Game(true, 1), Game(false, 2)}));
  }
}

TEST_F(RecordFileTest, AFolderThatCannotBeMadeLosesNoGame) {
  // Not even root may make a folder under /proc.
  TRecordFile record("/proc/kravelon-test/kravelon");
  EXPECT_EQ(record.Add(Game(true)).size(), 1u);
  EXPECT_EQ(record.Games(), std::vector<TGameResult>{Game(true)});
}

TEST_F(RecordFileTest, AFullDiskKeepsTheOldRecordAndTheGameUntilThereIsRoom) {
  TRecordFile(Folder).Add(Game(true, 1));
  const std::string before = ReadText(Path);
  // A file size limit makes every write past a few bytes fail as a full disk does, root or not.
  const int status = InChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{16, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    TRecordFile record(Folder);
    record.Load();
    if (record.Add(Game(false, 2)).size() != 1 || record.AllWritten()) return 1;
    if (ReadText(Path) != before) return 2;
    setrlimit(RLIMIT_FSIZE, &limit);  // room again
    if (!record.Add(Game(true, 3)).empty() || !record.AllWritten()) return 3;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ParseRecord(ReadText(Path)),
            (std::vector<TGameResult>{Game(true, 1), Game(false, 2), Game(true, 3)}));
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{"record", "record.lock"}));
}

TEST_F(RecordFileTest, TwoCopiesOfTheGameWritingAtOnceBothKeepEveryGame) {
  constexpr int Copies = 2, GamesEach = 40;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> children;
  for (int copy = 0; copy < Copies; ++copy) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) != 0) _exit(3);  // both start when the gate closes
      TRecordFile record(Folder);
      for (int i = 0; i < GamesEach; ++i)
        if (!record.Add(Game(copy == 0, copy)).empty()) _exit(1);
      _exit(record.AllWritten() ? 0 : 2);
    }
    children.push_back(pid);
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  const auto games = ParseRecord(ReadText(Path));
  ASSERT_TRUE(games);
  for (int copy = 0; copy < Copies; ++copy)
    EXPECT_EQ(std::count(games->begin(), games->end(), Game(copy == 0, copy)), GamesEach) << copy;
}

}  // namespace

}  // namespace kravelon
