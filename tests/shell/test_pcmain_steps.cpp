// Start-up, the frame-loop step, the application states and shut-down,
// compiled over recording fakes of every service they call: each operation
// must make its calls in its order, and stop at the first failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "display/qdl.h"
#include "display/qdl_present.h"
#include "framework/qdx_input.h"
#include "framework/qdx_time.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "platform/window.h"
#include "scene3d/scene3d_services.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/match_services.h"
#include "shell/pause.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "shell/vsync.h"

namespace {
std::vector<std::string> g_aoTrace;
// Results the fakes give, by name; absent names give 0 (or success where the
// operation returns 1 for success).
std::map<std::string, int32_t> g_oResults;
void Trace(const std::string& oName) { g_aoTrace.push_back(oName); }
int32_t Result(const char* pszName, int32_t iDefault) {
  auto it = g_oResults.find(pszName);
  return it == g_oResults.end() ? iDefault : it->second;
}
uint64_t g_uNow;
int32_t g_cRateGateWaits;  // how many times the gate says "not yet" before letting a frame through
int32_t g_iMovieFrame;
int32_t g_iMovieExpected;
platform::Window* const kpoWindow = reinterpret_cast<platform::Window*>(0x1000);
}  // namespace

#define FAKE(name) \
  void name() { Trace(#name); }
#define FAKE_RESULT(name, def) \
  int32_t name() {             \
    Trace(#name);              \
    return Result(#name, def); \
  }
FAKE(game_Start)
FAKE(pcfe_Start)
FAKE(pcfe_Stop)
FAKE(pcfmv_Stop)
FAKE(sfx_Update)
FAKE(pchat_Reset)
FAKE(game_Startup)
FAKE(pcframe_Init)
FAKE(replay_Reset)
FAKE(crowd_CDStart)
FAKE(crowd_StopAll)
FAKE(pcfe_OutroRun)
FAKE(pcfe_OutroEnter)
FAKE(pcfe_OutroLeave)
FAKE(pcfe_ConvertEnter)
FAKE(pcfe_ConvertLeave)
FAKE(pcfe_ConvertStep)
FAKE(pcframe_Begin)
FAKE(crowd_CDUpdate)
FAKE(injuryg_Update)
FAKE(injuryg_MatchEndUpdate)
FAKE(match_SquadsCopyBack)
FAKE(pcinstall_Save)
FAKE(vsync_TasksRun)
FAKE(game_MatchEnter)
FAKE(pause_FlagClear)
FAKE(pcstub_TickHook)
FAKE(pcstub_FrontEndHook)
FAKE(pcstub_MessageDrawForward)
FAKE(pcframe_Shutdown)
FAKE(scene3d_Shutdown)
FAKE(sfx_FreeAllBanks)
FAKE(QKeyboardShutdown)
FAKE_RESULT(scene3d_DrawFrame, 1)
FAKE(pcframe_ReadyClear)
FAKE(pcframe_ScreenClear)
FAKE(pccontrols_DefaultSet)
FAKE(pccontrols_BindingsApply)
FAKE(QInputJoystickCloseAll)
FAKE(QDLKeepWindowOnShutdown)
FAKE(vidselect_SetScreenSize)
FAKE(pcfmv_StreamPump)
FAKE_RESULT(QALShutdown, 0)
FAKE_RESULT(QDXTimerStop, 0)
FAKE_RESULT(game_MatchTick, 1)
FAKE_RESULT(game_FrontEndTick, 1)
FAKE_RESULT(pcframe_Render, 0)
FAKE_RESULT(pcinstall_Check, 1)
FAKE_RESULT(pcfe_ConvertNeeded, 0)
FAKE_RESULT(pcframe_bReadyGet, 1)
FAKE_RESULT(pcmain_DisplayStartup, 1)
FAKE_RESULT(pcmain_DisplayShutdown, 0)
FAKE_RESULT(vidselect_bProbeRenderers, 1)
#undef FAKE
#undef FAKE_RESULT
uint32_t QDLIsInactive() { return static_cast<uint32_t>(Result("QDLIsInactive", 0)); }
uint32_t QDLPresent(uint32_t) {
  Trace("QDLPresent");
  return 0;
}
uint32_t QDLErrorBox(const char* pszText) {
  Trace(std::string("QDLErrorBox ") + pszText);
  return 0;
}
const char* vidselect_pszProbeFailure() { return "no display mode"; }
void pcmain_StartupError(const char* pszText) { Trace(std::string("pcmain_StartupError ") + pszText); }
int32_t QKeyboardSetup(int32_t iArg) {
  Trace("QKeyboardSetup " + std::to_string(iArg));
  return Result("QKeyboardSetup", 0);
}
int32_t QDXRateGate(uint32_t uRate) {
  if (g_cRateGateWaits > 0) {
    g_cRateGateWaits--;
    return 0;
  }
  Trace("QDXRateGate " + std::to_string(uRate));
  return 1;
}
uint64_t QDXTSCPerSecond() { return 1000000000; }
uint64_t QDXReadTSC(uint64_t* pOut) {
  if (pOut) *pOut = g_uNow;
  return g_uNow;
}
int32_t loading_bRunStep(int32_t bFlag) {
  Trace("loading_bRunStep " + std::to_string(bFlag));
  return Result("loading_bRunStep", 0);
}
float pcfmv_FrameRateGet() { return 15.9f; }
int32_t pcfmv_FrameShow(int32_t bFlag) {
  Trace("pcfmv_FrameShow " + std::to_string(bFlag));
  g_iMovieFrame++;
  return 0;
}
int32_t pcfmv_CurrentFrameGet() { return g_iMovieFrame; }
int32_t pcfmv_ExpectedFrameGet() { return g_iMovieExpected; }
void pcmain_VideoTestTextsSet(int32_t iLanguage) { Trace("pcmain_VideoTestTextsSet " + std::to_string(iLanguage)); }
namespace platform {
Window* mainWindow() { return kpoWindow; }
void setWindowTitle(Window* poWindow, const char* pszTitle) {
  Trace(std::string("setWindowTitle ") + pszTitle + (poWindow == kpoWindow ? "" : " (another window)"));
}
void showWindow(Window* poWindow) { Trace(poWindow == kpoWindow ? "showWindow" : "showWindow (another window)"); }
int showCursor(bool bShow) {
  Trace(bShow ? "showCursor 1" : "showCursor 0");
  return 0;
}
void waitMessage() { Trace("waitMessage"); }
void postQuit(int iCode) { Trace("postQuit " + std::to_string(iCode)); }
}  // namespace platform
int32_t mlang_iLanguage;
int32_t pcfmv_bPlaying;
int32_t qal_bCDOpened;
int32_t qal_bStarted;
int32_t scene3d_bBuilt;

namespace {

using Trace_t = std::vector<std::string>;

class Steps : public ::testing::Test {
 protected:
  void SetUp() override {
    g_aoTrace.clear();
    g_oResults.clear();
    g_uNow = 0;
    g_cRateGateWaits = 0;
    g_iMovieFrame = g_iMovieExpected = 0;
    pcfmv_bPlaying = qal_bCDOpened = qal_bStarted = scene3d_bBuilt = 0;
    pcmain_bQuit = 0;
    pcmain_bSoundUpdate = 1;
    pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_NONE;
    pcmain_uTickAccumulator = 0;
  }
};

const Trace_t kStartup = {"setWindowTitle Korvena Football", "QDLKeepWindowOnShutdown", "pcinstall_Check",
                          "pcmain_VideoTestTextsSet 4", "vidselect_bProbeRenderers", "QKeyboardSetup 0",
                          "pcframe_Init", "game_Startup", "pccontrols_DefaultSet", "showCursor 0",
                          "pcmain_DisplayStartup", "pcfe_ConvertNeeded", "showWindow"};

TEST_F(Steps, StartUpInItsNineStepsAndTheStateItRequests) {
  mlang_iLanguage = 4;
  pcmain_bQuit = 1;
  pcmain_poDebugFont = reinterpret_cast<QDLFont*>(8);
  pcmain_bDisplayUp = pcmain_bHiResFrontEnd = 1;
  EXPECT_EQ(pcmain_Startup(0, nullptr), 1);
  EXPECT_EQ(g_aoTrace, kStartup);
  EXPECT_EQ(pcmain_bQuit, 0);
  EXPECT_EQ(pcmain_poDebugFont, nullptr);
  EXPECT_EQ(pcmain_bHiResFrontEnd, 0);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
  g_oResults["pcfe_ConvertNeeded"] = 1;
  g_aoTrace.clear();
  EXPECT_EQ(pcmain_Startup(0, nullptr), 1);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_GFX_CONVERT);
  pcmain_Shutdown();
}

TEST_F(Steps, AFailedStartUpStepEndsStartUpAtOnceAndShutDownUndoesOnlyWhatWasDone) {
  mlang_iLanguage = 4;
  struct Case {
    const char* pszFails;
    int32_t iFailValue;
    size_t cSteps;  // calls made up to and including the failing one
    Trace_t aoShutdown;
  };
  const Case aCases[] = {
      {"pcinstall_Check", 0, 3, {"QDXTimerStop"}},
      {"vidselect_bProbeRenderers", 0, 5, {"pcinstall_Save", "QDXTimerStop"}},
      {"QKeyboardSetup", 7, 6, {"pcinstall_Save", "QDXTimerStop"}},
      {"pcmain_DisplayStartup", 0, 11,
       {"pcinstall_Save", "pcframe_Shutdown", "QDXTimerStop", "QKeyboardShutdown", "QInputJoystickCloseAll",
        "showCursor 1"}},
  };
  for (const Case& c : aCases) {
    SCOPED_TRACE(c.pszFails);
    g_oResults.clear();
    g_oResults[c.pszFails] = c.iFailValue;
    g_aoTrace.clear();
    pcmain_bDisplayUp = 0;
    EXPECT_EQ(pcmain_Startup(0, nullptr), 0);
    Trace_t aoExpected(kStartup.begin(), kStartup.begin() + static_cast<std::ptrdiff_t>(c.cSteps));
    if (std::string(c.pszFails) == "QKeyboardSetup") aoExpected.push_back("QDLErrorBox Error calling QKeyboardSetup");
    // The probe's failure is said with its reason.
    if (std::string(c.pszFails) == "vidselect_bProbeRenderers") aoExpected.push_back("pcmain_StartupError no display mode");
    EXPECT_EQ(g_aoTrace, aoExpected);
    g_aoTrace.clear();
    pcmain_Shutdown();
    EXPECT_EQ(g_aoTrace, c.aoShutdown);
  }
}

TEST_F(Steps, ShutDownInOrder) {
  ASSERT_EQ(pcmain_Startup(0, nullptr), 1);
  pcmain_bDisplayUp = 1;
  g_aoTrace.clear();
  pcmain_Shutdown();
  EXPECT_EQ(g_aoTrace, Trace_t({"pcinstall_Save", "pcframe_Shutdown", "pcmain_DisplayShutdown", "QDXTimerStop",
                                "QKeyboardShutdown", "QInputJoystickCloseAll", "showCursor 1"}));
}

TEST_F(Steps, LoopStepChangesStateRunsItAndUpdatesSound) {
  pcmain_eCurrentState = APP_STATE_GFX_CONVERT;
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  qal_bCDOpened = 1;
  EXPECT_EQ(pcmain_LoopStep(), 0);
  EXPECT_EQ(g_aoTrace, Trace_t({"pcfe_ConvertLeave", "pcfe_Start", "pcstub_FrontEndHook", "game_Start",
                                "vsync_TasksRun", "pcframe_Begin", "pcstub_TickHook", "game_FrontEndTick",
                                "pcstub_MessageDrawForward", "pcframe_ScreenClear", "pcframe_Render", "QDXRateGate 25",
                                "QDLPresent", "sfx_Update", "crowd_CDUpdate"}));
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_FRONT_END);
  // No CD: no CD step; sound switch off: no sound update at all.
  qal_bCDOpened = 0;
  pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_OUTRO;
  g_aoTrace.clear();
  pcmain_LoopStep();
  EXPECT_EQ(g_aoTrace, Trace_t({"pcfe_OutroRun", "sfx_Update"}));
  pcmain_bSoundUpdate = 0;
  g_aoTrace.clear();
  pcmain_LoopStep();
  EXPECT_EQ(g_aoTrace, Trace_t({"pcfe_OutroRun"}));
  // While another application has the foreground only the message wait runs.
  g_oResults["QDLIsInactive"] = 1;
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  g_aoTrace.clear();
  EXPECT_EQ(pcmain_LoopStep(), 0);
  EXPECT_EQ(g_aoTrace, Trace_t({"waitMessage"}));
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_OUTRO);
  // Quitting while away still leaves the current state and ends the loop.
  pcmain_bQuit = 1;
  g_aoTrace.clear();
  EXPECT_EQ(pcmain_LoopStep(), 1);
  EXPECT_EQ(g_aoTrace, Trace_t({"waitMessage", "pcfe_OutroLeave"}));
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
}

TEST_F(Steps, FrontEndRunWithAMovieCatchesUpAndPumpsTheStreamWhileWaiting) {
  pcfmv_bPlaying = 1;
  g_iMovieFrame = 10;
  g_iMovieExpected = 13;
  g_cRateGateWaits = 2;
  g_oResults["game_FrontEndTick"] = 0;
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  pcmain_FrontEndRun();
  EXPECT_EQ(g_aoTrace, Trace_t({"vsync_TasksRun", "pcframe_Begin", "pcstub_TickHook", "game_FrontEndTick",
                                "pcstub_MessageDrawForward", "pcfmv_FrameShow 1", "pcfmv_FrameShow 1",
                                "pcfmv_FrameShow 1", "pcframe_Render", "pcfmv_StreamPump", "pcfmv_StreamPump",
                                "QDXRateGate 15", "QDLPresent"}));
  EXPECT_EQ(g_iMovieFrame, 13);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH_LOADING);
  g_aoTrace.clear();
  pcmain_FrontEndLeave();
  EXPECT_EQ(g_aoTrace, Trace_t({"pcfmv_Stop", "pcfe_Stop"}));
}

TEST_F(Steps, LoadingEntryAndRunUntilTheSceneIsBuilt) {
  scene3d_bBuilt = 1;
  pcmain_LoadingEnter();
  EXPECT_EQ(g_aoTrace, Trace_t({"vidselect_SetScreenSize", "game_MatchEnter", "pause_FlagClear",
                                "pccontrols_BindingsApply"}));
  EXPECT_EQ(scene3d_bBuilt, 0);
  g_aoTrace.clear();
  pcmain_iMatchFrame = 5;
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  pcmain_LoadingRun();
  EXPECT_EQ(g_aoTrace, Trace_t({"QDXRateGate 30", "vsync_TasksRun", "pcstub_TickHook", "game_MatchTick",
                                "pcstub_MessageDrawForward", "loading_bRunStep 0"}));
  EXPECT_EQ(pcmain_iMatchFrame, 6);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH_LOADING);
  // A tick that returns 0 goes back to the front end.
  g_oResults["game_MatchTick"] = 0;
  pcmain_LoadingRun();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_FRONT_END);
  // Once built: loading steps, no ticks; the last one requests the match.
  scene3d_bBuilt = 1;
  pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  g_aoTrace.clear();
  pcmain_LoadingRun();
  EXPECT_EQ(g_aoTrace, Trace_t({"QDXRateGate 30", "vsync_TasksRun", "loading_bRunStep 1"}));
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH_LOADING);
  g_oResults["loading_bRunStep"] = 1;
  pcmain_LoadingRun();
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_MATCH);
}

