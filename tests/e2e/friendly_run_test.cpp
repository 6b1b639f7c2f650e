// The real executable, headless: a friendly from the main menu through the
// screens before the kick-off, played by keyboard as a player would.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;

// A key held for eight steps, as long as a quick press of a person's finger.
std::string Press(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 8) + " keyup " + pszKey + "\n";
}

std::string Capture(int iStep, const std::string& path) { return std::to_string(iStep) + " capture " + path + "\n"; }

// Friendly; the keyboard to the home side; on the map the home side takes
// the Cook Islands (OFC) and the away side Albania (UEFA), both 1998; the
// team sheet, then the match conditions (Space goes on).
std::string ToTheConditions(const std::string& dir) {
  std::string s = scriptKey(20, "RETURN") + scriptKey(26, "LEFT") + Capture(31, dir + "/sides.tga");
  s += scriptKey(32, "RETURN") + scriptKey(48, "RIGHT") + scriptKey(54, "DOWN") + scriptKey(60, "RETURN");
  s += scriptKey(66, "DOWN");
  for (int t = 72; t <= 96; t += 6) s += scriptKey(t, "RETURN");
  s += Capture(110, dir + "/sheet.tga") + scriptKey(112, "SPACE") + Capture(124, dir + "/conditions.tga");
  return s;
}

// One press of Escape is one step back, however many frames it is held:
// from the conditions to the team sheet; there, a player picked for a swap
// is let go first, then the sheet is left for the map; from the map to
// choosing sides.
TEST_F(Game, EachPressOfEscapeGoesBackOneStepBeforeAFriendly) {
  const std::string d = home_.path();
  std::string s = ToTheConditions(d);
  s += Press(130, "ESCAPE") + Capture(150, d + "/back1.tga");
  s += scriptKey(152, "RETURN") + Capture(160, d + "/picked.tga");
  s += Press(162, "ESCAPE") + Capture(180, d + "/unpicked.tga");
  s += Press(190, "ESCAPE") + Capture(210, d + "/back2.tga");
  s += Press(220, "ESCAPE") + Capture(240, d + "/back3.tga");
  s += "250 quit 0\n";
  korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string sheet = readFile(d + "/sheet.tga"), conditions = readFile(d + "/conditions.tga");
  ASSERT_FALSE(sheet.empty());
  ASSERT_TRUE(sheet != conditions);
  // The frames are compared whole (their bytes would flood the log).
  EXPECT_TRUE(readFile(d + "/back1.tga") == sheet) << "the first Escape did not show the team sheet";
  EXPECT_TRUE(readFile(d + "/picked.tga") != sheet) << "Return did not pick the goalkeeper";
  EXPECT_TRUE(readFile(d + "/unpicked.tga") == sheet) << "Escape did not let the picked player go";
  const std::string map = readFile(d + "/back2.tga"), sides = readFile(d + "/sides.tga");
  EXPECT_TRUE(map != sheet && map != sides && !map.empty()) << "the second Escape did not show the map";
  EXPECT_TRUE(readFile(d + "/back3.tga") == sides) << "the third Escape did not show choosing sides";
}

}  // namespace
