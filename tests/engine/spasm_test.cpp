// The set-piece script assembler: round trips, each refusal naming its line,
// truncated and corrupted sources.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "spasm.h"

namespace {

const char* kGood = R"(# a small set
alias $taker v15
alias $x v3
const ANIM_X 173
script 1 top
  start
  fade
  wait 30
  begin
    get_taker $taker
    set $x $rx
    add $x -720
    if_ry_neg
    call low
    if_ry_pos
    call high
    put $taker $x $ry
    anim $taker ANIM_X
  close
  wait_anim $taker
  end
sub 2 low
  set v4 5760
  ret
sub 3 high
  set v4 -5760
  call deeper
  ret
sub 4 deeper
  neg v4
  ret
)";

bool Words(const std::string& text, spasm::Program* p, std::string* err) {
  return spasm::Assemble(text, "src.txt", p, err);
}

TEST(SpasmTest, AssembleDisassembleRoundTrip) {
  spasm::Program p;
  std::string err;
  ASSERT_TRUE(Words(kGood, &p, &err)) << err;
  ASSERT_EQ(p.scripts.size(), 4u);
  // Opcode and variable words as the machine reads them.
  const std::vector<std::int32_t>& w = p.scripts[0].words;
  EXPECT_EQ(w[0], 1);
  EXPECT_EQ(w[1], 48);
  EXPECT_EQ(w[2], 2);
  EXPECT_EQ(w[3], 30);
  EXPECT_EQ(w[4], 34);
  EXPECT_EQ(w[5], 18);
  EXPECT_EQ(w[6], spasm::VarWord(15));
  EXPECT_EQ(w[7], 6);
  EXPECT_EQ(w[9], spasm::VarWord(23));
  EXPECT_EQ(p.scripts[2].words[3], 10);
  EXPECT_EQ(p.scripts[2].words[4], 4);  // call by name gives the id
  const std::string text = spasm::Disassemble(p);
  spasm::Program q;
  ASSERT_TRUE(Words(text, &q, &err)) << err << "\n" << text;
  ASSERT_EQ(q.scripts.size(), p.scripts.size());
  for (std::size_t i = 0; i < p.scripts.size(); ++i) {
    EXPECT_EQ(q.scripts[i].words, p.scripts[i].words);
    EXPECT_EQ(q.scripts[i].name, p.scripts[i].name);
    EXPECT_EQ(q.scripts[i].top, p.scripts[i].top);
  }
  EXPECT_EQ(spasm::Disassemble(q), text);
  EXPECT_EQ(p.WordTotal(), q.WordTotal());
}

TEST(SpasmTest, EmitsTableInIdOrder) {
  spasm::Program p;
  std::string err;
  ASSERT_TRUE(Words("sub 9 b\n ret\nscript 2 a\n start\n end\n", &p, &err)) << err;
  const std::string cpp = spasm::EmitCpp(p);
  const auto a = cpp.find("{2, s_aiScript2}");
  const auto b = cpp.find("{9, s_aiScript9}");
  const auto e = cpp.find("{-1, nullptr}");
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(b, std::string::npos);
  ASSERT_NE(e, std::string::npos);
  EXPECT_LT(a, b);
  EXPECT_LT(b, e);
}

