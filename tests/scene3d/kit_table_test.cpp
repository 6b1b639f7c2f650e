// The kit table: its generator's checks over broken sources, the game's
// reader over damaged files, the choice of the two sides' kits (the table of
// selection cases), and every pairing of the database's teams telling its
// two sides apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kitsource.h"
#include "scene3d/kits3d.h"
#include "scene3d/kits_line.h"
#include "scene3d/kits_table.h"
#include "scene3d/scene3d_state.h"
#include "support/temp_dir.h"

namespace {

using korvena_test::readFile;

std::string RealTable() { return readFile(KORVENA_KITS_FILE); }
std::string Source() { return readFile(std::string(KORVENA_SOURCE_DIR) + "/assets/kits/kits.txt"); }
std::string Teams() { return readFile(std::string(KORVENA_SOURCE_DIR) + "/assets/database/teams.txt"); }

bool Mentions(const std::vector<std::string>& errors, const std::string& what) {
  for (const std::string& e : errors)
    if (e.find(what) != std::string::npos) return true;
  return false;
}

// The text with its first "from" made "to".
std::string With(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
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
      // Kits of their own: a design no template draws, for an edition the
      // team has, apart from its other kit and its keeper.
      {good + "unique BBB 1998 H red+white/zigzag white red\n", "unknown unique design \"zigzag\""},
      {good + "unique BBB 1998 H red+white/stripes white red\n", "unknown unique design \"stripes\""},
      {good + "unique BBB 1998 H red white red\n", "a unique kit's shirt is colour+colour/design"},
      {good + "unique BBB 1962 H red+white/sash white red\n", "unique kit BBB1962H: the team has no such edition"},
      {good + "unique CCC 1998 H red+white/sash white red\n", "unique kit CCC1998H: no team CCC"},
      {good + "unique BBB 1999 H red+white/sash white red\n", "a unique line is"},
      {good + "unique BBB 1998 H white+red/sash white red\n", "unique kit of BBB clashes with its other kit"},
      {good + "unique AAA 1958 A grey+black/chevron white grey\n", "unique kit of AAA clashes with its other kit (" },
      {good + "unique BBB 1998 A green+white/quarters white red\n", "unique kit of BBB clashes with its keeper's shirt"},
      {good + "unique BBB 1998 H red+white/sash white red\nunique BBB 1998 H red+black/sash white red\n",
       "unique kit BBB1998H has a second line"},
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
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21"), "has too few fields"));
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C,1"),
                       "has 19 fields, not 18"));
  EXPECT_TRUE(Mentions(with("BBB1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C"),
                       "BBB1998H has no away kit"));
  EXPECT_TRUE(Mentions(with("BBB1998A,T,5,1,1,SS,EEXEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C"),
                       "a colour that cannot be read"));
  // Unique kits: the prefix names the colours, the design and the year's
  // colouring; the game reads the shirt from it to keep the sides apart.
  const std::string sash = "BBB1998H,U,3,1,1,SS,C81E23-EEEEEE-EEEEEE-C81E23-sash\\,GK19873C-1C1C1C";
  const std::string away = "BBB1998A,T,5,1,1,SS,EEEEEE,1,1,11,21,21,C81E23,1,2,EEEEEE,1,GK19873C-1C1C1C";
  auto withPair = [&](const std::string& h, const std::string& a) {
    std::vector<std::string> l = good;
    l.push_back(h);
    l.push_back(a);
    return kitsource::Check(l);
  };
  EXPECT_TRUE(withPair(sash, away).empty()) << withPair(sash, away)[0];
  auto broken = [&](const std::string& from, const std::string& to) {
    std::string h = sash;
    h.replace(h.find(from), from.size(), to);
    return withPair(h, away);
  };
  EXPECT_TRUE(Mentions(broken("sash", "zigzag"), "a unique kit prefix that cannot be read"));
  EXPECT_TRUE(Mentions(broken("sash\\", "sash"), "a unique kit prefix that cannot be read"));
  EXPECT_TRUE(Mentions(broken("-EEEEEE-EEEEEE", "-EEEEEE"), "a unique kit prefix that cannot be read"));
  EXPECT_TRUE(Mentions(broken("sash\\", "sash-bw\\"), "another colouring than its year's"));
  EXPECT_TRUE(Mentions(broken(",GK19873C-1C1C1C", ""), "has too few fields"));
  EXPECT_TRUE(Mentions(broken("GK19873C", "GK19X73C"), "a colour that cannot be read"));
  EXPECT_TRUE(Mentions(broken("GK19873C-1C1C1C", "GK19873C-1C1C1C,1"), "has 9 fields, not 8"));
  // A line of another kind reads as a template kit's: too short for one.
  EXPECT_TRUE(Mentions(broken(",U,", ",V,"), "has too few fields"));
  EXPECT_TRUE(Mentions(withPair(sash, With(away, ",T,", ",V,")), "a kind that is neither T nor U (\"V\")"));
  EXPECT_TRUE(Mentions(broken("C81E23-EEEEEE-EEEEEE-C81E23", "F0F0F0-C81E23-EEEEEE-C81E23"), "BBB1998H and its away kit clash"));
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

