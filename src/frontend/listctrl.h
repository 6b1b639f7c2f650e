#pragma once
// The list control: a fixed number of visible rows over a longer list of
// entries, a cursor that moves one entry at a time and scrolls the window
// when it leaves it, stepping over entries marked as not selectable
// (headings, selection word -1). It holds positions only; the owner draws
// the rows of the window it reports.
#include <cstdint>

enum : int32_t {
  LISTCTRL_ENTRIES_MAX = 38,
  LISTCTRL_TEXT_SIZE = 40,
  LISTCTRL_SKIP = -1,
};

struct ListControlItem {
  int32_t iKind;  // 0 heading text, 1 normal entry
  char szText[LISTCTRL_TEXT_SIZE];
  int32_t iValue;
  int32_t iValue2;  // -1 when unused
};

struct ListControl {
  int32_t cVisibleRows;
  int32_t cNumListItems;
  int32_t iTop;
  int32_t iBottom;
  int32_t iZero;
  int32_t iCursor;
  int32_t iRowHeight, iY, iWidth, iX, iFurther;  // layout words kept for the owner
  int32_t aiSelect[LISTCTRL_ENTRIES_MAX];
  ListControlItem aoItems[LISTCTRL_ENTRIES_MAX];
};

void listctrl_Init(ListControl* po, int32_t cVisibleRows, int32_t cEntries, int32_t iWidth, int32_t iY, int32_t iX,
                   int32_t iFurther, int32_t iRowHeight);
void listctrl_ItemSet(ListControl* listControl, int32_t iKind, const char* pszText, int32_t iValue, int32_t iValue2,
                      int32_t cItem);
void listctrl_Up(ListControl* po);
void listctrl_Down(ListControl* po);
