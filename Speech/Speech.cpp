#include "Speech/Speech.h"

#include <speech-dispatcher/libspeechd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace kravelon {

namespace {

enum class TJob { Line, Focus, Cancel, Language };

struct TItem {
  TJob Job;
  std::string Text;
};

// SSIP ends a line with CR LF; a text's own line breaks become the same, so that libspeechd's
// escaping of a line that starts with a dot applies to each of them.
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
  return out;
}

}  // namespace

struct TSpeaker::TShared {
  std::mutex Lock;
  std::condition_variable Wake;      // the worker: something to do, or stop
  std::condition_variable Finished;  // the owner: the worker has closed its connections
  std::deque<TItem> Queue;
  bool Stop = false;
  bool Done = false;
  TSpeechState State = TSpeechState::Connecting;
  std::string Failure;
  std::string Language;

  void Push(TItem item) {
    {
      const std::lock_guard<std::mutex> hold(Lock);
      if (State == TSpeechState::Unavailable) return;
      Queue.push_back(std::move(item));
    }
    Wake.notify_one();
  }
};

TSpeaker::TSpeaker(std::string language) : Shared(std::make_shared<TShared>()) {
  Shared->Language = std::move(language);
  std::thread([shared = Shared] { Work(shared); }).detach();
}

TSpeaker::~TSpeaker() {
  std::unique_lock<std::mutex> hold(Shared->Lock);
  Shared->Stop = true;
  Shared->Queue.clear();
  Shared->Wake.notify_one();
  // A connected worker closes at once; one still connecting (an autospawn taking its time) is
  // left to finish alone: it holds its own share of the state.
  Shared->Finished.wait_for(hold, std::chrono::milliseconds(250), [this] { return Shared->Done; });
}

void TSpeaker::Say(const std::string& text) { Shared->Push({TJob::Line, ProtocolLines(text)}); }

void TSpeaker::Announce(const std::string& text) {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    if (Shared->State == TSpeechState::Unavailable) return;
    std::erase_if(Shared->Queue, [](const TItem& item) { return item.Job == TJob::Focus; });
    Shared->Queue.push_back({TJob::Focus, ProtocolLines(text)});
  }
  Shared->Wake.notify_one();
}

void TSpeaker::Silence() {
  {
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    if (Shared->State == TSpeechState::Unavailable) return;
    Shared->Queue.clear();
    Shared->Queue.push_back({TJob::Cancel, {}});
  }
  Shared->Wake.notify_one();
}

void TSpeaker::SetLanguage(const std::string& language) { Shared->Push({TJob::Language, language}); }

TSpeechState TSpeaker::State() const {
  const std::lock_guard<std::mutex> hold(Shared->Lock);
  return Shared->State;
}

std::string TSpeaker::Failure() const {
  const std::lock_guard<std::mutex> hold(Shared->Lock);
  return Shared->Failure;
}

namespace {

struct TConnections {
  SPDConnection* Lines = nullptr;
  SPDConnection* Focus = nullptr;
  ~TConnections() { Close(); }
  void Close() {
    if (Focus) spd_close(Focus);
    if (Lines) spd_close(Lines);
    Focus = Lines = nullptr;
  }
};

}  // namespace

// Two connections: the lines speak at "message" priority, which the daemon queues and never
// lets lower priorities cut; the focus speaks at "text" priority on a connection of its own,
// so that cancelling the focus's last words never touches a line.
void TSpeaker::Work(const std::shared_ptr<TShared>& shared) {
  TConnections spd;
  std::string error;
  {
    // A daemon named by SPEECHD_ADDRESS is the user's choice: the game starts none of its own
    // there (libspeechd would try, and fail only after a second or more).
    const char* address = std::getenv("SPEECHD_ADDRESS");
    const int autospawn = address == nullptr || *address == '\0';
    char* reason = nullptr;
    spd.Lines = spd_open2("kravelon", "lines", nullptr, SPD_MODE_SINGLE, nullptr, autospawn, &reason);
    if (spd.Lines) {
      spd.Focus = spd_open2("kravelon", "focus", nullptr, SPD_MODE_SINGLE, nullptr, 0, &reason);
    }
    if (!spd.Focus) error = reason ? reason : "speech-dispatcher did not answer";
    std::free(reason);
  }

  std::unique_lock<std::mutex> hold(shared->Lock);
  if (!spd.Focus) {
    shared->State = TSpeechState::Unavailable;
    shared->Failure = error;
    shared->Queue.clear();
  } else {
    shared->State = TSpeechState::Ready;
    shared->Queue.push_front({TJob::Language, shared->Language});
  }
  while (shared->State == TSpeechState::Ready) {
    shared->Wake.wait(hold, [&] { return shared->Stop || !shared->Queue.empty(); });
    if (shared->Stop) break;
    TItem item = std::move(shared->Queue.front());
    shared->Queue.pop_front();
    hold.unlock();
    // Each call waits for the daemon's answer: this thread's, never the game's.
    int status = 0;
    switch (item.Job) {
      case TJob::Line: status = spd_say(spd.Lines, SPD_MESSAGE, item.Text.c_str()); break;
      case TJob::Focus:
        spd_cancel(spd.Focus);
        status = spd_say(spd.Focus, SPD_TEXT, item.Text.c_str());
        break;
      case TJob::Cancel:
        spd_cancel(spd.Lines);
        spd_cancel(spd.Focus);
        break;
      case TJob::Language:
        status = spd_set_language(spd.Lines, item.Text.c_str()) |
                 spd_set_language(spd.Focus, item.Text.c_str());
        break;
    }
    hold.lock();
    if (status < 0) {
      shared->State = TSpeechState::Unavailable;
      shared->Failure = "speech-dispatcher stopped answering";
      shared->Queue.clear();
    }
  }
  hold.unlock();
  spd.Close();
  hold.lock();
  shared->Done = true;
  shared->Finished.notify_all();
}

}  // namespace kravelon
