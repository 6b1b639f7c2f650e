// The database generator: two runs give the same bytes, and each rule of its
// sources fails the run on a small broken copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>

#include "support/temp_dir.h"
#include "tournament_env.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::readFile;

void WriteAll(const fs::path& p, const std::string& s) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << s;
}

// A copy of the sources dbgen reads.
void CopySources(const fs::path& to) {
  const fs::path from = SourceDir() / "assets";
  fs::create_directories(to);
  for (const char* sub : {"database", "match"})
    fs::copy(from / sub, to / sub, fs::copy_options::recursive);
  fs::create_directories(to / "texts");
  for (const char* sub : {"abbreviations", "teams"})
    fs::copy(from / "texts" / sub, to / "texts" / sub, fs::copy_options::recursive);
}

int RunDbgen(const fs::path& assets, const fs::path& out, std::string* pErr) {
  const fs::path err = out / "stderr.txt";
  fs::create_directories(out);
  const std::string cmd = (BuildDir() / "tools" / "dbgen").string() + " --complete '" + assets.string() + "' '" +
                          (out / "dump.dat").string() + "' '" + (out / "gen").string() + "' > /dev/null 2> '" +
                          err.string() + "'";
  const int rc = std::system(cmd.c_str());
  if (pErr) *pErr = readFile(err);
  return rc;
}

TEST(DatabaseGenerator, TwoRunsGiveEqualBytes) {
  korvena_test::TempDir tmp;
  CopySources(fs::path(tmp.path()) / "assets");
  ASSERT_EQ(RunDbgen(fs::path(tmp.path()) / "assets", fs::path(tmp.path()) / "a", nullptr), 0);
  ASSERT_EQ(RunDbgen(fs::path(tmp.path()) / "assets", fs::path(tmp.path()) / "b", nullptr), 0);
  for (const char* f : {"dump.dat", "gen/tournament/dbindex_data.cpp", "gen/tournament/dbteams_data.cpp",
                        "gen/engine/formation_data.cpp"}) {
    const std::string a = readFile(fs::path(tmp.path()) / "a" / f);
    EXPECT_FALSE(a.empty()) << f;
    EXPECT_EQ(a, readFile(fs::path(tmp.path()) / "b" / f)) << f;
  }
  // The build's own database is the same.
  EXPECT_EQ(readFile(fs::path(tmp.path()) / "a" / "dump.dat"), readFile(BuildDir() / "data" / "database" / "dump" / "dump.dat"));
}

struct Breakage {
  const char* pszFile;     // under assets/
  const char* pszPattern;  // regex of the text to replace (first match)
  const char* pszWith;
  const char* pszError;    // part of the expected message
};

TEST(DatabaseGenerator, EachRuleFailsOnABrokenSource) {
  const Breakage cases[] = {
      {"match/formations.txt", "442    0 \\| 1:R 2 13 1:L", "442    0 | 1:R 2 13", "slots, not 11"},
      {"match/formations.txt", "442    0 \\| 1:R 2 13 1:L", "442    0 | 1:R 2 2 1:L", "share position"},
      {"match/formations.txt", "442    0 \\| 1:R", "442    1 | 1:R", "slot 0 must be"},
      {"match/formations.txt", "^442 ", "424 ", "count 442"},
      {"match/formations.txt", "1351   0 .*\n", "", "not 19"},
      {"match/formations.txt", "table: 166", "table:", "not 31"},
      {"match/formations.txt", "\\| 5 19\n", "| 5 31\n", "no position code"},
      {"database/teams.txt", "\tBRA\t24\t", "\tBRA\t25\t", "must be 24"},
      {"database/teams.txt", "\tBRA\t24\t", "\tBRZ\t24\t", "is not abbreviated"},
      {"database/teams.txt", "\tENG\t51\t", "\tENG\t24\t", "given twice"},
      {"database/teams.txt", "58:10:9\\*", "58:11:9*", "rating must be 1-10"},
      {"database/teams.txt", "58:10:9\\*", "58:10:19*", "formation must be 0-18"},
      {"database/teams.txt", "58:10:9\\*", "60:10:9*", "is not yy:rating:formation"},
      {"database/teams.txt", "58:10:9\\* 62", "58:10:9* 58", "given twice"},
      {"database/teams.txt", "\tportuguese\tlatin_mixed", "\tklingon\tlatin_mixed", "no name pool"},
      {"database/teams.txt", "\tportuguese\tlatin_mixed", "\tportuguese\tmartian", "no appearance profile"},
      {"database/teams.txt", "\tWAL\t([0-9]+)\t([a-z_]+)\t([a-z_]+)\t58:([0-9]+):([0-9]+)\\*", "\tWAL\t$1\t$2\t$3\t58:$4:$5",
       "have 15 teams, not 16"},
      {"database/teams.txt", "86:8:6\\* 90", "90", "quick-match team edition BRA86"},
      {"database/profiles.txt", "colour: 0 0 1 6 8 1 2 8", "colour: 0 0 1 6 8 1 2", "8 colour"},
      {"database/unique_heads.txt", "BRA\t70 74\t4", "BRA\t70 74\t24", "no slot of his position"},
      {"database/unique_heads.txt", "\tdark\t164", "\tpurple\t164", "skin set"},
      {"database/names/german.txt", "given: ", "gifen: ", "unknown key"},
      {"texts/abbreviations/fr.txt", "Islande\tIslande\t", "Islande\tAngleterre\t", "full name Angleterre"},
      {"texts/abbreviations/de.txt", "\tKAZ\t", "\tKOR\t", "abbreviation KOR"},
      {"texts/abbreviations/it.txt", "\tSudafrica\t", "\tRepubblica Sudafricana\t", "is longer than 12"},
      {"texts/abbreviations/es.txt", "\tRepública Centroafricana\t", "\tRepública Centroafricana X\t", "longer than 24"},
      {"texts/teams/all.txt", "\tBurma", "\tBirma", "not the English full name Burma"},
  };
  for (const Breakage& c : cases) {
    SCOPED_TRACE(c.pszError);
    korvena_test::TempDir tmp;
    CopySources(fs::path(tmp.path()) / "assets");
    const fs::path f = fs::path(tmp.path()) / "assets" / c.pszFile;
    const std::string before = readFile(f);
    const std::string after =
        std::regex_replace(before, std::regex(c.pszPattern, std::regex::multiline), c.pszWith,
                           std::regex_constants::format_first_only);
    ASSERT_NE(before, after);
    WriteAll(f, after);
    std::string err;
    EXPECT_NE(RunDbgen(fs::path(tmp.path()) / "assets", fs::path(tmp.path()) / "out", &err), 0);
    EXPECT_NE(err.find(c.pszError), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(fs::path(tmp.path()) / "out" / "dump.dat"));
  }
}

}  // namespace
