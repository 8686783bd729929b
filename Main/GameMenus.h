#pragma once
// The game's popup menus and their items, in display order: the main menu, the exit question,
// the game-over menu, and the game menu of choices about the next game. What each item does is
// the main window's (MenuHandlers.cpp).
#include <algorithm>
#include <deque>
#include <vector>

#include "Common/Text.h"
#include "GameEngine/Level.h"
#include "GameEngine/Rules.h"
#include "Media/Layout.h"
#include "Net/NetEvent.h"
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
  // The most games the join menu lists: more would run off a small screen.
  static constexpr std::size_t MaxGamesListed = 6;
  // Every item's size in pixels: the menus hang from the screen's middle by it.
  static constexpr int ItemWidth = 256;
  static constexpr int ItemHeight = 64;
  // The room an item's caption has, however high the item.
  static constexpr int CaptionHeight = 48;
  // An item's height in a menu of `items`: the full height while the menu fits in the window,
  // else the most that lets it (the game menu's nine items), never less than its caption's room.
  static constexpr int ItemHeightIn(std::size_t items) {
    return std::clamp((WindowHeight - 16) / std::max(static_cast<int>(items), 1), CaptionHeight,
                      ItemHeight);
  }

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
  // The network game: hosting, ticked while the game listens for a guest; joining, which reads
  // "leave" while a network game is on.
  TMenuItem HostItem{Tr("Создать сетевую игру")}, JoinItem{Tr("Подключиться к игре")};
  TPopupMenu MainMenu;
  TPopupMenu ExitMenu;
  TPopupMenu GameOverMenu;
  TPopupMenu GameMenu;
  // The games found on the local network, one item each.
  TPopupMenu JoinMenu;

  // Ticks the item of `level` and no other.
  void TickLevel(TLevel level);
  // Ticks the rules' switches as `rules` has them; the extra shot's has no say in a salvo.
  void TickRules(const TRules& rules);
  // The network items as they stand: hosting or not, a network game on or not.
  void ShowNetwork(bool hosting, bool connected);
  // The join menu's items for these games ("Вася — 192.168.1.20"); the window binds them.
  void ListGames(const std::vector<TFoundGame>& games);
  std::deque<TMenuItem>& GameItems() { return FoundItems; }

 private:
  std::deque<TMenuItem> FoundItems;  // a deque: the menu keeps pointers to them
};

}  // namespace kravelon
