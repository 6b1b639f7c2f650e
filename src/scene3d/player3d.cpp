#include "scene3d/player3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "framework/math/qmatrix.h"
#include "framework/math/qquat.h"
#include "render3d/q3d_transform.h"
#include "scene3d/kits_slots.h"
#include "scene3d/loading.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/shadows3d.h"

const QMathVec3 player3d_avSegmentCentres[PLAYER3D_SEGMENTS] = {
    {0.00131f, 0.00227f, -0.09397f},  {-0.00418f, -0.00246f, -0.09372f}, {-0.00473f, 0.00048f, -0.07870f},
    {-0.00067f, 0.09240f, 0.00573f},  {-0.00096f, 0.00141f, 0.16759f},   {-0.00184f, 0.00400f, 0.08793f},
    {-0.00067f, -0.09056f, 0.00298f}, {-0.00038f, 0.00013f, 0.17312f},   {0.00091f, 0.00030f, 0.08546f},
    {0.01196f, -0.00011f, -0.06902f}, {-0.00085f, -0.00173f, -0.06413f}, {-0.00092f, -0.00381f, 0.27826f},
    {-0.00346f, 0.00107f, 0.24603f},  {-0.04517f, -0.00132f, -0.00214f}, {0.00132f, 0.00300f, 0.26383f},
    {0.00208f, 0.00071f, 0.25172f},   {0.00202f, 0.00086f, 0.07842f},
};

float player3d_afLevelDistances[4] = {9.0f, 22.5f, 49.5f, 63.0f};

const QMathMatrix player3d_mMirror = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}};

namespace {

constexpr float kMetresPerUnit = 0.0063500772f;
constexpr float kUnitsPerMetre = 157.4784f;

std::map<std::string, ModelRecord*>& Cache() {
  static std::map<std::string, ModelRecord*> cache;
  return cache;
}

const PlayerSegmentEntry* Entries(const ModelRecord* m) {
  return reinterpret_cast<const PlayerSegmentEntry*>(m->pExtras);
}

// R: the rotation of a segment pose with its origin as translation.
void PoseMatrix(QMathMatrix* r, const float* p) {
  QMathMatrixIdentity(r);
  const QMathQuat q = {p[3], p[4], p[5], p[6]};
  QMathMatrixFromQuat(r, &q);
  r->m[12] = p[0];
  r->m[13] = p[1];
  r->m[14] = p[2];
  r->m[3] = r->m[7] = r->m[11] = 0.0f;
  r->m[15] = 1.0f;
}

// Upper 3x3 of a x b, with b's translation.
void Rotate3(QMathMatrix* out, const QMathMatrix& a, const QMathMatrix& b) {
  QMathMatrix o;
  QMathMatrixIdentity(&o);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 3; ++k) s += a.m[4 * i + k] * b.m[4 * k + j];
      o.m[4 * i + j] = s;
    }
  o.m[12] = b.m[12];
  o.m[13] = b.m[13];
  o.m[14] = b.m[14];
  *out = o;
}

void Mul(QMathMatrix* out, const QMathMatrix& a, const QMathMatrix& b) {
  QMathMatrix o;
  QMathMatrixMultiply(&o, &a, &b);
  *out = o;
}

// The world's light, toward the sun: shading of the body's sides.
const float kLight[3] = {0.35f, 0.80f, 0.48f};

}  // namespace

void player3d_LevelDistancesSet(float scale) {
  static const float kBase[4] = {10.0f, 25.0f, 55.0f, 70.0f};
  for (int i = 0; i < 4; ++i) player3d_afLevelDistances[i] = kBase[i] * scale;
}

int32_t player3d_iLevelFor(float depth) {
  for (int32_t i = 0; i < 4; ++i)
    if (depth < player3d_afLevelDistances[i]) return i;
  return 4;
}

