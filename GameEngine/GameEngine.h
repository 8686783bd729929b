#pragma once
// The game engine: both boards, the game state and the rules. No SDL, no drawing: whatever the
// rules set off outside goes through TGameHost.
#include <cstdint>
#include <string_view>

#include "GameEngine/GameHost.h"

enum TGameState : std::int32_t { gsPlacing = 1, gsBattle = 2, gsReport = 3, gsAbout = 4 };
enum TSide : std::int32_t { sdUser = 0, sdComputer = 1 };

struct TCell {
  std::uint8_t Empty = 1;
  std::uint8_t Fired = 0;
  std::int32_t ShipNo = 0;
  std::int32_t Segment = 0;
  std::int32_t Excluded = 0;
};

class TGameEngine {
 public:
  explicit TGameEngine(TGameHost* host = nullptr);

  void NewGame();
  void Log(std::string_view text);
  void ToggleOrientation(int side);
  TCell ReadCell(int column, int row, int board) const;

  std::int32_t ActiveSide = sdUser;
  std::int32_t State = gsPlacing;
  std::int32_t ShipsLeft = 10;
  std::uint8_t UserHorizontal = 0;
  std::uint8_t ComputerHorizontal = 0;
  std::uint8_t GameOver = 0;

 private:
  TCell Cells[10][10][2];
  TGameHost* Host;
  TNullGameHost NullHost;
};
