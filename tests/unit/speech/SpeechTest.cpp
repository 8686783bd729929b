// The speaker against a recording stand-in for speech-dispatcher, through the real libspeechd in
// the speech service (this program started again); the screen reader's question against a bus
// that never answers.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "Speech/ScreenReader.h"
#include "Speech/Speech.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SsipStandIn.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

template <class TCondition>
bool Eventually(TCondition done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(10ms);
  return done();
}

// The game's thread, as far as the speech library can tell: what it posts waits here until the
// test runs it, on the test's thread.
class TPosted {
 public:
  TPoster Poster() {
    return [this](std::function<void()> work) {
      const std::lock_guard<std::mutex> hold(Lock);
      Waiting.push_back(std::move(work));
      return true;
    };
  }
  void Run() {
    std::vector<std::function<void()>> work;
    {
      const std::lock_guard<std::mutex> hold(Lock);
      work.swap(Waiting);
    }
    for (auto& w : work) w();
  }

 private:
  std::mutex Lock;
  std::vector<std::function<void()>> Waiting;
};

class SpeakerTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SPEECHD_ADDRESS", Daemon.Address().c_str(), 1); }
  void TearDown() override { unsetenv("SPEECHD_ADDRESS"); }

  std::unique_ptr<TSpeaker> Speaker(std::string language, TSpeakerOptions options = {}) {
    options.Language = std::move(language);
    return std::make_unique<TSpeaker>(options, Posted.Poster(),
                                      [this](const TSpeechNews& news) { News.push_back(news); });
  }
  // Runs what the speaker posted until `done`; false after five seconds.
  template <class TCondition>
  bool Heard(TCondition done) {
    return Eventually([&] {
      Posted.Run();
      return done();
    });
  }
  int Told(TSpeechState state) const {
    int count = 0;
    for (const TSpeechNews& news : News) count += news.State == state;
    return count;
  }

  TSsipStandIn Daemon;
  TPosted Posted;
  std::vector<TSpeechNews> News;
};

}  // namespace

TEST_F(SpeakerTest, LinesQueueAtMessagePriorityAndTheFocusSpeaksOnItsOwnConnection) {
  auto owned = Speaker("en");
  TSpeaker& speaker = *owned;
  speaker.Say("Game: the user fires at D5");
  speaker.Announce("D5, hit");
  ASSERT_TRUE(Daemon.WaitForCount(2));
  // Ready is told once, on the owner's thread.
  ASSERT_TRUE(Heard([&] { return !News.empty(); }));
  EXPECT_EQ(News.size(), 1u);
  EXPECT_EQ(News[0].State, TSpeechState::Ready);
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
  auto owned = Speaker("ru");
  TSpeaker& speaker = *owned;
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
  auto owned = Speaker("ru");
  TSpeaker& speaker = *owned;
  for (int i = 0; i < 30; ++i) {
    speaker.Announce("сектор " + std::to_string(i));
    if (i % 10 == 0) speaker.Say("строка " + std::to_string(i));
  }
  ASSERT_TRUE(Daemon.WaitForSpoken("сектор 29"));
  std::this_thread::sleep_for(200ms);  // nothing older comes after the newest
  std::vector<std::string> focus, lines;
  for (const TSpokenText& t : Daemon.Spoken())
    (t.Priority == "text" ? focus : lines).push_back(t.Text);
  EXPECT_EQ(focus.back(), "сектор 29");
  EXPECT_LT(focus.size(), 10u);
  EXPECT_EQ(lines, (std::vector<std::string>{"строка 0", "строка 10", "строка 20"}));
  int cancels = 0;
  for (const std::string& c : Daemon.Commands()) cancels += c == "CANCEL SELF";
  EXPECT_EQ(cancels, static_cast<int>(focus.size()));
}

