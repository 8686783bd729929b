#include "Store/DurableFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <utility>

namespace kravelon {

namespace {

std::function<void(TWriteStage)>& StageHook() {
  static std::function<void(TWriteStage)> hook;
  return hook;
}

void ReachStage(TWriteStage stage) {
  if (StageHook()) StageHook()(stage);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The beginning of the name a write's new file has until its rename: hidden, and tied to the
// file it replaces.
std::string UnfinishedPrefix(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return "." + name + ".new-";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

void SetWriteStageHook(std::function<void(TWriteStage)> hook) { StageHook() = std::move(hook); }

int MakeFolders(const std::string& folder) {
  if (folder.empty()) return ENOENT;
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
  const std::string parent = FolderOf(folder);
  if (parent != folder) {
    if (const int error = MakeFolders(parent)) return error;
  }
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return 0;
}

int ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string folder = FolderOf(path);
  std::string temporary = folder + "/" + UnfinishedPrefix(path) + "XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0) {
    ReachStage(TWriteStage::Written);
    if (rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  }
  if (error != 0) {
    unlink(temporary.c_str());
    return error;
  }
  ReachStage(TWriteStage::Renamed);
  // The rename itself is on disk only once the folder is.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return 0;
}

void RemoveUnfinishedWrites(const std::string& path) {
  const std::string folder = FolderOf(path), prefix = UnfinishedPrefix(path);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.starts_with(prefix)) unlink((folder + "/" + name).c_str());
  }
  closedir(dir);
}

std::string MoveAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = path + ".damaged-" + stamp;
  std::string aside = base;
  for (int n = 2; Exists(aside); ++n) aside = base + "-" + std::to_string(n);
  return rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
}

TFileLock::TFileLock(const std::string& path) {
  Descriptor = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (Descriptor < 0) {
    Failure = errno;
    return;
  }
  while (flock(Descriptor, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    Failure = errno;
    close(Descriptor);
    Descriptor = -1;
    return;
  }
}

TFileLock::~TFileLock() {
  if (Descriptor >= 0) close(Descriptor);  // closing releases the lock
}

}  // namespace kravelon
