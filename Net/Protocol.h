#pragma once
// The network game's messages (docs/PROTOCOL.md): one line each, read from whatever a peer sends
// and written for it. Reading checks everything about a line that does not depend on the state
// of the game; TSession checks the rest.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Rules.h"

namespace kravelon {

inline constexpr int ProtocolVersion = 1;
inline constexpr std::uint16_t DefaultPort = 41740;
// The longest line, its "\n" included.
inline constexpr std::size_t MaxLineBytes = 512;
// The DNS-SD service type hosts announce on the local network.
inline constexpr const char* ServiceType = "_kravelon._tcp";

// What RESULT says of a shot. Not the engine's TShotResult: the wire also says "won", which the
// engine sees for itself when the last ship of a board sinks.
enum class TShotAnswer { Miss, Hit, Sunk, Won };

// Why a side closes, as its BYE says.
enum class TByeReason { Quit, Restart, Version, Protocol, Timeout, Busy, Cheat };

enum class TMessageKind { Greeting, Rules, Fleet, Shot, Result, Reveal, Again, Ping, Pong, Bye };

struct TMessage {
  TMessageKind Kind = TMessageKind::Ping;
  int Version = ProtocolVersion;  // Greeting; a greeting of another version has no name read
  std::string Name;               // Greeting
  TRules Rules;                   // Rules
  std::string Commitment;         // Fleet: 64 lower-case hex digits
  TPoint Cell;                    // Shot, Result
  TShotAnswer Result = TShotAnswer::Miss;  // Result
  std::string Salt;                        // Reveal: 32 lower-case hex digits
  std::vector<TShip> Fleet;                // Reveal, in the protocol's order
  TByeReason Reason = TByeReason::Quit;    // Bye; a reason this version does not know reads Quit
  friend bool operator==(const TMessage&, const TMessage&) = default;
};

// A line without its "\n". Nothing when it is not a message of this protocol; `error` then says
// what is wrong, for the log.
std::optional<TMessage> ParseMessage(std::string_view line, std::string* error = nullptr);

// The line for a message, without its "\n".
std::string FormatMessage(const TMessage& message);

// The text a commitment covers: "<salt> <fleet>", as REVEAL carries it.
std::string RevealedText(std::string_view salt, const std::vector<TShip>& fleet);

std::string_view ResultWord(TShotAnswer result);
std::string_view ByeWord(TByeReason reason);

// Shorthands for the messages the game writes.
TMessage GreetingMessage(std::string name);
TMessage RulesMessage(const TRules& rules);
TMessage FleetMessage(std::string commitment);
TMessage ShotMessage(TPoint cell);
TMessage ResultMessage(TPoint cell, TShotAnswer result);
TMessage RevealMessage(std::string salt, std::vector<TShip> fleet);
TMessage SimpleMessage(TMessageKind kind);  // Again, Ping, Pong; the others start from it
TMessage ByeMessage(TByeReason reason);

}  // namespace kravelon
