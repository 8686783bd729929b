#include "Store/DurableUpdate.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "Common/Text.h"
#include "Store/DurableFile.h"

namespace kravelon {

namespace {

// What stands where the file should be, when it is no file.
std::string WhatIsThere(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return Tr("папка");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return Tr("устройство");
    if (S_ISFIFO(info.st_mode)) return Tr("именованный канал");
    if (S_ISSOCK(info.st_mode)) return Tr("сокет");
  }
  return Tr("не обычный файл");
}

}  // namespace

TDurableUpdate::TDurableUpdate(std::string folder, const std::string& name, std::size_t sizeLimit,
                               TTexts texts)
    : Folder(std::move(folder)),
      FilePath(Folder.empty() ? "" : Folder + "/" + name),
      SizeLimit(sizeLimit),
      Texts(texts) {}

TFileBytes TDurableUpdate::Read() const {
  if (FilePath.empty()) return {};
  return ReadLimited(FilePath, SizeLimit);
}

std::string TDurableUpdate::Unreadable(const TFileBytes& file) const {
  switch (file.Status) {
    case TReadStatus::Missing:
    case TReadStatus::Read:
      return "";
    case TReadStatus::TooLarge:
      return Fill(Tr("больше %1 байт"), {std::to_string(SizeLimit)});
    case TReadStatus::NotAFile:
      return Fill(Tr("на месте файла — %1"), {WhatIsThere(FilePath)});
    case TReadStatus::Failed:
      break;
  }
  return std::strerror(file.Error);
}

TDurableUpdate::TResult TDurableUpdate::Update(const TMerge& merge) {
  TResult result;
  if (FilePath.empty()) return result;
  const std::string why = Attempt(merge, result.Lines);
  result.Written = why.empty();
  if (result.Written) {
    FailureReported = false;
  } else if (!FailureReported) {
    FailureReported = true;
    result.Lines.push_back(Fill(Tr(Texts.NotWritten), {FilePath, why}));
  }
  return result;
}

std::string TDurableUpdate::Attempt(const TMerge& merge, std::vector<std::string>& lines) {
  if (const int error = MakeFolders(Folder)) return std::strerror(error);
  const TFileLock lock(FilePath);
  if (!lock.Held()) return std::strerror(lock.Error());
  RemoveUnfinishedWrites(FilePath);
  // What another copy of the game wrote since this one last read is kept: read, merge, write.
  TFileBytes file = ReadLimited(FilePath, SizeLimit);
  std::optional<std::string> onDisk;
  std::string damage;
  switch (file.Status) {
    case TReadStatus::Missing:
      break;
    case TReadStatus::Read:
      onDisk = std::move(file.Bytes);
      break;
    case TReadStatus::TooLarge:
      damage = Unreadable(file);
      break;
    case TReadStatus::NotAFile:
    case TReadStatus::Failed:
      return Unreadable(file);
  }
  TMerged merged = merge(onDisk);
  if (damage.empty()) damage = merged.Damage;
  if (!merged.Bytes) return merged.Refused;
  // The next start would refuse a file larger than it reads and lose every setting or game in it.
  if (merged.Bytes->size() > SizeLimit)
    return Fill(Tr("он стал бы больше %1 байт, а больше игра не читает"),
                {std::to_string(SizeLimit)});
  if (!damage.empty()) {
    // Never overwritten: kept under a name of its own, and what could be read goes on.
    const std::string aside = MoveAside(FilePath);
    if (aside.empty()) return std::strerror(errno);
    lines.push_back(Fill(Tr(Texts.MovedAside), {FilePath, aside, damage}));
  }
  if (const int error = ReplaceFile(FilePath, *merged.Bytes)) return std::strerror(error);
  return "";
}

}  // namespace kravelon
