// The real executable, headless: the menus open in a window, a Quick Start
// match opens full screen, and after the match is quit through the pause menu
// the menus are back in their window of the same size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;

// Every "display ..." line the script's display-state printed, in order.
std::vector<std::string> DisplayStates(const std::string& out) {
  std::vector<std::string> lines;
  for (std::size_t at = out.find("display open="); at != std::string::npos; at = out.find("display open=", at + 1))
    lines.push_back(out.substr(at, out.find('\n', at) - at));
  return lines;
}

TEST_F(Game, AfterAMatchTheMenusReturnToTheDisplayModeTheyHadBeforeIt) {
  std::string s = "90 display-state\n";
  // Quick Start, the keyboard on the home side; the match is on by step 690.
  s += scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  s += "690 display-state\n";
  // Escape pauses and resumes before the kick-off; kick off, pause in open
  // play, "Quit Match", "Yes".
  s += scriptKey(700, "ESCAPE") + scriptKey(740, "ESCAPE");
  s += scriptKey(770, "J") + scriptKey(820, "ESCAPE");
  for (int t : {840, 846, 852}) s += scriptKey(t, "DOWN");
  s += scriptKey(870, "J") + scriptKey(890, "DOWN") + scriptKey(900, "J");
  s += "990 display-state\n";
  // The main menu: down to Exit, Return, "Yes".
  s += scriptKey(1000, "DOWN") + scriptKey(1006, "DOWN") + scriptKey(1012, "RETURN") + scriptKey(1018, "LEFT") +
       scriptKey(1024, "RETURN");
  s += "1500 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // back at the menu: its Exit, not the script's quit 3
  const std::vector<std::string> states = DisplayStates(r.out);
  ASSERT_EQ(states.size(), 3u) << r.out;
  EXPECT_EQ(states[0], "display open=1 size=640x480 full-screen=0");
  EXPECT_EQ(states[1], "display open=1 size=640x480 full-screen=1");  // the software renderer's match
  EXPECT_EQ(states[2], states[0]);
}

}  // namespace
