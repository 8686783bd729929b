// The main window's input: mouse, wheel, keys and the report timer, dispatched by game state.
#include "Media/Layout.h"
#include "Main/Main1.h"

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
  if (Engine->State != gsReport && Paint->IsGraphicsReady()) Paint->SetStatusText("Сектор: " + SectorName());
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
  if (Engine->State == gsReport && Paint->ReportPanelShown()) ShowMenu(Menus.GameOverMenu);
  if (Engine->State == gsAbout) {
    Engine->State = SavedState;
    Paint->Redraw();
  }
}

void TMain1::FormMouseWheelDown() {
  if (Paint) Paint->ScrollConsoleBy(4);
}

void TMain1::FormMouseWheelUp() {
  if (Paint) Paint->ScrollConsoleBy(-4);
}

void TMain1::FormKeyPress(char& key) {
  if (key != VK_ESCAPE_CHAR || !Engine) return;
  if (Engine->State == gsAbout) {
    Engine->State = SavedState;
    if (Paint) Paint->Redraw();
  } else {
    ShowMenu(Engine->State == gsReport ? Menus.GameOverMenu : Menus.MainMenu);
  }
}

void TMain1::FormKeyDown(int& key) {
  if (!Paint) return;
  if (key == VK_PRIOR) Paint->ScrollConsoleBy(-2);
  if (key == VK_NEXT) Paint->ScrollConsoleBy(2);
}

void TMain1::MenuButtonClick() {
  if (!Engine) return;
  ShowMenu(Engine->State == gsReport ? Menus.GameOverMenu : Menus.MainMenu);
}

void TMain1::ReportTimerTick() {
  if (!Paint) return;
  if (Paint->ReportPanelShown()) {
    Paint->DrawReportText();
    ReportTimer.SetEnabled(false);
  }
  ReportTimer.SetInterval(1000);
  Paint->ShowReportPanel();
  Paint->Redraw();
}

}  // namespace kravelon
