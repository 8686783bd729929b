// A shot's round trip over loopback between two network games of ours: the shooter's command
// handed to its network thread, SHOT over TCP, the answer made from the target's fleet, RESULT
// back, and the event run on the shooter's game thread. Next to it, its floor: one line echoed
// over a plain loopback TCP connection; and the protocol's own work, two sessions in memory.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "Net/FleetText.h"
#include "Net/Network.h"
#include "Net/Session.h"

namespace kravelon {

namespace {

using namespace std::chrono_literals;

const char* const Fleet = "A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1 H10h1";

// A game's thread: runs what its network posts, and hands its events over one by one.
class TBenchGame {
 public:
  TPoster Poster() {
    return [this](std::function<void()> work) {
      std::lock_guard<std::mutex> lock(Lock);
      Work.push_back(std::move(work));
      Changed.notify_one();
      return true;
    };
  }
  TNetHandler Handler() {
    return [this](const TNetEvent& event) { Events.push_back(event); };
  }
  // The next event of `kind`; those before it are dropped.
  TNetEvent WaitFor(TNetEventKind kind) {
    for (;;) {
      while (!Events.empty()) {
        TNetEvent event = std::move(Events.front());
        Events.pop_front();
        if (event.Kind == kind) return event;
      }
      std::function<void()> work;
      {
        std::unique_lock<std::mutex> lock(Lock);
        if (!Changed.wait_for(lock, 5s, [this] { return !Work.empty(); })) {
          throw std::runtime_error("no event from the network");
        }
        work = std::move(Work.front());
        Work.pop_front();
      }
      work();
    }
  }

 private:
  std::mutex Lock;
  std::condition_variable Changed;
  std::deque<std::function<void()>> Work;
  std::deque<TNetEvent> Events;
};

TNetConfig Config(const std::string& name) {
  TNetConfig config;
  config.Name = name;
  config.ListenAddress = "127.0.0.1";
  config.Discovery = false;
  config.Rules = TRules{false, false, false};  // every shot passes the turn: both sides fire
  return config;
}

void BM_ShotRoundTrip(benchmark::State& state) {
  TBenchGame hostGame, guestGame;
  TNetwork host(Config("anna"), hostGame.Poster(), hostGame.Handler());
  TNetwork guest(Config("boris"), guestGame.Poster(), guestGame.Handler());
  host.Host(0);
  guest.Join("127.0.0.1", hostGame.WaitFor(TNetEventKind::Listening).Port);
  hostGame.WaitFor(TNetEventKind::Opponent);
  guestGame.WaitFor(TNetEventKind::Opponent);
  const std::vector<TShip> fleet = *ParseFleet(Fleet);
  int next[2] = {0, 0};
  bool hostTurn = true;
  const auto place = [&] {
    host.PlaceFleet(fleet);
    guest.PlaceFleet(fleet);
    hostGame.WaitFor(TNetEventKind::Turn);
    guestGame.WaitFor(TNetEventKind::Turn);
    next[0] = next[1] = 0;
    hostTurn = true;
  };
  place();
  long games = 0;
  for (auto _ : state) {
    TNetwork& shooter = hostTurn ? host : guest;
    TBenchGame& shooterGame = hostTurn ? hostGame : guestGame;
    TBenchGame& targetGame = hostTurn ? guestGame : hostGame;
    int& index = next[hostTurn ? 0 : 1];
    shooter.Shoot({index % BoardSize, index / BoardSize});
    ++index;
    const TNetEvent result = shooterGame.WaitFor(TNetEventKind::Result);
    targetGame.WaitFor(TNetEventKind::ShotAt);
    hostTurn = !hostTurn;
    if (result.Result == TShotAnswer::Won) {
      state.PauseTiming();
      hostGame.WaitFor(TNetEventKind::Verified);
      guestGame.WaitFor(TNetEventKind::Verified);
      host.Again();
      guest.Again();
      hostGame.WaitFor(TNetEventKind::NewGame);
      guestGame.WaitFor(TNetEventKind::NewGame);
      place();
      ++games;
      state.ResumeTiming();
    }
  }
  state.counters["games"] = static_cast<double>(games);
}

// The floor: one short line out and back over a loopback TCP connection, echoed by a thread.
void BM_LoopbackLineEcho(benchmark::State& state) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener, 1);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  const int client = ::socket(AF_INET, SOCK_STREAM, 0);
  if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    state.SkipWithError("cannot connect");
    return;
  }
  const int server = ::accept(listener, nullptr, nullptr);
  const int on = 1;
  ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  std::thread echo([server] {
    char buffer[256];
    for (;;) {
      const ssize_t n = ::recv(server, buffer, sizeof buffer, 0);
      if (n <= 0 || ::send(server, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) return;
    }
  });
  const std::string line = "SHOT E5\n";
  char buffer[256];
  for (auto _ : state) {
    ::send(client, line.data(), line.size(), MSG_NOSIGNAL);
    std::size_t got = 0;
    while (got < line.size()) {
      const ssize_t n = ::recv(client, buffer + got, sizeof buffer - got, 0);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
  }
  ::shutdown(client, SHUT_RDWR);
  echo.join();
  ::close(client);
  ::close(server);
  ::close(listener);
}

// The protocol's own work for one shot: SHOT read, answered from the fleet, RESULT read, the
// turn passed; two sessions in memory, no sockets.
void BM_SessionShot(benchmark::State& state) {
  const std::vector<TShip> fleet = *ParseFleet(Fleet);
  std::optional<TSession> host, guest;
  int next[2] = {0, 0};
  const auto carry = [&] {
    for (bool moved = true; moved;) {
      moved = false;
      for (const std::string& line : host->TakeLines()) guest->Heard(line), moved = true;
      for (const std::string& line : guest->TakeLines()) host->Heard(line), moved = true;
    }
    host->TakeEvents();
    guest->TakeEvents();
  };
  const auto start = [&] {
    host.emplace(TRole::Host, "anna", TRules{false, false, false});
    guest.emplace(TRole::Guest, "boris");
    host->Start();
    guest->Start();
    carry();
    host->PlaceFleet(fleet, "00112233445566778899aabbccddeeff");
    guest->PlaceFleet(fleet, "00112233445566778899aabbccddeeff");
    carry();
    next[0] = next[1] = 0;
  };
  start();
  for (auto _ : state) {
    TSession& shooter = host->MyTurn() ? *host : *guest;
    int& index = next[host->MyTurn() ? 0 : 1];
    shooter.Shoot({index % BoardSize, index / BoardSize});
    ++index;
    carry();
    if (host->Phase() != TPhase::Battle) {
      state.PauseTiming();
      start();
      state.ResumeTiming();
    }
  }
}

BENCHMARK(BM_ShotRoundTrip)->UseRealTime();
BENCHMARK(BM_LoopbackLineEcho)->UseRealTime();
BENCHMARK(BM_SessionShot);

}  // namespace

}  // namespace kravelon

BENCHMARK_MAIN();
