#include "Store/Settings.h"

#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Common/Languages.h"
#include "Common/Text.h"
#include "Store/DurableFile.h"

namespace kravelon {

namespace {

std::optional<bool> ReadSwitch(const std::string& value) {
  for (const char* on : {"true", "yes", "on", "1"})
    if (value == on) return true;
  for (const char* off : {"false", "no", "off", "0"})
    if (value == off) return false;
  return std::nullopt;
}

struct TParse {
  TSettings* Settings;
  std::vector<std::string>* Notes;
};

}  // namespace

TSettings TSettings::Parse(std::string_view text, std::vector<std::string>& notes) {
  TSettings settings;
  const std::string copy(text);  // inih wants a terminated string
  TParse parse{&settings, &notes};
  const int result = ini_parse_string(
      copy.c_str(),
      [](void* user, const char* section, const char* name, const char* value) -> int {
        auto* parse = static_cast<TParse*>(user);
        if (name) parse->Settings->Take(section, name, value ? value : "", *parse->Notes);
        return 1;
      },
      &parse);
  settings.BrokenLines = result != 0;
  return settings;
}

void TSettings::Take(const std::string& section, const std::string& name, const std::string& value,
                     std::vector<std::string>& notes) {
  Entries.push_back({section, name, value});
  if (section != Section) return;
  bool understood = true;
  if (name == SoundKey || name == SpeechKey || name == WindowedKey) {
    std::optional<bool>& target = name == SoundKey ? SoundOn : name == SpeechKey ? SpeechOn : OrdinaryWindow;
    target = ReadSwitch(value);
    understood = value.empty() || target;
  } else if (name == LanguageKey) {
    understood = value.empty() || IsGameLanguage(value);
    LanguageCode = understood ? value : "";
  } else if (name == ScaleKey) {
    understood = value.empty() || (value.size() == 1 && value[0] >= '1' && value[0] <= '4');
    ScaleFactor = understood && !value.empty() ? value[0] - '0' : 0;
  }
  if (!understood)
    notes.push_back(Fill(Tr("Настройки: значение \"%1\" ключа \"%2\" не понято и пропущено."),
                         {value, name}));
}

void TSettings::Put(const char* name, std::string value) {
  bool found = false;
  for (TEntry& entry : Entries) {
    if (entry.Section == Section && entry.Name == name) {
      entry.Value = value;
      found = true;
    }
  }
  if (!found) Entries.push_back({Section, name, std::move(value)});
}

void TSettings::SetSound(bool on) {
  SoundOn = on;
  Put(SoundKey, on ? "true" : "false");
}

void TSettings::SetSpeech(bool on) {
  SpeechOn = on;
  Put(SpeechKey, on ? "true" : "false");
}

std::string TSettings::Format() const {
  std::vector<std::string> sections;
  for (const TEntry& entry : Entries)
    if (std::find(sections.begin(), sections.end(), entry.Section) == sections.end())
      sections.push_back(entry.Section);
  // Keys before any section header stay before the first one.
  std::stable_partition(sections.begin(), sections.end(), [](const std::string& s) { return s.empty(); });
  std::string text;
  for (const std::string& section : sections) {
    if (!section.empty()) text += (text.empty() ? "[" : "\n[") + section + "]\n";
    for (const TEntry& entry : Entries)
      if (entry.Section == section) text += entry.Name + " = " + entry.Value + "\n";
  }
  return text;
}

TSettingsFile::TSettingsFile(std::string folder)
    : Folder(std::move(folder)), FilePath(Folder.empty() ? "" : Folder + "/kravelon.ini") {}

TSettings TSettingsFile::Load(std::vector<std::string>& notes) const {
  if (FilePath.empty()) return {};
  const TFileBytes file = ReadLimited(FilePath, SizeLimit);
  if (file.Status == TReadStatus::Read) return TSettings::Parse(file.Bytes, notes);
  if (file.Status != TReadStatus::Missing)
    notes.push_back(Fill(Tr("Настройки: файл \"%1\" не читается, взяты настройки по умолчанию."),
                         {FilePath}));
  return {};
}

std::vector<std::string> TSettingsFile::SaveSound(bool on) {
  return Save([on](TSettings& settings) { settings.SetSound(on); });
}

std::vector<std::string> TSettingsFile::SaveSpeech(bool on) {
  return Save([on](TSettings& settings) { settings.SetSpeech(on); });
}

std::vector<std::string> TSettingsFile::Save(const std::function<void(TSettings&)>& change) {
  if (FilePath.empty()) return {};
  std::vector<std::string> lines;
  int error = MakeFolders(Folder);
  if (error == 0) {
    const TFileLock lock(FilePath);
    error = lock.Error();
    if (lock.Held()) {
      RemoveUnfinishedWrites(FilePath);
      const TFileBytes file = ReadLimited(FilePath, SizeLimit);
      std::vector<std::string> ignored;  // said once already, when the file was loaded
      TSettings settings;
      if (file.Status == TReadStatus::Read) settings = TSettings::Parse(file.Bytes, ignored);
      if (file.Status == TReadStatus::NotAFile) {
        error = EISDIR;
      } else if (file.Status == TReadStatus::Failed) {
        error = file.Error;
      } else if (file.Status == TReadStatus::TooLarge || settings.HasBrokenLines()) {
        // Writing it back would lose what inih could not read: it is kept under a name of its
        // own, and what could be read goes on in the new file.
        const std::string aside = MoveAside(FilePath);
        if (aside.empty()) error = errno;
        else
          lines.push_back(Fill(Tr("Настройки: файл \"%1\" не читается целиком, он сохранён как \"%2\"."),
                               {FilePath, aside}));
      }
      if (error == 0) {
        change(settings);
        error = ReplaceFile(FilePath, settings.Format());
      }
    }
  }
  if (error == 0) {
    FailureReported = false;
  } else if (!FailureReported) {
    FailureReported = true;
    lines.push_back(Fill(Tr("Настройки: не удалось записать \"%1\" (%2)."),
                         {FilePath, std::strerror(error)}));
  }
  return lines;
}

}  // namespace kravelon
