// The generic set-piece handlers: walking on and off the pitch, the waiting
// pass, attack positions and the move-wait-choose cycle, zone wandering,
// the wall, the user's aim and the set-piece and penalty kicks.
#include <climits>

#include "engine/action.h"
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/sptab.h"
#include "engine/zone.h"
#include "framework/math/qmath.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/gauge.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/user.h"

// ---- Shared steps --------------------------------------------------------------------------
void setp_Stand(Player* pp) {
  PlayerO_SpeedSet(pp, 0);
  pp->iWantedSpeed = 0;
  PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
}

void setp_PutAt(Player* pp, std::int32_t x, std::int32_t y) {
  PlayerO_XSet(pp, x);
  PlayerO_YSet(pp, y);
  setp_Stand(pp);
}

std::int32_t setp_Wrap802(std::int32_t a) {
  a %= 802;
  return a < 0 ? a + 802 : a;
}

void setp_FaceHeading(Player* pp, std::int32_t iHeading) {
  const std::int32_t h = setp_Wrap802(iHeading);
  pp->iFacing = static_cast<std::int16_t>(h);
  pp->uWantedFacing = static_cast<std::uint16_t>(h);
  pp->iDisplayFacing = static_cast<std::int16_t>(h);
  anim_HeadingSet(&pp->oAnimInfo, static_cast<std::uint32_t>(h));
}

std::int32_t setp_Distance(std::int32_t dx, std::int32_t dy) {
  return static_cast<std::int32_t>(
      ball_ISqrt(static_cast<std::uint64_t>(static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy)));
}

void setp_PointAlong(std::int32_t x, std::int32_t y, std::int32_t iHeading, std::int32_t d, std::int32_t* px,
                     std::int32_t* py) {
  const std::int32_t iDeg = setp_Wrap802(iHeading) * 180 / 401;
  *px = x + imath_CosScale(d, iDeg);
  *py = y + imath_SinScale(d, iDeg);
}

std::int32_t setp_BallX() { return ball_XGet(&ball_oBall); }
std::int32_t setp_BallY() { return ball_YGet(&ball_oBall); }

void setp_WalkStart(Player* pp, std::int32_t x, std::int32_t y, std::uint32_t eAnim) {
  setp_TargetPointSet(pp, x, y);
  pp->oSetPiece.iAnim = static_cast<std::int32_t>(eAnim);
  pp->oSetPiece.iWait = INT32_MAX;
  PlayerO_MoveToSet(pp, x, y, eAnim);
}

std::int32_t setp_WalkUpdate(Player* pp) {
  const std::int32_t tx = pp->oSetPiece.iTargetX, ty = pp->oSetPiece.iTargetY;
  const std::int64_t dx = tx - pp->x, dy = ty - pp->y;
  const std::int64_t d2 = dx * dx + dy * dy;
  const std::int32_t iPrev = pp->oSetPiece.iWait;
  pp->oSetPiece.iWait = d2 > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(d2);
  if (d2 < SETP_ARRIVE * SETP_ARRIVE) return 1;
  if (d2 < 4 * SETP_ARRIVE * SETP_ARRIVE && d2 >= iPrev) return 1;
  std::uint32_t eAnim = static_cast<std::uint32_t>(pp->oSetPiece.iAnim);
  if (eAnim <= ANIM_NONE) eAnim = ANIM_WALK;
  PlayerO_MoveToSet(pp, tx, ty, eAnim);
  return 0;
}

ActionNode* setp_ListRun(ActionNode* poList, bool (*pfn)(Player*)) {
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    ActionNode* poNext = po->poNext;
    if (pfn(po->poPlayer)) {
      ActionNode* poRest = director_ListUnlink(po);
      if (po == poHead) poHead = poRest;
    }
    po = poNext;
  }
  return poHead;
}

User* setp_SideUserGet(const Player* pp) {
  for (User& u : user_aUsers)
    if (u.bActive && u.MyTeam == pp->MyTeam) return &u;
  return nullptr;
}

