// The sound device: open only while something plays, and every sample of each sound heard.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

#include "Audio/Audio.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

namespace {

using ToolkitTest = ToolkitFixture;

class AudioTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    // SDL's disk driver writes what it plays to a file, in real time.
    File = std::filesystem::temp_directory_path() / ("kravelon-audio-" + std::to_string(getpid()));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", File.c_str(), 1);
  }
  void TearDown() override {
    ToolkitTest::TearDown();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::filesystem::remove(File);
  }
  // Handles events until the device has closed itself, or the time is up.
  bool WaitForClose(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (AudioDeviceOpen() && std::chrono::steady_clock::now() < until) {
      App->ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return !AudioDeviceOpen();
  }
  std::vector<std::int16_t> Played() const {
    std::ifstream in(File, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }
  std::filesystem::path File;
};

// A wave file of 16-bit stereo samples at 44.1 kHz: the device's own format, decoded unchanged.
std::vector<std::uint8_t> WaveFile(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> file;
  auto text = [&](const char* four) { file.insert(file.end(), four, four + 4); };
  auto number = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> 8 * i));
  };
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  text("RIFF"), number(36 + dataBytes, 4), text("WAVE");
  text("fmt "), number(16, 4), number(1, 2), number(2, 2), number(44100, 4), number(44100 * 4, 4),
      number(4, 2), number(16, 2);
  text("data"), number(dataBytes, 4);
  for (const std::int16_t s : samples) number(static_cast<std::uint16_t>(s), 2);
  return file;
}

TEST_F(AudioTest, TheDeviceClosesAfterEachSoundAndEverySampleIsPlayedFromTheFirst) {
  // A ramp with no zero in it, so a lost or added sample shows.
  constexpr std::size_t Frames = 3000;
  std::vector<std::int16_t> tone(Frames * 2);
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<std::int16_t>(100 + i);
  const std::vector<std::uint8_t> file = WaveFile(tone);
  const TDecodedWave wave(file.data(), file.size());
  ASSERT_FALSE(wave.Silent());
  EXPECT_FALSE(AudioDeviceOpen());
  // Raw samples (the way the beep plays), then one decoded wave twice: playing leaves it whole.
  const std::function<void()> plays[] = {[&] { PlaySamples(tone.data(), Frames); },
                                         [&] { PlayWave(wave, pfAsync); },
                                         [&] { PlayWave(wave, pfAsync); }};
  for (std::size_t round = 0; round < std::size(plays); ++round) {
    plays[round]();
    ASSERT_TRUE(AudioDeviceOpen());
    CloseAudioWhenIdle();  // a close that comes while the sound plays leaves it playing
    EXPECT_TRUE(AudioDeviceOpen());
    ASSERT_TRUE(WaitForClose(std::chrono::seconds(3))) << "round " << round;
    const std::vector<std::int16_t> played = Played();
    // The device may hand out a silent buffer while it opens; the sound starts after it.
    const auto start =
        std::find_if(played.begin(), played.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_GT(played.end() - start, static_cast<std::ptrdiff_t>(tone.size())) << "round " << round;
    EXPECT_TRUE(std::equal(tone.begin(), tone.end(), start)) << "round " << round;
    // Silence follows up to the close: the end of the sound was not cut off.
    EXPECT_TRUE(std::all_of(start + static_cast<std::ptrdiff_t>(tone.size()), played.end(),
                            [](std::int16_t s) { return s == 0; }));
  }
  // A silent wave does not even open the device.
  PlayWave(TDecodedWave(), pfAsync);
  EXPECT_FALSE(AudioDeviceOpen());
}

}  // namespace

}  // namespace kravelon
