#include "Main/CommandLine.h"

#include <optional>
#include <string_view>

#include "Common/Text.h"
#include "Main/Version.h"
#include "Media/Language.h"

namespace kravelon {

namespace {

// "1" .. "4" and nothing else: no sign, no spaces, no "02".
bool ReadScale(const std::string& text, int& scale) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '4') return false;
  scale = text[0] - '0';
  return true;
}

// "ru, en": the languages --lang takes.
std::string LanguageList() {
  std::string list;
  for (const std::string& language : GameLanguages()) list += (list.empty() ? "" : ", ") + language;
  return list;
}

// "--name VALUE" or "--name=VALUE": whether `arguments[i]` is the option, and its value (none
// when "--name" is the last argument). `i` moves past a separate value.
bool ValueOption(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name,
                 std::optional<std::string>& value) {
  const std::string& arg = arguments[i];
  if (arg == name) {
    value.reset();
    if (i + 1 < arguments.size()) value = arguments[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

// "--name" (yes), "--name=yes" or "--name=no": whether `arg` is the switch; `value` is nothing
// for any other value after "=".
bool SwitchOption(const std::string& arg, const std::string& name, std::optional<bool>& value) {
  if (arg == name) {
    value = true;
    return true;
  }
  if (arg.size() <= name.size() || !arg.starts_with(name) || arg[name.size()] != '=') return false;
  const std::string given = arg.substr(name.size() + 1);
  value.reset();
  if (given == "yes" || given == "no") value = given == "yes";
  return true;
}

TCommandLine Failure(std::string message) {
  TCommandLine result;
  result.Action = TCommandLine::TAction::Fail;
  result.Error = std::move(message);
  return result;
}

// "--name=VALUE" with a value other than yes or no.
TCommandLine BadSwitch(const std::string& arg) {
  const std::size_t equals = arg.find('=');
  return Failure(Fill(Tr("неверное значение '%1' параметра %2 (ожидается yes или no)"),
                      {arg.substr(equals + 1), arg.substr(0, equals)}));
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
    std::optional<std::string> value;
    if (ValueOption(arguments, i, "--scale", value)) {
      if (!value) return Failure(Tr("параметру '--scale' нужно значение от 1 до 4"));
      if (!ReadScale(*value, result.Scale))
        return Failure(Fill(Tr("неверный масштаб '%1' (ожидается 1, 2, 3 или 4)"), {*value}));
      continue;
    }
    if (ValueOption(arguments, i, "--lang", value)) {
      if (!value) return Failure(Fill(Tr("параметру '--lang' нужен язык: %1"), {LanguageList()}));
      if (!IsGameLanguage(*value))
        return Failure(Fill(Tr("неизвестный язык '%1' (ожидается %2)"), {*value, LanguageList()}));
      result.Language = *value;
      continue;
    }
    if (ValueOption(arguments, i, "--level", value)) {
      if (!value)
        return Failure(
            Tr("параметру '--level' нужен уровень: cabin-boy, sailor, captain, admiral или 1–4"));
      result.Level = ParseLevel(*value);
      if (!result.Level)
        return Failure(Fill(Tr("неизвестный уровень '%1' (ожидается cabin-boy, sailor, captain, "
                               "admiral или 1–4)"),
                            {*value}));
      continue;
    }
    // "--host" alone hosts on the default port: a port is only ever given after "=", so that
    // "--host 5000" is not read as a port the player may not have meant.
    if (arg == "--host" || arg.starts_with("--host=")) {
      std::string error;
      std::optional<std::string_view> port;
      if (arg != "--host") port = std::string_view(arg).substr(7);
      result.HostPort = ParseHostOption(port, &error);
      if (!result.HostPort) return Failure(error);
      continue;
    }
    if (ValueOption(arguments, i, "--join", value)) {
      std::string error;
      result.Join = ParseJoinOption(value.value_or(""), &error);
      if (!result.Join) return Failure(error);
      continue;
    }
    if (arg == "--speak" || arg == "--no-speak") {
      result.Speech = arg == "--speak" ? TSpeechChoice::On : TSpeechChoice::Off;
      continue;
    }
    if (std::optional<bool> on; SwitchOption(arg, "--windowed", on)) {
      if (!on) return BadSwitch(arg);
      result.Windowed = on;
      continue;
    }
    bool rule = false;
    for (const TRuleSwitch r : AllRuleSwitches) {
      if (std::optional<bool> on; SwitchOption(arg, "--" + std::string(RuleValue(r)), on)) {
        if (!on) return BadSwitch(arg);
        result.Rules[r] = on;
        rule = true;
      }
    }
    if (rule) continue;
    if (!arg.empty() && arg[0] == '-') return Failure(Fill(Tr("неизвестный параметр '%1'"), {arg}));
    return Failure(Fill(Tr("лишний аргумент '%1'"), {arg}));
  }
  if (result.HostPort && result.Join)
    return Failure(Tr("параметры '--host' и '--join' нельзя давать вместе"));
  return result;
}

std::string UsageText() {
  // One text a part, so that a new option is one more text in the catalogue.
  std::string text = Tr("Использование: kravelon [ПАРАМЕТР]...\n");
  text += Tr("Кравелон: морской бой с компьютером на двух полях 10 x 10.\n");
  text += "\n";
  text += Tr("  --lang ЯЗЫК  язык игры: ru (русский) или en (английский); по умолчанию\n"
             "               язык окружения (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)\n");
  text += Tr("  --scale N    рисовать игру в N раз крупнее, N от 1 до 4\n"
             "               (по умолчанию масштаб рабочего стола, GDK_SCALE или Xft.dpi)\n");
  text += Tr("  --level УРОВЕНЬ\n"
             "               противник: cabin-boy (юнга), sailor (матрос), captain (капитан,\n"
             "               по умолчанию), admiral (адмирал) или 1–4; по умолчанию уровень,\n"
             "               выбранный в меню игры (F3)\n");
  text += Tr("  --touching[=yes|no], --salvo[=yes|no], --extra-shot[=yes|no]\n"
             "               правила: корабли могут касаться; залп (столько выстрелов за ход,\n"
             "               сколько кораблей на плаву); выстрел после попадания (по умолчанию\n"
             "               да, остальные нет, или как выбрано в меню игры)\n");
  text += Tr("  --host[=ПОРТ] открыть сетевую игру и ждать соперника на этом порту (по\n"
             "               умолчанию 41740) на всех сетевых интерфейсах; в игре: F3,\n"
             "               \"Создать сетевую игру\"\n");
  text += Tr("  --join ХОСТ[:ПОРТ]\n"
             "               подключиться к сетевой игре на компьютере ХОСТ (имя или адрес;\n"
             "               адрес IPv6 в скобках: [::1]:41740); в игре: F3, \"Подключиться к\n"
             "               игре\" показывает игры в локальной сети\n");
  text += Tr("  --speak      говорить о ходе игры через speech-dispatcher (Ctrl+S в игре)\n");
  text += Tr("  --no-speak   молчать, даже когда работает экранный диктор\n"
             "               (по умолчанию игра говорит, когда работает экранный диктор)\n");
  text += Tr("  --windowed   играть в обычном окне рядом с рабочим столом (--windowed=no:\n"
             "               поверх черного экрана, по умолчанию)\n");
  text += Tr("  -h, --help   показать эту справку и выйти\n");
  text += Tr("  --version    показать версию и выйти\n");
  text += "\n";
  text += Tr("Картинки и звуки читаются из папок Images/ и Sounds/ рядом с программой,\n"
             "а если их там нет, из установленной папки данных.\n");
  text += Tr("Настройки хранятся в $XDG_CONFIG_HOME/kravelon/kravelon.ini, статистика\n"
             "сыгранных игр в $XDG_DATA_HOME/kravelon/record; параметры командной строки\n"
             "заменяют настройки на один запуск.\n");
  return text;
}

std::string VersionText() { return std::string("kravelon ") + GameVersion + "\n"; }

}  // namespace kravelon
