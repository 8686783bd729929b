// The sound bank: loading the three waves, names, and what a missing file does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Console/Consol.h"
#include "Platform/ProgramPath.h"
#include "Media/Sound/Sound.h"
#include "Audio/Audio.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

namespace fs = std::filesystem;

namespace {

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(Folder + "Sounds"); }
  void Provide(const char* name) {
    fs::copy_file(fs::path(KRAVELON_ASSETS) / "Sounds" / name, Folder + "Sounds/" + name);
  }
  TScratchProgramFolder Scratch;
  const std::string Folder = Scratch.Path();
  TConsol Console;
};

TEST_F(SoundTest, LoadsTheThreeWavesInOrderAndLogsTheFilesFound) {
  Provide("Shot.wav");
  Provide("win.wav");
  TSound bank(Console);
  bank.LoadSounds();
  EXPECT_EQ(Console.AllLines(), (std::vector<std::string>{
                                    "Sound: Загружен звуковой файл Sounds/Shot.wav",
                                    "Sound: Загружен звуковой файл Sounds/win.wav"}));
  ASSERT_NE(bank.FindWave("SND_SHOT"), nullptr);
  EXPECT_TRUE(bank.FindWave("SND_SHOT")->HasData());
  // A missing file still gets its wave, silent.
  ASSERT_NE(bank.FindWave("SND_SETUP_SHIP"), nullptr);
  EXPECT_FALSE(bank.FindWave("SND_SETUP_SHIP")->HasData());
  EXPECT_TRUE(bank.FindWave("SND_SETUP_SHIP")->WaitForEnd);
  EXPECT_FALSE(bank.FindWave("SND_SETUP_SHIP")->Looped);
  EXPECT_TRUE(bank.FindWave("SND_WIN")->Looped);
  EXPECT_FALSE(bank.FindWave("SND_WIN")->WaitForEnd);
  // Silent waves and unknown names play nothing and raise nothing: not even the device opens.
  CloseAudio();
  EXPECT_NO_THROW(bank.Play("SND_SETUP_SHIP"));
  EXPECT_NO_THROW(bank.Play("SND_NOTHING"));
  EXPECT_FALSE(AudioDeviceOpen());
}

// Finding a wave whatever the case of its name, and replacing one, are the registry's (RegistryTest).

TEST_F(SoundTest, AFileThatIsNoWaveIsLoadedAndPlaysNothing) {
  std::ofstream(Folder + "Sounds/Shot.wav") << "not a wave at all";
  TSound bank(Console);
  bank.LoadSounds();
  ASSERT_TRUE(bank.FindWave("SND_SHOT")->HasData());
  CloseAudio();
  EXPECT_NO_THROW(bank.Play("snd_shot"));
  // Decoded to silence when it was loaded: playing it does not even open the device.
  EXPECT_FALSE(AudioDeviceOpen());
  EXPECT_NO_THROW(bank.Stop());
}

}  // namespace

}  // namespace kravelon
