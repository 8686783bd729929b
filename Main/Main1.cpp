#include "Main/Main1.h"

#include "Common/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "Media/Language.h"
#include "Media/Layout.h"
#include "Platform/ProgramPath.h"
#include "Main/Version.h"
#include "Audio/Audio.h"
#include "Toolkit/Application.h"
#include "Toolkit/Cursor.h"
#include "Platform/Errors.h"
#include "Platform/Files.h"
#include "Platform/Memory.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Pause.h"
#include "Toolkit/Screen.h"

namespace kravelon {

TMain1::TMain1(TMainOptions options)
    : TForm("The Quorvane Consol", 408, 104), Options(std::move(options)) {
  SetBorderStyle(TBorderStyle::None);
  KeyPreview = true;
  Version = GameVersion;
  // For the window tests: the same seed, the same game.
  if (const char* seed = std::getenv("KRAVELON_SEED"); seed && *seed) {
    SeededRandom = std::make_unique<TPcg32>(std::strtoull(seed, nullptr, 10));
  }
  Engine = std::make_unique<TGameEngine>(this, SeededRandom.get());
  Consol = std::make_unique<TConsol>();
  // For the window tests: the console log can be followed from outside.
  Consol->EchoToStdout = std::getenv("KRAVELON_ECHO_CONSOLE") != nullptr;
  Consol->OnRedraw = [this] {
    if (Paint) Paint->Redraw();
  };
  Paint = std::make_unique<TPaint>(*this, Version, *Engine, *Consol);
  Narrator = std::make_unique<TNarrator>(
      Options.Speech, Options.Language,
      [this](const std::string& line) {
        Consol->AddLine(line);
        if (Paint) Paint->ScrollConsole(32767);
      },
      [](std::function<void()> work) { return TApplication::Post(std::move(work)); });
  Consol->OnLine = [this](std::string_view line) {
    if (SpeakConsole && Narrator) Narrator->Line(line);
  };
  SpokenBoxes = TMessageBoxWatch([this](const std::string& text, const std::string&) {
    if (Narrator) Narrator->Message(text);
  });
  // The window tests read every box's text where they read the console.
  if (Consol->EchoToStdout) {
    EchoedBoxes = TMessageBoxWatch([](const std::string& text, const std::string&) {
      for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::printf("Box: %.*s\n", static_cast<int>(end - start), text.data() + start);
        start = end + 1;
      }
      std::fflush(stdout);
    });
  }
  if (!Options.Windowed) Backdrop = std::make_unique<TForm>("", WindowWidth, WindowHeight);
  Sound = std::make_unique<TSound>(*Consol);

  ReportTimer.SetInterval(5000);
  MenuButton.Bounds = MenuButtonRect;
  Buttons.push_back(&MenuButton);
  GameMenuButton.Bounds = GameMenuButtonRect;
  Buttons.push_back(&GameMenuButton);

  SetUpMenus();
  Menus.SoundItem.Checked = Options.SoundOn;
  Engine->SetLevel(Options.Level);
  Menus.TickLevel(Options.Level);
  Engine->SetRules(Options.Rules);
  Menus.TickRules(Options.Rules);
  ReportTimer.OnTimer = [this] { ReportTimerTick(); };
  NetTimer.OnTimer = [this] {
    NetTimer.SetEnabled(false);
    HandleNetEvents();
  };
  JoinTimer.OnTimer = [this] {
    // Not over a menu or a box: the menu of games comes once they have closed.
    if (Application->InModal()) return;
    JoinTimer.SetEnabled(false);
    ShowFoundGames();
  };
  MenuButton.OnClick = [this] { MenuButtonClick(); };
  GameMenuButton.OnClick = [this] { GameMenuButtonClick(); };

  OnPaint = [this] { FormPaint(); };
  OnMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
  OnMouseDown = [this](TMouseButton button, int, int) { FormMouseDown(button); };
  OnMouseWheelDown = [this] { FormMouseWheelDown(); };
  OnMouseWheelUp = [this] { FormMouseWheelUp(); };
  OnKeyPress = [this](char& key) { FormKeyPress(key); };
  OnKeyDown = [this](int& key) { FormKeyDown(key); };
  OnCloseRequest = [] { Application->Terminate(); };
  try {
    PrepareStartUp();
  } catch (const TFileError& error) {
    AbandonStartUp(error);
  }
}

TMain1::~TMain1() { ShutDown(); }

