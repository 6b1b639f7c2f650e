// The tackle state: slides, standing challenges and shoulder charges, who
// gets the ball when a challenge meets it, who goes down, and fouls.
#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "shell/debuglog.h"

static bool IsGoalie(const Player* pp) { return pp->ID == 0 || pp->ID == 11; }

static std::int32_t AngleDiff16(std::int32_t a, std::int32_t b) {
  std::int32_t d = (a - b) & 0xFFFF;
  return d > 32768 ? 65536 - d : d;
}

// A player brought down by a challenge, unless he is already on the floor
// in a keeper's clip or getting up.
static void KnockDown(Player* po, bool bTrip) {
  if (bTrip) {
    std::uint32_t e = po->oAnimData.eActionAnim;
    if (anim_IsGoalie(e) || e == 155) return;
    move_RequestPlay(po, 142);
    PlayerO_MoveStateSet(po, MOVE_STATE_ANIM_END);
  } else {
    move_RequestPlay(po, 35);
    PlayerO_MoveStateSet(po, MOVE_STATE_ON_GROUND);
  }
}

static void FoulRecord(Player* pp, Player* po) {
  referee_FouledSet(po);
  referee_CardDecide(pp, po, move_oTackle.iSeverity);
  referee_Update(4, pp->x, pp->y);
}

static void Floor(Player* po) {
  newballA_OwnerSet(nullptr, 0);
  chaser_Choose();
  touch_StateForce(po, 30);
  move_RequestPlay(po, 35);
  PlayerO_MoveStateSet(po, MOVE_STATE_ON_GROUND);
}

