#include "Net/AvahiDiscovery.h"

#include <avahi-common/address.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>

#include <algorithm>
#include <asio/post.hpp>
#include <utility>

namespace kravelon {

namespace {

// What a crowded or hostile network may make us hold at once.
constexpr std::size_t MaxResolvers = 32;
constexpr std::size_t MaxGames = 64;
// DNS-SD's limit on a service name, in bytes.
constexpr std::size_t MaxServiceName = 63;

// `name` cut to `bytes` at a character's start.
std::string CutUtf8(const std::string& name, std::size_t bytes) {
  if (name.size() <= bytes) return name;
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

}  // namespace

TAvahiDiscovery::TAvahiDiscovery(asio::io_context& io, TDiscoveryListener listener)
    : Io(io), Listener(std::move(listener)), Poll(io) {}

TAvahiDiscovery::~TAvahiDiscovery() {
  *Alive = false;
  Drop();
}

void TAvahiDiscovery::Unavailable(const std::string& reason) {
  if (Told) return;
  Told = true;
  if (Listener.Unavailable) Listener.Unavailable(reason);
}

bool TAvahiDiscovery::Connect() {
  if (Client) return true;
  int error = 0;
  // Without the daemon this fails at once (no waiting for one to appear): the player is told,
  // and joins by address.
  AvahiClient* client =
      avahi_client_new(Poll.Api(), static_cast<AvahiClientFlags>(0), ClientChanged, this, &error);
  if (!client) {
    Unavailable(avahi_strerror(error));
    return false;
  }
  Client = client;
  return true;
}

void TAvahiDiscovery::Drop() {
  for (AvahiServiceResolver* resolver : Resolvers) avahi_service_resolver_free(resolver);
  Resolvers.clear();
  if (Browser) avahi_service_browser_free(std::exchange(Browser, nullptr));
  if (Group) avahi_entry_group_free(std::exchange(Group, nullptr));
  if (Client) avahi_client_free(std::exchange(Client, nullptr));
}

void TAvahiDiscovery::ClientChanged(AvahiClient* client, AvahiClientState state, void* data) {
  auto* self = static_cast<TAvahiDiscovery*>(data);
  switch (state) {
    case AVAHI_CLIENT_S_RUNNING:
      // Also called from inside avahi_client_new, before it has returned the client.
      self->Client = client;
      if (self->Announcing) self->Publish();
      if (self->Browsing && !self->Browser) self->StartBrowser();
      break;
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_S_REGISTERING:
      // The host's own name is being settled: publish again once it runs.
      if (self->Group) avahi_entry_group_reset(self->Group);
      break;
    case AVAHI_CLIENT_FAILURE:
      self->Unavailable(avahi_strerror(avahi_client_errno(client)));
      // Not from inside the client's own callback.
      asio::post(self->Io, [self, alive = self->Alive] {
        if (*alive) self->Drop();
      });
      break;
    case AVAHI_CLIENT_CONNECTING:
      break;
  }
}

void TAvahiDiscovery::Announce(const std::string& name, std::uint16_t port) {
  Withdraw();
  ServiceName = CutUtf8(name, MaxServiceName);
  Port = port;
  Announcing = true;
  if (Connect() && avahi_client_get_state(Client) == AVAHI_CLIENT_S_RUNNING) Publish();
}

void TAvahiDiscovery::Withdraw() {
  Announcing = false;
  if (Group) avahi_entry_group_free(std::exchange(Group, nullptr));
}

void TAvahiDiscovery::Publish() {
  if (!Client || !Announcing) return;
  if (!Group) Group = avahi_entry_group_new(Client, GroupChanged, this);
  if (!Group) return Unavailable(avahi_strerror(avahi_client_errno(Client)));
  if (!avahi_entry_group_is_empty(Group)) return;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const int status = avahi_entry_group_add_service(
        Group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, static_cast<AvahiPublishFlags>(0),
        ServiceName.c_str(), ServiceType, nullptr, nullptr, Port, "protocol=1", nullptr);
    if (status == AVAHI_ERR_COLLISION) {
      char* other = avahi_alternative_service_name(ServiceName.c_str());
      ServiceName = other ? other : ServiceName + "-";
      avahi_free(other);
      continue;
    }
    if (status < 0) return Unavailable(avahi_strerror(status));
    avahi_entry_group_commit(Group);
    return;
  }
}

void TAvahiDiscovery::GroupChanged(AvahiEntryGroup* group, AvahiEntryGroupState state, void* data) {
  auto* self = static_cast<TAvahiDiscovery*>(data);
  if (state == AVAHI_ENTRY_GROUP_COLLISION) {
    // Another game on the network has this name: take the next one ("name #2").
    char* other = avahi_alternative_service_name(self->ServiceName.c_str());
    if (other) self->ServiceName = other;
    avahi_free(other);
    avahi_entry_group_reset(group);
    self->Publish();
  } else if (state == AVAHI_ENTRY_GROUP_FAILURE) {
    self->Unavailable(avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(group))));
  }
}

