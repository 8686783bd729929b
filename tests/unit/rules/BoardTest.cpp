// Cells and their border rules, the shot, the sunk test, the fleet belief and the new game.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "RulesTestSupport.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

class BoardTest : public ::testing::Test {
 protected:
  TRecordingHost Host;
  TScriptedRandom Random;
  TGameEngine Engine{&Host, &Random};
  void SetUp() override { Engine.NewGame(); }
};

struct TOffBoardCase {
  int Column, Row, Board;
  TGameState State;
  int Fired;
};
void PrintTo(const TOffBoardCase& p, std::ostream* os) {
  *os << "(" << p.Column << ", " << p.Row << ") on board " << p.Board << " in state " << p.State;
}

class ReadCellOffBoard : public ::testing::TestWithParam<TOffBoardCase> {};

TEST_P(ReadCellOffBoard, AnswersWaterFiredByRingAndState) {
  const TOffBoardCase& p = GetParam();
  TGameEngine engine;
  engine.NewGame();
  PutLegalFleet(engine, 0);
  PutLegalFleet(engine, 1);
  Probe(engine).State = p.State;
  const TCell cell = engine.ReadCell(p.Column, p.Row, p.Board);
  EXPECT_EQ(cell.Empty, 1);
  EXPECT_EQ(cell.Fired, p.Fired);
  EXPECT_EQ(cell.ShipNo, 0);
  EXPECT_EQ(cell.Segment, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ring, ReadCellOffBoard,
    ::testing::Values(
        // The ring just outside reads as fired only in battle.
        TOffBoardCase{-1, 4, 0, gsBattle, 1}, TOffBoardCase{-1, 4, 0, gsPlacing, 0},
        TOffBoardCase{-1, 4, 0, gsReport, 0},
        TOffBoardCase{4, 10, 1, gsBattle, 1}, TOffBoardCase{4, 10, 1, gsPlacing, 0},
        // One coordinate on the ring is enough, however far out the other one is.
        TOffBoardCase{10, 11, 1, gsBattle, 1}, TOffBoardCase{10, 11, 1, gsPlacing, 0},
        TOffBoardCase{-7, -1, 0, gsPlacing, 0},
        // Further out, or on a board that does not exist: fired in every state.
        TOffBoardCase{11, 4, 1, gsPlacing, 1}, TOffBoardCase{11, 4, 1, gsBattle, 1},
        TOffBoardCase{4, -2, 0, gsReport, 1}, TOffBoardCase{3, 3, 2, gsPlacing, 1},
        TOffBoardCase{0, 0, -1, gsBattle, 1}));

TEST_F(BoardTest, WriteCellStoresAllFieldsOnBoardAndIgnoresEverythingElse) {
  const TCell ship{0, 1, 7, 2};
  Engine.WriteCell(9, 9, 1, ship);
  const TCell back = Engine.ReadCell(9, 9, 1);
  EXPECT_EQ(back, ship);

  const auto before = Snapshot(Engine);
  for (const auto& [c, r, b] :
       {std::array{10, 0, 0}, std::array{-1, 3, 1}, std::array{3, 3, 2}, std::array{0, -1, 0}}) {
    Engine.WriteCell(c, r, b, ship);
  }
  EXPECT_EQ(Snapshot(Engine), before);
}

// The hit is all the shooter learns; the computer concludes the diagonals are water itself.
TEST_F(BoardTest, HitKeepsTheTurnAndExcludesOnlyTheDiagonals) {
  PutShip(Engine, 0, 4, 4, 2, true);
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdComputer;

  EXPECT_TRUE(Engine.Fire(4, 4));
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Engine.ReadCell(4, 4, 0).Fired, 1);
  EXPECT_EQ(Engine.ComputerShots(), 1);
  EXPECT_EQ(Engine.ComputerHits(), 1);
  const TSeaView& sea = Engine.Sea(sdComputer);
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) {
      const bool diagonal = (c == 3 || c == 5) && (r == 3 || r == 5);
      const bool shot = c == 4 && r == 4;
      EXPECT_EQ(sea.At(c, r), shot ? smHit : smUnknown) << c << "," << r;
      EXPECT_EQ(Captain(Engine).Blocked(sea, c, r), diagonal || shot) << c << "," << r;
    }
  }
}

