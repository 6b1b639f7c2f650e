// The year-file generator: the authored edition sources give the year files
// of every language, and every kind of broken source fails the run with the
// file and line of the fault and writes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tournament_env.h"

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void FileWrite(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary | std::ios::trunc) << s; }

struct Outcome {
  int rc = 0;
  std::string errors;
  bool bWrote = false;
};

// A scratch copy of the sources tmgen reads, with one edition source
// replaced, and the outcome of running tmgen over it.
class TmgenRun {
 public:
  TmgenRun() {
    const fs::path from = SourceDir() / "assets";
    fs::create_directories(root_ / "assets" / "texts");
    fs::copy(from / "tournament", root_ / "assets" / "tournament", fs::copy_options::recursive);
    fs::copy(from / "database", root_ / "assets" / "database", fs::copy_options::recursive);
    for (const char* sub : {"teams", "frontend", "abbreviations"})
      fs::copy(from / "texts" / sub, root_ / "assets" / "texts" / sub, fs::copy_options::recursive);
  }
  fs::path Source(int year) const { return root_ / "assets" / "tournament" / "editions" / (std::to_string(year) + ".txt"); }
  Outcome Go() const {
    const fs::path out = root_ / "out";
    const std::string cmd = (BuildDir() / "tools" / "tmgen").string() + " '" + (root_ / "assets").string() + "' '" +
                            (out / "data").string() + "' '" + (out / "stadiums.cpp").string() + "' '" +
                            (out / "conf.cpp").string() + "' 2>'" + (root_ / "errors.txt").string() + "'";
    Outcome r;
    r.rc = std::system(cmd.c_str());
    r.errors = FileText(root_ / "errors.txt");
    r.bWrote = fs::exists(out);
    return r;
  }

 private:
  korvena_test::TempDir dir_;  // a folder of this run's own, removed with it
  fs::path root_ = dir_.path();
};

// The line number (from 1) of the first line holding the text.
int LineOf(const std::string& text, const std::string& what) {
  const size_t at = text.find(what);
  if (at == std::string::npos) return -1;
  int n = 1;
  for (size_t i = 0; i < at; i++) n += text[i] == '\n';
  return n;
}

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

}  // namespace

TEST(Tmgen, TheAuthoredSourcesGiveEveryYearFile) {
  TmgenRun run;
  const Outcome r = run.Go();
  ASSERT_EQ(r.rc, 0) << r.errors;
  EXPECT_TRUE(r.bWrote);
  // The generated tree the tests read holds 132 year files.
  int c = 0;
  for (const auto& e : fs::recursive_directory_iterator(BuildDir() / "data" / "database" / "tm"))
    if (e.path().extension() == ".csv") c++;
  EXPECT_EQ(c, 132);
}

