// Set-piece shared state: taker, partner, command word, kind, aim, enter
// count; its accessors and the resets every restart runs.
#include "engine/setp.h"
#include "engine/setp_util.h"

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"
#include "matchflow/gauge.h"
#include "matchflow/matcha.h"
#include "matchflow/matchstate.h"
#include "shell/global.h"

namespace {

struct SetpState {
  Player* poTaker;
  Player* poPartner;
  std::int32_t iCommand;
  std::int32_t iKind;
  std::int32_t iAimAngle;
  std::int32_t iKickDistance;
  std::int32_t iAimX;
  std::int32_t iAimY;
  std::int32_t iPower;
  std::int32_t iLoft;
  std::int32_t iSpin;
  std::int32_t iKickAngle;
  std::int32_t iAimSector;
  std::int32_t bPenaltyFlag;
  std::int32_t iAimSwing;
  std::int32_t iAimDrift;
  std::int32_t iAimOffset;
  std::int32_t iEnterCount;
  std::int32_t iWallCount;
  std::int32_t bStandStill;
  std::int32_t bUserAim;
  std::int32_t bKickStruck;
};

// The set pieces' state of one match: the shared words, the aim marker and
// the player being sent off (set by the red card, cleared once he has left).
struct SetpMatch {
  SetpState o;
  PowerGauge oAimMarker;
  Player* poSentOff;
};
constexpr SetpMatch kSetpFresh = {
    {nullptr, nullptr, 0, 0, 0, 0, 0, 0, 10, 49, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}, nullptr};
SetpMatch s_oMatch = kSetpFresh;
SetpState& s_o = s_oMatch.o;
PowerGauge& s_oAimMarker = s_oMatch.oAimMarker;
Player*& s_poSentOff = s_oMatch.poSentOff;

}  // namespace

MatchStateBlock setp_MatchState() { return {"setp", &s_oMatch, sizeof s_oMatch}; }
void setp_MatchReset() { matchstate_Restore(s_oMatch, kSetpFresh); }
Player* match_poSentOffGet() { return s_poSentOff; }
void match_SentOffSet(Player* pp) { s_poSentOff = pp; }

// The wall number handed out next (setp_PlayerRoleSet's role 8).
std::int32_t setp_WallNumberNext() { return s_o.iWallCount++; }
void setp_UserAimSet(std::int32_t bFlag) { s_o.bUserAim = bFlag; }

void setp_RecordInit(Player* pp) {
  pp->oSetPiece = SetPieceRecord{};
  pp->oSetPiece.iEnterState = 1;
  pp->oSetPiece.iPosState = 3;
  pp->oSetPiece.iAnim = 1;
}

void setp_Init() {
  s_o.iEnterCount = 0;
  s_o.bKickStruck = 0;
  s_o.iCommand = 0;
  s_o.poPartner = nullptr;
  s_o.poTaker = nullptr;
  s_o.iAimX = 0;
  s_o.iAimY = 0;
  s_o.iKickDistance = 0;
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    PlayerO_SpeedSet(pp, 0);
    pp->iWantedSpeed = 0;
    setp_RecordInit(pp);
    match_PlayerMarkClear(pp);
  }
  s_o.iAimOffset = 0;
  s_o.iAimDrift = 0;
  // The mode on top of the stack: an enter operation runs before the game
  // mode turns to the mode it enters.
  const GameMode eTop = global.iStackPointer > 0 ? global.aStack[global.iStackPointer - 1].eMode : global_eGetGameMode();
  if (eTop != GAME_MODE_KEEPER_HANDS && eTop != GAME_MODE_INTERVAL && eTop != GAME_MODE_KICK_OFF) {
    match_HomeClubStateSet(referee_HomeClubStateGet());
    match_AwayClubStateSet(referee_AwayClubStateGet());
  }
}

void setp_Reset(Player* pp) {
  s_o.poTaker = nullptr;
  s_o.poPartner = nullptr;
  referee_OffenderSet(nullptr);
  referee_FouledPlayerSet(nullptr);
  s_o.iEnterCount = 0;
  if (pp) {
    if (pp->oSetPiece.iPosState != SETP_POS_KICKING) pp->oSetPiece.iPosState = 0;
    pp->oSetPieceRole.iRole = -1;
  }
  refact_ActionSet(0);
  referee_DecisionUnlock();
}

void setp_AimDefaults() {
  s_o.iPower = 10;
  s_o.iKickDistance = 1008;
  s_o.iLoft = 49;
  s_o.iSpin = 0;
  gauge_Init(&s_oAimMarker, 40, 60, 10, 0, 5);
}

void setp_KickTakerSet(Player* pp) { s_o.poTaker = pp; }
Player* setp_poGetKickTaker() { return s_o.poTaker; }
Player* setp_poGetKickTakerPlayer() { return s_o.poTaker; }
void setp_PartnerSet(Player* pp) { s_o.poPartner = pp; }
Player* setp_poGetPartner() { return s_o.poPartner; }
Player* setp_poPartnerGet() { return s_o.poPartner; }

void setp_CommandSet(std::int32_t iCommand) { s_o.iCommand = iCommand; }
std::int32_t setp_CommandGet() { return s_o.iCommand; }
void setp_CommandClear() { s_o.iCommand = 0; }

void setp_KindSet(std::int32_t iKind) {
  QDX_ASSERT(iKind >= 0 && iKind < SETP_KINDS);
  s_o.iKind = iKind;
}
std::int32_t setp_KindGet() { return s_o.iKind; }
std::int32_t setp_KindGetAlt() { return s_o.iKind; }

