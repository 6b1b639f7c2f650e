// The application states and the match state's fixed 30-tick timing, driven
// by the headless virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "framework/qdx_time.h"
#include "framework/qdx_window.h"
#include "frontend/pcfe.h"
#include "platform/headless.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/pause.h"
#include "shell/pcmain_states.h"
#include "shell/vsync.h"
#include "shell_env.h"

namespace {

constexpr uint64_t kMs = 1000000;

// A per-frame task that notes, at each tick, whether a frame packet has been
// begun since the previous tick, then takes the packet's ready mark away.
// The match state runs the tasks right after beginning a packet.
std::vector<int32_t> g_abPacketBegun;
int32_t PacketProbeTask() {
  g_abPacketBegun.push_back(pcframe_bReadyGet());
  pcframe_ReadyClear();
  return 1;
}

// A per-frame task that asks to end the program, as the main menu's exit does.
int32_t QuitTask() {
  pcmain_bQuit = 1;
  return 0;
}

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
    ShellGameStateFresh();
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

TEST_F(States, FrontEndToLoadingToMatchToFrontEndWithStandInModes) {
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_INTRO);  // front-end entry: mode 1, then 73
  // A screen that starts a match: the front-end tick returns 0.
  global_SetGameMode(GAME_MODE_MATCH_START);
  EXPECT_EQ(Step(), 0);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH_LOADING);
  // From here the match modes drive it: the in-match set-up starts the
  // match-start mode, whose last loading step starts the scene. This test
  // folder holds no renderer library, so the scene cannot come up: the game
  // says so and goes back to the front end from the loading state.
  std::vector<AppState> aeVisited;
  for (int i = 0; i < 20; i++) {
    EXPECT_EQ(Step(), 0);
    if (aeVisited.empty() || aeVisited.back() != pcmain_eCurrentState) aeVisited.push_back(pcmain_eCurrentState);
    if (pcmain_eCurrentState == APP_STATE_FRONT_END) break;
  }
  EXPECT_EQ(aeVisited, std::vector<AppState>({APP_STATE_MATCH_LOADING, APP_STATE_FRONT_END}));
  EXPECT_EQ(scene3d_bBuilt, 0);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_INTRO);
}

TEST_F(States, ALoadingTickThatReturnsZeroGoesBackToTheFrontEnd) {
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH_LOADING);
  // The match ends before the scene is up: the loading state's tick returns 0.
  global_SetGameMode(GAME_MODE_MATCH_END);
  Step();
  EXPECT_EQ(scene3d_bBuilt, 0);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
}

TEST_F(States, LoadingToMatchToFrontEnd) {
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  Step();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH_LOADING);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_START);  // mode 24 ran and pushed 22
  scene3d_bBuilt = 1;  // the scene is up: the loading steps run
  global_SetGameMode(static_cast<GameMode>(60));  // the match start is done: a mode without handler
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

TEST_F(States, OnlyTheLastTickOfAFrameFillsTheFramePacket) {
  pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_MATCH;
  global_SetGameMode(static_cast<GameMode>(60));  // a mode without handler keeps running
  pcmain_MatchEnter();
  pcmain_uTickAccumulator = 0;
  g_abPacketBegun.clear();
  vsync_TaskAdd(PacketProbeTask);
  Step(150 * kMs);  // three ticks: the packet is begun before the third only
  EXPECT_EQ(g_abPacketBegun, std::vector<int32_t>({0, 0, 1}));
  g_abPacketBegun.clear();
  Step(50 * kMs);  // one tick, then two
  Step(50 * kMs);
  EXPECT_EQ(g_abPacketBegun, std::vector<int32_t>({1, 0, 1}));
  g_abPacketBegun.clear();
  Step(1500 * kMs);  // no tick: no packet is begun
  EXPECT_TRUE(g_abPacketBegun.empty());
  EXPECT_EQ(pcframe_bReadyGet(), 0);
  vsync_Init();
}

