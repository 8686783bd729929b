#include "Net/NetEvent.h"

#include "Common/Text.h"
#include "GameEngine/Board.h"

namespace kravelon {

std::string CheatText(const TNetEvent& event) {
  switch (event.Cheat) {
    case TCheatReason::Commitment:
      return Tr("его флот не тот, что он объявил перед первым выстрелом");
    case TCheatReason::Fleet:
      switch (event.Fault) {
        case TFleetFault::OffBoard:
          return Tr("его корабль выходит за край поля");
        case TFleetFault::Overlap:
          return Tr("его корабли стоят друг на друге");
        case TFleetFault::Touching:
          return Tr("его корабли касаются друг друга, а правила этой игры это запрещают");
        case TFleetFault::Ships:
        case TFleetFault::None:
          break;
      }
      return Tr("в его флоте не те корабли");
    case TCheatReason::Result:
      return Fill(Tr("он неверно ответил на выстрел по клетке %1"),
                  {CellName(event.Cell.X, event.Cell.Y)});
    case TCheatReason::Tally:
      return Tr("его ответы не могут быть ответами флота из десяти кораблей");
  }
  return "";
}

std::string CloseText(const TNetEvent& event) {
  std::string text;
  switch (event.Close) {
    case TCloseReason::Quit:
      text = event.ByPeer ? Tr("Соперник вышел из игры.") : Tr("Вы вышли из сетевой игры.");
      break;
    case TCloseReason::Restart:
      text = event.ByPeer ? Tr("Соперник вышел из игры, чтобы начать новую.")
                          : Tr("Вы вышли из сетевой игры, чтобы начать новую.");
      break;
    case TCloseReason::Version:
      text = Tr("У соперника другая версия сетевой игры; связь закрыта.");
      break;
    case TCloseReason::Protocol:
      text = event.ByPeer ? Tr("Соперник закрыл связь: он не понял сообщения этой игры.")
                          : Tr("Соперник прислал сообщение не по протоколу; связь закрыта.");
      break;
    case TCloseReason::Timeout:
      text = event.ByPeer ? Tr("Соперник закрыл связь: он слишком долго ничего не получал.")
                          : Tr("Соперник слишком долго молчит; связь закрыта.");
      break;
    case TCloseReason::Busy:
      text = Tr("У соперника уже идет сетевая игра.");
      break;
    case TCloseReason::Cheat:
      text = event.ByPeer ? Tr("Соперник закрыл связь: он считает, что эта игра нечестна.")
                          : Tr("Игра не засчитана; связь с соперником закрыта.");
      break;
    case TCloseReason::Lost:
      text = Tr("Связь с соперником прервалась.");
      break;
    case TCloseReason::ConnectFailed:
      text = Fill(Tr("Не удалось подключиться к игре: %1."), {event.Detail});
      break;
  }
  if (event.PeerLeft) text += std::string(" ") + Tr("Свой флот соперник так и не показал.");
  return text;
}

std::string FailureText(const TNetEvent& event) {
  if (event.Kind == TNetEventKind::HostFailed) {
    return Fill(Tr("Не удалось открыть игру на порту %1: %2."),
                {std::to_string(event.Port), event.Detail});
  }
  if (event.Kind == TNetEventKind::DiscoveryUnavailable) {
    return Fill(Tr("Поиск игр в локальной сети недоступен (%1); подключайтесь по адресу."),
                {event.Detail});
  }
  return "";
}

}  // namespace kravelon
