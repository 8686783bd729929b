#include "Net/Protocol.h"

#include <array>
#include <utility>

#include "Net/FleetText.h"
#include "Net/PlayerName.h"

namespace kravelon {

namespace {

constexpr std::array<std::string_view, 4> ResultWords{"miss", "hit", "sunk", "won"};
constexpr std::array<std::string_view, 7> ByeWords{"quit",    "restart", "version", "protocol",
                                                   "timeout", "busy",    "cheat"};

// The line's fields: split at single spaces. Any empty field (a leading, trailing or doubled
// space, or an empty line) leaves the list empty.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0;;) {
    const std::size_t space = line.find(' ', at);
    const std::string_view field =
        line.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at);
    if (field.empty()) return {};
    fields.push_back(field);
    if (space == std::string_view::npos) return fields;
    at = space + 1;
  }
}

bool IsLowerHex(std::string_view text, std::size_t digits) {
  if (text.size() != digits) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// "1" … "999999999": no sign, no leading zero.
std::optional<int> ParseVersion(std::string_view text) {
  if (text.empty() || text.size() > 9 || text[0] == '0') return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "<key>=yes" or "<key>=no".
std::optional<bool> ParseSwitch(std::string_view field, std::string_view key) {
  if (field.size() <= key.size() || field.substr(0, key.size()) != key ||
      field[key.size()] != '=') {
    return std::nullopt;
  }
  const std::string_view value = field.substr(key.size() + 1);
  if (value == "yes") return true;
  if (value == "no") return false;
  return std::nullopt;
}

std::optional<TMessage> Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return std::nullopt;
}

}  // namespace

std::string_view ResultWord(TShotAnswer result) {
  return ResultWords[static_cast<std::size_t>(result)];
}

std::string_view ByeWord(TByeReason reason) { return ByeWords[static_cast<std::size_t>(reason)]; }

std::string RevealedText(std::string_view salt, const std::vector<TShip>& fleet) {
  return std::string(salt) + ' ' + FleetText(fleet);
}

std::optional<TMessage> ParseMessage(std::string_view line, std::string* error) {
  if (line.size() + 1 > MaxLineBytes) return Fail(error, "line too long");
  // Only a name may hold more than printable ASCII; the whole line must be UTF-8 all the same.
  if (!IsValidUtf8(line)) return Fail(error, "not UTF-8");
  for (const char c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return Fail(error, "control character");
  }
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.empty()) return Fail(error, "empty field");
  const std::string_view word = fields[0];
  const std::size_t count = fields.size();
  const auto wrongCount = [&] {
    return Fail(error, std::string(word) + ": wrong number of fields");
  };
  TMessage message;

  if (word == "KRAVELON") {
    message.Kind = TMessageKind::Greeting;
    if (count < 2) return wrongCount();
    const std::optional<int> version = ParseVersion(fields[1]);
    if (!version) return Fail(error, "KRAVELON: bad version");
    message.Version = *version;
    // Another version's greeting may say anything after its number: it is answered all the same.
    if (message.Version != ProtocolVersion) return message;
    if (count != 3) return wrongCount();
    if (!IsValidName(fields[2])) return Fail(error, "KRAVELON: bad name");
    message.Name = std::string(fields[2]);
    return message;
  }
  if (word == "RULES") {
    message.Kind = TMessageKind::Rules;
    if (count != 4) return wrongCount();
    const std::optional<bool> touching = ParseSwitch(fields[1], "touching");
    const std::optional<bool> salvo = ParseSwitch(fields[2], "salvo");
    const std::optional<bool> extra = ParseSwitch(fields[3], "extra-shot");
    if (!touching || !salvo || !extra) return Fail(error, "RULES: bad rule");
    message.Rules = TRules{*touching, *salvo, *extra};
    return message;
  }
  if (word == "FLEET") {
    message.Kind = TMessageKind::Fleet;
    if (count != 2) return wrongCount();
    if (!IsLowerHex(fields[1], 64)) return Fail(error, "FLEET: bad commitment");
    message.Commitment = std::string(fields[1]);
    return message;
  }
  if (word == "SHOT" || word == "RESULT") {
    message.Kind = word == "SHOT" ? TMessageKind::Shot : TMessageKind::Result;
    if (count != (message.Kind == TMessageKind::Shot ? 2u : 3u)) return wrongCount();
    const std::optional<TPoint> cell = ParseCell(fields[1]);
    if (!cell) return Fail(error, std::string(word) + ": bad cell");
    message.Cell = *cell;
    if (message.Kind == TMessageKind::Shot) return message;
    for (std::size_t i = 0; i < ResultWords.size(); ++i) {
      if (fields[2] == ResultWords[i]) {
        message.Result = static_cast<TShotAnswer>(i);
        return message;
      }
    }
    return Fail(error, "RESULT: bad result");
  }
  if (word == "REVEAL") {
    message.Kind = TMessageKind::Reveal;
    if (count != 12) return wrongCount();
    if (!IsLowerHex(fields[1], 32)) return Fail(error, "REVEAL: bad salt");
    const std::size_t fleetAt = static_cast<std::size_t>(fields[2].data() - line.data());
    std::optional<std::vector<TShip>> fleet = ParseFleet(line.substr(fleetAt));
    if (!fleet) return Fail(error, "REVEAL: bad fleet");
    message.Salt = std::string(fields[1]);
    message.Fleet = std::move(*fleet);
    return message;
  }
  if (word == "AGAIN" || word == "PING" || word == "PONG") {
    message.Kind = word == "AGAIN"  ? TMessageKind::Again
                   : word == "PING" ? TMessageKind::Ping
                                    : TMessageKind::Pong;
    if (count != 1) return wrongCount();
    return message;
  }
  if (word == "BYE") {
    message.Kind = TMessageKind::Bye;
    if (count != 2) return wrongCount();
    message.Reason = TByeReason::Quit;
    for (std::size_t i = 0; i < ByeWords.size(); ++i) {
      if (fields[1] == ByeWords[i]) message.Reason = static_cast<TByeReason>(i);
    }
    return message;
  }
  return Fail(error, "unknown word");
}

