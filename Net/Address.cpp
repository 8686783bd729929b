#include "Net/Address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

#include "Common/Text.h"

namespace kravelon {

namespace {

// A host name's letters, or an IPv4 address's.
bool IsNameLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

// An IPv6 address's, with a zone after "%" ("fe80::1%eth0").
bool IsAddress6Letter(char c) { return IsNameLetter(c) || c == ':' || c == '%'; }

bool IsHost(std::string_view host, bool six) {
  if (host.empty() || host.size() > 253 || host.front() == '-' || host.front() == '.') return false;
  return std::all_of(host.begin(), host.end(), six ? IsAddress6Letter : IsNameLetter);
}

std::optional<TAddress> BadAddress(std::string_view value, std::string* error) {
  if (error) {
    *error = Fill(Tr("неверный адрес '%1' для --join (ожидается ХОСТ или ХОСТ:ПОРТ)"), {value});
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value < 1 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::optional<std::uint16_t> ParseHostOption(std::optional<std::string_view> value,
                                             std::string* error) {
  if (!value) return DefaultPort;
  const std::optional<std::uint16_t> port = ParsePort(*value);
  if (!port && error) {
    *error = Fill(Tr("неверный порт '%1' для --host (ожидается число от 1 до 65535)"), {*value});
  }
  return port;
}

std::optional<TAddress> ParseJoinOption(std::string_view value, std::string* error) {
  if (value.empty()) {
    if (error) *error = Tr("параметру '--join' нужен адрес: ХОСТ или ХОСТ:ПОРТ");
    return std::nullopt;
  }
  TAddress address;
  std::string_view host = value, port;
  bool six = false;
  if (value.front() == '[') {
    const std::size_t close = value.find(']');
    if (close == std::string_view::npos) return BadAddress(value, error);
    host = value.substr(1, close - 1);
    six = true;
    const std::string_view rest = value.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return BadAddress(value, error);
      port = rest.substr(1);
      if (port.empty()) return BadAddress(value, error);
    }
  } else if (std::count(value.begin(), value.end(), ':') > 1) {
    six = true;  // a bare IPv6 address: no port can follow it unambiguously
  } else if (const std::size_t colon = value.find(':'); colon != std::string_view::npos) {
    host = value.substr(0, colon);
    port = value.substr(colon + 1);
    if (port.empty()) return BadAddress(value, error);
  }
  if (!IsHost(host, six)) return BadAddress(value, error);
  address.Host = std::string(host);
  if (!port.empty()) {
    const std::optional<std::uint16_t> number = ParsePort(port);
    if (!number) {
      if (error) {
        *error = Fill(Tr("неверный порт '%1' для --join (ожидается число от 1 до 65535)"), {port});
      }
      return std::nullopt;
    }
    address.Port = *number;
  }
  return address;
}

std::vector<std::string> LocalAddresses() {
  std::vector<std::string> four, six;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return {};
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || !(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK))
      continue;
    char text[INET6_ADDRSTRLEN] = {};
    if (entry->ifa_addr->sa_family == AF_INET) {
      const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
      if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text)) four.emplace_back(text);
    } else if (entry->ifa_addr->sa_family == AF_INET6) {
      const auto* address = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
      // A link-local address needs its interface named to be joined: not one to tell a player.
      if (IN6_IS_ADDR_LINKLOCAL(&address->sin6_addr) || IN6_IS_ADDR_LOOPBACK(&address->sin6_addr))
        continue;
      if (::inet_ntop(AF_INET6, &address->sin6_addr, text, sizeof text)) six.emplace_back(text);
    }
  }
  ::freeifaddrs(list);
  for (std::vector<std::string>* addresses : {&four, &six}) {
    std::sort(addresses->begin(), addresses->end());
    addresses->erase(std::unique(addresses->begin(), addresses->end()), addresses->end());
  }
  four.insert(four.end(), six.begin(), six.end());
  return four;
}

}  // namespace kravelon
