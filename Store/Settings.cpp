#include "Store/Settings.h"

#include <ini.h>

#include <algorithm>
#include <cctype>

#include "Common/Languages.h"
#include "Common/PlayerName.h"
#include "Common/Text.h"

namespace kravelon {

// inih reads a line into a buffer of INI_MAX_LINE bytes, its terminator included; the rest of a
// longer line it reads as a line of its own.
const std::size_t TSettings::LineLimit = INI_MAX_LINE - 1;

namespace {

// inih keeps section names and the key a continuation line continues in buffers of 50 bytes.
constexpr std::size_t InihNameLimit = 49;

// inih's white space: isspace in the process's locale, as inih calls it.
bool Space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Where inih stops looking for one of `chars`: there, at an inline comment (a ';' after white
// space), or at the end.
std::size_t FindCharsOrComment(std::string_view text, std::size_t from, std::string_view chars) {
  bool afterSpace = false;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (chars.find(text[i]) != std::string_view::npos || (afterSpace && text[i] == ';')) return i;
    afterSpace = Space(text[i]);
  }
  return text.size();
}

std::optional<bool> ReadSwitch(const std::string& value) {
  for (const char* on : {"true", "yes", "on", "1"})
    if (value == on) return true;
  for (const char* off : {"false", "no", "off", "0"})
    if (value == off) return false;
  return std::nullopt;
}

struct TInihCall {
  std::string Section, Name, Value;
};

}  // namespace

TSettings TSettings::Parse(std::string_view text, std::vector<std::string>& notes) {
  TSettings settings;
  settings.Scan(text);
  if (!settings.AgreesWithInih()) {
    // Never expected: the scan follows inih's rules. Should they part, nothing is trusted.
    for (TLine& line : settings.Lines) line.Kind = TKind::Damaged;
    settings.FirstDamage = Tr("inih понял его строки не так, как игра");
  }
  settings.Interpret(notes);
  return settings;
}

// Splits the text into lines and tells what inih makes of each, with its rules: the same
// section, key, value and continuation, so that each value the game reads has a known place.
void TSettings::Scan(std::string_view text) {
  std::string section, previousName;  // inih's: a continuation line continues previousName
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    TLine line;
    line.Text = text.substr(start, end - start);
    start = end;
    ++number;
    std::string_view content = line.Text;
    if (content.ends_with('\n')) content.remove_suffix(1);
    std::size_t begin = number == 1 && content.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (begin < content.size() && Space(content[begin])) ++begin;
    while (content.size() > begin && Space(content.back())) content.remove_suffix(1);

    std::string damage;
    if (line.Text.find('\0') != std::string::npos) {
      damage = Fill(Tr("строка %1: нулевой байт"), {std::to_string(number)});
    } else if (line.Text.size() - line.Text.ends_with('\n') > LineLimit) {
      damage = Fill(Tr("строка %1: длиннее %2 байт"),
                    {std::to_string(number), std::to_string(LineLimit)});
    } else if (begin == content.size() || content[begin] == ';' || content[begin] == '#') {
      line.Kind = TKind::Blank;
    } else if (!previousName.empty() && begin > 0) {
      line.Kind = TKind::Continuation;
      line.Section = section;
      line.Name = previousName;
    } else if (content[begin] == '[') {
      const std::size_t close = FindCharsOrComment(content, begin + 1, "]");
      if (close < content.size() && content[close] == ']') {
        line.Kind = TKind::Section;
        section = line.Section =
            content.substr(begin + 1, std::min(close - begin - 1, InihNameLimit));
        previousName.clear();
      } else {
        damage = Fill(Tr("строка %1: раздел без \"]\""), {std::to_string(number)});
      }
    } else {
      const std::size_t equals = FindCharsOrComment(content, begin, "=:");
      if (equals < content.size() && content[equals] != ';') {
        std::size_t nameEnd = equals;
        while (nameEnd > begin && Space(content[nameEnd - 1])) --nameEnd;
        std::size_t valueBegin = equals + 1, valueEnd = FindCharsOrComment(content, valueBegin, "");
        while (valueBegin < valueEnd && Space(content[valueBegin])) ++valueBegin;
        while (valueEnd > valueBegin && Space(content[valueEnd - 1])) --valueEnd;
        line.Kind = TKind::Key;
        line.Section = section;
        line.Name = content.substr(begin, nameEnd - begin);
        line.ValueBegin = valueBegin;
        line.ValueEnd = valueEnd;
        previousName = line.Name.substr(0, InihNameLimit);
      } else {
        damage = Fill(Tr("строка %1: не настройка и не раздел"), {std::to_string(number)});
      }
    }
    if (!damage.empty()) {
      line.Kind = TKind::Damaged;
      if (FirstDamage.empty()) FirstDamage = damage;
    }
    Lines.push_back(std::move(line));
  }
}