void setp_ForEachUser(void (*pfn)(Player* poControlled)) {
  for (User& u : user_aUsers) {
    if (!u.bActive) continue;
    for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
      if (pp->pUser == &u) {
        pfn(pp);
        break;
      }
  }
}

void setp_PlaceBehindBall(Player* pp, std::uint32_t eAnim) {
  std::int32_t ai[3] = {0, 0, 0};
  anim_ContactBallOffsetGet(pp->iFacing, eAnim, ai);
  setp_TargetPointSet(pp, setp_BallX() - ai[0], setp_BallY() - ai[2]);
  const std::uint32_t eBefore = anim_RequestGet(&pp->oAnimInfo);
  anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
  if (eBefore > ANIM_NONE && eBefore < ANIM_MAX) anim_ActionAnimSet(&pp->oAnimData, eBefore);
}

// The taker placed for the kick: behind the ball for the kick animation and
// put on that point.
static void PlaceTaker(Player* pp) {
  setp_FaceHeading(pp, setp_AimAngleGet());
  setp_PlaceBehindBall(pp, ANIM_GOALIE_PLACEKIK);
  PlayerO_XSet(pp, pp->oSetPiece.iTargetX);
  PlayerO_YSet(pp, pp->oSetPiece.iTargetY);
}
void setp_TakerPlace(Player* pp) { PlaceTaker(pp); }

// ---- Walk-on and walk-off ------------------------------------------------------------------
static bool EnterStep(Player* pp) {
  switch (pp->oSetPiece.iEnterState) {
    case 1: {
      setp_EnterCountInc();
      QMathPoint c{0, 0};
      if (!zone_bCentreGet(pp, &c, 35)) c = QMathPoint{0, 0};
      const std::int32_t id = pp->ID;
      const bool bHome = pp->MyTeam == 1;
      const std::int32_t k = pp->Direction == 1 ? (bHome ? id - 10 : id - 21) : (bHome ? 10 - id : 21 - id);
      const std::int32_t x = static_cast<std::int32_t>(QMathRandRange(48)) + 144 * k;
      const std::int32_t y = -5760 - static_cast<std::int32_t>(QMathRandRange(720));
      PlayerO_XSet(pp, x);
      PlayerO_YSet(pp, y);
      setp_WalkStart(pp, c.x, c.y, ANIM_WALK);
      pp->oSetPiece.iEnterState = 3;
      return true;
    }
    case 3: {
      const std::int32_t c = setp_CommandGet();
      if (c == SETP_CMD_KICK || c == SETP_CMD_RELEASE || c == SETP_CMD_READY || setp_WalkUpdate(pp)) {
        setp_EnterCountDec();
        pp->oSetPiece.iEnterState = 2;
      }
      return true;
    }
    case 4: {
      const bool bDone = camera_iCurrentGet() != 10 ||
                         (camera_bIsFadeHolding() && setp_WaitIdleUpdate(pp) == SETP_DONE);
      if (bDone) {
        setp_EnterCountDec();
        pp->oSetPiece.iEnterState = 2;
      }
      return true;
    }
    case 2: {
      QDX_ASSERT(setp_iGetEnterCount() >= 0);
      if (setp_iGetEnterCount() == 0 && camera_bIsFadeHolding()) {
        setp_PutAt(pp, pp->oSetPiece.iTargetX, pp->oSetPiece.iTargetY);
        player_FaceTowards(pp, 0, 0);
        global_GameModePush(kickoff_Start, GAME_MODE_KICK_OFF, nullptr);
        setp_CommandClear();
        setp_Reset(pp);
        setp_StandStillSet(0);
      }
      return true;
    }
    default:
      QDX_ASSERT(pp->oSetPiece.iEnterState >= 1 && pp->oSetPiece.iEnterState <= 4);
      return true;
  }
}
ActionNode* setp_EnterHandler(ActionNode* poList) { return setp_ListRun(poList, EnterStep); }

