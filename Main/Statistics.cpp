#include "Main/Statistics.h"

#include "Common/Text.h"

namespace kravelon {

std::string StatisticsText(int shots, int hits, const TRecordSummary& record) {
  // Cut towards zero, never rounded up: 2 hits of 3 shots are 66 %.
  const int percent = shots == 0 ? 0 : 100 * hits / shots;
  std::string text =
      Fill(Tr("Процент попадания компютера составил: %1 %%"), {std::to_string(percent)});
  text += "\n\n";
  text += Fill(Tr("Сыграно игр: %1, выиграно: %2, проиграно: %3"),
               {std::to_string(record.Played), std::to_string(record.Won),
                std::to_string(record.Lost)});
  if (record.Won > 0) {
    text += '\n';
    text += Fill(Tr("Выстрелов в выигранной игре: меньше всего %1, в среднем %2"),
                 {std::to_string(record.FewestShotsWon), std::to_string(record.AverageShotsWon)});
  }
  text += '\n';
  text += Fill(Tr("Процент попадания компьютера за все игры: %1 %%"),
               {std::to_string(record.ComputerHitPercent)});
  return text;
}

}  // namespace kravelon
