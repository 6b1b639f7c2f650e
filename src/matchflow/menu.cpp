// The text-menu library: three fixed pools, a chain of named menus, the menu
// step and the drawing of list and two-column pages.
#include "matchflow/menu.h"

#include <cstring>

#include "framework/qdx_assert.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/caption.h"
#include "shell/draw2d.h"

namespace {

Menu s_aoMenus[MENU_MAX];
MenuPage s_aoPages[MENU_PAGE_MAX];
MenuItem s_aoItems[MENU_ITEM_MAX];
std::int32_t s_cMenus = 0, s_cPages = 0, s_cItems = 0;
Menu* s_poChain = nullptr;
std::int32_t s_aiFlags[MENU_FLAGS];
std::int32_t s_x = 255, s_y = 125, s_cRows = 6, s_iRowHeight = 16;

// Copies a name into a field of cMax characters and its terminator.
void NameCopy(char* pszTo, const char* pszFrom, std::int32_t cMax) {
  std::int32_t i = 0;
  if (pszFrom != nullptr) {
    for (; i < cMax && pszFrom[i] != '\0'; i++) pszTo[i] = pszFrom[i];
  }
  pszTo[i] = '\0';
}

// Names compare as stored: cut to their field's length.
bool NameIs(const char* pszStored, const char* pszName, std::int32_t cMax) {
  return pszName != nullptr && std::strncmp(pszStored, pszName, static_cast<std::size_t>(cMax)) == 0 &&
         (std::strlen(pszName) <= static_cast<std::size_t>(cMax) || pszStored[cMax] == '\0');
}

MenuPage* PageOf(Menu* pm, const char* pszPage) {
  if (pm == nullptr || pszPage == nullptr || pszPage[0] == '\0') return nullptr;
  for (MenuPage* p = pm->poFirstPage; p != nullptr; p = p->poNext) {
    if (NameIs(p->szName, pszPage, MENU_NAME_MAX)) return p;
  }
  return nullptr;
}

void PageMakeCurrent(Menu* pm, MenuPage* pmp) {
  pm->poCurrentPage = pmp;
  NameCopy(pm->szCurrentPage, pmp->szName, MENU_NAME_MAX);
}

// Moves the cursor one item on or back, wrapping at the ends, until an item
// that can be chosen is reached; after one whole round it stays where it was.
void CursorMove(MenuPage* pmp, bool bForward) {
  if (pmp->eLayout != MENU_LAYOUT_LIST && pmp->eLayout != MENU_LAYOUT_TWO_COLUMNS) {
    QDX_ASSERT(0);
    return;
  }
  if (pmp->poCurrent == nullptr || pmp->cItems <= 0) return;
  MenuItem* poStart = pmp->poCurrent;
  const std::int32_t iStart = pmp->iIndex;
  MenuItem* p = poStart;
  std::int32_t i = iStart;
  for (std::int32_t n = 0; n < pmp->cItems; n++) {
    if (bForward) {
      p = p->poNext;
      i++;
      if (p == nullptr) {
        p = pmp->poFirst;
        i = 0;
      }
    } else {
      p = p->poPrev;
      i--;
      if (p == nullptr) {
        p = pmp->poLast;
        i = pmp->cItems - 1;
      }
    }
    if (p->iType == MENU_ITEM_SELECTABLE) {
      pmp->poCurrent = p;
      pmp->iIndex = i;
      return;
    }
  }
  pmp->poCurrent = poStart;
  pmp->iIndex = iStart;
}

void Print(const MenuItemPlace& o) {
  draw2d_TextColourSet(o.r, o.g, o.b, 255);
  draw2d_TextShadowDraw(o.poItem->szLabel, pcfe_ScaleX(static_cast<std::int16_t>(o.x)),
                        pcfe_ScaleY(static_cast<std::int16_t>(o.y)));
}

// The frame is 170 wide at x 245, centred on the list's column (x 330); a
// page whose title or items are wider gets a wider frame about that column.
void PageDraw(const MenuPage* pmp) {
  const std::int32_t cShown = pmp->cItems < s_cRows ? pmp->cItems : s_cRows;
  MenuItemPlace ao[MENU_ITEM_MAX];
  const std::int32_t c = menu_PageLayout(pmp, ao, MENU_ITEM_MAX);
  const std::int32_t iCentre = 330;
  std::int32_t iHalf = pcfe_ScaleX(iCentre) - pcfe_ScaleX(245);
  auto Hold = [&](const char* psz, std::int32_t x) {
    // Half the text's width and its shadow's pixel from the column, plus a margin.
    const std::int32_t iFrom = pcfe_ScaleX(static_cast<std::int16_t>(x)) - pcfe_ScaleX(iCentre);
    const std::int32_t iNeed = (iFrom < 0 ? -iFrom : iFrom) + pctext_WidthGet(psz) / 2 + 1 + 8;
    if (iNeed > iHalf) iHalf = iNeed;
  };
  Hold(pmp->szName, iCentre);
  for (std::int32_t i = 0; i < c; i++) Hold(ao[i].poItem->szLabel, ao[i].x);
  // Back from screen pixels to the layout's units, rounded outward.
  const std::int32_t iUnit = pcfe_ScaleX(1000);
  const std::int32_t iHalfUnits = iUnit > 0 ? (iHalf * 1000 + iUnit - 1) / iUnit : iHalf;
  caption_PanelDraw(iCentre - iHalfUnits, 100, 160, 2 * iHalfUnits, (cShown + 2) * s_iRowHeight);
  draw2d_TextColourSet(200, 200, 200, 255);
  draw2d_TextShadowDraw(pmp->szName, pcfe_ScaleX(iCentre), pcfe_ScaleY(101));
  for (std::int32_t i = 0; i < c; i++) Print(ao[i]);
}

void ColourOf(const MenuPage* pmp, const MenuItem* p, MenuItemPlace* po) {
  std::uint8_t r = 90, g = 90, b = 90;
  if (p == pmp->poCurrent) {
    r = 200, g = 200, b = 0;
  } else if (p->iType == MENU_ITEM_COLUMN_A) {
    r = 127, g = 0, b = 127;
  } else if (p->iType != MENU_ITEM_DIMMED) {
    r = 200, g = 200, b = 200;
  }
  po->r = r, po->g = g, po->b = b;
}

}  // namespace

