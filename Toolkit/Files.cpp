#include "Toolkit/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace kravelon {

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.find_last_of('/') + 1);
}

TReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes,
                          std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  // Not blocking: a named pipe in place of the file would otherwise wait for a writer forever.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? TReadResult::Missing : TReadResult::Failed;
  }
  struct stat info {};
  TReadResult result = TReadResult::Read;
  if (fstat(fd, &info) != 0) {
    result = TReadResult::Failed;
  } else if (!S_ISREG(info.st_mode)) {
    result = TReadResult::Missing;
  } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    result = TReadResult::TooLarge;
  } else {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // the file shrank under us: keep what is there
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    if (done == 0 && info.st_size > 0) result = TReadResult::Failed;
  }
  close(fd);
  if (result != TReadResult::Read) bytes.clear();
  return result;
}

}  // namespace kravelon