TEST(SpasmTest, RefusesBrokenSourcesNamingTheLine) {
  struct Case {
    const char* text;
    int line;
    const char* why;
  };
  const Case cases[] = {
      {"script 1 a\n start\n jump 3\n end\n", 3, "unknown mnemonic"},
      {"script 1 a\n start\n wait\n end\n", 3, "takes 1 argument"},
      {"script 1 a\n start\n wait 1 2\n end\n", 3, "takes 1 argument"},
      {"script 1 a\n start\n set 4 5\n end\n", 3, "literal where a variable"},
      {"script 1 a\n start\n put 3 0 0\n end\n", 3, "literal where a variable"},
      {"script 1 a\n start\n set v26 1\n end\n", 3, "outside 0-25"},
      {"script 1 a\n start\n wait v99\n end\n", 3, "outside 0-25"},
      {"script 1 a\n start\n set v23 1\n end\n", 3, "slot 23-25"},
      {"script 1 a\n start\n neg $ry\n end\n", 3, "slot 23-25"},
      {"script 1 a\n start\n get_taker v24\n end\n", 3, "slot 23-25"},
      {"script 1 a\n start\n call nowhere\n end\n", 3, "missing script"},
      {"script 1 a\n start\n call 7\n end\n", 3, "missing script"},
      {"script 1 a\n start\n call b\n end\nsub 2 b\n call a\n ret\n", 6, "recursive"},
      {"script 1 a\n start\n call b\n end\nsub 2 b\n call b\n ret\n", 6, "recursive"},
      {"script 1 a\n wait 1\n end\n", 1, "does not open with start"},
      {"script 1 a\n start\n wait 1\n", 3, "does not close with end"},
      {"sub 2 b\n set v1 1\n", 2, "does not close with ret"},
      {"script 1 a\n start\n begin\n set v1 1\n end\n", 5, "block holds end"},
      {"script 1 a\n start\n begin\n close\n close\n end\n", 5, "without a begin"},
      {"script 1 a\n start\n begin\n begin\n close\n end\n", 4, "inside a block"},
      {"script 1 a\n start\n begin\n wait 3\n close\n end\n", 4, "block holds wait"},
      {"script 1 a\n start\n begin\n wait_anim v1\n close\n end\n", 4, "block holds wait_anim"},
      {"script 1 a\n start\n begin\n loop\n close\n end\n", 4, "block holds loop"},
      {"script 1 a\n start\n begin\n call b\n close\n end\nsub 2 b\n wait_arrive v2\n ret\n", 4, "which waits"},
      {"script 1 a\n start\n begin\n call b\n close\n end\nsub 2 b\n call c\n ret\nsub 3 c\n wait 1\n ret\n", 4,
       "which waits"},
      {"script 1 a\n start\n begin\n set v1 1\n", 4, "unbalanced block"},
      {"script 1 a\n start\n set v1 -1161904475\n end\n", 3, "collides"},
      {"script 1 a\n start\n wait 12x\n end\n", 3, "bad argument"},
      {"script 1 a\n start\n end\nscript 1 b\n start\n end\n", 4, "id used twice"},
      {"start\n", 1, "before the first script"},
      {"script a 1\n start\n end\n", 1, "header"},
      {"alias $t 15\n", 1, "alias"},
      {"script 1 a\n start\n set $nope 1\n end\n", 3, "unknown variable"},
      {"# nothing\n", 1, "no scripts"},
      {"script 1 a\n start\n wait NOPE\n end\n", 3, "unknown constant"},
      {"const Nope x\n", 1, "const wants"},
      {"const A 1\nconst A 2\n", 2, "const defined twice"},
      {"script 1 a\n start\n begin\n if_rx_neg\n close\n end\n", 4, "if_rx_neg guards close"},
      {"script 1 a\n start\n if_ry_pos\n begin\n close\n end\n", 3, "if_ry_pos guards begin"},
      {"sub 2 b\n if_dir0 v1\n ret\n", 2, "if_dir0 guards ret"},
  };
  for (const Case& c : cases) {
    spasm::Program p;
    std::string err;
    EXPECT_FALSE(Words(c.text, &p, &err)) << c.text;
    EXPECT_NE(err.find("src.txt:" + std::to_string(c.line) + ":"), std::string::npos) << c.text << " -> " << err;
    EXPECT_NE(err.find(c.why), std::string::npos) << c.text << " -> " << err;
  }
}

