#include "Speech/ScreenReader.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace kravelon {

namespace {

// The session bus's address, without libdbus's fallback of launching a bus of its own for the X
// display: a game with no session bus has no screen reader to ask about.
std::string SessionBusAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
    return address;
  }
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    const std::string path = std::string(runtime) + "/bus";
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) return "unix:path=" + path;
  }
  return {};
}

// The reply to `call` before `deadline`; null without one. Every wait is our own, each step of it
// bounded: libdbus's blocking call waits its 25 seconds, or for ever, on a bus that accepts the
// connection and never answers its greeting.
DBusMessage* Ask(DBusConnection* bus, DBusMessage* call,
                 std::chrono::steady_clock::time_point deadline) {
  const auto left = [&] {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                deadline - std::chrono::steady_clock::now())
                                .count());
  };
  DBusPendingCall* pending = nullptr;
  if (!call || left() <= 0 || !dbus_connection_send_with_reply(bus, call, &pending, left()) ||
      !pending)
    return nullptr;
  while (!dbus_pending_call_get_completed(pending) && left() > 0 &&
         dbus_connection_read_write_dispatch(bus, left())) {
  }
  DBusMessage* reply = nullptr;
  if (dbus_pending_call_get_completed(pending))
    reply = dbus_pending_call_steal_reply(pending);
  else
    dbus_pending_call_cancel(pending);
  dbus_pending_call_unref(pending);
  if (reply && dbus_message_get_type(reply) != DBUS_MESSAGE_TYPE_METHOD_RETURN) {
    dbus_message_unref(reply);
    reply = nullptr;
  }
  return reply;
}

}  // namespace

bool ScreenReaderRunning(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  const std::string address = SessionBusAddress();
  if (address.empty()) return false;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
  bool running = false;
  // The bus's greeting, sent by hand: dbus_bus_register would wait libdbus's default 25 seconds
  // on a bus that never answers.
  DBusMessage* hello =
      bus ? dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                         "org.freedesktop.DBus", "Hello")
          : nullptr;
  DBusMessage* welcome = bus ? Ask(bus, hello, deadline) : nullptr;
  if (welcome) {
    DBusMessage* call = dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus",
                                                     "org.freedesktop.DBus.Properties", "Get");
    const char* interface = "org.a11y.Status";
    const char* property = "ScreenReaderEnabled";
    if (call && dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                         &property, DBUS_TYPE_INVALID)) {
      DBusMessage* reply = Ask(bus, call, deadline);
      DBusMessageIter top, variant;
      if (reply && dbus_message_iter_init(reply, &top) &&
          dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&top, &variant);
        if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_BOOLEAN) {
          dbus_bool_t value = FALSE;
          dbus_message_iter_get_basic(&variant, &value);
          running = value;
        }
      }
      if (reply) dbus_message_unref(reply);
    }
    if (call) dbus_message_unref(call);
    dbus_message_unref(welcome);
  }
  if (hello) dbus_message_unref(hello);
  if (bus) {
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
  }
  dbus_error_free(&error);
  return running;
}

TScreenReaderQuestion::TScreenReaderQuestion(TPoster post, std::function<void(bool)> answered,
                                             int timeoutMs)
    : Answered(std::make_shared<std::function<void(bool)>>(std::move(answered))) {
  std::weak_ptr<std::function<void(bool)>> answer = Answered;
  Asker = std::thread([post = std::move(post), answer, timeoutMs] {
    const bool running = ScreenReaderRunning(timeoutMs);
    post([answer, running] {
      if (const auto handler = answer.lock()) (*handler)(running);
    });
  });
}

TScreenReaderQuestion::~TScreenReaderQuestion() {
  Answered.reset();
  Asker.join();
}

}  // namespace kravelon