// The ship's last segment sinks it: the shooter learns all its cells and its size at once.
TEST_F(BoardTest, TheLastHitOfAShipSinksItInTheShootersView) {
  PutShip(Engine, 0, 2, 6, 3, false, 1);
  PutShip(Engine, 0, 6, 6, 3, false, 2);  // the same size, elsewhere: not sunk with it
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdComputer;
  ASSERT_TRUE(Engine.Fire(2, 7));
  ASSERT_TRUE(Engine.Fire(2, 6));
  const TSeaView& sea = Engine.Sea(sdComputer);
  EXPECT_EQ(sea.At(2, 6), smHit);
  EXPECT_TRUE(sea.Sunk().empty());

  EXPECT_TRUE(Engine.Fire(2, 8));
  for (int r = 6; r <= 8; ++r) {
    EXPECT_EQ(sea.At(2, r), smSunk) << r;
    EXPECT_EQ(sea.At(6, r), smUnknown) << r;
  }
  EXPECT_EQ(std::vector<int>(sea.Sunk().begin(), sea.Sunk().end()), std::vector<int>{3});
  EXPECT_FALSE(Engine.Fire(2, 8));  // again: a miss that changes nothing it knows
  EXPECT_EQ(sea.At(2, 8), smSunk);
  EXPECT_EQ(sea.Sunk().size(), 1U);
  EXPECT_EQ(Engine.Sea(sdUser).Shots(), 0);
}

TEST_F(BoardTest, SecondShotAtAHitIsAMissThatCountsAsAShotOnly) {
  PutShip(Engine, 0, 4, 4, 2, true);
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdComputer;
  ASSERT_TRUE(Engine.Fire(4, 4));

  EXPECT_FALSE(Engine.Fire(4, 4));
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.ComputerShots(), 2);
  EXPECT_EQ(Engine.ComputerHits(), 1);
  EXPECT_EQ(Engine.ReadCell(4, 4, 0).Empty, 0);
}

// The engine keeps each side's tally: a finished game is recorded from it, whoever the opponent.
TEST_F(BoardTest, EachSideCountsItsOwnShotsAndHits) {
  PutShip(Engine, 0, 4, 4, 2, true);
  PutShip(Engine, 1, 0, 0, 1, true);
  Probe(Engine).State = gsBattle;
  ASSERT_TRUE(Engine.Fire(0, 0));   // the user hits
  ASSERT_FALSE(Engine.Fire(5, 5));  // and misses: the computer's turn
  ASSERT_TRUE(Engine.Fire(4, 4));   // the computer hits
  EXPECT_EQ(Engine.Shots(sdUser), 2);
  EXPECT_EQ(Engine.Hits(sdUser), 1);
  EXPECT_EQ(Engine.Shots(sdComputer), 1);
  EXPECT_EQ(Engine.Hits(sdComputer), 1);
  Engine.NewGame();
  EXPECT_EQ(Engine.Shots(sdUser) + Engine.Hits(sdUser) + Engine.Shots(sdComputer), 0);
}

TEST_F(BoardTest, HitInACornerMarksOnlyItsCellOnTheBoard) {
  PutShip(Engine, 1, 9, 0, 1, true);
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdUser;
  auto expected = Snapshot(Engine);

  ASSERT_TRUE(Engine.Fire(9, 0));
  // Board 1 follows board 0 in the snapshot, column-major.
  expected[100 + 9 * 10 + 0].Fired = 1;
  EXPECT_EQ(Snapshot(Engine), expected);
  EXPECT_EQ(Engine.Sea(sdUser).At(9, 0), smSunk);
  EXPECT_EQ(Engine.Sea(sdUser).At(8, 1), smUnknown);
}

TEST_F(BoardTest, UserMissPassesTheTurnWithoutTouchingTheComputersCounters) {
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdUser;
  EXPECT_FALSE(Engine.Fire(2, 3));
  EXPECT_EQ(Engine.ReadCell(2, 3, 1).Fired, 1);
  EXPECT_EQ(Engine.ReadCell(2, 3, 0).Fired, 0);
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Engine.ComputerShots(), 0);
}

TEST_F(BoardTest, ShotOffTheBoardIsAMissThatStoresNothing) {
  Probe(Engine).State = gsPlacing;  // the ring reads as unfired here
  Probe(Engine).ActiveSide = sdComputer;
  const auto before = Snapshot(Engine);
  EXPECT_FALSE(Engine.Fire(-1, 3));
  EXPECT_EQ(Snapshot(Engine), before);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
}

