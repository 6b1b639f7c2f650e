// The computer manager's change table: the authored source gives the table
// the game is built with and writes back to itself; every broken table is
// refused with its line; cut and damaged sources fail cleanly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cpuman/cpumangen.h"
#include "engine/cpuman.h"
#include "support/temp_dir.h"

namespace {

using korvena_test::readFile;

struct Sources {
  std::string table = readFile(std::string(KORVENA_SOURCE_DIR) + "/assets/match/cpuman.txt");
  std::string formations = readFile(std::string(KORVENA_SOURCE_DIR) + "/assets/match/formations.txt");
  cpumangen::Formations f;
  Sources() {
    std::string error;
    EXPECT_TRUE(cpumangen::ParseFormations(formations, &f, &error)) << error;
  }
  bool Parse(const std::string& text, std::string* error) {
    cpumangen::Table t;
    return cpumangen::Parse(text, "t", f, &t, error);
  }
};

// Replaces the first occurrence of a text.
std::string Edit(std::string s, const std::string& from, const std::string& to) {
  const std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

}  // namespace

TEST(CpumanTable, TheAuthoredSourceIsTheTableTheGameReads) {
  Sources src;
  cpumangen::Table t;
  std::string error;
  ASSERT_TRUE(cpumangen::Parse(src.table, "cpuman.txt", src.f, &t, &error)) << error;
  ASSERT_EQ(t.rows.size(), static_cast<std::size_t>(CPUMAN_ROWS));
  for (int i = 0; i < CPUMAN_ROWS; ++i)
    for (int w = 0; w < CPUMAN_ROW_WORDS; ++w) ASSERT_EQ(cpuman_aTable[i][w], t.rows[i][w]) << i << " " << w;
  EXPECT_EQ(cpuman_aTable[CPUMAN_ROWS][0], -1);
  // Written back it reads as the same rows.
  cpumangen::Table again;
  ASSERT_TRUE(cpumangen::Parse(cpumangen::Write(t, src.f), "again", src.f, &again, &error)) << error;
  EXPECT_EQ(again.rows, t.rows);
}

TEST(CpumanTable, ACoachMakesTheChangesTheScoreAsksFor) {
  // Level or behind: at least as many forwards; ahead: at least as many
  // defenders; every row brings someone on in at least one kind.
  Sources src;
  auto count = [&](int fi, std::initializer_list<int> codes) {
    int n = 0;
    for (int c : src.f.codes[fi])
      for (int k : codes) n += c == k;
    return n;
  };
  for (int i = 0; i < CPUMAN_ROWS; ++i) {
    const std::int32_t* r = cpuman_aTable[i];
    const int from = r[0], behind = r[1], ahead = r[1 + CPUMAN_KIND_WORDS];
    EXPECT_NE(from, 15);
    EXPECT_GE(count(behind, {5, 19, 21}), count(from, {5, 19, 21})) << src.f.names[from];
    EXPECT_GE(count(ahead, {1, 2, 6, 12, 13, 24}), count(from, {1, 2, 6, 12, 13, 24})) << src.f.names[from];
    int subs = 0;
    for (int k = 0; k < 2 * CPUMAN_ENTRIES; ++k) {
      const int base = k < CPUMAN_ENTRIES ? 2 + 3 * k : 2 + CPUMAN_KIND_WORDS + 3 * (k - CPUMAN_ENTRIES);
      subs += r[base + 1] == 2;
    }
    EXPECT_GT(subs, 0) << src.f.names[from];
  }
}

TEST(CpumanTable, EachBrokenTableIsRefusedWithItsLine) {
  Sources src;
  const std::string& ok = src.table;
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"row missing", Edit(ok, "row 1351", "row 1432"), "has no row"},
      {"row twice", Edit(ok, "row 1351", "row 5131"), "again"},
      {"a formation left out", ok.substr(0, ok.find("row 1351")), "no row for formation 1351"},
      {"unknown formation", Edit(ok, "row 541", "row 999"), "unknown formation"},
      {"unknown target", Edit(ok, "behind 523", "behind 6161"), "unknown target"},
      {"action 0", Edit(ok, "0/3/0", "0/0/0"), "1, 2 or 3"},
      {"action 4", Edit(ok, "0/3/0", "0/4/0"), "1, 2 or 3"},
      {"code of no slot", Edit(ok, "2/2/5", "3/2/5"), "no slot of 5131"},
      {"code above 24", Edit(ok, "6/1/6", "25/1/6"), "0-24"},
      {"ten entries", Edit(ok, " 5/1/5\n", "\n"), "11 change entries"},
      {"bad entry", Edit(ok, "0/3/0", "0-3-0"), "code/action/wanted"},
      {"kind missing", Edit(ok, "  ahead  541   :", "  behind 541   :"), "twice"},
      {"no colon", Edit(ok, "behind 523   :", "behind 523    "), "expected"},
      {"unknown keyword", Edit(ok, "behind 523", "losing 523"), "unknown keyword"},
      {"entry before a row", "behind 523 : 0/3/0\n" + ok, "before any row"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(src.Parse(c.text, &error)) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.rfind("t:", 0), 0u) << c.what << ": " << error;
  }
}

TEST(CpumanTable, CutAndDamagedSourcesFailCleanly) {
  Sources src;
  // Every cut short of the end fails (the last row is then missing).
  for (std::size_t n = 0; n + 1 < src.table.size(); n += 37) {
    std::string error;
    EXPECT_FALSE(src.Parse(src.table.substr(0, n), &error)) << n;
    EXPECT_FALSE(error.empty());
  }
  // Damaged bytes are refused or read, never a crash.
  std::string s = src.table;
  for (std::size_t i = 0; i < s.size(); i += 53) {
    std::string d = s;
    d[i] = static_cast<char>(d[i] ^ 0x5A);
    std::string error;
    if (!src.Parse(d, &error)) {
      EXPECT_FALSE(error.empty());
    }
  }
  // The formations source is checked too.
  std::string error;
  cpumangen::Formations f;
  EXPECT_FALSE(cpumangen::ParseFormations(src.formations.substr(0, src.formations.size() / 2), &f, &error));
  EXPECT_FALSE(cpumangen::ParseFormations(Edit(src.formations, "5131   0 |", "5131   0 | 77"), &f, &error));
}
