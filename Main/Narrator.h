#pragma once
// What the game says aloud, and whether it speaks at all: a player who cannot see the screen
// hears the console's lines, the target cell, the highlighted menu item, the boxes and the result.
// The speaker (Toolkit/Speech.h) does the talking off the game thread; this only decides.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Common/Types.h"
#include "GameEngine/GameEngine.h"
#include "Main/CommandLine.h"
#include "Toolkit/Menus.h"
#include "Speech/Speech.h"

namespace kravelon {

class TNarrator {
 public:
  // `language` is the game's, as an ISO 639 code ("ru", "en"); `log` writes one console line.
  TNarrator(TSpeechChoice choice, std::string language,
            std::function<void(const std::string& line)> log);
  TNarrator(const TNarrator&) = delete;
  TNarrator& operator=(const TNarrator&) = delete;

  bool On() const { return Speaking; }
  // The key's switch: says so on the console (and aloud while speech is on).
  void Toggle();
  void SetLanguage(const std::string& language);

  // A console line, said whole and in turn.
  void Line(std::string_view line);
  // A text the player reads once (a box, the result, the about screen), said whole and in turn.
  void Message(const std::string& text);
  // Where the player is now (the target, the highlighted item): replaces the last one.
  void Focus(const std::string& text);

  // On the game thread, now and then until Settled: takes up the screen reader's answer and
  // writes the one line saying speech is unavailable when the daemon cannot be reached.
  void Poll();
  bool Settled() const;

 private:
  void Start();

  std::string Language;
  std::function<void(const std::string&)> Log;
  std::unique_ptr<TSpeaker> Speaker;
  bool Speaking = false;
  bool FailureReported = false;
  // The screen reader's answer, from a thread of its own: -1 until it comes.
  std::shared_ptr<std::atomic<int>> ScreenReader;
};

// The texts, in the game's language.
// A console line as it is said: without its source's tag ("Game: ", "Paint: ").
std::string_view SpokenLine(std::string_view line);
// The target cell on `board` and what the player knows of it; while placing, whether the next
// ship fits there.
std::string CellSpeech(const TGameEngine& engine, int board, TPoint cell);
// The highlighted item (or, as it opens with none, every item); the sound switch's state with
// the item tagged `switchTag`.
std::string MenuSpeech(const TPopupMenu& menu, bool opened, int switchTag);
// The player's ships afloat and the computer's sunk, by length.
std::string FleetSpeech(const TGameEngine& engine);
// Where the opponent's ships that were never sunk stood, as the final boards show them.
std::string RevealSpeech(const TGameEngine& engine);

}  // namespace kravelon