std::string FormatMessage(const TMessage& message) {
  const auto yesNo = [](bool on) { return on ? "yes" : "no"; };
  switch (message.Kind) {
    case TMessageKind::Greeting:
      return "KRAVELON " + std::to_string(message.Version) + ' ' + message.Name;
    case TMessageKind::Rules:
      return std::string("RULES touching=") + yesNo(message.Rules.Touching) +
             " salvo=" + yesNo(message.Rules.Salvo) +
             " extra-shot=" + yesNo(message.Rules.ExtraShot);
    case TMessageKind::Fleet:
      return "FLEET " + message.Commitment;
    case TMessageKind::Shot:
      return "SHOT " + CellText(message.Cell);
    case TMessageKind::Result:
      return "RESULT " + CellText(message.Cell) + ' ' + std::string(ResultWord(message.Result));
    case TMessageKind::Reveal:
      return "REVEAL " + RevealedText(message.Salt, message.Fleet);
    case TMessageKind::Again:
      return "AGAIN";
    case TMessageKind::Ping:
      return "PING";
    case TMessageKind::Pong:
      return "PONG";
    case TMessageKind::Bye:
      return "BYE " + std::string(ByeWord(message.Reason));
  }
  return "";
}

TMessage GreetingMessage(std::string name) {
  TMessage m = SimpleMessage(TMessageKind::Greeting);
  m.Name = std::move(name);
  return m;
}

TMessage SimpleMessage(TMessageKind kind) {
  TMessage m;
  m.Kind = kind;
  return m;
}

TMessage RulesMessage(const TRules& rules) {
  TMessage m = SimpleMessage(TMessageKind::Rules);
  m.Rules = rules;
  return m;
}

TMessage FleetMessage(std::string commitment) {
  TMessage m = SimpleMessage(TMessageKind::Fleet);
  m.Commitment = std::move(commitment);
  return m;
}

TMessage ShotMessage(TPoint cell) {
  TMessage m = SimpleMessage(TMessageKind::Shot);
  m.Cell = cell;
  return m;
}

TMessage ResultMessage(TPoint cell, TShotAnswer result) {
  TMessage m = SimpleMessage(TMessageKind::Result);
  m.Cell = cell;
  m.Result = result;
  return m;
}

TMessage RevealMessage(std::string salt, std::vector<TShip> fleet) {
  TMessage m = SimpleMessage(TMessageKind::Reveal);
  m.Salt = std::move(salt);
  m.Fleet = SortFleet(std::move(fleet));
  return m;
}

TMessage ByeMessage(TByeReason reason) {
  TMessage m = SimpleMessage(TMessageKind::Bye);
  m.Reason = reason;
  return m;
}

}  // namespace kravelon
