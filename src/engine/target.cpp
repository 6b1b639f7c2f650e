// Strikes: the strike state filled by whoever starts a kicking, heading,
// throwing or saving animation, and the callbacks that run at the kick frame,
// aim with an error drawn from the player's skills and launch the ball.
#include "engine/target.h"

#include <cstdlib>

#include "audio/audio_services.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/vsync.h"

TargetState target_oState;

namespace {

// Header reach and elevation per player id.
std::int32_t target_aiHeaderReach[PLAYER_MAX];
std::int32_t target_aiHeaderSpeed[PLAYER_MAX];
std::int32_t target_iLastDeflectSound = -1000;

std::int32_t r(std::int32_t n) { return n > 0 ? static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(n))) : 0; }

std::int32_t Deg(std::int32_t iAngle802) { return iAngle802 * 180 / 401; }

void Along(std::int32_t x, std::int32_t y, std::int32_t d, std::int32_t iAngle, std::int32_t* px, std::int32_t* py) {
  *px = x + imath_CosScale(d, Deg(iAngle));
  *py = y + imath_SinScale(d, Deg(iAngle));
}

std::int32_t Dist(std::int32_t dx, std::int32_t dy) {
  return static_cast<std::int32_t>(ball_ISqrt(static_cast<std::uint64_t>(
      static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy)));
}

bool HighBall() { return ball_HeightGet(&ball_oBall) >= 96; }

std::int32_t Err(std::int32_t iAttr, std::int32_t iRange) { return (100 - iAttr) * (r(iRange * 2) - iRange) / 100; }

std::int32_t PlayerIndex(const Player* pp) { return pp->ID < PLAYER_MAX ? pp->ID : 0; }

// The header launch of a high ball: part of the way to the target, at the
// player's header elevation.
void HeaderLaunch(Player* pp, std::int32_t tx, std::int32_t ty, std::int32_t iSpin) {
  Ball* poBall = &ball_oBall;
  std::int32_t px = PlayerO_XGet(pp);
  std::int32_t py = PlayerO_YGet(pp);
  std::int32_t h = target_HeaderReachGet(pp);
  std::int32_t x = px + (tx - px) * h / 100;
  std::int32_t y = py + (ty - py) * h / 100;
  if (poBall->poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  poBall->iState = BALL_STATE_FREE;
  poBall->iKind = BALL_KIND_HIGH_HEADER;
  poBall->iSpin = 0;
  poBall->iTargetX = x;
  poBall->iTargetHeight = 0;
  poBall->iTargetY = y;
  ball_HeightAngleLaunch(poBall, x, 0, y, target_HeaderSpeedGet(pp), iSpin);
  ball_PredictPath(poBall);
}

void HandOn(Player* pp, std::int32_t x, std::int32_t y) { player_PassUserSwitch(pp, x, y); }

void PlayerPos(const Player* pp, std::int32_t* px, std::int32_t* py) {
  *px = PlayerO_XGet(pp);
  *py = PlayerO_YGet(pp);
}

}  // namespace

