// Zone queries on a player's current tree, the cover-window marking of a zone
// and the year labels.
#include "engine/zone.h"

#include <cstdio>

#include "engine/action_list.h"
#include "engine/ball.h"
#include "engine/cover.h"
#include "engine/player.h"
#include "framework/math/qgeom.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"

namespace {

// A player without a tree yet (none chosen since kick-off) has no zones.
std::int32_t RootIndex(const ZoneBox* poRoot) {
  return poRoot ? static_cast<std::int32_t>(poRoot - zone_aBoxes) : -1;
}

QMathRect Rect(const ZoneBox& b) { return QMathRect{b.x, b.y, b.width, b.height}; }

// Walks a tree's group backwards from its root: the root, then each record
// before it, stopping after the record whose predecessor is the previous
// tree's root (or after the table's first record).
template <typename F>
bool GroupScan(std::int32_t iRoot, F&& f) {
  if (iRoot < 0 || iRoot >= ZONE_BOX_COUNT) return false;
  for (std::int32_t i = iRoot;; i--) {
    if (f(zone_aBoxes[i])) return true;
    if (i == 0 || zone_aBoxes[i - 1].id == 0) return false;
  }
}

// The first zone of the id met walking back from the root, mirrored.
bool FirstZone(std::int32_t iRoot, std::int32_t iFlip, std::int32_t id, ZoneBox* pOut) {
  return GroupScan(iRoot, [&](const ZoneBox& b) {
    if (b.id != id) return false;
    *pOut = zone_Mirror(b, iFlip);
    return true;
  });
}

bool HasPoint(std::int32_t iRoot, std::int32_t iFlip, const QMathPoint* pt, std::int32_t id) {
  return GroupScan(iRoot, [&](const ZoneBox& b) {
    if (b.id != id) return false;
    QMathRect r = Rect(zone_Mirror(b, iFlip));
    return QMathRectPointInside(pt, &r) != 0;
  });
}

std::int32_t ChildAt(std::int32_t iTree, std::int32_t iFlip, std::int32_t x, std::int32_t y) {
  QMathPoint pt{x, y};
  for (std::int32_t i = zone_aBoxes[iTree].iNextIfHit; i >= 0; i = zone_aBoxes[i].iNextIfMiss) {
    QMathRect r = Rect(zone_Mirror(zone_aBoxes[i], iFlip));
    if (QMathRectPointInside(&pt, &r)) return zone_aBoxes[i].id;
  }
  return 0;
}

}  // namespace

ZoneBox zone_Mirror(const ZoneBox& b, std::int32_t iFlip) {
  ZoneBox m = b;
  if (iFlip & 1) m.x = -(b.x + b.width);
  if (iFlip & 2) m.y = -(b.y + b.height);
  return m;
}

const ZoneBox* zone_poTreeGet(const Player* pp) { return pp->oAIInfo.poZoneBoxList; }
std::int32_t zone_iFlipGet(const Player* pp) { return pp->oRole.iFlip; }
std::int32_t zone_iSetIndexGet(const Player* pp) {
  return pp->oAIInfo.bIsAttacking ? pp->oRole.iAttackSet : pp->oRole.iDefendSet;
}
std::int32_t zone_iOwnerSetIndexGet(const Player* pp) { return pp->oRole.iBallSet; }
std::int32_t zone_iTreeIndexGet(const Player* pp) { return pp->oRole.iSetPieceTree; }

std::int32_t zone_ClassesAtPoint(const Player* pp, const QMathPoint* pt, std::int32_t aiOut[4]) {
  const ZoneBox* poRoot = zone_poTreeGet(pp);
  std::int32_t cFree = 4;
  std::int32_t iResult = 0;
  std::int32_t i = RootIndex(poRoot);
  while (i >= 0) {
    const ZoneBox& b = zone_aBoxes[i];
    QMathRect r = Rect(zone_Mirror(b, pp->oAIInfo.iZoneFlip));
    if (QMathRectPointInside(pt, &r)) {
      if (b.id >= 1 && b.id <= 7) {
        aiOut[4 - cFree] = b.id;
        iResult = b.id;
        if (--cFree == 0) return iResult;
      }
      i = b.iNextIfHit;
    } else {
      i = b.iNextIfMiss;
    }
  }
  for (std::int32_t k = 4 - cFree; k < 4; k++) aiOut[k] = 0;
  return 0;
}

std::int32_t zone_bHasPoint(const Player* pp, const QMathPoint* pt, std::int32_t id) {
  return HasPoint(RootIndex(zone_poTreeGet(pp)), pp->oAIInfo.iZoneFlip, pt, id) ? 1 : 0;
}

std::int32_t zone_bHasPlayer(const Player* pp, std::int32_t id) {
  QMathPoint pt{pp->x, pp->y};
  return zone_bHasPoint(pp, &pt, id);
}

std::int32_t zone_bCentreGet(const Player* pp, QMathPoint* pOut, std::int32_t id) {
  return zone_bCentreGetAt(pp, pOut, id, RootIndex(zone_poTreeGet(pp)));
}

std::int32_t zone_bRandomPoint(const Player* pp, QMathPoint* pOut, std::int32_t id) {
  ZoneBox b;
  if (!FirstZone(RootIndex(zone_poTreeGet(pp)), pp->oAIInfo.iZoneFlip, id, &b)) return 0;
  pOut->x = b.x + 288 + QMathRandBetween(0, b.width - 576);
  pOut->y = b.y + 288 + QMathRandBetween(0, b.height - 576);
  return 1;
}