TEST_F(Steps, MatchEnterRunAndLeave) {
  g_uNow = 5000;
  pcmain_iMatchFrame = 9;
  pcmain_MatchEnter();
  EXPECT_EQ(g_aoTrace, Trace_t({"crowd_CDStart", "pchat_Reset", "pcframe_ReadyClear"}));
  EXPECT_EQ(pcmain_uPrevFrameStart, 5000u);
  EXPECT_EQ(pcmain_iMatchFrame, 0);
  // A frame of 1/20 s after one of 1/20 s: 1 then 2 ticks; the packet is begun
  // before the last tick only.
  g_aoTrace.clear();
  g_uNow += 50000000;
  pcmain_MatchRun();
  const Trace_t aoTick = {"vsync_TasksRun", "pcstub_TickHook", "game_MatchTick", "pcstub_MessageDrawForward"};
  Trace_t aoOne = {"QDXRateGate 30", "pcframe_Begin"};
  aoOne.insert(aoOne.end(), aoTick.begin(), aoTick.end());
  aoOne.push_back("pcframe_bReadyGet");
  aoOne.push_back("scene3d_DrawFrame");
  EXPECT_EQ(g_aoTrace, aoOne);
  g_aoTrace.clear();
  g_uNow += 50000000;
  pcmain_MatchRun();
  Trace_t aoTwo = {"QDXRateGate 30"};
  aoTwo.insert(aoTwo.end(), aoTick.begin(), aoTick.end());
  aoTwo.push_back("pcframe_Begin");
  aoTwo.insert(aoTwo.end(), aoTick.begin(), aoTick.end());
  aoTwo.push_back("pcframe_bReadyGet");
  aoTwo.push_back("scene3d_DrawFrame");
  EXPECT_EQ(g_aoTrace, aoTwo);
  EXPECT_EQ(pcmain_iMatchFrame, 3);
  // No packet ready: nothing drawn.
  g_oResults["pcframe_bReadyGet"] = 0;
  g_aoTrace.clear();
  g_uNow += 1000000000;
  pcmain_MatchRun();
  EXPECT_EQ(g_aoTrace, Trace_t({"QDXRateGate 30", "pcframe_bReadyGet"}));

  g_aoTrace.clear();
  qal_bStarted = 1;
  pcmain_MatchLeave();
  EXPECT_EQ(g_aoTrace, Trace_t({"scene3d_Shutdown", "crowd_StopAll", "sfx_FreeAllBanks", "QALShutdown",
                                "replay_Reset", "injuryg_Update", "injuryg_MatchEndUpdate", "match_SquadsCopyBack",
                                "pcmain_DisplayStartup"}));
  EXPECT_EQ(qal_bStarted, 0);
  g_aoTrace.clear();
  pcmain_MatchLeave();
  EXPECT_EQ(std::count(g_aoTrace.begin(), g_aoTrace.end(), "QALShutdown"), 0);
  EXPECT_EQ(pcmain_bQuit, 0);
  // A display that does not open again ends the program with code 1.
  g_oResults["pcmain_DisplayStartup"] = 0;
  g_aoTrace.clear();
  pcmain_MatchLeave();
  EXPECT_EQ(std::count(g_aoTrace.begin(), g_aoTrace.end(), "postQuit 1"), 1);
  EXPECT_EQ(pcmain_bQuit, 1);
  pcmain_bQuit = 0;
}

}  // namespace