static bool ExitStep(Player* pp) {
  switch (pp->oSetPiece.iEnterState) {
    case 1:
      setp_EnterCountInc();
      setp_WalkStart(pp, 0, -5760, ANIM_WALK);
      pp->oSetPiece.iEnterState = 3;
      return true;
    case 3: {
      const std::int32_t c = setp_CommandGet();
      if (c == SETP_CMD_KICK || c == SETP_CMD_RELEASE || c == SETP_CMD_READY || setp_ExitRunUpdate(pp) == SETP_DONE) {
        setp_PutAt(pp, pp->oSetPiece.iTargetX, pp->oSetPiece.iTargetY);
        setp_EnterCountDec();
        pp->oSetPiece.iEnterState = 2;
      }
      return true;
    }
    case 2:
      QDX_ASSERT(setp_iGetEnterCount() >= 0);
      if (setp_iGetEnterCount() == 0) {
        global_GameModePopRequest();
        camera_Reset();
        setp_CommandClear();
        setp_Reset(pp);
      }
      return true;
    default:
      QDX_ASSERT(pp->oSetPiece.iEnterState >= 1 && pp->oSetPiece.iEnterState <= 3);
      return true;
  }
}
ActionNode* setp_ExitHandler(ActionNode* poList) { return setp_ListRun(poList, ExitStep); }

std::int32_t setp_TakerRunUpdate(Player* pp) {
  if (pp->oSetPiece.iAnim <= static_cast<std::int32_t>(ANIM_NONE)) pp->oSetPiece.iAnim = ANIM_RUN;
  return setp_WalkUpdate(pp) ? SETP_DONE : SETP_NOT_YET;
}
std::int32_t setp_ExitRunUpdate(Player* pp) {
  if (pp->oSetPiece.iAnim <= static_cast<std::int32_t>(ANIM_NONE)) pp->oSetPiece.iAnim = ANIM_WALK;
  return setp_WalkUpdate(pp) ? SETP_DONE : SETP_NOT_YET;
}

std::int32_t setp_WaitIdleUpdate(Player* pp) {
  player_FaceTowards(pp, 0, 0);
  if (setp_StandStillGet()) {
    anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
    return setp_CommandGet() == SETP_CMD_KICK ? SETP_DONE : SETP_NOT_YET;
  }
  if (setp_CommandGet() == SETP_CMD_KICK) return SETP_DONE;
  if (anim_IsEnded(&pp->oAnimData) && pp->MoveState == MOVE_STATE_STAND) {
    static const std::uint32_t kIdles[4] = {121, 122, 138, 139};
    const std::uint32_t r = QMathRandRange(3);
    const std::uint32_t eAnim = kIdles[r];
    PlayerO_MoveStateSet(pp, r < 2 ? MOVE_STATE_SETPIECE_B : MOVE_STATE_SETPIECE_A);
    anim_RequestSet(&pp->oAnimInfo, eAnim);
    anim_ActionAnimSet(&pp->oAnimData, eAnim);
  }
  return SETP_NOT_YET;
}

// ---- Attack positions and the move-wait-choose cycle --------------------------------------------
void setp_AttackPositionChoose(Player* pp) {
  SetPieceRecord& r = pp->oSetPiece;
  r.iTreeKey = zone_iTreeIndexGet(pp);
  r.cOptions = 0;
  if (!pp->oAIInfo.bIsAttacking) return;
  const bool bSameSide = (pp->y >= 0) == (setp_BallY() >= 0);
  const std::int32_t* pi = nullptr;
  const std::int32_t bFound = bSameSide ? sptab_NearSideGet(r.iTreeKey, setp_KindGet(), &pi)
                                        : sptab_FarSideGet(r.iTreeKey, setp_KindGet(), &pi);
  // No row for his key, or no options: he holds his place (count 0).
  if (!bFound || !pi) {
    r.piOptions = nullptr;
    return;
  }
  r.piOptions = pi;
  std::int32_t n = 0;
  while (n < 3 && pi[n] != -1 && pi[n] != 0) n++;
  r.cOptions = n;
}

