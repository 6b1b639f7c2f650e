#include <gtest/gtest.h>

#include <vector>

#include "framework/qdx_list.h"

namespace {

struct Item {
  QDXListNode oNode;
  int iValue;
  char acPad[20];
};

std::vector<int> Values(const QDXList& list) {
  std::vector<int> v;
  for (QDXListNode* p = QDXListFirst(&list); p; p = p->pNext) v.push_back(QDXListAs<Item>(p)->iValue);
  return v;
}

// Walks backwards and checks every link against its neighbour and the list.
void CheckLinks(const QDXList& list) {
  QDXListNode* pPrev = nullptr;
  for (QDXListNode* p = list.pFirst; p; p = p->pNext) {
    EXPECT_EQ(p->pList, &list);
    EXPECT_EQ(p->pPrev, pPrev);
    pPrev = p;
  }
  EXPECT_EQ(list.pLast, pPrev);
}

Item* Add(QDXList* list, int value) {
  Item* p = QDXListAs<Item>(QDXListAddNode(list));
  p->iValue = value;
  return p;
}

TEST(QDXList, AddKeepsInsertionOrderAndZeroFills) {
  QDXList list;
  QDXListInit(&list, sizeof(Item));
  EXPECT_EQ(QDXListFirst(&list), nullptr);
  for (int i = 0; i < 5; i++) {
    QDXListNode* p = QDXListAddNode(&list);
    ASSERT_NE(p, nullptr);
    Item* item = QDXListAs<Item>(p);
    EXPECT_EQ(item->iValue, 0);
    for (char c : item->acPad) EXPECT_EQ(c, 0);
    item->iValue = i;
  }
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4}));
  CheckLinks(list);
  QDXListFreeAll(&list);
  EXPECT_EQ(list.pFirst, nullptr);
  EXPECT_EQ(list.pLast, nullptr);
}

TEST(QDXList, RemoveFixesEndsAndNeighbours) {
  QDXList list;
  QDXListInit(&list, sizeof(Item));
  Item* a = Add(&list, 1);
  Item* b = Add(&list, 2);
  Item* c = Add(&list, 3);
  Item* d = Add(&list, 4);
  QDXListRemoveNode(&b->oNode);  // middle
  EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 4}));
  CheckLinks(list);
  QDXListRemoveNode(&a->oNode);  // first
  EXPECT_EQ(Values(list), (std::vector<int>{3, 4}));
  CheckLinks(list);
  QDXListRemoveNode(&d->oNode);  // last
  EXPECT_EQ(Values(list), (std::vector<int>{3}));
  CheckLinks(list);
  QDXListRemoveNode(&c->oNode);  // the only one
  EXPECT_EQ(list.pFirst, nullptr);
  EXPECT_EQ(list.pLast, nullptr);
  QDXListRemoveNode(nullptr);
}

TEST(QDXList, UnlinkKeepsTheNodeAndInsertTakesAPlace) {
  QDXList list;
  QDXListInit(&list, sizeof(Item));
  Add(&list, 1);
  Item* b = Add(&list, 2);
  Add(&list, 3);
  QDXListUnlinkNode(&b->oNode);
  EXPECT_EQ(b->oNode.pList, nullptr);
  EXPECT_EQ(b->iValue, 2);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));
  CheckLinks(list);
  QDXListRemoveNode(&b->oNode);  // an unlinked node is simply freed

  // A new node (appended at the tail first) takes the place of the first,
  // a middle and the last node; the old node is freed.
  for (int where = 0; where < 3; where++) {
    QDXList l;
    QDXListInit(&l, sizeof(Item));
    Item* items[3] = {Add(&l, 10), Add(&l, 11), Add(&l, 12)};
    Item* n = Add(&l, 99);
    QDXListInsertNode(&n->oNode, &items[where]->oNode);
    std::vector<int> expected{10, 11, 12};
    expected[where] = 99;
    EXPECT_EQ(Values(l), expected) << where;
    CheckLinks(l);
    QDXListFreeAll(&l);
  }
  // The new node right after the old one in the same list.
  QDXList l;
  QDXListInit(&l, sizeof(Item));
  Item* x = Add(&l, 1);
  Item* y = Add(&l, 2);
  QDXListInsertNode(&y->oNode, &x->oNode);
  EXPECT_EQ(Values(l), (std::vector<int>{2}));
  CheckLinks(l);
  QDXListFreeAll(&l);
  QDXListFreeAll(&list);
}

TEST(QDXList, NullListsAreIgnored) {
  QDXListInit(nullptr, sizeof(Item));
  EXPECT_EQ(QDXListAddNode(nullptr), nullptr);
  EXPECT_EQ(QDXListFirst(nullptr), nullptr);
  QDXListFreeAll(nullptr);
}

TEST(QDXListDeathTest, NodeSizeMustHoldTheLinks) {
  QDXList list;
  EXPECT_DEATH(QDXListInit(&list, 8), "cbNodeSize >= sizeof\\(QDXListNode\\)");
}

}  // namespace
