// Program entry: the language, the command line, then the toolkit, the application titled
// "Кравелон", the main window, the loop.
#include <csignal>
#include <cstdio>
#include <cstdlib>
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
#include "Main/StartChoices.h"
#include "Net/PlayerName.h"
#include "Store/PlayerFolders.h"
#include "Store/RecordFile.h"
#include "Store/Settings.h"
#include "Platform/XdgFolders.h"
#include "Speech/SpeechService.h"
#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Scale.h"
#include "Toolkit/Toolkit.h"

using namespace kravelon;

int main(int argc, char** argv) {
  // A socket whose far end has gone (speech-dispatcher stopped, the speech service ended) is an
  // error for whoever writes to it to handle, never a reason for the game to die.
  std::signal(SIGPIPE, SIG_IGN);
  // The game started again by its own speaker to talk libspeechd (Speech/SpeechService.h).
  if (IsSpeechService(argc, argv)) return RunSpeechService();
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
  const TStartChoices run = ChooseStart(options, settings, std::getenv);
  if (run.Language != GameLanguage() || !LanguageProblem().empty()) {
    StartLanguage(run.Language, catalogues);
    // What the settings file made the game say, said again in the language it chose.
    remembered.Notes.clear();
    settingsFile.Load(remembered.Notes);
  }
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
  remembered.Speech = run.Speech;
  remembered.Windowed = run.Windowed;
  remembered.Level = run.Level;
  remembered.Network.Name = PlayerName(settings.Name());
  remembered.HostPort = options.HostPort;
  remembered.Join = options.Join;
  // For the window tests: hosting on loopback alone, and nothing announced or searched for on
  // the machine's network.
  if (const char* loopback = std::getenv("KRAVELON_NET_LOOPBACK"); loopback && *loopback) {
    remembered.Network.ListenAddress = "127.0.0.1";
    remembered.Network.Discovery = false;
  }
  remembered.Rules = run.Rules;
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
  SetDisplayScale(run.Scale > 0 ? run.Scale
                                : FitDisplayScale(run.FittedScale > 0 ? run.FittedScale
                                                                      : DetectDisplayScale(),
                                                  WindowWidth, WindowHeight));
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
