// A board's fleet by ship and by length: what the status line's panel and the voice report.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "GameEngine/FleetView.h"
#include "tests/unit/rules/RulesTestSupport.h"

namespace kravelon {

namespace {

void SinkShip(TGameEngine& engine, int board, const TShipAt& ship) {
  for (int i = 0; i < ship.Length; ++i) MarkFired(engine, board, ship.Column + i, ship.Row);
}

// Ships are given as (length, afloat, sunk), longest first.
TFleetGroups Groups(std::initializer_list<std::array<int, 3>> rows) {
  TFleetGroups groups;
  std::size_t i = 0;
  for (const auto& [length, afloat, sunk] : rows) groups[i++] = {length, afloat + sunk, sunk};
  return groups;
}

TEST(FleetGroups, EachStateOfTheFleetGivesItsGroups) {
  struct TCase {
    const char* What;
    std::function<void(TGameEngine&)> Play;
    TFleetGroups Expected;
  };
  const TCase cases[] = {
      {"an empty board: the opponent is still placing", [](TGameEngine&) {},
       Groups({{4, 1, 0}, {3, 2, 0}, {2, 3, 0}, {1, 4, 0}})},
      {"a fresh fleet", [](TGameEngine& e) { PutLegalFleet(e, 1); },
       Groups({{4, 1, 0}, {3, 2, 0}, {2, 3, 0}, {1, 4, 0}})},
      {"hits that sink nothing, misses on water",
       [](TGameEngine& e) {
         PutLegalFleet(e, 1);
         MarkFired(e, 1, 0, 0);  // a segment of the four
         MarkFired(e, 1, 5, 0);
         MarkFired(e, 1, 6, 0);  // two of the first three
         MarkFired(e, 1, 9, 9);  // water
       },
       Groups({{4, 1, 0}, {3, 2, 0}, {2, 3, 0}, {1, 4, 0}})},
      {"some sunk",
       [](TGameEngine& e) {
         PutLegalFleet(e, 1);
         for (int i : {1, 4, 6, 9}) SinkShip(e, 1, LegalFleet[i]);
       },
       Groups({{4, 1, 0}, {3, 1, 1}, {2, 2, 1}, {1, 2, 2}})},
      {"one left",
       [](TGameEngine& e) {
         PutLegalFleet(e, 1);
         for (int i = 1; i < 10; ++i) SinkShip(e, 1, LegalFleet[i]);
         MarkFired(e, 1, 3, 0);  // the four, hit at its end but afloat
       },
       Groups({{4, 1, 0}, {3, 0, 2}, {2, 0, 3}, {1, 0, 4}})},
      {"all sunk",
       [](TGameEngine& e) {
         PutLegalFleet(e, 1);
         for (const TShipAt& ship : LegalFleet) SinkShip(e, 1, ship);
       },
       Groups({{4, 0, 1}, {3, 0, 2}, {2, 0, 3}, {1, 0, 4}})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TGameEngine engine;
    c.Play(engine);
    EXPECT_EQ(FleetGroupsOf(engine, 1), c.Expected);
    // The other board is not counted.
    EXPECT_EQ(FleetGroupsOf(engine, 0), Groups({{4, 1, 0}, {3, 2, 0}, {2, 3, 0}, {1, 4, 0}}));
  }
}

TEST(FleetOf, ShipsComeWithTheirCellsFromTheFirstOn) {
  TGameEngine engine;
  PutShip(engine, 0, 6, 2, 3, false, 1);  // upright: Ж3 to Ж5
  PutShip(engine, 0, 1, 8, 4, true, 0);   // across: Б9 to Д9
  MarkFired(engine, 0, 6, 3);
  const std::vector<TFleetShip> fleet = FleetOf(engine, 0);
  ASSERT_EQ(fleet.size(), 2u);
  EXPECT_EQ(fleet[0].Number, 0);
  EXPECT_EQ(fleet[0].Cells, (std::vector<TPoint>{{1, 8}, {2, 8}, {3, 8}, {4, 8}}));
  EXPECT_EQ(fleet[1].Cells, (std::vector<TPoint>{{6, 2}, {6, 3}, {6, 4}}));
  EXPECT_EQ(fleet[1].Hits, 1);
  EXPECT_FALSE(fleet[1].Sunk());
  EXPECT_EQ(ShipAt(fleet, {6, 4}), &fleet[1]);
  EXPECT_EQ(ShipAt(fleet, {5, 4}), nullptr);
}

}  // namespace

}  // namespace kravelon
