// Vertex transforms, the bounding-box test and the line clipper.
#include "render3d/q3d_transform.h"

#include <cmath>
#include <cstring>

#include "framework/qdx_mem.h"

Q3DClipContext q3dClipContext;

namespace {

// Combined matrix object x camera, reading the object's upper 3 x 3 and its
// fourth row only.
void Combine(QMathMatrix* pOut, const QMathMatrix* pObject, const QMathMatrix* pCam) {
  if (pObject == nullptr) {
    *pOut = *pCam;
    return;
  }
  const float* o = pObject->m;
  const float* c = pCam->m;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float v = o[i * 4 + 0] * c[0 * 4 + j] + o[i * 4 + 1] * c[1 * 4 + j] + o[i * 4 + 2] * c[2 * 4 + j];
      if (i == 3) v += c[3 * 4 + j];
      pOut->m[i * 4 + j] = v;
    }
}

inline void Apply(const QMathMatrix& m, const QMathVec3& p, float* x, float* y, float* z, float* w) {
  const float* a = m.m;
  *x = p.x * a[0] + p.y * a[4] + p.z * a[8] + a[12];
  *y = p.x * a[1] + p.y * a[5] + p.z * a[9] + a[13];
  *z = p.x * a[2] + p.y * a[6] + p.z * a[10] + a[14];
  *w = p.x * a[3] + p.y * a[7] + p.z * a[11] + a[15];
}

// Makes sure an array holds count elements; false when it cannot (the old
// block and capacity are kept).
bool Grow(void** ppArray, uint32_t* pCapacity, uint32_t count, size_t elementSize) {
  if (*pCapacity >= count && (*ppArray != nullptr || count == 0)) return true;
  void* p = QDXMemAllocAligned(32, static_cast<size_t>(count) * elementSize);
  if (p == nullptr) return false;
  if (*ppArray != nullptr && *pCapacity > 0) std::memcpy(p, *ppArray, static_cast<size_t>(*pCapacity) * elementSize);
  QDXFreeAligned(*ppArray);
  *ppArray = p;
  *pCapacity = count;
  return true;
}

template <class T>
bool GrowArray(T** pp, uint32_t* pCapacity, uint32_t count) {
  void* p = *pp;
  bool ok = Grow(&p, pCapacity, count, sizeof(T));
  *pp = static_cast<T*>(p);
  return ok;
}

// The run [first, first + count) cut to the list.
uint32_t RunEnd(const Q3DVertexList* pList, uint32_t first, uint32_t count) {
  if (first >= pList->uCount) return first;
  return count > pList->uCount - first ? pList->uCount : first + count;
}

inline float SX(const Q3DCamera* c, float x, float w) { return (x * c->mViewport.m[0] + w * c->mViewport.m[12]) / w; }
inline float SY(const Q3DCamera* c, float y, float w) { return (y * c->mViewport.m[5] + w * c->mViewport.m[13]) / w; }

}  // namespace

uint32_t Q3DOutcode(float x, float y, float z, float w) {
  uint32_t code = 0;
  if (std::signbit(x)) code |= Q3D_OUT_LEFT;
  if (std::signbit(w - x)) code |= Q3D_OUT_RIGHT;
  if (std::signbit(y)) code |= Q3D_OUT_TOP;
  if (std::signbit(w - y)) code |= Q3D_OUT_BOTTOM;
  if (std::signbit(z)) code |= Q3D_OUT_NEAR;
  if (std::signbit(w - z)) code |= Q3D_OUT_FAR;
  return code;
}

void Q3DBoundsCornersUpdate(Q3DBounds* b) {
  if (!b->bStale) return;
  const float x0 = b->oMin.x, y0 = b->oMin.y, z0 = b->oMin.z;
  const float x1 = b->oMax.x, y1 = b->oMax.y, z1 = b->oMax.z;
  b->aCorner[0] = {x0, y0, z0};
  b->aCorner[1] = {x0, y1, z0};
  b->aCorner[2] = {x1, y1, z0};
  b->aCorner[3] = {x1, y0, z0};
  b->aCorner[4] = {x0, y0, z1};
  b->aCorner[5] = {x0, y1, z1};
  b->aCorner[6] = {x1, y1, z1};
  b->aCorner[7] = {x1, y0, z1};
  b->bStale = 0;
}