// inih reads the text as Format gives it (the lines not read whole left empty) and must find
// exactly the keys the scan found, where it found them. The values are inih's.
bool TSettings::AgreesWithInih() {
  const std::string readable = Format();
  std::vector<TInihCall> calls;
  const int error = ini_parse_string(
      readable.c_str(),
      [](void* user, const char* section, const char* name, const char* value) -> int {
        static_cast<std::vector<TInihCall>*>(user)->push_back(
            {section, name ? name : "", value ? value : ""});
        return 1;
      },
      &calls);
  if (error != 0) return false;
  std::size_t next = 0;
  for (TLine& line : Lines) {
    if (line.Kind != TKind::Key && line.Kind != TKind::Continuation) continue;
    if (next == calls.size()) return false;
    TInihCall& call = calls[next++];
    if (call.Section != line.Section || call.Name != line.Name) return false;
    if (line.Kind == TKind::Key &&
        call.Value !=
            std::string_view(line.Text).substr(line.ValueBegin, line.ValueEnd - line.ValueBegin))
      return false;
    line.Value = std::move(call.Value);
  }
  return next == calls.size();
}

// The game's keys, each value with its continuation lines (a value of several lines, which the
// game never understands).
void TSettings::Interpret(std::vector<std::string>& notes) {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (Lines[i].Kind != TKind::Key || Lines[i].Section != Section) continue;
    std::string value = Lines[i].Value;
    for (std::size_t j = i + 1;
         j < Lines.size() && Lines[j].Kind != TKind::Key && Lines[j].Kind != TKind::Section; ++j)
      if (Lines[j].Kind == TKind::Continuation) value += "\n" + Lines[j].Value;
    Take(Lines[i].Name, value, notes);
  }
}

void TSettings::Take(const std::string& name, const std::string& value,
                     std::vector<std::string>& notes) {
  bool understood = true;
  if (name == SoundKey || name == SpeechKey || name == WindowedKey) {
    std::optional<bool>& target = name == SoundKey    ? SoundOn
                                  : name == SpeechKey ? SpeechOn
                                                      : OrdinaryWindow;
    target = ReadSwitch(value);
    understood = value.empty() || target;
  } else if (name == LanguageKey) {
    understood = value.empty() || IsGameLanguage(value);
    LanguageCode = understood ? value : "";
  } else if (name == ScaleKey) {
    understood = value.empty() || (value.size() == 1 && value[0] >= '1' && value[0] <= '4');
    ScaleFactor = understood && !value.empty() ? value[0] - '0' : 0;
  } else if (name == LevelKey) {
    ChosenLevel = ParseLevel(value);
    understood = value.empty() || ChosenLevel;
  } else if (name == NameKey) {
    // A name the network game can send and the record can keep, else the login name plays.
    understood = value.empty() || IsPlayerName(value);
    PlayerName = understood ? value : "";
  } else {
    for (const TRuleSwitch rule : AllRuleSwitches) {
      if (name != RuleValue(rule)) continue;
      RuleOn[rule] = ReadSwitch(value);
      understood = value.empty() || RuleOn[rule];
    }
  }
  if (understood) return;
  std::string shown = value;  // one console line, whatever the value's lines
  std::replace(shown.begin(), shown.end(), '\n', ' ');
  notes.push_back(
      Fill(Tr("Настройки: значение \"%1\" ключа \"%2\" не понято и пропущено."), {shown, name}));
}

bool TSettings::IsGameKey(const TLine& line, std::string_view name) const {
  return line.Kind == TKind::Key && line.Section == Section && line.Name == name;
}

void TSettings::SetSound(bool on) { Set(SoundKey, on ? "true" : "false"); }

void TSettings::SetSpeech(bool on) { Set(SpeechKey, on ? "true" : "false"); }

