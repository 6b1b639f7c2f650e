// The whole game, headless, with the shell's real start-up and states: it
// reaches the main menu, whose Exit and "Yes" end the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "support/run_game.h"

using korvena_test::GameRun;
using korvena_test::runGame;

namespace {

using GameRunTest = korvena_test::GameRunner;

TEST_F(GameRunTest, ExitOnTheMainMenuEndsTheGameAndTheSettingsAreWritten) {
  // Down twice to Exit, select (Return), left to "Yes", select.
  GameRun r = run(
      "1 echo started\n40 keydown DOWN\n42 keyup DOWN\n44 keydown DOWN\n46 keyup DOWN\n"
      "50 keydown RETURN\n52 keyup RETURN\n56 keydown LEFT\n58 keyup LEFT\n62 keydown RETURN\n64 keyup RETURN\n"
      "3000 quit 9\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // ended through the menu, not by the scripted quit
  EXPECT_EQ(r.out, "started\n");
  const std::string oText = korvena_test::readFile(home_ / "machine.txt");
  EXPECT_NE(oText.find("@=string:\"Compact\""), std::string::npos) << oText;
  EXPECT_NE(oText.find("\"LODBias\"=dword:00000002"), std::string::npos) << oText;
}

// Closing the window, after the game lost and regained the foreground, ends
// the program through the normal shut-down: the settings are written back.
TEST_F(GameRunTest, AWindowCloseAfterLosingTheForegroundEndsTheGameCleanly) {
  GameRun r = run("1 echo started\n20 activate 0\n40 activate 1\n60 close\n3000 quit 9\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "started\n");
  const std::string oText = korvena_test::readFile(home_ / "machine.txt");
  EXPECT_NE(oText.find("@=string:\"Compact\""), std::string::npos) << oText;
}

TEST_F(GameRunTest, WithoutInputTheGameRunsOnUntilTheScriptedQuit) {
  GameRun r = run("200 quit 9\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 9) << r.err;
}

TEST_F(GameRunTest, AnUnknownInstallTypeStopsStartUpWithItsMessage) {
  home_.write("machine.txt",
              "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n@=string:\"Medium\"\n");
  GameRun r = run("200 quit 9\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_NE(r.err.find("Couldn't determine install type."), std::string::npos) << r.err;
  // The value and the file it was read from are named.
  EXPECT_NE(r.err.find("The install type \"Medium\" in " + (home_ / "machine.txt") + " is none of"),
            std::string::npos)
      << r.err;
}

// The settings are written back at shut-down as the game holds them: values
// brought into range on reading replace the stored ones.
TEST_F(GameRunTest, ShutDownWritesTheSettingsAsTheGameHoldsThem) {
  home_.write("machine.txt",
              "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n\"LODBias\"=dword:00000009\n"
              "\"Language\"=dword:00000007\n");
  GameRun r = run("1 echo started\n60 close\n3000 quit 9\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string oText = korvena_test::readFile(home_ / "machine.txt");
  EXPECT_NE(oText.find("\"LODBias\"=dword:00000004"), std::string::npos) << oText;
  // A language the game does not have is English.
  EXPECT_NE(oText.find("\"Language\"=dword:00000000"), std::string::npos) << oText;
}

}  // namespace
