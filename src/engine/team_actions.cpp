// Two off-ball actions of the match sides: marking an opponent in the
// defence zone, and the timed run to a random point of the player's zone.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "framework/math/qmath_types.h"

namespace {

constexpr std::int32_t kMarkOffset = 288;
constexpr std::int32_t kMarkClampX = 9360;
constexpr std::int64_t kMarkWalkDistance2 = 288 * 288;

// Words of Player::aiMarking.
constexpr int kMarking = 0;    // he marks somebody
constexpr int kMarked = 1;     // somebody marks him
constexpr int kMarkedId = 2;   // the id of the player he marks

Player* PlayerById(std::int32_t iId) {
  for (Player* p = match_HomeFirstPlayerGet(); p; p = match_NextPlayerGet(p))
    if (p->ID == iId) return p;
  return nullptr;
}

// The defence zone: the first zone of his set-piece options, -1 none.
std::int32_t DefenceZone(const Player* pp) {
  if (!pp->oSetPiece.piOptions || pp->oSetPiece.cOptions <= 0) return -1;
  return pp->oSetPiece.piOptions[0];
}

void Follow(Player* pp, const Player* poOpp) {
  std::int32_t x = poOpp->x + (poOpp->x >= 0 ? kMarkOffset : -kMarkOffset);
  if (x > kMarkClampX) x = kMarkClampX;
  if (x < -kMarkClampX) x = -kMarkClampX;
  std::uint32_t eAnim = poOpp->oAnimInfo.eActionAnim;
  if (eAnim == ANIM_STAND) eAnim = ANIM_TURN;
  PlayerO_MoveToSet(pp, x, poOpp->y, eAnim);
  action_Set(pp, ACTION_MARK);
}

void MarkOrCover(Player* pp) {
  if (pp->aiMarking[kMarking]) {
    if (Player* poOpp = PlayerById(pp->aiMarking[kMarkedId])) {
      Follow(pp, poOpp);
      return;
    }
    // His man has left the pitch: he looks for another.
    pp->aiMarking[kMarking] = 0;
  }
  const std::int32_t iZone = DefenceZone(pp);
  if (iZone < 0) return;
  const Player* poTaker = setp_poGetKickTaker();
  for (Player* p = match_StateTeamFirstPlayerGet(); p; p = match_TeamNextPlayerGet(p)) {
    if (p->aiMarking[kMarked] || p == poTaker) continue;
    QMathPoint pt{p->x, p->y};
    if (!zone_bHasPoint(pp, &pt, iZone)) continue;
    pp->aiMarking[kMarking] = 1;
    pp->aiMarking[kMarkedId] = p->ID;
    p->aiMarking[kMarked] = 1;
    return;
  }
  // Nobody to mark: he covers the middle of his zone.
  QMathPoint c{};
  if (!zone_bCentreGet(pp, &c, iZone)) return;
  const std::int64_t dx = c.x - pp->x, dy = c.y - pp->y;
  if (dx * dx + dy * dy >= kMarkWalkDistance2) {
    PlayerO_MoveToSet(pp, c.x, c.y, ANIM_WALK);
    action_Set(pp, ACTION_MARK);
  } else {
    PlayerO_MoveToSet(pp, c.x, c.y, ANIM_STAND);
  }
}

}  // namespace

ActionNode* match_MarkingUpdate(ActionNode* poList) {
  ActionNode* po = poList;
  while (po) {
    MarkOrCover(po->poPlayer);
    po = director_ListUnlink(po);
  }
  return nullptr;
}

ActionNode* team_ZoneRunHandler(ActionNode* poList) {
  ActionNode* poHead = poList;
  ActionNode* po = poList;
  while (po) {
    ActionNode* poNext = po->poNext;
    Player* pp = po->poPlayer;
    AIInfo& ai = pp->oAIInfo;
    if (ai.iZoneCountdown > 0) {
      // Still waiting: one tick less, and the program goes on without him.
      ai.iZoneCountdown--;
    } else {
      QMathPoint pt{};
      if (zone_bRandomPoint(pp, &pt, ai.abParams[0])) {
        ai.iZoneCountdown = ai.abParams[1];
        PlayerO_MoveToSet(pp, pt.x, pt.y, ANIM_RUN);
        action_Set(pp, ACTION_ZONE_RUN);
        ActionNode* poRest = director_ListUnlink(po);
        if (po == poHead) poHead = poRest;
      }
    }
    po = poNext;
  }
  return poHead;
}
