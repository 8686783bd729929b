#include "Main/Narrator.h"

#include <array>
#include <map>

#include "Common/Text.h"
#include "GameEngine/Board.h"
#include "GameEngine/FleetView.h"

namespace kravelon {

TNarrator::TNarrator(TSpeechChoice choice, std::string language,
                     std::function<void(const std::string& line)> log, TPoster post)
    : Language(std::move(language)), Log(std::move(log)), Post(std::move(post)) {
  if (choice == TSpeechChoice::On) Start();
  if (choice != TSpeechChoice::Auto) return;
  // The bus may be slow or absent: the answer comes when it comes, and start-up goes on.
  ScreenReader = std::make_unique<TScreenReaderQuestion>(Post, [this](bool running) {
    if (running && !Chosen && !Speaking) Start();
  });
}

void TNarrator::Start() {
  Speaking = true;
  // Switched on again, the player hears again why there is no speech.
  Reported = false;
  if (Speaker) {
    Speaker->Reconnect();
    return;
  }
  TSpeakerOptions options;
  options.Language = Language;
  Speaker = std::make_unique<TSpeaker>(options, Post, [this](const TSpeechNews& news) { Heard(news); });
}

void TNarrator::Heard(const TSpeechNews& news) {
  if (news.State == TSpeechState::Ready) {
    if (Missing && Speaking) Log(Tr("Речь снова доступна."));
    Missing = Reported = false;
    return;
  }
  Missing = true;
  // One line for each time speech goes: the later tries a text makes are silent.
  if (Reported) return;
  Reported = true;
  switch (news.Failure) {
    case TSpeechFailure::NotBuiltIn: Log(Tr("Речь недоступна: игра собрана без речи.")); break;
    case TSpeechFailure::NoAnswer: Log(Tr("Речь недоступна: speech-dispatcher не отвечает.")); break;
    case TSpeechFailure::Lost: Log(Tr("Речь прервалась: speech-dispatcher перестал отвечать.")); break;
    default: Log(Tr("Речь недоступна: speech-dispatcher не запущен или не установлен.")); break;
  }
}

void TNarrator::Toggle() {
  Chosen = true;
  if (Speaking) {
    // Said only where it can be: a word of goodbye is no reason to connect again.
    if (Speaker && Speaker->State() != TSpeechState::Unavailable) {
      Speaker->Silence();
      Speaker->Say(Tr("Речь выключена"));
    }
    Speaking = false;
    Log(Tr("Речь выключена"));
  } else {
    Start();
    Log(Tr("Речь включена"));
  }
}

void TNarrator::SetLanguage(const std::string& language) {
  Language = language;
  if (Speaker) Speaker->SetLanguage(language);
}

void TNarrator::Line(std::string_view line) {
  if (Speaking) Speaker->Say(std::string(SpokenLine(line)));
}

void TNarrator::Message(const std::string& text) {
  if (Speaking) Speaker->Say(text);
}

void TNarrator::Focus(const std::string& text) {
  if (Speaking) Speaker->Announce(text);
}

std::string_view SpokenLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && ((line[i] >= 'A' && line[i] <= 'Z') || (line[i] >= 'a' && line[i] <= 'z'))) ++i;
  if (i > 0 && line.substr(i, 2) == ": ") return line.substr(i + 2);
  return line;
}

std::string CellSpeech(const TGameEngine& engine, int board, TPoint cell) {
  const std::string name = CellName(cell.X, cell.Y);
  const TCell c = engine.ReadCell(cell.X, cell.Y, board);
  if (board == 0) {
    if (!c.Empty) return Fill(Tr("%1, ваш корабль"), {name});
    const int length = engine.NextShipSize();
    if (engine.State() != gsPlacing || length == 0) return Fill(Tr("%1, пусто"), {name});
    const std::string way = engine.IsHorizontal() ? Tr("по горизонтали") : Tr("по вертикали");
    const auto n = static_cast<unsigned long>(length);
    const char* text = engine.CanPlace(cell.X, cell.Y, length)
                           ? TrN("%1, корабль в %2 клетку %3 встанет",
                                 "%1, корабль в %2 клетки %3 встанет",
                                 "%1, корабль в %2 клеток %3 встанет", n)
                           : TrN("%1, корабль в %2 клетку %3 не встанет",
                                 "%1, корабль в %2 клетки %3 не встанет",
                                 "%1, корабль в %2 клеток %3 не встанет", n);
    return Fill(text, {name, std::to_string(length), way});
  }
  if (!c.Fired) return Fill(Tr("%1, пусто"), {name});
  return Fill(c.Empty ? Tr("%1, промах") : Tr("%1, попадание"), {name});
}

