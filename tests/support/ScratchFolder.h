#pragma once
// Scratch folders under /tmp for tests that write files; each goes with all it holds when the
// object does, so a failed test leaves nothing behind for the next one to trip over.
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "Platform/ProgramPath.h"

namespace kravelon {

class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = "/tmp/kravelon-test-XXXXXX";
    Folder = std::string(mkdtemp(pattern.data())) + "/";
  }
  ~TScratchFolder() {
    std::error_code ignored;  // a test may have left a folder it cannot list; nothing to do then
    std::filesystem::remove_all(Folder, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::string& Path() const { return Folder; }  // ends in '/'

 private:
  std::string Folder;
};

// A scratch folder that the game takes for the folder it runs from while the object lives.
class TScratchProgramFolder : public TScratchFolder {
 public:
  TScratchProgramFolder() { SetProgramFolder(Path()); }
  ~TScratchProgramFolder() { SetProgramFolder(""); }
};

}  // namespace kravelon
