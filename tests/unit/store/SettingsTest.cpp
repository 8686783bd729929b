// The settings: what each value means, what is kept when the file is written back, the file's
// place under the XDG folders, and files as hand-editing and damage leave them.
#include <gtest/gtest.h>

#include "Platform/XdgFolders.h"
#include "Store/Settings.h"
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
    std::optional<TLevel> Level = std::nullopt;
    std::optional<bool> Salvo = std::nullopt;
    const char* Name = "";
  };
  const TCase cases[] = {
      {"", {}, {}, "", 0, false, 0},
      {"[game]\nsound = false\nspeech = yes\nlanguage = en\nscale = 2\nwindowed = true\n"
       "level = admiral\nsalvo = yes\nname = Вася\n",
       false, true, "en", 2, true, 0, lvAdmiral, true, "Вася"},
      {"[game]\nsound=on\nlanguage=ru\nscale=\nspeech=\nlevel=1\n", true, {}, "ru", 0, false, 0,
       lvCabinBoy},
      {"[game]\nsound = loud\nlanguage = fr\nscale = 5\nwindowed = 2\nspeech = maybe\n"
       "level = general\nsalvo = twice\nname = два слова\n",
       {},
       {},
       "",
       0,
       false,
       8},
      // A name the protocol could not carry or the record could not keep: a space of no width,
      // 33 letters.
      {"[game]\nname = a\u200bb\n", {}, {}, "", 0, false, 1},
      {"[game]\nname = abcdefghijklmnopqrstuvwxyzABCDEFG\n", {}, {}, "", 0, false, 1},
      // Another section's keys are not the game's, whatever their names.
      {"[other]\nsound = false\nscale = 9\nlevel = sailor\n", {}, {}, "", 0, false, 0},
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
    EXPECT_EQ(s.Level(), c.Level);
    EXPECT_EQ(s.Rule(rsSalvo), c.Salvo);
    EXPECT_EQ(s.Name(), c.Name);
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
            "top = 1\n[game]\nlanguage = en\nsound = false\nfuture = 42\n[mods]\nsound = loud\n");
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