// ---- Strike state ------------------------------------------------------------------
void target_Start(const void* pvStriker, std::int32_t iDirection, std::int32_t iStartKind) {
  target_oState.bActive = 1;
  target_oState.iDistance = 0;
  target_AngleSet(iDirection);
  target_oState.iLimit = 2160;
  target_oState.pvStriker = pvStriker;
  target_oState.iStartKind = iStartKind;
}
void target_Clear() { target_oState.bActive = 0; }
void target_MatchReset() {
  target_oState = TargetState{};
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    target_aiHeaderReach[i] = 0;
    target_aiHeaderSpeed[i] = 0;
  }
  target_iLastDeflectSound = -1000;
}
std::int32_t target_IsActive() { return target_oState.bActive; }
void target_XSet(std::int32_t x) { target_oState.iX = x; }
std::int32_t target_XGet() { return target_oState.iX; }
void target_ZSet(std::int32_t h) { target_oState.iHeight = h; }
std::int32_t target_ZGet() { return target_oState.iHeight; }
void target_YSet(std::int32_t y) { target_oState.iY = y; }
std::int32_t target_YGet() { return target_oState.iY; }
void target_DistanceSet(std::int32_t d) { target_oState.iDistance = d; }
std::int32_t target_DistanceGet() { return target_oState.iDistance; }
void target_AngleSet(std::int32_t a) {
  a %= 802;
  if (a < 0) a += 802;
  target_oState.iAngle = a;
}
std::int32_t target_AngleGet() { return target_oState.iAngle % 802; }
void target_PowerSet(std::int32_t p) { target_oState.iPower = p; }
std::int32_t target_PowerGet() { return target_oState.iPower; }
void target_ReceiverSet(Player* pp) { target_oState.poReceiver = pp; }
Player* target_poGetReceiver() { return target_oState.poReceiver; }
void target_KindSet(std::int32_t k) { target_oState.iKind = k; }
std::int32_t target_KindGet() { return target_oState.iKind; }
void target_ShotModeSet(std::int32_t m) { target_oState.iShotMode = m; }
std::int32_t target_ShotModeGet() { return target_oState.iShotMode; }

void target_HeaderSet(const Player* pp, std::int32_t iReach, std::int32_t iDegrees) {
  target_aiHeaderReach[PlayerIndex(pp)] = iReach;
  target_aiHeaderSpeed[PlayerIndex(pp)] = iDegrees;
}
std::int32_t target_HeaderReachGet(const Player* pp) {
  std::int32_t h = target_aiHeaderReach[PlayerIndex(pp)];
  return h > 0 ? h : 100;
}
std::int32_t target_HeaderSpeedGet(const Player* pp) {
  std::int32_t s = target_aiHeaderSpeed[PlayerIndex(pp)];
  return s > 0 ? s : 12;
}

// ---- Shots, chips and crosses --------------------------------------------------------
std::int32_t target_ShotAimXGet(std::int32_t iDirection, std::int32_t x, std::int32_t y) {
  if (global_eGetGameMode() == GAME_MODE_SHOOTOUT) return 9504;
  std::int32_t s = iDirection == 1 ? 1 : -1;
  std::int32_t ax = s * x;  // toward the goal attacked, positive
  if (ax <= 7632) return s * 9312;
  if (std::abs(y) >= 576) return s * 9360;
  if (ax <= 8496) return s * 9456;
  return s * 9936;
}

