#include "scene3d/stadium3d.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "framework/math/qmatrix.h"
#include "framework/math/qrand.h"
#include "render3d/q3d_transform.h"
#include "scene3d/groundtab.h"
#include "scene3d/model.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"
#include "shell/debuglog.h"
#include "shell/pcinstall.h"
#include "shell/saidonce.h"

namespace {

// A stadium model that could not be read: each is reported once.
void Report(const char* pszName, const char* pszWhat) {
  const std::string oText = std::string("stadium: the model ") + pszName + " " + pszWhat + "; the stadium is drawn without it";
  if (saidonce_Say("stadium", oText, oText))
    debuglog_Printf("The stadium model %s %s; the stadium is drawn without it.\n", pszName, pszWhat);
}

void MaterialFree(Q3DMaterial*& m) {
  if (m != nullptr) Q3DMaterialReset(m);
  delete m;
  m = nullptr;
}

void Map(Q3DTexel* out, const float* uv, uint32_t size) {
  if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(out, uv, size, size);
  else *out = Q3DTexel{uv[0], uv[1]};
}

// A 256 by 256 image file copied into the composed page at (x, y).
void Compose(Q3DDevice* d, Q3DImage* page, const char* pszName, int32_t x, int32_t y) {
  Q3DImage* small = d->ImageCreate(256, 256);
  if (small == nullptr) return;
  small->uFlag = 1;
  char path[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(path, pszName);
  if (small->Load(path) != 0 && saidonce_Say("stadium", path, "stadium: the page " + std::string(path) + " cannot be read"))
    debuglog_Printf("Stadium page %s cannot be read.\n", path);
  small->CopyTo(page, x, y);
  d->ImageRelease(small);
}

}  // namespace

const char* stadium3d_HoardingTexture() {
  return scene3d_eColourMode == SCENE3D_COLOUR ? "stadiums\\misc\\hord1.tga" : "stadiums\\misc\\hord2.tga";
}

// ---- Hoardings -----------------------------------------------------------------------------

Hoardings3D::Hoardings3D() {
  poTexture = texture_poLoad(stadium3d_HoardingTexture(), nullptr, 1, -1);
  poMaterial = new Q3DMaterial(poTexture);
  poMaterial->oColour = Q3DColour{0, 0, 0, 192};
  aVertex[0] = QMathVec3{-5.0f, 1.25f, 0.5f};
  aVertex[1] = QMathVec3{5.0f, 1.25f, 0.5f};
  aVertex[2] = QMathVec3{-5.0f, 0.0f, 0.0f};
  aVertex[3] = QMathVec3{5.0f, 0.0f, 0.0f};
  oVertices.uCount = 4;
  oVertices.pVertices = aVertex;
  Q3DBoundsFromPoints(&oBounds, aVertex, 4);
  // One draw picks the first advert; the match's own random sequence is
  // left as it was, so a match plays the same whether it is drawn or not.
  QMathRandState saved;
  QMathRandStateSave(&saved);
  int32_t k = static_cast<int32_t>(QMathRandNext() % 16u);
  QMathRandStateRestore(&saved);
  iFirstAdvert = k;
  const uint32_t w = poTexture != nullptr ? poTexture->uWidth : 256;
  const uint32_t h = poTexture != nullptr ? poTexture->uHeight : 256;
  for (int32_t i = 0; i < kHoardingCount; ++i) {
    float left, top;
    stadium3d_AdvertTexels(k, &left, &top);
    const float tex[4][2] = {{left, top}, {left + 0.5f, top}, {left + 0.5f, top + 0.125f}, {left, top + 0.125f}};
    Q3DQuad& q = aQuad[i];
    q = Q3DQuad{};
    const uint16_t idx[4] = {0, 1, 3, 2};
    for (int c = 0; c < 4; ++c) {
      q.auIndex[c] = idx[c];
      if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(&q.aTexel[c], tex[c], w, h);
      else q.aTexel[c] = Q3DTexel{tex[c][0], tex[c][1]};
    }
    aQuads[i].uCount = 1;
    aQuads[i].pQuads = &aQuad[i];
    aQuads[i].pVertexList = &oVertices;
    const HoardingSpot s = stadium3d_HoardingSpot(i);
    QMathMatrixIdentity(&aMatrix[i]);
    QMathMatrixSetRotateY(&aMatrix[i], s.uTurn);
    const QMathVec3 t{s.fX, 0.0f, s.fZ};
    QMathMatrixSetTranslation(&aMatrix[i], &t);
    k = (k + 1) % 16;
  }
}

Hoardings3D::~Hoardings3D() {
  MaterialFree(poMaterial);
  texture_Free(poTexture);
  Q3DVertexListRelease(&oVertices);
}

void Hoardings3D::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  d->RenderStateSet(4, 16);
  d->TextureSet(poMaterial);
  for (int32_t i = 0; i < kHoardingCount; ++i) {
    if (oBounds.bStale != 0) Q3DBoundsCornersUpdate(&oBounds);
    const int32_t clip = model_iBoxOutcodes(oBounds.aCorner, &aMatrix[i], scene3d_poCamera);
    if (clip == -1) continue;
    if (clip == 0) Q3DVertexListProject(&oVertices, 0, 4, &aMatrix[i], scene3d_poCamera);
    else Q3DVertexListClipTransform(&oVertices, 0, 4, &aMatrix[i], scene3d_poCamera);
    d->BatchBegin(0);
    d->FaceListDraw(&aQuads[i], scene3d_poCamera, static_cast<uint32_t>(clip));
    d->BatchEnd();
  }
}

