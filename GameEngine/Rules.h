#pragma once
// The house rules a game is played by. The defaults are the game's own rules: ships never touch,
// one shot at a time, and a hit lets the shooter fire again.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kravelon {

struct TRules {
  bool Touching = false;   // ships may touch at sides and corners (never overlap)
  bool Salvo = false;      // a side fires as many shots a turn as it has ships afloat
  bool ExtraShot = true;   // a hit keeps the turn (no effect with salvo on)
  bool operator==(const TRules&) const = default;
};

// The three switches, one by one, as a menu or the settings walk them.
enum TRuleSwitch : std::int32_t { rsTouching = 0, rsSalvo = 1, rsExtraShot = 2 };
inline constexpr std::array<TRuleSwitch, 3> AllRuleSwitches{rsTouching, rsSalvo, rsExtraShot};

bool RuleOn(const TRules& rules, TRuleSwitch rule);
void SetRule(TRules& rules, TRuleSwitch rule, bool on);
// The switch's name in the settings and on the command line: "touching", "salvo", "extra-shot".
std::string_view RuleValue(TRuleSwitch rule);
// The switch's caption in the player's language: "Корабли могут касаться", "Залп",
// "Выстрел после попадания".
const char* RuleCaption(TRuleSwitch rule);
// The rules that differ from the game's own, "корабли могут касаться, залп"; empty under the
// game's own rules.
std::string RulesList(const TRules& rules);
// One line naming the rules that differ from the game's own, "Правила: корабли могут касаться,
// залп"; empty under the game's own rules.
std::string RulesLine(const TRules& rules);
// The salvo under way, "Залп: 3 из 7": the shots left of the shots it began with.
std::string SalvoText(int shotsLeft, int shots);

}  // namespace kravelon
