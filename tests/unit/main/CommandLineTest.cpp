// The command line: what each argument list asks for, read before any window exists.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Main/CommandLine.h"

namespace kravelon {

namespace {

using TAction = TCommandLine::TAction;

struct TCase {
  std::vector<std::string> Arguments;
  TAction Action;
  int Scale;               // when the game is to be played
  std::string ErrorNames;  // a piece of the one-line error, when it fails
  TSpeechChoice Speech = TSpeechChoice::Auto;
  std::optional<bool> Windowed = std::nullopt;  // nothing: the settings decide
};

TEST(CommandLine, ReadsEachArgumentListAsLinuxProgramsDo) {
  const TCase cases[] = {
      {{}, TAction::Play, 0, ""},
      {{"--scale", "2"}, TAction::Play, 2, ""},
      {{"--scale=4"}, TAction::Play, 4, ""},
      {{"--scale=1", "--scale", "3"}, TAction::Play, 3, ""},
      {{"--speak"}, TAction::Play, 0, "", TSpeechChoice::On},
      {{"--no-speak"}, TAction::Play, 0, "", TSpeechChoice::Off},
      {{"--speak", "--scale", "2", "--no-speak"}, TAction::Play, 2, "", TSpeechChoice::Off},
      {{"--no-speak", "--speak"}, TAction::Play, 0, "", TSpeechChoice::On},
      {{"--speak=yes"}, TAction::Fail, 0, "'--speak=yes'"},
      {{"--help"}, TAction::ShowHelp, 0, ""},
      {{"-h"}, TAction::ShowHelp, 0, ""},
      {{"--version"}, TAction::ShowVersion, 0, ""},
      // The first request wins; an unknown option after it is never reached.
      {{"--version", "--bogus"}, TAction::ShowVersion, 0, ""},
      {{"--bogus", "--help"}, TAction::Fail, 0, "'--bogus'"},
      {{"-x"}, TAction::Fail, 0, "'-x'"},
      {{"--versions"}, TAction::Fail, 0, "'--versions'"},
      {{"game.sav"}, TAction::Fail, 0, "'game.sav'"},
      {{"--scale"}, TAction::Fail, 0, "'--scale'"},
      {{"--scale", "5"}, TAction::Fail, 0, "'5'"},
      {{"--scale=0"}, TAction::Fail, 0, "'0'"},
      {{"--scale="}, TAction::Fail, 0, "''"},
      {{"--scale", "-1"}, TAction::Fail, 0, "'-1'"},
      {{"--scale", "02"}, TAction::Fail, 0, "'02'"},
      {{"--lang"}, TAction::Fail, 0, "'--lang'"},
      {{"--lang", "fr"}, TAction::Fail, 0, "'fr'"},
      {{"--lang="}, TAction::Fail, 0, "''"},
      {{"--lang", "EN"}, TAction::Fail, 0, "'EN'"},
      {{"--windowed"}, TAction::Play, 0, "", TSpeechChoice::Auto, true},
      {{"--windowed=no", "--scale", "2"}, TAction::Play, 2, "", TSpeechChoice::Auto, false},
      {{"--windowed=no", "--windowed"}, TAction::Play, 0, "", TSpeechChoice::Auto, true},
      {{"--windowed=maybe"}, TAction::Fail, 0, "'maybe'"},
      {{"--windowed="}, TAction::Fail, 0, "''"},
      {{"--windowed", "yes"}, TAction::Fail, 0, "'yes'"},
      {{"--level"}, TAction::Fail, 0, "'--level'"},
      {{"--level", "general"}, TAction::Fail, 0, "'general'"},
      {{"--level=5"}, TAction::Fail, 0, "'5'"},
      {{"--level="}, TAction::Fail, 0, "''"},
      {{"--touching=maybe"}, TAction::Fail, 0, "'maybe'"},
      {{"--salvo="}, TAction::Fail, 0, "--salvo"},
      {{"--extra-shot", "no"}, TAction::Fail, 0, "'no'"},
  };
  for (const TCase& c : cases) {
    std::string shown;
    for (const auto& a : c.Arguments) shown += a + " ";
    SCOPED_TRACE(shown);
    const TCommandLine line = ParseCommandLine(c.Arguments);
    EXPECT_EQ(line.Action, c.Action);
    if (c.Action == TAction::Play) {
      EXPECT_EQ(line.Scale, c.Scale);
      EXPECT_EQ(line.Speech, c.Speech);
      EXPECT_EQ(line.Windowed, c.Windowed);
    }
    if (c.Action == TAction::Fail) {
      EXPECT_NE(line.Error.find(c.ErrorNames), std::string::npos) << line.Error;
      EXPECT_EQ(line.Error.find('\n'), std::string::npos) << line.Error;
    } else {
      EXPECT_TRUE(line.Error.empty()) << line.Error;
    }
  }
}

TEST(CommandLine, TakesEachLanguageTheGameSpeaks) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, ""},
      {{"--lang", "en"}, "en"},
      {{"--lang=ru"}, "ru"},
      {{"--lang", "ru", "--scale=2", "--lang=en"}, "en"},
  };
  for (const auto& [arguments, language] : cases) {
    const TCommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(line.Action, TAction::Play);
    EXPECT_EQ(line.Language, language);
  }
}

