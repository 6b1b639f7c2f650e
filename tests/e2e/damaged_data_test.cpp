// The real game over a copy of its data with one file damaged at a time: what
// it says, how it ends, and what still works.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "support/captured_pictures.h"
#include "support/error_box_picture.h"
#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// A game tree of its own: the executable, and the build's data as links to
// the files (a damaged file replaces its link), without converted sheets.
class DamagedData : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    root_ = home_.path();
    fs::create_directories(root_ / "bin");
    fs::copy_file(fs::path(build) / "bin" / "korvena", root_ / "bin" / "korvena");
    // The renderers and the pointer beside it, for the runs that reach a match.
    for (const auto& e : fs::directory_iterator(fs::path(build) / "bin"))
      if (e.path().extension() == ".so" || e.path().extension() == ".bmp")
        fs::copy_file(e.path(), root_ / "bin" / e.path().filename());
    const fs::path data = fs::absolute(fs::path(build) / "data");
    fs::create_directories(root_ / "data");
    for (const auto& e : fs::recursive_directory_iterator(data)) {
      const fs::path to = root_ / "data" / fs::relative(e.path(), data);
      if (e.is_directory()) fs::create_directories(to);
      else fs::create_symlink(e.path(), to);
    }
    for (const auto& e : fs::directory_iterator(root_ / "data" / "frontend"))
      if (e.path().filename().string().find("16.spr") != std::string::npos) fs::remove(e.path());
    fs::create_directories(root_ / "run");
  }
  // Main menu, then Exit and "Yes".
  korvena_test::GameRun RunToTheMenuAndExit(const std::string& workingDir = "") {
    return Run("1 keydown ESCAPE\n58 keyup ESCAPE\n"
               "60 echo menu\n"
               "65 keydown RIGHT\n67 keyup RIGHT\n"
               "80 keydown DOWN\n82 keyup DOWN\n84 keydown DOWN\n86 keyup DOWN\n"
               "100 keydown RETURN\n102 keyup RETURN\n"
               "115 keydown LEFT\n117 keyup LEFT\n"
               "120 keydown RETURN\n122 keyup RETURN\n"
               "900 quit 3\n",
               workingDir);
  }
  // workingDir "" keeps the test's own.
  korvena_test::GameRun Run(const std::string& script, const std::string& workingDir = "") {
    std::ofstream(root_ / "script.txt") << script;
    const std::map<std::string, std::string> env = {{"KORVENA_BACKEND", "headless"},
                                                    {"KORVENA_SCRIPT", (root_ / "script.txt").string()},
                                                    {"XDG_CONFIG_HOME", (root_ / "config").string()},
                                                    {"XDG_DATA_HOME", (root_ / "share").string()},
                                                    {"XDG_RUNTIME_DIR", (root_ / "run").string()},
                                                    {"KORVENA_MACHINE_SETTINGS", (root_ / "machine.txt").string()},
                                                    {"KORVENA_DEBUG_LOG", (root_ / "debug.txt").string()},
                                                    {"HOME", root_.string()}};
    return korvena_test::finishGame(
        korvena_test::startGame((root_ / "bin" / "korvena").string(), env, root_.string(), workingDir));
  }
  void Damage(const fs::path& file, const std::string& bytes) {
    fs::remove(file);
    std::ofstream(file, std::ios::binary) << bytes;
  }
  korvena_test::TempDir home_;
  fs::path root_;
};

