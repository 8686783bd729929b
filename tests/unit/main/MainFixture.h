#pragma once
// The main window on SDL's off-screen video driver, against a scratch copy of the asset folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "Console/Globals.h"
#include "Media/ProgramPath.h"
#include "Main/Main1.h"
#include "Toolkit/Pause.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

enum class TMenuId { PopupMenu1 = 1, PopupMenu2, PopupMenu3 };

// Records the menus asked for instead of opening them.
class TRecordingMain : public TMain1 {
 public:
  void ShowMenu(TPopupMenu& menu) override {
    Menus.push_back(&menu == &PopupMenu1   ? TMenuId::PopupMenu1
                    : &menu == &PopupMenu2 ? TMenuId::PopupMenu2
                                           : TMenuId::PopupMenu3);
  }
  std::vector<TMenuId> Menus;
};

class MainWindowTest : public ToolkitFixture {
 protected:
  void SetUp() override {
    ToolkitFixture::SetUp();
    SetSleeper([this](int ms) { Pauses.push_back(ms); });
    GraphicsReady = false;
  }

  void TearDown() override {
    Window.reset();
    SetSleeper({});
    GraphicsReady = false;
    ToolkitFixture::TearDown();
  }

  void Provide(const char* folder) {
    std::filesystem::copy(std::filesystem::path(KRAVELON_ASSETS) / folder, std::filesystem::path(Folder) / folder,
             std::filesystem::copy_options::recursive);
  }

  std::vector<std::string> Lines() const { return Window->Consol->AllLines(); }

  // The whole asset set, a main window that records the menus it opens, start-up done, silent.
  TRecordingMain* StartRecordingGame() {
    Provide("Images");
    Provide("Sounds");
    auto window = std::make_unique<TRecordingMain>();
    TRecordingMain* main = window.get();
    Window = std::move(window);
    App->MainForm = main;
    App->StepIdle();
    main->N11.Checked = false;  // the sound switch
    return main;
  }

  TScratchProgramFolder Scratch;
  const std::string Folder = Scratch.Path();
  std::vector<int> Pauses;
  std::unique_ptr<TMain1> Window;
};

}  // namespace kravelon