void TAvahiDiscovery::Browse(bool on) {
  Browsing = on;
  if (!on) {
    for (AvahiServiceResolver* resolver : Resolvers) avahi_service_resolver_free(resolver);
    Resolvers.clear();
    if (Browser) avahi_service_browser_free(std::exchange(Browser, nullptr));
    Games.clear();
    return;
  }
  if (Connect() && avahi_client_get_state(Client) == AVAHI_CLIENT_S_RUNNING && !Browser) {
    StartBrowser();
  }
}

void TAvahiDiscovery::StartBrowser() {
  Browser =
      avahi_service_browser_new(Client, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, ServiceType, nullptr,
                                static_cast<AvahiLookupFlags>(0), BrowserEvent, this);
  if (!Browser) Unavailable(avahi_strerror(avahi_client_errno(Client)));
}

void TAvahiDiscovery::BrowserEvent(AvahiServiceBrowser* browser, AvahiIfIndex interface,
                                   AvahiProtocol protocol, AvahiBrowserEvent event,
                                   const char* name, const char* type, const char* domain,
                                   AvahiLookupResultFlags flags, void* data) {
  auto* self = static_cast<TAvahiDiscovery*>(data);
  switch (event) {
    case AVAHI_BROWSER_NEW: {
      // Our own announcement is not a game to join.
      if ((flags & AVAHI_LOOKUP_RESULT_OUR_OWN) || self->Resolvers.size() >= MaxResolvers) break;
      AvahiServiceResolver* resolver = avahi_service_resolver_new(
          avahi_service_browser_get_client(browser), interface, protocol, name, type, domain,
          AVAHI_PROTO_INET, static_cast<AvahiLookupFlags>(0), Resolved, self);
      if (resolver) self->Resolvers.insert(resolver);
      break;
    }
    case AVAHI_BROWSER_REMOVE:
      if (self->Games.erase(TKey{interface, protocol, name, domain}) > 0) self->Tell();
      break;
    case AVAHI_BROWSER_FAILURE:
      self->Unavailable(
          avahi_strerror(avahi_client_errno(avahi_service_browser_get_client(browser))));
      break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
    case AVAHI_BROWSER_CACHE_EXHAUSTED:
      break;
  }
}

void TAvahiDiscovery::Resolved(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                               AvahiProtocol protocol, AvahiResolverEvent event, const char* name,
                               const char*, const char* domain, const char*,
                               const AvahiAddress* address, std::uint16_t port, AvahiStringList*,
                               AvahiLookupResultFlags, void* data) {
  auto* self = static_cast<TAvahiDiscovery*>(data);
  self->Resolvers.erase(resolver);
  if (event == AVAHI_RESOLVER_FOUND && address && self->Games.size() < MaxGames) {
    char text[AVAHI_ADDRESS_STR_MAX] = {};
    avahi_address_snprint(text, sizeof text, address);
    self->Games[TKey{interface, protocol, name, domain}] = TFoundGame{name, text, port};
    self->Tell();
  }
  avahi_service_resolver_free(resolver);
}

void TAvahiDiscovery::Tell() {
  // The same game is seen once over each interface and protocol, and a service's name is unique
  // on the network: one entry a name, at an address other machines can reach where there is one.
  std::vector<TFoundGame> games;
  const auto loopback = [](const TFoundGame& game) { return game.Address.rfind("127.", 0) == 0; };
  for (const auto& [key, game] : Games) {
    const auto same = std::find_if(games.begin(), games.end(),
                                   [&](const TFoundGame& g) { return g.Name == game.Name; });
    if (same == games.end()) {
      games.push_back(game);
    } else if (loopback(*same) && !loopback(game)) {
      *same = game;
    }
  }
  if (Listener.Found) Listener.Found(games);
}

}  // namespace kravelon
