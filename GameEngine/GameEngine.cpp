#include "GameEngine/GameEngine.h"

#include <algorithm>
#include <random>
#include <string>
#include <utility>

#include "GameEngine/Board.h"

namespace kravelon {

namespace {

std::uint64_t EntropySeed() {
  std::random_device entropy;  // getrandom(2) on Linux
  return static_cast<std::uint64_t>(entropy()) << 32 | entropy();
}

}  // namespace

TGameEngine::TGameEngine(TGameHost* host, TRandomSource* random)
    : Host(host ? host : &NullHost),
      OwnRandom(random ? 0 : EntropySeed()),
      Random(random ? random : &OwnRandom) {}

void TGameEngine::Log(std::string_view text) { Host->GameLogged("Game: " + std::string(text)); }

void TGameEngine::NewGame() {
  Log(Tr("Сброс игры"));
  for (auto& column : Cells) {
    for (auto& row : column) {
      for (auto& cell : row) cell = TCell{};
    }
  }
  CurrentSide = sdUser;
  CurrentState = gsPlacing;
  ShipsToPlace = FleetShips;
  HitCount = 0;
  Step = 0;
  Log(Tr("Пользователь расставляет корабли..."));
  Afloat = ShipSizes;
  FleetSunk = 0;
  Host->GameReset();
  ShotCount = {};
  HitTally = {};
}

void TGameEngine::ToggleOrientation(int side) {
  if (side != 0) {
    ComputerAcross = !ComputerAcross;
  } else {
    UserAcross = !UserAcross;
  }
}

void TGameEngine::SetOrientation(bool horizontal) {
  if (CurrentSide != 0) {
    ComputerAcross = horizontal;
  } else {
    UserAcross = horizontal;
  }
}

void TGameEngine::StrikeSize(int size) {
  const auto entry = std::find(Afloat.begin(), Afloat.end(), size);
  if (entry != Afloat.end()) *entry = 0;
}

bool TGameEngine::CanBeLonger(int hits) const {
  return hits < *std::max_element(Afloat.begin(), Afloat.end());
}

bool TGameEngine::AllSunk(int board) const {
  if (board != 0 && board != 1) return false;
  int hits = 0;
  for (const auto& column : Cells) {
    for (const auto& row : column) hits += (row[board].Empty == 0 && row[board].Fired == 1) ? 1 : 0;
  }
  return hits == FleetSegments;
}

int TGameEngine::NextShipSize() const {
  const int index = FleetShips - ShipsToPlace;
  return (index >= 0 && index < FleetShips) ? ShipSizes[static_cast<std::size_t>(index)] : 0;
}

bool TGameEngine::Fire(int column, int row) {
  const int board = CurrentSide == sdComputer ? sdUser : sdComputer;
  TCell cell = ReadCell(column, row, board);
  // A second shot at a hit segment is a miss: only an intact segment counts.
  const bool hit = cell.Empty == 0 && cell.Fired == 0;
  cell.Fired = 1;
  WriteCell(column, row, board, cell);
  if (hit) {
    // Ships never touch at a corner, so a hit's diagonal neighbours are water. The orthogonal
    // ones may continue the ship and stay open.
    static constexpr std::pair<int, int> Diagonals[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (const auto& [dc, dr] : Diagonals) {
      TCell neighbour = ReadCell(column + dc, row + dr, board);
      neighbour.Excluded = 1;
      WriteCell(column + dc, row + dr, board, neighbour);
    }
  }
  if (AllSunk(board)) FleetSunk = 1;
  const auto shooter = static_cast<std::size_t>(CurrentSide == sdComputer ? sdComputer : sdUser);
  ++ShotCount[shooter];
  if (hit) ++HitTally[shooter];
  if (!hit) CurrentSide = board;
  return hit;
}

bool TGameEngine::Shoot(int column, int row) {
  const TSide shooter = ActiveSide();
  const bool hit = Fire(column, row);
  const std::string cell = CellName(column, row);
  Log(Fill(shooter == sdUser ? Tr("Пользователь произвел выстрел в сектор %1")
                             : Tr("Компьютер произвел выстрел в сектор %1"),
           {cell}));
  Host->ShotFired(shooter, {column, row}, hit);
  if (FleetSunk) {
    EndGame(shooter);
  } else if (!hit) {
    Host->TurnPassed(ActiveSide());
  }
  return hit;
}

void TGameEngine::EndGame(TSide winner) {
  CurrentState = gsReport;
  Host->GameWon(winner);
}

}  // namespace kravelon