void target_ShotExecute(Player* pp, std::int32_t iPercent) {
  std::int32_t px, py;
  PlayerPos(pp, &px, &py);
  std::int32_t iAimX = target_ShotAimXGet(pp->Direction, px, py);
  static const std::int32_t aaiAim[3][4][2] = {
      {{528, 336}, {-528, 336}, {528, 0}, {-528, 0}},
      {{528, 336}, {432, 336}, {528, 0}, {432, 0}},
      {{-144, 336}, {-528, 336}, {-144, 0}, {-528, 0}},
  };
  std::int32_t iKind = target_oState.iKind;
  QDX_ASSERT(iKind >= 0 && iKind <= 2);
  std::int32_t k = r(3);
  std::int32_t iAimY = aaiAim[iKind][k][0];
  std::int32_t iAimH = aaiAim[iKind][k][1];
  std::int32_t d = Dist(iAimX - px, iAimY - py);
  std::int32_t a = QMathAtan2(iAimX - px, iAimY - py) & 0xFFFF;
  std::int32_t e = QMathAtan2(d, iAimH) & 0xFFFF;
  GameMode eMode = global_eGetGameMode();
  bool bHigh = HighBall();
  std::int32_t s = (eMode == GAME_MODE_PENALTY || eMode == GAME_MODE_SHOOTOUT)
                       ? (100 - PlayerO_Attr56Get(pp)) / 2
                       : 128 - (bHigh ? PlayerO_Attr57Get(pp) : PlayerO_Attr56Get(pp));
  std::int32_t s2 = s * 3640 / 128;
  std::int32_t iAngleErr = s2 > 0 ? QMathRandBetween(-s2, s2) : 0;
  std::int32_t iElevErr = r(s2);
  std::int32_t iAngle = (a + iAngleErr) & 0xFFFF;
  std::int32_t tx = px + static_cast<std::int32_t>((static_cast<std::int64_t>(QMathCos(iAngle)) * d) >> 16);
  std::int32_t ty = py + static_cast<std::int32_t>((static_cast<std::int64_t>(QMathSin(iAngle)) * d) >> 16);
  std::int32_t th = static_cast<std::int32_t>((static_cast<std::int64_t>(QMathSin((e + iElevErr) & 0xFFFF)) * d) >> 16);
  if (th < 48) th = 48;
  std::int32_t a55 = PlayerO_Attr55Get(pp);
  std::int32_t iPower;
  if (d < 864) {
    iPower = (r(20) + 30) * a55 / 100 + 50 + r(20);
  } else if (d < 1728) {
    iPower = (r(20) + 30) * a55 / 100 + 50 + r(30);
  } else if (d < 3600) {
    iPower = (r(20) + 30) * a55 / 100 + 70 + r(40);
  } else if (d < 5040) {
    iPower = a55 * 40 / 100 + 70 + r(20);
  } else {
    iPower = a55 * 40 / 100 + 70 + r(30);
  }
  newballA_OwnerSet(pp, 1);
  if (!bHigh) {
    ball_SpinSet(&ball_oBall, r(d / 16) - r(d / 16));
    ball_ShotLaunch(tx, th, ty, iPower * iPercent / 100);
  } else {
    HeaderLaunch(pp, tx, ty, -50);
  }
  newgoal_KeeperCountSet();
}

void target_ChipExecute(Player* pp, std::int32_t iPercent) {
  std::int32_t px, py;
  PlayerPos(pp, &px, &py);
  std::int32_t gx = pp->Direction == 1 ? 9360 : -9360;
  std::int32_t gy = target_oState.iY;
  target_AngleSet(ball_HeadingTo(gx - px, gy - py));
  std::int32_t d = Dist(gx - px, gy - py);
  std::int32_t a55 = PlayerO_Attr55Get(pp);
  if (d > 9360) d = 9360 - r(100 - a55) * 3600 / 100;
  std::int32_t c = target_oState.iDistance;
  std::int32_t f = c * 20 - 30;
  if (f > 100) f = 100;
  std::int32_t iAimH = (c - 3) * 48;
  if (iAimH < 0) iAimH = 24;
  std::int32_t ax = gx, ay = gy;
  shot_SpreadGet(pp, &ax, &iAimH, &ay);
  target_oState.iDistance = f * d / 100;
  std::int32_t tx, ty;
  Along(px, py, target_oState.iDistance, target_oState.iAngle, &tx, &ty);
  std::int32_t iPower = ((r(20) + 30) * a55 / 100 + 50 + r(20)) * iPercent / 100;
  if (target_oState.iDistance > 1728) {
    std::int32_t iSpin = target_oState.iDistance * PlayerO_Attr56Get(pp) / 512;
    if (pp->oAnimData.bMirror) iSpin = -iSpin;
    ball_SpinSet(&ball_oBall, iSpin);
  }
  ball_ChipLaunch(tx, iAimH, ty, iPower);
}

