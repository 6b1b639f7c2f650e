// The zone generator: the authored source lays out and passes its checks;
// small breaks of it fail with a message that names the fault; the support
// grid keeps its given cells.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "zonegen.h"

namespace {

std::string ReadAsset(const char* name) {
  std::ifstream f(std::string(KORVENA_SOURCE_DIR) + "/assets/match/" + name);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Builds and checks; returns all messages joined ("" when it passes).
std::string Check(const std::string& text) {
  zonegen::Table t;
  std::vector<std::string> errors;
  if (zonegen::Build(text, &t, &errors)) zonegen::Validate(t, &errors);
  std::string all;
  for (const std::string& e : errors) all += e + "\n";
  return all;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  size_t p = s.find(from);
  EXPECT_NE(p, std::string::npos) << from;
  if (p != std::string::npos) s.replace(p, from.size(), to);
  return s;
}

TEST(ZoneGen, GridEdgesRoundToTheStepsOfTheRootRectangle) {
  EXPECT_EQ(zonegen::EdgeX(0), -9453);
  EXPECT_EQ(zonegen::EdgeX(1), -8726);
  EXPECT_EQ(zonegen::EdgeX(2), -7999);
  EXPECT_EQ(zonegen::EdgeX(4), -6544);
  EXPECT_EQ(zonegen::EdgeX(26), 9454);
  EXPECT_EQ(zonegen::EdgeY(0), -5817);
  EXPECT_EQ(zonegen::EdgeY(4), -2908);
  EXPECT_EQ(zonegen::EdgeY(5), -2181);
  EXPECT_EQ(zonegen::EdgeY(8), 0);
  EXPECT_EQ(zonegen::EdgeY(16), 5818);
  for (int k = 1; k <= 26; k++) {
    int step = zonegen::EdgeX(k) - zonegen::EdgeX(k - 1);
    EXPECT_TRUE(step == 727 || step == 728) << k;
  }
}

TEST(ZoneGen, AuthoredTablePassesAndKeepsTheGivenRecords) {
  zonegen::Table t;
  std::vector<std::string> errors;
  ASSERT_TRUE(zonegen::Build(ReadAsset("zones.txt"), &t, &errors)) << (errors.empty() ? "" : errors[0]);
  ASSERT_TRUE(zonegen::Validate(t, &errors)) << errors[0];
  ASSERT_EQ(t.records.size(), 2293u);
  EXPECT_EQ(t.trees.size(), 112u);
  struct Given {
    int index, id, x, y, w, h, hit, miss;
  } given[] = {
      {0, 15, -8726, -2181, 2181, 2181, -1, -1},
      {1, 8, -6544, -2181, 727, 2181, -1, 0},
      {13, 1, -9453, -2908, 3636, 2908, 1, 12},
      {14, 0, -9453, -5817, 18907, 11635, 13, -1},
  };
  for (const Given& g : given) {
    const zonegen::Record& r = t.records[g.index];
    EXPECT_EQ(r.id, g.id) << g.index;
    EXPECT_EQ(r.x, g.x) << g.index;
    EXPECT_EQ(r.y, g.y) << g.index;
    EXPECT_EQ(r.w, g.w) << g.index;
    EXPECT_EQ(r.h, g.h) << g.index;
    EXPECT_EQ(r.hit, g.hit) << g.index;
    EXPECT_EQ(r.miss, g.miss) << g.index;
  }
  // The role table as the design gives it (a few rows).
  EXPECT_EQ(t.roles[0].aw[0], 223);
  EXPECT_EQ(t.roles[7].aw[1], 14);
  EXPECT_EQ(t.roles[24].aw[3], 1798);
  EXPECT_EQ(t.roles[24].aw[6], 72);
  // The map of a tree shows its classes and zones.
  std::string map = zonegen::Show(t, 14, 0);
  EXPECT_NE(map.find("zone 15 (record 0)"), std::string::npos) << map;
}

TEST(ZoneGen, KickOffPlacesLieInTheOwnHalfOrderedByLine) {
  zonegen::Table t;
  std::vector<std::string> errors;
  ASSERT_TRUE(zonegen::Build(ReadAsset("zones.txt"), &t, &errors));
  auto kickoffCentre = [&](int code) {
    int root = t.roles[code].aw[1];
    for (int i = root - 1; i >= 0 && t.records[i].id != 0; i--)
      if (t.records[i].id == 35) {
        EXPECT_LE(t.records[i].x + t.records[i].w, 0) << "role " << code;
        return t.records[i].x + t.records[i].w / 2;
      }
    ADD_FAILURE() << "no kick-off zone for role " << code;
    return 0;
  };
  // Sweeper < back line < midfield < attack.
  const int sweeper[] = {24};
  const int back[] = {1, 2, 6, 7, 8, 12, 13};
  const int mid[] = {3, 4, 9, 10, 11, 14, 15, 16, 17, 18};
  const int attack[] = {5, 19, 20, 22, 23};
  auto maxOf = [&](const auto& codes) {
    int m = -100000;
    for (int c : codes) m = std::max(m, kickoffCentre(c));
    return m;
  };
  auto minOf = [&](const auto& codes) {
    int m = 100000;
    for (int c : codes) m = std::min(m, kickoffCentre(c));
    return m;
  };
  EXPECT_LT(maxOf(sweeper), minOf(back));
  EXPECT_LT(maxOf(back), minOf(mid));
  EXPECT_LT(maxOf(mid), minOf(attack));
}

TEST(ZoneGen, BackLineBehindMidfieldBehindAttackForEveryBallClass) {
  zonegen::Table t;
  std::vector<std::string> errors;
  ASSERT_TRUE(zonegen::Build(ReadAsset("zones.txt"), &t, &errors));
  const std::vector<int> lines[3] = {{1, 2, 6, 7, 8, 12, 13, 24}, {3, 4, 9, 10, 11, 14, 15, 16, 17, 18},
                                     {5, 19, 20, 21, 22, 23}};
  // Stations 8..14 stand for the ball in classes 1..7.
  for (int phase = 0; phase < 2; phase++)
    for (int id = 8; id <= 14; id++) {
      int lo[3], hi[3];
      for (int l = 0; l < 3; l++) {
        lo[l] = 1 << 30, hi[l] = -(1 << 30);
        for (int code : lines[l]) {
          int root = t.roles[code].aw[phase];
          for (int i = root - 1; i >= 0 && t.records[i].id != 0; i--)
            if (t.records[i].id == id && !t.records[i].raw) {
              int cx = t.records[i].x + t.records[i].w / 2;
              lo[l] = std::min(lo[l], cx), hi[l] = std::max(hi[l], cx);
              break;
            }
        }
      }
      if (hi[0] > -(1 << 30) && lo[1] < (1 << 30)) {
        EXPECT_LT(hi[0], lo[1]) << "phase " << phase << " station " << id;
      }
      if (hi[1] > -(1 << 30) && lo[2] < (1 << 30)) {
        EXPECT_LT(hi[1], lo[2]) << "phase " << phase << " station " << id;
      }
      // Defending: the team stays within 30 to 45 metres (about 178 units a metre).
      if (phase == 1 && hi[2] > -(1 << 30) && lo[0] < (1 << 30)) {
        EXPECT_LE(hi[2] - lo[0], 45 * 178) << id;
      }
    }
}

TEST(ZoneGen, EachCheckRefusesABrokenSource) {
  const std::string src = ReadAsset("zones.txt");
  ASSERT_EQ(Check(src), "");
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"a record too many", Replace(src, "tree 720 near and far\n", "tree 720 near and far\n  8 x 1-2 y 1-2\n"),
       "tree 720: 4 records where the next root leaves room for 3"},
      {"an id outside the ranges", Replace(src, "tree 720 near and far\n  8 x", "tree 720 near and far\n  20 x"),
       "id outside 1..19"},
      {"a box past the pitch", Replace(src, "  8 x 24-25 y 6-8\n  15 x 24-25 y 8-10\n\ntree 1500",
                                       "  8 x 24-27 y 6-8\n  15 x 24-25 y 8-10\n\ntree 1500"),
       "cells outside the grid"},
      {"an empty box", Replace(src, "  8 x 24-25 y 6-8\n  15 x 24-25 y 8-10\n\ntree 1500",
                               "  8 x 24-24 y 6-8\n  15 x 24-25 y 8-10\n\ntree 1500"),
       "narrower than one cell"},
      {"a root moved", Replace(src, "tree 720 near and far", "tree 721 near and far"), "tree 721: 3 records where the next root leaves room for 4"},
      {"a tree given twice", src + "tree 720 again\n  8 x 1-2 y 1-2\n", "tree 720: given twice"},
      {"a pinned id missing", Replace(src, "tree 720 near and far\n  8 x", "tree 720 near and far\n  9 x"),
       "tree 720: its zone ids differ"},
      {"classes overlapping", Replace(src, "template classes\n  1 x 0-9 y 4-12", "template classes\n  1 x 0-10 y 4-12"),
       "class zones"},
      {"a kick-off place missing", Replace(src, "template restarts\n  35 x", "template restarts\n  37 x"),
       "lacks zone 35"},
      {"an unknown template", Replace(src, "use aims", "use nothing"), "unknown template 'nothing'"},
      {"a bad line", Replace(src, "tree 720 near and far\n  8 x 24-25", "tree 720 near and far\n  8 x 24"),
       "bad cell range"},
      {"a role missing", Replace(src, "role  3 ", "# "), "role 3 missing"},
  };
  for (const Case& c : cases) {
    std::string got = Check(c.text);
    EXPECT_NE(got.find(c.message), std::string::npos) << c.what << ": " << got.substr(0, 400);
  }
}

