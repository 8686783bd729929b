#pragma once
// The board's size and the sectors' names: the rules' own, shared by the log and the window.
#include <string>
#include <string_view>
#include <vector>

#include "Common/Text.h"

namespace kravelon {

inline constexpr int BoardSize = 10;

// The letters of a row of text, each one UTF-8 character.
inline std::vector<std::string_view> SplitLetters(std::string_view row) {
  std::vector<std::string_view> letters;
  for (std::size_t begin = 0, i = 1; begin < row.size(); ++i) {
    // A letter ends where the next lead byte, or the row, begins.
    if (i < row.size() && (static_cast<unsigned char>(row[i]) & 0xC0) == 0x80) continue;
    letters.push_back(row.substr(begin, i - begin));
    begin = i;
  }
  return letters;
}

// The name of a column: a Cyrillic capital, with no "Й" after "И", or the catalogue's letter
// (English boards run A to J). A catalogue's row of other than ten letters is not used.
inline std::string ColumnLetter(int column) {
  // TRANSLATORS: the ten column letters of a board, left to right, with nothing between them.
  const char* own = TrNoop("АБВГДЕЖЗИК");
  std::vector<std::string_view> letters = SplitLetters(Tr(own));
  if (letters.size() != BoardSize) letters = SplitLetters(own);
  return std::string(letters[static_cast<std::size_t>(column)]);
}

// "А1" … "К10" ("A1" … "J10" in English); empty off the board.
inline std::string CellName(int column, int row) {
  if (column < 0 || column >= BoardSize || row < 0 || row >= BoardSize) return "";
  return ColumnLetter(column) + std::to_string(row + 1);
}

}  // namespace kravelon
