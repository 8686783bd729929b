// The computer's search by placement count and its following of a hit along a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "RulesTestSupport.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

using THeat = std::array<std::array<std::int32_t, 10>, 10>;

// The placement count written out cell by cell, with everything off the board blocked, and
// every cell fired at or excluded (these boards hold no hits).
THeat CountPlacements(TGameEngine& engine) {
  auto blocked = [&](int c, int r) {
    if (c < 0 || c > 9 || r < 0 || r > 9) return true;
    return engine.ReadCell(c, r, 0).Fired == 1 || Captain(engine).Excluded(c, r);
  };
  THeat heat{};
  for (const int length : Captain(engine).FleetLeft()) {
    if (length == 0) continue;
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        bool down = true;
        bool across = true;
        for (int k = 0; k < length; ++k) {
          down = down && !blocked(c, r + k);
          across = across && !blocked(c + k, r);
        }
        for (int k = 0; k < length; ++k) {
          if (down) ++heat[r + k][c];
          if (across) ++heat[r][c + k];
        }
      }
    }
  }
  return heat;
}

std::vector<TPoint> CandidateList(TGameEngine& engine) {
  const TCaptain& captain = Captain(engine);
  return {captain.Candidates().begin(), captain.Candidates().begin() + captain.CandidateCount()};
}

// The captain's search over what the engine's computer knows.
void BuildCandidates(TGameEngine& engine) {
  Captain(engine).BuildCandidates(engine.Sea(sdComputer));
}
const auto& Heat(TGameEngine& engine) { return Captain(engine).Heat(); }

class ComputerTest : public ::testing::Test {
 protected:
  TRecordingHost Host;
  TScriptedRandom Random;
  TGameEngine Engine{&Host, &Random};

  void SetUp() override {
    Engine.NewGame();
    Probe(Engine).State = gsBattle;
  }

  // One computer's turn: from the user's miss to the computer's miss or the end of the game.
  std::vector<TPoint> PlayTurn() {
    Host.Shots.clear();
    Probe(Engine).ActiveSide = sdComputer;
    EXPECT_FALSE(RunIdleStep(Engine, Host, TIdleStep::ComputerTurn, 1000).SaidDone);
    EXPECT_EQ(Host.Installed, TIdleStep::None) << "the turn did not end";
    return Host.ShotCells();
  }

  // The next search picks this cell among the opening's 100 candidates; then the directions
  // are swapped pairwise as given, and the rest of its 100 swaps draw (0, 0), which changes
  // nothing.
  void SearchPicks(int column, int row, std::initializer_list<std::uint32_t> swaps = {}) {
    Random.Queue({static_cast<std::uint32_t>(row * 10 + column)});
    Random.Queue(swaps);
    for (std::size_t i = swaps.size(); i < 200; ++i) Random.Queue({0});
  }
};

class EmptyBoardHeat : public ::testing::TestWithParam<TGameState> {};

TEST_P(EmptyBoardHeat, CornersTwentyCentreFortyAndTheCentreAsCandidates) {
  TGameEngine engine;
  engine.NewGame();
  Probe(engine).State = GetParam();
  Probe(engine).ComputerShots = 20;
  BuildCandidates(engine);
  // Outside battle the ring reads as open water: placements must still end at the edge.
  EXPECT_EQ(Heat(engine), CountPlacements(engine));
  for (const auto& [c, r] : {std::pair{0, 0}, std::pair{9, 0}, std::pair{0, 9}, std::pair{9, 9}}) {
    EXPECT_EQ(Heat(engine)[r][c], 20);
  }
  std::vector<TPoint> centre;
  for (int r = 3; r <= 6; ++r) {
    for (int c = 3; c <= 6; ++c) {
      EXPECT_EQ(Heat(engine)[r][c], 40);
      centre.push_back({c, r});
    }
  }
  EXPECT_EQ(CandidateList(engine), centre);
}

INSTANTIATE_TEST_SUITE_P(States, EmptyBoardHeat,
                         ::testing::Values(gsBattle, gsPlacing, gsReport));

