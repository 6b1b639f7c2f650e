#pragma once
// Screen regions: a front-end screen is laid out as named rectangles, each
// showing one sprite of the current background sheet (backdrop, buttons,
// arrows, panels). The table holds the current screen's regions, added from
// static layout records; regions can slide in from a screen edge, are drawn
// into the frame packet and are found by name. Units are 640 x 480.
#include <cstdint>

enum : int32_t {
  MREGION_MAX = 85,
  MREGION_NAME_SIZE = 20,
  MREGION_VALUES = 12,
  MREGION_SLIDE_STEP = 7,
};

// Slide directions: where a region comes from.
enum : uint32_t {
  MREGION_FROM_ABOVE = 0,
  MREGION_FROM_BELOW = 1,
  MREGION_FROM_LEFT = 2,
  MREGION_FROM_RIGHT = 3,
};

struct RegionDef {
  char szName[MREGION_NAME_SIZE];
  int32_t x, y, iWidth, iHeight;
  uint32_t uPriority;  // low 16 bits: draw priority (255 the backdrop)
  uint32_t auValues[MREGION_VALUES];
  uint32_t uAlpha;     // 255 opaque
  uint32_t bValuesKept;
  uint32_t uFurther;
  uint32_t bVisible;
  uint32_t uSlideDirection;
  uint32_t bPlaced;    // 1: starts at its place; 0: slides in
};

struct Region {
  int32_t x, y, iWidth, iHeight;
  int16_t iPriority;
  char szName[MREGION_NAME_SIZE];
  int32_t iSprite;
  int32_t iSheet;
  uint8_t r, g, b;
  uint32_t uAlpha;
  uint32_t uFurther;
  int32_t bEnabled;
  int32_t bVisible;
  int32_t iCurrentX, iCurrentY;
  int32_t bPlaced;
  uint32_t uSlideDirection;
  uint32_t auValues[MREGION_VALUES];
  uint32_t bValuesKept;
  int32_t aiLinks[4];  // neighbours for up, down, left, right; -1 none
};

extern Region mregion_aoTable[MREGION_MAX];
extern int32_t mregion_cCount;

void mregion_Reset();
void mregion_Add(const RegionDef* poDef, int32_t iSprite, int32_t iSheet);
// Adds one region per layout record, in sprite order, each at its place,
// the first record lowest (priority 255 down).
struct FrontEndLayoutRecord;
void mregion_LayoutAdd(const FrontEndLayoutRecord* paoRecords, int32_t iCount, int32_t iSheet);
void mregion_DrawAll();
void mregion_Draw(int32_t iIndex, int32_t x, int32_t y);
void mregion_DrawByName(const char* pszName);
void mregion_DrawAtByName(const char* pszName, int32_t x, int32_t y);
int32_t mregion_FindByName(const char* pszName);
int32_t mregion_XGet(int32_t iIndex);
int32_t mregion_YGet(int32_t iIndex);
int32_t mregion_WidthGet(int32_t iIndex);
int32_t mregion_HeightGet(int32_t iIndex);
int32_t mregion_PriorityGet(int32_t iIndex);
const char* mregion_NameGet(int32_t iIndex);
void mregion_VisibleSet(int32_t iIndex, int32_t bVisible);
void mregion_LinksSet(const char* pszName, const char* pszUp, const char* pszDown, const char* pszLeft,
                      const char* pszRight);
// The neighbour of a region for an event 8 (up), 9 (down), 10 (left) or 11
// (right); -1 when none.
int32_t mregion_LinkGet(int32_t iIndex, int32_t iEvent);

// The choice list that some screens name a region for.
void mregion_ChoiceListSet(const char* pszName, int32_t iChoice);
void mregion_ChoiceListClear();