std::string MenuSpeech(const TPopupMenu& menu, bool opened, int switchTag, int choiceTag) {
  const auto said = [switchTag, choiceTag](const TMenuItem& item) {
    if (item.Tag == switchTag)
      return Fill(item.Checked ? Tr("%1, включён") : Tr("%1, выключен"), {item.Caption});
    if (item.Tag == choiceTag && item.Checked) return Fill(Tr("%1, выбран"), {item.Caption});
    return item.Caption;
  };
  const int index = menu.Highlighted();
  if (index >= 0) return said(*menu.Items[static_cast<std::size_t>(index)]);
  if (!opened) return {};
  std::string all;
  for (const TMenuItem* item : menu.Items) all += (all.empty() ? "" : "; ") + said(*item);
  return Fill(Tr("Меню: %1"), {all});
}

namespace {

// "длиной 4: 1, длиной 3: 2" for the ships counted, longest first; "нет" for none.
std::string ByLength(const TFleetGroups& groups, bool afloat) {
  std::string out;
  for (const TFleetGroup& group : groups) {
    const int count = afloat ? group.Afloat() : group.Sunk;
    if (count == 0) continue;
    if (!out.empty()) out += ", ";
    out += Fill(Tr("длиной %1: %2"), {std::to_string(group.Length), std::to_string(count)});
  }
  return out.empty() ? Tr("нет") : out;
}

int Count(const TFleetGroups& groups, bool afloat) {
  int n = 0;
  for (const TFleetGroup& group : groups) n += afloat ? group.Afloat() : group.Sunk;
  return n;
}

}  // namespace

std::string FleetSpeech(const TGameEngine& engine) {
  // By the rules' fleet, not by what stands on the boards: a remote player's board shows only
  // the ships sunk so far.
  const TFleetGroups yours = FleetGroupsOf(engine, sdUser), theirs = FleetGroupsOf(engine, sdComputer);
  const char* text =
      engine.Remote()
          ? Tr("Ваших кораблей на плаву: %1 из %2 (%3). Потоплено кораблей соперника: %4 из %5 (%6).")
          : Tr("Ваших кораблей на плаву: %1 из %2 (%3). Потоплено кораблей компьютера: %4 из %5 "
               "(%6).");
  return Fill(text, {std::to_string(Count(yours, true)), std::to_string(FleetShips),
                     ByLength(yours, true), std::to_string(Count(theirs, false)),
                     std::to_string(FleetShips), ByLength(theirs, false)});
}

namespace {

// "четырехпалубный А1–Г1", "однопалубный Д7": a ship by its kind and where it stood.
std::string ShipSpeech(const TFleetShip& ship) {
  const std::string first = CellName(ship.Cells.front().X, ship.Cells.front().Y);
  const std::string last = CellName(ship.Cells.back().X, ship.Cells.back().Y);
  switch (ship.Length()) {
    case 1: return Fill(Tr("однопалубный %1"), {first});
    case 2: return Fill(Tr("двухпалубный %1–%2"), {first, last});
    case 3: return Fill(Tr("трехпалубный %1–%2"), {first, last});
    case 4: return Fill(Tr("четырехпалубный %1–%2"), {first, last});
    default: return Fill(Tr("корабль длиной %1, %2–%3"), {std::to_string(ship.Length()), first, last});
  }
}

}  // namespace

std::string RevealSpeech(const TGameEngine& engine) {
  if (engine.Remote() && !engine.RemoteFleetRevealed()) return Tr("Соперник не показал свой флот.");
  std::string ships;
  for (const TFleetShip& ship : FleetOf(engine, sdComputer)) {
    if (ship.Sunk()) continue;
    ships += (ships.empty() ? "" : ", ") + ShipSpeech(ship);
  }
  if (ships.empty()) return Tr("Все корабли противника потоплены.");
  return Fill(Tr("Не найдены: %1."), {ships});
}

}  // namespace kravelon