TEST_F(SpeakerTest, ALineBreakInATextIsALineOfTheMessage) {
  auto owned = Speaker("ru");
  TSpeaker& speaker = *owned;
  speaker.Say("Стрелки: выбрать сектор\r\n.точка в начале\nF1: эта справка");
  ASSERT_TRUE(Daemon.WaitForCount(1));
  EXPECT_EQ(Daemon.Spoken()[0].Text, "Стрелки: выбрать сектор\n.точка в начале\nF1: эта справка");
}

TEST_F(SpeakerTest, SilenceCancelsBothConnections) {
  auto owned = Speaker("ru");
  TSpeaker& speaker = *owned;
  speaker.Say("строка");
  ASSERT_TRUE(Daemon.WaitForCount(1));
  speaker.Silence();
  ASSERT_TRUE(Eventually([&] {
    int cancels = 0;
    for (const std::string& c : Daemon.Commands()) cancels += c == "CANCEL SELF";
    return cancels == 2;
  }));
}

TEST_F(SpeakerTest, NoDaemonAtTheAddressMakesTheSpeakerUnavailableAndQuiet) {
  setenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/kravelon/speechd.sock", 1);
  auto speaker = Speaker("ru");
  speaker->Say("никто не слышит");
  speaker->Announce("и это");
  ASSERT_TRUE(Heard([&] { return !News.empty(); }));
  EXPECT_EQ(News[0].State, TSpeechState::Unavailable);
  EXPECT_EQ(News[0].Failure, TSpeechFailure::NotReached);
  EXPECT_NE(speaker->Failure().find("speechd.sock"), std::string::npos) << speaker->Failure();
  EXPECT_EQ(speaker->State(), TSpeechState::Unavailable);
  speaker->Say("после");  // dropped, not queued for ever
}

// A daemon that goes wrong, at the start or in the middle of a game: the speaker tells it once,
// drops what it is given (the next try is a minute away here), and speaks again when asked to
// connect once the daemon is back.
struct TTrouble {
  const char* Name;
  TSsipMode Start;                      // how the daemon answers the connection
  bool MidGame;                         // it goes wrong only after the first text
  void (*Fault)(TSsipStandIn& daemon);  // what goes wrong then
  TSpeechFailure Told;
};

const TTrouble Troubles[] = {
    {"GoesAway", TSsipMode::Answer, true, [](TSsipStandIn& d) { d.Drop(); }, TSpeechFailure::Lost},
    {"HangsMidGame", TSsipMode::Answer, true, [](TSsipStandIn& d) { d.SetMode(TSsipMode::Silent); },
     TSpeechFailure::Lost},
    {"AnswersGarbage", TSsipMode::Garbage, false, nullptr, TSpeechFailure::NoAnswer},
    {"NeverAnswers", TSsipMode::Silent, false, nullptr, TSpeechFailure::NoAnswer},
};

class SpeakerTrouble : public SpeakerTest, public ::testing::WithParamInterface<TTrouble> {};

TEST_P(SpeakerTrouble, IsToldOnceAndSpeechComesBackWhenAskedAgain) {
  const TTrouble& trouble = GetParam();
  Daemon.SetMode(trouble.Start);
  TSpeakerOptions options;
  options.ConnectTimeout = options.AnswerTimeout = 700ms;
  options.RetryAfter = 60s;
  auto speaker = Speaker("ru", options);
  if (trouble.MidGame) {
    speaker->Say("первая");
    ASSERT_TRUE(Daemon.WaitForSpoken("первая"));
    trouble.Fault(Daemon);
    speaker->Say("вторая");
  }
  ASSERT_TRUE(Heard([&] { return Told(TSpeechState::Unavailable) > 0; }));
  EXPECT_EQ(News.back().Failure, trouble.Told) << News.back().Detail;
  for (int i = 0; i < 5; ++i) speaker->Announce("никто не слышит");
  std::this_thread::sleep_for(300ms);
  Posted.Run();
  EXPECT_EQ(Told(TSpeechState::Unavailable), 1);
  EXPECT_EQ(speaker->State(), TSpeechState::Unavailable);

  Daemon.Resume();
  Daemon.Clear();
  speaker->Reconnect();
  speaker->Say("снова");
  EXPECT_TRUE(Daemon.WaitForSpoken("снова"));
  EXPECT_TRUE(Heard([&] { return News.back().State == TSpeechState::Ready; }));
}

