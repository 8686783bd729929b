// The speaker against a recording stand-in for speech-dispatcher, through the real libspeechd.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Toolkit/Speech.h"
#include "tests/support/SsipStandIn.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

template <class TCondition>
bool Eventually(TCondition done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(10ms);
  return done();
}

class SpeakerTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SPEECHD_ADDRESS", Daemon.Address().c_str(), 1); }
  void TearDown() override { unsetenv("SPEECHD_ADDRESS"); }
  TSsipStandIn Daemon;
};

}  // namespace

TEST_F(SpeakerTest, LinesQueueAtMessagePriorityAndTheFocusSpeaksOnItsOwnConnection) {
  TSpeaker speaker("en");
  speaker.Say("Game: the user fires at D5");
  speaker.Announce("D5, hit");
  ASSERT_TRUE(Daemon.WaitForCount(2));
  const auto spoken = Daemon.Spoken();
  EXPECT_EQ(spoken[0].Text, "Game: the user fires at D5");
  EXPECT_EQ(spoken[0].Priority, "message");
  EXPECT_EQ(spoken[0].Language, "en");
  EXPECT_EQ(spoken[1].Text, "D5, hit");
  EXPECT_EQ(spoken[1].Priority, "text");
  EXPECT_EQ(spoken[1].Language, "en");
  EXPECT_NE(spoken[0].Client, spoken[1].Client);
  EXPECT_EQ(speaker.State(), TSpeechState::Ready);
}

TEST_F(SpeakerTest, TheLanguageFollowsItsOwner) {
  TSpeaker speaker("ru");
  speaker.Say("первая");
  speaker.SetLanguage("en");
  speaker.Say("second");
  ASSERT_TRUE(Daemon.WaitForCount(2));
  EXPECT_EQ(Daemon.Spoken()[0].Language, "ru");
  EXPECT_EQ(Daemon.Spoken()[1].Language, "en");
}

// A held arrow key: the daemon is slow to answer, so announcements pile up behind the one being
// sent. Only the newest of them is sent next, each after cancelling the one before; the lines
// said meanwhile all arrive, in order.
TEST_F(SpeakerTest, ANewerAnnouncementReplacesOlderOnesButNoLineIsLost) {
  Daemon.SetAnswerDelay(50ms);
  TSpeaker speaker("ru");
  for (int i = 0; i < 30; ++i) {
    speaker.Announce("сектор " + std::to_string(i));
    if (i % 10 == 0) speaker.Say("строка " + std::to_string(i));
  }
  ASSERT_TRUE(Daemon.WaitForSpoken("сектор 29"));
  std::this_thread::sleep_for(200ms);  // nothing older comes after the newest
  std::vector<std::string> focus, lines;
  for (const TSpokenText& t : Daemon.Spoken()) (t.Priority == "text" ? focus : lines).push_back(t.Text);
  EXPECT_EQ(focus.back(), "сектор 29");
  EXPECT_LT(focus.size(), 10u);
  EXPECT_EQ(lines, (std::vector<std::string>{"строка 0", "строка 10", "строка 20"}));
  int cancels = 0;
  for (const std::string& c : Daemon.Commands()) cancels += c == "CANCEL SELF";
  EXPECT_EQ(cancels, static_cast<int>(focus.size()));
}

TEST_F(SpeakerTest, ALineBreakInATextIsALineOfTheMessage) {
  TSpeaker speaker("ru");
  speaker.Say("Стрелки: выбрать сектор\r\n.точка в начале\nF1: эта справка");
  ASSERT_TRUE(Daemon.WaitForCount(1));
  EXPECT_EQ(Daemon.Spoken()[0].Text, "Стрелки: выбрать сектор\n.точка в начале\nF1: эта справка");
}

TEST_F(SpeakerTest, SilenceCancelsBothConnections) {
  TSpeaker speaker("ru");
  speaker.Say("строка");
  ASSERT_TRUE(Daemon.WaitForCount(1));
  speaker.Silence();
  ASSERT_TRUE(Eventually([&] {
    int cancels = 0;
    for (const std::string& c : Daemon.Commands()) cancels += c == "CANCEL SELF";
    return cancels == 2;
  }));
}

TEST(SpeakerUnavailable, NoDaemonAtTheAddressMakesTheSpeakerUnavailableAndQuiet) {
  setenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/kravelon/speechd.sock", 1);
  TSpeaker speaker("ru");
  speaker.Say("никто не слышит");
  speaker.Announce("и это");
  EXPECT_TRUE(Eventually([&] { return speaker.State() == TSpeechState::Unavailable; }));
  EXPECT_NE(speaker.Failure().find("speechd.sock"), std::string::npos) << speaker.Failure();
  speaker.Say("после");  // dropped, not queued for ever
  unsetenv("SPEECHD_ADDRESS");
}

}  // namespace kravelon
