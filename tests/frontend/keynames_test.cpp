// The key-name generator: the shipped list gives the table of 76 keys, and
// damaged lists (a code twice, a preset key without a name, Escape allowed,
// a name that is not its English text, cut or garbled lines) are refused
// without writing a table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class KeyNames : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    const char* source = std::getenv("KORVENA_SOURCE_DIR");
    ASSERT_NE(build, nullptr);
    ASSERT_NE(source, nullptr);
    exe_ = fs::path(build) / "tools" / "genkeynames";
    ASSERT_TRUE(fs::exists(exe_)) << exe_;
    list_ = korvena_test::readFile((fs::path(source) / "assets" / "frontend" / "keynames.txt").string());
    english_ = (fs::path(source) / "assets" / "texts" / "frontend" / "en.txt").string();
    ASSERT_FALSE(list_.empty());
  }
  korvena_test::ToolRun Generate(const std::string& text) {
    dir_.write("keys.txt", text);
    fs::remove(dir_ / "out.cpp");
    return korvena_test::runTool(exe_.string() + " " + (dir_ / "keys.txt") + " " + english_ + " " + (dir_ / "out.cpp"));
  }
  // The list with one line's text replaced.
  std::string With(const std::string& from, const std::string& to) const {
    std::string s = list_;
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  }
  fs::path exe_;
  std::string list_, english_;
  korvena_test::TempDir dir_;
};

TEST_F(KeyNames, TheShippedListGivesSeventySixKeysWithTheirTexts) {
  korvena_test::ToolRun r = Generate(list_);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const std::string out = korvena_test::readFile(dir_ / "out.cpp");
  EXPECT_NE(out.find("{11, 203, 1},  // 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("{57, 239, 1},  // SPACE\n"), std::string::npos) << out;
  EXPECT_NE(out.find("{15, 277, 0},  // TAB\n"), std::string::npos) << out;
  EXPECT_NE(out.find("{1, 839, 0},  // ESCAPE\n"), std::string::npos) << out;
}

TEST_F(KeyNames, DamagedListsAreRefusedWithoutATable) {
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  };
  std::string cut = list_;
  cut.resize(cut.size() / 2);  // mid-line
  const Case cases[] = {
      {"a code twice", With("\n37\tK\t1\n", "\n36\tK\t1\n"), "given twice"},
      {"a name twice", With("\n37\tK\t1\n", "\n37\tJ\t1\n"), "given twice"},
      {"a preset key without a name", With("\n36\tJ\t1\n", "\n68\tJ\t1\n"), "has no name"},
      {"Escape allowed", With("\n1\tESCAPE\t0", "\n1\tESCAPE\t1"), "must not be allowed"},
      {"Tab allowed", With("\n15\tTAB\t0\n", "\n15\tTAB\t1\n"), "must not be allowed"},
      {"a name that is not its text", With("\n37\tK\t1\n", "\n37\tKAY\t1\n"), "is not 'KAY'"},
      {"a row missing", With("\n37\tK\t1\n", "\n"), "has 75 keys"},
      {"cut short", cut, "keys, expected 76"},
      {"a code out of range", With("\n37\tK\t1\n", "\n300\tK\t1\n"), "not in 1..254"},
      {"a flag out of range", With("\n37\tK\t1\n", "\n37\tK\t2\n"), "not 0 or 1"},
      {"a line without tabs", With("\n37\tK\t1\n", "\n37 K 1\n"), "separated by tabs"},
  };
  for (const Case& c : cases) {
    korvena_test::ToolRun r = Generate(c.text);
    EXPECT_NE(r.exitCode, 0) << c.what;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << ": " << r.out;
    EXPECT_FALSE(fs::exists(dir_ / "out.cpp")) << c.what;
  }
}

}  // namespace
