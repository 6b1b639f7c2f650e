// The real executable, headless: the options screen from the main menu; Exit
// stores the level of detail in the settings and the next start reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;

// From the menu's first choice to the options screen, then iDown rows down
// and one step right, then the screen's last row; leaving with pszLeave.
std::string Script(int iDown, const char* pszLeave) {
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN");
  int t = 130;
  for (int i = 0; i < iDown; i++, t += 6) s += scriptKey(t, "DOWN");
  s += scriptKey(t, "RIGHT");
  t += 6;
  for (int i = 0; i < 3; i++, t += 6) s += scriptKey(t, "DOWN");
  s += scriptKey(t, pszLeave);
  // Back at the main menu: to Exit, "Yes".
  t += 20;
  s += scriptKey(t, "DOWN") + scriptKey(t + 6, "RETURN") + scriptKey(t + 12, "LEFT") + scriptKey(t + 18, "RETURN");
  s += "900 quit 3\n";
  return s;
}

TEST_F(Game, TheOptionsScreenStoresTheLevelOfDetailOnExit) {
  const std::string settings = home_ / "machine.txt";
  // Level of Detail is the eighth row: from 2 to 3, then Exit.
  korvena_test::GameRun r = run(Script(7, "RETURN"));
  EXPECT_EQ(r.exitCode, 0) << r.err;  // the menu's Exit, not the script's quit
  const std::string after = readFile(settings);
  EXPECT_NE(after.find("\"LODBias\"=dword:00000003"), std::string::npos) << after;
  // A new start reads it back: one step left shows 2 and is stored on Exit.
  r = run(Script(7, "RETURN"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(readFile(settings).find("\"LODBias\"=dword:00000004"), std::string::npos) << readFile(settings);
}

// The volume of the first playing voice an "audio-state" line block shows
// after the n-th "audio device" line.
int VoiceVolume(const std::string& out, int n) {
  std::size_t at = 0;
  for (int i = 0; i <= n; i++) {
    at = out.find("audio device=", at);
    if (at == std::string::npos) return 1 << 30;
    at++;
  }
  const std::size_t v = out.find("audio voice=", at);
  const std::size_t k = v == std::string::npos ? v : out.find("volume=", v);
  return k == std::string::npos ? 1 << 30 : std::stoi(out.substr(k + 7));
}

// The Sfx row changes the menu sounds at once; the volumes are not among the
// settings a start keeps, so the next start plays them at full volume again.
TEST_F(Game, TheSfxRowChangesTheMenuSoundsAtOnceAndTheNextStartHasTheDefault) {
  // Options, two rows down to Sfx; one step left, the sound heard; seven
  // more, the sound heard; then Exit.
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "DOWN") + scriptKey(112, "RETURN") + scriptKey(130, "DOWN") +
                  scriptKey(136, "DOWN");
  s += scriptKey(142, "LEFT") + "146 audio-state\n";
  for (int i = 1; i < 8; i++) s += scriptKey(142 + 6 * i, "LEFT");
  s += "188 audio-state\n";
  for (int i = 0; i < 7; i++) s += scriptKey(200 + 6 * i, "DOWN");
  s += scriptKey(250, "RETURN") + "300 quit 0\n";
  korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const int v15 = VoiceVolume(r.out, 0), v8 = VoiceVolume(r.out, 1);
  ASSERT_LT(v15, 1 << 30) << r.out;
  ASSERT_LT(v8, 1 << 30) << r.out;
  EXPECT_LT(v8, v15) << r.out;
  // A new start: a move on the main menu.
  r = run(scriptKey(100, "DOWN") + "104 audio-state\n200 quit 0\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const int v16 = VoiceVolume(r.out, 0);
  ASSERT_LT(v16, 1 << 30) << r.out;
  EXPECT_GT(v16, v15) << r.out;
}

}  // namespace
