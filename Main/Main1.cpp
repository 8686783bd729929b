#include "Main/Main1.h"

#include <cstdlib>
#include <exception>
#include <memory>

#include "GameEngine/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/Geometry.h"
#include "GameEngine/Globals.h"
#include "GameEngine/Paint.h"
#include "GameEngine/ProgramPath.h"
#include "GameEngine/Sound.h"
#include "Main/Version.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/System.h"

TMain1* Main1 = nullptr;
int ScreenCenterX = 0;
int ScreenCenterY = 0;

TMain1::TMain1() : TForm("The Quorvane Consol", 408, 104) {
  Main1 = this;
  SetBorderStyle(TBorderStyle::None);
  KeyPreview = true;
  Version = GameVersion;
  OwnedEngine = std::make_unique<TGameEngine>(this);
  Engine = OwnedEngine.get();
  OwnedConsol = std::make_unique<TConsol>();
  Consol = OwnedConsol.get();
  // For the window tests: the console log can be followed from outside.
  Consol->EchoToStdout = std::getenv("KRAVELON_ECHO_CONSOLE") != nullptr;
  Consol->OnRedraw = [] {
    if (Paint) Paint->Redraw();
  };
  OwnedPaint = std::make_unique<TPaint>(*this, Version);
  Paint = OwnedPaint.get();
  OwnedBackdrop = std::make_unique<TForm>("", WindowWidth, WindowHeight);
  Backdrop = OwnedBackdrop.get();
  OwnedSound = std::make_unique<TSound>();
  Sound = OwnedSound.get();

  CLOCK.SetInterval(5000);
  SpeedButton1.Bounds = SpeedButtonRect;
  Buttons.push_back(&SpeedButton1);

  SetUpMenus();
  CLOCK.OnTimer = [this] { CLOCKTimer(); };
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };

  OnPaint = [this] { FormPaint(); };
  OnMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
  OnMouseDown = [this](TMouseButton button, int, int) { FormMouseDown(button); };
  OnMouseWheelDown = [this] { FormMouseWheelDown(); };
  OnMouseWheelUp = [this] { FormMouseWheelUp(); };
  OnKeyPress = [this](char& key) { FormKeyPress(key); };
  OnKeyDown = [this](int& key) { FormKeyDown(key); };
  OnCloseRequest = [] { Application->Terminate(); };
  OnDestroy = [this] { FormDestroy(); };
  FormCreate();
}

TMain1::~TMain1() {
  if (OnDestroy) OnDestroy();
  if (Main1 == this) Main1 = nullptr;
}

void TMain1::FormCreate() {
  DoubleBuffered = true;
  Consol->AddLine("Кравелон версия " + Version);
  if (!DirectoryExists(ProgramPath("Images"))) {
    const std::string text = "Не могу найти папку \"Images\".";
    Consol->AddLine(text);
    MessageBox(text, Application->Title, TMessageIcon::Error);
    Application->Terminate();
    return;
  }
  if (!DirectoryExists(ProgramPath("Sounds"))) {
    Consol->AddLine("Не могу найти папку \"Sounds\".");
    Consol->AddLine(
        "Звук будет отключен до тех пор, пока папка \"Sounds\" не будет восстановлена.");
    Beep();
    Sleep(3000);
  }
  Paint->ReportShown = false;
  SetSize(WindowWidth, WindowHeight);
  CenterOnScreen();
  const TPoint screen = ScreenSize();
  ScreenCenterX = screen.X / 2;
  ScreenCenterY = screen.Y / 2;
  // The board rectangles are fixed constants of the screen geometry.
  Application->SetIdle([this](bool& done) { StartConsol(done); });
}

void TMain1::StartConsol(bool& done) {
  done = false;
  // Start-up runs once: whatever it raises, the application never calls it again.
  Application->ClearIdle();
  try {
    if (!StartUp()) return;
  } catch (const std::exception& error) {
    // Whatever step failed, the player reads what it was (an unreadable picture names its file)
    // and the program ends in order; nothing may be drawn from the incomplete set.
    MessageBox(error.what(), Application->Title, TMessageIcon::Error);
    Application->Terminate();
    return;
  }
  Application->ClearIdle();
  PlacementByMouse = true;
  ReturnFreedMemory();
}

