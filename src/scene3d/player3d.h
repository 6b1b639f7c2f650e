#pragma once
// The people of the match in 3D: a body model at five levels of detail,
// posed every frame from the animation's pose frame by a walk down the
// 17-segment skeleton, chosen by view depth, drawn segment by segment back
// to front (software) or whole into the depth buffer (z-buffered device).
#include <cstdint>
#include <vector>

#include "framework/math/qmath_types.h"
#include "render3d/q3d.h"
#include "render3d/sortlist.h"
#include "scene3d/model.h"

enum { PLAYER3D_SEGMENTS = 17, PLAYER3D_LEVELS = 5, PLAYER3D_PARTS = 19, PLAYER3D_POSE_FLOATS = 119 };

// A segment's record in the body model (the model's extras): push, pop,
// half-turn vertex count, rigid vertex count.
struct PlayerSegmentEntry {
  int8_t iPush;
  int8_t iPop;
  uint8_t uHalf;
  uint8_t uRigid;
};

// The colours a person is dressed in, by body part (shirt front and back,
// sleeves, shirt top, shorts front and back, hand, socks, face, face side,
// head back, head top, arm, leg back, leg front, boots, two numbers).
struct PlayerKit {
  Q3DColour aoPart[PLAYER3D_PARTS];
};

// Segment centres (segment space, metres): the software renderer sorts the
// segments by the view depth of these points.
extern const QMathVec3 player3d_avSegmentCentres[PLAYER3D_SEGMENTS];
// The view depths below which levels 0..3 are chosen (metres).
extern float player3d_afLevelDistances[4];
// The mirror matrix diag(1, 1, -1, 1): a mirrored body is reflected in its
// own lateral axis before it is turned and placed.
extern const QMathMatrix player3d_mMirror;

// Detail distances 10, 25, 55, 70 m times the scale ((LODBias x 25 + 40) / 100).
void player3d_LevelDistancesSet(float fScale);
// The level for a view depth: the first of 0..3 whose distance the depth is
// strictly below, else 4.
int32_t player3d_iLevelFor(float fDepth);

// Whether a body model can be walked: 17 or more extras, the first 17 entries'
// vertex counts adding up to the vertex count, pops only with a saved matrix,
// at most 17 saved. "" when it can, else why not.
const char* player3d_pszModelCheck(const ModelRecord* poModel);
// The model cached under name, loaded from path on first use (a model that
// cannot be read or walked is cached as null and reported once).
ModelRecord* player3d_poModelGet(const char* pszName, const char* pszPath);
// Forgets and frees every cached model (the match is left).
void player3d_ModelsRelease();

// The skeleton walk over a pose frame from a start matrix: each segment's
// matrix as the rigid vertices are placed (with push and pop), and the
// half-turn matrix (half the segment's turn about the parent's origin).
// aMats receives the rigid matrices; aHalf (may be null) the half-turn ones.
// The head turn, when not null, is applied in the head segment's space.
void player3d_Walk(const PlayerSegmentEntry* paEntries, const float* pfPose, const QMathMatrix* pStart,
                   const QMathMatrix* pHeadTurn, QMathMatrix aMats[PLAYER3D_SEGMENTS],
                   QMathMatrix aHalf[PLAYER3D_SEGMENTS]);

// One detail level of one person.
class PlayerMesh {
 public:
  PlayerMesh(const ModelRecord* poModel);
  ~PlayerMesh();
  PlayerMesh(const PlayerMesh&) = delete;
  PlayerMesh& operator=(const PlayerMesh&) = delete;

  // Poses every vertex and projects it (visibility 0) or takes it to clip
  // space (other visibility); shades the vertex colours from the kit.
  // poTint (textured drawing) colours the numbers, the rest is shaded white.
  void Skin(const float* pfPose, const QMathMatrix* pStart, const QMathMatrix* pHeadTurn, int32_t iVisibility,
            const PlayerKit* poKit, const Q3DColour* poTint = nullptr);
  // The 17 joints in world units (x 157.4784, wrapped to 16 bits).
  void JointsCompute(int32_t aiJoints[PLAYER3D_SEGMENTS][3], const float* pfPose, const QMathMatrix* pStart) const;
  // The view depth of each segment's centre.
  void SegmentDepthsCompute(float afDepths[PLAYER3D_SEGMENTS], const float* pfPose, const QMathMatrix* pStart,
                            const QMathMatrix* pView) const;
  // Draws segment s (software order) or every segment, with the mirrored
  // face lists when mirrored.
  // With the players' texture pages loaded (pauSlots not null) each run of
  // faces is drawn with its page, textured times the vertex shading.
  void SegmentDraw(int32_t s, int32_t bMirrored, uint32_t uVisibility, const uint8_t* pauSlots = nullptr);
  void DrawAll(int32_t bMirrored, uint32_t uVisibility, const uint8_t* pauSlots = nullptr);
  // Maps every face's texture coordinates onto the pages at the places of
  // the slots its body part is dressed in (a slot for each of the 19 parts);
  // the mirrored faces read their textures mirrored.
  void TexelsMap(const uint8_t* pauSlots);

