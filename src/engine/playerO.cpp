// The Player accessors: each checks that it was given a player.
#include "engine/player.h"

#include "engine/ball.h"
#include "framework/qdx_assert.h"
#include "shell/imath.h"
#include "tournament/dbplayer.h"

Player player_aHome[PLAYER_TEAM_SIZE];
Player player_aAway[PLAYER_TEAM_SIZE];
Player player_oReferee;

std::int32_t PlayerO_PositionCodeGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->PositionCode;
}
void PlayerO_PositionCodeSet(Player* pPlayerO, std::int32_t iCode) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->PositionCode = iCode;
}
std::int32_t PlayerO_ControlGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->Control;
}
void PlayerO_ControlSet(Player* pPlayerO, std::int32_t iControl) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->Control = iControl;
}
std::int32_t PlayerO_MyTeamGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->MyTeam;
}
void PlayerO_MyTeamSet(Player* pPlayerO, std::int32_t iTeam) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->MyTeam = iTeam;
}
std::int32_t PlayerO_DirectionGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->Direction;
}
void PlayerO_DirectionSet(Player* pPlayerO, std::int32_t iDirection) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->Direction = iDirection;
}
std::int32_t PlayerO_MoveStateGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->MoveState;
}
void PlayerO_MoveStateSet(Player* pPlayerO, std::int32_t iState) {
  if (!pPlayerO) return;
  if (pPlayerO->MoveState != iState) pPlayerO->PrevMoveState = pPlayerO->MoveState;
  pPlayerO->MoveState = iState;
}
std::int32_t PlayerO_AngleGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->iFacing;
}
void PlayerO_AngleSet(Player* pPlayerO, std::int32_t iAngle) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->iFacing = static_cast<std::int16_t>(iAngle);
}
std::int32_t PlayerO_TargetAngleGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->uWantedFacing;
}
void PlayerO_TargetAngleSet(Player* pPlayerO, std::int32_t iAngle) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->uWantedFacing = static_cast<std::uint16_t>(iAngle);
}
std::int32_t PlayerO_SpeedGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->iSpeed;
}
void PlayerO_SpeedSet(Player* pPlayerO, std::int32_t iSpeed) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->iSpeed = static_cast<std::int16_t>(iSpeed);
}
void PlayerO_SpeedAdd(Player* pPlayerO, std::int32_t iDelta) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->iSpeed = static_cast<std::int16_t>(pPlayerO->iSpeed + iDelta);
}
void PlayerO_SpeedSub(Player* pPlayerO, std::int32_t iDelta) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->iSpeed = static_cast<std::int16_t>(pPlayerO->iSpeed - iDelta);
}
std::int32_t PlayerO_XGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->x;
}
void PlayerO_XSet(Player* pPlayerO, std::int32_t x) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->x = static_cast<std::int16_t>(x);
}
void PlayerO_XAdd(Player* pPlayerO, std::int32_t dx) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->x = static_cast<std::int16_t>(pPlayerO->x + dx);
}
std::int32_t PlayerO_YGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->y;
}
void PlayerO_YSet(Player* pPlayerO, std::int32_t y) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->y = static_cast<std::int16_t>(y);
}
void PlayerO_YAdd(Player* pPlayerO, std::int32_t dy) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->y = static_cast<std::int16_t>(pPlayerO->y + dy);
}
std::int32_t PlayerO_KnocksGet(const Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  return pPlayerO->iKnocks;
}
void PlayerO_StrikeLinkSet(Player* pPlayerO, Player* poTarget) {
  if (!pPlayerO) return;
  pPlayerO->poStrikeLink = poTarget;
}
void PlayerO_UserSteerClear(Player* pPlayerO) {
  QDX_ASSERT(pPlayerO != nullptr);
  pPlayerO->bUserSteered = 0;
}
DBPlayer* PlayerO_DBPlayerGet(const Player* pPlayer) {
  QDX_ASSERT(pPlayer != nullptr);
  return pPlayer->pDBPlayer;
}

// Attribute bytes are read at their place in the database record. Values
// outside 0..100 (a damaged or edited database) are clamped: a negative
// stamina byte would otherwise wrap the power word and multiply a runner's
// speed.
static std::int32_t AttrClamp(std::int32_t v) { return v < 0 ? 0 : (v > 100 ? 100 : v); }
static const DBPlayer* DbOf(const Player* pPlayer) {
  QDX_ASSERT(pPlayer != nullptr);
  QDX_ASSERT(pPlayer->pDBPlayer != nullptr);
  return pPlayer->pDBPlayer;
}
std::int32_t PlayerO_Attr52Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uSpeed); }
std::int32_t PlayerO_Attr52Get2(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uSpeed); }
std::int32_t PlayerO_Attr54Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uControl); }
std::int32_t PlayerO_Attr55Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uPower); }
std::int32_t PlayerO_Attr56Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uAccuracy); }
std::int32_t PlayerO_Attr57Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->iHeading); }
std::int32_t PlayerO_Attr60Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uAwareness); }
std::int32_t PlayerO_Attr61Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uTackling); }
std::int32_t PlayerO_Attr66Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->iStamina); }
std::int32_t PlayerO_Attr67Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uReactions); }
std::int32_t PlayerO_Attr68Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uHandling); }
std::int32_t PlayerO_Attr69Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uJudgement); }
std::int32_t PlayerO_Attr70Get(const Player* pPlayer) { return AttrClamp(DbOf(pPlayer)->uDiving); }

void PlayerO_MoveToSet(Player* pPlayer, std::int32_t x, std::int32_t y, std::uint32_t eAnim) {
  QDX_ASSERT((int)eAnim > 0);
  QDX_ASSERT(eAnim != ANIM_NONE);
  if (x < -10800) x = -9360;
  if (x > 10800) x = 9360;
  if (y < -7200) y = -5760;
  if (y > 7200) y = 5760;
  AnimInfo* pai = &pPlayer->oAnimInfo;
  anim_TargetPointSet(pai, x, y);
  if (x == pPlayer->x && y == pPlayer->y) {
    pPlayer->oAnimData.uFlags |= ANIM_FLAG_AT_TARGET;
    anim_RequestSet(pai, anim_IsInPlace(eAnim) ? eAnim : ANIM_STAND);
  } else {
    anim_HeadingSet(pai, static_cast<std::uint32_t>(imath_Atan2(y - pPlayer->y, x - pPlayer->x)));
    anim_RequestSet(pai, eAnim);
  }
}

std::int32_t PlayerO_IsFreeToAct(const Player* pPlayer) {
  QDX_ASSERT(pPlayer != nullptr);
  std::uint32_t eReq = pPlayer->oAnimInfo.eActionAnim;
  if (!player_IsGoalkeeper(pPlayer)) return eReq != 143;
  return ball_oBall.poOwner == pPlayer && (eReq == 136 || eReq == 161 || eReq == 105 || eReq == 129);
}
