// The whole game, headless, from a script: it starts, steps and quits.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/instance.h"
#include "support/run_game.h"

using korvena_test::GameRun;
using korvena_test::runGame;

namespace {

using Game = korvena_test::GameRunner;

TEST_F(Game, StartsStepsAndQuitsWithExitCodeZero) {
  GameRun r = run(
      "# start, run a few frames, then quit through the frame loop\n"
      "1 echo started\n"
      "10 echo step 10\n"
      "10 quit-after 20\n"
      "30 echo step 30\n");
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("started")), "");
  EXPECT_NE(r.out.find("started\nstep 10\nstep 30\n"), std::string::npos) << r.out;
}

TEST_F(Game, TheQuitCodeIsTheExitCode) {
  GameRun r = run("3 quit 7\n");
  EXPECT_EQ(r.exitCode, 7) << r.err;
}

TEST_F(Game, ClosingTheWindowEndsTheGame) {
  GameRun r = run("2 close\n5000 quit 9\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(Game, ASecondInstanceEndsAtOnceWithCodeZero) {
  // This test holds the lock the running game would hold.
  setenv("XDG_RUNTIME_DIR", (home_ / "run").c_str(), 1);
  platform::InstanceLock* lock = nullptr;
  ASSERT_EQ(platform::acquireInstanceLock("QDX Mutex", &lock), platform::InstanceResult::Acquired);
  GameRun r = run("1 echo running\n3 quit 9\n");
  platform::releaseInstanceLock(lock);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.find("running"), std::string::npos) << r.out;  // it never stepped
  // With the lock free it runs.
  r = run("1 echo running\n3 quit 9\n");
  EXPECT_EQ(r.exitCode, 9) << r.err;
}

TEST_F(Game, WithoutADisplayItSaysSoAndFails) {
  env_["KORVENA_BACKEND"] = "";
  env_["DISPLAY"] = "";
  env_["WAYLAND_DISPLAY"] = "";
  GameRun r = runGame(exe_, env_, home_.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("No display found"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("KORVENA_BACKEND=headless"), std::string::npos) << r.err;
}

TEST_F(Game, ADamagedScriptIsReportedWithItsLine) {
  GameRun r = run("1 echo fine\n2 fly away\n");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("line 2: unknown command \"fly\""), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace

namespace {

// The SDL backend with a real window on SDL's offscreen video driver: the
// game starts, opens its display and runs until it is told to stop; a
// termination request ends it like closing the window, through the normal
// shut-down (the settings are written back) with exit code 0.
TEST_F(Game, InAWindowItRunsUntilToldToStopAndShutsDownCleanly) {
  env_["KORVENA_BACKEND"] = "sdl";
  env_["SDL_VIDEODRIVER"] = "dummy";
  env_["SDL_AUDIODRIVER"] = "dummy";
  env_["DISPLAY"] = "";
  env_["WAYLAND_DISPLAY"] = "";
  korvena_test::GameProcess game = korvena_test::startGame(exe_, env_, home_.path(), home_.path());
  ASSERT_GT(game.pid, 0);
  // The display is open once its device cache file is in the working folder.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(home_ / "dxinfo.bin") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(std::filesystem::exists(home_ / "dxinfo.bin"));
  kill(game.pid, SIGTERM);
  GameRun r = korvena_test::finishGame(game);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(korvena_test::readFile(home_ / "machine.txt").find("@=string:\"Compact\""), std::string::npos);
}

}  // namespace