const char* player3d_pszModelCheck(const ModelRecord* m) {
  static char why[160];
  if (m == nullptr) return "no model";
  if (m->uExtraCount < PLAYER3D_SEGMENTS || m->pExtras == nullptr) return "fewer than 17 segment entries";
  const PlayerSegmentEntry* e = Entries(m);
  uint32_t sum = 0;
  int32_t depth = 0;
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    sum += static_cast<uint32_t>(e[s].uHalf) + e[s].uRigid;
    if (e[s].iPush > 0 && ++depth > PLAYER3D_SEGMENTS) return "too many saved matrices";
    if (e[s].iPop > 0 && --depth < 0) {
      std::snprintf(why, sizeof why, "segment %d restores a matrix never saved", static_cast<int>(s));
      return why;
    }
  }
  if (sum != m->uVertexCount) {
    std::snprintf(why, sizeof why, "segment vertex counts add up to %u, not %u", sum, m->uVertexCount);
    return why;
  }
  return "";
}

ModelRecord* player3d_poModelGet(const char* name, const char* path) {
  auto& cache = Cache();
  const auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  ModelRecord* m = model_poVSKLoad(path);
  if (m != nullptr) {
    const char* why = player3d_pszModelCheck(m);
    if (*why != 0) {
      std::fprintf(stderr, "player model %s refused: %s\n", path, why);
      model_Free(m);
      m = nullptr;
    }
  } else {
    std::fprintf(stderr, "%s\n", model_LastError());
  }
  cache.emplace(name, m);
  return m;
}

void player3d_ModelsRelease() {
  for (auto& kv : Cache()) model_Free(kv.second);
  Cache().clear();
}

void player3d_Walk(const PlayerSegmentEntry* e, const float* pose, const QMathMatrix* start,
                   const QMathMatrix* headTurn, QMathMatrix mats[PLAYER3D_SEGMENTS],
                   QMathMatrix half[PLAYER3D_SEGMENTS]) {
  QMathMatrix stack[PLAYER3D_SEGMENTS];
  int32_t depth = 0;
  QMathMatrix m = *start;
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    const float* p = pose + 7 * s;
    if (e[s].iPush > 0 && depth < PLAYER3D_SEGMENTS) stack[depth++] = m;
    if (half != nullptr) {
      QMathQuat q = {p[3], p[4], p[5], p[6]}, qh;
      QMathQuatScaleAngle(&qh, &q, 0.5f);
      QMathMatrix h;
      QMathMatrixIdentity(&h);
      QMathMatrixFromQuat(&h, &qh);
      Rotate3(&half[s], h, m);
      if (s == 10 && headTurn != nullptr) Mul(&half[s], *headTurn, half[s]);
    }
    QMathMatrix r;
    PoseMatrix(&r, p);
    Mul(&m, r, m);
    if (s == 10 && headTurn != nullptr) Mul(&m, *headTurn, m);
    mats[s] = m;
    if (e[s].iPop > 0 && depth > 0) m = stack[--depth];
  }
}

// ---- PlayerMesh --------------------------------------------------------------------------------

