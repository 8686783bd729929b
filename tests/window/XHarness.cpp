#include "tests/window/XHarness.h"

#include <SDL.h>
#include <SDL_image.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kravelon {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool ProcessExited(pid_t pid, int* status) {
  int st = 0;
  pid_t r = waitpid(pid, &st, WNOHANG);
  if (r == pid) {
    if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return true;
  }
  return false;
}

// The harness walks windows of programs that may end at any moment; a window gone between the
// listing and the question is no failure, anything else still ends the test loudly.
int ToleratingGoneWindows(Display* dpy, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  char text[256];
  XGetErrorText(dpy, error->error_code, text, sizeof text);
  std::fprintf(stderr, "X error: %s (request %d)\n", text, error->request_code);
  std::abort();
}

std::string WindowName(Display* dpy, Window w) {
  XTextProperty prop;
  std::string name;
  Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    name.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return name;
  }
  if (XGetWMName(dpy, w, &prop) && prop.value) {
    name.assign(reinterpret_cast<char*>(prop.value), prop.nitems);
    XFree(prop.value);
  }
  return name;
}

}  // namespace

bool TScreenshot::Save(const std::string& path) const {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, Width, Height, 24, SDL_PIXELFORMAT_RGB24);
  if (!s) return false;
  for (int y = 0; y < Height; ++y) {
    std::memcpy(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch,
                Rgb.data() + static_cast<std::size_t>(y) * Width * 3,
                static_cast<std::size_t>(Width) * 3);
  }
  bool ok = IMG_SavePNG(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

TXServer::TXServer(int width, int height) : Width(width), Height(height) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe");
  Pid = fork();
  if (Pid == 0) {
    close(fds[0]);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    std::string fd = std::to_string(fds[1]);
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  Name = ":" + number;
  Dpy = XOpenDisplay(Name.c_str());
  if (!Dpy) throw std::runtime_error("cannot connect to " + Name);
  XSetErrorHandler(ToleratingGoneWindows);
}

TXServer::~TXServer() {
  if (Dpy) XCloseDisplay(Dpy);
  if (Pid > 0) {
    kill(Pid, SIGTERM);
    waitpid(Pid, nullptr, 0);
  }
}

TScreenshot TXServer::Shot(int x, int y, int width, int height) {
  if (width < 0) width = Width - x;
  if (height < 0) height = Height - y;
  XSync(Dpy, False);
  XImage* image = XGetImage(Dpy, DefaultRootWindow(Dpy), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  TScreenshot shot;
  if (!image) return shot;
  shot.Width = width;
  shot.Height = height;
  shot.Rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      unsigned long p = XGetPixel(image, i, j);
      std::size_t k = (static_cast<std::size_t>(j) * width + i) * 3;
      shot.Rgb[k] = static_cast<std::uint8_t>((p >> 16) & 0xFF);
      shot.Rgb[k + 1] = static_cast<std::uint8_t>((p >> 8) & 0xFF);
      shot.Rgb[k + 2] = static_cast<std::uint8_t>(p & 0xFF);
    }
  }
  XDestroyImage(image);
  return shot;
}

void TXServer::MoveTo(int x, int y) {
  XTestFakeMotionEvent(Dpy, 0, x, y, CurrentTime);
  XSync(Dpy, False);
}

void TXServer::Click(int button) {
  XTestFakeButtonEvent(Dpy, static_cast<unsigned>(button), True, CurrentTime);
  XSync(Dpy, False);
  std::this_thread::sleep_for(20ms);
  XTestFakeButtonEvent(Dpy, static_cast<unsigned>(button), False, CurrentTime);
  XSync(Dpy, False);
}

void TXServer::ClickAt(int x, int y, int button) {
  MoveTo(x, y);
  std::this_thread::sleep_for(30ms);
  Click(button);
}

void TXServer::Key(const char* keysym) {
  KeyCode code = XKeysymToKeycode(Dpy, XStringToKeysym(keysym));
  XTestFakeKeyEvent(Dpy, code, True, CurrentTime);
  XSync(Dpy, False);
  std::this_thread::sleep_for(20ms);
  XTestFakeKeyEvent(Dpy, code, False, CurrentTime);
  XSync(Dpy, False);
}

void TXServer::Hold(const char* keysym, bool down) {
  XTestFakeKeyEvent(Dpy, XKeysymToKeycode(Dpy, XStringToKeysym(keysym)), down ? True : False,
                    CurrentTime);
  XSync(Dpy, False);
}

void TXServer::Move(Window id, int x, int y) {
  XMoveWindow(Dpy, id, x, y);
  XSync(Dpy, False);
}

void TXServer::Focus(Window id) {
  XRaiseWindow(Dpy, id);
  XSetInputFocus(Dpy, id, RevertToParent, CurrentTime);
  XSync(Dpy, False);
}

std::vector<TXServer::TWindowInfo> TXServer::Windows() {
  std::vector<TWindowInfo> result;
  Window root = DefaultRootWindow(Dpy), parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(Dpy, root, &root, &parent, &children, &count)) return result;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(Dpy, children[i], &a)) continue;
    TWindowInfo info;
    info.Id = children[i];
    info.Name = WindowName(Dpy, children[i]);
    info.Frame = {a.x, a.y, a.x + a.width, a.y + a.height};
    info.Mapped = a.map_state == IsViewable;
    result.push_back(info);
  }
  if (children) XFree(children);
  return result;
}

