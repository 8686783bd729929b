// The main window's input: mouse, wheel, keys and the report timer, dispatched by game state.
#include "Media/Layout.h"
#include "Main/Main1.h"
#include "Toolkit/Keys.h"

namespace kravelon {

std::string TMain1::SectorName() const {
  for (int board : {0, 1}) {
    if (const auto cell = SectorAt(board, {MouseX, MouseY})) return CellName(cell->X, cell->Y);
  }
  return "";
}

void TMain1::FormMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
  if (!Engine || !Paint) return;
  if (Engine->State != gsReport && GraphicsReady) Paint->SetStatusText("Сектор: " + SectorName());
  if (Engine->State == gsPlacing) SetupShip(false);
}

void TMain1::FormMouseDown(TMouseButton button) {
  if (!Engine || !Paint) return;
  if (button == TMouseButton::Right) Engine->ToggleOrientation(Engine->ActiveSide);
  if (Engine->State == gsPlacing) SetupShip(button == TMouseButton::Left);
  if (Engine->State == gsBattle) {
    UserShot();  // the rules end the game themselves when this shot sinks the last ship
    Paint->Redraw();
    return;
  }
  if (Engine->State == gsReport && Paint->ReportShown) ShowMenu(PopupMenu3);
  if (Engine->State == gsAbout) {
    Engine->State = SavedState;
    Paint->Redraw();
  }
}

void TMain1::FormMouseWheelDown() {
  if (Paint) Paint->ScrollConsole(Paint->ConsoleEnd + 4);
}

void TMain1::FormMouseWheelUp() {
  if (Paint) Paint->ScrollConsole(Paint->ConsoleEnd - 4);
}

void TMain1::FormKeyPress(char& key) {
  if (key != VK_ESCAPE_CHAR || !Engine) return;
  if (Engine->State == gsAbout) {
    Engine->State = SavedState;
    if (Paint) Paint->Redraw();
  } else {
    ShowMenu(Engine->State == gsReport ? PopupMenu3 : PopupMenu1);
  }
}

void TMain1::FormKeyDown(int& key) {
  if (!Paint) return;
  if (key == VK_PRIOR) Paint->ScrollConsole(Paint->ConsoleEnd - 2);
  if (key == VK_NEXT) Paint->ScrollConsole(Paint->ConsoleEnd + 2);
}

void TMain1::SpeedButton1Click() {
  if (!Engine) return;
  ShowMenu(Engine->State == gsReport ? PopupMenu3 : PopupMenu1);
}

void TMain1::CLOCKTimer() {
  if (!Paint) return;
  if (Paint->ReportShown) {
    Paint->DrawReportText();
    CLOCK.SetEnabled(false);
  }
  CLOCK.SetInterval(1000);
  Paint->ReportShown = true;
  Paint->Redraw();
}

}  // namespace kravelon
