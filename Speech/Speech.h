#pragma once
// Speech through speech-dispatcher, on a thread of its own: the game only hands texts over, so a
// slow, missing or autospawning daemon never holds a frame, a turn or start-up.
#include <memory>
#include <string>

namespace kravelon {

enum class TSpeechState { Connecting, Ready, Unavailable };

class TSpeaker {
 public:
  // Starts connecting at once, off the calling thread. `language` is the voice's language as an
  // ISO 639 code ("ru", "en"). The daemon is the one SPEECHD_ADDRESS names, or the user's own,
  // started by libspeechd when it is installed but not running.
  explicit TSpeaker(std::string language);
  // Never waits for speech; a connection still being made is left to end on its own.
  ~TSpeaker();
  TSpeaker(const TSpeaker&) = delete;
  TSpeaker& operator=(const TSpeaker&) = delete;

  // Spoken whole, after whatever was said before it: nothing the speaker says later cuts it.
  void Say(const std::string& text);
  // What the player is looking at now (the target, the highlighted item): a newer one replaces
  // an older one still waiting or speaking, so a held key never builds a backlog.
  void Announce(const std::string& text);
  // Stops whatever this game is saying and drops what waits (speech switched off).
  void Silence();
  // The voice's language for what is said from now on.
  void SetLanguage(const std::string& language);

  TSpeechState State() const;
  // Why speech is unavailable, as libspeechd put it; empty otherwise.
  std::string Failure() const;

 private:
  struct TShared;
  // The worker: connects, then sends what is queued. It holds its own share of the state, so it
  // may outlive the speaker.
  static void Work(const std::shared_ptr<TShared>& shared);
  std::shared_ptr<TShared> Shared;
};

}  // namespace kravelon
