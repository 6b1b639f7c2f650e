// The real executable, headless: the labels of the options screen and of the
// history set-up read as the hub's items do. Each label line on the captured
// screen lies on one of the backdrop's reading panels, the backdrop behind it
// is no lighter than behind the hub's items, and its letters are as light as
// the hub's light grey (the cursor's yellow row a little less).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/mfhmain_layout.h"
#include "matchflow/options_layout.h"
#include "support/captured_pictures.h"
#include "support/run_game.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::Box;
using korvena_test::Light;
using korvena_test::Lightest;
using korvena_test::TextLines;

using Game = korvena_test::GameRunner;
using korvena_test::Picture;
using korvena_test::ReadBank16;
using korvena_test::ReadTga;
using korvena_test::scriptKey;

template <typename Panel>
bool OnAPanel(const Box& b, const Panel* paoPanels, int cPanels) {
  for (int i = 0; i < cPanels; ++i) {
    const Panel& p = paoPanels[i];
    if (b.x0 >= p.x && b.y0 >= p.y && b.x1 <= p.x + p.w && b.y1 <= p.y + p.h) return true;
  }
  return false;
}

std::string Text(const Box& b) {
  return "line " + std::to_string(b.x0) + "," + std::to_string(b.y0) + " to " + std::to_string(b.x1) + "," +
         std::to_string(b.y1);
}

class MenuLabels : public Game {
 protected:
  // A start that converts whatever menu sheets are older than their art
  // (the films play then; Escape held skips them), so that the runs of the
  // test reach their screens at the steps they press their keys.
  void SetUp() override {
    Game::SetUp();
    runWithIntro("1 keydown ESCAPE\n200 keyup ESCAPE\n260 quit 3\n");
  }

  fs::path Sheet(const char* pszName) const {
    return fs::path(exe_).parent_path().parent_path() / "data" / "frontend" / (std::string(pszName) + "16.spr");
  }

  // The lightest backdrop pixel where the hub's left column of items sits:
  // its items panel inside the frame, left of the rule between the columns.
  double HubItemsBackdrop() const {
    const std::vector<Picture> hub = ReadBank16(Sheet("fhmain"));
    EXPECT_FALSE(hub.empty());
    if (hub.empty()) return 0;
    const MFHPanel& m = mfhmain_aoPanels[1];
    return Lightest(hub[0], {m.x + 4, m.y + 4, m.x + m.w / 2 - 18, m.y + m.h - 4});
  }

  // Every label line inside the box: on a panel, over a backdrop no lighter
  // than the hub's items', its letters light; the first line is the cursor's.
  template <typename Panel>
  void LabelsRead(const Picture& shot, const Picture& backdrop, const Box& column, std::size_t cLines,
                  const Panel* paoPanels, int cPanels) {
    const double hub = HubItemsBackdrop();
    ASSERT_GT(hub, 0);
    const std::vector<Box> lines = TextLines(shot, backdrop, column);
    ASSERT_EQ(lines.size(), cLines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const Box& b = lines[i];
      EXPECT_TRUE(OnAPanel(b, paoPanels, cPanels)) << Text(b);
      EXPECT_LE(Lightest(backdrop, b), hub + 4) << Text(b);
      EXPECT_GE(Lightest(shot, b), i == 0 ? 170 : 195) << Text(b);
    }
  }
};

