// The real executable, headless, over a prepared save: the history hub's
// Fixtures shows the human team's qualifiers, its list with the row frame and
// the arrow, and the roll of honour shows an edition and the one before.
// The captured frames show the sheets' sprites where the layout puts them and
// the texts over them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frontend/mfhfixtr_layout.h"
#include "frontend/pcsave.h"
#include "support/captured_pictures.h"
#include "support/run_game.h"
#include "tournament/tla.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/fixtures.h"
#include "tournament/tmgame.h"
#include "tournament/yearfile.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::Picture;
using korvena_test::ReadBank16;
using korvena_test::ReadTga;
using Game = korvena_test::GameRunner;

std::string Key(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 2) + " keyup " + pszKey + "\n";
}

// The share of the sprite's pixels the frame shows at x, y.
double Match(const Picture& shot, const Picture& sprite, int x, int y) {
  int same = 0;
  for (int j = 0; j < sprite.height; ++j)
    for (int i = 0; i < sprite.width; ++i) same += shot.At(x + i, y + j) == sprite.At(i, j);
  return sprite.width * sprite.height > 0 ? same / double(sprite.width * sprite.height) : 0.0;
}

// Pixels of the frame inside the box that differ from the backdrop.
int Differing(const Picture& shot, const Picture& backdrop, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += shot.At(x, y) != backdrop.At(x, y);
  return n;
}

// The 1978 qualifiers from the build's year file, Scotland the human team
// (in a group of three: four fixtures).
void TreeBuild(const fs::path& build) {
  tmmain_PoolsReset();
  tmglobal_Reset();
  std::ifstream in(build / "data" / "database" / "tm" / "english" / "year78.csv", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  history_YearTextParse(text.data(), static_cast<std::int32_t>(text.size()));
  ASSERT_NE(TheYearList, nullptr);
  history_YearFixturesBuild(TheYearList);
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
  history_UserFixturesMark(TheYearList);
  tmglobal.iYear = 78;
  tmglobal.iStartYear = 78;
  tmglobal.bStarted = 1;
  tmglobal.bPlayQualifiers = 1;
  tmmain_RollOfHonourInit(5);
}

TEST_F(Game, TheHubShowsTheFixturesAndTheRollOfHonour) {
  const fs::path build = fs::path(exe_).parent_path().parent_path();
  TreeBuild(build);
  ASSERT_EQ(pcsave_ImageBuild(), 1);
  const fs::path folder = home_ / "share/korvena-football/savegame";
  fs::create_directories(folder);
  {
    std::ofstream out(folder / "Scotland 1978  1.9.77.SAV", std::ios::binary);
    out.write(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
  }
  const fs::path shots = home_ / "shots";
  fs::create_directories(shots);
  auto shot = [&](const char* name) { return (shots / name).string(); };
  // The main menu's Load Game, Load, the save; the hub follows.
  std::string s = Key(100, "RIGHT") + Key(106, "RIGHT") + Key(112, "DOWN") + Key(118, "RETURN");
  s += Key(140, "RETURN") + Key(146, "RETURN");
  // Fixtures (the hub's fourth item); then into its list.
  s += Key(400, "DOWN") + Key(410, "DOWN") + Key(420, "DOWN") + Key(430, "RETURN");
  s += "470 capture " + shot("fixtures.tga") + "\n";
  s += Key(480, "LEFT") + Key(490, "RETURN") + "520 capture " + shot("list.tga") + "\n";
  // Escape to the hub; Roll of Honour (right of Fixtures, one up); 1974 left of 1978.
  s += Key(530, "ESCAPE") + Key(570, "RIGHT") + Key(580, "UP") + Key(590, "RETURN");
  s += "630 capture " + shot("roll.tga") + "\n" + Key(640, "LEFT") + "670 capture " + shot("roll74.tga") + "\n";
  s += "700 quit 3\n";
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  korvena_test::GameRun r = run(s);
  std::ifstream in(log);
  const std::string d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_NE(d.find("pcsave: loaded"), std::string::npos) << d;
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;

  const std::vector<Picture> fl = ReadBank16(build / "data" / "frontend" / "fhfl16.spr");
  const std::vector<Picture> roh = ReadBank16(build / "data" / "frontend" / "fhroh16.spr");
  if (fl.size() != MFHFIXTR_LAYOUT_RECORDS || roh.size() != MFHROLE_LAYOUT_RECORDS)
    GTEST_SKIP() << "the converted sheets in the run's tree are older than their layout";
  const Picture fixtures = ReadTga(shot("fixtures.tga")), list = ReadTga(shot("list.tga"));
  ASSERT_EQ(fixtures.width, 640);
  ASSERT_EQ(list.width, 640);
  // The backdrop, with texts over the rows (y 82 to 143 of 240) and the buttons.
  EXPECT_GT(Match(fixtures, fl[0], 0, 0), 0.8);
  EXPECT_GT(Differing(fixtures, fl[0], 120, 160, 600, 300), 500);
  EXPECT_GT(Differing(fixtures, fl[0], 255, 350, 576, 384), 100);
  // Outside the list no arrow; in it the arrow down (four fixtures) and the
  // frame under the first row.
  const FrontEndLayoutRecord& down = mfhfixtr_aoLayout[4];
  const FrontEndLayoutRecord& up = mfhfixtr_aoLayout[3];
  EXPECT_LT(Match(fixtures, fl[4], down.x, down.y), 0.9);
  EXPECT_EQ(Match(list, fl[4], down.x, down.y), 1.0);
  EXPECT_LT(Match(list, fl[3], up.x, up.y), 0.9);
  EXPECT_GT(Differing(list, fixtures, mfhfixtr_aoLayout[1].x, 160, mfhfixtr_aoLayout[1].x + 20, 186), 100);

  const Picture roll = ReadTga(shot("roll.tga")), roll74 = ReadTga(shot("roll74.tga"));
  ASSERT_EQ(roll.width, 640);
  ASSERT_EQ(roll74.width, 640);
  EXPECT_GT(Match(roll, roh[0], 0, 0), 0.8);
  // Both arrows while browsing 1978 and 1974.
  for (const Picture* p : {&roll, &roll74}) {
    EXPECT_EQ(Match(*p, roh[1], mfhrole_aoLayout[1].x, mfhrole_aoLayout[1].y), 1.0);
    EXPECT_EQ(Match(*p, roh[2], mfhrole_aoLayout[2].x, mfhrole_aoLayout[2].y), 1.0);
  }
  // 1978 is to be played ("Finals Incomplete" on the first row only); 1974
  // has its four places, labels beside them.
  // The names from x 241, the labels from x 444 (the panel centred).
  EXPECT_GT(Differing(roll, roh[0], 230, 196, 430, 214), 50);
  EXPECT_EQ(Differing(roll, roh[0], 230, 234, 530, 330), 0);
  EXPECT_GT(Differing(roll74, roh[0], 230, 234, 430, 330), 150);
  EXPECT_GT(Differing(roll74, roh[0], 442, 196, 530, 330), 100);
}

}  // namespace
