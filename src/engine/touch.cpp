// The touch machine: each player's touch state stepped once a tick by the
// touch action, the sides' contact players and kinds, and the glide that
// brings a receiver onto the point where his kick clip meets the ball.
#include "engine/touch.h"

#include <cstdlib>

#include "engine/action.h"
#include "engine/aiopt.h"
#include "engine/action_programs.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/kick.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/target.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "shell/imath.h"

TouchTeam touch_aTeams[2];

namespace {

// Per player (by id): the point his touch kick is played toward and the
// strike callback waiting for the kick clip to start, with its angle.
struct TouchPlayerData {
  std::int32_t iLeadX;
  std::int32_t iLeadY;
  AnimContactFn pfnStrike;
  std::int32_t iStrikeAngle;  // 802 a turn
};
TouchPlayerData s_aData[PLAYER_MAX];

TouchPlayerData& DataOf(const Player* pp) { return s_aData[pp->ID < PLAYER_MAX ? pp->ID : 0]; }
TouchTeam& TeamOf(const Player* pp) { return touch_aTeams[touch_SideIndex(pp)]; }

std::int32_t Wrap802(std::int32_t a) {
  a %= 802;
  return a < 0 ? a + 802 : a;
}
std::int32_t To16(std::int32_t a802) { return static_cast<std::int32_t>(Wrap802(a802) * 65536 / 802) & 0xFFFF; }
std::int32_t From16(std::int32_t a16) { return Wrap802(((a16 & 0xFFFF) * 803) >> 16); }
std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }
std::int64_t Dist2(std::int32_t dx, std::int32_t dy) {
  return static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy;
}
std::int32_t GoalX(const Player* pp) { return pp->Direction == 1 ? 9360 : -9360; }
std::int32_t GoalHeading(const Player* pp) { return pp->Direction == 1 ? 0 : 401; }
std::int32_t Degrees(std::int32_t a802) { return a802 * 180 / 401; }
std::int32_t FromDegrees(std::int32_t iDeg) { return Wrap802(iDeg * 802 / 360); }

void AlongDeg(std::int32_t x, std::int32_t y, std::int32_t d, std::int32_t iDeg, std::int32_t* px, std::int32_t* py) {
  *px = x + imath_CosScale(d, iDeg);
  *py = y + imath_SinScale(d, iDeg);
}

void FacingSet(Player* pp, std::int32_t a802) {
  pp->iFacing = static_cast<std::int16_t>(Wrap802(a802));
  pp->uWantedFacing = static_cast<std::uint16_t>(pp->iFacing);
  pp->iDisplayFacing = pp->iFacing;
}

// Plays a clip from its first frame where he stands, waiting for its end.
void StandPlay(Player* pp, std::uint32_t eAnim, std::int32_t iMoveState) {
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  anim_RequestSet(&pp->oAnimInfo, eAnim);
  anim_ActionAnimSetAt(&pp->oAnimData, eAnim, 0);
  PlayerO_MoveStateSet(pp, iMoveState);
}

void OffsetsClear(TouchTeam& t) {
  t.iOffsetX = 0;
  t.iOffsetY = 0;
  t.iOffsetH = 0;
  t.iTurn = 0;
}

// The side's contact data cleared: kind none, no contact player.
void TeamContactClear(TouchTeam& t) {
  if (t.poContact) t.poContact->oTouch.iContactMark = 0;
  t.poContact = nullptr;
  t.iKind = TOUCH_KIND_NONE;
  OffsetsClear(t);
}

// Both sides' contact players unmarked, without touching anybody's state.
void ContactPlayersClear() {
  for (TouchTeam& t : touch_aTeams) {
    if (t.poContact) t.poContact->oTouch.iContactMark = 0;
    t.poContact = nullptr;
    t.iKind = TOUCH_KIND_NONE;
  }
}

