// In-match set-up, match start and its loading steps, the centre-spot wait
// and the line-up panels.
#include "matchflow/matchflow.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newgoalo.h"
#include "frontend/mtatics.h"
#include "engine/player.h"
#include "engine/team.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "matchflow/virtdir.h"
#include "scene3d/scene3d_services.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/gmewidg.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pause.h"
#include "shell/match_services.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "tournament/tournament_services.h"

namespace {

// The loading steps, the centre-spot wait and the line-up panels of one
// match.
struct FlowState {
  std::int32_t iLoadStep;
  std::int32_t iWaitCounter;
  std::int32_t iLineupPhase;
  std::int32_t iLineupTimer;
};
constexpr FlowState kFlowFresh = {};
FlowState s_oFlow = kFlowFresh;

void (*s_pfnSceneInit)() = nullptr;
constexpr std::int32_t kLineupDurations[6] = {0, 40, 100, 40, 100, 0};

void SceneInit() {
  if (s_pfnSceneInit) s_pfnSceneInit();
  else scene3d_Init();
}

}  // namespace

// ---- Mode 24 ------------------------------------------------------------------------------------

MatchStateBlock matchflow_MatchState() { return {"matchflow", &s_oFlow, sizeof s_oFlow}; }
void matchflow_MatchReset() { matchstate_Restore(s_oFlow, kFlowFresh); }

void matchflow_InMatchSetup() {
  camera_TypesRegister();
  global_ResetGameModeStack();
  pausemenu_Build();
  matchflow_MatchBegin();
  match_Clear();
  matchflow_MatchSetup();
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    input_PortBindingSet(1, u.pip);
    input_PortBindingSave(u.pip);
    input_PortPendingSet(u.pip);
  }
  global_GameModePush(matchstart_Enter, GAME_MODE_MATCH_START, nullptr);
}

void matchflow_MatchSetup() {
  // Every player record as the program starts it, byte for byte (the sides
  // are linked to their squads at the kick-off set-up).
  static_assert(std::is_trivially_copyable_v<Player>);
  static const Player kPlayerFresh{};
  for (Player& p : player_aHome) matchstate_Restore(p, kPlayerFresh);
  for (Player& p : player_aAway) matchstate_Restore(p, kPlayerFresh);
  // The clock, which the kick-off wait starts afresh: until then it reads 0
  // as in the first match.
  clock_oClock = MatchClock{};
  team_PlayersInit();
  newgoalo_PoolReset();
  usrmark_PoolInit();
  user_Init();
  user_MatchReset();
  // No caption of the last match (its shoot-out's marks among them) waits.
  caption_Init();
}

void matchflow_PlayersKickOffInit() {
  std::int32_t i = 0;
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    pp->ID = static_cast<std::uint8_t>(i++);
    // A side handed no squad plays for nobody: nothing to set up.
    if (pp->MyTeam != player_PlaysFor_Home && pp->MyTeam != player_PlaysFor_Away) continue;
    plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
  }
  anim_Reset(&player_oReferee.oAnimData);
}

// ---- Mode 22 ------------------------------------------------------------------------------------

void matchstart_SceneInitSet(void (*pfnInit)()) { s_pfnSceneInit = pfnInit; }
std::int32_t matchstart_StepGet() { return s_oFlow.iLoadStep; }

void matchstart_Enter() {
  s_oFlow.iLoadStep = 0;
  match_KickOffSetup();
}

std::int32_t matchstart_LoadStep(std::int32_t iStep) {
  pctext_FontSet(1);
  draw2d_TextColourSet(200, 200, 200, 255);
  if (iStep == 0) {
    matchflow_PlayersKickOffInit();
    for (const User& u : user_aUsers)
      if (u.bActive && u.pip) gmewidg_ConfigSet(u.pip->cConfig);
    return 0;
  }
  if (iStep == 6) {
    SceneInit();
    return GAME_MODE_KICK_OFF;
  }
  return 0;
}

void matchstart_Update() {
  user_ActiveEventQueuesFlush();
  anim_TableInit();
  const std::int32_t iReport = matchstart_LoadStep(s_oFlow.iLoadStep);
  s_oFlow.iLoadStep++;
  if (iReport != GAME_MODE_KICK_OFF) return;

  action_TableInit();
  mtatics_SidesLog("match start");
  const bool bBothSides = match_HomeFirstPlayerGet() != nullptr && match_AwayFirstPlayerGet() != nullptr;
  global.bOneSide = bBothSides ? 0 : 1;
  global_GameModePush(kickoffwait_Enter, GAME_MODE_INTERVAL, nullptr);
  if (bBothSides) {
    clock_Init();
    tmglobal_MatchPhaseSet(0);
  }
  virtdir_PathSet(1);
  matchflow_LineupStart();
  team_SubsAllowedSet(match_HomeTeamGet(), TEAM_SUBS_AT_START);
  team_SubsAllowedSet(match_AwayTeamGet(), TEAM_SUBS_AT_START);
  pchat_Reset();
}

