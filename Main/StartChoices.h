#pragma once
// What one run of the game is to be, decided once from what the player asked on the command line,
// what the settings remember and what the environment says: the command line over a setting over
// the environment.
#include <string>

#include "Main/CommandLine.h"
#include "Media/Language.h"
#include "Store/Settings.h"

namespace kravelon {

struct TStartChoices {
  std::string Language;  // "ru", "en", …: the one the game speaks if its catalogue is there
  // On or Off as asked or remembered; Auto when neither says, and a running screen reader decides.
  TSpeechChoice Speech = TSpeechChoice::Auto;
  // Asked for on the command line: taken as it is (1 to 4). 0: FittedScale applies.
  int Scale = 0;
  // Remembered (1 to 4) and fitted to the screen, which may have changed since; 0 for the
  // desktop's own, fitted too.
  int FittedScale = 0;
  bool Windowed = false;
  TLevel Level = DefaultLevel;  // the computer's, from the first game on
  TRules Rules;                 // the house rules, from the first game on
  bool operator==(const TStartChoices&) const = default;
};

TStartChoices ChooseStart(const TCommandLine& options, const TSettings& settings,
                          const TEnvironment& environment);

}  // namespace kravelon
