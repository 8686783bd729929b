#include "tests/support/SsipStandIn.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>

namespace kravelon {

namespace {

struct TClient {
  std::string Buffer;
  std::string Name, Priority = "text", Language;
  bool InBody = false;
  std::vector<std::string> Body;
};

void Send(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

TSsipStandIn::TSsipStandIn() {
  char name[] = "/tmp/kravelon-ssip-XXXXXX";
  if (!::mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
  Folder = name;
  SocketPath = Folder + "/speechd.sock";
  Listen();
  if (::pipe2(StopPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  Server = std::thread([this] { Serve(); });
}

void TSsipStandIn::Listen() {
  ::unlink(SocketPath.c_str());
  Listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  SocketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  if (Listener < 0 || ::bind(Listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(Listener, 8) != 0) {
    throw std::runtime_error("the SSIP stand-in cannot listen at " + SocketPath);
  }
}

void TSsipStandIn::Command(char command) {
  std::unique_lock<std::mutex> hold(Lock);
  const int done = CommandsDone;
  (void)!::write(StopPipe[1], &command, 1);
  Changed.wait(hold, [&] { return CommandsDone > done; });
}

void TSsipStandIn::Drop() { Command('d'); }
void TSsipStandIn::Resume() { Command('r'); }

void TSsipStandIn::SetMode(TSsipMode mode) {
  const std::lock_guard<std::mutex> hold(Lock);
  Mode = mode;
}

int TSsipStandIn::Accepted() const {
  const std::lock_guard<std::mutex> hold(Lock);
  return Connections;
}

int TSsipStandIn::Open() const {
  const std::lock_guard<std::mutex> hold(Lock);
  return OpenNow;
}

TSsipStandIn::~TSsipStandIn() {
  (void)!::write(StopPipe[1], "x", 1);
  Server.join();
  if (Listener >= 0) ::close(Listener);
  ::close(StopPipe[0]);
  ::close(StopPipe[1]);
  std::error_code ignored;
  std::filesystem::remove_all(Folder, ignored);
}

void TSsipStandIn::Serve() {
  std::map<int, TClient> clients;
  for (;;) {
    std::vector<pollfd> fds{{StopPipe[0], POLLIN, 0}, {Listener, POLLIN, 0}};
    for (const auto& [fd, client] : clients) fds.push_back({fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents) {
      char command = 'x';
      (void)!::read(StopPipe[0], &command, 1);
      if (command == 'x') break;
      if (command == 'd') {
        for (const auto& [fd, client] : clients) ::close(fd);
        clients.clear();
        {
          const std::lock_guard<std::mutex> hold(Lock);
          OpenNow = 0;
        }
        ::close(Listener);
        Listener = -1;
      } else if (command == 'r' && Listener < 0) {
        Listen();
      }
      {
        const std::lock_guard<std::mutex> hold(Lock);
        Mode = command == 'r' ? TSsipMode::Answer : Mode;
        ++CommandsDone;
      }
      Changed.notify_all();
      continue;
    }
    if (fds[1].revents & POLLIN) {
      const int fd = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        clients[fd] = {};
        const std::lock_guard<std::mutex> hold(Lock);
        ++Connections;
        OpenNow = static_cast<int>(clients.size());
      }
    }
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      const int fd = fds[i].fd;
      char chunk[4096];
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) {
        ::close(fd);
        clients.erase(fd);
        const std::lock_guard<std::mutex> hold(Lock);
        OpenNow = static_cast<int>(clients.size());
        continue;
      }
      TClient& c = clients[fd];
      c.Buffer.append(chunk, static_cast<std::size_t>(n));
      TSsipMode mode;
      {
        const std::lock_guard<std::mutex> hold(Lock);
        mode = Mode;
      }
      for (std::size_t end; (end = c.Buffer.find("\r\n")) != std::string::npos;) {
        std::string line = c.Buffer.substr(0, end);
        c.Buffer.erase(0, end + 2);
        if (c.InBody) {
          if (line != ".") {
            // A body line starting with a dot comes doubled.
            c.Body.push_back(line.rfind("..", 0) == 0 ? line.substr(1) : line);
            continue;
          }
          c.InBody = false;
          std::string text;
          for (std::size_t k = 0; k < c.Body.size(); ++k) text += (k ? "\n" : "") + c.Body[k];
          c.Body.clear();
          std::chrono::milliseconds delay;
          {
            const std::lock_guard<std::mutex> hold(Lock);
            Texts.push_back({text, c.Priority, c.Language, c.Name});
            delay = Delay;
          }
          Changed.notify_all();
          if (delay.count() > 0) std::this_thread::sleep_for(delay);
          Send(fd, "225-1\r\n225 OK MESSAGE QUEUED\r\n");
          continue;
        }
        {
          const std::lock_guard<std::mutex> hold(Lock);
          Lines.push_back(line);
        }
        Changed.notify_all();
        if (mode == TSsipMode::Silent) continue;
        // A reply code no daemon sends: libspeechd's parser gives up on it.
        if (mode == TSsipMode::Garbage) {
          Send(fd, "??? what\r\n");
          continue;
        }
        const std::string command = Upper(line);
        if (command == "SPEAK") {
          c.InBody = true;
          Send(fd, "230 OK RECEIVING DATA\r\n");
        } else if (command.rfind("SET SELF CLIENT_NAME ", 0) == 0) {
          c.Name = line.substr(21);
          Send(fd, "208 OK CLIENT NAME SET\r\n");
        } else if (command.rfind("SET SELF PRIORITY ", 0) == 0) {
          c.Priority = line.substr(18);
          for (char& ch : c.Priority) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
          Send(fd, "202 OK PRIORITY SET\r\n");
        } else if (command.rfind("SET SELF LANGUAGE ", 0) == 0) {
          c.Language = line.substr(18);
          Send(fd, "201 OK LANGUAGE SET\r\n");
        } else if (command.rfind("CANCEL", 0) == 0) {
          Send(fd, "210 OK CANCELLED\r\n");
        } else if (command == "QUIT") {
          Send(fd, "231 HAPPY HACKING\r\n");
        } else if (command.rfind("HISTORY GET CLIENT_ID", 0) == 0) {
          Send(fd, "249-" + std::to_string(fd) + "\r\n249 OK CLIENT ID SENT\r\n");
        } else {
          Send(fd, "200 OK\r\n");
        }
      }
    }
  }
  for (const auto& [fd, client] : clients) ::close(fd);
}

std::vector<TSpokenText> TSsipStandIn::Spoken() const {
  const std::lock_guard<std::mutex> hold(Lock);
  return Texts;
}

std::vector<std::string> TSsipStandIn::Commands() const {
  const std::lock_guard<std::mutex> hold(Lock);
  return Lines;
}

bool TSsipStandIn::WaitForSpoken(const std::string& part, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> hold(Lock);
  return Changed.wait_for(hold, timeout, [&] {
    for (const TSpokenText& t : Texts)
      if (t.Text.find(part) != std::string::npos) return true;
    return false;
  });
}

bool TSsipStandIn::WaitForCount(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> hold(Lock);
  return Changed.wait_for(hold, timeout, [&] { return Texts.size() >= count; });
}

void TSsipStandIn::SetAnswerDelay(std::chrono::milliseconds delay) {
  const std::lock_guard<std::mutex> hold(Lock);
  Delay = delay;
}

void TSsipStandIn::Clear() {
  const std::lock_guard<std::mutex> hold(Lock);
  Texts.clear();
  Lines.clear();
}

}  // namespace kravelon