std::int32_t setp_ThrowInKindGet(std::int32_t x, std::int32_t iDirection) {
  // Eighths of 18720 units counted from the end the thrower's side defends.
  std::int32_t d = iDirection == 1 ? x + 9360 : 9360 - x;
  if (d < 0) d = 0;
  if (d > 18719) d = 18719;
  return d / 2340;
}

void setp_AimAngleSet(std::int32_t iAngle) { s_o.iAimAngle = iAngle; }
std::int32_t setp_AimAngleGet() { return s_o.iAimAngle; }
std::int32_t setp_AngleGet() { return s_o.iAimAngle; }
void setp_KickDistanceSet(std::int32_t iDistance) { s_o.iKickDistance = iDistance; }
std::int32_t setp_KickDistanceGet() { return s_o.iKickDistance; }
void setp_AimPointSet(std::int32_t x, std::int32_t y) {
  s_o.iAimX = x;
  s_o.iAimY = y;
}
void setp_AimPointGet(std::int32_t* px, std::int32_t* py) {
  *px = s_o.iAimX;
  *py = s_o.iAimY;
}
PowerGauge* setp_poGetAimMarker() { return &s_oAimMarker; }
void setp_AimMarkerRefresh() { gauge_Draw(&s_oAimMarker); }
void setp_PowerSet(std::int32_t iPower) { s_o.iPower = iPower; }
std::int32_t setp_PowerGet() { return s_o.iPower; }
void setp_LoftSet(std::int32_t iLoft) { s_o.iLoft = iLoft; }
std::int32_t setp_LoftGet() { return s_o.iLoft; }
void setp_SpinSet(std::int32_t iSpin) { s_o.iSpin = iSpin; }
std::int32_t setp_SpinGet() { return s_o.iSpin; }
void setp_KickAngleSet(std::int32_t iAngle) { s_o.iKickAngle = iAngle; }
std::int32_t setp_KickAngleGet() { return s_o.iKickAngle; }
void setp_AimSectorSet(std::int32_t iSector) { s_o.iAimSector = iSector; }
std::int32_t setp_AimSectorGet() { return s_o.iAimSector; }

std::int32_t setp_AimSectorFromAngle(std::int32_t iDegrees) {
  std::int32_t d = iDegrees + 22;
  if (ball_XGet(&ball_oBall) < 0) d += 180;
  d %= 360;
  if (d < 0) d += 360;
  return d / 45;
}

void setp_PenaltyFlagSet(std::int32_t bFlag) { s_o.bPenaltyFlag = bFlag; }
std::int32_t setp_PenaltyFlagGet() { return s_o.bPenaltyFlag; }
void setp_AimSwingSet(std::int32_t iSwing) { s_o.iAimSwing = iSwing; }
std::int32_t setp_AimSwingGet() { return s_o.iAimSwing; }
void setp_AimDriftSet(std::int32_t iDrift) { s_o.iAimDrift = iDrift; }
std::int32_t setp_AimDriftGet() { return s_o.iAimDrift; }
void setp_AimOffsetSet(std::int32_t iOffset) { s_o.iAimOffset = iOffset; }
std::int32_t setp_AimOffsetGet() { return s_o.iAimOffset; }

void setp_EnterCountInc() { s_o.iEnterCount++; }
void setp_EnterCountDec() { s_o.iEnterCount--; }
std::int32_t setp_iGetEnterCount() { return s_o.iEnterCount; }
void setp_WallCountClear() { s_o.iWallCount = 0; }
void setp_StandStillSet(std::int32_t bFlag) { s_o.bStandStill = bFlag; }
std::int32_t setp_StandStillGet() { return s_o.bStandStill; }
std::int32_t setp_UserAimGet() { return s_o.bUserAim; }
void setp_KickStruckSet() { s_o.bKickStruck = 1; }
bool setp_bKickStruck() { return s_o.bKickStruck != 0; }

void setp_WordSet(Player* pp, std::int32_t iState) { pp->oSetPiece.iEnterState = iState; }
std::int32_t setp_WordGet(const Player* pp) { return pp->oSetPiece.iEnterState; }
void setp_StateSet(Player* pp, std::int32_t iState) { pp->oSetPiece.iPosState = iState; }
std::int32_t setp_StateGet(const Player* pp) { return pp->oSetPiece.iPosState; }
void setp_TargetPointSet(Player* pp, std::int32_t x, std::int32_t y) {
  pp->oSetPiece.iTargetX = static_cast<std::int16_t>(x);
  pp->oSetPiece.iTargetY = static_cast<std::int16_t>(y);
}
void setp_TargetPointGet(const Player* pp, std::int32_t* px, std::int32_t* py) {
  *px = pp->oSetPiece.iTargetX;
  *py = pp->oSetPiece.iTargetY;
}

void setp_PlayerRoleSet(Player* pp, std::int32_t iRole) {
  pp->oSetPieceRole.iRole = iRole;
  match_PlayerMarkClear(pp);
  if (iRole == 2 || iRole == 6) pp->oSetPieceRole.iWanderState = 1;
  if (iRole == 8) pp->oSetPieceRole.iWallNumber = setp_WallNumberNext();
}

std::int32_t setp_StateDone(Player*) { return SETP_DONE; }
std::int32_t setp_BallInState(Player*) {
  const std::int32_t y = ball_YGet(&ball_oBall);
  return (y < 0 ? -y : y) < 5760 ? SETP_DONE : SETP_NOT_YET;
}
std::int32_t setp_RefereeReadyState(Player*) {
  const std::int32_t a = refact_ActionGet();
  return (a == 1 || a == 7) ? SETP_DONE : SETP_NOT_YET;
}