void menu_Reset() {
  std::memset(s_aoMenus, 0, sizeof s_aoMenus);
  std::memset(s_aoPages, 0, sizeof s_aoPages);
  std::memset(s_aoItems, 0, sizeof s_aoItems);
  std::memset(s_aiFlags, 0, sizeof s_aiFlags);
  s_cMenus = s_cPages = s_cItems = 0;
  s_poChain = nullptr;
}

Menu* menu_MenuFind(const char* pszName) {
  for (Menu* pm = s_poChain; pm != nullptr; pm = pm->poNext) {
    if (NameIs(pm->szName, pszName, MENU_NAME_MAX)) return pm;
  }
  return nullptr;
}

std::int32_t menu_MenuAdd(const char* pszName) {
  if (pszName == nullptr || menu_MenuFind(pszName) != nullptr || s_cMenus >= MENU_MAX) return 0;
  Menu* pm = &s_aoMenus[s_cMenus++];
  *pm = Menu{};
  NameCopy(pm->szName, pszName, MENU_NAME_MAX);
  Menu** ppLink = &s_poChain;
  while (*ppLink != nullptr) ppLink = &(*ppLink)->poNext;
  *ppLink = pm;
  return 1;
}

MenuPage* menu_PageFind(const char* pszMenu, const char* pszPage) { return PageOf(menu_MenuFind(pszMenu), pszPage); }

std::int32_t menu_PageAdd(const char* pszMenu, const char* pszPage, std::int32_t eLayout, std::int32_t iWord) {
  Menu* pm = menu_MenuFind(pszMenu);
  if (pm == nullptr || pszPage == nullptr || PageOf(pm, pszPage) != nullptr || s_cPages >= MENU_PAGE_MAX) return 0;
  MenuPage* pmp = &s_aoPages[s_cPages++];
  *pmp = MenuPage{};
  NameCopy(pmp->szName, pszPage, MENU_NAME_MAX);
  pmp->eLayout = eLayout;
  pmp->iWord = iWord;
  MenuPage** ppLink = &pm->poFirstPage;
  while (*ppLink != nullptr) ppLink = &(*ppLink)->poNext;
  *ppLink = pmp;
  if (pm->poCurrentPage == nullptr) PageMakeCurrent(pm, pmp);
  return 1;
}

