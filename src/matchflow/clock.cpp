// The match clock and the period ends.
#include "matchflow/clock.h"

#include <cstdlib>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "frontend/frontend_services.h"
#include "matchflow/gstatso.h"
#include "shell/debuglog.h"
#include "shell/global.h"
#include "shell/vsync.h"

MatchClock clock_oClock;

namespace {

constexpr std::int32_t kActionAreaEdge = 3119;
constexpr std::int32_t kHoldX = 6768;
constexpr std::int32_t kHoldY = 3600;
constexpr std::int32_t kHoldHeight = 25;
constexpr std::int32_t kHoldSeconds = 60;

// Clock values the periods restart from: 45:00, 90:00, 105:00, 120:00.
constexpr std::int32_t aiPeriodStart[4] = {81000, 162000, 189000, 216000};

void PeriodEnd(GameMode eMode, GameModeFn pfnEnter) {
  global_ResetGameModeStack();
  global_GameModePush(pfnEnter, eMode, nullptr);
  referee_DecisionLock();
}

}  // namespace

void clock_Init() {
  MatchClock& c = clock_oClock;
  c.iClock = 0;
  c.iPeriod = 0;
  vsync_TaskAdd(clock_Tick);
  c.iRunState = CLOCK_STOPPED;
  c.aiPeriodEnd[0] = 2700 + QMathRandRange(30);
  c.aiPeriodEnd[1] = 5400 + QMathRandRange(60);
  c.aiPeriodEnd[2] = 6300 + QMathRandRange(30);
  c.aiPeriodEnd[3] = 7200 + QMathRandRange(30);
  // A length of 0 would divide by zero and one above 90 would step 0: the
  // match would never end.
  std::int32_t iLength = mcondi_MatchLengthGet();
  if (iLength < 1) iLength = 1;
  if (iLength > 90) iLength = 90;
  c.iLength = iLength;
  c.iStep = 90 / iLength;
}

void clock_Start() {
  clock_oClock.iRunState = CLOCK_RUNNING;
  clock_oClock.bPeriodOver = 0;
}
void clock_ResumeOnPlay() { clock_oClock.iRunState = CLOCK_RESUME; }
void clock_StateSave() { clock_oClock.iSavedRunState = clock_oClock.iRunState; }
void clock_StateRestore() { clock_oClock.iRunState = clock_oClock.iSavedRunState; }

std::int32_t clock_Tick() {
  MatchClock& c = clock_oClock;
  if (global_eGetGameMode() != GAME_MODE_PLAY) return 1;
  if (c.iRunState == CLOCK_RESUME) {
    c.iRunState = CLOCK_RUNNING;
    return 1;
  }
  if (c.iRunState != CLOCK_RUNNING) return 1;
  c.iClock += c.iStep;
  const Ball* pb = &ball_oBall;
  const Player* pp = pb->poOwner ? pb->poOwner : pb->poPrevOwner;
  if (pp) {
    MatchTeam* poTeam = PlayerO_MyTeamGet(pp) == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
    gstatso_PossessionAdd(&poTeam->MatchStats, c.iStep);
  }
  MatchStats* ps = &match_HomeTeamGet()->MatchStats;
  const std::int32_t x = ball_XGet(pb);
  if (x < -kActionAreaEdge) gstatso_ActionArea0Add(ps, c.iStep);
  else if (x > kActionAreaEdge) gstatso_ActionArea2Add(ps, c.iStep);
  else gstatso_ActionArea1Add(ps, c.iStep);
  return 1;
}

void clock_Update() {
  MatchClock& c = clock_oClock;
  if (global_eGetGameMode() != GAME_MODE_PLAY) return;
  // The end table has the four periods of play; after extra time nothing ends.
  if (c.iPeriod < 0 || c.iPeriod >= 4) return;
  const std::int32_t iSeconds = clock_SecondsGet();
  const std::int32_t iEnd = c.aiPeriodEnd[c.iPeriod];
  if (iSeconds <= iEnd) return;
  // An attack still live near a goal holds the period for up to a minute.
  const Ball* pb = &ball_oBall;
  const std::int32_t x = ball_XGet(pb), y = ball_YGet(pb), h = ball_HeightGet(pb);
  if (std::abs(x) > kHoldX && std::abs(y) < kHoldY &&
      ((pb->poOwner == nullptr && h >= kHoldHeight) || (pb->poOwner && PlayerO_SpeedGet(pb->poOwner) > 0)) &&
      iSeconds - iEnd < kHoldSeconds)
    return;
  c.bPeriodOver = 1;
  c.iRunState = CLOCK_STOPPED;
  switch (c.iPeriod) {
    case 0:
      c.iPeriod = 1;
      c.iClock = aiPeriodStart[0];
      debuglog_Printf("Half time: Set clock to :%d.%d\n", clock_MinuteGet(), clock_SecondOfMinuteGet());
      PeriodEnd(GAME_MODE_PERIOD_BREAK, periodbreak_Enter);
      break;
    case 1:
      c.iPeriod = 2;
      c.iClock = aiPeriodStart[1];
      debuglog_Printf("Full time: Set clock to :%d.%d\n", clock_MinuteGet(), clock_SecondOfMinuteGet());
      PeriodEnd(GAME_MODE_PERIOD_END, periodend_Enter);
      break;
    case 2:
      c.iPeriod = 3;
      c.iClock = aiPeriodStart[2];
      debuglog_Printf("Extra time 1: Set clock to :%d.%d\n", clock_MinuteGet(), clock_SecondOfMinuteGet());
      PeriodEnd(GAME_MODE_PERIOD_BREAK, periodbreak_Enter);
      break;
    default:
      debuglog_Printf("Extra time 2\n");
      c.iClock = aiPeriodStart[3];
      c.iPeriod = 4;
      PeriodEnd(GAME_MODE_PERIOD_END, periodend_Enter);
      break;
  }
}

void clock_PeriodEndAdd(std::int32_t iSeconds) {
  if (clock_oClock.iPeriod < 0 || clock_oClock.iPeriod >= 4) return;
  clock_oClock.aiPeriodEnd[clock_oClock.iPeriod] += iSeconds;
}

std::int32_t clock_ValueGet() { return clock_oClock.iClock; }
std::int32_t clock_SecondsGet() { return clock_oClock.iClock / CLOCK_UNITS_PER_SECOND; }
std::int32_t clock_SecondOfMinuteGet() { return (clock_oClock.iClock / CLOCK_UNITS_PER_SECOND) % 60; }
std::int32_t clock_MinuteGet() { return clock_oClock.iClock / CLOCK_UNITS_PER_MINUTE; }
std::int32_t clock_MinuteOf(std::int32_t iValue) { return iValue / CLOCK_UNITS_PER_MINUTE; }
std::int32_t clock_StepGet() { return clock_oClock.iStep; }
std::int32_t clock_PeriodGet() { return clock_oClock.iPeriod; }
std::int32_t clock_bPeriodOverGet() { return clock_oClock.bPeriodOver; }
