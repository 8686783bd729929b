#include "Store/RecordFile.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "Common/Text.h"
#include "Store/DurableFile.h"

namespace kravelon {

TRecordFile::TRecordFile(std::string folder)
    : Folder(std::move(folder)), FilePath(Folder.empty() ? "" : Folder + "/record") {}

std::vector<TGameResult> TRecordFile::Games() const {
  std::vector<TGameResult> games = OnDisk;
  games.insert(games.end(), Unwritten.begin(), Unwritten.end());
  return games;
}

std::vector<std::string> TRecordFile::Load() {
  if (FilePath.empty()) return {};
  const TFileBytes file = ReadLimited(FilePath, RecordSizeLimit);
  if (file.Status != TReadStatus::Read) return {};
  if (auto games = ParseRecord(file.Bytes)) OnDisk = std::move(*games);
  return {};
}

std::vector<std::string> TRecordFile::Add(const TGameResult& game) {
  Unwritten.push_back(game);
  return Flush();
}

std::vector<std::string> TRecordFile::Flush() {
  if (FilePath.empty() || Unwritten.empty()) return {};
  std::vector<std::string> lines;
  int error = MakeFolders(Folder);
  std::string why;
  if (error == 0) {
    const TFileLock lock(FilePath);
    error = lock.Error();
    if (lock.Held()) {
      RemoveUnfinishedWrites(FilePath);
      // What another copy of the game wrote since this one last read is kept: read, merge, write.
      const TFileBytes file = ReadLimited(FilePath, RecordSizeLimit);
      std::optional<std::vector<TGameResult>> games;
      if (file.Status == TReadStatus::Missing) {
        games.emplace();
      } else if (file.Status == TReadStatus::Read) {
        games = ParseRecord(file.Bytes);
      } else if (file.Status == TReadStatus::NotAFile) {
        why = Tr("на месте файла статистики не файл");
      } else if (file.Status == TReadStatus::Failed) {
        error = file.Error;
      }
      if (!games && why.empty() && error == 0) {
        // Damaged, cut short, too large or not ours: kept under a name of its own, never
        // overwritten; the record starts afresh.
        const std::string aside = MoveAside(FilePath);
        if (aside.empty()) {
          error = errno;
        } else {
          lines.push_back(Fill(Tr("Файл статистики \"%1\" не читается: он сохранён как \"%2\", "
                                  "статистика начата заново."),
                               {FilePath, aside}));
          games.emplace();
        }
      }
      if (games) {
        games->insert(games->end(), Unwritten.begin(), Unwritten.end());
        error = ReplaceFile(FilePath, FormatRecord(*games));
        if (error == 0) {
          OnDisk = std::move(*games);
          Unwritten.clear();
          FailureReported = false;
          return lines;
        }
      }
    }
  }
  if (!FailureReported) {
    FailureReported = true;
    if (why.empty()) why = std::strerror(error);
    lines.push_back(Fill(Tr("Не удалось записать статистику в \"%1\" (%2); запись будет повторена "
                            "после следующей игры и при выходе."),
                         {FilePath, why}));
  }
  return lines;
}

}  // namespace kravelon
