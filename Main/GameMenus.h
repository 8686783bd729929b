#pragma once
// The game's popup menus and their items, in display order: the main menu, the exit question,
// the game-over menu, and the game menu of choices about the next game. What each item does is
// the main window's (MenuHandlers.cpp).
#include "Common/Text.h"
#include "GameEngine/Level.h"
#include "GameEngine/Rules.h"
#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"

namespace kravelon {

struct TGameMenus {
  explicit TGameMenus(TForm& owner);
  TGameMenus(const TGameMenus&) = delete;
  TGameMenus& operator=(const TGameMenus&) = delete;

  // Items whose tick is a switch, on or off (the sound); and items of which one is chosen, its
  // tick showing which (the levels).
  static constexpr int SwitchTag = 1;
  static constexpr int ChoiceTag = 2;
  // Every item's size in pixels: the menus hang from the screen's middle by it.
  static constexpr int ItemWidth = 256;
  static constexpr int ItemHeight = 64;

  // Made after the language is chosen, so each caption is in the game's language.
  TMenuItem RestartItem{Tr("Рестарт")}, ArrangeItem{Tr("Расставить")}, SoundItem{Tr("Звук")},
      AboutItem{Tr("Об игре...")}, ExitItem{Tr("Выход")};
  TMenuItem ExitQuestionItem{Tr("Выйти?")}, YesItem{Tr("Да")}, NoItem{Tr("Нет")};
  TMenuItem GameOverRestartItem{Tr("Рестарт")}, StatisticsItem{Tr("Статистика")},
      GameOverExitItem{Tr("Выход")};
  // The computer's levels, weakest first, as AllLevels lists them.
  TMenuItem LevelItems[AllLevels.size()]{TMenuItem{LevelName(lvCabinBoy)}, TMenuItem{LevelName(lvSailor)},
                                         TMenuItem{LevelName(lvCaptain)}, TMenuItem{LevelName(lvAdmiral)}};
  // The house rules' switches, as AllRuleSwitches lists them.
  TMenuItem RuleItems[AllRuleSwitches.size()]{TMenuItem{RuleCaption(rsTouching)},
                                              TMenuItem{RuleCaption(rsSalvo)},
                                              TMenuItem{RuleCaption(rsExtraShot)}};
  TPopupMenu MainMenu;
  TPopupMenu ExitMenu;
  TPopupMenu GameOverMenu;
  TPopupMenu GameMenu;

  // Ticks the item of `level` and no other.
  void TickLevel(TLevel level);
  // Ticks the rules' switches as `rules` has them; the extra shot's has no say in a salvo.
  void TickRules(const TRules& rules);
};

}  // namespace kravelon
