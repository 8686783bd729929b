// The computer's levels: their names, how the engine takes one on, and each level played on
// boards built to test it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "GameEngine/GameEngineProbe.h"
#include "GameEngine/Level.h"
#include "GameEngine/Levels/Admiral.h"
#include "RulesTestSupport.h"

namespace kravelon {

// A level sees the sea it fires at through the results of its shots alone: its turn is handed
// the view and nothing else, and its code cannot include the engine (tests/layering).
static_assert(std::is_same_v<decltype(&TOpponent::TurnStep),
                             std::optional<TPoint> (TOpponent::*)(const TSeaView&)>);
static_assert(std::is_same_v<decltype(&TOpponent::ShotAnswered),
                             void (TOpponent::*)(TPoint, TShotResult, const TSeaView&)>);

namespace {

std::string TestName(TLevel level) {
  constexpr const char* Names[] = {"CabinBoy", "Sailor", "Captain", "Admiral"};
  return Names[static_cast<int>(level) - 1];
}

// ---- Names ----------------------------------------------------------------------------------

struct TParseCase {
  const char* Value;
  std::optional<TLevel> Level;
};
void PrintTo(const TParseCase& p, std::ostream* os) { *os << "\"" << p.Value << "\""; }

class ComputerLevelParse : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ComputerLevelParse, TakesTheValuesAndNumbersOnly) {
  EXPECT_EQ(ParseLevel(GetParam().Value), GetParam().Level);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ComputerLevelParse,
    ::testing::Values(TParseCase{"cabin-boy", lvCabinBoy}, TParseCase{"sailor", lvSailor},
                      TParseCase{"captain", lvCaptain}, TParseCase{"admiral", lvAdmiral},
                      TParseCase{"1", lvCabinBoy}, TParseCase{"2", lvSailor},
                      TParseCase{"3", lvCaptain}, TParseCase{"4", lvAdmiral},
                      TParseCase{"0", std::nullopt}, TParseCase{"5", std::nullopt},
                      TParseCase{"04", std::nullopt}, TParseCase{"", std::nullopt},
                      TParseCase{"Captain", std::nullopt}, TParseCase{"captain ", std::nullopt},
                      TParseCase{"cabin_boy", std::nullopt}, TParseCase{"Юнга", std::nullopt}));

TEST(ComputerLevel, EachLevelIsNamedByItsValueItsNumberAndItsOwnWord) {
  const std::vector<std::string> names{"Юнга", "Матрос", "Капитан", "Адмирал"};
  std::set<std::string> values;
  for (std::size_t i = 0; i < AllLevels.size(); ++i) {
    const TLevel level = AllLevels[i];
    EXPECT_EQ(ParseLevel(LevelValue(level)), level);
    EXPECT_EQ(ParseLevel(std::to_string(i + 1)), level);
    EXPECT_EQ(LevelName(level), names[i]);
    values.insert(std::string(LevelValue(level)));
  }
  EXPECT_EQ(values.size(), 4U);
  EXPECT_EQ(DefaultLevel, lvCaptain);
}

// ---- The engine and its computer ---------------------------------------------------------------

TEST(ComputerLevel, AChosenLevelPlaysFromTheNextGameOn) {
  TGameEngine engine;
  engine.NewGame();
  EXPECT_EQ(engine.Level(), lvCaptain);
  TCaptain* captain = &Captain(engine);

  engine.SetLevel(lvAdmiral);
  EXPECT_EQ(engine.NextLevel(), lvAdmiral);
  EXPECT_EQ(engine.Level(), lvCaptain);  // the game under way keeps its computer
  EXPECT_EQ(&Captain(engine), captain);

  engine.NewGame();
  EXPECT_EQ(engine.Level(), lvAdmiral);
  EXPECT_NE(dynamic_cast<TAdmiral*>(&Probe(engine).Opponent()), nullptr);
  EXPECT_THROW(Captain(engine), std::bad_cast);

  engine.SetLevel(lvCaptain);
  engine.NewGame();
  captain = &Captain(engine);
  engine.NewGame();
  EXPECT_EQ(&Captain(engine), captain);  // the same level: the same computer plays on
}

TEST(ComputerLevel, TheAdmiralPlacesItsOwnFleetAShipAStep) {
  TRecordingHost host;
  TPcg32 random(3);
  TGameEngine engine(&host, &random);
  engine.SetLevel(lvAdmiral);
  engine.NewGame();
  RunIdleStep(engine, host, TIdleStep::Arrange, 100000,
              [&] { return engine.ActiveSide() == sdUser; });
  ASSERT_EQ(engine.ActiveSide(), sdComputer);

  // The random arrangement needs at least three steps a ship; a plan is placed in one.
  EXPECT_EQ(RunIdleStep(engine, host, TIdleStep::Arrange, 1000).Steps, 10);
  EXPECT_EQ(engine.State(), gsBattle);
  EXPECT_TRUE(FleetIsLegal(engine, sdComputer));
}

TEST(ComputerAdmiral, HidesALegalFleetThatDiffersFromGameToGame) {
  std::set<std::vector<int>> fleets;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    TPcg32 random(seed);
    const TFleetPlan plan = TAdmiral::ArrangeFleet(random, false);
    TGameEngine engine;
    engine.NewGame();
    PutFleet(engine, sdUser, plan);
    EXPECT_TRUE(FleetIsLegal(engine, sdUser)) << "seed " << seed;
    std::vector<int> cells;
    for (const TShipPlacement& ship : plan) {
      cells.insert(cells.end(), {ship.At.X, ship.At.Y, ship.Horizontal ? 1 : 0});
    }
    fleets.insert(cells);
  }
  EXPECT_EQ(fleets.size(), 20U);
}

