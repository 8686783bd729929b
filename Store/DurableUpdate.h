#pragma once
// One read–merge–write of a file the game keeps, the same steps for the settings and the record:
// make its folders, take its lock, clear what a killed write left, read it, move a file that
// cannot be written back as it is aside (whole, with a console line), write the new one whole,
// and say once when that fails, until a write succeeds again. The file's owner only says what it
// makes of the bytes on disk.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Files.h"

namespace kravelon {

class TDurableUpdate {
 public:
  // What the file's owner makes of what is on disk.
  struct TMerged {
    // Why the file on disk cannot be written back as it is: it is moved aside whole before the
    // new one is written. "" when it can.
    std::string Damage;
    // The new file; nothing when it must not be written, with the reason in Refused.
    std::optional<std::string> Bytes;
    std::string Refused;
  };
  // Given the file's bytes, or nothing when there is no file (or one too large to read, which is
  // then moved aside).
  using TMerge = std::function<TMerged(const std::optional<std::string>& onDisk)>;

  // The console lines' texts, given to Tr: MovedAside with %1 the file, %2 where it went, %3 why;
  // NotWritten with %1 the file and %2 why.
  struct TTexts {
    const char* MovedAside;
    const char* NotWritten;
  };

  // The file `folder`/`name`, read up to `sizeLimit` bytes. An empty folder keeps nothing: Read
  // finds no file and Update writes nothing.
  TDurableUpdate(std::string folder, const std::string& name, std::size_t sizeLimit, TTexts texts);

  const std::string& Path() const { return FilePath; }

  // What is on disk now; writes nothing.
  TFileBytes Read() const;
  // Why a read gave no bytes, for a console line: too large, what stands in the file's place, or
  // the system's error. "" for a missing file.
  std::string Unreadable(const TFileBytes& file) const;

  struct TResult {
    bool Written = false;
    std::vector<std::string> Lines;  // for the console
  };
  TResult Update(const TMerge& merge);

 private:
  // "" once written, else why not.
  std::string Attempt(const TMerge& merge, std::vector<std::string>& lines);

  std::string Folder, FilePath;
  std::size_t SizeLimit;
  TTexts Texts;
  bool FailureReported = false;  // one line for a run of failed writes, not one a write
};

}  // namespace kravelon
