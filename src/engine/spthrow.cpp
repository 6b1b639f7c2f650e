// Throw-in: the thrower stands on the touch line and throws to a partner (a
// user's choice, or for the computer one of his nearest team-mates); the
// attackers take up their places for the eighth of the pitch.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/target.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/user.h"

namespace {
// The thrower's clips: the short throw (below 2161 units) and the long one.
constexpr std::uint32_t kAnimThrowShort = 147;
constexpr std::uint32_t kAnimThrowLong = 148;

std::int32_t s_iCountdown;
bool s_bHandedOver;
bool s_bDone;
}  // namespace

void spthrow_AimPointClamp(std::int32_t* px, std::int32_t* py) {
  if (*px >= 9360) *px = 9216;
  if (*px <= -9360) *px = -9216;
  if (*py >= 5760) *py = 5616;
  if (*py <= -5760) *py = -5616;
}

// Facing and distance toward the partner, the aim point 80 % of the way.
static void AimAtPartner(Player* poThrower) {
  Player* poPartner = setp_poGetPartner();
  if (!poPartner || poPartner == poThrower) {
    poPartner = setp_NearestMate(poThrower);
    setp_PartnerSet(poPartner);
  }
  if (!poPartner) return;
  std::int32_t x = poThrower->x + (poPartner->x - poThrower->x) * 80 / 100;
  std::int32_t y = poThrower->y + (poPartner->y - poThrower->y) * 80 / 100;
  spthrow_AimPointClamp(&x, &y);
  setp_AimPointSet(x, y);
  setp_KickDistanceSet(setp_Distance(x - poThrower->x, y - poThrower->y));
  const std::int32_t a = setp_HeadingTo(poThrower->x, poThrower->y, x, y);
  setp_AimAngleSet(a);
  setp_FaceHeading(poThrower, a);
}

void spthrow_AimUpdate(Player* poThrower) {
  AimAtPartner(poThrower);
  PlayerO_SpeedSet(poThrower, 0);
  anim_RequestSet(&poThrower->oAnimInfo, 152);
}

void spthrow_ComputerUpdate(Player* poThrower) {
  anim_RequestSet(&poThrower->oAnimInfo, 152);
  if (--s_iCountdown > 0) return;
  // The (1..4)-th nearest team-mate within 14400; fewer in reach than drawn:
  // the nearest one.
  const std::int32_t iFlags = poThrower->MyTeam == 1 ? PLAYER_SEARCH_HOME : PLAYER_SEARCH_AWAY;
  const std::int32_t n = 1 + static_cast<std::int32_t>(QMathRandRange(3));
  Player* po = nullptr;
  if (!player_Search(&po, poThrower->x, poThrower->y, 1, 14400, n - 1, iFlags) || !po || po == poThrower)
    po = setp_NearestMate(poThrower);
  setp_PartnerSet(po);
  AimAtPartner(poThrower);
  setp_CommandSet(SETP_CMD_KICK);
}

static bool ThrowReleased(const Player* pp) {
  return !(pp->oSetPiece.iPosState == SETP_POS_KICKING && pp->oAnimData.pfnContact) && ball_oBall.poOwner == nullptr;
}

static bool ThrowInStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  Player* poThrower = setp_poGetKickTaker();
  switch (rec.iEnterState) {
    case 1:
      if (setp_iGetEnterCount() == 0) s_bDone = false;
      poThrower = setp_TakerEnsure(false);
      setp_EnterCountInc();
      if (pp != poThrower) {
        setp_AttackPositionChoose(pp);
        rec.iEnterState = 8;
        return true;
      }
      s_bHandedOver = false;
      setp_TargetPointSet(pp, setp_BallX(), setp_BallY());
      anim_RequestSet(&pp->oAnimInfo, 152);
      if (setp_UserMateExists(pp)) {
        rec.iEnterState = 9;
      } else {
        s_iCountdown = 120;
        rec.iEnterState = 22;
      }
      return true;
    case 8:
      if (!s_bHandedOver && poThrower && pp->MyTeam == poThrower->MyTeam && pp->Control == PLAYER_CONTROL_USER) {
        // The user's player becomes the thrower's partner, once a throw-in.
        if (User* pu = setp_SideUserGet(pp)) {
          user_PlayerSet(pu, pp);
          setp_PartnerSet(pp);
          s_bHandedOver = true;
        }
      }
      if (setp_PositionUpdate(pp) == SETP_DONE) rec.iEnterState = 2;
      return true;
    case 9:
      spthrow_AimUpdate(pp);
      if (setp_CommandGet() == SETP_CMD_KICK) rec.iEnterState = 10;
      return true;
    case 22:
      spthrow_ComputerUpdate(pp);
      if (setp_CommandGet() == SETP_CMD_KICK) rec.iEnterState = 10;
      return true;
    case 10:
      setp_KickStart(pp, setp_KickDistanceGet() < 2161 ? kAnimThrowShort : kAnimThrowLong, target_DoThrow);
      rec.iEnterState = 11;
      return true;
    case 11:
      // A throw whose clip was cut off before the ball left his hands (he
      // still holds it, its release still waiting) is thrown again.
      if (pp->oSetPiece.iPosState == SETP_POS_KICKING && pp->oAnimData.pfnContact && ball_oBall.poOwner == pp &&
          pp->oAnimData.eActionAnim != kAnimThrowShort && pp->oAnimData.eActionAnim != kAnimThrowLong) {
        rec.iEnterState = 10;
        return true;
      }
      // A throw along the line can come to rest between the line the ball
      // counts as thrown in at (5760) and the one the referee calls it out
      // at (5784): it is in play as it lies.
      if (setp_BallInPlayState(pp) == SETP_DONE || (ThrowReleased(pp) && ball_oBall.iKind == BALL_KIND_NONE))
        rec.iEnterState = 2;
      return true;
    case 2:
      setp_EnterCountDec();
      rec.iEnterState = 26;
      return true;
    case 26:
      if (!s_bDone && setp_iGetEnterCount() == 0) {
        s_bDone = true;
        setp_ModeEnd(pp);
      }
      return true;
    default:
      QDX_ASSERT(!"throw-in: no such state");
      return true;
  }
}

ActionNode* spthrow_Handler(ActionNode* poList) { return setp_ListRun(poList, ThrowInStep); }
