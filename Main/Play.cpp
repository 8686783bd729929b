// The user's placement and shot, the end of a game, and what the rules' events set off in the
// window: log lines, redraws, sounds, explosions, the report timer and the idle steps.
#include "Main/Main1.h"
#include "Media/Layout.h"
#include "Toolkit/Pause.h"

namespace kravelon {

void TMain1::SetupShip(std::optional<TPoint> cell, bool place) {
  if (!PlacementByMouse || !Engine || !Paint || Engine->ActiveSide() == sdComputer) return;
  const int length = Engine->NextShipSize();
  if (length == 0) return;
  if (!cell) return;
  const int column = cell->X, row = cell->Y;
  const bool fits = Engine->CanPlace(column, row, length);
  Paint->ShowPreview(*cell, length, Engine->IsHorizontal(), fits);
  if (place && fits) Engine->PlaceShip(column, row);
}

void TMain1::UserShot(std::optional<TPoint> cell) {
  if (!Engine || !Paint || Engine->ActiveSide() == sdComputer || !cell) return;
  if (!Engine->Remote()) {
    Engine->Shoot(cell->X, cell->Y);
    return;
  }
  // The player across the network answers; until then the engine takes no other shot.
  if (Net.Link == TLink::Connected && Engine->AimRemote(cell->X, cell->Y)) Network().Shoot(*cell);
}

void TMain1::EndOfGame() {
  if (!Paint) return;
  Paint->ResetReport();
  Sleep(1000);
  ReportTimer.SetEnabled(true);
  if (Sound) {
    Sound->Stop();
    Sound->Play("SND_WIN");
  }
  Paint->Redraw();
}

void TMain1::InstallIdle(TIdleStep step) {
  switch (step) {
    case TIdleStep::Arrange:
      Application->SetIdle([this](bool& done) {
        if (Engine) Engine->ArrangeStep(done);
      });
      break;
    case TIdleStep::ComputerTurn:
      Application->SetIdle([this](bool& done) {
        if (Engine) Engine->ComputerTurnStep(done);
      });
      break;
    case TIdleStep::None:
      Application->ClearIdle();
      break;
  }
}

// ---- The rules' events ----------------------------------------------------------------------

void TMain1::GameLogged(std::string_view line) {
  if (Consol) Consol->AddLine(line);
  // The console follows the game: its newest line comes into view.
  if (Paint) Paint->ScrollConsole(32767);
}

void TMain1::GameReset() {
  // Every game says first whom it is played against, and by which rules when not the game's own.
  if (Engine) {
    const std::string opponent = Engine->Remote() ? Net.Peer : LevelName(Engine->Level());
    GameLogged("Game: " + Fill(Tr("Противник: %1"), {opponent}));
  }
  if (const std::string rules = Engine ? RulesLine(Engine->Rules()) : ""; !rules.empty())
    GameLogged("Game: " + rules);
  if (Sound) Sound->Stop();
  ReportTimer.SetEnabled(false);
  ForgetTarget();
  CloseAboutIfShown();
}

void TMain1::ShipPlaced(TSide) {
  if (Paint) Paint->Redraw();
  if (Sound) Sound->Play("SND_SETUP_SHIP");
}

void TMain1::FleetPlaced(TSide side) {
  if (side == sdUser) PlacementByMouse = true;
  ForgetTarget();            // the board being played changes
  if (side == sdComputer) {  // the battle begins
    CloseAboutIfShown();
    if (Engine && Engine->Rules().Salvo) {
      ShowStatus(StatusSector);
      SaySalvo();
    }
  }
  if (!Engine || !Engine->Remote()) {
    InstallIdle(StepAfterFleet(side));
    return;
  }
  // The player across the network places its own fleet; ours is committed to, never sent.
  InstallIdle(TIdleStep::None);
  if (side != sdUser) return;
  if (Net.Link == TLink::Connected) Network().PlaceFleet(FleetOnBoard(*Engine, sdUser));
  if (!Net.PeerPlaced) GameLogged("Game: " + std::string(Tr("Соперник расставляет корабли...")));
}

void TMain1::ShotFired(TSide shooter, TPoint cell, bool) {
  // The cell, the wreck of a ship it sank and the opponent's fleet: nothing else changed.
  if (Paint) Paint->ShowShot(shooter == sdUser ? sdComputer : sdUser, cell);
  if (Sound) Sound->Play("SND_SHOT");
  if (Paint) Paint->Explode(shooter == sdUser ? sdComputer : sdUser, cell);
  // A salvo under way: the status line counts down, and a player who listens hears what is left.
  if (Engine && Engine->Rules().Salvo) {
    ShowStatus(StatusSector);
    if (shooter == sdUser && Engine->ActiveSide() == sdUser && !Engine->GameOver()) SaySalvo();
  }
}

void TMain1::TurnPassed(TSide side) {
  if (Engine && Engine->Rules().Salvo) {
    ShowStatus(StatusSector);
    if (side == sdUser) SaySalvo();
  }
  // The player across the network fires from its side: nothing runs here meanwhile.
  InstallIdle(Engine && Engine->Remote() ? TIdleStep::None : StepAfterTurn(side));
}

void TMain1::SaySalvo() {
  if (!Speaks()) return;
  if (const std::string salvo = SalvoStatus(*Engine); !salvo.empty()) Narrator->Message(salvo);
}

void TMain1::GameWon(TSide winner) {
  InstallIdle(TIdleStep::None);
  ForgetTarget();
  CloseAboutIfShown();
  // A network game is recorded once its end is settled: the opponent's fleet checked, or not
  // shown, or a cheat found.
  if (Engine && Engine->Remote()) {
    Net.Winner = winner;
  } else {
    RecordGame(winner);
  }
  EndOfGame();
}

// Only a game played to its end counts: a restart or a quit before it leaves no trace.
void TMain1::RecordGame(TSide winner) {
  if (!Engine) return;
  TGameResult game = PlayedGame(winner == sdUser);
  game.Level = Engine->Level();
  game.Rules = Engine->Rules();
  Keep(game);
}

TGameResult TMain1::PlayedGame(bool userWon) const {
  TGameResult game;
  game.Date = RecordDate();
  game.UserWon = userWon;
  game.UserShots = Engine->Shots(sdUser);
  game.UserHits = Engine->Hits(sdUser);
  game.ComputerShots = Engine->Shots(sdComputer);
  game.ComputerHits = Engine->Hits(sdComputer);
  return game;
}

void TMain1::Keep(const TGameResult& game) {
  Note(Options.Record ? Options.Record->Add(game) : RunRecord.Add(game));
}

}  // namespace kravelon
