#pragma once
// Shared pieces of the rules tests: a host that records what the engine sets off, a random
// source that plays back chosen draws, and quick ways to lay out boards.
#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Common/Types.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/GameEngineProbe.h"
#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"
#include "tools/sim/IdleRun.h"

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
                     TCell{0, 0, shipNo, i});
  }
}

// Fires at a cell without a shot: the board marks it, and the side shooting at that board knows
// what it found, as after a shot of its own.
inline void MarkFired(TGameEngine& engine, int board, int column, int row) {
  TCell cell = engine.ReadCell(column, row, board);
  cell.Fired = 1;
  engine.WriteCell(column, row, board, cell);
  Probe(engine).Reveal(board, column, row);
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

// A whole fleet, numbered in placement order.
inline void PutFleet(TGameEngine& engine, int board, const TFleetPlan& fleet) {
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    PutShip(engine, board, fleet[i].At.X, fleet[i].At.Y, ShipSizes[i], fleet[i].Horizontal,
            static_cast<int>(i));
  }
}

// Ten straight ships of the fleet's sizes, numbered in placement order with segments counted
// from the first cell, and no two ships touching, not even at a corner, unless `touching` allows.
inline ::testing::AssertionResult FleetIsLegal(const TGameEngine& engine, int board,
                                               bool touching = false) {
  std::array<std::vector<TPoint>, 10> ships;
  int segments = 0;
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) {
      const TCell cell = engine.ReadCell(c, r, board);
      if (cell.Empty != 0) continue;
      ++segments;
      if (cell.ShipNo < 0 || cell.ShipNo > 9)
        return ::testing::AssertionFailure() << "ship number " << cell.ShipNo;
      ships[static_cast<std::size_t>(cell.ShipNo)].push_back({c, r});
      for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
          const TCell near = engine.ReadCell(c + dc, r + dr, board);
          if (!touching && c + dc >= 0 && c + dc <= 9 && r + dr >= 0 && r + dr <= 9 &&
              near.Empty == 0 && near.ShipNo != cell.ShipNo) {
            return ::testing::AssertionFailure()
                   << "ships " << cell.ShipNo << " and " << near.ShipNo << " touch";
          }
        }
      }
    }
  }
  if (segments != 20) return ::testing::AssertionFailure() << segments << " segments";
  for (int no = 0; no < 10; ++no) {
    const std::vector<TPoint>& cells = ships[static_cast<std::size_t>(no)];  // column-major order
    if (static_cast<int>(cells.size()) != TGameEngine::ShipSizes[static_cast<std::size_t>(no)]) {
      return ::testing::AssertionFailure() << "ship " << no << " has " << cells.size() << " cells";
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const bool inLine =
          (cells[i].X == cells[0].X + static_cast<int>(i) && cells[i].Y == cells[0].Y) ||
          (cells[i].X == cells[0].X && cells[i].Y == cells[0].Y + static_cast<int>(i));
      if (!inLine ||
          engine.ReadCell(cells[i].X, cells[i].Y, board).Segment != static_cast<int>(i)) {
        return ::testing::AssertionFailure() << "ship " << no << " is broken at segment " << i;
      }
    }
  }
  return ::testing::AssertionSuccess();
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
  return a.Empty == b.Empty && a.Fired == b.Fired && a.ShipNo == b.ShipNo && a.Segment == b.Segment;
}

}  // namespace kravelon
