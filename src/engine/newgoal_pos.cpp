// The goalkeeper off the ball: where he stands between ball and goal, the
// come-out alert that takes him to his six-yard line, whether he can reach a
// shot, whether the ball is his to play.
#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoal_internal.h"
#include "engine/newgoalo.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "matchflow/matcha.h"
#include "shell/global.h"

namespace {

constexpr std::int32_t kGuardX = 9504;
constexpr std::int32_t kLineX = 9360;

struct Alert {
  std::int32_t bOn;
  std::int32_t iCountdown;
  Player* poOwner;
};
Alert s_aoAlert[3];  // by side 1, 2

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// Toward zero to a multiple of 48.
std::int32_t Round48(std::int32_t v) { return v / 48 * 48; }

void AlertOn(Alert& a, std::int32_t iSide) {
  a.bOn = 1;
  a.poOwner = ball_oBall.poOwner;
  a.iCountdown = newgoal_Rand(90) + 120;
  newgoal_SideFlagSet(iSide, 1);
}

// The target in the frame where his goal is at +x: X along the pitch
// toward his goal, y as it is.
void TargetMirrored(const Player* pp, const GoalieObject* g, std::int32_t* pX, std::int32_t* pY) {
  const GameMode eMode = global_eGetGameMode();
  const std::int32_t sg = newgoal_Sign(g);
  const Ball* pb = &ball_oBall;
  const std::int32_t BX = sg * ball_XGet(pb);
  const std::int32_t by = ball_YGet(pb);
  std::int32_t X, Y;
  if (eMode == GAME_MODE_PENALTY || eMode == GAME_MODE_SHOOTOUT) {
    X = eMode == GAME_MODE_PENALTY ? 9336 : kLineX;
    Y = 0;
  } else if (newgoal_SideFlagGet(g->iSide) && BX > 0) {
    if (BX <= 7056) {
      X = 7056;
      Y = Clamp(static_cast<std::int32_t>(static_cast<std::int64_t>(by) * 2304 / (kLineX - BX)), -2880, 2880);
    } else {
      Y = by < 0 ? -2880 : 2880;
      std::int32_t ay = std::abs(by);
      X = ay > 0 ? kLineX - static_cast<std::int32_t>(static_cast<std::int64_t>(kLineX - BX) * 2880 / ay) : 7056;
      X = Clamp(X, 7056, kLineX);
    }
  } else {
    // On the line from the guard point to the ball, its angle clamped, at
    // the edge of a box that grows with the ball's distance.
    std::int32_t a = QMathAtan2(BX - kGuardX, by) & 0xFFFF;
    a = Clamp(a, 20935, 44600);
    std::int32_t d = Clamp(kGuardX - BX, 0, kLineX);
    bool bWall = eMode == GAME_MODE_FREE_KICK && !pp->oAIInfo.bIsAttacking;
    std::int64_t D = static_cast<std::int64_t>(d) * (bWall ? 864 : 1296) / 9360;
    std::int64_t W = 648 + static_cast<std::int64_t>(d) * (bWall ? 720 : 1008) / 5760;
    std::int64_t c = QMathCos(a), s = QMathSin(a);
    std::int64_t ac = c < 0 ? -c : c, as = s < 0 ? -s : s;
    // Distance along the line (16.16 direction) to the box's edge.
    std::int64_t t;
    if (ac == 0) {
      t = W * 65536 / as;
    } else if (as == 0) {
      t = D * 65536 / ac;
    } else {
      std::int64_t tx = D * 65536 / ac, ty = W * 65536 / as;
      t = tx < ty ? tx : ty;
    }
    X = kGuardX + static_cast<std::int32_t>(t * c / 65536);
    Y = static_cast<std::int32_t>(t * s / 65536);
    if (X > kLineX) X = kLineX;
  }
  const Player* po = pb->poOwner;
  if (po && po->MyTeam != pp->MyTeam && std::abs(by) < 1296 && eMode != GAME_MODE_PENALTY &&
      eMode != GAME_MODE_SHOOTOUT) {
    if (BX > 8496) {
      std::int32_t dx = BX - X, dy = by - Y;
      std::int32_t dist = player_Dist(dx, dy);
      if (dist > 48) {
        X += dx * 48 / dist;
        Y += dy * 48 / dist;
      } else {
        X = BX;
        Y = by;
      }
    } else if (BX > 7632) {
      X += (BX - X) / 2;
      Y += (by - Y) / 2;
    }
  }
  *pX = X;
  *pY = Y;
}

void Stand(Player* pp, GoalieObject* g, std::uint32_t eAnim) {
  g->bMoveFlag = 0;
  PlayerO_SpeedSet(pp, 0);
  pp->iWantedSpeed = 0;
  player_FaceTowards(pp, ball_XGet(&ball_oBall), ball_YGet(&ball_oBall));
  anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
  if (pp->oAnimData.eActionAnim != eAnim) {
    anim_RequestSet(&pp->oAnimInfo, eAnim);
    anim_ActionAnimSet(&pp->oAnimData, eAnim);
  }
}

// To a spot: run there, or once on it stand facing the ball.
void ToSpot(Player* pp, GoalieObject* g, std::int32_t x, std::int32_t y) {
  if (player_Dist(x - pp->x, y - pp->y) > 33) {
    g->bMoveFlag = 1;
    PlayerO_MoveToSet(pp, x, y, ANIM_RUN);
    return;
  }
  pp->x = static_cast<std::int16_t>(x);
  pp->y = static_cast<std::int16_t>(y);
  pp->height = 0;
  Stand(pp, g, ANIM_STAND);
}

}  // namespace

