#pragma once
// The main window on SDL's off-screen video driver, against a scratch copy of the asset folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GameEngine/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/Globals.h"
#include "GameEngine/ProgramPath.h"
#include "Main/Main1.h"
#include "Toolkit/Forms.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/System.h"

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

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    ASSERT_TRUE(InitializeToolkit(error)) << error;
    char pattern[] = "/tmp/kravelon-unit-XXXXXX";
    Folder = mkdtemp(pattern);
    SetProgramFolder(Folder + "/");
    SetSleeper([this](int ms) { Pauses.push_back(ms); });
    SetMessageBoxHandler([this](const std::string& text, const std::string&, TMessageIcon) {
      Boxes.push_back(text);
    });
    GraphicsReady = false;
    App = std::make_unique<TApplication>();
    App->Title = "Кравелон";
  }

  void TearDown() override {
    Window.reset();
    App.reset();
    SetSleeper({});
    SetMessageBoxHandler({});
    SetProgramFolder("");
    GraphicsReady = false;
    ShutdownToolkit();
    std::filesystem::remove_all(Folder);
  }

  void Provide(const char* folder) {
    std::filesystem::copy(std::filesystem::path(KRAVELON_ASSETS) / folder, std::filesystem::path(Folder) / folder,
             std::filesystem::copy_options::recursive);
  }

  std::vector<std::string> Lines() const { return Consol->AllLines(); }

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

  std::string Folder;
  std::vector<int> Pauses;
  std::vector<std::string> Boxes;  // texts of the message boxes shown
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TMain1> Window;
};