INSTANTIATE_TEST_SUITE_P(Daemon, SpeakerTrouble, ::testing::ValuesIn(Troubles),
                         [](const auto& info) { return std::string(info.param.Name); });

// Unavailable, the speaker tries again with a text, but no more often than it was told.
TEST_F(SpeakerTest, ATextTriesToConnectAgainOnceTheIntervalHasPassed) {
  TSpeakerOptions options;
  options.RetryAfter = 2s;
  auto speaker = Speaker("ru", options);
  speaker->Say("первая");
  ASSERT_TRUE(Daemon.WaitForSpoken("первая"));
  Daemon.Drop();
  ASSERT_TRUE(Heard([&] { return Told(TSpeechState::Unavailable) == 1; }));
  Daemon.Resume();
  const int connections = Daemon.Accepted();
  speaker->Say("слишком рано");
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(Daemon.Accepted(), connections);
  std::this_thread::sleep_for(2s);
  speaker->Say("пора");
  EXPECT_TRUE(Daemon.WaitForSpoken("пора"));
  EXPECT_FALSE(Daemon.WaitForSpoken("слишком рано", 0ms));
  EXPECT_TRUE(Heard([&] { return Told(TSpeechState::Ready) == 2; }));
}

// Shut down while the daemon hangs on the connection: the speaker kills its service and goes.
TEST_F(SpeakerTest, ShutDownWhileTheDaemonHangsKillsTheService) {
  Daemon.SetMode(TSsipMode::Silent);
  TSpeakerOptions options;
  options.ConnectTimeout = 600s;
  auto speaker = Speaker("ru", options);
  ASSERT_TRUE(Eventually([&] { return Daemon.Open() == 1; }));
  const auto start = std::chrono::steady_clock::now();
  speaker.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_TRUE(Eventually([&] { return Daemon.Open() == 0; }));
  Posted.Run();
  EXPECT_TRUE(News.empty());
}

// A bus that takes the connection and never says a word: the question keeps to its bound, where
// libdbus's own default would wait 25 seconds.
TEST(ScreenReader, ABusThatNeverAnswersCostsOnlyTheWaitAskedFor) {
  TScratchFolder folder;
  const std::string path = folder.Path() + "bus";
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 8), 0);
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + path).c_str(), 1);

  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ScreenReaderRunning(500));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);

  // Asked on a thread of its own, the answer comes through the poster.
  TPosted posted;
  std::optional<bool> answer;
  start = std::chrono::steady_clock::now();
  {
    TScreenReaderQuestion question(
        posted.Poster(), [&](bool running) { answer = running; }, 500);
    EXPECT_TRUE(Eventually([&] {
      posted.Run();
      return answer.has_value();
    }));
  }
  EXPECT_EQ(answer, false);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  // Gone before its answer came, the question answers nobody.
  answer.reset();
  {
    TScreenReaderQuestion question(
        posted.Poster(), [&](bool running) { answer = running; }, 500);
  }
  posted.Run();
  EXPECT_FALSE(answer.has_value());
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  ::close(listener);
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
      << "AudioOutputMethod \"libao\"\nAddModule \"espeak-ng\" \"sd_espeak-ng\" "
         "\"espeak-ng.conf\"\n"
         "DefaultModule espeak-ng\nLogLevel 5\n";
  std::ofstream(dir / "home" / ".libao") << "default_driver=null\n";
  const std::string socket = (dir / "s.sock").string(), home = "HOME=" + (dir / "home").string();
  std::vector<std::string> args{
      daemon.string(),         "-s", "-t",        "10", "-c", "unix_socket", "-S", socket, "-C",
      (dir / "conf").string(), "-L", dir.string()};
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
    TSpeakerOptions options;
    TSpeaker speaker(
        options, [](std::function<void()>) { return true; }, [](const TSpeechNews&) {});
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
