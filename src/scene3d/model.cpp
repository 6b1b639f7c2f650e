#include "scene3d/model.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/math/qmatrix.h"
#include "framework/qdx_file.h"
#include "render3d/q3d_transform.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"
#include "shell/debuglog.h"
#include "shell/pcinstall.h"

namespace {

std::string g_error;

ModelRecord* Refuse(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
ModelRecord* Refuse(const char* pszFormat, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, pszFormat);
  std::vsnprintf(buf, sizeof buf, pszFormat, ap);
  va_end(ap);
  g_error = buf;
  debuglog_Printf("%s\n", buf);
  return nullptr;
}

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
float F32(const uint8_t* p) {
  const uint32_t u = U32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
void PutU32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutF32(std::vector<uint8_t>* out, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  PutU32(out, u);
}

// Both formats: header, vertices, faces, then (VSK) extras.
ModelRecord* Parse(const uint8_t* p, size_t size, const char* label, bool vsk) {
  const char* kind = vsk ? "VSK" : "PCS";
  const size_t header = vsk ? MODEL_VSK_HEADER : MODEL_PCS_HEADER;
  if (p == nullptr || size < header)
    return Refuse("%s model file %s is too short for its header (%zu bytes).", kind, label, size);
  const uint32_t v = U32(p), f = U32(p + 4), e = vsk ? U32(p + 8) : 0;
  const uint64_t want = header + uint64_t{v} * MODEL_VERTEX_SIZE + uint64_t{f} * MODEL_FACE_SIZE +
                        uint64_t{e} * MODEL_EXTRA_SIZE;
  if (want != size)
    return Refuse("%s model file %s holds %zu bytes; %u vertices, %u faces and %u extras need %llu.", kind, label,
                  size, v, f, e, static_cast<unsigned long long>(want));
  if (vsk && e < MODEL_VSK_MIN_EXTRAS)
    return Refuse("VSK model file %s has %u segment entries; a body needs %u.", label, e,
                  static_cast<unsigned>(MODEL_VSK_MIN_EXTRAS));
  const uint8_t* q = p + header;
  const uint8_t* faces = q + size_t{v} * MODEL_VERTEX_SIZE;
  for (uint32_t i = 0; i < f; ++i)
    for (int k = 0; k < 3; ++k) {
      const uint32_t idx = U32(faces + size_t{i} * MODEL_FACE_SIZE + 4 * k);
      if (idx >= v)
        return Refuse("%s model file %s: face %u names vertex %u of %u.", kind, label, i, idx, v);
    }
  ModelRecord* m = new ModelRecord{v, f, e, nullptr, nullptr, nullptr};
  m->pVertices = new QMathVec3[v == 0 ? 1 : v];
  for (uint32_t i = 0; i < v; ++i, q += MODEL_VERTEX_SIZE) m->pVertices[i] = QMathVec3{F32(q), F32(q + 4), F32(q + 8)};
  m->pFaces = new ModelFace[f == 0 ? 1 : f];
  for (uint32_t i = 0; i < f; ++i, q += MODEL_FACE_SIZE) {
    ModelFace& o = m->pFaces[i];
    for (int k = 0; k < 3; ++k) o.auIndex[k] = U32(q + 4 * k);
    o.uPage = U32(q + 12);
    for (int k = 0; k < 6; ++k) o.afUV[k] = F32(q + 16 + 4 * k);
  }
  if (vsk) {
    m->pExtras = new uint32_t[e];
    for (uint32_t i = 0; i < e; ++i, q += MODEL_EXTRA_SIZE) m->pExtras[i] = U32(q);
  }
  g_error.clear();
  return m;
}

ModelRecord* LoadFile(const char* path, bool vsk) {
  const char* kind = vsk ? "VSK" : "PCS";
  QDXFile* f = QDXFileOpenRead(path, 0);
  if (f == nullptr) return Refuse("Failed to open %s model file: %s.", kind, path);
  const int64_t size = QDXFileSize(f->pFile);
  // A model larger than this is no model of ours (and would not fit a match).
  constexpr int64_t kLimit = int64_t{64} << 20;
  if (size < 0 || size > kLimit) {
    QDXFileClose(f);
    return Refuse("%s model file %s has an unusable size.", kind, path);
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  const size_t got = bytes.empty() ? 0 : QDXFileRead(f, bytes.data(), bytes.size());
  QDXFileClose(f);
  if (got != bytes.size()) return Refuse("%s model file %s could not be read whole.", kind, path);
  return Parse(bytes.data(), bytes.size(), path, vsk);
}

std::vector<uint8_t> Bytes(const ModelRecord& m, bool vsk) {
  std::vector<uint8_t> out;
  PutU32(&out, m.uVertexCount);
  PutU32(&out, m.uFaceCount);
  if (vsk) PutU32(&out, m.uExtraCount);
  for (uint32_t i = 0; i < m.uVertexCount; ++i) {
    PutF32(&out, m.pVertices[i].x);
    PutF32(&out, m.pVertices[i].y);
    PutF32(&out, m.pVertices[i].z);
  }
  for (uint32_t i = 0; i < m.uFaceCount; ++i) {
    const ModelFace& o = m.pFaces[i];
    for (uint32_t idx : o.auIndex) PutU32(&out, idx);
    PutU32(&out, o.uPage);
    for (float uv : o.afUV) PutF32(&out, uv);
  }
  if (vsk)
    for (uint32_t i = 0; i < m.uExtraCount; ++i) PutU32(&out, m.pExtras[i]);
  return out;
}

int32_t Save(const char* path, const std::vector<uint8_t>& bytes) {
  return QDXFileSave(path, bytes.data(), bytes.size()) == bytes.size() ? 1 : 0;
}

}  // namespace

ModelRecord* model_poVSKParse(const uint8_t* pData, size_t uSize, const char* pszLabel) {
  return Parse(pData, uSize, pszLabel != nullptr ? pszLabel : "(memory)", true);
}
ModelRecord* model_poPCSParse(const uint8_t* pData, size_t uSize, const char* pszLabel) {
  return Parse(pData, uSize, pszLabel != nullptr ? pszLabel : "(memory)", false);
}

ModelRecord* model_poVSKLoad(const char* pszPath) {
  if (pszPath == nullptr) return Refuse("Failed to open VSK model file: (null).");
  return LoadFile(pszPath, true);
}

ModelRecord* model_poPCSLoad(const char* pszName) {
  char path[PCINSTALL_PATH_SIZE] = {0};
  pcinstall_ModelPath(path, pszName != nullptr ? pszName : "");
  return LoadFile(path, false);
}

const char* model_LastError() { return g_error.c_str(); }

void model_Free(ModelRecord* m) {
  if (m == nullptr) return;
  delete[] m->pVertices;
  delete[] m->pFaces;
  delete[] m->pExtras;
  delete m;
}

std::vector<uint8_t> model_VSKBytes(const ModelRecord& m) { return Bytes(m, true); }
std::vector<uint8_t> model_PCSBytes(const ModelRecord& m) { return Bytes(m, false); }
int32_t model_bVSKSave(const char* pszPath, const ModelRecord& m) { return Save(pszPath, Bytes(m, true)); }
int32_t model_bPCSSave(const char* pszPath, const ModelRecord& m) { return Save(pszPath, Bytes(m, false)); }

void model_QuadsConvert(Q3DQuad** ppOut, const ModelSourceQuad* pSource, uint32_t uCount, uint32_t uTextureSize) {
  Q3DQuad* q = new Q3DQuad[uCount == 0 ? 1 : uCount]();
  *ppOut = q;
  for (uint32_t i = 0; i < uCount; ++i)
    for (int k = 0; k < 4; ++k) {
      q[i].auIndex[k] = pSource[i].auIndex[k];
      if (scene3d_poDevice != nullptr)
        scene3d_poDevice->TexelMap(&q[i].aTexel[k], &pSource[i].afUV[2 * k], uTextureSize, uTextureSize);
      else
        q[i].aTexel[k] = Q3DTexel{pSource[i].afUV[2 * k], pSource[i].afUV[2 * k + 1]};
    }
}

MeshObject::MeshObject(const char* pszModelName, const char* pszTextureName)
    : poTexture(nullptr), poMaterial(nullptr), oBounds{}, iVisibility(0), bHasModel(false) {
  oFaces.pVertexList = &oVertices;
  oBounds.bStale = 1;
  poTexture = texture_poLoad(pszTextureName, nullptr, 1, -1);
  poMaterial = new Q3DMaterial(poTexture);
  ModelRecord* m = model_poPCSLoad(pszModelName);
  if (m != nullptr) {
    bHasModel = true;
    oVertices.uCount = m->uVertexCount;
    oVertices.pVertices = new QMathVec3[m->uVertexCount == 0 ? 1 : m->uVertexCount];
    std::memcpy(oVertices.pVertices, m->pVertices, sizeof(QMathVec3) * m->uVertexCount);
    Q3DFace* faces = new Q3DFace[m->uFaceCount == 0 ? 1 : m->uFaceCount]();
    for (uint32_t i = 0; i < m->uFaceCount; ++i)
      for (int k = 0; k < 3; ++k) {
        faces[i].auIndex[k] = m->pFaces[i].auIndex[k];
        if (scene3d_poDevice != nullptr)
          scene3d_poDevice->TexelMap(&faces[i].aTexel[k], &m->pFaces[i].afUV[2 * k], poTexture->uWidth,
                                     poTexture->uHeight);
        else
          faces[i].aTexel[k] = Q3DTexel{m->pFaces[i].afUV[2 * k], m->pFaces[i].afUV[2 * k + 1]};
      }
    oFaces.uCount = m->uFaceCount;
    oFaces.pFaces = faces;
    Q3DBoundsFromPoints(&oBounds, oVertices.pVertices, oVertices.uCount);
    model_Free(m);
  }
  QMathMatrixIdentity(&mLocal);
}

MeshObject::~MeshObject() {
  delete[] oVertices.pVertices;
  oVertices.pVertices = nullptr;
  delete[] oFaces.pFaces;
  oFaces.pFaces = nullptr;
  texture_Free(poTexture);
  Q3DMaterialReset(poMaterial);
  delete poMaterial;
  Q3DVertexListRelease(&oVertices);
}

void MeshObject::Place(const QMathVec3* pPosition, uint16_t uAngle) {
  QMathMatrixSetRotateY(&mLocal, uAngle);
  mLocal.m[12] = pPosition->x;
  mLocal.m[13] = pPosition->y;
  mLocal.m[14] = pPosition->z;
  QMathMatrix view;
  QMathMatrixMultiply(&view, &mLocal, &scene3d_mWorldToView);
  oViewPosition = QMathVec3{view.m[12], view.m[13], view.m[14]};
}

void MeshObject::Draw() {
  if (!bHasModel || scene3d_poDevice == nullptr || scene3d_poCamera == nullptr) return;
  if (oBounds.bStale != 0) Q3DBoundsCornersUpdate(&oBounds);
  iVisibility = model_iBoxOutcodes(oBounds.aCorner, &mLocal, scene3d_poCamera);
  if (iVisibility == -1) return;
  Q3DDevice* d = scene3d_poDevice;
  d->BatchBegin(0);
  d->TextureSet(poMaterial);
  if (iVisibility != 0)
    Q3DVertexListClipTransform(&oVertices, 0, oVertices.uCount, &mLocal, scene3d_poCamera);
  else
    Q3DVertexListProject(&oVertices, 0, oVertices.uCount, &mLocal, scene3d_poCamera);
  d->MeshDraw(&oFaces, scene3d_poCamera, static_cast<uint32_t>(iVisibility));
  d->BatchEnd();
}
