// The boxes of the match flow that carry text, drawn from the frame packet of
// whole headless matches: the kick-off message of extra time and the choice
// of Play Again or Main Menu at the end. Their text must show inside them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_draw.h"
#include "display/qdl_text.h"
#include "framework/qdx_window.h"
#include "frontend/pctext.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

// A headless 640 x 480 display and a real font sheet in every font place of
// the match, so that texts are measured and printed as on a screen.
class BoxText : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    if (QDLDisplaySurface() == nullptr) {
      if (QDXGetMainWindow() == nullptr) {
        QDXInitWindowHooks();
        QDXInitActivateHooks();
        ASSERT_NE(QDXCreateWindow(640, 480, nullptr, 0), nullptr);
      }
      dxinfo_ = std::filesystem::temp_directory_path() / ("korvena-boxtext-" + std::to_string(getpid()) + ".bin");
      QDLDeviceInfoFileNameSet(dxinfo_.c_str());
      ASSERT_EQ(QDLSetup(), 0u);
      ASSERT_NE(QDLOpenDisplay(0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED), nullptr);
      QDLTextSetup(0);
    }
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    const std::filesystem::path sheet =
        std::filesystem::path(build != nullptr ? build : ".") / "data" / "textures" / "Fonts" / "SW24pt.bmp";
    font_ = QDLFontCreateFromSheet(sheet.c_str(), 3, 0, 0);
    ASSERT_NE(font_, nullptr) << sheet;
    for (auto& set : pctext_aaoFontSets)
      for (FontEntry& f : set) {
        saved_.push_back(f.poFont);
        f.poFont = font_;
      }
  }
  void TearDown() override {
    size_t i = 0;
    for (auto& set : pctext_aaoFontSets)
      for (FontEntry& f : set)
        if (i < saved_.size()) f.poFont = saved_[i++];
    if (font_ != nullptr) QDLFontFree(font_);
    std::error_code e;
    if (!dxinfo_.empty()) std::filesystem::remove(dxinfo_, e);
  }
  std::filesystem::path dxinfo_;
  QDLFont* font_ = nullptr;
  std::vector<QDLFont*> saved_;
};

// What one drawn frame showed of a box: found by its top edge, it counts the
// pixels inside it that are not the box's own colour (the text over it).
struct BoxSeen {
  std::int32_t iTop = 0;
  std::int32_t iHeight = 0;
  bool bFound = false;
  std::int32_t cFrames = 0;
  std::int32_t cInked = 0;  // the most in one frame
  std::int32_t cSpilt = 0;  // lit pixels just above and below the box, the most in one frame
  std::int16_t aiBox[4] = {};
};

void Look(BoxSeen* w) {
  const FramePacket* p = pcframe_poCurrent;
  const DrawItem* box = nullptr;
  for (const DrawLayer* l = p->poFirstLayer; l != nullptr; l = l->pNext)
    for (const DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_BOX && i->aiCoord[1] == w->iTop && i->aiCoord[3] - i->aiCoord[1] == w->iHeight &&
          i->aRed[0] == 32)
        box = i;
  if (box == nullptr) return;
  const std::int16_t x0 = box->aiCoord[0], y0 = box->aiCoord[1], x1 = box->aiCoord[2], y1 = box->aiCoord[3];
  QDLSurface* s = QDLDisplaySurface();
  const std::uint32_t back = QDLSurfaceRGBToPixel(s, 32, 32, 32);
  QDLFillRect(s, nullptr, 0, 0);
  ASSERT_EQ(pcframe_Render(), 1);
  std::int32_t n = 0;
  for (std::int32_t y = y0 + 1; y < y1 - 1; ++y)
    for (std::int32_t x = x0 + 1; x < x1 - 1; ++x) {
      std::uint32_t px = 0;
      QDLGetPixel(s, x, y, &px);
      n += px != back;
    }
  // Around the box the screen was cleared to black: a lit pixel in the ten
  // rows above or below it (not of the box's colour) is text that spills
  // out of it.
  std::int32_t cOut = 0;
  for (std::int32_t y = y0 - 10; y < y1 + 10; ++y) {
    if (y >= y0 && y < y1) continue;
    for (std::int32_t x = x0; x < x1; ++x) {
      std::uint32_t px = 0;
      QDLGetPixel(s, x, y, &px);
      cOut += px != 0 && px != back;  // the box's own edge rows are its colour
    }
  }
  w->bFound = true;
  w->cFrames++;
  w->cInked = std::max(w->cInked, n);
  w->cSpilt = std::max(w->cSpilt, cOut);
  for (int k = 0; k < 4; ++k) w->aiBox[k] = box->aiCoord[k];
}