// ---- Mode 72 ------------------------------------------------------------------------------------

std::int32_t kickoffwait_CounterGet() { return s_oFlow.iWaitCounter; }

namespace {
void WaitResume() { input_ActiveUsersBind(1); }

void KickOffSignal() {
  setp_CommandSet(1);
  camera_FadeStart();
  s_oFlow.iWaitCounter = -1000;
}
}  // namespace

void kickoffwait_Enter() {
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    input_PortBindingSet(u.MyTeam ? 1 : 16, u.pip);
  }
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  setp_Init();
  s_oFlow.iWaitCounter = 0;
}

void kickoffwait_Update() {
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (iEvent == 1 && pusr->MyTeam) {
      pausemenu_Open(pusr, WaitResume);
    } else if (iEvent == 83 && s_oFlow.iWaitCounter >= 0) {
      KickOffSignal();
    }
  });
  if (s_oFlow.iWaitCounter >= 0) {
    s_oFlow.iWaitCounter++;
    const bool bDemo = global_eGetExtendedGameMode() == GAME_MODE_DEMO;
    if ((bDemo && s_oFlow.iWaitCounter > 60) || (!bDemo && clock_MinuteGet() == 0 && s_oFlow.iWaitCounter >= 1201) ||
        (!bDemo && clock_MinuteGet() > 0 && s_oFlow.iWaitCounter >= 151))
      KickOffSignal();
  }
  game_MatchFrame();
}

// ---- Line-up panels -------------------------------------------------------------------------

const std::int8_t matchflow_aaiLineupRows[MATCHFLOW_FORMATIONS][MATCHFLOW_LINEUP_ROWS] = {
    {1, 0, 5, 1, 3, 0, 1}, {1, 0, 5, 0, 4, 0, 1}, {1, 0, 5, 0, 3, 0, 2}, {1, 0, 5, 0, 2, 0, 3},
    {1, 0, 4, 0, 5, 0, 1}, {1, 0, 4, 0, 4, 0, 2}, {1, 0, 4, 1, 3, 0, 2}, {1, 0, 4, 0, 3, 1, 2},
    {1, 0, 4, 1, 2, 1, 2}, {1, 0, 4, 0, 2, 0, 4}, {1, 0, 4, 0, 3, 0, 3}, {1, 0, 3, 0, 4, 0, 3},
    {1, 0, 3, 0, 5, 0, 2}, {1, 0, 3, 0, 3, 0, 4}, {1, 1, 4, 0, 4, 0, 1}, {1, 1, 4, 0, 3, 0, 2},
    {1, 1, 4, 0, 2, 0, 3}, {1, 1, 3, 0, 4, 0, 2}, {1, 1, 3, 0, 5, 0, 1},
};

void matchflow_LineupStart() {
  s_oFlow.iLineupPhase = 1;
  s_oFlow.iLineupTimer = kLineupDurations[1];
}

void matchflow_LineupReset() { s_oFlow.iLineupPhase = 0; }
std::int32_t matchflow_LineupPhaseGet() { return s_oFlow.iLineupPhase; }

void matchflow_LineupNamePlace(std::int32_t c, std::int32_t r, std::int32_t n, std::int32_t k, std::int32_t* px,
                               std::int32_t* py) {
  static const std::int16_t kOffsets[6][5] = {
      {0, 0, 0, 0, 0},         {0, 0, 0, 0, 0},          {-100, 100, 0, 0, 0},
      {-150, 0, 150, 0, 0},    {-190, -70, 70, 190, 0},  {-220, -110, 0, 110, 220},
  };
  const std::int32_t nn = n < 1 ? 1 : n > 5 ? 5 : n;
  const std::int32_t kk = k < 0 ? 0 : k >= nn ? nn - 1 : k;
  *px = 320 + kOffsets[nn][kk];
  *py = (26 - c) * 3 + r * (13 - c) * 4;
  // A row of five is drawn in a W.
  if (nn == 5) {
    if (kk == 0) *py += 12;
    else if (kk == 1 || kk == 3) *py -= 12;
  }
}

