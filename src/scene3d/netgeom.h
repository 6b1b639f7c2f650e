// Goal nets: the goal style and dimensions, the net mesh built from them,
// and the net's answer to a ball: a bulge where it was struck and a ripple
// that reflects at the net's fixed edges, both gone within three seconds.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/math/qmath_types.h"

struct GoalParams {
  float fWidth, fBarHeight, fBackHeight, fTopDepth, fGroundDepth, fCell, fSeventh, fTexStart, fTexEnd;
};

// Goal style from the home side's kit edition (0..10) and the history
// finals flag.
int32_t goals_iStyleGet(int32_t homeKitEdition, bool bHistoryFinals);
// The default dimensions (texture end 1.0 for the software renderer), with
// the changes of the style.
GoalParams goals_ParamsGet(int32_t style, bool bSoftware);
// Net depth for the match engine, in whole inches.
int32_t goals_iNetDepthInches(const GoalParams& p);

struct NetRecord {
  float fWeight, fU, fV;
};

struct NetFace {  // 40 bytes: three vertex indexes and their texels
  uint32_t auIndex[3];
  float afTexel[3][2];
  uint32_t uSpare;
};
static_assert(sizeof(NetFace) == 40);

enum : int32_t { kNetBack = 0, kNetRoof = 1, kNetSideLow = 2, kNetSideHigh = 3 };

struct NetGeometry {
  GoalParams oParams{};
  float fHalfWidth = 0;
  float fRoofLength = 0, fBackLength = 0, fProfileLength = 0;
  int32_t iColumns = 0, iRows = 0;
  float fColumnStep = 0, fRowStep = 0;
  int32_t bBackTopOnRow = 0;
  int32_t iSideRows = 0, iSideColumns = 0;
  int32_t iMainCount = 0, iOneSideCount = 0, iAllCount = 0;
  float fSideDepth = 0;    // c: the mean of top and ground depth
  float fUnfolded = 0;     // W + 2c
  std::vector<QMathVec3> aRest;
  std::vector<float> afTexels;  // u, v per vertex
  std::vector<NetFace> aFaces;
  std::vector<NetRecord> aRecords;
  int32_t aiMeshFirst[4] = {}, aiMeshCount[4] = {};  // faces of back, roof, side at -x, side at +x
};

void netgeom_Build(NetGeometry* g, const GoalParams& p);
void netgeom_Free(NetGeometry* g);

// Depth of the net's profile at a height (0 at the crossbar's height).
float netgeom_fProfileDepth(const NetGeometry& g, float y);

struct NetHit {
  QMathVec3 oPoint{};     // in the net's frame
  float fU = 0, fV = 0;
  QMathVec3 oDirection{};
  float fStrength = 0;
  float fSeconds = 0;
  uint32_t uTick = 0;
  uint32_t uFlags = 0;    // 1 ripple, 2 bulge
  float fBulge = 0;
};

struct NetState {
  const NetGeometry* pGeometry = nullptr;
  std::vector<QMathVec3> aVertices;
  int32_t bActive = 0;
  NetHit oHit;
};

void goalnet_StateInit(NetState* s, const NetGeometry* g);
// Tests the ball's path (in the net's frame) against the panels the engine
// reports (1 roof then back, 2 roof, 3 side at -x, back, roof, 4 side at +x,
// back, roof); on a hit starts the bulge and ripple. Non-zero on a hit.
int32_t goalnet_HitApply(NetState* s, int32_t panel, uint32_t tick, const QMathVec3& start, const QMathVec3& end,
                         float speed);
// The engine names the sides by the pitch's z; a goal turned to face -x
// has its own -x side at the pitch's +z: such a goal swaps 3 and 4.
int32_t goalnet_iPanelForGoal(int32_t enginePanel, bool bGoalAtPlusX);
// One animation step at t seconds since the hit.
void goalnet_Animate(NetState* s, float t);
// The ripple's displacement at (u, v) of the unfolded net.
float goalnet_fRipple(const NetGeometry& g, const NetHit& h, float u, float v, float t);
