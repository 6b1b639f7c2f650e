#include "scene3d/goals3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/math/qmatrix.h"
#include "render3d/q3d_transform.h"
#include "scene3d/model.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/scene3d_services.h"
#include "scene3d/texture.h"

GoalNet* goals_apoNets[2] = {nullptr, nullptr};
// Depth of the goal net in inches (world units / 4), the value of the style
// loaded last; the ball's goal test reads it before any style is loaded.
std::int32_t goals_NetDepth = 60;

namespace {

constexpr float kGoalLine = 59.4367f;

NetGeometry g_oGeometry;
Q3DImageTexture* g_poNetTexture = nullptr;
Q3DImageTexture* g_poFrameTexture = nullptr;
Q3DMaterial* g_poNetMaterial = nullptr;
Q3DMaterial* g_poFrameMaterial = nullptr;
// The frame models of the style: posts (with what holds the net) and bar.
ModelRecord* g_apoFrame[2] = {nullptr, nullptr};

void Map(Q3DTexel* out, const float* uv, const Q3DImageTexture* t) {
  const uint32_t w = t != nullptr ? t->uWidth : 64, h = t != nullptr ? t->uHeight : 64;
  if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(out, uv, w, h);
  else *out = Q3DTexel{uv[0], uv[1]};
}

// A point of the world in a goal's own frame (the rotation's transpose).
QMathVec3 ToGoal(const QMathMatrix& m, const QMathVec3& p) {
  const float x = p.x - m.m[12], y = p.y - m.m[13], z = p.z - m.m[14];
  return QMathVec3{x * m.m[0] + y * m.m[1] + z * m.m[2], x * m.m[4] + y * m.m[5] + z * m.m[6],
                   x * m.m[8] + y * m.m[9] + z * m.m[10]};
}

void Transform(Q3DVertexList* v, const QMathMatrix* m, int32_t clip) {
  if (v->uCount == 0 || scene3d_poCamera == nullptr) return;
  if (clip == 0) Q3DVertexListProject(v, 0, v->uCount, m, scene3d_poCamera);
  else Q3DVertexListClipTransform(v, 0, v->uCount, m, scene3d_poCamera);
}

}  // namespace

// ---- Pieces --------------------------------------------------------------------------------

void GoalPiece::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || poGoal == nullptr || poFaces == nullptr || poGoal->iClip == 63 || poFaces->uCount == 0) return;
  d->BatchBegin(0);
  d->RenderStateSet(4, uDrawFlag);
  d->TextureSet(poMaterial);
  d->MeshDraw(poFaces, scene3d_poCamera, static_cast<uint32_t>(poGoal->iClip));
  d->BatchEnd();
}

// ---- Goals ---------------------------------------------------------------------------------

