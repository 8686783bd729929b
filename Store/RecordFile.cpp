#include "Store/RecordFile.h"

#include "Common/Text.h"

namespace kravelon {

TRecordFile::TRecordFile(std::string folder)
    : File(std::move(folder), "record", RecordSizeLimit,
           {TrNoop("Файл статистики \"%1\" не читается (%3): он сохранён как \"%2\", статистика "
                   "начата заново."),
            TrNoop("Не удалось записать статистику в \"%1\" (%2); запись будет повторена после "
                   "следующей игры и при выходе.")}) {}

std::vector<TGameResult> TRecordFile::Games() const {
  std::vector<TGameResult> games = OnDisk;
  games.insert(games.end(), Unwritten.begin(), Unwritten.end());
  return games;
}

std::vector<std::string> TRecordFile::Load() {
  const TFileBytes file = File.Read();
  if (!file.Read()) return {};
  if (auto games = ParseRecord(file.Bytes)) OnDisk = std::move(*games);
  return {};
}

std::vector<std::string> TRecordFile::Add(const TGameResult& game) {
  if (!Recordable(game))
    return {Fill(Tr("Игра, оконченная %1, не записана в статистику: такого итога не бывает."),
                 {game.Date})};
  Unwritten.push_back(game);
  return Flush();
}

std::vector<std::string> TRecordFile::Flush() {
  if (Unwritten.empty()) return {};
  std::vector<TGameResult> games;
  const auto result = File.Update([&](const std::optional<std::string>& onDisk) {
    TDurableUpdate::TMerged merged;
    games.clear();
    std::size_t badLine = 0;
    if (onDisk) {
      if (auto read = ParseRecord(*onDisk, &badLine))
        games = std::move(*read);
      else
        merged.Damage = Fill(Tr("строка %1: не запись игры"), {std::to_string(badLine)});
    }
    games.insert(games.end(), Unwritten.begin(), Unwritten.end());
    merged.Bytes = FormatRecord(games);
    return merged;
  });
  if (result.Written) {
    OnDisk = std::move(games);
    Unwritten.clear();
  }
  return result.Lines;
}

}  // namespace kravelon
