// The kit table: its generator's checks over broken sources, the game's
// reader over damaged files, the choice of the two sides' kits (the table of
// selection cases), and every pairing of the database's teams telling its
// two sides apart.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kitsource.h"
#include "scene3d/kits3d.h"
#include "scene3d/kits_table.h"
#include "scene3d/scene3d_state.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string RealTable() { return Slurp(KORVENA_KITS_FILE); }
std::string Source() { return Slurp(std::string(KORVENA_SOURCE_DIR) + "/assets/kits/kits.txt"); }
std::string Teams() { return Slurp(std::string(KORVENA_SOURCE_DIR) + "/assets/database/teams.txt"); }

bool Mentions(const std::vector<std::string>& errors, const std::string& what) {
  for (const std::string& e : errors)
    if (e.find(what) != std::string::npos) return true;
  return false;
}

// ---- The generator ---------------------------------------------------------------------------

TEST(KitSource, TheAuthoredKitsPassEveryCheck) {
  const kitsource::Source src = kitsource::Read(Source(), Teams());
  EXPECT_TRUE(src.asErrors.empty()) << (src.asErrors.empty() ? "" : src.asErrors[0]);
  const std::vector<std::string> lines = kitsource::Expand(src);
  EXPECT_TRUE(kitsource::Check(lines).empty());
  // What the build wrote is what the sources give.
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  EXPECT_EQ(text, RealTable());
}

TEST(KitSource, BrokenSourcesAreRefusedSayingWhy) {
  const std::string teams = "1\tAAA\t1\tx\tx\t58:1:1 98:2:2\n2\tBBB\t2\tx\tx\t98:1:1\n";
  const std::string colours = "colour white 238 238 238\ncolour black 28 28 28\ncolour red 200 30 35\n"
                              "colour green 25 135 60\ncolour grey 140 140 140\n";
  const std::string good = "AAA white black white | black white black | green black\n"
                           "BBB red white red | white red white | green black\n";
  EXPECT_TRUE(kitsource::Read(colours + good, teams).asErrors.empty());
  struct Case {
    std::string sSource, sWhat;
  } cases[] = {
      {good + "CCC red white red | white red white | green black\n", "CCC is not a team of the player database"},
      {"AAA white black white | black white black | green black\n", "team BBB of the player database has no kits"},
      {"AAA white black white | black white black | green black\nBBB red white red | green black\n", "a team line is"},
      {good + "colour pink 300 0 0\n", "unreadable colour line"},
      {"AAA white black white | black white black | green black\nBBB red white red | white red mauve | green black\n",
       "unknown colour \"mauve\""},
      {"AAA white black white | black white black | green black\nBBB red+white/zigzag white red | white red white | green black\n",
       "unknown pattern"},
      {"AAA white black white | grey white grey | green black\nBBB red white red | white red white | green black\n",
       "AAA's home and away shirts are too alike"},
      // Red and green differ in colour but hardly in black and white: a
      // team of 1958 needs them apart in brightness too.
      {"AAA red black red | green white green | grey black\nBBB red white red | white red white | green black\n",
       "too alike (68 in black and white)"},
      {"AAA white black white | black white black | white black\nBBB red white red | white red white | green black\n",
       "keeper shirt is too like the home shirt"},
      {good + "AAA white black white | black white black | green black\n", "AAA has a second line"},
  };
  for (const Case& c : cases) {
    const kitsource::Source src = kitsource::Read(colours + c.sSource, teams);
    EXPECT_TRUE(Mentions(src.asErrors, c.sWhat)) << c.sWhat << " / " << (src.asErrors.empty() ? "" : src.asErrors[0]);
  }
}

TEST(KitSource, TheTableChecksCatchWhatTheGameCouldMisread) {
  const std::vector<std::string> good = {
      "AAA1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C",
      "AAA1998A,T,1,5,1,SS,1C1C1C,1,1,11,21,21,EEEEEE,1,2,1C1C1C,1,GK19873C-1C1C1C"};
  EXPECT_TRUE(kitsource::Check(good).empty());
  auto with = [&](const std::string& extra) {
    std::vector<std::string> l = good;
    l.push_back(extra);
    return kitsource::Check(l);
  };
  // A name inside another line (lines are found by substring).
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,AAA1998H"), "occurs in line"));
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS," + std::string(250, '1')), "longer than 255"));
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21"), "fields, not 18"));
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C"),
                       "BBB1998H has no away kit"));
  EXPECT_TRUE(Mentions(with("BBB1998A,T,5,1,1,SS,EEXEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C"),
                       "unreadable colour"));
  std::vector<std::string> old = good;
  old.push_back("CCC1962H,T,5,1,1,LS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C");
  old.push_back("CCC1962A,T,1,5,1,LS,1C1C1C,1,1,11,21,21,EEEEEE,1,2,1C1C1C,1,GK19873C-1C1C1C");
  EXPECT_TRUE(Mentions(kitsource::Check(old), "CCC1962H: a black-and-white kit without a colour edition"));
}

