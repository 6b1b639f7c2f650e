// The real executable, headless: the confirmation panels a screen opens over
// its own labels (the hub's "Quit History?", the load screen's "Confirm
// delete game?") show nothing of those labels inside them; and the player
// database's kept error box at the hub goes at any key, which reaches
// nothing under it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/confirm_panel_picture.h"
#include "e2e/history_save.h"
#include "frontend/pcsave.h"
#include "support/captured_pictures.h"
#include "support/error_box_picture.h"
#include "support/run_game.h"
#include "tournament/squad.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::readFile;
using korvena_test::scriptKey;

std::string Capture(int iStep, const std::filesystem::path& p) { return std::to_string(iStep) + " capture " + p.string() + "\n"; }

// Counts the lines of the debug log that hold the text.
int Count(const std::string& d, const std::string& what) {
  int n = 0;
  for (std::size_t i = d.find(what); i != std::string::npos; i = d.find(what, i + 1)) n++;
  return n;
}

// At the hub of a loaded history, Escape opens "Quit History?" (No chosen;
// Left chooses Yes) over the team's name, the year and "Choose Squad"; at
// the load screen, Delete and the save open "Confirm delete game?" over the
// save's name and the icons' words. Inside each panel's frame only its
// question and its two answers show.
TEST_F(Game, TheConfirmationPanelsAreDrawnOverTheirScreensLabels) {
  korvena_test::EnglandHistoryBuild(exe_);
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  korvena_test::Write(folder / "England 1958  7.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage),
                      PCSAVE_IMAGE_SIZE);
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  std::string s = korvena_test::LoadToHub() + scriptKey(220, "ESCAPE") + Capture(240, home_ / "no.tga");
  s += scriptKey(250, "LEFT") + Capture(270, home_ / "yes.tga");
  korvena_test::GameRun r = run(s + "290 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  ASSERT_NE(readFile(log).find("pcsave: loaded \"England 1958  7.5.57\""), std::string::npos) << r.err;
  std::string why;
  EXPECT_TRUE(korvena_test::ConfirmPanelReads(home_ / "no.tga", "Quit History?", false, &why)) << why;
  EXPECT_TRUE(korvena_test::ConfirmPanelReads(home_ / "yes.tga", "Quit History?", true, &why)) << why;

  // The load screen: Delete, the list, the save.
  s = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(132, "RETURN");
  s += scriptKey(154, "DOWN") + scriptKey(160, "RETURN") + scriptKey(170, "RETURN") +
       Capture(190, home_ / "delete.tga");
  r = run(s + "210 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_TRUE(korvena_test::ConfirmPanelReads(home_ / "delete.tga", "Confirm delete game?", false, &why)) << why;
  EXPECT_TRUE(std::filesystem::exists(folder / "England 1958  7.5.57.SAV"));
}

// With the player database cut, the hub's Play Match keeps the error box
// until a key. Escape takes it away and opens no "Quit History?"; J, a key
// of the match the hub does not read, takes it away; Down held long after
// taking it away moves no cursor. Each time the hub then shows as it did
// before Play Match, and no match starts.
TEST_F(Game, AnyKeyTakesTheKeptErrorBoxAwayAndReachesNothingUnderIt) {
  squadcache_Clear();
  exe_ = korvena_test::GameWithCutDatabase(exe_, home_.path(), 1000);
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  std::string s = korvena_test::LoadToHub() + Capture(214, home_ / "hub.tga") + scriptKey(220, "RETURN");
  s += Capture(260, home_ / "box1.tga") + scriptKey(280, "ESCAPE") + Capture(320, home_ / "after1.tga");
  s += scriptKey(340, "RETURN") + Capture(380, home_ / "box2.tga") + scriptKey(400, "J") + Capture(440, home_ / "after2.tga");
  // Down held for 60 steps: long enough to repeat in a list.
  s += scriptKey(460, "RETURN") + Capture(500, home_ / "box3.tga") + "520 keydown DOWN\n580 keyup DOWN\n" +
       Capture(600, home_ / "after3.tga");
  korvena_test::GameRun r = run(s + "620 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string d = readFile(log);
  EXPECT_EQ(Count(d, "error box: ..\\data\\database\\dump\\dump.dat cannot be read\n"), 3) << d;
  EXPECT_EQ(Count(d, "error box dismissed\n"), 3) << d;
  EXPECT_EQ(d.find("match start: home"), std::string::npos) << d;
  const std::string hub = readFile(home_ / "hub.tga");
  ASSERT_FALSE(hub.empty());
  EXPECT_FALSE(korvena_test::ErrorBoxShown(home_ / "hub.tga"));
  for (int i = 1; i <= 3; i++) {
    const std::string n = std::to_string(i);
    EXPECT_TRUE(korvena_test::ErrorBoxShown(home_ / ("box" + n + ".tga"))) << i;
    EXPECT_FALSE(korvena_test::ErrorBoxShown(home_ / ("after" + n + ".tga"))) << i;
    EXPECT_TRUE(readFile(home_ / ("after" + n + ".tga")) == hub) << "the hub changed under the box's key " << i;
  }
}

}  // namespace
