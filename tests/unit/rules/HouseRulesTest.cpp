// The house rules: which placements each allows, who fires next, how large a salvo is as ships
// sink, the end of a game in the middle of a salvo, the computer at every level under them, and
// the texts the window shows for them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "GameEngine/Fleet.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/GameEngineProbe.h"
#include "GameEngine/Level.h"
#include "GameEngine/Rules.h"
#include "RulesTestSupport.h"

namespace kravelon {

namespace {

constexpr TRules OwnRules{};
constexpr TRules Touching{.Touching = true};
constexpr TRules Salvo{.Salvo = true};
constexpr TRules NoExtraShot{.ExtraShot = false};
constexpr TRules AllSwitches{.Touching = true, .Salvo = true, .ExtraShot = false};

std::string RulesName(const TRules& rules) {
  if (rules == OwnRules) return "OwnRules";
  std::string name;
  if (rules.Touching) name += "Touching";
  if (rules.Salvo) name += "Salvo";
  if (!rules.ExtraShot) name += "NoExtraShot";
  return name;
}

// ---- Choosing the rules ---------------------------------------------------------------------

TEST(HouseRules, ChosenRulesPlayFromTheNextGameOn) {
  TRecordingHost host;
  TPcg32 random(1);
  TGameEngine engine(&host, &random);
  engine.NewGame();
  EXPECT_EQ(engine.Rules(), OwnRules);

  const TRules chosen{.Touching = true, .Salvo = true};
  engine.SetRules(chosen);
  EXPECT_EQ(engine.NextRules(), chosen);
  EXPECT_EQ(engine.Rules(), OwnRules);  // the game under way keeps its rules
  PutShip(engine, sdUser, 2, 2, 3, true);
  EXPECT_FALSE(engine.CanPlace(2, 3, 3));

  engine.NewGame();
  EXPECT_EQ(engine.Rules(), chosen);
  PutShip(engine, sdUser, 2, 2, 3, true);
  EXPECT_TRUE(engine.CanPlace(2, 3, 3));
  // The computer was told too: a hit's diagonal neighbours may hold a ship.
  Probe(engine).State = gsBattle;
  Probe(engine).BeginTurn(sdComputer);
  ASSERT_TRUE(engine.Fire(3, 2));
  EXPECT_FALSE(Captain(engine).Blocked(engine.Sea(sdComputer), 4, 3));
}

// ---- Placement ------------------------------------------------------------------------------

struct TPlaceCase {
  const char* Name;
  bool Horizontal;
  int Column, Row, Length;
  bool FitsApart;     // under the game's own rule
  bool FitsTouching;  // with ships that may touch
};
void PrintTo(const TPlaceCase& p, std::ostream* os) { *os << p.Name; }

class HouseRulesPlacement : public ::testing::TestWithParam<TPlaceCase> {};

// A ship of three stands across Б6–Г6 (columns 1 to 3 of row 5).
TEST_P(HouseRulesPlacement, ShipsMayTouchButNeverOverlapOrLeaveTheBoard) {
  const TPlaceCase& p = GetParam();
  for (const TRules& rules : {OwnRules, Touching}) {
    for (const TSide side : {sdUser, sdComputer}) {
      TGameEngine engine;
      engine.SetRules(rules);
      engine.NewGame();
      Probe(engine).ActiveSide = side;
      PutShip(engine, side, 1, 5, 3, true);
      engine.SetOrientation(p.Horizontal);
      EXPECT_EQ(engine.CanPlace(p.Column, p.Row, p.Length),
                rules.Touching ? p.FitsTouching : p.FitsApart)
          << RulesName(rules) << ", side " << side;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HouseRulesPlacement,
    ::testing::Values(TPlaceCase{"SideBySideAbove", true, 1, 4, 3, false, true},
                      TPlaceCase{"SideBySideBelowAndLonger", true, 0, 6, 4, false, true},
                      TPlaceCase{"EndToEnd", true, 4, 5, 2, false, true},
                      TPlaceCase{"DownToItsEnd", false, 0, 3, 3, false, true},
                      TPlaceCase{"CornerToCorner", true, 4, 6, 1, false, true},
                      TPlaceCase{"CornerToCornerDown", false, 4, 2, 3, false, true},
                      TPlaceCase{"OneCellOverlapping", true, 3, 5, 1, false, false},
                      TPlaceCase{"RunningIntoIt", true, 0, 5, 2, false, false},
                      TPlaceCase{"CrossingIt", false, 2, 3, 3, false, false},
                      TPlaceCase{"OneCellApart", true, 5, 5, 2, true, true},
                      TPlaceCase{"AlongTheEdge", true, 6, 0, 4, true, true},
                      TPlaceCase{"RunningOverTheEdge", true, 7, 0, 4, false, false},
                      TPlaceCase{"RunningOverTheBottom", false, 9, 8, 3, false, false},
                      TPlaceCase{"LeftOfTheBoard", true, -1, 0, 1, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HouseRulesPlacement, TheArrangementPutsShipsSideBySideOnlyWhereTheyMayTouch) {
  // [board][by the admiral's plan]: fleets with ships that touch.
  int touchingFleets[2][2] = {};
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    for (const TRules& rules : {OwnRules, Touching}) {
      TRecordingHost host;
      TPcg32 random(seed);
      TGameEngine engine(&host, &random);
      // The admiral hides its own fleet by a plan of its own.
      engine.SetLevel(seed % 2 == 0 ? lvAdmiral : lvCaptain);
      engine.SetRules(rules);
      engine.NewGame();
      const TIdleRun run = RunIdleStep(engine, host, TIdleStep::Arrange, 100000);
      ASSERT_EQ(engine.State(), gsBattle) << "seed " << seed << " " << RulesName(rules);
      ASSERT_LT(run.Steps, 100000);
      for (const int board : {0, 1}) {
        const std::vector<TShip> fleet = FleetOnBoard(engine, board);
        EXPECT_EQ(CheckFleet(fleet, rules), TFleetFault::None) << "seed " << seed;
        EXPECT_TRUE(FleetIsLegal(engine, board, rules.Touching)) << "seed " << seed;
        if (rules.Touching && CheckFleet(fleet, OwnRules) == TFleetFault::Touching)
          ++touchingFleets[board][board == sdComputer && engine.Level() == lvAdmiral];
      }
    }
  }
  // Ten ships drawn at random on a board they may share touch most of the time, whoever draws
  // them: the user's arrangement, the computer's, the admiral's plan.
  EXPECT_GT(touchingFleets[sdUser][0], 20);
  EXPECT_GT(touchingFleets[sdComputer][0], 10);
  EXPECT_GT(touchingFleets[sdComputer][1], 10);
}

// ---- Whose turn -----------------------------------------------------------------------------

enum class TShotKind { Miss, Hit, Sinks, Wins };

struct TTurnCase {
  const char* Name;
  TRules Rules;
  int ShooterShipsSunk;  // of the shooter's own fleet, before its turn
  TShotKind Shot;
  bool Passes;  // the turn passes to the other side
};
void PrintTo(const TTurnCase& p, std::ostream* os) { *os << p.Name; }

class HouseRulesTurns : public ::testing::TestWithParam<TTurnCase> {};

TEST_P(HouseRulesTurns, TheTurnPassesAsTheRulesSay) {
  const TTurnCase& p = GetParam();
  for (const TSide shooter : {sdUser, sdComputer}) {
    SCOPED_TRACE(::testing::Message() << "shooter " << shooter);
    const TSide other = shooter == sdUser ? sdComputer : sdUser;
    TRecordingHost host;
    TScriptedRandom random;
    TGameEngine engine(&host, &random);
    engine.SetRules(p.Rules);
    engine.NewGame();
    PutLegalFleet(engine, sdUser);
    PutLegalFleet(engine, sdComputer);
    Probe(engine).State = gsBattle;
    // The shooter's first ships went down in the other side's turn.
    for (int ship = 0; ship < p.ShooterShipsSunk; ++ship) {
      for (int i = 0; i < LegalFleet[ship].Length; ++i)
        MarkFired(engine, shooter, LegalFleet[ship].Column + i, LegalFleet[ship].Row);
    }
    if (p.Shot == TShotKind::Wins) {
      for (const TShipAt& s : LegalFleet) {
        for (int i = 0; i < s.Length; ++i) {
          if (s.Column != 9 || s.Row != 4) MarkFired(engine, other, s.Column + i, s.Row);
        }
      }
    }
    Probe(engine).BeginTurn(shooter);
    const int salvo = FleetShips - p.ShooterShipsSunk;
    EXPECT_EQ(engine.SalvoShots(), p.Rules.Salvo ? salvo : 0);
    EXPECT_EQ(engine.SalvoShotsLeft(), p.Rules.Salvo ? salvo : 0);

    const TPoint cell = p.Shot == TShotKind::Miss    ? TPoint{9, 9}
                        : p.Shot == TShotKind::Hit   ? TPoint{0, 0}
                        : p.Shot == TShotKind::Sinks ? TPoint{3, 4}
                                                     : TPoint{9, 4};
    EXPECT_EQ(engine.Shoot(cell.X, cell.Y), p.Shot != TShotKind::Miss);

    EXPECT_EQ(engine.ActiveSide(), p.Passes ? other : shooter);
    EXPECT_EQ(host.TurnsPassed, p.Passes ? std::vector<int>{other} : std::vector<int>{});
    EXPECT_EQ(host.Winners,
              p.Shot == TShotKind::Wins ? std::vector<int>{shooter} : std::vector<int>{});
    // A new turn brings a fresh salvo, counted from the ships the new side has afloat: one
    // fewer when this very shot sank one of them.
    if (p.Rules.Salvo && p.Passes) {
      EXPECT_EQ(engine.SalvoShots(), FleetShips - (p.Shot == TShotKind::Sinks ? 1 : 0));
    } else if (p.Rules.Salvo) {
      EXPECT_EQ(engine.SalvoShotsLeft(), salvo - 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HouseRulesTurns,
    ::testing::Values(
        TTurnCase{"OwnRulesMiss", OwnRules, 0, TShotKind::Miss, true},
        TTurnCase{"OwnRulesHit", OwnRules, 0, TShotKind::Hit, false},
        TTurnCase{"OwnRulesSinks", OwnRules, 0, TShotKind::Sinks, false},
        TTurnCase{"OwnRulesWins", OwnRules, 0, TShotKind::Wins, false},
        TTurnCase{"NoExtraShotMiss", NoExtraShot, 0, TShotKind::Miss, true},
        TTurnCase{"NoExtraShotHit", NoExtraShot, 0, TShotKind::Hit, true},
        TTurnCase{"NoExtraShotSinks", NoExtraShot, 0, TShotKind::Sinks, true},
        TTurnCase{"NoExtraShotWinnerKeepsTheTurn", NoExtraShot, 0, TShotKind::Wins, false},
        TTurnCase{"TouchingAloneChangesNoTurn", Touching, 0, TShotKind::Miss, true},
        TTurnCase{"TouchingHit", Touching, 0, TShotKind::Hit, false},
        TTurnCase{"SalvoFirstShotMisses", Salvo, 0, TShotKind::Miss, false},
        TTurnCase{"SalvoFirstShotHits", Salvo, 0, TShotKind::Hit, false},
        TTurnCase{"SalvoWithoutTheExtraShotStillFiresOn", AllSwitches, 0, TShotKind::Miss, false},
        TTurnCase{"SalvoOfThreeAfterSevenSunk", Salvo, 7, TShotKind::Hit, false},
        TTurnCase{"SalvosLastShotMissesAndPasses", Salvo, 9, TShotKind::Miss, true},
        TTurnCase{"SalvosLastShotHitsAndPasses", Salvo, 9, TShotKind::Hit, true},
        TTurnCase{"SalvosLastShotSinksAndPasses", AllSwitches, 9, TShotKind::Sinks, true},
        TTurnCase{"SalvosLastShotWinsAndKeeps", Salvo, 9, TShotKind::Wins, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Salvoes --------------------------------------------------------------------------------

class SalvoTest : public ::testing::Test {
 protected:
  TRecordingHost Host;
  TPcg32 Random{5};
  TGameEngine Engine{&Host, &Random};
  void SetUp() override {
    Engine.SetRules(Salvo);
    Engine.NewGame();
    PutLegalFleet(Engine, sdUser);
    PutLegalFleet(Engine, sdComputer);
    Probe(Engine).State = gsBattle;
    Probe(Engine).BeginTurn(sdUser);
  }
};

TEST_F(SalvoTest, ASalvoShrinksByTheShipsItsSideLostBeforeItsTurn) {
  EXPECT_EQ(SalvoStatus(Engine), "Залп: 10 из 10");
  // The user's salvo: the first shot sinks a ship, which takes nothing from its own salvo.
  const std::vector<TPoint> userShots{{3, 4}, {0, 9}, {1, 9}, {2, 9}, {3, 9},
                                      {4, 9}, {5, 9}, {6, 9}, {7, 9}, {8, 9}};
  for (std::size_t i = 0; i < userShots.size(); ++i) {
    ASSERT_EQ(Engine.ActiveSide(), sdUser) << i;
    EXPECT_EQ(Engine.SalvoShotsLeft(), 10 - static_cast<int>(i));
    Engine.Shoot(userShots[i].X, userShots[i].Y);
  }
  EXPECT_EQ(Host.TurnsPassed, std::vector<int>{sdComputer});
  EXPECT_EQ(Host.Installed, TIdleStep::ComputerTurn);
  // The computer lost a ship: nine shots. It sinks two of the user's and misses the rest.
  EXPECT_EQ(SalvoStatus(Engine), "Залп: 9 из 9");
  const std::vector<TPoint> computerShots{{3, 4}, {9, 9}, {5, 4}, {0, 8}, {1, 8},
                                          {2, 8}, {3, 8}, {4, 8}, {5, 8}};
  for (std::size_t i = 0; i < computerShots.size(); ++i) {
    ASSERT_EQ(Engine.ActiveSide(), sdComputer) << i;
    Engine.Shoot(computerShots[i].X, computerShots[i].Y);
    if (i == 2) {
      EXPECT_EQ(SalvoStatus(Engine), "Залп: 6 из 9");
    }
  }
  EXPECT_EQ(Host.TurnsPassed, (std::vector<int>{sdComputer, sdUser}));
  EXPECT_EQ(Host.Installed, TIdleStep::None);
  EXPECT_EQ(Engine.SalvoShots(), 8);
  EXPECT_EQ(Engine.SalvoShotsLeft(), 8);
  EXPECT_EQ(Engine.FleetAfloat(sdUser), 8);
  EXPECT_EQ(Engine.FleetAfloat(sdComputer), 9);
}

TEST_F(SalvoTest, AGameEndsInTheMiddleOfASalvo) {
  for (const TShipAt& s : LegalFleet) {
    for (int i = 0; i < s.Length; ++i) {
      if (s.Column != 9 || s.Row != 4) MarkFired(Engine, sdComputer, s.Column + i, s.Row);
    }
  }
  ASSERT_FALSE(Engine.Shoot(9, 9));
  ASSERT_TRUE(Engine.Shoot(9, 4));  // the computer's last ship, with eight shots to spare
  EXPECT_EQ(Host.Winners, std::vector<int>{sdUser});
  EXPECT_TRUE(Host.TurnsPassed.empty());
  EXPECT_EQ(Engine.State(), gsReport);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);  // the winner keeps the turn, as the report reads it
  EXPECT_EQ(Engine.SalvoShotsLeft(), 8);
  EXPECT_EQ(SalvoStatus(Engine), "");  // no salvo to show once the game is over
}

// The computer's salvo: a shot an idle step, each told to the host, and the step gives the turn
// back only after the last shot, hit or miss.
TEST_F(SalvoTest, TheComputerFiresItsWholeSalvoOneShotAStep) {
  Probe(Engine).BeginTurn(sdComputer);
  const TIdleRun run = RunIdleStep(Engine, Host, TIdleStep::ComputerTurn, 10000);
  EXPECT_FALSE(run.SaidDone);
  EXPECT_EQ(Host.Shots.size(), 10U);
  for (const TShot& shot : Host.Shots) EXPECT_EQ(shot.Shooter, sdComputer);
  EXPECT_EQ(Host.TurnsPassed, std::vector<int>{sdUser});
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.ComputerShots(), 10);
}

// ---- Whole games, both sides firing, at every level ---------------------------------------------

// The ships of `side` with a segment not yet hit, read from its board.
int ShipsAfloatOnBoard(const TGameEngine& engine, TSide side) {
  std::set<int> afloat;
  for (int c = 0; c < BoardSize; ++c) {
    for (int r = 0; r < BoardSize; ++r) {
      const TCell cell = engine.ReadCell(c, r, side);
      if (cell.Empty == 0 && cell.Fired == 0) afloat.insert(cell.ShipNo);
    }
  }
  return static_cast<int>(afloat.size());
}

struct TGameCase {
  TLevel Level;
  TRules Rules;
};
void PrintTo(const TGameCase& p, std::ostream* os) {
  *os << LevelValue(p.Level) << " " << RulesName(p.Rules);
}

class HouseRulesGames : public ::testing::TestWithParam<TGameCase> {};

// The user fires at random at cells it has not fired at; the computer plays its idle steps. Each
// turn is checked against the rules: its shots, the salvo it began with, where it passed.
TEST_P(HouseRulesGames, EveryTurnKeepsTheRulesToTheEnd) {
  const TGameCase& p = GetParam();
  for (std::uint64_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    TRecordingHost host;
    TPcg32 random(seed);
    TPcg32 user(seed * 7919U);
    TGameEngine engine(&host, &random);
    engine.SetLevel(p.Level);
    engine.SetRules(p.Rules);
    engine.NewGame();
    RunIdleStep(engine, host, TIdleStep::Arrange, 100000);
    ASSERT_EQ(engine.State(), gsBattle);
    for (const int board : {0, 1})
      ASSERT_EQ(CheckFleet(FleetOnBoard(engine, board), p.Rules), TFleetFault::None);

    long steps = 0;
    int turns = 0;
    while (!engine.GameOver() && steps < 100000) {
      const TSide side = engine.ActiveSide();
      const int afloat = ShipsAfloatOnBoard(engine, side);
      EXPECT_EQ(engine.SalvoShots(), p.Rules.Salvo ? afloat : 0);
      const std::size_t shotsBefore = host.Shots.size(), passedBefore = host.TurnsPassed.size();
      host.Installed = side == sdComputer ? TIdleStep::ComputerTurn : TIdleStep::None;
      while (engine.ActiveSide() == side && !engine.GameOver() && steps < 100000) {
        ++steps;
        if (side == sdComputer) {
          bool done = false;
          engine.ComputerTurnStep(done);
          continue;
        }
        int c = 0, r = 0;
        do {
          c = static_cast<int>(user.Next() % BoardSize);
          r = static_cast<int>(user.Next() % BoardSize);
        } while (engine.ReadCell(c, r, sdComputer).Fired != 0);
        engine.Shoot(c, r);
      }
      ++turns;
      const std::vector<TShot> shots(host.Shots.begin() + static_cast<long>(shotsBefore),
                                     host.Shots.end());
      ASSERT_FALSE(shots.empty());
      for (const TShot& shot : shots) ASSERT_EQ(shot.Shooter, side);
      if (engine.GameOver()) {
        EXPECT_EQ(host.TurnsPassed.size(), passedBefore);
        EXPECT_EQ(host.Winners, std::vector<int>{side});
        EXPECT_EQ(engine.ActiveSide(), side);
        if (p.Rules.Salvo) {
          EXPECT_LE(static_cast<int>(shots.size()), afloat);
        }
        break;
      }
      ASSERT_EQ(host.TurnsPassed.size(), passedBefore + 1);
      EXPECT_EQ(host.TurnsPassed.back(), side == sdUser ? sdComputer : sdUser);
      // The window's idle step follows: the computer's turn runs until it hands the turn back.
      EXPECT_EQ(host.Installed, StepAfterTurn(engine.ActiveSide()));
      if (p.Rules.Salvo) {
        EXPECT_EQ(static_cast<int>(shots.size()), afloat) << "turn " << turns;
      } else if (!p.Rules.ExtraShot) {
        EXPECT_EQ(shots.size(), 1U) << "turn " << turns;
      } else {
        for (std::size_t i = 0; i + 1 < shots.size(); ++i) EXPECT_TRUE(shots[i].Hit);
        EXPECT_FALSE(shots.back().Hit);
      }
    }
    ASSERT_TRUE(engine.GameOver()) << "the game never ended";
    // The computer never fired twice at a cell.
    int fired = 0;
    for (int c = 0; c < BoardSize; ++c) {
      for (int r = 0; r < BoardSize; ++r) fired += engine.ReadCell(c, r, sdUser).Fired;
    }
    EXPECT_EQ(fired, engine.ComputerShots());
  }
}

std::vector<TGameCase> GameCases() {
  std::vector<TGameCase> cases;
  for (const TLevel level : AllLevels) {
    for (const TRules& rules : {OwnRules, Touching, Salvo, NoExtraShot, AllSwitches})
      cases.push_back({level, rules});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, HouseRulesGames, ::testing::ValuesIn(GameCases()),
                         [](const auto& info) {
                           std::string level(LevelValue(info.param.Level));
                           std::erase(level, '-');
                           return level + "_" + RulesName(info.param.Rules);
                         });

// ---- The computer where ships touch ------------------------------------------------------------

// Twenty cells in two rows: every ship lies beside, end to end with or corner to corner with
// others.
constexpr TFleetPlan PackedPlan{{{{0, 0}, true},
                                 {{4, 0}, true},
                                 {{0, 1}, true},
                                 {{3, 1}, true},
                                 {{5, 1}, true},
                                 {{9, 0}, false},
                                 {{7, 0}, true},
                                 {{8, 0}, true},
                                 {{7, 1}, true},
                                 {{8, 1}, true}}};

class HouseRulesLevels : public ::testing::TestWithParam<TLevel> {};

// A line of hits may run over several ships: each level must still find every ship's end, and
// the captain must strike from its belief exactly the ships that sank.
TEST_P(HouseRulesLevels, SinkAPackedFleetFiringAtEachCellOnce) {
  for (std::uint64_t seed = 1; seed <= 5; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    TRecordingHost host;
    TPcg32 random(seed);
    TGameEngine engine(&host, &random);
    engine.SetLevel(GetParam());
    engine.SetRules(Touching);
    engine.NewGame();
    PutFleet(engine, sdUser, PackedPlan);
    ASSERT_TRUE(FleetIsLegal(engine, sdUser, true));
    Probe(engine).State = gsBattle;
    long steps = 0;
    while (!engine.GameOver() && steps < 100000) {
      Probe(engine).BeginTurn(sdComputer);
      bool done = false;
      engine.ComputerTurnStep(done);
      ++steps;
    }
    ASSERT_TRUE(engine.AllSunk(sdUser));
    std::set<std::pair<int, int>> cells;
    for (const TPoint& cell : host.ShotCells())
      EXPECT_TRUE(cells.insert({cell.X, cell.Y}).second) << "again at " << cell.X << "," << cell.Y;
    if (GetParam() == lvCaptain) {
      for (const std::int32_t size : Captain(engine).FleetLeft()) EXPECT_EQ(size, 0);
    }
  }
}

// A sunk ship's ring is the only water left unknown: where ships touch it may hold a ship, so
// every level fires there.
TEST_P(HouseRulesLevels, FireIntoASunkShipsRingWhereShipsTouch) {
  TSeaView sea;
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (std::abs(c - 5) > 1 || std::abs(r - 5) > 1) sea.Mark(c, r, smMiss);
    }
  }
  const std::vector<TPoint> sunk{{5, 5}};
  sea.Sink(sunk);
  for (std::uint64_t seed = 1; seed <= 10; ++seed) {
    TPcg32 random(seed);
    const std::unique_ptr<TOpponent> level = MakeOpponent(GetParam(), random);
    level->NewGame(Touching);
    std::optional<TPoint> shot;
    for (int step = 0; step < 10000 && !shot; ++step) shot = level->TurnStep(sea);
    ASSERT_TRUE(shot.has_value()) << "seed " << seed;
    EXPECT_TRUE(sea.Unknown(shot->X, shot->Y)) << "seed " << seed;
  }
}

// A ship hit and still afloat beside one sunk: every level fires beside the hit next, as it
// would at a first hit, rather than searching the board again.
TEST_P(HouseRulesLevels, AShipHitAndAfloatIsFollowedAfterANeighbourSinks) {
  TSeaView sea;
  const std::vector<TPoint> sunk{{4, 3}};
  sea.Sink(sunk);
  sea.Mark(4, 4, smHit);
  const std::set<std::pair<int, int>> beside{{3, 4}, {5, 4}, {4, 5}};
  for (std::uint64_t seed = 1; seed <= 10; ++seed) {
    TPcg32 random(seed);
    const std::unique_ptr<TOpponent> level = MakeOpponent(GetParam(), random);
    level->NewGame(Touching);
    std::optional<TPoint> shot;
    for (int step = 0; step < 100 && !shot; ++step) shot = level->TurnStep(sea);
    ASSERT_TRUE(shot.has_value()) << "seed " << seed;
    EXPECT_EQ(beside.count({shot->X, shot->Y}), 1U)
        << "seed " << seed << ": " << shot->X << "," << shot->Y;
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, HouseRulesLevels,
                         ::testing::Values(lvCabinBoy, lvSailor, lvCaptain, lvAdmiral),
                         [](const auto& info) {
                           std::string level(LevelValue(info.param));
                           std::erase(level, '-');
                           return level;
                         });

// ---- Texts ----------------------------------------------------------------------------------

TEST(HouseRulesTexts, TheRulesLineNamesWhatDiffersFromTheGamesOwn) {
  const std::pair<TRules, const char*> lines[] = {
      {OwnRules, ""},
      {Touching, "Правила: корабли могут касаться"},
      {Salvo, "Правила: залп"},
      {NoExtraShot, "Правила: без выстрела после попадания"},
      {{.Touching = true, .Salvo = true}, "Правила: корабли могут касаться, залп"},
      {AllSwitches, "Правила: корабли могут касаться, залп, без выстрела после попадания"},
  };
  for (const auto& [rules, line] : lines) EXPECT_EQ(RulesLine(rules), line) << RulesName(rules);
}

TEST(HouseRulesTexts, EachSwitchHasItsNameItsCaptionAndItsDefault) {
  const std::vector<std::pair<std::string, std::string>> named{
      {"touching", "Корабли могут касаться"},
      {"salvo", "Залп"},
      {"extra-shot", "Выстрел после попадания"}};
  for (const TRuleSwitch rule : AllRuleSwitches) {
    const auto index = static_cast<std::size_t>(rule);
    EXPECT_EQ(RuleValue(rule), named[index].first);
    EXPECT_EQ(RuleCaption(rule), named[index].second);
    EXPECT_EQ(RuleOn(OwnRules, rule), rule == rsExtraShot);
    TRules rules;
    SetRule(rules, rule, !RuleOn(rules, rule));
    for (const TRuleSwitch other : AllRuleSwitches)
      EXPECT_EQ(RuleOn(rules, other), RuleOn(OwnRules, other) != (other == rule));
  }
  EXPECT_EQ(SalvoText(3, 7), "Залп: 3 из 7");
}

TEST(HouseRulesTexts, NoSalvoStatusOutsideASalvoGamesBattle) {
  TGameEngine engine;
  engine.NewGame();
  Probe(engine).State = gsBattle;
  EXPECT_EQ(SalvoStatus(engine), "");
  engine.SetRules(Salvo);
  engine.NewGame();
  EXPECT_EQ(SalvoStatus(engine), "");  // still placing
}

}  // namespace

}  // namespace kravelon
