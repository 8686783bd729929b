#include "Speech/ScreenReader.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

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
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) return "unix:path=" + path;
  }
  return {};
}

}  // namespace

bool ScreenReaderRunning(int timeoutMs) {
  const std::string address = SessionBusAddress();
  if (address.empty()) return false;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
  bool running = false;
  if (bus && dbus_bus_register(bus, &error)) {
    DBusMessage* call = dbus_message_new_method_call(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get");
    const char* interface = "org.a11y.Status";
    const char* property = "ScreenReaderEnabled";
    if (call && dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                         &property, DBUS_TYPE_INVALID)) {
      DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, timeoutMs, &error);
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
  }
  if (bus) {
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
  }
  dbus_error_free(&error);
  return running;
}

}  // namespace kravelon
