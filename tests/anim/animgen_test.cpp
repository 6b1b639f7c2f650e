// The animation generator refuses damaged sources with the file and line
// (or the clip and frame) of the fault, and its checks catch clips that
// would look wrong in a match.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "anim/animgen.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string Source(const std::string& rel) {
  const char* dir = std::getenv("KORVENA_SOURCE_DIR");
  return std::string(dir ? dir : ".") + "/" + rel;
}

using korvena_test::readFile;

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A copy of assets/anim in a folder of the test's own.
struct AssetsCopy {
  fs::path dir;
  AssetsCopy() {
    dir = fs::temp_directory_path() / ("animgen_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(Source("assets/anim"), dir, fs::copy_options::recursive);
  }
  ~AssetsCopy() { fs::remove_all(dir); }
  std::string Path(const std::string& rel) const { return (dir / rel).string(); }
  static inline int counter = 0;
};

// The message of the error a call throws, or "" when it throws none.
template <class F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const animgen::Error& e) {
    return e.what();
  }
  return "";
}

std::string LineOf(const std::string& text, const std::string& needle) {
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (line.find(needle) != std::string::npos) return std::to_string(n);
  }
  return "?";
}

TEST(Animgen, DamagedSourcesFailWithFileAndLine) {
  struct Case {
    const char* name;
    const char* file;     // relative to assets/anim
    const char* find;     // text of the line to damage
    const char* replace;  // what it becomes
    const char* expect;   // part of the message after "file:line: "
  };
  const Case cases[] = {
      {"truncated row", "table.txt", "131  kick   0-20   6", "131  kick   0-20", "expected 12 columns"},
      {"bad number in a row", "table.txt", "77   kick   0-73   34", "77   kick   0-73   3x4", "bad number \"3x4\""},
      {"bad number in a key", "clips/tired.txt", "key 7 @tired root.y=0.85", "key 7 @tired root.y=0.8.5", "bad number \"0.8.5\""},
      {"not a number", "clips/lying.txt", "key 20 @lying", "key 20 @lying l.knee=nan", "not finite"},
      {"truncated key", "clips/stand.txt", "ball 0 at 0.45 0.1143 0.08", "ball 0 at 0.45", "expected: ball FRAME at X Y Z"},
      {"unknown pose", "clips/tired.txt", "key 14 @tired", "key 14 @tried", "unknown pose \"tried\""},
      {"skeleton out of order", "skeleton.txt", "2    chest       1", "7    chest       1", "segments must be listed"},
      {"seam of an id without a row", "seams.txt", "seam 35@48   36@0", "seam 35@48   34@0", "seam names an id without a row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AssetsCopy a;
    const std::string path = a.Path(c.file);
    std::string text = readFile(path);
    const auto at = text.find(c.find);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(c.find).size(), c.replace);
    WriteFile(path, text);
    animgen::Loaded data;
    const std::string msg = ErrorOf([&] { animgen::LoadAndBuild(a.dir.string(), data); });
    const std::string where = path + ":" + LineOf(text, c.replace) + ": ";
    EXPECT_NE(msg.find(where), std::string::npos) << msg << " (expected at " << where << ")";
    EXPECT_NE(msg.find(c.expect), std::string::npos) << "[" << msg << "]";
  }
}

TEST(Animgen, MissingRowsAndClipsAreRefused) {
  {
    // A row taken out: the table no longer has every filled id.
    AssetsCopy a;
    std::string text = readFile(a.Path("table.txt"));
    const auto at = text.find("\n44   goalie");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find('\n', at + 1) - at);
    WriteFile(a.Path("table.txt"), text);
    animgen::Loaded data;
    const std::string msg = ErrorOf([&] { animgen::LoadAndBuild(a.dir.string(), data); });
    EXPECT_NE(msg.find("expected 162 rows, got 161"), std::string::npos) << msg;
  }
  {
    // A clip source missing: named with the row that needs it.
    AssetsCopy a;
    fs::remove(a.Path("clips/kick_tap.txt"));
    animgen::Loaded data;
    const std::string msg = ErrorOf([&] { animgen::LoadAndBuild(a.dir.string(), data); });
    const std::string table = readFile(a.Path("table.txt"));
    EXPECT_NE(msg.find("table.txt:" + LineOf(table, "kick_tap") + ": no clip source"), std::string::npos) << msg;
  }
  {
    // Rows out of order.
    AssetsCopy a;
    std::string text = readFile(a.Path("table.txt"));
    const auto at = text.find("\n3    gen");
    text.replace(at + 1, 1, "9");
    WriteFile(a.Path("table.txt"), text);
    EXPECT_NE(ErrorOf([&] { animgen::ReadTable(a.Path("table.txt")); }).find("ids must ascend"), std::string::npos);
  }
}

