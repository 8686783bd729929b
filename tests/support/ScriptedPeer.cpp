#include "tests/support/ScriptedPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sodium.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace kravelon {

namespace {

std::string Hex(const unsigned char* bytes, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// "A1h4" → its cells.
std::vector<std::string> ShipCellsOf(const std::string& ship) {
  const char way = ship[ship.size() - 2];
  const int length = ship.back() - '0';
  const int column = ship[0] - 'A';
  const int row = std::stoi(ship.substr(1, ship.size() - 3));
  std::vector<std::string> cells;
  for (int i = 0; i < length; ++i) {
    const int c = way == 'h' ? column + i : column;
    const int r = way == 'h' ? row : row + i;
    std::string cell(1, static_cast<char>('A' + c));
    cell += std::to_string(r);
    cells.push_back(cell);
  }
  return cells;
}

}  // namespace

TPeerFleet::TPeerFleet()
    : TPeerFleet({"A1h4", "F1h3", "A3v3", "J1v2", "C3h2", "F3h2", "I4h1", "C6h1", "E8h1", "H10h1"},
                 "00112233445566778899aabbccddeeff") {}

TPeerFleet::TPeerFleet(std::vector<std::string> ships, std::string salt)
    : Ships(std::move(ships)), SaltText(std::move(salt)) {
  for (const std::string& ship : Ships) ShipCells.push_back(ShipCellsOf(ship));
  Hits.assign(Ships.size(), 0);
}

std::string TPeerFleet::Text() const {
  std::string text;
  for (const std::string& ship : Ships) {
    if (!text.empty()) text += ' ';
    text += ship;
  }
  return text;
}

std::string PeerSha256(const std::string& text) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium");
  unsigned char hash[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(text.data()), text.size());
  return Hex(hash, sizeof hash);
}

std::string TPeerFleet::Commitment() const { return PeerSha256(SaltText + " " + Text()); }

std::string TPeerFleet::Answer(const std::string& cell) {
  for (std::size_t i = 0; i < ShipCells.size(); ++i) {
    for (const std::string& c : ShipCells[i]) {
      if (c != cell) continue;
      if (++Hits[i] < static_cast<int>(ShipCells[i].size())) return "hit";
      return ++Sunk == static_cast<int>(Ships.size()) ? "won" : "sunk";
    }
  }
  return "miss";
}

std::vector<std::string> TPeerFleet::Cells() const {
  std::vector<std::string> cells;
  for (const auto& ship : ShipCells) cells.insert(cells.end(), ship.begin(), ship.end());
  return cells;
}

TScriptedPeer TScriptedPeer::Connect(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("the scripted peer cannot connect to port " + std::to_string(port));
  }
  return TScriptedPeer(fd);
}

TScriptedPeer::TScriptedPeer(int fd) : Fd(fd) {
  const int on = 1;
  ::setsockopt(Fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

TScriptedPeer::TScriptedPeer(TScriptedPeer&& other) noexcept
    : Fd(std::exchange(other.Fd, -1)),
      Buffer(std::move(other.Buffer)),
      Lines(std::move(other.Lines)),
      PeerClosed(other.PeerClosed) {}

TScriptedPeer& TScriptedPeer::operator=(TScriptedPeer&& other) noexcept {
  if (this != &other) {
    if (Fd >= 0) ::close(Fd);
    Fd = std::exchange(other.Fd, -1);
    Buffer = std::move(other.Buffer);
    Lines = std::move(other.Lines);
    PeerClosed = other.PeerClosed;
  }
  return *this;
}

TScriptedPeer::~TScriptedPeer() {
  if (Fd >= 0) ::close(Fd);
}

void TScriptedPeer::Send(const std::string& line) { SendRaw(line + "\n"); }

void TScriptedPeer::SendRaw(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(Fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;  // the other side closed: the test reads what it said
    sent += static_cast<std::size_t>(n);
  }
}

std::optional<std::string> TScriptedPeer::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (const std::size_t end = Buffer.find('\n'); end != std::string::npos) {
      std::string line = Buffer.substr(0, end);
      Buffer.erase(0, end + 1);
      Lines.push_back(line);
      return line;
    }
    if (PeerClosed || Fd < 0) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd p{Fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    const ssize_t n = ::recv(Fd, chunk, sizeof chunk, 0);
    if (n <= 0) {
      PeerClosed = true;
      continue;
    }
    Buffer.append(chunk, static_cast<std::size_t>(n));
    if (Buffer.size() > 1 << 20) throw std::runtime_error("the game sent a megabyte with no line");
  }
}

bool TScriptedPeer::Expect(const std::string& line, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const std::optional<std::string> next = ReadLine(std::max(left, 0ms));
    if (!next) return false;
    if (*next == line) return true;
  }
}

bool TScriptedPeer::WaitClosed(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!PeerClosed) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    ReadLine(left);
  }
  // Lines that came with the close.
  while (ReadLine(0ms)) {
  }
  return true;
}

void TScriptedPeer::ShutdownSend() { ::shutdown(Fd, SHUT_WR); }

void TScriptedPeer::Vanish() {
  // A reset rather than a FIN: as a process killed with unread data would leave it.
  linger hard{1, 0};
  ::setsockopt(Fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  ::close(Fd);
  Fd = -1;
}

TPeerListener::TPeerListener() {
  Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (Fd < 0 || ::bind(Fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(Fd, 8) != 0 ||
      ::getsockname(Fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("the scripted peer cannot listen");
  }
  ListenPort = ntohs(address.sin_port);
}

TPeerListener::~TPeerListener() {
  if (Fd >= 0) ::close(Fd);
}

std::optional<TScriptedPeer> TPeerListener::Accept(std::chrono::milliseconds timeout) {
  pollfd p{Fd, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
  const int fd = ::accept4(Fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return std::nullopt;
  return TScriptedPeer(fd);
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

}  // namespace kravelon
