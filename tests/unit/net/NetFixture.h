#pragma once
// The game's side of the network tests: a stand-in for the game's thread that runs what the
// network posts (the test's own thread does, as the game's loop would) and keeps every event.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "Net/Network.h"

namespace kravelon {

using namespace std::chrono_literals;

class TGameThread {
 public:
  TPoster Poster() {
    return [this](std::function<void()> work) {
      std::lock_guard<std::mutex> lock(Lock);
      // A full queue, as SDL's may be: the network must offer the work again later.
      if (Refusals > 0) {
        --Refusals;
        return false;
      }
      Queue.push_back(std::move(work));
      Changed.notify_all();
      return true;
    };
  }
  TNetHandler Handler() {
    return [this](const TNetEvent& event) { Events.push_back(event); };
  }

  // Runs posted work until the next event of `kind` (after the last one of that kind waited
  // for); nothing after `timeout`.
  std::optional<TNetEvent> WaitFor(TNetEventKind kind, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t& next = Next[kind];
    for (;;) {
      for (; next < Events.size(); ++next) {
        if (Events[next].Kind == kind) return Events[next++];
      }
      if (!RunOne(deadline)) return std::nullopt;
    }
  }
  // Runs posted work for `time`.
  void Pump(std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (RunOne(deadline)) {
    }
  }
  int Count(TNetEventKind kind) const {
    int n = 0;
    for (const TNetEvent& e : Events) n += e.Kind == kind;
    return n;
  }
  std::vector<TNetEvent> Events;
  int Refusals = 0;  // posts to refuse before taking any (set before the network starts)

 private:
  bool RunOne(std::chrono::steady_clock::time_point deadline) {
    std::function<void()> work;
    {
      std::unique_lock<std::mutex> lock(Lock);
      if (!Changed.wait_until(lock, deadline, [this] { return !Queue.empty(); })) return false;
      work = std::move(Queue.front());
      Queue.pop_front();
    }
    work();
    return true;
  }
  std::mutex Lock;
  std::condition_variable Changed;
  std::deque<std::function<void()>> Queue;
  std::map<TNetEventKind, std::size_t> Next;
};

inline TNetConfig TestConfig(const std::string& name, std::chrono::milliseconds silence = 30s) {
  TNetConfig config;
  config.Name = name;
  config.ListenAddress = "127.0.0.1";  // the tests talk to loopback only
  config.Discovery = false;
  config.Silence = silence;
  return config;
}

// A network object with its game thread.
struct TPlayer {
  explicit TPlayer(TNetConfig config)
      : Net(std::make_unique<TNetwork>(std::move(config), Game.Poster(), Game.Handler())) {}
  // Hosts on a free port of 127.0.0.1 and says which.
  std::uint16_t Host() {
    Net->Host(0);
    const std::optional<TNetEvent> listening = Game.WaitFor(TNetEventKind::Listening);
    EXPECT_TRUE(listening);
    return listening ? listening->Port : 0;
  }
  TGameThread Game;  // outlives the network, which may still post while it stops
  std::unique_ptr<TNetwork> Net;
};

}  // namespace kravelon