void StrikeRemove(Player* pp) {
  DataOf(pp).pfnStrike = nullptr;
  anim_CallbackSet(&pp->oAnimData, nullptr);
}

// A clip the player can reach for a loose ball in: not while he kicks,
// falls, or plays a keeper's or a scripted clip.
bool AnimAllowsReach(const Player* pp) {
  std::uint32_t e = pp->oAnimData.eActionAnim;
  if (e >= ANIM_MAX || anim_aTable[e].id != e) return true;
  std::uint32_t t = anim_aTable[e].type;
  return t != ANIM_TYPE_KICK && t != ANIM_TYPE_4 && t != ANIM_TYPE_GOALIE && t != ANIM_TYPE_3;
}

// Launches the ball he touched on: toward (x, y) at the elevation, kind set.
void KnockLaunch(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iKind) {
  Ball* pb = &ball_oBall;
  if (pb->poOwner) newballA_OwnerSet(nullptr, 0);
  pb->iState = BALL_STATE_FREE;
  pb->iKind = iKind;
  pb->iTargetX = x;
  pb->iTargetHeight = 0;
  pb->iTargetY = y;
  ball_SpinSet(pb, 0);
  ball_HeightAngleLaunch(pb, x, 0, y, iDeg, 0);
  ball_PredictPath(pb);
  (void)pp;
}

// The approach point of a kick clip meeting the ball at (x, y) facing a802.
void ApproachSet(Player* pp, std::uint32_t eKick, std::int32_t a802, std::int32_t x, std::int32_t y) {
  std::int32_t aiOff[3] = {0, 0, 0};
  anim_ContactBallOffsetGet(a802, eKick, aiOff);
  pp->iApproachX = x - aiOff[0];
  pp->iApproachY = y - aiOff[2];
}

void EntryTake(Player* pp, const BallPathEntry* pe) {
  pp->iInterceptEntry = pe->iIndex;
  pp->iInterceptX = pe->iX;
  pp->iInterceptHeight = pe->iHeight;
  pp->iInterceptY = pe->iY;
}

// The facing that meets the ball coming from where it is toward the entry.
std::int32_t MeetHeading(const Player* pp, const BallPathEntry* pe) {
  std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
  std::int32_t dx = pe->iX - bx, dy = pe->iY - by;
  if (dx == 0 && dy == 0) {
    dx = pp->x - bx;
    dy = pp->y - by;
  }
  return Wrap802(ball_HeadingTo(dx, dy) + 401);
}

// Step 1 of the decision: a challenge on an opponent running with the ball
// in front of him.
void ReleaseTackle(Player* pp, Player* poOwner) {
  if (poOwner->MyTeam == pp->MyTeam || poOwner->oAnimData.eActionAnim != 129) return;
  std::int32_t d = Wrap802(ball_HeadingTo(pp->x - poOwner->x, pp->y - poOwner->y) - poOwner->iFacing);
  if (d > 200 && d < 602) return;
  if (Dist2(ball_CurXGet() - pp->x, ball_CurYGet() - pp->y) > TOUCH_REACH2) return;
  std::int32_t a = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(PlayerO_Attr61Get(pp) / 4)));
  std::int32_t b = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(PlayerO_Attr54Get(poOwner))));
  if (a <= b) return;
  newballA_OwnerSet(pp, 1);
  poOwner->oTouch.iState = TOUCH_STATE_DELAY;
  poOwner->oTouch.iTimer = 9;
  anim_RequestSet(&poOwner->oAnimInfo, 25);
  anim_ActionAnimSet(&poOwner->oAnimData, 25);
  poOwner->iWantedSpeed = 23;
}

