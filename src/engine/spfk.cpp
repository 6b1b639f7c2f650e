// Free kick: the taker aims at the goal (a user) or the computer picks a
// zone of the box or a direct shot by the kind's weights; the attackers take
// up their places; a player being sent off walks to the touch line first.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/user.h"

namespace {

std::int32_t s_iCountdown;
bool s_bKickStarted;

struct Choice {
  std::int32_t iTree;
  std::int32_t cEntries;
  std::int32_t aiWeights[6];
  std::int32_t aiZones[6];  // -1 a direct shot
};

// Kinds 9..15.
const Choice kChoices[7] = {
    {1964, 6, {30, 20, 10, 20, 10, 10}, {1, 9, 16, 129, 10, 17}},
    {468, 6, {20, 20, 15, 15, 20, 10}, {1, 9, 16, 129, 10, 17}},
    {1407, 6, {30, 20, 10, 20, 10, 10}, {1, 9, 16, 129, 10, 17}},
    {2207, 6, {20, 20, 15, 15, 20, 10}, {1, 9, 16, 129, 10, 17}},
    {720, 3, {5, 5, 90}, {8, 15, -1}},
    {1500, 4, {65, 5, 5, 25}, {1, 9, 16, 130}},
    {194, 4, {25, 25, 25, 25}, {8, 15, 9, 16}},
};

}  // namespace

std::int32_t spfk_ChoiceZoneGet(std::int32_t iKind, std::int32_t r, std::int32_t* piTree) {
  QDX_ASSERT(iKind >= SETP_KIND_FREEKICK_FIRST && iKind <= SETP_KIND_OTHER_FREEKICK);
  const Choice& c = kChoices[iKind - SETP_KIND_FREEKICK_FIRST];
  *piTree = c.iTree;
  std::int32_t iSum = 0;
  std::int32_t i = 0;
  for (; i < c.cEntries; i++) {
    iSum += c.aiWeights[i];
    if (iSum >= r) break;
  }
  QDX_ASSERT(i < c.cEntries);
  return c.aiZones[i];
}

void spfk_ComputerUpdate(Player* poTaker) {
  std::int32_t iKind = setp_KindGet();
  if (iKind < SETP_KIND_FREEKICK_FIRST) iKind = SETP_KIND_OTHER_FREEKICK;
  std::int32_t iTree = 0;
  const std::int32_t iZone = spfk_ChoiceZoneGet(iKind, static_cast<std::int32_t>(QMathRandRange(99)), &iTree);
  if (iZone == -1) {
    setp_CommandSet(SETP_CMD_HOLD);
    return;
  }
  QMathPoint pt;
  if (zone_bRandomPointAt(poTaker, &pt, iZone, iTree)) setp_AimPointSet(pt.x, pt.y);
  poTaker->oSetPiece.iPosState = SETP_POS_KICKING;
  setp_CommandSet(SETP_CMD_KICK);
}

static bool FreeKickStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  switch (rec.iEnterState) {
    case 1:
      setp_TakerEnsure(false);
      setp_EnterCountInc();
      if (pp == setp_poGetKickTaker()) {
        const std::int32_t gx = pp->Direction == 1 ? 9360 : -9360;
        const std::int32_t a = setp_HeadingTo(setp_BallX(), setp_BallY(), gx, 0);
        setp_AimAngleSet(a);
        s_bKickStarted = false;
        setp_TakerPlace(pp);
        camera_AngleSet(a);
        if (setp_UserMateExists(pp)) {
          setp_AimDefaults();
          rec.iEnterState = 13;
        } else {
          s_iCountdown = 210;
          rec.iEnterState = 21;
        }
      } else if (pp == match_poSentOffGet()) {
        if (User* pu = player_UserGet(pp)) user_SelectPlayer(pu);
        rec.iEnterState = 23;
      } else {
        setp_AttackPositionChoose(pp);
        rec.iEnterState = 8;
      }
      return true;
    case 23:
      if (setp_RefereeReadyState(pp) == SETP_DONE) {
        setp_WalkStart(pp, pp->x, -5760, ANIM_WALK);
        rec.iEnterState = 3;
      }
      return true;
    case 3:
      if (setp_TakerRunUpdate(pp) == SETP_DONE) {
        setp_PutAt(pp, rec.iTargetX, rec.iTargetY);
        match_PlayerRemove(pp);
        match_SentOffSet(nullptr);
        setp_Leave(pp);
      }
      return true;
    case 8:
      if (setp_PositionUpdate(pp) == SETP_DONE || rec.iPosState == SETP_POS_WAITING) setp_Leave(pp);
      return true;
    case 11:
      if (setp_BallInPlayState(pp) == SETP_DONE) setp_Leave(pp);
      return true;
    case 13:
      if (setp_TakerAim(pp) == SETP_DONE) {
        setp_CommandClear();
        rec.iEnterState = 18;
      }
      return true;
    case 18:
      if (setp_CommandGet() == SETP_CMD_KICK) {
        if (global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING) {
          Player* poFirst = pp->MyTeam == 1 ? match_AwayFirstPlayerGet() : match_HomeFirstPlayerGet();
          if (poFirst) touch_ContactSet(poFirst, nullptr, 5);
        }
        rec.iEnterState = 11;
      } else if (!s_bKickStarted) {
        s_bKickStarted = true;
        setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, setp_ShotChanceGet);
      }
      return true;
    case 21:
      if (--s_iCountdown > 0) return true;
      spfk_ComputerUpdate(pp);
      rec.iEnterState = setp_CommandGet() == SETP_CMD_HOLD ? 24 : 18;
      setp_CommandClear();
      return true;
    case 24:
      setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, target_DoShotRandom);
      rec.iEnterState = 11;
      return true;
    case 2:
      if (setp_iGetEnterCount() == 0 && setp_poGetKickTaker()) {
        setp_ModeEnd(pp);
        camera_Reset();
      }
      return true;
    default:
      QDX_ASSERT(!"free kick: no such state");
      return true;
  }
}

ActionNode* spfk_Handler(ActionNode* poList) { return setp_ListRun(poList, FreeKickStep); }
