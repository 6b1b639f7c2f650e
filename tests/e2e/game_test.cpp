// The whole game, headless, from a script: it starts, steps and quits.
#include <gtest/gtest.h>

#include <filesystem>

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