  uint32_t FaceCount() const;

  const ModelRecord* poModel;
  const PlayerSegmentEntry* paEntries;
  Q3DVertexList oVertices;
  Q3DColour* paColours;       // shaded, one per vertex
  uint8_t* pauVertexPart;     // body part of each vertex
  QMathVec3* paNormals;       // segment space
  Q3DFaceList aoFaces[PLAYER3D_SEGMENTS][2];  // normal and mirrored
  // Each segment's faces in runs of one body part, and the model face of
  // each listed face.
  struct Run {
    uint8_t uPart;
    uint32_t uFirst, uCount;
  };
  std::vector<Run> aoRuns[PLAYER3D_SEGMENTS];
  std::vector<uint32_t> auFaceOf[PLAYER3D_SEGMENTS];
  uint8_t auMapped[PLAYER3D_PARTS];  // the slots the texture coordinates are for
};

// The texture coordinates of a face corner (u, v of the body part's own
// texture) on a 256 x 256 page, at a slot's place; mirrored as the mirrored
// faces read them (by the part, and whether all three corners' u lie past
// the part's threshold). bLongSleeves keeps a sleeve within its own place.
void player3d_TexelPlace(float afOut[2], float u, float v, int32_t iPart, int32_t bMirrored, int32_t bAllPast,
                         const float afPlace[4], int32_t bLongSleeves);
// Whether the three u of a face lie past its part's mirroring threshold.
int32_t player3d_bAllPast(const float afUV[6], int32_t iPart);

class Shadow;

class Player3D : public SortObject {
 public:
  // Model code: sleeves, hair, shorts ("SSSHMS"); fBuild the vertical scale.
  Player3D(const char* pszModelCode, const PlayerKit& oKit, float fBuild, int32_t bLoadNow);
  ~Player3D() override;
  Player3D(const Player3D&) = delete;
  Player3D& operator=(const Player3D&) = delete;

  void ModelsLoad();
  void ModelsFree();
  // The frame's placement: facing (16-bit), x, height, y in world units, the
  // pose frame, the mirror and the head turn. Computes the root matrix and
  // the box test; returns the visibility (-1 outside the view).
  int32_t Place(uint16_t uFacing, int32_t x, int32_t height, int32_t y, const float* pfPose, int32_t bMirrored,
                uint16_t uHeadAngle);
  void LevelChoose();
  void ViewPositionCompute() override;
  // Software: segments back to front. Hardware: the whole body.
  void Draw() override;
  void DrawHardware();
  // The start matrix of the walks: mirror, object matrix, build scale.
  void StartMatrix(QMathMatrix* pOut) const;
  void KeeperJointsCompute(int32_t aiJoints[PLAYER3D_SEGMENTS][3]) const;
  // The current level's mesh posed for drawing (null when nothing is drawn).
  PlayerMesh* Skinned(QMathMatrix* pStart);
  // Whether the texture pages are there to dress him (else kit colours).
  bool Textured() const;

  PlayerMesh* apoMeshes[PLAYER3D_LEVELS];
  Shadow* apoShadows[4];
  uint8_t cShadows;
  PlayerKit oKit;
  uint8_t auSlots[PLAYER3D_PARTS];  // texture slots by body part (255 none)
  Q3DColour oNumberTint;             // the numbers' colour
  char szModelCode[7];
  QMathMatrix mBuild;
  QMathMatrix mHeadTurn;
  QMathMatrix mRoot;
  const float* pfPose;
  int32_t bMirrored;
  int32_t bModelsLoaded;
  int16_t iLevel;
  int8_t iKitIndex = -1;  // the match kit worn (kits_aoKits), -1 none yet
  int32_t iVisibility;
  Q3DBounds oBounds;
};