void target_StrikeExecute(Player* pp) {
  std::int32_t px, py;
  PlayerPos(pp, &px, &py);
  std::int32_t A = py > 0 ? -target_oState.iAngle : target_oState.iAngle;
  std::int32_t D = target_oState.iDistance;
  std::int32_t s = pp->Direction == 1 ? 1 : -1;
  std::int32_t iAimX = s * 7632;
  std::int32_t iAimY = py < 1 ? D - 2160 : 2160 - D;
  std::int32_t iDir = ball_HeadingTo(iAimX - px, iAimY - py) + A;
  std::int32_t iReach = Dist(iAimX - px, iAimY - py);
  if (iReach < 2017) {
    target_oState.iDistance = QMathRandBetween(2016, 5040);
    D = target_oState.iDistance;
    iAimX = s * 7920;
    iAimY = py < 1 ? D - 1440 : 1440 - D;
    iDir = ball_HeadingTo(iAimX - px, iAimY - py) + A;
    iReach = Dist(iAimX - px, iAimY - py);
  }
  std::int32_t tx, ty;
  Along(px, py, iReach, iDir, &tx, &ty);
  for (Player* poMate = match_StateTeamFirstPlayerGet(); poMate != nullptr; poMate = poMate->pNext) {
    if (poMate == pp) continue;
    if (Dist(PlayerO_XGet(poMate) - tx, PlayerO_YGet(poMate) - ty) < 576) {
      tx = PlayerO_XGet(poMate);
      ty = PlayerO_YGet(poMate);
      break;
    }
  }
  std::int32_t iLoft = target_oState.iDistance / 230;
  std::int32_t iSpeedArg = 250 - target_oState.iDistance / 5;
  if (!HighBall()) {
    std::int32_t a52 = PlayerO_Attr52Get(pp);
    tx += (100 - a52) * (r(1440) - 720) / 100;
    ty += (100 - a52) * (r(1440) - 720) / 100;
    ball_StrikeLaunch(tx, 0, ty, iLoft + 15, iSpeedArg);
  } else {
    std::int32_t a57 = PlayerO_Attr57Get(pp);
    tx += Err(a57, 1440);
    ty += Err(a57, 1440);
    HeaderLaunch(pp, tx, ty, -50);
  }
  HandOn(pp, tx, ty);
  newgoal_KeeperCountSet();
}

// ---- Callbacks -------------------------------------------------------------------------
static void AngledKick(Player* pp, std::int32_t d, std::int32_t iAngle) {
  std::int32_t tx, ty;
  Along(PlayerO_XGet(pp), PlayerO_YGet(pp), d, iAngle, &tx, &ty);
  if (HighBall()) {
    HeaderLaunch(pp, tx, ty, -200);
  } else {
    ball_SpinSet(&ball_oBall, r(d / 16) - r(d / 16));
    ball_LoftLaunch(tx, ty, d / 600 + 12, 350 - d / 5);
  }
  HandOn(pp, tx, ty);
}

void target_DoAngledKick(Player* pp) { AngledKick(pp, target_oState.iDistance, target_oState.iAngle); }
void target_DoStoredKick(Player* pp) { AngledKick(pp, pp->iRunDistance, pp->iRunAngle); }

