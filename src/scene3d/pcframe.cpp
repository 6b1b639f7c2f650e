// The frame packet's draw list, its pools and its 2D render.
#include "scene3d/pcframe.h"

#include <cstdlib>
#include <cstring>

#include "display/blit/qdl_blit.h"
#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_text.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"

FramePacket* pcframe_poCurrent = nullptr;
int32_t pcframe_iItemPeak = 0;
int32_t pcframe_iTextCuts = 0;

namespace {

FramePacket pcframe_oPacket;
DrawLayer* pcframe_paoLayerPool = nullptr;
DrawItem* pcframe_paoItemPool = nullptr;
DrawLayer* pcframe_poFreeLayers = nullptr;
DrawItem* pcframe_poFreeItems = nullptr;
int32_t pcframe_iScreenClear = 0;
// Characters that print differently in the remapped fonts; 0 leaves a
// character unchanged. Our fonts hold every Windows-1252 code at its own
// place, so nothing is remapped.
uint8_t pcframe_aRemap[256] = {};

void pcframe_PoolsChain() {
  for (int32_t i = 0; i < PCFRAME_LAYERS_MAX; ++i) {
    DrawLayer& o = pcframe_paoLayerPool[i];
    o.pPrev = i > 0 ? &pcframe_paoLayerPool[i - 1] : nullptr;
    o.pNext = i + 1 < PCFRAME_LAYERS_MAX ? &pcframe_paoLayerPool[i + 1] : nullptr;
    o.poFirstItem = nullptr;
    o.iPriority = 0;
  }
  for (int32_t i = 0; i < PCFRAME_ITEMS_MAX; ++i)
    pcframe_paoItemPool[i].pNext = i + 1 < PCFRAME_ITEMS_MAX ? &pcframe_paoItemPool[i + 1] : nullptr;
  pcframe_poFreeLayers = pcframe_paoLayerPool;
  pcframe_poFreeItems = pcframe_paoItemPool;
}

DrawLayer* pcframe_poLayerTake(int16_t iPriority) {
  DrawLayer* po = pcframe_poFreeLayers;
  if (po == nullptr) return nullptr;
  pcframe_poFreeLayers = po->pNext;
  pcframe_oPacket.cLayersInUse++;
  po->pPrev = po->pNext = nullptr;
  po->poFirstItem = nullptr;
  po->iPriority = iPriority;
  return po;
}

DrawItem* pcframe_poItemTake() {
  DrawItem* po = pcframe_poFreeItems;
  if (po == nullptr) return nullptr;
  pcframe_poFreeItems = po->pNext;
  pcframe_oPacket.cItemsInUse++;
  if (pcframe_oPacket.cItemsInUse > pcframe_iItemPeak) pcframe_iItemPeak = pcframe_oPacket.cItemsInUse;
  std::memset(po, 0, sizeof(*po));
  return po;
}

void pcframe_ItemPush(DrawLayer* poLayer, DrawItem* poItem) {
  poItem->pNext = poLayer->poFirstItem;
  poLayer->poFirstItem = poItem;
}

// The 2D-only items need the 2D display up and the 3D display down.
bool pcframe_b2DOnly() { return QDLIsDisplayOpen() != 0 && scene3d_bDisplay3DUp == 0; }

DrawItem* pcframe_poItemOfKind(int32_t iPriority, uint32_t uKind) {
  DrawItem* po = pcframe_poItemNew(static_cast<int16_t>(iPriority));
  if (po != nullptr) po->uKind = uKind;
  return po;
}

void pcframe_ColourSet(DrawItem* po, uint8_t r, uint8_t g, uint8_t b) {
  po->aRed[0] = r;
  po->aGreen[0] = g;
  po->aBlue[0] = b;
}

}  // namespace

int32_t scene3d_bDisplay3DUp = 0;

void pcframe_Init() {
  if (pcframe_paoLayerPool == nullptr)
    pcframe_paoLayerPool = static_cast<DrawLayer*>(std::calloc(PCFRAME_LAYERS_MAX, sizeof(DrawLayer)));
  if (pcframe_paoItemPool == nullptr)
    pcframe_paoItemPool = static_cast<DrawItem*>(std::calloc(PCFRAME_ITEMS_MAX, sizeof(DrawItem)));
  QDX_ASSERT(pcframe_paoLayerPool != nullptr && pcframe_paoItemPool != nullptr);
  pcframe_PoolsChain();
  pcframe_oPacket.poFirstLayer = nullptr;
  pcframe_oPacket.iTextLength = 0;
  pcframe_oPacket.cLayersInUse = 0;
  pcframe_oPacket.cItemsInUse = 0;
  pcframe_oPacket.bReady = 0;
  std::memset(pcframe_oPacket.aiSnapshotCounts, 0, sizeof(pcframe_oPacket.aiSnapshotCounts));
  pcframe_iItemPeak = 0;
  pcframe_poCurrent = &pcframe_oPacket;
}

