// Corner: the taker aims across the box (a user within an arc of ±200 around
// the line to the penalty spot, the computer at a zone of the box), the
// attackers take up their places and the kick starts at the ball.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "shell/global.h"

namespace {
std::int32_t s_iLow, s_iHigh;
std::int32_t s_iCountdown;
bool s_bKickStarted;
constexpr std::int32_t kAimTree = 201;
}  // namespace

void spcorn_AimLimitsGet(std::int32_t* piLow, std::int32_t* piHigh) {
  *piLow = s_iLow;
  *piHigh = s_iHigh;
}

std::int32_t spcorn_AimClamp(std::int32_t iAim, std::int32_t iLow, std::int32_t iHigh) {
  // Distances along the turn from the arc's low end: inside the arc when
  // within its width; outside, the nearer end wins.
  const std::int32_t w = setp_Wrap802(iHigh - iLow);
  const std::int32_t d = setp_Wrap802(iAim - iLow);
  if (d <= w) return setp_Wrap802(iAim);
  const std::int32_t dHigh = d - w;      // past the high end
  const std::int32_t dLow = 802 - d;     // short of the low end
  return dHigh <= dLow ? setp_Wrap802(iHigh) : setp_Wrap802(iLow);
}

// The computer's aim: a zone of the box by a draw of 0..99.
std::int32_t spcorn_AimZoneGet(std::int32_t r) {
  return r < 45 ? 1 : r < 60 ? 9 : r < 75 ? 16 : r < 90 ? 129 : 3;
}

static bool CornerStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  switch (rec.iEnterState) {
    case 1: {
      setp_TakerEnsure(false);
      setp_EnterCountInc();
      if (pp != setp_poGetKickTaker()) {
        setp_AttackPositionChoose(pp);
        rec.iEnterState = 8;
        return true;
      }
      const std::int32_t sx = setp_BallX() > 0 ? 7632 : -7632;
      const std::int32_t a = setp_HeadingTo(setp_BallX(), setp_BallY(), sx, 0);
      setp_AimAngleSet(a);
      s_bKickStarted = false;
      s_iLow = setp_Wrap802(a - 200);
      s_iHigh = setp_Wrap802(a + 200);
      setp_TakerPlace(pp);
      camera_AngleSet(a);
      if (setp_UserMateExists(pp)) {
        setp_AimDefaults();
        rec.iEnterState = 13;
      } else {
        s_iCountdown = 210;
        rec.iEnterState = 21;
      }
      return true;
    }
    case 8: {
      if (setp_PositionUpdate(pp) == SETP_DONE || rec.iPosState == SETP_POS_WAITING) setp_Leave(pp);
      return true;
    }
    case 11:
      if (setp_BallInPlayState(pp) == SETP_DONE) setp_Leave(pp);
      return true;
    case 13: {
      const std::int32_t r = setp_TakerAim(pp);
      setp_AimAngleSet(spcorn_AimClamp(setp_AimAngleGet(), s_iLow, s_iHigh));
      if (r == SETP_DONE) {
        setp_CommandClear();
        rec.iEnterState = 14;
      }
      return true;
    }
    case 14:
      if (setp_CommandGet() == SETP_CMD_KICK) {
        rec.iEnterState = 11;
      } else if (!s_bKickStarted) {
        s_bKickStarted = true;
        setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, setp_ShotChanceGet);
      }
      return true;
    case 21:
      if (--s_iCountdown > 0) return true;
      {
        const std::int32_t iZone = spcorn_AimZoneGet(static_cast<std::int32_t>(QMathRandRange(99)));
        QMathPoint pt;
        const std::int32_t bFound = zone_bRandomPointAt(pp, &pt, iZone, kAimTree);
        QDX_ASSERT(bFound);
        setp_AimPointSet(pt.x, pt.y);
        rec.iPosState = SETP_POS_KICKING;
        setp_CommandSet(SETP_CMD_KICK);
        setp_CommandClear();
        rec.iEnterState = 14;
      }
      return true;
    case 2:
      if (setp_iGetEnterCount() == 0 && setp_poGetKickTaker()) {
        setp_ModeEnd(pp);
        camera_Reset();
        referee_OffsideIgnoreNext();
      }
      return true;
    default:
      QDX_ASSERT(!"corner: no such state");
      return true;
  }
}

ActionNode* spcorn_Handler(ActionNode* poList) { return setp_ListRun(poList, CornerStep); }
