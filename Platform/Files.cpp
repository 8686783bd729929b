#include "Platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

TFileBytes ReadLimited(const std::string& path, std::size_t limit) {
  TFileBytes result;
  // Not blocking: a named pipe in place of the file would otherwise wait for a writer forever.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    result.Error = errno;
    result.Status = errno == ENOENT || errno == ENOTDIR ? TReadStatus::Missing : TReadStatus::Failed;
    return result;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    result.Status = TReadStatus::Failed;
    result.Error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    result.Status = TReadStatus::NotAFile;
  } else if (static_cast<unsigned long long>(info.st_size) > limit) {
    result.Status = TReadStatus::TooLarge;
  } else {
    // The file may grow while it is read: never more than the limit, and one byte to tell.
    result.Bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t got = 0;
    while (true) {
      if (got == result.Bytes.size()) {
        if (got > limit) break;
        result.Bytes.resize(std::min(limit + 1, got * 2));
      }
      const ssize_t n = read(fd, result.Bytes.data() + got, result.Bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result.Status = TReadStatus::Failed;
        result.Error = errno;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (result.Error == 0) result.Status = got > limit ? TReadStatus::TooLarge : TReadStatus::Read;
    result.Bytes.resize(result.Status == TReadStatus::Read ? got : 0);
    result.Bytes.shrink_to_fit();
  }
  close(fd);
  return result;
}

}  // namespace kravelon
