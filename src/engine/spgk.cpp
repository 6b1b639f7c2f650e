// Goal kick: the keeper places the ball on the restart point; a user turns
// him and passes short or kicks long, the computer kicks at a zone of the far
// goal mouth; the others go back to their goal-kick places.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/zone.h"
#include "framework/math/qmath.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "shell/global.h"

namespace {

std::int32_t s_iCountdown;
bool s_bKicked;
constexpr std::int32_t kAimTree = 1072;

std::int32_t Heading16(const Player* pp) { return (pp->iFacing * 65536 / 802) & 0xFFFF; }
void Heading16Set(Player* pp, std::int32_t a16) { setp_FaceHeading(pp, ((a16 & 0xFFFF) * 802) >> 16); }

// A 16-bit heading inside [lo, hi] (wrapping through 0 when lo > hi).
bool InRange16(std::int32_t a, std::int32_t lo, std::int32_t hi) {
  a &= 0xFFFF;
  return lo <= hi ? (a >= lo && a <= hi) : (a >= lo || a <= hi);
}

// The farthest team-mate within reach and within ±5461 of the facing.
Player* FarthestMateAhead(const Player* pp, std::int32_t iReach) {
  const std::int32_t h = Heading16(pp);
  Player* poBest = nullptr;
  std::int64_t iBest = -1;
  for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
    if (po == pp || po->MyTeam != pp->MyTeam) continue;
    const std::int64_t dx = po->x - pp->x, dy = po->y - pp->y;
    const std::int64_t d2 = dx * dx + dy * dy;
    if (d2 > static_cast<std::int64_t>(iReach) * iReach) continue;
    const std::int16_t dA = static_cast<std::int16_t>((QMathAtan2(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)) & 0xFFFF) - h);
    if (dA < -5461 || dA > 5461) continue;
    if (d2 > iBest) iBest = d2, poBest = po;
  }
  return poBest;
}

void AimAlongFacing(const Player* pp, std::int32_t d) {
  std::int32_t x, y;
  setp_PointAlong(setp_BallX(), setp_BallY(), pp->iFacing, d, &x, &y);
  setp_AimPointSet(x, y);
  setp_KickDistanceSet(d);
}

}  // namespace

// Turning by ±728 within the side's range; 6 passes short, 19 kicks long.
// Returns 1 once a kick is started.
static std::int32_t CommandUpdate(Player* pp) {
  const std::int32_t h = Heading16(pp);
  const bool bSide2 = pp->Direction != 1;  // defends the +x goal
  switch (setp_CommandGet()) {
    case SETP_CMD_AIM_LEFT: {
      const bool bOk = bSide2 ? h < 38229 : InRange16(h, 60075, 4733);
      if (bOk) Heading16Set(pp, h + 728);
      setp_CommandClear();
      return 0;
    }
    case SETP_CMD_AIM_RIGHT: {
      const bool bOk = bSide2 ? h >= 27308 : InRange16(h, 60803, 5461);
      if (bOk) Heading16Set(pp, h + 64808);
      setp_CommandClear();
      return 0;
    }
    case SETP_CMD_RELEASE: {
      const std::int32_t iReach = setp_PowerGet() * 4320 / 100;
      if (Player* po = FarthestMateAhead(pp, iReach)) {
        setp_AimPointSet(po->x, po->y);
        setp_PartnerSet(po);
        setp_KickDistanceSet(setp_Distance(po->x - setp_BallX(), po->y - setp_BallY()));
      } else {
        AimAlongFacing(pp, iReach);
      }
      setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, spgk_PassLaunch);
      return 1;
    }
    case SETP_CMD_READY:
      AimAlongFacing(pp, setp_PowerGet() * 7920 / 100 + 2880);
      setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, spgk_KickLaunch);
      return 1;
    default:
      return 0;
  }
}
void spgk_CommandUpdate(Player* poKeeper) { CommandUpdate(poKeeper); }

// A kick toward the aim point, with its sound.
static void AimKick(Player* pp, std::int32_t iDeg, std::int32_t iSpin) {
  std::int32_t x, y;
  setp_AimPointGet(&x, &y);
  setp_AngleKick(pp, x, y, iDeg, iSpin);
  ball_KickSoundB();
}