// A missing CD track and a damaged menu sound bank are each reported with
// what is wrong; the game still shows its menu and ends normally.
TEST_F(DamagedData, AMissingTrackOrADamagedBankIsReportedAndTheGameGoesOn) {
  fs::remove(root_ / "data" / "cdaudio" / "track02.wav");
  Damage(root_ / "data" / "sound" / "WN32" / "FRONTEND.KBB", "kbb");
  korvena_test::GameRun r = RunToTheMenuAndExit();
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // Exit and "Yes", not the script's quit 3
  EXPECT_NE(r.out.find("menu"), std::string::npos);
  EXPECT_NE(r.err.find("track02.wav cannot be read; it is left out"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("FRONTEND.KBB: shorter than the 16-byte header"), std::string::npos) << r.err;
  // Reported once, however often the menu asks for the disc.
  const size_t first = r.err.find("track02.wav");
  EXPECT_EQ(r.err.find("track02.wav", first + 1), std::string::npos) << r.err;
}

// The device cache as fuzzing left it: it matches the drivers, but the
// display's device (0) lists no mode while the other keeps its modes. It is
// taken as out of date: the start reaches the menu, and the file is the one
// a first start writes.
TEST_F(DamagedData, ADeviceCacheWithoutAModeForTheDisplaysDeviceIsBuiltAnew) {
  const std::string bin = (root_ / "bin").string();
  const fs::path cache = root_ / "bin" / "dxinfo.bin";
  korvena_test::GameRun r = RunToTheMenuAndExit(bin);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string written = korvena_test::readFile(cache);
  // The driver count, one 16-byte key, the device count, then device 0's
  // mode count and its modes of 24 bytes each.
  ASSERT_GE(written.size(), 28u);
  const auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(written[at + static_cast<size_t>(i)]);
    return v;
  };
  ASSERT_GE(u32(20), 2u);
  const size_t list1 = 28 + 24 * static_cast<size_t>(u32(24));
  ASSERT_GT(list1, 28u);
  ASSERT_LT(list1, written.size());
  Damage(cache, written.substr(0, 24) + std::string(4, '\0') + written.substr(list1));
  r = RunToTheMenuAndExit(bin);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0) << r.err;  // Exit and "Yes", not the script's quit 3
  EXPECT_NE(r.out.find("menu"), std::string::npos) << r.out;
  EXPECT_EQ(korvena_test::readFile(cache), written);
}

// Without the main menu's sheet (and no converted copy) the start ends with
// a message naming the file and a failing exit code, not a black menu.
TEST_F(DamagedData, AMenuSheetThatCannotBeLoadedEndsTheStart) {
  fs::remove(root_ / "data" / "frontend" / "maineng.spr");
  korvena_test::GameRun r = RunToTheMenuAndExit();
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("The menu sheet"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("maineng.spr"), std::string::npos) << r.err;
  // A damaged sheet is the same.
  Damage(root_ / "data" / "frontend" / "maineng.spr", std::string(300, 'x'));
  r = RunToTheMenuAndExit();
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("maineng.spr"), std::string::npos) << r.err;
}

// The number of times a text is in another.
std::size_t Count(const std::string& s, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t i = s.find(part); i != std::string::npos; i = s.find(part, i + 1)) n++;
  return n;
}

// A Quick Start from the main menu, the keyboard at home, left at the kick-off.
const std::string kQuickStart = "1 keydown ESCAPE\n58 keyup ESCAPE\n" + korvena_test::scriptKey(100, "RIGHT") +
                                korvena_test::scriptKey(110, "RETURN") + korvena_test::scriptKey(116, "LEFT") +
                                korvena_test::scriptKey(122, "RETURN") + "720 quit 3\n";

// A goal texture, a kit texture and the goal models that cannot be read are
// each named once on standard error; the match is still played.
TEST_F(DamagedData, AMatchNamesEachTextureAndModelItCannotReadOnce) {
  Damage(root_ / "data" / "textures" / "goals" / "goalpopo.tga", "junk");
  Damage(root_ / "data" / "textures" / "kits" / "boots.tga", "junk");
  for (const auto& e : fs::directory_iterator(root_ / "data" / "models" / "goals")) Damage(e.path(), "junk");
  korvena_test::GameRun r = Run(kQuickStart);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(Count(r.err, "goalpopo.tga cannot be read"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "boots.tga cannot be read"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "goals: the model Goals\\"), 2u) << r.err;
  EXPECT_EQ(Count(r.err, "bar.pcs cannot be read: "), 1u) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
}

// A kit table with faulty lines (twelve cut short, one holding a byte that
// is not text) is named on standard error with the file: its first faulty
// lines one by one, then how many lines were left out in all, each once.
// The match is still played in the kits that are left.
TEST_F(DamagedData, ADamagedKitTableIsNamedOnceWithTheCountOfLinesLeftOut) {
  const fs::path kits = root_ / "data" / "database" / "pc" / "kits.bin";
  const std::string text = korvena_test::readFile(kits.string());
  ASSERT_FALSE(text.empty());
  std::string bad;
  std::size_t at = 0;
  for (int n = 1; at < text.size(); n++) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (n >= 3 && n <= 14) line = line.substr(0, line.find(',', line.find(',') + 1));  // two fields
    if (n == 20) line[4] = '\x01';
    bad += line + "\n";
    at = end + 1;
  }
  Damage(kits, bad);
  korvena_test::GameRun r = Run(kQuickStart);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string file = "kit table ..\\data\\database\\pc\\kits.bin";
  for (int n = 3; n <= 7; n++)
    EXPECT_EQ(Count(r.err, file + ", line " + std::to_string(n) + " has too few fields; left out\n"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, file + ": 8 more faulty lines were left out (13 in all)\n"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "kit table"), 6u) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
}

