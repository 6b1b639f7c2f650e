// The frame packet's draw list: layer order, item order within a layer, the
// pools, the text pool and the 2D render.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_text.h"
#include "display/qdl_bank.h"
#include "frontend/pcfe.h"
#include "frontend_env.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"

namespace {

uint32_t PixelAt(int32_t x, int32_t y) {
  uint32_t p = 0;
  EXPECT_EQ(QDLGetPixel(QDLDisplaySurface(), x, y, &p), 0u);
  return p;
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) { return QDLSurfaceRGBToPixel(QDLDisplaySurface(), r, g, b); }

void ClearScreen() { QDLFillRect(QDLDisplaySurface(), nullptr, 0, 0); }

// The priorities of the layers in list order and the number of items each.
std::string ListShape() {
  std::string s;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext) {
    int n = 0;
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) ++n;
    s += std::to_string(l->iPriority) + ":" + std::to_string(n) + " ";
    if (l->pNext != nullptr) {
      EXPECT_EQ(l->pNext->pPrev, l);
    }
  }
  return s;
}

TEST(FramePacket, LayersAscendAndTheLastAddedItemLeadsItsLayer) {
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, 10, 1, 0, 0, 0), 1);
  ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, 5, 2, 0, 0, 0), 1);
  ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, 20, 3, 0, 0, 0), 1);
  ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, 10, 4, 0, 0, 0), 1);
  ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, 7, 5, 0, 0, 0), 1);
  EXPECT_EQ(ListShape(), "5:1 7:1 10:2 20:1 ");
  DrawLayer* l10 = pcframe_poCurrent->poFirstLayer->pNext->pNext;
  EXPECT_EQ(l10->poFirstItem->aRed[0], 4);  // the later of the two
  EXPECT_EQ(l10->poFirstItem->pNext->aRed[0], 1);
  EXPECT_EQ(pcframe_poCurrent->cLayersInUse, 4);
  EXPECT_EQ(pcframe_poCurrent->cItemsInUse, 5);
  // Begin releases everything.
  pcframe_Begin();
  EXPECT_EQ(pcframe_poCurrent->poFirstLayer, nullptr);
  EXPECT_EQ(pcframe_poCurrent->cItemsInUse, 0);
  EXPECT_EQ(pcframe_poCurrent->iTextLength, 0);
}

TEST(FramePacket, NothingIsAddedBeforeBeginAndTakingClearsTheReadyFlag) {
  pcframe_Begin();
  EXPECT_EQ(pcframe_bReadyGet(), 1);
  EXPECT_NE(pcframe_poTake(), nullptr);
  EXPECT_EQ(pcframe_bReadyGet(), 0);
  EXPECT_EQ(pcframe_poTake(), nullptr);
  EXPECT_EQ(pcframe_AddBox(0, 0, 5, 5, 1, 255, 0, 0, 255, 1), 0);
  EXPECT_EQ(pcframe_AddText(0, 0, 1, 255, 255, 255, "x", 0, 0, 0), 0);
  EXPECT_EQ(pcframe_iTextCuts, 0);  // not ready is not a full pool
  EXPECT_EQ(pcframe_poItemNew(3), nullptr);
  EXPECT_EQ(pcframe_Render(), 0);
}

TEST(FramePacket, PoolsRunOutWithoutDamage) {
  pcframe_Begin();
  for (int i = 0; i < PCFRAME_LAYERS_MAX; ++i) ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, i, 0, 0, 0, 0), 1) << i;
  EXPECT_EQ(pcframe_AddLine(0, 0, 1, 1, 1000, 0, 0, 0, 0), 0);  // a new priority needs a layer
  EXPECT_EQ(pcframe_AddLine(0, 0, 1, 1, 3, 0, 0, 0, 0), 1);     // an existing one does not
  int added = PCFRAME_LAYERS_MAX + 1;
  while (pcframe_AddLine(0, 0, 1, 1, 3, 0, 0, 0, 0)) ++added;
  EXPECT_EQ(added, PCFRAME_ITEMS_MAX);
  EXPECT_EQ(pcframe_iItemPeak, PCFRAME_ITEMS_MAX);
  // A new frame has every node back.
  pcframe_Begin();
  for (int i = 0; i < PCFRAME_ITEMS_MAX; ++i) ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, i % 100, 0, 0, 0, 0), 1) << i;
  pcframe_Begin();
}

