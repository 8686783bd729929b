#include "Toolkit/System.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <vector>

#include "Toolkit/Audio.h"
#include "Toolkit/Decoders.h"
#include "Toolkit/Quit.h"
#include "Toolkit/Scale.h"

namespace kravelon {

namespace {

TSleeper& CurrentSleeper() {
  static TSleeper sleeper;
  return sleeper;
}

TCursorPtr LoadedCursor;

}  // namespace

void Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  if (CurrentSleeper()) {
    CurrentSleeper()(milliseconds);
  } else {
    WaitUnlessQuit(milliseconds);
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

TReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes,
                          std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  // Not blocking: a named pipe in place of the file would otherwise wait for a writer forever.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? TReadResult::Missing : TReadResult::Failed;
  }
  struct stat info {};
  TReadResult result = TReadResult::Read;
  if (fstat(fd, &info) != 0) {
    result = TReadResult::Failed;
  } else if (!S_ISREG(info.st_mode)) {
    result = TReadResult::Missing;
  } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    result = TReadResult::TooLarge;
  } else {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // the file shrank under us: keep what is there
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    if (done == 0 && info.st_size > 0) result = TReadResult::Failed;
  }
  close(fd);
  if (result != TReadResult::Read) bytes.clear();
  return result;
}

TCursorResult LoadCursorFromFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  switch (ReadFileBytes(path, MaxCursorFileBytes, bytes)) {
    case TReadResult::Read: break;
    case TReadResult::Missing: return TCursorResult::NotFound;
    case TReadResult::TooLarge: return TCursorResult::Refused;
    case TReadResult::Failed: return TCursorResult::Failed;
  }
  TCursorImage image;
  const TCursorResult decoded = DecodeCursor(bytes.data(), bytes.size(), image);
  if (decoded != TCursorResult::Loaded) return decoded;
  TCursorPtr cursor(SDL_CreateColorCursor(image.Pixels.get(), image.HotX, image.HotY));
  if (!cursor) return TCursorResult::Failed;  // e.g. a video driver with no cursors
  SDL_SetCursor(cursor.get());
  LoadedCursor = std::move(cursor);
  return TCursorResult::Loaded;
}

void ReleaseCursor() { LoadedCursor.reset(); }

}  // namespace kravelon
