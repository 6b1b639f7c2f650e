// The front-end art generator's word list: read back in sheet order from
// lines in any order, and every damaged list refused with a message instead
// of sheets painted with the wrong words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::ToolRun;

const char* const kLines[6] = {
    "eng\tFRIENDLY\tQUICK START\tTRAINING\tHISTORY\tOPTIONS\tLOAD GAME\tEXIT\tTITLE E",
    "fra\tMATCH|AMICAL\tD\xC3\x89PART\tENTRA\xC3\x8ENEMENT\tHISTOIRE\tOPTIONS\tCHARGER\tQUITTER\tTITLE F",
    "ger\tFREUND\tSCHNELL\tTRAINING\tGESCHICHTE\tOPTIONEN\tLADEN\tENDE\tTITLE G",
    "spa\tAMISTOSO\tR\xC3\x81PIDO\tENTRENAMIENTO\tHISTORIA\tOPCIONES\tCARGAR\tSALIR\tTITLE S",
    "ita\tAMICHEVOLE\tRAPIDO\tALLENAMENTO\tSTORIA\tOPZIONI\tCARICA\tESCI\tTITLE I",
    "por\tAMIG\xC3\x81VEL\tR\xC3\x81PIDO\tTREINO\tHIST\xC3\x93RIA\tOP\xC3\x87\xC3\x95" "ES\tCARREGAR\tSAIR\tTITLE P",
};

std::string AllLines(const char* eol = "\n") {
  std::string s;
  for (const char* l : kLines) s += std::string(l) + eol;
  return s;
}

class FrontEndArtWords : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    exe_ = fs::path(build) / "tools" / "korvena_fegen";
    ASSERT_TRUE(fs::exists(exe_)) << exe_;
  }
  ToolRun Check(const std::string& text) {
    dir_.write("words.txt", text);
    return Exec("--check-words " + dir_ / "words.txt");
  }
  ToolRun Exec(const std::string& args) { return korvena_test::runTool(exe_.string() + " " + args); }
  fs::path exe_;
  korvena_test::TempDir dir_;
};

TEST_F(FrontEndArtWords, TheShippedListAndListsInAnyOrderReadBackInSheetOrder) {
  const char* source = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  ToolRun shipped = Exec("--check-words " + (fs::path(source) / "assets" / "frontend" / "mainmenu.txt").string());
  EXPECT_EQ(shipped.exitCode, 0) << shipped.out;
  ASSERT_GE(shipped.out.size(), 4u);
  EXPECT_EQ(shipped.out.substr(0, 4), "eng\t");

  // Lines reversed, Windows line ends, comments and blank lines between.
  std::string reversed = "# the word list\r\n\r\n";
  for (int i = 5; i >= 0; --i) reversed += std::string(kLines[i]) + "\r\n# -\r\n";
  ToolRun r = Check(reversed);
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, AllLines());
}

TEST_F(FrontEndArtWords, DamagedListsAreRefusedWithAMessage) {
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  };
  std::string noPor = AllLines();
  noPor.resize(noPor.find("por\t"));
  std::string cut = AllLines();
  cut.resize(cut.find("\tCARREGAR"));  // the last line cut short, no line end
  std::string twice = AllLines() + kLines[2] + "\n";
  std::string unknown = AllLines();
  unknown.replace(unknown.find("ger\t"), 3, "deu");
  std::string empty = AllLines();
  empty.replace(empty.find("\tHISTORIA\t"), 10, "\t\t");
  std::string strayByte = AllLines();
  strayByte.replace(strayByte.find("STORIA"), 1, "\x80");
  std::string overlong = AllLines();
  overlong.replace(overlong.find("ESCI"), 1, "\xC0\x85");
  std::string cutChar = AllLines();
  cutChar.resize(cutChar.find("ES\tCARREGAR") - 1);  // "OP\xC3\x87\xC3" ends mid-character
  cutChar += "\tX\tX\tX";
  const Case cases[] = {
      {"empty", "", "no line for eng"},
      {"a language missing", noPor, "no line for por"},
      {"a line cut short", cut, "columns, not 9"},
      {"a language twice", twice, "given twice"},
      {"an unknown language", unknown, "unknown language \"deu\""},
      {"an empty word", empty, "an empty word"},
      {"a stray continuation byte", strayByte, "bad UTF-8"},
      {"an overlong character", overlong, "bad UTF-8"},
      {"a character cut short", cutChar, "bad UTF-8"},
  };
  for (const Case& c : cases) {
    ToolRun r = Check(c.text);
    EXPECT_EQ(r.exitCode, 1) << c.what << ": " << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << ": " << r.out;
  }
  ToolRun missing = Exec("--check-words " + dir_ / "none.txt");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.out.find("cannot read"), std::string::npos) << missing.out;
  ToolRun noValue = Exec("--data " + dir_.path() + " --words");
  EXPECT_EQ(noValue.exitCode, 1);
  EXPECT_NE(noValue.out.find("no value after --words"), std::string::npos) << noValue.out;
}

// The world map beside the word list: every damaged outline file is refused
// with the line it fails on, before anything is painted.
TEST_F(FrontEndArtWords, DamagedWorldMapsAreRefusedWithTheirLine) {
  const char* source = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  dir_.write("mainmenu.txt", AllLines());
  const std::string good = "# map\nEURO 286,112 300,86 330,72\nOZ 465,245 495,231 520,238\n";
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 12), "worldmap.txt:3: bad corner 495,"},
      {"two corners", good + "OZ 1,1 2,2\n", "worldmap.txt:4: a polygon needs three corners"},
      {"a bad corner", good + "ASIA 360,166 400;158 450,156\n", "worldmap.txt:4: bad corner 400;158"},
      {"off the map", good + "ASIA 360,166 700,158 450,156\n", "worldmap.txt:4: bad corner 700,158"},
      {"an unknown region", good + "MARS 1,1 2,2 3,1\n", "worldmap.txt:4: unknown region MARS"},
      {"no land", "# nothing\n", "no land"},
  };
  for (const Case& c : cases) {
    dir_.write("worldmap.txt", c.text);
    ToolRun r = Exec("--data " + dir_ / "data" + " --fonts " + dir_.path() + " --words " + dir_ / "mainmenu.txt");
    EXPECT_EQ(r.exitCode, 1) << c.what << ": " << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << ": " << r.out;
  }
  fs::remove(fs::path(dir_.path()) / "worldmap.txt");
  ToolRun missing = Exec("--data " + dir_ / "data" + " --fonts " + dir_.path() + " --words " + dir_ / "mainmenu.txt");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.out.find("cannot read"), std::string::npos) << missing.out;
}

}  // namespace
