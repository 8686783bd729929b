// Where a ship may go, placing it with its hand-overs, and the random arrangement.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "RulesTestSupport.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

struct TFitCase {
  const char* Name;
  std::vector<TShipAt> Ships;  // one-cell ships or horizontal ones, already on the board
  bool Horizontal;
  int Column, Row, Length;
  bool Fits;
  TGameState State = gsPlacing;
};
void PrintTo(const TFitCase& p, std::ostream* os) { *os << p.Name; }

class CanPlaceCases : public ::testing::TestWithParam<TFitCase> {};

TEST_P(CanPlaceCases, KeepsShipsOnTheBoardAndApart) {
  const TFitCase& p = GetParam();
  for (const int side : {sdUser, sdComputer}) {
    TGameEngine engine;
    engine.NewGame();
    Probe(engine).ActiveSide = side;
    for (const TShipAt& s : p.Ships) PutShip(engine, side, s.Column, s.Row, s.Length, true);
    engine.SetOrientation(p.Horizontal);
    engine.ToggleOrientation(1 - side);  // the other side's flag must not matter
    Probe(engine).State = p.State;
    EXPECT_EQ(engine.CanPlace(p.Column, p.Row, p.Length), p.Fits) << p.Name << " side " << side;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Margins, CanPlaceCases,
    ::testing::Values(TFitCase{"four across ends at the edge", {}, true, 6, 0, 4, true},
                      TFitCase{"four across runs over the edge", {}, true, 7, 0, 4, false},
                      TFitCase{"four down ends at the edge", {}, false, 0, 6, 4, true},
                      TFitCase{"four down runs over the edge", {}, false, 0, 7, 4, false},
                      TFitCase{"one in the top left corner", {}, true, 0, 0, 1, true},
                      TFitCase{"one in the bottom right corner", {}, false, 9, 9, 1, true},
                      TFitCase{"beside a ship", {{0, 0, 1}}, true, 1, 0, 1, false},
                      TFitCase{"below a ship", {{0, 0, 1}}, true, 0, 1, 1, false},
                      TFitCase{"corner to corner", {{0, 0, 1}}, true, 1, 1, 1, false},
                      TFitCase{"one gap across", {{0, 0, 1}}, true, 2, 0, 1, true},
                      TFitCase{"one gap down", {{0, 0, 1}}, true, 0, 2, 1, true},
                      TFitCase{"one gap diagonally", {{0, 0, 1}}, true, 2, 2, 1, true},
                      TFitCase{"crossing a ship", {{2, 5, 4}}, false, 3, 3, 3, false},
                      TFitCase{"last cell touches a corner", {{2, 5, 4}}, false, 6, 2, 3, false},
                      TFitCase{"clear of the corner", {{2, 5, 4}}, false, 7, 2, 3, true},
                      TFitCase{"first cell left of the board", {}, true, -1, 0, 1, false},
                      TFitCase{"first cell right of the board", {}, true, 10, 0, 1, false},
                      TFitCase{"first cell below the board", {}, false, 0, 10, 1, false},
                      // In battle the ring reads as fired, so nothing fits along the edge any more.
                      TFitCase{"edge during battle", {}, true, 0, 5, 1, false, gsBattle},
                      TFitCase{"inside during battle", {}, true, 5, 5, 1, true, gsBattle}));

TEST(CanPlace, AFiredCellBlocksLikeAShip) {
  TGameEngine engine;
  engine.NewGame();
  MarkFired(engine, 0, 5, 5);
  EXPECT_FALSE(engine.CanPlace(4, 4, 1));
  EXPECT_TRUE(engine.CanPlace(3, 3, 1));
}

class PlaceShipTest : public ::testing::Test {
 protected:
  TRecordingHost Host;
  TScriptedRandom Random;
  TGameEngine Engine{&Host, &Random};
  void SetUp() override {
    Engine.NewGame();
    Host.Log.clear();
  }
};

TEST_F(PlaceShipTest, SegmentsCarryTheShipNumberAndTheirIndexFromTheFirstCell) {
  Probe(Engine).UserHorizontal = 0;
  Engine.PlaceShip(2, 3);
  Probe(Engine).UserHorizontal = 1;
  Engine.PlaceShip(5, 8);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Engine.ReadCell(2, 3 + i, 0), (TCell{0, 0, 0, i})) << i;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Engine.ReadCell(5 + i, 8, 0), (TCell{0, 0, 1, i})) << i;
  EXPECT_EQ(Engine.ReadCell(2, 7, 0).Empty, 1);
  EXPECT_EQ(Engine.ReadCell(8, 8, 0).Empty, 1);
  EXPECT_EQ(Engine.ShipsLeft(), 8);
  EXPECT_EQ(Host.ShipsPlaced, (std::vector<int>{sdUser, sdUser}));
  EXPECT_TRUE(Host.FleetsPlaced.empty());
}

TEST_F(PlaceShipTest, UsersTenthShipHandsOverToTheComputersArrangement) {
  Probe(Engine).ShipsLeft = 1;
  Probe(Engine).ArrangePhase = 3;
  Engine.PlaceShip(9, 9);
  EXPECT_EQ(Engine.ReadCell(9, 9, 0), (TCell{0, 0, 9, 0}));
  EXPECT_EQ(Engine.State(), gsPlacing);
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Engine.ShipsLeft(), 10);
  EXPECT_EQ(Engine.ArrangePhase(), 0);
  EXPECT_EQ(Host.FleetsPlaced, (std::vector<int>{sdUser}));
  EXPECT_EQ(Host.Installed, TIdleStep::Arrange);
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"Game: Пользователь расставил все корабли.",
                                                "Game: Компьютер расставляет корабли..."}));
}