GoalNet::GoalNet(const NetGeometry* g, int32_t index) : iIndex(index) {
  goalnet_StateInit(&oState, g);
  QMathMatrixIdentity(&mLocal);
  QMathMatrixSetRotateY(&mLocal, index == 0 ? 49152 : 16384);
  const QMathVec3 at{index == 0 ? -kGoalLine : kGoalLine, 0.0f, 0.0f};
  QMathMatrixSetTranslation(&mLocal, &at);
  oNetVertices.uCount = static_cast<uint32_t>(oState.aVertices.size());
  oNetVertices.pVertices = oState.aVertices.data();
  // The net's faces with their texels mapped onto the net texture.
  aNetFaces.resize(g->aFaces.size());
  for (size_t i = 0; i < g->aFaces.size(); ++i)
    for (int k = 0; k < 3; ++k) {
      aNetFaces[i].auIndex[k] = g->aFaces[i].auIndex[k];
      Map(&aNetFaces[i].aTexel[k], g->aFaces[i].afTexel[k], g_poNetTexture);
    }
  for (int m = 0; m < 4; ++m) {
    aoNet[m].uCount = static_cast<uint32_t>(g->aiMeshCount[m]);
    aoNet[m].pFaces = aNetFaces.data() + g->aiMeshFirst[m];
    aoNet[m].pVertexList = &oNetVertices;
  }
  // The frame: the posts' model split by side, and the bar.
  for (int part = 0; part < 2; ++part) {
    const ModelRecord* r = g_apoFrame[part];
    if (r == nullptr) continue;
    aFrameVertices[part].assign(r->pVertices, r->pVertices + r->uVertexCount);
    aoFrameVertices[part].uCount = r->uVertexCount;
    aoFrameVertices[part].pVertices = aFrameVertices[part].data();
    for (uint32_t i = 0; i < r->uFaceCount; ++i) {
      const ModelFace& f = r->pFaces[i];
      Q3DFace out{};
      float cx = 0;
      for (int k = 0; k < 3; ++k) {
        out.auIndex[k] = f.auIndex[k];
        Map(&out.aTexel[k], &f.afUV[2 * k], g_poFrameTexture);
        cx += r->pVertices[f.auIndex[k]].x;
      }
      const int into = part == 1 ? 2 : (cx < 0 ? 0 : 1);
      aFrameFaces[into].push_back(out);
    }
  }
  for (int p = 0; p < GOAL_FRAME_PARTS; ++p) {
    aoFrame[p].uCount = static_cast<uint32_t>(aFrameFaces[p].size());
    aoFrame[p].pFaces = aFrameFaces[p].data();
    aoFrame[p].pVertexList = &aoFrameVertices[p == 2 ? 1 : 0];
  }
  const GoalParams& gp = g->oParams;
  const float hw = g->fHalfWidth, deep = std::max(gp.fTopDepth, gp.fGroundDepth);
  for (int m = 0; m < 4; ++m) {
    GoalPiece& pc = aoPieces[m];
    pc.poGoal = this;
    pc.poFaces = &aoNet[m];
    pc.poMaterial = g_poNetMaterial;
    pc.uDrawFlag = 32;
  }
  aoPieces[kNetBack].oCentre = QMathVec3{0, gp.fBackHeight * 0.5f, deep};
  aoPieces[kNetRoof].oCentre = QMathVec3{0, (gp.fBarHeight + gp.fBackHeight) * 0.5f, gp.fTopDepth * 0.5f};
  aoPieces[kNetSideLow].oCentre = QMathVec3{-hw, gp.fBarHeight * 0.5f, deep * 0.5f};
  aoPieces[kNetSideHigh].oCentre = QMathVec3{hw, gp.fBarHeight * 0.5f, deep * 0.5f};
  for (int p = 0; p < GOAL_FRAME_PARTS; ++p) {
    GoalPiece& pc = aoPieces[4 + p];
    pc.poGoal = this;
    pc.poFaces = &aoFrame[p];
    pc.poMaterial = g_poFrameMaterial;
    pc.uDrawFlag = 16;
    pc.oCentre = p == 2 ? QMathVec3{0, gp.fBarHeight, 0} : QMathVec3{p == 0 ? -hw : hw, gp.fBarHeight * 0.5f, 0};
  }
  const QMathVec3 box[2] = {{-hw - 0.4f, 0.0f, -0.4f}, {hw + 0.4f, gp.fBarHeight + 0.4f, deep + 0.4f}};
  Q3DBoundsFromPoints(&oBounds, box, 2);
}

GoalNet::~GoalNet() {
  Q3DVertexListRelease(&oNetVertices);
  for (Q3DVertexList& v : aoFrameVertices) Q3DVertexListRelease(&v);
}

void goalnet_PanelOrder(const NetGeometry& g, const QMathVec3& c, int32_t out[4]) {
  const GoalParams& p = g.oParams;
  // Each plane's outer side (away from the goal mouth) is the camera's side
  // when the test is positive; the part on the camera's side goes last.
  const bool overRoof = (c.y - p.fBarHeight) * p.fTopDepth - c.z * (p.fBackHeight - p.fBarHeight) > 0.0f;
  const bool behindBack =
      (c.z - p.fTopDepth) * p.fBackHeight + (c.y - p.fBackHeight) * (p.fGroundDepth - p.fTopDepth) > 0.0f;
  const bool beyondHigh = c.x > g.fHalfWidth;
  int32_t sides[2] = {kNetSideHigh, kNetSideLow};
  if (beyondHigh) std::swap(sides[0], sides[1]);
  int32_t rest[3];
  if (behindBack) {
    rest[0] = sides[0];
    rest[1] = sides[1];
    rest[2] = kNetBack;
  } else {
    rest[0] = kNetBack;
    rest[1] = sides[0];
    rest[2] = sides[1];
  }
  int n = 0;
  if (!overRoof) out[n++] = kNetRoof;
  for (int32_t r : rest) out[n++] = r;
  if (overRoof) out[n++] = kNetRoof;
}

void GoalNet::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  for (int p = 0; p < GOAL_FRAME_PARTS; ++p) aoPieces[4 + p].Draw();
  if (iClip == 63) return;
  d->BatchBegin(0);
  d->TextureSet(g_poNetMaterial);
  d->RenderStateSet(4, 32);
  int32_t order[4];
  goalnet_PanelOrder(*oState.pGeometry, ToGoal(mLocal, scene3d_oCameraPosition), order);
  for (int32_t m : order)
    if (aoNet[m].uCount != 0) d->MeshDraw(&aoNet[m], scene3d_poCamera, static_cast<uint32_t>(iClip));
  d->BatchEnd();
}

int32_t goalnet_PathApply(GoalNet* g, int32_t enginePanel, uint32_t tick, const float afStart[3],
                          const float afEnd[3], float speed) {
  if (g == nullptr) return 0;
  const QMathVec3 a = ToGoal(g->mLocal, QMathVec3{afStart[0], afStart[1], afStart[2]});
  const QMathVec3 b = ToGoal(g->mLocal, QMathVec3{afEnd[0], afEnd[1], afEnd[2]});
  return goalnet_HitApply(&g->oState, goalnet_iPanelForGoal(enginePanel, g->iIndex == 1), tick, a, b, speed);
}