TEST(FramePacket, ATextThatReachesTheEndOfTheTextPoolIsCutThereAndTerminated) {
  ASSERT_EQ(PCFRAME_TEXT_COPY_LIMIT, PCFRAME_TEXT_POOL_SIZE - 2);
  pcframe_Begin();
  const int before = pcframe_iTextCuts;
  const std::string text(99, 'a');  // 100 bytes with the terminator
  const int whole = PCFRAME_TEXT_COPY_LIMIT / 100;
  for (int i = 0; i < whole; ++i) ASSERT_EQ(pcframe_AddText(0, 0, 1, 1, 2, 3, text.c_str(), 0, 0, 0), 1) << i;
  EXPECT_EQ(pcframe_poCurrent->iTextLength, whole * 100);
  EXPECT_EQ(pcframe_iTextCuts, before);
  // The next is cut where the pool reaches the copy limit, and terminated.
  const int kept = PCFRAME_TEXT_COPY_LIMIT - whole * 100;
  ASSERT_LT(kept, 99);
  ASSERT_EQ(pcframe_AddText(0, 0, 2, 1, 2, 3, std::string(99, 'b').c_str(), 0, 0, 0), 1);
  EXPECT_EQ(pcframe_poCurrent->iTextLength, PCFRAME_TEXT_COPY_LIMIT + 1);
  EXPECT_EQ(pcframe_iTextCuts, before + 1);
  // Then only a terminator fits, and after it the pool is full: the items
  // are kept with empty texts and the pool is never written past its end.
  ASSERT_EQ(pcframe_AddText(0, 0, 3, 1, 2, 3, "xyz", 0, 0, 0), 1);
  EXPECT_EQ(pcframe_poCurrent->iTextLength, PCFRAME_TEXT_POOL_SIZE);
  ASSERT_EQ(pcframe_AddText(0, 0, 4, 1, 2, 3, "uvw", 0, 0, 0), 1);
  ASSERT_EQ(pcframe_AddText(0, 0, 4, 1, 2, 3, "", 0, 0, 0), 1);
  EXPECT_EQ(pcframe_poCurrent->iTextLength, PCFRAME_TEXT_POOL_SIZE);
  EXPECT_EQ(pcframe_iTextCuts, before + 3);
  const DrawLayer* l = pcframe_poCurrent->poFirstLayer;
  for (const DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) EXPECT_EQ(std::string(i->pszText), text);
  EXPECT_EQ(std::string(l->pNext->poFirstItem->pszText), std::string(static_cast<size_t>(kept), 'b'));
  EXPECT_EQ(std::string(l->pNext->pNext->poFirstItem->pszText), "");
  for (const DrawItem* i = l->pNext->pNext->pNext->poFirstItem; i != nullptr; i = i->pNext) {
    EXPECT_EQ(std::string(i->pszText), "");
    EXPECT_GE(i->pszText, pcframe_poCurrent->acTextPool);
    EXPECT_LT(i->pszText, pcframe_poCurrent->acTextPool + PCFRAME_TEXT_POOL_SIZE);
  }
  // A new frame has the whole pool again.
  pcframe_Begin();
  EXPECT_EQ(pcframe_AddText(0, 0, 1, 1, 2, 3, text.c_str(), 0, 0, 0), 1);
  EXPECT_EQ(pcframe_poCurrent->iTextLength, 100);
  pcframe_Begin();
}