// ---- The stadium ---------------------------------------------------------------------------

Stadium3D::Stadium3D() {
  const Scene3D* s = scene3d_poScene;
  iLook = s != nullptr ? s->uStadiumLook : 0;
  if (iLook < 0 || iLook >= kStadiumLookCount) iLook = 0;
  bNight = s != nullptr && s->bNight == 1;
  bSoftware = scene3d_bSoftware != 0;
  const StadiumLook& look = stadium3d_aLooks[iLook];
  const char* light = bNight ? "night" : "day";
  char page1[160], page2[160];
  std::snprintf(page1, sizeof page1, "stadiums\\%s\\%s\\%s\\%s\\page1.tga", look.szName, light, "norm", "full");
  std::snprintf(page2, sizeof page2, "stadiums\\%s\\%s\\%s\\%s\\page2.tga", look.szName, light, "norm", "full");
  QMathMatrixIdentity(&oMatrix);
  Q3DDevice* d = scene3d_poDevice;
  if (!bSoftware || d == nullptr) {
    apoTextures[0] = texture_poLoad(page1, nullptr, 1, 4);
    apoTextures[1] = texture_poLoad(page2, nullptr, 1, 4);
    apoTextures[2] = texture_poLoad(stadium3d_HoardingTexture(), nullptr, 1, -1);
    if (bNight) {
      char lights[160];
      std::snprintf(lights, sizeof lights, "stadiums\\%s\\night\\%s\\%s\\lights.tga", look.szName, "norm", "full");
      apoTextures[3] = texture_poLoad(lights, nullptr, 1, -1);
    }
    for (int i = 0; i < 4; ++i)
      if (apoTextures[i] != nullptr) apoMaterials[i] = new Q3DMaterial(apoTextures[i]);
    ModelLoad(look.szName);
  } else {
    // The three pages composed into one 512 by 512 page, converted once.
    Q3DImage* page = d->ImageCreate(512, 512);
    if (page != nullptr) {
      Compose(d, page, page1, 0, 0);
      Compose(d, page, page2, 256, 0);
      Compose(d, page, stadium3d_HoardingTexture(), 0, 256);
      apoTextures[0] = texture_poLoad("StadiumPage", page, 0, 1);
      d->ImageRelease(page);
    }
    if (apoTextures[0] != nullptr) apoMaterials[0] = new Q3DMaterial(apoTextures[0]);
    ModelLoadSoftware(look.szName);
  }
  if (look.uHoardings != 0) poHoardings = new Hoardings3D();
  if (s != nullptr) {
    QMathVec3 lights[4];
    const int32_t n = stadium3d_LightsPlace(iLook, bNight ? 1 : 0, lights);
    for (int32_t i = 0; i < n && i < s->cLights; ++i)
      if (s->apoLights[i] != nullptr) s->apoLights[i]->PositionSet(&lights[i]);
  }
}

Stadium3D::~Stadium3D() {
  delete poHoardings;
  for (int i = 0; i < 4; ++i) {
    MaterialFree(apoMaterials[i]);
    texture_Free(apoTextures[i]);
    apoTextures[i] = nullptr;
  }
  Q3DVertexListRelease(&oVertices);
}