PlayerMesh::PlayerMesh(const ModelRecord* m) : poModel(m), paEntries(Entries(m)) {
  const uint32_t n = m->uVertexCount;
  oVertices.uCount = n;
  oVertices.pVertices = m->pVertices;
  paColours = new Q3DColour[n];
  pauVertexPart = new uint8_t[n];
  paNormals = new QMathVec3[n];
  for (uint32_t i = 0; i < n; ++i) {
    paColours[i] = Q3DColour{255, 255, 255, 255};
    pauVertexPart[i] = 255;
    paNormals[i] = QMathVec3{0, 0, 0};
  }
  oVertices.pColours = paColours;
  // Faces by segment: a face belongs to the segment of its first corner.
  std::vector<int32_t> segOf(n, -1);
  uint32_t start = 0;
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    const uint32_t end = std::min(n, start + paEntries[s].uHalf + paEntries[s].uRigid);
    for (uint32_t i = start; i < end; ++i) segOf[i] = s;
    start = end;
  }
  std::vector<uint32_t> faces[PLAYER3D_SEGMENTS];
  for (uint32_t f = 0; f < m->uFaceCount; ++f) {
    const ModelFace& fc = m->pFaces[f];
    const int32_t s = segOf[fc.auIndex[0]];
    if (s >= 0) faces[s].push_back(f);
    const QMathVec3& a = m->pVertices[fc.auIndex[0]];
    const QMathVec3& b = m->pVertices[fc.auIndex[1]];
    const QMathVec3& c = m->pVertices[fc.auIndex[2]];
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const QMathVec3 nrm{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
    for (uint32_t k : fc.auIndex) {
      paNormals[k].x += nrm.x;
      paNormals[k].y += nrm.y;
      paNormals[k].z += nrm.z;
      if (pauVertexPart[k] == 255) pauVertexPart[k] = static_cast<uint8_t>(fc.uPage > 18 ? 17 : fc.uPage);
    }
  }
  for (uint32_t i = 0; i < n; ++i) {
    QMathVec3& v = paNormals[i];
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (l > 0.0f) v = QMathVec3{v.x / l, v.y / l, v.z / l};
  }
  auto partOf = [m](uint32_t f) { return m->pFaces[f].uPage > 18 ? 17u : m->pFaces[f].uPage; };
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    // A segment's faces grouped by body part (each part is drawn with its
    // own texture), in model order within a part.
    std::stable_sort(faces[s].begin(), faces[s].end(), [&](uint32_t x, uint32_t y) { return partOf(x) < partOf(y); });
    auFaceOf[s] = faces[s];
    for (uint32_t i = 0; i < faces[s].size(); ++i) {
      const uint8_t part = static_cast<uint8_t>(partOf(faces[s][i]));
      if (aoRuns[s].empty() || aoRuns[s].back().uPart != part) aoRuns[s].push_back(Run{part, i, 0});
      ++aoRuns[s].back().uCount;
    }
    for (int32_t k = 0; k < 2; ++k) {
      Q3DFaceList& fl = aoFaces[s][k];
      fl.uCount = 0;
      fl.uFlags = Q3D_FACES_ONE_SIDED;
      fl.pVertexList = &oVertices;
      fl.pFaces = faces[s].empty() ? nullptr : new Q3DFace[faces[s].size()];
    }
  }
  // The model's faces are wound as the device keeps them (clockwise on
  // screen seen from outside); the mirror reflects the body, so the mirrored
  // lists reverse the corners.
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s)
    for (uint32_t f : faces[s]) {
      const ModelFace& fc = m->pFaces[f];
      Q3DFace& plain = aoFaces[s][0].pFaces[aoFaces[s][0].uCount++];
      Q3DFace& mirrored = aoFaces[s][1].pFaces[aoFaces[s][1].uCount++];
      for (int k = 0; k < 3; ++k) {
        plain.auIndex[k] = fc.auIndex[k];
        plain.aTexel[k] = Q3DTexel{fc.afUV[2 * k], fc.afUV[2 * k + 1]};
        mirrored.auIndex[k] = fc.auIndex[2 - k];
        mirrored.aTexel[k] = Q3DTexel{fc.afUV[2 * (2 - k)], fc.afUV[2 * (2 - k) + 1]};
      }
      plain.uSpare = mirrored.uSpare = 0;
    }
  std::memset(auMapped, 255, sizeof auMapped);
}

int32_t player3d_bAllPast(const float uv[6], int32_t part) {
  const float t = part == 0 || part == 1 ? 0.671875f : part == 5 || part == 6 ? 7.0f / 12.0f : 2.0f;
  return uv[0] > t && uv[2] > t && uv[4] > t ? 1 : 0;
}

void player3d_TexelPlace(float out[2], float u, float v, int32_t part, int32_t mirrored, int32_t allPast,
                         const float place[4], int32_t longSleeves) {
  float f = u, du = 0.0f, dv = 0.0f;
  if (mirrored) {
    switch (part) {
      case 0:
      case 1:
        f = allPast ? 1.671875f - u : 0.671875f - u;
        du = allPast ? (part == 0 ? 128.0f : -128.0f) : 0.0f;
        break;
      case 2:
      case 3:
        // With long sleeves both sleeves wear one texture: mirrored within it.
        f = 1.0f - u;
        dv = longSleeves ? 0.0f : part == 2 ? 64.0f : -64.0f;
        break;
      case 4:
      case 17:
      case 18: f = 1.0f - u; break;
      case 5:
      case 6:
        f = allPast ? 1.0f - u + 7.0f / 12.0f : 1.0f - u - 5.0f / 12.0f;
        du = allPast ? (part == 5 ? -96.0f : 96.0f) : 0.0f;
        break;
      default: break;
    }
  }
  out[0] = (f * place[2] + place[0] + du) / 256.0f;
  out[1] = (v * place[3] + place[1] + dv) / 256.0f;
}

