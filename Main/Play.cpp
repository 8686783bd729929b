// The user's placement and shot, the end of a game, and what the rules' events set off in the
// window: log lines, redraws, sounds, explosions, the report timer and the idle steps.
#include "Media/Layout.h"
#include "Main/Main1.h"
#include "Toolkit/Pause.h"

namespace kravelon {

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
  if (const auto cell = CellAt(1, {MouseX, MouseY})) Engine->Shoot(cell->X, cell->Y);
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

void TMain1::InstallIdle(TIdleStep step) {
  switch (step) {
    case TIdleStep::Arrange:
      Application->SetIdle([this](bool& done) {
        if (Engine) Engine->ArrangeStep(done);
      });
      break;
    case TIdleStep::ComputerTurn:
      Application->SetIdle([this](bool& done) {
        if (Engine) Engine->ComputerTurnStep(done);
      });
      break;
    case TIdleStep::None:
      Application->ClearIdle();
      break;
  }
}

// ---- The rules' events ----------------------------------------------------------------------

void TMain1::GameLogged(std::string_view line) {
  if (Consol) Consol->AddLine(line);
  // The console follows the game: its newest line comes into view.
  if (Paint) Paint->ScrollConsole(32767);
}

void TMain1::GameReset() {
  if (Sound) Sound->Stop();
  CLOCK.SetEnabled(false);
}

void TMain1::ShipPlaced(int) {
  if (Paint) Paint->Redraw();
  if (Sound) Sound->Play("SND_SETUP_SHIP");
}

void TMain1::FleetPlaced(int side) {
  if (side == sdUser) PlacementByMouse = true;
  InstallIdle(StepAfterFleet(side));
}

void TMain1::ShotFired(int shooter, TPoint cell, bool) {
  if (Paint) Paint->Redraw();
  if (Sound) Sound->Play("SND_SHOT");
  // The explosion picture is drawn up and to the left of the cell it covers.
  const TRect at = CellRect(shooter == sdUser ? sdComputer : sdUser, cell);
  if (Paint) Paint->PlayAnimation(at.Left - 8, at.Top - 30, ExplosionFrameCount, Paint->ExplosionFrames);
}

void TMain1::TurnPassed(int side) {
  InstallIdle(StepAfterTurn(side));
}

void TMain1::GameWon(int) {
  InstallIdle(TIdleStep::None);
  EndOfGame();
}

}  // namespace kravelon
