// Player queries: searches over the players on the pitch, goal-side and
// distance tests, facing, the user steering a player, and the engine step of
// a match tick.
#include "engine/player.h"

#include <cstdlib>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/user.h"
#include "shell/usrmark.h"

std::int64_t player_Dist2(std::int32_t dx, std::int32_t dy) {
  return static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy;
}

std::int32_t player_Dist(std::int32_t dx, std::int32_t dy) {
  std::int64_t n = player_Dist2(dx, dy);
  std::int64_t r = 0;
  std::int64_t bit = std::int64_t{1} << 62;
  while (bit > n) bit >>= 2;
  while (bit != 0) {
    if (n >= r + bit) {
      n -= r + bit;
      r = (r >> 1) + bit;
    } else {
      r >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<std::int32_t>(r);
}

std::int32_t player_IsGoalkeeper(const Player* pp) { return pp && (pp->ID == 0 || pp->ID == 11); }

static Player* ChainOfSide(std::int32_t iSide) {
  return iSide == player_PlaysFor_Home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet();
}
static Player* MatesOf(const Player* pp) { return ChainOfSide(pp->MyTeam); }
static Player* OpponentsOf(const Player* pp) {
  return ChainOfSide(pp->MyTeam == player_PlaysFor_Home ? player_PlaysFor_Away : player_PlaysFor_Home);
}

std::int32_t player_Search(Player** ppOut, std::int32_t x, std::int32_t y, std::int32_t iRMin, std::int32_t iRMax,
                           std::int32_t iIndex, std::int32_t iFlags) {
  Player* poFirst = nullptr;
  bool bAll = false;
  if (iFlags & PLAYER_SEARCH_ALL) {
    poFirst = match_HomeFirstPlayerGet();
    bAll = true;
  } else if (iFlags & PLAYER_SEARCH_POSSESSION) {
    poFirst = match_StateTeamFirstPlayerGet();
  } else if (iFlags & PLAYER_SEARCH_DEFENDING) {
    poFirst = match_OtherTeamFirstPlayerGet();
  } else if (iFlags & PLAYER_SEARCH_HOME) {
    poFirst = match_HomeFirstPlayerGet();
  } else if (iFlags & PLAYER_SEARCH_AWAY) {
    poFirst = match_AwayFirstPlayerGet();
  } else {
    QDX_ASSERT(!"player_Search flags");
  }
  Player* apo[PLAYER_MAX];
  std::int64_t aiDist[PLAYER_MAX];
  std::int32_t c = 0;
  std::int64_t iMin2 = static_cast<std::int64_t>(iRMin) * iRMin;
  std::int64_t iMax2 = static_cast<std::int64_t>(iRMax) * iRMax;
  for (Player* pp = poFirst; pp; pp = bAll ? match_NextPlayerGet(pp) : match_TeamNextPlayerGet(pp)) {
    if (iFlags & PLAYER_SEARCH_NOT_BEYOND) {
      if (pp->Direction == 0 && pp->x < x) continue;
      if (pp->Direction == 1 && pp->x > x) continue;
    }
    std::int64_t d = player_Dist2(pp->x - x, pp->y - y);
    if (d < iMin2 || d >= iMax2 || c >= PLAYER_MAX) continue;
    std::int32_t i = 0;
    while (i < c && aiDist[i] <= d) i++;
    for (std::int32_t j = c; j > i; j--) {
      apo[j] = apo[j - 1];
      aiDist[j] = aiDist[j - 1];
    }
    apo[i] = pp;
    aiDist[i] = d;
    c++;
  }
  if (iIndex < 0 || iIndex >= c) return 0;
  *ppOut = apo[iIndex];
  return 1;
}

// Nearest of a chain to a point, strictly closer than iRadius, passing the test.
template <typename Test>
static Player* NearestIn(Player* poFirst, std::int32_t x, std::int32_t y, std::int64_t iLimit2, Test test) {
  Player* poBest = nullptr;
  std::int64_t iBest = iLimit2;
  for (Player* pp = poFirst; pp; pp = match_TeamNextPlayerGet(pp)) {
    if (!test(pp)) continue;
    std::int64_t d = player_Dist2(pp->x - x, pp->y - y);
    if (d < iBest) {
      iBest = d;
      poBest = pp;
    }
  }
  return poBest;
}

static std::int64_t Sq(std::int32_t r) { return static_cast<std::int64_t>(r) * r; }

std::int32_t player_NearestFreeMateFind(Player** ppOut, const Player* pp, std::int32_t x, std::int32_t y,
                                        std::int32_t iRadius) {
  Player* poTaker = setp_poGetKickTaker();
  Player* po = NearestIn(MatesOf(pp), x, y, Sq(iRadius), [&](const Player* pq) {
    return pq != pp && pq->Control == PLAYER_CONTROL_COMPUTER && !player_IsGoalkeeper(pq) && pq != poTaker;
  });
  if (!po) return 0;
  *ppOut = po;
  return 1;
}

std::int32_t player_NearestMateFind(Player** ppOut, const Player* pp, std::int32_t x, std::int32_t y,
                                    std::int32_t iRadius) {
  Player* po = NearestIn(MatesOf(pp), x, y, Sq(iRadius), [&](const Player* pq) { return pq != pp; });
  if (!po) return 0;
  *ppOut = po;
  return 1;
}

std::int32_t player_NearestUserMateFind(const Player* pp, Player** ppOut) {
  Player* po = NearestIn(MatesOf(pp), pp->x, pp->y, INT64_MAX,
                         [](const Player* pq) { return pq->Control == PLAYER_CONTROL_USER; });
  if (!po) return 0;
  *ppOut = po;
  return 1;
}

std::int32_t player_NearestOpponentFind(Player** ppOut, const Player* pp, std::int32_t iRadius) {
  Player* po = NearestIn(OpponentsOf(pp), pp->x, pp->y, Sq(iRadius), [](const Player*) { return true; });
  if (!po) return 0;
  *ppOut = po;
  return 1;
}

std::int32_t player_NearestOpponentDistGet(const Player* pp) {
  Player* po = NearestIn(match_OtherTeamFirstPlayerGet(), pp->x, pp->y, INT64_MAX, [](const Player*) { return true; });
  if (!po) return -1;
  return player_Dist(po->x - pp->x, po->y - pp->y);
}

static std::int32_t NearestAny(Player** ppOut, std::int32_t x, std::int32_t y, bool bZero) {
  Player* poBest = nullptr;
  std::int64_t iBest = Sq(253440);
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    std::int64_t d = player_Dist2(pp->x - x, pp->y - y);
    if ((d > 0 || bZero) && d < iBest) {
      iBest = d;
      poBest = pp;
    }
  }
  if (!poBest) return 0;
  *ppOut = poBest;
  return 1;
}
std::int32_t player_NearestAnyFind(Player** ppOut, std::int32_t x, std::int32_t y) { return NearestAny(ppOut, x, y, false); }
std::int32_t player_NearestAnyFind0(Player** ppOut, std::int32_t x, std::int32_t y) { return NearestAny(ppOut, x, y, true); }

Player* player_NearestOfSideFind(std::int32_t x, std::int32_t y, std::int32_t iSide) {
  return NearestIn(ChainOfSide(iSide == 1 ? player_PlaysFor_Home : player_PlaysFor_Away), x, y, INT64_MAX,
                   [](const Player*) { return true; });
}

std::int32_t player_NearestAttackerToBallFind(Player** ppOut) {
  Ball* pb = &ball_oBall;
  Player* po = NearestIn(match_StateTeamFirstPlayerGet(), ball_XGet(pb), ball_YGet(pb), INT64_MAX,
                         [](const Player* pq) { return !player_IsGoalkeeper(pq); });
  if (!po) return 0;
  *ppOut = po;
  return 1;
}

void player_NearestToBallFind(std::int32_t iSide, Player** ppOut, std::int32_t* piDist2) {
  Ball* pb = &ball_oBall;
  std::int32_t bx = ball_XGet(pb);
  std::int32_t by = ball_YGet(pb);
  Player* po = nullptr;
  std::int64_t iBest = 207360000;
  for (Player* pp = ChainOfSide(iSide); pp; pp = match_TeamNextPlayerGet(pp)) {
    if (player_IsGoalkeeper(pp) || !player_IsGoalSideOf(pp, bx, 0)) continue;
    std::int64_t d = player_Dist2(pp->x - bx, pp->y - by);
    if (d < iBest) {
      iBest = d;
      po = pp;
    }
  }
  *ppOut = po;
  *piDist2 = po ? static_cast<std::int32_t>(iBest) : -1;
}

std::int32_t player_IsGoalSideOf(const Player* pp, std::int32_t x, std::int32_t iFlag) {
  bool bBetween = pp->Direction == 0 ? pp->x > x : pp->x < x;
  return iFlag == 0 ? bBetween : !bBetween;
}
std::int32_t player_IsBeyondX(const Player* pp, std::int32_t x) { return pp->Direction == 1 ? pp->x > x : pp->x < x; }
std::int32_t player_IsShortOfX(const Player* pp, std::int32_t x) { return pp->Direction == 1 ? pp->x < x : pp->x > x; }
std::int32_t player_IsAheadWithin(const Player* pp, const Player* poOther, std::int32_t d) {
  if (std::abs(poOther->y - pp->y) > 288) return 0;
  std::int32_t iAhead = pp->Direction == 1 ? poOther->x - pp->x : pp->x - poOther->x;
  return iAhead >= 0 && iAhead <= d;
}
std::int32_t player_GoalDistanceGet(const Player* pp) {
  std::int32_t gx = pp->Direction == 1 ? 9360 : -9360;
  return player_Dist(gx - pp->x, -pp->y);
}
std::int32_t player_IsNear(const Player* pp, std::int32_t x, std::int32_t y) { return player_Dist(x - pp->x, y - pp->y) < 720; }
std::int32_t player_IsAnimKick(const Player* pp) { return anim_IsKick(pp->oAnimData.eActionAnim); }
std::int32_t player_IsAnimType4(const Player* pp) { return anim_IsType4(pp->oAnimData.eActionAnim); }
std::int32_t player_IsAttacking(const Player* pp) { return pp->oAIInfo.bIsAttacking; }
std::int32_t player_IsNotAttacking(const Player* pp) { return !pp->oAIInfo.bIsAttacking; }
std::int32_t player_IsUserControlled(const Player* pp) { return pp->Control == PLAYER_CONTROL_USER; }
void player_PositionGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  *px = pp->x;
  *ph = 0;
  *py = pp->y;
}
void player_FaceTowards(Player* pp, std::int32_t x, std::int32_t y) {
  player_FacingSet(pp, QMathAtan2(x - pp->x, y - pp->y) & 0xFFFF);
}
void player_FacingSet(Player* pp, std::int32_t iAngle16) {
  std::int32_t f = (iAngle16 * 803) >> 16;
  pp->iFacing = static_cast<std::int16_t>(f);
  pp->uWantedFacing = static_cast<std::uint16_t>(f);
  pp->iDisplayFacing = static_cast<std::int16_t>(f);
}

User* player_UserGet(const Player* pp) {
  for (User& u : user_aUsers) {
    if (u.bActive && u.phl && u.phl->pplyr == pp) return &u;
  }
  return nullptr;
}

void player_PassUserSwitch(Player* pp, std::int32_t x, std::int32_t y) {
  User* pu = player_UserGet(pp);
  if (!pu || pp->oTouch.iContactMark) return;
  Player* poTarget = ball_oBall.poTargetPlayer;
  if (poTarget && player_UserGet(poTarget)) return;
  Player* po = nullptr;
  if (!player_NearestFreeMateFind(&po, pp, x, y, 253440)) return;
  if (pu->phl->pplyr) {
    user_PlayerSet(pu, po);
  } else {
    user_SelectPlayer(pu);
  }
}

void player_FrameUpdate() {
  closedown_PlayerChoose();
  move_FrameUpdate();
  action_FramePass(global_eGetGameMode());
  match_ScoreClockDraw();
}
