// The text-table generator on sources of our own: good tables, and every kind
// of bad source refused with a message naming the place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_game.h"
#include "support/temp_dir.h"

using korvena_test::TempDir;
namespace fs = std::filesystem;

namespace {

struct GenRun {
  int iExit = -1;
  std::string oOutput;  // stdout and stderr
  std::string oCpp;
  std::string oHeader;
};

class GenTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* pszBuild = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(pszBuild, nullptr);
    exe_ = fs::path(pszBuild) / "tools" / "gentexts";
    ASSERT_TRUE(fs::exists(exe_)) << exe_;
    fs::create_directories(dir_ / "assets" / "frontend");
    fs::create_directories(dir_ / "src");
  }
  void Write(const std::string& oRel, const std::string& oText) {
    fs::path p = dir_ / oRel;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << oText;
  }
  GenRun Run() {
    GenRun r;
    fs::path oCpp = dir_ / "out" / "texts_data.cpp";
    fs::path oHdr = dir_ / "out" / "texts_data.h";
    korvena_test::ToolRun oRun = korvena_test::runTool(exe_.string() + " " + (dir_ / "assets").string() + " " +
                                                        (dir_ / "src").string() + " " + oCpp.string() + " " +
                                                        oHdr.string());
    r.iExit = oRun.exitCode;
    r.oOutput = oRun.out;
    r.oCpp = korvena_test::readFile(oCpp);
    r.oHeader = korvena_test::readFile(oHdr);
    return r;
  }
  fs::path exe_;
  TempDir tmp_;
  fs::path dir_ = tmp_.path();
};

TEST_F(GenTexts, WritesWindows1252TablesAndCountsMissingTranslations) {
  Write("assets/frontend/en.txt", "# comment\n1\tYES\tYes\n2\t-\tCaf\xC3\xA9 \xE2\x82\xAC\\n2\n");
  Write("assets/frontend/fr.txt", "1\tOui\n");
  Write("src/user.cpp", "int i = IDS_FE_YES + IDS_FE_MAX;\n");
  GenRun r = Run();
  ASSERT_EQ(r.iExit, 0) << r.oOutput;
  EXPECT_NE(r.oHeader.find("IDS_FE_YES = 1,"), std::string::npos) << r.oHeader;
  EXPECT_NE(r.oCpp.find("\"Caf\\351 \\200\\0122\""), std::string::npos) << r.oCpp;
  EXPECT_NE(r.oCpp.find("\"Oui\""), std::string::npos);
  EXPECT_NE(r.oOutput.find("frontend: 1 text(s) missing in French"), std::string::npos) << r.oOutput;
  EXPECT_NE(r.oOutput.find("frontend: 2 text(s) missing in German"), std::string::npos) << r.oOutput;
}

TEST_F(GenTexts, AnIdUsedByCodeNeedsEnglishText) {
  Write("assets/frontend/en.txt", "1\tYES\tYes\n");
  Write("src/screen.cpp", "festr_IDToStr(IDS_FE_NO);\n");
  GenRun r = Run();
  EXPECT_EQ(r.iExit, 1);
  EXPECT_NE(r.oOutput.find("uses IDS_FE_NO, which has no English text"), std::string::npos) << r.oOutput;
  EXPECT_EQ(r.oCpp, "");  // nothing written
}

TEST_F(GenTexts, BadSourcesAreRefusedWithTheirLine) {
  struct Case {
    const char* pszFile;
    const char* pszText;
    const char* pszMessage;
  };
  const Case aCases[] = {
      {"assets/frontend/fr.txt", "7\tSept\n", "id 7 has no English text"},
      {"assets/frontend/en.txt", "1005\tX\tToo far\n", "en.txt:1: id '1005' is not in 0..1004"},
      {"assets/frontend/en.txt", "1\tA\tOne\n1\tB\tAgain\n", "en.txt:2: id 1 is given twice"},
      {"assets/frontend/en.txt", "1\tA\n", "en.txt:1: expected 3 tab-separated columns, found 2"},
      {"assets/frontend/en.txt", "x1\tA\tOne\n", "id 'x1' is not in"},
      {"assets/frontend/en.txt", "1\tlower\tOne\n", "name 'lower' must be upper case"},
      {"assets/frontend/en.txt", "1\tA\tOmega \xCE\xA9\n", "U+03A9 has no Windows-1252 code"},
      {"assets/frontend/en.txt", "1\tA\tCut \xC3\n", "truncated UTF-8"},
      {"assets/frontend/en.txt", "1\tA\tBad \xFF byte\n", "invalid UTF-8"},
      {"assets/frontend/en.txt", "1\tA\tEscape \\q\n", "unknown escape \\q"},
      {"assets/global/en.txt", "52\tX\tPast the global table\n", "id '52' is not in 0..51"},
  };
  for (const Case& c : aCases) {
    SCOPED_TRACE(c.pszText);
    fs::remove_all(dir_ / "assets");
    Write("assets/frontend/en.txt", "");
    Write(c.pszFile, c.pszText);
    GenRun r = Run();
    EXPECT_EQ(r.iExit, 1);
    EXPECT_NE(r.oOutput.find(c.pszMessage), std::string::npos) << r.oOutput;
  }
}

}  // namespace