void pcframe_Shutdown() {
  std::free(pcframe_paoLayerPool);
  std::free(pcframe_paoItemPool);
  pcframe_paoLayerPool = nullptr;
  pcframe_paoItemPool = nullptr;
  pcframe_poFreeLayers = nullptr;
  pcframe_poFreeItems = nullptr;
  pcframe_oPacket.poFirstLayer = nullptr;
  pcframe_oPacket.bReady = 0;
}

void pcframe_NodesRelease() {
  DrawLayer* poLayer = pcframe_oPacket.poFirstLayer;
  while (poLayer != nullptr) {
    DrawLayer* poNextLayer = poLayer->pNext;
    DrawItem* poItem = poLayer->poFirstItem;
    while (poItem != nullptr) {
      DrawItem* poNextItem = poItem->pNext;
      poItem->pNext = pcframe_poFreeItems;
      pcframe_poFreeItems = poItem;
      poItem = poNextItem;
    }
    poLayer->poFirstItem = nullptr;
    poLayer->pPrev = nullptr;
    poLayer->pNext = pcframe_poFreeLayers;
    if (pcframe_poFreeLayers != nullptr) pcframe_poFreeLayers->pPrev = poLayer;
    pcframe_poFreeLayers = poLayer;
    poLayer = poNextLayer;
  }
  pcframe_oPacket.poFirstLayer = nullptr;
  pcframe_oPacket.iTextLength = 0;
  pcframe_oPacket.cLayersInUse = 0;
  pcframe_oPacket.cItemsInUse = 0;
}

void pcframe_SnapshotClear() {
  std::memset(pcframe_oPacket.aiSnapshotCounts, 0, sizeof(pcframe_oPacket.aiSnapshotCounts));
  for (PacketTrail& t : pcframe_oPacket.aoTrails) {
    t.iStartFrame = 0;
    t.iReplayFrame = 0;
    t.bActive = 0;
    t.bReplayed = 0;
  }
}

void pcframe_Begin() {
  pcframe_NodesRelease();
  pcframe_oPacket.bReady = 1;
  pcframe_SnapshotClear();
}

FramePacket* pcframe_poTake() {
  if (!pcframe_oPacket.bReady) return nullptr;
  pcframe_oPacket.bReady = 0;
  return &pcframe_oPacket;
}

int32_t pcframe_bReadyGet() { return pcframe_oPacket.bReady != 0; }
void pcframe_ReadyClear() { pcframe_oPacket.bReady = 0; }

DrawItem* pcframe_poItemNew(int16_t iPriority) {
  FramePacket& o = pcframe_oPacket;
  if (!o.bReady || pcframe_paoItemPool == nullptr) return nullptr;
  // A new item needs a free item, and a new layer a free layer: check both
  // first so that a failed addition leaves the list as it was.
  if (pcframe_poFreeItems == nullptr) return nullptr;
  if (o.poFirstLayer == nullptr) {
    DrawLayer* poLayer = pcframe_poLayerTake(iPriority);
    if (poLayer == nullptr) return nullptr;
    o.poFirstLayer = poLayer;
    DrawItem* poItem = pcframe_poItemTake();
    pcframe_ItemPush(poLayer, poItem);
    return poItem;
  }
  DrawLayer* poLayer = o.poFirstLayer;
  DrawLayer* poLast = nullptr;
  while (poLayer != nullptr && poLayer->iPriority < iPriority) {
    poLast = poLayer;
    poLayer = poLayer->pNext;
  }
  if (poLayer != nullptr && poLayer->iPriority == iPriority) {
    DrawItem* poItem = pcframe_poItemTake();
    pcframe_ItemPush(poLayer, poItem);
    return poItem;
  }
  DrawLayer* poNew = pcframe_poLayerTake(iPriority);
  if (poNew == nullptr) return nullptr;
  if (poLayer == nullptr) {
    // At the end of the list.
    poNew->pPrev = poLast;
    poLast->pNext = poNew;
  } else {
    // Before a layer of higher priority.
    poNew->pNext = poLayer;
    poNew->pPrev = poLayer->pPrev;
    if (poLayer->pPrev != nullptr) poLayer->pPrev->pNext = poNew;
    else o.poFirstLayer = poNew;
    poLayer->pPrev = poNew;
  }
  DrawItem* poItem = pcframe_poItemTake();
  pcframe_ItemPush(poNew, poItem);
  return poItem;
}

