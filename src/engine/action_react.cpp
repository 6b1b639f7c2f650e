// Reactions of the players off the ball to the holder: the challenge of a
// nearby holder and the press of the chosen defender; user-controlled
// players steered by their stick; and after a goal the scorer's celebration,
// his team-mates gathering round him and the opponents walking back to the
// centre spot.
#include <cstdint>
#include <cstdlib>

#include "engine/action.h"
#include "engine/action_react.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/touch.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"
#include "matchflow/usrctl.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/user.h"

namespace {
constexpr std::uint32_t kAnimChallenge = 8;
constexpr std::uint32_t kAnimSlide = 143;

bool UserMateNear(const Player* pp) {
  Player* po = nullptr;
  return player_NearestUserMateFind(pp, &po) != 0;
}
}  // namespace

ActionNode* action_HolderReactHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  Player* poHolder = ball_OwnerGet();
  if (!poHolder || poHolder == pp || UserMateNear(pp)) return poList;
  action_Set(pp, ACTION_HOLDER_REACT);
  if (!PlayerO_IsFreeToAct(poHolder) || player_IsGoalkeeper(poHolder)) return poList;
  if (player_IsAheadWithin(pp, poHolder, 288)) {
    PlayerO_MoveToSet(pp, poHolder->x, poHolder->y, kAnimChallenge);
  } else if (player_IsAheadWithin(pp, poHolder, 432) && QMathRandBetween(0, 100) < 50) {
    anim_RequestSet(&pp->oAnimInfo, kAnimSlide);
  } else {
    return poList;
  }
  return director_ListUnlink(poList);
}

ActionNode* action_CloseDownHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  Player* poHolder = ball_OwnerGet();
  if (pp != closedown_poPlayerGet() || !poHolder || poHolder == pp || UserMateNear(pp)) return poList;
  // Goal-side of the holder by a twentieth of his way to the goal he attacks.
  std::int64_t dx = poHolder->Direction == 1 ? (9360 - poHolder->x) * 5 / 100 : (poHolder->x - 9360) * 5 / 100;
  std::int64_t dy = -static_cast<std::int64_t>(poHolder->y) * 5 / 100;
  std::int64_t ex = poHolder->x - pp->x, ey = poHolder->y - pp->y;
  if (ex * ex + ey * ey < dx * dx + dy * dy + 82944) {
    PlayerO_MoveToSet(pp, poHolder->x, poHolder->y, ANIM_WALK);
  } else {
    PlayerO_MoveToSet(pp, poHolder->x + static_cast<std::int32_t>(dx), poHolder->y + static_cast<std::int32_t>(dy),
                      ANIM_RUN);
  }
  action_Set(pp, ACTION_CLOSE_DOWN);
  return nullptr;
}

ActionNode* action_FaceCentreHandler(ActionNode* poList) {
  const Player* poScorer = match_poScorerGet();
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    if (poScorer && pp->MyTeam == poScorer->MyTeam) {
      po = po->poNext;
      continue;
    }
    action_Set(pp, ACTION_FACE_CENTRE);
    PlayerO_MoveToSet(pp, 0, 0, ANIM_TURN);
    bool bHead = po == poHead;
    po = director_ListUnlink(po);
    if (bHead) poHead = po;
  }
  return poHead;
}

namespace {
// Where each shirt gathers round the scorer: animation, distance, angle
// (16-bit) off the scorer's facing.
struct GoalReactRow {
  std::uint32_t eAnim;
  std::int32_t iDist;
  std::int32_t iAngle;
};
constexpr GoalReactRow kGoalReact[11] = {
    {10, 288, 2730},  {18, 576, 0},    {10, 384, 61896}, {102, 672, 5461},  {11, 864, 2730}, {18, 672, 0},
    {102, 864, 62806}, {10, 1152, 60985}, {11, 1056, 4551}, {18, 1872, 63716}, {18, 0, 0},
};
}  // namespace

