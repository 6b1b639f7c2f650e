#pragma once
// Runs the real game executable headless with its own environment and
// collects its exit code and output.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/temp_dir.h"

namespace korvena_test {

struct GameRun {
  int exitCode = -1;  // -1: killed after the time limit or by a signal
  bool timedOut = false;
  std::string out;
  std::string err;
};

// env: variables to set ("" as value removes the variable). Output goes to
// stdout.txt and stderr.txt in outputDir.
GameRun runGame(const std::string& exe, const std::map<std::string, std::string>& env,
                const std::string& outputDir, int timeLimitSeconds = 120);

// A test of the whole game: the built executable, a home folder of its own
// (settings, saves and the instance lock stay inside) and a scripted run.
class GameRunner : public ::testing::Test {
 protected:
  void SetUp() override;
  // Writes the headless script and runs the game with it.
  GameRun run(const std::string& script);

  std::string exe_;
  TempDir home_;
  std::map<std::string, std::string> env_;
};

}  // namespace korvena_test