void PlayerMesh::TexelsMap(const uint8_t* slots) {
  Q3DDevice* d = scene3d_poDevice;
  const int32_t longSleeves = slots[2] == slots[3] ? 1 : 0;
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s)
    for (uint32_t i = 0; i < auFaceOf[s].size(); ++i) {
      const ModelFace& fc = poModel->pFaces[auFaceOf[s][i]];
      const int32_t part = fc.uPage > 18 ? 17 : static_cast<int32_t>(fc.uPage);
      const uint8_t slot = slots[part];
      if (slot >= KITS_SLOTS) continue;
      const PlayerTextureSlot& t = kits_aTextureSlots[slot];
      const float place[4] = {t.fX, t.fY, t.fWidth, t.fHeight};
      const int32_t past = player3d_bAllPast(fc.afUV, part);
      for (int32_t k = 0; k < 3; ++k) {
        float uv[2];
        // The mirrored record's corner k is the face's corner 2 - k.
        player3d_TexelPlace(uv, fc.afUV[2 * k], fc.afUV[2 * k + 1], part, 0, past, place, longSleeves);
        if (d != nullptr) d->TexelMap(&aoFaces[s][0].pFaces[i].aTexel[k], uv, 256, 256);
        else aoFaces[s][0].pFaces[i].aTexel[k] = Q3DTexel{uv[0], uv[1]};
        player3d_TexelPlace(uv, fc.afUV[2 * (2 - k)], fc.afUV[2 * (2 - k) + 1], part, 1, past, place, longSleeves);
        if (d != nullptr) d->TexelMap(&aoFaces[s][1].pFaces[i].aTexel[k], uv, 256, 256);
        else aoFaces[s][1].pFaces[i].aTexel[k] = Q3DTexel{uv[0], uv[1]};
      }
    }
  std::memcpy(auMapped, slots, sizeof auMapped);
}

PlayerMesh::~PlayerMesh() {
  for (auto& pair : aoFaces)
    for (Q3DFaceList& fl : pair) delete[] fl.pFaces;
  oVertices.pColours = nullptr;
  Q3DVertexListRelease(&oVertices);
  delete[] paColours;
  delete[] pauVertexPart;
  delete[] paNormals;
}

uint32_t PlayerMesh::FaceCount() const {
  uint32_t n = 0;
  for (const auto& pair : aoFaces) n += pair[0].uCount;
  return n;
}

void PlayerMesh::Skin(const float* pose, const QMathMatrix* start, const QMathMatrix* headTurn, int32_t visibility,
                      const PlayerKit* kit, const Q3DColour* tint) {
  QMathMatrix mats[PLAYER3D_SEGMENTS], half[PLAYER3D_SEGMENTS];
  player3d_Walk(paEntries, pose, start, headTurn, mats, half);
  uint32_t cursor = 0;
  const uint32_t n = oVertices.uCount;
  auto run = [&](const QMathMatrix& m, uint32_t count) {
    if (count == 0 || cursor + count > n) return;
    if (visibility == 0) Q3DVertexListProject(&oVertices, cursor, count, &m, scene3d_poCamera);
    else Q3DVertexListClipTransform(&oVertices, cursor, count, &m, scene3d_poCamera);
    // The light in the run's own frame: the normal turned by m, dotted with it.
    float l[3];
    for (int i = 0; i < 3; ++i) l[i] = m.m[4 * i] * kLight[0] + m.m[4 * i + 1] * kLight[1] + m.m[4 * i + 2] * kLight[2];
    for (uint32_t v = cursor; v < cursor + count; ++v) {
      const uint8_t part = pauVertexPart[v];
      // Textured: white shading, the numbers in their tint; else the kit's
      // colour of the part.
      const Q3DColour base = tint != nullptr ? (part == 17 || part == 18 ? *tint : Q3DColour{255, 255, 255, 255})
                             : kit != nullptr && part < PLAYER3D_PARTS ? kit->aoPart[part]
                                                                       : Q3DColour{200, 200, 200, 255};
      const QMathVec3& nv = paNormals[v];
      const float d = nv.x * l[0] + nv.y * l[1] + nv.z * l[2];
      const float shade = 0.55f + 0.5f * std::max(0.0f, d);
      auto c = [&](uint8_t x) { return static_cast<uint8_t>(std::min(255.0f, static_cast<float>(x) * shade)); };
      paColours[v] = Q3DColour{c(base.r), c(base.g), c(base.b), 255};
    }
    cursor += count;
  };
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    run(half[s], paEntries[s].uHalf);
    run(mats[s], paEntries[s].uRigid);
  }
}

