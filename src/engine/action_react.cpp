// Reactions of the players off the ball to the holder: the challenge of a
// nearby holder and the press of the chosen defender; and after a goal the
// scorer's team-mates gathering round him and the opponents walking back to
// the centre spot.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"

Player* match_poScorerGet();

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
