// The real executable, headless: a Friendly of the shortest length, level
// after normal time, goes into golden-goal extra time with its message at the
// kick-off; still level, it goes to penalties and, after the last kick's
// replay, the choice of Play Again or Main Menu shows. Both texts are seen
// inside their dark boxes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/captured_pictures.h"
#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::Picture;
using korvena_test::scriptKey;

std::string Capture(int iStep, const std::string& path) { return std::to_string(iStep) + " capture " + path + "\n"; }

// Friendly; the keyboard to the home side; Fiji 1998 at home and Albania
// 1998 away; the team sheet; on the conditions a match length of 5 (one step
// left) and golden-goal extra time (three rows down, one step right); Space
// kicks off. J now and then takes the home side's kick-offs, restarts and
// penalties; the match is level after extra time, and Escape leaves the
// replay of the shoot-out's last kick.
std::string FriendlyToTheEnd() {
  std::string s = scriptKey(20, "RETURN") + scriptKey(26, "LEFT");
  s += scriptKey(32, "RETURN") + scriptKey(48, "RIGHT") + scriptKey(54, "DOWN") + scriptKey(60, "RETURN");
  s += scriptKey(66, "DOWN") + scriptKey(72, "DOWN");
  for (int t = 78; t <= 102; t += 6) s += scriptKey(t, "RETURN");
  s += scriptKey(118, "SPACE") + scriptKey(136, "LEFT");
  for (int t = 142; t <= 154; t += 6) s += scriptKey(t, "DOWN");
  s += scriptKey(160, "RIGHT") + scriptKey(172, "SPACE");
  for (int t = 400; t < 21000; t += 100) s += scriptKey(t, "J");
  s += scriptKey(21000, "ESCAPE");
  return s;
}

// A dark box of the match flow (filled 32, 32, 32) found in a frame by its
// top row at y 90 across the middle of the screen; how many pixels of the
// light text colours lie inside it, and in its three top and three bottom
// rows (where a text cut by the box's edge would reach).
struct BoxSeen {
  bool bFound = false;
  int x0 = 0, x1 = 0, y1 = 0;  // inside: x0 <= x <= x1, 90 <= y <= y1
  int cText = 0;
  int cTextAtEdges = 0;
};

bool TextColour(uint16_t c) { return (c >> 11) >= 19 && ((c >> 5) & 63) >= 38; }  // red and green both 150 or more

BoxSeen FindBox(const Picture& p) {
  BoxSeen b;
  const uint16_t dark = korvena_test::To565(32, 32, 32);
  if (p.width != 640 || p.height != 480 || p.At(320, 92) != dark) return b;
  b.x0 = b.x1 = 320;
  while (b.x0 > 0 && p.At(b.x0 - 1, 92) == dark) b.x0--;
  while (b.x1 < 639 && p.At(b.x1 + 1, 92) == dark) b.x1++;
  b.y1 = 92;
  while (b.y1 < 479 && p.At(b.x0, b.y1 + 1) == dark) b.y1++;
  b.bFound = b.x1 - b.x0 > 60 && b.y1 - 90 >= 20;
  for (int y = 90; y <= b.y1; ++y)
    for (int x = b.x0; x <= b.x1; ++x) {
      const bool bText = TextColour(p.At(x, y));
      b.cText += bText;
      b.cTextAtEdges += bText && (y < 93 || y > b.y1 - 3);
    }
  return b;
}

// Of the frames captured at the steps, those that show the box: each must
// show it with its text inside, clear of its top and bottom edges.
void ExpectBoxWithText(const std::string& dir, const std::string& name, const std::vector<int>& steps,
                       int iMinHeight, int cMinText) {
  int cSeen = 0;
  for (int t : steps) {
    const std::string path = dir + "/" + name + std::to_string(t) + ".tga";
    const Picture p = korvena_test::ReadTga(path);
    ASSERT_EQ(p.width, 640) << path;
    const BoxSeen b = FindBox(p);
    if (!b.bFound || b.y1 - 90 + 1 < iMinHeight) continue;
    cSeen++;
    EXPECT_GT(b.cText, cMinText) << path << ": the box " << b.x0 << "," << 90 << " - " << b.x1 << "," << b.y1
                                 << " covers its text";
    EXPECT_EQ(b.cTextAtEdges, 0) << path << ": the text reaches the edge of the box " << b.x0 << "," << 90 << " - "
                                 << b.x1 << "," << b.y1;
  }
  EXPECT_GT(cSeen, 0) << "no capture shows the " << name << " box";
}

TEST_F(Game, AFriendlyInGoldenGoalExtraTimeShowsItsMessageAndTheEndChoiceInsideTheirBoxes) {
  timeLimitSeconds_ = 900;
  const std::string d = home_.path();
  env_["KORVENA_DEBUG_LOG"] = home_ / "debug.txt";
  std::string s = FriendlyToTheEnd();
  std::vector<int> kickOff, choice, again;
  // Normal time ends 0-0 near step 12800; the golden-goal message shows at
  // the extra-time kick-off, from about step 13040 to 13100.
  for (int t = 12100; t <= 14100; t += 20) kickOff.push_back(t);
  for (int t = 21100; t <= 22400; t += 100) choice.push_back(t);
  // J takes Play Again: the match starts as new, with no golden-goal message
  // at its kick-off.
  s += scriptKey(22420, "J");
  for (int t = 22440; t <= 22800; t += 10) again.push_back(t);
  for (int t : kickOff) s += Capture(t, d + "/kickoff" + std::to_string(t) + ".tga");
  for (int t : choice) s += Capture(t, d + "/choice" + std::to_string(t) + ".tga");
  for (int t : again) s += Capture(t, d + "/again" + std::to_string(t) + ".tga");
  s += "22810 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  ASSERT_EQ(r.exitCode, 3) << r.err;
  // "GOLDEN GOAL" inks several hundred pixels; the choice's two rows more.
  ExpectBoxWithText(d, "kickoff", kickOff, 30, 300);
  ExpectBoxWithText(d, "choice", choice, 50, 400);
  // The new match: its kick-off comes (after the golden-goal period and the
  // shoot-out, the first kick-off of the log's last match) and no frame of
  // it shows the message's box.
  const std::string log = korvena_test::readFile(home_ / "debug.txt");
  EXPECT_NE(log.rfind("kick-off: side"), std::string::npos) << log;
  for (int t : again) {
    const std::string path = d + "/again" + std::to_string(t) + ".tga";
    const Picture p = korvena_test::ReadTga(path);
    ASSERT_EQ(p.width, 640) << path;
    EXPECT_FALSE(FindBox(p).bFound) << path << ": a message box shows at the new match's kick-off";
  }
}

}  // namespace