void PlayerMesh::JointsCompute(int32_t joints[PLAYER3D_SEGMENTS][3], const float* pose,
                               const QMathMatrix* start) const {
  QMathMatrix mats[PLAYER3D_SEGMENTS];
  player3d_Walk(paEntries, pose, start, nullptr, mats, nullptr);
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s)
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t v = static_cast<int32_t>(mats[s].m[12 + k] * kUnitsPerMetre);
      joints[s][k] = static_cast<int16_t>(static_cast<uint16_t>(v));
    }
}

void PlayerMesh::SegmentDepthsCompute(float depths[PLAYER3D_SEGMENTS], const float* pose, const QMathMatrix* start,
                                      const QMathMatrix* view) const {
  QMathMatrix m0;
  Mul(&m0, *start, *view);
  QMathMatrix mats[PLAYER3D_SEGMENTS];
  player3d_Walk(paEntries, pose, &m0, nullptr, mats, nullptr);
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    const QMathVec3& c = player3d_avSegmentCentres[s];
    const QMathMatrix& m = mats[s];
    depths[s] = c.x * m.m[2] + c.y * m.m[6] + c.z * m.m[10] + m.m[14];
  }
}

void PlayerMesh::SegmentDraw(int32_t s, int32_t mirrored, uint32_t visibility, const uint8_t* slots) {
  Q3DDevice* d = scene3d_poDevice;
  const Q3DFaceList& fl = aoFaces[s][mirrored ? 1 : 0];
  if (d == nullptr || fl.uCount == 0) return;
  if (slots == nullptr) {
    d->MeshDraw(&fl, scene3d_poCamera, visibility);
    return;
  }
  for (const Run& r : aoRuns[s]) {
    const uint8_t slot = slots[r.uPart];
    if (slot >= KITS_SLOTS) continue;  // a part dressed in nothing is not drawn
    const uint8_t page = kits_aTextureSlots[slot].uPage;
    d->TextureSet(page < LOADING_PAGE_MATERIALS ? loading_apoPageMaterial[page] : nullptr);
    Q3DFaceList run = fl;
    run.pFaces = fl.pFaces + r.uFirst;
    run.uCount = r.uCount;
    d->MeshDraw(&run, scene3d_poCamera, visibility);
  }
}

void PlayerMesh::DrawAll(int32_t mirrored, uint32_t visibility, const uint8_t* slots) {
  for (int32_t s = 0; s < PLAYER3D_SEGMENTS; ++s) SegmentDraw(s, mirrored, visibility, slots);
}

// ---- Player3D ----------------------------------------------------------------------------------

Player3D::Player3D(const char* code, const PlayerKit& kit, float build, int32_t loadNow)
    : apoMeshes{}, apoShadows{}, cShadows(0), oKit(kit), szModelCode{}, pfPose(nullptr), bMirrored(0), bModelsLoaded(0), iLevel(0),
      iVisibility(-1) {
  std::snprintf(szModelCode, sizeof szModelCode, "%.6s", code != nullptr ? code : "SSSHMS");
  std::memset(auSlots, KITS_NO_SLOT, sizeof auSlots);
  oNumberTint = Q3DColour{200, 200, 200, 255};
  QMathMatrixIdentity(&mBuild);
  mBuild.m[5] = build;
  QMathMatrixIdentity(&mHeadTurn);
  QMathMatrixIdentity(&mRoot);
  oBounds = Q3DBounds{};
  oBounds.oMin = QMathVec3{-1.5f, -1.25f, -1.5f};
  oBounds.oMax = QMathVec3{1.5f, 1.5f, 1.5f};
  oBounds.bStale = 1;
  oBounds.fRadius = 0.5f * std::sqrt(3.0f * 3.0f + 2.75f * 2.75f + 3.0f * 3.0f);
  if (loadNow) ModelsLoad();
}