// ---- The game's reader ------------------------------------------------------------------------

class KitTable : public ::testing::Test {
 protected:
  void SetUp() override {
    text = RealTable();
    ASSERT_GT(kits_TableParse(text.data(), text.size()), 2000);
    ASSERT_STREQ(kits_pszTableProblem(), "");
  }
  void TearDown() override {
    kits_TableParse(text.data(), text.size());
    scene3d_eColourMode = SCENE3D_COLOUR;
  }
  std::string text;
};

TEST_F(KitTable, DamagedFilesLeaveOutTheirBadLinesAndSaySo) {
  const int32_t whole = kits_TableLineCount();
  // Missing: nothing read, a message, and still five kits to wear.
  EXPECT_EQ(kits_TableLoad("..\\data\\database\\pc\\no-such-kits.bin"), 0);
  EXPECT_NE(std::string(kits_pszTableProblem()).find("cannot be opened"), std::string::npos);
  kits_Choose("BRA", 9, "ITA", 9);
  EXPECT_GT(kits_fColourDistance(kits_aoKits[0].oShirt, kits_aoKits[0].oShorts), 100.0f);
  // Cut inside a line: that line has too few fields and is left out.
  const size_t line3 = text.find('\n', text.find('\n') + 1) + 1;
  EXPECT_EQ(kits_TableParse(text.data(), line3 + 20), 2);
  EXPECT_NE(std::string(kits_pszTableProblem()).find("line 3 has too few fields"), std::string::npos);
  // A byte that is not text, a line too long for the game's buffer.
  std::string bad = text;
  bad[line3 + 4] = '\0';
  EXPECT_EQ(kits_TableParse(bad.data(), bad.size()), whole - 1);
  EXPECT_NE(std::string(kits_pszTableProblem()).find("line 3 holds bytes that are not text"), std::string::npos);
  bad = text;
  bad.insert(line3 + 10, 300, '7');
  EXPECT_EQ(kits_TableParse(bad.data(), bad.size()), whole - 1);
  EXPECT_NE(std::string(kits_pszTableProblem()).find("line 3 is longer than 255"), std::string::npos);
  // An empty file.
  EXPECT_EQ(kits_TableParse("", 0), 0);
  EXPECT_NE(std::string(kits_pszTableProblem()).find("no kits"), std::string::npos);
  // Seeded corruptions: every answer stays a kit, nothing reads astray.
  std::mt19937 rng(26);
  for (int i = 0; i < 300; ++i) {
    bad = text.substr(0, 4000);
    for (int k = 0; k < 8; ++k) bad[rng() % bad.size()] = static_cast<char>(rng() % 256);
    kits_TableParse(bad.data(), rng() % bad.size());
    kits_Choose("AUS", 2 + static_cast<int32_t>(rng() % 9), "COK", static_cast<int32_t>(rng() % 11));
  }
}

// The table's selection cases: home and away team and edition, the lines
// chosen and the colour mode.
TEST_F(KitTable, TheTwoSidesKitsAreChosenAsTheTableSays) {
  struct Case {
    const char *home;
    int32_t he;
    const char* away;
    int32_t ae;
    const char *wantHome, *wantAway;
    int32_t mode;
  } cases[] = {
      // A 1962 home kit against a 1994 away kit: the first colour edition.
      {"CHI", 1, "ITA", 9, "CHI1966H", "ITA1994H", 0},
      {"ENG", 1, "BRA", 10, "ENG1966H", "BRA1998H", 0},
      // 1958 against 1958: sepia, both in their own editions.
      {"SWE", 0, "HUN", 0, "SWE1958H", "HUN1958H", 2},
      {"CHI", 1, "ENG", 1, "CHI1962H", "ENG1962H", 1},
      // Yellow and yellow, and red and blue in black and white: the change kit.
      {"SWE", 0, "BRA", 0, "SWE1958H", "BRA1958A", 2},
      {"CHI", 1, "ITA", 1, "CHI1962H", "ITA1962A", 1},
      // A colour home kit against a black-and-white one.
      {"ITA", 9, "SWE", 0, "ITA1994H", "SWE1966H", 0},
      // Curacao's colour edition is the Antilles' kit.
      {"CUR", 0, "ITA", 9, "ANT1966H", "ITA1994H", 0},
      {"ITA", 9, "CUR", 0, "ITA1994H", "ANT1966H", 0},
      // Equal first numbers (two white shirts): the away side changes.
      {"ENG", 9, "GER", 9, "ENG1994H", "GER1994A", 0},
      // Too alike to look at (red and dark red): the away side changes.
      {"SUI", 9, "POR", 9, "SUI1994H", "POR1994A", 0},
      // A historic match against a team without that edition: the away side
      // wears the home team's away kit.
      {"BRA", 0, "AUS", 1, "BRA1958H", "BRA1958A", 2},
      {"SWE", 1, "AUS", 1, "SWE1962H", "SWE1962A", 1},
  };
  for (const Case& c : cases) {
    KitChoice k{};
    kits_ColourEquivalentsFind(&k, c.home, c.he, c.away, c.ae);
    const std::string what = std::string(c.home) + " v " + c.away;
    EXPECT_STREQ(k.aszName[0], c.wantHome) << what;
    EXPECT_STREQ(k.aszName[1], c.wantAway) << what;
    EXPECT_EQ(k.iColourMode, c.mode) << what;
  }
  // A black-and-white kit without a colour edition keeps its own.
  const std::string lone = "XXX1958H,T,5,1,1,LS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C\n"
                           "YYY1998H,T,1,5,1,SS,1C1C1C,1,1,11,21,21,EEEEEE,1,2,1C1C1C,1,GK19873C-1C1C1C\n";
  kits_TableParse(lone.data(), lone.size());
  KitChoice k{};
  kits_ColourEquivalentsFind(&k, "XXX", 0, "YYY", 10);
  EXPECT_STREQ(k.aszName[0], "XXX1958H");
  EXPECT_EQ(k.iColourMode, 2);
}

