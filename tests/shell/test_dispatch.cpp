// The two ticks' jump tables, the match frame's steps and the one-time set-up,
// compiled over recording fakes of every operation they call: each case must
// call exactly its own handler, with the common calls in their order.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "framework/math/qrand.h"
#include "frontend/frontend_services.h"
#include "frontend/pctext.h"
#include "scene3d/scene3d_services.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/match_services.h"
#include "shell/mem.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/tournament_services.h"

namespace {
std::vector<std::string> g_aoTrace;
int32_t g_bControllerMissing;
int32_t g_bSimulationHeld;
void Trace(const char* pszName) { g_aoTrace.emplace_back(pszName); }
}  // namespace

#define FAKE(name) \
  void name() { Trace(#name); }
// Front-end screens.
FAKE(mteam_Run)
FAKE(pcsides_Run)
FAKE(pcgame_MainMenuRun)
FAKE(mtatics_Run)
FAKE(mquick_MatchStart)
FAKE(mfhsquad_Run)
FAKE(mcondi_Run)
FAKE(pcsave_SaveRun)
FAKE(pcsave_LoadRun)
FAKE(mfhsetup_Run)
FAKE(mfhmain_Run)
FAKE(mfhfixtr_Run)
FAKE(mfhopts_Run)
FAKE(mfhgroup_Run)
FAKE(mfhrole_Run)
FAKE(mfhnews_Run)
FAKE(pccontrols_Run)
FAKE(intro_Run)
FAKE(wcwin_Run)
FAKE(wcqual_Run)
FAKE(wcelim_Run)
FAKE(wcintro_Run)
FAKE(histintro_Run)
FAKE(mhelp_Run)
FAKE(pcfmv_Stop)
FAKE(mlang_Enter)
FAKE(replay_Mode1Enter)
FAKE(matchflow_TitleRun)
FAKE(demo_MatchSetup)
FAKE(options_Run)
FAKE(pausemenu_AttractMovieRun)
FAKE(mfhmain_HistoryLeave)
void pcfe_EscapeTrack() {}
void pctext_ErrorBoxKeyTake() {}
int32_t caption_ControllerMsgDraw() {
  Trace("message");
  return 0;
}
// The parts of the match a match tick runs: each notes the mode it ran in
// and then does what the test gives it to do (g_pfnPartDoes), as a real part
// asks for the next mode.
namespace {
int32_t g_eModeSeen;
void (*g_pfnPartDoes)();
void Part(const char* pszName) {
  Trace(pszName);
  g_eModeSeen = static_cast<int32_t>(global.eGameMode);
  if (g_pfnPartDoes) g_pfnPartDoes();
}
}  // namespace
#define PART(name) \
  void name() { Part(#name); }
PART(usrctl_Update)
PART(options_DebugUpdate)
PART(matchstart_Update)
PART(kickoff_Update)
PART(matchflow_InMatchSetup)
PART(mgoalkic_Update)
PART(corner_Run)
PART(keeperball_Run)
PART(periodbreak_Update)
PART(mftime_Run)
PART(returnpos_Update)
PART(mthrowin_Update)
PART(freekick_Run)
PART(replay_Update)
PART(penalty_Update)
PART(subs_Update)
PART(mformation_Update)
PART(subs_Mode62Update)
PART(celebrate_Run)
PART(mpenso_Update)
PART(subs_Mode67Update)
PART(kickoffwait_Update)
PART(mhands_Update)
PART(spscript_Update)
PART(cpuman_ModeRun)
PART(playon_Update)
#undef PART
FAKE(caption_Draw)
FAKE(demo_Update)
FAKE(pausemenu_Settle)
// The frame's steps, match entry and the set-up.
FAKE(replay_RecordFrame)
FAKE(clock_Update)
FAKE(camera_Update)
FAKE(ball_Update)
FAKE(offside_LineUpdate)
FAKE(player_FrameUpdate)
FAKE(user_Update)
FAKE(crowd_UpdateExcitement)
FAKE(ticktape_Update)
FAKE(anim_BallAtHolderPlace)
FAKE(pcframe_PlayersStore)
FAKE(match_Clear)
FAKE(team_PlayersInit)
FAKE(game_UsersStart)
FAKE(squadcache_Clear)
FAKE(matchflow_LineupReset)
FAKE(ticktape_Init)
FAKE(caption_Init)
FAKE(camera_ViewInvalidate)
FAKE(referee_DecisionClear)
FAKE(pctext_ErrorBoxDismiss)
FAKE(vsync_Init)
FAKE(input_PortsRead)
FAKE(input_EventsGenerate)
FAKE(mem_Init)
FAKE(game_UsersReset)
FAKE(input_BindingTablesClear)
FAKE(input_PortsInit)
FAKE(input_DefaultBindingsRegister)
FAKE(input_FirstFreeUserAttach)
#undef FAKE
void pctext_FontSet(int32_t iIndex) { g_aoTrace.push_back("font" + std::to_string(iIndex)); }
void pcframe_BallStore(int32_t bFlag) { g_aoTrace.push_back("ball" + std::to_string(bFlag)); }
int32_t input_bControllerMissing() { return g_bControllerMissing; }
int32_t usrctl_bSimulationHeld() { return g_bSimulationHeld; }
int32_t mfhmain_State;
int32_t g_bPauseQuit;
int32_t pausemenu_bQuitGet() { return g_bPauseQuit; }
// The 2D drawing state's items and prints, written down with their arguments.
int32_t pcframe_AddBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint8_t r, uint8_t g, uint8_t b,
                       uint8_t uAlpha, uint32_t uFlags) {
  char sz[128];
  std::snprintf(sz, sizeof sz, "box %d %d %d %d L%d rgb %d %d %d a%d f%u", x, y, x2, y2, iLayer, r, g, b, uAlpha,
                uFlags);
  g_aoTrace.emplace_back(sz);
  return 0;
}
int32_t pcframe_AddShadedBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint32_t uColour1,
                             uint32_t uColour2, uint32_t uColour3, uint32_t uColour4, uint32_t uFlags) {
  char sz[128];
  std::snprintf(sz, sizeof sz, "shaded %d %d %d %d L%d %08x %08x %08x %08x f%u", x, y, x2, y2, iLayer, uColour1,
                uColour2, uColour3, uColour4, uFlags);
  g_aoTrace.emplace_back(sz);
  return 0;
}
int32_t pcframe_AddTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t iLayer,
                            uint8_t r, uint8_t g, uint8_t b, uint8_t uAlpha, uint32_t uFlags) {
  char sz[128];
  std::snprintf(sz, sizeof sz, "tri %d %d %d %d %d %d L%d rgb %d %d %d a%d f%u", x1, y1, x2, y2, x3, y3, iLayer, r, g,
                b, uAlpha, uFlags);
  g_aoTrace.emplace_back(sz);
  return 0;
}
static void PrintTrace(const char* pszHow, const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  Draw2DColour c = draw2d_oTextColourGet();
  char sz[128];
  std::snprintf(sz, sizeof sz, "%s %s %d %d L%d rgba %d %d %d %d", pszHow, pszText, x, y, iLayer, c.r, c.g, c.b, c.a);
  g_aoTrace.emplace_back(sz);
}
void pctext_PrintLeft(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  PrintTrace("left", pszText, x, y, iLayer);
}
void pctext_PrintCentred(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  PrintTrace("centred", pszText, x, y, iLayer);
}
void pctext_PrintRight(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  PrintTrace("right", pszText, x, y, iLayer);
}

namespace {

using Trace_t = std::vector<std::string>;

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    global = Global{};
    global_bModeChanged = 0;
    g_aoTrace.clear();
    g_bControllerMissing = 0;
    g_bSimulationHeld = 0;
    mfhmain_State = 0;
    g_pfnPartDoes = nullptr;
    g_bPauseQuit = 0;
  }
};

