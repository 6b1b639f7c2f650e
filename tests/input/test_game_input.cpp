// The whole game, headless, driven by scripted input: Escape on the main
// menu ends it, and keys pressed while the game is in the background never
// reach it.
#include <string>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_game.h"

using korvena_test::GameRun;
using korvena_test::runGame;

namespace {

using GameInput = korvena_test::GameRunner;

// The main menu's way out: down twice to Exit, select (Return, released),
// left to "Yes", select.
const char* const kMenuExit =
    "40 keydown DOWN\n42 keyup DOWN\n44 keydown DOWN\n46 keyup DOWN\n"
    "50 keydown RETURN\n52 keyup RETURN\n56 keydown LEFT\n58 keyup LEFT\n";

TEST_F(GameInput, ExitAndYesOnTheMainMenuEndTheGame) {
  GameRun r = run(std::string(kMenuExit) +
                  "62 keydown RETURN\n"
                  "64 keyup RETURN\n"
                  "400 quit 5   # only when the keys did nothing\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(GameInput, KeysTappedWithinOnePumpStillCount) {
  // Every key goes down and up again before the keyboard is read.
  GameRun r = run(
      "40 keydown DOWN\n40 keyup DOWN\n44 keydown DOWN\n44 keyup DOWN\n"
      "50 keydown RETURN\n50 keyup RETURN\n56 keydown LEFT\n56 keyup LEFT\n"
      "62 keydown RETURN\n62 keyup RETURN\n"
      "400 quit 5   # only when the taps were lost\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(GameInput, WithoutEscapeTheScriptQuits) {
  GameRun r = run("20 keydown SPACE\n25 keyup SPACE\n60 quit 5\n");
  EXPECT_EQ(r.exitCode, 5) << r.err;
}

TEST_F(GameInput, KeysInTheBackgroundDoNotReachTheGame) {
  GameRun r = run(std::string(kMenuExit) +
                  "60 activate 0\n"
                  "62 keydown RETURN\n"
                  "64 keyup RETURN\n"
                  "70 activate 1\n"
                  "160 quit 5\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 5) << r.err;
}

TEST_F(GameInput, AKeyStillHeldAfterComingBackCounts) {
  GameRun r = run(std::string(kMenuExit) +
                  "60 activate 0\n"
                  "62 keydown RETURN\n"
                  "70 activate 1\n"
                  "80 keyup RETURN\n"
                  "160 quit 5\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(GameInput, ADamagedInputLineStopsTheGameBeforeItStarts) {
  GameRun r = run("5 joyaxis 0 W 100\n");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
}

}  // namespace