// A start-up film that cannot be played is named once; the others play and
// the menu follows.
TEST_F(DamagedData, AFilmThatCannotBePlayedIsNamed) {
  Damage(root_ / "data" / "fmv" / "ostrellogo.rpl", "junk");
  korvena_test::GameRun r = RunToTheMenuAndExit();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Count(r.err, "pcfmv: the film " + (root_ / "data" / "fmv" / "ostrellogo.rpl").string() + " cannot be played\n"),
            1u)
      << r.err;
  EXPECT_EQ(Count(r.err, "cannot be played"), 1u) << r.err;
}

// A player database cut short is named once with the reason, however many
// squads the Quick Start tries, and the game stays in its menu.
TEST_F(DamagedData, ADamagedPlayerDatabaseIsNamedOnce) {
  const fs::path dump = root_ / "data" / "database" / "dump" / "dump.dat";
  Damage(dump, korvena_test::readFile(dump.string()).substr(0, 5000));
  korvena_test::GameRun r = Run(kQuickStart);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(Count(r.err, "squads: the player database ..\\data\\database\\dump\\dump.dat cannot be read: it is "
                         "shorter than its index says\n"),
            1u)
      << r.err;
}

// A player database that is a folder is named as one, not as a file cut
// short; the game stays in its menu.
TEST_F(DamagedData, APlayerDatabaseThatIsAFolderIsNamedAsOne) {
  const fs::path dump = root_ / "data" / "database" / "dump" / "dump.dat";
  fs::remove(dump);
  fs::create_directories(dump / "inside");
  korvena_test::GameRun r = Run(kQuickStart);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(Count(r.err, "squads: the player database ..\\data\\database\\dump\\dump.dat cannot be read: it is a "
                         "folder, not a file\n"),
            1u)
      << r.err;
  EXPECT_EQ(r.err.find("shorter than its index"), std::string::npos) << r.err;
}

// With the player database unreadable, a Quick Start goes back to the main
// menu, where the game's error box names the file until a key is pressed;
// the key only takes it away, and the menu shows as before it.
TEST_F(DamagedData, AnUnreadablePlayerDatabaseShowsTheErrorBoxNamingIt) {
  const fs::path dump = root_ / "data" / "database" / "dump" / "dump.dat";
  Damage(dump, korvena_test::readFile(dump.string()).substr(0, 5000));
  const std::string dir = root_.string();
  std::string s = "1 keydown ESCAPE\n58 keyup ESCAPE\n" + korvena_test::scriptKey(100, "RIGHT") + "108 capture " + dir +
                  "/menu.tga\n" + korvena_test::scriptKey(110, "RETURN") + korvena_test::scriptKey(116, "LEFT") +
                  korvena_test::scriptKey(122, "RETURN");
  for (int t : {140, 160, 400}) s += std::to_string(t) + " capture " + dir + "/after" + std::to_string(t) + ".tga\n";
  s += korvena_test::scriptKey(410, "RETURN") + "440 capture " + dir + "/after440.tga\n460 quit 3\n";
  korvena_test::GameRun r = Run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string log = korvena_test::readFile((root_ / "debug.txt").string());
  EXPECT_NE(log.find("error box: ..\\data\\database\\dump\\dump.dat cannot be read\n"), std::string::npos) << log;
  EXPECT_FALSE(korvena_test::ErrorBoxShown(dir + "/menu.tga"));
  EXPECT_TRUE(korvena_test::ErrorBoxShown(dir + "/after140.tga"));
  EXPECT_TRUE(korvena_test::ErrorBoxShown(dir + "/after160.tga"));
  EXPECT_TRUE(korvena_test::ErrorBoxShown(dir + "/after400.tga"));
  EXPECT_FALSE(korvena_test::ErrorBoxShown(dir + "/after440.tga"));
  EXPECT_EQ(korvena_test::readFile(dir + "/after440.tga"), korvena_test::readFile(dir + "/menu.tga"));
}

