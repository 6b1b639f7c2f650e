// The frame profiler's sums and averages over the headless clock, the colour
// table, and the 2D drawing state's colour rules.
#include <gtest/gtest.h>

#include <vector>

#include "framework/qdx_time.h"
#include "platform/headless.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/pcprof.h"

namespace {

constexpr uint64_t kMs = 1000000;

TEST(Profiler, FrameTotalsAndTheAverageOverNFrames) {
  ProfileTimer oTimer("physics");
  oTimer.SetAverageFrames(2);
  for (uint64_t uMs : {4, 6}) {
    oTimer.Start();
    platform::headlessAdvanceClock(uMs * kMs);
    oTimer.Stop();
    oTimer.Stop();  // not running: nothing added
  }
  oTimer.FrameEnd();
  EXPECT_EQ(oTimer.iGetTicks(), 10 * kMs);
  EXPECT_EQ(oTimer.iGetMs(), QDXTSCPerSecond() / (10 * kMs));
  EXPECT_EQ(oTimer.iGetAverageTicks(), 0u);  // fewer than N frames so far
  EXPECT_EQ(oTimer.iGetAverageMs(), 0u);
  oTimer.Start();
  platform::headlessAdvanceClock(2 * kMs);
  oTimer.Stop();
  oTimer.FrameEnd();
  EXPECT_EQ(oTimer.iGetTicks(), 2 * kMs);
  EXPECT_EQ(oTimer.iGetAverageTicks(), 12 * kMs);
  EXPECT_EQ(oTimer.iGetAverageMs(), QDXTSCPerSecond() / (6 * kMs));
  oTimer.FrameEnd();
  EXPECT_EQ(oTimer.iGetTicks(), 0u);
  EXPECT_EQ(oTimer.iGetMs(), 0u);
}

TEST(Profiler, ListTakesColoursFromTheTableInOrder) {
  pcprof_ColoursInit();
  ProfileTimer a("a"), b("b"), c("c");
  c.SetColour(RGBAColour(1, 2, 3, 4));
  ProfileTimerList oList;
  oList.Append(&a);
  oList.Append(&b);
  oList.Append(&c);
  EXPECT_EQ(oList.iCount(), 3);
  EXPECT_EQ(a.GetColour().r, 255);
  EXPECT_EQ(a.GetColour().g, 0);
  EXPECT_EQ(b.GetColour().g, 255);
  EXPECT_EQ(c.GetColour().b, 3);
  EXPECT_EQ(pcprof_aColours[14].g, 128);  // orange
  EXPECT_EQ(pcprof_aColours[15].b, 255);  // sky blue
  oList.Remove(&b);
  EXPECT_EQ(oList.poFirst(), &a);
  EXPECT_EQ(a.pNext, &c);
  EXPECT_EQ(oList.iCount(), 2);
  pcprof_Draw(oList, 0, 0, 100, 30);
}

TEST(Profiler, TheSixteenColoursAndTheDefaultAverageOfEightFrames) {
  pcprof_ColoursInit();
  const uint8_t aa[16][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0}, {255, 0, 255}, {0, 255, 255},
                             {255, 255, 255}, {0, 0, 0},   {128, 0, 0},     {0, 128, 0},   {0, 0, 128},   {128, 128, 0},
                             {128, 0, 128}, {0, 128, 128}, {255, 128, 0},  {0, 128, 255}};
  for (int i = 0; i < 16; i++) {
    EXPECT_EQ(pcprof_aColours[i].r, aa[i][0]) << i;
    EXPECT_EQ(pcprof_aColours[i].g, aa[i][1]) << i;
    EXPECT_EQ(pcprof_aColours[i].b, aa[i][2]) << i;
  }
  // The seventeenth timer of a list takes the first colour again.
  ProfileTimerList oList;
  std::vector<ProfileTimer> aoTimers(17, ProfileTimer("t"));
  for (ProfileTimer& o : aoTimers) oList.Append(&o);
  EXPECT_EQ(aoTimers[16].GetColour().r, 255);
  EXPECT_EQ(aoTimers[16].GetColour().g, 0);
  EXPECT_EQ(aoTimers[15].GetColour().b, 255);
  // Without SetAverageFrames the average is stored every eighth frame.
  ProfileTimer oTimer("ai");
  for (int i = 0; i < 8; i++) {
    oTimer.Start();
    platform::headlessAdvanceClock(kMs);
    oTimer.Stop();
    EXPECT_EQ(oTimer.iGetAverageTicks(), 0u) << i;
    oTimer.FrameEnd();
  }
  EXPECT_EQ(oTimer.iGetAverageTicks(), 8 * kMs);
  EXPECT_EQ(oTimer.iGetAverageMs(), QDXTSCPerSecond() / kMs);
}

