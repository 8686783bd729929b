#pragma once
// The player's settings: the model of the INI file, read with inih and written by us, and the
// file itself under the config folder. Keys of the [game] section are the game's; every other
// key and section is kept as it was when the file is written back.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kravelon {

class TSettings {
 public:
  // The text of an INI file. A value the game does not understand is left out of the queries
  // (the entry itself is kept) with a console line in `notes`.
  static TSettings Parse(std::string_view text, std::vector<std::string>& notes);
  // Whether inih found lines that are not INI at all: writing the file back would lose them.
  bool HasBrokenLines() const { return BrokenLines; }
  std::string Format() const;

  // Nothing when the file does not say (or says what the game does not understand).
  std::optional<bool> Sound() const { return SoundOn; }
  // "ru", "en", or "" for the locale's.
  const std::string& Language() const { return LanguageCode; }
  // 1 to 4, or 0 for the desktop's.
  int Scale() const { return ScaleFactor; }
  std::optional<bool> Speech() const { return SpeechOn; }
  bool Windowed() const { return OrdinaryWindow.value_or(false); }

  void SetSound(bool on);
  void SetSpeech(bool on);

  // What the keys are called in the file, for the README and the tests.
  static constexpr const char* Section = "game";
  static constexpr const char* SoundKey = "sound";
  static constexpr const char* LanguageKey = "language";
  static constexpr const char* ScaleKey = "scale";
  static constexpr const char* SpeechKey = "speech";
  static constexpr const char* WindowedKey = "windowed";

 private:
  struct TEntry {
    std::string Section, Name, Value;
  };
  void Take(const std::string& section, const std::string& name, const std::string& value,
            std::vector<std::string>& notes);
  void Put(const char* name, std::string value);

  std::vector<TEntry> Entries;  // in the file's order
  bool BrokenLines = false;
  std::optional<bool> SoundOn, SpeechOn, OrdinaryWindow;
  std::string LanguageCode;
  int ScaleFactor = 0;
};

// The settings file: `folder`/kravelon.ini.
class TSettingsFile {
 public:
  // An empty folder remembers nothing: Load gives the defaults and changes are not written.
  explicit TSettingsFile(std::string folder);
  const std::string& Path() const { return FilePath; }

  // Reads the file; writes nothing. Console lines for the player in `notes`.
  TSettings Load(std::vector<std::string>& notes) const;
  // Keeps the sound switch: the file as it is now (another copy of the game may have changed
  // it) with this one key changed. Console lines, if any.
  std::vector<std::string> SaveSound(bool on);
  // The same for the speech switch.
  std::vector<std::string> SaveSpeech(bool on);

  // The most the game reads of a settings file; a larger one is ignored like a damaged one.
  static constexpr std::size_t SizeLimit = 64 << 10;

 private:
  // Writes the file again with `change` made to what it holds now.
  std::vector<std::string> Save(const std::function<void(TSettings&)>& change);

  std::string Folder, FilePath;
  bool FailureReported = false;  // one line for a run's failed writes
};

}  // namespace kravelon
