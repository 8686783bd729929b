// The network game as the window plays it: hosting and joining from the game menu or the command
// line, the connection's events turned into the engine's moves, console lines and boxes, and the
// record of each game against a player. The game's thread never waits on the network: commands
// go to the network's own thread, and its events come back through the application's Post.
#include <algorithm>
#include <utility>

#include "Common/PlayerName.h"
#include "Common/Text.h"
#include "Main/Main1.h"
#include "Net/Address.h"
#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Pause.h"

namespace kravelon {

namespace {

// How long a search for games runs before the join menu shows what it found.
constexpr auto SearchTime = std::chrono::milliseconds(1000);
// How soon the waiting events are offered again while a menu or a box is open.
constexpr int RetryMs = 100;

TShotResult EngineResult(TShotAnswer answer) {
  switch (answer) {
    case TShotAnswer::Miss:
      return srMiss;
    case TShotAnswer::Hit:
      return srHit;
    case TShotAnswer::Sunk:
    case TShotAnswer::Won:  // the engine sees the last ship sink for itself
      return srSunk;
  }
  return srMiss;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

}  // namespace

TNetwork& TMain1::Network() {
  if (!Net.Network) {
    Net.Network = std::make_unique<TNetwork>(
        Options.Network,
        [](std::function<void()> work) { return TApplication::Post(std::move(work)); },
        [this](const TNetEvent& event) { NetEventArrived(event); });
  }
  return *Net.Network;
}

void TMain1::StartNetworking() {
  if (Options.HostPort) {
    HostClick();
  } else if (Options.Join) {
    JoinGame(Options.Join->Host, Options.Join->Port);
  }
}

void TMain1::NetLine(const std::string& text) { GameLogged("Net: " + text); }

void TMain1::NetBox(const std::string& text) {
  const std::optional<TPoint> pointer = PointerPosition();
  MessageBox(text, Application->Title, TMessageIcon::Information);
  PointerBack(pointer);
}

void TMain1::ShowNetworkItems() {
  Menus.ShowNetwork(Net.Hosting, Net.Link == TLink::Joining || Net.Link == TLink::Connected);
}

// ---- The game menu's items -----------------------------------------------------------------

void TMain1::HostClick() {
  if (!Engine) return;
  if (Net.Hosting) {
    // A game already on with a guest goes on; only new guests are no longer taken.
    Network().StopHosting();
    Net.Hosting = false;
    Net.Port = 0;
    NetLine(Tr("Сетевая игра закрыта: новые соперники подключиться не смогут."));
  } else {
    Net.Hosting = true;
    // A guest plays by the rules the player chose for games against the computer.
    Network().SetRules(OwnRules());
    Network().Host(Options.HostPort.value_or(DefaultPort));
  }
  ShowNetworkItems();
}

void TMain1::JoinClick() {
  if (!Engine) return;
  if (Net.Link == TLink::Joining || Net.Link == TLink::Connected) {
    LeaveNetGame(TByeReason::Quit);
    return;
  }
  StartBrowsing();
  // A search just begun has had no time to hear the hosts: the menu comes a moment later.
  const auto searched = std::chrono::steady_clock::now() - Net.BrowsingSince;
  if (Net.Games.empty() && Net.DiscoveryProblem.empty() && searched < SearchTime) {
    NetLine(Tr("Поиск игр в локальной сети..."));
    JoinTimer.SetInterval(
        static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(SearchTime - searched).count()) +
        1);
    JoinTimer.SetEnabled(true);
    return;
  }
  ShowFoundGames();
}

void TMain1::StartBrowsing() {
  if (Net.Browsing) return;
  Net.Browsing = true;
  Net.BrowsingSince = std::chrono::steady_clock::now();
  Network().Browse(true);
}

void TMain1::ShowFoundGames() {
  JoinTimer.SetEnabled(false);
  if (!Engine || Net.Link != TLink::None) return;
  if (Net.Games.empty()) {
    std::string text =
        Net.DiscoveryProblem.empty()
            ? Tr("Игры в локальной сети не найдены.")
            : Fill(Tr("Поиск игр в локальной сети недоступен (%1)."), {Net.DiscoveryProblem});
    text += "\n";
    text +=
        Tr("Подключиться к игре по адресу можно из командной строки:\nkravelon --join "
           "АДРЕС[:ПОРТ]");
    NetBox(text);
    return;
  }
  Menus.ListGames(Net.Games);
  for (std::size_t i = 0; i < Menus.GameItems().size(); ++i) {
    const TFoundGame game = Net.Games[i];
    Menus.GameItems()[i].OnClick = [this, game](TMenuItem&) { JoinGame(game.Address, game.Port); };
  }
  PrepareMenu(Menus.JoinMenu);
  ShowMenu(Menus.JoinMenu);
}

void TMain1::JoinGame(const std::string& host, std::uint16_t port) {
  if (!Engine || Net.Link != TLink::None) return;
  Net.Link = TLink::Joining;
  Net.Hosted = false;
  Net.Warned = false;
  NetLine(Fill(Tr("Подключение к игре %1, порт %2..."), {host, std::to_string(port)}));
  Network().Join(host, port);
  ShowNetworkItems();
}

void TMain1::LeaveNetGame(TByeReason reason) {
  if (Net.Link != TLink::Joining && Net.Link != TLink::Connected) return;
  // The connection's last events still come, and count for nothing: the player has gone.
  Net.Link = TLink::Leaving;
  Network().Leave(reason);
  NetLine(Tr("Вы вышли из сетевой игры."));
  ShowNetworkItems();
  if (Engine && Engine->Remote()) BackToComputer();
}

void TMain1::AgainClick() {
  if (!Net.OwnAgain) {
    Net.OwnAgain = true;
    Network().Again();
  }
  // Both want another game: it begins when the connection says so.
  if (!Net.PeerAgain) GameLogged("Game: " + std::string(Tr("Ждём соперника...")));
}

// ---- Games against the player ----------------------------------------------------------------

void TMain1::StartNetGame() {
  Net.PeerPlaced = Net.BattleBegun = Net.Recorded = Net.Warned = false;
  Net.OwnAgain = Net.PeerAgain = false;
  Net.Winner.reset();
  if (!Engine->Remote()) Net.OwnRules = Engine->NextRules();
  Engine->SetRemote(true);
  // The guest plays by the host's rules; the host's own are the same.
  Engine->SetRules(Net.Rules);
  NewGameNow();
}

void TMain1::BackToComputer() {
  Engine->SetRemote(false);
  Engine->SetRules(OwnRules());
  NewGameNow();
}

TRules TMain1::OwnRules() const {
  return Engine && Engine->Remote() ? Net.OwnRules : Engine ? Engine->NextRules() : TRules{};
}

void TMain1::RecordNetGame(TEnding ending) {
  if (Net.Recorded || !Net.BattleBegun) return;
  Net.Recorded = true;
  TGameResult game = PlayedGame(Net.Winner == sdUser);
  game.Player = Net.Peer;
  game.Rules = Net.Rules;
  game.Ending = ending;
  Keep(game);
}

// ---- The connection's events ---------------------------------------------------------------

void TMain1::NetEventArrived(const TNetEvent& event) {
  Net.Backlog.push_back(event);
  HandleNetEvents();
}

void TMain1::HandleNetEvents() {
  if (Destroyed || Net.Handling) return;
  // A menu or a box keeps the game still, as it keeps the computer's turn: the events wait.
  if (Application->InModal()) {
    NetTimer.SetInterval(RetryMs);
    NetTimer.SetEnabled(true);
    return;
  }
  Net.Handling = true;
  while (!Net.Backlog.empty() && !Application->InModal()) {
    const TNetEvent event = std::move(Net.Backlog.front());
    Net.Backlog.pop_front();
    HandleNetEvent(event);
  }
  Net.Handling = false;
  if (!Net.Backlog.empty()) {
    NetTimer.SetInterval(RetryMs);
    NetTimer.SetEnabled(true);
  }
}

void TMain1::HandleNetEvent(const TNetEvent& event) {
  if (!Engine) return;
  switch (event.Kind) {
    case TNetEventKind::Listening: {
      if (!Net.Hosting) return;
      Net.Port = event.Port;
      NetLine(Fill(Tr("Сетевая игра открыта на порту %1."), {std::to_string(event.Port)}));
      const std::vector<std::string> addresses = LocalAddresses();
      NetLine(addresses.empty() ? Tr("У этого компьютера нет сетевых адресов, кроме своего.")
                                : Fill(Tr("Адреса этого компьютера: %1."), {Joined(addresses)}));
      NetLine(Tr("Пока соперник не подключился, идёт игра с компьютером."));
      return;
    }
    case TNetEventKind::HostFailed:
      Net.Hosting = false;
      Net.Port = 0;
      ShowNetworkItems();
      NetLine(FailureText(event));
      NetBox(FailureText(event));
      return;
    case TNetEventKind::DiscoveryUnavailable:
      Net.DiscoveryProblem = event.Detail;
      if (Net.Hosting) NetLine(FailureText(event));
      return;
    case TNetEventKind::GamesFound:
      Net.Games = event.Games;
      return;
    default:
      break;
  }
  // The rest belong to the connection.
  if (Net.Link == TLink::Leaving) {
    if (event.Kind == TNetEventKind::Closed) Net.Link = TLink::None;
    ShowNetworkItems();
    return;
  }
  if (event.Kind == TNetEventKind::Closed) return OnNetClosed(event);
  if (event.Kind == TNetEventKind::Connected) {
    // A guest at our listener, or the host we joined.
    Net.Hosted = Net.Link == TLink::None;
    Net.Link = TLink::Joining;
    Net.Warned = false;
    Net.PeerAddress = event.Address;
    ShowNetworkItems();
    return;
  }
  if (event.Kind == TNetEventKind::Opponent) return OnOpponent(event);
  if (Net.Link != TLink::Connected || !Engine->Remote()) return;
  switch (event.Kind) {
    case TNetEventKind::PeerPlaced:
      Net.PeerPlaced = true;
      GameLogged("Game: " + std::string(Tr("Соперник расставил все корабли.")));
      return;
    case TNetEventKind::Turn:
      if (Engine->State() != gsPlacing) return;
      Engine->BeginRemoteBattle(event.Mine);
      Net.BattleBegun = true;
      GameLogged("Game: " + std::string(event.Mine ? Tr("Вы стреляете первым.")
                                                   : Tr("Первым стреляет соперник.")));
      return;
    case TNetEventKind::ShotAt:
      Engine->ShootRemote(event.Cell.X, event.Cell.Y);
      return;
    case TNetEventKind::Result:
      if (Engine->AwaitedShot() == event.Cell) Engine->AnswerRemote(EngineResult(event.Result));
      return;
    case TNetEventKind::GameOver:
      return;  // the engine has seen the end already; the opponent's fleet is still to come
    case TNetEventKind::Verified:
      if (Engine->State() != gsReport) return;  // revealed on leaving: its goodbye comes next
      Engine->RevealRemoteFleet(event.Fleet);
      RecordNetGame(TEnding::PlayedOut);
      if (Paint && Paint->FinalBoardsShown()) Paint->Redraw();
      return;
    case TNetEventKind::Cheat: {
      const std::string text = Fill(Tr("Соперник сыграл нечестно: %1."), {CheatText(event)});
      NetLine(text);
      RecordNetGame(TEnding::Void);
      Net.Warned = true;
      NetBox(text + "\n" + Tr("Игра не засчитана."));
      return;
    }
    case TNetEventKind::PeerAgain:
      Net.PeerAgain = true;
      if (!Net.OwnAgain)
        GameLogged("Game: " +
                   Fill(Tr("%1 хочет сыграть ещё раз: выберите «Рестарт»."), {Net.Peer}));
      return;
    case TNetEventKind::NewGame:
      StartNetGame();
      return;
    default:
      return;
  }
}

void TMain1::OnOpponent(const TNetEvent& event) {
  if (Net.Link != TLink::Joining) return;
  Net.Link = TLink::Connected;
  Net.Peer = ShownPlayerName(event.Name);
  Net.Rules = event.Rules;
  // Browsing is for finding a game: one is found.
  if (Net.Browsing) {
    Network().Browse(false);
    Net.Browsing = false;
    Net.Games.clear();
  }
  NetLine(Net.Hosted ? Fill(Tr("К игре подключился %1 (%2)."), {Net.Peer, Net.PeerAddress})
                     : Fill(Tr("Вы подключились к игре %1 (%2)."), {Net.Peer, Net.PeerAddress}));
  ShowNetworkItems();
  StartNetGame();
}

void TMain1::OnNetClosed(const TNetEvent& event) {
  const TLink was = Net.Link;
  Net.Link = TLink::None;
  ShowNetworkItems();
  const std::string text = CloseText(event);
  NetLine(text);
  // A connection that came to no game: the game against the computer never stopped. Only the
  // player's own joining is worth a box; a guest that went before its greeting is not.
  if (was != TLink::Connected || !Engine->Remote()) {
    if (!Net.Hosted && !Net.Warned) NetBox(text);
    return;
  }
  const bool cheat = event.Close == TCloseReason::Cheat;
  if (Engine->State() != gsReport) {
    // The opponent left the game under way: it counts as left once the battle had begun.
    RecordNetGame(cheat ? TEnding::Void : TEnding::Left);
    if (!Net.Warned) NetBox(Tr("Соперник покинул игру.") + std::string("\n") + text);
    BackToComputer();
    return;
  }
  // Over already: a game whose fleet never came is left, else it is in the record.
  RecordNetGame(cheat ? TEnding::Void : TEnding::Left);
  Engine->SetRemote(false);
  Engine->SetRules(OwnRules());
  if (Net.OwnAgain && !Net.PeerAgain) {
    // The player was waiting for another game that will not come.
    if (!Net.Warned) NetBox(Tr("Соперник покинул игру.") + std::string("\n") + text);
    BackToComputer();
    return;
  }
  GameLogged("Game: " + std::string(Tr("«Рестарт» начнёт игру с компьютером.")));
}

}  // namespace kravelon