TEST_F(BoardTest, AllSunkNeedsEveryOneOfTheTwentySegmentsHit) {
  PutLegalFleet(Engine, 0);
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = sdComputer;
  for (const TShipAt& s : LegalFleet) {
    for (int i = 0; i < s.Length; ++i) {
      if (s.Column == 9 && s.Row == 4) continue;  // the last segment, fired below
      ASSERT_TRUE(Engine.Fire(s.Column + i, s.Row));
    }
  }
  EXPECT_FALSE(Engine.AllSunk(0));
  EXPECT_FALSE(Engine.GameOver());

  EXPECT_TRUE(Engine.Fire(9, 4));
  EXPECT_TRUE(Engine.AllSunk(0));
  EXPECT_FALSE(Engine.AllSunk(1));
  EXPECT_TRUE(Engine.GameOver());
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);  // the winner keeps the turn
  EXPECT_EQ(Engine.State(), gsBattle);         // Fire only marks the end; Shoot announces it
  EXPECT_TRUE(Host.Winners.empty());
}

// The events a shot tells, by whom it is fired and what it does: the end of the game comes from
// this one place for both sides.
struct TShootCase {
  const char* Name;
  int Shooter;
  bool LastSegment;  // the shot sinks the fleet's last segment
  bool Hit;
  std::vector<int> TurnsPassed;
  std::vector<int> Winners;
  const char* Line;
};

class ShootCases : public BoardTest, public ::testing::WithParamInterface<TShootCase> {};

TEST_P(ShootCases, TellsTheShotThenTheTurnOrTheEnd) {
  const TShootCase& c = GetParam();
  const int target = c.Shooter == sdUser ? sdComputer : sdUser;
  PutLegalFleet(Engine, target);
  Probe(Engine).State = gsBattle;
  Probe(Engine).ActiveSide = c.Shooter;
  for (const TShipAt& s : LegalFleet) {
    for (int i = 0; i < s.Length; ++i) {
      if (c.LastSegment && !(s.Column == 9 && s.Row == 4)) MarkFired(Engine, target, s.Column + i, s.Row);
    }
  }
  Host.Log.clear();
  const TPoint cell = c.Hit ? TPoint{9, 4} : TPoint{9, 9};

  EXPECT_EQ(Engine.Shoot(cell.X, cell.Y), c.Hit);

  EXPECT_EQ(Host.Shots, (std::vector<TShot>{{c.Shooter, cell, c.Hit}}));
  EXPECT_EQ(Host.Log, (std::vector<std::string>{c.Line}));
  EXPECT_EQ(Host.TurnsPassed, c.TurnsPassed);
  EXPECT_EQ(Host.Winners, c.Winners);
  EXPECT_EQ(Engine.State(), c.Winners.empty() ? gsBattle : gsReport);
}

