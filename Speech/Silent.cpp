// The speech library of a build without speech (KRAVELON_SPEECH off): the same interface, linking
// neither libspeechd nor libdbus. The speaker says at once, and whenever asked to connect, that
// this build has no speech; no screen reader is ever found.
#include "Speech/ScreenReader.h"
#include "Speech/Speech.h"
#include "Speech/SpeechService.h"

namespace kravelon {

struct TSpeaker::TShared {};

bool SpeechBuiltIn() { return false; }

TSpeaker::TSpeaker(TSpeakerOptions options, TPoster post, TNewsHandler heard)
    : Options(std::move(options)),
      Post(std::move(post)),
      Heard(std::make_shared<TNewsHandler>(std::move(heard))) {
  Tell({TSpeechState::Unavailable, TSpeechFailure::NotBuiltIn, "built without speech"});
}

TSpeaker::~TSpeaker() = default;
void TSpeaker::Say(const std::string&) {}
void TSpeaker::Announce(const std::string&) {}
void TSpeaker::Silence() {}
void TSpeaker::SetLanguage(const std::string&) {}
void TSpeaker::Reconnect() {
  Tell({TSpeechState::Unavailable, TSpeechFailure::NotBuiltIn, "built without speech"});
}
TSpeechState TSpeaker::State() const { return TSpeechState::Unavailable; }
std::string TSpeaker::Failure() const { return "built without speech"; }

void TSpeaker::Tell(TSpeechNews news) {
  std::weak_ptr<TNewsHandler> heard = Heard;
  if (Post)
    Post([heard, news = std::move(news)] {
      if (const auto handler = heard.lock()) (*handler)(news);
    });
}

void TSpeaker::Work() {}

bool ScreenReaderRunning(int) { return false; }

TScreenReaderQuestion::TScreenReaderQuestion(TPoster post, std::function<void(bool)> answered, int)
    : Answered(std::make_shared<std::function<void(bool)>>(std::move(answered))) {
  std::weak_ptr<std::function<void(bool)>> answer = Answered;
  post([answer] {
    if (const auto handler = answer.lock()) (*handler)(false);
  });
}

TScreenReaderQuestion::~TScreenReaderQuestion() = default;

std::vector<std::string> SpeechServiceCommand() { return {}; }
bool IsSpeechService(int, char**) { return false; }
int RunSpeechService() { return 1; }

}  // namespace kravelon
