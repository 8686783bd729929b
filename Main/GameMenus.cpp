#include "Main/GameMenus.h"

namespace kravelon {

TGameMenus::TGameMenus(TForm& owner)
    : MainMenu(owner), ExitMenu(owner), GameOverMenu(owner), GameMenu(owner) {
  MainMenu.Items = {&RestartItem, &ArrangeItem, &SoundItem, &AboutItem, &ExitItem};
  ExitMenu.Items = {&ExitQuestionItem, &YesItem, &NoItem};
  GameOverMenu.Items = {&GameOverRestartItem, &StatisticsItem, &GameOverExitItem};
  // The sound is on unless the player left it off (the main window takes the setting); the
  // question only labels the exit menu.
  SoundItem.Tag = SwitchTag;
  for (TMenuItem& item : LevelItems) {
    item.Tag = ChoiceTag;
    GameMenu.Items.push_back(&item);
  }
  TickLevel(DefaultLevel);
  for (TMenuItem& item : RuleItems) {
    item.Tag = SwitchTag;
    item.AutoCheck = true;
    GameMenu.Items.push_back(&item);
  }
  TickRules(TRules{});
  SoundItem.AutoCheck = true;
  SoundItem.Checked = true;
  ExitQuestionItem.Enabled = false;
}

void TGameMenus::TickRules(const TRules& rules) {
  for (const TRuleSwitch rule : AllRuleSwitches) RuleItems[rule].Checked = RuleOn(rules, rule);
  RuleItems[rsExtraShot].Enabled = !rules.Salvo;
}

void TGameMenus::TickLevel(TLevel level) {
  for (std::size_t i = 0; i < AllLevels.size(); ++i) LevelItems[i].Checked = AllLevels[i] == level;
}

}  // namespace kravelon
