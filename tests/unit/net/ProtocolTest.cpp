// The protocol's lines, cells, fleets, names and commitments, read from hostile text and written
// back; the bounded line reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Net/Commitment.h"
#include "Net/FleetText.h"
#include "Net/LineReader.h"
#include "Net/PlayerName.h"
#include "Net/Protocol.h"

namespace kravelon {

namespace {

// The example fleet of docs/PROTOCOL.md, written as it is there.
const char* const ExampleFleet = "A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1 H10h1";
const char* const ExampleSalt = "00112233445566778899aabbccddeeff";

std::string Hex(std::size_t digits, char c = 'a') { return std::string(digits, c); }

// Lines a peer may send, each read and written back unchanged.
class GoodLine : public ::testing::TestWithParam<std::string> {};

TEST_P(GoodLine, ReadsAndWritesBackTheSameLine) {
  std::string error;
  const std::optional<TMessage> message = ParseMessage(GetParam(), &error);
  ASSERT_TRUE(message) << error;
  EXPECT_EQ(FormatMessage(*message), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, GoodLine,
    ::testing::Values("KRAVELON 1 anna", "KRAVELON 1 Кравелон-игрок_№1",
                      "KRAVELON 1 " + std::string(32, 'x'),
                      "RULES touching=no salvo=no extra-shot=yes",
                      "RULES touching=yes salvo=yes extra-shot=no", "FLEET " + Hex(64), "SHOT A1",
                      "SHOT J10", "RESULT E5 miss", "RESULT B2 hit", "RESULT C3 sunk",
                      "RESULT J10 won", std::string("REVEAL ") + ExampleSalt + " " + ExampleFleet,
                      "AGAIN", "PING", "PONG", "BYE quit", "BYE restart", "BYE version",
                      "BYE protocol", "BYE timeout", "BYE busy", "BYE cheat"));

TEST(Protocol, ReadsEachFieldOfTheMessages) {
  const std::optional<TMessage> rules = ParseMessage("RULES touching=yes salvo=no extra-shot=no");
  ASSERT_TRUE(rules);
  EXPECT_EQ(rules->Rules, (TRules{true, false, false}));
  const std::optional<TMessage> result = ParseMessage("RESULT J10 sunk");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->Cell, (TPoint{9, 9}));
  EXPECT_EQ(result->Result, TShotAnswer::Sunk);
  const std::optional<TMessage> reveal =
      ParseMessage(std::string("REVEAL ") + ExampleSalt + " " + ExampleFleet);
  ASSERT_TRUE(reveal);
  EXPECT_EQ(reveal->Salt, ExampleSalt);
  ASSERT_EQ(reveal->Fleet.size(), 10u);
  EXPECT_EQ(reveal->Fleet[2], (TShip{0, 2, false, 3}));  // A3v3
  EXPECT_EQ(reveal->Fleet[9], (TShip{7, 9, true, 1}));   // H10h1
}

TEST(Protocol, ReadsAGreetingOfAnotherVersionWhateverFollowsItsNumber) {
  for (const char* line : {"KRAVELON 2 anna", "KRAVELON 2", "KRAVELON 17 a b c"}) {
    const std::optional<TMessage> message = ParseMessage(line);
    ASSERT_TRUE(message) << line;
    EXPECT_NE(message->Version, ProtocolVersion) << line;
  }
}

TEST(Protocol, ReadsAByeOfAnUnknownReasonAsQuit) {
  const std::optional<TMessage> message = ParseMessage("BYE tired");
  ASSERT_TRUE(message);
  EXPECT_EQ(message->Reason, TByeReason::Quit);
}

struct TBadLine {
  const char* Why;
  std::string Line;
};
void PrintTo(const TBadLine& c, std::ostream* os) { *os << c.Why; }

class BadLine : public ::testing::TestWithParam<TBadLine> {};

TEST_P(BadLine, IsNoMessage) {
  std::string error;
  EXPECT_FALSE(ParseMessage(GetParam().Line, &error));
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, BadLine,
    ::testing::Values(
        TBadLine{"empty", ""}, TBadLine{"garbage", "\x01\x02zzz"},
        TBadLine{"unknown word", "HELLO there"}, TBadLine{"lower-case word", "shot A1"},
        TBadLine{"leading space", " PING"}, TBadLine{"trailing space", "PING "},
        TBadLine{"double space", "SHOT  A1"}, TBadLine{"tab", "SHOT\tA1"},
        TBadLine{"carriage return", "PING\r"}, TBadLine{"nul", std::string("PI\0NG", 5)},
        TBadLine{"invalid UTF-8", "KRAVELON 1 \xff\xfe"},
        TBadLine{"overlong UTF-8", "KRAVELON 1 \xc0\xaf"},
        TBadLine{"surrogate", "KRAVELON 1 \xed\xa0\x80"}, TBadLine{"cut UTF-8", "KRAVELON 1 \xd0"},
        TBadLine{"too long", "KRAVELON 1 " + std::string(501, 'x')},
        TBadLine{"name too long", "KRAVELON 1 " + std::string(33, 'x')},
        TBadLine{"no-break space in a name", "KRAVELON 1 a\xc2\xa0z"},
        TBadLine{"zero-width space in a name", "KRAVELON 1 a\xe2\x80\x8bz"},
        TBadLine{"control character (C1) in a name", "KRAVELON 1 a\xc2\x85z"},
        TBadLine{"two names", "KRAVELON 1 anna maria"}, TBadLine{"no name", "KRAVELON 1"},
        TBadLine{"version with a zero", "KRAVELON 01 anna"},
        TBadLine{"version not a number", "KRAVELON one anna"},
        TBadLine{"rules out of order", "RULES salvo=no touching=no extra-shot=yes"},
        TBadLine{"rules in capitals", "RULES touching=NO salvo=no extra-shot=yes"},
        TBadLine{"a rule missing", "RULES touching=no salvo=no"},
        TBadLine{"commitment in capitals", "FLEET " + Hex(64, 'A')},
        TBadLine{"commitment short", "FLEET " + Hex(63)}, TBadLine{"column past J", "SHOT K1"},
        TBadLine{"row 11", "SHOT A11"}, TBadLine{"row 0", "SHOT A0"},
        TBadLine{"lower-case column", "SHOT a1"}, TBadLine{"leading zero", "SHOT A01"},
        TBadLine{"Cyrillic column", "SHOT А1"}, TBadLine{"no cell", "SHOT"},
        TBadLine{"two cells", "SHOT A1 B2"}, TBadLine{"unknown result", "RESULT A1 killed"},
        TBadLine{"result without what", "RESULT A1"},
        TBadLine{"salt short", std::string("REVEAL ") + Hex(31) + " " + ExampleFleet},
        TBadLine{"fleet out of order", std::string("REVEAL ") + ExampleSalt +
                                           " F1h3 A1h4 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1 H10h1"},
        TBadLine{"fleet of nine", std::string("REVEAL ") + ExampleSalt +
                                      " A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1"},
        TBadLine{"fleet of eleven",
                 std::string("REVEAL ") + ExampleSalt + " " + ExampleFleet + " J8h1"},
        TBadLine{"one-cell ship written v",
                 std::string("REVEAL ") + ExampleSalt +
                     " A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4v1 C6h1 E8h1 H10h1"},
        TBadLine{"again with a field", "AGAIN now"}, TBadLine{"bye without reason", "BYE"}));

TEST(Protocol, TakesLinesUpToTheLimitNewlineIncluded) {
  const std::string longest = "KRAVELON 2 " + std::string(MaxLineBytes - 1 - 11, 'x');
  ASSERT_EQ(longest.size() + 1, MaxLineBytes);
  EXPECT_TRUE(ParseMessage(longest));
  EXPECT_FALSE(ParseMessage(longest + "x"));
}

TEST(Cells, NameTheColumnsInLatinWhateverTheLanguage) {
  EXPECT_EQ(CellText({0, 0}), "A1");
  EXPECT_EQ(CellText({9, 9}), "J10");
  EXPECT_EQ(CellText({4, 4}), "E5");
  EXPECT_EQ(CellText({10, 0}), "");
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 10; ++row) {
      EXPECT_EQ(ParseCell(CellText({column, row})), (TPoint{column, row}));
    }
  }
}

