// The whole game, headless, from a script of keys: the main menu, a
// friendly, one keyboard user on the home side, two nations of different
// editions picked on the map, a formation and a swap on the team sheet, the
// match conditions and the kick-off. The match starts with the chosen squads,
// editions, formation and arrangement, and the captured frames show the
// markers on their buttons and the list rows where the layout puts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/mteam_layout.h"
#include "support/captured_pictures.h"
#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::Picture;
using korvena_test::ReadBank16;
using korvena_test::ReadTga;


// The share of the sprite's pixels the captured frame shows at x, y.
double Match(const Picture& shot, const Picture& sprite, int x, int y) {
  int same = 0;
  for (int j = 0; j < sprite.height; ++j)
    for (int i = 0; i < sprite.width; ++i) same += shot.At(x + i, y + j) == sprite.At(i, j);
  return sprite.width * sprite.height > 0 ? same / double(sprite.width * sprite.height) : 0.0;
}

int Record(const FrontEndLayoutRecord* records, int count, const char* name) {
  for (int i = 0; i < count; ++i)
    if (std::string(records[i].pszName) == name) return i;
  return -1;
}

class TeamSelectionRun : public korvena_test::GameRunner {};

TEST_F(TeamSelectionRun, AFriendlyFromTheMapToTheKickOff) {
  const fs::path shots = fs::path(home_.path()) / "shots";
  fs::create_directories(shots);
  auto shot = [&](const char* name) { return (shots / name).string(); };
  const std::string log = (fs::path(home_.path()) / "debug.log").string();
  env_["KORVENA_DEBUG_LOG"] = log;
  // Escape held past the first run's sheet conversion skips the films
  // whether or not the sheets were converted before.
  korvena_test::KeyScript ks;
  ks.text = "1 keydown ESCAPE\n70 keyup ESCAPE\n";
  std::string& script = ks.text;
  int& frame = ks.step;
  auto capture = [&](const char* name) {
    script += std::to_string(frame) + " capture " + shot(name) + "\n";
    frame += 4;
  };
  ks.key("RETURN", 12);  // Friendly
  ks.key("LEFT");        // the home side
  ks.key("RETURN", 12);  // to the map
  capture("map.tga");
  ks.key("RETURN");  // Europe's teams
  ks.key("DOWN");
  ks.key("RETURN");  // its editions
  ks.key("DOWN");
  ks.key("RETURN");  // chosen: the opponent next
  capture("away.tga");
  ks.key("RIGHT");  // Asia
  ks.key("RETURN");
  ks.key("RETURN");
  ks.key("DOWN");  // an earlier edition
  ks.key("RETURN", 12);  // the team sheet
  ks.key("RIGHT");  // the formations
  ks.key("DOWN");
  ks.key("RETURN");
  ks.key("LEFT");  // back to the squad
  ks.key("RETURN");  // swap the first two starters
  ks.key("DOWN");
  ks.key("RETURN");
  capture("sheet.tga");
  ks.key("SPACE", 12);  // to the conditions
  ks.key("SPACE", 12);  // kick off: the match loads
  script += std::to_string(frame + 900) + " quit 0\n";
  korvena_test::GameRun r = runWithIntro(script);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;

  std::ifstream in(log);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  // The team sheet hands over the two sides; the match kicks off with them.
  std::smatch m;
  const std::regex sides(R"(team sheet: home (\d+) edition (\d+) formation (\d+) starters ([^\n]*)\nteam sheet: away (\d+) edition (\d+) formation (\d+))");
  ASSERT_TRUE(std::regex_search(text, m, sides)) << text.substr(0, 2000);
  EXPECT_NE(m[1], m[5]);                       // two nations
  EXPECT_NE(m[2], m[6]);                       // of different editions
  const std::string starters = m[4];
  const std::regex kick(R"(match start: home (\d+) edition (\d+) formation (\d+) starters ([^\n]*))");
  std::smatch k;
  ASSERT_TRUE(std::regex_search(text, k, kick)) << text.substr(0, 2000);
  EXPECT_EQ(k[1], m[1]);
  EXPECT_EQ(k[2], m[2]);
  EXPECT_EQ(k[3], m[3]);
  EXPECT_EQ(std::string(k[4]), starters);  // the swap stands

  // The frames: the red marker on Europe, then the blue one there.
  const fs::path build = fs::path(exe_).parent_path().parent_path();
  const std::vector<Picture> team = ReadBank16(build / "data" / "frontend" / "team16.spr");
  const std::vector<Picture> tactics = ReadBank16(build / "data" / "frontend" / "tactics16.spr");
  if (team.empty() || tactics.empty()) GTEST_SKIP() << "the converted sheets are not in the run's tree";
  const int euro = Record(mteam_aoLayout, MTEAM_LAYOUT_RECORDS, "EURO");
  const Picture map = ReadTga(shot("map.tga"));
  ASSERT_EQ(map.width, 640);
  EXPECT_EQ(Match(map, team[static_cast<size_t>(Record(mteam_aoLayout, MTEAM_LAYOUT_RECORDS, "EUROR"))], mteam_aoLayout[euro].x, mteam_aoLayout[euro].y), 1.0);
  const Picture away = ReadTga(shot("away.tga"));
  ASSERT_EQ(away.width, 640);
  EXPECT_EQ(Match(away, team[static_cast<size_t>(Record(mteam_aoLayout, MTEAM_LAYOUT_RECORDS, "EUROB"))], mteam_aoLayout[euro].x, mteam_aoLayout[euro].y), 1.0);
  // The team sheet: a position marker at the start of each of the seven rows.
  const Picture sheet = ReadTga(shot("sheet.tga"));
  ASSERT_EQ(sheet.width, 640);
  for (int row = 0; row < 8; ++row) {
    double best = 0;
    for (const char* marker : {"GreenS", "BlueS", "PurpleS", "RedS"}) {
      const int i = Record(mtatdisp_aoLayout, MTATDISP_LAYOUT_RECORDS, marker);
      best = std::max(best, Match(sheet, tactics[static_cast<size_t>(i)], 31, 108 + 38 * row));
    }
    if (row < 7) EXPECT_GT(best, 0.5) << "row " << row;
    else EXPECT_LT(best, 0.5) << "below the window";
  }
}

}  // namespace
