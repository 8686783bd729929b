#include "Toolkit/Application.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "Toolkit/Audio.h"
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

// The same range the message box flushes once it has closed.
bool IsUserInput(const SDL_Event& event) {
  return event.type >= SDL_KEYDOWN && event.type <= SDL_MOUSEWHEEL;
}

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

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
    if (event.type == AudioIdleEventType() && event.type != 0) {
      CloseAudioWhenIdle();
      return;
    }
    if (event.type == TimerEventType()) {
      DeliverTick(event);
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
