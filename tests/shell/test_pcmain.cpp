// The application states and the match state's fixed 30-tick timing, driven
// by the headless virtual clock and the stand-in screens and match modes.
#include <gtest/gtest.h>

#include <vector>

#include "framework/qdx_time.h"
#include "platform/headless.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"
#include "shell/vsync.h"

namespace {

constexpr uint64_t kMs = 1000000;

std::vector<int32_t> TicksForFrames(uint64_t uFrameNs, int cFrames) {
  pcmain_uTickAccumulator = 0;
  std::vector<int32_t> ai;
  for (int i = 0; i < cFrames; i++) ai.push_back(pcmain_iTicksForFrame(uFrameNs));
  return ai;
}

TEST(MatchTiming, TicksPerFrameLength) {
  const uint64_t uSecond = QDXTSCPerSecond();
  EXPECT_EQ(TicksForFrames(uSecond / 60, 6), std::vector<int32_t>({0, 1, 0, 1, 0, 1}));
  EXPECT_EQ(TicksForFrames(uSecond / 30, 4), std::vector<int32_t>({1, 1, 1, 1}));
  EXPECT_EQ(TicksForFrames(uSecond / 20, 6), std::vector<int32_t>({1, 2, 1, 2, 1, 2}));
  EXPECT_EQ(TicksForFrames(uSecond / 9, 5), std::vector<int32_t>({3, 3, 3, 3, 3}));
  EXPECT_EQ(TicksForFrames(uSecond / 2, 3), std::vector<int32_t>({3, 3, 3}));
  // A frame of a second or more runs no tick and leaves the fraction alone.
  pcmain_uTickAccumulator = 0;
  EXPECT_EQ(pcmain_iTicksForFrame(uSecond / 60), 0);
  EXPECT_EQ(pcmain_iTicksForFrame(uSecond), 0);
  EXPECT_EQ(pcmain_iTicksForFrame(5 * uSecond), 0);
  EXPECT_EQ(pcmain_uTickAccumulator, 32768u);
  EXPECT_EQ(pcmain_iTicksForFrame(uSecond / 60), 1);
}

class States : public ::testing::Test {
 protected:
  void SetUp() override {
    global = Global{};
    global_bModeChanged = 0;
    global_Init();
    vsync_Init();
    pcmain_bQuit = 0;
    pcmain_eCurrentState = APP_STATE_NONE;
    pcmain_eRequestedState = APP_STATE_NONE;
    scene3d_bBuilt = 0;
    // The display counts as open: these tests run the states, not the display.
    pcmain_bDisplayUp = 1;
  }
  // One pass of the frame loop after the clock moved on by uFrameNs.
  int32_t Step(uint64_t uFrameNs = 34 * kMs) {
    platform::headlessAdvanceClock(uFrameNs);
    return pcmain_LoopStep();
  }
};

TEST_F(States, MatchRunTicksAgainstTheVirtualClock) {
  pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_MATCH;
  global_SetGameMode(static_cast<GameMode>(60));  // a mode without handler keeps running
  pcmain_MatchEnter();
  pcmain_uTickAccumulator = 0;
  std::vector<int32_t> aiTicks;
  for (int i = 0; i < 6; i++) {
    int32_t iBefore = pcmain_iMatchFrame;
    Step(50 * kMs);  // 20 frames a second
    aiTicks.push_back(pcmain_iMatchFrame - iBefore);
  }
  EXPECT_EQ(aiTicks, std::vector<int32_t>({1, 2, 1, 2, 1, 2}));
  aiTicks.clear();
  for (int i = 0; i < 3; i++) {
    int32_t iBefore = pcmain_iMatchFrame;
    Step(150 * kMs);  // below 10 frames a second
    aiTicks.push_back(pcmain_iMatchFrame - iBefore);
  }
  EXPECT_EQ(aiTicks, std::vector<int32_t>({3, 3, 3}));
  // A gap of a second or more (the application was away): no tick, then on.
  int32_t iBefore = pcmain_iMatchFrame;
  Step(1500 * kMs);
  EXPECT_EQ(pcmain_iMatchFrame, iBefore);
  Step(34 * kMs);
  EXPECT_EQ(pcmain_iMatchFrame, iBefore + 1);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH);
}

TEST_F(States, FrontEndToLoadingToFrontEndWithStandInModes) {
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
  // A screen that starts a match leaves the front end for match loading.
  global_SetGameMode(GAME_MODE_MATCH_START);
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH_LOADING);
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH_LOADING);
  // The in-match set-up stand-in starts the match-start mode, whose stand-in
  // ends the match: the loading state returns to the front end.
  for (int i = 0; i < 5 && pcmain_eRequestedState == APP_STATE_MATCH_LOADING; i++) Step();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_INTRO);  // front-end entry: mode 1, then 73
}

TEST_F(States, LoadingToMatchToFrontEnd) {
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH_LOADING);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_START);  // mode 24 ran and pushed 22
  scene3d_bBuilt = 1;  // the scene is up: the loading steps run
  Step();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH);
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH);
  EXPECT_EQ(pcmain_iMatchFrame, 0);  // entry and the first frame in one pass: no time has passed
  Step(34 * kMs);
  EXPECT_EQ(pcmain_iMatchFrame, 1);
  global_SetGameMode(GAME_MODE_MATCH_END);
  Step();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
}

TEST_F(States, QuitLeavesTheCurrentStateAndClearsBoth) {
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  Step();
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  pcmain_bQuit = 1;
  global_SetGameMode(GAME_MODE_MAIN_MENU);
  EXPECT_EQ(pcmain_LoopStep(), 1);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  pcmain_bQuit = 0;
}

TEST_F(States, ADisplayThatCannotReopenAfterTheMatchEndsTheProgram) {
  pcmain_eCurrentState = APP_STATE_MATCH;
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  pcmain_bDisplayUp = 0;  // the match had the display; there is no window to reopen it on
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_bDisplayUp, 0);
  pcmain_bQuit = 0;
}

TEST_F(States, RequestOperations) {
  game_MatchRequest();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH);
  game_FrontEndRequest();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
}

}  // namespace