// A new 1958 history from the main menu (the qualifiers played), the map's
// first team chosen (its last Return at step 382); the main menu is
// captured before History is chosen and at the end, at step iEnd. The lines
// of sKeys come after the last Return (a key that takes an error box away,
// further captures).
std::string NewHistory(const std::string& dir, const std::string& sKeys = "", int iEnd = 560) {
  using korvena_test::scriptKey;
  std::string s = "1 keydown ESCAPE\n58 keyup ESCAPE\n" + scriptKey(160, "DOWN") + "164 capture " + dir +
                  "/menu.tga\n" + scriptKey(166, "RETURN") + scriptKey(200, "SPACE");
  int t = 260;
  for (int i = 0; i < 10; i++, t += 6) s += scriptKey(t, "LEFT");
  s += scriptKey(t, "DOWN") + scriptKey(t + 6, "LEFT") + scriptKey(t + 12, "RETURN");
  s += scriptKey(t + 42, "RETURN") + scriptKey(t + 62, "RETURN") + sKeys;
  s += std::to_string(iEnd) + " capture " + dir + "/end.tga\n" + std::to_string(iEnd + 10) + " quit 3\n";
  return s;
}

// A year file that is empty, random or has a flipped bit in a team's name is
// named on standard error with the reason; the new history does not begin
// and the game is back at its main menu, where it goes on.
TEST_F(DamagedData, AYearFileThatCannotBeReadIsNamedAndNoHistoryBegins) {
  const fs::path year = root_ / "data" / "database" / "tm" / "english" / "year58.csv";
  std::string text = korvena_test::readFile(year.string());
  ASSERT_FALSE(text.empty());
  // The first team of the first line ("England"): one bit of its first letter.
  const std::size_t iTeam = text.find("England");
  ASSERT_NE(iTeam, std::string::npos);
  std::string flipped = text;
  flipped[iTeam] = static_cast<char>(flipped[iTeam] ^ 0x08);
  std::string random(3000, 0);
  std::uint32_t x = 12345;
  for (char& c : random) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  // The flipped letter's line in the file and its field (the teams begin at
  // field 16 of a line).
  const std::size_t iLineStart = text.rfind('\n', iTeam) == std::string::npos ? 0 : text.rfind('\n', iTeam) + 1;
  const long cLine = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(iTeam), '\n');
  const long cField = 1 + std::count(text.begin() + static_cast<std::ptrdiff_t>(iLineStart),
                                     text.begin() + static_cast<std::ptrdiff_t>(iTeam), ',');
  ASSERT_GE(cField, 16);
  std::string flippedName = flipped.substr(iTeam, 7);
  const std::pair<std::string, std::string> cases[] = {
      {"", "it is empty"},
      {random, "does not begin with the key of its year"},
      {flipped, "its line " + std::to_string(cLine) + " has an unknown team \"" + flippedName + "\" in field " +
                    std::to_string(cField) + " (a team)"}};
  for (const auto& [bytes, reason] : cases) {
    Damage(year, bytes);
    // A key takes the error box away.
    korvena_test::GameRun r = Run(NewHistory(root_.string(), korvena_test::scriptKey(500, "RIGHT")));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.err.find("year58.csv cannot be read: "), std::string::npos) << reason << "\n" << r.err;
    EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
    const std::string menu = korvena_test::readFile((root_ / "menu.tga").string());
    ASSERT_FALSE(menu.empty());
    EXPECT_TRUE(korvena_test::readFile((root_ / "end.tga").string()) == menu) << reason << ": not back at the menu";
  }
  // The file as it was: the same steps reach the history's first news.
  Damage(year, text);
  korvena_test::GameRun r = Run(NewHistory(root_.string()));
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("cannot be read"), std::string::npos) << r.err;
  EXPECT_FALSE(korvena_test::readFile((root_ / "end.tga").string()) == korvena_test::readFile((root_ / "menu.tga").string()));
}

