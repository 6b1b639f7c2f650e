// The list control.
#include "frontend/listctrl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/qdx_assert.h"

namespace {

bool listctrl_bMarked(const ListControl* po, int32_t i) { return po->aiSelect[i] == LISTCTRL_SKIP; }

// Moves the window just enough to show the cursor, keeping it inside the
// entries: top never below 0 and, when the list is longer than the window,
// never past the last full window.
void listctrl_WindowFit(ListControl* po) {
  if (po->iCursor < po->iTop) po->iTop = po->iCursor;
  if (po->iCursor > po->iTop + po->cVisibleRows - 1) po->iTop = po->iCursor - po->cVisibleRows + 1;
  po->iTop = std::clamp(po->iTop, 0, std::max(0, po->cNumListItems - po->cVisibleRows));
  po->iBottom = po->iTop + po->cVisibleRows - 1;
}

}  // namespace

void listctrl_Init(ListControl* po, int32_t cVisibleRows, int32_t cEntries, int32_t iWidth, int32_t iY, int32_t iX,
                   int32_t iFurther, int32_t iRowHeight) {
  QDX_ASSERT(cEntries >= 0 && cEntries <= LISTCTRL_ENTRIES_MAX);
  QDX_ASSERT(cVisibleRows > 0);
  po->cVisibleRows = cVisibleRows;
  po->cNumListItems = cEntries;
  po->iTop = 0;
  po->iBottom = cVisibleRows - 1;
  po->iZero = 0;
  po->iCursor = 0;
  po->iRowHeight = iRowHeight;
  po->iY = iY;
  po->iWidth = iWidth;
  po->iX = iX;
  po->iFurther = iFurther;
}

void listctrl_ItemSet(ListControl* listControl, int32_t iKind, const char* pszText, int32_t iValue, int32_t iValue2,
                      int32_t cItem) {
  QDX_ASSERT(cItem >= 0);
  QDX_ASSERT(cItem < listControl->cNumListItems);
  ListControlItem& o = listControl->aoItems[cItem];
  o.iKind = iKind;
  o.iValue = iValue;
  o.iValue2 = iValue2;
  std::snprintf(o.szText, sizeof(o.szText), "%s", pszText != nullptr ? pszText : "");
}

void listctrl_Up(ListControl* po) {
  if (po->iCursor <= 0) return;
  // The nearest selectable entry above; when every entry above is a heading
  // the cursor stays where it is and the window scrolls to the top of the
  // list, so that the leading headings show again.
  int32_t i = po->iCursor - 1;
  while (i >= 0 && listctrl_bMarked(po, i)) --i;
  if (i < 0) po->iTop = 0;
  else po->iCursor = i;
  listctrl_WindowFit(po);
}

void listctrl_Down(ListControl* po) {
  if (po->iCursor >= po->cNumListItems - 1) return;
  // The nearest selectable entry below; trailing headings are never entered.
  int32_t i = po->iCursor + 1;
  while (i < po->cNumListItems && listctrl_bMarked(po, i)) ++i;
  if (i >= po->cNumListItems) return;
  po->iCursor = i;
  listctrl_WindowFit(po);
}
