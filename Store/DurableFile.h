#pragma once
// Files that survive a crash, a full disk and a second copy of the game: a bounded read, a write
// that replaces the old file whole or not at all, a lock around read–merge–write, and a way to
// keep a file we cannot read without ever overwriting it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "Platform/Files.h"

namespace kravelon {

// Creates the folder and any missing parents (private to the user, as the XDG rules ask).
// 0 or errno.
int MakeFolders(const std::string& folder);

// Writes `bytes` to a new file beside `path`, flushes it to disk, renames it over `path` and
// flushes the folder: after a crash at any moment the file is the old one or the new one, whole.
// 0 or errno; on failure `path` is untouched and nothing is left beside it.
int ReplaceFile(const std::string& path, std::string_view bytes);

// Leftovers of a ReplaceFile that was killed before its rename. Call only with the file's lock
// held: then no other copy of the game is writing one.
void RemoveUnfinishedWrites(const std::string& path);

// Renames a file we cannot read to a name of its own beside it ("record.damaged-20250131-235959",
// with "-2", "-3"… when that is taken), so that it is never overwritten. The new path, or "".
std::string MoveAside(const std::string& path);

// An exclusive lock on `path`.lock, waited for, held while the object lives. Every read–merge–
// write of `path` takes it, so two copies of the game take turns and neither loses the other's
// change.
class TFileLock {
 public:
  explicit TFileLock(const std::string& path);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;
  bool Held() const { return Descriptor >= 0; }
  int Error() const { return Failure; }  // errno when not held

 private:
  int Descriptor = -1;
  int Failure = 0;
};

// The points of ReplaceFile where a test may stop the process, to see what a crash leaves.
enum class TWriteStage { Written, Renamed };
// Called at each stage; the game never sets it. An empty function removes it.
void SetWriteStageHook(std::function<void(TWriteStage)> hook);

}  // namespace kravelon
