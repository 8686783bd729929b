#include "Speech/Speech.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>
#include <mutex>

#include "Speech/ServiceProcess.h"
#include "Speech/SpeechService.h"

namespace kravelon {

namespace {

using TClock = std::chrono::steady_clock;

struct TItem {
  char Job;  // one of the service's jobs
  std::string Text;
};

// SSIP ends a line with CR LF; a text's own line breaks become the same, so that libspeechd's
// escaping of a line that starts with a dot applies to each of them. A text longer than one
// message of the channel is cut at a character's start.
std::string ProtocolLines(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    if (text[i] == '\n') {
      out += "\r\n";
      continue;
    }
    out += text[i];
  }
  std::size_t limit = service::MaxMessage - 1;
  if (out.size() > limit) {
    while (limit > 0 && (static_cast<unsigned char>(out[limit]) & 0xC0) == 0x80) --limit;
    out.resize(limit);
  }
  return out;
}

}  // namespace

bool SpeechBuiltIn() { return true; }

struct TSpeaker::TShared {
  std::mutex Lock;
  std::deque<TItem> Queue;
  bool Stop = false;
  bool WantConnect = false;
  TSpeechState State = TSpeechState::Unavailable;
  std::string Failure;
  std::string Language;
  TClock::time_point FailedAt{};
  std::chrono::milliseconds RetryAfter{};
  int Wake = -1;      // an eventfd: the worker waits on it with the service's channel
  bool Idle = false;  // the worker waits for work: a new job must wake it (a busy one looks anyway)

  void Signal() const {
    const std::uint64_t one = 1;
    (void)!::write(Wake, &one, sizeof one);
  }
  void Drain() const {
    std::uint64_t count;
    (void)!::read(Wake, &count, sizeof count);
  }
  // Whether a text may go in (under the lock). Unavailable, it tries again now and then.
  bool Accepts() {
    if (State != TSpeechState::Unavailable) return true;
    if (TClock::now() - FailedAt < RetryAfter) return false;
    Connect();
    return true;
  }
  // Asks the worker for a new connection (under the lock). Its first job sets the voice: what
  // comes after, a change of language included, waits in turn.
  void Connect() {
    State = TSpeechState::Connecting;
    WantConnect = true;
    Queue.push_front({service::Language, Language});
  }
};

TSpeaker::TSpeaker(TSpeakerOptions options, TPoster post, TNewsHandler heard)
    : Options(std::move(options)),
      Post(std::move(post)),
      Heard(std::make_shared<TNewsHandler>(std::move(heard))),
      Shared(std::make_unique<TShared>()) {
  if (Options.Service.empty()) Options.Service = SpeechServiceCommand();
  Shared->Language = Options.Language;
  Shared->RetryAfter = Options.RetryAfter;
  Shared->Connect();
  Shared->Wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  Worker = std::thread([this] { Work(); });
}

TSpeaker::~TSpeaker() {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    Shared->Stop = true;
    Shared->Queue.clear();
  }
  Shared->Signal();
  Worker.join();
  ::close(Shared->Wake);
}

void TSpeaker::Say(const std::string& text) {
  bool wake = false;
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    if (!Shared->Accepts()) return;
    Shared->Queue.push_back({service::Line, ProtocolLines(text)});
    wake = Shared->Idle;
  }
  if (wake) Shared->Signal();
}

void TSpeaker::Announce(const std::string& text) {
  bool wake = false;
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    if (!Shared->Accepts()) return;
    std::erase_if(Shared->Queue, [](const TItem& item) { return item.Job == service::Focus; });
    Shared->Queue.push_back({service::Focus, ProtocolLines(text)});
    wake = Shared->Idle;
  }
  if (wake) Shared->Signal();
}

void TSpeaker::Silence() {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    std::erase_if(Shared->Queue, [](const TItem& item) { return item.Job != service::Language; });
    if (Shared->State != TSpeechState::Ready) return;
    Shared->Queue.push_back({service::Cancel, {}});
  }
  Shared->Signal();
}

void TSpeaker::SetLanguage(const std::string& language) {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    Shared->Language = language;
    // In turn with the texts: what was said before it keeps the voice it was said in. Unavailable,
    // the next connection starts in it.
    if (Shared->State == TSpeechState::Unavailable) return;
    Shared->Queue.push_back({service::Language, language});
  }
  Shared->Signal();
}

void TSpeaker::Reconnect() {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    if (Shared->State != TSpeechState::Unavailable) return;
    Shared->Connect();
  }
  Shared->Signal();
}

TSpeechState TSpeaker::State() const {
  const std::lock_guard<std::mutex> hold(Shared->Lock);
  return Shared->State;
}

std::string TSpeaker::Failure() const {
  const std::lock_guard<std::mutex> hold(Shared->Lock);
  return Shared->Failure;
}