void pcframe_ScreenClearSet(int32_t iFlag) { pcframe_iScreenClear = iFlag; }
int32_t pcframe_ScreenClearGet() { return pcframe_iScreenClear; }

void pcframe_ScreenClear() {
  if (!pcframe_iScreenClear) return;
  QDLSurface* poSurface = QDLDisplaySurface();
  if (poSurface != nullptr) QDLFillRect(poSurface, nullptr, 0, 0);
}

uint8_t pcframe_CharRemap(uint8_t c) { return pcframe_aRemap[c] != 0 ? pcframe_aRemap[c] : c; }

// ---- Adders -------------------------------------------------------------------

int32_t pcframe_AddSprite(int32_t x, int32_t y, int32_t iPriority, const QDLFrame* poFrame, uint32_t uFlags) {
  if (!pcframe_b2DOnly()) return 0;
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_SPRITE);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->poFrame = poFrame;
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddText(int32_t x, int32_t y, int32_t iPriority, uint8_t r, uint8_t g, uint8_t b, const char* pszText,
                        int32_t iFont, int32_t bRemap, int32_t iAlign) {
  FramePacket& o = pcframe_oPacket;
  if (!o.bReady) return 0;
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_TEXT);
  if (po == nullptr) return 0;
  // The text starts at the pool's end. Characters go in while the pool holds
  // fewer than the copy limit, so the two places after it only ever take
  // terminators; once those are used too the item shares the last one (an
  // empty text) and nothing is written past the pool.
  char* pDest;
  if (o.iTextLength >= PCFRAME_TEXT_POOL_SIZE) {
    pDest = &o.acTextPool[PCFRAME_TEXT_POOL_SIZE - 1];
    if (pszText != nullptr && pszText[0] != '\0') pcframe_iTextCuts++;
  } else {
    pDest = &o.acTextPool[o.iTextLength];
    const char* pc = pszText != nullptr ? pszText : "";
    while (*pc != '\0' && o.iTextLength < PCFRAME_TEXT_COPY_LIMIT) {
      const uint8_t c = static_cast<uint8_t>(*pc++);
      o.acTextPool[o.iTextLength++] = static_cast<char>(bRemap ? pcframe_CharRemap(c) : c);
    }
    if (*pc != '\0') pcframe_iTextCuts++;
    o.acTextPool[o.iTextLength++] = '\0';
  }
  po->pszText = pDest;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(iFont);
  po->aiCoord[3] = static_cast<int16_t>(iAlign);
  pcframe_ColourSet(po, r, g, b);
  return 1;
}

int32_t pcframe_AddSheetSprite(int32_t x, int32_t y, int32_t iPriority, int32_t iFrame) {
  if (!scene3d_bDisplay3DUp) return 0;
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_SHEET_SPRITE);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(iFrame);
  return 1;
}

