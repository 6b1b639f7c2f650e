// Ball possession: who owns the ball, who had it before and who kicked it,
// which side is in possession, the defending side's closing-down delay and
// the users' players when the ball changes hands; the ball's target player
// and target point.
#include "engine/newballA.h"

#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/user.h"

static std::int32_t newballA_bQuietRelease;

void newballA_QuietReleaseSet() { newballA_bQuietRelease = 1; }
std::int32_t newballA_QuietReleaseGet() { return newballA_bQuietRelease; }
void newballA_MatchReset() { newballA_bQuietRelease = 0; }

std::int32_t newballA_CloseDownDelayGet(std::int32_t iRating) {
  // Ratings run to 15 but the delay turns negative above 10.
  if (iRating < 0) iRating = 0;
  if (iRating > 10) iRating = 10;
  std::int32_t q = (iRating * 285) / 10;
  std::int32_t h = (300 - q) / 2;
  return h + static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(h)));
}

static std::int32_t IsContactPlayer(const Player* pp) { return pp->oTouch.iContactMark == 1; }

static MatchTeam* OpponentsOf(const Player* pp) {
  return pp->MyTeam == player_PlaysFor_Home ? match_AwayTeamGet() : match_HomeTeamGet();
}

void newballA_OwnerSet(Player* pp, std::int32_t bForce) {
  Ball* poBall = &ball_oBall;
  usrctl_KickLatchClear();
  if (pp != nullptr && (!player_IsGoalkeeper(pp) || bForce)) {
    poBall->poLastPlayer = pp;
    poBall->poLastUser = player_UserGet(pp);
  }
  usrctl_ChargeReset();
  Player* poOwner = poBall->poOwner;
  if (pp == nullptr && poOwner == nullptr) return;

  if (poOwner != nullptr) {
    if (!IsContactPlayer(poOwner)) touch_ContactClear();
    if (player_IsGoalkeeper(poOwner)) {
      poBall->poTargetPlayer = nullptr;
      if (pp != nullptr) PlayerO_StrikeLinkSet(pp, nullptr);
      if (!newballA_bQuietRelease) {
        Player* poMate = nullptr;
        if (player_NearestUserMateFind(poOwner, &poMate) && poMate != nullptr && poMate->pUser != nullptr) {
          user_SelectPlayer(poMate->pUser);
        }
      }
    }
  } else {
    touch_ContactClear();
  }
  newballA_bQuietRelease = 0;

  if (pp != nullptr) {
    ball_SpinSet(poBall, 0);
    if (!player_IsGoalkeeper(pp)) pp->iLastActionResult = 0;
    MatchTeam* poDefenders = OpponentsOf(pp);
    Player* poDefender = poDefenders->poPlayers;
    QDX_ASSERT(poDefender || global.eExtendedGameMode == GAME_MODE_START_TRAINING);
    if (poDefender != nullptr) {
      closedown_DelaySet(newballA_CloseDownDelayGet(poDefenders->iRating));
      for (Player* poMate = poDefender; poMate != nullptr; poMate = poMate->pNext) {
        if (poMate->Control == PLAYER_CONTROL_USER && poMate->pUser != nullptr) {
          user_PlayerChoose(poMate->pUser, 1);
          break;
        }
      }
    }
    poBall->poTargetPlayer = nullptr;
    PlayerO_StrikeLinkSet(pp, nullptr);
  } else {
    poBall->pplyrWhoKicked = poOwner != nullptr ? poOwner : poBall->poPrevOwner;
    QDX_ASSERT(poBall->pplyrWhoKicked != nullptr);
    poBall->iFramesWithoutOwner = 0;
  }

  if (pp != poOwner) {
    if (pp != nullptr && bForce) {
      std::int32_t iHomeState = pp->MyTeam == player_PlaysFor_Home ? 0 : 1;
      match_HomeClubStateSet(iHomeState);
      match_AwayClubStateSet(1 - iHomeState);
    }
    poBall->poPrevOwner = poOwner;
    poBall->poOwner = pp;
    poBall->iFramesWithoutOwner = 0;
    chaser_Clear();
  }

  if (pp != nullptr) {
    GameMode eMode = global_eGetGameMode();
    if (eMode == GAME_MODE_PLAY || eMode == GAME_MODE_PLAY_ON) {
      poBall->iState = BALL_STATE_HELD;
      if (pp->Control == PLAYER_CONTROL_COMPUTER && !IsContactPlayer(pp)) {
        Player* poMate = nullptr;
        if (player_NearestUserMateFind(pp, &poMate) && poMate != nullptr && poMate != pp && poMate->pUser != nullptr) {
          user_PlayerSet(poMate->pUser, pp);
        }
      }
      PlayerO_UserSteerClear(pp);
      chaser_Clear();
    } else if (eMode == GAME_MODE_SET_PIECE_SCRIPT) {
      poBall->iState = BALL_STATE_HELD;
    }
  }
}

void newballA_TargetPlayerSet(Ball* poBall, Player* pp) { poBall->poTargetPlayer = pp; }
Player* newballA_TargetPlayerGet(const Ball* poBall) { return poBall->poTargetPlayer; }

std::int32_t newballA_TargetSet(Ball* poBall, std::int32_t x, std::int32_t y) {
  poBall->iTargetPointX = x;
  poBall->iTargetPointY = y;
  poBall->iTargetPointDirection = ball_HeadingTo(x - ball_XGet(poBall), y - ball_YGet(poBall));
  return poBall->iTargetPointDirection;
}
std::int32_t newballA_TargetXGet(const Ball* poBall) { return poBall->iTargetPointX; }
std::int32_t newballA_TargetYGet(const Ball* poBall) { return poBall->iTargetPointY; }
std::int32_t newballA_KindGet(const Ball* poBall) { return poBall->iKind; }

std::int32_t ball_IsJustReleasedBy(const Player* pp) {
  const Ball* poBall = &ball_oBall;
  return poBall->poPrevOwner == pp && poBall->iFramesWithoutOwner >= 2 && poBall->iFramesWithoutOwner <= 9;
}

// Shot statistics of a new flight: counted for the kicker's side when he
// attacks the goal the flight ends at.
void ball_ShotStatsAdd(std::int32_t iOutcome, std::int32_t iSide) {
  Player* poKicker = ball_oBall.pplyrWhoKicked;
  if (poKicker == nullptr) return;
  std::int32_t bAttacks = (iSide == 1 && poKicker->Direction == 0) || (iSide == 2 && poKicker->Direction == 1);
  if (!bAttacks) return;
  MatchTeam* poTeam = poKicker->MyTeam == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
  if (iOutcome == BALL_OUTCOME_ON_TARGET) gstatso_ShotAdd(&poTeam->MatchStats);
  if (iOutcome == BALL_OUTCOME_GOAL) gstatso_ShotOnTargetAdd(&poTeam->MatchStats);
}