TEST(CommandLine, TakesEachLevelByNameOrNumber) {
  const std::pair<std::vector<std::string>, std::optional<TLevel>> cases[] = {
      {{}, std::nullopt},
      {{"--level", "cabin-boy"}, lvCabinBoy},
      {{"--level=sailor"}, lvSailor},
      {{"--level", "4"}, lvAdmiral},
      {{"--level", "admiral", "--level=3"}, lvCaptain},
  };
  for (const auto& [arguments, level] : cases) {
    const TCommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(line.Action, TAction::Play);
    EXPECT_EQ(line.Level, level);
  }
}

// The address parsers have their own tests (unit_net); here, how the options take them.
TEST(CommandLine, HostsOrJoinsANetworkGameButNotBoth) {
  const TCommandLine none = ParseCommandLine({});
  EXPECT_FALSE(none.HostPort || none.Join);
  EXPECT_EQ(ParseCommandLine({"--host"}).HostPort, DefaultPort);
  EXPECT_EQ(ParseCommandLine({"--host=5000"}).HostPort, 5000);
  const TCommandLine join = ParseCommandLine({"--join", "[::1]:5000"});
  ASSERT_TRUE(join.Join);
  EXPECT_EQ(join.Join->Host, "::1");
  EXPECT_EQ(join.Join->Port, 5000);
  EXPECT_EQ(ParseCommandLine({"--join=box.local"}).Join->Port, DefaultPort);
  const std::pair<std::vector<std::string>, const char*> failures[] = {
      {{"--host=0"}, "'0'"},
      {{"--host=70000"}, "'70000'"},
      {{"--host", "5000"}, "'5000'"},  // a port only after "="
      {{"--join"}, "'--join'"},
      {{"--join", "host:port"}, "'port'"},
      {{"--join", "a b"}, "'a b'"},
      {{"--host", "--join", "box"}, "'--host'"},
  };
  for (const auto& [arguments, names] : failures) {
    const TCommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(line.Action, TAction::Fail) << arguments.back();
    EXPECT_NE(line.Error.find(names), std::string::npos) << line.Error;
  }
}

TEST(CommandLine, TakesEachHouseRuleOnOrOff) {
  using TRuleArray = std::array<std::optional<bool>, 3>;
  const std::pair<std::vector<std::string>, TRuleArray> cases[] = {
      {{}, {}},
      {{"--touching"}, {true, std::nullopt, std::nullopt}},
      {{"--salvo=yes", "--extra-shot=no"}, {std::nullopt, true, false}},
      {{"--touching=no", "--touching=yes"}, {true, std::nullopt, std::nullopt}},
  };
  for (const auto& [arguments, rules] : cases) {
    const TCommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(line.Action, TAction::Play);
    EXPECT_EQ(line.Rules, rules);
  }
}

TEST(CommandLine, HelpNamesEveryOptionAndVersionIsTheGames) {
  const std::string help = UsageText();
  for (const char* option : {"--lang", "--scale N", "--level", "--touching", "--salvo",
                             "--extra-shot", "--windowed", "--speak", "--no-speak", "--host",
                             "--join", "--help", "--version"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  EXPECT_EQ(VersionText(), "kravelon 1.2\n");
}

}  // namespace

}  // namespace kravelon
