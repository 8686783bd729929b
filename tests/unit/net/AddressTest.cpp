// The values of --host and --join: read, or refused with a sentence naming the bad value.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Net/Address.h"

namespace kravelon {

namespace {

TEST(HostOption, HostsOnTheDefaultPortOrTheOneGiven) {
  std::string error;
  EXPECT_EQ(ParseHostOption(std::nullopt, &error), DefaultPort);
  EXPECT_EQ(ParseHostOption("5000", &error), 5000);
  EXPECT_EQ(ParseHostOption("65535", &error), 65535);
  for (const char* bad : {"", "0", "65536", "-1", "+80", "80a", "4174O", "123456"}) {
    error.clear();
    EXPECT_FALSE(ParseHostOption(bad, &error)) << bad;
    EXPECT_NE(error.find(std::string("'") + bad + "'"), std::string::npos) << error;
  }
}

struct TJoinCase {
  const char* Value;
  std::optional<TAddress> Address;
};
void PrintTo(const TJoinCase& c, std::ostream* os) { *os << '"' << c.Value << '"'; }

class JoinOption : public ::testing::TestWithParam<TJoinCase> {};

TEST_P(JoinOption, ReadsHostAndPort) {
  std::string error;
  const std::optional<TAddress> address = ParseJoinOption(GetParam().Value, &error);
  EXPECT_EQ(address, GetParam().Address);
  EXPECT_EQ(error.empty(), address.has_value()) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Values, JoinOption,
    ::testing::Values(TJoinCase{"192.168.1.20", TAddress{"192.168.1.20", DefaultPort}},
                      TJoinCase{"192.168.1.20:5000", TAddress{"192.168.1.20", 5000}},
                      TJoinCase{"anna-laptop.local", TAddress{"anna-laptop.local", DefaultPort}},
                      TJoinCase{"anna-laptop:41741", TAddress{"anna-laptop", 41741}},
                      TJoinCase{"[::1]", TAddress{"::1", DefaultPort}},
                      TJoinCase{"[fe80::1%eth0]:7000", TAddress{"fe80::1%eth0", 7000}},
                      TJoinCase{"fe80::2", TAddress{"fe80::2", DefaultPort}},
                      TJoinCase{"", std::nullopt}, TJoinCase{"host:", std::nullopt},
                      TJoinCase{":5000", std::nullopt}, TJoinCase{"host:0", std::nullopt},
                      TJoinCase{"host:70000", std::nullopt}, TJoinCase{"host:port", std::nullopt},
                      TJoinCase{"[::1", std::nullopt}, TJoinCase{"[::1]5000", std::nullopt},
                      TJoinCase{"[::1]:", std::nullopt}, TJoinCase{"two words", std::nullopt},
                      TJoinCase{"-host", std::nullopt}, TJoinCase{"хост", std::nullopt}));

TEST(JoinOptionError, NamesTheValueOrThePort) {
  std::string error;
  ParseJoinOption("host:99999", &error);
  EXPECT_NE(error.find("'99999'"), std::string::npos) << error;
  ParseJoinOption("two words", &error);
  EXPECT_NE(error.find("'two words'"), std::string::npos) << error;
  ParseJoinOption("", &error);
  EXPECT_NE(error.find("--join"), std::string::npos) << error;
}

}  // namespace

}  // namespace kravelon
