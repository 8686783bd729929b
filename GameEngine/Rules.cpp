#include "GameEngine/Rules.h"

#include "Common/Text.h"

namespace kravelon {

bool RuleOn(const TRules& rules, TRuleSwitch rule) {
  switch (rule) {
    case rsTouching:
      return rules.Touching;
    case rsSalvo:
      return rules.Salvo;
    case rsExtraShot:
      return rules.ExtraShot;
  }
  return false;
}

void SetRule(TRules& rules, TRuleSwitch rule, bool on) {
  switch (rule) {
    case rsTouching:
      rules.Touching = on;
      break;
    case rsSalvo:
      rules.Salvo = on;
      break;
    case rsExtraShot:
      rules.ExtraShot = on;
      break;
  }
}

std::string_view RuleValue(TRuleSwitch rule) {
  switch (rule) {
    case rsTouching:
      return "touching";
    case rsSalvo:
      return "salvo";
    case rsExtraShot:
      return "extra-shot";
  }
  return "";
}

const char* RuleCaption(TRuleSwitch rule) {
  switch (rule) {
    case rsTouching:
      // TRANSLATORS: a house rule's switch in the game menu: ships may lie side by side.
      return Tr("Корабли могут касаться");
    case rsSalvo:
      // TRANSLATORS: a house rule's switch in the game menu: a side fires as many shots a turn
      // as it has ships afloat.
      return Tr("Залп");
    case rsExtraShot:
      // TRANSLATORS: a house rule's switch in the game menu: a hit lets the shooter fire again.
      return Tr("Выстрел после попадания");
  }
  return "";
}

std::string RulesList(const TRules& rules) {
  std::string list;
  const auto add = [&list](const char* rule) {
    if (!list.empty()) list += ", ";
    list += rule;
  };
  // TRANSLATORS: one of the house rules named on a game's first console lines, after "Правила:".
  if (rules.Touching) add(Tr("корабли могут касаться"));
  // TRANSLATORS: one of the house rules named on a game's first console lines, after "Правила:".
  if (rules.Salvo) add(Tr("залп"));
  // TRANSLATORS: one of the house rules named on a game's first console lines, after "Правила:":
  // every shot, hit or miss, passes the turn.
  if (!rules.ExtraShot) add(Tr("без выстрела после попадания"));
  return list;
}

std::string RulesLine(const TRules& rules) {
  const std::string list = RulesList(rules);
  if (list.empty()) return "";
  // TRANSLATORS: %1 lists the house rules in play, joined by commas.
  return Fill(Tr("Правила: %1"), {list});
}

std::string SalvoText(int shotsLeft, int shots) {
  // TRANSLATORS: the salvo under way: %1 shots left of the %2 it began with.
  return Fill(Tr("Залп: %1 из %2"), {std::to_string(shotsLeft), std::to_string(shots)});
}

}  // namespace kravelon
