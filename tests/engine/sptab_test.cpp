// Set-piece position tables: the generator's refusals (each naming its line
// or its key), the shipped source against the zone table, and the engine's
// three lookups over the generated tables.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/sptab.h"
#include "sptabgen.h"
#include "zonegen.h"

namespace {

std::string ReadSource(const char* rel) {
  std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/" + rel, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

sptabgen::ZoneFacts ShippedZones() {
  zonegen::Table t;
  std::vector<std::string> errors;
  EXPECT_TRUE(zonegen::Build(ReadSource("assets/match/zones.txt"), &t, &errors));
  return sptabgen::FactsFromZoneTable(t);
}

std::string Shipped() { return ReadSource("assets/setpieces/positions.txt"); }

// The shipped source with one line replaced (1-based line number).
std::string WithLine(int n, const std::string& replacement) {
  std::istringstream in(Shipped());
  std::ostringstream out;
  std::string line;
  for (int i = 1; std::getline(in, line); i++) out << (i == n ? replacement : line) << '\n';
  return out.str();
}

int LineOf(const std::string& text, const std::string& start, int nth = 1) {
  std::istringstream in(text);
  std::string line;
  for (int i = 1; std::getline(in, line); i++)
    if (line.rfind(start, 0) == 0 && --nth == 0) return i;
  return 0;
}

bool ParseOk(const std::string& text, std::vector<std::string>* errors, sptabgen::Tables* t = nullptr) {
  sptabgen::Tables local;
  return sptabgen::Parse(text, "pos.txt", t ? t : &local, errors);
}

bool Contains(const std::vector<std::string>& errors, const std::string& what) {
  for (const auto& e : errors)
    if (e.find(what) != std::string::npos) return true;
  return false;
}

TEST(SpTabGen, ShippedSourcePassesEveryCheck) {
  sptabgen::Tables t;
  std::vector<std::string> errors;
  ASSERT_TRUE(ParseOk(Shipped(), &errors, &t)) << errors[0];
  EXPECT_TRUE(sptabgen::Validate(t, ShippedZones(), &errors)) << errors[0];
}

TEST(SpTabGen, BrokenSourcesNameTheirLine) {
  const std::string src = Shipped();
  const int firstThrow = LineOf(src, "  throw near");
  const int firstFk = LineOf(src, "  freekick ");
  struct Case {
    std::string text;
    int line;
    const char* reason;
  } cases[] = {
      {WithLine(firstThrow, "  throw near 77 78 79 | 80"), firstThrow, "expected 8 groups"},
      {WithLine(firstThrow, "  throw near 77 78 79 80 | 1 | 1 | 1 | 1 | 1 | 1 | 1"), firstThrow,
       "each group holds one to three zone ids"},
      {WithLine(firstThrow, "  throw near 77 x 79 | 1 | 1 | 1 | 1 | 1 | 1 | 1"), firstThrow, "not a zone id"},
      {WithLine(firstThrow, "  throw sideways 1"), firstThrow, "unknown line"},
      {WithLine(firstFk, "  freekick defend 42 43"), firstFk, "expected 7 zone ids"},
      {WithLine(LineOf(src, "row 784"), "row"), LineOf(src, "row 784"), "expected 'row <key>'"},
      {"  corner defend 49\n", 1, "a table line before the first 'row'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> errors;
    EXPECT_FALSE(ParseOk(c.text, &errors)) << c.reason;
    EXPECT_TRUE(Contains(errors, "pos.txt:" + std::to_string(c.line) + ": " + c.reason))
        << c.reason << " / " << (errors.empty() ? "none" : errors[0]);
  }
  // A line given twice, a missing line, a truncated source.
  std::vector<std::string> errors;
  const int cornerDefend = LineOf(src, "  corner defend");
  EXPECT_FALSE(ParseOk(WithLine(cornerDefend, "  corner near 37"), &errors));
  EXPECT_TRUE(Contains(errors, "given twice"));
  EXPECT_TRUE(Contains(errors, "has no 'corner defend' line"));
  errors.clear();
  EXPECT_FALSE(ParseOk(src.substr(0, src.size() / 2), &errors));
  EXPECT_FALSE(errors.empty());
  errors.clear();
  EXPECT_FALSE(ParseOk(src + "row 461\n", &errors));
  EXPECT_TRUE(Contains(errors, "more than 25 rows"));
  errors.clear();
  std::string corrupt = src;
  corrupt[corrupt.size() / 3] = '\0';
  EXPECT_FALSE(ParseOk(corrupt, &errors));
}

TEST(SpTabGen, ValidatorRefusals) {
  const sptabgen::ZoneFacts zones = ShippedZones();
  sptabgen::Tables good;
  std::vector<std::string> errors;
  ASSERT_TRUE(ParseOk(Shipped(), &errors, &good));
  auto refused = [&](const sptabgen::Tables& t, const sptabgen::ZoneFacts& z, const std::string& what) {
    std::vector<std::string> e;
    EXPECT_FALSE(sptabgen::Validate(t, z, &e)) << what;
    EXPECT_TRUE(Contains(e, what)) << what << " / " << (e.empty() ? "none" : e[0]);
  };
  sptabgen::Tables t = good;
  std::swap(t.throwIn[2], t.throwIn[3]);  // keys out of order
  refused(t, zones, "row 3: key 1236, expected 1194");
  t = good;
  t.corner[24][0] = 461;  // the corner table's last row is keyed 0
  refused(t, zones, "row 25: corner key 461");
  t = good;
  t.freeKick[0][13] = 51;  // the fixed example of key 461
  refused(t, zones, "row 461: free-kick row differs");
  t = good;
  t.corner[1][2] = 38;
  refused(t, zones, "row 784: corner row differs");
  t = good;
  t.throwIn[5][1 + 3 * 9] = 77;  // a throw-in group of kind 9
  refused(t, zones, "row 600: throw-in kind 9 holds a zone");
  t = good;
  t.throwIn[1][49] = 104;  // not in tree 784
  refused(t, zones, "key 784: throw-in far option of kind 0 names zone 104, not in the tree");
  t = good;
  t.throwIn[1][49] = 89;  // 784 has its far-side places; 461 alone may lack them
  std::vector<std::string> e;
  EXPECT_TRUE(sptabgen::Validate(t, zones, &e));
  t = good;
  t.throwIn[0][1] = 89;  // ... but only on the far side
  refused(t, zones, "key 461: throw-in near option of kind 0 names zone 89");

  // Zones the set pieces look up by id.
  sptabgen::ZoneFacts z = zones;
  auto drop = [&](std::int32_t root, std::int32_t id) {
    for (std::size_t i = 0; i < z.roots.size(); i++)
      if (z.roots[i] == root)
        for (auto& zone : z.zones[i])
          if (zone.id == id) zone.id = 9999;
  };
  drop(z.attackTrees[3], 35);
  refused(good, z, "tree " + std::to_string(z.attackTrees[3]) + ": no zone 35");
  z = zones;
  drop(1072, 17);
  refused(good, z, "tree 1072: no zone 17 (goal-kick and keeper's aim)");
  z = zones;
  drop(201, 129);
  refused(good, z, "tree 201: no zone 129 (corner aim)");
  z = zones;
  for (std::size_t i = 0; i < z.roots.size(); i++)
    if (z.roots[i] == 720)
      for (auto& zone : z.zones[i])
        if (zone.id == 15) zone.width = 500;
  refused(good, z, "tree 720: zone 15 too small");
}

TEST(SpTab, LookupsReadTheRowsAsTheFormatSays) {
  const std::int32_t* p = nullptr;
  ASSERT_EQ(sptab_NearSideGet(461, 0, &p), 1);
  EXPECT_EQ(p[0], 77);
  EXPECT_EQ(p[2], 79);
  ASSERT_EQ(sptab_NearSideGet(461, 3, &p), 1);
  EXPECT_EQ(p[0], 85);
  EXPECT_EQ(p[1], -1);
  EXPECT_EQ(p[2], -1);
  ASSERT_EQ(sptab_FarSideGet(461, 7, &p), 1);
  EXPECT_EQ(p[0], 91);
  ASSERT_EQ(sptab_DefenceGet(461, 5, &p), 1);
  EXPECT_EQ(*p, 110);
  ASSERT_EQ(sptab_NearSideGet(784, 8, &p), 1);
  EXPECT_EQ(p[0], 37);
  EXPECT_EQ(p[1], -1);
  ASSERT_EQ(sptab_DefenceGet(784, 8, &p), 1);
  EXPECT_EQ(*p, 49);
  ASSERT_EQ(sptab_NearSideGet(461, 13, &p), 1);
  EXPECT_EQ(p[0], 50);
  ASSERT_EQ(sptab_DefenceGet(461, 15, &p), 1);
  EXPECT_EQ(*p, 48);
  ASSERT_EQ(sptab_DefenceGet(784, 9, &p), 1);
  EXPECT_EQ(*p, 42);
  // Free kicks: near and far are the same three ids, for every key and kind.
  for (int r = 0; r < SPTAB_ROWS - 1; r++)
    for (int k = 9; k <= 15; k++) {
      const std::int32_t *pn = nullptr, *pf = nullptr;
      ASSERT_EQ(sptab_NearSideGet(sptab_aFreeKick[r][0], k, &pn), 1);
      ASSERT_EQ(sptab_FarSideGet(sptab_aFreeKick[r][0], k, &pf), 1);
      EXPECT_EQ(pn, pf);
    }
}

TEST(SpTab, AKeyWithNoRowLeavesThePointerAlone) {
  const std::int32_t sentinel = 5;
  const std::int32_t* p = &sentinel;
  EXPECT_EQ(sptab_NearSideGet(12345, 0, &p), 0);
  EXPECT_EQ(sptab_FarSideGet(0, 3, &p), 0);  // 0 keys only the corner table's unreached row
  EXPECT_EQ(sptab_DefenceGet(-1, 12, &p), 0);
  EXPECT_EQ(p, &sentinel);
  // The corner table's key-0 row is reached only by key 0.
  EXPECT_EQ(sptab_NearSideGet(0, 8, &p), 1);
}

TEST(SpTabDeathTest, AKindOutsideTheTablesAsserts) {
  const std::int32_t* p = nullptr;
  EXPECT_DEATH(sptab_NearSideGet(461, 16, &p), "iKind");
  EXPECT_DEATH(sptab_FarSideGet(461, -1, &p), "iKind");
  EXPECT_DEATH(sptab_DefenceGet(461, 1000, &p), "iKind");
}

}  // namespace
