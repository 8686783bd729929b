// Where the game looks for Images/ and Sounds/: beside the executable first, then in the
// installed data folder relative to it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Platform/ProgramPath.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;

// An installed tree in miniature: root/games/ holds the executable, root/share/games/kravelon/
// the data, as the Debian layout has them.
class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Bin);
    fs::create_directories(Data);
  }

  void Make(const std::string& folder) { fs::create_directories(folder); }

  TScratchFolder Scratch;
  const std::string Root = Scratch.Path();
  const std::string Bin = Root + "games/";
  const std::string Data = Root + "share/games/kravelon/";
  const std::string Installed = "../share/games/kravelon/";
};

TEST(ProgramPath, AppendsTheRelativePathToTheProgramFolder) {
  TScratchProgramFolder program;
  EXPECT_EQ(ProgramPath("Images"), program.Path() + "Images");
  EXPECT_EQ(ProgramPath("Images/CURSOR.CUR"), program.Path() + "Images/CURSOR.CUR");
}

TEST_F(DataFolder, ChoosesTheExecutablesFolderFirstThenTheInstalledOne) {
  struct TCase {
    std::vector<std::string> Beside, InData;  // folders made beside the executable, in the data
    bool ExpectInstalled;
  };
  const TCase cases[] = {
      {{"Images", "Sounds"}, {"Images", "Sounds"}, false},  // the build folder wins
      {{"Sounds"}, {"Images", "Sounds"}, false},            // a partial copy is reported, not mixed
      {{"Images"}, {}, false},
      {{}, {"Images", "Sounds"}, true},
      {{}, {"Sounds"}, true},
      {{}, {}, false},  // nowhere: the messages name the executable's folder
  };
  for (const TCase& c : cases) {
    fs::remove_all(Bin);
    fs::remove_all(Data);
    Make(Bin);
    Make(Data);
    for (const auto& f : c.Beside) Make(Bin + f);
    for (const auto& f : c.InData) Make(Data + f);
    // Data is spelled without "..": the chosen folder must be too, as the messages show it.
    EXPECT_EQ(GameDataFolder(Bin, Installed), c.ExpectInstalled ? Data : Bin)
        << c.Beside.size() << " beside, " << c.InData.size() << " in the data folder";
  }
}

}  // namespace

}  // namespace kravelon
