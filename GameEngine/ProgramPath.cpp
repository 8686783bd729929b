#include "GameEngine/ProgramPath.h"

#include "Toolkit/System.h"

std::string ProgramPath(const std::string& relative) {
  static const std::string folder = ExecutableFolder();
  return folder + relative;
}
