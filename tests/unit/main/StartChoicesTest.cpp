// What a run is to be, from the command line, the settings and the environment.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Main/StartChoices.h"

namespace kravelon {

namespace {

TEST(StartChoices, TheCommandLineGoesOverASettingOverTheEnvironment) {
  using enum TSpeechChoice;
  struct TCase {
    std::vector<std::string> Arguments;
    std::string Settings;  // the [game] section's lines
    std::map<std::string, std::string> Environment;
    TStartChoices Run;
  };
  const TCase cases[] = {
      // Nothing asked, nothing remembered: the environment's language, the desktop's scale,
      // speech as the screen reader decides, the game's own window.
      {{}, "", {}, {"ru", Auto, 0, 0, false, lvCaptain, {}}},
      {{}, "", {{"LANG", "en_US.UTF-8"}}, {"en", Auto, 0, 0, false, lvCaptain, {}}},
      // Language: the option, else the setting, else the environment.
      {{}, "language = en", {{"LANG", "ru_RU.UTF-8"}}, {"en", Auto, 0, 0, false, lvCaptain, {}}},
      {{"--lang", "ru"},
       "language = en",
       {{"LANG", "en_US.UTF-8"}},
       {"ru", Auto, 0, 0, false, lvCaptain, {}}},
      {{}, "language =", {{"LANGUAGE", "en"}}, {"en", Auto, 0, 0, false, lvCaptain, {}}},
      // Speech: the option, else the setting, else Auto.
      {{}, "speech = true", {}, {"ru", On, 0, 0, false, lvCaptain, {}}},
      {{"--no-speak"}, "speech = true", {}, {"ru", Off, 0, 0, false, lvCaptain, {}}},
      {{"--speak"}, "speech = false", {}, {"ru", On, 0, 0, false, lvCaptain, {}}},
      // Scale: the option as it is; a remembered one fitted to the screen.
      {{}, "scale = 3", {}, {"ru", Auto, 0, 3, false, lvCaptain, {}}},
      {{"--scale", "2"}, "scale = 3", {}, {"ru", Auto, 2, 0, false, lvCaptain, {}}},
      // Window kind: the option, else the setting.
      {{}, "windowed = true", {}, {"ru", Auto, 0, 0, true, lvCaptain, {}}},
      {{"--windowed=no"}, "windowed = true", {}, {"ru", Auto, 0, 0, false, lvCaptain, {}}},
      {{"--windowed"}, "", {}, {"ru", Auto, 0, 0, true, lvCaptain, {}}},
      // The computer's level: the option, else the setting, else the captain.
      {{}, "level = admiral", {}, {"ru", Auto, 0, 0, false, lvAdmiral, {}}},
      {{"--level", "sailor"}, "level = admiral", {}, {"ru", Auto, 0, 0, false, lvSailor, {}}},
      {{"--level=1"}, "", {}, {"ru", Auto, 0, 0, false, lvCabinBoy, {}}},
      {{}, "level = general", {}, {"ru", Auto, 0, 0, false, lvCaptain, {}}},
      // Each house rule: the option, else the setting, else the game's own.
      {{},
       "touching = true\nextra-shot = no",
       {},
       {"ru", Auto, 0, 0, false, lvCaptain, {true, false, false}}},
      {{"--touching=no", "--salvo"},
       "touching = true",
       {},
       {"ru", Auto, 0, 0, false, lvCaptain, {false, true, true}}},
      {{"--extra-shot=yes"}, "extra-shot = false", {}, {"ru", Auto, 0, 0, false, lvCaptain, {}}},
  };
  for (const TCase& c : cases) {
    std::string shown;
    for (const std::string& a : c.Arguments) shown += a + " ";
    SCOPED_TRACE(shown + "| " + c.Settings);
    std::vector<std::string> notes;
    const TSettings settings = TSettings::Parse("[game]\n" + c.Settings + "\n", notes);
    const TCommandLine options = ParseCommandLine(c.Arguments);
    ASSERT_EQ(options.Action, TCommandLine::TAction::Play);
    const auto environment = [&c](const char* name) -> const char* {
      const auto it = c.Environment.find(name);
      return it == c.Environment.end() ? nullptr : it->second.c_str();
    };
    const TStartChoices run = ChooseStart(options, settings, environment);
    EXPECT_EQ(run.Language, c.Run.Language);
    EXPECT_EQ(run.Speech, c.Run.Speech);
    EXPECT_EQ(run.Scale, c.Run.Scale);
    EXPECT_EQ(run.FittedScale, c.Run.FittedScale);
    EXPECT_EQ(run.Windowed, c.Run.Windowed);
    EXPECT_EQ(run.Level, c.Run.Level);
    EXPECT_EQ(run.Rules, c.Run.Rules);
  }
}

}  // namespace

}  // namespace kravelon
