// Whatever a peer sends, through the line reader, the message reader and a session of either
// role: never a crash, never a line out longer than the limit, and every message read is
// written back as the very line it was read from. A line starting with "!" is the local
// player's command instead ("!place", "!shoot E5", "!again", "!leave", "!silent", "!gone"), so
// that the fuzzer reaches every phase of a game.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Net/FleetText.h"
#include "Net/LineReader.h"
#include "Net/Protocol.h"
#include "Net/Session.h"

using namespace kravelon;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Command(TSession& session, std::string_view line) {
  static const std::vector<TShip> fleet =
      *ParseFleet("A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1 H10h1");
  if (line == "!place") {
    session.PlaceFleet(fleet, "00112233445566778899aabbccddeeff");
  } else if (line.rfind("!shoot ", 0) == 0) {
    if (const std::optional<TPoint> cell = ParseCell(line.substr(7))) session.Shoot(*cell);
  } else if (line == "!again") {
    session.Again();
  } else if (line == "!leave") {
    session.Leave(TByeReason::Quit);
  } else if (line == "!silent") {
    session.Silent();
  } else if (line == "!gone") {
    session.PeerGone();
  }
}

void Drain(TSession& session) {
  for (const std::string& out : session.TakeLines()) {
    Check(out.size() + 1 <= MaxLineBytes);
    Check(ParseMessage(out).has_value());
  }
  session.TakeEvents();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte: the role and the house rules.
  const std::uint8_t setup = data[0];
  TSession session(setup & 1 ? TRole::Guest : TRole::Host, "fuzz",
                   TRules{(setup & 2) != 0, (setup & 4) != 0, (setup & 8) == 0});
  session.Start();
  Drain(session);
  TLineReader reader(MaxLineBytes);
  const bool fits = reader.Feed(
      std::string_view(reinterpret_cast<const char*>(data + 1), size - 1),
      [&](std::string_view line) {
        Check(line.size() < MaxLineBytes);
        if (!line.empty() && line[0] == '!') {
          Command(session, line);
        } else {
          if (const std::optional<TMessage> message = ParseMessage(line)) {
            // Read and written back alike, but for what a reader may not keep: another version's
            // greeting, a farewell of an unknown reason.
            const bool kept =
                !(message->Kind == TMessageKind::Greeting && message->Version != ProtocolVersion) &&
                !(message->Kind == TMessageKind::Bye && line.substr(4) != ByeWord(message->Reason));
            if (kept) Check(FormatMessage(*message) == line);
          }
          session.Heard(line);
        }
        Drain(session);
        return true;
      });
  Check(reader.Pending() < MaxLineBytes);
  if (!fits) session.HeardTooLong();
  Drain(session);
  return 0;
}