TEST_F(Dispatch, FrontEndTableCallsEachScreenWithItsMessage) {
  // mode -> {calls after reading the ports, mode afterwards (0: kept), result}
  struct Row { Trace_t aoCalls; int32_t iModeAfter; int32_t iResult; };
  std::map<int32_t, Row> oTable = {
      {1, {{"replay_Mode1Enter"}, 0, 1}},
      {4, {{}, 0, 1}},
      {5, {{}, 0, 1}},
      {25, {{}, 0, 1}},
      {8, {{"message", "matchflow_TitleRun"}, 0, 1}},
      {9, {{"message", "mteam_Run"}, 0, 1}},
      {11, {{"message", "pcsides_Run"}, 0, 1}},
      {12, {{"message", "pcgame_MainMenuRun"}, 0, 1}},
      {13, {{"message", "mtatics_Run"}, 0, 1}},
      {14, {{"message", "mquick_MatchStart"}, 0, 1}},
      {19, {{"message", "mquick_MatchStart"}, 0, 1}},
      {15, {{"message", "demo_MatchSetup"}, 0, 1}},
      {17, {{"message", "mfhsquad_Run"}, 0, 1}},
      {20, {{"message", "mcondi_Run"}, 0, 1}},
      {21, {{"message"}, 12, 1}},
      {22, {{"pcfmv_Stop", "vsync_Init"}, 0, 0}},
      {33, {{"pcfmv_Stop", "vsync_Init"}, 0, 0}},
      {41, {{"message", "options_Run"}, 0, 1}},
      {42, {{"message", "pcsave_SaveRun"}, 0, 1}},
      {43, {{"message", "pcsave_LoadRun"}, 0, 1}},
      {45, {{"message", "mfhsetup_Run"}, 0, 1}},
      {47, {{"message", "mfhmain_Run"}, 0, 1}},
      {48, {{"message", "mfhfixtr_Run"}, 0, 1}},
      {52, {{"message", "mfhopts_Run"}, 0, 1}},
      {55, {{"message", "mfhgroup_Run"}, 0, 1}},
      {56, {{"message", "mfhrole_Run"}, 0, 1}},
      {57, {{"message", "mfhnews_Run"}, 0, 1}},
      {70, {{"message", "pccontrols_Run"}, 0, 1}},
      {73, {{"intro_Run"}, 0, 1}},
      {75, {{"wcwin_Run"}, 0, 1}},
      {76, {{"wcqual_Run"}, 0, 1}},
      {77, {{"wcelim_Run"}, 0, 1}},
      {78, {{"wcelim_Run"}, 0, 1}},
      {79, {{"wcintro_Run"}, 0, 1}},
      {81, {{"message", "mlang_Enter"}, 0, 1}},
      {83, {{"pausemenu_AttractMovieRun"}, 0, 1}},
      {84, {{"histintro_Run"}, 0, 1}},
      {88, {{"mhelp_Run"}, 0, 1}},
  };
  for (int32_t iMode = -2; iMode <= 90; iMode++) {
    auto it = oTable.find(iMode);
    Row oRow = it != oTable.end() ? it->second : Row{{}, 1, 1};  // any other mode: mode 1
    global_SetGameMode(static_cast<GameMode>(iMode));
    global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
    g_aoTrace.clear();
    QMathRandState oBefore;
    QMathRandStateSave(&oBefore);
    EXPECT_EQ(game_FrontEndTick(), oRow.iResult) << iMode;
    Trace_t aoExpected = {"input_PortsRead", "input_EventsGenerate"};
    aoExpected.insert(aoExpected.end(), oRow.aoCalls.begin(), oRow.aoCalls.end());
    EXPECT_EQ(g_aoTrace, aoExpected) << iMode;
    EXPECT_EQ(global_eGetGameMode(), oRow.iModeAfter ? oRow.iModeAfter : iMode) << iMode;
    // The generator stepped exactly once.
    QMathRandState oAfter;
    QMathRandStateSave(&oAfter);
    QMathRandStateRestore(&oBefore);
    (void)QMathRandNext();
    QMathRandState oOnce;
    QMathRandStateSave(&oOnce);
    EXPECT_EQ(std::memcmp(oOnce.table, oAfter.table, sizeof oOnce.table), 0) << iMode;
    EXPECT_EQ(oOnce.j, oAfter.j) << iMode;
    EXPECT_EQ(oOnce.k, oAfter.k) << iMode;
  }
  // Mode 8 in the history goes to the news.
  global_SetGameMode(static_cast<GameMode>(8));
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  g_aoTrace.clear();
  game_FrontEndTick();
  EXPECT_EQ(g_aoTrace, Trace_t({"input_PortsRead", "input_EventsGenerate", "message"}));
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_NEWS);
  // Mode 73 of the history: back to the menu only with the history flag set
  // and the history main screen in state 3.
  for (int32_t iState : {2, 3}) {
    for (int32_t bFlag : {0, 1}) {
      global_SetGameMode(GAME_MODE_INTRO);
      global.bHistory = bFlag;
      mfhmain_State = iState;
      game_FrontEndTick();
      EXPECT_EQ(global_eGetGameMode(), bFlag && iState == 3 ? GAME_MODE_RETURN_TO_MAIN_MENU : GAME_MODE_NEWS);
    }
  }
  // A history match left through its pause menu: the history is left for the
  // menu, whatever the flag and the state say; the news does not follow.
  for (int32_t bFlag : {0, 1}) {
    global_SetGameMode(GAME_MODE_INTRO);
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    global.bHistory = bFlag;
    mfhmain_State = 0;
    g_bPauseQuit = 1;
    g_aoTrace.clear();
    game_FrontEndTick();
    EXPECT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_TO_MAIN_MENU) << bFlag;
    EXPECT_EQ(g_aoTrace, Trace_t({"input_PortsRead", "input_EventsGenerate", "mfhmain_HistoryLeave"})) << bFlag;
  }
  // Outside the history the quit flag changes nothing: a friendly's menu.
  global_SetGameMode(GAME_MODE_INTRO);
  global_SetExtendedGameMode(static_cast<GameMode>(74));
  g_aoTrace.clear();
  game_FrontEndTick();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(g_aoTrace, Trace_t({"input_PortsRead", "input_EventsGenerate"}));
}