void move_StateTackle(Player* pp) {
  Ball* pb = &ball_oBall;
  Player* po = pb->poOwner;
  AnimData* pad = &pp->oAnimData;
  std::uint32_t eAnim = pad->eActionAnim;
  std::int32_t f = anim_FrameGet(pad);
  std::int32_t iReach = 80;
  std::int32_t iHeightLimit = 24;
  std::int32_t iSkill = 50;
  std::int32_t iFrameLimit = pad->uEnd;
  pp->oAnimInfo.eActionAnim = eAnim;
  bool bSlide = eAnim == 78 || eAnim == 79;
  std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb);

  if (bSlide) {
    if (po == pp) {
      pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed / 2);
    } else {
      std::int32_t a = PlayerO_Attr68Get(pp);
      iHeightLimit = a * 144 / 128;
      iSkill = a / 2 + 50;
      iReach = static_cast<std::int32_t>(QMathRandRange(192)) + a * 240 / 128;
      if (f < 2) pp->iSpeed = 41;
      if (f < 12) {
        std::int32_t iDir = QMathAtan2(bx - pp->x, by - pp->y) & 0xFFFF;
        if (f < 2 || AngleDiff16(iDir, move_oTackle.iSlideAim) <= 16384) move_oTackle.iSlideAim = iDir;
        pp->iFacing = static_cast<std::int16_t>((move_oTackle.iSlideAim * 803) >> 16);
        pp->iDisplayFacing = pp->iFacing;
      } else {
        if (po && AngleDiff16(po->iFacing * 65536 / 803, pp->iFacing * 65536 / 803) <= 1820) pp->iSpeed = 0;
        pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed - 10);
        if (pp->iSpeed < 1 || f > 23) pp->iSpeed = 0;
      }
    }
    move_Along(pp, pp->iFacing, pp->iSpeed);
  } else {
    iSkill = PlayerO_Attr61Get(pp);
    if (eAnim != 8) iSkill = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(iSkill / 2))) + iSkill / 2;
    // A challenge from a standstill keeps the window of its kind.
    iFrameLimit = (eAnim == 8 || eAnim == 9) ? 10 : 16;
    if (pp->iSpeed > 0) {
      if (eAnim == 8 || eAnim == 9) {
        iReach = 288;
        pp->iSpeed = MOVE_CHALLENGE_STEP_SPEED;
      } else if (f <= 8) {
        pp->iSpeed = 41;
      } else {
        pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed - 10);
        if (pp->iSpeed < 1 || f > 23) pp->iSpeed = 0;
      }
      move_Along(pp, pp->iFacing, pp->iSpeed);
      if (!move_oTackle.bFoulJudged && po && po != pp) {
        move_oTackle.bFoulJudged = 1;
        move_oTackle.bFoulLatch = referee_ChallengeJudgeShot(pp, po, &move_oTackle.iSeverity);
      }
    }
  }

  bool bKeeperSafe = false;
  if (po && po != pp && IsGoalie(po)) {
    std::uint32_t e = po->oAnimData.eActionAnim;
    bKeeperSafe = !(e == 129 || e == 105 || e == 161 || e == 136 || e == 169);
  }

  if (!bKeeperSafe) {
    // Contact with the ball, once a challenge.
    if (!move_oTackle.bContact && player_Dist(bx - pp->x, by - pp->y) < iReach && ball_HeightGet(pb) < iHeightLimit &&
        f > 1 && f < iFrameLimit) {
      if (IsGoalie(pp) && pp->pGoalie) newgoalo_MoveFlagSet(pp->pGoalie, 0);
      move_oTackle.bContact = 1;
      if (po != pp) {
        if (!po || IsGoalie(pp)) {
          std::int32_t r = static_cast<std::int32_t>(QMathRandRange(100));
          bool bSpill = r < (100 - iSkill) / 8 + 5;
          if (!bSpill && IsGoalie(pp)) {
            bSpill = std::abs(bx) < 6912 || std::abs(by) > 3024 || static_cast<std::int32_t>(QMathRandRange(100)) > iSkill;
          }
          newballA_OwnerSet(pp, 1);
          if (bSpill) {
            target_DoDeflect(pp, pp->iFacing);
            pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed / 2);
          }
          touch_StateForce(pp, 30);
        } else {
          std::int32_t r = static_cast<std::int32_t>(QMathRandRange(106));
          if (r < 105 - iSkill) {
            std::int32_t r2 = static_cast<std::int32_t>(QMathRandRange(106));
            std::int32_t iFacingDiff = std::abs(pp->iFacing - po->iFacing);
            if (r2 < 125 - iSkill && iFacingDiff <= 300) {
              touch_StateForce(pp, 30);
            } else {
              Player* poBy = QMathRandRange(15) == 0 ? po : pp;
              target_DoDeflect(poBy, pp->iFacing);
              touch_StateForce(po, 30);
            }
          } else {
            touch_StateForce(po, 30);
            newballA_OwnerSet(pp, 1);
          }
          if (pb->poOwner != po) {
            std::int32_t rr = static_cast<std::int32_t>(QMathRandRange(99));
            bool bLight = eAnim == 8 || eAnim == 9;
            KnockDown(po, rr >= 25 || bLight);
          }
        }
      }
    }
  }

  // Whoever the challenger runs into.
  Player* pq = bKeeperSafe ? nullptr : move_Collide(pp);
  if (pq && pq->MyTeam != pp->MyTeam && pq != &player_oReferee) {
    if (move_oTackle.bFoulLatch) {
      FoulRecord(pp, pq);
      Floor(pq);
    } else if (eAnim == 143 || eAnim == 154) {
      Player* poHolder = pb->poOwner;
      if (poHolder && poHolder != pp) {
        target_DoDeflect(poHolder, pp->iFacing);
        touch_StateForce(poHolder, 30);
      }
      std::int32_t iSeverity = 0;
      if (pq != poHolder && referee_ChallengeJudgeShot(pp, pq, &iSeverity)) {
        debuglog_Printf("duff foul\n");
        move_oTackle.iSeverity = iSeverity;
        FoulRecord(pp, pq);
      }
      Floor(pq);
    }
  }

  if (anim_IsEnded(pad) && !bSlide) {
    move_RequestPlay(pp, ANIM_STAND);
    pp->iSpeed = 0;
    pp->iWantedSpeed = 0;
    PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
  }
}
