#pragma once
// The game's three popup menus and their items, in display order: the main menu, the exit
// question and the game-over menu. What each item does is the main window's (MenuHandlers.cpp).
#include "Common/Text.h"
#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"

namespace kravelon {

struct TGameMenus {
  explicit TGameMenus(TForm& owner);
  TGameMenus(const TGameMenus&) = delete;
  TGameMenus& operator=(const TGameMenus&) = delete;

  // The item that carries the sound switch's tick.
  static constexpr int SoundTag = 1;

  // Made after the language is chosen, so each caption is in the game's language.
  TMenuItem RestartItem{Tr("Рестарт")}, ArrangeItem{Tr("Расставить")}, SoundItem{Tr("Звук")},
      AboutItem{Tr("Об игре...")}, ExitItem{Tr("Выход")};
  TMenuItem ExitQuestionItem{Tr("Выйти?")}, YesItem{Tr("Да")}, NoItem{Tr("Нет")};
  TMenuItem GameOverRestartItem{Tr("Рестарт")}, StatisticsItem{Tr("Статистика")},
      GameOverExitItem{Tr("Выход")};
  TPopupMenu MainMenu;
  TPopupMenu ExitMenu;
  TPopupMenu GameOverMenu;
};

}  // namespace kravelon
