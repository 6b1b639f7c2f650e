// Constructors of the Q3D records.
#include <cstring>

#include "display/qdl_image.h"
#include "framework/math/qmatrix.h"
#include "framework/qdx_mem.h"
#include "render3d/q3d.h"

void Q3DObjectNameSet(Q3DObject* p, const char* pName) {
  if (p == nullptr || pName == nullptr) return;
  size_t n = std::strlen(pName);
  if (n > Q3D_NAME_SIZE - 1) n = Q3D_NAME_SIZE - 1;  // a longer name is cut, never overrun
  std::memcpy(p->szName, pName, n);
  p->szName[n] = 0;
}

Q3DObject::Q3DObject() : uFlags(0), uType(Q3D_TYPE_PLAIN), uRefCount(1) {
  std::memset(szName, 0, sizeof szName);
  std::strcpy(szName, "UnNamed");
}

// The name field is left as it was for a null name (the caller's storage).
Q3DObject::Q3DObject(const char* pName) : uFlags(0), uType(Q3D_TYPE_PLAIN), uRefCount(1) {  // NOLINT
  Q3DObjectNameSet(this, pName);
}

Q3DVertexList::Q3DVertexList()
    : uCount(0), uReserved272(0), uState(0), pVertices(nullptr), auReserved{}, pColours(nullptr), uReserved324(0),
      pOutcodes(nullptr), uOutcodeCapacity(0), uOutcodeSpare(0), pClip(nullptr), uClipCapacity(0), uClipSpare(0),
      pScreen(nullptr), uScreenCapacity(0), uScreenSpare(0) {
  oHeader.uType = Q3D_TYPE_VERTEX_LIST;
}

void Q3DVertexListRelease(Q3DVertexList* p) {
  if (p == nullptr) return;
  QDXFreeAligned(p->pOutcodes);
  QDXFreeAligned(p->pClip);
  QDXFreeAligned(p->pScreen);
  p->pOutcodes = nullptr;
  p->uOutcodeCapacity = p->uOutcodeSpare = 0;
  p->pClip = nullptr;
  p->uClipCapacity = p->uClipSpare = 0;
  p->pScreen = nullptr;
  p->uScreenCapacity = p->uScreenSpare = 0;
}

Q3DFaceList::Q3DFaceList() : uCount(0), uFlags(Q3D_FACES_NO_COLOURS), pVertexList(nullptr), pFaces(nullptr) {}

Q3DQuadList::Q3DQuadList() : uCount(0), uFlags(Q3D_FACES_NO_COLOURS), pVertexList(nullptr), pQuads(nullptr) {}

Q3DEdgeList::Q3DEdgeList() : uCount(0), pEdges(nullptr), pVertexList(nullptr) {}

Q3DMaterial::Q3DMaterial() : pTexture(nullptr), auReserved{}, oColour{255, 255, 255, 255}, bTextured(0) {}

Q3DMaterial::Q3DMaterial(Q3DImageTexture* pTex)
    : pTexture(pTex), auReserved{}, oColour{255, 255, 255, 255}, bTextured(1) {}

void Q3DMaterialReset(Q3DMaterial* p) {
  if (p == nullptr) return;
  p->pTexture = nullptr;
  std::memset(p->auReserved, 0, sizeof p->auReserved);
  p->oColour = Q3DColour{255, 255, 255, 255};
  p->bTextured = 0;
}

Q3DImageTexture::Q3DImageTexture()
    : uReserved268(0), uReserved272(0), uReserved276(0), iHandle(-1), uWidth(0), uHeight(0), iMipLevels(1),
      uAddressU(Q3D_ADDRESS_CLAMP), uAddressV(Q3D_ADDRESS_CLAMP), uLoaded(0), uReserved308(1), uReserved312(0),
      aszSlotName{}, auSlotFlags{}, apSlotImage{} {
  oHeader.uType = Q3D_TYPE_IMAGE_TEXTURE;
}

Q3DImageTexture::Q3DImageTexture(const char* pPath) : Q3DImageTexture() {
  Q3DObjectNameSet(&oHeader, pPath);
  if (pPath != nullptr) {
    size_t n = std::strlen(pPath);
    if (n > Q3D_SLOT_NAME_SIZE - 1) n = Q3D_SLOT_NAME_SIZE - 1;
    std::memcpy(aszSlotName[0], pPath, n);
    aszSlotName[0][n] = 0;
    int32_t w = 0, h = 0, bits = 0;
    if (QDLTGAGetInfo(pPath, &w, &h, &bits) == 0 && w > 0 && h > 0) {
      uWidth = static_cast<uint32_t>(w);
      uHeight = static_cast<uint32_t>(h);
    }
  }
}

Q3DTexture::Q3DTexture() : iHandle(-1), uWidth(0), uHeight(0), uSpare(0) {
  oHeader.uType = Q3D_TYPE_TEXTURE;
}

Q3DSpriteSheet::Q3DSpriteSheet() : iHandle(-1), uFrameCount(0) { oHeader.uType = Q3D_TYPE_SPRITE_SHEET; }

Q3DFrame::Q3DFrame() {
  oHeader.uType = Q3D_TYPE_FRAME;
  QMathMatrixIdentity(&mMatrix);
  QMathMatrixIdentity(&mMatrix2);
}

Q3DScreenQuad::Q3DScreenQuad() : uKind(Q3D_QUAD_TEXTURED), aiRect{} {
  for (Q3DColour& c : aColour) c = Q3DColour{255, 255, 255, 255};
  aTexel[0] = Q3DTexel{0.0f, 0.0f};
  aTexel[1] = Q3DTexel{1.0f, 0.0f};
  aTexel[2] = Q3DTexel{1.0f, 1.0f};
  aTexel[3] = Q3DTexel{0.0f, 1.0f};
}

void Q3DScreenVertexReset(Q3DScreenVertex* p) {
  if (p == nullptr) return;
  p->x = p->y = p->u = p->v = 0.0f;
  p->oColour = Q3DColour{255, 255, 255, 255};
  p->uWord = 0;
}

Q3DLine::Q3DLine() : afA{}, afB{}, uOutcodeA(0), uOutcodeB(0) { QMathMatrixIdentity(&mMatrix); }