std::int32_t setp_PositionUpdate(Player* pp) {
  SetPieceRecord& r = pp->oSetPiece;
  switch (r.iPosState) {
    case SETP_POS_MOVING:
      if (setp_WalkUpdate(pp)) {
        setp_Stand(pp);
        r.iWait = 90 + static_cast<std::int32_t>(QMathRandRange(89));
        r.iPosState = SETP_POS_WAITING;
      }
      break;
    case SETP_POS_WAITING:
      if (--r.iWait < 1) r.iPosState = SETP_POS_CHOOSING;
      break;
    case SETP_POS_CHOOSING: {
      if (r.cOptions <= 0 || !r.piOptions) break;  // nowhere to go: he holds his place
      const std::int32_t iOption = static_cast<std::int32_t>(QMathRandRange(r.cOptions * 100 - 1)) / 100;
      QMathPoint pt;
      if (!zone_bRandomPointAt(pp, &pt, r.piOptions[iOption], r.iTreeKey)) break;
      std::uint32_t eAnim = ANIM_RUN;
      if (setp_Distance(pt.x - pp->x, pt.y - pp->y) < 2881) eAnim = QMathRandRange(1) ? ANIM_WALK : ANIM_TURN;
      setp_WalkStart(pp, pt.x, pt.y, eAnim);
      r.iPosState = SETP_POS_MOVING;
      break;
    }
    default:
      break;
  }
  const std::int32_t c = setp_CommandGet();
  return (c == SETP_CMD_KICK || c == SETP_CMD_HOLD) ? SETP_DONE : SETP_NOT_YET;
}

// ---- Zone wandering ----------------------------------------------------------------------------
static bool WanderStep(Player* pp) {
  SetPieceRoleWords& w = pp->oSetPieceRole;
  action_Set(pp, ACTION_SETPIECE_MOVE);
  switch (w.iWanderState) {
    case 1: {
      std::int32_t aiIds[32];
      std::int32_t n = 0;
      const ZoneBox* poRoot = zone_poTreeGet(pp);
      if (poRoot) {
        // His zone ids: the named zones of his current tree.
        const std::int32_t iRoot = static_cast<std::int32_t>(poRoot - zone_aBoxes);
        for (std::int32_t i = iRoot - 1; i >= 0 && zone_aBoxes[i].id != 0 && n < 32; i--)
          if (zone_aBoxes[i].id >= 8) aiIds[n++] = zone_aBoxes[i].id;
      }
      QMathPoint pt;
      if (n == 0 || !zone_bRandomPoint(pp, &pt, aiIds[QMathRandRange(n * 100 - 1) / 100])) return true;
      std::uint32_t eAnim = ANIM_RUN;
      if (setp_Distance(pt.x - pp->x, pt.y - pp->y) < 2881) eAnim = QMathRandRange(1) ? ANIM_WALK : ANIM_TURN;
      w.iWanderX = pt.x;
      w.iWanderY = pt.y;
      w.iWanderAnim = static_cast<std::int32_t>(eAnim);
      PlayerO_MoveToSet(pp, pt.x, pt.y, eAnim);
      w.iWanderState = 2;
      return true;
    }
    case 2: {
      const std::int32_t dx = w.iWanderX - pp->x, dy = w.iWanderY - pp->y;
      if (dx * dx + dy * dy < SETP_ARRIVE * SETP_ARRIVE) {
        setp_Stand(pp);
        w.iWanderWait = 90 + static_cast<std::int32_t>(QMathRandRange(89));
        w.iWanderState = 3;
      } else {
        PlayerO_MoveToSet(pp, w.iWanderX, w.iWanderY, static_cast<std::uint32_t>(w.iWanderAnim));
      }
      return true;
    }
    case 3:
      if (--w.iWanderWait < 1) w.iWanderState = 1;
      return true;
    default:
      return false;  // not wandering
  }
}
ActionNode* setp_ZoneWanderHandler(ActionNode* poList) { return setp_ListRun(poList, WanderStep); }

