#pragma once
// A stand-in for speech-dispatcher: a small SSIP server on a Unix socket that answers what
// libspeechd asks and records what it was told to say. Point SPEECHD_ADDRESS at Address().
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kravelon {

struct TSpokenText {
  std::string Text;      // the body's lines joined with "\n"
  std::string Priority;  // as set on its connection: "message", "text", ...
  std::string Language;  // as set on its connection; empty when never set
  std::string Client;    // the connection's CLIENT_NAME, e.g. "user:kravelon:focus"
};

class TSsipStandIn {
 public:
  TSsipStandIn();  // listens at once in a fresh folder under /tmp
  ~TSsipStandIn();
  TSsipStandIn(const TSsipStandIn&) = delete;
  TSsipStandIn& operator=(const TSsipStandIn&) = delete;

  std::string Address() const { return "unix_socket:" + SocketPath; }
  std::vector<TSpokenText> Spoken() const;
  // Every command line received, in order, across connections ("CANCEL self", "SPEAK", ...).
  std::vector<std::string> Commands() const;
  // Waits until some text said contains `part`; false after `timeout`.
  bool WaitForSpoken(const std::string& part,
                     std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  // Waits until `count` texts have been said in all.
  bool WaitForCount(std::size_t count,
                    std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  // From now on each SPEAK is answered only after `delay`, as a busy daemon might.
  void SetAnswerDelay(std::chrono::milliseconds delay);
  void Clear();

 private:
  void Serve();

  std::string Folder, SocketPath;
  int Listener = -1;
  int StopPipe[2] = {-1, -1};
  std::thread Server;
  mutable std::mutex Lock;
  mutable std::condition_variable Changed;
  std::vector<TSpokenText> Texts;
  std::vector<std::string> Lines;
  std::chrono::milliseconds Delay{0};
};

}  // namespace kravelon