// Which part of the match each mode runs, by what the mode is: a throw-in
// runs the throw-in, a corner the corner... The substitutions' modes (59, 62,
// 67) and the formation's (61) have no names.
const std::map<int32_t, const char*> kPartOfMode = {
    {GAME_MODE_PLAY, "usrctl_Update"},
    {GAME_MODE_PAUSE_MENU, "options_DebugUpdate"},
    {GAME_MODE_MATCH_START, "matchstart_Update"},
    {GAME_MODE_KICK_OFF, "kickoff_Update"},
    {GAME_MODE_IN_MATCH_SETUP, "matchflow_InMatchSetup"},
    {GAME_MODE_GOAL_KICK, "mgoalkic_Update"},
    {GAME_MODE_CORNER, "corner_Run"},
    {32, "keeperball_Run"},
    {GAME_MODE_PERIOD_BREAK, "periodbreak_Update"},
    {GAME_MODE_PERIOD_END, "mftime_Run"},
    {GAME_MODE_RETURN_POSITIONS, "returnpos_Update"},
    {GAME_MODE_THROW_IN, "mthrowin_Update"},
    {GAME_MODE_FREE_KICK, "freekick_Run"},
    {GAME_MODE_REPLAY, "replay_Update"},
    {GAME_MODE_PENALTY, "penalty_Update"},
    {59, "subs_Update"},
    {61, "mformation_Update"},
    {62, "subs_Mode62Update"},
    {GAME_MODE_GOAL_CELEBRATION, "celebrate_Run"},
    {GAME_MODE_SHOOTOUT, "mpenso_Update"},
    {67, "subs_Mode67Update"},
    {GAME_MODE_INTERVAL, "kickoffwait_Update"},
    {GAME_MODE_KEEPER_HANDS, "mhands_Update"},
    {GAME_MODE_SET_PIECE_SCRIPT, "spscript_Update"},
    {GAME_MODE_CPU_SUBS, "cpuman_ModeRun"},
    {GAME_MODE_PLAY_ON, "playon_Update"},
};