// ---- The wall --------------------------------------------------------------------------------
void setp_WallPointGet(const Player* pp, std::int32_t* px, std::int32_t* py) {
  const std::int32_t bx = setp_BallX(), by = setp_BallY();
  const std::int32_t postX = bx <= 0 ? -9360 : 9360;
  const std::int32_t postY = by <= 0 ? -576 : 576;
  const std::int32_t a = QMathAtan2(postX - bx, postY - by) & 0xFFFF;
  const std::int32_t n = pp->oSetPieceRole.iWallNumber;
  const bool bMinus = (postX == -9360 && postY == -576) || (postX == 9360 && postY == 576);
  const std::int32_t aSide = (bMinus ? a - 16384 : a + 16384) & 0xFFFF;
  const std::int32_t wx = bx + ((QMathCos(a) >> 4) * 1440 >> 12) + ((QMathCos(aSide) >> 4) * (n * 96) >> 12);
  const std::int32_t wy = by + ((QMathSin(a) >> 4) * 1440 >> 12) + ((QMathSin(aSide) >> 4) * (n * 96) >> 12);
  *px = wx;
  *py = wy;
}

static bool WallStep(Player* pp) {
  std::int32_t x, y;
  setp_WallPointGet(pp, &x, &y);
  QMathPoint pt{x, y};
  if (!zone_bHasPoint(pp, &pt, 0)) {
    QMathPoint q;
    if (zone_bNearestPoint(pp, &q, 0, &pt)) pt = q;
  }
  action_Set(pp, ACTION_SETPIECE_POSITION);
  const std::int32_t dx = pt.x - pp->x, dy = pt.y - pp->y;
  if (dx * dx + dy * dy < SETP_ARRIVE * SETP_ARRIVE) {
    player_FaceTowards(pp, setp_BallX(), setp_BallY());
    PlayerO_SpeedSet(pp, 0);
    PlayerO_MoveToSet(pp, pp->x, pp->y, 171);
    return true;
  }
  // Beyond the point toward his attacking goal he runs back (past the ball)
  // or steps back; otherwise he walks.
  const bool bBeyond = pp->Direction == 1 ? pp->x > pt.x : pp->x < pt.x;
  const bool bBeyondBall = pp->Direction == 1 ? pp->x > setp_BallX() : pp->x < setp_BallX();
  PlayerO_MoveToSet(pp, pt.x, pt.y, !bBeyond ? ANIM_WALK : bBeyondBall ? ANIM_RUN : 7);
  return true;
}
ActionNode* setp_WallHandler(ActionNode* poList) { return setp_ListRun(poList, WallStep); }

// ---- User aiming -----------------------------------------------------------------------------
static void AimPointRecompute() {
  const std::int32_t d = setp_KickDistanceGet();
  std::int32_t x, y;
  setp_PointAlong(setp_BallX(), setp_BallY(), setp_AimAngleGet(), d, &x, &y);
  setp_AimPointSet(x, y);
}

std::int32_t setp_TakerAim(Player* poTaker) {
  setp_UserAimSet(1);
  setp_KickDistanceSet(setp_PowerGet() * 10080 / 100);
  AimPointRecompute();
  ball_oBall.iSpin = setp_SpinGet() * 960 / 100;
  std::int32_t ax, ay;
  setp_AimPointGet(&ax, &ay);
  ball_AngleLaunch(&ball_oBall, ax, ay, setp_LoftGet() * 360 / 802, 0);
  PowerGauge* pg = setp_poGetAimMarker();
  gauge_Reset(pg, setp_PowerGet(), setp_SpinGet());
  setp_AimMarkerRefresh();
  if (!poTaker->pUser) {
    if (User* pu = setp_SideUserGet(poTaker)) user_PlayerSet(pu, poTaker);
  }
  ball_AimMarkerAdd();
  setp_Stand(poTaker);
  PlaceTaker(poTaker);
  switch (setp_CommandGet()) {
    case SETP_CMD_KICK:
    case SETP_CMD_RELEASE:
      return SETP_DONE;
    case SETP_CMD_AIM_LEFT:
      setp_AimAngleSet(setp_Wrap802(setp_AimAngleGet() + 4));
      AimPointRecompute();
      setp_CommandClear();
      break;
    case SETP_CMD_AIM_RIGHT:
      setp_AimAngleSet(setp_Wrap802(setp_AimAngleGet() - 4));
      AimPointRecompute();
      setp_CommandClear();
      break;
    case SETP_CMD_LOFT_DOWN:
      if (setp_LoftGet() >= 23) setp_LoftSet(setp_LoftGet() - 4);
      setp_CommandClear();
      break;
    case SETP_CMD_LOFT_UP:
      if (setp_LoftGet() < 77) setp_LoftSet(setp_LoftGet() + 4);
      setp_CommandClear();
      break;
    default:
      break;
  }
  return SETP_NOT_YET;
}

