#include "Net/AsioAvahiPoll.h"

#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <asio/posix/stream_descriptor.hpp>
#include <asio/steady_timer.hpp>
#include <chrono>

namespace kravelon {

struct TAsioAvahiPoll::TWatch : std::enable_shared_from_this<TWatch> {
  TWatch(asio::io_context& io, int fd) : Descriptor(io), Fd(fd) {
    // Asio registers a descriptor once with the kernel's poller, and D-Bus watches the same
    // descriptor twice (to read, to write): each watch waits on a duplicate of its own.
    const int copy = ::dup(fd);
    if (copy >= 0) Descriptor.assign(copy);
  }
  void Arm();
  void Fired(AvahiWatchEvent event, std::error_code error);

  TAsioAvahiPoll* Poll = nullptr;
  asio::posix::stream_descriptor Descriptor;
  int Fd;
  AvahiWatchEvent Wanted = static_cast<AvahiWatchEvent>(0);
  AvahiWatchEvent Happened = static_cast<AvahiWatchEvent>(0);
  AvahiWatchCallback Callback = nullptr;
  void* Data = nullptr;
  bool Freed = false, WaitingIn = false, WaitingOut = false;
};

struct TAsioAvahiPoll::TTimeout : std::enable_shared_from_this<TTimeout> {
  explicit TTimeout(asio::io_context& io) : Timer(io) {}
  void Set(const struct timeval* when);

  TAsioAvahiPoll* Poll = nullptr;
  asio::steady_timer Timer;
  AvahiTimeoutCallback Callback = nullptr;
  void* Data = nullptr;
  unsigned Generation = 0;  // a wait from before the last change does not call back
  bool Freed = false;
};

void TAsioAvahiPoll::TWatch::Arm() {
  if (Freed || !Descriptor.is_open()) return;
  // One wait a direction at a time; the watch stays alive while a wait holds it.
  const auto wait = [this](AvahiWatchEvent event, asio::posix::descriptor_base::wait_type type,
                           bool TWatch::*waiting) {
    if (!(Wanted & event) || this->*waiting) return;
    this->*waiting = true;
    Descriptor.async_wait(type, [self = shared_from_this(), event, waiting](std::error_code error) {
      (*self).*waiting = false;
      self->Fired(event, error);
    });
  };
  wait(AVAHI_WATCH_IN, asio::posix::descriptor_base::wait_read, &TWatch::WaitingIn);
  wait(AVAHI_WATCH_OUT, asio::posix::descriptor_base::wait_write, &TWatch::WaitingOut);
}

void TAsioAvahiPoll::TWatch::Fired(AvahiWatchEvent event, std::error_code error) {
  if (Freed || error == asio::error::operation_aborted) return;
  // An error on the descriptor is the owner's to find when it reads or writes.
  if (Wanted & event) {
    Happened = event;
    Callback(reinterpret_cast<AvahiWatch*>(this), Fd, event, Data);
    Happened = static_cast<AvahiWatchEvent>(0);
  }
  Arm();
}

void TAsioAvahiPoll::TTimeout::Set(const struct timeval* when) {
  ++Generation;
  Timer.cancel();
  if (!when || Freed) return;
  // Avahi names an absolute time of the real-time clock; the wait is on the steady one.
  timeval now{};
  ::gettimeofday(&now, nullptr);
  const auto delay = std::chrono::seconds(when->tv_sec - now.tv_sec) +
                     std::chrono::microseconds(when->tv_usec - now.tv_usec);
  Timer.expires_after(std::max<std::chrono::steady_clock::duration>(delay, {}));
  Timer.async_wait([self = shared_from_this(), generation = Generation](std::error_code error) {
    if (error || self->Freed || generation != self->Generation) return;
    self->Callback(reinterpret_cast<AvahiTimeout*>(self.get()), self->Data);
  });
}

TAsioAvahiPoll::TAsioAvahiPoll(asio::io_context& io) : Io(io) {
  Table.userdata = this;
  Table.watch_new = WatchNew;
  Table.watch_update = WatchUpdate;
  Table.watch_get_events = WatchGetEvents;
  Table.watch_free = WatchFree;
  Table.timeout_new = TimeoutNew;
  Table.timeout_update = TimeoutUpdate;
  Table.timeout_free = TimeoutFree;
}

TAsioAvahiPoll::~TAsioAvahiPoll() {
  for (auto& [handle, watch] : Watches) {
    watch->Freed = true;
    std::error_code ignored;
    watch->Descriptor.close(ignored);
  }
  for (auto& [handle, timeout] : Timeouts) {
    timeout->Freed = true;
    timeout->Timer.cancel();
  }
}

AvahiWatch* TAsioAvahiPoll::WatchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                                     AvahiWatchCallback callback, void* data) {
  auto* poll = static_cast<TAsioAvahiPoll*>(api->userdata);
  auto watch = std::make_shared<TWatch>(poll->Io, fd);
  if (!watch->Descriptor.is_open()) return nullptr;
  watch->Poll = poll;
  watch->Wanted = events;
  watch->Callback = callback;
  watch->Data = data;
  poll->Watches[watch.get()] = watch;
  watch->Arm();
  return reinterpret_cast<AvahiWatch*>(watch.get());
}

void TAsioAvahiPoll::WatchUpdate(AvahiWatch* handle, AvahiWatchEvent events) {
  auto* watch = reinterpret_cast<TWatch*>(handle);
  watch->Wanted = events;
  watch->Arm();
}

AvahiWatchEvent TAsioAvahiPoll::WatchGetEvents(AvahiWatch* handle) {
  return reinterpret_cast<TWatch*>(handle)->Happened;
}

void TAsioAvahiPoll::WatchFree(AvahiWatch* handle) {
  auto* watch = reinterpret_cast<TWatch*>(handle);
  watch->Freed = true;
  std::error_code ignored;
  watch->Descriptor.close(ignored);  // our duplicate; the owner closes its own
  watch->Poll->Watches.erase(watch);
}

AvahiTimeout* TAsioAvahiPoll::TimeoutNew(const AvahiPoll* api, const struct timeval* when,
                                         AvahiTimeoutCallback callback, void* data) {
  auto* poll = static_cast<TAsioAvahiPoll*>(api->userdata);
  auto timeout = std::make_shared<TTimeout>(poll->Io);
  timeout->Callback = callback;
  timeout->Data = data;
  timeout->Poll = poll;
  poll->Timeouts[timeout.get()] = timeout;
  timeout->Set(when);
  return reinterpret_cast<AvahiTimeout*>(timeout.get());
}

void TAsioAvahiPoll::TimeoutUpdate(AvahiTimeout* handle, const struct timeval* when) {
  reinterpret_cast<TTimeout*>(handle)->Set(when);
}

void TAsioAvahiPoll::TimeoutFree(AvahiTimeout* handle) {
  auto* timeout = reinterpret_cast<TTimeout*>(handle);
  timeout->Freed = true;
  timeout->Timer.cancel();
  timeout->Poll->Timeouts.erase(timeout);
}

}  // namespace kravelon
