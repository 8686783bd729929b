// A game against a player across the network. The user's board is played as against the
// computer; the player's board (1) is known only from its answers: a miss is water, a hit a ship's
// cell of a ship nobody here knows yet, and "sunk" names the ship at last, as the hits in line
// with the cell that sank it.
#include <algorithm>

#include "GameEngine/GameEngine.h"

namespace kravelon {

void TGameEngine::ResetRemote() {
  RemoteGame = RemoteChosen;
  Awaited.reset();
  Answer = srMiss;
  RemoteSunk = 0;
  RemoteRevealed = false;
}

void TGameEngine::BeginRemoteBattle(bool userFirst) {
  // The user's fleet stands (the engine then waits on the other side's) and the player's is
  // committed where nobody here sees it.
  if (!RemoteGame || CurrentState != gsPlacing || CurrentSide != sdComputer) return;
  ShipsToPlace = FleetShips;
  CurrentState = gsBattle;
  BeginTurn(userFirst ? sdUser : sdComputer);
  Host->FleetPlaced(sdComputer);
}

bool TGameEngine::AimRemote(int column, int row) {
  if (!RemoteGame || CurrentState != gsBattle || CurrentSide != sdUser || Awaited) return false;
  // The protocol never lets a cell be shot twice: a second click there is no shot at all.
  if (!OnBoard(column, row) || !Sea(sdUser).Unknown(column, row)) return false;
  Awaited = TPoint{column, row};
  return true;
}

void TGameEngine::AnswerRemote(TShotResult result) {
  if (!Awaited || CurrentState != gsBattle) return;
  const TPoint cell = *Awaited;
  Awaited.reset();
  Answer = result;
  // The answer puts a ship's cell where the shot went, and the shot is fired at it as at the
  // computer's board: the same tally, turns and end of the game.
  if (result != srMiss) WriteCell(cell.X, cell.Y, sdComputer, TCell{0, 0, UnknownShip, 0});
  ShootAndTell(cell.X, cell.Y);
}

void TGameEngine::ShootRemote(int column, int row) {
  if (!RemoteGame || CurrentState != gsBattle || !OnBoard(column, row)) return;
  // The connection has checked that it is the player's turn; both sides count turns by the same
  // rules, so this only mends a count that went astray.
  if (CurrentSide != sdComputer) BeginTurn(sdComputer);
  ShootAndTell(column, row);
}

void TGameEngine::RevealAnswer(int column, int row) {
  TSeaView& sea = SeaAt(sdComputer);
  if (ReadCell(column, row, sdComputer).Empty != 0) {
    sea.Mark(column, row, smMiss);
    return;
  }
  if (Answer != srSunk) {
    sea.Mark(column, row, smHit);
    return;
  }
  // The ship that sank: this cell and the hits not sunk yet in line with it, across or down,
  // whichever holds more of them (ships that may touch can leave hits on both).
  const auto run = [&](int dc, int dr) {
    std::vector<TPoint> cells;
    for (int c = column + dc, r = row + dr; sea.At(c, r) == smHit; c += dc, r += dr)
      cells.push_back({c, r});
    return cells;
  };
  std::vector<TPoint> across = run(-1, 0), more = run(1, 0);
  across.insert(across.end(), more.begin(), more.end());
  std::vector<TPoint> down = run(0, -1);
  more = run(0, 1);
  down.insert(down.end(), more.begin(), more.end());
  std::vector<TPoint> ship = across.size() >= down.size() ? across : down;
  ship.push_back({column, row});
  std::sort(ship.begin(), ship.end(),
            [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
  const std::int32_t number = RemoteSunk++;
  for (std::size_t i = 0; i < ship.size(); ++i) {
    WriteCell(ship[i].X, ship[i].Y, sdComputer, TCell{0, 1, number, static_cast<std::int32_t>(i)});
  }
  sea.Sink(ship);
}

void TGameEngine::RevealRemoteFleet(const std::vector<TShip>& fleet) {
  if (!RemoteGame) return;
  RemoteRevealed = true;
  for (int column = 0; column < BoardSize; ++column) {
    for (int row = 0; row < BoardSize; ++row) {
      Cells[column][row][sdComputer] = TCell{1, Cells[column][row][sdComputer].Fired, 0, 0};
    }
  }
  // The ships in the order revealed; the shots fired keep their marks.
  for (std::size_t number = 0; number < fleet.size(); ++number) {
    const TShip& ship = fleet[number];
    for (int i = 0; i < ship.Length; ++i) {
      const TPoint cell = ship.Cell(i);
      if (!OnBoard(cell.X, cell.Y)) continue;
      TCell& c = Cells[cell.X][cell.Y][sdComputer];
      c = TCell{0, c.Fired, static_cast<std::int32_t>(number), i};
    }
  }
}

}  // namespace kravelon
