// The real executable, headless: Options, Controller Setup, the second
// layout chosen and kept through Exit; the Quick Start match that follows is
// kicked off with that layout's Pass key (S) and not with the first layout's
// (J). Also the screen for the keyboard and for a pad on the captures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;

std::vector<char> Pixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> a((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return a.size() > 18 ? std::vector<char>(a.begin() + 18, a.end()) : std::vector<char>{};
}

// From the main menu to Options and Controller Setup (the first row); one
// layout to the right, down to Exit and select; down the options screen to
// its Exit; then up to Quick Start, the keyboard on the home side.
std::string ToQuickStartWithTheSecondLayout(const std::string& shots) {
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN") + scriptKey(130, "RETURN");
  s += "150 capture " + shots + "/first.tga\n";
  s += scriptKey(160, "RIGHT") + "170 capture " + shots + "/second.tga\n";
  s += scriptKey(180, "DOWN") + scriptKey(200, "RETURN");
  int t = 220;
  for (int i = 0; i < 10; i++, t += 6) s += scriptKey(t, "DOWN");
  s += scriptKey(t, "RETURN");
  return s + scriptKey(320, "UP") + scriptKey(330, "RETURN") + scriptKey(336, "LEFT") + scriptKey(342, "RETURN");
}

TEST_F(Game, TheLayoutChosenOnTheControlsScreenPlaysTheNextMatch) {
  const std::string shots = home_.path();
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  // J, the first layout's Pass, does not kick off.
  korvena_test::GameRun r =
      run(ToQuickStartWithTheSecondLayout(shots) + scriptKey(950, "J") + scriptKey(1100, "J") + "1300 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(log).find("kick-off"), std::string::npos) << readFile(log);
  const std::vector<char> first = Pixels(shots + "/first.tga"), second = Pixels(shots + "/second.tga");
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second) << "the heading names the layout";
  // S, the second layout's Pass, does.
  std::remove(log.c_str());
  r = run(ToQuickStartWithTheSecondLayout(shots) + scriptKey(950, "S") + "1300 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_NE(readFile(log).find("kick-off: side"), std::string::npos) << readFile(log);
}

TEST_F(Game, APadTakesItsOwnButtonsOnTheControlsScreen) {
  const std::string shots = home_.path();
  auto Axis = [](int t, int axis, int v) {
    return std::to_string(t) + " joyaxis 0 " + std::to_string(axis) + " " + std::to_string(v) + "\n" +
           std::to_string(t + 2) + " joyaxis 0 " + std::to_string(axis) + " 0\n";
  };
  auto Button = [](int t, int b) {
    return std::to_string(t) + " joybutton 0 " + std::to_string(b) + " down\n" + std::to_string(t + 2) +
           " joybutton 0 " + std::to_string(b) + " up\n";
  };
  // The pad drives the menu to Controller Setup (button 1 selects).
  std::string s = "0 joyplug Pad 6 12 1\n" + Axis(100, 0, 32767) + Axis(106, 1, 32767) + Button(112, 1) + Button(130, 1);
  s += "150 capture " + shots + "/pad.tga\n";
  // Three layouts to the right: the custom set, whose first row takes button 5.
  s += Axis(160, 0, 32767) + Axis(166, 0, 32767) + Axis(172, 0, 32767) + Axis(180, 1, 32767) + Button(190, 5);
  s += "200 capture " + shots + "/padcustom.tga\n";
  s += "300 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  // The keyboard's screen for comparison.
  r = run(scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN") + scriptKey(130, "RETURN") +
          "150 capture " + shots + "/keyboard.tga\n300 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::vector<char> pad = Pixels(shots + "/pad.tga"), custom = Pixels(shots + "/padcustom.tga"),
                          keyboard = Pixels(shots + "/keyboard.tga");
  ASSERT_FALSE(pad.empty());
  ASSERT_EQ(pad.size(), keyboard.size());
  EXPECT_NE(pad, keyboard) << "a pad is drawn with its buttons";
  EXPECT_NE(pad, custom);
}

// The settings the game writes: the machine root and the user root.
std::string Settings(const korvena_test::TempDir& home) {
  std::string all = readFile(home / "machine.txt");
  if (std::filesystem::exists(home / "config"))
    for (const auto& e : std::filesystem::recursive_directory_iterator(home / "config"))
      if (e.is_regular_file()) all += e.path().filename().string() + "\n" + readFile(e.path().string());
  return all;
}

// Controller Setup, one layout to the right or not, Exit; the options
// screen's Exit stores the settings.
std::string ChooseAndStore(const std::string& shot, bool bRight) {
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN") + scriptKey(130, "RETURN");
  if (bRight) s += scriptKey(160, "RIGHT");
  s += "170 capture " + shot + "\n" + scriptKey(180, "DOWN") + scriptKey(200, "RETURN");
  int t = 220;
  for (int i = 0; i < 10; i++, t += 6) s += scriptKey(t, "DOWN");
  return s + scriptKey(t, "RETURN") + "400 quit 3\n";
}

// Bindings live in memory only: the settings written after choosing a layout
// are those written without the choice, and the next start shows the first
// layout again.
TEST_F(Game, TheChosenLayoutIsNotWrittenToTheSettings) {
  const std::string shots = home_.path();
  korvena_test::GameRun r = run(ChooseAndStore(shots + "/chosen.tga", true));
  ASSERT_EQ(r.exitCode, 3) << r.err;
  const std::string chosen = Settings(home_);
  ASSERT_NE(chosen.find("LODBias"), std::string::npos) << chosen;  // the options screen stored its settings
  // The next start with those settings: the first layout.
  r = run(ChooseAndStore(shots + "/next.tga", false));
  ASSERT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(Settings(home_), chosen);
  // A start from no settings at all writes the same.
  std::filesystem::remove(home_ / "machine.txt");
  std::filesystem::remove_all(home_ / "config");
  r = run(ChooseAndStore(shots + "/fresh.tga", false));
  ASSERT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(Settings(home_), chosen);
  const std::vector<char> a = Pixels(shots + "/chosen.tga"), b = Pixels(shots + "/next.tga"), c = Pixels(shots + "/fresh.tga");
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(b, c);
}

}  // namespace
