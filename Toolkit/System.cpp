#include "Toolkit/System.h"
#include "Toolkit/Scale.h"

#include <SDL.h>
#include <SDL_image.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <vector>

#include "Toolkit/Audio.h"

namespace {

TSleeper& CurrentSleeper() {
  static TSleeper sleeper;
  return sleeper;
}

SDL_Cursor* LoadedCursor = nullptr;

}  // namespace

void Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  if (CurrentSleeper()) {
    CurrentSleeper()(milliseconds);
  } else {
    SDL_Delay(static_cast<Uint32>(milliseconds));
  }
}

void SetSleeper(TSleeper sleeper) { CurrentSleeper() = std::move(sleeper); }

void Beep() {
  // 150 ms of 880 Hz with a short fade at both ends, so it does not click.
  constexpr int Rate = 44100;
  constexpr int Frames = Rate * 150 / 1000;
  static std::vector<std::int16_t> tone = [] {
    std::vector<std::int16_t> samples(Frames * 2);
    for (int i = 0; i < Frames; ++i) {
      double fade = std::min({1.0, i / 441.0, (Frames - i) / 441.0});
      auto v = static_cast<std::int16_t>(8000 * fade * std::sin(2 * M_PI * 880.0 * i / Rate));
      samples[2 * i] = samples[2 * i + 1] = v;
    }
    return samples;
  }();
  PlaySamples(tone.data(), Frames);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.find_last_of('/') + 1);
}

void ReturnFreedMemory() { malloc_trim(0); }

TPoint ScreenSize() {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0};
  return {mode.w / DisplayScale(), mode.h / DisplayScale()};
}

TCursorResult LoadCursorFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return FileExists(path) ? TCursorResult::Failed : TCursorResult::NotFound;
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (bytes.size() < 22) return TCursorResult::Failed;
  // The hotspot sits in the file's first directory entry.
  const int hotX = bytes[10] | (bytes[11] << 8);
  const int hotY = bytes[12] | (bytes[13] << 8);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  SDL_Surface* pixels = rw ? IMG_LoadCUR_RW(rw) : nullptr;
  if (rw) SDL_RWclose(rw);
  if (!pixels) return TCursorResult::Failed;
  SDL_Cursor* cursor = SDL_CreateColorCursor(pixels, hotX, hotY);
  SDL_FreeSurface(pixels);
  if (!cursor) return TCursorResult::Failed;  // e.g. a video driver with no cursors
  SDL_SetCursor(cursor);
  if (LoadedCursor) SDL_FreeCursor(LoadedCursor);
  LoadedCursor = cursor;
  return TCursorResult::Loaded;
}
