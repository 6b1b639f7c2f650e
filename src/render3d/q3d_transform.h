#pragma once
// Vertex transforms, the bounding-box test and the line clipper.
//
// An object matrix is read as a rotation in its upper 3 x 3 and a
// translation in its fourth row; its fourth column counts as (0, 0, 0, 1).
#include <cstdint>

#include "render3d/q3d.h"

// Outcode of a clip-space point from the sign bits of x, w - x, y, w - y,
// z, w - z (so -0.0 counts as outside).
uint32_t Q3DOutcode(float x, float y, float z, float w);

void Q3DBoundsFromPoints(Q3DBounds* pBounds, const QMathVec3* pPoints, uint32_t count);
void Q3DBoundsCornersUpdate(Q3DBounds* pBounds);

// -1 when all eight corners lie outside one and the same plane, else the OR
// of their outcodes (0: wholly inside). A null object matrix means the
// corners are in world space.
int32_t model_iBoxOutcodes(const QMathVec3* pCorners, const QMathMatrix* pObject, const Q3DCamera* pCamera);

// Both return 0, or 7 when an array could not be made: then nothing is
// transformed and both state bits are clear, so the device draws nothing.
uint32_t Q3DVertexListProject(Q3DVertexList* pList, uint32_t first, uint32_t count, const QMathMatrix* pObject,
                              const Q3DCamera* pCamera);
uint32_t Q3DVertexListClipTransform(Q3DVertexList* pList, uint32_t first, uint32_t count,
                                    const QMathMatrix* pObject, const Q3DCamera* pCamera);

// -1 when nothing of the segment is visible, else the OR of the end points'
// outcodes (0: no clipping was needed).
int32_t Q3DLineProject(Q3DLine* pLine, const QMathVec3* pA, const QMathVec3* pB, const Q3DCamera* pCamera);

// The segment clipper's working state.
struct Q3DClipVertex {  // 48 bytes
  float af[10];         // clip x, y, z, w first, then carried values
  uint32_t auColour[2];
};

enum { Q3D_CLIP_BUFFER = 10 };

struct Q3DClipContext {
  Q3DClipVertex aBuffer0[Q3D_CLIP_BUFFER];
  Q3DClipVertex aBuffer1[Q3D_CLIP_BUFFER];
  uint32_t uPlaneMask;
  uint32_t uSpare0;
  uint32_t uCount;
  uint32_t uFloats;      // floats interpolated per vertex (at most 10)
  Q3DClipVertex* pIn;    // the first buffer when set up
  Q3DClipVertex* pOut;   // the second; after a clip, the buffer holding the result
  uint32_t uSpare1;
};

extern Q3DClipContext q3dClipContext;

// Clips the two vertices of the context's input buffer against the planes of
// its mask, in the order 1, 2, 4, 8, 16, 32.
void Q3DLineClip();