ActionNode* action_GoalReactHandler(ActionNode* poList) {
  const Player* poScorer = match_poScorerGet();
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    if (pp->Control != PLAYER_CONTROL_COMPUTER) {
      po = po->poNext;
      continue;
    }
    action_Set(pp, ACTION_GOAL_REACT);
    if (poScorer && pp->MyTeam == poScorer->MyTeam) {
      const GoalReactRow& r = kGoalReact[pp->ID % 11];
      std::int32_t iFacing16 = poScorer->iFacing * 65536 / 802;
      std::int32_t a = (r.iAngle - iFacing16) & 0xFFFF;
      std::int32_t x = poScorer->x + static_cast<std::int32_t>(static_cast<std::int64_t>(r.iDist) * QMathCos(a) / 65536);
      std::int32_t y = poScorer->y + static_cast<std::int32_t>(static_cast<std::int64_t>(r.iDist) * QMathSin(a) / 65536);
      PlayerO_MoveToSet(pp, x, y, r.eAnim);
    } else {
      PlayerO_MoveToSet(pp, 0, 0, ANIM_TURN);
    }
    bool bHead = po == poHead;
    po = director_ListUnlink(po);
    if (bHead) poHead = po;
  }
  return poHead;
}

// ---- After a goal ---------------------------------------------------------------------------
namespace {
bool s_bCelebration;
}  // namespace

void react_GoalCelebrationArm() { s_bCelebration = true; }
void react_GoalCelebrationDisarm() { s_bCelebration = false; }
std::int32_t react_GoalCelebrationArmed() { return s_bCelebration ? 1 : 0; }

ActionNode* action_GoalCelebrateHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (s_bCelebration) {
    s_bCelebration = false;
    static constexpr std::uint32_t kCelebrations[4] = {12, 14, 172, 13};
    anim_RequestSet(&pp->oAnimInfo, kCelebrations[QMathRandBetween(0, 4)]);
  } else {
    PlayerO_MoveToSet(pp, 0, 0, 10);
  }
  action_Set(pp, ACTION_GOAL_CELEBRATE);
  return nullptr;
}

// ---- User-controlled players ---------------------------------------------------------------
namespace {
// Per user: the last stick angle (16-bit) and the turn counter.
struct SteerWords {
  std::int32_t iPrevAngle;
  std::int32_t iTurn;
};
SteerWords s_aSteer[USER_MAX];

ActionNode* Unlink(ActionNode* po, ActionNode** ppoHead) {
  bool bHead = po == *ppoHead;
  ActionNode* poNext = director_ListUnlink(po);
  if (bHead) *ppoHead = poNext;
  return poNext;
}

void KeeperStop(Player* pp) {
  PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  anim_RequestSet(&pp->oAnimInfo, ANIM_GOALIE_STANCE);
}
}  // namespace

void action_UserSteerReset() {
  for (SteerWords& w : s_aSteer) w = SteerWords{-1, 0};
}
std::int32_t action_UserTurnGet(std::int32_t iUser) { return s_aSteer[iUser & 3].iTurn; }