// Kind 4: the first touch in possession, by the pitch zone.
std::int32_t FirstTouch(Player* pp, TouchTeam& t) {
  TouchPlayerData& d = DataOf(pp);
  std::int32_t s = pp->Direction == 1 ? 1 : -1;
  std::int32_t tx, ty;
  switch (touch_PitchZoneGet(pp)) {
    case 1: {  // cross to the far side of the box
      std::int32_t r = static_cast<std::int32_t>(QMathRandRange(2880));
      std::int32_t iOff = QMathRandBetween(-33, 34);
      std::int32_t iSide = pp->y < 0 ? -1 : 1;
      tx = s * 7632;
      ty = iSide * (r - 1440);
      target_DistanceSet(r);
      target_AngleSet(iOff);
      target_ShotModeSet(0);
      ball_SpinSet(&ball_oBall, -iSide * r / 8);
      d.pfnStrike = target_StrikeExecute;
      d.iStrikeAngle = Wrap802(iOff);
      break;
    }
    case 2:  // shot at the goal centre
      tx = s * 9360;
      ty = 0;
      d.pfnStrike = target_DoShotRandom;
      d.iStrikeAngle = Wrap802(ball_HeadingTo(tx - pp->x, ty - pp->y));
      break;
    default: {  // run with the ball, a little either side of straight at the goal
      bool bDeep = touch_PitchZoneGet(pp) == 0;
      pp->iRunDistance = bDeep ? QMathRandBetween(4320, 7200) : QMathRandBetween(2880, 5760);
      std::int32_t iDeg = Degrees(GoalHeading(pp)) + static_cast<std::int32_t>(QMathRandRange(40)) - 20;
      pp->iRunAngle = FromDegrees(iDeg);
      AlongDeg(pp->x, pp->y, pp->iRunDistance, iDeg, &tx, &ty);
      d.pfnStrike = target_DoStoredKick;
      d.iStrikeAngle = pp->iRunAngle;
      break;
    }
  }
  d.iLeadX = tx;
  d.iLeadY = ty;
  BallPathEntry* pe = ball_PathInterceptGet(pp);
  if (!pe) return TOUCH_STATE_MAIN;
  EntryTake(pp, pe);
  std::uint32_t eKick = kick_AnimChooseAlt(pp, tx, ty, pe->iHeight, pp->iFacing);
  if (eKick == ANIM_NONE) {
    d.pfnStrike = nullptr;
    return TOUCH_STATE_MAIN;
  }
  pp->eKickAnim = eKick;
  t.iHeading = To16(pp->iFacing);
  ApproachSet(pp, eKick, pp->iFacing, pe->iX, pe->iY);
  pp->iNextTouchState = TOUCH_STATE_TRAP;
  return TOUCH_STATE_RECEIVE;
}

// The steering of a receiver with t ticks left before the ball reaches his
// entry; n ticks are what his kick clip needs.
std::int32_t Steer(Player* pp, std::int32_t t, std::int32_t n) {
  TouchTeam& T = TeamOf(pp);
  TouchPlayerData& d = DataOf(pp);
  QDX_ASSERT(t > 0);
  T.iOffsetX = Clamp((pp->iApproachX - pp->x) * 128 / t, -TOUCH_OFFSET_LIMIT, TOUCH_OFFSET_LIMIT);
  T.iOffsetY = Clamp((pp->iApproachY - pp->y) * 128 / t, -TOUCH_OFFSET_LIMIT, TOUCH_OFFSET_LIMIT);
  if (pp->iInterceptHeight < 145) {
    std::int32_t iDelta = static_cast<std::int16_t>((T.iHeading - To16(pp->iFacing)) & 0xFFFF);
    T.iTurn = iDelta / t;
  } else {
    FacingSet(pp, From16(T.iHeading));
    T.iTurn = 0;
  }
  if (t == n) {
    StandPlay(pp, pp->eKickAnim, MOVE_STATE_ANIM_WAIT);
    anim_CallbackSet(&pp->oAnimData, d.pfnStrike);
    target_ReceiverSet(pp->oReceiver.poReceiver);
    target_XSet(pp->oReceiver.x);
    target_YSet(pp->oReceiver.y);
    target_AngleSet(d.iStrikeAngle);
    // A lay-off or a pass on goes to the receiver record's point.
    if (d.pfnStrike == target_DoTapHeader) pass_RecordSet(PASS_RECORD_AT_POINT, pp->oReceiver.x, pp->oReceiver.y);
    return pp->iNextTouchState;
  }
  if (t < n) {
    StrikeRemove(pp);
    return ball_oBall.iKind != BALL_KIND_NONE ? TOUCH_STATE_MAIN : TOUCH_STATE_WAIT;
  }
  pp->x = static_cast<std::int16_t>(pp->x + T.iOffsetX / 128);
  pp->y = static_cast<std::int16_t>(pp->y + T.iOffsetY / 128);
  FacingSet(pp, pp->iFacing + ((T.iTurn * 803) >> 16));
  pp->iSpeed = 0;
  anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
  return TOUCH_STATE_RECEIVE;
}