// The parts of the match in a trace, in order.
Trace_t PartsIn(const Trace_t& a) {
  std::set<std::string> oParts;
  for (const auto& [iMode, pszPart] : kPartOfMode) oParts.insert(pszPart);
  Trace_t o;
  for (const std::string& s : a)
    if (oParts.count(s)) o.push_back(s);
  return o;
}

// Where a call comes in a trace; -1 when it is not there.
int32_t At(const Trace_t& a, const std::string& s) {
  for (size_t i = 0; i < a.size(); i++)
    if (a[i] == s) return static_cast<int32_t>(i);
  return -1;
}

// Every mode, the match's and the rest: a match mode runs its own part, once,
// in that mode, and no other part; any other mode runs none. The match goes
// on after every tick but that of its end, which starts the frame rate again.
TEST_F(Dispatch, EachMatchModeRunsItsOwnPartAndNoOther) {
  for (int32_t iMode = -2; iMode <= 90; iMode++) {
    global = Global{};
    global_SetGameMode(static_cast<GameMode>(iMode));
    g_aoTrace.clear();
    g_eModeSeen = -100;
    const int32_t iGoesOn = game_MatchTick();
    const auto it = kPartOfMode.find(iMode);
    if (it != kPartOfMode.end()) {
      EXPECT_EQ(PartsIn(g_aoTrace), Trace_t({it->second})) << iMode;
      EXPECT_EQ(g_eModeSeen, iMode);
    } else {
      EXPECT_EQ(PartsIn(g_aoTrace), Trace_t()) << iMode;
    }
    // Whatever the mode, the captions are drawn, the demo moves on and the
    // pause menu settles.
    for (const char* psz : {"caption_Draw", "demo_Update", "pausemenu_Settle"})
      EXPECT_GE(At(g_aoTrace, psz), 0) << iMode << " " << psz;
    EXPECT_EQ(iGoesOn, iMode == GAME_MODE_MATCH_END ? 0 : 1) << iMode;
    EXPECT_EQ(At(g_aoTrace, "vsync_Init") >= 0, iMode == GAME_MODE_MATCH_END) << iMode;
    // No part asked for another mode: the tick keeps its own.
    EXPECT_EQ(global_eGetGameMode(), iMode) << iMode;
  }
}

