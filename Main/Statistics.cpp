#include "Main/Statistics.h"

#include "Common/Text.h"

namespace kravelon {

namespace {

// The computer's levels as the player reads them, weakest first.
std::string RulesLine(const TRules& rules, const TTally& tally) {
  const std::string played = std::to_string(tally.Played), won = std::to_string(tally.Won);
  if (rules == TRules{}) return Fill(Tr("Обычные правила: сыграно %1, выиграно %2"), {played, won});
  const auto state = [](bool on) -> std::string_view { return on ? Tr("вкл") : Tr("выкл"); };
  return Fill(
      Tr("Правила (касание: %1, залпы: %2, выстрел за попадание: %3): сыграно %4, выиграно %5"),
      {state(rules.Touching), state(rules.Salvo), state(rules.ExtraShot), played, won});
}

}  // namespace

std::string StatisticsText(int shots, int hits, const TRecordSummary& record, bool player) {
  // Cut towards zero, never rounded up: 2 hits of 3 shots are 66 %.
  const int percent = shots == 0 ? 0 : 100 * hits / shots;
  std::string text = Fill(player ? Tr("Процент попадания соперника составил: %1 %%")
                                 : Tr("Процент попадания компютера составил: %1 %%"),
                          {std::to_string(percent)});
  text += "\n\n";
  text += Fill(
      Tr("Сыграно игр: %1, выиграно: %2, проиграно: %3"),
      {std::to_string(record.Played), std::to_string(record.Won), std::to_string(record.Lost)});
  if (record.Won > 0) {
    text += '\n';
    text += Fill(Tr("Выстрелов в выигранной игре: меньше всего %1, в среднем %2"),
                 {std::to_string(record.FewestShotsWon), std::to_string(record.AverageShotsWon)});
  }
  text += '\n';
  text += Fill(Tr("Процент попадания компьютера за все игры: %1 %%"),
               {std::to_string(record.ComputerHitPercent)});
  // Other levels, network games or other rules: a line for each, so that no figure above hides
  // what it was made of.
  if (record.OnlyTheGameItAlwaysWas()) return text;
  text += '\n';
  for (const auto& [level, tally] : record.Levels)
    text += '\n' + Fill(Tr("%1: сыграно %2, выиграно %3"),
                        {LevelName(level), std::to_string(tally.Played),
                         std::to_string(tally.Won)});
  if (record.Network.Played > 0)
    text += '\n' + Fill(Tr("По сети: сыграно %1, выиграно %2, проиграно %3"),
                        {std::to_string(record.Network.Played), std::to_string(record.Network.Won),
                         std::to_string(record.Network.Lost)});
  if (record.RuleSets.size() > 1 || record.RuleSets.front().first != TRules{})
    for (const auto& [rules, tally] : record.RuleSets) text += '\n' + RulesLine(rules, tally);
  return text;
}

}  // namespace kravelon
