#include "scene3d/netgeom.h"

#include <algorithm>
#include <cmath>

int32_t goals_iStyleGet(int32_t homeKitEdition, bool bHistoryFinals) {
  switch (homeKitEdition) {
    case 4: case 6: case 7: case 8: return bHistoryFinals ? 3 : 1;
    case 5: return bHistoryFinals ? 2 : 1;
    case 9: case 10: return 3;
    default: return 1;
  }
}

GoalParams goals_ParamsGet(int32_t style, bool bSoftware) {
  GoalParams p{7.3152f, 2.4384f, 2.286f, 1.22f, 1.46f, 0.3048f, 0.2f, 0.0f, bSoftware ? 1.0f : 30.0f};
  if (style == 2) {
    p.fBackHeight = p.fBarHeight;
    p.fGroundDepth += 0.3048f;
  } else {
    p.fGroundDepth += 0.6096f;
    if (style == 3) p.fTopDepth += 0.6096f;
  }
  return p;
}

int32_t goals_iNetDepthInches(const GoalParams& p) {
  return static_cast<int32_t>(std::min(p.fTopDepth, p.fGroundDepth) * 39.37f);
}

float netgeom_fProfileDepth(const NetGeometry& g, float y) {
  const GoalParams& p = g.oParams;
  if (y <= p.fBackHeight) {
    if (p.fBackHeight <= 0) return p.fTopDepth;
    return p.fGroundDepth + (p.fTopDepth - p.fGroundDepth) * y / p.fBackHeight;
  }
  const float rise = p.fBarHeight - p.fBackHeight;
  if (rise <= 0) return 0;
  return p.fTopDepth * (p.fBarHeight - y) / rise;
}

namespace {

// The profile point at distance s from the ground line: up the back, then
// over the roof to the crossbar. Out: height y and depth z.
void ProfilePoint(const NetGeometry& g, float s, float* y, float* z) {
  const GoalParams& p = g.oParams;
  if (s <= g.fBackLength || g.fRoofLength <= 0) {
    const float k = g.fBackLength > 0 ? std::min(s / g.fBackLength, 1.0f) : 0.0f;
    *y = p.fBackHeight * k;
    *z = p.fGroundDepth + (p.fTopDepth - p.fGroundDepth) * k;
  } else {
    const float k = std::min((s - g.fBackLength) / g.fRoofLength, 1.0f);
    *y = p.fBackHeight + (p.fBarHeight - p.fBackHeight) * k;
    *z = p.fTopDepth * (1.0f - k);
  }
}

float Weight(float u, float bigU, float v, float bigL) {
  return u * (bigU - u) * v * (bigL - v) / (bigU * bigU * bigL * bigL);
}

void AddCellFaces(NetGeometry* g, int32_t base, int32_t k, int32_t r, int32_t c) {
  const uint32_t a = static_cast<uint32_t>(base + r * k + c), b = static_cast<uint32_t>(base + (r + 1) * k + c);
  NetFace f1{{a, b, b + 1}, {}, 0}, f2{{a, b + 1, a + 1}, {}, 0};
  for (NetFace* f : {&f1, &f2})
    for (int i = 0; i < 3; ++i) {
      f->afTexel[i][0] = g->afTexels[2 * f->auIndex[i]];
      f->afTexel[i][1] = g->afTexels[2 * f->auIndex[i] + 1];
    }
  g->aFaces.push_back(f1);
  g->aFaces.push_back(f2);
}

}  // namespace

void netgeom_Free(NetGeometry* g) { *g = NetGeometry{}; }

