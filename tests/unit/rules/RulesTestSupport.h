#pragma once
// Shared pieces of the rules tests: a host that records what the engine sets off, a random
// source that plays back chosen draws, and quick ways to lay out boards.
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "GameEngine/RandomSource.h"
#include "tools/sim/IdleRun.h"
#include "Common/Types.h"

namespace kravelon {

inline void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.X << ", " << p.Y << ")"; }

struct TShot {
  int Shooter;
  TPoint Cell;
  bool Hit;
  bool operator==(const TShot&) const = default;
};
inline void PrintTo(const TShot& s, std::ostream* os) {
  *os << "{" << s.Shooter << ", (" << s.Cell.X << ", " << s.Cell.Y << "), " << s.Hit << "}";
}

// Records every event, and keeps the idle slot as the main window would.
class TRecordingHost final : public TIdleSlotHost {
 public:
  std::vector<std::string> Log;
  int GameResets = 0;
  std::vector<int> ShipsPlaced;  // the side of each ship, in order
  std::vector<int> FleetsPlaced;
  std::vector<TShot> Shots;
  std::vector<int> TurnsPassed;  // the side given the turn
  std::vector<int> Winners;

  void GameLogged(std::string_view line) override { Log.emplace_back(line); }
  void GameReset() override { ++GameResets; }
  void ShipPlaced(TSide side) override { ShipsPlaced.push_back(side); }
  void FleetPlaced(TSide side) override {
    FleetsPlaced.push_back(side);
    TIdleSlotHost::FleetPlaced(side);
  }
  void ShotFired(TSide shooter, TPoint cell, bool hit) override { Shots.push_back({shooter, cell, hit}); }
  void TurnPassed(TSide side) override {
    TurnsPassed.push_back(side);
    TIdleSlotHost::TurnPassed(side);
  }
  void GameWon(TSide winner) override {
    Winners.push_back(winner);
    TIdleSlotHost::GameWon(winner);
  }

  // The cells shot at, in order.
  std::vector<TPoint> ShotCells() const {
    std::vector<TPoint> cells;
    for (const TShot& shot : Shots) cells.push_back(shot.Cell);
    return cells;
  }
};

// Plays back the queued draws, then answers Fallback forever.
class TScriptedRandom final : public TRandomSource {
 public:
  TScriptedRandom() = default;
  TScriptedRandom(std::initializer_list<std::uint32_t> draws) : Draws(draws) {}
  void Queue(std::initializer_list<std::uint32_t> draws) { Draws.insert(Draws.end(), draws); }
  std::uint32_t Next() override {
    if (Draws.empty()) return Fallback;
    const std::uint32_t value = Draws.front();
    Draws.pop_front();
    return value;
  }
  std::deque<std::uint32_t> Draws;
  std::uint32_t Fallback = 0;
};

// Writes a ship straight onto a board, as a placement would.
inline void PutShip(TGameEngine& engine, int board, int column, int row, int length,
                    bool horizontal, int shipNo = 0) {
  for (int i = 0; i < length; ++i) {
    engine.WriteCell(horizontal ? column + i : column, horizontal ? row : row + i, board,
                     TCell{0, 0, shipNo, i, 0});
  }
}

inline void MarkFired(TGameEngine& engine, int board, int column, int row) {
  TCell cell = engine.ReadCell(column, row, board);
  cell.Fired = 1;
  engine.WriteCell(column, row, board, cell);
}

// A legal fleet: rows 0, 2 and 4, gaps of at least one cell everywhere.
struct TShipAt {
  int Column, Row, Length;
};
inline constexpr TShipAt LegalFleet[] = {{0, 0, 4}, {5, 0, 3}, {0, 2, 3}, {4, 2, 2}, {7, 2, 2},
                                         {0, 4, 2}, {3, 4, 1}, {5, 4, 1}, {7, 4, 1}, {9, 4, 1}};
inline void PutLegalFleet(TGameEngine& engine, int board) {
  int shipNo = 0;
  for (const TShipAt& s : LegalFleet)
    PutShip(engine, board, s.Column, s.Row, s.Length, true, shipNo++);
}

// Every cell of both boards, for comparing whole boards.
inline std::vector<TCell> Snapshot(const TGameEngine& engine) {
  std::vector<TCell> cells;
  for (int board = 0; board < 2; ++board) {
    for (int c = 0; c < 10; ++c) {
      for (int r = 0; r < 10; ++r) cells.push_back(engine.ReadCell(c, r, board));
    }
  }
  return cells;
}

inline bool operator==(const TCell& a, const TCell& b) {
  return a.Empty == b.Empty && a.Fired == b.Fired && a.ShipNo == b.ShipNo &&
         a.Segment == b.Segment && a.Excluded == b.Excluded;
}

}  // namespace kravelon
