#pragma once
// The game's three popup menus and their items, in display order: the main menu, the exit
// question and the game-over menu. What each item does is the main window's (MenuHandlers.cpp).
#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"

namespace kravelon {

struct TGameMenus {
  explicit TGameMenus(TForm& owner);
  TGameMenus(const TGameMenus&) = delete;
  TGameMenus& operator=(const TGameMenus&) = delete;

  // The item that carries the sound switch's tick.
  static constexpr int SoundTag = 1;

  TMenuItem RestartItem{"Рестарт"}, ArrangeItem{"Расставить"}, SoundItem{"Звук"},
      AboutItem{"Об игре..."}, ExitItem{"Выход"};
  TMenuItem ExitQuestionItem{"Выйти?"}, YesItem{"Да"}, NoItem{"Нет"};
  TMenuItem GameOverRestartItem{"Рестарт"}, StatisticsItem{"Статистика"}, GameOverExitItem{"Выход"};
  TPopupMenu MainMenu;
  TPopupMenu ExitMenu;
  TPopupMenu GameOverMenu;
};

}  // namespace kravelon
