#include "Platform/XdgFolders.h"

#include <cstdlib>

namespace kravelon {

std::string XdgFolder(const char* variable, const char* home, const char* underHome) {
  if (variable && variable[0] == '/') return variable;
  if (home && home[0] == '/') {
    std::string folder = home;
    if (folder.back() != '/') folder += '/';
    return folder + underHome;
  }
  return "";
}

namespace {

std::string GameFolder(const char* variable, const char* underHome) {
  const std::string base = XdgFolder(std::getenv(variable), std::getenv("HOME"), underHome);
  return base.empty() ? base : base + "/kravelon";
}

}  // namespace

std::string ConfigFolder() { return GameFolder("XDG_CONFIG_HOME", ".config"); }
std::string DataFolder() { return GameFolder("XDG_DATA_HOME", ".local/share"); }

}  // namespace kravelon
