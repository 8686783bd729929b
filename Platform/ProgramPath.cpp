#include "Platform/ProgramPath.h"

#include <filesystem>

#include "Platform/Files.h"

namespace kravelon {

namespace {
std::string& OverrideFolder() {
  static std::string folder;
  return folder;
}

bool HoldsGameData(const std::string& folder) {
  return DirectoryExists(folder + "Images") || DirectoryExists(folder + "Sounds");
}
}  // namespace

std::string GameDataFolder(const std::string& executableFolder, const std::string& installedData) {
  if (HoldsGameData(executableFolder)) return executableFolder;
  // The executable's folder has its links resolved, so ".." may be folded by the letter; the
  // messages then show /usr/share/games/kravelon/..., not /usr/games/../share/...
  const std::string installed =
      std::filesystem::path(executableFolder + installedData).lexically_normal().string();
  if (HoldsGameData(installed)) return installed;
  return executableFolder;
}

std::string ProgramPath(const std::string& relative) {
  static const std::string folder = GameDataFolder(ExecutableFolder(), KRAVELON_DATA_FROM_BINDIR);
  return (OverrideFolder().empty() ? folder : OverrideFolder()) + relative;
}

void SetProgramFolder(const std::string& folder) { OverrideFolder() = folder; }

}  // namespace kravelon
