#include "Main/GameMenus.h"

namespace kravelon {

TGameMenus::TGameMenus(TForm& owner) : MainMenu(owner), ExitMenu(owner), GameOverMenu(owner) {
  MainMenu.Items = {&RestartItem, &ArrangeItem, &SoundItem, &AboutItem, &ExitItem};
  ExitMenu.Items = {&ExitQuestionItem, &YesItem, &NoItem};
  GameOverMenu.Items = {&GameOverRestartItem, &StatisticsItem, &GameOverExitItem};
  // The sound is on unless the player left it off (the main window takes the setting); the
  // question only labels the exit menu.
  SoundItem.Tag = SoundTag;
  SoundItem.AutoCheck = true;
  SoundItem.Checked = true;
  ExitQuestionItem.Enabled = false;
}

}  // namespace kravelon