// States 3 and 4: the glide and turn while the kick clip runs, and the
// meeting at its contact frame.
std::int32_t ClipUpdate(Player* pp, bool bTrap) {
  TouchTeam& T = TeamOf(pp);
  AnimData* pad = &pp->oAnimData;
  if (bTrap) {
    // The movement layer stands a player up in the tick his clip ends, so
    // another clip playing (a standing one too) means the chosen one is over.
    if (pad->eActionAnim != pp->eKickAnim) {
      OffsetsClear(T);
      return TOUCH_STATE_MAIN;
    }
    QDX_ASSERT(pad->eActionAnim != ANIM_STAND);
    QDX_ASSERT(pad->eActionAnim != ANIM_OFFENCE_IDLE);
    QDX_ASSERT(pad->eActionAnim != ANIM_DEFENCE_IDLE);
    QDX_ASSERT(pad->eActionAnim != ANIM_SHUFIDLE);
  }
  pp->x = static_cast<std::int16_t>(pp->x + T.iOffsetX / 128);
  pp->y = static_cast<std::int16_t>(pp->y + T.iOffsetY / 128);
  pp->iSpeed = 0;
  FacingSet(pp, pp->iFacing + ((T.iTurn * 803) >> 16));
  const AnimRecord* pr = anim_RecordGet(pad->eActionAnim);
  if (pr->contact >= 0 && anim_FrameGet(pad) == pr->contact) {
    if (bTrap) {
      OffsetsClear(touch_aTeams[0]);
      OffsetsClear(touch_aTeams[1]);
    } else {
      OffsetsClear(T);
    }
    FacingSet(pp, From16(T.iHeading));
    std::int32_t aiOff[3] = {0, 0, 0};
    anim_ContactBallOffsetGet(pp->iFacing, pad->eActionAnim, aiOff);
    Ball* pb = &ball_oBall;
    std::int32_t dx = std::abs(pp->x + aiOff[0] - ball_XGet(pb));
    std::int32_t dh = std::abs(pp->height + aiOff[1] - ball_HeightGet(pb));
    std::int32_t dy = std::abs(pp->y + aiOff[2] - ball_YGet(pb));
    if (dx <= 48 && dh <= 96 && dy <= 48) {
      newballA_OwnerSet(pp, 1);
    } else {
      PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_END);
    }
  }
  if (!anim_IsEnded(pad)) return TOUCH_STATE_TRAP;
  if (bTrap) {
    TeamContactClear(T);
    StrikeRemove(pp);
  }
  pp->oTouch.iTimer = 10;
  return TOUCH_STATE_DELAY;
}

}  // namespace

// ---- Records ---------------------------------------------------------------------------
std::int32_t touch_SideIndex(const Player* pp) { return pp->MyTeam == player_PlaysFor_Home ? 0 : 1; }

