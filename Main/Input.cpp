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
  if (Engine->State() != gsReport && Paint->IsGraphicsReady()) {
    Paint->SetStatusText("Сектор: " + SectorName());
  }
  // The about screen covers the board: no preview is drawn over it.
  if (Engine->State() == gsPlacing && !Paint->AboutShown()) SetupShip(false);
}

void TMain1::FormMouseDown(TMouseButton button) {
  if (!Engine || !Paint) return;
  if (button == TMouseButton::Right) Engine->ToggleOrientation(Engine->ActiveSide());
  // A click on the about screen only takes it down; the game behind it goes on as it was.
  if (Paint->AboutShown()) {
    CloseAbout();
    return;
  }
  if (Engine->State() == gsPlacing) SetupShip(button == TMouseButton::Left);
  if (Engine->State() == gsBattle) {
    UserShot();  // the rules end the game themselves when this shot sinks the last ship
    Paint->Redraw();
    return;
  }
  if (Engine->State() == gsReport && Paint->ReportPanelShown()) ShowMenu(Menus.GameOverMenu);
}

void TMain1::FormMouseWheelDown() {
  if (Paint) Paint->ScrollConsoleBy(4);
}

void TMain1::FormMouseWheelUp() {
  if (Paint) Paint->ScrollConsoleBy(-4);
}

void TMain1::FormKeyPress(char& key) {
  if (key != VK_ESCAPE_CHAR || !Engine || !Paint) return;
  if (Paint->AboutShown()) {
    CloseAbout();
  } else {
    ShowMenu(CurrentMenu());
  }
}

void TMain1::FormKeyDown(int& key) {
  if (!Paint) return;
  if (key == VK_PRIOR) Paint->ScrollConsoleBy(-2);
  if (key == VK_NEXT) Paint->ScrollConsoleBy(2);
}

void TMain1::MenuButtonClick() {
  if (!Engine || !Paint) return;
  ShowMenu(CurrentMenu());
}

// The game-over menu on the report; the main menu everywhere else, the about screen included.
TPopupMenu& TMain1::CurrentMenu() {
  const bool report = Engine->State() == gsReport && !Paint->AboutShown();
  return report ? Menus.GameOverMenu : Menus.MainMenu;
}

void TMain1::CloseAbout() {
  Paint->ShowAbout(false);
  Paint->Redraw();
}

void TMain1::CloseAboutIfShown() {
  if (Paint && Paint->AboutShown()) CloseAbout();
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
