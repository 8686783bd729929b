#pragma once
// A scripted opponent for the network tests, written from docs/PROTOCOL.md alone (it shares no
// code with Net/): plain blocking sockets on 127.0.0.1, lines in and out as the test says, and a
// fleet of its own that answers shots and makes its commitment and reveal as the page describes.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kravelon {

using namespace std::chrono_literals;

// A fleet the peer plays with: ship texts as the page writes them ("A1h4"), in its order.
class TPeerFleet {
 public:
  // The page's example fleet and salt.
  TPeerFleet();
  TPeerFleet(std::vector<std::string> ships, std::string salt);

  std::string Text() const;  // "A1h4 F1h3 …"
  std::string Salt() const { return SaltText; }
  std::string Commitment() const;  // SHA-256 of "<salt> <fleet>", lower-case hex
  std::string FleetLine() const { return "FLEET " + Commitment(); }
  std::string RevealLine() const { return "REVEAL " + SaltText + " " + Text(); }
  // The truthful answer to a shot at `cell` ("E5"), counting the shots answered before.
  std::string Answer(const std::string& cell);
  // The cells of every ship, in the fleet's order, each "A1"-style.
  std::vector<std::string> Cells() const;

 private:
  std::vector<std::string> Ships;
  std::string SaltText;
  std::vector<std::vector<std::string>> ShipCells;
  std::vector<int> Hits;
  int Sunk = 0;
};

class TScriptedPeer {
 public:
  // Connects to 127.0.0.1:port; throws when it cannot.
  static TScriptedPeer Connect(std::uint16_t port);
  explicit TScriptedPeer(int fd);
  TScriptedPeer(TScriptedPeer&& other) noexcept;
  TScriptedPeer& operator=(TScriptedPeer&& other) noexcept;
  ~TScriptedPeer();

  void Send(const std::string& line);  // adds the "\n"
  void SendRaw(const std::string& bytes);
  // The next line, without "\n"; nothing on close or after `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = 5s);
  // Reads lines until `line` (true) or a close or timeout (false); the lines passed are kept.
  bool Expect(const std::string& line, std::chrono::milliseconds timeout = 5s);
  // Reads until the other side closes: true when it did within `timeout`. The lines read on the
  // way are kept in Heard().
  bool WaitClosed(std::chrono::milliseconds timeout = 5s);
  // Sends a half-close (FIN).
  void ShutdownSend();
  // Closes at once, as a program that vanished.
  void Vanish();
  const std::vector<std::string>& Heard() const { return Lines; }
  bool Closed() const { return PeerClosed; }

 private:
  int Fd = -1;
  std::string Buffer;
  std::vector<std::string> Lines;
  bool PeerClosed = false;
};

// Listens on 127.0.0.1 (any free port) for the game to join.
class TPeerListener {
 public:
  TPeerListener();
  ~TPeerListener();
  TPeerListener(const TPeerListener&) = delete;
  TPeerListener& operator=(const TPeerListener&) = delete;
  std::uint16_t Port() const { return ListenPort; }
  std::optional<TScriptedPeer> Accept(std::chrono::milliseconds timeout = 5s);

 private:
  int Fd = -1;
  std::uint16_t ListenPort = 0;
};

// The SHA-256 of `text` in lower-case hex, to check a commitment the game made.
std::string PeerSha256(const std::string& text);

// The process's resident memory, in KiB.
long ResidentKiB();

}  // namespace kravelon
