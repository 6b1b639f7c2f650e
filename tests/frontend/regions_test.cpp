// Screen regions: adding, slide-in and snap, lookups, links and drawing.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "frontend/mregion.h"
#include "scene3d/pcframe.h"

namespace {

RegionDef Def(const char* name, int x, int y, int w, int h, uint32_t priority, uint32_t visible, uint32_t direction,
              uint32_t placed, uint32_t alpha = 255) {
  RegionDef d{};
  std::strncpy(d.szName, name, sizeof(d.szName) - 1);
  d.x = x;
  d.y = y;
  d.iWidth = w;
  d.iHeight = h;
  d.uPriority = priority;
  d.uAlpha = alpha;
  d.bVisible = visible;
  d.uSlideDirection = direction;
  d.bPlaced = placed;
  return d;
}

// The backdrop-sprite items of this frame as (x, y, sprite) in draw order.
std::vector<std::array<int, 3>> Items() {
  std::vector<std::array<int, 3>> v;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE) v.push_back({i->aiCoord[0], i->aiCoord[1], i->aiCoord[3]});
  return v;
}

TEST(Regions, ARegionFromBelowSlidesSevenAFrameAndSnapsToItsPlace) {
  mregion_Reset();
  RegionDef d = Def("panel", 100, 300, 50, 40, 20, 1, MREGION_FROM_BELOW, 0);
  mregion_Add(&d, 3, 2);
  int frames = 0;
  std::vector<int> ys;
  for (; frames < 100 && !mregion_aoTable[0].bPlaced; ++frames) {
    pcframe_Begin();
    mregion_DrawAll();
    auto items = Items();
    ASSERT_FALSE(items.empty());
    ys.push_back(items.front()[1]);
    EXPECT_EQ(items.front()[0], 100);
    EXPECT_EQ(items.front()[2], 3);
  }
  // 480 - 300 = 180: ceil(180 / 7) = 26 frames, or one fewer.
  EXPECT_TRUE(frames == 26 || frames == 25) << frames;
  EXPECT_EQ(ys.front(), 480);
  EXPECT_EQ(ys[1], 473);
  pcframe_Begin();
  mregion_DrawAll();
  auto items = Items();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0][1], 300);  // at its exact place
}

TEST(Regions, EveryDirectionStartsOffItsEdge) {
  mregion_Reset();
  RegionDef a = Def("a", 10, 20, 30, 40, 1, 1, MREGION_FROM_ABOVE, 0);
  RegionDef b = Def("b", 10, 20, 30, 40, 1, 1, MREGION_FROM_LEFT, 0);
  RegionDef c = Def("c", 10, 20, 30, 40, 1, 1, MREGION_FROM_RIGHT, 0);
  mregion_Add(&a, 0, 0);
  mregion_Add(&b, 0, 0);
  mregion_Add(&c, 0, 0);
  EXPECT_EQ(mregion_aoTable[0].iCurrentY, -40);
  EXPECT_EQ(mregion_aoTable[1].iCurrentX, -30);
  EXPECT_EQ(mregion_aoTable[2].iCurrentX, 640);
  for (int i = 0; i < 200; ++i) mregion_DrawAll();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(mregion_aoTable[i].bPlaced, 1);
}

TEST(Regions, LookupsInvisibleRegionsLinksAndUnknownNames) {
  mregion_Reset();
  EXPECT_EQ(mregion_FindByName("main"), -1);  // empty table
  RegionDef m = Def("main", 0, 0, 640, 480, 255, 1, 0, 1);
  RegionDef hidden = Def("cursor", 5, 6, 7, 8, 250, 0, 1, 0);
  RegionDef x1 = Def("dup", 1, 1, 1, 1, 200, 1, 0, 1);
  RegionDef x2 = Def("dup", 2, 2, 2, 2, 201, 1, 0, 1, 128);
  mregion_Add(&m, 0, 4);
  mregion_Add(&hidden, 1, 4);
  mregion_Add(&x1, 2, 4);
  mregion_Add(&x2, 3, 4);
  EXPECT_EQ(mregion_FindByName("dup"), 2);  // the first of two
  EXPECT_EQ(mregion_FindByName("nothing"), -1);
  EXPECT_EQ(mregion_FindByName("Main"), -1);  // exact comparison
  int c = mregion_FindByName("cursor");
  EXPECT_EQ(mregion_XGet(c), 5);
  EXPECT_EQ(mregion_YGet(c), 6);
  EXPECT_EQ(mregion_aoTable[c].bPlaced, 1);  // invisible regions are placed
  EXPECT_EQ(mregion_PriorityGet(c), 250);
  EXPECT_STREQ(mregion_NameGet(0), "main");
  EXPECT_EQ(mregion_NameGet(-1), nullptr);
  EXPECT_EQ(mregion_aoTable[0].r, 127);

  pcframe_Begin();
  mregion_DrawAll();
  EXPECT_EQ(Items().size(), 3u);  // the invisible one is not drawn
  mregion_DrawByName("nothing");
  mregion_Draw(-1, 0, 0);
  mregion_Draw(85, 0, 0);
  EXPECT_EQ(Items().size(), 3u);
  mregion_DrawAtByName("cursor", 100, 110);  // drawn by name at a given place
  EXPECT_EQ(Items().size(), 4u);
  // A translucent region's item carries flags 4.
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    if (l->iPriority == 201) {
      EXPECT_EQ(l->poFirstItem->uFlags, 4);
    }

  mregion_LinksSet("main", "cursor", nullptr, "dup", "nothing");
  EXPECT_EQ(mregion_LinkGet(0, 8), 1);
  EXPECT_EQ(mregion_LinkGet(0, 9), -1);
  EXPECT_EQ(mregion_LinkGet(0, 10), 2);
  EXPECT_EQ(mregion_LinkGet(0, 11), -1);
  mregion_LinksSet("nothing", "main", "main", "main", "main");  // no such region: no change
  EXPECT_EQ(mregion_LinkGet(1, 8), -1);
  mregion_Reset();
  EXPECT_EQ(mregion_FindByName("main"), -1);
}

TEST(RegionsDeathTest, The86thRegionIsRefused) {
  EXPECT_DEATH(
      {
        mregion_Reset();
        RegionDef d = Def("r", 0, 0, 1, 1, 1, 1, 0, 1);
        for (int i = 0; i < 86; ++i) mregion_Add(&d, 0, 0);
      },
      "mregion_cCount < MREGION_MAX");
}

}  // namespace