std::optional<TXServer::TWindowInfo> TXServer::FindWindow(const std::string& name) {
  for (const auto& w : Windows()) {
    if (w.Mapped && w.Name == name) return w;
  }
  return std::nullopt;
}

std::optional<TXServer::TWindowInfo> TXServer::WaitForWindow(const std::string& name,
                                                             std::chrono::milliseconds timeout) {
  auto until = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < until) {
    if (auto w = FindWindow(name)) return w;
    std::this_thread::sleep_for(25ms);
  }
  return std::nullopt;
}

std::string GameBuildFolder() { return KRAVELON_BUILD_DIR; }

TGameProcess::TGameProcess(const TXServer* server, TOptions options) {
  const fs::path build = GameBuildFolder();
  const bool installed = !options.Executable.empty();
  if (!installed) fs::copy_file(build / "kravelon", fs::path(Dir) / "kravelon");
  if (!installed && options.WithImages) {
    fs::copy(build / "Images", fs::path(Dir) / "Images", fs::copy_options::recursive);
    if (!options.WithCursor) fs::remove(fs::path(Dir) / "Images" / "CURSOR.CUR");
    if (!options.RemovedImage.empty()) fs::remove(fs::path(Dir) / "Images" / options.RemovedImage);
    if (!options.DamagedImage.empty()) {
      const std::string path = Dir + "Images/" + options.DamagedImage;
      std::string bytes = ReadAll(path);
      bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5A);
      std::ofstream(path, std::ios::binary) << bytes;
    }
  }
  if (!installed && options.WithSounds) {
    fs::copy(build / "Sounds", fs::path(Dir) / "Sounds", fs::copy_options::recursive);
  }
  if (!installed && options.WithCatalogues) {
    fs::copy(build / "locale", fs::path(Dir) / "locale", fs::copy_options::recursive);
    if (options.TruncatedCatalogue) {
      const fs::path mo = fs::path(Dir) / "locale/en/LC_MESSAGES/kravelon.mo";
      fs::resize_file(mo, fs::file_size(mo) / 2);
    }
  }
  if (!installed && !options.FolderInPlaceOf.empty()) {
    fs::remove(fs::path(Dir) / options.FolderInPlaceOf);
    fs::create_directory(fs::path(Dir) / options.FolderInPlaceOf);
  }
  Player = options.Player.empty() ? Dir + "player/" : options.Player;
  if (!Player.ends_with('/')) Player += '/';
  fs::create_directories(Player + "home");
  const std::string exe = installed ? options.Executable : Dir + "kravelon";
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (const auto& a : options.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  Pid = fork();
  if (Pid == 0) {
    int out = open((Dir + "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open((Dir + "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    if (options.WithDisplay && server) {
      setenv("DISPLAY", server->DisplayName().c_str(), 1);
    } else {
      unsetenv("DISPLAY");
    }
    setenv("KRAVELON_ECHO_CONSOLE", "1", 1);
    // The game's own language unless a test asks for another: the machine's locale must not
    // change what the tests read.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
    setenv("HOME", (Player + "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Player + "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (Player + "data").c_str(), 1);
    setenv("XDG_STATE_HOME", (Player + "state").c_str(), 1);
    for (const std::string& setting : options.Environment) {
      const auto equals = setting.find('=');
      setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    if (options.DiskAudio) {
      setenv("SDL_AUDIODRIVER", "disk", 1);
      setenv("SDL_DISKAUDIOFILE", (Dir + "audio.raw").c_str(), 1);
    } else {
      setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    if (installed && chdir(Dir.c_str()) != 0) _exit(126);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
}

TGameProcess::~TGameProcess() {
  if (Pid > 0 && !Exited) {
    kill(Pid, SIGKILL);
    waitpid(Pid, nullptr, 0);
  }
}

namespace {

constexpr std::string_view BoxTag = "Box: ";

}  // namespace

std::vector<std::string> TGameProcess::ConsoleLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadAll(Dir + "stdout.txt"));
  for (std::string line; std::getline(in, line);)
    if (!line.starts_with(BoxTag)) lines.push_back(line);
  return lines;
}

std::vector<std::string> TGameProcess::BoxLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadAll(Dir + "stdout.txt"));
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(BoxTag)) lines.push_back(line.substr(BoxTag.size()));
  return lines;
}

bool TGameProcess::WaitForLine(const std::string& line, std::chrono::milliseconds timeout) const {
  auto until = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < until) {
    for (const auto& l : ConsoleLines()) {
      if (l == line) return true;
    }
    std::this_thread::sleep_for(25ms);
  }
  return false;
}

std::optional<int> TGameProcess::WaitForExit(std::chrono::milliseconds timeout) {
  auto until = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (ProcessExited(Pid, &status)) {
      Exited = true;
      return status;
    }
    std::this_thread::sleep_for(20ms);
  }
  return std::nullopt;
}

std::string TGameProcess::Stderr() const { return ReadAll(Dir + "stderr.txt"); }

void TGameProcess::Terminate() { Signal(SIGTERM); }

void TGameProcess::Signal(int signal) {
  if (Pid > 0 && !Exited) kill(Pid, signal);
}

}  // namespace kravelon
