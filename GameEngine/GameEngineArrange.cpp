// Where a ship may go, placing it, and the random arrangement that runs as an idle step.
#include "GameEngine/GameEngine.h"

namespace kravelon {

bool TGameEngine::CanPlace(int column, int row, int length) const {
  if (!OnBoard(column, row)) return false;
  const bool horizontal = IsHorizontal();
  // The ship and a margin of one cell all round, corners included: ships never touch. The ring
  // outside the board reads as open water during placement, so a ship may lie along the edge,
  // while a ship running over the edge meets the cells further out, which always block.
  for (int i = 0; i <= length + 1; ++i) {
    for (int side = -1; side <= 1; ++side) {
      const TCell cell = horizontal ? ReadCell(column + i - 1, row + side, ActiveSide)
                                    : ReadCell(column + side, row + i - 1, ActiveSide);
      if (cell.Fired == 1 || cell.Empty == 0) return false;
    }
  }
  return true;
}

void TGameEngine::PlaceShip(int column, int row) {
  const int length = NextShipSize();
  const int shipNo = FleetShips - ShipsLeft;
  const bool horizontal = IsHorizontal();
  for (int i = 0; i < length; ++i) {
    const TCell segment{0, 0, shipNo, i, 0};
    if (horizontal) {
      WriteCell(column + i, row, ActiveSide, segment);
    } else {
      WriteCell(column, row + i, ActiveSide, segment);
    }
  }
  --ShipsLeft;
  Host->ShipPlaced(ActiveSide);
  if (ShipsLeft <= 0 && ActiveSide == sdUser) {
    ActiveSide = sdComputer;
    ShipsLeft = FleetShips;
    AiStep = 0;
    Log("Пользователь расставил все корабли.");
    Log("Компьютер расставляет корабли...");
    Host->FleetPlaced(sdUser);
  } else if (ShipsLeft <= 0 && ActiveSide == sdComputer) {
    ActiveSide = sdUser;
    ShipsLeft = FleetShips;
    State = gsBattle;
    Host->FleetPlaced(sdComputer);
    Log("Компьютер расставил все корабли.");
  }
}

void TGameEngine::ArrangeStep(bool& done) {
  done = false;
  const int length = NextShipSize();
  if (length == 0) return;  // no ship left to place: nothing to arrange
  switch (AiStep) {
    case 0:
      TargetColumn = static_cast<std::int32_t>(Draw() % BoardSize);
      TargetRow = static_cast<std::int32_t>(Draw() % BoardSize);
      SetOrientation(Draw() % 2 != 0);
      AiStep = 1;
      break;
    case 1:
      AiStep = CanPlace(TargetColumn, TargetRow, length) ? 3 : 2;
      break;
    case 2:
      ToggleOrientation(ActiveSide);
      AiStep = CanPlace(TargetColumn, TargetRow, length) ? 3 : 0;
      break;
    case 3:
      // The right button turns the active side's ship in every state, so the orientation may
      // have changed since the test: test again, and draw a new cell rather than overlap a ship.
      if (CanPlace(TargetColumn, TargetRow, length)) PlaceShip(TargetColumn, TargetRow);
      AiStep = 0;
      break;
    default:
      break;
  }
}

}  // namespace kravelon
