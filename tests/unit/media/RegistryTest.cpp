#include "Media/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace kravelon {

namespace {

// Counts its own destruction, to see when the registry releases it.
struct TTracked {
  explicit TTracked(int& released) : Released(released) {}
  ~TTracked() { ++Released; }
  int& Released;
};

}  // namespace

TEST(Registry, FindsANameWhateverItsAsciiCaseButNothingElse) {
  TRegistry<int> registry;
  registry.Add("IM_SHIP", std::make_unique<int>(1));
  registry.Add("Sea_2", std::make_unique<int>(2));
  registry.Add("\xD0\x9C\xD0\x98\xD0\xA0", std::make_unique<int>(3));  // "МИР" in UTF-8
  struct TCase {
    const char* Name;
    int Expected;  // 0: not found
  };
  const TCase cases[] = {
      {"IM_SHIP", 1}, {"im_ship", 1}, {"Im_sHiP", 1}, {"SEA_2", 2},
      {"IM_SHI", 0},  {"IM_SHIPS", 0}, {"IM-SHIP", 0}, {"", 0},
      {"\xD0\x9C\xD0\x98\xD0\xA0", 3},
      {"\xD0\xBC\xD0\xB8\xD1\x80", 0},  // "мир": only ASCII letters fold
  };
  for (const TCase& c : cases) {
    const int* found = registry.Find(c.Name);
    if (c.Expected == 0) {
      EXPECT_EQ(found, nullptr) << c.Name;
    } else {
      ASSERT_NE(found, nullptr) << c.Name;
      EXPECT_EQ(*found, c.Expected) << c.Name;
    }
  }
}

TEST(Registry, AddingANameAgainReplacesInPlaceAndReleasesTheOld) {
  int firstReleased = 0, secondReleased = 0, otherReleased = 0;
  {
    TRegistry<TTracked> registry;
    registry.Add("Shot", std::make_unique<TTracked>(firstReleased));
    registry.Add("Win", std::make_unique<TTracked>(otherReleased));
    auto replacement = std::make_unique<TTracked>(secondReleased);
    TTracked* expected = replacement.get();
    registry.Add("SHOT", std::move(replacement));

    EXPECT_EQ(firstReleased, 1);
    EXPECT_EQ(registry.Find("shot"), expected);
    ASSERT_EQ(registry.Size(), 2u);
    EXPECT_EQ(registry.Name(0), "Shot");  // the first spelling stays
    EXPECT_EQ(registry.Name(1), "Win");
    EXPECT_EQ(secondReleased, 0);
  }
  EXPECT_EQ(secondReleased, 1);
  EXPECT_EQ(otherReleased, 1);
}

}  // namespace kravelon
