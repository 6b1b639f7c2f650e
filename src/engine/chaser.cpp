// The ball chasers: one player a side goes to where he can reach the loose
// ball's predicted path; the others walk out their reaction delays.
#include "engine/chaser.h"

#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "shell/global.h"
#include "shell/user.h"

namespace {

Player* chaser_apoSides[2];  // home, away

std::int32_t SideIndex(const Player* pp) { return pp->MyTeam == player_PlaysFor_Home ? 0 : 1; }

std::int32_t ClampEntry(std::int32_t i) {
  if (i >= ball_iPathLength) i = ball_iPathLength - 1;
  return i < 0 ? 0 : i;
}

// The defending chaser's entry: late entries move back a little, the others
// a little either way.
std::int32_t Jitter(std::int32_t i) {
  if (i >= 230) {
    i -= static_cast<std::int32_t>(QMathRandRange(5));
  } else if (i > 6) {
    i += static_cast<std::int32_t>(QMathRandRange(15)) - 5;
  }
  return ClampEntry(i);
}

bool IsUserSprinting(const Player* pp) { return pp->pUser != nullptr && usrctl_bIsSprinting(pp->pUser); }

void RunTo(Player* pp) {
  PlayerO_MoveToSet(pp, pp->iInterceptX, pp->iInterceptY, chaser_RunAnimGet(pp));
}

void TakeEntry(Player* pp, std::int32_t iEntry) {
  if (pp->oTouch.iState != 1) return;
  const BallPathEntry& e = ball_aPath[iEntry];
  pp->iInterceptEntry = iEntry;
  pp->iInterceptX = e.iX;
  pp->iInterceptHeight = e.iHeight;
  pp->iInterceptY = e.iY;
}

// A goalkeeper in state 2 leaves the ball to the defending side's nearest
// outfield player; a keeper in any other state takes no part.
Player* KeeperReplaced(Player* pp, std::int32_t iEntry, bool bFollowUp) {
  if (!player_IsGoalkeeper(pp)) return pp;
  if (newgoal_StateGet(pp) != 2) return nullptr;
  if (bFollowUp && ball_OutcomeGet() != BALL_OUTCOME_WIDE) newgoal_FollowUp(pp);
  Player* poOut = nullptr;
  ball_PointNearestPlayerGet(&poOut, ball_aPath[iEntry].iX, ball_aPath[iEntry].iY, 0);
  return poOut;
}

bool IsPossessionSide(const Player* pp) {
  for (Player* p = match_StateTeamFirstPlayerGet(); p != nullptr; p = p->pNext) {
    if (p == pp) return true;
  }
  return false;
}

}  // namespace

std::uint32_t chaser_RunAnimGet(const Player* pp) {
  return pp->Control == PLAYER_CONTROL_USER && !IsUserSprinting(pp) ? ANIM_WALK : ANIM_RUN;
}

void chaser_PlayerSet(Player* pp) { chaser_apoSides[SideIndex(pp)] = pp; }
Player* chaser_PlayerGet(const Player* pp) { return chaser_apoSides[SideIndex(pp)]; }
Player* chaser_poGet(std::int32_t iSide) { return chaser_apoSides[iSide == player_PlaysFor_Home ? 0 : 1]; }
void chaser_Clear() {
  chaser_apoSides[0] = nullptr;
  chaser_apoSides[1] = nullptr;
}

void chaser_Choose() {
  if (global_eGetGameMode() == GAME_MODE_SHOOTOUT) return;
  // While a set-piece script stages a restart the ball is dead: a ball coming
  // to rest out of play must not send a scripted walker after it.
  if (global_eGetGameMode() == GAME_MODE_SET_PIECE_SCRIPT) return;
  if (ball_iPathLength <= 0) return;
  Ball* poBall = &ball_oBall;
  Player* T = poBall->poTargetPlayer;
  if (T != nullptr) {
    if (T->oTouch.iState != 1) return;
    T->iInterceptX = poBall->iTargetPointX;
    T->iInterceptY = poBall->iTargetPointY;
    BallPathEntry* poEarly = ball_PathInterceptGet(T);
    std::int32_t e = poEarly != nullptr ? poEarly->iIndex : 0;
    std::int32_t iValid = ball_PathValidMarkGet();
    if (e <= iValid + 30 && iValid < 220) e = ClampEntry(e + 29);
    T->iInterceptEntry = e;
    chaser_PlayerSet(T);
    RunTo(T);
    std::int32_t j = Jitter(e);
    Player* poDefender = nullptr;
    ball_PathNearestPlayerGet(&poDefender, &ball_aPath[j], 0);
    if (poDefender != nullptr) {
      poDefender->iInterceptEntry = j;
      poDefender->iInterceptX = ball_aPath[j].iX;
      poDefender->iInterceptHeight = ball_aPath[j].iHeight;
      poDefender->iInterceptY = ball_aPath[j].iY;
      chaser_PlayerSet(poDefender);
      RunTo(poDefender);
    }
    return;
  }

  // No receiver: walk the path for the side that gets there first.
  std::int32_t iStart = ball_PathCursorStart();
  Player* F = nullptr;
  std::int32_t iStop = -1;
  for (std::int32_t i = iStart; i < ball_iPathLength; i++) {
    const BallPathEntry* poEntry = &ball_aPath[i];
    iStop = i;
    if (F != nullptr && poEntry->bBounce) break;
    if (poBall->iKind == BALL_KIND_NONE || poBall->iKind == BALL_KIND_ROLLING) {
      ball_PathNearestPlayerGet(&F, poEntry, 1);
      break;
    }
    Player* p1 = nullptr;
    Player* p0 = nullptr;
    std::int64_t d1 = ball_PathNearestPlayerGet(&p1, poEntry, 1);
    std::int64_t d0 = ball_PathNearestPlayerGet(&p0, poEntry, 0);
    Player* poTaken = nullptr;
    if (p1 != nullptr && (p0 == nullptr || d1 * 150 < d0 * 100)) {
      poTaken = p1;
    } else if (p0 != nullptr && (p1 == nullptr || d0 * 150 < d1 * 100)) {
      poTaken = p0;
    }
    if (poTaken == nullptr) continue;
    if (F != nullptr && F->MyTeam != poTaken->MyTeam) break;
    F = poTaken;
  }
  if (iStop < 0) {
    iStop = iStart;
    ball_PathNearestPlayerGet(&F, &ball_aPath[iStop], 1);
  }
  std::int32_t j = Jitter(iStop);
  Player* G = nullptr;
  std::int32_t iOtherSide = F != nullptr && IsPossessionSide(F) ? 0 : 1;
  ball_PathNearestPlayerGet(&G, &ball_aPath[j], iOtherSide);

  if (F != nullptr) F = KeeperReplaced(F, iStop, false);
  if (F != nullptr) {
    TakeEntry(F, iStop);
    chaser_PlayerSet(F);
    RunTo(F);
  }
  if (G != nullptr) {
    G = KeeperReplaced(G, j, true);
    if (G == nullptr) return;
    TakeEntry(G, j);
    chaser_PlayerSet(G);
    RunTo(G);
  }
}

