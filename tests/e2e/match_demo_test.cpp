// The real executable, headless: left idle at the main menu it starts the
// demo match, which loads, kicks off, plays into open play and runs on
// without an assertion; Quick Start from the menu sets up a match the same way.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::readFile;

std::size_t Count(const std::string& s, const std::string& w) {
  std::size_t n = 0;
  for (std::size_t at = s.find(w); at != std::string::npos; at = s.find(w, at + 1)) n++;
  return n;
}

TEST_F(Game, IdleAtTheMainMenuTheDemoMatchKicksOffAndPlaysOn) {
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  // 1500 idle frames at the menu, the loading, then the match.
  timeLimitSeconds_ = 600;
  korvena_test::GameRun r = run("2990 echo still running\n3000 quit 0\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string d = readFile(log);
  // The first kick-off, then the match runs on to the end of the script
  // (some 1400 frames after the 1500 idle ones and the loading).
  EXPECT_GE(Count(d, "kick-off: side"), 1u) << d.substr(0, 2000);
  EXPECT_NE(r.out.find("still running"), std::string::npos) << r.out;
}

}  // namespace
