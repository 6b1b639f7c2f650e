// Screen regions.
#include "frontend/mregion.h"
#include "frontend/mteam_layout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/qdx_assert.h"
#include "scene3d/pcframe.h"
#include "shell/cstring.h"
#include "shell/draw2d.h"

Region mregion_aoTable[MREGION_MAX];
int32_t mregion_cCount = 0;

namespace {
char mregion_szChoiceName[MREGION_NAME_SIZE];
int32_t mregion_iChoice = -1;

bool mregion_bValid(int32_t i) { return i >= 0 && i < mregion_cCount; }
}  // namespace

void mregion_ChoiceListSet(const char* pszName, int32_t iChoice) {
  std::strncpy(mregion_szChoiceName, pszName != nullptr ? pszName : "", MREGION_NAME_SIZE - 1);
  mregion_szChoiceName[MREGION_NAME_SIZE - 1] = '\0';
  mregion_iChoice = iChoice;
}

void mregion_ChoiceListClear() {
  mregion_szChoiceName[0] = '\0';
  mregion_iChoice = -1;
}

void mregion_Reset() {
  mregion_cCount = 0;
  mregion_ChoiceListClear();
}

void mregion_Add(const RegionDef* poDef, int32_t iSprite, int32_t iSheet) {
  QDX_ASSERT(mregion_cCount < MREGION_MAX);
  QDX_ASSERT(poDef != nullptr);
  Region& o = mregion_aoTable[mregion_cCount];
  std::memset(&o, 0, sizeof(o));
  std::memcpy(o.szName, poDef->szName, MREGION_NAME_SIZE);
  o.szName[MREGION_NAME_SIZE - 1] = '\0';
  o.x = poDef->x;
  o.y = poDef->y;
  o.iWidth = poDef->iWidth;
  o.iHeight = poDef->iHeight;
  o.iPriority = static_cast<int16_t>(poDef->uPriority & 0xFFFF);
  o.bEnabled = 1;
  o.r = o.g = o.b = 127;
  o.uAlpha = poDef->uAlpha;
  o.uFurther = poDef->uFurther;
  o.bVisible = poDef->bVisible ? 1 : 0;
  o.iCurrentX = o.x;
  o.iCurrentY = o.y;
  if (o.bVisible) {
    o.bPlaced = poDef->bPlaced ? 1 : 0;
    o.uSlideDirection = poDef->uSlideDirection & 3;
    switch (o.uSlideDirection) {
      case MREGION_FROM_ABOVE: o.iCurrentY = -o.iHeight; break;
      case MREGION_FROM_BELOW: o.iCurrentY = 480; break;
      case MREGION_FROM_LEFT: o.iCurrentX = -o.iWidth; break;
      default: o.iCurrentX = 640; break;
    }
  } else {
    o.bPlaced = 1;
  }
  if (poDef->bValuesKept) {
    std::memcpy(o.auValues, poDef->auValues, sizeof(o.auValues));
    o.bValuesKept = 1;
  }
  o.iSprite = iSprite;
  o.iSheet = iSheet;
  for (int32_t& i : o.aiLinks) i = -1;
  mregion_cCount++;
}

void mregion_Draw(int32_t iIndex, int32_t x, int32_t y) {
  if (!mregion_bValid(iIndex)) return;
  const Region& o = mregion_aoTable[iIndex];
  pcframe_AddBackdropSprite(x, y, o.iPriority, o.iSheet, o.iSprite, o.uAlpha != 255 ? 4 : 0);
}

void mregion_DrawAll() {
  for (int32_t i = 0; i < mregion_cCount; ++i) {
    Region& o = mregion_aoTable[i];
    draw2d_FillColourSet(o.r, o.g, o.b, static_cast<uint8_t>(o.uAlpha));
    if (!o.bPlaced) {
      if (o.bVisible) mregion_Draw(i, o.iCurrentX, o.iCurrentY);
      switch (o.uSlideDirection) {
        case MREGION_FROM_ABOVE: o.iCurrentY += MREGION_SLIDE_STEP; break;
        case MREGION_FROM_BELOW: o.iCurrentY -= MREGION_SLIDE_STEP; break;
        case MREGION_FROM_LEFT: o.iCurrentX += MREGION_SLIDE_STEP; break;
        default: o.iCurrentX -= MREGION_SLIDE_STEP; break;
      }
      if (std::abs(o.iCurrentY - o.y) < MREGION_SLIDE_STEP && std::abs(o.iCurrentX - o.x) < MREGION_SLIDE_STEP) {
        o.bPlaced = 1;
      }
    }
    if (o.bPlaced && o.bVisible) mregion_Draw(i, o.x, o.y);
  }
}

int32_t mregion_FindByName(const char* pszName) {
  if (pszName == nullptr) return -1;
  for (int32_t i = 0; i < mregion_cCount; ++i)
    if (cstring_bEqual(mregion_aoTable[i].szName, pszName)) return i;
  return -1;
}

void mregion_DrawByName(const char* pszName) {
  int32_t i = mregion_FindByName(pszName);
  if (i >= 0) mregion_Draw(i, mregion_aoTable[i].x, mregion_aoTable[i].y);
}

void mregion_DrawAtByName(const char* pszName, int32_t x, int32_t y) { mregion_Draw(mregion_FindByName(pszName), x, y); }

int32_t mregion_XGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].x : 0; }
int32_t mregion_YGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].y : 0; }
int32_t mregion_WidthGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].iWidth : 0; }
int32_t mregion_HeightGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].iHeight : 0; }
int32_t mregion_PriorityGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].iPriority : 0; }
const char* mregion_NameGet(int32_t i) { return mregion_bValid(i) ? mregion_aoTable[i].szName : nullptr; }

void mregion_VisibleSet(int32_t i, int32_t bVisible) {
  if (mregion_bValid(i)) mregion_aoTable[i].bVisible = bVisible ? 1 : 0;
}

void mregion_LinksSet(const char* pszName, const char* pszUp, const char* pszDown, const char* pszLeft,
                      const char* pszRight) {
  int32_t i = mregion_FindByName(pszName);
  if (i < 0) return;
  Region& o = mregion_aoTable[i];
  o.aiLinks[0] = mregion_FindByName(pszUp);
  o.aiLinks[1] = mregion_FindByName(pszDown);
  o.aiLinks[2] = mregion_FindByName(pszLeft);
  o.aiLinks[3] = mregion_FindByName(pszRight);
}

int32_t mregion_LinkGet(int32_t iIndex, int32_t iEvent) {
  if (!mregion_bValid(iIndex) || iEvent < 8 || iEvent > 11) return -1;
  return mregion_aoTable[iIndex].aiLinks[iEvent - 8];
}

void mregion_LayoutAdd(const FrontEndLayoutRecord* paoRecords, int32_t iCount, int32_t iSheet) {
  for (int32_t i = 0; i < iCount; ++i) {
    const FrontEndLayoutRecord& r = paoRecords[i];
    RegionDef d{};
    std::snprintf(d.szName, sizeof(d.szName), "%s", r.pszName);
    d.x = r.x;
    d.y = r.y;
    d.iWidth = r.w;
    d.iHeight = r.h;
    d.uPriority = static_cast<uint32_t>(255 - i);
    d.uAlpha = r.uAlpha;
    d.bVisible = r.bVisible;
    d.bPlaced = 1;
    mregion_Add(&d, i, iSheet);
  }
}