// ---- The kicks -------------------------------------------------------------------------------
void setp_ShotChanceGet(Player* poTaker) {
  Ball* pb = &ball_oBall;
  pb->iKind = 4;
  newballA_OwnerSet(poTaker, 1);
  const std::int32_t bx = setp_BallX(), by = setp_BallY();
  if (!setp_UserAimGet()) {
    std::int32_t ax, ay;
    setp_AimPointGet(&ax, &ay);
    const std::int32_t d = setp_Distance(ax - bx, ay - by);
    const std::int32_t a = QMathAtan2(ax - bx, ay - by) & 0xFFFF;
    const std::int32_t acc = PlayerO_Attr56Get(poTaker);
    const std::int32_t iErr = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(100 - acc))) * 5461 / 100;
    std::int32_t iSign;
    if (setp_KindGet() == SETP_KIND_CORNER) {
      iSign = ((bx > 0) == (by > 0)) ? -1 : 1;
    } else {
      iSign = QMathRandRange(1) ? 1 : -1;
    }
    QMathRandNext();  // drawn and dropped
    const std::int32_t d2 =
        d + static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(100 - acc))) * (d / 4) / 100;
    const std::int32_t iSpin = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(d2 / 8))) - d2 / 16;
    const std::int32_t a2 = (a + iSign * iErr) & 0xFFFF;
    ax = bx + ((QMathCos(a2) >> 4) * d2 >> 12);
    ay = by + ((QMathSin(a2) >> 4) * d2 >> 12);
    setp_AimPointSet(ax, ay);
    setp_BallRelease(poTaker);
    pb->iKind = 4;
    ball_SpinSet(pb, iSpin);
    ball_AngleLaunch(pb, ax, ay, 25, 100);
    ball_PredictPath(pb);
    touch_ContactSet(poTaker, nullptr, 4);
  } else {
    PowerGauge* pg = setp_poGetAimMarker();
    const std::int32_t P = gauge_iPowerGet(pg);
    std::int32_t iPower = (PlayerO_Attr55Get(poTaker) * 40 / 100 + 40) * P / 100;
    const std::int32_t c = (PlayerO_Attr56Get(poTaker) + 28) * ((50 - gauge_iPercentGet(pg)) * 22 / 50);
    std::int32_t iAim = setp_AimAngleGet();
    if (setp_PenaltyFlagGet() || setp_AimSwingGet()) {
      iAim += QMathRandBetween(-22, 22);
      iPower -= static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(iPower / 4 > 0 ? iPower / 4 : 0)));
    }
    iAim += (c / 128) * 401 / 180;
    setp_AimAngleSet(setp_Wrap802(iAim));
    const std::int32_t iAimDeg = setp_AimAngleGet() * 180 / 401;
    const std::int32_t iLoftDeg = setp_LoftGet() * 180 / 401;
    const std::int32_t iSpinArg = setp_LoftGet() < 45 ? 100 : -100;
    offside_SwitchSet(0);
    ball_VectorLaunch(iPower, iAimDeg, iLoftDeg, iSpinArg);
    const std::int32_t iDist = setp_Distance(pb->iLandX - bx, pb->iLandY - by);
    ball_SpinSet(pb, imath_SinScale(iDist / 2, c / 64));
    ball_VectorLaunch(iPower, iAimDeg, iLoftDeg, iSpinArg);
    ball_PredictPath(pb);
    offside_SwitchSet(1);
  }
  setp_UserAimSet(0);
  ball_KickSoundB();
}

