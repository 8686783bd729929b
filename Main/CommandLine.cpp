#include "Main/CommandLine.h"

#include "Main/Version.h"

namespace kravelon {

namespace {

// "1" .. "4" and nothing else: no sign, no spaces, no "02".
bool ReadScale(const std::string& text, int& scale) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '4') return false;
  scale = text[0] - '0';
  return true;
}

TCommandLine Failure(std::string message) {
  TCommandLine result;
  result.Action = TCommandLine::TAction::Fail;
  result.Error = std::move(message);
  return result;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  TCommandLine result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--help" || arg == "-h") {
      result.Action = TCommandLine::TAction::ShowHelp;
      return result;
    }
    if (arg == "--version") {
      result.Action = TCommandLine::TAction::ShowVersion;
      return result;
    }
    if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
      std::string value;
      if (arg == "--scale") {
        if (i + 1 == arguments.size()) return Failure("option '--scale' needs a value from 1 to 4");
        value = arguments[++i];
      } else {
        value = arg.substr(8);
      }
      if (!ReadScale(value, result.Scale))
        return Failure("invalid scale '" + value + "' (expected 1, 2, 3 or 4)");
      continue;
    }
    if (arg == "--speak" || arg == "--no-speak") {
      result.Speech = arg == "--speak" ? TSpeechChoice::On : TSpeechChoice::Off;
      continue;
    }
    if (!arg.empty() && arg[0] == '-') return Failure("unknown option '" + arg + "'");
    return Failure("unexpected argument '" + arg + "'");
  }
  return result;
}

std::string UsageText() {
  return "Usage: kravelon [OPTION]...\n"
         "Kravelon (Кравелон): a naval battle against the computer on two 10 x 10 boards.\n"
         "\n"
         "  --scale N    draw the game N times larger, N from 1 to 4\n"
         "               (default: the desktop's scale, GDK_SCALE or Xft.dpi)\n"
         "  --speak      speak the game through speech-dispatcher (Ctrl+S in play)\n"
         "  --no-speak   do not speak, even with a screen reader running\n"
         "               (default: speak when the desktop's screen reader runs)\n"
         "  -h, --help   show this help and exit\n"
         "  --version    show the version and exit\n"
         "\n"
         "The pictures and sounds are read from Images/ and Sounds/ beside the executable,\n"
         "or else from the installed data folder.\n";
}

std::string VersionText() { return std::string("kravelon ") + GameVersion + "\n"; }

}  // namespace kravelon