TEST(FleetText, WritesTheShipsInTheProtocolsOrder) {
  // Given in another order, the one-cell ships vertical: written as the page writes them.
  const std::vector<TShip> fleet{
      {7, 9, false, 1}, {2, 2, true, 2}, {0, 2, false, 3}, {5, 0, true, 3},  {9, 0, false, 2},
      {8, 3, true, 1},  {5, 2, true, 2}, {2, 5, true, 1},  {4, 7, false, 1}, {0, 0, true, 4}};
  EXPECT_EQ(FleetText(fleet), ExampleFleet);
  const std::optional<std::vector<TShip>> back = ParseFleet(ExampleFleet);
  ASSERT_TRUE(back);
  EXPECT_EQ(FleetText(*back), ExampleFleet);
}

TEST(Commitment, IsTheSha256OfSaltAndFleetAsThePageShows) {
  const std::optional<std::vector<TShip>> fleet = ParseFleet(ExampleFleet);
  ASSERT_TRUE(fleet);
  EXPECT_EQ(Commit(ExampleSalt, *fleet),
            "7ac61558fef614823c9a4c147ede14fd40b19d78f1d9d6463d72033c96d63a35");
  EXPECT_TRUE(MatchesCommitment(Commit(ExampleSalt, *fleet), ExampleSalt, *fleet));
  std::vector<TShip> moved = *fleet;
  moved.back().Column = 9;  // H10 to J10
  EXPECT_FALSE(MatchesCommitment(Commit(ExampleSalt, *fleet), ExampleSalt, moved));
  EXPECT_FALSE(MatchesCommitment(Commit(ExampleSalt, *fleet), Hex(32, '0'), *fleet));
}

