// The speaker against a recording stand-in for speech-dispatcher, through the real libspeechd.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Speech/Speech.h"
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

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace kravelon {

// The real speech-dispatcher with espeak-ng, its sound going to libao's null driver: the text
// reaches the synthesiser's queue. Skipped where the daemon is not installed.
TEST(SpeakerWithTheRealDaemon, ATextReachesTheSynthesiser) {
  const std::filesystem::path daemon = "/usr/bin/speech-dispatcher";
  if (!std::filesystem::exists(daemon)) GTEST_SKIP() << "speech-dispatcher is not installed";
  char name[] = "/tmp/kravelon-speechd-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::filesystem::path dir = name;
  std::filesystem::create_directories(dir / "conf" / "modules");
  std::filesystem::create_directories(dir / "home");
  std::filesystem::copy_file("/etc/speech-dispatcher/modules/espeak-ng.conf",
                             dir / "conf" / "modules" / "espeak-ng.conf");
  std::ofstream(dir / "conf" / "speechd.conf")
      << "AudioOutputMethod \"libao\"\nAddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
         "DefaultModule espeak-ng\nLogLevel 5\n";
  std::ofstream(dir / "home" / ".libao") << "default_driver=null\n";
  const std::string socket = (dir / "s.sock").string(), home = "HOME=" + (dir / "home").string();
  std::vector<std::string> args{daemon.string(), "-s", "-t", "10", "-c", "unix_socket", "-S", socket,
                                "-C", (dir / "conf").string(), "-L", dir.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env{home};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("HOME=", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  // Its chatter goes to a file of the test's, not the test's output.
  posix_spawn_file_actions_t output;
  posix_spawn_file_actions_init(&output);
  const std::string chatter = (dir / "output").string();
  posix_spawn_file_actions_addopen(&output, 1, chatter.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_adddup2(&output, 1, 2);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &output, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&output);
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(socket); }));

  setenv("SPEECHD_ADDRESS", ("unix_socket:" + socket).c_str(), 1);
  {
    TSpeaker speaker("ru");
    speaker.Say("Кравелон говорит");
    EXPECT_TRUE(Eventually([&] {
      std::ifstream log(dir / "speech-dispatcher.log");
      std::stringstream text;
      text << log.rdbuf();
      return text.str().find("Queueing message |Кравелон говорит|") != std::string::npos;
    }));
    EXPECT_EQ(speaker.State(), TSpeechState::Ready) << speaker.Failure();
  }
  unsetenv("SPEECHD_ADDRESS");
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace kravelon
