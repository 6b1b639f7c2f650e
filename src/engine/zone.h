#pragma once
// Zones: named rectangles of the pitch in trees, telling each role where to
// stand. A player's current tree follows his team's possession; every box is
// mirrored by his zone flip word (bit 1 mirrors x, bit 2 mirrors y). Also the
// role table (trees and program sets of each position code), the position
// compatibility lists and the year labels of the history screens.
#include <cstdint>

#include "framework/math/qmath_types.h"

struct Player;

#pragma pack(push, 1)
struct ZoneBox {
  std::int32_t id;       // 0 a tree's root; 1..7 classes; 8 and above named zones
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
  std::int16_t iNextIfHit;   // first child, -1 none
  std::int16_t iNextIfMiss;  // next sibling, -1 none
};
#pragma pack(pop)

constexpr std::int32_t ZONE_BOX_COUNT = 2293;
constexpr std::int32_t ZONE_TREE_COUNT = 112;
constexpr std::int32_t ROLES_CODES = 25;
constexpr std::int32_t ROLES_TABLE_ROWS = 30;  // five zero rows follow the 25 codes
constexpr std::int32_t ROLES_COMPAT_ALTERNATIVES = 12;

extern const ZoneBox zone_aBoxes[ZONE_BOX_COUNT];
extern const std::int16_t zone_aTreeRoots[ZONE_TREE_COUNT];
// Per code: attacking, defending, on-the-ball and set-piece tree (root
// indexes), attacking, defending and on-the-ball set indexes.
extern const std::int32_t roles_aTable[ROLES_TABLE_ROWS][7];

// ---- Roles ---------------------------------------------------------------------
struct RoleRecord;
struct RolesCompat {
  std::int32_t iCode;
  std::int32_t aiAlternative[ROLES_COMPAT_ALTERNATIVES];  // ended by -1 unless full
  std::int32_t iCursor;
};

void roles_RoleCopy(RoleRecord* pRole, std::int32_t iCode);
void roles_RoleSet(Player* pp, std::int32_t iCode, std::int32_t iFlip);
RolesCompat* roles_CompatFind(std::int32_t iCode);
void roles_CompatRewind(RolesCompat* pc);
std::int32_t roles_CompatHasNext(const RolesCompat* pc);
std::int32_t roles_CompatNext(RolesCompat* pc);
std::int32_t roles_SectorFind(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                              std::int32_t iHeading, const std::int32_t (*paiTable)[4], std::int32_t iCount);

// ---- Zone queries on the player's current tree ------------------------------------
// The box mirrored by the flip bits.
ZoneBox zone_Mirror(const ZoneBox& b, std::int32_t iFlip);
const ZoneBox* zone_poTreeGet(const Player* pp);
std::int32_t zone_iFlipGet(const Player* pp);
std::int32_t zone_iSetIndexGet(const Player* pp);
std::int32_t zone_iOwnerSetIndexGet(const Player* pp);
std::int32_t zone_iTreeIndexGet(const Player* pp);
std::int32_t zone_ClassesAtPoint(const Player* pp, const QMathPoint* pt, std::int32_t aiOut[4]);
std::int32_t zone_bHasPoint(const Player* pp, const QMathPoint* pt, std::int32_t id);
std::int32_t zone_bHasPlayer(const Player* pp, std::int32_t id);
std::int32_t zone_bCentreGet(const Player* pp, QMathPoint* pOut, std::int32_t id);
std::int32_t zone_bRandomPoint(const Player* pp, QMathPoint* pOut, std::int32_t id);
std::int32_t zone_bNearestPoint(const Player* pp, QMathPoint* pOut, std::int32_t id, const QMathPoint* pt);
void zone_GridMark(Player* pp, std::int32_t id);
std::int32_t zone_iChildAtPlayer(std::int32_t iTree, const Player* pp);
std::int32_t zone_iChildAtBall(std::int32_t iTree, const Player* pp);
// The same on the group of an explicit tree index.
std::int32_t zone_bHasPointAt(const Player* pp, const QMathPoint* pt, std::int32_t id, std::int32_t iTree);
std::int32_t zone_bCentreGetAt(const Player* pp, QMathPoint* pOut, std::int32_t id, std::int32_t iTree);
std::int32_t zone_bRandomPointAt(const Player* pp, QMathPoint* pOut, std::int32_t id, std::int32_t iTree);

// Year label of a history edition: "58".."98" (long "1958".."1998"); 11 the
// dream edition.
const char* zone_YearToStr(std::int32_t iIndex, std::int32_t bLong);

// Group handlers of zones 33 and 34: the ball owner outside the player's zone
// 33 sends him to a random point of zone 34 (running, action 29); the second
// only when he is outside zone 34 too (walking, action 40).
struct ActionNode;
ActionNode* zone_GroupReturnHandler(ActionNode* poList);
ActionNode* zone_GroupWalkHandler(ActionNode* poList);
