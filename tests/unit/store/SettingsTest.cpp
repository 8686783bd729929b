// The settings: what each value means, what is kept when the file is written back, the file's
// place under the XDG folders, and a file inih cannot read whole.
#include <gtest/gtest.h>

#include "Store/Settings.h"
#include "Platform/XdgFolders.h"
#include "tests/unit/store/StoreFixture.h"

namespace kravelon {

namespace {

TEST(XdgFolders, AVariableCountsOnlyWhenAbsolute) {
  struct TCase {
    const char *Variable, *Home, *Expected;
  };
  const TCase cases[] = {
      {"/x/config", "/home/a", "/x/config"},
      {nullptr, "/home/a", "/home/a/.config"},
      {"", "/home/a/", "/home/a/.config"},
      {"relative/config", "/home/a", "/home/a/.config"},
      {nullptr, nullptr, ""},
      {nullptr, "relative", ""},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(XdgFolder(c.Variable, c.Home, ".config"), c.Expected)
        << (c.Variable ? c.Variable : "unset") << " " << (c.Home ? c.Home : "unset");
}

TEST(Settings, ReadsEachKeyAndLeavesOutWhatItDoesNotUnderstand) {
  struct TCase {
    const char* Text;
    std::optional<bool> Sound, Speech;
    const char* Language;
    int Scale;
    bool Windowed;
    std::size_t Notes;
  };
  const TCase cases[] = {
      {"", {}, {}, "", 0, false, 0},
      {"[game]\nsound = false\nspeech = yes\nlanguage = en\nscale = 2\nwindowed = true\n",
       false, true, "en", 2, true, 0},
      {"[game]\nsound=on\nlanguage=ru\nscale=\nspeech=\n", true, {}, "ru", 0, false, 0},
      {"[game]\nsound = loud\nlanguage = fr\nscale = 5\nwindowed = 2\nspeech = maybe\n",
       {}, {}, "", 0, false, 5},
      // Another section's keys are not the game's, whatever their names.
      {"[other]\nsound = false\nscale = 9\n", {}, {}, "", 0, false, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    std::vector<std::string> notes;
    const TSettings s = TSettings::Parse(c.Text, notes);
    EXPECT_EQ(s.Sound(), c.Sound);
    EXPECT_EQ(s.Speech(), c.Speech);
    EXPECT_EQ(s.Language(), c.Language);
    EXPECT_EQ(s.Scale(), c.Scale);
    EXPECT_EQ(s.Windowed(), c.Windowed);
    EXPECT_EQ(notes.size(), c.Notes);
    EXPECT_FALSE(s.HasBrokenLines());
  }
}

TEST(Settings, WritingBackKeepsEveryKeyTheGameDoesNotKnow) {
  const std::string text =
      "top = 1\n[game]\nlanguage = en\nsound = true\nfuture = 42\n[mods]\nsound = loud\n";
  std::vector<std::string> notes;
  TSettings settings = TSettings::Parse(text, notes);
  settings.SetSound(false);
  const std::string written = settings.Format();
  EXPECT_EQ(written,
            "top = 1\n\n[game]\nlanguage = en\nsound = false\nfuture = 42\n\n[mods]\nsound = loud\n");
  const TSettings again = TSettings::Parse(written, notes);
  EXPECT_EQ(again.Sound(), false);
  EXPECT_EQ(again.Language(), "en");
  EXPECT_TRUE(notes.empty());
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path() + "config/kravelon";
  const std::string Path = Folder + "/kravelon.ini";
};

TEST_F(SettingsFileTest, TheSoundSwitchIsKeptAndReadAtTheNextStart) {
  TSettingsFile file(Folder);
  std::vector<std::string> notes;
  EXPECT_FALSE(file.Load(notes).Sound());
  EXPECT_FALSE(std::filesystem::exists(Scratch.Path() + "config")) << "reading wrote something";
  EXPECT_TRUE(file.SaveSound(false).empty());
  EXPECT_EQ(TSettingsFile(Folder).Load(notes).Sound(), false);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{"kravelon.ini", "kravelon.ini.lock"}));
}

TEST_F(SettingsFileTest, ChangesFromAnotherCopyOfTheGameAreKept) {
  TSettingsFile mine(Folder);
  mine.SaveSound(true);
  // Meanwhile another copy, or the player, writes a key of its own.
  WriteText(Path, ReadText(Path) + "language = en\n");
  mine.SaveSound(false);
  std::vector<std::string> notes;
  const TSettings now = mine.Load(notes);
  EXPECT_EQ(now.Language(), "en");
  EXPECT_EQ(now.Sound(), false);
}

TEST_F(SettingsFileTest, AFileInihCannotReadWholeIsKeptAsideNotOverwritten) {
  std::filesystem::create_directories(Folder);
  const std::string broken = "[game]\nlanguage = en\nthis line is no setting\n";
  WriteText(Path, broken);
  TSettingsFile file(Folder);
  std::vector<std::string> notes;
  EXPECT_EQ(file.Load(notes).Language(), "en");
  const auto lines = file.SaveSound(false);
  ASSERT_EQ(lines.size(), 1u);
  std::string aside;
  for (const auto& name : Names(Folder))
    if (name.starts_with("kravelon.ini.damaged-")) aside = Folder + "/" + name;
  ASSERT_FALSE(aside.empty());
  EXPECT_EQ(ReadText(aside), broken);
  const TSettings now = file.Load(notes);
  EXPECT_EQ(now.Language(), "en");  // what could be read goes on
  EXPECT_EQ(now.Sound(), false);
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsReportedOnceAndTheGameGoesOn) {
  std::filesystem::create_directories(Path);
  TSettingsFile file(Folder);
  std::vector<std::string> notes;
  EXPECT_FALSE(file.Load(notes).Sound());
  EXPECT_EQ(notes.size(), 1u);
  EXPECT_EQ(file.SaveSound(false).size(), 1u);
  EXPECT_TRUE(file.SaveSound(true).empty());
  EXPECT_TRUE(std::filesystem::is_directory(Path));
}

}  // namespace

}  // namespace kravelon