const std::string kHome = "AAA1998H,T,5,1,1,SS,EEEEEE,1,1,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C";
const std::string kAway = "AAA1998A,T,1,5,1,SS,1C1C1C,1,1,11,21,21,EEEEEE,1,2,1C1C1C,1,GK19873C-1C1C1C";
const std::string kUnique = "BBB1998A,U,3,1,1,SS,C81E23-EEEEEE-EEEEEE-C81E23-sash\\,GK19873C-1C1C1C";

// A value the reader cannot read makes its line faulty like a line cut
// short: named with its line number and what cannot be read, and left out,
// so that no side is dressed from it.
TEST_F(KitTable, LinesWithValuesThatCannotBeReadAreNamedAndLeftOut) {
  // Whole, each of the lines is taken.
  for (const std::string& line : {kAway, kUnique}) {
    const std::string table = kHome + "\n" + line + "\n";
    EXPECT_EQ(kits_TableParse(table.data(), table.size()), 2) << line;
    EXPECT_STREQ(kits_pszTableProblem(), "") << line;
  }
  struct Case {
    std::string sLine, sSaid;
  } cases[] = {
      {With(kAway, "SS,1C1C1C", "SS,ZZZZZZ"), "a colour that cannot be read (\"ZZZZZZ\")"},
      {With(kAway, "SS,1C1C1C", "SS,1C1C1C-EEZZEE"), "a colour that cannot be read (\"1C1C1C-EEZZEE\")"},
      {With(kAway, "21,EEEEEE", "21,EEEEEG"), "a colour that cannot be read (\"EEEEEG\")"},
      {With(kAway, "2,1C1C1C", "2,1C1C1x"), "a colour that cannot be read (\"1C1C1x\")"},
      {With(kAway, "GK19873C-1C1C1C", "GK19873C"), "a colour that cannot be read (\"GK19873C\")"},
      {With(kAway, "A,T,1,", "A,T,x9,"), "a number that cannot be read (\"x9\")"},
      {With(kAway, ",1,1,11,", ",1,1,1a,"), "a number that cannot be read (\"1a\")"},
      {With(kAway, ",1,2,1C", ",1,-2,1C"), "a number that cannot be read (\"-2\")"},
      {With(kAway, "A,T,1,5,", "A,T,1,13,"), "a kit colour number outside 1 to 12 (\"13\")"},
      {With(kAway, "A,T,1,5,", "A,T,1,0,"), "a kit colour number outside 1 to 12 (\"0\")"},
      {With(kAway, "A,T,", "A,V,"), "a kind that is neither T nor U (\"V\")"},
      {With(kUnique, "sash", "zigzag"),
       "a unique kit prefix that cannot be read (\"C81E23-EEEEEE-EEEEEE-C81E23-zigzag\\\")"},
      {With(kUnique, "GK19873C-1C1C1C", "GK19873C-1C1CQC"), "a colour that cannot be read (\"GK19873C-1C1CQC\")"},
      {With(kUnique, "A,U,3,", "A,U,3x,"), "a number that cannot be read (\"3x\")"},
  };
  for (const Case& c : cases) {
    const std::string table = kHome + "\n" + c.sLine + "\n";
    EXPECT_EQ(kits_TableParse(table.data(), table.size()), 1) << c.sLine;
    EXPECT_EQ(std::string(kits_pszTableProblem()), "line 2 has " + c.sSaid + "; left out") << c.sLine;
    EXPECT_EQ(kits_poKitEntryFind(c.sLine.substr(0, 8).c_str()), nullptr) << c.sLine;
    EXPECT_NE(kits_poKitEntryFind("AAA1998H"), nullptr) << c.sLine;
  }
}