int32_t pcframe_AddCircle(int32_t x, int32_t y, int32_t iPriority, int32_t iRadius, uint8_t r, uint8_t g, uint8_t b,
                          uint32_t uFlags) {
  if (!pcframe_b2DOnly()) return 0;
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_CIRCLE);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(iRadius);
  pcframe_ColourSet(po, r, g, b);
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t iPriority, uint8_t r, uint8_t g,
                        uint8_t b, uint32_t uFlags) {
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_LINE);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x1);
  po->aiCoord[1] = static_cast<int16_t>(y1);
  po->aiCoord[2] = static_cast<int16_t>(x2);
  po->aiCoord[3] = static_cast<int16_t>(y2);
  pcframe_ColourSet(po, r, g, b);
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint8_t r, uint8_t g, uint8_t b,
                       uint8_t uAlpha, uint32_t uFlags) {
  DrawItem* po = pcframe_poItemOfKind(iLayer, PCFRAME_KIND_BOX);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(x2);
  po->aiCoord[3] = static_cast<int16_t>(y2);
  pcframe_ColourSet(po, r, g, b);
  po->uAlpha = uAlpha;
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddShadedBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint32_t uColour1,
                             uint32_t uColour2, uint32_t uColour3, uint32_t uColour4, uint32_t uFlags) {
  DrawItem* po = pcframe_poItemOfKind(iLayer, PCFRAME_KIND_SHADED_BOX);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(x2);
  po->aiCoord[3] = static_cast<int16_t>(y2);
  const uint32_t auColour[4] = {uColour1, uColour2, uColour3, uColour4};
  for (int32_t i = 0; i < 4; ++i) {
    po->aRed[i] = static_cast<uint8_t>(auColour[i]);
    po->aGreen[i] = static_cast<uint8_t>(auColour[i] >> 8);
    po->aBlue[i] = static_cast<uint8_t>(auColour[i] >> 16);
  }
  po->uAlpha = static_cast<uint8_t>(uColour1 >> 24);
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddBackdropSprite(int32_t x, int32_t y, int32_t iPriority, int32_t iSheet, int32_t iSprite,
                                  uint32_t uFlags) {
  if (!pcframe_b2DOnly()) return 0;
  DrawItem* po = pcframe_poItemOfKind(iPriority, PCFRAME_KIND_BACKDROP_SPRITE);
  if (po == nullptr) return 0;
  po->aiCoord[0] = static_cast<int16_t>(x);
  po->aiCoord[1] = static_cast<int16_t>(y);
  po->aiCoord[2] = static_cast<int16_t>(iSheet);
  po->aiCoord[3] = static_cast<int16_t>(iSprite);
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

int32_t pcframe_AddTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t iLayer,
                            uint8_t r, uint8_t g, uint8_t b, uint8_t uAlpha, uint32_t uFlags) {
  DrawItem* po = pcframe_poItemOfKind(iLayer, PCFRAME_KIND_TRIANGLE);
  if (po == nullptr) return 0;
  const int32_t ai[6] = {x1, y1, x2, y2, x3, y3};
  for (int32_t i = 0; i < 6; ++i) po->aiCoord[i] = static_cast<int16_t>(ai[i]);
  pcframe_ColourSet(po, r, g, b);
  po->uAlpha = uAlpha;
  po->uFlags = static_cast<uint16_t>(uFlags);
  return 1;
}

// ---- 2D render -------------------------------------------------------------------

namespace {

void pcframe_ItemDraw(QDLSurface* poSurface, const DrawItem& o) {
  const uint32_t uColour = QDLSurfaceRGBToPixel(poSurface, o.aRed[0], o.aGreen[0], o.aBlue[0]);
  const int16_t* c = o.aiCoord;
  switch (o.uKind) {
    case PCFRAME_KIND_SPRITE:
      if (o.poFrame != nullptr) QDLBlit(poSurface, const_cast<QDLFrame*>(o.poFrame), c[0], c[1], o.uFlags, nullptr);
      break;
    case PCFRAME_KIND_TEXT: {
      if (o.pszText == nullptr || o.pszText[0] == '\0' || c[3] < 0 || c[3] > 2) break;
      QDLFont* poFont = pctext_poFontGet(c[2]);
      if (poFont == nullptr) break;
      static const int32_t aiLayout[3] = {QDLLAYOUT_CURSOR, QDLLAYOUT_RIGHT_AT_CURSOR, QDLLAYOUT_CENTRED_ON_CURSOR};
      QDLPrintf(poSurface, poFont, c[0], static_cast<int16_t>(c[1] - 3), uColour, 0, aiLayout[c[3]],
                QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, "%s", o.pszText);
      break;
    }
    case PCFRAME_KIND_CIRCLE:
      QDLCircle(poSurface, c[0], c[1], c[2], uColour, o.uFlags);
      break;
    case PCFRAME_KIND_LINE:
      QDLLine(poSurface, c[0], c[1], c[2], c[3], static_cast<uint16_t>(uColour), o.uFlags);
      break;
    case PCFRAME_KIND_BOX:
    case PCFRAME_KIND_SHADED_BOX:
      QDLRect(poSurface, c[0], c[1], c[2], c[3], uColour, o.uFlags);
      break;
    case PCFRAME_KIND_BACKDROP_SPRITE: {
      // Only the sheet of the current background slot is drawn; a sheet that
      // failed to load has no sprites and draws nothing.
      if (c[2] != pcfe_SheetGet()) break;
      QDLFrame* poFrame = pcfe_SheetSpriteGet(c[3]);
      if (poFrame != nullptr) QDLBlit(poSurface, poFrame, c[0], c[1], 0, nullptr);
      break;
    }
    default:
      // Sheet sprites and triangles belong to the 3D overlay pass.
      break;
  }
}

}  // namespace

int32_t pcframe_Render() {
  FramePacket* po = pcframe_poTake();
  if (po == nullptr) return 0;
  if (po->poFirstLayer == nullptr) return 1;
  QDLSurface* poSurface = QDLDisplaySurface();
  if (poSurface == nullptr) return 1;
  DrawLayer* poLayer = po->poFirstLayer;
  while (poLayer->pNext != nullptr) poLayer = poLayer->pNext;
  for (; poLayer != nullptr; poLayer = poLayer->pPrev)
    for (const DrawItem* poItem = poLayer->poFirstItem; poItem != nullptr; poItem = poItem->pNext)
      pcframe_ItemDraw(poSurface, *poItem);
  return 1;
}
