// The real executable, headless: the confirmation panels a screen opens over
// its own labels (the hub's "Quit History?", the load screen's "Confirm
// delete game?") show nothing of those labels inside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/confirm_panel_picture.h"
#include "e2e/history_save.h"
#include "frontend/pcsave.h"
#include "support/captured_pictures.h"
#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::readFile;
using korvena_test::scriptKey;

std::string Capture(int iStep, const std::filesystem::path& p) { return std::to_string(iStep) + " capture " + p.string() + "\n"; }

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

}  // namespace
