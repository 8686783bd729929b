#pragma once
// The cell the player aims at on the board being played. The pointer sets it, and so do the keys
// (and a game controller, through the same keys); placement and shots take its cell, never pixels.
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Board.h"

namespace kravelon {

// A step of the target, as the arrow keys, Home and End (with Ctrl, the corners) make it.
enum class TTargetMove { Left, Right, Up, Down, RowStart, RowEnd, FirstCorner, LastCorner };

// Where a step from `from` lands: stopped at the edges, never off the board.
TPoint StepTarget(TPoint from, TTargetMove move);

class TTarget {
 public:
  // The cell the keys start from and act at: the last one the pointer or the keys set (А1 at
  // first). It stays when the pointer leaves the board.
  TPoint Cell() const { return Current; }
  // Whether the keys set it last: its frame is shown then, and the pointer's next move over the
  // board takes it over (and the frame goes).
  bool Framed() const { return KeysDrive; }

  // The pointer over a cell of the board being played. True when the frame was up and goes.
  bool PointAt(TPoint cell) {
    Current = cell;
    const bool wasFramed = KeysDrive;
    KeysDrive = false;
    return wasFramed;
  }
  // The keys moved it: its frame shows.
  void Key(TPoint cell) {
    Current = cell;
    KeysDrive = true;
  }
  // The board being played changed (a new game, the battle, the report): no frame, the cell
  // kept for the next first step.
  void Release() { KeysDrive = false; }

 private:
  TPoint Current{0, 0};
  bool KeysDrive = false;
};

}  // namespace kravelon