// One set of rules judges a line for the game's reader and for the table's
// generator: what the reader leaves out, the generator refuses to write, in
// the same words.
TEST_F(KitTable, TheReaderAndTheGeneratorJudgeALineByTheSameRules) {
  EXPECT_EQ(kitline::Fault(kAway), "");
  EXPECT_EQ(kitline::Fault(kUnique), "");
  EXPECT_TRUE(kitsource::Check({kHome, kAway}).empty());
  struct Case {
    std::string sLine, sFault;
  } cases[] = {
      {With(kAway, "SS,1C1C1C", "SS,1C\x01" "C1C"), "holds bytes that are not text"},
      {With(kAway, "SS,1C1C1C", "SS,1C1C1C-" + std::string(200, 'E')), "is longer than 255 characters"},
      {With(kAway, ",1,GK19873C-1C1C1C", ""), "has too few fields"},
      {With(kUnique, ",GK19873C-1C1C1C", ""), "has too few fields"},
      {With(kAway, "A,T,", "A,V,"), "has a kind that is neither T nor U (\"V\")"},
      {With(kAway, "A,T,1,", "A,T,x9,"), "has a number that cannot be read (\"x9\")"},
      {With(kAway, ",1,1,11,", ",1,1,11111,"), "has a number that cannot be read (\"11111\")"},
      {With(kAway, "A,T,1,5,", "A,T,1,13,"), "has a kit colour number outside 1 to 12 (\"13\")"},
      {With(kAway, "21,EEEEEE", "21,EEEEEG"), "has a colour that cannot be read (\"EEEEEG\")"},
      {With(kAway, "GK19873C-1C1C1C", "GK19873C"), "has a colour that cannot be read (\"GK19873C\")"},
      {With(kUnique, "sash", "zigzag"),
       "has a unique kit prefix that cannot be read (\"C81E23-EEEEEE-EEEEEE-C81E23-zigzag\\\")"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kitline::Fault(c.sLine), c.sFault) << c.sLine;
    const std::string table = kHome + "\n" + c.sLine + "\n";
    EXPECT_EQ(kits_TableParse(table.data(), table.size()), 1) << c.sLine;
    EXPECT_EQ(std::string(kits_pszTableProblem()), "line 2 " + c.sFault + "; left out") << c.sLine;
    const std::vector<std::string> errors = kitsource::Check({kHome, c.sLine});
    EXPECT_TRUE(Mentions(errors, "kit line 2 (" + c.sLine.substr(0, 8) + ") " + c.sFault))
        << c.sLine << (errors.empty() ? "" : "\n" + errors[0]);
  }
}

// The longest line the game reads is 255 characters, as long as its buffer
// holds: such a line is read whole and written by the generator; one more
// character and both leave it out, in the same words.
TEST_F(KitTable, ALineOfTheLongestLengthIsReadAndOneLongerIsNot) {
  // The away shirt's second colour, padded out (its first six digits count).
  const auto Padded = [](size_t n) {
    const std::string line = With(kAway, "SS,1C1C1C", "SS,1C1C1C-EEEEEE");
    return With(line, "-EEEEEE", "-EEEEEE" + std::string(n - line.size(), 'E'));
  };
  const std::string longest = Padded(kitline::kMaxLine), over = Padded(kitline::kMaxLine + 1);
  ASSERT_EQ(longest.size(), 255u);
  ASSERT_EQ(over.size(), 256u);
  EXPECT_EQ(kitline::Fault(longest), "");
  std::string table = kHome + "\n" + longest + "\n";
  EXPECT_EQ(kits_TableParse(table.data(), table.size()), 2);
  EXPECT_EQ(std::string(kits_pszTableProblem()), "");
  const KitEntry* e = kits_poKitEntryFind("AAA1998A");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->asFields.back(), "GK19873C-1C1C1C");
  EXPECT_EQ(e->asFields[6].size(), 6 + 255u - kAway.size());  // the shirt field read whole
  const std::vector<std::string> errors = kitsource::Check({kHome, longest});
  EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors[0]);

  EXPECT_EQ(kitline::Fault(over), "is longer than 255 characters");
  table = kHome + "\n" + over + "\n";
  EXPECT_EQ(kits_TableParse(table.data(), table.size()), 1);
  EXPECT_EQ(std::string(kits_pszTableProblem()), "line 2 is longer than 255 characters; left out");
  EXPECT_EQ(kits_poKitEntryFind("AAA1998A"), nullptr);
  EXPECT_TRUE(Mentions(kitsource::Check({kHome, over}), "kit line 2 (AAA1998A) is longer than 255 characters"));
}

