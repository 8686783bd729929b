#pragma once
// The toolkit on SDL's off-screen drivers, with an application and the message boxes recorded
// instead of shown. The fixture every test of a window builds on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Toolkit.h"

namespace kravelon {

struct TShownBox {
  std::string Text, Caption;
  TMessageIcon Icon;
};

class ToolkitFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    StartToolkit();
    NewApplication();
    SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                TMessageIcon icon) { Boxes.push_back({text, caption, icon}); });
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    App.reset();
    Toolkit.reset();
  }

  // Starts the toolkit afresh, as a new run of the game does; a running one is stopped first.
  void StartToolkit() {
    Toolkit.reset();
    Toolkit.emplace();
    ASSERT_TRUE(Toolkit->Started()) << Toolkit->Error();
  }

  // A fresh application in place of the old one, as a new run of the game has, showing errors
  // in a box as the game's does.
  void NewApplication() {
    App = std::make_unique<TApplication>();
    App->Title = "Кравелон";
    App->OnException = [this](const std::string& message) {
      MessageBox(message, App->Title, TMessageIcon::Error);
    };
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const TShownBox& box : Boxes) texts.push_back(box.Text);
    return texts;
  }

  std::optional<TToolkit> Toolkit;
  std::unique_ptr<TApplication> App;
  std::vector<TShownBox> Boxes;
};

}  // namespace kravelon
