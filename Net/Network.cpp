#include "Net/Network.h"

#include <array>
#include <asio/connect.hpp>
#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/ip/v6_only.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>
#include <deque>
#include <thread>
#include <utility>

#include "Net/AvahiDiscovery.h"
#include "Net/Commitment.h"
#include "Net/PeerLink.h"

namespace kravelon {

namespace {

using asio::ip::tcp;
using namespace std::chrono_literals;

// Guests turned away at once while a game is on; past this, one is dropped without a word.
constexpr int MaxTurnaways = 256;
// Events the poster would not take, kept to offer again; past this they are dropped.
constexpr std::size_t MaxBacklog = 4096;
// How long the destructor lets our last words go out.
constexpr auto StopGrace = 500ms;

// A guest that came while a game is on: BYE busy, then a graceful close, bounded in time.
class TTurnaway : public std::enable_shared_from_this<TTurnaway> {
 public:
  TTurnaway(tcp::socket socket, std::function<void()> done)
      : Socket(std::move(socket)), Timer(Socket.get_executor()), Done(std::move(done)) {}

  void Start() {
    static const std::string Line = FormatMessage(ByeMessage(TByeReason::Busy)) + '\n';
    Timer.expires_after(1s);
    Timer.async_wait([self = shared_from_this()](std::error_code error) {
      if (!error) self->Close();
    });
    asio::async_write(Socket, asio::buffer(Line),
                      [self = shared_from_this()](std::error_code error, std::size_t) {
                        if (error) return self->Close();
                        std::error_code ignored;
                        self->Socket.shutdown(tcp::socket::shutdown_send, ignored);
                        self->Drain();
                      });
  }

 private:
  // Reads until the guest's FIN, so that unread bytes do not turn our close into a reset that
  // could overtake the BYE.
  void Drain() {
    Socket.async_read_some(asio::buffer(Buffer),
                           [self = shared_from_this()](std::error_code error, std::size_t bytes) {
                             self->Drained += bytes;
                             if (error || self->Drained > 4096) return self->Close();
                             self->Drain();
                           });
  }
  void Close() {
    if (Closed) return;
    Closed = true;
    std::error_code ignored;
    Timer.cancel();
    Socket.close(ignored);
    Done();
  }

  tcp::socket Socket;
  asio::steady_timer Timer;
  std::function<void()> Done;
  std::array<char, 256> Buffer{};
  std::size_t Drained = 0;
  bool Closed = false;
};

// Joining: resolving (names only) and connecting, bounded by a timer.
struct TAttempt {
  explicit TAttempt(asio::io_context& io) : Socket(io), Resolver(io), Timer(io) {}
  tcp::socket Socket;
  tcp::resolver Resolver;
  asio::steady_timer Timer;
  std::string Why;  // set when the attempt is cut short: why
  bool Over = false;
};

TNetEvent Event(TNetEventKind kind) {
  TNetEvent event;
  event.Kind = kind;
  return event;
}

}  // namespace

struct TNetwork::TImpl {
  TImpl(TNetConfig config, TPoster poster, TNetHandler handler, std::shared_ptr<bool> alive)
      : Config(std::move(config)),
        Poster(std::move(poster)),
        Handler(std::make_shared<const TNetHandler>(std::move(handler))),
        Alive(std::move(alive)) {}

  void Run();
  void Emit(TNetEvent event);
  void RetryBacklog();
  bool Deliver(const TNetEvent& event);
  void Command(const std::function<void(TSession&)>& command) {
    if (Link) Link->Command(command);
  }
  bool GameOn() const { return (Link && !Link->Over()) || Attempt; }

  void Host(std::uint16_t port);
  std::error_code Listen(const tcp::endpoint& endpoint);
  void StopHosting();
  void Accept();
  void TurnAway(tcp::socket socket);
  void Join(const std::string& host, std::uint16_t port);
  void Connected(const std::shared_ptr<TAttempt>& attempt, std::error_code error);
  void Begin(tcp::socket socket, TRole role);
  void Leave(TByeReason reason);
  void Stop();
  TDiscovery* Discover();