void matchflow_LineupNameFit(const char* pszName, std::int32_t n, char* pszOut, std::int32_t cb) {
  // The room between neighbours' centres in a row of n, less a 16-unit gap
  // so that two neighbouring names never touch.
  static const std::int16_t kRoom[6] = {590, 590, 200, 150, 120, 110};
  constexpr std::int16_t kGap = 16;
  const std::int32_t iRoom = pcfe_ScaleX(static_cast<std::int16_t>(kRoom[n < 1 ? 1 : n > 5 ? 5 : n] - kGap));
  const char* p = std::strrchr(pszName, ' ');
  if (pctext_WidthGet(pszName) > iRoom && p != nullptr && p[1] != '\0') pszName = p + 1;
  std::snprintf(pszOut, static_cast<std::size_t>(cb), "%s", pszName);
  // A last word still too wide loses its last letters.
  for (std::size_t i = std::strlen(pszOut); i > 1 && pctext_WidthGet(pszOut) > iRoom; i--) pszOut[i - 1] = '\0';
}

void matchflow_LineupPanel(MatchTeam* poTeam) {
  if (!poTeam) return;
  // The panel is laid out on the match's 2D overlay (640 x 240 units).
  const auto X = [](std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); };
  const auto Y = [](std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); };
  std::int32_t f = team_FormationGet(poTeam);
  if (f < 0 || f >= MATCHFLOW_FORMATIONS) f = 0;
  const std::int8_t* aiRows = matchflow_aaiLineupRows[f];
  std::int32_t c = 0;
  for (std::int32_t r = 0; r < MATCHFLOW_LINEUP_ROWS; r++) c += aiRows[r] > 0;
  // The box is 175 high, or as high as its lowest name needs (formations of
  // five and six rows place their last row lower than that).
  std::int32_t iBottom = 23 + 175;
  for (std::int32_t r = 0, iRow = 0; r < MATCHFLOW_LINEUP_ROWS; r++) {
    if (aiRows[r] <= 0) continue;
    for (std::int32_t k = 0; k < aiRows[r]; k++) {
      std::int32_t x = 0, y = 0;
      matchflow_LineupNamePlace(c, iRow, aiRows[r], k, &x, &y);
      const std::int32_t iBelow = y + 23 + (pctext_HeightGet() * 240 + Y(240) - 1) / Y(240) + 4;
      if (iBelow > iBottom) iBottom = iBelow;
    }
    iRow++;
  }
  // The box lies under the texts (priority 2), which are drawn with a dark
  // shadow (priority 1) so that they read over any picture behind the box.
  draw2d_FillColourSet(32, 32, 32, 160);
  draw2d_RectFill(X(25), Y(23), X(25 + 590) - X(25), Y(iBottom) - Y(23), 2);
  pctext_FontSet(2);
  draw2d_TextColourSet(200, 200, 0, 255);
  // The side's name as every team name in a room is chosen: whole where the
  // box holds it, else its short name.
  char szTeam[32];
  caption_TeamFit(poTeam, X(605) - X(35), szTeam, sizeof szTeam);
  draw2d_TextShadowDraw(szTeam, X(320), Y(28));
  DBPlayer* p = poTeam->poPitchList;
  std::int32_t iRow = 0;
  draw2d_TextColourSet(200, 200, 200, 255);
  for (std::int32_t r = 0; r < MATCHFLOW_LINEUP_ROWS && p; r++) {
    if (aiRows[r] <= 0) continue;
    for (std::int32_t k = 0; k < aiRows[r] && p; k++, p = p->poNext) {
      std::int32_t x = 0, y = 0;
      matchflow_LineupNamePlace(c, iRow, aiRows[r], k, &x, &y);
      char sz[DBPLAYER_NAME_SIZE];
      matchflow_LineupNameFit(p->szName, aiRows[r], sz, static_cast<std::int32_t>(sizeof sz));
      draw2d_TextShadowDraw(sz, X(x), Y(y + 23));
      std::snprintf(sz, sizeof sz, "%d", static_cast<int>(p->uField88));
      draw2d_TextShadowDraw(sz, X(x), Y(y + 23 - 12));
    }
    iRow++;
  }
}

void matchflow_LineupDraw() {
  // A paused match shows its pause menu alone: the panels wait, uncounted,
  // until it goes on.
  if (s_oFlow.iLineupPhase == 0 || pause_bIsPaused()) return;
  if (s_oFlow.iLineupPhase == 2) {
    matchflow_LineupPanel(match_HomeTeamGet());
    if (global.bHistory) global_SetGameMode(GAME_MODE_MATCH_END);
  } else if (s_oFlow.iLineupPhase == 4 && global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING) {
    matchflow_LineupPanel(match_AwayTeamGet());
  }
  if (--s_oFlow.iLineupTimer < 0) {
    s_oFlow.iLineupPhase = s_oFlow.iLineupPhase >= 5 ? 0 : s_oFlow.iLineupPhase + 1;
    s_oFlow.iLineupTimer = kLineupDurations[s_oFlow.iLineupPhase];
  }
}
