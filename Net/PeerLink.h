#pragma once
// One TCP connection carrying one TSession, on the network thread: it reads lines (bounded),
// writes the session's lines in order, pings a quiet opponent and closes a silent one, and closes
// gracefully once the session is over. Internal to the library: the game sees TNetwork.
#include <array>
#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "Net/LineReader.h"
#include "Net/NetEvent.h"
#include "Net/Session.h"

namespace kravelon {

class TPeerLink : public std::enable_shared_from_this<TPeerLink> {
 public:
  using TSink = std::function<void(TNetEvent)>;
  // `sink` takes the session's events.
  TPeerLink(asio::ip::tcp::socket socket, TSession session, std::chrono::milliseconds silence,
            TSink sink);

  // Called once, when the socket is closed.
  void OnFinished(std::function<void()> finished) { Finished = std::move(finished); }

  // Greets, and starts reading and the silence timer.
  void Start();
  // Runs a player's command on the session, then sends what it wrote.
  void Command(const std::function<void(TSession&)>& command);
  // Whether the session is over (the socket may still be closing).
  bool Over() const { return Session.Closed(); }

 private:
  void Read();
  void OnRead(std::error_code error, std::size_t bytes);
  void Flush();  // the session's lines to the outbox, its events to the sink
  void Write();
  void Watch();   // arms the silence timer for the next thing due
  void Finish();  // once the outbox is sent: FIN, then read until the opponent's FIN
  void Closed();  // the socket closed, at the opponent's FIN or the linger's end

  asio::ip::tcp::socket Socket;
  TSession Session;
  std::chrono::milliseconds Silence;
  TSink Sink;
  std::function<void()> Finished;
  asio::steady_timer SilenceTimer;
  asio::steady_timer LingerTimer;
  std::array<char, 1024> ReadBuffer{};
  TLineReader Reader{MaxLineBytes};
  std::deque<std::string> Outbox;
  bool Reading = false;
  bool Writing = false;
  bool ShutDown = false;
  bool Finishing = false;
  bool Done = false;
  bool Pinged = false;
  std::size_t Drained = 0;
  std::chrono::steady_clock::time_point LastHeard;
};

}  // namespace kravelon
