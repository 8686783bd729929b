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
  const auto cell = CellAt(0, {MouseX, MouseY});
  if (!cell) return;
  const int column = cell->X, row = cell->Y;
  const bool fits = Engine->CanPlace(column, row, length);
  const TBitmap* preview = Paint->GetImage(fits ? "IM_SHIP_TEST_ON" : "IM_SHIP_TEST_OFF");
  Paint->DrawUserBoard();
  const bool horizontal = Engine->UserHorizontal != 0;
  for (int i = 0; i < length; ++i) {
    const TRect segment = CellRect(0, {column + (horizontal ? i : 0), row + (horizontal ? 0 : i)});
    const int left = segment.Left, top = segment.Top;
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
  const auto cell = CellAt(1, {MouseX, MouseY});
  if (!cell) return;
  const int column = cell->X, row = cell->Y;
  const bool hit = Engine->Fire(column, row);
  Engine->Log("Пользователь произвел выстрел в сектор " + SectorName());
  Paint->Redraw();
  if (Sound) Sound->Play("SND_SHOT");
  PlayExplosion(1, *cell);
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