  asio::io_context Io{1};
  asio::executor_work_guard<asio::io_context::executor_type> Work{Io.get_executor()};
  TNetConfig Config;
  TPoster Poster;
  std::shared_ptr<const TNetHandler> Handler;
  std::shared_ptr<bool> Alive;
  tcp::acceptor Acceptor{Io};
  asio::steady_timer AcceptRetry{Io};
  std::shared_ptr<TPeerLink> Link;
  std::shared_ptr<TAttempt> Attempt;
  std::unique_ptr<TDiscovery> Discovery;
  std::deque<TNetEvent> Backlog;
  asio::steady_timer BacklogTimer{Io};
  asio::steady_timer StopTimer{Io};
  bool RetryArmed = false;
  int Turnaways = 0;
  bool Stopping = false;
  std::thread Thread;
};

void TNetwork::TImpl::Run() {
  for (;;) {
    try {
      Io.run();
      return;
    } catch (const std::exception&) {
      // A handler that failed (out of memory) takes no more than its own step with it.
    }
  }
}

bool TNetwork::TImpl::Deliver(const TNetEvent& event) {
  return Poster([alive = Alive, handler = Handler, event] {
    if (*alive) (*handler)(event);
  });
}

void TNetwork::TImpl::Emit(TNetEvent event) {
  if (Stopping) return;
  if (Backlog.empty() && Deliver(event)) return;
  // The game's queue is full: keep the order, and offer them again shortly.
  if (Backlog.size() < MaxBacklog) Backlog.push_back(std::move(event));
  RetryBacklog();
}

void TNetwork::TImpl::RetryBacklog() {
  if (RetryArmed) return;
  RetryArmed = true;
  BacklogTimer.expires_after(20ms);
  BacklogTimer.async_wait([this](std::error_code error) {
    RetryArmed = false;
    if (error || Stopping) return;
    while (!Backlog.empty() && Deliver(Backlog.front())) Backlog.pop_front();
    if (!Backlog.empty()) RetryBacklog();
  });
}

TDiscovery* TNetwork::TImpl::Discover() {
  if (!Config.Discovery) return nullptr;
  if (!Discovery) {
    TDiscoveryListener listener;
    listener.Unavailable = [this](const std::string& reason) {
      TNetEvent event = Event(TNetEventKind::DiscoveryUnavailable);
      event.Detail = reason;
      Emit(std::move(event));
    };
    listener.Found = [this](const std::vector<TFoundGame>& games) {
      TNetEvent event = Event(TNetEventKind::GamesFound);
      event.Games = games;
      Emit(std::move(event));
    };
    Discovery = std::make_unique<TAvahiDiscovery>(Io, std::move(listener));
  }
  return Discovery.get();
}

std::error_code TNetwork::TImpl::Listen(const tcp::endpoint& endpoint) {
  std::error_code error;
  Acceptor.close(error);
  Acceptor.open(endpoint.protocol(), error);
  if (error) return error;
  Acceptor.set_option(tcp::acceptor::reuse_address(true), error);
  // One socket for both families where the system allows it.
  if (endpoint.protocol() == tcp::v6()) Acceptor.set_option(asio::ip::v6_only(false), error);
  Acceptor.bind(endpoint, error);
  if (!error) Acceptor.listen(asio::socket_base::max_listen_connections, error);
  if (error) {
    std::error_code ignored;
    Acceptor.close(ignored);
  }
  return error;
}

void TNetwork::TImpl::Host(std::uint16_t port) {
  StopHosting();
  std::error_code error;
  if (Config.ListenAddress.empty()) {
    error = Listen(tcp::endpoint(tcp::v6(), port));
    if (error) error = Listen(tcp::endpoint(tcp::v4(), port));  // a system without IPv6
  } else {
    const asio::ip::address address = asio::ip::make_address(Config.ListenAddress, error);
    if (!error) error = Listen(tcp::endpoint(address, port));
  }
  if (error) {
    TNetEvent event = Event(TNetEventKind::HostFailed);
    event.Port = port;
    event.Detail = error.message();
    return Emit(std::move(event));
  }
  TNetEvent event = Event(TNetEventKind::Listening);
  event.Port = Acceptor.local_endpoint(error).port();
  const std::uint16_t listening = event.Port;
  Emit(std::move(event));
  if (TDiscovery* discovery = Discover()) discovery->Announce(Config.Name, listening);
  Accept();
}

void TNetwork::TImpl::StopHosting() {
  std::error_code ignored;
  Acceptor.close(ignored);
  AcceptRetry.cancel();
  if (Discovery) Discovery->Withdraw();
}

void TNetwork::TImpl::Accept() {
  Acceptor.async_accept([this](std::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || !Acceptor.is_open()) return;
    if (error) {
      // Out of descriptors, most likely: try again a little later rather than spin.
      AcceptRetry.expires_after(100ms);
      AcceptRetry.async_wait([this](std::error_code e) {
        if (!e && Acceptor.is_open()) Accept();
      });
      return;
    }
    if (GameOn()) {
      TurnAway(std::move(socket));
    } else {
      Begin(std::move(socket), TRole::Host);
    }
    Accept();
  });
}

