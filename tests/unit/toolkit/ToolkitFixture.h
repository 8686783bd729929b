#pragma once
// The toolkit on SDL's off-screen video driver, with message boxes recorded instead of shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Toolkit/Forms.h"
#include "Toolkit/MessageBox.h"

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    ASSERT_TRUE(InitializeToolkit(error)) << error;
    App = std::make_unique<TApplication>();
    App->Title = "Кравелон";
    SetMessageBoxHandler([this](const std::string& text, const std::string& caption, TMessageIcon) {
      Boxes.push_back(caption + "|" + text);
    });
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    App.reset();
    ShutdownToolkit();
  }
  std::unique_ptr<TApplication> App;
  std::vector<std::string> Boxes;
};