std::int32_t menu_ItemAdd(const char* pszMenu, const char* pszPage, const char* pszLabel, std::int32_t iType,
                          const char* pszSelectPage, const char* pszBackPage, MenuOperation pfnOperation) {
  MenuPage* pmp = menu_PageFind(pszMenu, pszPage);
  if (pmp == nullptr || s_cItems >= MENU_ITEM_MAX) return 0;
  MenuItem* p = &s_aoItems[s_cItems++];
  *p = MenuItem{};
  NameCopy(p->szLabel, pszLabel, MENU_NAME_MAX);
  p->iType = iType;
  NameCopy(p->szSelectPage, pszSelectPage, MENU_LINK_MAX);
  NameCopy(p->szBackPage, pszBackPage, MENU_LINK_MAX);
  p->pfnOperation = pfnOperation;
  p->poPrev = pmp->poLast;
  if (pmp->poLast != nullptr) pmp->poLast->poNext = p;
  else pmp->poFirst = p;
  pmp->poLast = p;
  pmp->poCurrent = pmp->poFirst;
  pmp->iIndex = 0;
  pmp->cItems++;
  return 1;
}

void menu_ItemTypeSet(const char* pszMenu, std::int32_t iType, std::int32_t iIndex) {
  Menu* pm = menu_MenuFind(pszMenu);
  if (pm == nullptr || pm->poFirstPage == nullptr) return;
  MenuPage* pmp = pm->poFirstPage;
  if (iIndex < 0 || iIndex >= pmp->cItems) return;
  MenuItem* p = pmp->poFirst;
  for (std::int32_t i = 0; i < iIndex; i++) p = p->poNext;
  p->iType = iType;
}

void menu_Open(const char* pszMenu, const char* pszPage) {
  Menu* pm = menu_MenuFind(pszMenu);
  MenuPage* pmp = PageOf(pm, pszPage);
  if (pmp == nullptr) return;
  PageMakeCurrent(pm, pmp);
  pm->eState = MENU_STATE_SHOWING;
}

void menu_Close(const char* pszMenu) {
  Menu* pm = menu_MenuFind(pszMenu);
  if (pm == nullptr) return;
  pm->eState = MENU_STATE_CLOSED;
  if (pm->poFirstPage == nullptr) return;
  PageMakeCurrent(pm, pm->poFirstPage);
  pm->poFirstPage->poCurrent = pm->poFirstPage->poFirst;
  pm->poFirstPage->iIndex = 0;
}

void menu_Step(const char* pszMenu) {
  Menu* pm = menu_MenuFind(pszMenu);
  if (pm == nullptr) return;
  switch (pm->eState) {
    case MENU_STATE_CLOSED:
      if (s_aiFlags[MENU_FLAG_OPEN]) {
        s_aiFlags[MENU_FLAG_OPEN] = 0;
        pm->eState = MENU_STATE_SHOWING;
        if (pm->poCurrentPage != nullptr) pm->poCurrentPage->iIndex = 0;
      }
      return;
    case MENU_STATE_RUNNING: {
      MenuItem* p = pm->poCurrentPage ? pm->poCurrentPage->poCurrent : nullptr;
      const std::int32_t bAgain = (p != nullptr && p->pfnOperation != nullptr) ? p->pfnOperation(pm) : 0;
      // An operation may close the menu itself; that state stays.
      if (!bAgain && pm->eState == MENU_STATE_RUNNING) pm->eState = MENU_STATE_SHOWING;
      return;
    }
    case MENU_STATE_SHOWING:
      break;
    default:
      QDX_ASSERT(0);
      return;
  }
  MenuPage* pmp = pm->poCurrentPage;
  if (pmp == nullptr) return;
  PageDraw(pmp);
  if (s_aiFlags[MENU_FLAG_UP]) {
    s_aiFlags[MENU_FLAG_UP] = 0;
    CursorMove(pmp, false);
  }
  if (s_aiFlags[MENU_FLAG_DOWN]) {
    s_aiFlags[MENU_FLAG_DOWN] = 0;
    CursorMove(pmp, true);
  }
  MenuItem* p = pmp->poCurrent;
  if (s_aiFlags[MENU_FLAG_BACK]) {
    s_aiFlags[MENU_FLAG_BACK] = 0;
    if (p != nullptr) menu_Open(pm->szName, p->szBackPage);
    return;
  }
  if (s_aiFlags[MENU_FLAG_SELECT]) {
    s_aiFlags[MENU_FLAG_SELECT] = 0;
    if (p == nullptr) return;
    if (p->pfnOperation != nullptr) {
      pm->eState = MENU_STATE_RUNNING;
    } else if (MenuPage* pmpNext = PageOf(pm, p->szSelectPage)) {
      PageMakeCurrent(pm, pmpNext);
      pmpNext->poCurrent = pmpNext->poFirst;
      pmpNext->iIndex = 0;
    }
  }
}

