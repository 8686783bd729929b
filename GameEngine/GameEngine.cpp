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
