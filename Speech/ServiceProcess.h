#pragma once
// The speaker's side of the speech service: the process, started with one end of the channel as
// its fd 3, and ended by its own pid, never by name.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace kravelon {

class TServiceProcess {
 public:
  using TClock = std::chrono::steady_clock;
  enum class TReceived { Message, Closed, TimedOut, Woken };

  TServiceProcess() = default;
  ~TServiceProcess() { Stop(std::chrono::milliseconds(0)); }
  TServiceProcess(const TServiceProcess&) = delete;
  TServiceProcess& operator=(const TServiceProcess&) = delete;

  // Starts `command` (its first word a path); false, with nothing running, when it cannot or
  // when this process is itself a service.
  bool Start(const std::vector<std::string>& command);
  bool Running() const { return Pid > 0; }
  // False when the service is gone.
  bool Send(std::string_view message);
  // The service's next message; or Woken as soon as `wake` is readable (left unread), Closed when
  // the service has ended or closed its end, TimedOut at `deadline`.
  TReceived Receive(std::string& message, int wake, TClock::time_point deadline);
  // Closes the channel, gives the service `grace` to end on its own, then kills it; reaps it
  // either way. Nothing when none runs.
  void Stop(std::chrono::milliseconds grace);

 private:
  pid_t Pid = -1;
  int Channel = -1;
};

}  // namespace kravelon
