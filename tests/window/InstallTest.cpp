// The game as players get it: installed under a scratch prefix by `cmake --install`, and the
// Debian package unpacked into a scratch root; each started from a folder of its own, away from
// the build, and expected to show the board screen from its installed pictures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/ScratchFolder.h"
#include "tests/window/BoardScreen.h"
#include "tests/window/RunningGame.h"

namespace kravelon {

namespace fs = std::filesystem;

namespace {

class InstalledGame : public RunningGame {
 protected:
  void SetUp() override {}  // each test starts the game it installs
  // The game runs from the scratch folder: it ends before the folder goes.
  void TearDown() override { Game.reset(); }

  static int Run(const std::string& command) {
    return std::system((command + " >/dev/null").c_str());
  }

  // Both folders found (a missing Sounds/ would only be said on the console) and the board
  // screen drawn from the installed pictures.
  void ExpectACompleteStart(const std::string& images) {
    for (const auto& line : Game->ConsoleLines())
      EXPECT_EQ(line.find("Не могу найти"), std::string::npos) << line;
    const TScreenshot shot = Shot();
    EXPECT_EQ(BoardDifferences(shot, FirstBoardScreen(images)), "")
        << (shot.Save("/tmp/kravelon-installed.png"), "see /tmp/kravelon-installed.png");
  }

  TScratchFolder Folder;
  const std::string Scratch = Folder.Path();
};

TEST_F(InstalledGame, UnderAnyPrefixItFindsItsPicturesAndSounds) {
  const std::string prefix = Scratch + "prefix";
  ASSERT_EQ(Run(std::string("\"") + KRAVELON_CMAKE + "\" --install \"" + GameBuildFolder() +
                "\" --prefix \"" + prefix + "\""),
            0);
  // Nothing beside the executable: the data must come from the installed folder.
  ASSERT_FALSE(fs::exists(prefix + "/games/Images"));
  Start({.Executable = prefix + "/games/kravelon"});
  if (HasFatalFailure()) return;
  ExpectACompleteStart(prefix + "/share/games/kravelon/Images");
}

TEST_F(InstalledGame, TheDebianPackagesMenuEntryStartsIt) {
  const std::string root = Scratch + "root";
  ASSERT_EQ(Run(std::string("dpkg-deb -x \"") + KRAVELON_DEB + "\" \"" + root + "\""), 0);
  std::string exec;
  for (const auto& entry : fs::directory_iterator(root + "/usr/share/applications")) {
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);)
      if (line.starts_with("Exec=")) exec = line.substr(5);
  }
  // The command as the menu runs it: one absolute path, no arguments.
  ASSERT_TRUE(exec.starts_with("/")) << exec;
  ASSERT_EQ(exec.find(' '), std::string::npos) << exec;
  Start({.Executable = root + exec});
  if (HasFatalFailure()) return;
  ExpectACompleteStart(root + "/usr/share/games/kravelon/Images");
}

}  // namespace

}  // namespace kravelon