void touch_Init() {
  for (TouchTeam& t : touch_aTeams) {
    t = TouchTeam{};
    t.iKind = TOUCH_KIND_NONE;
    t.iSavedKind = TOUCH_KIND_NONE;
  }
  for (TouchPlayerData& d : s_aData) d = TouchPlayerData{};
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    pp->oTouch.iState = TOUCH_STATE_MAIN;
    pp->oTouch.iContactMark = 0;
    pp->oTouch.iTimer = 0;
  }
}

void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind) {
  TouchTeam& t = TeamOf(pp);
  if (t.poContact) return;
  Player* poChaser = chaser_PlayerGet(pp);
  if (poChaser && poChaser != pp && poChaser->Control == PLAYER_CONTROL_USER) return;
  t.poContact = pp;
  if (poMark) poMark->oTouch.iContactMark = 1;
  pp->oTouch.iContactMark = 1;
  t.iKind = iKind;
  t.iSavedKind = iKind;
}

void touch_ContactClear() {
  ContactPlayersClear();
  Player* poOwner = ball_OwnerGet();
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
    if (pp != poOwner) pp->oTouch.iState = TOUCH_STATE_MAIN;
}

void touch_ContactMark(Player* pp) {
  TouchTeam& t = TeamOf(pp);
  t.poContact = pp;
  pp->oTouch.iContactMark = 1;
  t.iKind = t.iSavedKind;
}

std::int32_t touch_ContactGet(const Player* pp) { return pp->oTouch.iContactMark; }

std::int32_t touch_KindFor(const Player* pp) {
  const TouchTeam& t = touch_aTeams[touch_SideIndex(pp)];
  if (t.poContact && t.poContact != pp && player_IsGoalkeeper(t.poContact)) return TOUCH_KIND_NONE;
  return t.iKind;
}

void touch_StateForce(Player* pp, std::int32_t n) {
  if (!player_IsGoalkeeper(pp) && pp->oTouch.iState == TOUCH_STATE_MAIN) pp->oTouch.iState = TOUCH_STATE_DELAY;
  pp->oTouch.iTimer = n;
}
void touch_StateSet(Player* pp, std::int32_t iState) { pp->oTouch.iState = iState; }
std::int32_t touch_StateGet(const Player* pp) { return pp->oTouch.iState; }
void touch_StateInit(Player* pp) { pp->oTouch.iState = TOUCH_STATE_MAIN; }
void touch_PairSet(Player* pp, std::int32_t a, std::int32_t b) {
  pp->oTouch.aiOffset[0] = a;
  pp->oTouch.aiOffset[1] = b;
}
void touch_PairClear(std::int32_t* piWords) {
  piWords[0] = 0;
  piWords[1] = 0;
}
void touch_Nothing() {}

std::int32_t touch_PitchZoneGet(const Player* pp) {
  std::int32_t a = pp->Direction == 1 ? pp->x : -pp->x;
  std::int32_t ay = std::abs(static_cast<std::int32_t>(pp->y));
  if (a < -3600) return 0;
  if (a >= 3601 && ay > 3168) return 1;
  if (a >= 4321) return 2;
  return 3;
}

std::int32_t touch_KickTicks(std::uint32_t eAnim) {
  const AnimRecord* pr = anim_RecordGet(eAnim);
  if (pr->contact > 0) return pr->contact;
  std::int32_t iLength = pr->end >= pr->start ? pr->end - pr->start : pr->start - pr->end;
  return iLength + 1;
}

