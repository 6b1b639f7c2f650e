// The real executable, headless: Quick Start leads to choosing sides, where
// the keyboard moves to the home side and a pad pressing right to the away
// side; select starts a match between two historical sides that both
// controllers play, and the match loads and reaches its kick-off.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;

// The bytes of the pixels of a captured frame inside a rectangle of the
// 640 x 480 screen, rows top first; empty when the file is not such a frame.
std::string Area(const std::string& path, int x, int y, int w, int h) {
  const std::string f = readFile(path);
  if (f.size() < 18) return {};
  const int width = static_cast<unsigned char>(f[12]) | static_cast<unsigned char>(f[13]) << 8;
  const int height = static_cast<unsigned char>(f[14]) | static_cast<unsigned char>(f[15]) << 8;
  const int bytes = static_cast<unsigned char>(f[16]) / 8;
  const bool topFirst = (static_cast<unsigned char>(f[17]) & 0x20) != 0;
  if (width != 640 || height != 480 || bytes < 2 || f.size() < 18u + 640u * 480u * bytes) return {};
  std::string out;
  for (int row = y; row < y + h; ++row) {
    const int r = topFirst ? row : 479 - row;
    out += f.substr(18 + (static_cast<std::size_t>(r) * 640 + x) * bytes, static_cast<std::size_t>(w) * bytes);
  }
  return out;
}

TEST_F(Game, QuickStartChoosesSidesAndTheKeyboardAndAPadPlayTheMatch) {
  const std::string log = home_ / "debug.txt", shots = home_.path();
  env_["KORVENA_DEBUG_LOG"] = log;
  timeLimitSeconds_ = 300;
  std::string s = "1 joyplug Pad 6 16 1\n";
  s += scriptKey(65, "RIGHT") + scriptKey(80, "RETURN");  // Quick Start
  s += "90 capture " + shots + "/middle.tga\n";
  // The keyboard goes left to the home side, the pad right to the away side.
  s += scriptKey(96, "LEFT") + "100 joyaxis 0 X 32000\n104 joyaxis 0 X 0\n";
  s += "110 capture " + shots + "/sides.tga\n";
  s += scriptKey(120, "RETURN") + "700 capture " + shots + "/match.tga\n";
  // Either side may kick off: the keyboard presses J, the pad its buttons.
  s += scriptKey(770, "J") +
       "780 joybutton 0 1 down\n782 joybutton 0 1 up\n790 joybutton 0 0 down\n792 joybutton 0 0 up\n";
  s += "1000 quit 0\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string d = readFile(log);
  // User 0 is the keyboard (port 0, device 4) at home, user 1 the pad
  // (port 1, a joystick port) away; the match reaches its kick-off.
  EXPECT_NE(d.find("sides: user 0 side 1 port 0 device 4\n"), std::string::npos) << d.substr(0, 2000);
  EXPECT_NE(d.find("sides: user 1 side 2 port 1 device 5\n"), std::string::npos) << d.substr(0, 2000);
  EXPECT_EQ(d.find("sides: user 2"), std::string::npos);
  EXPECT_NE(d.find("kick-off: side"), std::string::npos) << d.substr(0, 2000);
  // The keyboard's icon now shows in the home column on player 1's row, the
  // pad's in the away column on player 2's row; the rows of players 3 and 4
  // are as they were.
  const std::string m = shots + "/middle.tga", c = shots + "/sides.tga";
  ASSERT_FALSE(Area(m, 0, 0, 640, 480).empty());
  ASSERT_FALSE(Area(c, 0, 0, 640, 480).empty());
  EXPECT_NE(Area(m, 58, 88, 85, 48), Area(c, 58, 88, 85, 48));
  EXPECT_NE(Area(m, 501, 166, 78, 60), Area(c, 501, 166, 78, 60));
  EXPECT_NE(Area(m, 291, 87, 56, 50), Area(c, 291, 87, 56, 50));
  EXPECT_EQ(Area(m, 291, 257, 56, 50), Area(c, 291, 257, 56, 50));
  EXPECT_EQ(Area(m, 58, 258, 85, 48), Area(c, 58, 258, 85, 48));
  // The match: a 3D frame, not the choose-sides screen.
  EXPECT_NE(Area(c, 0, 0, 640, 480), Area(shots + "/match.tga", 0, 0, 640, 480));
}

}  // namespace
