#include "Toolkit/Quit.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kravelon {

namespace {

std::mutex QuitMutex;
std::condition_variable QuitSignalled;
std::atomic<bool> Quit{false};
std::atomic<bool> Stopping{false};

// The watching thread, ended at exit too: a program that never shuts the toolkit down (a
// benchmark) must not end in std::terminate.
struct TWatcher {
  std::thread Thread;
  void Stop() {
    if (!Thread.joinable()) return;
    Stopping = true;
    pthread_kill(Thread.native_handle(), SIGHUP);
    Thread.join();
  }
  ~TWatcher() { Stop(); }
} Watcher;

sigset_t QuitSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

// Sees every event as it is queued, from any thread.
int SDLCALL NoteQuit(void*, SDL_Event* event) {
  if (event->type == SDL_QUIT) {
    {
      std::lock_guard lock(QuitMutex);
      Quit = true;
    }
    QuitSignalled.notify_all();
  }
  return 1;
}

void WatchSignals() {
  const sigset_t set = QuitSignals();
  while (true) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) continue;
    if (Stopping) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

}  // namespace

void BlockQuitSignals() {
  const sigset_t set = QuitSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StartQuitWatch() {
  Quit = false;
  Stopping = false;
  SDL_AddEventWatch(NoteQuit, nullptr);
  Watcher.Thread = std::thread(WatchSignals);
}

void StopQuitWatch() {
  Watcher.Stop();
  SDL_DelEventWatch(NoteQuit, nullptr);
  Quit = false;
}

bool QuitRequested() { return Quit; }

bool WaitUnlessQuit(int milliseconds) {
  std::unique_lock lock(QuitMutex);
  return QuitSignalled.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [] { return Quit.load(); });
}

}  // namespace kravelon