void chaser_StepHandOver() {
  Player* apo[2] = {nullptr, nullptr};
  Player* poDefFirst = match_OtherTeamFirstPlayerGet();
  Player* poAttFirst = match_StateTeamFirstPlayerGet();
  if (poDefFirst != nullptr) apo[0] = chaser_apoSides[SideIndex(poDefFirst)];
  if (poAttFirst != nullptr) apo[1] = chaser_apoSides[SideIndex(poAttFirst)];
  for (Player* pp : apo) {
    if (pp == nullptr || pp->pUser != nullptr || pp->oTouch.iContactMark == 1 || player_IsGoalkeeper(pp)) continue;
    Player* poMate = nullptr;
    if (player_NearestUserMateFind(pp, &poMate) && poMate != nullptr && poMate->pUser != nullptr) {
      user_PlayerSet(poMate->pUser, pp);
    }
  }
}

void chaser_ReactionDelaysSet() {
  for (Player* pp = match_HomeFirstPlayerGet(); pp != nullptr; pp = match_NextPlayerGet(pp)) {
    std::int32_t v = 150 - PlayerO_Attr60Get(pp) * 147 / 100;
    pp->iReactionDelay = v - static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(v / 2)));
    if (player_IsGoalkeeper(pp)) newgoal_ReactionDelaySet(pp, 30 - PlayerO_Attr67Get(pp) * 30 / 104);
  }
}

void chaser_ReactionDelaysShortSet() {
  for (Player* pp = match_HomeFirstPlayerGet(); pp != nullptr; pp = match_NextPlayerGet(pp)) {
    pp->iReactionDelay = 30 - PlayerO_Attr60Get(pp) * 30 / 100;
    if (player_IsGoalkeeper(pp)) newgoal_ReactionDelaySet(pp, 30 - PlayerO_Attr67Get(pp) * 30 / 100);
  }
}

Player* chaser_ChaseTake(Player* const* apoList, std::int32_t cList) {
  if (ball_oBall.poOwner != nullptr) return nullptr;
  if (chaser_apoSides[0] == nullptr && chaser_apoSides[1] == nullptr) chaser_Choose();
  Player* pp = nullptr;
  for (std::int32_t i = 0; i < cList && pp == nullptr; i++) {
    if (apoList[i] != nullptr && chaser_PlayerGet(apoList[i]) == apoList[i]) pp = apoList[i];
  }
  if (pp == nullptr) return nullptr;
  std::int32_t iValid = ball_PathValidMarkGet();
  if (pp->iInterceptEntry < 0 || pp->iInterceptEntry + 30 == iValid) {
    chaser_Choose();
    return nullptr;
  }
  pp->oAIInfo.ePrevAction = static_cast<std::uint8_t>(pp->oAIInfo.eAction);
  pp->oAIInfo.eAction = 2;
  if (ball_oBall.iKind == BALL_KIND_ROLLING || ball_oBall.iKind == BALL_KIND_NONE || pp->iInterceptEntry < iValid) {
    pp->iInterceptX = ball_CurXGet();
    pp->iInterceptY = ball_CurYGet();
  }
  std::int64_t dx = pp->iInterceptX - PlayerO_XGet(pp);
  std::int64_t dy = pp->iInterceptY - PlayerO_YGet(pp);
  std::uint32_t eAnim = ANIM_STAND;
  if (dx * dx + dy * dy > 20736) {
    if (IsUserSprinting(pp)) {
      eAnim = ANIM_RUN;
    } else if (pp->Control == PLAYER_CONTROL_USER) {
      eAnim = ANIM_WALK;
    } else {
      eAnim = pp->iReactionDelay < 1 ? ANIM_RUN : ANIM_WALK;
    }
  }
  if (pp->iReactionDelay > 0) pp->iReactionDelay--;
  PlayerO_MoveToSet(pp, pp->iInterceptX, pp->iInterceptY, eAnim);
  return pp;
}
