// The main window's input: mouse, wheel, keys and the report timer, dispatched by game state.
#include <algorithm>
#include <optional>

#include "Common/Text.h"
#include "Media/Layout.h"
#include "Main/Main1.h"
#include "Toolkit/Keys.h"
#include "Toolkit/MessageBox.h"

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
  // On the board being played the pointer takes the target over: the keys' frame goes.
  const int board = PlayedBoard();
  if (const auto cell = board >= 0 ? SectorAt(board, {x, y}) : std::nullopt) {
    // A new cell is said, a move within one is not.
    if (*cell != Target.Cell() && Speaks()) Narrator->Focus(CellSpeech(*Engine, board, *cell));
    if (Target.PointAt(*cell)) Paint->HideTarget();
  }
  if (Engine->State() != gsReport && Paint->IsGraphicsReady()) {
    ShowStatus(SectorName());
  }
  // The about screen covers the board: no preview is drawn over it.
  if (Engine->State() == gsPlacing && !Paint->AboutShown()) SetupShip(PointerCell(), false);
}

void TMain1::ShowStatus(const std::string& sector) {
  if (!Paint || !Engine || !Paint->IsGraphicsReady()) return;
  StatusSector = sector;
  // The shots left count only while the user fires them.
  const std::string salvo = Engine->ActiveSide() == sdUser ? SalvoStatus(*Engine) : "";
  Paint->SetStatusText(StatusLine(sector, salvo));
}

std::optional<TPoint> TMain1::PointerCell() const {
  return CellAt(Engine && Engine->State() == gsBattle ? 1 : 0, {MouseX, MouseY});
}

void TMain1::FormMouseDown(TMouseButton button) {
  Press(button, PointerCell(), TPoint{MouseX, MouseY});
}

void TMain1::Press(TMouseButton button, std::optional<TPoint> cell, std::optional<TPoint> pointer) {
  if (!Engine || !Paint) return;
  if (button == TMouseButton::Right) Engine->ToggleOrientation(Engine->ActiveSide());
  // A click on the about screen only takes it down; the game behind it goes on as it was.
  if (Paint->AboutShown()) {
    CloseAbout();
    return;
  }
  if (Engine->State() == gsPlacing) SetupShip(cell, button == TMouseButton::Left);
  if (Engine->State() == gsBattle) {
    UserShot(cell);  // the rules end the game themselves when this shot sinks the last ship
    return;
  }
  if (Engine->State() != gsReport) return;
  // Any button takes the final boards back to the report; on the report, the line that offers
  // them shows them, and anywhere else the game-over menu opens.
  if (Paint->FinalBoardsShown()) {
    ShowFinalBoards(false);
  } else if (pointer && Paint->ReportPanelShown() && Paint->ReportBoardsLine().Contains(*pointer)) {
    ShowFinalBoards(true);
  } else if (Paint->ReportPanelShown()) {
    ShowMenu(Menus.GameOverMenu);
  }
}

void TMain1::ShowFinalBoards(bool shown) {
  if (!Engine || !Paint || Engine->State() != gsReport || Paint->AboutShown()) return;
  if (Paint->FinalBoardsShown() == shown) return;
  Paint->ShowFinalBoards(shown);
  Paint->Redraw();
  if (!Speaks()) return;
  if (shown) {
    Narrator->Focus(RevealSpeech(*Engine));
  } else if (Paint->ReportPanelShown()) {
    Narrator->Focus(Paint->ReportResult());
  }
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
  } else if (Paint->FinalBoardsShown()) {
    ShowFinalBoards(false);
  } else {
    ShowMenu(CurrentMenu());
  }
}

void TMain1::FormKeyDown(int& key) {
  if (!Paint || !Engine) return;
  switch (key) {
    case VK_PRIOR: Paint->ScrollConsoleBy(-2); break;
    case VK_NEXT: Paint->ScrollConsoleBy(2); break;
    case VK_F1: ShowKeys(); break;
    case VK_F3: ShowMenu(Menus.GameMenu); break;
    case VK_F2:
      if (Speaks()) Narrator->Focus(FleetSpeech(*Engine));
      break;
    case VK_TAB: ShowFinalBoards(!Paint->FinalBoardsShown()); break;
    case VK_APPS: MenuButtonClick(); break;
    case 'S':
      if (ControlHeld()) ToggleSpeech();
      break;
    // The buttons, at the target: the left one places or fires, the right one turns the ship.
    case VK_SPACE:
    case VK_RETURN: Press(TMouseButton::Left, KeyCell()); break;
    case 'R': Press(TMouseButton::Right, KeyCell()); break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END: MoveTarget(key); break;
    default: break;
  }
}

int TMain1::PlayedBoard() const {
  if (!Engine || !Paint || Paint->AboutShown()) return -1;
  // Keys typed while the computer places or shoots do nothing, as clicks do; nor do they while
  // the user's shot waits for the network player's answer.
  if (Engine->ActiveSide() != sdUser || Engine->AwaitedShot()) return -1;
  if (Engine->State() == gsPlacing) return 0;
  if (Engine->State() == gsBattle) return 1;
  return -1;
}