TEST_F(PlaceShipTest, ComputersTenthShipStartsTheBattleWithTheUserToShoot) {
  Probe(Engine).ActiveSide = sdComputer;
  Probe(Engine).ShipsLeft = 1;
  Host.Installed = TIdleStep::Arrange;
  Engine.PlaceShip(0, 9);
  EXPECT_EQ(Engine.ReadCell(0, 9, 1).Empty, 0);
  EXPECT_EQ(Engine.ReadCell(0, 9, 0).Empty, 1);
  EXPECT_EQ(Engine.State(), gsBattle);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.ShipsLeft(), 10);
  EXPECT_EQ(Host.FleetsPlaced, (std::vector<int>{sdComputer}));
  EXPECT_EQ(Host.Installed, TIdleStep::None);
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"Game: Компьютер расставил все корабли."}));
}

struct TArrangeCase {
  const char* Name;
  std::vector<TShipAt> Ships;
  std::uint32_t ColumnDraw, RowDraw, OrientationDraw;
  std::vector<int> Steps;  // ArrangePhase after each call
  bool Placed;
  bool PlacedHorizontal;
};
void PrintTo(const TArrangeCase& p, std::ostream* os) { *os << p.Name; }

class ArrangeStepCases : public ::testing::TestWithParam<TArrangeCase> {};

TEST_P(ArrangeStepCases, TriesTheDrawnCellInBothOrientations) {
  const TArrangeCase& p = GetParam();
  TRecordingHost host;
  TScriptedRandom random{p.ColumnDraw, p.RowDraw, p.OrientationDraw};
  TGameEngine engine(&host, &random);
  engine.NewGame();
  for (const TShipAt& s : p.Ships) PutShip(engine, 0, s.Column, s.Row, s.Length, true);
  bool done = true;
  for (const int expected : p.Steps) {
    engine.ArrangeStep(done);
    EXPECT_FALSE(done);
    EXPECT_EQ(engine.ArrangePhase(), expected) << p.Name;
  }
  const int column = static_cast<int>(p.ColumnDraw % 10);
  const int row = static_cast<int>(p.RowDraw % 10);
  EXPECT_EQ(engine.ShipsLeft(), p.Placed ? 9 : 10) << p.Name;
  EXPECT_EQ(
      engine.ReadCell(column, row, 0).ShipNo == 0 && engine.ReadCell(column, row, 0).Empty == 0,
      p.Placed);
  if (p.Placed) {
    EXPECT_EQ(Probe(engine).UserHorizontal, p.PlacedHorizontal ? 1 : 0) << p.Name;
    EXPECT_EQ(
        engine
            .ReadCell(column + (p.PlacedHorizontal ? 3 : 0), row + (p.PlacedHorizontal ? 0 : 3), 0)
            .Segment,
        3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Draws, ArrangeStepCases,
    ::testing::Values(
        // Draws are reduced modulo 10 and 2; an odd draw means horizontal.
        TArrangeCase{"drawn orientation fits", {}, 23, 14, 7, {1, 3, 0}, true, true},
        TArrangeCase{"only the turned ship fits", {}, 8, 0, 1, {1, 2, 3, 0}, true, false},
        TArrangeCase{"neither fits", {}, 8, 8, 0, {1, 2, 0}, false, false},
        TArrangeCase{"blocked by a ship", {{0, 2, 4}}, 0, 0, 0, {1, 2, 3, 0}, true, true}));

TEST(ArrangeStep, RightButtonBetweenTestAndPlacementNeverOverlapsAShip) {
  TRecordingHost host;
  // (0, 0) across fits above the four-cell ship on row 2; turned down it would run through it.
  TScriptedRandom random{0, 0, 1};
  TGameEngine engine(&host, &random);
  engine.NewGame();
  PutShip(engine, 0, 0, 2, 4, true, 0);
  Probe(engine).ShipsLeft = 9;
  const auto before = Snapshot(engine);
  bool done = false;
  engine.ArrangeStep(done);
  engine.ArrangeStep(done);
  ASSERT_EQ(engine.ArrangePhase(), 3);

  engine.ToggleOrientation(engine.ActiveSide());  // the right button
  engine.ArrangeStep(done);

  EXPECT_EQ(Snapshot(engine), before);
  EXPECT_EQ(engine.ShipsLeft(), 9);
  EXPECT_EQ(engine.ArrangePhase(), 0);  // a new cell is drawn next
}

TEST(ArrangeStep, ArrangesTheUsersFleetThenTheComputersThenStartsTheBattle) {
  TRecordingHost host;
  TPcg32 random(7);
  TGameEngine engine(&host, &random);
  engine.NewGame();
  RunIdleStep(engine, host, TIdleStep::Arrange, 100000);
  EXPECT_EQ(engine.State(), gsBattle);
  EXPECT_EQ(engine.ActiveSide(), sdUser);
  EXPECT_EQ(Captain(engine).Step(), 0);  // the computer's first turn begins with a search
  for (const int board : {0, 1}) {
    int segments = 0;
    for (int c = 0; c < 10; ++c) {
      for (int r = 0; r < 10; ++r) segments += engine.ReadCell(c, r, board).Empty == 0 ? 1 : 0;
    }
    EXPECT_EQ(segments, 20) << board;
  }
  EXPECT_EQ(host.ShipsPlaced.size(), 20U);
}

}  // namespace

}  // namespace kravelon