TEST(Draw2D, ShadowedTextKeepsTheTextColour) {
  draw2d_TextColourSet(200, 100, 50, 255);
  draw2d_TextShadowDraw("GOAL", 256, 120);
  EXPECT_EQ(draw2d_oTextColour.r, 200);
  EXPECT_EQ(draw2d_oTextColour.g, 100);
  draw2d_TextShadowDrawRemapped("GOAL", 10, 10);
  EXPECT_EQ(draw2d_oTextColour.b, 50);
  EXPECT_EQ(draw2d_oTextColour.a, 255);
  draw2d_GradientSet(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99);
  EXPECT_EQ(draw2d_oGradient.aaCorner[3][2], 12);
  EXPECT_EQ(draw2d_oGradient.uAlpha, 99);
}

// The boxes and triangles of the drawing state as they reach the frame
// packet: a fill colour that is not opaque gives a half-transparent item
// (alpha 128), whatever its own alpha.
TEST(Draw2D, FillsReachTheFramePacketHalfTransparentOrOpaque) {
  pcframe_Init();
  pcframe_Begin();
  auto Newest = [] { return pcframe_poCurrent->poFirstLayer->poFirstItem; };
  draw2d_FillColourSet(10, 20, 30, 200);
  draw2d_RectFill(1, 2, 30, 40, 5);
  ASSERT_NE(pcframe_poCurrent->poFirstLayer, nullptr);
  DrawItem* poItem = Newest();
  ASSERT_NE(poItem, nullptr);
  EXPECT_EQ(poItem->uKind, PCFRAME_KIND_BOX);
  EXPECT_EQ(poItem->aiCoord[0], 1);
  EXPECT_EQ(poItem->aiCoord[1], 2);
  EXPECT_EQ(poItem->aiCoord[2], 31);
  EXPECT_EQ(poItem->aiCoord[3], 42);
  EXPECT_EQ(poItem->aRed[0], 10);
  EXPECT_EQ(poItem->uAlpha, 128);
  EXPECT_EQ(poItem->uFlags, 17);
  draw2d_FillColourSet(10, 20, 30, 255);
  draw2d_RectFill(1, 2, 30, 40, 5);
  EXPECT_EQ(Newest()->uAlpha, 255);
  EXPECT_EQ(Newest()->uFlags, 1);
  // The second colour: RectFill2 always opaque; between corners by its alpha.
  draw2d_Colour2Set(1, 2, 3, 7);
  draw2d_RectFill2(0, 0, 5, 5, 5);
  EXPECT_EQ(Newest()->uAlpha, 255);
  EXPECT_EQ(Newest()->uFlags, 0);
  draw2d_RectFillCorners2(3, 4, 9, 8, 5);
  EXPECT_EQ(Newest()->aiCoord[2], 9);
  EXPECT_EQ(Newest()->aiCoord[3], 8);
  EXPECT_EQ(Newest()->uAlpha, 128);
  EXPECT_EQ(Newest()->uFlags, 0);
  draw2d_FillColourSet(0, 0, 0, 254);
  draw2d_TriangleFill(0, 0, 10, 0, 5, 5, 5);
  EXPECT_EQ(Newest()->uKind, PCFRAME_KIND_TRIANGLE);
  EXPECT_EQ(Newest()->uAlpha, 128);
  EXPECT_EQ(Newest()->uFlags, 1);
  pcframe_Shutdown();
}

}  // namespace
