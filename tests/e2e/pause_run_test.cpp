// The real executable, headless: a Quick Start match is paused with Escape
// (the pause menu shows), resumed, paused again in open play and left through
// "Quit Match" and "Yes"; the main menu's Exit then ends the game with code 0.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;

// The bytes of a captured frame's pixels (the header skipped).
std::vector<char> Pixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> a((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return a.size() > 18 ? std::vector<char>(a.begin() + 18, a.end()) : std::vector<char>{};
}

TEST_F(Game, AQuickStartMatchIsPausedResumedAndQuitBackToTheMenu) {
  const std::string shots = home_.path();
  // Quick Start, the keyboard on the home side.
  std::string s = scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  // Before the kick-off: Escape pauses, Escape resumes.
  s += "690 capture " + shots + "/before.tga\n";
  s += scriptKey(700, "ESCAPE") + "720 capture " + shots + "/paused.tga\n";
  s += scriptKey(740, "ESCAPE") + "760 capture " + shots + "/resumed.tga\n";
  // Kick off (J), pause in open play, down to "Quit Match", J selects, "Yes".
  s += scriptKey(770, "J") + scriptKey(820, "ESCAPE");
  for (int t : {840, 846, 852}) s += scriptKey(t, "DOWN");
  s += scriptKey(870, "J") + scriptKey(890, "DOWN") + scriptKey(900, "J");
  // The main menu: down to Exit, Return, "Yes".
  s += scriptKey(1000, "DOWN") + scriptKey(1006, "DOWN") + scriptKey(1012, "RETURN") + scriptKey(1018, "LEFT") +
       scriptKey(1024, "RETURN");
  s += "1500 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // the menu's Exit, not the script's quit 3
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::vector<char> before = Pixels(shots + "/before.tga"), paused = Pixels(shots + "/paused.tga");
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(before.size(), paused.size());
  EXPECT_NE(before, paused) << "the menu shows over the paused match";
}

}  // namespace
