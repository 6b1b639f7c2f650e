// What the computer's ball holder does: a shot by the part of the attacking
// third he stands in, a cross from the wings, a pass into a sector when he
// is short of space, a pass to the team-mate nearest a point, or a long
// clearance when pressed; and a computer goalkeeper's wait before he kicks
// the ball upfield. Each starts a kick clip with its strike callback; the
// kick itself happens at the clip's contact frame.
#include <cstdint>

#include "engine/action.h"
#include "engine/action_react.h"
#include "engine/aiopt.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/cover.h"
#include "engine/engine_services.h"
#include "engine/kick.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/target.h"
#include "engine/team.h"
#include "engine/touch.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "matchflow/matcha.h"
#include "matchflow/restart.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/user.h"

const std::int32_t action_aaiSectorHeading[2][8] = {{0, 701, 601, 501, 401, 300, 200, 100},
                                                    {401, 300, 200, 100, 0, 701, 601, 501}};
const std::int32_t action_aaiSectorDegrees[2][8] = {{0, 315, 270, 225, 180, 135, 90, 45},
                                                    {180, 135, 90, 45, 0, 315, 270, 225}};

namespace {
constexpr std::int32_t kShotTree = 551;
constexpr std::int32_t kCrossTree = 884;
constexpr std::int32_t kMoveStateNoAction = 10;

// Per mille chance of a shot by the holder's shooting zone (0 never).
std::int32_t ShotChance(std::int32_t iClass) {
  switch (iClass) {
    case 1: return 1000;
    case 2: return 150;
    case 3: return 30;
    case 4: return 10;
    case 8: return 850;
    default: return 0;
  }
}

// Per cent chance of a cross by the holder's crossing zone (0 never).
std::int32_t CrossChance(std::int32_t iClass) {
  switch (iClass) {
    case 1: return 100;
    case 2: return 35;
    case 3: return 8;
    case 4: return 2;
    default: return 0;
  }
}

std::int32_t Param(const Player* pp, std::int32_t i) { return static_cast<std::int8_t>(pp->oAIInfo.abParams[i]); }
std::int32_t SideOf(const Player* pp) { return pp->Direction == 1 ? 0 : 1; }
std::int32_t SectorOf(std::int32_t iSector) { return iSector >= 1 && iSector <= 8 ? iSector - 1 : 0; }

// The share (per cent) of free directions ahead of him, his window rebuilt.
std::int32_t FreeAhead(Player* pp) {
  cover_Clear(pp->aiCover);
  player_OpponentGridBuild(pp);
  return pp->Direction == 1 ? cover_MaskPercentA(pp->auOpponentGrid) : cover_MaskPercentB(pp->auOpponentGrid);
}

// Starts the chosen kick clip with its strike callback; false when no clip suits.
bool KickStart(Player* pp, std::uint32_t eKick, AnimContactFn pfn) {
  if (eKick == ANIM_NONE) return false;
  anim_RequestSet(&pp->oAnimInfo, eKick);
  anim_CallbackSet(&pp->oAnimData, pfn);
  return true;
}
}  // namespace

std::int32_t action_HolderGuard(const Player* pp) {
  return !anim_IsKick(pp->oAnimInfo.eActionAnim) && ball_OwnerGet() == pp && pp->Control != PLAYER_CONTROL_NONE &&
         PlayerO_MoveStateGet(pp) != kMoveStateNoAction && PlayerO_MoveStateGet(pp) != MOVE_STATE_TACKLE;
}

std::int32_t action_ContactChance(const Player* poRated, std::int32_t iThreshold) {
  const MatchTeam* poTeam = poRated->MyTeam == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
  // Ratings run 0..15; the chance is made for 0..10.
  std::int32_t r = poTeam ? poTeam->iRating : 0;
  r = r < 0 ? 0 : r > 10 ? 10 : r;
  std::int32_t n = (11 - r) * 75;
  return QMathRandBetween(0, n * 40) < iThreshold ? 1 : 0;
}

ActionNode* action_HolderChooseHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  if (FreeAhead(pp) >= Param(pp, 2)) return poList;
  return action_ShootOrPassHandler(poList);
}

ActionNode* action_ShootOrPassHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  std::int32_t iHeading = action_aaiSectorHeading[SideOf(pp)][SectorOf(Param(pp, 0))];
  ReceiverRecord oRec{};
  if (!shtpass_PassChoose(pp, &oRec, iHeading) || !oRec.poReceiver) return poList;
  std::uint32_t eKick = kick_AnimChoose(pp, oRec.x, oRec.y, 0, pp->iFacing);
  if (!KickStart(pp, eKick, Param(pp, 1) == 3 ? target_DoHeaderPass : target_DoTapHeader)) return poList;
  pp->oReceiver = oRec;
  target_ReceiverSet(oRec.poReceiver);
  target_AngleSet(iHeading);
  pass_RecordSet(PASS_RECORD_AT_POINT, oRec.x, oRec.y);
  action_Set(pp, ACTION_SHOOT_OR_PASS);
  if (action_ContactChance(pp, 25)) touch_ContactSet(pp, pp, pp->x < -7199 || pp->x >= 7200 ? 4 : 2);
  return director_ListUnlink(poList);
}

