#include "Speech/SpeechService.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <speech-dispatcher/libspeechd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace kravelon {

namespace {

constexpr const char* HiddenArgument = "--kravelon-speech-service";

void Reply(char kind, std::string_view text = {}) {
  std::string message(1, kind);
  message.append(text.substr(0, service::MaxMessage - 1));
  (void)::send(service::ChannelFd, message.data(), message.size(), MSG_NOSIGNAL);
}

// Two connections: the lines speak at "message" priority, which the daemon queues and never
// lets lower priorities cut; the focus speaks at "text" priority on a connection of its own,
// so that cancelling the focus's last words never touches a line.
struct TConnections {
  SPDConnection* Lines = nullptr;
  SPDConnection* Focus = nullptr;
  ~TConnections() {
    if (Focus) spd_close(Focus);
    if (Lines) spd_close(Lines);
  }
};

int Do(TConnections& spd, char kind, const std::string& text) {
  switch (kind) {
    case service::Line:
      return spd_say(spd.Lines, SPD_MESSAGE, text.c_str());
    case service::Focus:
      if (spd_cancel(spd.Focus) < 0) return -1;
      return spd_say(spd.Focus, SPD_TEXT, text.c_str());
    case service::Cancel:
      return spd_cancel(spd.Lines) | spd_cancel(spd.Focus);
    case service::Language:
      return spd_set_language(spd.Lines, text.c_str()) | spd_set_language(spd.Focus, text.c_str());
    default:
      return 0;
  }
}

}  // namespace

std::vector<std::string> SpeechServiceCommand() { return {"/proc/self/exe", HiddenArgument}; }

bool IsSpeechService(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], HiddenArgument) != 0) return false;
  struct stat info {};
  return ::fstat(service::ChannelFd, &info) == 0 && S_ISSOCK(info.st_mode);
}

int RunSpeechService() {
  // A daemon gone is an error libspeechd reports, not a signal that ends the service unheard.
  ::signal(SIGPIPE, SIG_IGN);
  // Stuck in libspeechd, the service still goes with the speaker that started it.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // A daemon libspeechd starts must not hold the channel open, nor anything else of the game's.
  ::fcntl(service::ChannelFd, F_SETFD, FD_CLOEXEC);
  ::close_range(service::ChannelFd + 1, ~0U, 0);

  TConnections spd;
  {
    // A daemon named by SPEECHD_ADDRESS is the user's choice: the game starts none of its own
    // there (libspeechd would try, and fail only after a second or more).
    const char* address = std::getenv("SPEECHD_ADDRESS");
    const int autospawn = address == nullptr || *address == '\0';
    char* reason = nullptr;
    spd.Lines =
        spd_open2("kravelon", "lines", nullptr, SPD_MODE_SINGLE, nullptr, autospawn, &reason);
    if (spd.Lines) {
      spd.Focus = spd_open2("kravelon", "focus", nullptr, SPD_MODE_SINGLE, nullptr, 0, &reason);
    }
    if (!spd.Focus) {
      Reply(service::NotReached, reason ? reason : "speech-dispatcher did not answer");
      std::free(reason);
      return 0;
    }
    std::free(reason);
  }
  Reply(service::Ready);

  std::string message(service::MaxMessage, '\0');
  for (;;) {
    // The daemon says nothing unasked on these connections: readable while idle, it has hung up
    // (libspeechd keeps the socket in a field it calls private, but has for years).
    pollfd fds[3] = {{service::ChannelFd, POLLIN, 0},
                     {spd.Lines->socket, POLLIN, 0},
                     {spd.Focus->socket, POLLIN, 0}};
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents || fds[2].revents) {
      Reply(service::Lost, "speech-dispatcher hung up");
      return 0;
    }
    if (!fds[0].revents) continue;
    const ssize_t n = ::recv(service::ChannelFd, message.data(), message.size(), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the speaker has gone
    const std::string text(message.data() + 1, static_cast<std::size_t>(n - 1));
    if (Do(spd, message[0], text) < 0) {
      Reply(service::Lost, "speech-dispatcher stopped answering");
      return 0;
    }
    Reply(service::Done);
  }
  return 0;
}

}  // namespace kravelon
