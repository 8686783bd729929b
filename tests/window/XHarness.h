#pragma once
// Drives the real game like a player: its own Xvfb server, the executable started from a
// temporary copy of the build folder, the pointer and keys through XTest, screenshots read back.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Common/Types.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

struct TScreenshot {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;  // 3 bytes a pixel, rows top to bottom
  TColor At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * Width + x) * 3;
    return {Rgb[i], Rgb[i + 1], Rgb[i + 2]};
  }
  // Saves as PNG (for a person to look at when a test fails).
  bool Save(const std::string& path) const;
};

class TXServer {
 public:
  TXServer(int width = 1024, int height = 768);
  ~TXServer();
  TXServer(const TXServer&) = delete;
  TXServer& operator=(const TXServer&) = delete;

  const std::string& DisplayName() const { return Name; }
  Display* Connection() const { return Dpy; }

  TScreenshot Shot(int x = 0, int y = 0, int width = -1, int height = -1);
  void MoveTo(int x, int y);
  void Click(int button = 1);  // 1 left, 2 middle, 3 right, 4/5 wheel
  void ClickAt(int x, int y, int button = 1);
  void Key(const char* keysym);  // e.g. "Escape", "Next", "Return"
  // Presses or releases a key (a modifier) and leaves it so.
  void Hold(const char* keysym, bool down);
  // For two games on one screen: a window moved (there is no window manager to do it), and the
  // window the keys go to.
  void Move(Window id, int x, int y);
  void Focus(Window id);

  struct TWindowInfo {
    Window Id = 0;
    std::string Name;
    TRect Frame;  // root coordinates
    bool Mapped = false;
  };
  std::vector<TWindowInfo> Windows();
  std::optional<TWindowInfo> FindWindow(const std::string& name);
  // Waits until a mapped window with this name exists.
  std::optional<TWindowInfo> WaitForWindow(const std::string& name,
                                           std::chrono::milliseconds timeout);

 private:
  pid_t Pid = -1;
  std::string Name;
  Display* Dpy = nullptr;
  int Width, Height;
};

// One run of the game from a scratch copy of the build folder, or of an installed game.
class TGameProcess {
 public:
  struct TOptions {
    bool WithImages = true;
    bool WithSounds = true;
    bool WithCursor = true;
    bool WithDisplay = true;
    std::string RemovedImage{};  // a file under Images/ to leave out
    std::string DamagedImage{};  // a file under Images/ with one byte changed
    bool DiskAudio = false;      // what the game plays is written to AudioFile()
    std::vector<std::string> Environment{};  // more NAME=value settings for the game
    // An installed game to run instead of a copy of the build (the options above then do not
    // apply). It starts in the scratch folder, where there are no pictures or sounds.
    std::string Executable{};
    std::vector<std::string> Arguments{};
    std::string FolderInPlaceOf{};  // a file (e.g. "Sounds/Shot.wav") replaced by a folder
    bool WithCatalogues = true;       // locale/ beside the game
    bool TruncatedCatalogue = false;  // the English catalogue cut in half
    // The folder standing for the player's: HOME is its home/, and XDG_CONFIG_HOME,
    // XDG_DATA_HOME and XDG_STATE_HOME its config/, data/ and state/, so that no test reads or
    // writes the real settings and record. A test that restarts the game passes one folder to
    // both runs; by default each run has its own in its scratch folder.
    std::string Player{};
  };
  TGameProcess(const TXServer* server, TOptions options);
  ~TGameProcess();
  TGameProcess(const TGameProcess&) = delete;
  TGameProcess& operator=(const TGameProcess&) = delete;

  const std::string& Folder() const { return Dir; }  // ends in '/'
  const std::string& PlayerFolder() const { return Player; }  // ends in '/'
  // The samples played so far (16-bit stereo at 44.1 kHz), with DiskAudio.
  std::string AudioFile() const { return Dir + "audio.raw"; }
  // The console lines the game has written so far (it echoes them for us).
  std::vector<std::string> ConsoleLines() const;
  // The lines of every message box shown so far, in order (echoed beside the console's).
  std::vector<std::string> BoxLines() const;
  bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout) const;
  // Waits for the process to end; its exit status, or nullopt on time-out.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  std::string Stderr() const;
  void Terminate();  // SIGTERM
  void Signal(int signal);
  pid_t Id() const { return Pid; }

 private:
  TScratchFolder Scratch;  // goes after the destructor has ended the game
  const std::string Dir = Scratch.Path();
  std::string Player;
  pid_t Pid = -1;
  bool Exited = false;
};

// The folder the test executable was started from holds the game's build.
std::string GameBuildFolder();

}  // namespace kravelon