void netgeom_Build(NetGeometry* g, const GoalParams& p) {
  netgeom_Free(g);
  g->oParams = p;
  g->fHalfWidth = p.fWidth * 0.5f;
  g->fRoofLength = std::hypot(p.fTopDepth, p.fBarHeight - p.fBackHeight);
  g->fBackLength = std::hypot(p.fGroundDepth - p.fTopDepth, p.fBackHeight);
  g->fProfileLength = g->fRoofLength + g->fBackLength;
  g->iColumns = static_cast<int32_t>(std::floor(p.fWidth / p.fCell)) + 1;
  g->iRows = static_cast<int32_t>(std::floor(g->fProfileLength / p.fCell)) + 1;
  g->fColumnStep = p.fWidth / static_cast<float>(g->iColumns - 1);
  g->fRowStep = g->fProfileLength / static_cast<float>(g->iRows - 1);
  const int32_t backRows = static_cast<int32_t>(std::floor(g->fBackLength / g->fRowStep)) + 1;
  const float nearest = static_cast<float>(backRows - 1) * g->fRowStep;
  g->bBackTopOnRow = std::fabs(g->fBackLength - nearest) <= 0.0254f ||
                     std::fabs(g->fBackLength - (nearest + g->fRowStep)) <= 0.0254f;
  g->iSideRows = g->bBackTopOnRow ? backRows - 1 : backRows;
  g->iSideColumns = 4;
  g->fSideDepth = (p.fTopDepth + p.fGroundDepth) * 0.5f;
  g->fUnfolded = p.fWidth + 2 * g->fSideDepth;
  const int32_t sideVerts = g->iSideRows * (g->iSideColumns + 1);
  g->iMainCount = g->iColumns * g->iRows;
  g->iOneSideCount = g->iMainCount + sideVerts;
  g->iAllCount = g->iOneSideCount + sideVerts;

  const float W = p.fWidth, L = g->fProfileLength, c = g->fSideDepth, U = g->fUnfolded;
  const float texScale = (p.fTexEnd - p.fTexStart) / (2 * std::max(p.fTopDepth, p.fGroundDepth) + W);
  const float texLeft = std::max(p.fTopDepth, p.fGroundDepth);
  g->aRest.resize(static_cast<size_t>(g->iAllCount));
  g->afTexels.resize(static_cast<size_t>(g->iAllCount) * 2);
  g->aRecords.resize(static_cast<size_t>(g->iAllCount));
  auto put = [&](int32_t i, QMathVec3 pos, float u, float v) {
    g->aRest[static_cast<size_t>(i)] = pos;
    g->aRecords[static_cast<size_t>(i)] = NetRecord{Weight(u + c, U, v, L), u, v};
    g->afTexels[2 * static_cast<size_t>(i)] = p.fTexStart + (u + texLeft) * texScale;
    g->afTexels[2 * static_cast<size_t>(i) + 1] = p.fTexStart + (L - v) * texScale;
  };
  // Main grid, sagging at rest.
  for (int32_t j = 0; j < g->iRows; ++j)
    for (int32_t i = 0; i < g->iColumns; ++i) {
      const float s = j == g->iRows - 1 ? L : static_cast<float>(j) * g->fRowStep;
      const float x = i == g->iColumns - 1 ? W : static_cast<float>(i) * g->fColumnStep;
      float y, z;
      ProfilePoint(*g, s, &y, &z);
      y -= 6.096f * Weight(x, W, s, L);
      put(j * g->iColumns + i, QMathVec3{x - g->fHalfWidth, y, z}, x, s);
    }
  // Side panels: each row from the post to the matching point of the back.
  const float sideV = (p.fBarHeight + p.fBackHeight) * 0.5f / static_cast<float>(std::max(g->iSideRows, 1));
  for (int32_t side = 0; side < 2; ++side) {
    const int32_t base = side == 0 ? g->iMainCount : g->iOneSideCount;
    const float x = side == 0 ? -g->fHalfWidth : g->fHalfWidth;
    for (int32_t r = 0; r < g->iSideRows; ++r) {
      float y, z;
      ProfilePoint(*g, static_cast<float>(r) * g->fRowStep, &y, &z);
      for (int32_t k = 0; k <= g->iSideColumns; ++k) {
        const float f = static_cast<float>(k) / static_cast<float>(g->iSideColumns);
        const float u = side == 0 ? -c + c * f : W + c - c * f;
        put(base + r * (g->iSideColumns + 1) + k, QMathVec3{x, y, z * f}, u, static_cast<float>(r) * sideV);
      }
    }
  }
  // Faces: back, roof, then the two sides.
  const int32_t split = static_cast<int32_t>(std::floor(g->fBackLength / g->fRowStep)) + 1;
  g->aiMeshFirst[kNetBack] = 0;
  for (int32_t r = 0; r + 1 < g->iRows && r < split; ++r)
    for (int32_t cc = 0; cc + 1 < g->iColumns; ++cc) AddCellFaces(g, 0, g->iColumns, r, cc);
  g->aiMeshCount[kNetBack] = static_cast<int32_t>(g->aFaces.size());
  g->aiMeshFirst[kNetRoof] = static_cast<int32_t>(g->aFaces.size());
  for (int32_t r = split; r + 1 < g->iRows; ++r)
    for (int32_t cc = 0; cc + 1 < g->iColumns; ++cc) AddCellFaces(g, 0, g->iColumns, r, cc);
  g->aiMeshCount[kNetRoof] = static_cast<int32_t>(g->aFaces.size()) - g->aiMeshFirst[kNetRoof];
  for (int32_t side = 0; side < 2; ++side) {
    const int32_t base = side == 0 ? g->iMainCount : g->iOneSideCount;
    g->aiMeshFirst[kNetSideLow + side] = static_cast<int32_t>(g->aFaces.size());
    for (int32_t r = 0; r + 1 < g->iSideRows; ++r)
      for (int32_t k = 0; k < g->iSideColumns; ++k) AddCellFaces(g, base, g->iSideColumns + 1, r, k);
    g->aiMeshCount[kNetSideLow + side] = static_cast<int32_t>(g->aFaces.size()) - g->aiMeshFirst[kNetSideLow + side];
  }
}