// A year file damaged in one of its lines (a date of letters, a line cut
// after four fields, a misspelt team) is named on standard error with the
// line and the field; the main menu shows the game's error box naming the
// file and the line, still there long after the attract mode would have
// started, until a key takes it away; the key does nothing else.
TEST_F(DamagedData, AYearFileDamagedInALineShowsTheErrorBoxNamingItUntilAKey) {
  const fs::path year = root_ / "data" / "database" / "tm" / "english" / "year58.csv";
  const std::string text = korvena_test::readFile(year.string());
  ASSERT_FALSE(text.empty());
  // The text with line n (from 1) replaced by what f makes of it.
  auto lineChanged = [&](int n, auto f) {
    std::size_t at = 0;
    for (int i = 1; i < n; i++) at = text.find('\n', at) + 1;
    const std::size_t end = text.find('\n', at);
    return text.substr(0, at) + f(text.substr(at, end - at)) + text.substr(end);
  };
  struct Case {
    std::string bytes, stderrReason;
    int line;
  };
  const Case cases[] = {
      {lineChanged(3,
                   [](std::string l) {
                     const std::size_t d = l.find("16/06/57");
                     return l.replace(d, 8, "ab/cd/ef");
                   }),
       "its line 3 has a day outside 1 to 31 in field 13 (the dates)", 3},
      {lineChanged(5,
                   [](std::string l) {
                     std::size_t c = 0;
                     for (int i = 0; i < 4; i++) c = l.find(',', c) + 1;
                     return l.substr(0, c - 1);
                   }),
       "its line 5 has an unknown play format \"\" in field 6 (the play format)", 5},
      {lineChanged(6,
                   [](std::string l) {
                     const std::size_t d = l.find("Poland");
                     return l.replace(d, 6, "Polland");
                   }),
       "its line 6 has an unknown team \"Polland\" in field 17 (a team)", 6},
  };
  const std::string dir = root_.string();
  std::string keys;
  for (int t : {420, 2100}) keys += std::to_string(t) + " capture " + dir + "/box" + std::to_string(t) + ".tga\n";
  keys += korvena_test::scriptKey(2110, "RETURN");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stderrReason);
    Damage(year, c.bytes);
    korvena_test::GameRun r = Run(NewHistory(dir, keys, 2140));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.err.find("year58.csv cannot be read: " + c.stderrReason), std::string::npos) << r.err;
    const std::string detail = "..\\data\\database\\tm\\english\\year58.csv, line " + std::to_string(c.line);
    std::string why;
    EXPECT_TRUE(korvena_test::ErrorBoxReads(dir + "/box420.tga", detail, &why)) << why;
    EXPECT_TRUE(korvena_test::ErrorBoxReads(dir + "/box2100.tga", detail, &why)) << why;
    // The key took the box away and left the menu as it was.
    const std::string menu = korvena_test::readFile(dir + "/menu.tga");
    ASSERT_FALSE(menu.empty());
    EXPECT_TRUE(korvena_test::readFile(dir + "/end.tga") == menu) << "not the menu after the key";
  }
}

// A year file refused whole: empty, or with a row that does not begin with
// the key of its year (its fourth line, a line of 1962 in the 1958 file).
// Standard error gives the reason; the main menu's error box names the file,
// and the row's line when one is at fault, and no line for an empty file.
TEST_F(DamagedData, AYearFileRefusedWholeShowsTheErrorBoxWithItsFaultyLineOrNone) {
  const fs::path year = root_ / "data" / "database" / "tm" / "english" / "year58.csv";
  const std::string text = korvena_test::readFile(year.string());
  ASSERT_EQ(text.compare(0, 3, "58,"), 0);
  std::size_t at = 0;
  for (int i = 1; i < 4; i++) at = text.find('\n', at) + 1;
  ASSERT_EQ(text.compare(at, 3, "58,"), 0);
  const std::string fourth = text.substr(0, at) + "62" + text.substr(at + 2);
  const std::string path = "..\\data\\database\\tm\\english\\year58.csv";
  struct Case {
    std::string bytes, reason, detail;
  };
  const Case cases[] = {{"", "cannot be read: it is empty\n", path},
                        {fourth, "cannot be read: line 4 does not begin with the key of its year\n", path + ", line 4"}};
  const std::string dir = root_.string();
  const std::string keys = "420 capture " + dir + "/box.tga\n" + korvena_test::scriptKey(430, "RETURN");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detail);
    Damage(year, c.bytes);
    korvena_test::GameRun r = Run(NewHistory(dir, keys, 460));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.err.find("year58.csv " + c.reason), std::string::npos) << r.err;
    std::string why;
    EXPECT_TRUE(korvena_test::ErrorBoxReads(dir + "/box.tga", c.detail, &why)) << why;
    EXPECT_TRUE(korvena_test::readFile(dir + "/end.tga") == korvena_test::readFile(dir + "/menu.tga"))
        << "not the menu after the key";
  }
}

}  // namespace