// Each broken source: the line changed (found by a text on it), its
// replacement and the message wanted, which names the file and the line.
TEST(Tmgen, BrokenSourcesFailWithTheirMessageAndWriteNothing) {
  const struct {
    const char* from;
    const char* to;
    const char* message;
    const char* at = nullptr;  // a text of the line reported, when not the changed one
  } cases[] = {
      {"| ENG IRL DEN", "| ENG IRL XYZ", "unknown team XYZ"},
      {"5/12/56 8/5/57", "35/12/56 8/5/57", "bad date 35/12/56"},
      {"5/12/56 8/5/57", "8/5/57", "6 dates wanted (a date a pairing), found 5"},
      {"5/12/56 8/5/57", "5/12/56 5/12/56", "a team plays twice on 05/12/56"},
      {"*N1.1*a *N2.1*a", "*N1.1*a *N2.1*a CUR", "an aggregate tie is two teams over two legs"},
      {"| N2 | 1 |", "| N5 | 1 |", "*N2.1*a names round N2.1, which does not exist", "*N1.1*a *N2.1*a"},
      {"| w * - - | 1/5/57", "| w - - - | 1/5/57", "*4.1*b: place b of 4.1 does not pass its team on", "*AF4.1*a *4.1*b"},
      {"*N1.1*a *N2.1*a", "*N1.1*c *N2.1*a", "placeholder *N1.1*c is not a team name"},
      {"| CRC GUA CUR", "| CRC GUA", "CUR entered but plays no qualifier"},
      {"| ENG IRL DEN", "| ENG IRL SWE", "the host SWE plays no qualifier"},
      {"| HUN BGR NOR FRG", "| HUN BGR NOR", "the holder FRG is missing from the qualifiers"},
      // The finals' first stage: every slot one route, every route one slot.
      {"HUN=*3.1*a", "HUN=*3.1*a=*5.1*a", "HUN: two routes into one slot"},
      {"AUT=*5.1*a", "AUT=*3.1*a", "*3.1*a fills two slots"},
      {"AUT=*5.1*a", "AUT=*3.1*a", "*5.1*a fills no finals slot", "edition 1958"},
      {"ENG=*1.1*a", "ENG", "ENG: a slot without a route"},
      {"MEX=*N3.1*a", "MEX=*N1.1*a", "*N1.1*a is no way into the finals"},
      {"YUG=*7.1*a PAR=*S3.1*a SCO=*9.1*a", "YUG=*9.1*a PAR=*S3.1*a SCO=*7.1*a", "YUG cannot come through *9.1*a"},
      {"| FRG NIR", "| FRG=*3.1*a NIR", "FRG: the host and the holder come in directly"},
      {"| SWE MEX", "| SWE=*N3.1*a MEX", "the host and the holder stand once each", "edition 1958"},
      {"| *1.1*a *2.1*b", "| *1.1*a=*2.1*a *2.1*b", "a route only in the finals' first stage"},
      {"| po | w - - - | 5/12/56", "| po | o - - - | 5/12/56", "13 qualifying places for 14 finalists"},
      {"Q | UEFA | 1 |", "Q | EUROPE | 1 |", "unknown zone \"EUROPE\""},
      {"| ha | po | w - - - | 5/12/56", "| hx | po | w - - - | 5/12/56", "unknown format \"hx\""},
      {"| ha | po | w - - - | 5/12/56", "| ha | pp | w - - - | 5/12/56", "unknown tie-break \"pp\""},
      {"| Malmo | *1.1*a", "| Paris | *1.1*a", "no venue of SWE in Paris in 1958"},
      {"MEX=*N3.1*a", "ISR=*N3.1*a", "the finals do not list the edition's finalists", "edition 1958"},
      {"19/6/58 | Solna", "14/6/58 | Solna", "*3.1*a is played before round 3.1 ends"},
      {"| ko1 | - | * o - - | 19/6/58 | Solna", "| ko1 | - | * o - - x | 19/6/58 | Solna", "four place codes wanted"},
      {"| po | w - - - | 5/12/56", "| po | wxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx - - - | 5/12/56", "place code 1 too long"},
      {"Q | UEFA | 2 | 1 |", "Q | UEFA | 1 | 1 |", "round 1.1 twice", "| FRA BEL ISL"},
      {"| ENG IRL DEN", "| ENG IRL ENG", "team ENG twice in the round"},
      {"| po | w - - - | 5/12/56", "| po | w * - - | 5/12/56", "place b of 1.1 passes its team on, but no round takes it"},
      {"| ko1 | - | * o - - | 19/6/58 | Solna", "| ko1 | - | * * - - | 19/6/58 | Solna", "place b of QF.3 passes its team on"},
      {"Q | CONMEBOL | S1", "Q | CONMEBOL | S1 | extra", "11 fields separated by '|' wanted"},
  };
  const std::string good = FileText(SourceDir() / "assets" / "tournament" / "editions" / "1958.txt");
  ASSERT_FALSE(good.empty());
  for (const auto& c : cases) {
    TmgenRun run;
    const std::string broken = Replaced(good, c.from, c.to);
    FileWrite(run.Source(1958), broken);
    const Outcome r = run.Go();
    EXPECT_NE(r.rc, 0) << c.message;
    EXPECT_FALSE(r.bWrote) << c.message;
    EXPECT_NE(r.errors.find(c.message), std::string::npos) << "wanted: " << c.message << "\ngot:\n" << r.errors;
    // Faults of one line name it.
    const int line = LineOf(broken, c.at ? c.at : c.to);
    if (r.errors.find("tmgen: editions/1958.txt: ") == std::string::npos) {
      EXPECT_NE(r.errors.find("editions/1958.txt:" + std::to_string(line) + ": "), std::string::npos)
          << c.message << "\n" << r.errors;
    }
  }
}

TEST(Tmgen, TruncatedAndCorruptedSourcesFailCleanly) {
  const std::string good = FileText(SourceDir() / "assets" / "tournament" / "editions" / "1998.txt");
  ASSERT_GT(good.size(), 1000u);
  std::vector<std::string> bad;
  // Cut at several points, in the middle of a line.
  for (size_t cut : {size_t{10}, good.size() / 3, good.size() / 2, good.size() - 7}) bad.push_back(good.substr(0, cut));
  // Bytes changed to control characters, a line of noise, no header.
  std::string ctl = good;
  ctl[good.size() / 2] = '\x01';
  bad.push_back(ctl);
  bad.push_back(good + "Q | @@@ | | | | | | | | |\n");
  bad.push_back(Replaced(good, "edition 1998 FRA BRA", "edition 1998 FRA"));
  bad.push_back(Replaced(good, "edition 1998 FRA BRA", "edition 1998 ITA BRA"));
  std::string noise;
  for (int i = 0; i < 3000; i++) noise += static_cast<char>(32 + (i * 7919) % 95);
  bad.push_back(noise + "\n");
  for (size_t i = 0; i < bad.size(); i++) {
    TmgenRun run;
    FileWrite(run.Source(1998), bad[i]);
    const Outcome r = run.Go();
    EXPECT_NE(r.rc, 0) << i;
    EXPECT_FALSE(r.bWrote) << i;
    EXPECT_NE(r.errors.find("editions/1998.txt"), std::string::npos) << i << "\n" << r.errors;
    EXPECT_LT(r.errors.size(), 200000u) << i;
  }
}
