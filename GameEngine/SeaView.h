#pragma once
// What a shooter has learnt of the board it fires at: the result of each of its shots and the
// ships it has sunk, nothing else. A computer level reads the sea through this alone, so it
// cannot know where a ship lies before its shots find it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "Common/Types.h"
#include "GameEngine/Board.h"
#include "GameEngine/Fleet.h"

namespace kravelon {

// A cell as the shooter knows it: not fired at, water, a hit of a ship still afloat, a sunk ship.
enum TSeaMark : std::uint8_t { smUnknown = 0, smMiss, smHit, smSunk };

// What one shot did.
enum TShotResult : std::uint8_t { srMiss = 0, srHit, srSunk };

class TSeaView {
 public:
  // Off the board there is nothing to find: it reads as a miss.
  TSeaMark At(int column, int row) const {
    return OnBoard(column, row)
               ? Marks[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]
               : smMiss;
  }
  bool Unknown(int column, int row) const { return At(column, row) == smUnknown; }
  // A hit or a sunk ship: a ship's cell, found.
  bool Found(int column, int row) const { return At(column, row) >= smHit; }
  // Every cell at once, [row][column], for a level that reads the whole board at every shot.
  const auto& Cells() const { return Marks; }
  int Shots() const { return ShotCount; }
  int Hits() const { return HitCount; }
  // The sizes of the ships sunk, in the order they went down.
  std::span<const std::int32_t> Sunk() const { return {SunkSizes.data(), SunkCount}; }

  static bool OnBoard(int column, int row) {
    return static_cast<unsigned>(column) < BoardSize && static_cast<unsigned>(row) < BoardSize;
  }

  // The referee's side: the engine writes here what each shot found.
  void Clear() { *this = TSeaView{}; }
  void CountShot(bool hit) {
    ++ShotCount;
    if (hit) ++HitCount;
  }
  void Mark(int column, int row, TSeaMark mark) {
    if (OnBoard(column, row))
      Marks[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = mark;
  }
  // A ship went down: its cells read as sunk, and its size joins the list.
  void Sink(std::span<const TPoint> cells) {
    for (const TPoint& cell : cells) Mark(cell.X, cell.Y, smSunk);
    if (SunkCount < SunkSizes.size())
      SunkSizes[SunkCount++] = static_cast<std::int32_t>(cells.size());
  }

 private:
  friend struct TGameEngineProbe;

  std::array<std::array<TSeaMark, BoardSize>, BoardSize> Marks{};  // [row][column]
  std::int32_t ShotCount = 0;
  std::int32_t HitCount = 0;
  std::array<std::int32_t, FleetShips> SunkSizes{};
  std::size_t SunkCount = 0;
};

}  // namespace kravelon