void TNetwork::TImpl::TurnAway(tcp::socket socket) {
  if (Turnaways >= MaxTurnaways) return;  // the socket closes here
  ++Turnaways;
  std::make_shared<TTurnaway>(std::move(socket), [this] { --Turnaways; })->Start();
}

void TNetwork::TImpl::Begin(tcp::socket socket, TRole role) {
  TNetEvent connected = Event(TNetEventKind::Connected);
  std::error_code error;
  asio::ip::address peer = socket.remote_endpoint(error).address();
  // An IPv4 guest of the dual-stack listener, named as IPv4.
  if (peer.is_v6() && peer.to_v6().is_v4_mapped()) {
    peer = asio::ip::make_address_v4(asio::ip::v4_mapped, peer.to_v6());
  }
  connected.Address = peer.to_string();
  auto link = std::make_shared<TPeerLink>(std::move(socket),
                                          TSession(role, Config.Name, Config.Rules), Config.Silence,
                                          [this](TNetEvent event) { Emit(std::move(event)); });
  TPeerLink* raw = link.get();
  link->OnFinished([this, raw] {
    if (Link.get() == raw) Link.reset();
    if (Stopping && !Link) Io.stop();
  });
  Link = std::move(link);
  Emit(std::move(connected));
  Link->Start();
}

void TNetwork::TImpl::Join(const std::string& host, std::uint16_t port) {
  if (GameOn()) return;
  auto attempt = std::make_shared<TAttempt>(Io);
  Attempt = attempt;
  attempt->Timer.expires_after(Config.Silence);
  attempt->Timer.async_wait([attempt](std::error_code error) {
    if (error || attempt->Over) return;
    attempt->Why = "timed out";
    attempt->Resolver.cancel();
    std::error_code ignored;
    attempt->Socket.close(ignored);
  });
  std::error_code error;
  const asio::ip::address address = asio::ip::make_address(host, error);
  if (!error) {
    // An address needs no resolver (and no resolver's thread).
    attempt->Socket.async_connect(tcp::endpoint(address, port),
                                  [this, attempt](std::error_code e) { Connected(attempt, e); });
    return;
  }
  attempt->Resolver.async_resolve(
      host, std::to_string(port),
      [this, attempt](std::error_code e, const tcp::resolver::results_type& endpoints) {
        if (e || attempt->Over) return Connected(attempt, e ? e : asio::error::operation_aborted);
        asio::async_connect(
            attempt->Socket, endpoints,
            [this, attempt](std::error_code e2, const tcp::endpoint&) { Connected(attempt, e2); });
      });
}

