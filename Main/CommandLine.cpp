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
    if (arg == "--windowed") {
      result.Windowed = true;
      continue;
    }
    if (arg.rfind("--windowed=", 0) == 0) {
      const std::string value = arg.substr(11);
      if (value != "yes" && value != "no")
        return Failure("invalid value '" + value + "' for --windowed (expected yes or no)");
      result.Windowed = value == "yes";
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
         "  --windowed   play in an ordinary window beside the desktop (--windowed=no:\n"
         "               over a black screen, the default)\n"
         "  -h, --help   show this help and exit\n"
         "  --version    show the version and exit\n"
         "\n"
         "The pictures and sounds are read from Images/ and Sounds/ beside the executable,\n"
         "or else from the installed data folder. Settings are kept in\n"
         "$XDG_CONFIG_HOME/kravelon/kravelon.ini, the record of finished games in\n"
         "$XDG_DATA_HOME/kravelon/record; the command line overrides a setting for one run.\n";
}

std::string VersionText() { return std::string("kravelon ") + GameVersion + "\n"; }

}  // namespace kravelon