// Files as players leave them, hand-edited or damaged, and what setting the sound switch makes of
// each: the file kept byte for byte but for the one value, or (when inih cannot read it whole)
// moved aside untouched with a console line and what could be read written anew, an empty line
// in place of each line that could not. Never a file silently cut or altered.
TEST_F(SettingsFileTest, EachFileIsKeptByteForByteOrSetAsideWhole) {
  const std::size_t limit = TSettings::LineLimit;
  const std::string atLimit = "# " + std::string(limit - 2, 'x') + "\n";
  std::string sections;  // a valid file near the size limit: 5000 sections of a key each
  for (int i = 0; i < 5000; ++i) sections += "[s" + std::to_string(i) + "]\nk=1\n";
  std::string full = "[game]\n";  // so full that a key more would not be read at the next start
  while (full.size() + atLimit.size() <= TSettingsFile::SizeLimit) full += atLimit;
  full += std::string(TSettingsFile::SizeLimit - full.size() - 1, '#') + "\n";
  struct TCase {
    const char* Name;
    std::string Text;     // as the player left it
    std::string Written;  // the file after the switch is set (the new one, when set aside)
    bool SetAside;
    std::size_t LoadNotes;
    const char* Language;  // what the start reads
    const char* Says;      // what the line of the write names; nothing when it says nothing
  };
  const TCase cases[] = {
      {"comments, blank lines, spacing and other sections",
       "# mine\n\n[game] ; the game's\n; off at night\nsound   =   true ; loud\n"
       "\nfuture = 42\n[mods]\nsound = on\n",
       "# mine\n\n[game] ; the game's\n; off at night\nsound   =   false ; loud\n"
       "\nfuture = 42\n[mods]\nsound = on\n",
       false, 0, "", nullptr},
      {"no [game] section and no last newline", "[mods]\nx = 1",
       "[mods]\nx = 1\n\n[game]\nsound = false\n", false, 0, "", nullptr},
      {"Windows line ends", "[game]\r\nlanguage = en\r\n",
       "[game]\r\nlanguage = en\r\nsound = false\r\n", false, 0, "en", nullptr},
      {"a byte order mark", "\xEF\xBB\xBF[game]\nsound=on\n", "\xEF\xBB\xBF[game]\nsound=false\n",
       false, 0, "", nullptr},
      {"the key twice", "[game]\nsound = true\n[other]\n[game]\nsound = on\n",
       "[game]\nsound = false\n[other]\n[game]\nsound = false\n", false, 0, "", nullptr},
      // After a new key there, the indented section would be read as the key's continuation.
      {"an indented section right after [game]", "[game]\n  [other]\nx = 1\n",
       "[game]\n  [other]\nx = 1\n\n[game]\nsound = false\n", false, 0, "", nullptr},
      {"an empty value before a comment", "[game]\nsound = ; later\n",
       "[game]\nsound = false ; later\n", false, 0, "", nullptr},
      {"a continuation line of another key", "[game]\nmotd = first\n  second\nlanguage = en\n",
       "[game]\nmotd = first\n  second\nlanguage = en\nsound = false\n", false, 0, "en", nullptr},
      // A value of two lines is not understood; once the game sets the key, it is one line.
      {"a continuation line of the game's key",
       "[game]\nsound = true\n# between\n  more\nscale = 2\n",
       "[game]\nsound = false\n# between\nscale = 2\n", false, 1, "", nullptr},
      {"a line as long as inih reads", "[game]\n" + atLimit, "[game]\nsound = false\n" + atLimit,
       false, 0, "", nullptr},
      {"a line a byte longer", "[game]\nlanguage = en\n#" + atLimit,
       "[game]\nlanguage = en\nsound = false\n\n", true, 1, "en", "строка 3"},
      // inih would read the tail of the long line as a key of its own.
      {"a long line with a key in its tail",
       "[game]\nlanguage = en\n# " + std::string(limit, 'x') + " language = ru\n",
       "[game]\nlanguage = en\nsound = false\n\n", true, 1, "en", "строка 3"},
      // inih would stop at the NUL and the write would lose every line after it.
      {"a NUL byte", std::string("[game]\nlanguage = en\n\0\nscale = 2\n", 33),
       "[game]\nlanguage = en\n\nscale = 2\nsound = false\n", true, 1, "en", "строка 3"},
      {"a line that is no setting", "[game]\nlanguage = en\nthis line is no setting\n",
       "[game]\nlanguage = en\nsound = false\n\n", true, 1, "en", "строка 3"},
      {"a section without its bracket", "[game\nsound = true\n",
       "\nsound = true\n\n[game]\nsound = false\n", true, 1, "", "строка 1"},
      {"a valid file near the size limit", sections, sections + "\n[game]\nsound = false\n", false,
       0, "", nullptr},
      {"a file a key short of the size limit", full, full, false, 0, "", "65536"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    WriteText(Path, c.Text);
    TSettingsFile file(Folder);
    std::vector<std::string> notes;
    EXPECT_EQ(file.Load(notes).Language(), c.Language);
    EXPECT_EQ(notes.size(), c.LoadNotes) << ::testing::PrintToString(notes);
    const auto lines = file.SaveSound(false);
    if (c.Says) {
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_NE(lines[0].find(c.Says), std::string::npos) << lines[0];
    } else {
      EXPECT_TRUE(lines.empty()) << ::testing::PrintToString(lines);
    }
    std::vector<std::string> aside;
    for (const auto& name : Names(Folder))
      if (name.starts_with("kravelon.ini.damaged-")) aside.push_back(Folder + "/" + name);
    ASSERT_EQ(aside.size(), c.SetAside ? 1u : 0u);
    if (c.SetAside) {
      EXPECT_EQ(ReadText(aside[0]), c.Text);
    }
    EXPECT_EQ(ReadText(Path), c.Written);
    if (c.Written == c.Text) continue;
    // What was written is read whole at the next start.
    notes.clear();
    const TSettings again = TSettingsFile(Folder).Load(notes);
    EXPECT_EQ(again.Sound(), false);
    EXPECT_EQ(again.Language(), c.Language);
    EXPECT_TRUE(notes.empty()) << ::testing::PrintToString(notes);
  }
}

// A device in place of the file (a player who sends the settings to /dev/null): said for what it
// is, read as no settings, never replaced.
TEST_F(SettingsFileTest, ADeviceInPlaceOfTheFileIsSaidForWhatItIsAndLeftThere) {
  std::filesystem::create_directories(Folder);
  std::filesystem::create_symlink("/dev/null", Path);
  TSettingsFile file(Folder);
  std::vector<std::string> notes;
  EXPECT_FALSE(file.Load(notes).Sound());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("устройство"), std::string::npos) << notes[0];
  const auto lines = file.SaveSound(false);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("устройство"), std::string::npos) << lines[0];
  EXPECT_TRUE(std::filesystem::is_symlink(Path));
  EXPECT_EQ(Names(Folder), (std::vector<std::string>{"kravelon.ini", "kravelon.ini.lock"}));
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