void target_DoKeeperRelease(Player* pp) {
  std::uint32_t eAnim = pp->oAnimData.eActionAnim;
  std::int32_t iFactor = eAnim == 105 ? 10 : (eAnim == 129 ? 12 : 5);
  std::int32_t iReach = target_oState.iPower * iFactor;
  if (iReach < 720) iReach = 720;
  std::int32_t tx, ty;
  Along(PlayerO_XGet(pp), PlayerO_YGet(pp), iReach, PlayerO_AngleGet(pp), &tx, &ty);
  newballA_TargetSet(&ball_oBall, tx, ty);
  newballA_QuietReleaseSet();
  // Freeing a keeper's ball clears the target player, so the ball is freed
  // before the keeper becomes the player it is played for.
  if (ball_oBall.poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  newballA_TargetPlayerSet(&ball_oBall, pp);
  referee_OffsideIgnoreNext();
  ball_ReleaseLaunch(tx, ty, 10);
  touch_StateForce(pp, 8);
}

void target_DoNudge(Player* pp) {
  std::int32_t tx, ty;
  Along(PlayerO_XGet(pp), PlayerO_YGet(pp), 36 * PlayerO_SpeedGet(pp), PlayerO_AngleGet(pp), &tx, &ty);
  newballA_QuietReleaseSet();
  if (ball_oBall.poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  newballA_TargetPlayerSet(&ball_oBall, pp);
  referee_OffsideIgnoreNext();
  ball_LoftLaunch(tx, ty, 30, -150);
}

void target_DoRandomNudge(Player* pp) {
  std::int32_t dx = 0, dy = 0;
  while (dx == 0) dx = QMathRandBetween(-288, 288);
  while (dy == 0) dy = QMathRandBetween(-288, 288);
  ball_NudgeLaunch(PlayerO_XGet(pp) + dx, PlayerO_YGet(pp) + dy, 30, r(100) - 50);
}

void target_DoGroundAtFeet(Player* pp) { ball_DropAtFeet(PlayerO_XGet(pp) - 100, PlayerO_YGet(pp) - 100); }

void target_DoTapHeader(Player* pp) {
  newballA_OwnerSet(pp, 0);
  ball_oBall.iSpin = 0;
  Player* poReceiver = target_oState.poReceiver;
  std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
  std::int32_t tx, ty;
  if (poReceiver != nullptr) {
    newballA_TargetPlayerSet(&ball_oBall, poReceiver);
    std::int32_t iMode = pass_RecordModeGet();
    PlayerPos(poReceiver, &tx, &ty);
    if (iMode == 1) {
      pass_RecordPointGet(&tx, &ty);
    } else if (iMode == 2) {
      std::int32_t d = Dist(tx - PlayerO_XGet(pp), ty - PlayerO_YGet(pp));
      Along(tx, ty, 72 * (d / 144 + 10), PlayerO_AngleGet(poReceiver), &tx, &ty);
    }
  } else {
    Along(PlayerO_XGet(pp), PlayerO_YGet(pp), 1440, target_oState.iAngle, &tx, &ty);
  }
  if (HighBall()) {
    if (r(150) > PlayerO_Attr52Get(pp)) {
      tx += Err(PlayerO_Attr57Get(pp), 1440);
      ty += Err(PlayerO_Attr57Get(pp), 1440);
    }
    if (Dist(tx - bx, ty - by) > 3600) {
      std::int32_t iDir = ball_HeadingTo(tx - bx, ty - by);
      Along(bx, by, 1440 + r(720), iDir, &tx, &ty);
    }
    newballA_TargetSet(&ball_oBall, tx, ty);
    HeaderLaunch(pp, tx, ty, -50);
  } else {
    if (r(100) > PlayerO_Attr52Get(pp)) {
      tx += Err(PlayerO_Attr52Get(pp), 1440);
      ty += Err(PlayerO_Attr52Get(pp), 1440);
    }
    newballA_TargetSet(&ball_oBall, tx, ty);
    ball_GroundPassLaunch(tx, ty);
  }
  PlayerO_StrikeLinkSet(pp, poReceiver);
  HandOn(pp, tx, ty);
  newgoal_KeeperCountSet();
}

void target_DoHeaderPass(Player* pp) {
  Player* poReceiver = target_oState.poReceiver;
  std::int32_t tx, ty;
  if (poReceiver != nullptr) {
    newballA_TargetPlayerSet(&ball_oBall, poReceiver);
    pass_LeadPointGet(pp, poReceiver, &tx, &ty, PlayerO_Attr52Get(pp));
    newballA_TargetSet(&ball_oBall, tx, ty);
    ball_HeaderPassLaunch(tx, ty);
  } else {
    Along(PlayerO_XGet(pp), PlayerO_YGet(pp), 1440, target_oState.iAngle, &tx, &ty);
    newballA_TargetSet(&ball_oBall, tx, ty);
    ball_GroundPassLaunch(tx, ty);
  }
  PlayerO_StrikeLinkSet(pp, poReceiver);
  HandOn(pp, tx, ty);
}

void target_DoHeaderToReceiver(Player* pp) {
  ball_SpinSet(&ball_oBall, 0);
  Player* poReceiver = target_oState.poReceiver;
  std::int32_t px, py, tx, ty;
  PlayerPos(pp, &px, &py);
  if (poReceiver != nullptr) {
    if (pp->oReceiver.poReceiver == poReceiver) {
      tx = pp->oReceiver.x;
      ty = pp->oReceiver.y;
    } else {
      PlayerPos(poReceiver, &tx, &ty);
    }
    std::int32_t d = Dist(tx - px, ty - py);
    if (d > 2880) Along(px, py, 2880, ball_HeadingTo(tx - px, ty - py), &tx, &ty);
  } else {
    Along(px, py, 1440, target_oState.iAngle, &tx, &ty);
  }
  ball_HeaderLaunch(tx, ty);
  PlayerO_StrikeLinkSet(pp, poReceiver);
  HandOn(pp, tx, ty);
}

void target_DoVolley(Player* pp) {
  Player* poReceiver = target_oState.poReceiver;
  std::int32_t tx, ty;
  if (poReceiver != nullptr) {
    PlayerPos(poReceiver, &tx, &ty);
  } else {
    Along(PlayerO_XGet(pp), PlayerO_YGet(pp), target_oState.iDistance, target_oState.iAngle, &tx, &ty);
  }
  if (HighBall()) {
    tx += Err(PlayerO_Attr57Get(pp), 1440);
    ty += Err(PlayerO_Attr57Get(pp), 1440);
    HeaderLaunch(pp, tx, ty, -50);
  } else {
    tx += Err(PlayerO_Attr52Get(pp), 1440);
    ty += Err(PlayerO_Attr52Get(pp), 1440);
    ball_VolleyLaunch(tx, ty, 27, -250 - target_oState.iDistance / 10);
  }
  PlayerO_StrikeLinkSet(pp, poReceiver);
  HandOn(pp, tx, ty);
  newgoal_KeeperCountSet();
}

void target_DoLob(Player* pp) {
  std::int32_t d = target_oState.iDistance;
  std::int32_t iReach = (target_oState.iPower + 16) * 25 + d / 2 + r((PlayerO_Attr56Get(pp) + 28) * 2160 / 128);
  std::int32_t tx, ty;
  Along(PlayerO_XGet(pp), PlayerO_YGet(pp), iReach, target_oState.iAngle, &tx, &ty);
  ball_LobLaunch(tx, ty, d / 1000 + 30, -400 - d / 8);
  HandOn(pp, tx, ty);
}

void target_DoShotRandom(Player* pp) { target_ShotExecute(pp, 75 + r(24)); }
void target_DoShotMedium(Player* pp) { target_ShotExecute(pp, 50 + r(34)); }
void target_DoShotFull(Player* pp) { target_ChipExecute(pp, 100); }
void target_DoChip70(Player* pp) { target_ChipExecute(pp, 70); }
void target_DoShotByMode(Player* pp) {
  if (target_oState.iShotMode == 0) target_DoShotMedium(pp);
  if (target_oState.iShotMode == 1) target_DoChip70(pp);
}

void target_DoGiveToPartner(Player* pp) {
  Player* poPartner = setp_poPartnerGet();
  if (poPartner != nullptr) newballA_OwnerSet(poPartner, 1);
  ball_KickSoundB();
  (void)pp;
}

void target_DoKickToAimPoint(Player* pp) {
  newballA_OwnerSet(pp, 0);
  std::int32_t tx, ty;
  setp_AimPointGet(&tx, &ty);
  ball_LoftLaunch(tx, ty, 25, 200 - setp_KickDistanceGet() / 10);
  HandOn(pp, tx, ty);
}

void target_DoThrow(Player* pp) {
  std::int32_t px, py, tx, ty;
  PlayerPos(pp, &px, &py);
  setp_AimPointGet(&tx, &ty);
  std::int32_t d = Dist(tx - px, ty - py);
  if (d > 5760) {
    Along(px, py, 5760, ball_HeadingTo(tx - px, ty - py), &tx, &ty);
    d = 5760;
  }
  newballA_QuietReleaseSet();
  if (ball_oBall.poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  ball_ThrowLaunch(tx, ty, d * 30 / 5760 + 10, -400);
}

void target_DoKeeperParry(Player* pp) {
  sfx_PlayRandomEffect();
  std::int32_t g = PlayerO_Attr68Get(pp);
  std::int32_t iRow = newgoal_SaveRowGet(pp);
  std::int32_t a1, a2;
  if (iRow == 2 || iRow == 12) {
    a1 = r(g) * 5461 / 128 + 2730;
    a2 = r(g) * 2730 / 128;
  } else {
    a1 = r(g) * 4551 / 128 + r(1820);
    a2 = r(g) * 8192 / 128 + r(5461);
    if (!((iRow == 0 || iRow == 7) && newgoal_CatchFlagGet(pp) && r(100) < g)) {
      a1 += 910;
      a2 += r(45) * 65536 / 360 + 8192;
    }
  }
  // The turn takes the ball on toward the side he dived to, away from the
  // goal's middle: a dive to his left (column 2) turns a ball coming at him
  // clockwise, one to his right the other way.
  if (newgoal_SaveSideGet(pp) == 2) a2 = -a2;
  // The keeper is the last to strike it before its new flight is judged: a
  // parry that runs on toward his goal is no second shot of the striker's.
  ball_oBall.pplyrWhoKicked = pp;
  ball_Deflect(a1, a2);
  // The keeper touched it last: a parry over his goal line is a corner.
  ball_oBall.poPrevOwner = pp;
}

void target_DoDeflect(Player* pp, std::int32_t iAngle) {
  newballA_OwnerSet(pp, 0);
  std::int32_t tx, ty;
  Along(ball_CurXGet(), ball_CurYGet(), player_IsGoalkeeper(pp) ? 432 : 144, iAngle, &tx, &ty);
  Ball* poBall = &ball_oBall;
  newballA_OwnerSet(nullptr, 0);
  poBall->iState = BALL_STATE_FREE;
  poBall->iKind = BALL_KIND_DEFLECT;
  poBall->iTargetX = tx;
  poBall->iTargetHeight = 0;
  poBall->iTargetY = ty;
  poBall->iSpin = 0;
  ball_AngleLaunch(poBall, tx, ty, 8, r(2000));
  ball_PredictPath(poBall);
  if (vsync_iFrame - target_iLastDeflectSound >= 60) {
    target_iLastDeflectSound = vsync_iFrame;
    ball_KickSoundB();
  }
}

void target_DoShotAtPoint(Player* pp) {
  newballA_OwnerSet(pp, 0);
  std::int32_t tx = target_oState.iX, th = target_oState.iHeight, ty = target_oState.iY;
  if (std::abs(tx) >= 9360) {
    // A point in or behind the goal is carried 1440 further along x on the
    // line from the ball, its height and y growing by the same share.
    std::int32_t bx = ball_CurXGet();
    std::int32_t dx = tx < 0 ? std::abs(tx) - std::abs(bx) : tx - bx;
    // A ball on or past the target's x has nothing to scale by.
    if (dx > 0) {
      std::int32_t s = tx < 0 ? -1 : 1;
      std::int32_t by = ball_CurYGet();
      std::int32_t bh = ball_HeightGet(&ball_oBall);
      std::int64_t iNum = static_cast<std::int64_t>(dx) + 1440;
      tx = bx + s * static_cast<std::int32_t>(iNum);
      th = bh + static_cast<std::int32_t>(static_cast<std::int64_t>(th - bh) * iNum / dx);
      ty = by + static_cast<std::int32_t>(static_cast<std::int64_t>(ty - by) * iNum / dx);
    }
  }
  ball_ShotLaunchAlt(tx, th, ty, PlayerO_Attr55Get(pp) * 40 / 100 + 50);
  target_oState.iX = target_oState.iHeight = target_oState.iY = 0;
}

void target_DoPassToPoint(Player* pp) {
  newballA_OwnerSet(pp, 0);
  ball_GroundPassLaunch(target_oState.iX, target_oState.iY);
  target_oState.iX = target_oState.iHeight = target_oState.iY = 0;
}