TEST(SpasmTest, CallDepthIsBounded) {
  auto chain = [](int subs) {
    std::ostringstream o;
    o << "script 1 top\n start\n call s2\n end\n";
    for (int i = 2; i < 2 + subs; ++i) {
      o << "sub " << i << " s" << i << "\n";
      if (i + 1 < 2 + subs) o << " call s" << i + 1 << "\n";
      o << " ret\n";
    }
    return o.str();
  };
  spasm::Program p;
  std::string err;
  EXPECT_TRUE(Words(chain(16), &p, &err)) << err;
  EXPECT_FALSE(Words(chain(17), &p, &err));
  EXPECT_NE(err.find("deeper than 16"), std::string::npos) << err;
}

TEST(SpasmTest, CheckRefusesBrokenWords) {
  spasm::Program p;
  std::string err;
  ASSERT_TRUE(Words("script 1 a\n start\n wait 2\n end\n", &p, &err));
  spasm::Program bad = p;
  bad.scripts[0].words = {1, 2};  // truncated wait
  EXPECT_FALSE(spasm::Check(bad, "w", &err));
  EXPECT_NE(err.find("truncated"), std::string::npos) << err;
  bad.scripts[0].words = {1, 51, 3};
  EXPECT_FALSE(spasm::Check(bad, "w", &err));
  EXPECT_NE(err.find("opcode outside"), std::string::npos) << err;
  bad.scripts[0].words = {1, 0, 3};
  EXPECT_FALSE(spasm::Check(bad, "w", &err));
}

TEST(SpasmTest, TruncatedAndCorruptedSourcesGiveClearErrors) {
  const std::string good = kGood;
  for (std::size_t n = 0; n < good.size(); n += 7) {
    spasm::Program p;
    std::string err;
    if (!Words(good.substr(0, n), &p, &err)) {
      EXPECT_EQ(err.rfind("src.txt:", 0), 0u) << err;
    } else {
      std::string again;
      spasm::Program q;
      EXPECT_TRUE(Words(spasm::Disassemble(p), &q, &again)) << again;
    }
  }
  std::uint32_t seed = 12345;
  for (int round = 0; round < 300; ++round) {
    std::string bad = good;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      const std::size_t at = (seed >> 8) % bad.size();
      bad[at] = static_cast<char>(" -v$#9\nxz"[(seed >> 3) % 9]);
    }
    spasm::Program p;
    std::string err;
    if (Words(bad, &p, &err)) {
      spasm::Program q;
      ASSERT_TRUE(Words(spasm::Disassemble(p), &q, &err)) << err;
      for (std::size_t i = 0; i < p.scripts.size(); ++i) EXPECT_EQ(q.scripts[i].words, p.scripts[i].words);
    } else {
      EXPECT_EQ(err.rfind("src.txt:", 0), 0u) << err;
    }
  }
}

TEST(SpasmTest, ShippedScriptsAssemble) {
  std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/assets/setpieces/scripts.txt");
  ASSERT_TRUE(in) << "assets/setpieces/scripts.txt";
  std::ostringstream ss;
  ss << in.rdbuf();
  spasm::Program p;
  std::string err;
  ASSERT_TRUE(spasm::Assemble(ss.str(), "scripts.txt", &p, &err)) << err;
  // Ids 1..22, the five top-level ones being the throw-in, corner, free kick,
  // substitution and penalty.
  ASSERT_EQ(p.scripts.size(), 22u);
  for (std::int32_t id = 1; id <= 22; ++id) {
    const spasm::Script* s = p.Find(id);
    ASSERT_NE(s, nullptr) << id;
    EXPECT_EQ(s->top, id == 1 || id == 4 || id == 11 || id == 21 || id == 22) << id;
  }
  spasm::Program q;
  ASSERT_TRUE(spasm::Assemble(spasm::Disassemble(p), "again", &q, &err)) << err;
  for (std::size_t i = 0; i < p.scripts.size(); ++i) EXPECT_EQ(q.scripts[i].words, p.scripts[i].words);
}

}  // namespace