TEST(BuildCandidates, MatchesThePlacementCountOnRandomBoards) {
  TPcg32 random(2024);
  TGameEngine engine;  // one engine throughout: the belief changes from trial to trial
  for (int trial = 0; trial < 300; ++trial) {
    engine.NewGame();
    Probe(engine).State = trial % 2 == 0 ? gsBattle : gsPlacing;
    Probe(engine).ComputerShots = 20 + trial;
    const std::uint32_t density = 2 + random.Next() % 6;
    for (int c = 0; c < 10; ++c) {
      for (int r = 0; r < 10; ++r) {
        const std::uint32_t roll = random.Next() % (density * 2);
        if (roll == 0) MarkFired(engine, 0, c, r);
        if (roll == 1) Captain(engine).Exclude(c, r);
      }
    }
    for (auto& size : CaptainProbe(engine).FleetLeft) {
      if (random.Next() % 3 == 0) size = 0;
    }
    if (trial % 10 == 0) CaptainProbe(engine).FleetLeft = {4, 0, 0, 0, 0, 0, 0, 0, 0, 0};

    BuildCandidates(engine);
    const THeat expected = CountPlacements(engine);
    ASSERT_EQ(Heat(engine), expected) << "trial " << trial;
    std::int32_t best = 0;
    for (const auto& row : expected) {
      for (const std::int32_t n : row) best = std::max(best, n);
    }
    std::vector<TPoint> top;
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        if (expected[r][c] == best) top.push_back({c, r});
      }
    }
    ASSERT_EQ(CandidateList(engine), top) << "trial " << trial;
  }
}

TEST(BuildCandidates, EveryCellIsACandidateDuringTheOpening) {
  TGameEngine engine;
  engine.NewGame();
  Probe(engine).State = gsBattle;
  MarkFired(engine, 0, 0, 0);
  MarkFired(engine, 0, 4, 4);
  Probe(engine).ComputerShots = 19;
  BuildCandidates(engine);
  ASSERT_EQ(Captain(engine).CandidateCount(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(Captain(engine).Candidates()[i], (TPoint{i % 10, i / 10}));
  Probe(engine).ComputerShots = 20;
  BuildCandidates(engine);
  EXPECT_LT(Captain(engine).CandidateCount(), 100);
}

TEST_F(ComputerTest, AShotIsReportedInTheLogAndAnimatedOverItsCell) {
  Host.Log.clear();
  SearchPicks(4, 4);
  PlayTurn();
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"Game: Компьютер произвел выстрел в сектор Д5"}));
  EXPECT_EQ(Host.Shots, (std::vector<TShot>{{sdComputer, {4, 4}, false}}));
  EXPECT_EQ(Host.TurnsPassed, (std::vector<int>{sdUser}));
  // A miss gives the user the turn, and the next search starts afresh.
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Captain(Engine).Step(), 0);
  EXPECT_EQ(Engine.ComputerShots(), 1);
}

TEST_F(ComputerTest, ACellAlreadyFiredAtIsSkippedAndTheSearchRepeated) {
  MarkFired(Engine, 0, 2, 7);
  Captain(Engine).Exclude(3, 7);
  SearchPicks(2, 7);
  SearchPicks(3, 7);
  SearchPicks(5, 1);
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{5, 1}}));
  EXPECT_EQ(Engine.ComputerShots(), 1);
}

TEST_F(ComputerTest, AfterAFirstHitTheNeighboursAreTriedInTheShuffledOrder) {
  PutShip(Engine, 0, 0, 5, 2, true);
  MarkFired(Engine, 0, 0, 4);
  // Swaps (0 1) and (2 3) turn up, left, right, down into left, up, down, right: left is off the
  // board and up was fired at before, so down is the first shot and right the next.
  SearchPicks(0, 5, {0, 1, 2, 3});
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{0, 5}, {0, 6}}));
  EXPECT_EQ(Captain(Engine).DirOrder(), (std::array<std::int32_t, 4>{dirLeft, dirUp, dirDown, dirRight}));
  EXPECT_EQ(Captain(Engine).Step(), 3);
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{1, 5}, {2, 5}}));
  EXPECT_EQ(CaptainProbe(Engine).HitCount, 2);
}

TEST_F(ComputerTest, TwoCellShipIsFollowedReversedAndGivenUpOverThreeTurns) {
  PutShip(Engine, 0, 4, 4, 2, false);
  SearchPicks(4, 4, {0, 3});  // down first
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{4, 4}, {4, 5}, {4, 6}}));
  EXPECT_EQ(Captain(Engine).FleetLeft(), TGameEngine::ShipSizes);
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{4, 3}}));
  EXPECT_EQ(Captain(Engine).FleetLeft(), TGameEngine::ShipSizes);
  // The third turn strikes size 2 out and searches anew: the fallback draw picks A1.
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{0, 0}}));
  EXPECT_EQ(Captain(Engine).FleetLeft(), (std::array<std::int32_t, 10>{4, 3, 3, 0, 2, 2, 1, 1, 1, 1}));
  EXPECT_EQ(Engine.ComputerShots(), 5);
  EXPECT_EQ(Engine.ComputerHits(), 2);
}