// ---- Whole games on fixed fleets ----------------------------------------------------------------

constexpr TFleetPlan LegalPlan{{{{0, 0}, true},
                                {{5, 0}, true},
                                {{0, 2}, true},
                                {{4, 2}, true},
                                {{7, 2}, true},
                                {{0, 4}, true},
                                {{3, 4}, true},
                                {{5, 4}, true},
                                {{7, 4}, true},
                                {{9, 4}, true}}};
// All along the edges.
constexpr TFleetPlan EdgePlan{{{{0, 0}, true},
                               {{5, 0}, true},
                               {{9, 0}, false},
                               {{0, 2}, false},
                               {{0, 5}, false},
                               {{9, 4}, false},
                               {{0, 9}, true},
                               {{3, 9}, true},
                               {{6, 9}, true},
                               {{9, 9}, true}}};
// Crowded into the middle, the singles in the open.
constexpr TFleetPlan MiddlePlan{{{{3, 4}, true},
                                 {{2, 2}, true},
                                 {{6, 2}, true},
                                 {{2, 6}, true},
                                 {{5, 6}, true},
                                 {{8, 5}, false},
                                 {{1, 8}, true},
                                 {{4, 8}, true},
                                 {{7, 8}, true},
                                 {{9, 0}, true}}};

std::vector<TFleetPlan> FixedFleets() {
  TPcg32 random(11);
  return {LegalPlan, EdgePlan, MiddlePlan, RandomFleet(random, false),
          TAdmiral::ArrangeFleet(random, false)};
}

struct TGameRecord {
  std::vector<TPoint> Shots;
  std::vector<TSeaView> Seen;  // what the computer knew before each shot
  bool Finished = false;
};

// The computer at `level` against `fleet`, the user passing every turn.
TGameRecord PlayGame(TLevel level, const TFleetPlan& fleet, std::uint64_t seed) {
  TRecordingHost host;
  TPcg32 random(seed);
  TGameEngine engine(&host, &random);
  engine.SetLevel(level);
  engine.NewGame();
  PutFleet(engine, sdUser, fleet);
  Probe(engine).State = gsBattle;
  TGameRecord game;
  for (long step = 0; !engine.GameOver() && step < 100000; ++step) {
    Probe(engine).ActiveSide = sdComputer;
    const TSeaView seen = engine.Sea(sdComputer);
    const std::size_t before = host.Shots.size();
    bool done = false;
    engine.ComputerTurnStep(done);
    if (host.Shots.size() > before) game.Seen.push_back(seen);
  }
  game.Shots = host.ShotCells();
  game.Finished = engine.AllSunk(sdUser) && engine.State() == gsReport;
  return game;
}

class ComputerLevelsPlay : public ::testing::TestWithParam<TLevel> {};

