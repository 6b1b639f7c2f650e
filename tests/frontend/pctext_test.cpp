// Text output: font choice, measures, text items and the timed message.
#include <gtest/gtest.h>

#include <string>

#include "display/qdl_text.h"
#include "frontend/pctext.h"
#include "frontend_env.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"

namespace {

TEST(TextOutput, FontIndexesInTheFrontEndAndIn3DTextMode) {
  pctext_3DTextModeSet(0);
  pctext_FontSet(1);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  pctext_FontSet(0);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  pctext_FontSet(2);
  EXPECT_EQ(pctext_iCurrentFont, 1);
  pctext_FontReset();
  EXPECT_EQ(pctext_iCurrentFont, 0);
  pctext_3DTextModeSet(1);
  pctext_FontSet(2);
  EXPECT_EQ(pctext_iCurrentFont, 1);
  pctext_FontSet(1);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  EXPECT_EQ(pctext_WidthGet("ABC"), 48);
  EXPECT_EQ(pctext_CharWidthGet('W'), 16);
  EXPECT_EQ(pctext_HeightGet(), 16);
  pctext_3DTextModeSet(0);
  EXPECT_EQ(pctext_WidthGet(nullptr), 0);
  EXPECT_EQ(pctext_WidthGet(""), 0);
}

TEST(TextOutput, WidthsAreTheFontsGlyphWidths) {
  const FrontEndFont font("SWfont18pt.bmp");
  QDLFont* f = font.get();
  ASSERT_NE(f, nullptr) << FrontEndBuildData();
  pctext_FontSet(0);
  const int w = QDLFontCharWidth(f, 'M') + QDLFontCharWidth(f, 'i') + QDLFontCharWidth(f, '\xE9');
  EXPECT_GT(w, 0);
  EXPECT_EQ(pctext_WidthGet("Mi\xE9"), w);
  EXPECT_EQ(pctext_HeightGet(), QDLFontHeight(f));
}

TEST(TextOutput, PrintsAddTextItemsInTheCurrentColourFontAndAlignment) {
  pcframe_Begin();
  draw2d_TextColourSet(10, 20, 30, 255);
  pctext_FontSet(2);
  pctext_PrintRight("right", 100, 50, 4);
  DrawItem* i = pcframe_poCurrent->poFirstLayer->poFirstItem;
  ASSERT_NE(i, nullptr);
  EXPECT_EQ(i->uKind, PCFRAME_KIND_TEXT);
  EXPECT_EQ(i->aiCoord[0], 100);
  EXPECT_EQ(i->aiCoord[1], 50);
  EXPECT_EQ(i->aiCoord[2], 1);  // font 1
  EXPECT_EQ(i->aiCoord[3], 1);  // right
  EXPECT_EQ(i->aRed[0], 10);
  EXPECT_EQ(i->aGreen[0], 20);
  EXPECT_EQ(i->aBlue[0], 30);
  EXPECT_STREQ(i->pszText, "right");
  pctext_FontSet(0);
  pcframe_Begin();
}

TEST(TextOutput, AMessageShowsOnItsFrameAndTheNext59) {
  pctext_MessageSet("Goal!");
  int shown = 0;
  for (int frame = 0; frame < 70; ++frame) {
    pcframe_Begin();
    pctext_MessageDraw();
    bool any = pcframe_poCurrent->poFirstLayer != nullptr;
    if (any) {
      DrawItem* i = pcframe_poCurrent->poFirstLayer->poFirstItem;
      EXPECT_EQ(pcframe_poCurrent->poFirstLayer->iPriority, 5);
      EXPECT_EQ(i->aiCoord[0], 320);
      EXPECT_EQ(i->aiCoord[1], 120);
      EXPECT_EQ(i->aiCoord[2], 1);
      EXPECT_EQ(i->aiCoord[3], 2);
      ++shown;
    }
    EXPECT_EQ(any, frame < 60) << frame;
  }
  EXPECT_EQ(shown, 60);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  pcframe_Begin();
}

TEST(TextOutput, TheMatchSetsBecomeCurrentAndTheFrontEndSetComesBack) {
  pctext_FontSet(2);
  pctext_FontsLoad(1);
  EXPECT_EQ(pctext_iCurrentSet, PCTEXT_SET_MATCH_SOFTWARE);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  EXPECT_STREQ(pctext_aaoFontSets[PCTEXT_SET_MATCH_SOFTWARE][0].szFileName, "Fonts\\SWfont3a3.bmp");
  pctext_FontsLoad(0);
  EXPECT_EQ(pctext_iCurrentSet, PCTEXT_SET_MATCH_HARDWARE);
  EXPECT_STREQ(pctext_aaoFontSets[PCTEXT_SET_MATCH_HARDWARE][1].szFileName, "Fonts\\24pt.tga");
  EXPECT_EQ(pctext_aaoFontSets[PCTEXT_SET_MATCH_HARDWARE][1].bRemap, 1u);
  pctext_FrontEndFontsLoad();  // no font files here: counted as not loaded
  EXPECT_EQ(pctext_iCurrentSet, PCTEXT_SET_FRONT_END);
  EXPECT_EQ(pctext_iCurrentFont, 0);
  pctext_FrontEndFontsFree();
}

}  // namespace