void Stadium3D::ModelLoad(const char* pszName) {
  char path[64];
  std::snprintf(path, sizeof path, "stadiums\\%s.pcs", pszName);
  ModelRecord* m = model_poPCSLoad(path);
  if (m == nullptr) {
    Report(path, "cannot be read");
    return;
  }
  m_aVertices.assign(m->pVertices, m->pVertices + m->uVertexCount);
  oVertices.uCount = m->uVertexCount;
  oVertices.pVertices = m_aVertices.data();
  // The page ids present (by day without the night-only 3 and 7), at most
  // eight, ascending; an id above 7 has no group and its faces are left out.
  std::vector<uint32_t> ids;
  bool dropped = false;
  for (uint32_t i = 0; i < m->uFaceCount; ++i) {
    const uint32_t id = m->pFaces[i].uPage;
    if (!bNight && (id == 3 || id == 7)) continue;
    if (id > 7) {
      dropped = true;
      continue;
    }
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  }
  if (dropped) Report(path, "has faces with page ids above 7");
  std::sort(ids.begin(), ids.end());
  cGroups = static_cast<int32_t>(ids.size());
  for (int32_t g = 0; g < cGroups; ++g) {
    auGroupPage[g] = ids[static_cast<size_t>(g)];
    std::vector<Q3DFace>& faces = m_aFaces[g];
    for (uint32_t i = 0; i < m->uFaceCount; ++i) {
      const ModelFace& f = m->pFaces[i];
      if (f.uPage != auGroupPage[g]) continue;
      Q3DFace out{};
      for (int k = 0; k < 3; ++k) {
        out.auIndex[k] = f.auIndex[k];
        Map(&out.aTexel[k], &f.afUV[2 * k], 256);
      }
      faces.push_back(out);
    }
    aoGroups[g].uCount = static_cast<uint32_t>(faces.size());
    aoGroups[g].pFaces = faces.data();
    aoGroups[g].pVertexList = &oVertices;
  }
  model_Free(m);
}

void Stadium3D::ModelLoadSoftware(const char* pszName) {
  char path[64];
  std::snprintf(path, sizeof path, "stadiums\\SW%s.pcs", pszName);
  ModelRecord* m = model_poPCSLoad(path);
  if (m == nullptr) {
    std::snprintf(path, sizeof path, "stadiums\\%s.pcs", pszName);
    m = model_poPCSLoad(path);
  }
  if (m == nullptr) {
    Report(path, "cannot be read");
    return;
  }
  m_aVertices.assign(m->pVertices, m->pVertices + m->uVertexCount);
  oVertices.uCount = m->uVertexCount;
  oVertices.pVertices = m_aVertices.data();
  std::vector<Q3DFace>& faces = m_aFaces[0];
  for (uint32_t i = 0; i < m->uFaceCount; ++i) {
    const ModelFace& f = m->pFaces[i];
    const uint32_t id = f.uPage;
    if (id > 6 || id == 3) continue;
    const float du = (id % 4) == 1 ? 0.5f : 0.0f, dv = (id % 4) == 2 ? 0.5f : 0.0f;
    Q3DFace out{};
    for (int k = 0; k < 3; ++k) {
      out.auIndex[k] = f.auIndex[k];
      const float uv[2] = {f.afUV[2 * k] * 0.5f + du, f.afUV[2 * k + 1] * 0.5f + dv};
      Map(&out.aTexel[k], uv, 512);
    }
    faces.push_back(out);
  }
  cGroups = 1;
  auGroupPage[0] = 0;
  aoGroups[0].uCount = static_cast<uint32_t>(faces.size());
  aoGroups[0].pFaces = faces.data();
  aoGroups[0].pVertexList = &oVertices;
  model_Free(m);
}

void Stadium3D::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  d->RenderStateSet(4, 32);
  if (oVertices.uCount != 0) {
    Q3DVertexListClipTransform(&oVertices, 0, oVertices.uCount, &oMatrix, scene3d_poCamera);
    for (int32_t g = 0; g < cGroups; ++g) {
      d->BatchBegin(0);
      d->TextureSet(apoMaterials[auGroupPage[g] % 4]);
      d->MeshDraw(&aoGroups[g], scene3d_poCamera, 63);
      d->BatchEnd();
    }
  }
  if (poHoardings != nullptr) poHoardings->Draw();
}

void Stadium3D::DrawSoftware() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  d->RenderStateSet(4, 16);
  if (oVertices.uCount != 0 && cGroups == 1) {
    Q3DVertexListClipTransform(&oVertices, 0, oVertices.uCount, &oMatrix, scene3d_poCamera);
    d->BatchBegin(0);
    d->TextureSet(apoMaterials[0]);
    d->MeshDraw(&aoGroups[0], scene3d_poCamera, 63);
    d->BatchEnd();
  }
  if (poHoardings != nullptr) poHoardings->Draw();
}
