// The read–merge–write that the settings and the record share, driven through each of them: a file
// it cannot read is moved aside whole and a new one started; whatever stands in the way (a folder
// or a device in place of the file, a file in place of the folder, a folder it may not write, a
// full disk) costs one console line for the whole run of failures, and the write once the way is
// clear (the one the game makes as it ends) carries every change made meanwhile.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <memory>

#include "Store/RecordFile.h"
#include "Store/Settings.h"
#include "tests/unit/store/StoreFixture.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;

// One of the files, as the table drives it: change number `step` (from 1), and whether a text
// holds changes 1 to `steps`.
class TKept {
 public:
  virtual ~TKept() = default;
  virtual std::vector<std::string> Change(int step) = 0;
  virtual bool Holds(const std::string& text, int steps) const = 0;
  // Writes what a failed write left, as the game does when it ends.
  virtual std::vector<std::string> Flush() = 0;
  // What the game still knows of the changes not written (the statistics count such games).
  virtual bool Remembers(int steps) const = 0;
};

std::vector<TGameResult> GamesUpTo(int steps) {
  std::vector<TGameResult> games;
  for (int step = 1; step <= steps; ++step) games.push_back(Game(step % 2 == 1, step));
  return games;
}

class TKeptRecord : public TKept {
 public:
  explicit TKeptRecord(const std::string& folder) : Record(folder) { Record.Load(); }
  std::vector<std::string> Change(int step) override { return Record.Add(GamesUpTo(step).back()); }
  bool Holds(const std::string& text, int steps) const override {
    return ParseRecord(text) == GamesUpTo(steps);
  }
  std::vector<std::string> Flush() override { return Record.Flush(); }
  bool Remembers(int steps) const override { return Record.Games() == GamesUpTo(steps); }

 private:
  TRecordFile Record;
};

// Odd steps set the sound switch, even ones the speech switch, each to a value it did not have.
class TKeptSettings : public TKept {
 public:
  explicit TKeptSettings(const std::string& folder) : File(folder) {}
  static bool Value(int step) { return step % 4 >= 2; }
  std::vector<std::string> Change(int step) override {
    return step % 2 == 1 ? File.SaveSound(Value(step)) : File.SaveSpeech(Value(step));
  }
  bool Holds(const std::string& text, int steps) const override {
    std::vector<std::string> notes;
    const TSettings settings = TSettings::Parse(text, notes);
    const int sound = steps % 2 == 1 ? steps : steps - 1,
              speech = steps % 2 == 0 ? steps : steps - 1;
    return notes.empty() && !settings.HasBrokenLines() && settings.Sound() == Value(sound) &&
           settings.Speech() == (speech > 0 ? std::optional(Value(speech)) : std::nullopt);
  }
  std::vector<std::string> Flush() override { return File.Flush(); }
  bool Remembers(int) const override { return true; }  // the switches live in the window

 private:
  TSettingsFile File;
};

struct TKind {
  const char* Name;  // the file's, in its folder
  std::size_t SizeLimit;
  std::vector<std::string> Unreadable;
  std::function<std::unique_ptr<TKept>(const std::string& folder)> Open;
};

const TKind Kinds[] = {
    {"record",
     RecordSizeLimit,
     {"not a record at all\n", FormatRecord({Game(true)}).substr(0, 40),
      std::string(RecordHeaderVersion1) + "\n" + "2025-01-31T23:59:59Z user 45 19 60 15\n"},
     [](const std::string& folder) { return std::make_unique<TKeptRecord>(folder); }},
    {"kravelon.ini",
     TSettingsFile::SizeLimit,
     {"[game]\nthis line is no setting\n", std::string("[game]\nsound = true\n\0\n", 22)},
     [](const std::string& folder) { return std::make_unique<TKeptSettings>(folder); }},
};

class DurableUpdateTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path() + "kept/kravelon";
};

TEST_F(DurableUpdateTest, AFileItCannotReadIsMovedAsideWholeAndANewOneStarted) {
  for (const TKind& kind : Kinds) {
    const std::string path = Folder + "/" + kind.Name;
    std::vector<std::string> inputs = kind.Unreadable;
    inputs.push_back(std::string(kind.SizeLimit + 1, '#'));  // too large to read
    for (const std::string& bytes : inputs) {
      SCOPED_TRACE(std::string(kind.Name) + ": " + bytes.substr(0, 40));
      fs::remove_all(Folder);
      fs::create_directories(Folder);
      WriteText(path, bytes);
      const auto kept = kind.Open(Folder);
      const auto lines = kept->Change(1);
      ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
      EXPECT_NE(lines[0].find(path), std::string::npos) << lines[0];
      EXPECT_TRUE(kept->Holds(ReadText(path), 1)) << ReadText(path);
      std::vector<std::string> aside;
      for (const auto& name : Names(Folder))
        if (name.starts_with(std::string(kind.Name) + ".damaged-")) aside.push_back(name);
      ASSERT_EQ(aside.size(), 1u);
      EXPECT_EQ(ReadText(Folder + "/" + aside[0]), bytes);
      EXPECT_NE(lines[0].find(aside[0]), std::string::npos) << lines[0];
      EXPECT_TRUE(kept->Change(2).empty());  // the new file is read as it was written
      EXPECT_TRUE(kept->Holds(ReadText(path), 2)) << ReadText(path);
    }
  }
}

