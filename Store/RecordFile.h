#pragma once
// The record on disk: `folder`/record. Each finished game is merged into what is there under the
// file's lock, so that two copies of the game both keep theirs; a game that cannot be written yet
// (a full disk, a folder we may not write) is kept and written with the next one, or at the end.
#include <string>
#include <vector>

#include "Store/DurableUpdate.h"
#include "Store/Record.h"

namespace kravelon {

class TRecordFile {
 public:
  // An empty folder keeps the games in memory only: nothing is written.
  explicit TRecordFile(std::string folder);

  const std::string& Path() const { return File.Path(); }
  // What the statistics box sums up: the games on disk when last read, and this run's not yet
  // written.
  std::vector<TGameResult> Games() const;
  bool AllWritten() const { return Unwritten.empty(); }

  // Reads what is on disk without writing anything (a damaged file waits for the first write to
  // be moved aside). Console lines for the player, if any.
  std::vector<std::string> Load();
  // A finished game: kept at once, then written with any still waiting. A game the record cannot
  // hold (Recordable) is left out with a console line. Console lines, if any.
  std::vector<std::string> Add(const TGameResult& game);
  // Writes what is still waiting; the game calls it once more as it ends.
  std::vector<std::string> Flush();

 private:
  TDurableUpdate File;
  std::vector<TGameResult> OnDisk;
  std::vector<TGameResult> Unwritten;
};

}  // namespace kravelon