void newgoal_AlertReset() {
  for (Alert& a : s_aoAlert) a = Alert{};
}

void newgoal_AlertUpdate(Player* pp) {
  GoalieObject* g = pp->pGoalie;
  Alert& a = s_aoAlert[g->iSide];
  Player* poMate = nullptr;
  if (player_NearestUserMateFind(pp, &poMate)) return;
  const GameMode eMode = global_eGetGameMode();
  if (eMode != GAME_MODE_PLAY && eMode != GAME_MODE_PLAY_ON) {
    a = Alert{};
    newgoal_SideFlagSet(g->iSide, 0);
    return;
  }
  const Ball* pb = &ball_oBall;
  const std::int32_t BX = newgoal_Sign(g) * ball_XGet(pb);
  const std::int32_t by = ball_YGet(pb);
  const bool bArea = BX >= 4321 && BX < kLineX && std::abs(by) < 2880;
  if (a.bOn) {
    a.iCountdown--;
    bool bEnd = !bArea || a.iCountdown <= 0;
    Player* po = pb->poOwner;
    if (po) {
      if (po->MyTeam == pp->MyTeam) {
        bEnd = true;
      } else if (!a.poOwner) {
        a.poOwner = po;
      } else if (po != a.poOwner) {
        bEnd = true;
      }
    }
    if (bEnd) a = Alert{};
  } else if (bArea) {
    std::int32_t iKind = 0;
    if (offside_LineGet(&iKind) && iKind == OFFSIDE_KIND_BALL) {
      const std::int32_t iSkill = PlayerO_Attr69Get(pp);
      if (newgoal_Rand(kLineX - BX) < newgoal_Rand((100 - iSkill) * 2880 / 100)) AlertOn(a, g->iSide);
    } else if (pb->iKind == BALL_KIND_ROLLING && BX >= 7632 && std::abs(by) < 1440) {
      // An attacker waiting for it there keeps him home. He and his own
      // side do not count (he always stands there himself).
      bool bAttacker = false;
      for (Player* po = match_StateTeamFirstPlayerGet(); po; po = po->pNext) {
        if (po->MyTeam != pp->MyTeam && newgoal_Sign(g) * po->x >= 7632 && std::abs(po->y) < 1440) bAttacker = true;
      }
      if (!bAttacker) AlertOn(a, g->iSide);
    }
  }
  newgoal_SideFlagSet(g->iSide, a.bOn);
}