void TSpeaker::Tell(TSpeechNews news) {
  std::weak_ptr<TNewsHandler> heard = Heard;
  // Posting fails only when the game's queue is full or gone: the news is then lost, and the next
  // change brings the state up to date.
  if (Post)
    Post([heard, news = std::move(news)] {
      if (const auto handler = heard.lock()) (*handler)(news);
    });
}

// The worker: starts the service, hands it one job at a time and waits for its answer, each wait
// bounded and broken at once by the owner's wake-up. Any failure kills the service and makes
// speech unavailable until the owner or a later text asks again.
void TSpeaker::Work() {
  TServiceProcess service;
  TShared& shared = *Shared;
  enum class TWaited { Message, Failed, Stopped, Woken };
  // The service's next message before `deadline`; Failed when it ends or the time runs out. Idle,
  // the owner's wake-up ends the wait too; busy, only its stop does.
  const auto await = [&](std::string& message, TClock::time_point deadline, std::string& why,
                         bool idle) {
    for (;;) {
      switch (service.Receive(message, shared.Wake, deadline)) {
        case TServiceProcess::TReceived::Message:
          if (!message.empty()) return TWaited::Message;
          break;
        case TServiceProcess::TReceived::Closed:
          why = "the speech service ended";
          return TWaited::Failed;
        case TServiceProcess::TReceived::TimedOut:
          why = "speech-dispatcher did not answer in time";
          return TWaited::Failed;
        case TServiceProcess::TReceived::Woken: {
          shared.Drain();
          const std::lock_guard<std::mutex> hold(shared.Lock);
          if (shared.Stop) return TWaited::Stopped;
          if (idle) return TWaited::Woken;
          break;
        }
      }
    }
  };
  const auto fail = [&](TSpeechFailure failure, std::string why) {
    service.Stop(std::chrono::milliseconds(0));
    {
      const std::lock_guard<std::mutex> hold(shared.Lock);
      shared.State = TSpeechState::Unavailable;
      shared.Failure = why;
      shared.FailedAt = TClock::now();
      shared.Queue.clear();
    }
    Tell({TSpeechState::Unavailable, failure, std::move(why)});
  };

  std::string message, why;
  for (;;) {
    bool connect = false;
    TItem item{};
    {
      const std::lock_guard<std::mutex> hold(shared.Lock);
      if (shared.Stop) break;
      shared.Idle = false;
      if (shared.WantConnect) {
        shared.WantConnect = false;
        connect = true;
      } else if (shared.State == TSpeechState::Ready && !shared.Queue.empty()) {
        item = std::move(shared.Queue.front());
        shared.Queue.pop_front();
      } else {
        shared.Idle = true;
      }
    }
    if (connect || item.Job != 0) {
      // Either the service started and heard say it is ready, or a job handed over and heard
      // done: each with its own bound, and a failure of its own kind.
      const bool handed = connect ? service.Start(Options.Service)
                                  : service.Send(std::string(1, item.Job) + item.Text);
      if (!handed) {
        fail(connect ? TSpeechFailure::NotReached : TSpeechFailure::Lost,
             connect ? "the speech service could not start" : "the speech service has gone");
        continue;
      }
      const auto bound = connect ? Options.ConnectTimeout : Options.AnswerTimeout;
      const TWaited waited = await(message, TClock::now() + bound, why, false);
      if (waited == TWaited::Stopped) break;
      if (waited == TWaited::Failed) {
        // Killed for taking too long, or ended by libspeechd over an answer it could not read.
        fail(connect ? TSpeechFailure::NoAnswer : TSpeechFailure::Lost, why);
      } else if (!connect) {
        if (message[0] != service::Done) fail(TSpeechFailure::Lost, message.substr(1));
      } else if (message[0] == service::Ready) {
        {
          const std::lock_guard<std::mutex> hold(shared.Lock);
          shared.State = TSpeechState::Ready;
          shared.Failure.clear();
        }
        Tell({TSpeechState::Ready, TSpeechFailure::None, {}});
      } else {
        fail(message[0] == service::NotReached ? TSpeechFailure::NotReached
                                               : TSpeechFailure::NoAnswer,
             message.substr(1));
      }
    } else {
      // Nothing to do: wait for the owner, or for the service to say the daemon went away.
      const TWaited waited = await(message, TClock::time_point::max(), why, true);
      if (waited == TWaited::Stopped) break;
      if (waited == TWaited::Woken || !service.Running()) continue;
      if (waited == TWaited::Failed)
        fail(TSpeechFailure::Lost, why);
      else if (message[0] == service::Lost)
        fail(TSpeechFailure::Lost, message.substr(1));
    }
  }
  // Goodbye to the daemon takes the service a moment; one stuck in libspeechd is killed.
  service.Stop(std::chrono::milliseconds(200));
}

}  // namespace kravelon