// ---- Reaching a loose ball -----------------------------------------------------------------
std::int32_t touch_BallReach(Player* pp, std::int32_t iHeightClass, std::uint32_t* peAnim) {
  *peAnim = ANIM_NONE;
  Ball* pb = &ball_oBall;
  std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb), h = ball_HeightGet(pb);
  if (Dist2(bx - pp->x, by - pp->y) > TOUCH_REACH2 || !AnimAllowsReach(pp)) return 0;
  std::uint32_t ePlaying = pp->oAnimData.eActionAnim;
  bool bOutfield = !player_IsGoalkeeper(pp);
  if (pb->iKind == BALL_KIND_NONE) {
    ContactPlayersClear();
    newballA_OwnerSet(pp, 1);
    return 0;
  }
  if (ball_PathIndexGet() < 6 && pb->iKind != BALL_KIND_KNOCK_ON && pb->iKind != BALL_KIND_ROLLING && h > 144 &&
      h < 288) {
    // Too quick to control: it comes off him anywhere.
    newballA_OwnerSet(pp, 0);
    std::int32_t iDeg = QMathRandBetween(-180, 180);
    std::int32_t iDist = QMathRandBetween(720, 1440);
    std::int32_t tx, ty;
    AlongDeg(bx, by, iDist, iDeg, &tx, &ty);
    referee_OffsideIgnoreNext();
    KnockLaunch(pp, tx, ty, 10, BALL_KIND_KNOCK_ON);
    if (bOutfield) StandPlay(pp, 142, MOVE_STATE_ANIM_END);
    newgoal_KeeperCountSet();
    ContactPlayersClear();
    touch_StateForce(pp, 15);
    return 0;
  }
  if (pp->iSpeed >= 31) {
    if (h < 96) {
      ContactPlayersClear();
      ball_SpinSet(pb, 0);
      newballA_OwnerSet(pp, 1);
      return 0;
    }
    if (h < 288 && ePlaying != 154 && ePlaying != 143) {
      newballA_OwnerSet(pp, 1);
      std::int32_t iOff = Degrees(ball_HeadingTo(bx - pp->x, by - pp->y) - pp->iFacing) % 360;
      if (iOff < 0) iOff += 360;
      std::int32_t iFacingDeg = Degrees(pp->iFacing);
      std::int32_t tx, ty;
      if (iOff >= 180) {
        AlongDeg(pp->x, pp->y, 72, iFacingDeg + 180, &tx, &ty);
        KnockLaunch(pp, tx, ty, 1, BALL_KIND_KNOCK_ON);
      } else {
        std::int32_t iAhead = (156 - PlayerO_Attr54Get(pp)) / 128 * 1152 + 432;
        AlongDeg(pp->x, pp->y, iAhead, iFacingDeg, &tx, &ty);
        KnockLaunch(pp, tx, ty, h < 192 ? -5 : -10, BALL_KIND_HIGH_HEADER);
      }
      ContactPlayersClear();
      if (bOutfield) StandPlay(pp, 142, MOVE_STATE_ANIM_END);
      newgoal_KeeperCountSet();
      return 0;
    }
    return 0;
  }
  if (h < 336 && ePlaying != 154 && ePlaying != 143) {
    *peAnim = trap_AnimGet(iHeightClass);
    return *peAnim != ANIM_NONE ? 1 : 0;
  }
  return 0;
}

