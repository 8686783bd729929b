// A fleet's legality under the house rules, and the fleet read back from a board.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "GameEngine/Fleet.h"
#include "GameEngine/GameEngine.h"
#include "RulesTestSupport.h"

namespace kravelon {

namespace {

// Rows 1, 3, 5 with gaps everywhere: legal under every rule.
std::vector<TShip> Legal() {
  return {{0, 0, true, 4}, {5, 0, true, 3}, {0, 2, true, 3}, {4, 2, true, 2}, {7, 2, true, 2},
          {0, 4, true, 2}, {3, 4, true, 1}, {5, 4, true, 1}, {7, 4, true, 1}, {9, 4, true, 1}};
}

struct TFleetCase {
  const char* Name;
  std::vector<TShip> Fleet;
  TFleetFault Apart;     // with ships kept apart (the game's rule)
  TFleetFault Touching;  // with touching allowed
};
void PrintTo(const TFleetCase& c, std::ostream* os) { *os << c.Name; }

std::vector<TShip> With(std::size_t index, TShip ship) {
  std::vector<TShip> fleet = Legal();
  fleet[index] = ship;
  return fleet;
}

class CheckFleetCase : public ::testing::TestWithParam<TFleetCase> {};

TEST_P(CheckFleetCase, FindsTheFault) {
  const TFleetCase& c = GetParam();
  EXPECT_EQ(CheckFleet(c.Fleet, TRules{}), c.Apart);
  EXPECT_EQ(CheckFleet(c.Fleet, TRules{true, false, true}), c.Touching);
}

INSTANTIATE_TEST_SUITE_P(
    Fleets, CheckFleetCase,
    ::testing::Values(
        TFleetCase{"legal", Legal(), TFleetFault::None, TFleetFault::None},
        TFleetCase{"vertical ships legal", With(0, {9, 6, false, 4}), TFleetFault::None,
                   TFleetFault::None},
        TFleetCase{"nine ships",
                   [] {
                     auto f = Legal();
                     f.pop_back();
                     return f;
                   }(),
                   TFleetFault::Ships, TFleetFault::Ships},
        TFleetCase{"eleven ships",
                   [] {
                     auto f = Legal();
                     f.push_back({9, 9, true, 1});
                     return f;
                   }(),
                   TFleetFault::Ships, TFleetFault::Ships},
        // Ten ships, but a two where a one should be: the lengths, not the count, are wrong.
        TFleetCase{"wrong lengths", With(9, {9, 8, false, 2}), TFleetFault::Ships,
                   TFleetFault::Ships},
        TFleetCase{"a five", With(0, {0, 9, true, 5}), TFleetFault::Ships, TFleetFault::Ships},
        TFleetCase{"off the right edge", With(0, {7, 9, true, 4}), TFleetFault::OffBoard,
                   TFleetFault::OffBoard},
        TFleetCase{"off the bottom edge", With(1, {9, 8, false, 3}), TFleetFault::OffBoard,
                   TFleetFault::OffBoard},
        TFleetCase{"off the top left", With(9, {-1, 0, true, 1}), TFleetFault::OffBoard,
                   TFleetFault::OffBoard},
        TFleetCase{"overlap", With(9, {1, 0, true, 1}), TFleetFault::Overlap, TFleetFault::Overlap},
        TFleetCase{"crossing", With(2, {1, 0, false, 3}), TFleetFault::Overlap,
                   TFleetFault::Overlap},
        TFleetCase{"touching at a side", With(9, {4, 0, true, 1}), TFleetFault::Touching,
                   TFleetFault::None},
        TFleetCase{"touching at a corner", With(9, {4, 1, true, 1}), TFleetFault::Touching,
                   TFleetFault::None},
        TFleetCase{"touching end to end below", With(9, {0, 5, true, 1}), TFleetFault::Touching,
                   TFleetFault::None}));

TEST(FleetOnBoard, ReadsBackEveryArrangementAsALegalFleetCoveringTheSameCells) {
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    TRecordingHost host;
    TPcg32 random(seed);
    TGameEngine engine(&host, &random);
    engine.NewGame();
    // Every other game turns the ships now and then, so both orientations come up.
    RunIdleStep(engine, host, TIdleStep::Arrange, 100000, [&] {
      if (seed % 2 == 0 && random.Next() % 3 == 0) engine.ToggleOrientation(engine.ActiveSide());
      return true;
    });
    ASSERT_EQ(engine.State(), gsBattle);
    for (int board = 0; board < 2; ++board) {
      const std::vector<TShip> fleet = FleetOnBoard(engine, board);
      ASSERT_EQ(CheckFleet(fleet, TRules{}), TFleetFault::None);
      std::set<std::pair<int, int>> covered, onBoard;
      for (const TShip& ship : fleet) {
        for (int i = 0; i < ship.Length; ++i) covered.insert({ship.Cell(i).X, ship.Cell(i).Y});
      }
      for (int c = 0; c < BoardSize; ++c) {
        for (int r = 0; r < BoardSize; ++r) {
          if (engine.ReadCell(c, r, board).Empty == 0) onBoard.insert({c, r});
        }
      }
      EXPECT_EQ(covered, onBoard);
    }
  }
}

TEST(FleetOnBoard, TellsTouchingShipsApartByTheirNumbers) {
  // Under the touching rule two ships may lie end to end: the numbers keep them two ships.
  TGameEngine engine;
  engine.NewGame();
  PutShip(engine, 0, 0, 0, 2, true, 3);
  PutShip(engine, 0, 2, 0, 2, true, 4);
  PutShip(engine, 0, 4, 0, 3, false, 1);
  const std::vector<TShip> fleet = FleetOnBoard(engine, 0);
  EXPECT_EQ(fleet, (std::vector<TShip>{{0, 0, true, 2}, {2, 0, true, 2}, {4, 0, false, 3}}));
}

}  // namespace

}  // namespace kravelon