void newgoal_FollowUp(Player* poKeeper) {
  GoalieObject* g = poKeeper->pGoalie;
  if (!g) return;
  const GameMode eMode = global_eGetGameMode();
  if (eMode != GAME_MODE_PLAY && eMode != GAME_MODE_PLAY_ON) return;
  Alert& a = s_aoAlert[g->iSide];
  if (!a.bOn) AlertOn(a, g->iSide);
}

void newgoal_PositionTargetGet(const Player* pp, std::int32_t* px, std::int32_t* py) {
  const GoalieObject* g = pp->pGoalie;
  std::int32_t X, Y;
  TargetMirrored(pp, g, &X, &Y);
  *px = Round48(newgoal_Sign(g) * X);
  *py = Round48(Y);
}

void newgoal_Position(Player* pp) {
  GoalieObject* g = pp->pGoalie;
  const GameMode eMode = global_eGetGameMode();
  const std::int32_t sg = newgoal_Sign(g);
  if (eMode == GAME_MODE_KICK_OFF || eMode == GAME_MODE_CORNER) {
    ToSpot(pp, g, sg * 9216, 0);
    return;
  }
  const std::int32_t bx = ball_XGet(&ball_oBall);
  if (std::abs(bx) > BALL_GOAL_LINE_X || eMode == GAME_MODE_GOAL_CELEBRATION) {
    Stand(pp, g, ANIM_STAND);
    return;
  }
  if (eMode == GAME_MODE_PENALTY && std::abs(pp->x - sg * 9336) <= 33 &&
      std::abs(static_cast<std::int32_t>(pp->y)) <= 33) {
    ToSpot(pp, g, sg * 9336, 0);
    return;
  }
  newgoal_AlertUpdate(pp);
  std::int32_t tx, ty;
  newgoal_PositionTargetGet(pp, &tx, &ty);
  const std::int32_t dx = tx - pp->x, dy = ty - pp->y;
  const std::int32_t d = player_Dist(dx, dy);
  if (d <= 33) {
    pp->x = static_cast<std::int16_t>(tx);
    pp->y = static_cast<std::int16_t>(ty);
    pp->height = 0;
    Stand(pp, g, ANIM_SHUFIDLE);
    return;
  }
  if (d > 432 && std::abs(tx) > std::abs(static_cast<std::int32_t>(pp->x))) {
    g->bMoveFlag = 1;
    PlayerO_MoveToSet(pp, tx, ty, ANIM_RUN);
    return;
  }
  pp->x = static_cast<std::int16_t>(pp->x + dx * 32 / d);
  pp->y = static_cast<std::int16_t>(pp->y + dy * 32 / d);
  pp->height = 0;
  Stand(pp, g, d <= 65 ? ANIM_SHUFIDLE : 57);
}

std::int32_t newgoal_ReachTest(const Player* pp, const BallPathEntry* pe) {
  const std::int32_t ax = std::abs(pe->iX);
  if (ax > 9456) return 0;
  if (ax > 8640) return 1;
  const std::int32_t r = PlayerO_Attr69Get(pp) + 28;
  std::int32_t t = pe->iIndex - ball_PathIndexGet();
  if (t < 1) t = 1;
  std::int32_t s = newgoal_LateralGet(pp, pe->iX, pe->iY) / 4 / t;
  if (s > 13) s = 13;
  std::int32_t p = 128 - s * 128 / 14;
  if (newgoal_Rand(127) > r) {
    if (s < 7) {
      p -= newgoal_Rand(64);
    } else {
      p += newgoal_Rand(64);
    }
  }
  return newgoal_Rand(127) < p ? 1 : 0;
}

std::int32_t newgoal_IsBallHis(const Player* pp) {
  const Ball* pb = &ball_oBall;
  if (newballA_KindGet(pb) == BALL_KIND_KNOCK_ON) return 1;
  if (pb->poOwner == pp) return 1;
  if (!pb->poOwner && (!pb->poPrevOwner || pb->poPrevOwner == pp)) return 1;
  const Player* po = pb->poOwner ? pb->poOwner : pb->poPrevOwner;
  if (po->MyTeam != pp->MyTeam) return 1;
  // A ball last played by a team-mate: before the back-pass rule only.
  return match_TeamYearGet(match_HomeTeamGet()) < 9 ? 1 : 0;
}