TEST_F(KitTable, KitColoursComeFromTheTable) {
  kits_Choose("ITA", 9, "BRA", 9);
  // Italy in blue and white, Brazil in yellow, blue and white; the keepers
  // as authored (black, grey).
  auto eq = [](Q3DColour c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; };
  EXPECT_TRUE(eq(kits_aoKits[0].oShirt, 25, 60, 175));
  EXPECT_TRUE(eq(kits_aoKits[0].oShorts, 238, 238, 238));
  EXPECT_TRUE(eq(kits_aoKits[2].oShirt, 245, 210, 25));
  EXPECT_TRUE(eq(kits_aoKits[2].oShorts, 25, 60, 175));
  EXPECT_TRUE(eq(kits_aoKits[1].oShirt, 28, 28, 28));
  EXPECT_TRUE(eq(kits_aoKits[3].oShirt, 140, 140, 140));
  EXPECT_EQ(kits_aoKits[0].bLongSleeves, 0);
  // Argentina's stripes, the numbers' tint by the shirt's brightness.
  kits_Choose("ARG", 10, "BRA", 10);
  EXPECT_EQ(kits_aoKits[0].uPattern, 2);
  EXPECT_TRUE(eq(kits_aoKits[0].oSecond, 238, 238, 238));
  EXPECT_EQ(kits_aiNumberColour[0], 0);  // dark numbers on light blue
  EXPECT_EQ(kits_aiNumberColour[1], 0);  // and on yellow
  kits_Choose("ITA", 10, "ENG", 10);
  EXPECT_EQ(kits_aiNumberColour[0], 4);  // light numbers on blue
}

// Every pairing of two teams of one edition (and every team against every
// team of 1958 and 1998 across the editions): the two sides'
// shirts stay apart in the match's colouring.
TEST_F(KitTable, EveryPairingOfTheDatabaseTellsItsSidesApart) {
  std::map<int32_t, std::vector<std::string>> byEdition;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);)
    if (l.size() > 8 && l[7] == 'H') byEdition[(std::atoi(l.substr(3, 4).c_str()) - 1958) / 4].push_back(l.substr(0, 3));
  auto shirt = [](const char* name) {
    KitLook k{};
    EXPECT_TRUE(kits_bKitLookRead(kits_poKitEntryFind(name), &k)) << name;
    return k.oShirt;
  };
  long pairs = 0;
  auto check = [&](const std::string& h, int32_t he, const std::string& a, int32_t ae) {
    KitChoice k{};
    kits_ColourEquivalentsFind(&k, h.c_str(), he, a.c_str(), ae);
    const float d = kitcolour::Apart(shirt(k.aszName[0]), shirt(k.aszName[1]), k.iColourMode);
    ++pairs;
    if (d < kitcolour::kClash) ADD_FAILURE() << h << he << " v " << a << ae << ": " << k.aszName[0] << " " << k.aszName[1];
  };
  for (const auto& [e, teams] : byEdition)
    for (const std::string& h : teams)
      for (const std::string& a : teams)
        if (h != a) check(h, e, a, e);
  for (int32_t he : {0, 10})
    for (const std::string& h : byEdition[he])
      for (const auto& [ae, teams] : byEdition)
        for (const std::string& a : teams)
          if (h != a && ae != he) check(h, he, a, ae);
  EXPECT_GT(pairs, 50000);
}

}  // namespace
