// The action program assembler and its checks: the shipped source against
// the table compiled into the engine, every rule failing on a small broken
// source, damaged sources refused cleanly; the trap table against the
// engine's animation data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/action_programs.h"
#include "engine/anim.h"
#include "programs/progasm.h"
#include "zones/zonegen.h"

namespace {

std::string ReadSource(const std::string& rel) {
  const char* root = std::getenv("KORVENA_SOURCE_DIR");
  std::ifstream f(std::string(root ? root : ".") + "/" + rel, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

const progasm::Roles& ShippedRoles() {
  static const progasm::Roles roles = [] {
    zonegen::Table z;
    std::vector<std::string> e;
    EXPECT_TRUE(zonegen::Build(ReadSource("assets/match/zones.txt"), &z, &e));
    return progasm::RolesFromZones(z);
  }();
  return roles;
}

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& e : v) s += e + "\n";
  return s;
}

bool SameTable(const progasm::Table& a, const progasm::Table& b) {
  if (a.bytes != b.bytes || a.programs.size() != b.programs.size()) return false;
  for (int s = 0; s < progasm::kSets; s++)
    for (int e = 0; e < progasm::kEntries; e++)
      if (a.programs[a.sets[s][e]].offset != b.programs[b.sets[s][e]].offset) return false;
  return true;
}

TEST(Programs, ShippedSourceIsTheCompiledTableAndDisassemblesToItself) {
  progasm::Table src;
  std::vector<std::string> errors;
  ASSERT_TRUE(progasm::Assemble(ReadSource("assets/match/programs.txt"), "programs.txt", &src, &errors))
      << Joined(errors);
  ASSERT_TRUE(progasm::Validate(src, ShippedRoles(), "programs.txt", &errors)) << Joined(errors);

  // The engine's table read back gives the canonical source of the shipped one.
  progasm::Table compiled;
  std::string error;
  ASSERT_TRUE(progasm::FromArrays(action_abProgramRecords, static_cast<std::size_t>(action_iProgramBytes),
                                  action_aauProgramSets, &compiled, &error))
      << error;
  const std::string canonical = progasm::Disassemble(src);
  EXPECT_EQ(progasm::Disassemble(compiled), canonical);

  // The canonical source assembles to the same bytes and still passes.
  progasm::Table again;
  ASSERT_TRUE(progasm::Assemble(canonical, "canonical", &again, &errors)) << Joined(errors);
  EXPECT_TRUE(SameTable(again, src));
  EXPECT_TRUE(progasm::Validate(again, ShippedRoles(), "canonical", &errors)) << Joined(errors);

  // Every entry of every set points at a program closed by {0, 0}.
  for (int s = 0; s < ACTION_PROGRAM_SETS; s++) {
    for (int e = 0; e < ACTION_PROGRAM_ENTRIES; e++) {
      const std::uint8_t* p = action_ProgramGet(s, e);
      int guard = 0;
      while (!(p[0] == 0 && p[1] == 0) && guard++ < 64) p += p[1] + 2;
      ASSERT_LT(guard, 64) << "set " << s << " entry " << e;
    }
  }
  std::printf("programs: %d distinct, %d entries on the empty program\n", progasm::DistinctPrograms(src),
              progasm::EmptyEntries(src));
  // Set 57 is used by no role and exists all the same.
  EXPECT_TRUE(ShippedRoles().uses[57].empty());
}

// The first defending set takes the example program of react, press and a
// formation point whose three parameters follow the ball's class.
TEST(Programs, FirstSetIsTheExampleRetreatByBallClass) {
  const int triples[8][3] = {{14, 40, 60}, {15, 3, 60}, {8, 5, 60}, {15, 0, 60},
                             {8, 5, 50},   {8, 5, 70},  {8, 10, 50}, {9, 20, 60}};
  for (int p = 0; p < 8; p++) {
    for (int b = 0; b < 8; b++) {
      const std::uint8_t* r = action_ProgramGet(0, p * 8 + b);
      const std::vector<std::uint8_t> want = {35, 0, 45, 0, 15, 3, static_cast<std::uint8_t>(triples[b][0]),
                                              static_cast<std::uint8_t>(triples[b][1]),
                                              static_cast<std::uint8_t>(triples[b][2]), 0, 0};
      EXPECT_EQ(std::vector<std::uint8_t>(r, r + want.size()), want) << p << "/" << b;
    }
  }
}

// A whole source: the given programs, every set on the empty program unless
// a body is given for it.
std::string Source(const std::string& programs, const std::vector<std::pair<int, std::string>>& bodies) {
  std::string s = "program empty\n  STAND\n" + programs;
  for (int i = 0; i < progasm::kSets; i++) {
    s += "set " + std::to_string(i) + "\n";
    bool given = false;
    for (const auto& [set, body] : bodies)
      if (set == i) {
        s += body;
        given = true;
      }
    if (!given) s += "  default empty\n";
  }
  return s + "end\n";
}

struct Case {
  const char* what;
  std::string source;
  const char* message;  // part of the first message
};

TEST(Programs, EveryRuleFailsOnASmallBrokenSource) {
  const std::string bad = "program bad\n";
  // Set 0: a centre-back defending; set 32: the same role on the ball; set 57: nobody's.
  const std::vector<Case> assembler = {
      {"unknown word", "prgram x\n", "unknown word \"prgram\""},
      {"unknown action", Source(bad + "  DANCE\n  STAND\n", {}), "unknown action \"DANCE\""},
      {"parameter not a byte", Source(bad + "  FORMATION_RETREAT 8 300 0\n  STAND\n", {}), "not a byte"},
      {"program without records", Source(bad, {}), "has no records"},
      {"defined twice", Source("program empty\n  STAND\n", {}), "defined twice"},
      {"program with parameters", Source("program p a\n  STAND\n", {}), "takes no parameters"},
      {"unknown template parameter", Source("template t a\n  FORMATION_RETREAT $b 0 0\n  STAND\n", {}),
       "is no parameter"},
      {"template arity", Source("template t a\n  FORMATION_RETREAT $a 0 0\n  STAND\n", {{0, "  default t\n"}}),
       "takes 1 argument(s), given 0"},
      {"used before definition", Source("", {{0, "  default later\n"}}), "no program or template \"later\""},
      {"set twice", Source("", {{3, "  default empty\nset 3\n  default empty\n"}}), "set 3 given twice"},
      {"set out of range", "program empty\n  STAND\nset 76\n  default empty\nend\n", "a set is"},
      {"incomplete set", Source("", {{5, "  1-7 * empty\n"}}), "set 5 is incomplete"},
      {"bad class range", Source("", {{5, "  default empty\n  3-1 * empty\n"}}), "expected"},
      {"row of seven", Source("", {{5, "  row 0 empty empty empty empty empty empty empty\n"}}), "a row is"},
      {"sets missing", "program empty\n  STAND\nset 0\n  default empty\nend\n", "sets missing: 1 2"},
      {"cut short", "program empty\n  STAND\nset 0\n  default empty\n", "no \"end\" line"},
      {"lines after the end", Source("", {}) + "set 0\n", "must stand alone on the last line"},
      {"indented line alone", "  STAND\n", "an indented line outside"},
  };
  for (const Case& c : assembler) {
    progasm::Table t;
    std::vector<std::string> errors;
    EXPECT_FALSE(progasm::Assemble(c.source, "src", &t, &errors)) << c.what;
    ASSERT_FALSE(errors.empty()) << c.what;
    EXPECT_NE(errors[0].find(c.message), std::string::npos) << c.what << ": " << errors[0];
    EXPECT_EQ(errors[0].rfind("src", 0), 0u) << c.what << ": the message names the file";
  }

  auto in = [&](int set, const std::string& records) {
    return Source(bad + records, {{set, "  default bad\n"}});
  };
  const std::vector<Case> rules = {
      {"no closing STAND", in(0, "  FORMATION_RETREAT 8 5 60\n"), "does not end with STAND"},
      {"records after STAND", in(0, "  STAND\n  FORMATION_RETREAT 8 5 60\n  STAND\n"), "never reached"},
      {"retreat is not shipped", in(0, "  RETREAT\n  STAND\n"), "RETREAT (10) is not an action"},
      {"null is not shipped", in(0, "  NULL\n  STAND\n"), "NULL (1) is not an action"},
      {"shoot-or-pass only through the choice", in(32, "  SHOOT_OR_PASS\n  STAND\n"), "(33) is not an action"},
      {"attack idle", in(32, "  ATTACK_IDLE\n  STAND\n"), "(31) is not an action"},
      {"grid support", in(0, "  GRID_SUPPORT\n  STAND\n"), "(32) is not an action"},
      {"option C", in(0, "  OPTION_C\n  STAND\n"), "(39) is not an action"},
      {"set-piece exit", in(0, "  SETPIECE_EXIT\n  STAND\n"), "(3) is not an action"},
      {"user support", in(0, "  USER_SUPPORT\n  STAND\n"), "(30) is not an action"},
      {"a restart action", in(0, "  KICKOFF\n  STAND\n"), "KICKOFF (20) is not an action"},
      {"parameter count", in(0, "  FORMATION_RETREAT 8 5\n  STAND\n"), "takes 3 parameter(s), given 2"},
      {"stand with a parameter", in(0, "  STAND 1\n"), "does not end with STAND"},
      {"choose sector", in(32, "  HOLDER_CHOOSE 9 2 50\n  STAND\n"), "sector 9 outside 1..8"},
      {"choose kind", in(32, "  HOLDER_CHOOSE 1 4 50\n  STAND\n"), "pass kind 4"},
      {"choose threshold", in(32, "  HOLDER_CHOOSE 1 2 40\n  STAND\n"), "threshold 40"},
      {"option B zone byte", in(0, "  OPTION_B 1\n  STAND\n"), "zone byte 1"},
      {"target run flag", in(0, "  TARGET_RUN 2\n  STAND\n"), "flag 2"},
      {"pass sector", in(32, "  PASS_TO_MATE 0 10 20\n  STAND\n"), "sector 0 outside"},
      {"pass distances", in(32, "  PASS_TO_MATE 1 20 20\n  STAND\n"), "least distance 20 not below greatest 20"},
      {"retreat angle", in(0, "  FORMATION_RETREAT 8 5 120\n  STAND\n"), "angle byte 120"},
      {"a holder action off the ball", in(0, "  SHOOT\n  STAND\n"), "acts only for the ball holder"},
      {"clear off the ball", in(0, "  CLEAR\n  STAND\n"), "acts only for the ball holder"},
      {"press on the ball", in(32, "  CLOSE_DOWN\n  STAND\n"), "never takes the ball holder"},
      {"react on the ball", in(32, "  HOLDER_REACT\n  STAND\n"), "never takes the ball holder"},
      {"zone absent from the tree", in(0, "  FORMATION_RETREAT 20 5 60\n  STAND\n"), "names zone 20, absent"},
      {"option zone absent", in(0, "  OPTION_A 113 15\n  STAND\n"), "names zone 113"},
      {"zone run absent", in(0, "  ZONE_RUN 19 10 0\n  STAND\n"), "names zone 19"},
      {"class zone 2 absent from an on-the-ball tree", in(32, "  OPTION_B 2\n  STAND\n"), "names zone 2"},
      {"zones in a set nobody uses", in(57, "  FORMATION_RETREAT 8 5 60\n  STAND\n"), "used by no role"},
  };
  for (const Case& c : rules) {
    progasm::Table t;
    std::vector<std::string> errors;
    ASSERT_TRUE(progasm::Assemble(c.source, "src", &t, &errors)) << c.what << ": " << Joined(errors);
    EXPECT_FALSE(progasm::Validate(t, ShippedRoles(), "src", &errors)) << c.what;
    ASSERT_FALSE(errors.empty()) << c.what;
    EXPECT_NE(errors[0].find(c.message), std::string::npos) << c.what << ": " << errors[0];
  }

  // The same records in the right sets pass.
  progasm::Table t;
  std::vector<std::string> errors;
  const std::string good = Source(
      "program off\n  HOLDER_REACT\n  CLOSE_DOWN\n  OPTION_A 8 15\n  ZONE_RUN 8 10 0\n"
      "  FORMATION_RETREAT 12 5 119\n  OPTION_B 2\n  TARGET_RUN 1\n  STAND\n"
      "program on\n  SHOOT\n  CROSS\n  CLEAR\n  HOLDER_CHOOSE 8 3 100\n  PASS_TO_MATE 8 1 2\n  OPTION_B 0\n  STAND\n",
      {{14, "  default off\n"}, {32, "  default on\n"}});
  ASSERT_TRUE(progasm::Assemble(good, "src", &t, &errors)) << Joined(errors);
  EXPECT_TRUE(progasm::Validate(t, ShippedRoles(), "src", &errors)) << Joined(errors);
}

// Templates are instantiated per argument list; identical programs, however
// written, are stored once; later lines of a set win over earlier ones and
// the default fills the rest.
TEST(Programs, TemplatesMergingAndSetLines) {
  const std::string src = Source(
      "template t z d\n  FORMATION_RETREAT $z $d 60\n  STAND\n"
      "program same\n  FORMATION_RETREAT 8 5 60\n  STAND\n",
      {{0, "  default t 8 5\n  * 3  t 9 5\n  2 3,5-6  same\n  row 7 empty t t t t t t t\n"}});
  progasm::Table t;
  std::vector<std::string> errors;
  ASSERT_FALSE(progasm::Assemble(src, "src", &t, &errors));  // "row ... t" lacks the arguments
  const std::string fixed = Source(
      "template t z d\n  FORMATION_RETREAT $z $d 60\n  STAND\n"
      "program same\n  FORMATION_RETREAT 8 5 60\n  STAND\n",
      {{0, "  default t 8 5\n  * 3  t 9 5\n  2 3,5-6  same\n  row 7 empty same same same same same same same\n"}});
  errors.clear();
  ASSERT_TRUE(progasm::Assemble(fixed, "src", &t, &errors)) << Joined(errors);
  // empty, t(8,5) = same, t(9,5).
  EXPECT_EQ(t.programs.size(), 3u);
  EXPECT_EQ(progasm::DistinctPrograms(t), 3);
  EXPECT_EQ(progasm::EmptyEntries(t), 75 * 64 + 1);
  auto bytesOf = [&](int e) {
    const progasm::Program& p = t.programs[t.sets[0][e]];
    return std::vector<std::uint8_t>(t.bytes.begin() + p.offset, t.bytes.begin() + p.offset + p.length);
  };
  const std::vector<std::uint8_t> b85 = {15, 3, 8, 5, 60, 0, 0}, b95 = {15, 3, 9, 5, 60, 0, 0}, empty = {0, 0};
  EXPECT_EQ(bytesOf(0 * 8 + 0), b85);
  EXPECT_EQ(bytesOf(1 * 8 + 3), b95);
  EXPECT_EQ(bytesOf(2 * 8 + 3), b85);  // the later line wins
  EXPECT_EQ(bytesOf(2 * 8 + 5), b85);
  EXPECT_EQ(bytesOf(7 * 8 + 0), empty);
  EXPECT_EQ(bytesOf(7 * 8 + 3), b85);
  EXPECT_EQ(bytesOf(6 * 8 + 3), b95);
  EXPECT_EQ(t.programs[t.sets[0][3]].name, "t(9,5)");
  // The review grid names the programs by their source names.
  const std::string grid = progasm::Explain(t, 0);
  EXPECT_NE(grid.find("1: t(8,5)"), std::string::npos) << grid;
  EXPECT_NE(grid.find("t(9,5): {FORMATION_RETREAT 9 5 60} {STAND}"), std::string::npos) << grid;
}

// Every prefix of the shipped source and byte-damaged copies are refused
// with a message, or (when they happen to assemble) still disassemble to a
// source giving the same table.
TEST(Programs, TruncatedAndCorruptedSourcesFailCleanly) {
  const std::string full = ReadSource("assets/match/programs.txt");
  ASSERT_GT(full.size(), 1000u);
  const std::size_t last = full.rfind("end");
  ASSERT_NE(last, std::string::npos);
  for (std::size_t n = 0; n < full.size(); n += n < last - 120 ? 97 : 1) {
    if (n > last) break;
    progasm::Table t;
    std::vector<std::string> errors;
    EXPECT_FALSE(progasm::Assemble(full.substr(0, n), "cut", &t, &errors)) << n;
    ASSERT_FALSE(errors.empty()) << n;
    EXPECT_EQ(errors[0].rfind("cut", 0), 0u) << errors[0];
  }
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  int refused = 0;
  for (int k = 0; k < 150; k++) {
    std::string s = full;
    for (int j = 0; j < 3; j++) s[next() % s.size()] = static_cast<char>(next() & 0xFF);
    progasm::Table t;
    std::vector<std::string> errors;
    if (!progasm::Assemble(s, "bad", &t, &errors)) {
      EXPECT_FALSE(errors.empty());
      refused++;
      continue;
    }
    progasm::Table again;
    ASSERT_TRUE(progasm::Assemble(progasm::Disassemble(t), "again", &again, &errors)) << Joined(errors);
    EXPECT_TRUE(SameTable(t, again));
    progasm::Validate(t, ShippedRoles(), "bad", &errors);  // never crashes
  }
  EXPECT_GT(refused, 0);
  // Compiled bytes whose program runs off the end are refused.
  static std::uint16_t sets[progasm::kSets][progasm::kEntries] = {};
  const std::uint8_t bytes[] = {0, 0, 15, 3, 8};
  sets[4][9] = 2;
  progasm::Table t;
  std::string error;
  EXPECT_FALSE(progasm::FromArrays(bytes, sizeof bytes, sets, &t, &error));
  EXPECT_NE(error.find("runs past"), std::string::npos);
}

// ---- The trap table --------------------------------------------------------------------------

TEST(Traps, SourceRulesAndTheBandCheck) {
  const char* kGood = "height 0 153\nheight 1 none\nheight 2 none\nheight 3 none\n"
                      "height 4 none\nheight 5 none\nheight 6 none\nheight 7 none\n";
  progasm::TrapTable t;
  std::vector<std::string> errors;
  ASSERT_TRUE(progasm::ReadTraps(kGood, "traps", &t, &errors)) << Joined(errors);
  EXPECT_EQ(t.anim[0], 153);
  EXPECT_EQ(t.anim[5], progasm::kAnimNone);
  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"height 0 153\n", "height class 1 missing"},
      {"height 0 153\nheight 0 153\n", "given twice"},
      {"height 8 153\n", "expected"},
      {"height 0 x\n", "is no animation id"},
      {"depth 0 153\n", "expected"},
  };
  for (const auto& b : bad) {
    errors.clear();
    EXPECT_FALSE(progasm::ReadTraps(b.text, "traps", &t, &errors)) << b.text;
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find(b.message), std::string::npos) << errors[0];
  }
  // Class c takes a ball met in class c or c + 1 (24 units a class).
  std::map<int, progasm::AnimContact> anims = {
      {10, {true, 47}}, {11, {true, 48}}, {12, {false, 20}}, {13, {true, -1}}, {14, {true, 71}}};
  const struct {
    int cls, anim;
    const char* message;  // nullptr: passes
  } checks[] = {
      {1, 10, nullptr},  {0, 10, nullptr},  {0, 11, "class 2"}, {0, 14, "class 2), not in class 0"},
      {2, 14, nullptr},  {0, 12, "does not take"}, {0, 13, "no ball at a contact"}, {0, 99, "has no row"},
      {3, progasm::kAnimNone, nullptr},
  };
  for (const auto& c : checks) {
    progasm::TrapTable one;
    for (int k = 0; k < progasm::kTrapClasses; k++) one.anim[k] = progasm::kAnimNone;
    one.anim[c.cls] = c.anim;
    errors.clear();
    bool ok = progasm::CheckTraps(one, anims, "traps", &errors);
    EXPECT_EQ(ok, c.message == nullptr) << c.cls << " " << c.anim;
    if (c.message) {
      ASSERT_FALSE(errors.empty());
      EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
    }
  }
}

// The compiled trap table against the engine's animation rows: each entry
// none, or a clip that gathers the ball, whose ball at the contact frame
// lies in its class or the next.
TEST(Traps, CompiledTableMeetsTheBallInItsBand) {
  anim_TableInit();
  int filled = 0;
  for (int c = 0; c < TRAP_HEIGHT_CLASSES; c++) {
    std::uint32_t a = trap_AnimGet(c);
    if (a == ANIM_NONE) continue;
    filled++;
    const AnimRecord* r = anim_RecordGet(a);
    ASSERT_GE(r->contact, 0) << c;
    std::int32_t out[3];
    ASSERT_TRUE(anim_ContactBallOffsetGet(0, a, out)) << c;
    std::int32_t h = std::max(0, out[1] - ANIM_HOLDER_BALL_DROP);
    EXPECT_TRUE(h / 24 == c || h / 24 == c + 1) << "class " << c << ": animation " << a << " meets the ball " << h
                                                 << " up";
  }
  EXPECT_GE(filled, 4);
  EXPECT_EQ(trap_AnimGet(-3), trap_AnimGet(0));
  EXPECT_EQ(trap_AnimGet(40), trap_AnimGet(7));
}

}  // namespace
