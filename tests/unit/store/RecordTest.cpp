// The record: its lines in both versions, what is refused as not ours, the sums the statistics
// box shows, and the record file's own ways of never losing a game (two copies of the game at
// once, an old version's file, a game it cannot hold). What it shares with the settings file (a
// damaged file, a folder that will not take it, a full disk) is in DurableUpdateTest.cpp.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "Common/PlayerName.h"
#include "Store/RecordFile.h"
#include "tests/unit/store/StoreFixture.h"

namespace kravelon {

namespace {

const std::string Version1 = std::string(RecordHeaderVersion1) + "\n";
const std::string Version2 = std::string(RecordHeader) + "\n";

// A game of each kind the record keeps: the levels, network players, the house rules, and the
// ways a network game ends.
std::vector<TGameResult> GamesOfEveryKind() {
  std::vector<TGameResult> games{Game(true, 1), Game(false, 2)};
  TGameResult admiral = Game(false, 3);
  admiral.Level = lvAdmiral;
  TGameResult salvo = Game(true, 4);
  salvo.Level = lvCabinBoy;
  salvo.Rules = {true, true, false};
  salvo.ComputerShots = 90;  // a salvo lets the counts part
  TGameResult left = Game(true, 5);
  left.Player = "Вася";
  left.Ending = TEnding::Left;  // the user had sunk the fleet; the opponent never showed it
  left.ComputerHits = 7;
  TGameResult cheat = Game(false, 6);
  cheat.Player = "Ω-pirate_7";
  cheat.Ending = TEnding::Void;
  cheat.Rules = {false, false, false};  // turn about: the counts at most one apart
  cheat.UserShots = 31;
  cheat.ComputerShots = 30;
  cheat.ComputerHits = 11;
  games.insert(games.end(), {admiral, salvo, left, cheat});
  return games;
}

TEST(Record, WhatIsWrittenReadsBackTheSame) {
  const std::vector<TGameResult> games = GamesOfEveryKind();
  const std::string text = FormatRecord(games);
  EXPECT_EQ(ParseRecord(text), games);
  for (const char* line : {"\n2025-01-31T23:59:51Z captain extra-shot won 41 20 60 15\n",
                           "\n2025-01-31T23:59:53Z admiral extra-shot lost 43 12 60 20\n",
                           "\n2025-01-31T23:59:54Z cabin-boy touching,salvo won 44 20 90 15\n",
                           "\n2025-01-31T23:59:55Z player:Вася extra-shot left 45 20 60 7\n",
                           "\n2025-01-31T23:59:56Z player:Ω-pirate_7 none void 31 12 30 11\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
  EXPECT_TRUE(text.starts_with(Version2)) << text;
  EXPECT_EQ(ParseRecord(FormatRecord({})), std::vector<TGameResult>{});
}

// Whatever name a peer sends, the name the window shows and records is one the record keeps.
TEST(Record, KeepsAnyPeersNameAsTheWindowShowsIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"Вася", "Вася"},
      {"", "_"},
      {"two words", "two_words"},
      {"a\u200bb", "a_b"},                          // a space of no width
      {std::string("bad\xff\xc3") + "x", "bad__x"},  // no UTF-8
      {std::string(40, 'w'), std::string(32, 'w')},
      {"Ω\u202epirate", "Ω_pirate"},               // an override of the text's direction
  };
  for (const auto& [sent, shown] : cases) {
    EXPECT_EQ(ShownPlayerName(sent), shown);
    EXPECT_TRUE(IsPlayerName(ShownPlayerName(sent))) << shown;
    TGameResult game = Game(true, 1);
    game.Player = ShownPlayerName(sent);
    game.Ending = TEnding::Left;
    EXPECT_EQ(ParseRecord(FormatRecord({game})), std::vector<TGameResult>{game}) << shown;
  }
}

TEST(Record, ReadsTheFirstVersionAsCaptainGamesUnderTheDefaultRules) {
  const auto games = ParseRecord(
      Version1 + "# date winner user-shots user-hits computer-shots computer-hits\n" +
      "2025-01-31T23:59:51Z user 41 20 60 15\n2025-01-31T23:59:52Z computer 42 12 60 20\n");
  EXPECT_EQ(games, (std::vector<TGameResult>{Game(true, 1), Game(false, 2)}));
  EXPECT_EQ(Game(true).Level, lvCaptain);
  EXPECT_TRUE(Game(true).Rules == TRules{});
}

TEST(Record, RefusesWhatNoRealGameCouldHaveWritten) {
  const std::string good = "2025-01-31T23:59:59Z user 45 20 60 15\n";
  const char* const texts[] = {
      "",                                                         // empty
      "kravelon record 3\n",                                      // a later format
      "[game]\nsound = true\n",                                   // not ours
      "kravelon record 1",                                        // cut before its newline
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 6",     // cut inside a game
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 60\n",  // a field short
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 60 15 1\n",
      "kravelon record 1\n2025-01-31T23:59:59Z nobody 45 20 60 15\n",
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 19 60 15\n",      // won with a ship afloat
      "kravelon record 1\n2025-01-31T23:59:59Z computer 45 20 60 15\n",  // both fleets sunk
      "kravelon record 1\n2025-01-31T23:59:59Z user 101 20 60 15\n",     // more shots than cells
      "kravelon record 1\n2025-01-31T23:59:59Z user 45 20 10 15\n",      // more hits than shots
      "kravelon record 1\n2025-01-31T23:59:59Z user -45 20 60 15\n",
      "kravelon record 1\n2025-01-31 23:59:59 user 45 20 60 15\n",
      "kravelon record 1\n\n",
      "kravelon record 1\n2025-01-31T23:59:59Z  user 45 20 60 15\n",
      "kravelon record 1\n2025-01-31T23:59:59Z captain extra-shot won 45 20 60 15\n",  // the next
                                                                                       // version's
  };
  ASSERT_TRUE(ParseRecord(Version1 + good));
  for (const char* text : texts) EXPECT_FALSE(ParseRecord(text)) << text;
  EXPECT_FALSE(ParseRecord(Version1 + good + std::string("\0\x01\xff", 3) + "\n"));
}

// A network player's name comes from the other side of a connection; the rest, from a file anyone
// may edit.
TEST(Record, RefusesInTheSecondVersionWhatNoRealGameCouldHaveWritten) {
  const std::string date = "2025-01-31T23:59:59Z ";
  const std::string good[] = {
      "captain extra-shot won 45 20 60 15",
      "player:Вася extra-shot left 45 20 60 3",  // sunk, but the opponent left without showing
      "player:" + std::string(32, 'a') + " salvo void 10 3 90 4",
      "player:龍ノ介 none lost 30 19 31 20",     // turn about: one shot apart
      "sailor touching,salvo lost 80 12 30 20",  // a salvo lets the counts part
  };
  const std::string bad[] = {
      "captain extra-shot user 45 20 60 15",   // the first version's winner
      "user 45 20 60 15",                      // the first version's line
      "commodore extra-shot won 45 20 60 15",  // no such level
      "Captain extra-shot won 45 20 60 15",
      "player: extra-shot won 45 20 60 15",  // no name
      "player:" + std::string(33, 'a') + " extra-shot won 45 20 60 15",
      "player:Вася\x1b[31m extra-shot won 45 20 60 15",  // a control character
      "player:a\u00A0b extra-shot won 45 20 60 15",      // a no-break space
      "player:\u202Eevil extra-shot won 45 20 60 15",    // turns the text right to left
      "player:\xc0\xaf extra-shot won 45 20 60 15",      // an overlong '/'
      "player:\xed\xa0\x80 extra-shot won 45 20 60 15",  // a UTF-16 surrogate
      "player:\xff extra-shot won 45 20 60 15",
      "player:\xd0 extra-shot won 45 20 60 15",  // cut inside a character
      "captain salvo,touching won 45 20 60 15",  // the switches out of their order
      "captain extra-shot,extra-shot won 45 20 60 15",
      "captain  won 45 20 60 15",
      "captain extra-shot draw 45 20 60 15",
      "captain extra-shot won 45 19 60 15",       // won with a ship afloat
      "captain extra-shot lost 45 20 60 15",      // lost with the opponent's fleet sunk
      "player:Вася extra-shot left 45 20 60 20",  // both fleets sunk, and not over
      "player:Вася extra-shot void 45 21 60 3",   // more hits than the fleet has cells
      "captain none won 45 20 43 15",             // turn about, yet two shots ahead
      "captain extra-shot won 45 20 60 15 0",
  };
  for (const std::string& line : good)
    EXPECT_TRUE(ParseRecord(Version2 + date + line + "\n")) << line;
  for (const std::string& line : bad)
    EXPECT_FALSE(ParseRecord(Version2 + date + line + "\n")) << line;
  std::size_t badLine = 0;
  EXPECT_FALSE(ParseRecord(
      Version2 + "# a comment\n" + date + good[0] + "\n" + date + bad[0] + "\n", &badLine));
  EXPECT_EQ(badLine, 4u);
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
    EXPECT_EQ(std::tuple(s.Played, s.Won, s.Lost, s.FewestShotsWon, s.AverageShotsWon,
                         s.ComputerHitPercent),
              std::tuple(e.Played, e.Won, e.Lost, e.FewestShotsWon, e.AverageShotsWon,
                         e.ComputerHitPercent))
        << c.Games.size() << " games";
  }
}

TEST(Record, SumsEachLevelTheNetworkAndEachSetOfRulesApart) {
  const auto with = [](TGameResult game, TLevel level, const char* player, TRules rules,
                       TEnding ending) {
    game.Level = level;
    game.Player = player;
    game.Rules = rules;
    game.Ending = ending;
    return game;
  };
  const TRules salvo{false, true, true};
  const std::vector<TGameResult> games{
      with(Game(true), lvAdmiral, "", {}, TEnding::PlayedOut),
      with(Game(false), lvAdmiral, "", {}, TEnding::PlayedOut),
      Game(true),
      with(Game(false), lvCaptain, "", salvo, TEnding::PlayedOut),
      with(Game(true), lvCaptain, "Вася", {}, TEnding::PlayedOut),
      with(Game(true), lvCaptain, "Вася", {}, TEnding::Left),
      with(Game(false, 1), lvCaptain, "Петя", {}, TEnding::Void),
  };
  const TRecordSummary s = Summarize(games);
  // A game left or void is played, neither won nor lost.
  EXPECT_EQ(std::tuple(s.Played, s.Won, s.Lost), std::tuple(7, 3, 2));
  EXPECT_EQ(s.Levels, (std::vector<std::pair<TLevel, TTally>>{{lvCaptain, {2, 1, 1}},
                                                              {lvAdmiral, {2, 1, 1}}}));
  EXPECT_EQ(s.Network, (TTally{3, 1, 0}));
  EXPECT_EQ(s.RuleSets,
            (std::vector<std::pair<TRules, TTally>>{{TRules{}, {6, 3, 1}}, {salvo, {1, 0, 1}}}));
  // The computer's hits over the games against the computer only: 15 + 20 + 15 + 20 of 240.
  EXPECT_EQ(s.ComputerHitPercent, 29);
  EXPECT_FALSE(s.OnlyTheGameItAlwaysWas());
  EXPECT_TRUE(Summarize({Game(true), Game(false)}).OnlyTheGameItAlwaysWas());
  EXPECT_TRUE(Summarize({}).OnlyTheGameItAlwaysWas());
  EXPECT_FALSE(Summarize({with(Game(true), lvCaptain, "", salvo, TEnding::PlayedOut)})
                   .OnlyTheGameItAlwaysWas());
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

TEST_F(RecordFileTest, AFolderThatCannotBeMadeLosesNoGame) {
  // Not even root may make a folder under /proc.
  TRecordFile record("/proc/kravelon-test/kravelon");
  EXPECT_EQ(record.Add(Game(true)).size(), 1u);
  EXPECT_EQ(record.Games(), std::vector<TGameResult>{Game(true)});
}

// A record the first version of the format holds goes on in the second, every old game in it.
TEST_F(RecordFileTest, AFirstVersionRecordIsWrittenAgainInTheSecondWithEveryGame) {
  std::filesystem::create_directories(Folder);
  WriteText(Path, Version1 + "2025-01-31T23:59:51Z user 41 20 60 15\n");
  TRecordFile record(Folder);
  record.Load();
  EXPECT_EQ(record.Games(), std::vector<TGameResult>{Game(true, 1)});
  EXPECT_TRUE(record.Add(Game(false, 2)).empty());
  EXPECT_TRUE(ReadText(Path).starts_with(Version2)) << ReadText(Path);
  EXPECT_EQ(ParseRecord(ReadText(Path)), (std::vector<TGameResult>{Game(true, 1), Game(false, 2)}));
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{"record", "record.lock"}));
}

// A game that would make the record unreadable (a name from a hostile peer) is left out with a
// console line; the record and the games before it stay as they were.
TEST_F(RecordFileTest, AGameTheRecordCannotHoldIsLeftOutAndTheRecordKept) {
  TRecordFile record(Folder);
  record.Add(Game(true, 1));
  const std::string before = ReadText(Path);
  TGameResult hostile = Game(false, 2);
  hostile.Player = "Вася\nkravelon record 1";
  EXPECT_EQ(record.Add(hostile).size(), 1u);
  TGameResult impossible = Game(true, 3);
  impossible.UserHits = 19;
  EXPECT_EQ(record.Add(impossible).size(), 1u);
  EXPECT_EQ(ReadText(Path), before);
  EXPECT_EQ(record.Games(), std::vector<TGameResult>{Game(true, 1)});
  EXPECT_TRUE(record.AllWritten());
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