// A part runs on the inputs of its own tick, read before it; the captions are
// drawn over what it did; the mode it asks for (a throw-in handing over to
// play) takes over once the tick is done, its enter operation after the
// captions and the pause menu's settling, and the next tick runs that mode's
// part.
TEST_F(Dispatch, APartSeesThisTicksInputsAndTheModeItAsksForRunsFromTheNextTick) {
  global_SetGameMode(GAME_MODE_THROW_IN);
  g_pfnPartDoes = [] {
    if (global.eGameMode == GAME_MODE_THROW_IN) global_GameModePush([] { Trace("enter"); }, GAME_MODE_PLAY_ON, nullptr);
  };
  EXPECT_EQ(game_MatchTick(), 1);
  g_pfnPartDoes = nullptr;
  const Trace_t a = g_aoTrace;
  const int32_t iPart = At(a, "mthrowin_Update");
  ASSERT_GE(iPart, 0);
  EXPECT_EQ(g_eModeSeen, GAME_MODE_THROW_IN) << "the part ran in its own mode";
  EXPECT_LT(At(a, "input_PortsRead"), iPart);
  EXPECT_LT(At(a, "input_EventsGenerate"), iPart);
  EXPECT_LT(At(a, "input_PortsRead"), At(a, "input_EventsGenerate"));
  EXPECT_LT(At(a, "font0"), iPart) << "the part prints in the match's font";
  EXPECT_GT(At(a, "caption_Draw"), iPart);
  EXPECT_GT(At(a, "enter"), At(a, "caption_Draw"));
  EXPECT_GT(At(a, "enter"), At(a, "pausemenu_Settle"));
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY_ON);

  g_aoTrace.clear();
  EXPECT_EQ(game_MatchTick(), 1);
  EXPECT_EQ(PartsIn(g_aoTrace), Trace_t({"playon_Update"}));
  EXPECT_EQ(At(g_aoTrace, "enter"), -1) << "entered once";
}

