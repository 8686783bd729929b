#include "Net/PeerLink.h"

#include <asio/write.hpp>
#include <utility>

namespace kravelon {

namespace {

// Lines waiting to go out to an opponent that does not read: past this it is dropped.
constexpr std::size_t MaxOutbox = 64;
// How long a closing connection waits for its last lines to go and the opponent's FIN to come,
// and how much it reads and throws away meanwhile.
constexpr std::chrono::milliseconds Linger{1000};
constexpr std::size_t MaxDrain = 64 * 1024;

}  // namespace

TPeerLink::TPeerLink(asio::ip::tcp::socket socket, TSession session,
                     std::chrono::milliseconds silence, TSink sink)
    : Socket(std::move(socket)),
      Session(std::move(session)),
      Silence(silence),
      Sink(std::move(sink)),
      SilenceTimer(Socket.get_executor()),
      LingerTimer(Socket.get_executor()) {}

void TPeerLink::Start() {
  std::error_code ignored;
  Socket.set_option(asio::ip::tcp::no_delay(true), ignored);
  LastHeard = std::chrono::steady_clock::now();
  Session.Start();
  Flush();
  Read();
  Watch();
}

void TPeerLink::Command(const std::function<void(TSession&)>& command) {
  if (Session.Closed()) return;
  command(Session);
  Flush();
}

void TPeerLink::Read() {
  if (Reading || Done) return;
  Reading = true;
  Socket.async_read_some(asio::buffer(ReadBuffer),
                         [self = shared_from_this()](std::error_code error, std::size_t bytes) {
                           self->Reading = false;
                           self->OnRead(error, bytes);
                         });
}

void TPeerLink::OnRead(std::error_code error, std::size_t bytes) {
  if (Done) return;
  if (Finishing) {
    // Closing: what still comes is read and thrown away, until the opponent's FIN.
    Drained += bytes;
    if (error || Drained > MaxDrain) return Closed();
    return Read();
  }
  if (error) {
    Session.PeerGone();
    return Flush();
  }
  const bool fits =
      Reader.Feed(std::string_view(ReadBuffer.data(), bytes), [this](std::string_view line) {
        LastHeard = std::chrono::steady_clock::now();
        Pinged = false;
        Session.Heard(line);
        return !Session.Closed();
      });
  if (!fits) Session.HeardTooLong();
  Flush();
  Read();
}

void TPeerLink::Flush() {
  for (std::string& line : Session.TakeLines()) Outbox.push_back(std::move(line) + '\n');
  for (TNetEvent& event : Session.TakeEvents()) Sink(std::move(event));
  if (Outbox.size() > MaxOutbox && !Session.Closed()) {
    // The opponent sends and never reads: nothing we say reaches it any more.
    Outbox.clear();
    Session.PeerGone();
    for (TNetEvent& event : Session.TakeEvents()) Sink(std::move(event));
  }
  Write();
  if (Session.Closed() && !Finishing) {
    Finishing = true;
    SilenceTimer.cancel();
    LingerTimer.expires_after(Linger);
    LingerTimer.async_wait([self = shared_from_this()](std::error_code error) {
      if (!error) self->Closed();
    });
    if (!Writing) Finish();
  }
}

void TPeerLink::Write() {
  if (Writing || Outbox.empty() || Done) return;
  Writing = true;
  asio::async_write(Socket, asio::buffer(Outbox.front()),
                    [self = shared_from_this()](std::error_code error, std::size_t) {
                      self->Writing = false;
                      if (self->Done) return;
                      if (error) {
                        self->Outbox.clear();
                        if (!self->Session.Closed()) {
                          self->Session.PeerGone();
                          self->Flush();
                        }
                      } else {
                        self->Outbox.pop_front();
                      }
                      self->Write();
                      if (self->Finishing && !self->Writing) self->Finish();
                    });
}

void TPeerLink::Watch() {
  if (Session.Closed()) return;
  const auto due = LastHeard + (Pinged ? Silence : Silence / 3);
  SilenceTimer.expires_at(due);
  SilenceTimer.async_wait([self = shared_from_this()](std::error_code error) {
    if (error || self->Session.Closed()) return;
    const auto quiet = std::chrono::steady_clock::now() - self->LastHeard;
    if (quiet >= self->Silence) {
      self->Session.Silent();
      self->Flush();
      return;
    }
    // A third of the limit without a word: ask, so that a live opponent answers in time.
    if (!self->Pinged && quiet >= self->Silence / 3) {
      self->Pinged = true;
      self->Outbox.push_back(FormatMessage(SimpleMessage(TMessageKind::Ping)) + '\n');
      self->Write();
    }
    self->Watch();
  });
}

void TPeerLink::Finish() {
  if (Done || ShutDown) return;
  ShutDown = true;
  // Our last word is sent: say so with a FIN, and read whatever the opponent still sends until
  // its own FIN, so that our BYE is not lost to a reset.
  std::error_code ignored;
  Socket.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
  Read();
}

void TPeerLink::Closed() {
  if (Done) return;
  Done = true;
  std::error_code ignored;
  SilenceTimer.cancel();
  LingerTimer.cancel();
  Socket.close(ignored);
  if (Finished) std::exchange(Finished, nullptr)();
}

}  // namespace kravelon
