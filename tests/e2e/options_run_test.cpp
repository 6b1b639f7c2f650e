// The real executable, headless: the options screen from the main menu; Exit
// stores the level of detail in the settings and the next start reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A key pressed at a step and let go two steps later.
std::string Key(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 2) + " keyup " + pszKey + "\n";
}

// From the menu's first choice to the options screen, then iDown rows down
// and one step right, then the screen's last row; leaving with pszLeave.
std::string Script(int iDown, const char* pszLeave) {
  std::string s = Key(100, "RIGHT") + Key(106, "DOWN") + Key(112, "RETURN");
  int t = 130;
  for (int i = 0; i < iDown; i++, t += 6) s += Key(t, "DOWN");
  s += Key(t, "RIGHT");
  t += 6;
  for (int i = 0; i < 3; i++, t += 6) s += Key(t, "DOWN");
  s += Key(t, pszLeave);
  // Back at the main menu: to Exit, "Yes".
  t += 20;
  s += Key(t, "DOWN") + Key(t + 6, "RETURN") + Key(t + 12, "LEFT") + Key(t + 18, "RETURN");
  s += "900 quit 3\n";
  return s;
}

TEST_F(Game, TheOptionsScreenStoresTheLevelOfDetailOnExit) {
  const std::string settings = home_ / "machine.txt";
  // Level of Detail is the eighth row: from 2 to 3, then Exit.
  korvena_test::GameRun r = run(Script(7, "RETURN"));
  EXPECT_EQ(r.exitCode, 0) << r.err;  // the menu's Exit, not the script's quit
  const std::string after = ReadAll(settings);
  EXPECT_NE(after.find("\"LODBias\"=dword:00000003"), std::string::npos) << after;
  // A new start reads it back: one step left shows 2 and is stored on Exit.
  r = run(Script(7, "RETURN"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadAll(settings).find("\"LODBias\"=dword:00000004"), std::string::npos) << ReadAll(settings);
}

}  // namespace