void menu_PositionSet(std::int32_t x, std::int32_t y) {
  s_x = x;
  s_y = y;
}
void menu_RowHeightSet(std::int32_t h) { s_iRowHeight = h; }
void menu_RowsSet(std::int32_t n) { s_cRows = n; }

std::int32_t menu_FlagGet(std::int32_t i) { return i >= 0 && i < MENU_FLAGS ? s_aiFlags[i] : 0; }
void menu_FlagSet(std::int32_t i, std::int32_t iValue) {
  if (i >= 0 && i < MENU_FLAGS) s_aiFlags[i] = iValue;
}

std::int32_t menu_PageLayout(const MenuPage* pmp, MenuItemPlace* aoOut, std::int32_t cMax) {
  if (pmp == nullptr) return 0;
  std::int32_t c = 0;
  if (pmp->eLayout == MENU_LAYOUT_TWO_COLUMNS) {
    // Half the rows in each column; a column marker starts the next column.
    std::int32_t cRows = 0;
    for (const MenuItem* p = pmp->poFirst; p != nullptr; p = p->poNext) {
      if (p->iType != MENU_ITEM_COLUMN_A && p->iType != MENU_ITEM_COLUMN_B) cRows++;
    }
    const std::int32_t cPerColumn = (cRows + 1) / 2;
    std::int32_t iColumn = 0, iRow = 0, cInColumn = 0;
    for (const MenuItem* p = pmp->poFirst; p != nullptr && c < cMax; p = p->poNext) {
      const bool bMarker = p->iType == MENU_ITEM_COLUMN_A || p->iType == MENU_ITEM_COLUMN_B;
      const bool bFull = !bMarker && cInColumn >= cPerColumn;
      if (iColumn == 0 && iRow > 0 && (bMarker || bFull)) {
        iColumn = 1;
        iRow = 0;
        cInColumn = 0;
      }
      MenuItemPlace& o = aoOut[c++];
      o.poItem = p;
      o.x = s_x + 75 + iColumn * 23 * s_iRowHeight;
      o.y = s_y + iRow * s_iRowHeight;
      ColourOf(pmp, p, &o);
      iRow++;
      if (!bMarker) cInColumn++;
    }
    return c;
  }
  if (pmp->eLayout != MENU_LAYOUT_LIST) {
    QDX_ASSERT(0);
    return 0;
  }
  const std::int32_t cShown = pmp->cItems < s_cRows ? pmp->cItems : s_cRows;
  const MenuItem* p = pmp->poFirst;
  for (std::int32_t i = 0; i < cShown && p != nullptr && c < cMax; i++) {
    MenuItemPlace& o = aoOut[c++];
    o.poItem = p;
    o.x = s_x + 75;
    o.y = s_y + i * s_iRowHeight;
    ColourOf(pmp, p, &o);
    p = p->poNext != nullptr ? p->poNext : pmp->poFirst;
  }
  return c;
}

std::int32_t menu_iPoolUsedGet(std::int32_t iPool) {
  return iPool == 0 ? s_cMenus : iPool == 1 ? s_cPages : iPool == 2 ? s_cItems : 0;
}
