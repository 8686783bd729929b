#pragma once
// The player's settings: the model of the INI file, read with inih, and the file itself under the
// config folder. Keys of the [game] section are the game's. Writing the file back changes only
// the lines of the keys the game sets; every other byte (comments, blank lines, other keys and
// sections, line ends) stays as the player wrote it.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "GameEngine/Level.h"
#include "GameEngine/Rules.h"
#include "Store/DurableUpdate.h"

namespace kravelon {

class TSettings {
 public:
  // The text of an INI file. A value the game does not understand is left out of the queries
  // (its line is kept) with a console line in `notes`.
  static TSettings Parse(std::string_view text, std::vector<std::string>& notes);

  // Why the text was not read whole, naming its first line that was not ("" when it was): a line
  // with a NUL byte, one longer than inih reads (LineLimit), or one that is no INI at all. Such
  // lines are left out of the queries and left empty by Format (so the others keep their numbers
  // and their meaning), so the file cannot be written back as it is.
  const std::string& Damage() const { return FirstDamage; }
  bool HasBrokenLines() const { return !FirstDamage.empty(); }
  // The text as read with the game's changes made: every line read whole, byte for byte, but for
  // the values the game set; an empty line for each one that was not.
  std::string Format() const;

  // Nothing when the file does not say (or says what the game does not understand).
  std::optional<bool> Sound() const { return SoundOn; }
  // "ru", "en", or "" for the locale's.
  const std::string& Language() const { return LanguageCode; }
  // 1 to 4, or 0 for the desktop's.
  int Scale() const { return ScaleFactor; }
  std::optional<bool> Speech() const { return SpeechOn; }
  bool Windowed() const { return OrdinaryWindow.value_or(false); }
  // The computer's level the player last chose in the game menu.
  std::optional<TLevel> Level() const { return ChosenLevel; }
  // The name the network game plays under; "" for the login name.
  const std::string& Name() const { return PlayerName; }
  // A house rule's switch as the player last left it in the game menu ("touching", "salvo",
  // "extra-shot").
  std::optional<bool> Rule(TRuleSwitch rule) const { return RuleOn[rule]; }

  void SetSound(bool on);
  void SetSpeech(bool on);
  // Gives a key of the [game] section its value: in place on every line that has the key (its
  // continuation lines go: they were part of the old value), or on a new line at the end of the
  // section, with a [game] section at the end of the file when there is none.
  void Set(std::string_view name, const std::string& value);

  // What the keys are called in the file, for the README and the tests.
  static constexpr const char* Section = "game";
  static constexpr const char* SoundKey = "sound";
  static constexpr const char* LanguageKey = "language";
  static constexpr const char* ScaleKey = "scale";
  static constexpr const char* SpeechKey = "speech";
  static constexpr const char* WindowedKey = "windowed";
  static constexpr const char* LevelKey = "level";
  static constexpr const char* NameKey = "name";

  // The longest line inih reads whole, in bytes before its newline.
  static const std::size_t LineLimit;

 private:
  enum class TKind { Blank, Section, Key, Continuation, Damaged };
  struct TLine {
    std::string Text{};  // with its line end
    TKind Kind = TKind::Blank;
    std::string Section{}, Name{};             // of a key or a continuation line
    std::size_t ValueBegin = 0, ValueEnd = 0;  // a key's value in Text
    std::string Value{};                       // of a key or a continuation line, as inih gave it
  };

  void Scan(std::string_view text);
  bool AgreesWithInih();
  void Interpret(std::vector<std::string>& notes);
  void Take(const std::string& name, const std::string& value, std::vector<std::string>& notes);
  bool IsGameKey(const TLine& line, std::string_view name) const;

  std::vector<TLine> Lines;
  std::string FirstDamage;
  std::optional<bool> SoundOn, SpeechOn, OrdinaryWindow;
  std::optional<TLevel> ChosenLevel;
  std::array<std::optional<bool>, AllRuleSwitches.size()> RuleOn{};
  std::string LanguageCode;
  std::string PlayerName;
  int ScaleFactor = 0;
};

// The settings file: `folder`/kravelon.ini.
class TSettingsFile {
 public:
  // An empty folder remembers nothing: Load gives the defaults and changes are not written.
  explicit TSettingsFile(std::string folder);
  const std::string& Path() const { return File.Path(); }

  // Reads the file; writes nothing. Console lines for the player in `notes`.
  TSettings Load(std::vector<std::string>& notes) const;
  // Keeps the sound switch: the file as it is now (another copy of the game may have changed
  // it) with this one key changed. Console lines, if any.
  std::vector<std::string> SaveSound(bool on);
  // The same for the speech switch, and the computer's level.
  std::vector<std::string> SaveSpeech(bool on);
  std::vector<std::string> SaveLevel(TLevel level);
  std::vector<std::string> SaveRule(TRuleSwitch rule, bool on);
  // Writes the changes a failed write left; the game calls it once more as it ends.
  std::vector<std::string> Flush();

  // The most the game reads of a settings file; a larger one is ignored like a damaged one, and
  // the game never writes one.
  static constexpr std::size_t SizeLimit = 64 << 10;

 private:
  std::vector<std::string> Save(const char* name, std::string value);

  TDurableUpdate File;
  // Values set but not yet written: a write that fails leaves them to the next one.
  std::vector<std::pair<std::string, std::string>> Pending;
};

}  // namespace kravelon
