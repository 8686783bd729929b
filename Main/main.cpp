// Program entry: the language, the command line, then the toolkit, the application titled
// "Кравелон", the main window, the loop.
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/Text.h"
#include "Media/Language.h"
#include "Media/Layout.h"
#include "Main/CommandLine.h"
#include "Main/Main1.h"
#include "Store/PlayerFolders.h"
#include "Store/RecordFile.h"
#include "Store/Settings.h"
#include "Platform/XdgFolders.h"
#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Scale.h"
#include "Toolkit/Toolkit.h"

using namespace kravelon;

int main(int argc, char** argv) {
  // The environment's language first, so that even a wrong option is answered in it; a remembered
  // language, then --lang, replace it. The catalogue is read once, here.
  const std::string catalogues = CatalogueFolder();
  StartLanguage("", catalogues);
  // Read before SDL starts, so that a wrong option or --help never opens a window.
  const TCommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  // What the player chose before, read before the toolkit starts so that a remembered scale
  // applies. Nothing is written until a setting changes or a game ends.
  TSettingsFile settingsFile(ConfigFolder());
  TMainOptions remembered;
  const TSettings settings = settingsFile.Load(remembered.Notes);
  // The command line overrides a setting for this run only.
  const std::string language = !options.Language.empty() ? options.Language : settings.Language();
  if (!language.empty() && (language != GameLanguage() || !LanguageProblem().empty()))
    StartLanguage(language, catalogues);
  switch (options.Action) {
    case TCommandLine::TAction::ShowHelp:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case TCommandLine::TAction::ShowVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case TCommandLine::TAction::Fail:
      std::fprintf(stderr, "%s\n",
                   Fill(Tr("kravelon: %1; попробуйте 'kravelon --help'"), {options.Error}).c_str());
      return 2;
    case TCommandLine::TAction::Play:
      break;
  }

  remembered.Language = GameLanguage();
  remembered.Speech = options.Speech;
  if (remembered.Speech == TSpeechChoice::Auto && settings.Speech())
    remembered.Speech = *settings.Speech() ? TSpeechChoice::On : TSpeechChoice::Off;
  remembered.Windowed = options.Windowed.value_or(settings.Windowed());
  remembered.SoundOn = settings.Sound().value_or(true);
  remembered.Settings = &settingsFile;
  TRecordFile record(DataFolder());
  const std::vector<std::string> recordNotes = record.Load();
  remembered.Notes.insert(remembered.Notes.end(), recordNotes.begin(), recordNotes.end());
  if (const std::string note = NothingKeptNote(settingsFile.Path(), record.Path()); !note.empty())
    remembered.Notes.push_back(note);
  remembered.Record = &record;

  const TToolkit toolkit;
  if (!toolkit.Started()) {
    std::fprintf(stderr, "kravelon: %s\n", toolkit.Error().c_str());
    return 1;
  }
  // Asked for on the command line, the scale is taken as it is; a remembered one or the
  // desktop's is fitted to the screen, which may have changed since.
  const int wantedScale = settings.Scale() > 0 ? settings.Scale() : DetectDisplayScale();
  SetDisplayScale(options.Scale > 0 ? options.Scale
                                    : FitDisplayScale(wantedScale, WindowWidth, WindowHeight));
  {
    TApplication application;
    application.Title = Tr("Кравелон");
    // An error nobody caught is shown in a box under the game's title, and the game goes on.
    application.OnException = [&application](const std::string& message) {
      MessageBox(message, application.Title, TMessageIcon::Error);
    };
    try {
      auto Main1 = std::make_unique<TMain1>(std::move(remembered));
      application.MainForm = Main1.get();
      application.Run();
    } catch (...) {
      application.ShowException(std::current_exception());
    }
  }
  return 0;
}