void action_UserSteer(Player* pp) {
  User* pu = player_UserGet(pp);
  if (ball_OwnerGet() != pp && pu) user_PlayerRelease(pu);
  if (pp->bUserSteered) return;
  anim_TargetPointSet(&pp->oAnimInfo, 9358, 5758);
  if (!pu) {
    anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
    return;
  }
  SteerWords& w = s_aSteer[pu->iIndex & 3];
  std::int32_t m = static_cast<std::int32_t>(pu->uStickDirection & 0xFFFF);
  std::int32_t iDeg = static_cast<std::int32_t>(pu->uStickDirection >> 16);
  std::int32_t h = pp->iFacing;
  if (m >= USER_STICK_STEER_MIN) {
    // The stick's degrees as a 16-bit angle, wrapped into 16 bits.
    std::int32_t a = static_cast<std::int32_t>(static_cast<std::int64_t>(iDeg + 90) * 65536 / 360) & 0xFFFF;
    Ball* pb = &ball_oBall;
    std::int32_t dx = ball_XGet(pb) - pp->x, dy = ball_YGet(pb) - pp->y;
    if (!touch_ContactGet(pp) && !ball_OwnerGet() && player_Dist2(dx, dy) <= 1440 * 1440) {
      std::int32_t b = ball_HeadingTo(dx, dy) * 65536 / 802 & 0xFFFF;
      if (std::abs(static_cast<std::int16_t>(b - a)) <= 10922) a = b;
    }
    if (a != w.iPrevAngle) w.iTurn = 0;
    w.iPrevAngle = a;
    h = ((a * 802) >> 16) + w.iTurn * 33;
    h %= 802;
    if (h < 0) h += 802;
  } else {
    w.iTurn = 0;
  }
  anim_HeadingSet(&pp->oAnimInfo, static_cast<std::uint32_t>(h));
  UsrctlUser* pw = usrctl_poWords(pu);
  bool bMoving = pp->iSpeed > 0;
  std::int32_t e = pw->iRequest;
  pw->iRequest = 0;
  if (e == 1) {
    anim_RequestSet(&pp->oAnimInfo, bMoving ? 8 : 9);
  } else if (e == 2) {
    if (bMoving) anim_RequestSet(&pp->oAnimInfo, 33);
  } else if (e == 3) {
    anim_RequestSet(&pp->oAnimInfo, 143);
  } else if (m < USER_STICK_STEER_MIN) {
    anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
  } else if (m < USER_STICK_WALK_MIN) {
    anim_RequestSet(&pp->oAnimInfo, ANIM_TURN);
  } else {
    anim_RequestSet(&pp->oAnimInfo, pw->bSprint ? ANIM_RUN : ANIM_WALK);
    pw->bSprint = 0;
  }
}

ActionNode* action_UserSupportHandler(ActionNode* poList) {
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    if (pp->Control != PLAYER_CONTROL_USER) {
      po = po->poNext;
      continue;
    }
    action_Set(pp, ACTION_SUPPORT);
    if (player_IsGoalkeeper(pp) && pp->oAIInfo.bIsAttacking) {
      KeeperStop(pp);
    } else {
      action_UserSteer(pp);
    }
    po = Unlink(po, &poHead);
  }
  return poHead;
}

ActionNode* action_SupportHandler(ActionNode* poList) {
  ActionNode* poHead = poList;
  std::int32_t eMode = global_eGetGameMode();
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    if (pp->Control != PLAYER_CONTROL_USER && pp->Control != PLAYER_CONTROL_NONE) {
      po = po->poNext;
      continue;
    }
    if (player_IsGoalkeeper(pp) && ball_OwnerGet() != pp) {
      player_PassUserSwitch(pp, pp->x, pp->y);
      po = Unlink(po, &poHead);
      continue;
    }
    action_Set(pp, ACTION_SUPPORT);
    if (pp->Control == PLAYER_CONTROL_USER) action_UserSteer(pp);
    Ball* pb = &ball_oBall;
    std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
    if (eMode == GAME_MODE_PLAY) {
      if (anim_RequestGet(&pp->oAnimInfo) == ANIM_STAND && !ball_OwnerGet()) action_Run(pp, ACTION_CHASE);
    } else if ((eMode == GAME_MODE_FREE_KICK || eMode == GAME_MODE_CORNER) &&
               player_Dist2(bx - pp->x, by - pp->y) < 1296 * 1296) {
      // Out of the taker's way: 1440 from the ball, toward his own goal at a
      // free kick, across the pitch at a corner.
      std::int32_t vx, vy;
      if (eMode == GAME_MODE_FREE_KICK) {
        vx = (pp->Direction == 0 ? 9360 : -9360) - bx;
        vy = -by;
      } else {
        vx = pp->Direction == 1 ? 1440 : -1440;
        vy = -by;
      }
      std::int32_t iDeg = ball_HeadingTo(vx, vy) * 180 / 401;
      PlayerO_MoveToSet(pp, bx + imath_CosScale(1440, iDeg), by + imath_SinScale(1440, iDeg), 7);
    }
    po = Unlink(po, &poHead);
  }
  return poHead;
}