TEST(FramePacket, LowerPrioritiesAreDrawnOverHigherOnesAndLaterItemsUnderEarlierOnes) {
  ClearScreen();
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddBox(10, 10, 20, 20, 10, 255, 0, 0, 255, QDLDRAW_FILLED), 1);
  ASSERT_EQ(pcframe_AddBox(10, 10, 20, 20, 5, 0, 255, 0, 255, QDLDRAW_FILLED), 1);
  // One priority: the first added is drawn last, so it stays on top.
  ASSERT_EQ(pcframe_AddBox(30, 10, 40, 20, 7, 0, 0, 255, 255, QDLDRAW_FILLED), 1);
  ASSERT_EQ(pcframe_AddBox(30, 10, 40, 20, 7, 255, 255, 255, 255, QDLDRAW_FILLED), 1);
  ASSERT_EQ(pcframe_AddLine(50, 15, 60, 15, 3, 255, 255, 0, 0), 1);
  ASSERT_EQ(pcframe_AddCircle(80, 15, 4, 3, 0, 255, 255, QDLDRAW_FILLED), 1);
  EXPECT_EQ(pcframe_Render(), 1);
  EXPECT_EQ(PixelAt(15, 15), Rgb(0, 255, 0));
  EXPECT_EQ(PixelAt(35, 15), Rgb(0, 0, 255));
  EXPECT_EQ(PixelAt(55, 15), Rgb(255, 255, 0));
  EXPECT_EQ(PixelAt(80, 15), Rgb(0, 255, 255));
  EXPECT_EQ(PixelAt(5, 5), 0u);
  // Triangles and sheet sprites belong to the match's overlay: not drawn here.
  ClearScreen();
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddTriangle(0, 0, 30, 0, 0, 30, 1, 255, 0, 0, 255, 1), 1);
  EXPECT_EQ(pcframe_AddSheetSprite(0, 0, 1, 0), 0);  // the 3D display is not up
  EXPECT_EQ(pcframe_Render(), 1);
  EXPECT_EQ(PixelAt(5, 5), 0u);
}

TEST(FramePacket, TextIsPrintedForAlignments0To2Only) {
  const FrontEndFont font("SW24pt.bmp");
  ASSERT_NE(font.get(), nullptr) << FrontEndBuildData();
  auto inked = [](int x0, int x1) {
    int n = 0;
    for (int y = 90; y < 140; ++y)
      for (int x = x0; x < x1; ++x) n += PixelAt(x, y) != 0;
    return n;
  };
  for (int align = 0; align <= 3; ++align) {
    ClearScreen();
    pcframe_Begin();
    ASSERT_EQ(pcframe_AddText(320, 110, 1, 255, 255, 255, "MENU", 0, 0, align), 1);
    EXPECT_EQ(pcframe_Render(), 1);
    const int left = inked(200, 320), right = inked(320, 440);
    switch (align) {
      case 0: EXPECT_EQ(left, 0); EXPECT_GT(right, 50); break;   // starts at x
      case 1: EXPECT_GT(left, 50); EXPECT_EQ(right, 0); break;   // ends at x
      case 2: EXPECT_GT(left, 20); EXPECT_GT(right, 20); break;  // centred on x
      default: EXPECT_EQ(left + right, 0); break;                // stored, not drawn
    }
  }
}

