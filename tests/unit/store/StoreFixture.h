#pragma once
// A scratch folder for the files, and the few things the tests read back from it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "Store/Record.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The names in a folder, sorted.
inline std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A game a real board could give; `mark` tells the games apart.
inline TGameResult Game(bool userWon, int mark = 0) {
  TGameResult game;
  game.Date = "2025-01-31T23:59:5" + std::to_string(mark % 10) + "Z";
  game.UserWon = userWon;
  game.UserShots = 40 + mark % 50;
  game.UserHits = userWon ? 20 : 12;
  game.ComputerShots = 60;
  game.ComputerHits = userWon ? 15 : 20;
  return game;
}

// A game as a failed expectation shows it.
inline void PrintTo(const TGameResult& game, std::ostream* out) {
  *out << game.Date << ' '
       << (game.Player.empty() ? std::string(LevelWord(game.Level)) : "player:" + game.Player)
       << " rules " << game.Rules.Touching << game.Rules.Salvo << game.Rules.ExtraShot
       << " outcome " << static_cast<int>(game.Outcome()) << ' ' << game.UserShots << ' '
       << game.UserHits << ' ' << game.ComputerShots << ' ' << game.ComputerHits;
}

// Runs `body` in a child process; its exit status, or 128 + the signal that ended it.
inline int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

}  // namespace kravelon