TEST_F(ComputerTest, ReversalFromTheEdgeFindsTheRestOfTheShip) {
  PutShip(Engine, 0, 0, 3, 3, true);
  SearchPicks(1, 3, {0, 1});  // left first, towards the edge
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{1, 3}, {0, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{0, 0}}));
  EXPECT_EQ(Captain(Engine).FleetLeft(), (std::array<std::int32_t, 10>{4, 0, 3, 2, 2, 2, 1, 1, 1, 1}));
}

TEST_F(ComputerTest, WithOnlyOneCellShipsLeftAHitIsNotFollowed) {
  CaptainProbe(Engine).FleetLeft = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
  PutShip(Engine, 0, 5, 5, 1, true);
  MarkFired(Engine, 0, 5, 4);  // up is skipped; left is the first open neighbour
  SearchPicks(5, 5);
  Probe(Engine).ActiveSide = sdComputer;
  bool done = false;
  // Search, hit, up found fired, left chosen, left excluded instead of shot.
  for (int step = 0; step < 5; ++step) Engine.ComputerTurnStep(done);
  EXPECT_EQ(Engine.ComputerShots(), 1);
  EXPECT_TRUE(Captain(Engine).Excluded(4, 5));
  EXPECT_EQ(Engine.ReadCell(4, 5, 0).Fired, 0);
  EXPECT_EQ(Captain(Engine).Step(), 0);
  Engine.ComputerTurnStep(done);  // the next search
  EXPECT_EQ(Captain(Engine).FleetLeft(), (std::array<std::int32_t, 10>{0, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(Engine.ComputerShots(), 1);
}

TEST_F(ComputerTest, TheWinningHitEndsTheGameWithTheComputerActive) {
  PutLegalFleet(Engine, 0);
  for (const TShipAt& s : LegalFleet) {
    for (int i = 0; i < s.Length; ++i) {
      if (s.Column != 9 || s.Row != 4) MarkFired(Engine, 0, s.Column + i, s.Row);
    }
  }
  SearchPicks(9, 4);
  EXPECT_EQ(PlayTurn(), (std::vector<TPoint>{{9, 4}}));
  EXPECT_TRUE(Engine.GameOver());
  EXPECT_EQ(Engine.State(), gsReport);
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Host.Winners, (std::vector<int>{sdComputer}));
  EXPECT_TRUE(Host.TurnsPassed.empty());
}

// The computer's routines see the board the same in every state, even where the ring just
// outside would read as open water.
class WhateverTheState : public ::testing::TestWithParam<TGameState> {};

TEST_P(WhateverTheState, TheLineStopsAtTheEdgeAsInBattle) {
  TRecordingHost host;
  TScriptedRandom random{10};  // A2, directions up, left, right, down
  TGameEngine engine(&host, &random);
  engine.NewGame();
  Probe(engine).State = GetParam();
  PutShip(engine, 0, 0, 0, 3, false);
  // From A2 up to A1, then onto the ring above the board, which must count as blocked.
  Probe(engine).ActiveSide = sdComputer;
  RunIdleStep(engine, host, TIdleStep::ComputerTurn, 1000);
  EXPECT_EQ(host.ShotCells(), (std::vector<TPoint>{{0, 1}, {0, 0}, {0, 2}, {0, 3}}));
  // Every shot landed on a cell of the board.
  int fired = 0;
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) fired += engine.ReadCell(c, r, 0).Fired;
  }
  EXPECT_EQ(fired, engine.ComputerShots());
}

INSTANTIATE_TEST_SUITE_P(States, WhateverTheState, ::testing::Values(gsBattle, gsPlacing));

TEST_P(WhateverTheState, NeighboursOffTheBoardAreNeverShotAt) {
  TRecordingHost host;
  TScriptedRandom random{0};  // A1, directions up, left, right, down
  TGameEngine engine(&host, &random);
  engine.NewGame();
  Probe(engine).State = GetParam();
  PutShip(engine, 0, 0, 0, 1, true);
  Probe(engine).ActiveSide = sdComputer;
  RunIdleStep(engine, host, TIdleStep::ComputerTurn, 1000);
  EXPECT_EQ(host.ShotCells(), (std::vector<TPoint>{{0, 0}, {1, 0}}));
  EXPECT_EQ(engine.ComputerShots(), 2);
}

}  // namespace

}  // namespace kravelon
