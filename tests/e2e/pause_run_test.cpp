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

std::string Key(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 2) + " keyup " + pszKey + "\n";
}

// The bytes of a captured frame's pixels (the header skipped).
std::vector<char> Pixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> a((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return a.size() > 18 ? std::vector<char>(a.begin() + 18, a.end()) : std::vector<char>{};
}

TEST_F(Game, AQuickStartMatchIsPausedResumedAndQuitBackToTheMenu) {
  const std::string shots = home_.path();
  // Quick Start, the keyboard on the home side.
  std::string s = Key(100, "RIGHT") + Key(110, "RETURN") + Key(116, "LEFT") + Key(122, "RETURN");
  // Before the kick-off: Escape pauses, Escape resumes.
  s += "690 capture " + shots + "/before.tga\n";
  s += Key(700, "ESCAPE") + "720 capture " + shots + "/paused.tga\n";
  s += Key(740, "ESCAPE") + "760 capture " + shots + "/resumed.tga\n";
  // Kick off (J), pause in open play, down to "Quit Match", J selects, "Yes".
  s += Key(770, "J") + Key(820, "ESCAPE");
  for (int t : {840, 846, 852}) s += Key(t, "DOWN");
  s += Key(870, "J") + Key(890, "DOWN") + Key(900, "J");
  // The main menu: down to Exit, Return, "Yes".
  s += Key(1000, "DOWN") + Key(1006, "DOWN") + Key(1012, "RETURN") + Key(1018, "LEFT") + Key(1024, "RETURN");
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