Player3D::~Player3D() { ModelsFree(); }

void Player3D::ModelsLoad() {
  static const char* const kLevel[3] = {"VHigh", "High", "Medium"};
  ModelRecord* models[PLAYER3D_LEVELS] = {};
  char name[32], path[96];
  for (int32_t l = 0; l < 3; ++l) {
    std::snprintf(name, sizeof name, "%s%s", kLevel[l], szModelCode);
    std::snprintf(path, sizeof path, "..\\data\\models\\players\\%s\\%s.bin", kLevel[l], szModelCode);
    models[l] = player3d_poModelGet(name, path);
  }
  const std::string hair(szModelCode + 2, 2);
  std::snprintf(name, sizeof name, "Low%s", hair.c_str());
  std::snprintf(path, sizeof path, "..\\data\\models\\players\\low\\%s.bin", hair.c_str());
  models[3] = player3d_poModelGet(name, path);
  models[4] = player3d_poModelGet("VLow", "..\\data\\models\\players\\vlow\\vlow.bin");
  // A level whose model could not be read borrows the nearest level that
  // loaded (the finer one first); with none the person is not drawn.
  for (int32_t l = 0; l < PLAYER3D_LEVELS; ++l) {
    const ModelRecord* m = models[l];
    for (int32_t d = 1; m == nullptr && d < PLAYER3D_LEVELS; ++d) {
      if (l - d >= 0 && models[l - d] != nullptr) m = models[l - d];
      else if (l + d < PLAYER3D_LEVELS && models[l + d] != nullptr) m = models[l + d];
    }
    apoMeshes[l] = m != nullptr ? new PlayerMesh(m) : nullptr;
  }
  // One shadow for each light of the scene.
  cShadows = scene3d_poScene != nullptr ? std::min<uint8_t>(scene3d_poScene->cLights, 4) : 1;
  for (uint8_t i = 0; i < cShadows; ++i) apoShadows[i] = new Shadow(SHADOW_PLAYER_QUADS);
  pfPose = nullptr;
  iLevel = 0;
  QMathMatrixIdentity(&mLocal);
  bModelsLoaded = 1;
}

void Player3D::ModelsFree() {
  if (!bModelsLoaded) return;
  for (PlayerMesh*& m : apoMeshes) {
    delete m;
    m = nullptr;
  }
  for (Shadow*& sh : apoShadows) {
    delete sh;
    sh = nullptr;
  }
  cShadows = 0;
  bModelsLoaded = 0;
}

void Player3D::StartMatrix(QMathMatrix* out) const {
  QMathMatrix a;
  if (bMirrored) Mul(&a, player3d_mMirror, mLocal);
  else a = mLocal;
  Mul(out, a, mBuild);
}

int32_t Player3D::Place(uint16_t facing, int32_t x, int32_t height, int32_t y, const float* pose, int32_t mirrored,
                        uint16_t head) {
  if (!bModelsLoaded) ModelsLoad();
  QMathMatrixIdentity(&mLocal);
  QMathMatrixSetRotateY(&mLocal, facing);
  mLocal.m[12] = static_cast<float>(x) * kMetresPerUnit;
  mLocal.m[13] = static_cast<float>(height) * kMetresPerUnit;
  mLocal.m[14] = static_cast<float>(y) * kMetresPerUnit;
  pfPose = pose;
  bMirrored = mirrored != 0 ? 1 : 0;
  // The head turns about its own vertical (the segment's z axis).
  QMathMatrixIdentity(&mHeadTurn);
  const QMathVec3 up{0.0f, 0.0f, 1.0f};
  if (head != 0) QMathMatrixSetRotateAxis(&mHeadTurn, &up, head);
  mHeadTurn.m[12] = mHeadTurn.m[13] = mHeadTurn.m[14] = 0.0f;
  iVisibility = -1;
  if (pose == nullptr || apoMeshes[0] == nullptr || scene3d_poCamera == nullptr) return iVisibility;
  QMathMatrix a;
  if (bMirrored) Mul(&a, player3d_mMirror, mLocal);
  else a = mLocal;
  QMathMatrix r;
  PoseMatrix(&r, pose);
  Mul(&mRoot, r, a);
  if (oBounds.bStale != 0) Q3DBoundsCornersUpdate(&oBounds);
  iVisibility = model_iBoxOutcodes(oBounds.aCorner, &mRoot, scene3d_poCamera);
  if (iVisibility != -1) LevelChoose();
  return iVisibility;
}

