// Stand-ins for the engine and match-flow modules that players, animation
// and movement call before those modules exist. Each is small and does what
// its caller needs to keep the players moving sensibly; each goes when its
// module lands.
#include <cstdlib>

#include "engine/action_list.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"

// ---- Chaser ----------------------------------------------------------------------------

// ---- Touch machine, support grid, actions ------------------------------------------------
void touch_StateInit(Player* pp) { pp->oTouch.iState = 1; }
void touch_StateForce(Player* pp, std::int32_t n) {
  if (pp->ID != 0 && pp->ID != 11 && pp->oTouch.iState == 1) pp->oTouch.iState = 5;
  pp->oTouch.iTimer = n;
}
void touch_ContactClear() {}
void touch_ContactSet(Player*, Player*, std::int32_t) {}

// ---- Referee and set pieces ------------------------------------------------------------------
static Player* s_poFouled;
static Player* s_poOffender;
std::int32_t referee_ChallengeJudge(Player*, Player*) { return 0; }
std::int32_t referee_ChallengeJudgeShot(Player*, Player*, std::int32_t* piSeverity) {
  if (piSeverity) *piSeverity = 0;
  return 0;
}
void referee_CardDecide(Player*, Player*, std::int32_t) {}
void referee_FoulLatchClear() {}
void referee_FouledSet(Player* poVictim) {
  s_poFouled = poVictim;
  if (poVictim) poVictim->bFouled = 1;
}
Player* referee_poOffenderGet() { return s_poOffender; }
Player* referee_poFouledGet() { return s_poFouled; }
std::int32_t referee_bSecondBookingGet() { return 0; }
void referee_SecondBookingClear() {}
std::int32_t referee_bCardFlagGet() { return 0; }
// The restart record and the referee's action word the set pieces read.
static std::int32_t s_iRestartX, s_iRestartY, s_iRefereeAction;
std::int32_t referee_RestartXGet() { return s_iRestartX; }
std::int32_t referee_RestartYGet() { return s_iRestartY; }
void referee_RestartPointSet(std::int32_t x, std::int32_t y) {
  s_iRestartX = x;
  s_iRestartY = y;
}
void referee_OffenderSet(Player* pp) { s_poOffender = pp; }
void referee_FouledPlayerSet(Player* pp) { s_poFouled = pp; }
std::int32_t referee_HomeClubStateGet() { return 0; }
std::int32_t referee_AwayClubStateGet() { return 1; }
void referee_DecisionUnlock() {}
void refact_ActionSet(std::int32_t iAction) { s_iRefereeAction = iAction; }
std::int32_t refact_ActionGet() { return s_iRefereeAction; }
void spscript_Run() {}

// ---- User control ----------------------------------------------------------------------------------
void aiopt_PassMarkersDraw() {}