void spgk_AimPointKick(Player* pp) { AimKick(pp, 25, -1500); }
void spgk_PassLaunch(Player* pp) { AimKick(pp, 10, -100); }
void spgk_KickLaunch(Player* pp) { AimKick(pp, setp_LoftGet() + 10, -100); }

static void Replace(Player* pp) {
  setp_Stand(pp);
  setp_PlaceBehindBall(pp, ANIM_GOALIE_PLACEKIK);
  PlayerO_XSet(pp, pp->oSetPiece.iTargetX);
  PlayerO_YSet(pp, pp->oSetPiece.iTargetY);
}

static bool GoalKickStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  switch (rec.iEnterState) {
    case 1:
      setp_TakerEnsure(true);
      setp_EnterCountInc();
      if (pp != setp_poGetKickTaker()) {
        QMathPoint c{0, 0};
        if (!zone_bCentreGet(pp, &c, 36)) c = QMathPoint{0, 0};
        // The other keeper stays in his goal (his own machine holds him there).
        if (player_IsGoalkeeper(pp)) c = QMathPoint{pp->x, pp->y};
        setp_WalkStart(pp, c.x, c.y, ANIM_RUN);
        rec.iEnterState = 3;
        return true;
      }
      s_bKicked = false;
      if (pp->pGoalie) newgoalo_MoveFlagSet(pp->pGoalie, 0);
      ball_PositionSet(&ball_oBall, referee_RestartXGet(), 0, referee_RestartYGet());
      {
        const std::int32_t iHeading = pp->Direction == 1 ? 0 : 401;
        setp_AimAngleSet(iHeading);
        setp_FaceHeading(pp, iHeading);
        setp_TakerPlace(pp);
        if (pp->pGoalie) newgoalo_StateSet(pp->pGoalie, 2);
        pp->height = 0;
        setp_PutAt(pp, rec.iTargetX, rec.iTargetY);
        setp_FaceHeading(pp, iHeading);
      }
      camera_Push(6);
      if (setp_UserMateExists(pp)) {
        setp_AimDefaults();
        rec.iEnterState = 13;
      } else {
        s_iCountdown = 30 + static_cast<std::int32_t>(QMathRandRange(90));
        rec.iEnterState = 21;
      }
      return true;
    case 3:
      if (setp_TakerRunUpdate(pp) == SETP_DONE) rec.iEnterState = 2;
      return true;
    case 13:
      if (!s_bKicked) {
        Replace(pp);
        if (CommandUpdate(pp)) s_bKicked = true;
      }
      if (s_bKicked) {
        QDX_ASSERT(anim_RequestGet(&pp->oAnimInfo) == ANIM_GOALIE_PLACEKIK);
        PlayerO_MoveStateSet(pp, MOVE_STATE_STAND);
        rec.iEnterState = 2;
      }
      return true;
    case 21:
      Replace(pp);
      if (--s_iCountdown > 0) return true;
      {
        const std::int32_t r = static_cast<std::int32_t>(QMathRandRange(99));
        const std::int32_t iZone = r < 70 ? 1 : r < 83 ? 9 : r < 96 ? 16 : r < 98 ? 10 : 17;
        QMathPoint pt;
        const std::int32_t bFound = zone_bRandomPointAt(pp, &pt, iZone, kAimTree);
        QDX_ASSERT(bFound);
        setp_AimPointSet(pt.x, pt.y);
        setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, spgk_AimPointKick);
        PlayerO_MoveStateSet(pp, MOVE_STATE_STAND);
        rec.iEnterState = 2;
      }
      return true;
    case 2:
      setp_EnterCountDec();
      rec.iEnterState = 26;
      return true;
    case 26:
      QDX_ASSERT(setp_iGetEnterCount() >= 0);
      if (pp == setp_poGetKickTaker() && setp_iGetEnterCount() == 0) {
        const std::int32_t sx = pp->Direction == 1 ? -1 : 1;
        const std::int32_t aiFrom[3] = {sx * 12960, 3600, 0};
        const std::int32_t aiTo[3] = {sx * 10800, 792, 0};
        camera_PathStepSet(aiFrom, aiTo, 52, 1);
        camera_Push(16);
        // The ball is played: the goal kick's mode ends, as every kind's does.
        setp_ModeEnd(pp);
      }
      return true;
    default:
      QDX_ASSERT(!"goal kick: no such state");
      return true;
  }
}

ActionNode* spgk_Handler(ActionNode* poList) { return setp_ListRun(poList, GoalKickStep); }