TEST(ZoneGen, SupportGridKeepsTheGivenCellsAndRises) {
  std::vector<std::uint8_t> g;
  std::vector<std::string> errors;
  ASSERT_TRUE(zonegen::BuildGrid(ReadAsset("support_grid.txt"), &g, &errors)) << errors[0];
  ASSERT_EQ(g.size(), 48u * 156u);
  // The design's telling rows, columns 0..11 / 72..83 / 144..155.
  const int rows[5] = {0, 12, 24, 36, 47};
  const int given[5][36] = {
      {29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 101, 102, 103, 104, 105, 107, 108, 109, 110, 111, 112, 113,
       174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185},
      {19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 30, 31, 102, 104, 105, 106, 107, 108, 109, 111, 112, 113, 114, 115,
       186, 187, 189, 190, 191, 192, 193, 194, 196, 197, 198, 199},
      {12, 13, 14, 16, 17, 18, 20, 21, 22, 24, 25, 26, 107, 108, 109, 111, 112, 113, 115, 116, 117, 118, 120, 121,
       201, 203, 204, 205, 207, 208, 209, 211, 212, 213, 215, 216},
      {7, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22, 23, 113, 115, 116, 118, 119, 120, 122, 123, 125, 126, 128, 129,
       219, 220, 222, 223, 225, 226, 228, 229, 231, 232, 234, 235},
      {5, 6, 8, 9, 11, 13, 14, 16, 17, 19, 21, 22, 121, 122, 124, 125, 127, 129, 130, 132, 133, 135, 137, 138,
       236, 238, 240, 241, 243, 244, 246, 248, 249, 251, 253, 254},
  };
  for (int k = 0; k < 5; k++)
    for (int i = 0; i < 36; i++) {
      int c = (i / 12) * 72 + i % 12;
      EXPECT_EQ(g[rows[k] * 156 + c], given[k][i]) << "row " << rows[k] << " column " << c;
    }
  int lo = 255, hi = 0;
  for (std::uint8_t v : g) lo = std::min<int>(lo, v), hi = std::max<int>(hi, v);
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 254);
  // Broken sources.
  std::string src = ReadAsset("support_grid.txt");
  errors.clear();
  EXPECT_FALSE(zonegen::BuildGrid(Replace(src, "\n12 ", "\n13 "), &g, &errors));
  errors.clear();
  EXPECT_FALSE(zonegen::BuildGrid(Replace(src, " 101 102 103", " 101 102"), &g, &errors));
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors[0].find("36 values"), std::string::npos);
  errors.clear();
  EXPECT_FALSE(zonegen::BuildGrid(Replace(src, " 39 40 ", " 39 30 "), &g, &errors));
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors[0].find("does not rise"), std::string::npos) << errors[0];
}

}  // namespace