// The table is read for every match: a file's faulty lines are said once for
// as long as it reads the same, and again when what is wrong with it changes.
TEST_F(KitTable, AFilesFaultyLinesAreSaidOnceHoweverOftenItIsRead) {
  const korvena_test::TempDir dir;
  const std::string path = dir / "kits.bin";
  const std::string colour = With(kAway, "SS,1C1C1C", "SS,ZZZZZZ");
  const std::string number = With(kUnique, "A,U,3,", "A,U,x9,");
  dir.write("kits.bin", kHome + "\n" + colour + "\n" + number + "\n");
  const std::string said = "kit table " + path + ", line 2 has a colour that cannot be read (\"ZZZZZZ\"); left out\n" +
                           "kit table " + path + ", line 3 has a number that cannot be read (\"x9\"); left out\n" +
                           "kit table " + path + ": 2 faulty lines were left out\n";
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(kits_TableLoad(path.c_str()), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), said);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(kits_TableLoad(path.c_str()), 1);
  EXPECT_EQ(kits_TableLoad(path.c_str()), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  // One fault mended: what is left is said.
  dir.write("kits.bin", kHome + "\n" + kAway + "\n" + number + "\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(kits_TableLoad(path.c_str()), 2);
  EXPECT_EQ(kits_TableLoad(path.c_str()), 2);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "kit table " + path + ", line 3 has a number that cannot be read (\"x9\"); left out\n" + "kit table " +
                path + ": 1 faulty line was left out\n");
  // Both mended: nothing to say; the first fault back: said again.
  dir.write("kits.bin", kHome + "\n" + kAway + "\n" + kUnique + "\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(kits_TableLoad(path.c_str()), 3);
  dir.write("kits.bin", kHome + "\n" + colour + "\n" + number + "\n");
  EXPECT_EQ(kits_TableLoad(path.c_str()), 1);
  EXPECT_EQ(kits_TableLoad(path.c_str()), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), said);
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

// Training has no away side: a black-and-white home kit is not exchanged
// for its colour edition, the colouring is its edition's, and no away kit is
// chosen, whatever the away arguments say.
TEST_F(KitTable, TrainingKeepsTheHomeKitsOwnEditionAndChoosesNoAwayKit) {
  struct Case {
    const char* home;
    int32_t he;
    const char* wantHome;
    int32_t mode;
  };
  const Case cases[] = {{"ENG", 1, "ENG1962H", 1}, {"SWE", 0, "SWE1958H", 2}, {"BRA", 10, "BRA1998H", 0}};
  for (const Case& c : cases) {
    KitChoice k{};
    kits_ColourEquivalentsFind(&k, c.home, c.he, "ITA", 9, 1);
    EXPECT_STREQ(k.aszName[0], c.wantHome) << c.home;
    EXPECT_STREQ(k.aszName[1], "") << c.home;
    EXPECT_EQ(k.iColourMode, c.mode) << c.home;
    EXPECT_EQ(k.aiEdition[0], c.he) << c.home;
  }
  // The same home kit in a match against a colour kit takes its colour edition.
  KitChoice m{};
  kits_ColourEquivalentsFind(&m, "ENG", 1, "ITA", 9);
  EXPECT_STRNE(m.aszName[0], "ENG1962H");
  EXPECT_EQ(m.iColourMode, 0);
  // Dressed for training: the away kits are the home side's and the
  // manager wears long sleeves.
  kits_Choose("ENG", 1, "", 1, 1);
  EXPECT_STREQ(kits_aszKitName[0], "ENG1962H");
  EXPECT_STREQ(kits_aszKitName[1], "");
  EXPECT_EQ(kits_iChosenColourMode, 1);
  EXPECT_EQ(kits_aoKits[4].bLongSleeves, 1);
  EXPECT_EQ(std::memcmp(&kits_aoKits[2].oShirt, &kits_aoKits[0].oShirt, sizeof(Q3DColour)), 0);
  EXPECT_EQ(std::memcmp(&kits_aoKits[2].oShorts, &kits_aoKits[0].oShorts, sizeof(Q3DColour)), 0);
}

// In training the outfield players wear their side's outfield kit and the
// keeper alone his keeper's kit, both in the session's colouring: the kits
// dressed equal the table's lines for the edition, and the two differ.
TEST_F(KitTable, TrainingDressesTheOutfieldInItsOwnKitAndOnlyTheKeeperInHis) {
  auto same = [](Q3DColour a, Q3DColour b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; };
  struct Case {
    const char* home;
    int32_t edition;
  };
  for (const Case& c : {Case{"BRA", 10}, Case{"ITA", 9}, Case{"ENG", 1}, Case{"SWE", 0}}) {
    SCOPED_TRACE(c.home);
    // The colouring set as the scene sets it, then the kits chosen in it.
    kits_Choose(c.home, c.edition, "", c.edition, 1);
    scene3d_eColourMode = static_cast<uint8_t>(kits_iChosenColourMode);
    kits_Choose(c.home, c.edition, "", c.edition, 1);
    const KitColours outfield = kits_TeamKit(kits_aszKitName[0], c.edition, 0);
    const KitColours keeper = kits_TeamKit(kits_aszKitName[0], c.edition, 1);
    ASSERT_GT(kits_fColourDistance(kits_ColourConvert(outfield.oShirt), kits_ColourConvert(keeper.oShirt)), 20.0f);
    for (int32_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      const KitColours& want = i % 2 == 0 ? outfield : keeper;
      const KitColours& got = kits_aoKits[i];
      EXPECT_TRUE(same(got.oShirt, kits_ColourConvert(want.oShirt)));
      EXPECT_TRUE(same(got.oSecond, kits_ColourConvert(want.oSecond)));
      EXPECT_TRUE(same(got.oShorts, kits_ColourConvert(want.oShorts)));
      EXPECT_TRUE(same(got.oSocks, kits_ColourConvert(want.oSocks)));
      EXPECT_EQ(got.uPattern, want.uPattern);
      EXPECT_EQ(got.bLongSleeves, want.bLongSleeves);
    }
  }
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

// ---- Texture slots, pages and numbers -----------------------------------------------------------

#include "kitart.h"
#include "scene3d/kits_slots.h"
#include "scene3d/player3d.h"

namespace {

TEST(KitSlots, EachShirtNumberLiesOnItsPageBelowTheShorts) {
  kits_SlotsReset();
  kits_NumberNamesSet();
  for (int n = 1; n <= 22; ++n) {
    const PlayerTextureSlot& t = kits_aTextureSlots[KITS_FIRST_NUMBER_SLOT + n - 1];
    EXPECT_EQ(t.uPage, 7 + (n - 1) / 6) << n;  // drawn by page material 7..10: pages 0..3 again
    EXPECT_EQ(t.fX, 32.0f * ((n - 1) % 6)) << n;
    EXPECT_EQ(t.fY, 224.0f) << n;
    EXPECT_EQ(t.fWidth, 32.0f);
    EXPECT_EQ(std::string(t.szName), "numbers\\n" + std::to_string(n) + ".tga");
  }
  // Number 9 is slot 131 on page 8 (page 1's image) at (64, 224); a player
  // wearing it names it in his number entry, the referee none.
  uint8_t slots[19];
  kits_PlayerTexturesSet(slots, 0x0138, 16, 0, 9, 0);
  EXPECT_EQ(slots[17], 131);
  EXPECT_EQ(slots[18], KITS_NO_SLOT);
  kits_PlayerTexturesSet(slots, 0x0138, 16, 0, 9, 1);
  EXPECT_EQ(slots[18], 131);
  kits_PlayerTexturesSet(slots, 0x0138, 32, 0, 9, 1);
  EXPECT_EQ(slots[17], KITS_NO_SLOT);
  // No two named places of one page overlap.
  for (int a = 0; a < KITS_SLOTS; ++a)
    for (int b = a + 1; b < KITS_SLOTS; ++b) {
      const PlayerTextureSlot &x = kits_aTextureSlots[a], &y = kits_aTextureSlots[b];
      const bool shared = (a == 7 && b == 15) || (a == 23 && b == 31);
      if (x.uPage % 7 != y.uPage % 7 || shared) continue;
      const bool apart = x.fX + x.fWidth <= y.fX || y.fX + y.fWidth <= x.fX || x.fY + x.fHeight <= y.fY ||
                         y.fY + y.fHeight <= x.fY;
      EXPECT_TRUE(apart) << a << " and " << b;
    }
}

// A kit line as an entry, whatever its values: the table leaves out a line
// whose shorts name a shade rather than a colour, or whose prefix is not
// one the kit art draws, but the texture names are made from any entry.
KitEntry EntryOf(const std::string& line) {
  KitEntry e{};
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, ',');) e.asFields.push_back(f);
  std::snprintf(e.szName, sizeof e.szName, "%s", e.asFields[0].c_str());
  e.cKind = e.asFields[1][0];
  e.bLongSleeves = e.asFields[5].find("SS") == std::string::npos ? 1 : 0;
  return e;
}

TEST(KitSlots, KitTexturesAreNamedFromTheKitLines) {
  const std::string table =
      "ARG1998H,T,5,1,1,SS,6EAFE6-EEEEEE,2,2,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C\n";
  const KitEntry eng = EntryOf("ENG1962H,T,5,1,1,LS,EEEEEE,1,1,11,21,21,WHITE_GREY,1,2,EEEEEE,1,GKNOSUCH");
  const KitEntry ant = EntryOf("ANT1966H,U,1,1,1,SS,antil,GKANT");
  kits_TableParse(table.data(), table.size());
  kits_SlotsReset();
  kits_KitNamesSet(0, kits_poKitEntryFind("ARG1998H"), 0);
  EXPECT_STREQ(kits_aTextureSlots[0].szName, "kits\\templates\\shirts\\6EAFE6-EEEEEE\\02.tga");
  EXPECT_STREQ(kits_aTextureSlots[6].szName, "kits\\templates\\shirts\\6EAFE6-EEEEEE\\11.tga");
  EXPECT_STREQ(kits_aTextureSlots[4].szName, "kits\\templates\\shorts\\1C1C1C\\01.tga");
  EXPECT_STREQ(kits_aTextureSlots[7].szName, "kits\\templates\\socks\\EEEEEE\\01.tga");
  EXPECT_STREQ(kits_aTextureSlots[8].szName, "kits\\goalies\\GK19873C-1C1C1C\\front.tga");
  EXPECT_STREQ(kits_aTextureSlots[KITS_BOOTS_SLOT].szName, "kits\\boots.tga");
  EXPECT_STREQ(kits_aTextureSlots[15].szName, "");  // the keeper wears the side's socks
  // Black and white: the b+w folders, the shade names mapped; a keeper
  // folder without shorts shows the side's shorts.
  kits_KitNamesSet(16, &eng, 1);
  EXPECT_STREQ(kits_aTextureSlots[16].szName, "kits\\templates\\shirts\\b+w\\EEEEEE\\01.tga");
  EXPECT_STREQ(kits_aTextureSlots[20].szName, "kits\\templates\\shorts\\b+w\\LIGHT\\01.tga");
  EXPECT_STREQ(kits_aTextureSlots[28].szName, kits_aTextureSlots[20].szName);
  EXPECT_STREQ(kits_aTextureSlots[29].szName, kits_aTextureSlots[21].szName);
  kits_SlotsReset();
  kits_KitNamesSet(16, &ant, 0);
  EXPECT_STREQ(kits_aTextureSlots[16].szName, "kits\\uniques\\antilfront.tga");
  EXPECT_STREQ(kits_aTextureSlots[18].szName, "kits\\uniques\\antilsleevr.tga");
  char name[256], shade[16] = "GREY_DARK";
  kits_TemplatePartNameMake(name, "kits\\templates\\socks\\RED", "7");
  EXPECT_STREQ(name, "kits\\templates\\socks\\RED\\07.tga");
  kits_ShadeNameMap(shade);
  EXPECT_STREQ(shade, "MID");
  kits_RefereeKitNamesSet(0);
  EXPECT_STREQ(kits_aTextureSlots[34].szName, "kits\\referees\\98\\refblack\\sleevr.tga");
  kits_RefereeKitNamesSet(1);
  EXPECT_STREQ(kits_aTextureSlots[34].szName, "kits\\uniques\\manager\\lsleevbt.tga");
}

TEST(KitSlots, PlayersWhoLookAlikeShareTheirHeads) {
  kits_SlotsReset();
  uint8_t a[19], b[19], c[19];
  kits_PlayerTexturesSet(a, 0x0100 | 0x38 | 0x200, 0, 0, 2, 0);  // short hair, white, beard
  kits_PlayerTexturesSet(b, 0x0100 | 0x38 | 0x200, 16, 1, 5, 0);
  kits_PlayerTexturesSet(c, 0x00C0 | 0x18, 0, 0, 3, 0);          // long hair, blonde
  for (int e : {9, 10, 11, 12, 7, 14, 15}) EXPECT_EQ(a[e], b[e]) << e;
  for (int e : {9, 10, 11, 12}) EXPECT_NE(a[e], c[e]) << e;
  EXPECT_STREQ(kits_aTextureSlots[a[9]].szName, "head\\face\\short\\beard\\white.tga");
  EXPECT_STREQ(kits_aTextureSlots[a[10]].szName, "head\\faceside\\short\\beard\\white.tga");
  EXPECT_STREQ(kits_aTextureSlots[c[11]].szName, "head\\headback\\long\\blonde.tga");
  EXPECT_STREQ(kits_aTextureSlots[c[12]].szName, "head\\headtop\\short\\blonde.tga");
  EXPECT_STREQ(kits_aTextureSlots[a[7]].szName, "skin\\gingwhit\\hand.tga");
  // Long sleeves: both sleeves the long sleeve, the arm the lower sleeve.
  EXPECT_EQ(b[2], 19);
  EXPECT_EQ(b[3], 19);
  EXPECT_EQ(b[13], 18);
  EXPECT_EQ(a[13], 114);  // short sleeves: the skin set's arm
  // A full range of head tops gives its first slot, never none.
  // Two head tops are taken (88, 89): eight more fill the range, then the
  // first slot answers.
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(kits_iSlotClaim(88, 98, static_cast<uint16_t>(1000 + k)), k < 8 ? 90 + k : 88) << k;
}

// Four players wear heads of their own: one known by his whole name, three by
// their appearance word's low byte; each has his own key and skin set, and a
// player who merely looks like one of them keeps a generic head.
TEST(KitSlots, UniqueHeadsAreKnownByNameOrAppearanceByte) {
  struct Case {
    const char* name;
    uint16_t appearance;
    const char* folder;  // null: a generic head
    int skin;
  } cases[] = {
      {"Zenildo Araqu\xE9m", 0x0100 | 0x10, "zenildo", 102},
      {"Someone Else", 0x0100 | 162, "dromm", 114},
      {nullptr, 0x0000 | 164, "pretor", 110},
      {nullptr, 0x0100 | 165, "brasc", 110},
      // The same name cut short, and the listed names no rule recognises.
      {"Zenildo Araqu", 0x0100 | 0x10, nullptr, 102},
      {"Barry Ashcombe", 0x0100 | 0x38, nullptr, 114},
      {"Roger Mbassolo", 0x0100 | 0x00, nullptr, 118},
  };
  kits_SlotsReset();
  for (const Case& c : cases) {
    uint8_t slots[19];
    kits_PlayerTexturesSet(slots, c.appearance, 16, 0, 7, 0, c.name);
    const std::string what = c.name != nullptr ? c.name : std::to_string(c.appearance);
    const std::string face = kits_aTextureSlots[slots[9]].szName;
    if (c.folder != nullptr) {
      const std::string dir = std::string("head\\uniques\\") + c.folder + "\\";
      EXPECT_EQ(face, dir + "face.tga") << what;
      EXPECT_STREQ(kits_aTextureSlots[slots[10]].szName, (dir + "side.tga").c_str()) << what;
      EXPECT_STREQ(kits_aTextureSlots[slots[11]].szName, (dir + "back.tga").c_str()) << what;
      EXPECT_STREQ(kits_aTextureSlots[slots[12]].szName, (dir + "top.tga").c_str()) << what;
    } else {
      EXPECT_EQ(face.find("uniques"), std::string::npos) << what;
    }
    EXPECT_EQ(slots[7], c.skin + 3) << what;  // his set's hand
    EXPECT_EQ(slots[17], KITS_FIRST_NUMBER_SLOT + 6) << what;
  }
  // The referee never wears one.
  uint8_t ref[19];
  kits_PlayerTexturesSet(ref, 0x0100 | 162, 32, 0, 0, 0, "Zenildo Araqu\xE9m");
  EXPECT_EQ(std::string(kits_aTextureSlots[ref[9]].szName).find("uniques"), std::string::npos);
}

// The mirrored faces read their textures mirrored within the part's place,
// taking the strips past the threshold from the twin place.
TEST(KitSlots, MirroredTexelsFollowThePartsThresholds) {
  const float front[4] = {0, 0, 128, 128}, shortsFront[4] = {96, 128, 96, 96}, sleeve[4] = {192, 128, 64, 64};
  float out[2];
  const float past[6] = {0.7f, 0, 0.8f, 0, 0.9f, 1};
  const float before[6] = {0.6f, 0, 0.8f, 0, 0.9f, 1};
  EXPECT_EQ(player3d_bAllPast(past, 0), 1);
  EXPECT_EQ(player3d_bAllPast(before, 0), 0);
  player3d_TexelPlace(out, 0.8f, 0.5f, 0, 0, 1, front, 0);
  EXPECT_FLOAT_EQ(out[0], 0.8f * 128 / 256);
  player3d_TexelPlace(out, 0.8f, 0.5f, 0, 1, 1, front, 0);
  EXPECT_FLOAT_EQ(out[0], ((1.671875f - 0.8f) * 128 + 128) / 256);
  player3d_TexelPlace(out, 0.2f, 0.5f, 0, 1, 0, front, 0);
  EXPECT_FLOAT_EQ(out[0], (0.671875f - 0.2f) * 128 / 256);
  player3d_TexelPlace(out, 0.75f, 0.25f, 5, 1, 1, shortsFront, 0);
  EXPECT_FLOAT_EQ(out[0], ((1.0f - 0.75f + 7.0f / 12.0f) * 96 + 96 - 96) / 256);
  player3d_TexelPlace(out, 0.3f, 0.25f, 2, 1, 0, sleeve, 0);
  EXPECT_FLOAT_EQ(out[0], (0.7f * 64 + 192) / 256);
  EXPECT_FLOAT_EQ(out[1], (0.25f * 64 + 128 + 64) / 256);
  // Long sleeves stay within their own place.
  player3d_TexelPlace(out, 0.3f, 0.25f, 2, 1, 0, sleeve, 1);
  EXPECT_FLOAT_EQ(out[1], (0.25f * 64 + 128) / 256);
  // Numbers are only turned back; faces and skin keep their u.
  player3d_TexelPlace(out, 0.25f, 0.5f, 17, 1, 0, front, 0);
  EXPECT_FLOAT_EQ(out[0], 0.75f * 128 / 256);
  player3d_TexelPlace(out, 0.25f, 0.5f, 9, 1, 0, front, 0);
  EXPECT_FLOAT_EQ(out[0], 0.25f * 128 / 256);
}

// The unique kits' textures: drawn from the lines, each at its slot's size
// and in the year's colouring; one missing or of the wrong size is refused.
TEST(KitArt, UniqueKitsAreDrawnAndTheirTexturesChecked) {
  const std::vector<std::string> lines = {
      "BBB1998H,U,3,1,1,SS,C81E23-EEEEEE-1C1C1C-C81E23-sash\\,GK19873C-1C1C1C",
      "BBB1962H,U,3,1,1,LS,C81E23-EEEEEE-1C1C1C-C81E23-quarters-bw\\,GK19873C-1C1C1C"};
  const korvena_test::TempDir temp;
  const std::string dir = temp.path();
  EXPECT_EQ(kitsource::CheckUniqueTextures(lines, dir).size(), 16u);
  ASSERT_GT(kitart::WriteAll(lines, {}, dir), 16);
  EXPECT_TRUE(kitsource::CheckUniqueTextures(lines, dir).empty());
  const std::string colour = dir + "/kits/uniques/C81E23-EEEEEE-1C1C1C-C81E23-sash/";
  const std::string bw = dir + "/kits/uniques/C81E23-EEEEEE-1C1C1C-C81E23-quarters-bw/";
  EXPECT_TRUE(std::filesystem::exists(colour + "sleevr.tga"));
  EXPECT_TRUE(std::filesystem::exists(bw + "lsleevbt.tga"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/kits/goalies/b+w/GK19873C-1C1C1C/front.tga"));
  // Pixels of the shirt front (bottom row first): the sash crosses the
  // middle in the second colour, the shirt's corner keeps the first; the
  // quarters in grey.
  auto texel = [](const std::string& path, int x, int y) {
    const std::string t = readFile(path);
    const size_t at = 18 + 3 * (static_cast<size_t>(127 - y) * 128 + x);
    return std::vector<int>{static_cast<unsigned char>(t[at + 2]), static_cast<unsigned char>(t[at + 1]),
                            static_cast<unsigned char>(t[at])};
  };
  EXPECT_EQ(texel(colour + "front.tga", 66, 63), (std::vector<int>{238, 238, 238}));
  EXPECT_EQ(texel(colour + "front.tga", 5, 5), (std::vector<int>{200, 30, 35}));
  const std::vector<int> q = texel(bw + "front.tga", 97, 30);
  EXPECT_EQ(q[0], q[1]);
  EXPECT_EQ(q[1], q[2]);
  EXPECT_NE(q, texel(bw + "front.tga", 30, 30));
  // A missing texture and one of the wrong size.
  std::filesystem::remove(colour + "socks.tga");
  std::filesystem::copy_file(colour + "top.tga", colour + "front.tga", std::filesystem::copy_options::overwrite_existing);
  const std::vector<std::string> errors = kitsource::CheckUniqueTextures(lines, dir);
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_TRUE(Mentions(errors, "BBB1998H: missing texture kits/uniques/C81E23-EEEEEE-1C1C1C-C81E23-sash/socks.tga"));
  EXPECT_TRUE(Mentions(errors, "sash/front.tga is not 128 square"));
  std::filesystem::remove_all(dir);
}

TEST(KitArt, NumbersAreLightDigitsOnTheKey) {
  for (int n : {1, 9, 10, 22}) {
    const std::vector<unsigned char> t = kitart::NumberTexels(n);
    ASSERT_EQ(t.size(), 32u * 32u * 3u);
    int key = 0, light = 0;
    for (size_t i = 0; i < t.size(); i += 3) {
      key += t[i] == 255 && t[i + 1] == 0 && t[i + 2] == 255 ? 1 : 0;
      light += t[i] > 200 && t[i + 1] > 200 && t[i + 2] > 200 ? 1 : 0;
    }
    EXPECT_EQ(key + light, 32 * 32) << n;
    EXPECT_GT(light, 100) << n;
  }
  EXPECT_NE(kitart::NumberTexels(1), kitart::NumberTexels(7));
}

}  // namespace