// ---- The states ---------------------------------------------------------------------------
std::int32_t touch_MainUpdate(Player* pp) {
  Player* poOwner = ball_OwnerGet();
  if (poOwner && poOwner != pp) {
    ReleaseTackle(pp, poOwner);
    return TOUCH_STATE_MAIN;
  }
  // A holder whose kick is already under way plays it out.
  if (poOwner == pp && (anim_IsKick(pp->oAnimInfo.eActionAnim) || anim_IsKick(pp->oAnimData.eActionAnim)))
    return TOUCH_STATE_MAIN;
  TouchTeam& t = TeamOf(pp);
  TouchPlayerData& d = DataOf(pp);
  std::int32_t k = touch_KindFor(pp);
  bool bLoose = k == TOUCH_KIND_NONE || k == TOUCH_KIND_HOLD || (chaser_PlayerGet(pp) != pp && poOwner != pp);
  if (!bLoose) {
    if (player_IsNotAttacking(pp) && ball_PathIndexGet() < 5) {
      TeamContactClear(t);
      return TOUCH_STATE_MAIN;
    }
    if (k >= TOUCH_KIND_LAY_BACK && k <= TOUCH_KIND_PASS_ON_ALT) {
      if (k == TOUCH_KIND_LAY_BACK) {
        Player* poMate = t.poContact;
        if (!poMate) return TOUCH_STATE_MAIN;
        std::int32_t iDist = player_Dist(poMate->x - pp->x, poMate->y - pp->y);
        std::int32_t iLead = 720 + 96 * (iDist / 144);
        AlongDeg(poMate->x, poMate->y, iLead, Degrees(poMate->iFacing), &d.iLeadX, &d.iLeadY);
        pp->oReceiver = ReceiverRecord{poMate, d.iLeadX, d.iLeadY, 0};
        OffsetsClear(t);
      } else {
        ReceiverRecord oRec{};
        if (shtpass_PassChoose(pp, &oRec, GoalHeading(pp)) && oRec.poReceiver) {
          pp->oReceiver = oRec;
          d.iLeadX = oRec.x;
          d.iLeadY = oRec.y;
        } else {
          pp->oReceiver = ReceiverRecord{nullptr, GoalX(pp), 0, 0};
          d.iLeadX = GoalX(pp);
          d.iLeadY = 0;
        }
      }
      BallPathEntry* pe = ball_PathInterceptGet(pp);
      if (!pe) return TOUCH_STATE_MAIN;
      EntryTake(pp, pe);
      std::int32_t iHeading = MeetHeading(pp, pe);
      t.iHeading = To16(iHeading);
      std::uint32_t eKick = kick_AnimChoose(pp, d.iLeadX, d.iLeadY, pe->iHeight, iHeading);
      if (eKick == ANIM_NONE) return TOUCH_STATE_MAIN;
      pp->eKickAnim = eKick;
      ApproachSet(pp, eKick, iHeading, pe->iX, pe->iY);
      d.pfnStrike = target_DoTapHeader;
      d.iStrikeAngle = iHeading;
      pp->iNextTouchState = TOUCH_STATE_TRAP;
      return TOUCH_STATE_RECEIVE;
    }
    if (k == TOUCH_KIND_FIRST_TOUCH) return FirstTouch(pp, t);
    if (k == TOUCH_KIND_HEADER) {
      if (pp->oSetPieceRole.iRole != 8) return TOUCH_STATE_MAIN;
      target_DistanceSet(QMathRandBetween(4320, 7200));
      target_AngleSet(pp->iFacing + FromDegrees(static_cast<std::int32_t>(QMathRandRange(40)) - 20));
      StandPlay(pp, 95, MOVE_STATE_ANIM_WAIT);
      return TOUCH_STATE_ANIM;
    }
    return TOUCH_STATE_MAIN;
  }
  // A loose ball within reach.
  if (poOwner || k == TOUCH_KIND_HOLD) return TOUCH_STATE_MAIN;
  std::int32_t iClass = ball_HeightGet(&ball_oBall) / 24;
  if (iClass > 7) iClass = 7;
  if (iClass < 0) iClass = 0;
  std::uint32_t eAnim = ANIM_NONE;
  if (touch_BallReach(pp, iClass, &eAnim) && eAnim != ANIM_NONE) {
    StandPlay(pp, eAnim, MOVE_STATE_ANIM_WAIT);
    newballA_OwnerSet(pp, 1);
    return TOUCH_STATE_WAIT;
  }
  return TOUCH_STATE_MAIN;
}

std::int32_t touch_WaitUpdate(Player* pp) {
  return anim_IsEnded(&pp->oAnimData) || pp->MoveState == MOVE_STATE_STAND ? TOUCH_STATE_MAIN : TOUCH_STATE_WAIT;
}

std::int32_t touch_TurnUpdate(Player* pp) { return ClipUpdate(pp, false); }
std::int32_t touch_TrapUpdate(Player* pp) { return ClipUpdate(pp, true); }

