#include "Main/GameMenus.h"

#include <string>

#include "Common/PlayerName.h"

namespace kravelon {

TGameMenus::TGameMenus(TForm& owner)
    : MainMenu(owner), ExitMenu(owner), GameOverMenu(owner), GameMenu(owner), JoinMenu(owner) {
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
  HostItem.Tag = SwitchTag;
  GameMenu.Items.push_back(&HostItem);
  GameMenu.Items.push_back(&JoinItem);
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

void TGameMenus::ShowNetwork(bool hosting, bool connected) {
  HostItem.Checked = hosting;
  JoinItem.Caption = connected ? Tr("Покинуть сетевую игру") : Tr("Подключиться к игре");
}

void TGameMenus::ListGames(const std::vector<TFoundGame>& games) {
  JoinMenu.Items.clear();
  FoundItems.clear();
  for (const TFoundGame& game : games) {
    if (FoundItems.size() == MaxGamesListed) break;
    // The address as --join takes it: an IPv6 one in brackets once a port follows.
    std::string address = game.Address;
    if (game.Port != DefaultPort) {
      if (address.find(':') != std::string::npos) address = '[' + address.append("]");
      address.append(":").append(std::to_string(game.Port));
    }
    FoundItems.emplace_back(Fill(Tr("%1 — %2"), {ShownPlayerName(game.Name), address}));
    JoinMenu.Items.push_back(&FoundItems.back());
  }
}

}  // namespace kravelon