TEST_P(ComputerLevelsPlay, SinkEveryFixedFleetFiringAtEachCellOnce) {
  const std::vector<TFleetPlan> fleets = FixedFleets();
  for (std::size_t f = 0; f < fleets.size(); ++f) {
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(::testing::Message() << "fleet " << f << " seed " << seed);
      const TGameRecord game = PlayGame(GetParam(), fleets[f], seed);
      ASSERT_TRUE(game.Finished);
      std::set<std::pair<int, int>> cells;
      for (const TPoint& shot : game.Shots) {
        EXPECT_TRUE(TSeaView::OnBoard(shot.X, shot.Y)) << shot.X << "," << shot.Y;
        EXPECT_TRUE(cells.insert({shot.X, shot.Y}).second)
            << "again at " << shot.X << "," << shot.Y;
      }
      EXPECT_GE(game.Shots.size(), 20U);
    }
  }
}

// Whether the cell is water by what the shooter knows: a found cell's diagonal neighbour, a cell
// next to a sunk ship, or one just past a sunk ship's end.
struct TWaterKnown {
  bool Diagonals = false;
  bool Rings = false;
  bool Ends = false;
};

bool IsKnownWater(const TSeaView& sea, TPoint cell, TWaterKnown known) {
  for (int dr = -1; dr <= 1; ++dr) {
    for (int dc = -1; dc <= 1; ++dc) {
      const TSeaMark near = sea.At(cell.X + dc, cell.Y + dr);
      if (dc == 0 && dr == 0) continue;
      if (dc != 0 && dr != 0 && known.Diagonals && near >= smHit) return true;
      if (known.Rings && near == smSunk) return true;
      if (known.Ends && (dc == 0) != (dr == 0) && near == smSunk) {
        // Past an end: the sunk ship runs on away from this cell, or is a single cell.
        const TSeaMark beyond = sea.At(cell.X + 2 * dc, cell.Y + 2 * dr);
        const bool single = sea.At(cell.X + dc + dr, cell.Y + dr + dc) != smSunk &&
                            sea.At(cell.X + dc - dr, cell.Y + dr - dc) != smSunk;
        if (beyond == smSunk || single) return true;
      }
    }
  }
  return false;
}

struct TWaterCase {
  TLevel Level;
  TWaterKnown Known;
};
void PrintTo(const TWaterCase& p, std::ostream* os) { *os << LevelValue(p.Level); }

class ComputerLevelsWater : public ::testing::TestWithParam<TWaterCase> {};