std::int32_t zone_bNearestPoint(const Player* pp, QMathPoint* pOut, std::int32_t id, const QMathPoint* pt) {
  std::int32_t iBest = 28800;
  bool bFound = false;
  bool bOverflow = false;
  std::int32_t iFlip = pp->oAIInfo.iZoneFlip;
  GroupScan(RootIndex(zone_poTreeGet(pp)), [&](const ZoneBox& raw) {
    if (raw.id != id) return false;
    ZoneBox b = zone_Mirror(raw, iFlip);
    QMathRect r{b.x + 72, b.y + 72, b.width - 144, b.height - 144};
    QMathPoint c;
    QMathRectClampPoint(&c, &r, pt);
    std::int32_t d = 0;
    if (QMathPointDistance2D(&d, &c, pt) != 0) {
      bOverflow = true;
      return true;
    }
    if (d < iBest) {
      iBest = d;
      *pOut = c;
      bFound = true;
    }
    return false;
  });
  return (bFound && !bOverflow) ? 1 : 0;
}

void zone_GridMark(Player* pp, std::int32_t id) {
  // The window of the cover grid: 1800 x 1800 centred on him.
  QMathRect win{pp->x - 900, pp->y - 900, 1800, 1800};
  std::int32_t iFlip = pp->oAIInfo.iZoneFlip;
  GroupScan(RootIndex(zone_poTreeGet(pp)), [&](const ZoneBox& raw) {
    if (raw.id != id) return false;
    QMathRect r = Rect(zone_Mirror(raw, iFlip));
    QMathRect cut;
    if (QMathRectIntersect(&cut, &r, &win)) {
      std::int32_t aiRect[4] = {cut.x - win.x, cut.y - win.y, cut.w, cut.h};
      cover_RectMaskAdd(aiRect, pp->auOccupancy);
    }
    return false;
  });
}

std::int32_t zone_iChildAtPlayer(std::int32_t iTree, const Player* pp) {
  return ChildAt(iTree, pp->oAIInfo.iZoneFlip, pp->x, pp->y);
}

std::int32_t zone_iChildAtBall(std::int32_t iTree, const Player* pp) {
  return ChildAt(iTree, pp->oAIInfo.iZoneFlip, ball_CurXGet(), ball_CurYGet());
}

std::int32_t zone_bHasPointAt(const Player* pp, const QMathPoint* pt, std::int32_t id, std::int32_t iTree) {
  return HasPoint(iTree, pp->oAIInfo.iZoneFlip, pt, id) ? 1 : 0;
}

std::int32_t zone_bCentreGetAt(const Player* pp, QMathPoint* pOut, std::int32_t id, std::int32_t iTree) {
  ZoneBox b;
  if (!FirstZone(iTree, pp->oAIInfo.iZoneFlip, id, &b)) return 0;
  pOut->x = b.x + b.width / 2;
  pOut->y = b.y + b.height / 2;
  return 1;
}

std::int32_t zone_bRandomPointAt(const Player* pp, QMathPoint* pOut, std::int32_t id, std::int32_t iTree) {
  ZoneBox b;
  if (!FirstZone(iTree, pp->oAIInfo.iZoneFlip, id, &b)) return 0;
  pOut->x = b.x + QMathRandBetween(0, b.width);
  pOut->y = b.y + QMathRandBetween(0, b.height);
  return 1;
}

const char* zone_YearToStr(std::int32_t iIndex, std::int32_t bLong) {
  static char s_acBuffer[16];
  if (iIndex == 11) {
    std::snprintf(s_acBuffer, sizeof s_acBuffer, "%s", bLong ? "DRM" : "DREAM");
  } else {
    std::snprintf(s_acBuffer, sizeof s_acBuffer, bLong ? "19%2d" : "%2d", 58 + 4 * iIndex);
  }
  return s_acBuffer;
}

// ---- Group handlers of zones 33 and 34 -------------------------------------------------------
// Players whose zone 33 does not hold the ball's owner leave the list for a
// random point of zone 34 with the given action and animation; with
// bStayIfInside a player already in zone 34 stays.
static ActionNode* GroupToZone34(ActionNode* poList, bool bStayIfInside, std::int32_t iAction, std::int32_t iAnim) {
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    ActionNode* poNext = po->poNext;
    Player* pp = po->poPlayer;
    Player* poOwner = ball_OwnerGet();
    QMathPoint pt;
    if (poOwner) {
      QMathPoint at{poOwner->x, poOwner->y};
      if (!zone_bHasPoint(pp, &at, 33) && !(bStayIfInside && zone_bHasPlayer(pp, 34)) &&
          zone_bRandomPoint(pp, &pt, 34)) {
        ActionNode* poRest = director_ListUnlink(po);
        if (po == poHead) poHead = poRest;
        action_Set(pp, iAction);
        PlayerO_MoveToSet(pp, pt.x, pt.y, iAnim);
      }
    }
    po = poNext;
  }
  return poHead;
}

ActionNode* zone_GroupReturnHandler(ActionNode* poList) { return GroupToZone34(poList, false, 29, 7); }

ActionNode* zone_GroupWalkHandler(ActionNode* poList) { return GroupToZone34(poList, true, 40, ANIM_WALK); }
