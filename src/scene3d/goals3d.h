// The two goals as they are drawn: the frame models of the era and the net
// mesh, bulging and rippling when the ball's path reaches it. The hardware
// renderers draw each goal whole; the software renderer sorts its seven
// pieces (four net panels, two posts, the crossbar) among the players.
#pragma once

#include <cstdint>
#include <vector>

#include "render3d/q3d.h"
#include "render3d/sortlist.h"
#include "scene3d/netgeom.h"

class GoalNet;

// One piece of a goal for the depth-sorted list: a net panel or a frame part.
class GoalPiece : public SortObject {
 public:
  void Draw() override;
  GoalNet* poGoal = nullptr;
  const Q3DFaceList* poFaces = nullptr;
  const Q3DMaterial* poMaterial = nullptr;
  uint32_t uDrawFlag = 0;  // the render state 4 value of the piece
  QMathVec3 oCentre{};     // in the goal's frame, for its depth
};

enum { GOAL_PIECES = 7, GOAL_FRAME_PARTS = 3 };

class GoalNet : public SortObject {
 public:
  GoalNet(const NetGeometry* poGeometry, int32_t iIndex);
  GoalNet(const GoalNet&) = delete;
  GoalNet& operator=(const GoalNet&) = delete;
  ~GoalNet() override;
  void ViewPositionCompute() override {}
  void Draw() override;  // hardware renderers

  int32_t iIndex;  // 0 the goal at -x, 1 at +x
  NetState oState;
  Q3DVertexList oNetVertices;
  Q3DFaceList aoNet[4];              // back, roof, side at -x, side at +x (own frame)
  std::vector<Q3DFace> aNetFaces;
  Q3DVertexList aoFrameVertices[2];  // posts, bar
  Q3DFaceList aoFrame[GOAL_FRAME_PARTS];  // post at -x, post at +x, bar
  std::vector<QMathVec3> aFrameVertices[2];
  std::vector<Q3DFace> aFrameFaces[GOAL_FRAME_PARTS];
  GoalPiece aoPieces[GOAL_PIECES];
  Q3DBounds oBounds{};
  int32_t iClip = 63;
  int32_t iLastTrailFrame = -1;
  int32_t bExternalTime = 0;
  float fSeconds = 0.0f;
};

// The goal style (0 to 3) of the match: the home side's kit edition and the
// history finals.
int32_t goals_iMatchStyle();
// Loads the textures and frame models of a style and builds both goals
// (the loading step); frees them again.
void goals_Load(int32_t iStyle);
void goals_Free();
extern GoalNet* goals_apoNets[2];

// The ball's path reported for a goal (start and end in metres, pitch x,
// height, pitch y; the engine's net part 1 to 4); non-zero on a hit.
int32_t goalnet_PathApply(GoalNet* poGoal, int32_t iEnginePanel, uint32_t uTick, const float afStart[3],
                          const float afEnd[3], float fSpeed);
// External time (a replay): t = (tick - hit tick) / 30; otherwise the
// match's frame counter gives it.
void goalnet_TimeSet(GoalNet* poGoal, int32_t bExternal, int32_t iTick);
void goalnet_ViewUpdate(GoalNet* poGoal);
void goalnet_DrawSoftware(GoalNet* poGoal, SortList* poList);
// The order the hardware draws the four panels in for a camera at the
// given point of the goal's own frame (back to front).
void goalnet_PanelOrder(const NetGeometry& g, const QMathVec3& oCamera, int32_t aiOut[4]);
