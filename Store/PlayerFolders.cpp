#include "Store/PlayerFolders.h"

#include "Common/Text.h"

namespace kravelon {

std::string NothingKeptNote(const std::string& settingsPath, const std::string& recordPath) {
  if (settingsPath.empty() && recordPath.empty())
    return Tr(
        "Настройки и статистика не будут сохранены: не задана домашняя папка (HOME) "
        "и нет папок XDG_CONFIG_HOME и XDG_DATA_HOME.");
  if (settingsPath.empty())
    return Tr(
        "Настройки не будут сохранены: не задана домашняя папка (HOME) и нет папки "
        "XDG_CONFIG_HOME.");
  if (recordPath.empty())
    return Tr(
        "Статистика не будет сохранена: не задана домашняя папка (HOME) и нет папки "
        "XDG_DATA_HOME.");
  return "";
}

}  // namespace kravelon