// The boxes' heights follow the message font's cell height.
struct Watch {
  BoxSeen oKickOff{90, kickoff_MessageBoxHeightGet()}, oChoice{90, mftime_ChoiceBoxHeightGet()};
  bool bMessageSet = false;
  std::int32_t cPlayWithMessage = 0;  // ticks of open play with a kick-off message still set
};

void WatchBoxes(std::int32_t, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  if (kickoff_MessageGet() != nullptr) w.bMessageSet = true;
  if (global_eGetGameMode() == GAME_MODE_PLAY && kickoff_MessageGet() != nullptr) w.cPlayWithMessage++;
  // The boxes are known by their places and sizes in each tick's packet.
  if (w.oKickOff.cFrames < 3) Look(&w.oKickOff);
  if (w.oChoice.cFrames < 3) Look(&w.oChoice);
}

// A friendly level after normal time goes into golden-goal extra time with
// its message at the kick-off, and at the end offers Play Again or Main
// Menu: both texts are drawn over their boxes.
TEST_F(BoxText, TheExtraTimeMessageAndTheEndChoiceShowTheirTextsInsideTheirBoxes) {
  mh::Config c;
  c.uSeed = 105;  // level after normal time
  c.iLength = 1;
  c.iExtraTime = 2;
  c.bPenalties = 1;
  Watch w;
  const mh::Result r = mh::Run(c, nullptr, WatchBoxes, &w);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  ASSERT_TRUE(w.oKickOff.bFound) << "no extra-time kick-off message: " << r.Describe(c);
  ASSERT_TRUE(w.oChoice.bFound) << r.Describe(c);
  // "GOLDEN GOAL" in the 24-point sheet inks a few hundred pixels; the
  // choice's two rows more.
  EXPECT_GT(w.oKickOff.cInked, 100) << "box " << w.oKickOff.aiBox[0] << "," << w.oKickOff.aiBox[1] << " - "
                                    << w.oKickOff.aiBox[2] << "," << w.oKickOff.aiBox[3];
  EXPECT_GT(w.oChoice.cInked, 200) << "box " << w.oChoice.aiBox[0] << "," << w.oChoice.aiBox[1] << " - "
                                   << w.oChoice.aiBox[2] << "," << w.oChoice.aiBox[3];
  // The computer's side kicked off extra time: the message ended with that
  // kick and waits for no later kick-off.
  EXPECT_TRUE(w.bMessageSet);
  EXPECT_EQ(w.cPlayWithMessage, 0);
  // No text reaches out of its box; each box holds its font's cell.
  EXPECT_EQ(w.oKickOff.cSpilt, 0);
  EXPECT_EQ(w.oChoice.cSpilt, 0);
  pctext_FontSet(2);
  EXPECT_EQ(w.oKickOff.iHeight, pctext_HeightGet() + 20);
  EXPECT_GT(w.oKickOff.iHeight, 30) << "the 24-point sheet's cell is taller than 10 pixels";
  // The boxes are as wide as their texts and 40 more.
  EXPECT_GT(w.oKickOff.aiBox[2] - w.oKickOff.aiBox[0], 80);
}

}  // namespace
