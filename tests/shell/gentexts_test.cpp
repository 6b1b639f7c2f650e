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

TEST_F(GenTexts, WritesWindows1252Tables) {
  Write("assets/frontend/en.txt", "# comment\n1\tYES\tYes\n2\t-\tCaf\xC3\xA9 \xE2\x82\xAC\\n2\n");
  Write("assets/frontend/fr.txt", "1\tOui\n2\tCaf\xC3\xA9\n");
  for (const char* l : {"de", "es", "it", "pt"}) Write(std::string("assets/frontend/") + l + ".txt", "1\tJa\n2\tX\n");
  Write("src/user.cpp", "int i = IDS_FE_YES + IDS_FE_MAX;\n");
  GenRun r = Run();
  ASSERT_EQ(r.iExit, 0) << r.oOutput;
  EXPECT_NE(r.oHeader.find("IDS_FE_YES = 1,"), std::string::npos) << r.oHeader;
  EXPECT_NE(r.oCpp.find("\"Caf\\351 \\200\\0122\""), std::string::npos) << r.oCpp;
  EXPECT_NE(r.oCpp.find("\"Oui\""), std::string::npos);
  EXPECT_NE(r.oCpp.find("\"Caf\\351\""), std::string::npos);
}

// The teams' forms: feminine by the name's first word's ending, the listed
// teams as their line says, every other team masculine singular.
TEST_F(GenTexts, WritesEachTeamsGenderAndNumber) {
  Write("assets/abbreviations/en.txt", "1\t-\tBRA\tBrazil\tBrazil\t\n2\t-\tITA\tItaly\tItaly\t\n"
                                       "3\t-\tUSA\tUSA\tUSA\t\n4\t-\tMEX\tMexico\tMexico\t\n"
                                       "5\t-\tCIV\tIvory C.\tIvory Coast\t\n");
  for (const char* l : {"fr", "de", "es", "it", "pt"})
    Write(std::string("assets/abbreviations/") + l + ".txt",
          "1\tBRA\tBr\xC3\xA9sil\tBr\xC3\xA9sil\t\n2\tITA\tItalie\tItalie\t\n3\tUSA\tUSA\tUSA\t\n"
          "4\tMEX\tMexique\tMexique\t\n5\tCIV\tC.d'Ivoire\tC\xC3\xB4te d'Ivoire\t\n");
  Write("assets/grammar/fr.txt", "# comment\nfeminine-ending\te\nmasculine\tMEX\nmasculine-plural\tUSA\n");
  for (const char* l : {"en", "de", "es", "it", "pt"}) Write(std::string("assets/grammar/") + l + ".txt", "# none\n");
  GenRun r = Run();
  ASSERT_EQ(r.iExit, 0) << r.oOutput;
  EXPECT_NE(r.oHeader.find("tlastr_aauForms[TEXT_LANGUAGE_MAX][205]"), std::string::npos) << r.oHeader;
  // English (an empty file) then French: none, Brésil, Italie, USA, Mexique, Côte d'Ivoire.
  EXPECT_NE(r.oCpp.find("  {\n    0, 0, 0, 0, 0, 0, 0,"), std::string::npos) << r.oCpp;
  EXPECT_NE(r.oCpp.find("  {\n    0, 0, 1, 2, 0, 1, 0,"), std::string::npos) << r.oCpp;
}

// A language with team names and no grammar file would have every team
// masculine singular without a word: the build fails, naming the file and
// the language. A language without team names needs none.
TEST_F(GenTexts, ALanguageWithTeamNamesAndNoGrammarFileIsRefused) {
  Write("assets/abbreviations/en.txt", "1\t-\tBRA\tBrazil\tBrazil\t\n");
  for (const char* l : {"fr", "de", "es", "it", "pt"})
    Write(std::string("assets/abbreviations/") + l + ".txt", "1\tBRA\tBrasil\tBrasil\t\n");
  for (const char* l : {"en", "fr", "de", "es", "pt"}) Write(std::string("assets/grammar/") + l + ".txt", "");
  GenRun r = Run();
  EXPECT_EQ(r.iExit, 1);
  EXPECT_NE(r.oOutput.find("grammar/it.txt: missing: the gender and number of the Italian team names"), std::string::npos)
      << r.oOutput;
  EXPECT_EQ(r.oOutput.find("grammar/fr.txt"), std::string::npos) << r.oOutput;
  EXPECT_EQ(r.oCpp, "");  // nothing written
  // Without Italian team names the Italian file is not needed.
  fs::remove(dir_ / "assets" / "abbreviations" / "it.txt");
  r = Run();
  EXPECT_EQ(r.oOutput.find("grammar/it.txt"), std::string::npos) << r.oOutput;
  // With it, the tables are written.
  Write("assets/abbreviations/it.txt", "1\tBRA\tBrasile\tBrasile\t\n");
  Write("assets/grammar/it.txt", "feminine-ending\ta\n");
  r = Run();
  ASSERT_EQ(r.iExit, 0) << r.oOutput;
  EXPECT_NE(r.oCpp.find("tlastr_aauForms"), std::string::npos);
}

