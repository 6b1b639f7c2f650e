// The real executable, headless: a friendly from the main menu through the
// screens before the kick-off, played by keyboard as a player would, and
// Escape on every screen that has a way back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// A script of key presses and captures at steps that follow one another.
struct Steps {
  std::string script;
  int t = 100;
  std::string dir;
  // A key pressed; the next line comes gap steps later.
  void key(const char* pszKey, int gap = 8) {
    script += Press(t, pszKey);
    t += gap;
  }
  // The frame shown now, under a name in the run's folder.
  std::string shot(const std::string& name) {
    script += Capture(t, dir + "/" + name + ".tga");
    t += 2;
    return dir + "/" + name + ".tga";
  }
};

// Escape goes back one screen from the options (to the main menu), the
// controller set-up (to the options), the load screen's list (to its
// buttons) and its buttons (to the main menu), choosing sides before
// Training, a Quick Start and a Friendly (to the main menu), the history
// set-up (to the main menu) and the history's choice of team (to the set-up).
// Each screen it goes back to is the frame that was shown before it was left.
TEST_F(Game, EscapeGoesBackOneScreenOnEveryScreenWithAWayBack) {
  home_.write("share/korvena-football/savegame/Scotland 1978  1.9.77.SAV", std::string(64, 'x'));
  timeLimitSeconds_ = 300;
  Steps o;
  o.dir = home_.path();
  struct Back {
    std::string from, to, back;
  };
  std::vector<Back> backs;
  auto escape = [&](const std::string& from, const std::string& to, const char* name) {
    o.key("ESCAPE", 30);
    backs.push_back({from, to, o.shot(name)});
  };
  // Options, from the main menu.
  o.key("RIGHT");
  o.key("DOWN", 20);
  const std::string menuOptions = o.shot("menu_options");
  o.key("RETURN", 30);
  const std::string options = o.shot("options");
  escape(options, menuOptions, "options_back");
  // The controller set-up, then the options and the menu again.
  o.key("RETURN", 30);
  o.key("RETURN", 30);
  const std::string controls = o.shot("controls");
  escape(controls, options, "controls_back");
  escape(options, menuOptions, "options_back2");
  // Load Game: the list of saves, its buttons.
  o.key("RIGHT", 20);
  const std::string menuLoad = o.shot("menu_load");
  o.key("RETURN", 30);
  const std::string load = o.shot("load");
  o.key("RETURN", 20);
  const std::string list = o.shot("list");
  escape(list, load, "list_back");
  escape(load, menuLoad, "load_back");
  // Choosing sides: Training, Quick Start, Friendly.
  for (const char* move : {"UP", "LEFT", "LEFT"}) {
    o.key(move, 20);
    const std::string menu = o.shot(std::string("menu_") + move + std::to_string(o.t));
    o.key("RETURN", 30);
    const std::string sides = o.shot(std::string("sides") + std::to_string(o.t));
    escape(sides, menu, (std::string("sides_back") + std::to_string(o.t)).c_str());
  }
  // History: its film (Space skips it), the set-up, the choice of team.
  o.key("DOWN", 20);
  const std::string menuHistory = o.shot("menu_history");
  o.key("RETURN", 40);
  o.key("SPACE", 40);
  const std::string setup = o.shot("setup");
  escape(setup, menuHistory, "setup_back");
  o.key("RETURN", 40);
  o.key("SPACE", 40);
  o.key("RETURN", 40);
  const std::string teams = o.shot("teams");
  escape(teams, setup, "teams_back");
  o.script += std::to_string(o.t + 10) + " quit 0\n";
  korvena_test::GameRun r = run(o.script);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const Back& b : backs) {
    const std::string from = readFile(b.from), to = readFile(b.to);
    ASSERT_FALSE(from.empty()) << b.from;
    ASSERT_TRUE(from != to) << b.from << " shows the same frame as " << b.to;
    // The frames are compared whole (their bytes would flood the log).
    EXPECT_TRUE(readFile(b.back) == to) << "Escape on " << b.from << " did not go back to " << b.to;
  }
}

}  // namespace
