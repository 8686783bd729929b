#pragma once
// Files and folders as the game asks for them: whether they are there, a whole file read with a
// limit, and the program's own folder.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kravelon {

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);

enum class TReadStatus { Missing, Read, TooLarge, NotAFile, Failed };

struct TFileBytes {
  TReadStatus Status = TReadStatus::Missing;
  std::string Bytes;  // with Read only
  int Error = 0;      // errno, with Failed

  bool Read() const { return Status == TReadStatus::Read; }
  const std::uint8_t* Data() const { return reinterpret_cast<const std::uint8_t*>(Bytes.data()); }
  std::size_t Size() const { return Bytes.size(); }
};

// Reads the whole file, refusing it unread when it is larger than `limit` bytes, so that a file
// claiming a giant size never reaches an allocation. A folder, a device or a named pipe in its
// place is NotAFile (never waited on); a path through something that is no folder is Missing.
TFileBytes ReadLimited(const std::string& path, std::size_t limit);

// The real executable's folder (links resolved), ending in '/'.
std::string ExecutableFolder();

}  // namespace kravelon