INSTANTIATE_TEST_SUITE_P(
    Shots, ShootCases,
    ::testing::Values(
        TShootCase{"UserMiss", sdUser, false, false, {sdComputer}, {},
                   "Game: Пользователь произвел выстрел в сектор К10"},
        TShootCase{"UserHit", sdUser, false, true, {}, {},
                   "Game: Пользователь произвел выстрел в сектор К5"},
        TShootCase{"UserWins", sdUser, true, true, {}, {sdUser},
                   "Game: Пользователь произвел выстрел в сектор К5"},
        TShootCase{"ComputerMiss", sdComputer, false, false, {sdUser}, {},
                   "Game: Компьютер произвел выстрел в сектор К10"},
        TShootCase{"ComputerWins", sdComputer, true, true, {}, {sdComputer},
                   "Game: Компьютер произвел выстрел в сектор К5"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStrikeCase {
  std::vector<int> Strikes;
  std::array<std::int32_t, 10> Expected;
};
void PrintTo(const TStrikeCase& p, std::ostream* os) {
  *os << "strikes";
  for (const int size : p.Strikes) *os << " " << size;
}

class StrikeSizeCases : public ::testing::TestWithParam<TStrikeCase> {};

TEST_P(StrikeSizeCases, StrikesTheFirstEqualEntryOnly) {
  TPcg32 random;
  TCaptain captain(random);
  captain.NewGame({});
  for (const int size : GetParam().Strikes) captain.StrikeSize(size);
  EXPECT_EQ(captain.FleetLeft(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Fleet, StrikeSizeCases,
                         ::testing::Values(TStrikeCase{{0}, {4, 3, 3, 2, 2, 2, 1, 1, 1, 1}},
                                           TStrikeCase{{5}, {4, 3, 3, 2, 2, 2, 1, 1, 1, 1}},
                                           TStrikeCase{{3, 3}, {4, 0, 0, 2, 2, 2, 1, 1, 1, 1}},
                                           TStrikeCase{{3, 3, 3}, {4, 0, 0, 2, 2, 2, 1, 1, 1, 1}},
                                           TStrikeCase{{1, 4, 1}, {0, 3, 3, 2, 2, 2, 0, 0, 1, 1}}));

TEST_F(BoardTest, CanBeLongerFollowsTheLargestShipBelievedAfloat) {
  TCaptain& captain = Captain(Engine);
  EXPECT_TRUE(captain.CanBeLonger(3));
  EXPECT_FALSE(captain.CanBeLonger(4));
  captain.StrikeSize(4);
  EXPECT_FALSE(captain.CanBeLonger(3));
  EXPECT_TRUE(captain.CanBeLonger(2));
  CaptainProbe(Engine).FleetLeft.fill(0);
  for (int hits = 0; hits <= 5; ++hits) EXPECT_FALSE(captain.CanBeLonger(hits)) << hits;
}

TEST_F(BoardTest, NewGameAfterAReportStartsThePlacementAfresh) {
  Host.Log.clear();
  PutLegalFleet(Engine, 0);
  PutLegalFleet(Engine, 1);
  MarkFired(Engine, 0, 5, 5);
  MarkFired(Engine, 1, 0, 0);
  Captain(Engine).Exclude(6, 6);
  Probe(Engine).State = gsReport;
  Probe(Engine).ActiveSide = sdComputer;
  Probe(Engine).ShipsLeft = 3;
  Probe(Engine).GameOver = 1;
  CaptainProbe(Engine).AiStep = 4;
  CaptainProbe(Engine).HitCount = 3;
  Probe(Engine).ComputerShots = 47;
  Probe(Engine).ComputerHits = 20;
  Captain(Engine).StrikeSize(4);
  Probe(Engine).UserHorizontal = 1;
  CaptainProbe(Engine).DirOrder = {2, 0, 3, 1};

  Engine.NewGame();

  EXPECT_EQ(Snapshot(Engine), Snapshot(TGameEngine{}));
  EXPECT_EQ(Engine.State(), gsPlacing);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.ShipsLeft(), 10);
  EXPECT_FALSE(Engine.GameOver());
  EXPECT_EQ(Captain(Engine).Step(), 0);
  EXPECT_EQ(CaptainProbe(Engine).HitCount, 0);
  EXPECT_EQ(Engine.ComputerShots(), 0);
  EXPECT_EQ(Engine.ComputerHits(), 0);
  EXPECT_EQ(Captain(Engine).FleetLeft(), TGameEngine::ShipSizes);
  EXPECT_FALSE(Captain(Engine).Excluded(6, 6));
  for (const TSide side : {sdUser, sdComputer}) {
    EXPECT_EQ(Engine.Sea(side).At(side == sdUser ? 0 : 5, side == sdUser ? 0 : 5), smUnknown);
  }
  EXPECT_EQ(Host.GameResets, 2);  // the fixture's game and this one
  // The orientation and the computer's direction order outlive a game.
  EXPECT_EQ(Probe(Engine).UserHorizontal, 1);
  EXPECT_EQ(Captain(Engine).DirOrder(), (std::array<std::int32_t, 4>{2, 0, 3, 1}));
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"Game: Сброс игры",
                                                "Game: Пользователь расставляет корабли..."}));
}

TEST_F(BoardTest, OrientationFollowsTheSideAskedOrTheActiveSide) {
  Engine.ToggleOrientation(sdComputer);
  EXPECT_EQ(Probe(Engine).ComputerHorizontal, 1);
  EXPECT_EQ(Probe(Engine).UserHorizontal, 0);
  Engine.ToggleOrientation(sdUser);
  EXPECT_EQ(Probe(Engine).UserHorizontal, 1);
  Probe(Engine).ActiveSide = sdComputer;
  Engine.SetOrientation(false);
  EXPECT_EQ(Probe(Engine).ComputerHorizontal, 0);
  EXPECT_EQ(Probe(Engine).UserHorizontal, 1);
}

}  // namespace

}  // namespace kravelon
