#pragma once
// Message-driven timers: SDL's timer thread queues a tick event, and the loop that takes it off
// the queue runs the timer's handler on the main thread.
#include <cstdint>
#include <functional>

union SDL_Event;

namespace kravelon {

// One tick at a time: a tick that has not been handled yet is not queued again.
class TTimer {
 public:
  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  void SetEnabled(bool on);
  bool Enabled() const { return IsEnabled; }
  void SetInterval(int milliseconds);  // restarts the count when running
  int Interval() const { return IntervalMs; }
  std::function<void()> OnTimer;

  void Tick();  // handles one tick from the queue
  int Id() const { return TimerId; }

 private:
  void Restart();
  void Cancel();
  bool IsEnabled = false;
  int IntervalMs = 1000;
  int TimerId;
  int SdlTimer = 0;
};

// The user event type carrying timer ticks (and nothing else), registered with SDL by
// RegisterTimerEvent when the toolkit starts.
std::uint32_t TimerEventType();
void RegisterTimerEvent();
// Hands a tick to its timer; a tick of a timer that is gone is dropped.
void DeliverTick(const SDL_Event& tick);

}  // namespace kravelon
