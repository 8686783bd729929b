#include "Speech/ServiceProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include "Speech/SpeechService.h"

extern char** environ;

namespace kravelon {

bool TServiceProcess::Start(const std::vector<std::string>& command) {
  Stop(std::chrono::milliseconds(0));
  if (command.empty() || std::getenv(service::MarkVariable)) return false;
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
  int theirs = ends[1];
  // Their end becomes fd 3 in the service; one that already is fd 3 (or below) would not move.
  if (theirs <= service::ChannelFd) {
    theirs = ::fcntl(ends[1], F_DUPFD_CLOEXEC, service::ChannelFd + 1);
    ::close(ends[1]);
  }
  if (theirs < 0) {
    ::close(ends[0]);
    return false;
  }
  std::vector<std::string> words = command;
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  // libspeechd writes its complaints to standard output, which is the game's console echo.
  posix_spawn_file_actions_adddup2(&files, 2, 1);
  posix_spawn_file_actions_adddup2(&files, theirs, service::ChannelFd);
  // The thread spawning it may have signals blocked (the game waits for SIGTERM on a thread of its
  // own); the service, and a daemon it starts, must not inherit that.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  // Marked, so that a program started as the service without knowing it (a main that never asks
  // IsSpeechService) cannot start services of its own in turn.
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  std::string mark = std::string(service::MarkVariable) + "=1";
  envp.push_back(mark.data());
  envp.push_back(nullptr);
  const int failed = ::posix_spawn(&pid, argv[0], &files, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  ::close(theirs);
  if (failed != 0) {
    ::close(ends[0]);
    return false;
  }
  Pid = pid;
  Channel = ends[0];
  return true;
}

bool TServiceProcess::Send(std::string_view message) {
  if (Channel < 0) return false;
  for (;;) {
    const ssize_t sent = ::send(Channel, message.data(), message.size(), MSG_NOSIGNAL);
    if (sent == static_cast<ssize_t>(message.size())) return true;
    if (sent < 0 && errno == EINTR) continue;
    return false;
  }
}

TServiceProcess::TReceived TServiceProcess::Receive(std::string& message, int wake,
                                                    TClock::time_point deadline) {
  for (;;) {
    pollfd fds[2] = {{Channel, POLLIN, 0}, {wake, POLLIN, 0}};  // a negative fd is passed over
    int timeout = -1;
    if (deadline != TClock::time_point::max()) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now());
      timeout = static_cast<int>(std::max<long long>(0, left.count()));
    }
    const int ready = ::poll(fds, 2, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return TReceived::Closed;
    }
    if (ready == 0) return TReceived::TimedOut;
    if (fds[0].revents) {
      message.resize(service::MaxMessage);
      const ssize_t n = ::recv(Channel, message.data(), message.size(), 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return TReceived::Closed;
      message.resize(static_cast<std::size_t>(n));
      return TReceived::Message;
    }
    return TReceived::Woken;
  }
}

void TServiceProcess::Stop(std::chrono::milliseconds grace) {
  if (Channel >= 0) ::close(Channel);
  Channel = -1;
  if (Pid <= 0) return;
  // The service ends when its channel closes (after a polite goodbye to the daemon); one stuck in
  // libspeechd is killed.
  const auto until = TClock::now() + grace;
  for (;;) {
    const pid_t ended = ::waitpid(Pid, nullptr, WNOHANG);
    if (ended == Pid || (ended < 0 && errno != EINTR)) break;
    if (TClock::now() >= until) {
      ::kill(Pid, SIGKILL);
      while (::waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Pid = -1;
}

}  // namespace kravelon