TEST(FramePacket, ATextItemPrintsAsTheLibraryPrintsItThreeUnitsHigher) {
  // Each alignment against a direct print: left, right and centred on the
  // cursor (print modes 2, 4, 6), solid anti-aliased (17), at y - 3, in the
  // item's colour and the font of its index.
  const FrontEndFont font("SW24pt.bmp");
  ASSERT_NE(font.get(), nullptr) << FrontEndBuildData();
  QDLSurface* screen = QDLDisplaySurface();
  auto capture = [&] {
    std::string s;
    for (int y = 60; y < 160; ++y)
      for (int x = 150; x < 490; ++x) s += std::to_string(PixelAt(x, y)) + ",";
    return s;
  };
  const int32_t modes[3] = {2, 4, 6};
  for (int align = 0; align < 3; ++align) {
    ClearScreen();
    pcframe_Begin();
    ASSERT_EQ(pcframe_AddText(320, 110, 1, 250, 200, 40, "Menu 42", 0, 0, align), 1);
    const DrawItem* item = pcframe_poCurrent->poFirstLayer->poFirstItem;
    EXPECT_EQ(item->uKind, PCFRAME_KIND_TEXT);
    EXPECT_EQ(item->aiCoord[0], 320);
    EXPECT_EQ(item->aiCoord[1], 110);
    EXPECT_EQ(item->aiCoord[2], 0);
    EXPECT_EQ(item->aiCoord[3], align);
    EXPECT_STREQ(item->pszText, "Menu 42");
    ASSERT_EQ(pcframe_Render(), 1);
    const std::string drawn = capture();
    ClearScreen();
    QDLPrintf(screen, font.get(), 320, 107, Rgb(250, 200, 40), 0, modes[align], 17, "%s", "Menu 42");
    EXPECT_EQ(drawn, capture()) << align;
  }
  // A font index without a loaded font prints nothing.
  ClearScreen();
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddText(320, 110, 1, 250, 200, 40, "Menu", 7, 0, 0), 1);
  ASSERT_EQ(pcframe_Render(), 1);
  EXPECT_EQ(PixelAt(330, 100) + PixelAt(321, 107), 0u);
}

TEST(FramePacket, EachAdderStoresItsArgumentsInItsFields) {
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddCircle(11, 12, 3, 13, 1, 2, 3, 5), 1);
  const DrawItem* i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->uKind, PCFRAME_KIND_CIRCLE);
  EXPECT_EQ(i->aiCoord[0] * 10000 + i->aiCoord[1] * 100 + i->aiCoord[2], 111213);
  EXPECT_EQ(i->aRed[0] * 100 + i->aGreen[0] * 10 + i->aBlue[0], 123);
  EXPECT_EQ(i->uFlags, 5);
  ASSERT_EQ(pcframe_AddBackdropSprite(21, 22, 3, 9, 6, 4), 1);
  i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->uKind, PCFRAME_KIND_BACKDROP_SPRITE);
  const int16_t backdrop[4] = {21, 22, 9, 6};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(i->aiCoord[k], backdrop[k]) << k;
  EXPECT_EQ(i->uFlags, 4);
  ASSERT_EQ(pcframe_AddBox(1, 2, 3, 4, 3, 7, 8, 9, 77, 1), 1);
  i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->uKind, PCFRAME_KIND_BOX);
  EXPECT_EQ(i->aiCoord[0] * 1000 + i->aiCoord[1] * 100 + i->aiCoord[2] * 10 + i->aiCoord[3], 1234);
  EXPECT_EQ(i->uAlpha, 77);
  ASSERT_EQ(pcframe_AddTriangle(1, 2, 3, 4, 5, 6, 3, 7, 8, 9, 66, 2), 1);
  i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->uKind, PCFRAME_KIND_TRIANGLE);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(i->aiCoord[k], k + 1) << k;
  EXPECT_EQ(i->uAlpha, 66);
  EXPECT_EQ(i->aBlue[0], 9);
  scene3d_bDisplay3DUp = 1;
  ASSERT_EQ(pcframe_AddSheetSprite(31, 32, 3, 33), 1);
  scene3d_bDisplay3DUp = 0;
  i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->uKind, PCFRAME_KIND_SHEET_SPRITE);
  EXPECT_EQ(i->aiCoord[0] * 10000 + i->aiCoord[1] * 100 + i->aiCoord[2], 313233);
  EXPECT_EQ(pcframe_poCurrent->cLayersInUse, 1);
  EXPECT_EQ(pcframe_poCurrent->cItemsInUse, 5);
  pcframe_Begin();
}