TEST(Animgen, ChecksNameTheClipAndFrame) {
  struct Case {
    const char* name;
    const char* clip;     // clip file to change
    const char* find;     // text replaced (or "")
    const char* replace;
    const char* append;   // lines added
    const char* expect;   // message parts
    const char* expect2;
  };
  const Case cases[] = {
      // A foot pushed into the ground at frame 10 of the fall.
      {"foot in the ground", "fall_back", "", "", "key 10 l.foot.y=-0.05\n", "clip fall_back frame 10: ", "ground"},
      // A planted foot dragged along while the player stands.
      {"sliding foot", "idle_offence", "", "", "key 4 l.foot.x=0.1 l.foot.y=0.08\nkey 5 l.foot.x=0.18 l.foot.y=0.08\n",
       "clip idle_offence frame 5: l_foot slides", ""},
      // The kick's ball left where it was: the foot misses it.
      {"kick misses the ball", "kick_pass", "", "", "ball 6 at 1.5 0.1143 0\n", "clip kick_pass (id 130) frame 6: ball",
       "from toe_r at contact"},
      // A header met below the heights it is chosen for.
      {"header too low", "header_jump", "set height 2.32", "set height 2.05", "", "clip header_jump (id 90) frame 6: ",
       "outside the bands"},
      // A knee bent past what a knee can do.
      {"joint limit", "fall_back", "", "", "key 30 l.hip.fwd=10 l.knee=175\n", "clip fall_back frame ", "l_shin turned"},
      // A keeper's save leaping for the ball far above the heights it is chosen for.
      {"save too high", "save_high", "set bally 1.30\nset ballz 0.05\nset rooty 0.93",
       "set bally 2.40\nset ballz 0.05\nset jump 0.30\nset rooty 1.25", "", "clip save_high (id 48) frame 7: ",
       "outside the heights this save is chosen for"},
      // A save to his right reaching to his left.
      {"save on the wrong side", "save_side", "set ballz 0.65\nset rootz 0.30\nset stepz 0.30",
       "set ballz -0.65\nset rootz -0.30\nset stepz -0.30", "",
       "clip save_side (id 53) frame 7: ", "wrong side for the save's column"},
      // A looping row whose clip does not come back to its start.
      {"open loop", "tired", "set loop 1", "", "key 14 root.y=0.6\n", "clip tired (id 37) frame 14: loop does not close", ""},
      // The lying loop no longer starts as the roll ends.
      {"broken seam", "lying", "key 0 @lying", "key 0 @lying root.pitch=-60", "",
       "clip fall_roll (id 36) into lying (id 100) frame 8: seam breaks", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AssetsCopy a;
    const std::string path = a.Path(std::string("clips/") + c.clip + ".txt");
    std::string text = readFile(path);
    if (*c.find) {
      const auto at = text.find(c.find);
      ASSERT_NE(at, std::string::npos);
      text.replace(at, std::string(c.find).size(), c.replace);
    }
    WriteFile(path, text + c.append);
    animgen::Loaded data;
    const std::string msg = ErrorOf([&] { animgen::LoadAndBuild(a.dir.string(), data); });
    EXPECT_NE(msg.find(c.expect), std::string::npos) << "[" << msg << "]";
    EXPECT_NE(msg.find(c.expect2), std::string::npos) << msg;
  }
}

TEST(Animgen, TheAssetsBuildAndPassEveryCheck) {
  animgen::Loaded data;
  EXPECT_EQ(ErrorOf([&] { animgen::LoadAndBuild(Source("assets/anim"), data); }), "");
  // Writing twice gives the same text (the build rewrites nothing unchanged).
  const auto a = animgen::SourceFiles(data.table, data.skel, data.built, 3);
  const auto b = animgen::SourceFiles(data.table, data.skel, data.built, 3);
  EXPECT_EQ(a, b);
  ASSERT_EQ(a.size(), 4u);
  // The pose data: about 3,900 frames of 476 bytes.
  size_t frames = 0;
  for (const auto& [name, clip] : data.built.clips) frames += static_cast<size_t>(clip.frames);
  EXPECT_GT(frames, 3500u);
  EXPECT_LT(frames, 4500u);
  EXPECT_EQ(data.built.clips.size(), 123u);
}

TEST(Animgen, KickBandsFollowTheChoiceTables) {
  // Heights at which the kick choice picks a clip (bands of 48 units).
  EXPECT_EQ(animgen::KickBands(131), (std::vector<int>{0}));
  EXPECT_EQ(animgen::KickBands(6), (std::vector<int>{0}));
  EXPECT_EQ(animgen::KickBands(90), (std::vector<int>{5, 7}));
  EXPECT_EQ(animgen::KickBands(99), (std::vector<int>{3, 4}));
  EXPECT_EQ(animgen::KickBands(92), (std::vector<int>{5, 6}));
  EXPECT_EQ(animgen::KickBands(183), (std::vector<int>{0}));
  EXPECT_TRUE(animgen::KickBands(21).empty());
}

TEST(Animgen, SaveHeightsFollowTheSaveChoiceTables) {
  // Save rows by the height classes that pick them (24 units a class).
  const animgen::SaveUse low = animgen::SaveUseOf(45);  // gathering a ball on the ground
  EXPECT_EQ(low.lo, 0);
  EXPECT_EQ(low.hi, 1);
  EXPECT_EQ(low.columns, 3);
  const animgen::SaveUse leap = animgen::SaveUseOf(42);  // tipping over the bar
  EXPECT_EQ(leap.lo, 14);
  EXPECT_EQ(leap.hi, 17);
  EXPECT_EQ(animgen::SaveUseOf(38).columns, 1);
  EXPECT_EQ(animgen::SaveUseOf(39).columns, 2);
  // The high dive is also the late save of a ball on the ground, far across.
  EXPECT_EQ(animgen::SaveUseOf(38).lo, 0);
  EXPECT_EQ(animgen::SaveUseOf(38).hi, 17);
  EXPECT_EQ(animgen::SaveUseOf(51).hi, 9);
  EXPECT_EQ(animgen::SaveUseOf(46).lo, -1);  // never chosen
}

}  // namespace
