#pragma once
// The game's command line, read before anything of SDL starts: a wrong option must not open a
// window, and --help / --version must work without a display.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "GameEngine/Level.h"
#include "Net/Address.h"
#include "GameEngine/Rules.h"

namespace kravelon {

// Whether the game speaks: as asked on the command line, or decided at start (the remembered
// setting, else whether a screen reader runs).
enum class TSpeechChoice { Auto, On, Off };

struct TCommandLine {
  enum class TAction { Play, ShowHelp, ShowVersion, Fail };
  TAction Action = TAction::Play;
  // The display scale asked for (1 to 4); 0 when not given: the desktop's scale then applies.
  int Scale = 0;
  // The language asked for ("ru", "en", …); empty when not given: the environment's then.
  std::string Language;
  TSpeechChoice Speech = TSpeechChoice::Auto;  // --speak / --no-speak, the last one given
  // An ordinary window (--windowed, --windowed=yes) or the game's own over a black screen
  // (--windowed=no); nothing when not given: the settings decide.
  std::optional<bool> Windowed;
  std::optional<TLevel> Level;  // --level; nothing when not given: the settings decide
  // --host[=PORT]: host a network game on that port from the start; --join HOST[:PORT]: join
  // the game there. At most one of them.
  std::optional<std::uint16_t> HostPort;
  std::optional<TAddress> Join;
  // --touching, --salvo, --extra-shot (each [=yes|no]); nothing when not given.
  std::array<std::optional<bool>, AllRuleSwitches.size()> Rules{};
  std::string Error;  // one line without the program's name, set when Action is Fail
};

// arguments are argv[1] onwards.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What --help prints, ending in a newline.
std::string UsageText();
// What --version prints, ending in a newline.
std::string VersionText();

}  // namespace kravelon