// The match ends (its tick requests the front end) in the same frame as
// something asks to end the program. The match is the state that was entered,
// so its leave runs (it shuts the audio library down); the front end was
// never entered and is neither entered nor left.
TEST_F(States, QuitLeavesTheStateThatWasEnteredNotTheRequestedOne) {
  pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_MATCH;
  pcmain_MatchEnter();
  pcmain_uTickAccumulator = 0;
  global_SetGameMode(GAME_MODE_MATCH_END);
  vsync_TaskAdd(QuitTask);
  qal_bStarted = 1;
  EXPECT_EQ(Step(34 * kMs), 1);
  EXPECT_EQ(pcmain_iMatchFrame, 1);  // the frame ran its tick
  EXPECT_EQ(qal_bStarted, 0);        // the match's leave ran
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_END);  // no front-end entry
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  qal_bStarted = 0;
  pcmain_bQuit = 0;
}

TEST_F(States, QuitFromTheMainMenuLeavesTheFrontEnd) {
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  Step();
  ASSERT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
  qal_bStarted = 1;
  pcframe_ScreenClearSet(0);
  vsync_TaskAdd(QuitTask);
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(pcframe_ScreenClearGet(), -1);  // the front end's stop ran
  EXPECT_EQ(qal_bStarted, 0);               // and shut the audio down
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  qal_bStarted = 0;
  pcmain_bQuit = 0;
}

TEST_F(States, ADisplayThatCannotReopenAfterTheMatchEndsTheProgram) {
  pcmain_eCurrentState = APP_STATE_MATCH;
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  pcmain_bDisplayUp = 0;  // the match had the display; there is no window to reopen it on
  testing::internal::CaptureStderr();
  EXPECT_EQ(Step(), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  // The reason is said, with what was asked of the display.
  EXPECT_NE(err.find("The display could not be opened in 640 x 480 x 16 bits (windowed)."), std::string::npos) << err;
  EXPECT_NE(err.find("The display could not be opened again after the match."), std::string::npos) << err;
  // The program ends with code 1 once the frame loop pumps its messages.
  QDXPumpMessages();
  EXPECT_TRUE(QDXQuitSeen());
  EXPECT_EQ(QDXQuitCode(), 1);
  QDXClearQuit();
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

TEST_F(States, LoadingEntryStartsTheInMatchSetUpUnpausedWithoutAScene) {
  pause_Set();
  scene3d_bBuilt = 1;
  global.bHistory = 1;
  global_SetGameMode(GAME_MODE_MAIN_MENU);
  pcmain_LoadingEnter();
  EXPECT_EQ(pause_bIsPaused(), 0);
  EXPECT_EQ(scene3d_bBuilt, 0);
  EXPECT_EQ(global.bHistory, 0);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_IN_MATCH_SETUP);
}

TEST(StateTable, SixRowsOfEnterLeaveAndRunInStateOrder) {
  const AppStateOps aExpected[APP_STATE_COUNT] = {
      {pcmain_NoneEnter, pcmain_NoneLeave, pcmain_NoneRun},
      {pcmain_FrontEndEnter, pcmain_FrontEndLeave, pcmain_FrontEndRun},
      {pcmain_MatchEnter, pcmain_MatchLeave, pcmain_MatchRun},
      {pcfe_ConvertEnter, pcfe_ConvertLeave, pcfe_ConvertStep},
      {pcfe_OutroEnter, pcfe_OutroLeave, pcfe_OutroRun},
      {pcmain_LoadingEnter, pcmain_LoadingLeave, pcmain_LoadingRun},
  };
  for (int32_t i = 0; i < APP_STATE_COUNT; i++) {
    EXPECT_EQ(pcmain_StateTable[i].pfnEnter, aExpected[i].pfnEnter) << i;
    EXPECT_EQ(pcmain_StateTable[i].pfnLeave, aExpected[i].pfnLeave) << i;
    EXPECT_EQ(pcmain_StateTable[i].pfnRun, aExpected[i].pfnRun) << i;
  }
  EXPECT_EQ(APP_STATE_MATCH_LOADING, 5);
  EXPECT_EQ(APP_STATE_OUTRO, 4);
  EXPECT_EQ(APP_STATE_GFX_CONVERT, 3);
}

}  // namespace
