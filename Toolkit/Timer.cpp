#include "Toolkit/Timer.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>

#include "Platform/Errors.h"

namespace kravelon {

namespace {

Uint32 TimerEvent = 0;

// Timer state touched by SDL's timer thread. Slots are never freed, so a callback that fires
// while its timer is being removed still points at valid memory.
constexpr int MaxTimers = 64;
std::atomic<bool> TickPending[MaxTimers];
std::atomic<bool> SlotUsed[MaxTimers];
// The timer in each slot, for the main thread that delivers the ticks.
TTimer* Owners[MaxTimers];

Uint32 PushTick(Uint32 interval, void* param) {
  const auto id = static_cast<int>(reinterpret_cast<std::intptr_t>(param));
  bool expected = false;
  if (TickPending[id].compare_exchange_strong(expected, true)) {
    SDL_Event event{};
    event.type = TimerEvent;
    event.user.code = id;
    if (SDL_PushEvent(&event) <= 0) TickPending[id] = false;
  }
  return interval;
}

}  // namespace

std::uint32_t TimerEventType() { return TimerEvent; }

void RegisterTimerEvent() { TimerEvent = SDL_RegisterEvents(1); }

void DeliverTick(const SDL_Event& tick) {
  const int id = tick.user.code;
  if (id >= 0 && id < MaxTimers && Owners[id]) Owners[id]->Tick();
}

TTimer::TTimer() : TimerId(-1) {
  for (int i = 0; i < MaxTimers; ++i) {
    bool expected = false;
    if (SlotUsed[i].compare_exchange_strong(expected, true)) {
      TimerId = i;
      break;
    }
  }
  if (TimerId < 0) throw TToolkitError("Too many timers");
  TickPending[TimerId] = false;
  Owners[TimerId] = this;
}

TTimer::~TTimer() {
  Cancel();
  Owners[TimerId] = nullptr;
  SlotUsed[TimerId] = false;
}

void TTimer::Cancel() {
  if (SdlTimer != 0) SDL_RemoveTimer(SdlTimer);
  SdlTimer = 0;
  TickPending[TimerId] = false;
}

void TTimer::Restart() {
  Cancel();
  if (IsEnabled && IntervalMs > 0) {
    SdlTimer = SDL_AddTimer(static_cast<Uint32>(IntervalMs), PushTick,
                            reinterpret_cast<void*>(static_cast<std::intptr_t>(TimerId)));
  }
}

void TTimer::SetEnabled(bool on) {
  if (on == IsEnabled) return;
  IsEnabled = on;
  Restart();
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds == IntervalMs) return;
  IntervalMs = milliseconds;
  Restart();
}

void TTimer::Tick() {
  TickPending[TimerId] = false;
  if (IsEnabled && OnTimer) OnTimer();
}

}  // namespace kravelon
