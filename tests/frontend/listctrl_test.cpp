// The list control: window and cursor, headings, bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "frontend/listctrl.h"

namespace {

ListControl Make(int visible, int entries) {
  ListControl l{};
  listctrl_Init(&l, visible, entries, 236, 141, 25, 27, 19);
  for (int i = 0; i < entries; ++i) listctrl_ItemSet(&l, 1, "player", i, -1, i);
  return l;
}

void CheckWindow(const ListControl& l) {
  EXPECT_GE(l.iTop, 0);
  EXPECT_EQ(l.iBottom - l.iTop + 1, l.cVisibleRows);
  EXPECT_GE(l.iCursor, l.iTop);
  EXPECT_LE(l.iCursor, l.iBottom);
  EXPECT_GE(l.iCursor, 0);
  EXPECT_LT(l.iCursor, l.cNumListItems);
}

TEST(ListControl, DownToTheEndAndBackUp) {
  ListControl l = Make(8, 30);
  EXPECT_EQ(l.iTop, 0);
  EXPECT_EQ(l.iBottom, 7);
  EXPECT_EQ(l.iRowHeight, 19);
  EXPECT_EQ(l.iX, 25);
  for (int i = 0; i < 29; ++i) {
    listctrl_Down(&l);
    CheckWindow(l);
  }
  EXPECT_EQ(l.iCursor, 29);
  EXPECT_EQ(l.iTop, 22);
  EXPECT_EQ(l.iBottom, 29);
  listctrl_Down(&l);
  EXPECT_EQ(l.iCursor, 29);
  EXPECT_EQ(l.iTop, 22);
  for (int i = 0; i < 3; ++i) listctrl_Up(&l);
  EXPECT_EQ(l.iCursor, 26);
  EXPECT_EQ(l.iTop, 22);  // still inside the window
  for (int i = 0; i < 40; ++i) {
    listctrl_Up(&l);
    CheckWindow(l);
  }
  EXPECT_EQ(l.iCursor, 0);
  EXPECT_EQ(l.iTop, 0);
  EXPECT_EQ(l.iBottom, 7);
}

TEST(ListControl, HeadingsAreSteppedOver) {
  // A heading at 0 with the cursor on 1: up finds it marked and stays on 1.
  ListControl l = Make(4, 12);
  l.aiSelect[0] = LISTCTRL_SKIP;
  l.aiSelect[5] = LISTCTRL_SKIP;
  l.aiSelect[6] = LISTCTRL_SKIP;
  l.iCursor = 1;
  listctrl_Up(&l);
  EXPECT_EQ(l.iCursor, 1);
  CheckWindow(l);
  // Scrolled away and back: up from entry 1 shows the heading at 0 again.
  l.iCursor = 1;
  l.iTop = 1;
  l.iBottom = 4;
  listctrl_Up(&l);
  EXPECT_EQ(l.iCursor, 1);
  EXPECT_EQ(l.iTop, 0);
  EXPECT_EQ(l.iBottom, 3);
  // Two headings in a row are skipped in one move, both ways.
  for (int i = 0; i < 3; ++i) listctrl_Down(&l);
  EXPECT_EQ(l.iCursor, 4);
  listctrl_Down(&l);
  EXPECT_EQ(l.iCursor, 7);
  CheckWindow(l);
  EXPECT_EQ(l.iTop, 4);
  listctrl_Up(&l);
  EXPECT_EQ(l.iCursor, 4);
  CheckWindow(l);
}

TEST(ListControl, TrailingHeadingsAndListsThatBeginWithTwoHeadingsStayInBounds) {
  ListControl l = Make(4, 6);
  l.aiSelect[4] = LISTCTRL_SKIP;
  l.aiSelect[5] = LISTCTRL_SKIP;
  for (int i = 0; i < 10; ++i) listctrl_Down(&l);
  EXPECT_EQ(l.iCursor, 3);  // never onto the trailing headings
  CheckWindow(l);
  ListControl m = Make(3, 8);
  m.aiSelect[0] = LISTCTRL_SKIP;
  m.aiSelect[1] = LISTCTRL_SKIP;
  m.iCursor = 2;
  for (int i = 0; i < 5; ++i) listctrl_Up(&m);  // settles instead of looping
  EXPECT_EQ(m.iCursor, 2);
  CheckWindow(m);
  // A list shorter than its window keeps top 0.
  ListControl s = Make(7, 3);
  for (int i = 0; i < 5; ++i) listctrl_Down(&s);
  EXPECT_EQ(s.iCursor, 2);
  EXPECT_EQ(s.iTop, 0);
  EXPECT_EQ(s.iBottom, 6);
}

TEST(ListControl, ItemsAreCopiedAndCut) {
  ListControl l = Make(4, 5);
  listctrl_ItemSet(&l, 0, "A heading whose text is far longer than the thirty-nine characters", 7, 8, 4);
  EXPECT_EQ(l.aoItems[4].iKind, 0);
  EXPECT_EQ(l.aoItems[4].iValue, 7);
  EXPECT_EQ(l.aoItems[4].iValue2, 8);
  EXPECT_EQ(std::strlen(l.aoItems[4].szText), 39u);
}

TEST(ListControlDeathTest, AnItemBeyondTheCountIsRefused) {
  EXPECT_DEATH(
      {
        ListControl l = Make(4, 5);
        listctrl_ItemSet(&l, 1, "x", 0, 0, 5);
      },
      "cItem < listControl->cNumListItems");
  EXPECT_DEATH({ (void)Make(4, 39); }, "LISTCTRL_ENTRIES_MAX");
}

}  // namespace
