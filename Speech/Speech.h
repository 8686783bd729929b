#pragma once
// Speech through speech-dispatcher. libspeechd runs in a small process of our own, the speech
// service (Speech/SpeechService.h): a daemon that hangs, hangs up or answers garbage (libspeechd
// then calls exit) takes that process down, never the game. A thread of the speaker's talks to
// the service, so the game only hands texts over and never waits for speech.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kravelon {

// Hands work to the game's thread; false when it could not be queued. TApplication::Post has this
// shape; the speech library never sees the toolkit.
using TPoster = std::function<bool(std::function<void()>)>;

enum class TSpeechState { Connecting, Ready, Unavailable };

// Why speech is unavailable.
enum class TSpeechFailure {
  None,
  NotReached,  // no daemon at the address, and none to start
  NoAnswer,    // a daemon took the connection but did not answer in time, or answered garbage
  Lost,        // it was speaking, and went away or stopped answering
  NotBuiltIn,  // this build of the game has no speech
};

// What the speaker tells its owner, on the owner's thread: speech is ready, or unavailable and why.
struct TSpeechNews {
  TSpeechState State = TSpeechState::Connecting;
  TSpeechFailure Failure = TSpeechFailure::None;
  std::string Detail;  // for the curious: libspeechd's words or ours, never shown to the player
};

struct TSpeakerOptions {
  std::string Language = "ru";  // the voice's, as an ISO 639 code ("ru", "en")
  // What starts the speech service; empty for this program started again (the game's way).
  std::vector<std::string> Service{};
  // The daemon's answer to the connection, which may include starting it (autospawn).
  std::chrono::milliseconds ConnectTimeout{5000};
  // The daemon's answer to each text, cancel or language.
  std::chrono::milliseconds AnswerTimeout{3000};
  // Once unavailable, a text tries to connect again at most this often.
  std::chrono::milliseconds RetryAfter{5000};
};

class TSpeaker {
 public:
  using TNewsHandler = std::function<void(const TSpeechNews& news)>;

  // Starts connecting at once, off the calling thread. Each change to Ready or Unavailable comes
  // to `heard` through `post`, in order; none comes once the speaker is gone. The daemon is the one
  // SPEECHD_ADDRESS names, or the user's own, started by libspeechd when installed but not running.
  TSpeaker(TSpeakerOptions options, TPoster post, TNewsHandler heard);
  // Stops its thread and the service within a bounded time (the service is killed if it hangs).
  ~TSpeaker();
  TSpeaker(const TSpeaker&) = delete;
  TSpeaker& operator=(const TSpeaker&) = delete;

  // Spoken whole, after whatever was said before it: nothing the speaker says later cuts it.
  // While speech is unavailable a text is dropped, except that it tries to connect again once
  // RetryAfter has passed since the last failure (and is said if that works).
  void Say(const std::string& text);
  // What the player is looking at now (the target, the highlighted item): a newer one replaces
  // an older one still waiting or speaking, so a held key never builds a backlog. Tries again
  // like Say.
  void Announce(const std::string& text);
  // Stops whatever this game is saying and drops what waits (speech switched off).
  void Silence();
  // The voice's language for what is said from now on.
  void SetLanguage(const std::string& language);
  // Connects again now when speech is unavailable (the player switched it on); else nothing.
  void Reconnect();

  TSpeechState State() const;
  // Why speech is unavailable, in the service's or libspeechd's words; empty otherwise.
  std::string Failure() const;

 private:
  struct TShared;
  void Work();
  void Tell(TSpeechNews news);  // the worker: news to the owner's thread

  TSpeakerOptions Options;
  TPoster Post;
  std::shared_ptr<TNewsHandler> Heard;  // posted news holds it weakly: none runs once it is gone
  std::unique_ptr<TShared> Shared;
  std::thread Worker;
};

// Whether this build speaks at all (the KRAVELON_SPEECH option of the build).
bool SpeechBuiltIn();

}  // namespace kravelon
