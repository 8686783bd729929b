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
      Random(random ? random : &OwnRandom),
      Opponent(MakeOpponent(CurrentLevel, *Random)) {}

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
  Phase = 0;
  PlanPending = false;
  FleetPlan.reset();
  // The same computer plays on while its level stays: what it carries from game to game (the
  // captain's order of directions) goes on with it.
  if (ChosenLevel != CurrentLevel) {
    CurrentLevel = ChosenLevel;
    Opponent = MakeOpponent(CurrentLevel, *Random);
  }
  GameRules = ChosenRules;
  SalvoSize = SalvoLeft = 0;
  Opponent->NewGame(GameRules);
  ResetRemote();
  Log(Tr("Пользователь расставляет корабли..."));
  FleetSunk = 0;
  for (TSeaView& sea : Seas) sea.Clear();
  Host->GameReset();
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

bool TGameEngine::Fire(int column, int row) { return Strike(column, row) != srMiss; }

TShotResult TGameEngine::Strike(int column, int row) {
  const int board = CurrentSide == sdComputer ? sdUser : sdComputer;
  TCell cell = ReadCell(column, row, board);
  // A second shot at a hit segment is a miss: only an intact segment counts.
  const bool hit = cell.Empty == 0 && cell.Fired == 0;
  cell.Fired = 1;
  WriteCell(column, row, board, cell);
  TSeaView& sea = SeaAt(board);
  sea.CountShot(hit);
  const bool wasSunk = sea.At(column, row) == smSunk;
  Reveal(board, column, row);
  if (AllSunk(board)) FleetSunk = 1;
  const bool passes = GameRules.Salvo ? --SalvoLeft <= 0 : !hit || !GameRules.ExtraShot;
  if (passes && !FleetSunk) BeginTurn(static_cast<TSide>(board));
  if (!hit) return srMiss;
  return !wasSunk && sea.At(column, row) == smSunk ? srSunk : srHit;
}

void TGameEngine::BeginTurn(TSide side) {
  CurrentSide = side;
  // The salvo is counted as the turn begins: a ship this side lost in the other's turn is a shot
  // fewer, while a ship it sinks during its own salvo takes nothing from it.
  SalvoSize = SalvoLeft = FleetAfloat(side);
}

void TGameEngine::Reveal(int board, int column, int row) {
  const TCell cell = ReadCell(column, row, board);
  TSeaView& sea = SeaAt(board);
  if (!OnBoard(column, row) || cell.Fired == 0 || sea.At(column, row) == smSunk) return;
  if (RemoteGame && board == sdComputer) return RevealAnswer(column, row);
  if (cell.Empty != 0) {
    sea.Mark(column, row, smMiss);
    return;
  }
  // Ships are straight: the ship's cells are those of its number in line with the hit.
  std::array<TPoint, BoardSize * 2> ship{};
  std::size_t length = 0;
  ship[length++] = TPoint{column, row};
  static constexpr std::pair<int, int> Ways[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& [dc, dr] : Ways) {
    for (int c = column + dc, r = row + dr; OnBoard(c, r); c += dc, r += dr) {
      const TCell& segment = Cells[c][r][board];
      if (segment.Empty != 0 || segment.ShipNo != cell.ShipNo) break;
      if (segment.Fired == 0) {
        sea.Mark(column, row, smHit);
        return;
      }
      ship[length++] = TPoint{c, r};
    }
  }
  sea.Sink({ship.data(), length});
}

bool TGameEngine::Shoot(int column, int row) { return ShootAndTell(column, row) != srMiss; }

TShotResult TGameEngine::ShootAndTell(int column, int row) {
  const TSide shooter = ActiveSide();
  const TShotResult result = Strike(column, row);
  const bool hit = result != srMiss;
  const std::string cell = CellName(column, row);
  Log(Fill(shooter == sdUser ? Tr("Пользователь произвел выстрел в сектор %1")
           : RemoteGame       ? Tr("Соперник произвел выстрел в сектор %1")
                              : Tr("Компьютер произвел выстрел в сектор %1"),
           {cell}));
  Host->ShotFired(shooter, {column, row}, hit);
  if (FleetSunk) {
    EndGame(shooter);
  } else if (ActiveSide() != shooter) {
    Host->TurnPassed(ActiveSide());
  }
  return result;
}

void TGameEngine::EndGame(TSide winner) {
  CurrentState = gsReport;
  Host->GameWon(winner);
}

std::string SalvoStatus(const TGameEngine& engine) {
  if (!engine.Rules().Salvo || engine.State() != gsBattle) return "";
  return SalvoText(engine.SalvoShotsLeft(), engine.SalvoShots());
}

std::vector<TShip> FleetOnBoard(const TGameEngine& engine, int board) {
  std::vector<TShip> fleet;
  for (int row = 0; row < BoardSize; ++row) {
    for (int column = 0; column < BoardSize; ++column) {
      const TCell cell = engine.ReadCell(column, row, board);
      if (cell.Empty != 0 || cell.Segment != 0) continue;
      // A ship's segments carry its number; the bow is segment 0, the next one lies beside it.
      const auto same = [&](int c, int r) {
        const TCell next = engine.ReadCell(c, r, board);
        return next.Empty == 0 && next.ShipNo == cell.ShipNo && next.Segment == 1;
      };
      TShip ship{column, row, true, 1};
      if (same(column + 1, row)) {
        ship.Horizontal = true;
      } else if (same(column, row + 1)) {
        ship.Horizontal = false;
      }
      while (ship.Length < BoardSize) {
        const TPoint next = ship.Cell(ship.Length);
        const TCell c = engine.ReadCell(next.X, next.Y, board);
        if (c.Empty != 0 || c.ShipNo != cell.ShipNo || c.Segment != ship.Length) break;
        ++ship.Length;
      }
      fleet.push_back(ship);
    }
  }
  return fleet;
}

}  // namespace kravelon
