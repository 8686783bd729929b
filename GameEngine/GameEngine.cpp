#include "GameEngine/GameEngine.h"

#include <string>

#include "GameEngine/Consol.h"
#include "GameEngine/Globals.h"

TGameEngine::TGameEngine(TGameHost* host) : Host(host ? host : &NullHost) {}

void TGameEngine::Log(std::string_view text) {
  if (Consol) Consol->AddLine("Game: " + std::string(text));
  Host->ScrollConsole(32767);
}

void TGameEngine::NewGame() {
  Log("Сброс игры");
  ActiveSide = sdUser;
  State = gsPlacing;
  ShipsLeft = 10;
  Log("Пользователь расставляет корабли...");
  GameOver = 0;
  Host->StopSound();
  Host->StopReportTimer();
}

void TGameEngine::ToggleOrientation(int side) {
  if (side != 0) {
    ComputerHorizontal = !ComputerHorizontal;
  } else {
    UserHorizontal = !UserHorizontal;
  }
}

TCell TGameEngine::ReadCell(int column, int row, int board) const {
  if (board < 0 || board > 1 || column < 0 || column > 9 || row < 0 || row > 9) return TCell{1, 1};
  return Cells[column][row][board];
}