TEST(FramePacket, TheScreenClearFillsTheWholeDisplayWithColour0OnlyWhileItsFlagIsSet) {
  QDLSurface* screen = QDLDisplaySurface();
  QDLFillRect(screen, nullptr, Rgb(10, 200, 30), 0);
  pcframe_ScreenClearSet(0);
  pcframe_ScreenClear();
  EXPECT_EQ(PixelAt(0, 0), Rgb(10, 200, 30));
  EXPECT_EQ(PixelAt(639, 479), Rgb(10, 200, 30));
  for (int flag : {1, -1}) {  // any non-zero value is on
    QDLFillRect(screen, nullptr, Rgb(10, 200, 30), 0);
    pcframe_ScreenClearSet(flag);
    pcframe_ScreenClear();
    EXPECT_EQ(PixelAt(0, 0), 0u) << flag;
    EXPECT_EQ(PixelAt(639, 479), 0u) << flag;
    EXPECT_EQ(PixelAt(320, 240), 0u) << flag;
  }
  pcframe_ScreenClearSet(0);
}

TEST(FramePacket, InitChainsThePoolsAfreshAndClearsThePeakAndTheReadyFlag) {
  pcframe_Begin();
  for (int i = 0; i < 40; ++i) ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, i % 7, 0, 0, 0, 0), 1);
  EXPECT_GE(pcframe_iItemPeak, 40);
  pcframe_Init();
  EXPECT_EQ(pcframe_iItemPeak, 0);
  EXPECT_EQ(pcframe_bReadyGet(), 0);
  EXPECT_EQ(pcframe_poCurrent->poFirstLayer, nullptr);
  EXPECT_EQ(pcframe_poCurrent->cItemsInUse, 0);
  EXPECT_EQ(pcframe_AddLine(0, 0, 1, 1, 1, 0, 0, 0, 0), 0);  // not ready until the next Begin
  pcframe_Begin();
  for (int i = 0; i < PCFRAME_ITEMS_MAX; ++i) ASSERT_EQ(pcframe_AddLine(0, 0, 1, 1, i % 200, 0, 0, 0, 0), 1) << i;
  EXPECT_EQ(pcframe_iItemPeak, PCFRAME_ITEMS_MAX);
  pcframe_Begin();
}

TEST(FramePacket, AGradientBoxKeepsTheColourOfEachCornerAndDrawsCorner0) {
  // The drawing state's four corners reach the shaded-box item byte for byte,
  // with the gradient's alpha; the 2D render fills in the colour of corner 0.
  draw2d_GradientSet(200, 16, 40, 1, 2, 3, 4, 5, 6, 250, 251, 252, 99);
  ClearScreen();
  pcframe_Begin();
  draw2d_GradientRectFill(10, 20, 30, 15, 6);
  DrawItem* i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  ASSERT_NE(i, nullptr);
  EXPECT_EQ(pcframe_poCurrent->poFirstLayer->iPriority, 6);
  EXPECT_EQ(i->uKind, PCFRAME_KIND_SHADED_BOX);
  const int16_t corners[4] = {10, 20, 40, 35};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(i->aiCoord[k], corners[k]) << k;
  const uint8_t red[4] = {200, 1, 4, 250}, green[4] = {16, 2, 5, 251}, blue[4] = {40, 3, 6, 252};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(i->aRed[k], red[k]) << k;
    EXPECT_EQ(i->aGreen[k], green[k]) << k;
    EXPECT_EQ(i->aBlue[k], blue[k]) << k;
  }
  EXPECT_EQ(i->uAlpha, 99);
  EXPECT_EQ(i->uFlags, 1);
  // The adder reads each colour as the bytes red, green, blue, alpha.
  ASSERT_EQ(pcframe_AddShadedBox(50, 20, 60, 30, 6, pcframe_uCornerColour(9, 8, 7, 6), 0, 0, 0xFFFFFFFFu, 1), 1);
  i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  EXPECT_EQ(i->aRed[0], 9);
  EXPECT_EQ(i->aGreen[0], 8);
  EXPECT_EQ(i->aBlue[0], 7);
  EXPECT_EQ(i->uAlpha, 6);
  EXPECT_EQ(i->aRed[3], 255);
  EXPECT_EQ(i->aRed[1], 0);
  EXPECT_EQ(pcframe_Render(), 1);
  EXPECT_EQ(PixelAt(25, 27), Rgb(200, 16, 40));
  EXPECT_EQ(PixelAt(55, 25), Rgb(9, 8, 7));
  EXPECT_EQ(PixelAt(5, 5), 0u);
}

