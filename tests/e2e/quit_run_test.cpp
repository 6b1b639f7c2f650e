// The real executable, headless: the game is ended while a Quick Start match
// loads, while it is played and while its pause menu shows. Each time the
// match and its 3D scene are shut down before the program ends: the exit code
// is 0 and the sanitizers report nothing (a leaked scene fails the run).
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;

// The game ended with code 0 and no sanitizer report.
void ExpectCleanEnd(korvena_test::GameRun r) {
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
}

// Quick Start from the main menu, the keyboard on the home side.
const std::string kQuickStart =
    scriptKey(65, "RIGHT") + scriptKey(80, "RETURN") + scriptKey(86, "LEFT") + scriptKey(92, "RETURN");

TEST_F(Game, QuittingInTheMiddleOfAMatchShutsTheMatchDown) { ExpectCleanEnd(run(kQuickStart + "700 quit\n")); }

TEST_F(Game, ClosingTheWindowWhileAMatchLoadsShutsTheSceneDown) {
  // By step 150 the people of both sides are made and the loading screen
  // still shows.
  ExpectCleanEnd(run(kQuickStart + "150 close\n"));
}

TEST_F(Game, ClosingTheWindowOverThePauseMenuShutsTheMatchDown) {
  ExpectCleanEnd(run(kQuickStart + scriptKey(700, "ESCAPE") + "760 close\n"));
}

}  // namespace
