#include "Toolkit/Application.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
#include <utility>

#include "Toolkit/Timer.h"

namespace kravelon {

TApplication* Application = nullptr;

namespace {

std::uint32_t WindowIdOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID;
    case SDL_KEYDOWN: case SDL_KEYUP: return e.key.windowID;
    case SDL_TEXTINPUT: return e.text.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP: return e.button.windowID;
    case SDL_MOUSEWHEEL: return e.wheel.windowID;
    default: return 0;
  }
}

// Work posted from other threads, and whether the one note that says so is in SDL's queue: a
// burst of posts costs one event.
struct TPosted {
  std::mutex Lock;
  std::deque<std::function<void()>> Work;
  bool NotePending = false;
  std::atomic<std::uint32_t> NoteType{0};  // read by the loop without the lock
};

TPosted& Posted() {
  static TPosted posted;
  return posted;
}

// Counts a modal loop in for as long as it runs, however it ends.
class TModalScope {
 public:
  explicit TModalScope(int& depth) : Depth(depth) { ++Depth; }
  ~TModalScope() { --Depth; }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  int& Depth;
};

}  // namespace

// The keys and the pointer, the same range the message box flushes once it has closed; and a
// controller's buttons, sticks, touchpad and sensors.
bool IsUserInput(const SDL_Event& event) {
  const bool keysOrPointer = event.type >= SDL_KEYDOWN && event.type <= SDL_MOUSEWHEEL;
  const bool controller =
      (event.type >= SDL_CONTROLLERAXISMOTION && event.type <= SDL_CONTROLLERBUTTONUP) ||
      (event.type >= SDL_CONTROLLERTOUCHPADDOWN && event.type <= SDL_CONTROLLERSENSORUPDATE);
  return keysOrPointer || controller;
}

bool IsControllerEvent(const SDL_Event& event) {
  return event.type >= SDL_CONTROLLERAXISMOTION && event.type <= SDL_CONTROLLERSENSORUPDATE;
}

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

bool TApplication::Post(std::function<void()> work) {
  TPosted& posted = Posted();
  const std::lock_guard<std::mutex> hold(posted.Lock);
  if (posted.NoteType == 0) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
    const Uint32 type = SDL_RegisterEvents(1);
    if (type == static_cast<Uint32>(-1)) return false;
    posted.NoteType = type;
  }
  posted.Work.push_back(std::move(work));
  if (!posted.NotePending) {
    SDL_Event note{};
    note.type = posted.NoteType;
    posted.NotePending = SDL_PushEvent(&note) == 1;
    if (!posted.NotePending) {
      posted.Work.pop_back();
      return false;
    }
  }
  return true;
}

namespace {

// What has been posted so far, taken off the queue; the next post sends a note again. With
// `forget`, SDL's event type is forgotten too: it is registered anew after SDL starts again.
std::deque<std::function<void()>> TakePosted(bool forget) {
  std::deque<std::function<void()>> work;
  TPosted& posted = Posted();
  const std::lock_guard<std::mutex> hold(posted.Lock);
  work.swap(posted.Work);
  posted.NotePending = false;
  if (forget) posted.NoteType = 0;
  return work;
}

}  // namespace

void TApplication::RunPosted() {
  for (auto& job : TakePosted(false)) {
    try {
      job();
    } catch (...) {
      if (Application) Application->ShowException(std::current_exception());
    }
  }
}

void TApplication::DropPosted() { TakePosted(true); }

void TApplication::SetIdle(TIdleHandler handler) { Idle = std::move(handler); }
void TApplication::ClearIdle() { Idle = nullptr; }
void TApplication::Terminate() { IsTerminated = true; }

void TApplication::RegisterForm(TAppWindow* form) { Forms.push_back(form); }
void TApplication::UnregisterForm(TAppWindow* form) { std::erase(Forms, form); }

void TApplication::ShowException(const std::exception& error) { ReportError(error.what()); }

void TApplication::ShowException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ReportError("");
  }
}

void TApplication::ReportError(const std::string& message) {
  if (OnException) {
    OnException(message);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

void TApplication::Dispatch(const SDL_Event& event) {
  try {
    if (event.type == SDL_QUIT) {
      Terminate();
      return;
    }
    if (event.type == Posted().NoteType && event.type != 0) {
      RunPosted();
      return;
    }
    if (event.type == TimerEventType()) {
      DeliverTick(event);
      return;
    }
    if (IsControllerEvent(event)) {
      if (OnControllerEvent) OnControllerEvent(event);
      return;
    }
    const std::uint32_t id = WindowIdOf(event);
    if (id == 0) return;
    for (TAppWindow* f : Forms) {
      if (f->WindowId() == id) {
        f->Dispatch(event);
        break;
      }
    }
  } catch (...) {
    ShowException(std::current_exception());
  }
}

void TApplication::ProcessMessages() {
  SDL_Event event;
  while (!IsTerminated && SDL_PollEvent(&event)) Dispatch(event);
}

void TApplication::RunModal(const TModalFilter& filter) {
  const TModalScope scope(ModalDepth);
  const bool endedBefore = IsTerminated;
  SDL_Event event;
  while (SDL_WaitEvent(&event)) {
    switch (filter(event)) {
      case TModalAnswer::Handled:
        break;
      case TModalAnswer::Dispatch:
        Dispatch(event);
        if (IsTerminated && !endedBefore) return;
        break;
      case TModalAnswer::Close:
        return;
    }
  }
}

bool TApplication::StepIdle() {
  if (!Idle) return true;
  // A copy: the step may install another step or clear the slot while it runs.
  TIdleHandler step = Idle;
  bool done = true;
  try {
    step(done);
  } catch (...) {
    ShowException(std::current_exception());
  }
  return done;
}

void TApplication::RunIdle() {
  const bool done = StepIdle();
  if (done && Idle && !IsTerminated) {
    SDL_Event event;
    if (SDL_WaitEvent(&event)) Dispatch(event);
  }
}

void TApplication::Run() {
  if (IsTerminated) return;
  if (MainForm) MainForm->Show();
  while (!IsTerminated) {
    if (Idle) {
      ProcessMessages();
      if (!IsTerminated && Idle) RunIdle();
    } else {
      SDL_Event event;
      if (SDL_WaitEvent(&event)) Dispatch(event);
    }
  }
}

}  // namespace kravelon