TEST(FramePacket, SpritesAndBackdropSpritesAreDrawnIn2DAndBackdropsOnlyFromTheCurrentSheet) {
  QDLSpriteBank* sprite = FrontEndSolidBank(6, 4, static_cast<uint16_t>(Rgb(255, 0, 0)));
  QDLSpriteBank* sheet = FrontEndSolidBank(8, 5, static_cast<uint16_t>(Rgb(0, 0, 255)));
  ASSERT_NE(sprite, nullptr);
  ASSERT_NE(sheet, nullptr);
  pcfe_SheetCacheReset();
  PCFESheetSlot& slot = pcfe_aoSlots[pcfe_iCurrentSlot];
  slot.iSheet = 7;
  slot.poBank = sheet;
  ClearScreen();
  pcframe_Begin();
  ASSERT_EQ(pcframe_AddSprite(100, 50, 3, &sprite->frames[0], 0), 1);
  ASSERT_EQ(pcframe_AddBackdropSprite(200, 50, 3, 7, 0, 0), 1);
  ASSERT_EQ(pcframe_AddBackdropSprite(300, 50, 3, 8, 0, 0), 1);   // another sheet: not drawn
  ASSERT_EQ(pcframe_AddBackdropSprite(400, 50, 3, 7, 5, 0), 1);   // no such sprite: nothing
  EXPECT_EQ(pcframe_Render(), 1);
  EXPECT_EQ(PixelAt(100, 50), Rgb(255, 0, 0));
  EXPECT_EQ(PixelAt(105, 53), Rgb(255, 0, 0));
  EXPECT_EQ(PixelAt(106, 50), 0u);
  EXPECT_EQ(PixelAt(200, 50), Rgb(0, 0, 255));
  EXPECT_EQ(PixelAt(207, 54), Rgb(0, 0, 255));
  EXPECT_EQ(PixelAt(300, 50), 0u);
  EXPECT_EQ(PixelAt(400, 50), 0u);
  // While the 3D display is up the 2D-only kinds are refused and sheet
  // sprites taken.
  scene3d_bDisplay3DUp = 1;
  pcframe_Begin();
  EXPECT_EQ(pcframe_AddSprite(0, 0, 1, &sprite->frames[0], 0), 0);
  EXPECT_EQ(pcframe_AddCircle(0, 0, 1, 5, 1, 2, 3, 0), 0);
  EXPECT_EQ(pcframe_AddBackdropSprite(0, 0, 1, 7, 0, 0), 0);
  EXPECT_EQ(pcframe_AddSheetSprite(4, 5, 1, 9), 1);
  EXPECT_EQ(pcframe_AddBox(0, 0, 1, 1, 1, 1, 2, 3, 255, 0), 1);
  EXPECT_EQ(pcframe_poCurrent->cItemsInUse, 2);
  scene3d_bDisplay3DUp = 0;
  pcframe_Begin();
  slot.poBank = nullptr;
  pcfe_SheetCacheReset();
  QDLSpriteBankFree(sheet);
  QDLSpriteBankFree(sprite);
}

}  // namespace
