// The quick-match table generator: the shipped table becomes 154 rows of
// {team id, one-bit edition mask}; a table with a wrong row count, an unknown
// name, a year that is no edition, an edition the team did not enter or a
// team without kits is refused with a message and writes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using korvena_test::ToolRun;

using korvena_test::readFile;

class QuickTable : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    const char* source = std::getenv("KORVENA_SOURCE_DIR");
    ASSERT_NE(build, nullptr);
    ASSERT_NE(source, nullptr);
    exe_ = fs::path(build) / "tools" / "korvena_quickgen";
    assets_ = fs::path(source) / "assets";
    ASSERT_TRUE(fs::exists(exe_)) << exe_;
    shipped_ = readFile(assets_ / "frontend" / "quickmatch.txt");
    kits_ = readFile(assets_ / "kits" / "kits.txt");
  }
  // Runs the generator on a table (and kits) of our own.
  ToolRun Run(const std::string& table, const std::string& kits) {
    dir_.write("table.txt", table);
    dir_.write("kits.txt", kits);
    return korvena_test::runTool(exe_.string() + " --table " + (dir_ / "table.txt") + " --names " +
                                 (assets_ / "texts" / "abbreviations" / "en.txt").string() + " --teams " +
                                 (assets_ / "database" / "teams.txt").string() + " --kits " + (dir_ / "kits.txt") +
                                 " --out " + (dir_ / "out.cpp"));
  }
  fs::path exe_, assets_;
  std::string shipped_, kits_;
  korvena_test::TempDir dir_;
};

TEST_F(QuickTable, TheShippedTableBecomesItsRows) {
  ToolRun r = Run(shipped_, kits_);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const std::string out = readFile(dir_ / "out.cpp");
  // Argentina 1978 first, Wales 1994 last.
  EXPECT_NE(out.find("{142u, 0x20u},  // Argentina 1978\n"), std::string::npos) << out.substr(0, 400);
  EXPECT_NE(out.find("{144u, 0x1u},  // Brazil 1958\n"), std::string::npos);
  EXPECT_NE(out.find("u, 0x200u},  // Wales 1994\n};\n"), std::string::npos);
  std::size_t rows = 0;
  for (std::size_t at = out.find("u},  // "); at != std::string::npos; at = out.find("u},  // ", at + 1)) rows++;
  EXPECT_EQ(rows, 154u);
}

TEST_F(QuickTable, BadTablesAreRefusedAndWriteNothing) {
  const std::string first = "Argentina, 1978\n";
  auto replaced = [&](const std::string& with) {
    std::string t = shipped_;
    t.replace(t.find(first), first.size(), with);
    return t;
  };
  std::string noBrazilKits = kits_;
  noBrazilKits.replace(noBrazilKits.find("\nBRA "), 5, "\nXXX ");
  struct Case {
    const char* what;
    std::string table, kits;
    const char* message;
  } cases[] = {
      {"a row missing", replaced(""), kits_, "153 rows, not 154"},
      {"a row too many", shipped_ + first, kits_, "155 rows, not 154"},
      {"an unknown name", replaced("Atlantis, 1978\n"), kits_, "\"Atlantis\" is no team's English name"},
      {"a short name", replaced("W.Germany, 1974\n"), kits_, "\"W.Germany\" is no team's English name"},
      {"no comma", replaced("Argentina 1978\n"), kits_, "not \"name, year\""},
      {"a year off the editions", replaced("Argentina, 1980\n"), kits_, "1980 is no edition"},
      {"a year out of range", replaced("Argentina, 2002\n"), kits_, "2002 is no edition"},
      {"an edition not entered", replaced("Germany, 1958\n"), kits_, "Germany has no squad for 1958"},
      {"a team without kits", shipped_, noBrazilKits, "Brazil has no kits"},
  };
  for (const Case& c : cases) {
    fs::remove(dir_ / "out.cpp");
    ToolRun r = Run(c.table, c.kits);
    EXPECT_NE(r.exitCode, 0) << c.what;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << ": " << r.out;
    EXPECT_FALSE(fs::exists(dir_ / "out.cpp")) << c.what;
  }
}

}  // namespace