void Q3DBoundsFromPoints(Q3DBounds* b, const QMathVec3* p, uint32_t count) {
  if (count == 0) {
    b->oMin = {0.0f, 0.0f, 0.0f};
    b->oMax = {0.0f, 0.0f, 0.0f};
    return;
  }
  QMathVec3 lo = p[count - 1], hi = p[count - 1];
  for (uint32_t k = count - 1; k-- > 0;) {
    if (p[k].x < lo.x) lo.x = p[k].x;
    if (p[k].y < lo.y) lo.y = p[k].y;
    if (p[k].z < lo.z) lo.z = p[k].z;
    if (p[k].x > hi.x) hi.x = p[k].x;
    if (p[k].y > hi.y) hi.y = p[k].y;
    if (p[k].z > hi.z) hi.z = p[k].z;
  }
  b->oMin = lo;
  b->oMax = hi;
  const float dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
  b->fRadius = std::sqrt(dx * dx + dy * dy + dz * dz) * 0.5f;
  b->bStale = 1;
  Q3DBoundsCornersUpdate(b);
}

int32_t model_iBoxOutcodes(const QMathVec3* pCorners, const QMathMatrix* pObject, const Q3DCamera* pCamera) {
  QMathMatrix m;
  Combine(&m, pObject, &pCamera->mViewProj);
  uint32_t any = 0, all = Q3D_OUT_ALL;
  for (int k = 0; k < 8; ++k) {
    float x, y, z, w;
    Apply(m, pCorners[k], &x, &y, &z, &w);
    const uint32_t code = Q3DOutcode(x, y, z, w);
    any |= code;
    all &= code;
  }
  return all != 0 ? -1 : static_cast<int32_t>(any);
}

uint32_t Q3DVertexListProject(Q3DVertexList* pList, uint32_t first, uint32_t count, const QMathMatrix* pObject,
                              const Q3DCamera* pCamera) {
  if (!GrowArray(&pList->pScreen, &pList->uScreenCapacity, pList->uCount)) {
    pList->uState &= ~(Q3D_VL_SCREEN_VALID | Q3D_VL_CLIP_VALID);
    return 7;
  }
  QMathMatrix m;
  Combine(&m, pObject, &pCamera->mScreen);
  const uint32_t end = RunEnd(pList, first, count);
  for (uint32_t i = first; i < end; ++i) {
    float x, y, z, w;
    Apply(m, pList->pVertices[i], &x, &y, &z, &w);
    pList->pScreen[i] = Q3DScreenCoord{x / w, y / w, z / w, 1.0f / w};
  }
  pList->uState = (pList->uState | Q3D_VL_SCREEN_VALID) & ~Q3D_VL_CLIP_VALID;
  return 0;
}

uint32_t Q3DVertexListClipTransform(Q3DVertexList* pList, uint32_t first, uint32_t count,
                                    const QMathMatrix* pObject, const Q3DCamera* pCamera) {
  const bool ok = GrowArray(&pList->pScreen, &pList->uScreenCapacity, pList->uCount) &&
                  GrowArray(&pList->pClip, &pList->uClipCapacity, pList->uCount) &&
                  GrowArray(&pList->pOutcodes, &pList->uOutcodeCapacity, pList->uCount);
  if (!ok) {
    pList->uState &= ~(Q3D_VL_SCREEN_VALID | Q3D_VL_CLIP_VALID);
    return 7;
  }
  QMathMatrix m;
  Combine(&m, pObject, &pCamera->mViewProj);
  const uint32_t end = RunEnd(pList, first, count);
  for (uint32_t i = first; i < end; ++i) {
    float x, y, z, w;
    Apply(m, pList->pVertices[i], &x, &y, &z, &w);
    pList->pClip[i] = Q3DClipCoord{x, y, z, w};
    const uint32_t code = Q3DOutcode(x, y, z, w);
    pList->pOutcodes[i] = code;
    if (code == 0) pList->pScreen[i] = Q3DScreenCoord{SX(pCamera, x, w), SY(pCamera, y, w), z / w, 1.0f / w};
  }
  pList->uState = (pList->uState | Q3D_VL_CLIP_VALID) & ~Q3D_VL_SCREEN_VALID;
  return 0;
}

