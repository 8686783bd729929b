#include "GameEngine/ProgramPath.h"

#include "Toolkit/System.h"

namespace {
std::string& OverrideFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string ProgramPath(const std::string& relative) {
  static const std::string folder = ExecutableFolder();
  return (OverrideFolder().empty() ? folder : OverrideFolder()) + relative;
}

void SetProgramFolder(const std::string& folder) { OverrideFolder() = folder; }
