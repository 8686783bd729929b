#pragma once
// Avahi's main-loop interface served by the network thread's Asio loop, so that discovery needs
// no thread of its own. Avahi (and D-Bus under it) ask to watch descriptors and to be woken at
// times; this adapter waits for both with Asio and calls them back on the same thread.
#include <avahi-common/watch.h>

#include <asio/io_context.hpp>
#include <map>
#include <memory>

namespace kravelon {

class TAsioAvahiPoll {
 public:
  explicit TAsioAvahiPoll(asio::io_context& io);
  // Every watch and timeout still held is dropped; free Avahi's objects first.
  ~TAsioAvahiPoll();
  TAsioAvahiPoll(const TAsioAvahiPoll&) = delete;
  TAsioAvahiPoll& operator=(const TAsioAvahiPoll&) = delete;

  const AvahiPoll* Api() const { return &Table; }

 private:
  struct TWatch;
  struct TTimeout;

  static AvahiWatch* WatchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                              AvahiWatchCallback callback, void* data);
  static void WatchUpdate(AvahiWatch* watch, AvahiWatchEvent events);
  static AvahiWatchEvent WatchGetEvents(AvahiWatch* watch);
  static void WatchFree(AvahiWatch* watch);
  static AvahiTimeout* TimeoutNew(const AvahiPoll* api, const struct timeval* when,
                                  AvahiTimeoutCallback callback, void* data);
  static void TimeoutUpdate(AvahiTimeout* timeout, const struct timeval* when);
  static void TimeoutFree(AvahiTimeout* timeout);

  asio::io_context& Io;
  AvahiPoll Table{};
  // Avahi holds raw handles; the adapter owns what they point to. The waits in flight hold a
  // share too, so a handle freed from its own callback outlives that callback.
  std::map<const void*, std::shared_ptr<TWatch>> Watches;
  std::map<const void*, std::shared_ptr<TTimeout>> Timeouts;
};

}  // namespace kravelon
