#pragma once
// Finding games on the local network: a host announces its game, a player looking for one
// browses. Behind this interface so that the connection layer does not care how (Avahi in the
// game, nothing at all when discovery is off). Used on the network thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Net/NetEvent.h"

namespace kravelon {

struct TDiscoveryListener {
  // Discovery cannot work (no daemon, no system bus), with the reason; said once.
  std::function<void(const std::string& reason)> Unavailable;
  // The games announced now, every time the list changes.
  std::function<void(const std::vector<TFoundGame>& games)> Found;
};

class TDiscovery {
 public:
  virtual ~TDiscovery() = default;
  // Announces our game as `name` (another name is chosen if it is taken) at `port`.
  virtual void Announce(const std::string& name, std::uint16_t port) = 0;
  virtual void Withdraw() = 0;
  virtual void Browse(bool on) = 0;
};

}  // namespace kravelon