TEST_F(Dispatch, MatchFrameSimulatesUnlessHeldAndAlwaysDraws) {
  const Trace_t aoDraw = {"crowd_UpdateExcitement", "ticktape_Update", "anim_BallAtHolderPlace", "ball0",
                          "pcframe_PlayersStore"};
  Trace_t aoSim = {"replay_RecordFrame", "font0",      "clock_Update",       "camera_Update",
                   "ball_Update",        "offside_LineUpdate", "player_FrameUpdate", "user_Update"};
  aoSim.insert(aoSim.end(), aoDraw.begin(), aoDraw.end());
  game_MatchFrame();
  EXPECT_EQ(g_aoTrace, aoSim);
  for (int32_t iCase = 0; iCase < 2; iCase++) {
    g_bControllerMissing = iCase == 0;
    g_bSimulationHeld = iCase == 1;
    g_aoTrace.clear();
    game_MatchFrame();
    EXPECT_EQ(g_aoTrace, aoDraw) << iCase;
  }
  g_aoTrace.clear();
  game_MatchFrameNoSim();
  Trace_t aoNoSim = {"camera_Update"};
  aoNoSim.insert(aoNoSim.end(), aoDraw.begin(), aoDraw.end());
  EXPECT_EQ(g_aoTrace, aoNoSim);
}

TEST_F(Dispatch, GameStartMatchEnterAndStartUpInOrder) {
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  game_Start();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_REPLAY_BINDINGS);
  EXPECT_EQ(g_aoTrace, Trace_t({"match_Clear", "team_PlayersInit", "game_UsersStart", "squadcache_Clear"}));
  g_aoTrace.clear();
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  game_Start();
  EXPECT_EQ(g_aoTrace, Trace_t({"game_UsersStart"}));

  g_aoTrace.clear();
  global.bHistory = 1;
  game_MatchEnter();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_IN_MATCH_SETUP);
  EXPECT_EQ(global.bHistory, 0);
  EXPECT_EQ(g_aoTrace, Trace_t({"matchflow_LineupReset", "ticktape_Init", "camera_ViewInvalidate", "referee_DecisionClear",
                                "pctext_ErrorBoxDismiss"}));

  // The one-time set-up empties the stack: mode and enter operation of every
  // entry cleared, the pointer 0.
  for (int32_t i = 0; i < GLOBAL_GAME_MODE_STACK_MAX; i++) {
    global.aStack[i] = {GAME_MODE_CORNER, [] {}, [] {}};
  }
  global.iStackPointer = 16;
  g_aoTrace.clear();
  game_Startup();
  EXPECT_EQ(g_aoTrace, Trace_t({"mem_Init", "game_UsersReset", "input_BindingTablesClear", "input_PortsInit",
                                "input_DefaultBindingsRegister", "input_FirstFreeUserAttach"}));
  EXPECT_EQ(global.iStackPointer, 0);
  for (int32_t i = 0; i < GLOBAL_GAME_MODE_STACK_MAX; i++) {
    EXPECT_EQ(global.aStack[i].eMode, GAME_MODE_NONE) << i;
    EXPECT_EQ(global.aStack[i].pfnInit, nullptr) << i;
  }
}

