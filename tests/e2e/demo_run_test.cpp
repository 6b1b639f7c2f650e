// The real executable, headless: left idle at the main menu it plays a demo
// match that leaves by itself and comes back to the menu; the next idle minute
// brings the attract movie and the menu again, whose Exit ends with code 0.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;

TEST_F(Game, TheDemoMatchEndsByItselfThenTheMovieAndTheMenuAgain) {
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  const std::string menu = home_ / "menu.tga", demo = home_ / "demo.tga";
  // 1500 idle frames, the loading, the demo match (about 5 minutes of match
  // time), the menu; 1500 more idle frames, the movie, the menu: then Exit.
  std::string s = "1000 capture " + menu + "\n2200 capture " + demo + "\n";
  s += scriptKey(5800, "DOWN") + scriptKey(5806, "DOWN") + scriptKey(5812, "RETURN") + scriptKey(5818, "LEFT") +
       scriptKey(5824, "RETURN");
  s += "6600 quit 3\n";
  timeLimitSeconds_ = 600;  // a whole demo match of the sanitized game on a loaded machine
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // back at the menu: its Exit, not the script's quit 3
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  EXPECT_NE(readFile(log).find("kick-off"), std::string::npos);
  const std::string a = readFile(menu), b = readFile(demo);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a.size(), b.size());
  EXPECT_NE(a, b) << "the demo match is on screen at frame 2200";
}

}  // namespace