std::optional<TPoint> TMain1::KeyCell() const {
  // Where the keys act: the target while the keys drive it; otherwise the pointer's cell, as a
  // click there would.
  if (Target.Framed() && PlayedBoard() >= 0) return Target.Cell();
  return PointerCell();
}

void TMain1::MoveTarget(int key) {
  const int board = PlayedBoard();
  if (board < 0) return;
  std::optional<TTargetMove> move;
  switch (key) {
    case VK_LEFT: move = TTargetMove::Left; break;
    case VK_RIGHT: move = TTargetMove::Right; break;
    case VK_UP: move = TTargetMove::Up; break;
    case VK_DOWN: move = TTargetMove::Down; break;
    case VK_HOME: move = ControlHeld() ? TTargetMove::FirstCorner : TTargetMove::RowStart; break;
    case VK_END: move = ControlHeld() ? TTargetMove::LastCorner : TTargetMove::RowEnd; break;
    default: return;
  }
  // With no target to be seen, the first arrow only shows it where it was last.
  const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  const bool seen = Target.Framed() || SectorAt(board, {MouseX, MouseY}).has_value();
  SetTarget(seen || !arrow ? StepTarget(Target.Cell(), *move) : Target.Cell());
}

void TMain1::SetTarget(TPoint cell) {
  const int board = PlayedBoard();
  if (board < 0) return;
  // The cells, the preview and the status line change together: one update of the screen.
  const TPaint::TOneUpdate once(*Paint);
  Target.Key(cell);
  Paint->ShowTarget(board, cell);
  if (Speaks()) Narrator->Focus(CellSpeech(*Engine, board, cell));
  ShowStatus(CellName(cell.X, cell.Y));
  if (Engine->State() == gsPlacing) SetupShip(cell, false);
}

void TMain1::ForgetTarget() {
  Target.Release();
  if (Paint) Paint->HideTarget();
}

void TMain1::PointerBack(std::optional<TPoint> before) {
  const std::optional<TPoint> now = PointerPosition();
  if (now && now != before) FormMouseMove(now->X, now->Y);
}

void TMain1::ShowKeys() {
  const std::optional<TPoint> pointer = PointerPosition();
  // One text a line, so that a new key is one more line in the catalogue.
  const char* lines[] = {
      Tr("Стрелки: выбрать сектор"),
      Tr("Home, End: первый или последний сектор в строке"),
      Tr("Ctrl+Home, Ctrl+End: углы поля"),
      Tr("Пробел или Enter: поставить корабль, выстрелить"),
      Tr("R: повернуть корабль"),
      Tr("Esc: меню"),
      Tr("Page Up, Page Down: листать журнал"),
      Tr("F1: эта справка"),
      Tr("Ctrl+S: включить или выключить речь"),
      Tr("F2: сводка флотов вслух"),
      Tr("F3 или кнопка «ИГРА»: меню игры (противник)"),
      Tr("Tab после игры: поля с ненайденными кораблями противника"),
      Tr("Справа в строке состояния: флот противника, потопленные зачёркнуты"),
      Tr("Геймпад: крестовина или левый стик: выбрать сектор"),
      Tr("Геймпад: A: пробел, B: Esc, Y: R, X: F2"),
      Tr("Геймпад: Start: меню, Back: F1, LB: Tab, RB: F3"),
  };
  std::string text;
  for (const char* line : lines) text += (text.empty() ? "" : "\r\n") + std::string(line);
  MessageBox(text, Application->Title, TMessageIcon::Information);
  PointerBack(pointer);
}

void TMain1::MenuButtonClick() {
  if (!Engine || !Paint) return;
  ShowMenu(CurrentMenu());
}

void TMain1::GameMenuButtonClick() {
  if (!Engine || !Paint) return;
  ShowMenu(Menus.GameMenu);
}

// The game-over menu on the report; the main menu everywhere else, the about screen included.
TPopupMenu& TMain1::CurrentMenu() {
  const bool report = Engine->State() == gsReport && !Paint->AboutShown();
  return report ? Menus.GameOverMenu : Menus.MainMenu;
}

void TMain1::CloseAbout() {
  Paint->ShowAbout(false);
  Paint->Redraw();
  // The preview comes back where the pointer (or the keys' target) is now.
  if (Engine && Engine->State() == gsPlacing) SetupShip(KeyCell(), false);
}

void TMain1::CloseAboutIfShown() {
  if (Paint && Paint->AboutShown()) CloseAbout();
}

void TMain1::ReportTimerTick() {
  if (!Paint) return;
  if (Paint->ReportPanelShown()) {
    Paint->DrawReportText();
    if (Narrator) Narrator->Message(Paint->ReportResult());
    ReportTimer.SetEnabled(false);
  }
  ReportTimer.SetInterval(1000);
  Paint->ShowReportPanel();
  Paint->Redraw();
}

}  // namespace kravelon
