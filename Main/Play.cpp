// The user's placement and shot, and the end of a game.
#include "GameEngine/GameEngine.h"
#include "GameEngine/Geometry.h"
#include "GameEngine/Globals.h"
#include "GameEngine/Paint.h"
#include "GameEngine/Sound.h"
#include "Main/Main1.h"
#include "Toolkit/System.h"

void TMain1::SetupShip(bool place) {
  if (!PlacementByMouse || !Engine || !Paint || Engine->ActiveSide == sdComputer) return;
  const int length = Engine->NextShipSize();
  if (length == 0) return;
  const int x = MouseX, y = MouseY;
  if (!UserBoardRect.StrictlyContains(x, y)) return;
  const int column = (x - UserBoardRect.Left) / CellSize;
  const int row = (y - UserBoardRect.Top) / CellSize;
  const bool fits = Engine->CanPlace(column, row, length);
  const TBitmap* preview = Paint->GetImage(fits ? "IM_SHIP_TEST_ON" : "IM_SHIP_TEST_OFF");
  Paint->DrawUserBoard();
  const bool horizontal = Engine->UserHorizontal != 0;
  for (int i = 0; i < length; ++i) {
    const int left = UserBoardRect.Left + column * CellSize + (horizontal ? i * CellSize : 0);
    const int top = UserBoardRect.Top + row * CellSize + (horizontal ? 0 : i * CellSize);
    // Segments past the board's edge are not drawn.
    if (UserBoardRect.StrictlyContains(left + 2, top + 2) && Paint->BackCanvas) {
      Paint->BackCanvas->Draw(left, top, preview);
    }
  }
  Paint->CopyToWindow(UserBoardRect);
  if (place && fits) Engine->PlaceShip(column, row);
}

void TMain1::UserShot() {
  if (!Engine || !Paint || Engine->ActiveSide == sdComputer) return;
  const int x = MouseX, y = MouseY;
  if (!ComputerBoardRect.StrictlyContains(x, y)) return;
  const int column = (x - ComputerBoardRect.Left) / CellSize;
  const int row = (y - ComputerBoardRect.Top) / CellSize;
  const bool hit = Engine->Fire(column, row);
  Engine->Log("Пользователь произвел выстрел в сектор " + SectorName());
  Paint->Redraw();
  if (Sound) Sound->Play("SND_SHOT");
  PlayExplosion(column * CellSize + ComputerBoardRect.Left - 8,
                row * CellSize + ComputerBoardRect.Top - 30);
  if (!hit) InstallIdle(TIdleStep::ComputerTurn);
}

void TMain1::EndOfGame() {
  if (!Paint) return;
  TBitmap* report = Paint->GetImage("IM_REPORT_TEXT");
  const TBitmap* blank = Paint->GetImage("IM_REPORT_BACK");
  if (report && blank) report->Assign(*blank);
  Sleep(1000);
  Paint->ReportShown = false;
  CLOCK.SetEnabled(true);
  if (Sound) {
    Sound->Stop();
    Sound->Play("SND_WIN");
  }
  Paint->Redraw();
}