rlimit RoomLimit{};  // the file size limit before a full disk is played

// What stands in the way, made and cleared inside a child process (limits and privileges stay
// there). `FileStays`: the file is written before and must come through the failures unchanged.
struct TBlock {
  const char* Name;
  bool FileStays;
  const char* Says;  // what the console line names, besides the file
  std::function<void(const std::string&folder, const std::string&path)> Block, Clear;
};

const TBlock Blocks[] = {
    {"a folder in place of the file", false, "папка",
     [](const std::string&, const std::string& path) { fs::create_directories(path); },
     [](const std::string&, const std::string& path) { fs::remove(path); }},
    {"a device in place of the file", false, "устройство",
     [](const std::string& folder, const std::string& path) {
       fs::create_directories(folder);
       fs::create_symlink("/dev/null", path);
     },
     [](const std::string&, const std::string& path) { fs::remove(path); }},
    {"a named pipe in place of the file", false, "именованный канал",
     [](const std::string& folder, const std::string& path) {
       fs::create_directories(folder);
       mkfifo(path.c_str(), 0600);
     },
     [](const std::string&, const std::string& path) { fs::remove(path); }},
    {"a file in place of the folder", false, "",
     [](const std::string& folder, const std::string&) {
       fs::create_directories(fs::path(folder).parent_path());
       WriteText(folder, "x");
     },
     [](const std::string& folder, const std::string&) { fs::remove(folder); }},
    {"a folder the game may not write", true, "",
     [](const std::string& folder, const std::string&) {
       chmod(folder.c_str(), 0500);
       // Root writes anywhere: the game runs as nobody until the way is clear.
       if (getuid() == 0 && (setegid(65534) != 0 || seteuid(65534) != 0)) _exit(90);
     },
     [](const std::string& folder, const std::string&) {
       if (getuid() == 0 && (seteuid(0) != 0 || setegid(0) != 0)) _exit(91);
       chmod(folder.c_str(), 0700);
     }},
    {"a full disk", true, "",
     // A file size limit makes every write past a few bytes fail as a full disk does, root or not.
     [](const std::string&, const std::string&) {
       std::signal(SIGXFSZ, SIG_IGN);
       getrlimit(RLIMIT_FSIZE, &RoomLimit);
       const rlimit full{16, RoomLimit.rlim_max};
       setrlimit(RLIMIT_FSIZE, &full);
     },
     [](const std::string&, const std::string&) { setrlimit(RLIMIT_FSIZE, &RoomLimit); }},
};

TEST_F(DurableUpdateTest, WhatStandsInTheWayCostsOneLineAndTheNextWriteCarriesEveryChange) {
  for (const TKind& kind : Kinds) {
    for (const TBlock& block : Blocks) {
      SCOPED_TRACE(std::string(kind.Name) + ", " + block.Name);
      const std::string path = Folder + "/" + kind.Name;
      fs::remove_all(Scratch.Path() + "kept");
      std::string before;
      if (block.FileStays) {
        ASSERT_TRUE(kind.Open(Folder)->Change(1).empty());
        before = ReadText(path);
      }
      const int first = block.FileStays ? 2 : 1;
      // The child's exit status says which check failed.
      const int status = InChild([&] {
        const auto kept = kind.Open(Folder);
        block.Block(Folder, path);
        const auto lines = kept->Change(first);
        if (lines.size() != 1) return 1;
        if (lines[0].find(path) == std::string::npos ||
            lines[0].find(block.Says) == std::string::npos)
          return 2;
        if (!kept->Change(first + 1).empty()) return 3;  // a second line for the same failure
        if (!kept->Remembers(first + 1)) return 4;
        block.Clear(Folder, path);
        if (block.FileStays && ReadText(path) != before) return 5;
        if (!kept->Flush().empty()) return 6;
        return 0;
      });
      EXPECT_EQ(status, 0);
      EXPECT_TRUE(kind.Open(Folder)->Holds(ReadText(path), first + 1)) << ReadText(path);
      // Nothing left beside the file: no leftovers of the failed writes.
      EXPECT_EQ(Names(Folder),
                (std::vector<std::string>{kind.Name, std::string(kind.Name) + ".lock"}));
    }
  }
}

}  // namespace

}  // namespace kravelon