namespace {

TEST(ZoneGen, TruncatedAndCorruptedSourcesFailCleanly) {
  const std::string src = ReadAsset("zones.txt");
  const std::string grid = ReadAsset("support_grid.txt");
  std::uint32_t seed = 5;
  auto next = [&](std::uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (size_t n = 0; n < src.size(); n += 97) {
    std::string s = src.substr(0, n);
    EXPECT_NE(Check(s), "") << "prefix " << n;
  }
  for (int k = 0; k < 150; k++) {
    std::string s = src;
    for (int j = 0; j < 3; j++) s[next(static_cast<std::uint32_t>(s.size()))] = static_cast<char>(next(256));
    Check(s);  // anything but a crash
    std::string g = grid;
    g[next(static_cast<std::uint32_t>(g.size()))] = static_cast<char>(next(256));
    std::vector<std::uint8_t> out;
    std::vector<std::string> errors;
    zonegen::BuildGrid(g, &out, &errors);
  }
  for (size_t n = 0; n + 1 < grid.size(); n += 13) {  // all but the final newline
    std::vector<std::uint8_t> out;
    std::vector<std::string> errors;
    EXPECT_FALSE(zonegen::BuildGrid(grid.substr(0, n), &out, &errors)) << n;
  }
}

}  // namespace
