// The whole game, headless, in a game tree of its own with parts missing or
// damaged: each start-up failure says what is missing and where it was
// looked for and ends with a code other than 0; damaged caches and sheets
// are made again; leftovers of killed games are cleared.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8) |
         (static_cast<uint8_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}

// The id of a process that has ended.
long DeadProcessId() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return static_cast<long>(child);
}

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    build_ = build;
    root_ = home_.path();
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "run");
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "out");
    fs::copy_file(build_ / "bin" / "korvena", root_ / "bin" / "korvena");
  }
  // Copies parts of the build's data tree ("textures", "frontend", ...).
  void CopyData(const std::vector<std::string>& parts) {
    for (const std::string& p : parts) {
      fs::create_directories(root_ / "data" / p);
      fs::copy(build_ / "data" / p, root_ / "data" / p, fs::copy_options::recursive);
      // Times kept, as a copied game folder keeps them: the menus convert a
      // sheet again when its source is newer than the conversion.
      for (const auto& e : fs::recursive_directory_iterator(build_ / "data" / p))
        fs::last_write_time(root_ / "data" / p / fs::relative(e.path(), build_ / "data" / p), e.last_write_time());
    }
  }
  korvena_test::GameRun Run(const std::string& script) {
    std::ofstream(root_ / "script.txt") << script;
    const std::map<std::string, std::string> env = {{"KORVENA_BACKEND", "headless"},
                                                    {"KORVENA_SCRIPT", (root_ / "script.txt").string()},
                                                    {"XDG_CONFIG_HOME", (root_ / "config").string()},
                                                    {"XDG_DATA_HOME", (root_ / "share").string()},
                                                    {"XDG_RUNTIME_DIR", (root_ / "run").string()},
                                                    {"KORVENA_MACHINE_SETTINGS", (root_ / "settings" / "machine.txt").string()},
                                                    {"HOME", root_.string()}};
    korvena_test::GameProcess p = korvena_test::startGame((root_ / "bin" / "korvena").string(), env,
                                                          (root_ / "out").string(), (root_ / "cwd").string());
    return korvena_test::finishGame(p, 120);
  }

  korvena_test::TempDir home_;
  fs::path build_;
  fs::path root_;
};

TEST_F(Startup, EachMissingOrDamagedPieceIsNamedWithWhereItWasLookedFor) {
  struct Case {
    const char* name;
    std::vector<std::string> copy;
    std::vector<std::string> remove;  // below data/
    std::string damage;               // a file below data/ overwritten with junk
    std::vector<std::string> expect;  // in stderr
  };
  const std::string game = root_.string();
  const std::vector<Case> cases = {
      {"no data folder", {}, {}, "", {"data folder is missing", "Looked for: " + game + "/data"}},
      {"no fonts folder",
       {"textures", "settings"},
       {"textures/Fonts"},
       "",
       {"fonts folder", "is missing", "Looked for: " + game + "/data/textures/fonts"}},
      {"no debug font",
       {"textures", "settings"},
       {"textures/Fonts/debug.bmp"},
       "",
       {"font file", "debug.bmp is missing", "Looked for: " + game + "/data/textures/Fonts/debug.bmp"}},
      {"damaged debug font",
       {"textures", "settings"},
       {},
       "textures/Fonts/debug.bmp",
       {"font file", "debug.bmp could not be loaded", game + "/data/textures/Fonts/debug.bmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::error_code ec;
    fs::remove_all(root_ / "data", ec);
    fs::create_directories(root_ / "data", ec);
    if (c.copy.empty()) fs::remove_all(root_ / "data", ec);
    CopyData(c.copy);
    for (const std::string& r : c.remove) fs::remove_all(root_ / "data" / r, ec);
    if (!c.damage.empty()) {
      std::string junk = "BM";
      junk.append(200, '\x7F');
      std::ofstream(root_ / "data" / c.damage, std::ios::binary | std::ios::trunc) << junk;
    }
    korvena_test::GameRun r = Run("1 echo started\n200 quit 0\n");
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    for (const std::string& e : c.expect) EXPECT_NE(r.err.find(e), std::string::npos) << e << "\n" << r.err;
    // It never got as far as the frame loop.
    EXPECT_EQ(r.out.find("started"), std::string::npos) << r.out;
  }
}

TEST_F(Startup, ADamagedDeviceCacheIsReplacedAndTheGameStarts) {
  CopyData({"textures", "settings", "frontend"});
  // One driver, one device, no modes: nothing the display could open.
  std::string bad(4 + 16 + 4 + 4, '\0');
  bad[0] = 1;
  bad[20] = 1;
  std::ofstream(root_ / "cwd" / "dxinfo.bin", std::ios::binary) << bad;
  korvena_test::GameRun r = Run("1 echo started\n20 quit 0\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("started"), std::string::npos) << r.out;
  const std::string file = korvena_test::readFile((root_ / "cwd" / "dxinfo.bin").string());
  // Driver count, one 16-byte identifier, device count, then per device its
  // mode count and 24 bytes a mode.
  ASSERT_GE(file.size(), 28u + 24u);
  const uint32_t devices = U32(file, 20);
  EXPECT_GE(devices, 1u);
  std::size_t at = 24;
  bool found = false;
  for (uint32_t d = 0; d < devices; ++d) {
    ASSERT_LE(at + 4, file.size());
    const uint32_t modes = U32(file, at);
    EXPECT_GE(modes, 1u);
    at += 4;
    ASSERT_LE(at + 24u * modes, file.size());
    // 640 x 480 x 16 is always among them.
    for (uint32_t m = 0; m < modes; ++m, at += 24)
      found |= U32(file, at) == 640 && U32(file, at + 4) == 480 && U32(file, at + 8) == 16;
  }
  EXPECT_EQ(file.size(), at);
  EXPECT_TRUE(found);
}

TEST_F(Startup, ADamagedConvertedSheetIsConvertedAgainAndLeftoversAreCleared) {
  CopyData({"textures", "settings", "frontend"});
  const fs::path sheet = root_ / "data" / "frontend" / "maineng16.spr";
  const uintmax_t size = fs::file_size(sheet);
  // Cut in half: the marker sheet is good, so no full conversion runs.
  fs::resize_file(sheet, size / 2);
  const long dead = DeadProcessId();
  const fs::path staleSheet = root_ / "data" / "frontend" / ("maineng16.spr.tmp." + std::to_string(dead));
  const fs::path liveSheet = root_ / "data" / "frontend" / ("team16.spr.tmp." + std::to_string(getpid()));
  const fs::path staleSettings = root_ / "settings" / ("machine.txt.tmp." + std::to_string(dead));
  fs::create_directories(root_ / "settings");
  for (const fs::path& p : {staleSheet, liveSheet, staleSettings}) std::ofstream(p) << "left by a killed game";
  korvena_test::GameRun r = Run("1 echo started\n30 quit 0\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("maineng16.spr is missing or damaged; it is converted again"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("could not be loaded"), std::string::npos) << r.err;
  // Whole again: the same size as a first conversion writes.
  EXPECT_EQ(fs::file_size(sheet), size);
  EXPECT_FALSE(fs::exists(staleSheet));
  EXPECT_FALSE(fs::exists(staleSettings));
  EXPECT_TRUE(fs::exists(liveSheet));  // this test still runs
  EXPECT_TRUE(fs::exists(root_ / "settings" / "machine.txt"));
}

}  // namespace