ActionNode* action_ShootHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  std::int32_t iChance = ShotChance(zone_iChildAtPlayer(kShotTree, pp));
  if (iChance == 0 || QMathRandBetween(0, 1000) >= iChance) return poList;
  std::uint32_t eKick = kick_AnimChooseAlt(pp, pp->Direction == 1 ? 9360 : -9360, 0, 0, pp->iFacing);
  if (!KickStart(pp, eKick, target_DoShotRandom)) return poList;
  action_Set(pp, ACTION_SHOOT);
  return director_ListUnlink(poList);
}

ActionNode* action_CrossHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  std::int32_t iChance = CrossChance(zone_iChildAtPlayer(kCrossTree, pp));
  if (iChance == 0 || QMathRandBetween(0, 100) >= iChance) return poList;
  std::int32_t k = 100 - PlayerO_Attr52Get(pp);
  target_DistanceSet(QMathRandBetween(2000 - (10 * k + 300), 10 * k + 2300));
  std::int32_t iSpread = 25 * k / 70 + 5;
  target_AngleSet(QMathRandBetween(-iSpread, iSpread) * 802 / 360);
  std::uint32_t eKick = kick_AnimChoose(pp, pp->x < 0 ? -7632 : 7632, 0, 0, pp->iFacing);
  if (!KickStart(pp, eKick, target_StrikeExecute)) return poList;
  touch_ContactSet(pp, pp, TOUCH_KIND_FIRST_TOUCH);
  action_Set(pp, ACTION_CROSS);
  return director_ListUnlink(poList);
}

ActionNode* action_PassToMateHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  std::int32_t iDeg = action_aaiSectorDegrees[SideOf(pp)][SectorOf(Param(pp, 0))];
  std::int32_t iDist = QMathRandBetween(Param(pp, 1), Param(pp, 2)) * 144;
  target_DistanceSet(iDist);
  target_AngleSet(iDeg * 802 / 360);
  std::int32_t x = pp->x + imath_CosScale(iDist, iDeg);
  std::int32_t y = pp->y + imath_SinScale(iDist, iDeg);
  Player* poMate = nullptr;
  if (!match_NearestOtherPlayerFind(pp, x, y, &poMate) || !poMate) return poList;
  std::uint32_t eKick = kick_AnimChoose(pp, poMate->x, poMate->y, 0, pp->iFacing);
  if (!KickStart(pp, eKick, target_DoVolley)) return poList;
  if (action_ContactChance(poMate, 50)) touch_ContactSet(pp, pp, TOUCH_KIND_PASS_ON);
  pp->oReceiver = ReceiverRecord{poMate, poMate->x, poMate->y, 0};
  target_ReceiverSet(poMate);
  return director_ListUnlink(poList);
}

ActionNode* action_ClearHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  if (FreeAhead(pp) >= 25) return poList;
  target_DistanceSet(QMathRandBetween(4320, 7200));
  std::int32_t a = QMathRandBetween(0, 41) * 802 / 360;
  std::int32_t iAngle = pp->Direction == 1 ? 44 - a : 356 + a;
  if (iAngle < 0) iAngle += 802;
  target_AngleSet(iAngle);
  std::uint32_t eKick = kick_AnimChooseAlt(pp, pp->Direction == 1 ? 9360 : -9360, 0, 0, pp->iFacing);
  if (!KickStart(pp, eKick, target_DoAngledKick)) return poList;
  action_Set(pp, ACTION_CLEAR);
  if (action_ContactChance(pp, 25)) touch_ContactSet(pp, pp, TOUCH_KIND_PASS_ON);
  return director_ListUnlink(poList);
}

// A computer goalkeeper holding the ball on his side's attack: he faces the
// centre spot, stands in his stance for ten ticks, then kicks it long or
// aims a shorter kick, and the keeper's-ball mode ends at its next change.
ActionNode* action_AttackIdleHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!pp->oAIInfo.bIsAttacking || pp->Control != PLAYER_CONTROL_COMPUTER) return poList;
  Player* poMate = nullptr;
  if (player_NearestUserMateFind(pp, &poMate) && poMate) {
    if (User* pu = player_UserGet(poMate)) user_PlayerSet(pu, pp);
  } else {
    std::int32_t iToCentre = ball_HeadingTo(-pp->x, -pp->y);
    pp->iFacing = static_cast<std::int16_t>(iToCentre);
    pp->uWantedFacing = static_cast<std::uint16_t>(iToCentre);
    pp->iDisplayFacing = pp->iFacing;
    target_AngleSet(iToCentre);
    if (anim_IsAtTick(&pp->oAnimData, ANIM_GOALIE_STANCE, 10)) {
      if (QMathRandBetween(0, 2) == 1) {
        target_DistanceSet(144 * QMathRandBetween(20, 75));
        anim_RequestSet(&pp->oAnimInfo, 69);
      } else {
        target_DistanceSet(144 * QMathRandBetween(15, 35));
        keeperball_KickAim(pp);
      }
      global_GameModePopRequest();
    } else {
      PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
      pp->iSpeed = 0;
      pp->iWantedSpeed = 0;
      anim_RequestSet(&pp->oAnimInfo, ANIM_GOALIE_STANCE);
    }
  }
  action_Set(pp, ACTION_ATTACK_IDLE);
  return director_ListUnlink(poList);
}