std::int32_t touch_DelayUpdate(Player* pp) {
  pp->oTouch.iTimer--;
  return pp->oTouch.iTimer < 0 ? TOUCH_STATE_MAIN : TOUCH_STATE_DELAY;
}

std::int32_t touch_ReceiveUpdate(Player* pp) {
  Player* poOwner = ball_OwnerGet();
  TouchTeam& T = TeamOf(pp);
  if ((poOwner && poOwner != pp) || touch_KindFor(pp) == TOUCH_KIND_NONE ||
      (chaser_PlayerGet(pp) != pp && poOwner != pp))
    return TOUCH_STATE_MAIN;
  std::int32_t n = touch_KickTicks(pp->eKickAnim);
  std::int32_t iNow = ball_PathIndexGet();
  // The path ends: a look past its last entry reads the last one.
  std::int32_t iLast = ball_PathLengthGet() - 1;
  std::int32_t iE = iNow + n;
  if (iE > iLast) iE = iLast;
  if (iE < 0) iE = 0;
  std::int32_t iAway = pp->iInterceptEntry - iNow;
  if (Dist2(pp->iApproachX - pp->x, pp->iApproachY - pp->y) <= TOUCH_APPROACH2 && iAway >= n)
    return Steer(pp, iAway, n);
  Ball* pb = &ball_oBall;
  if (Dist2(ball_XGet(pb) - pp->x, ball_YGet(pb) - pp->y) <= TOUCH_REACH2 && ball_HeightGet(pb) < 96) {
    newballA_OwnerSet(pp, 1);
    pp->iApproachX = pp->x;
    pp->iApproachY = pp->y;
    BallPathEntry oE{};
    if (ball_PathEntryGet(iE, &oE)) {
      EntryTake(pp, &oE);
    } else {
      pp->iInterceptEntry = iE;
    }
    FacingSet(pp, From16(T.iHeading));
    return Steer(pp, n, n);
  }
  if (iAway >= -2) return TOUCH_STATE_RECEIVE;
  StrikeRemove(pp);
  TeamContactClear(T);
  return TOUCH_STATE_MAIN;
}

std::int32_t touch_AnimWaitUpdate(Player* pp) {
  return anim_IsEnded(&pp->oAnimData) ? TOUCH_STATE_MAIN : TOUCH_STATE_ANIM;
}

// ---- The action -------------------------------------------------------------------------------
ActionNode* touch_Handler(ActionNode* poList) {
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    std::int32_t s = pp->oTouch.iState;
    std::int32_t ns = s;
    switch (s) {
      case TOUCH_STATE_MAIN: ns = touch_MainUpdate(pp); break;
      case TOUCH_STATE_WAIT: ns = touch_WaitUpdate(pp); break;
      case TOUCH_STATE_TURN: ns = touch_TurnUpdate(pp); break;
      case TOUCH_STATE_TRAP: ns = touch_TrapUpdate(pp); break;
      case TOUCH_STATE_DELAY: ns = touch_DelayUpdate(pp); break;
      case TOUCH_STATE_RECEIVE: ns = touch_ReceiveUpdate(pp); break;
      case TOUCH_STATE_ANIM: ns = touch_AnimWaitUpdate(pp); break;
      default: ns = TOUCH_STATE_MAIN; break;
    }
    bool bTake = ns != s || ns == TOUCH_STATE_WAIT || ns == TOUCH_STATE_TURN || ns == TOUCH_STATE_TRAP ||
                 ns == TOUCH_STATE_ANIM;
    pp->oTouch.iState = ns;
    if (!bTake) {
      po = po->poNext;
      continue;
    }
    action_Set(pp, ACTION_TOUCH);
    bool bHead = po == poHead;
    po = director_ListUnlink(po);
    if (bHead) poHead = po;
  }
  return poHead;
}
