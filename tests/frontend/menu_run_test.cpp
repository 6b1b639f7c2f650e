// The whole game, headless, from a clean copy of the data tree: start-up,
// the first-run conversion of the front-end sheets, the main menu, moving
// the cursor, Exit and "Yes". Captured frames of the menu must show the
// converted sheet's sprites exactly at the buttons' rectangles.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/captured_pictures.h"
#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::Picture;
using korvena_test::ReadBank16;
using korvena_test::ReadTga;


struct Rect {
  int x, y, w, h;
};
// The English main menu: sprite i at region i.
const Rect kRegions[8] = {{0, 0, 640, 480},     {547, 417, 34, 34},   {60, 83, 162, 131},  {238, 83, 162, 131},
                          {238, 266, 162, 131}, {60, 266, 162, 131},  {416, 83, 162, 131}, {416, 266, 162, 131}};

// Pixels of the captured frame inside region r that differ from sprite s.
int Differences(const Picture& shot, const Picture& sprite, const Rect& r) {
  if (sprite.width != r.w || sprite.height != r.h) return -1;
  int n = 0;
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) n += shot.At(r.x + x, r.y + y) != sprite.At(x, y);
  return n;
}

// Differences of the backdrop under a region.
int BackdropDifferences(const Picture& shot, const Picture& backdrop, const Rect& r) {
  int n = 0;
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) n += shot.At(r.x + x, r.y + y) != backdrop.At(r.x + x, r.y + y);
  return n;
}

TEST(MenuRun, ConvertsNavigatesAndExits) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  korvena_test::TempDir home;
  // A clean game tree: the executable and a copy of the data without any
  // converted sheet.
  const fs::path root = home.path();
  fs::create_directories(root / "bin");
  fs::copy_file(fs::path(build) / "bin" / "korvena", root / "bin" / "korvena");
  fs::copy(fs::path(build) / "data", root / "data", fs::copy_options::recursive);
  for (const auto& e : fs::directory_iterator(root / "data" / "frontend"))
    if (e.path().filename().string().find("16.spr") != std::string::npos) fs::remove(e.path());
  fs::create_directories(root / "run");
  const fs::path shots = root / "shots";
  fs::create_directories(shots);
  auto shot = [&](const char* name) { return (shots / name).string(); };
  // The conversion takes a frame a sheet; the start-up films (Escape held
  // until the menu) and the menu follow.
  const std::string script =
      "1 keydown ESCAPE\n58 keyup ESCAPE\n"
      "5 capture " + shot("convert.tga") + "\n"
      "60 capture " + shot("friendly.tga") + "\n"
      "65 keydown RIGHT\n67 keyup RIGHT\n"
      "75 capture " + shot("qstart.tga") + "\n"
      "80 keydown DOWN\n82 keyup DOWN\n84 keydown DOWN\n86 keyup DOWN\n"
      "95 capture " + shot("exit.tga") + "\n"
      "100 keydown RETURN\n102 keyup RETURN\n"
      "110 capture " + shot("confirm.tga") + "\n"
      "115 keydown LEFT\n117 keyup LEFT\n"
      "120 keydown RETURN\n122 keyup RETURN\n"
      "600 quit 3\n";
  std::ofstream(root / "script.txt") << script;
  const std::map<std::string, std::string> env = {{"KORVENA_BACKEND", "headless"},
                                                  {"KORVENA_SCRIPT", (root / "script.txt").string()},
                                                  {"XDG_CONFIG_HOME", (root / "config").string()},
                                                  {"XDG_DATA_HOME", (root / "share").string()},
                                                  {"XDG_RUNTIME_DIR", (root / "run").string()},
                                                  {"KORVENA_MACHINE_SETTINGS", (root / "machine.txt").string()},
                                                  {"HOME", root.string()}};
  korvena_test::GameRun r = korvena_test::runGame((root / "bin" / "korvena").string(), env, root.string());
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // Exit and "Yes", not the script's quit 3
  EXPECT_EQ(r.err.find("could not be"), std::string::npos) << r.err;

  // Every sheet was converted.
  for (const char* name : {"condi", "maineng", "mainfra", "mainger", "mainspa", "mainita", "mainpor", "sides", "tactics",
                           "team", "fhfl", "fhgt", "fhnews", "fhops", "fhroh", "fhset", "options", "loadsave", "cont",
                           "fhmain"})
    EXPECT_TRUE(fs::exists(root / "data" / "frontend" / (std::string(name) + "16.spr"))) << name;
  const std::vector<Picture> sprites = ReadBank16(root / "data" / "frontend" / "maineng16.spr");
  ASSERT_EQ(sprites.size(), 8u);

  const Picture convert = ReadTga(shot("convert.tga"));
  ASSERT_EQ(convert.width, 640);
  EXPECT_NE(BackdropDifferences(convert, sprites[0], kRegions[0]), 0);  // not the menu yet

  // The highlighted button is the sprite of the current choice; the other
  // buttons show the backdrop.
  struct Expect {
    const char* file;
    int highlighted;
  } expects[] = {{"friendly.tga", 2}, {"qstart.tga", 3}, {"exit.tga", 1}};
  for (const Expect& e : expects) {
    const Picture pic = ReadTga(shot(e.file));
    ASSERT_EQ(pic.width, 640) << e.file;
    ASSERT_EQ(pic.height, 480) << e.file;
    for (int i = 1; i < 8; ++i) {
      if (i == e.highlighted) {
        EXPECT_EQ(Differences(pic, sprites[static_cast<size_t>(i)], kRegions[i]), 0) << e.file << " region " << i;
      } else {
        EXPECT_EQ(BackdropDifferences(pic, sprites[0], kRegions[i]), 0) << e.file << " region " << i;
        EXPECT_NE(Differences(pic, sprites[static_cast<size_t>(i)], kRegions[i]), 0) << e.file << " region " << i;
      }
    }
  }
  // The confirmation panel covers part of the menu.
  const Picture confirm = ReadTga(shot("confirm.tga"));
  ASSERT_EQ(confirm.width, 640);
  EXPECT_NE(BackdropDifferences(confirm, sprites[0], Rect{200, 160, 240, 70}), 0);
}

}  // namespace