bool TMain1::StartUp() {
  SetupBackdrop();
  SetStayOnTop(true);
  if (!Paint->Initialize()) return false;
  Sound->LoadSounds();
  SetBorderStyle(TBorderStyle::None);
  const std::string cursorPath = ProgramPath("Images/CURSOR.CUR");
  const TCursorResult cursor = LoadCursorFromFile(cursorPath);
  if (cursor == TCursorResult::NotFound || cursor == TCursorResult::Refused) {
    Paint->Log("Файл \"" + cursorPath + "\" не найден.");
  }
  Consol->AddLine("Инициализация меню...");
  PrepareMenu(PopupMenu1);
  PrepareMenu(PopupMenu2);
  PrepareMenu(PopupMenu3);
  Consol->AddLine("Инициализация меню завершена.");
  Engine->NewGame();
  GraphicsReady = true;
  Paint->Redraw();
  Paint->ScrollConsole(32767);
  return true;
}

void TMain1::SetupBackdrop() {
  Backdrop->Color = clr::Black;
  Backdrop->LeaveColorToWindowSystem();
  Backdrop->SetBorderStyle(TBorderStyle::None);
  Backdrop->SetWindowState(TWindowState::Maximized);
  Backdrop->KeyPreview = true;
  Backdrop->OnKeyPress = [this](char& key) { FormKeyPress(key); };
  Backdrop->OnKeyDown = [this](int& key) { FormKeyDown(key); };
  // A window manager raises the backdrop when it is clicked: the game window comes back on top
  // with the keyboard.
  Backdrop->OnFocusGained = [this] { Raise(); };
  Backdrop->OnCloseRequest = [] { Application->Terminate(); };
  Backdrop->Show();
}

void TMain1::FormPaint() {
  if (Paint) Paint->Redraw();
}

void TMain1::FormDestroy() {
  if (Destroyed) return;
  Destroyed = true;
  CLOCK.SetEnabled(false);
  Paint = nullptr;
  OwnedPaint.reset();
  Engine = nullptr;
  OwnedEngine.reset();
  Consol = nullptr;
  OwnedConsol.reset();
  Backdrop = nullptr;
  OwnedBackdrop.reset();
  Sound = nullptr;
  OwnedSound.reset();
}


void TMain1::Redraw() {
  if (Paint) Paint->Redraw();
}

void TMain1::ScrollConsole(int line) {
  if (Paint) Paint->ScrollConsole(line);
}

void TMain1::PlaySound(std::string_view name) {
  if (Sound) Sound->Play(name);
}

void TMain1::StopSound() {
  if (Sound) Sound->Stop();
}

void TMain1::PlayExplosion(int board, TPoint cell) {
  // The explosion picture is drawn up and to the left of the cell it covers.
  const TRect at = CellRect(board, cell);
  if (Paint) Paint->PlayAnimation(at.Left - 8, at.Top - 30, ExplosionFrameCount, Paint->ExplosionFrames);
}

void TMain1::StopReportTimer() { CLOCK.SetEnabled(false); }


void TMain1::SetPlacementByMouse(bool on) { PlacementByMouse = on; }

void TMain1::InstallIdle(TIdleStep step) {
  switch (step) {
    case TIdleStep::Arrange:
      Application->SetIdle([](bool& done) {
        if (Engine) Engine->ArrangeStep(done);
      });
      break;
    case TIdleStep::ComputerTurn:
      Application->SetIdle([](bool& done) {
        if (Engine) Engine->ComputerTurnStep(done);
      });
      break;
    case TIdleStep::None:
      Application->ClearIdle();
      break;
  }
}

void TMain1::RemoveIdle() { Application->ClearIdle(); }