void goalnet_TimeSet(GoalNet* g, int32_t bExternal, int32_t iTick) {
  if (g == nullptr) return;
  g->bExternalTime = bExternal;
  if (bExternal) g->fSeconds = static_cast<float>(iTick - static_cast<int32_t>(g->oState.oHit.uTick)) / 30.0f;
}

void goalnet_ViewUpdate(GoalNet* g) {
  if (g == nullptr || scene3d_poCamera == nullptr) return;
  // The animation is brought to this frame before the vertices are
  // transformed, so the net drawn is the net of the frame.
  if (g->oState.bActive) {
    const float t = g->bExternalTime
                        ? g->fSeconds
                        : static_cast<float>(scene3d_iMatchFrameGet() - static_cast<int32_t>(g->oState.oHit.uTick)) / 30.0f;
    goalnet_Animate(&g->oState, std::max(t, 0.0f));
  }
  if (g->oBounds.bStale != 0) Q3DBoundsCornersUpdate(&g->oBounds);
  const int32_t clip = model_iBoxOutcodes(g->oBounds.aCorner, &g->mLocal, scene3d_poCamera);
  g->iClip = clip == -1 ? 63 : clip;
  if (g->iClip == 63) return;
  g->oNetVertices.pVertices = g->oState.aVertices.data();
  Transform(&g->oNetVertices, &g->mLocal, g->iClip);
  for (Q3DVertexList& v : g->aoFrameVertices) Transform(&v, &g->mLocal, g->iClip);
}

void goalnet_DrawSoftware(GoalNet* g, SortList* list) {
  if (g == nullptr || list == nullptr || g->iClip == 63) return;
  for (GoalPiece& pc : g->aoPieces) {
    if (pc.poFaces == nullptr || pc.poFaces->uCount == 0) continue;
    QMathVec3 world;
    const QMathVec3& c = pc.oCentre;
    const QMathMatrix& m = g->mLocal;
    world.x = c.x * m.m[0] + c.y * m.m[4] + c.z * m.m[8] + m.m[12];
    world.y = c.x * m.m[1] + c.y * m.m[5] + c.z * m.m[9] + m.m[13];
    world.z = c.x * m.m[2] + c.y * m.m[6] + c.z * m.m[10] + m.m[14];
    QMathMatrixIdentity(&pc.mLocal);
    QMathMatrixSetTranslation(&pc.mLocal, &world);
    pc.ViewPositionCompute();
    list->Add(&pc, pc.oViewPosition.z);
  }
}

// ---- Loading -------------------------------------------------------------------------------

int32_t goals_iMatchStyle() {
  int32_t edition = scene3d_iHomeKitEditionGet();
  if (edition < 0) edition = 0;
  if (edition > 10) edition = 10;
  return goals_iStyleGet(edition, scene3d_bHistoryFinalsGet() != 0);
}

void goals_Load(int32_t style) {
  goals_Free();
  const bool software = scene3d_bSoftware != 0;
  g_poNetTexture = texture_poLoad(software ? "goals\\SWnet2.tga" : "goals\\net.tga", nullptr, 1, -1);
  g_poFrameTexture = texture_poLoad("goals\\goalpopo.tga", nullptr, 1, -1);
  g_poNetMaterial = new Q3DMaterial(g_poNetTexture);
  g_poFrameMaterial = new Q3DMaterial(g_poFrameTexture);
  const GoalParams p = goals_ParamsGet(style, software);
  goals_NetDepth = goals_iNetDepthInches(p);
  netgeom_Build(&g_oGeometry, p);
  const char* era = style == 2 ? "78" : (style == 3 ? "74" : "62");
  char name[48];
  for (int k = 0; k < 2; ++k) {
    std::snprintf(name, sizeof name, k ? "Goals\\%sbar.pcs" : "Goals\\%spostb.pcs", era);
    g_apoFrame[k] = model_poPCSLoad(name);
    if (g_apoFrame[k] == nullptr) std::fprintf(stderr, "goals: the model %s cannot be read: %s\n", name, model_LastError());
  }
  for (int i = 0; i < 2; ++i) goals_apoNets[i] = new GoalNet(&g_oGeometry, i);
  for (ModelRecord*& m : g_apoFrame) {
    model_Free(m);
    m = nullptr;
  }
}

void goals_Free() {
  for (GoalNet*& g : goals_apoNets) {
    delete g;
    g = nullptr;
  }
  for (Q3DMaterial** m : {&g_poNetMaterial, &g_poFrameMaterial}) {
    if (*m != nullptr) Q3DMaterialReset(*m);
    delete *m;
    *m = nullptr;
  }
  texture_Free(g_poNetTexture);
  texture_Free(g_poFrameTexture);
  g_poNetTexture = g_poFrameTexture = nullptr;
  netgeom_Free(&g_oGeometry);
}