void TMain1::PrepareStartUp() {
  DoubleBuffered = true;
  Consol->AddLine(Fill(Tr("Кравелон версия %1"), {Version}));
  if (!LanguageProblem().empty()) Consol->AddLine(LanguageProblem());
  Note(Options.Notes);
  if (!DirectoryExists(ProgramPath("Images"))) {
    const std::string text = Tr("Не могу найти папку \"Images\".");
    Consol->AddLine(text);
    throw TFileError(ProgramPath("Images"), text);
  }
  if (!DirectoryExists(ProgramPath("Sounds"))) {
    Consol->AddLine(Tr("Не могу найти папку \"Sounds\"."));
    Consol->AddLine(
        Tr("Звук будет отключен до тех пор, пока папка \"Sounds\" не будет восстановлена."));
    Beep();
    Sleep(3000);
  }
  SetSize(WindowWidth, WindowHeight);
  CenterOnScreen();
  const TPoint screen = ScreenSize();
  ScreenCenterPoint = {screen.X / 2, screen.Y / 2};
  // The board rectangles are fixed constants of the screen geometry.
  Application->SetIdle([this](bool& done) { StartUpWhenIdle(done); });
}

void TMain1::StartUpWhenIdle(bool& done) {
  done = false;
  // Start-up runs once: whatever it raises, the application never calls it again.
  Application->ClearIdle();
  try {
    StartUp();
  } catch (const std::exception& error) {
    AbandonStartUp(error);
    return;
  }
  Application->ClearIdle();
  PlacementByMouse = true;
  ReturnFreedMemory();
}

void TMain1::AbandonStartUp(const std::exception& error) {
  // Whatever step failed, the player reads what it was (a missing folder, an unreadable or
  // damaged picture, each named) and the program ends in order; nothing may be drawn from an
  // incomplete set.
  MessageBox(error.what(), Application->Title, TMessageIcon::Error);
  Application->Terminate();
}

void TMain1::StartUp() {
  // The game's own look is a borderless window kept on top of a black screen; the ordinary
  // window leaves the desktop beside the game and lets the window manager frame and move it.
  if (Options.Windowed) {
    SetBorderStyle(TBorderStyle::Single);
  } else {
    SetupBackdrop();
    SetStayOnTop(true);
  }
  Paint->Initialize();
  Sound->LoadSounds();
  if (!Options.Windowed) SetBorderStyle(TBorderStyle::None);
  const std::string cursorPath = ProgramPath("Images/CURSOR.CUR");
  const TCursorResult cursor = LoadCursorFromFile(cursorPath);
  if (cursor == TCursorResult::NotFound || cursor == TCursorResult::Refused) {
    Paint->Log(Fill(Tr("Файл \"%1\" не найден."), {cursorPath}));
  }
  Consol->AddLine(Tr("Инициализация меню..."));
  PrepareMenu(Menus.MainMenu);
  PrepareMenu(Menus.ExitMenu);
  PrepareMenu(Menus.GameOverMenu);
  PrepareMenu(Menus.GameMenu);
  Consol->AddLine(Tr("Инициализация меню завершена."));
  SpeakConsole = true;
  Engine->NewGame();
  Paint->MarkGraphicsReady();
  Consol->StartShowing();
  Paint->Redraw();
  Paint->ScrollConsole(32767);
  StartNetworking();
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

void TMain1::ToggleSpeech() {
  Narrator->Toggle();
  // Remembered like the sound switch, for the next run.
  if (Options.Settings) Note(Options.Settings->SaveSpeech(Narrator->On()));
}

void TMain1::Note(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) Consol->AddLine(line);
}

void TMain1::FormPaint() {
  if (Paint) Paint->Redraw();
}

void TMain1::ShutDown() {
  if (Destroyed) return;
  Destroyed = true;
  // The opponent hears goodbye first, and nothing the connection says reaches the window again.
  Net.Network.reset();
  NetTimer.SetEnabled(false);
  JoinTimer.SetEnabled(false);
  ReportTimer.SetEnabled(false);
  SpokenBoxes = {};
  EchoedBoxes = {};
  // A game or a setting the disk would not take earlier gets one more chance.
  if (Options.Record) Note(Options.Record->Flush());
  if (Options.Settings) Note(Options.Settings->Flush());
  // The idle steps installed call back into this window: none may run once it is gone. What the
  // window owns goes with it, in the order its members are declared.
  if (Application) Application->ClearIdle();
}

}  // namespace kravelon
