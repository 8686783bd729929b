// Program entry: the language, the command line, then the toolkit, the application titled
// "Кравелон", the main window, the loop.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "Common/Text.h"
#include "Media/Language.h"
#include "Media/Layout.h"
#include "Main/CommandLine.h"
#include "Main/Main1.h"
#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Scale.h"
#include "Toolkit/Toolkit.h"

using namespace kravelon;

int main(int argc, char** argv) {
  // The environment's language first, so that even a wrong option is answered in it; --lang
  // then replaces it. The catalogue is read once, here.
  const std::string catalogues = CatalogueFolder();
  StartLanguage("", catalogues);
  // Read before SDL starts, so that a wrong option or --help never opens a window.
  const TCommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.Language.empty() &&
      (options.Language != GameLanguage() || !LanguageProblem().empty()))
    StartLanguage(options.Language, catalogues);
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

  const TToolkit toolkit;
  if (!toolkit.Started()) {
    std::fprintf(stderr, "kravelon: %s\n", toolkit.Error().c_str());
    return 1;
  }
  // Asked for on the command line, the scale is taken as it is; the desktop's is fitted to
  // the screen.
  SetDisplayScale(options.Scale > 0
                      ? options.Scale
                      : FitDisplayScale(DetectDisplayScale(), WindowWidth, WindowHeight));
  {
    TApplication application;
    application.Title = Tr("Кравелон");
    // An error nobody caught is shown in a box under the game's title, and the game goes on.
    application.OnException = [&application](const std::string& message) {
      MessageBox(message, application.Title, TMessageIcon::Error);
    };
    try {
      // The voice speaks the game's language.
      auto Main1 = std::make_unique<TMain1>(options.Speech, GameLanguage());
      application.MainForm = Main1.get();
      application.Run();
    } catch (...) {
      application.ShowException(std::current_exception());
    }
  }
  return 0;
}
