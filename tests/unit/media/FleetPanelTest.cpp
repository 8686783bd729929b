// The fleet panel's layout: the pictures shrink to the room the status line leaves, the label
// goes before they get too small, and each group shows its ships afloat before its sunk ones.
#include <gtest/gtest.h>

#include <vector>

#include "Media/Paint/FleetPanel.h"

namespace kravelon {

namespace {

TFleetGroups Fleet(int sunkFours, int sunkThrees, int sunkTwos, int sunkOnes) {
  return {TFleetGroup{4, 1, sunkFours}, TFleetGroup{3, 2, sunkThrees}, TFleetGroup{2, 3, sunkTwos},
          TFleetGroup{1, 4, sunkOnes}};
}

TEST(FleetPanelLayout, ThePicturesShrinkToTheRoomAndTheLabelGoesLast) {
  // The whole fleet is 20 cells in 10 ships: 300 pixels at 12 a cell, 248 at 10, 225 at 9,
  // 150 at 6, 110 at 4; the label here is 80 wide and 6 more from the ships.
  struct TCase {
    int Available;
    int Cell;
    bool Label;
    int Width;
  };
  const TCase cases[] = {
      {1000, 12, true, 386}, {386, 12, true, 386}, {385, 10, true, 334}, {236, 6, true, 236},
      {235, 9, false, 225},  {150, 6, false, 150}, {110, 4, false, 110}, {109, 0, false, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Available);
    const TFleetPanelLayout layout = LayOutFleetPanel(Fleet(0, 0, 0, 0), c.Available, 80);
    EXPECT_EQ(layout.Cell, c.Cell);
    EXPECT_EQ(layout.Label, c.Label);
    EXPECT_EQ(layout.Width, c.Width);
    EXPECT_EQ(layout.Ships.size(), c.Cell > 0 ? 10u : 0u);
  }
}

TEST(FleetPanelLayout, EachGroupShowsItsShipsAfloatFirst) {
  const TFleetPanelLayout layout = LayOutFleetPanel(Fleet(0, 1, 2, 1), 1000, 80);
  using TShip = TFleetPanelLayout::TShip;
  // After the label: the four, then a group gap of one cell, ships four pixels apart.
  const std::vector<TShip> expected{
      {86, 4, false}, {146, 3, false}, {186, 3, true},  {234, 2, false}, {262, 2, true},
      {290, 2, true}, {326, 1, false}, {342, 1, false}, {358, 1, false}, {374, 1, true}};
  EXPECT_EQ(layout.Ships, expected);
  EXPECT_EQ(layout.Width, 386);
}

}  // namespace

}  // namespace kravelon
