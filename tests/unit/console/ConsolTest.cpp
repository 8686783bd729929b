#include <gtest/gtest.h>

#include "Console/Consol.h"

namespace kravelon {

namespace {

struct ConsolTest : ::testing::Test {
  TConsol console;
  int redraws = 0;
  ConsolTest() {
    console.OnRedraw = [this] { ++redraws; };
  }
};

}  // namespace

TEST_F(ConsolTest, LinesBeforeDrawingCanStartGoToTheMemoAndDrawNothing) {
  console.AddLine("Кравелон версия 1.2");
  console.AddLine("");
  EXPECT_EQ(redraws, 0);
  EXPECT_EQ(console.AllLines(), (std::vector<std::string>{"Кравелон версия 1.2", ""}));
  EXPECT_EQ(console.EarlyLines(), console.AllLines());
}

TEST_F(ConsolTest, OnceDrawingStartsEveryLineRedrawsAndTheMemoStops) {
  console.AddLine("before");
  console.StartShowing();
  console.AddLine("after 1");
  console.AddLine("after 2");
  EXPECT_EQ(redraws, 2);
  EXPECT_EQ(console.EarlyLines(), (std::vector<std::string>{"before"}));
  ASSERT_EQ(console.Count(), 3);
  EXPECT_EQ(console.Line(0), "before");
  EXPECT_EQ(console.Line(2), "after 2");
}

TEST_F(ConsolTest, KeepsEveryLineInOrder) {
  for (int i = 0; i < 500; ++i) console.AddLine(std::to_string(i));
  ASSERT_EQ(console.Count(), 500);
  for (int i = 0; i < 500; ++i) EXPECT_EQ(console.Line(i), std::to_string(i));
}

}  // namespace kravelon
