#pragma once
// The values of the network game's options: `--host[=PORT]` and `--join HOST[:PORT]`. Pure
// functions: the command line hands them the text, and a fault comes back as a sentence for the
// player, in the game's language.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Net/Protocol.h"

namespace kravelon {

struct TAddress {
  std::string Host;  // a name, an IPv4 address, or an IPv6 address without its brackets
  std::uint16_t Port = DefaultPort;
  friend bool operator==(const TAddress&, const TAddress&) = default;
};

// 1 … 65535 in decimal digits.
std::optional<std::uint16_t> ParsePort(std::string_view text);

// `--host` alone (no value) hosts on the default port; `--host=PORT` on PORT.
std::optional<std::uint16_t> ParseHostOption(std::optional<std::string_view> value,
                                             std::string* error);

// "HOST", "HOST:PORT", "[IPv6]", "[IPv6]:PORT"; an IPv6 address without brackets takes the
// default port.
std::optional<TAddress> ParseJoinOption(std::string_view value, std::string* error);

// This machine's addresses a player elsewhere could join: IPv4 first, then IPv6 of global scope;
// no loopback, no link-local. Empty when the machine has none.
std::vector<std::string> LocalAddresses();

}  // namespace kravelon
