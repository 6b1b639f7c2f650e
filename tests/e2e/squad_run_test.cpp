// The real executable, headless: a history campaign saved in the 1970
// qualifiers is loaded from the main menu; the hub's "Choose Squad" opens the
// squad pages, where "Change Squad" shows the whole squad in two lists side
// by side; a starter and a substitute change places and "Exit" returns to
// the hub. The captured frame shows both lists' rows where the layout puts
// them. The same campaign's next match is left through the pause menu's
// "Quit History".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "campaign_driver.h"
#include "frontend/mteam_layout.h"
#include "frontend/pcsave.h"
#include "support/captured_pictures.h"
#include "support/headless_env.h"
#include "support/run_game.h"
#include "tournament/tla.h"

namespace fs = std::filesystem;

// The campaign driver copies the year files from the build tree.
fs::path BuildDir() {
  const char* psz = std::getenv("KORVENA_BUILD_DIR");
  return psz ? fs::path(psz) : fs::path();
}

namespace {

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-squadrun", false, nullptr, nullptr});

using korvena_test::Picture;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The share of the sprite's pixels the captured frame shows at x, y.
double Match(const Picture& shot, const Picture& sprite, int x, int y) {
  int same = 0;
  for (int j = 0; j < sprite.height; ++j)
    for (int i = 0; i < sprite.width; ++i) same += shot.At(x + i, y + j) == sprite.At(i, j);
  return sprite.width * sprite.height > 0 ? same / double(sprite.width * sprite.height) : 0.0;
}

// The best match at x, y among the named sprites of the team sheet's art.
double BestOf(const Picture& shot, const std::vector<Picture>& sheet, std::initializer_list<const char*> names, int x, int y) {
  double best = 0;
  for (const char* n : names)
    for (int i = 0; i < MTATDISP_LAYOUT_RECORDS; ++i)
      if (std::string(mtatdisp_aoLayout[i].pszName) == n) best = std::max(best, Match(shot, sheet[static_cast<size_t>(i)], x, y));
  return best;
}

class SquadPagesRun : public korvena_test::GameRunner {};

TEST_F(SquadPagesRun, ChooseSquadShowsBothListsAndSwapsTwoPlayers) {
  {
    Campaign c(static_cast<std::uint32_t>(tla_IDFind("SCO")), Script::Win, 21);
    ASSERT_TRUE(c.EditionStart(70));
  }
  ASSERT_EQ(pcsave_ImageBuild(), 1);
  const fs::path folder = fs::path(home_.path()) / "share/korvena-football/savegame";
  fs::create_directories(folder);
  {
    std::ofstream out(folder / "Scotland 1970  1.1.69.SAV", std::ios::binary);
    out.write(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
  }
  const std::string log = (fs::path(home_.path()) / "debug.log").string();
  const std::string lists = (fs::path(home_.path()) / "lists.tga").string();
  env_["KORVENA_DEBUG_LOG"] = log;
  korvena_test::KeyScript ks;
  std::string& script = ks.text;
  int& frame = ks.step;
  // Load Game from the main menu: the load icon, the one save.
  ks.key("RIGHT");
  ks.key("RIGHT");
  ks.key("DOWN");
  ks.key("RETURN", 22);
  ks.key("RETURN");
  ks.key("RETURN", 60);
  // The hub: "Choose Squad", then "Change Squad".
  ks.key("DOWN");
  ks.key("DOWN");
  ks.key("RETURN", 20);
  ks.key("RETURN", 10);
  script += std::to_string(frame) + " capture " + lists + "\n";
  frame += 4;
  // The first starter and the first substitute (the right list's first row).
  ks.key("RETURN");
  ks.key("RIGHT");
  ks.key("RETURN");
  // Escape held for one frame: back to the buttons; then "Exit", the hub.
  script += std::to_string(frame) + " keydown ESCAPE\n" + std::to_string(frame + 1) + " keyup ESCAPE\n";
  frame += 10;
  ks.key("RIGHT");
  ks.key("RETURN", 20);
  script += std::to_string(frame + 20) + " quit 3\n";
  korvena_test::GameRun r = run(script);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;

  const std::string text = ReadAll(log);
  EXPECT_NE(text.find("pcsave: loaded \"Scotland 1970  1.1.69\""), std::string::npos) << text;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(text, m, std::regex(R"(squad pages: (.+) and (.+) change places)"))) << text;
  EXPECT_NE(m[1], m[2]);
  EXPECT_NE(text.find("squad pages: back to the hub", static_cast<size_t>(m.position(0))), std::string::npos) << text;

  const fs::path build = fs::path(exe_).parent_path().parent_path();
  const std::vector<Picture> sheet = korvena_test::ReadBank16(build / "data" / "frontend" / "tactics16.spr");
  if (sheet.size() < static_cast<size_t>(MTATDISP_LAYOUT_RECORDS)) GTEST_SKIP() << "the converted team sheet is not in the run's tree";
  const Picture shot = korvena_test::ReadTga(lists);
  ASSERT_EQ(shot.width, 640);
  // Eight rows in each list at x 25 and 260 (31 and 325 on the screen) from
  // y 40 (80), 19 apart (38): the position marker, then the skill bar's left
  // end of the same colour.
  for (int list = 0; list < 2; ++list)
    for (int row = 0; row < 8; ++row) {
      const int x = list ? 325 : 31, y = 80 + 38 * row;
      EXPECT_GT(BestOf(shot, sheet, {"GreenS", "BlueS", "PurpleS", "RedS"}, x, y), 0.5) << list << " row " << row;
      // The starters carry their slots' shirt numbers, so their bars show.
      if (list == 0) {
        EXPECT_GT(BestOf(shot, sheet, {"gl_1", "bl_1", "pl_1", "rl_1"}, x + 75, y), 0.5) << "row " << row;
      }
    }
}

// The saved campaign of the squad pages' test in the run's save folder.
void SaveCampaign(const std::string& home) {
  {
    Campaign c(static_cast<std::uint32_t>(tla_IDFind("SCO")), Script::Win, 21);
    ASSERT_TRUE(c.EditionStart(70));
  }
  ASSERT_EQ(pcsave_ImageBuild(), 1);
  const fs::path folder = fs::path(home) / "share/korvena-football/savegame";
  fs::create_directories(folder);
  std::ofstream out(folder / "Scotland 1970  1.1.69.SAV", std::ios::binary);
  out.write(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
}

// The saved campaign is loaded and its next match played from the hub;
// before the kick-off the pause menu's "Quit History" and "Yes" leave the
// history: the main menu shows again as it was left (Load Game chosen), not
// the news, and the save on disk is as it was.
TEST_F(SquadPagesRun, QuitHistoryInAMatchLeavesForTheMainMenuAndRecordsNothing) {
  SaveCampaign(home_.path());
  const fs::path save = fs::path(home_.path()) / "share/korvena-football/savegame/Scotland 1970  1.1.69.SAV";
  const std::string saved = ReadAll(save.string());
  ASSERT_FALSE(saved.empty());
  const std::string log = (fs::path(home_.path()) / "debug.log").string();
  const std::string menu = (fs::path(home_.path()) / "menu.tga").string();
  const std::string paused = (fs::path(home_.path()) / "paused.tga").string();
  const std::string after = (fs::path(home_.path()) / "after.tga").string();
  env_["KORVENA_DEBUG_LOG"] = log;
  timeLimitSeconds_ = 300;
  korvena_test::KeyScript ks;
  std::string& script = ks.text;
  int& frame = ks.step;
  // The main menu with Load Game chosen; the one save; the hub's Play Match.
  ks.key("RIGHT");
  ks.key("RIGHT");
  ks.key("DOWN", 20);
  script += std::to_string(frame) + " capture " + menu + "\n";
  ks.key("RETURN", 22);
  ks.key("RETURN");
  ks.key("RETURN", 60);
  ks.key("RETURN", 60);
  // The pause menu before the kick-off: Resume Match, Action Replay, Quit
  // History; J chooses, then "Yes" under "No".
  frame = 900;
  ks.key("ESCAPE", 20);
  ks.key("DOWN");
  ks.key("DOWN", 12);
  script += std::to_string(frame) + " capture " + paused + "\n";
  ks.key("J", 20);
  ks.key("DOWN", 10);
  ks.key("J", 200);
  script += std::to_string(frame) + " capture " + after + "\n";
  script += std::to_string(frame + 10) + " quit 3\n";
  korvena_test::GameRun r = run(script);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string text = ReadAll(log);
  ASSERT_NE(text.find("match start: home 102"), std::string::npos) << text;
  const std::string shown = ReadAll(menu);
  ASSERT_FALSE(shown.empty());
  ASSERT_TRUE(ReadAll(paused) != shown);
  // The frames are compared whole (their bytes would flood the log).
  EXPECT_TRUE(ReadAll(after) == shown) << "Quit History did not end at the main menu";
  EXPECT_TRUE(ReadAll(save.string()) == saved) << "the save changed";
  EXPECT_EQ(std::distance(fs::directory_iterator(save.parent_path()), fs::directory_iterator()), 1) << "a save was added";
}

}  // namespace
