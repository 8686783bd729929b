#pragma once
// Discovery through avahi-daemon over the system bus, served by the network thread's loop.
// When the daemon (or the bus) is not there, the listener hears so once, and nothing else
// changes: joining by address still works.
#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-client/publish.h>

#include <asio/io_context.hpp>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "Net/AsioAvahiPoll.h"
#include "Net/Discovery.h"

namespace kravelon {

class TAvahiDiscovery : public TDiscovery {
 public:
  TAvahiDiscovery(asio::io_context& io, TDiscoveryListener listener);
  ~TAvahiDiscovery() override;

  void Announce(const std::string& name, std::uint16_t port) override;
  void Withdraw() override;
  void Browse(bool on) override;

 private:
  // A service as the browser names it: interface, protocol, name, domain.
  using TKey = std::tuple<int, int, std::string, std::string>;

  bool Connect();  // false when Avahi cannot be reached
  void Unavailable(const std::string& reason);
  void Publish();
  void StartBrowser();
  void Tell();
  void Drop();  // frees every Avahi object, the client last

  static void ClientChanged(AvahiClient* client, AvahiClientState state, void* data);
  static void GroupChanged(AvahiEntryGroup* group, AvahiEntryGroupState state, void* data);
  static void BrowserEvent(AvahiServiceBrowser* browser, AvahiIfIndex interface,
                           AvahiProtocol protocol, AvahiBrowserEvent event, const char* name,
                           const char* type, const char* domain, AvahiLookupResultFlags flags,
                           void* data);
  static void Resolved(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                       AvahiProtocol protocol, AvahiResolverEvent event, const char* name,
                       const char* type, const char* domain, const char* host,
                       const AvahiAddress* address, std::uint16_t port, AvahiStringList* txt,
                       AvahiLookupResultFlags flags, void* data);

  asio::io_context& Io;
  TDiscoveryListener Listener;
  TAsioAvahiPoll Poll;
  AvahiClient* Client = nullptr;
  AvahiEntryGroup* Group = nullptr;
  AvahiServiceBrowser* Browser = nullptr;
  std::set<AvahiServiceResolver*> Resolvers;
  std::map<TKey, TFoundGame> Games;
  std::string ServiceName;
  std::uint16_t Port = 0;
  bool Announcing = false;
  bool Browsing = false;
  bool Told = false;  // that discovery is unavailable
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
};

}  // namespace kravelon