void TSettings::Set(std::string_view name, const std::string& value) {
  bool found = false;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    TLine& line = Lines[i];
    if (!IsGameKey(line, name)) continue;
    found = true;
    line.Text.replace(line.ValueBegin, line.ValueEnd - line.ValueBegin, value);
    line.ValueEnd = line.ValueBegin + value.size();
    line.Value = value;
    // A comment right after an empty value would otherwise join the new one.
    if (line.ValueEnd < line.Text.size() && line.Text[line.ValueEnd] == ';')
      line.Text.insert(line.ValueEnd, " ");
    for (std::size_t j = i + 1;
         j < Lines.size() && Lines[j].Kind != TKind::Key && Lines[j].Kind != TKind::Section;) {
      if (Lines[j].Kind == TKind::Continuation)
        Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(j));
      else
        ++j;
    }
  }
  if (!found) {
    // The player's line ends, and a new line after the last key of the last [game] section.
    const auto crlf = std::find_if(Lines.begin(), Lines.end(),
                                   [](const TLine& l) { return l.Text.ends_with('\n'); });
    const std::string end = crlf != Lines.end() && crlf->Text.ends_with("\r\n") ? "\r\n" : "\n";
    std::size_t after = Lines.size();
    bool inGame = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      if (Lines[i].Kind == TKind::Section) inGame = Lines[i].Section == Section;
      if (inGame && (Lines[i].Kind == TKind::Section || Lines[i].Kind == TKind::Key ||
                     Lines[i].Kind == TKind::Continuation))
        after = i;
    }
    // After a new key, an indented line is a continuation of it: where such a line follows (a key
    // or a section read while no key came before it), the new line goes in a section of its own.
    for (std::size_t j = after + 1; j < Lines.size(); ++j) {
      const bool indented = !Lines[j].Text.empty() && Space(Lines[j].Text[0]);
      if ((Lines[j].Kind == TKind::Key || Lines[j].Kind == TKind::Section) && indented) {
        after = Lines.size();
        break;
      }
      if (Lines[j].Kind == TKind::Section) break;
    }
    if (after == Lines.size()) {
      const auto last = std::find_if(Lines.rbegin(), Lines.rend(),
                                     [](const TLine& l) { return l.Kind != TKind::Damaged; });
      if (last != Lines.rend()) {
        if (!last->Text.ends_with('\n')) last->Text += end;
        Lines.push_back({.Text = end});
      }
      Lines.push_back({.Text = "[" + std::string(Section) + "]" + end,
                       .Kind = TKind::Section,
                       .Section = Section});
      after = Lines.size() - 1;
    }
    if (!Lines[after].Text.ends_with('\n')) Lines[after].Text += end;
    TLine line{.Text = std::string(name) + " = " + value + end,
               .Kind = TKind::Key,
               .Section = Section,
               .Name = std::string(name),
               .ValueBegin = name.size() + 3,
               .ValueEnd = name.size() + 3 + value.size(),
               .Value = value};
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, std::move(line));
  }
  std::vector<std::string> ignored;
  Take(std::string(name), value, ignored);
}

std::string TSettings::Format() const {
  std::string text;
  for (const TLine& line : Lines) {
    if (line.Kind != TKind::Damaged)
      text += line.Text;
    else
      text += line.Text.ends_with("\r\n") ? "\r\n" : line.Text.ends_with('\n') ? "\n" : "";
  }
  return text;
}

TSettingsFile::TSettingsFile(std::string folder)
    : File(std::move(folder), "kravelon.ini", SizeLimit,
           {TrNoop("Настройки: файл \"%1\" не читается целиком (%3), он сохранён как \"%2\"."),
            TrNoop("Настройки: не удалось записать \"%1\" (%2).")}) {}

TSettings TSettingsFile::Load(std::vector<std::string>& notes) const {
  const TFileBytes file = File.Read();
  if (file.Read()) {
    TSettings settings = TSettings::Parse(file.Bytes, notes);
    if (settings.HasBrokenLines())
      notes.push_back(
          Fill(Tr("Настройки: файл \"%1\" прочитан не целиком (%2); при первом изменении "
                  "настроек он будет сохранён под другим именем."),
               {Path(), settings.Damage()}));
    return settings;
  }
  if (file.Status != TReadStatus::Missing)
    notes.push_back(
        Fill(Tr("Настройки: файл \"%1\" не читается (%2), взяты настройки по умолчанию."),
             {Path(), File.Unreadable(file)}));
  return {};
}

std::vector<std::string> TSettingsFile::SaveSound(bool on) {
  return Save(TSettings::SoundKey, on ? "true" : "false");
}

std::vector<std::string> TSettingsFile::SaveSpeech(bool on) {
  return Save(TSettings::SpeechKey, on ? "true" : "false");
}

std::vector<std::string> TSettingsFile::SaveLevel(TLevel level) {
  return Save(TSettings::LevelKey, std::string(LevelValue(level)));
}

std::vector<std::string> TSettingsFile::SaveRule(TRuleSwitch rule, bool on) {
  return Save(std::string(RuleValue(rule)).c_str(), on ? "true" : "false");
}

std::vector<std::string> TSettingsFile::Save(const char* name, std::string value) {
  const auto same = std::find_if(Pending.begin(), Pending.end(),
                                 [name](const auto& p) { return p.first == name; });
  if (same != Pending.end())
    same->second = std::move(value);
  else
    Pending.emplace_back(name, std::move(value));
  return Flush();
}

std::vector<std::string> TSettingsFile::Flush() {
  if (Pending.empty()) return {};
  const auto result = File.Update([this](const std::optional<std::string>& onDisk) {
    std::vector<std::string> ignored;  // said once already, when the file was loaded
    TSettings settings = onDisk ? TSettings::Parse(*onDisk, ignored) : TSettings();
    TDurableUpdate::TMerged merged;
    merged.Damage = settings.Damage();
    for (const auto& [key, v] : Pending) settings.Set(key, v);
    std::string bytes = settings.Format();
    // A file the next start would not read whole is never written.
    const TSettings again = TSettings::Parse(bytes, ignored);
    if (again.HasBrokenLines())
      merged.Refused = Fill(Tr("изменённый файл не читался бы целиком: %1"), {again.Damage()});
    else
      merged.Bytes = std::move(bytes);
    return merged;
  });
  if (result.Written) Pending.clear();
  return result.Lines;
}

}  // namespace kravelon