void setp_TakerKick(Player* poTaker) {
  Ball* pb = &ball_oBall;
  pb->iKind = 4;
  const std::int32_t iPower = (PlayerO_Attr55Get(poTaker) * 50 / 100 + 90) * setp_PowerGet() / 100;
  offside_SwitchSet(0);
  newballA_OwnerSet(poTaker, 1);
  ball_VectorLaunch(iPower, setp_KickAngleGet() * 180 / 401, setp_LoftGet() * 180 / 401, 100);
  ball_PredictPath(pb);
  ball_OutcomeSet(8, poTaker->Direction != 1 ? 1 : 2);
  offside_SwitchSet(1);
  setp_UserAimSet(0);
  ball_KickSoundB();
}

// ---- Kind helpers -----------------------------------------------------------------------------
void setp_KickStart(Player* pp, std::uint32_t eAnim, void (*pfnStrike)(Player*)) {
  anim_RequestSet(&pp->oAnimInfo, eAnim);
  anim_ActionAnimSet(&pp->oAnimData, eAnim);
  anim_CallbackSet(&pp->oAnimData, pfnStrike);
  touch_StateForce(pp, 10);
  pp->oSetPiece.iPosState = SETP_POS_KICKING;
}

bool setp_UserMateExists(const Player* pp) {
  if (pp->Control == PLAYER_CONTROL_USER) return true;
  Player* po = nullptr;
  return player_NearestUserMateFind(pp, &po) != 0 && po != nullptr;
}

Player* setp_NearestMate(const Player* pp) {
  Player* poBest = nullptr;
  std::int64_t iBest = 0;
  for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
    if (po == pp || po->MyTeam != pp->MyTeam) continue;
    const std::int64_t dx = po->x - pp->x, dy = po->y - pp->y;
    const std::int64_t d = dx * dx + dy * dy;
    if (!poBest || d < iBest) poBest = po, iBest = d;
  }
  return poBest;
}

std::int32_t setp_HeadingTo(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  return setp_Wrap802(ball_HeadingTo(x1 - x0, y1 - y0));
}

std::int32_t setp_BallInPlayState(Player* pp) {
  if (pp->oSetPiece.iPosState == SETP_POS_KICKING && pp->oAnimData.pfnContact) return SETP_NOT_YET;
  return setp_BallInState(pp);
}

Player* setp_TakerEnsure(bool bKeeper) {
  if (Player* po = setp_poGetKickTaker()) return po;
  Player* poBest = nullptr;
  std::int64_t iBest = 0;
  for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
    if (!po->oAIInfo.bIsAttacking) continue;
    if ((player_IsGoalkeeper(po) != 0) != bKeeper) continue;
    const std::int64_t dx = po->x - setp_BallX(), dy = po->y - setp_BallY();
    if (!poBest || dx * dx + dy * dy < iBest) poBest = po, iBest = dx * dx + dy * dy;
  }
  setp_KickTakerSet(poBest);
  return poBest;
}

void setp_AngleKick(Player* poKicker, std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  setp_BallRelease(poKicker);
  ball_oBall.iKind = 4;
  ball_AngleLaunch(&ball_oBall, x, y, iDeg, iSpin);
  ball_PredictPath(&ball_oBall);
}

void setp_Leave(Player* pp) {
  setp_EnterCountDec();
  pp->oSetPiece.iEnterState = 2;
}

void setp_ModeEnd(Player* pp) {
  global_GameModePopRequest();
  setp_CommandClear();
  setp_Reset(pp);
}

void setp_BallRelease(Player* poKicker) {
  if (poKicker) newballA_OwnerSet(poKicker, 1);
  newballA_OwnerSet(nullptr, 0);
  ball_oBall.iState = BALL_STATE_FREE;
}