void goalnet_StateInit(NetState* s, const NetGeometry* g) {
  s->pGeometry = g;
  s->aVertices = g->aRest;
  s->bActive = 0;
  s->oHit = NetHit{};
}

int32_t goalnet_iPanelForGoal(int32_t enginePanel, bool bGoalAtPlusX) {
  if (!bGoalAtPlusX) return enginePanel;
  if (enginePanel == 3) return 4;
  if (enginePanel == 4) return 3;
  return enginePanel;
}

namespace {

// Segment against one stretch of the profile (from (z0, y0) to (z1, y1) in the
// side view); the crossing must lie within the width. Out: the segment's
// parameter and the stretch's parameter.
bool ProfileCross(const NetGeometry& g, const QMathVec3& a, const QMathVec3& b, float z0, float y0, float z1, float y1,
                  float* t, float* k) {
  const float dz = b.z - a.z, dy = b.y - a.y, ez = z1 - z0, ey = y1 - y0;
  const float den = dz * ey - dy * ez;
  if (std::fabs(den) < 1e-9f) return false;
  const float qz = z0 - a.z, qy = y0 - a.y;
  *t = (qz * ey - qy * ez) / den;
  *k = (qz * dy - qy * dz) / den;
  if (*t < 0 || *t > 1 || *k < 0 || *k > 1) return false;
  const float x = a.x + (b.x - a.x) * *t;
  return x >= -g.fHalfWidth && x <= g.fHalfWidth;
}

bool RoofHit(const NetGeometry& g, const QMathVec3& a, const QMathVec3& b, QMathVec3* at, float* u, float* v) {
  const GoalParams& p = g.oParams;
  float t, k;
  if (g.fRoofLength <= 0 || !ProfileCross(g, a, b, 0, p.fBarHeight, p.fTopDepth, p.fBackHeight, &t, &k)) return false;
  *at = QMathVec3{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
  *u = at->x + g.fHalfWidth;
  *v = g.fProfileLength - k * g.fRoofLength;
  return true;
}

bool BackHit(const NetGeometry& g, const QMathVec3& a, const QMathVec3& b, QMathVec3* at, float* u, float* v) {
  const GoalParams& p = g.oParams;
  float t, k;
  if (!ProfileCross(g, a, b, p.fGroundDepth, 0, p.fTopDepth, p.fBackHeight, &t, &k)) return false;
  *at = QMathVec3{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
  *u = at->x + g.fHalfWidth;
  *v = k * g.fBackLength;
  return true;
}

bool SideHit(const NetGeometry& g, const QMathVec3& a, const QMathVec3& b, bool high, QMathVec3* at, float* u,
             float* v) {
  const float x = high ? g.fHalfWidth : -g.fHalfWidth;
  const float dx = b.x - a.x;
  if (std::fabs(dx) < 1e-9f) return false;
  const float t = (x - a.x) / dx;
  if (t < 0 || t > 1) return false;
  const QMathVec3 q{x, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
  const GoalParams& p = g.oParams;
  if (q.y < 0 || q.y > p.fBarHeight || q.z < 0) return false;
  const float depth = netgeom_fProfileDepth(g, q.y);
  if (q.z > depth || depth <= 0) return false;
  *at = q;
  const float c = g.fSideDepth, f = q.z / depth;
  *u = high ? p.fWidth + c - c * f : -c + c * f;
  *v = p.fBackHeight > 0 ? q.y * (p.fBarHeight + p.fBackHeight) * 0.5f / p.fBackHeight : 0;
  return true;
}

}  // namespace

int32_t goalnet_HitApply(NetState* s, int32_t panel, uint32_t tick, const QMathVec3& start, const QMathVec3& end,
                         float speed) {
  if (s->pGeometry == nullptr) return 0;
  const NetGeometry& g = *s->pGeometry;
  speed = std::clamp(speed, 20.0f, 70.0f);
  QMathVec3 at{};
  float u = 0, v = 0;
  bool hit = false;
  switch (panel) {
    case 1: hit = RoofHit(g, start, end, &at, &u, &v) || BackHit(g, start, end, &at, &u, &v); break;
    case 2: hit = RoofHit(g, start, end, &at, &u, &v); break;
    case 3:
    case 4:
      hit = SideHit(g, start, end, panel == 4, &at, &u, &v) || BackHit(g, start, end, &at, &u, &v) ||
            RoofHit(g, start, end, &at, &u, &v);
      break;
    default: break;
  }
  if (!hit) return 0;
  QMathVec3 d{end.x - start.x, end.y - start.y, end.z - start.z};
  const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  if (len > 0) d = QMathVec3{d.x / len, d.y / len, d.z / len};
  NetHit& h = s->oHit;
  h.oPoint = at;
  h.fU = u;
  h.fV = v;
  h.oDirection = d;
  h.fStrength = speed;
  h.fSeconds = 0;
  h.uTick = tick;
  h.uFlags = 3;
  h.fBulge = speed;
  s->bActive = 1;
  return 1;
}

float goalnet_fRipple(const NetGeometry& g, const NetHit& h, float u, float v, float t) {
  const float A = std::min(h.fStrength, 25.0f);
  const float env = t * std::exp(-2.0f * t);
  const float c = g.fSideDepth, W = g.oParams.fWidth, L = g.fProfileLength, half = g.fHalfWidth;
  const float lu = -2 * c - h.fU, ru = 2 * (W + c) - h.fU, bv = -h.fV, tv = 2 * L - h.fV;
  const struct {
    float iu, iv, sign;
  } images[9] = {{h.fU, h.fV, 1},  {lu, h.fV, -1}, {ru, h.fV, -1}, {h.fU, bv, -1}, {h.fU, tv, -1},
                 {lu, bv, 1},      {lu, tv, 1},    {ru, bv, 1},    {ru, tv, 1}};
  float sum = 0;
  for (const auto& im : images) {
    const float du = std::fabs(u - im.iu), dv = std::fabs(v - im.iv);
    const float d = std::max({du, dv, (du + dv) * 0.70710677f});
    sum += std::sin(half * 0.5f * d + t * 4.1887903f) * (0.4f * A * im.sign) * env / (1.2f * d * d + 10.0f);
  }
  return sum;
}

void goalnet_Animate(NetState* s, float t) {
  if (!s->bActive || s->pGeometry == nullptr) return;
  const NetGeometry& g = *s->pGeometry;
  NetHit& h = s->oHit;
  h.fSeconds = t;
  float bulge = 0;
  if (h.uFlags & 2) {
    const float e = std::exp(-1.0f * t);
    h.fBulge = e * h.fStrength;
    bulge = 0.4f * h.fBulge;
    if (e < 0.001f) h.uFlags &= ~2u;
  }
  const bool ripple = (h.uFlags & 1) != 0;
  if (ripple && t * std::exp(-2.0f * t) < 0.001f && t > 0) h.uFlags &= ~1u;
  if (h.uFlags == 0 || t > 3.0f) {
    s->aVertices = g.aRest;
    h = NetHit{};
    s->bActive = 0;
    return;
  }
  for (size_t i = 0; i < s->aVertices.size(); ++i) {
    const NetRecord& r = g.aRecords[i];
    float k = 0;
    if (h.uFlags & 2) {
      const float du = r.fU - h.fU, dv = r.fV - h.fV;
      k += bulge * r.fWeight / (du * du + dv * dv + 1.009934f);
    }
    if (h.uFlags & 1) k += goalnet_fRipple(g, h, r.fU, r.fV, t);
    const QMathVec3& rest = g.aRest[i];
    s->aVertices[i] = QMathVec3{rest.x + h.oDirection.x * k, rest.y + h.oDirection.y * k, rest.z + h.oDirection.z * k};
  }
}
