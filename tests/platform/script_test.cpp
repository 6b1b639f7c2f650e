// The headless script: parsing, errors and running.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "support/temp_dir.h"

using namespace platform;
using platform::headless::parseScript;
using platform::headless::ScriptLine;

namespace {

std::string parseError(const std::string& text) {
  std::vector<ScriptLine> lines;
  std::string why;
  EXPECT_FALSE(parseScript(text, &lines, &why)) << text;
  return why;
}

TEST(ScriptParser, ReadsStepsTimesCommandsQuotesAndComments) {
  std::vector<ScriptLine> lines;
  std::string why;
  ASSERT_TRUE(parseScript("# a run\n"
                          "\n"
                          "   1 echo hello   world  # said at the first pump\n"
                          "@33.333333 advance 16.5\r\n"
                          "10 capture \"frames/one #1.tga\"\n"
                          "12 echo \"say \\\"hi\\\"\"\n"
                          "20 quit 3",  // no line end at the end of the file
                          &lines, &why))
      << why;
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].step, 1u);
  EXPECT_EQ(lines[0].command, "echo");
  EXPECT_EQ(lines[0].args, (std::vector<std::string>{"hello", "world"}));
  EXPECT_EQ(lines[0].lineNumber, 3);
  EXPECT_TRUE(lines[1].atTime);
  EXPECT_EQ(lines[1].timeNs, 33333333u);
  EXPECT_EQ(lines[1].args[0], "16.5");
  EXPECT_EQ(lines[2].args[0], "frames/one #1.tga");
  EXPECT_EQ(lines[3].args[0], "say \"hi\"");
  EXPECT_EQ(lines[4].step, 20u);
  EXPECT_EQ(lines[4].args[0], "3");
}

TEST(ScriptParser, DamagedLinesAreRejectedWithTheirLineNumber) {
  EXPECT_EQ(parseError("1 quit\nten quit\n"), "line 2: expected a step number or @<milliseconds>, found \"ten\"");
  EXPECT_EQ(parseError("5\n"), "line 1: missing command");
  EXPECT_EQ(parseError("1 jump 3\n"), "line 1: unknown command \"jump\"");
  EXPECT_EQ(parseError("1 quit 1 2\n"), "line 1: wrong number of arguments for \"quit\"");
  EXPECT_EQ(parseError("1 quit 256\n"), "line 1: quit expects an exit code 0..255");
  EXPECT_EQ(parseError("1 quit-after x\n"), "line 1: quit-after expects a number of steps");
  EXPECT_EQ(parseError("1 activate 2\n"), "line 1: activate expects 0 or 1");
  const std::string advanceError = "line 1: advance expects milliseconds up to 86400000 (up to 6 decimals)";
  EXPECT_EQ(parseError("1 advance 1.2345678\n"), advanceError);
  EXPECT_EQ(parseError("1 advance -5\n"), advanceError);
  EXPECT_EQ(parseError("1 advance 86400000.000001\n"), advanceError);
  EXPECT_EQ(parseError("1 advance 99999999999999999999\n"), advanceError);
  EXPECT_EQ(parseError("@ quit\n"), "line 1: bad time \"@\" (expected @<milliseconds>)");
  EXPECT_EQ(parseError("@1. quit\n"), "line 1: bad time \"@1.\" (expected @<milliseconds>)");
  EXPECT_EQ(parseError("99999999999999999999 quit\n"),
            "line 1: expected a step number or @<milliseconds>, found \"99999999999999999999\"");
  EXPECT_EQ(parseError("1 echo \"open\n"), "line 1: unterminated quotes");
  EXPECT_EQ(parseError("1 echo a\x01" "b\n"), "line 1: unexpected control byte");
  EXPECT_EQ(parseError(std::string("1 echo a\0b\n", 11)), "line 1: unexpected control byte");
  EXPECT_EQ(parseError("1 echo " + std::string(5000, 'x') + "\n"), "line 1: line too long");
  // A script cut in the middle of a line.
  EXPECT_EQ(parseError("1 echo ok\n2 qu"), "line 2: unknown command \"qu\"");
  EXPECT_EQ(parseError("1 echo ok\n2 quit-after"), "line 2: wrong number of arguments for \"quit-after\"");
}

TEST(ScriptParser, ABadScriptLeavesTheLoadedOneInPlace) {
  ASSERT_TRUE(init(BackendKind::Headless));
  std::string why;
  ASSERT_TRUE(headlessLoadScriptText("5 quit\n", &why));
  EXPECT_FALSE(headlessLoadScriptText("1 nonsense\n", &why));
  EXPECT_EQ(headlessPendingScriptLines(), 1u);
  EXPECT_FALSE(headlessLoadScript("/nonexistent/script.txt", &why));
  EXPECT_NE(why.find("/nonexistent/script.txt"), std::string::npos);
  shutdown();
}

class ScriptRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(init(BackendKind::Headless)); }
  void TearDown() override { shutdown(); }
  // Pumps once and returns the codes queued by that step.
  std::vector<uint32_t> pump() {
    pumpEvents();
    std::vector<uint32_t> codes;
    Message m;
    while (pollMessage(&m)) codes.push_back(m.code);
    return codes;
  }
};

TEST_F(ScriptRun, LinesRunAtTheirStepInFileOrder) {
  std::string why;
  ASSERT_TRUE(headlessLoadScriptText("3 activate 0\n2 close\n3 activate 1\n5 quit\n", &why)) << why;
  EXPECT_TRUE(pump().empty());
  EXPECT_EQ(pump(), (std::vector<uint32_t>{kMsgClose}));
  EXPECT_EQ(pump(), (std::vector<uint32_t>{kMsgActivate, kMsgActivateApp, kMsgActivateApp, kMsgActivate}));
  EXPECT_TRUE(pump().empty());
  EXPECT_EQ(pump(), (std::vector<uint32_t>{kMsgQuit}));
  EXPECT_EQ(headlessStep(), 5u);
  EXPECT_EQ(headlessPendingScriptLines(), 0u);
}

TEST_F(ScriptRun, QuitAfterCountsPumpsAndCarriesCodeZero) {
  std::string why;
  ASSERT_TRUE(headlessLoadScriptText("1 quit-after 3\n", &why));
  EXPECT_EQ(headlessPendingScriptLines(), 1u);
  EXPECT_TRUE(pump().empty());  // step 1: the countdown starts
  EXPECT_EQ(headlessPendingScriptLines(), 1u);
  EXPECT_TRUE(pump().empty());
  EXPECT_TRUE(pump().empty());
  pumpEvents();  // step 4
  Message m;
  ASSERT_TRUE(pollMessage(&m));
  EXPECT_EQ(m.code, kMsgQuit);
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_EQ(headlessPendingScriptLines(), 0u);
}

TEST_F(ScriptRun, TimedLinesWaitForTheVirtualClockAndAdvanceMovesIt) {
  std::string why;
  uint64_t t0 = nowNs();
  ASSERT_EQ(t0, 0u);  // the headless clock starts at 0
  ASSERT_TRUE(headlessLoadScriptText("@100 close\n1 advance 40.5\n", &why));
  EXPECT_TRUE(pump().empty());
  EXPECT_EQ(nowNs(), 40500000u);
  EXPECT_TRUE(pump().empty());
  sleepMs(59);
  EXPECT_TRUE(pump().empty());  // 99.5 ms: not yet
  sleepMs(1);
  EXPECT_EQ(pump(), (std::vector<uint32_t>{kMsgClose}));  // 100.5 ms: due
  EXPECT_TRUE(pump().empty());
}

TEST_F(ScriptRun, OtherAreasAddCommandsAndTheCaptureHook) {
  static std::vector<std::string> seen;
  seen.clear();
  headless::registerScriptCommand(
      "key", 2, 2,
      [](const ScriptLine& line, std::string* why) {
        if (line.args[1] != "down" && line.args[1] != "up") {
          *why = "key expects down or up";
          return false;
        }
        return true;
      },
      [](const ScriptLine& line) { seen.push_back(line.args[0] + " " + line.args[1]); });
  EXPECT_TRUE(headless::isScriptCommand("key"));
  std::string why;
  EXPECT_FALSE(headlessLoadScriptText("1 key escape sideways\n", &why));
  EXPECT_EQ(why, "line 1: key expects down or up");
  headless::CaptureHandler previous = headless::captureHandler();
  headless::setCaptureHandler([](const std::string& path) { seen.push_back("capture " + path); });
  ASSERT_TRUE(headlessLoadScriptText("1 key escape down\n1 capture out.tga\n2 key escape up\n", &why)) << why;
  pump();
  pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"escape down", "capture out.tga", "escape up"}));
  headless::setCaptureHandler(nullptr);
  ASSERT_TRUE(headlessLoadScriptText("1 capture none.tga\n", &why));
  testing::internal::CaptureStderr();
  pumpEvents();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("no display to capture"), std::string::npos);
  headless::setCaptureHandler(previous);
}

TEST_F(ScriptRun, EchoPrintsOnStdout) {
  std::string why;
  ASSERT_TRUE(headlessLoadScriptText("1 echo frame \"one two\"\n", &why));
  testing::internal::CaptureStdout();
  pumpEvents();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "frame one two\n");
}

}  // namespace