void Q3DLineClip() {
  Q3DClipContext& c = q3dClipContext;
  Q3DClipVertex* pIn = c.pIn;
  Q3DClipVertex* pOut = c.pOut;
  bool any = false;
  uint32_t n = c.uCount;
  const uint32_t floats = c.uFloats > 10 ? 10 : c.uFloats;
  for (uint32_t bit = 1; bit <= 32; bit <<= 1) {
    if (!(c.uPlaneMask & bit)) continue;  // a plane outside the mask writes nothing
    if (any) {
      Q3DClipVertex* t = pIn;
      pIn = pOut;
      pOut = t;
    }
    any = true;
    if (n < 2) {
      n = 0;
      continue;
    }
    auto dist = [bit](const Q3DClipVertex& v) {
      const float x = v.af[0], y = v.af[1], z = v.af[2], w = v.af[3];
      switch (bit) {
        case 1: return x;
        case 2: return w - x;
        case 4: return y;
        case 8: return w - y;
        case 16: return z;
        default: return w - z;
      }
    };
    const Q3DClipVertex& A = pIn[0];
    const Q3DClipVertex& B = pIn[1];
    const float dA = dist(A), dB = dist(B);
    const uint32_t code = (std::signbit(dA) ? 1u : 0u) | (std::signbit(dB) ? 2u : 0u);
    auto lerp = [&](Q3DClipVertex* pV) {
      const float den = dA - dB;
      // -0.0 against +0.0 gives 0 / 0: the crossing is the end point itself.
      const float t = den == 0.0f ? 0.0f : dA / den;
      *pV = A;
      for (uint32_t k = 0; k < floats; ++k) pV->af[k] = A.af[k] + t * (B.af[k] - A.af[k]);
      pV->auColour[0] = pV->auColour[1] = 0xFFFFFFFFu;
    };
    switch (code) {
      case 0:
        pOut[0] = A;
        pOut[1] = B;
        n = 2;
        break;
      case 1:
        lerp(&pOut[0]);
        pOut[1] = B;
        n = 2;
        break;
      case 2:
        pOut[0] = A;
        lerp(&pOut[1]);
        n = 2;
        break;
      default:
        n = 0;
        break;
    }
  }
  c.uCount = n;
  c.pOut = any ? pOut : pIn;
}

int32_t Q3DLineProject(Q3DLine* pLine, const QMathVec3* pA, const QMathVec3* pB, const Q3DCamera* pCamera) {
  const QMathMatrix& m = pCamera->mViewProj;
  float c[2][4];
  Apply(m, *pA, &c[0][0], &c[0][1], &c[0][2], &c[0][3]);
  Apply(m, *pB, &c[1][0], &c[1][1], &c[1][2], &c[1][3]);
  const uint32_t oa = Q3DOutcode(c[0][0], c[0][1], c[0][2], c[0][3]);
  const uint32_t ob = Q3DOutcode(c[1][0], c[1][1], c[1][2], c[1][3]);
  if (oa == 0) {
    pLine->afA[0] = SX(pCamera, c[0][0], c[0][3]);
    pLine->afA[1] = SY(pCamera, c[0][1], c[0][3]);
  }
  if (ob == 0) {
    pLine->afB[0] = SX(pCamera, c[1][0], c[1][3]);
    pLine->afB[1] = SY(pCamera, c[1][1], c[1][3]);
  }
  pLine->uOutcodeA = oa;
  pLine->uOutcodeB = ob;
  if (oa & ob) return -1;
  if ((oa | ob) == 0) return 0;
  Q3DClipContext& ctx = q3dClipContext;
  ctx.uPlaneMask = oa | ob;
  ctx.uCount = 2;
  ctx.uFloats = 4;
  ctx.pIn = ctx.aBuffer0;
  ctx.pOut = ctx.aBuffer1;
  for (int e = 0; e < 2; ++e) {
    Q3DClipVertex& v = ctx.aBuffer0[e];
    std::memset(&v, 0, sizeof v);
    for (int k = 0; k < 4; ++k) v.af[k] = c[e][k];
    v.auColour[0] = v.auColour[1] = 0xFFFFFFFFu;
  }
  Q3DLineClip();
  if (ctx.uCount < 2) return -1;
  const Q3DClipVertex* r = ctx.pOut;
  if (oa != 0) {
    pLine->afA[0] = SX(pCamera, r[0].af[0], r[0].af[3]);
    pLine->afA[1] = SY(pCamera, r[0].af[1], r[0].af[3]);
  }
  if (ob != 0) {
    pLine->afB[0] = SX(pCamera, r[1].af[0], r[1].af[3]);
    pLine->afB[1] = SY(pCamera, r[1].af[1], r[1].af[3]);
  }
  return static_cast<int32_t>(oa | ob);
}