TEST_F(MenuLabels, TheOptionsScreensLabelsReadAsTheHubsItems) {
  const fs::path shot = home_ / "options.tga";
  // The main menu's Options (right of Friendly, then down).
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN");
  s += "180 capture " + shot.string() + "\n200 quit 3\n";
  const korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 3) << r.err;
  const Picture pic = ReadTga(shot);
  const std::vector<Picture> sheet = ReadBank16(Sheet("options"));
  ASSERT_EQ(pic.width, 640);
  ASSERT_FALSE(sheet.empty());
  // The nine rows' labels (their values start at x 321), then Exit.
  LabelsRead(pic, sheet[0], {80, 120, 316, 386}, 9, options_aoPanels, OPTIONS_PANELS);
  const std::vector<Box> exit = TextLines(pic, sheet[0], {480, 386, 620, 440});
  ASSERT_EQ(exit.size(), 1u);
  EXPECT_TRUE(OnAPanel(exit[0], options_aoPanels, OPTIONS_PANELS)) << Text(exit[0]);
  EXPECT_LE(Lightest(sheet[0], exit[0]), HubItemsBackdrop() + 4) << Text(exit[0]);
  EXPECT_GE(Lightest(pic, exit[0]), 195) << Text(exit[0]);
}

// The options screen in every language with the z-buffered renderer chosen,
// whose row shows the longest value ("1 - Korvena z-buffered renderer"):
// every line on the reading panel (labels, values and sliders) keeps a
// margin of 8 pixels from the panel's edges.
TEST_F(MenuLabels, TheOptionsScreensTextsKeepAMarginInsideTheirPanelInEveryLanguage) {
  const std::vector<Picture> sheet = ReadBank16(Sheet("options"));
  ASSERT_FALSE(sheet.empty());
  const OptionsPanel& p = options_aoPanels[0];
  constexpr int kMargin = 8;
  // The middle of the Video Mode row (at y 136 of 240), and where
  // "DirectDraw" would end.
  constexpr int kVideoY = 280, kShortValueEnd = 440;
  for (int l = 0; l < 6; l++) {
    home_.write("machine.txt", "; Korvena Football settings: machine\n\n[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n"
                               "\"Language\"=dword:0000000" + std::to_string(l) +
                               "\n\"VidMode\"=dword:00000002\n\"VidDevice\"=dword:00000001\n");
    const fs::path shot = home_ / ("options" + std::to_string(l) + ".tga");
    std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN");
    s += "180 capture " + shot.string() + "\n200 quit 3\n";
    const korvena_test::GameRun r = run(s);
    ASSERT_EQ(r.exitCode, 3) << r.err;
    const Picture pic = ReadTga(shot);
    ASSERT_EQ(pic.width, 640);
    // Inside the frame (2 pixels): a text over it shows at its inner edge.
    const std::vector<Box> lines = TextLines(pic, sheet[0], {p.x + 2, p.y + 2, p.x + p.w - 2, p.y + p.h - 2});
    ASSERT_GE(lines.size(), 8u) << "language " << l;
    bool bVideoSeen = false;
    for (const Box& b : lines) {
      EXPECT_GE(b.x0, p.x + kMargin) << "language " << l << ": " << Text(b);
      EXPECT_LE(b.x1, p.x + p.w - kMargin) << "language " << l << ": " << Text(b);
      if (b.y0 <= kVideoY && kVideoY < b.y1 && b.x1 > kShortValueEnd) bVideoSeen = true;
    }
    EXPECT_TRUE(bVideoSeen) << "language " << l << ": the renderer's name is not on the Video Mode row";
  }
}

TEST_F(MenuLabels, TheHistorySetUpsLabelsReadAsTheHubsItems) {
  const fs::path shot = home_ / "setup.tga";
  // The main menu's History (below Friendly); Space skips its film.
  std::string s = scriptKey(100, "DOWN") + scriptKey(110, "RETURN") + scriptKey(150, "SPACE");
  s += "260 capture " + shot.string() + "\n280 quit 3\n";
  const korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 3) << r.err;
  const Picture pic = ReadTga(shot);
  const std::vector<Picture> sheet = ReadBank16(Sheet("fhset"));
  ASSERT_EQ(pic.width, 640);
  ASSERT_FALSE(sheet.empty());
  // Start Year, Play Qualifiers and Match Length (their values from x 487).
  LabelsRead(pic, sheet[0], {80, 140, 480, 300}, 3, mfhsetup_aoPanels, MFHSETUP_PANELS);
}

}  // namespace
