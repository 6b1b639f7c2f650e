// The three retreat actions every off-ball program ends in: back into the
// zone, back by a distance toward the player's own goal, and to a formation
// point set off the ball by a distance and an angle, kept inside the zone.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "framework/math/trigw.h"

namespace {

constexpr std::uint32_t kAnimBackPedal = 7;

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// The ball on the ground, or its position held to the pitch while it is up.
QMathPoint RetreatPoint() {
  QMathPoint pt{ball_CurXGet(), ball_CurYGet()};
  if (ball_HeightGet(&ball_oBall) >= 481) {
    pt.x = Clamp(pt.x, -9360, 9360);
    pt.y = Clamp(pt.y, -5760, 5760);
  }
  return pt;
}

std::int64_t Dist2(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  std::int64_t dx = static_cast<std::int64_t>(x1) - x0, dy = static_cast<std::int64_t>(y1) - y0;
  return dx * dx + dy * dy;
}

// The point kept inside the zone: itself when in it, else the zone's nearest
// point. False when the player has no such zone.
bool IntoZone(const Player* pp, std::int32_t id, QMathPoint* pt) {
  if (zone_bHasPoint(pp, pt, id)) return true;
  QMathPoint out{};
  if (!zone_bNearestPoint(pp, &out, id, pt)) return false;
  *pt = out;
  return true;
}

// Beyond an x toward the goal he attacks.
bool Beyond(const Player* pp, std::int32_t x) { return pp->Direction == 1 ? pp->x > x : pp->x < x; }

template <typename F>
ActionNode* EachNode(ActionNode* poList, F&& take) {
  ActionNode* poHead = poList;
  ActionNode* po = poList;
  while (po) {
    if (take(po->poPlayer)) {
      bool bHead = po == poHead;
      po = director_ListUnlink(po);
      if (bHead) poHead = po;
    } else {
      po = po->poNext;
    }
  }
  return poHead;
}

}  // namespace

ActionNode* referee_WallRetreatHandler(ActionNode* poList) {
  return EachNode(poList, [](Player* pp) {
    std::int32_t id = pp->oAIInfo.abParams[0];
    if (zone_bHasPlayer(pp, id)) return false;
    QMathPoint ref = RetreatPoint();
    QMathPoint out{};
    if (!zone_bNearestPoint(pp, &out, id, &ref)) return false;
    action_Set(pp, ACTION_WALL_RETREAT);
    PlayerO_MoveToSet(pp, out.x, out.y, ANIM_RUN);
    return true;
  });
}

ActionNode* referee_RetreatHandler(ActionNode* poList) {
  return EachNode(poList, [](Player* pp) {
    std::int32_t id = pp->oAIInfo.abParams[0];
    std::int32_t d = pp->oAIInfo.abParams[1] * 144;
    QMathPoint ref = RetreatPoint();
    QMathPoint t{ref.x + (pp->Direction == 1 ? -d : d), ref.y};
    if (!IntoZone(pp, id, &t)) return false;
    action_Set(pp, ACTION_RETREAT);
    if (Dist2(pp->x, pp->y, t.x, t.y) < 144 * 144) {
      PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
      return true;
    }
    bool bBack = Beyond(pp, t.x) && !Beyond(pp, ref.x);
    PlayerO_MoveToSet(pp, t.x, t.y, bBack ? kAnimBackPedal : ANIM_WALK);
    return true;
  });
}

ActionNode* referee_FormationRetreatHandler(ActionNode* poList) {
  return EachNode(poList, [](Player* pp) {
    const AIInfo& ai = pp->oAIInfo;
    std::int32_t id = ai.abParams[0];
    std::int32_t d = ai.abParams[1] * 144;
    std::int32_t a = (ai.abParams[2] * 3) % 360;
    if (ai.iZoneFlip & 2) a = (360 - a) % 360;
    if (ai.iZoneFlip & 1) a = (180 - a + 360) % 360;
    std::int32_t iAngle = a * 65536 / 360;
    QMathPoint ref = RetreatPoint();
    QMathPoint t{ref.x + static_cast<std::int32_t>(static_cast<std::int64_t>(d) * QMathCos(iAngle) / 65536),
                 ref.y + static_cast<std::int32_t>(static_cast<std::int64_t>(d) * QMathSin(iAngle) / 65536)};
    if (!IntoZone(pp, id, &t)) return false;
    action_Set(pp, ACTION_FORMATION_RETREAT);
    if (Dist2(pp->x, pp->y, t.x, t.y) < 144 * 144) {
      PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
      return true;
    }
    std::int64_t iBall2 = Dist2(pp->x, pp->y, ref.x, ref.y);
    std::int64_t iTarget2 = Dist2(pp->x, pp->y, t.x, t.y);
    std::uint32_t eAnim = ANIM_WALK;
    if (Beyond(pp, t.x) && !Beyond(pp, ref.x) && iBall2 >= 1153LL * 1153) {
      eAnim = kAnimBackPedal;
    } else if (iTarget2 > 1152LL * 1152 || (pp->oAnimInfo.eActionAnim == ANIM_RUN && iTarget2 >= 433LL * 433)) {
      eAnim = ANIM_RUN;
    }
    PlayerO_MoveToSet(pp, t.x, t.y, eAnim);
    return true;
  });
}
