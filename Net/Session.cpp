#include "Net/Session.h"

#include <utility>

#include "Net/Commitment.h"
#include "Net/FleetText.h"

namespace kravelon {

namespace {

constexpr int Cells = BoardSize * BoardSize;

TCloseReason CloseOf(TByeReason reason) {
  switch (reason) {
    case TByeReason::Quit:
      return TCloseReason::Quit;
    case TByeReason::Restart:
      return TCloseReason::Restart;
    case TByeReason::Version:
      return TCloseReason::Version;
    case TByeReason::Protocol:
      return TCloseReason::Protocol;
    case TByeReason::Timeout:
      return TCloseReason::Timeout;
    case TByeReason::Busy:
      return TCloseReason::Busy;
    case TByeReason::Cheat:
      return TCloseReason::Cheat;
  }
  return TCloseReason::Quit;
}

bool OnBoard(TPoint cell) {
  return cell.X >= 0 && cell.X < BoardSize && cell.Y >= 0 && cell.Y < BoardSize;
}

TNetEvent Event(TNetEventKind kind) {
  TNetEvent event;
  event.Kind = kind;
  return event;
}

}  // namespace

TSession::TTarget::TTarget(const std::vector<TShip>& fleet) : Ships(fleet) {}

TShotAnswer TSession::TTarget::Fire(TPoint cell) {
  for (std::size_t i = 0; i < Ships.size() && i < HitCells.size(); ++i) {
    if (!Ships[i].Covers(cell)) continue;
    if (++HitCells[i] < Ships[i].Length) return TShotAnswer::Hit;
    return ++Sunk == FleetShips ? TShotAnswer::Won : TShotAnswer::Sunk;
  }
  return TShotAnswer::Miss;
}

TSession::TSession(TRole role, std::string name, const TRules& rules)
    : Role(role), Name(std::move(name)), GameRules(rules) {}

void TSession::Start() { Send(GreetingMessage(Name)); }

std::vector<std::string> TSession::TakeLines() { return std::exchange(Lines, {}); }

std::vector<TNetEvent> TSession::TakeEvents() { return std::exchange(Events, {}); }

void TSession::Send(const TMessage& message) {
  if (!Closed()) Lines.push_back(FormatMessage(message));
}

void TSession::Post(TNetEvent event) { Events.push_back(std::move(event)); }

bool TSession::PeerLeftGame() const {
  const bool gameOn = CurrentPhase == TPhase::Placing || CurrentPhase == TPhase::Battle;
  return gameOn && Game.PeerCommitted && !Game.PeerRevealed;
}

void TSession::Close(TCloseReason reason, bool byPeer, std::string detail) {
  if (Closed()) return;
  TNetEvent event = Event(TNetEventKind::Closed);
  event.Close = reason;
  event.ByPeer = byPeer;
  // Its fleet stays unknown: it went, or fell silent, in the middle of a game.
  event.PeerLeft = (byPeer || reason == TCloseReason::Timeout) && PeerLeftGame();
  event.Detail = std::move(detail);
  CurrentPhase = TPhase::Closed;
  Post(std::move(event));
}

void TSession::Violation(std::string detail) {
  Send(ByeMessage(TByeReason::Protocol));
  Close(TCloseReason::Protocol, false, std::move(detail));
}

void TSession::Caught(TNetEvent cheat) {
  Post(std::move(cheat));
  Send(ByeMessage(TByeReason::Cheat));
  Close(TCloseReason::Cheat, false);
}

// --- What the connection hears ---

void TSession::HeardTooLong() {
  if (!Closed()) Violation("line too long");
}

void TSession::PeerGone() { Close(TCloseReason::Lost, true); }

void TSession::Silent() {
  if (Closed()) return;
  Send(ByeMessage(TByeReason::Timeout));
  Close(TCloseReason::Timeout, false);
}

void TSession::Heard(std::string_view line) {
  if (Closed()) return;
  std::string error;
  const std::optional<TMessage> parsed = ParseMessage(line, &error);
  if (!parsed) return Violation(error);
  const TMessage& message = *parsed;
  const TMessageKind kind = message.Kind;

  if (kind == TMessageKind::Bye) return Close(CloseOf(message.Reason), true);
  if (kind == TMessageKind::Greeting) return OnGreeting(message);
  if (CurrentPhase == TPhase::Greeting) return Violation("greeting expected");
  if (kind == TMessageKind::Ping) return Send(SimpleMessage(TMessageKind::Pong));
  if (kind == TMessageKind::Pong) return;
  if (kind == TMessageKind::Rules) {
    if (Role != TRole::Guest || CurrentPhase != TPhase::Rules)
      return Violation("RULES out of place");
    GameRules = message.Rules;
    CurrentPhase = TPhase::Placing;
    TNetEvent event = Event(TNetEventKind::Opponent);
    event.Name = Opponent;
    event.Rules = GameRules;
    return Post(std::move(event));
  }
  if (CurrentPhase == TPhase::Rules) return Violation("RULES expected");
  if (Game.PeerLeaving) return Violation("message after a reveal");
  switch (kind) {
    case TMessageKind::Fleet:
      if (CurrentPhase != TPhase::Placing || Game.PeerCommitted)
        return Violation("FLEET out of place");
      Game.PeerCommitted = true;
      Game.PeerCommitment = message.Commitment;
      Post(Event(TNetEventKind::PeerPlaced));
      return StartBattleIfReady();
    case TMessageKind::Shot:
      return OnShot(message.Cell);
    case TMessageKind::Result:
      return OnResult(message);
    case TMessageKind::Reveal:
      return OnReveal(message);
    case TMessageKind::Again:
      return OnAgain();
    default:
      return Violation("unexpected message");
  }
}

void TSession::OnGreeting(const TMessage& message) {
  if (CurrentPhase != TPhase::Greeting) return Violation("second greeting");
  if (message.Version != ProtocolVersion) {
    Send(ByeMessage(TByeReason::Version));
    return Close(TCloseReason::Version, false, "version " + std::to_string(message.Version));
  }
  Opponent = message.Name;
  if (Role == TRole::Guest) {
    CurrentPhase = TPhase::Rules;
    return;
  }
  Send(RulesMessage(GameRules));
  CurrentPhase = TPhase::Placing;
  TNetEvent event = Event(TNetEventKind::Opponent);
  event.Name = Opponent;
  event.Rules = GameRules;
  Post(std::move(event));
}

void TSession::OnShot(TPoint cell) {
  if (CurrentPhase != TPhase::Battle || Game.MyTurn) return Violation("SHOT out of turn");
  if (Game.FiredAtUs[cell.X][cell.Y]) return Violation("SHOT at a cell shot before");
  Game.FiredAtUs[cell.X][cell.Y] = true;
  const TShotAnswer result = Game.OwnTarget->Fire(cell);
  if (result == TShotAnswer::Sunk || result == TShotAnswer::Won) ++Game.OwnSunk;
  Send(ResultMessage(cell, result));
  TNetEvent event = Event(TNetEventKind::ShotAt);
  event.Cell = cell;
  event.Result = result;
  Post(std::move(event));
  AfterShot(result);
}

void TSession::OnResult(const TMessage& message) {
  if (CurrentPhase != TPhase::Battle || !Game.Pending || !(*Game.Pending == message.Cell)) {
    return Violation("RESULT for a cell not shot");
  }
  Game.Pending.reset();
  const TShotAnswer result = message.Result;
  Game.OurShots.emplace_back(message.Cell, result);
  if (result != TShotAnswer::Miss) ++Game.PeerHits;
  if (result == TShotAnswer::Sunk || result == TShotAnswer::Won) ++Game.PeerSunk;
  TNetEvent event = Event(TNetEventKind::Result);
  event.Cell = message.Cell;
  event.Result = result;
  Post(std::move(event));

  // A fleet of ten has twenty cells: the answers must end the game exactly at the twentieth hit,
  // which is the tenth ship sunk, and must leave room among the cells not shot yet for the rest.
  const bool won = result == TShotAnswer::Won;
  const bool full = Game.PeerHits == FleetSegments || Game.PeerSunk == FleetShips;
  const bool complete = Game.PeerHits == FleetSegments && Game.PeerSunk == FleetShips;
  const int unshot = Cells - static_cast<int>(Game.OurShots.size());
  if (won != complete || (!won && full) || unshot < FleetSegments - Game.PeerHits) {
    TNetEvent cheat = Event(TNetEventKind::Cheat);
    cheat.Cheat = TCheatReason::Tally;
    cheat.Cell = message.Cell;
    cheat.Said = result;
    return Caught(std::move(cheat));
  }
  AfterShot(result);
}

void TSession::AfterShot(TShotAnswer result) {
  if (result == TShotAnswer::Won) return EndGame(Game.MyTurn);
  bool pass = true;
  if (GameRules.Salvo) {
    pass = --Game.ShotsLeft <= 0;
  } else if (GameRules.ExtraShot && result != TShotAnswer::Miss) {
    pass = false;
  }
  if (!pass) return;
  Game.MyTurn = !Game.MyTurn;
  // A salvo is as many shots as the shooter has ships afloat when its turn begins.
  const int afloat = FleetShips - (Game.MyTurn ? Game.OwnSunk : Game.PeerSunk);
  Game.ShotsLeft = GameRules.Salvo ? afloat : 1;
  TNetEvent event = Event(TNetEventKind::Turn);
  event.Mine = Game.MyTurn;
  event.Shots = Game.ShotsLeft;
  Post(std::move(event));
}

void TSession::StartBattleIfReady() {
  if (CurrentPhase != TPhase::Placing || !Game.OwnCommitted || !Game.PeerCommitted) return;
  CurrentPhase = TPhase::Battle;
  Game.MyTurn = Role == TRole::Host;
  Game.ShotsLeft = GameRules.Salvo ? FleetShips : 1;
  TNetEvent event = Event(TNetEventKind::Turn);
  event.Mine = Game.MyTurn;
  event.Shots = Game.ShotsLeft;
  Post(std::move(event));
}

void TSession::EndGame(bool won) {
  CurrentPhase = TPhase::Ended;
  TNetEvent event = Event(TNetEventKind::GameOver);
  event.Won = won;
  Post(std::move(event));
  RevealOwn();
}

void TSession::RevealOwn() {
  if (!Game.OwnCommitted || Game.OwnRevealed) return;
  Game.OwnRevealed = true;
  Send(RevealMessage(Game.OwnSalt, Game.OwnFleet));
}

void TSession::OnReveal(const TMessage& message) {
  const bool gameOn = CurrentPhase == TPhase::Placing || CurrentPhase == TPhase::Battle ||
                      CurrentPhase == TPhase::Ended;
  if (!gameOn || !Game.PeerCommitted || Game.PeerRevealed) return Violation("REVEAL out of place");
  TNetEvent cheat = Event(TNetEventKind::Cheat);
  if (!MatchesCommitment(Game.PeerCommitment, message.Salt, message.Fleet)) {
    cheat.Cheat = TCheatReason::Commitment;
    return Caught(std::move(cheat));
  }
  if (const TFleetFault fault = CheckFleet(message.Fleet, GameRules); fault != TFleetFault::None) {
    cheat.Cheat = TCheatReason::Fleet;
    cheat.Fault = fault;
    return Caught(std::move(cheat));
  }
  TTarget target(message.Fleet);
  for (const auto& [cell, said] : Game.OurShots) {
    const TShotAnswer truth = target.Fire(cell);
    if (truth != said) {
      cheat.Cheat = TCheatReason::Result;
      cheat.Cell = cell;
      cheat.Said = said;
      cheat.Result = truth;
      return Caught(std::move(cheat));
    }
  }
  Game.PeerRevealed = true;
  // Revealed before the end: the opponent is leaving, and only its BYE may follow.
  if (CurrentPhase != TPhase::Ended) Game.PeerLeaving = true;
  TNetEvent event = Event(TNetEventKind::Verified);
  event.Fleet = message.Fleet;
  Post(std::move(event));
}

void TSession::OnAgain() {
  if (CurrentPhase != TPhase::Ended || !Game.PeerRevealed || Game.PeerAgain) {
    return Violation("AGAIN out of place");
  }
  Game.PeerAgain = true;
  Post(Event(TNetEventKind::PeerAgain));
  if (Game.OwnAgain) NewGame();
}

void TSession::NewGame() {
  Game = TGame{};
  CurrentPhase = TPhase::Placing;
  Post(Event(TNetEventKind::NewGame));
}

// --- The player's commands ---

bool TSession::PlaceFleet(const std::vector<TShip>& fleet, const std::string& salt) {
  if (CurrentPhase != TPhase::Placing || Game.OwnCommitted) return false;
  if (CheckFleet(fleet, GameRules) != TFleetFault::None) return false;
  if (!IsSalt(salt)) return false;
  Game.OwnFleet = SortFleet(fleet);
  Game.OwnSalt = salt;
  Game.OwnCommitted = true;
  Game.OwnTarget.emplace(Game.OwnFleet);
  Send(FleetMessage(Commit(salt, Game.OwnFleet)));
  StartBattleIfReady();
  return true;
}

bool TSession::Shoot(TPoint cell) {
  if (CurrentPhase != TPhase::Battle || !Game.MyTurn || Game.Pending || Game.PeerLeaving ||
      !OnBoard(cell) || Game.FiredAtPeer[cell.X][cell.Y]) {
    return false;
  }
  Game.FiredAtPeer[cell.X][cell.Y] = true;
  Game.Pending = cell;
  Send(ShotMessage(cell));
  return true;
}

bool TSession::Again() {
  if (CurrentPhase != TPhase::Ended || Game.OwnAgain) return false;
  Game.OwnAgain = true;
  Send(SimpleMessage(TMessageKind::Again));
  if (Game.PeerAgain) NewGame();
  return true;
}

void TSession::Leave(TByeReason reason) {
  if (Closed()) return;
  if (CurrentPhase == TPhase::Placing || CurrentPhase == TPhase::Battle) RevealOwn();
  Send(ByeMessage(reason));
  Close(CloseOf(reason), false);
}

}  // namespace kravelon