TEST(Commitment, DrawsANewSaltOfSixteenBytesEachTime) {
  const std::string a = MakeSalt(), b = MakeSalt();
  EXPECT_TRUE(IsSalt(a)) << a;
  EXPECT_TRUE(IsSalt(b)) << b;
  EXPECT_NE(a, b);
}

TEST(PlayerName, MakesAnyTextAValidName) {
  EXPECT_EQ(MakeValidName("anna"), "anna");
  EXPECT_EQ(MakeValidName("Анна Каренина"), "Анна_Каренина");
  EXPECT_EQ(MakeValidName("a\tb\x7f"
                          "c"),
            "a_b_c");
  EXPECT_EQ(MakeValidName("bad\xff"), "bad_");
  EXPECT_EQ(MakeValidName(std::string(40, 'x')), std::string(32, 'x'));
  // Thirty-two letters, not bytes: forty Cyrillic letters keep thirty-two (sixty-four bytes).
  std::string cyrillic;
  for (int i = 0; i < 40; ++i) cyrillic += "ж";
  EXPECT_EQ(MakeValidName(cyrillic).size(), 64u);
  EXPECT_TRUE(IsValidName(MakeValidName(cyrillic)));
}

TEST(PlayerName, TakesTheSettingWhenValidElseTheLogin) {
  EXPECT_EQ(PlayerName("captain"), "captain");
  for (const char* bad : {"", "two words", "\x01"}) {
    const std::string name = PlayerName(bad);
    EXPECT_TRUE(IsValidName(name)) << name;
    EXPECT_NE(name, bad);
  }
}

TEST(LineReader, CutsLinesAcrossPiecesAndHoldsNoMoreThanOneLine) {
  TLineReader reader(MaxLineBytes);
  std::vector<std::string> lines;
  const auto take = [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  };
  EXPECT_TRUE(reader.Feed("PI", take));
  EXPECT_TRUE(reader.Feed("NG\nSHOT A1\nRES", take));
  EXPECT_TRUE(reader.Feed("ULT A1 miss\n", take));
  EXPECT_EQ(lines, (std::vector<std::string>{"PING", "SHOT A1", "RESULT A1 miss"}));
  EXPECT_EQ(reader.Pending(), 0u);
}

TEST(LineReader, TakesALineOfExactlyTheLimitAndNotOneByteMore) {
  TLineReader exact(MaxLineBytes);
  int lines = 0;
  const auto count = [&](std::string_view) { return ++lines, true; };
  EXPECT_TRUE(exact.Feed(std::string(MaxLineBytes - 1, 'x') + "\n", count));
  EXPECT_EQ(lines, 1);
  TLineReader over(MaxLineBytes);
  EXPECT_FALSE(over.Feed(std::string(MaxLineBytes, 'x') + "\n", count));
  EXPECT_EQ(lines, 1);
}

TEST(LineReader, StopsAtAMegabyteLineHavingHeldAtMostOneLine) {
  TLineReader reader(MaxLineBytes);
  const std::string piece(100, 'x');
  std::size_t most = 0;
  bool fits = true;
  for (std::size_t fed = 0; fed < (1u << 20); fed += piece.size()) {
    fits = reader.Feed(piece, [](std::string_view) { return true; }) && fits;
    most = std::max(most, reader.Pending());
  }
  EXPECT_FALSE(fits);
  EXPECT_TRUE(reader.Overflowed());
  EXPECT_LT(most, MaxLineBytes);
  // Once over, nothing more is taken, not even a good line.
  int lines = 0;
  EXPECT_FALSE(reader.Feed("PING\n", [&](std::string_view) { return ++lines, true; }));
  EXPECT_EQ(lines, 0);
}

TEST(LineReader, StopsWhenTheTakerSaysSo) {
  TLineReader reader(MaxLineBytes);
  std::vector<std::string> lines;
  reader.Feed("BYE quit\nPING\n", [&](std::string_view line) {
    lines.emplace_back(line);
    return false;
  });
  EXPECT_EQ(lines, (std::vector<std::string>{"BYE quit"}));
}

}  // namespace

}  // namespace kravelon
