#pragma once
// What the game says aloud, and whether it speaks at all: a player who cannot see the screen
// hears the console's lines, the target cell, the highlighted menu item, the boxes and the result.
// The speaker (Speech/Speech.h) does the talking off the game thread; this only decides, and
// writes on the console when speech goes away and comes back.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Common/Types.h"
#include "GameEngine/GameEngine.h"
#include "Main/CommandLine.h"
#include "Speech/ScreenReader.h"
#include "Speech/Speech.h"
#include "Toolkit/Menus.h"

namespace kravelon {

class TNarrator {
 public:
  // `language` is the game's, as an ISO 639 code ("ru", "en"); `log` writes one console line;
  // `post` hands the speaker's news and the screen reader's answer to the game's thread.
  TNarrator(TSpeechChoice choice, std::string language,
            std::function<void(const std::string& line)> log, TPoster post);
  TNarrator(const TNarrator&) = delete;
  TNarrator& operator=(const TNarrator&) = delete;

  // The player's switch: on while they want speech, even when the daemon cannot be reached.
  bool On() const { return Speaking; }
  // The key's switch, whatever speech can do now: says so on the console (and aloud while speech
  // is on). Switched on, it connects again.
  void Toggle();
  void SetLanguage(const std::string& language);

  // A console line, said whole and in turn.
  void Line(std::string_view line);
  // A text the player reads once (a box, the result, the about screen), said whole and in turn.
  void Message(const std::string& text);
  // Where the player is now (the target, the highlighted item): replaces the last one.
  void Focus(const std::string& text);

 private:
  void Start();
  void Heard(const TSpeechNews& news);  // the speaker's news, on the game thread

  std::string Language;
  std::function<void(const std::string&)> Log;
  TPoster Post;
  bool Speaking = false;
  bool Chosen = false;    // the player has pressed the key: the screen reader no longer decides
  bool Reported = false;  // the unavailable line is written, until speech is ready or switched on
  bool Missing = false;   // speech went away and has not come back
  // Declared last, so they go first: nothing they post reaches a narrator that is gone.
  std::unique_ptr<TSpeaker> Speaker;
  std::unique_ptr<TScreenReaderQuestion> ScreenReader;
};

// The texts, in the game's language.
// A console line as it is said: without its source's tag ("Game: ", "Paint: ").
std::string_view SpokenLine(std::string_view line);
// The target cell on `board` and what the player knows of it; while placing, whether the next
// ship fits there.
std::string CellSpeech(const TGameEngine& engine, int board, TPoint cell);
// The highlighted item (or, as it opens with none, every item); a switch's state with an item
// tagged `switchTag` (the sound), and "chosen" with the ticked one of those tagged `choiceTag`
// (the levels).
std::string MenuSpeech(const TPopupMenu& menu, bool opened, int switchTag, int choiceTag);
// The player's ships afloat and the computer's sunk, by length.
std::string FleetSpeech(const TGameEngine& engine);
// Where the opponent's ships that were never sunk stood, as the final boards show them.
std::string RevealSpeech(const TGameEngine& engine);

}  // namespace kravelon
