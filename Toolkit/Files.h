#pragma once
// Files and folders as the game asks for them: whether they are there, a whole file read with a
// limit, and the program's own folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kravelon {

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);

enum class TReadResult { Read, Missing, TooLarge, Failed };
// Reads a whole regular file of at most maxBytes. A folder, or anything else that is no regular
// file, is Missing: it is not the file asked for.
TReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes,
                          std::vector<std::uint8_t>& bytes);
// The real executable's folder (links resolved), ending in '/'.
std::string ExecutableFolder();

}  // namespace kravelon
