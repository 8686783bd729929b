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

// How the stand-in answers what it is told.
enum class TSsipMode {
  Answer,   // as speech-dispatcher does
  Garbage,  // a line no daemon would send, from the first one on (libspeechd then exits)
  Silent,   // never: it takes the connection and reads, like a daemon that hangs
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
  // From now on, for the connections it has and those to come.
  void SetMode(TSsipMode mode);
  // Goes away like a stopped daemon: closes every connection and stops listening (a connection
  // is then refused). Returns once done.
  void Drop();
  // Comes back at the same address, answering.
  void Resume();
  // Connections taken so far, in all; those still open.
  int Accepted() const;
  int Open() const;
  void Clear();

 private:
  void Serve();
  void Listen();
  void Command(char command);  // to the server's thread, waiting until it is done

  std::string Folder, SocketPath;
  int Listener = -1;
  int StopPipe[2] = {-1, -1};  // commands to the server's thread: 'x' stop, 'd' drop, 'r' resume
  TSsipMode Mode = TSsipMode::Answer;
  int Connections = 0, OpenNow = 0;
  int CommandsDone = 0;
  std::thread Server;
  mutable std::mutex Lock;
  mutable std::condition_variable Changed;
  std::vector<TSpokenText> Texts;
  std::vector<std::string> Lines;
  std::chrono::milliseconds Delay{0};
};

}  // namespace kravelon