// Every language has every id that English has: a missing one (once shown in
// English in that language's game) fails the build, naming the language, the
// file and the ids. A text equal in every language is written in each file.
TEST_F(GenTexts, ALanguageWithoutAnIdOfTheEnglishIsRefused) {
  Write("assets/frontend/en.txt", "0\tEMPTY\t\n10\tWAIT\tPlease Wait\n134\tVERSUS\tversus\n203\t-\t0\n");
  for (const char* l : {"de", "es", "it", "pt"})
    Write(std::string("assets/frontend/") + l + ".txt", "0\t\n10\tW\n134\tv\n203\t0\n");
  Write("assets/frontend/fr.txt", "0\t\n203\t0\n");
  Write("assets/global/en.txt", "0\tTACTICS\tTactics\n");
  for (const char* l : {"fr", "de", "es", "it", "pt"}) Write(std::string("assets/global/") + l + ".txt", "0\tT\n");
  Write("assets/global/it.txt", "");
  GenRun r = Run();
  EXPECT_EQ(r.iExit, 1);
  EXPECT_NE(r.oOutput.find("frontend/fr.txt: 2 id(s) with English text have no French text: 10, 134"), std::string::npos)
      << r.oOutput;
  EXPECT_NE(r.oOutput.find("global/it.txt: 1 id(s) with English text have no Italian text: 0"), std::string::npos)
      << r.oOutput;
  EXPECT_EQ(r.oOutput.find("German text"), std::string::npos) << r.oOutput;
  EXPECT_EQ(r.oCpp, "");  // nothing written
  // With the two French texts the tables are written.
  Write("assets/frontend/fr.txt", "0\t\n10\tVeuillez patienter\n134\tcontre\n203\t0\n");
  Write("assets/global/it.txt", "0\tTattica\n");
  r = Run();
  ASSERT_EQ(r.iExit, 0) << r.oOutput;
  EXPECT_NE(r.oCpp.find("\"contre\""), std::string::npos);
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
      {"assets/frontend/en.txt", "1\tA\tone|two|three\n", "id 1 has 3 forms; a text has 1, 2 or 4"},
      {"assets/grammar/fr.txt", "plural\tUSA\n", "fr.txt:1: unknown kind 'plural'"},
      {"assets/grammar/fr.txt", "feminine\tXYZ\n", "fr.txt:1: no team has the abbreviation XYZ"},
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

namespace {

// A small rules source for every language and the editions it is checked
// against: 1958 only names UEFA and, in its "Group B", CONMEBOL (code 16).
class GenRules : public GenTexts {
 protected:
  void Sources(const std::string& en, const std::string& fr) {
    for (int e = 0; e < 11; e++) {
      const std::string year = std::to_string(58 + 4 * e);
      Write("tournament/editions/19" + year + ".txt",
            e == 0 ? "Q | UEFA | 1 | 1 | | ha | po | w - - - | | | ENG\nQ | CONMEBOL | Group B | 1 | | ha | po | w | | | BRA\n" : "");
    }
    std::string common;
    for (int e = 0; e < 11; e++) {
      const std::string y = std::to_string(58 + 4 * e);
      if (e > 0) common += "[finals " + y + "]\n2\tF" + y + "\n[qual " + y + "]\n0\tQ" + y + "\n";
    }
    for (const char* n : {"[noteA 70]", "[noteA 90]", "[noteA 94]", "[noteA 98]", "[noteB 82]", "[noteB 86]", "[noteB 94]"})
      common += std::string(n) + "\n0\tN\n";
    Write("assets/rules/en.txt", en + common);
    for (const char* l : {"de", "es", "it", "pt"}) Write(std::string("assets/rules/") + l + ".txt", en + common);
    Write("assets/rules/fr.txt", fr + common);
  }
};

const char* const kGood =
    "[finals 58]\n2\tSWEDEN 1958\n0\tSixteen teams, %s first.\n[qual 58]\n2\tQualifying\n"
    "[qual 58 conf 1]\n0\tUEFA\n[qual 58 conf 16]\n0\tGroup B\n";

TEST_F(GenRules, PagesGetIdsFromTheFirstRulesIdAndTheSameBytesTwice) {
  Sources(kGood, "[finals 58]\n2\tSUÈDE 1958\n0\tSeize équipes, %s d'abord.\n[qual 58]\n2\tQualifying\n"
                 "[qual 58 conf 1]\n0\tUEFA\n[qual 58 conf 16]\n0\tGroup B\n");
  GenRun a = Run();
  ASSERT_EQ(a.iExit, 0) << a.oOutput;
  // "SWEDEN 1958" 337, "Sixteen teams, " 338, the passed string, " first." 339.
  EXPECT_NE(a.oCpp.find("{337, 2}, {338, -1}, {1006, -1}, {339, 0}, {1007, 0},"), std::string::npos) << a.oCpp;
  EXPECT_NE(a.oCpp.find("\"SU\\310DE 1958\""), std::string::npos);
  EXPECT_NE(a.oOutput.find("rules: 30 of 32 paragraphs in French equal the English"), std::string::npos) << a.oOutput;
  GenRun b = Run();
  EXPECT_EQ(a.oCpp, b.oCpp);
  EXPECT_EQ(a.oHeader, b.oHeader);
}

TEST_F(GenRules, BrokenSourcesAreRefused) {
  struct Case {
    std::string en, fr, message;
  } cases[] = {
      {kGood, "[finals 58]\n2\tSUÈDE 1958\n[qual 58]\n2\tQualifying\n[qual 58 conf 1]\n0\tUEFA\n[qual 58 conf 16]\n0\tB\n",
       "has 1 paragraphs, English 2"},
      {kGood, "[finals 58]\n2\tSUÈDE 1959\n0\tSeize, %s.\n[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n",
       "digits 1959 differ from the English 1958"},
      {kGood, "[finals 58]\n1\tSUÈDE 1958\n0\tSeize, %s.\n[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n",
       "spacing differs from the English"},
      {kGood, "[finals 58]\n2\tSUÈDE 1958\n0\tSeize.\n[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n",
       "passed strings differ from the English"},
      {"[finals 58]\n2\tS 1958\n[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n",
       "[finals 58]\n2\tS 1958\n[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n", "no page qual 58 conf 16"},
      {"[finals 58]\n2\tS 1958\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n",
       "[finals 58]\n2\tS 1958\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n", "no qualifying page for 1958"},
      {std::string(kGood) + "[noteA 74]\n0\tX\n", std::string(kGood) + "[noteA 74]\n0\tX\n", "that edition has no such note"},
      {kGood, std::string(kGood) + "[qual 62 conf 3]\n0\tX\n", "page qual 62 conf 3 has no English"},
      {kGood, "[finals 58]\n2\tS\xE2\x82\xBF 1958\n", "has no Windows-1252 code"},
  };
  for (const Case& c : cases) {
    Sources(c.en, c.fr);
    GenRun r = Run();
    EXPECT_EQ(r.iExit, 1) << c.message;
    EXPECT_NE(r.oOutput.find(c.message), std::string::npos) << r.oOutput;
  }
  // Pages needing ids past 838.
  std::string big = "[finals 58]\n2\tSWEDEN 1958\n";
  for (int i = 0; i < 510; i++) big += "1\tLine " + std::string(1, static_cast<char>('a' + i % 26)) + std::string(1, static_cast<char>('a' + i / 26)) + "\n";
  big += "[qual 58]\n2\tQ\n[qual 58 conf 1]\n0\tU\n[qual 58 conf 16]\n0\tB\n";
  Sources(big, big);
  GenRun r = Run();
  EXPECT_EQ(r.iExit, 1);
  EXPECT_NE(r.oOutput.find("need text ids past 838"), std::string::npos) << r.oOutput.substr(0, 2000);
}

}  // namespace
