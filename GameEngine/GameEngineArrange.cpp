// Where a ship may go, placing it, and the random arrangement that runs as an idle step.
#include "GameEngine/GameEngine.h"

namespace kravelon {

bool TGameEngine::CanPlace(int column, int row, int length) const {
  if (!OnBoard(column, row)) return false;
  const bool horizontal = IsHorizontal();
  if (GameRules.Touching) {
    // Ships may lie side by side: the ship's own cells alone, on the board and free.
    for (int i = 0; i < length; ++i) {
      const int c = horizontal ? column + i : column, r = horizontal ? row : row + i;
      const TCell cell = ReadCell(c, r, CurrentSide);
      if (!OnBoard(c, r) || cell.Fired == 1 || cell.Empty == 0) return false;
    }
    return true;
  }
  // The ship and a margin of one cell all round, corners included: ships never touch. The ring
  // outside the board reads as open water during placement, so a ship may lie along the edge,
  // while a ship running over the edge meets the cells further out, which always block.
  for (int i = 0; i <= length + 1; ++i) {
    for (int side = -1; side <= 1; ++side) {
      const TCell cell = horizontal ? ReadCell(column + i - 1, row + side, CurrentSide)
                                    : ReadCell(column + side, row + i - 1, CurrentSide);
      if (cell.Fired == 1 || cell.Empty == 0) return false;
    }
  }
  return true;
}

void TGameEngine::PlaceShip(int column, int row) {
  const int length = NextShipSize();
  const int shipNo = FleetShips - ShipsToPlace;
  const bool horizontal = IsHorizontal();
  for (int i = 0; i < length; ++i) {
    const TCell segment{0, 0, shipNo, i};
    if (horizontal) {
      WriteCell(column + i, row, CurrentSide, segment);
    } else {
      WriteCell(column, row + i, CurrentSide, segment);
    }
  }
  --ShipsToPlace;
  Host->ShipPlaced(ActiveSide());
  if (ShipsToPlace <= 0 && CurrentSide == sdUser) {
    CurrentSide = sdComputer;
    ShipsToPlace = FleetShips;
    Phase = 0;
    PlanPending = true;  // the computer's first arrangement step asks its level for a plan
    Log(Tr("Пользователь расставил все корабли."));
    // A remote player places its fleet where nobody here sees; the window says how it goes.
    if (!RemoteGame) Log(Tr("Компьютер расставляет корабли..."));
    Host->FleetPlaced(sdUser);
  } else if (ShipsToPlace <= 0 && CurrentSide == sdComputer) {
    BeginTurn(sdUser);
    ShipsToPlace = FleetShips;
    CurrentState = gsBattle;
    FleetPlan.reset();
    Host->FleetPlaced(sdComputer);
    Log(Tr("Компьютер расставил все корабли."));
  }
}

void TGameEngine::ArrangeStep(bool& done) {
  done = false;
  const int length = NextShipSize();
  if (length == 0) return;  // no ship left to place: nothing to arrange
  if (CurrentSide == sdComputer && PlanPending) {
    PlanPending = false;
    FleetPlan = Opponent->PlanFleet();
  }
  if (CurrentSide == sdComputer && FleetPlan && PlaceFromPlan()) return;
  switch (Phase) {
    case 0:
      TargetColumn = static_cast<std::int32_t>(Draw() % BoardSize);
      TargetRow = static_cast<std::int32_t>(Draw() % BoardSize);
      SetOrientation(Draw() % 2 != 0);
      Phase = 1;
      break;
    case 1:
      Phase = CanPlace(TargetColumn, TargetRow, length) ? 3 : 2;
      break;
    case 2:
      ToggleOrientation(CurrentSide);
      Phase = CanPlace(TargetColumn, TargetRow, length) ? 3 : 0;
      break;
    case 3:
      // The right button turns the active side's ship in every state, so the orientation may
      // have changed since the test: test again, and draw a new cell rather than overlap a ship.
      if (CanPlace(TargetColumn, TargetRow, length)) PlaceShip(TargetColumn, TargetRow);
      Phase = 0;
      break;
    default:
      break;
  }
}

// The opponent's own arrangement, a ship a step. A planned ship that does not fit (the plan
// broke the rules) drops the plan, and the rest of the fleet is arranged at random.
bool TGameEngine::PlaceFromPlan() {
  const TShipPlacement& ship = (*FleetPlan)[static_cast<std::size_t>(FleetShips - ShipsToPlace)];
  SetOrientation(ship.Horizontal);
  if (!CanPlace(ship.At.X, ship.At.Y, NextShipSize())) {
    FleetPlan.reset();
    return false;
  }
  PlaceShip(ship.At.X, ship.At.Y);
  return true;
}

}  // namespace kravelon
