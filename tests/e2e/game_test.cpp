// The whole game, headless, from a script: it starts, steps and quits.
#include <gtest/gtest.h>

#include <filesystem>

#include "../platform/temp_dir.h"
#include "platform/instance.h"
#include "run_game.h"

using korvena_test::GameRun;
using korvena_test::runGame;
using korvena_test::TempDir;

namespace {

class Game : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    exe_ = std::string(build) + "/bin/korvena";
    ASSERT_TRUE(std::filesystem::exists(exe_)) << exe_;
    // A home of its own: settings, saves and the instance lock stay inside.
    env_ = {{"KORVENA_BACKEND", "headless"},
            {"XDG_CONFIG_HOME", home_ / "config"},
            {"XDG_DATA_HOME", home_ / "share"},
            {"XDG_RUNTIME_DIR", home_ / "run"},
            {"KORVENA_MACHINE_SETTINGS", home_ / "machine.txt"},
            {"HOME", home_.path()}};
    std::filesystem::create_directories(home_ / "run");
  }
  GameRun run(const std::string& script) {
    home_.write("script.txt", script);
    env_["KORVENA_SCRIPT"] = home_ / "script.txt";
    return runGame(exe_, env_, home_.path());
  }
  std::string exe_;
  TempDir home_;
  std::map<std::string, std::string> env_;
};

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
