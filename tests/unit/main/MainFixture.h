#pragma once
// The main window on SDL's off-screen video driver, against a scratch copy of the asset folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "Platform/ProgramPath.h"
#include "Main/Main1.h"
#include "Toolkit/Pause.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

enum class TMenuId { MainMenu = 1, ExitMenu, GameOverMenu, GameMenu };

// Records the menus asked for instead of opening them.
class TRecordingMain : public TMain1 {
 public:
  explicit TRecordingMain(TMainOptions options = {}) : TMain1(std::move(options)) {}
  void ShowMenu(TPopupMenu& menu) override {
    Opened.push_back(&menu == &Menus.MainMenu       ? TMenuId::MainMenu
                     : &menu == &Menus.ExitMenu     ? TMenuId::ExitMenu
                     : &menu == &Menus.GameOverMenu ? TMenuId::GameOverMenu
                                                    : TMenuId::GameMenu);
  }
  std::vector<TMenuId> Opened;
  using TMain1::PlacementByMouse;  // the tests set up and check who places the ships
  using TMain1::Target;
};

class MainWindowTest : public ToolkitFixture {
 protected:
  void SetUp() override {
    ToolkitFixture::SetUp();
    SetSleeper([this](int ms) { Pauses.push_back(ms); });
  }

  void TearDown() override {
    Window.reset();
    SetSleeper({});
    ToolkitFixture::TearDown();
  }

  void Provide(const char* folder) {
    std::filesystem::copy(std::filesystem::path(KRAVELON_ASSETS) / folder, std::filesystem::path(Folder) / folder,
             std::filesystem::copy_options::recursive);
  }

  std::vector<std::string> Lines() const { return Window->Consol->AllLines(); }

  // The whole asset set, a main window that records the menus it opens, start-up done, silent.
  TRecordingMain* StartRecordingGame(TMainOptions options = {}) {
    Provide("Images");
    Provide("Sounds");
    return StartRecordingGameAgain(std::move(options));
  }
  // Another such window over the assets provided already.
  TRecordingMain* StartRecordingGameAgain(TMainOptions options = {}) {
    auto window = std::make_unique<TRecordingMain>(std::move(options));
    TRecordingMain* main = window.get();
    Window = std::move(window);
    App->MainForm = main;
    App->StepIdle();
    main->Menus.SoundItem.Checked = false;  // the sound switch
    return main;
  }

  TScratchProgramFolder Scratch;
  const std::string Folder = Scratch.Path();
  std::vector<int> Pauses;
  std::unique_ptr<TMain1> Window;
};

}  // namespace kravelon