TEST_P(ComputerLevelsWater, NeverFireAtWaterTheyKnow) {
  const TWaterCase& p = GetParam();
  const std::vector<TFleetPlan> fleets = FixedFleets();
  for (std::size_t f = 0; f < fleets.size(); ++f) {
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
      const TGameRecord game = PlayGame(p.Level, fleets[f], seed);
      ASSERT_EQ(game.Seen.size(), game.Shots.size());
      for (std::size_t i = 0; i < game.Shots.size(); ++i) {
        ASSERT_FALSE(IsKnownWater(game.Seen[i], game.Shots[i], p.Known))
            << "fleet " << f << " seed " << seed << " shot " << i << " at " << game.Shots[i].X
            << "," << game.Shots[i].Y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ComputerLevelsWater,
    ::testing::Values(TWaterCase{lvCabinBoy, {.Ends = true}}, TWaterCase{lvSailor, {.Rings = true}},
                      TWaterCase{lvCaptain, {.Diagonals = true}},
                      TWaterCase{lvAdmiral, {.Diagonals = true, .Rings = true}}),
    [](const auto& info) { return TestName(info.param.Level); });

// A ship the shooter has not found yet cannot change where it fires: the same seed against two
// fleets that differ in one single-cell ship gives the same shots up to the first shot at a
// cell where they differ.
TEST_P(ComputerLevelsPlay, AShipNotYetFoundDoesNotChangeTheShots) {
  TFleetPlan moved = LegalPlan;
  moved[9].At = {9, 9};  // from К5 to К10, clear of every other ship
  const std::set<std::pair<int, int>> differ{{9, 4}, {9, 9}};
  std::size_t compared = 0;
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    const TGameRecord a = PlayGame(GetParam(), LegalPlan, seed);
    const TGameRecord b = PlayGame(GetParam(), moved, seed);
    for (std::size_t i = 0; i < std::min(a.Shots.size(), b.Shots.size()); ++i) {
      ASSERT_EQ(a.Shots[i], b.Shots[i]) << "seed " << seed << " shot " << i;
      ++compared;
      if (differ.count({a.Shots[i].X, a.Shots[i].Y}) != 0) break;
    }
  }
  EXPECT_GT(compared, 6U * 20U);  // the single ship is rarely among the first shots' finds
}

INSTANTIATE_TEST_SUITE_P(Levels, ComputerLevelsPlay,
                         ::testing::Values(lvCabinBoy, lvSailor, lvCaptain, lvAdmiral),
                         [](const auto& info) { return TestName(info.param); });

// ---- The admiral on positions built by hand
// ------------------------------------------------------

struct TSeaCase {
  const char* Name;
  std::vector<TPoint> Hits, Misses;
  std::vector<std::vector<TPoint>> Sunk;
  bool AllElseMissed;  // every cell not listed, except row 0, is a miss
  std::vector<TPoint> Allowed;
  bool Touching = false;
};
void PrintTo(const TSeaCase& p, std::ostream* os) { *os << p.Name; }

class ComputerAdmiralPositions : public ::testing::TestWithParam<TSeaCase> {};

TEST_P(ComputerAdmiralPositions, FiresWhereTheDeductionsLeaveTheMostPlacements) {
  const TSeaCase& p = GetParam();
  TSeaView sea;
  if (p.AllElseMissed) {
    for (int r = 1; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) sea.Mark(c, r, smMiss);
    }
  }
  for (const TPoint& cell : p.Misses) sea.Mark(cell.X, cell.Y, smMiss);
  for (const TPoint& cell : p.Hits) sea.Mark(cell.X, cell.Y, smHit);
  for (const auto& ship : p.Sunk) sea.Sink(ship);
  std::set<std::pair<int, int>> seen;
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    TPcg32 random(seed);
    TAdmiral admiral(random);
    admiral.NewGame(TRules{.Touching = p.Touching});
    const std::optional<TPoint> shot = admiral.TurnStep(sea);
    ASSERT_TRUE(shot.has_value());
    EXPECT_NE(std::find(p.Allowed.begin(), p.Allowed.end(), *shot), p.Allowed.end())
        << "seed " << seed << ": " << shot->X << "," << shot->Y;
    seen.insert({shot->X, shot->Y});
  }
  EXPECT_EQ(seen.size(), p.Allowed.size()) << "a tie, broken at random";
}

INSTANTIATE_TEST_SUITE_P(
    Seas, ComputerAdmiralPositions,
    ::testing::Values(
        TSeaCase{"OneHitANeighbour", {{4, 4}}, {}, {}, false, {{3, 4}, {5, 4}, {4, 3}, {4, 5}}},
        TSeaCase{"TwoHitsPastEitherEnd", {{4, 4}, {5, 4}}, {}, {}, false, {{3, 4}, {6, 4}}},
        TSeaCase{"HitAgainstMissesTheOneWayLeft",
                 {{4, 4}},
                 {{3, 4}, {5, 4}, {4, 3}},
                 {},
                 false,
                 {{4, 5}}},
        // Two ships hit, each with one way left to run but the cell that is the other's
        // diagonal neighbour: counted as open, those two would tie with the right ones.
        TSeaCase{"HitsOfTwoShipsKeepOffTheirDiagonals",
                 {{1, 1}, {2, 3}},
                 {{0, 1}, {2, 1}, {1, 3}, {3, 3}, {2, 5}},
                 {},
                 false,
                 {{1, 0}, {2, 4}}},
        // Row 0 alone is open; the sunk ship below its middle rings three of its cells.
        TSeaCase{"ASunkShipsRingIsWater", {}, {}, {{{5, 1}}}, true, {{1, 0}, {2, 0}}},
        TSeaCase{"ShipsThatMayTouchLeaveTheRingOpen",
                 {},
                 {},
                 {{{5, 1}}},
                 true,
                 {{3, 0}, {4, 0}, {5, 0}, {6, 0}},
                 true}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

}  // namespace kravelon