TEST_F(Dispatch, DrawingStateItemsAndShadowedText) {
  draw2d_FillColourSet(10, 20, 30, 200);
  draw2d_RectFill(1, 2, 30, 40, 5);
  draw2d_FillColourSet(10, 20, 30, 255);
  draw2d_RectFill(1, 2, 30, 40, 5);
  draw2d_Colour2Set(1, 2, 3, 254);
  draw2d_RectFill2(4, 5, 6, 7, 3);
  draw2d_RectFillCorners2(3, 4, 9, 8, 2);
  draw2d_Colour2Set(1, 2, 3, 255);
  draw2d_RectFillCorners2(3, 4, 9, 8, 2);
  draw2d_TriangleFill(0, 1, 10, 2, 5, 6, 4);
  draw2d_FillColourSet(9, 8, 7, 0);
  draw2d_TriangleFill(0, 1, 10, 2, 5, 6, 4);
  draw2d_GradientSet(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99);
  draw2d_GradientRectFill(10, 20, 100, 50, 6);
  draw2d_TextColourSet(200, 100, 50, 77);
  draw2d_TextShadowDraw("GOAL", 256, 120);
  draw2d_TextShadowDrawRemapped("OFFSIDE", 10, 11);
  EXPECT_EQ(g_aoTrace, Trace_t({
                           "box 1 2 31 42 L5 rgb 10 20 30 a128 f17",
                           "box 1 2 31 42 L5 rgb 10 20 30 a255 f1",
                           "box 4 5 10 12 L3 rgb 1 2 3 a255 f0",
                           "box 3 4 9 8 L2 rgb 1 2 3 a128 f0",
                           "box 3 4 9 8 L2 rgb 1 2 3 a255 f0",
                           "tri 0 1 10 2 5 6 L4 rgb 10 20 30 a255 f1",
                           "tri 0 1 10 2 5 6 L4 rgb 9 8 7 a128 f1",
                           "shaded 10 20 110 70 L6 63030201 63060504 63090807 630c0b0a f1",
                           "centred GOAL 256 120 L1 rgba 200 100 50 77",
                           "centred GOAL 257 121 L1 rgba 0 0 0 255",
                           "left OFFSIDE 10 11 L1 rgba 200 100 50 77",
                           "left OFFSIDE 11 12 L1 rgba 0 0 0 255",
                       }));
  Draw2DColour c = draw2d_oTextColourGet();
  EXPECT_EQ(c.r, 200);
  EXPECT_EQ(c.a, 77);
}

// Shadowed text on a layer of the caller's choosing, placed from its left end,
// its right end or its middle: the text, then its black copy a pixel down and
// right on the same layer (one priority draws its latest item first, so the
// text lands over its shadow); the text colour stays as it was.
TEST_F(Dispatch, ShadowedTextOnAGivenLayerInEachAlignment) {
  draw2d_TextColourSet(255, 255, 255, 255);
  draw2d_TextShadowLeft("Brazil 0 - 0 Austria", 80, 10, 1);
  draw2d_TextShadowRight("45", 577, 10, 0);
  draw2d_TextColourSet(252, 241, 0, 255);
  draw2d_TextShadowCentred("OFFSIDE", 256, 136, 2);
  EXPECT_EQ(g_aoTrace, Trace_t({
                           "left Brazil 0 - 0 Austria 80 10 L1 rgba 255 255 255 255",
                           "left Brazil 0 - 0 Austria 81 11 L1 rgba 0 0 0 255",
                           "right 45 577 10 L0 rgba 255 255 255 255",
                           "right 45 578 11 L0 rgba 0 0 0 255",
                           "centred OFFSIDE 256 136 L2 rgba 252 241 0 255",
                           "centred OFFSIDE 257 137 L2 rgba 0 0 0 255",
                       }));
  const Draw2DColour c = draw2d_oTextColourGet();
  EXPECT_EQ(c.r, 252);
  EXPECT_EQ(c.g, 241);
  EXPECT_EQ(c.b, 0);
  EXPECT_EQ(c.a, 255);
}

}  // namespace