void Player3D::ViewPositionCompute() {
  QMathMatrix a, m;
  if (bMirrored) Mul(&a, player3d_mMirror, mLocal);
  else a = mLocal;
  Mul(&m, a, scene3d_mWorldToView);
  oViewPosition = QMathVec3{m.m[12], m.m[13], m.m[14]};
}

void Player3D::LevelChoose() {
  ViewPositionCompute();
  iLevel = static_cast<int16_t>(player3d_iLevelFor(oViewPosition.z));
}

void Player3D::KeeperJointsCompute(int32_t joints[PLAYER3D_SEGMENTS][3]) const {
  const PlayerMesh* m = apoMeshes[iLevel];
  if (m == nullptr || pfPose == nullptr) return;
  QMathMatrix start;
  StartMatrix(&start);
  m->JointsCompute(joints, pfPose, &start);
}

bool Player3D::Textured() const {
  return loading_apoPageTexture[0] != nullptr && loading_apoPageMaterial[0] != nullptr && auSlots[0] < KITS_SLOTS;
}

PlayerMesh* Player3D::Skinned(QMathMatrix* start) {
  PlayerMesh* mesh = apoMeshes[iLevel];
  if (scene3d_poDevice == nullptr || iVisibility == -1 || mesh == nullptr || pfPose == nullptr) return nullptr;
  StartMatrix(start);
  const bool textured = Textured();
  if (textured && std::memcmp(mesh->auMapped, auSlots, sizeof auSlots) != 0) mesh->TexelsMap(auSlots);
  mesh->Skin(pfPose, start, &mHeadTurn, iVisibility, &oKit, textured ? &oNumberTint : nullptr);
  return mesh;
}

void Player3D::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  QMathMatrix start;
  PlayerMesh* mesh = Skinned(&start);
  if (mesh == nullptr) return;
  float depths[PLAYER3D_SEGMENTS];
  mesh->SegmentDepthsCompute(depths, pfPose, &start, &scene3d_mWorldToView);
  int32_t order[PLAYER3D_SEGMENTS];
  for (int32_t i = 0; i < PLAYER3D_SEGMENTS; ++i) order[i] = i;
  // Back to front; equal depths keep their order.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int32_t i = 1; i < PLAYER3D_SEGMENTS; ++i)
      if (depths[i - 1] < depths[i]) {
        std::swap(depths[i - 1], depths[i]);
        std::swap(order[i - 1], order[i]);
        swapped = true;
      }
  }
  // Textured: the pages times the shading, the numbers' magenta keyed out.
  const bool textured = Textured();
  d->RenderStateSet(4, textured ? 20 : 4);
  for (int32_t i = 0; i < PLAYER3D_SEGMENTS; ++i) {
    d->BatchBegin(0);
    mesh->SegmentDraw(order[i], bMirrored, static_cast<uint32_t>(iVisibility), textured ? auSlots : nullptr);
    d->BatchEnd();
  }
  if (textured) d->TextureSet(nullptr);
}

void Player3D::DrawHardware() {
  Q3DDevice* d = scene3d_poDevice;
  QMathMatrix start;
  PlayerMesh* mesh = Skinned(&start);
  if (mesh == nullptr) return;
  const bool textured = Textured();
  d->RenderStateSet(4, textured ? 20 : 4);
  d->BatchBegin(0);
  mesh->DrawAll(bMirrored, static_cast<uint32_t>(iVisibility), textured ? auSlots : nullptr);
  d->BatchEnd();
  if (textured) d->TextureSet(nullptr);
}