void TNetwork::TImpl::Connected(const std::shared_ptr<TAttempt>& attempt, std::error_code error) {
  if (attempt->Over) return;
  attempt->Over = true;
  attempt->Timer.cancel();
  if (Attempt == attempt) Attempt.reset();
  if (!error && !attempt->Socket.is_open()) error = asio::error::operation_aborted;
  if (!error) return Begin(std::move(attempt->Socket), TRole::Guest);
  TNetEvent event = Event(TNetEventKind::Closed);
  if (attempt->Why.empty() && error == asio::error::operation_aborted) {
    event.Close = TCloseReason::Quit;  // the player left before it connected
  } else {
    event.Close = TCloseReason::ConnectFailed;
    event.Detail = attempt->Why.empty() ? error.message() : attempt->Why;
  }
  Emit(std::move(event));
}

void TNetwork::TImpl::Leave(TByeReason reason) {
  if (Attempt) {
    const std::shared_ptr<TAttempt> attempt = Attempt;
    attempt->Resolver.cancel();
    std::error_code ignored;
    attempt->Socket.close(ignored);
    return;  // its handler tells the game
  }
  Command([reason](TSession& session) { session.Leave(reason); });
}

void TNetwork::TImpl::Stop() {
  Stopping = true;
  StopHosting();
  Discovery.reset();
  BacklogTimer.cancel();
  if (Attempt) {
    Attempt->Over = true;
    Attempt->Resolver.cancel();
    std::error_code ignored;
    Attempt->Socket.close(ignored);
    Attempt->Timer.cancel();
    Attempt.reset();
  }
  Work.reset();
  if (!Link) return Io.stop();
  Link->Command([](TSession& session) { session.Leave(TByeReason::Quit); });
  StopTimer.expires_after(StopGrace);
  StopTimer.async_wait([this](std::error_code error) {
    if (!error) Io.stop();
  });
}

TNetwork::TNetwork(TNetConfig config, TPoster poster, TNetHandler handler)
    : Alive(std::make_shared<bool>(true)) {
  Impl = std::make_unique<TImpl>(std::move(config), std::move(poster), std::move(handler), Alive);
  Impl->Thread = std::thread([impl = Impl.get()] { impl->Run(); });
}

TNetwork::~TNetwork() {
  *Alive = false;
  asio::post(Impl->Io, [impl = Impl.get()] { impl->Stop(); });
  Impl->Thread.join();
}

void TNetwork::Host(std::uint16_t port) {
  asio::post(Impl->Io, [impl = Impl.get(), port] { impl->Host(port); });
}

void TNetwork::StopHosting() {
  asio::post(Impl->Io, [impl = Impl.get()] { impl->StopHosting(); });
}

void TNetwork::SetRules(const TRules& rules) {
  asio::post(Impl->Io, [impl = Impl.get(), rules] { impl->Config.Rules = rules; });
}

void TNetwork::Join(const std::string& host, std::uint16_t port) {
  asio::post(Impl->Io, [impl = Impl.get(), host, port] { impl->Join(host, port); });
}

void TNetwork::PlaceFleet(const std::vector<TShip>& fleet) {
  asio::post(Impl->Io, [impl = Impl.get(), fleet] {
    impl->Command([&fleet](TSession& session) { session.PlaceFleet(fleet, MakeSalt()); });
  });
}

void TNetwork::Shoot(TPoint cell) {
  asio::post(Impl->Io, [impl = Impl.get(), cell] {
    impl->Command([cell](TSession& session) { session.Shoot(cell); });
  });
}

void TNetwork::Again() {
  asio::post(Impl->Io,
             [impl = Impl.get()] { impl->Command([](TSession& session) { session.Again(); }); });
}

void TNetwork::Leave(TByeReason reason) {
  asio::post(Impl->Io, [impl = Impl.get(), reason] { impl->Leave(reason); });
}

void TNetwork::Browse(bool on) {
  asio::post(Impl->Io, [impl = Impl.get(), on] {
    if (TDiscovery* discovery = impl->Discover()) discovery->Browse(on);
  });
}

}  // namespace kravelon
