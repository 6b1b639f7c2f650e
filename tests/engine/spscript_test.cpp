// The set-piece script machine: the driver's timing, the one-step rules,
// calls and returns, and the refusals.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "spasm.h"
#include "engine/spscript_core.h"

namespace {

struct Event {
  int tick;
  std::int32_t op;
  std::vector<std::int32_t> args;
  bool penalty;
};

class FakeHost : public SpScriptHost {
 public:
  std::int32_t rx = 100, ry = -200, action = 4;
  std::map<std::int32_t, std::int32_t> dir, frame;
  std::map<std::int32_t, bool> finished, near;
  std::vector<Event> events;
  std::vector<std::string> logs;
  int tick = 0, finishedCalls = 0;

  std::int32_t RestartX() override { return rx; }
  std::int32_t RestartY() override { return ry; }
  std::int32_t RefereeAction() override { return action; }
  std::int32_t Fetch(std::int32_t op) override {
    switch (op) {
      case 15: return 5;
      case 16: return 7;
      case 17: return SPSCRIPT_HANDLE_REFEREE;
      case 18: return 3;
      case 38: return 9;
      default: return SPSCRIPT_HANDLE_SPARE;
    }
  }
  std::int32_t Direction(std::int32_t h) override { return dir[h]; }
  bool AnimFinished(std::int32_t h) override { return finished[h]; }
  std::int32_t AnimFrame(std::int32_t h) override { return frame[h]; }
  bool NearTarget(std::int32_t h) override { return near[h]; }
  std::int32_t Random(std::int32_t lo, std::int32_t hi) override { return lo + (hi - lo) / 2; }
  void Effect(std::int32_t op, const std::int32_t* a, bool pen, bool) override {
    Event e{tick, op, {}, pen};
    if (a)
      for (int i = 0; i < spscript_aArgc[op]; ++i) e.args.push_back(a[i]);
    events.push_back(e);
  }
  void Finished() override { ++finishedCalls; }
  void Log(const char* t) override { logs.emplace_back(t); }

  int TickOf(std::int32_t op, int nth = 0) const {
    for (const Event& e : events)
      if (e.op == op && nth-- == 0) return e.tick;
    return -1;
  }
};

// Assembles a source and runs script `top` in a machine on a fake host.
struct Rig {
  spasm::Program prog;
  std::vector<SpScriptEntry> list;
  FakeHost host;
  SpScriptMachine machine{nullptr, &host};

  explicit Rig(const std::string& text, std::int32_t top = 1) {
    std::string err;
    if (!spasm::Assemble(text, "t", &prog, &err)) ADD_FAILURE() << err;
    for (const spasm::Script& s : prog.scripts) list.push_back({s.id, s.words.data()});
    list.push_back({-1, nullptr});
    machine = SpScriptMachine(list.data(), &host);
    machine.Reset();
    machine.Call(top);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      machine.Update();
      ++host.tick;
    }
  }
  void UntilDone(int cap = 1000) {
    while (machine.State() != SPSCRIPT_FINISHED && cap-- > 0) Ticks(1);
  }
};

TEST(SpScriptTest, WaitAndBlockTiming) {
  for (int n : {0, 1, 2, 5, 30}) {
    Rig r("script 1 a\n start\n wait " + std::to_string(n) + "\n whistle\n end\n");
    r.UntilDone();
    EXPECT_EQ(r.host.TickOf(1), 0);
    EXPECT_EQ(r.host.TickOf(46), 1 + n + 3) << n;
    EXPECT_EQ(r.host.TickOf(3), 1 + n + 4) << n;

    Rig b("script 1 a\n start\n wait " + std::to_string(n) +
          "\n begin\n whistle\n replay_stop\n set v1 4\n close\n fade\n end\n");
    b.UntilDone();
    EXPECT_EQ(b.host.TickOf(46), 1 + n + 2) << n;
    EXPECT_EQ(b.host.TickOf(47), 1 + n + 2) << n;
    EXPECT_EQ(b.host.TickOf(48), 1 + n + 4) << n;  // the block end takes its own tick
    EXPECT_EQ(b.machine.Var(1), 4);
  }
}

TEST(SpScriptTest, ConditionsAndSkipChains) {
  struct Case {
    std::int32_t rx, ry;
    const char* body;
    int whistleTick;  // -1: skipped
    int fadeTick;
  };
  const Case cases[] = {
      {5, -5, "if_ry_neg\n whistle\n fade\n", 1, 2},      // true: same tick
      {5, 5, "if_ry_neg\n whistle\n fade\n", -1, 3},      // false: one tick, skip another
      {-5, -5, "if_ry_neg\n if_rx_neg\n whistle\n fade\n", 1, 2},
      {-5, 5, "if_ry_neg\n if_rx_neg\n whistle\n fade\n", -1, 4},  // chain skipped under the flag
      {5, -5, "if_ry_neg\n if_rx_neg\n whistle\n fade\n", -1, 3},
      {5, 5, "if_ry_pos\n if_rx_pos\n whistle\n fade\n", 1, 2},
      {0, 0, "if_rx_pos\n whistle\n if_rx_neg\n whistle\n fade\n", -1, 5},
  };
  for (const Case& c : cases) {
    Rig r(std::string("script 1 a\n start\n ") + c.body + " end\n");
    r.host.rx = c.rx;
    r.host.ry = c.ry;
    r.UntilDone();
    EXPECT_EQ(r.host.TickOf(46), c.whistleTick) << c.body << c.rx << c.ry;
    EXPECT_EQ(r.host.TickOf(48), c.fadeTick) << c.body << c.rx << c.ry;
  }
}

TEST(SpScriptTest, SkippedEndStaysAndRunsNextTick) {
  Rig r("script 1 a\n start\n if_ry_pos\n end\n whistle\n end\n");
  r.host.ry = -1;
  r.UntilDone();
  EXPECT_EQ(r.host.TickOf(3), 3);  // condition 1, skipped end 2, end 3
  EXPECT_EQ(r.host.TickOf(46), -1);
  r.Ticks(3);
  EXPECT_EQ(r.host.finishedCalls, 3);
  EXPECT_EQ(r.host.events.size(), 2u);
}

TEST(SpScriptTest, RefereeActionConditionsAndPlayerTests) {
  for (std::int32_t action : {1, 2, 3, 4}) {
    Rig r("script 1 a\n start\n if_ref_plain\n set v1 1\n if_ref_yellow\n set v2 1\n if_ref_red\n set v3 1\n"
          " get_taker v4\n if_dir1 v4\n set v5 1\n if_dir0 v6\n set v7 1\n end\n");
    r.host.action = action;
    r.host.dir[3] = 1;
    r.UntilDone();
    EXPECT_EQ(r.machine.Var(1), action == 4);
    EXPECT_EQ(r.machine.Var(2), action == 2);
    EXPECT_EQ(r.machine.Var(3), action == 3);
    EXPECT_EQ(r.machine.Var(4), 3);
    EXPECT_EQ(r.machine.Var(5), 1);
    EXPECT_EQ(r.machine.Var(7), 0);  // nobody in v6: the test fails
  }
}

TEST(SpScriptTest, WaitsHoldUntilMetAndChainInOneStep) {
  Rig r("script 1 a\n start\n get_taker v1\n get_fouled v2\n wait_anim v1\n wait_frame v2 26\n wait_anim v9\n"
        " whistle\n end\n");
  r.Ticks(10);
  EXPECT_EQ(r.host.TickOf(46), -1);
  r.host.frame[7] = 26;
  r.Ticks(3);
  EXPECT_EQ(r.host.TickOf(46), -1);
  r.host.finished[3] = true;
  const int t = r.host.tick;
  r.Ticks(1);
  EXPECT_EQ(r.host.TickOf(46), t);  // both waits and the empty one pass with the whistle
  EXPECT_FALSE(r.machine.SkipFlag());

  Rig s("script 1 a\n start\n get_taker v1\n if_rx_neg\n wait_arrive v1\n whistle\n end\n");
  s.host.rx = 1;  // false: the wait is skipped keeping the flag, then the whistle
  s.UntilDone();
  EXPECT_EQ(s.host.TickOf(46), -1);
  EXPECT_EQ(s.host.TickOf(3), 5);
}

TEST(SpScriptTest, VariablesArithmeticAndFetches) {
  Rig r("script 1 a\n start\n set v0 10\n add v0 $rx\n subtract v0 3\n neg v0\n set v1 $zero\n get_offender v2\n"
        " get_referee v3\n get_sub_out v4\n get_sub_spare v5\n get_holder v6\n rand v7 -3600 3600\n"
        " put v2 v0 $ry\n put v8 1 1\n end\n");
  r.machine.HolderSet(11);
  r.UntilDone();
  EXPECT_EQ(r.machine.Var(0), -(10 + 100 - 3));
  EXPECT_EQ(r.machine.Var(1), 0);
  EXPECT_EQ(r.machine.Var(2), 5);
  EXPECT_EQ(r.machine.Var(3), SPSCRIPT_HANDLE_REFEREE);
  EXPECT_EQ(r.machine.Var(4), 9);
  EXPECT_EQ(r.machine.Var(5), SPSCRIPT_HANDLE_SPARE);
  EXPECT_EQ(r.machine.Var(6), 11);
  EXPECT_EQ(r.machine.Var(7), 0);
  int puts = 0;
  for (const Event& e : r.host.events)
    if (e.op == 13) {
      ++puts;
      EXPECT_EQ(e.args, (std::vector<std::int32_t>{5, -107, -200}));
    }
  EXPECT_EQ(puts, 1);  // nobody in v8: nothing
}

TEST(SpScriptTest, CallsReturnAndEnd) {
  Rig r("script 22 pen\n start\n call s\n set v2 v1\n end\nsub 5 s\n set v1 7\n call t\n ret\nsub 6 t\n add v1 1\n ret\n",
        22);
  r.UntilDone();
  EXPECT_EQ(r.machine.Var(2), 8);
  EXPECT_EQ(r.machine.Sp(), 0);  // the top-level call's own frame
  ASSERT_GE(r.host.TickOf(3), 0);
  EXPECT_TRUE(r.host.events.back().penalty);
  EXPECT_TRUE(r.host.logs.empty());
}

TEST(SpScriptTest, StackBoundsEndTheScript) {
  // A return with nothing to return to: logged, the script ends.
  spasm::Program p;
  std::string err;
  ASSERT_TRUE(spasm::Assemble("sub 1 s\n ret\n", "t", &p, &err)) << err;
  SpScriptEntry list[] = {{1, p.scripts[0].words.data()}, {-1, nullptr}};
  FakeHost host;
  SpScriptMachine m(list, &host);
  m.Reset();
  m.Call(1);
  m.Update();  // returns to the empty caller frame
  EXPECT_EQ(m.Sp(), -1);
  m.Return();
  ASSERT_EQ(host.logs.size(), 1u);
  EXPECT_EQ(host.logs[0], "Korvena Football Log\n\n*** spscript_iSP < 0\n");
  EXPECT_EQ(m.State(), SPSCRIPT_FINISHED);
  ASSERT_FALSE(host.events.empty());
  EXPECT_EQ(host.events.back().op, 3);

  FakeHost h2;
  SpScriptMachine m2(list, &h2);
  m2.Reset();
  for (int i = 0; i < SPSCRIPT_STACK; ++i) m2.Call(1);
  EXPECT_EQ(m2.Sp(), SPSCRIPT_STACK - 1);
  EXPECT_TRUE(h2.logs.empty());
  m2.Call(1);
  EXPECT_EQ(m2.Sp(), SPSCRIPT_STACK - 1);
  EXPECT_EQ(h2.logs.size(), 1u);
  EXPECT_EQ(m2.State(), SPSCRIPT_FINISHED);
}

TEST(SpScriptTest, LoopStartRunsItsStep) {
  // A loop start met with the flag clear takes one step; with the flag set
  // the driver runs on until a block begin clears it.
  Rig r("script 1 a\n start\n loop\n add v1 1\n begin\n close\n end\n");
  r.Ticks(2);
  EXPECT_TRUE(r.machine.LoopFlag());
  r.Ticks(1);
  EXPECT_EQ(r.machine.Var(1), 1);
  EXPECT_TRUE(r.machine.LoopFlag());
  r.Ticks(1);  // the block begin clears it
  EXPECT_FALSE(r.machine.LoopFlag());
  r.UntilDone();
  EXPECT_EQ(r.machine.State(), SPSCRIPT_FINISHED);
}

TEST(SpScriptDeathTest, Refusals) {
  static const std::int32_t kBadOp[] = {1, 51, 3};
  static const std::int32_t kLiteral[] = {6, 4, 5, 3};
  static const std::int32_t kEnd[] = {3};
  const SpScriptEntry list[] = {{1, kBadOp}, {2, kLiteral}, {3, kEnd}, {-1, nullptr}};
  FakeHost host;
  EXPECT_DEATH(
      {
        SpScriptMachine m(list, &host);
        m.Reset();
        m.Call(99);
      },
      "spscript_List\\[i\\].id != -1");
  EXPECT_DEATH(
      {
        SpScriptMachine m(list, &host);
        m.Reset();
        m.Call(1);
        m.Run();
        m.Run();
      },
      "op >= 1");
  EXPECT_DEATH(
      {
        SpScriptMachine m(list, &host);
        m.Reset();
        m.Call(2);
        m.Run();
      },
      "SPSCRIPT_IS_VAR");
  EXPECT_DEATH(
      {
        SpScriptMachine m(list, &host);
        m.Reset();
        m.Call(3);
        m.StateSet(0);
        m.Run();
      },
      "state_ != 0");
  EXPECT_DEATH(
      {
        SpScriptMachine m(list, &host);
        m.Reset();
        m.Call(3);
        m.StateSet(5);
        m.Run();
      },
      "state_ <= 4");
}

}  // namespace

namespace {

// A plain model of the timing rules: each tick either counts down a wait,
// spends the resume tick (a block begins right after it), runs a whole block,
// or runs one unit (a skipped instruction, or true conditions and satisfied
// waits with the instruction they lead to).
struct Model {
  const std::vector<SpScriptEntry>* list;
  std::vector<std::pair<const std::int32_t*, std::int32_t>> stack;  // caller frames
  const std::int32_t* code = nullptr;
  std::int32_t pc = 0, wait = 0, vars[26] = {};
  bool skip = false, waiting = false, resume = false, done = false;
  std::int32_t rx = 0, ry = 0;
  std::vector<int> trace;  // tick of each whistle
  int tick = 0;

  const std::int32_t* Code(std::int32_t id) const {
    for (const SpScriptEntry& e : *list)
      if (e.id == id) return e.code;
    return nullptr;
  }
  bool Finished() const { return tick % 5 == 0; }
  std::int32_t V(std::int32_t w) const { return SPSCRIPT_IS_VAR(w) ? vars[w - SPSCRIPT_VAR_BASE] : w; }
  bool Cond(std::int32_t op) const {
    return op == 11 ? ry < 0 : op == 12 ? ry >= 0 : op == 26 ? rx < 0 : rx > 0;
  }
  void Unit() {
    for (;;) {
      const std::int32_t op = code[pc];
      const std::int32_t len = 1 + spscript_aArgc[op];
      const bool cond = op == 11 || op == 12 || op == 26 || op == 27;
      if (skip && op != 34 && op != 35) {
        if (op == 3) {
          skip = false;
        } else {
          pc += len;
          if (!cond && op != 23) skip = false;
        }
        return;
      }
      if (cond) {
        pc += len;
        if (Cond(op)) continue;
        skip = true;
        return;
      }
      if (op == 23) {
        if (!Finished()) return;
        pc += len;
        continue;
      }
      pc += len;
      switch (op) {
        case 1: vars[23] = rx; vars[25] = ry; break;
        case 2: wait = code[pc - 1]; waiting = true; break;
        case 3: pc -= len; done = true; break;
        case 6: vars[code[pc - 2] - SPSCRIPT_VAR_BASE] = V(code[pc - 1]); break;
        case 7: vars[code[pc - 2] - SPSCRIPT_VAR_BASE] += V(code[pc - 1]); break;
        case 9: code = stack.back().first; pc = stack.back().second; stack.pop_back(); break;
        case 10: stack.push_back({code, pc}); code = Code(code[pc - 1]); pc = 0; break;
        case 46: trace.push_back(tick); break;
        default: break;
      }
      return;
    }
  }
  void Tick() {
    if (done) return;
    if (waiting) {
      if (--wait < 0) { waiting = false; resume = true; }
      return;
    }
    if (resume) {
      resume = false;
      if (code[pc] != 34) return;
    }
    if (code[pc] == 34) {
      do Unit(); while (code[pc] != 35);
      return;
    }
    Unit();
  }
};

std::uint32_t Next(std::uint32_t* s) {
  *s = *s * 1664525u + 1013904223u;
  return *s >> 8;
}

std::string RandomSource(std::uint32_t seed) {
  std::string subs, top = "script 1 top\n start\n";
  const char* conds[] = {"if_ry_neg", "if_ry_pos", "if_rx_neg", "if_rx_pos"};
  auto plain = [&](bool inBlock) {
    switch (Next(&seed) % (inBlock ? 5 : 7)) {
      case 0: return std::string(" whistle\n");
      case 1: return " set v1 " + std::to_string(Next(&seed) % 9) + "\n";
      case 2: return " add v1 " + std::to_string(Next(&seed) % 9) + "\n";
      case 3: {
        // A condition guards an ordinary instruction, never a block edge.
        static const char* guarded[] = {" whistle\n", " add v1 2\n", " set v1 1\n", " call s2\n"};
        return std::string(" ") + conds[Next(&seed) % 4] + "\n" + guarded[Next(&seed) % 4];
      }
      case 4: return " call s" + std::to_string(2 + Next(&seed) % 3) + "\n";
      case 5: return " wait " + std::to_string(Next(&seed) % 4) + "\n";
      default: return std::string(" wait_anim v2\n");
    }
  };
  for (int id = 2; id <= 4; ++id) {
    subs += "sub " + std::to_string(id) + " s" + std::to_string(id) + "\n";
    const int n = static_cast<int>(Next(&seed) % 4);
    for (int i = 0; i < n; ++i) subs += Next(&seed) % 3 ? " add v1 1\n whistle\n" : std::string(" ") + conds[Next(&seed) % 4] + "\n";
    subs += " add v1 1\n ret\n";  // a condition never guards the return
  }
  // Subroutines call nothing: any call is fine inside a block.
  const int n = 5 + static_cast<int>(Next(&seed) % 20);
  for (int i = 0; i < n; ++i) {
    if (Next(&seed) % 5 == 0) {
      top += " begin\n";
      const int k = static_cast<int>(Next(&seed) % 5);
      for (int j = 0; j < k; ++j) top += plain(true);
      top += " close\n";
    } else {
      top += plain(false);
    }
  }
  top += " whistle\n end\n";
  return top + subs;
}

TEST(SpScriptTest, MatchesTheModelOnRandomScripts) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    const std::string src = RandomSource(seed);
    Rig r(src);
    r.host.rx = static_cast<std::int32_t>(seed % 3) - 1;
    r.host.ry = static_cast<std::int32_t>(seed / 3 % 3) - 1;
    r.machine.VarSet(2, 3);  // v2 holds a player; its animation ends every fifth tick
    Model m;
    m.list = &r.list;
    m.code = m.Code(1);
    m.rx = r.host.rx;
    m.ry = r.host.ry;
    m.vars[2] = 3;
    std::vector<int> got;
    for (int t = 0; t < 400 && r.machine.State() != SPSCRIPT_FINISHED; ++t) {
      r.host.finished[3] = t % 5 == 0;
      const std::size_t before = r.host.events.size();
      r.machine.Update();
      for (std::size_t i = before; i < r.host.events.size(); ++i)
        if (r.host.events[i].op == 46) got.push_back(t);
      m.tick = t;
      m.Tick();
      ++r.host.tick;
      ASSERT_EQ(r.machine.Pc(), m.pc) << "seed " << seed << " tick " << t;
      ASSERT_EQ(r.machine.SkipFlag(), m.skip) << "seed " << seed << " tick " << t;
      ASSERT_EQ(r.machine.State() == SPSCRIPT_FINISHED, m.done) << "seed " << seed << " tick " << t << "\n" << src;
    }
    EXPECT_TRUE(m.done) << src;
    EXPECT_EQ(got, m.trace) << "seed " << seed << "\n" << src;
    EXPECT_EQ(r.machine.Var(1), m.vars[1]) << src;
  }
}

}  // namespace

namespace {

// The shipped scripts on the fake host: each finishes, and the throw-in,
// corner and free kick place their people as staged.
struct Shipped {
  FakeHost host;
  SpScriptMachine machine{spscript_List, &host};
  explicit Shipped(std::int32_t id, std::int32_t rx, std::int32_t ry, std::int32_t action) {
    host.rx = rx;
    host.ry = ry;
    host.action = action;
    machine.Reset();
    machine.HolderSet(8);
    machine.Call(id);
  }
  int Run() {
    int t = 0;
    for (; t < 2000 && machine.State() != SPSCRIPT_FINISHED; ++t) {
      // Every animation ends and every walk arrives some ticks after it starts.
      for (std::int32_t h = 1; h <= 24; ++h) {
        host.finished[h] = t % 20 == 19;
        host.frame[h] = t % 40;
        host.near[h] = t % 30 == 29;
      }
      machine.Update();
      ++host.tick;
    }
    return t;
  }
  std::vector<std::int32_t> Args(std::int32_t op, std::int32_t who) const {
    for (const Event& e : host.events)
      if (e.op == op && !e.args.empty() && e.args[0] == who) return e.args;
    return {};
  }
};

TEST(SpScriptTest, ShippedListIsOrdered) {
  int i = 0;
  for (; spscript_List[i].id != -1; ++i) {
    EXPECT_EQ(spscript_List[i].id, i + 1);
    EXPECT_NE(spscript_List[i].code, nullptr);
  }
  EXPECT_EQ(i, 22);
  EXPECT_EQ(spscript_List[i].code, nullptr);
}

TEST(SpScriptTest, ShippedScriptsStageTheirRestarts) {
  for (std::int32_t ry : {-5760, 5760}) {
    Shipped s(1, 1200, ry, 1);
    EXPECT_LT(s.Run(), 2000);
    const std::int32_t side = ry < 0 ? -1 : 1;
    EXPECT_EQ(s.Args(13, 3), (std::vector<std::int32_t>{3, 1200, side * 5760}));    // taker on the line
    EXPECT_EQ(s.Args(21, 3), (std::vector<std::int32_t>{3, 1200, side * 7200}));    // facing out
    EXPECT_EQ(s.Args(13, 8), (std::vector<std::int32_t>{8, 1200, ry - side * 720}));  // holder inside
    EXPECT_EQ(s.Args(19, 3), (std::vector<std::int32_t>{3, 173}));
    EXPECT_EQ(s.host.TickOf(48), 1);
    ASSERT_FALSE(s.host.events.empty());
    EXPECT_EQ(s.host.events.back().op, 3);
    EXPECT_FALSE(s.host.events.back().penalty);
  }
  const struct {
    std::int32_t rx, ry, anim, faceX;
  } corners[] = {{-9360, -5760, 175, -10080}, {-9360, 5760, 174, -10080}, {9360, -5760, 174, 10080},
                 {9360, 5760, 175, 10080}};
  for (const auto& c : corners) {
    Shipped s(4, c.rx, c.ry, 1);
    EXPECT_LT(s.Run(), 2000);
    EXPECT_EQ(s.Args(13, 3), (std::vector<std::int32_t>{3, c.rx, c.ry}));
    EXPECT_EQ(s.Args(21, 3), (std::vector<std::int32_t>{3, c.faceX, c.ry}));
    EXPECT_EQ(s.Args(19, 3), (std::vector<std::int32_t>{3, c.anim}));
    bool freed = false;
    for (const Event& e : s.host.events) freed = freed || (e.op == 20 && e.args[0] == 0);
    EXPECT_TRUE(freed);
  }
  for (std::int32_t action : {2, 3, 4}) {
    for (std::int32_t id : {11, 22}) {
      Shipped s(id, -3000, 1000, action);
      s.host.dir[3] = 1;
      EXPECT_LT(s.Run(), 2000);
      const std::int32_t refX = -3000 + (action == 4 ? 432 : 1008);
      EXPECT_EQ(s.Args(13, SPSCRIPT_HANDLE_REFEREE), (std::vector<std::int32_t>{SPSCRIPT_HANDLE_REFEREE, refX, 1000}));
      EXPECT_EQ(s.Args(13, 5), (std::vector<std::int32_t>{5, -3144, 1000}));
      EXPECT_EQ(s.Args(21, 3), (std::vector<std::int32_t>{3, 9360, 0}));
      EXPECT_EQ(s.Args(19, SPSCRIPT_HANDLE_REFEREE),
                (std::vector<std::int32_t>{SPSCRIPT_HANDLE_REFEREE, action == 4 ? 123 : 179}));
      int cards = 0;
      for (const Event& e : s.host.events) cards += e.op == 43;
      // The card sequence runs once, in the block for a plain foul (and always
      // in the penalty's block), after it for a card.
      EXPECT_EQ(cards, id == 22 && action != 4 ? 2 : 1) << id << " " << action;
      EXPECT_EQ(s.host.events.back().penalty, id == 22);
      EXPECT_EQ(s.host.TickOf(id == 22 ? 44 : 24), s.host.events.back().tick - 1);
    }
  }
  Shipped sub(21, 0, 0, 1);
  EXPECT_LT(sub.Run(), 2000);
  EXPECT_EQ(sub.Args(14, 9), (std::vector<std::int32_t>{9, -432, -6336, 160}));
  EXPECT_EQ(sub.Args(13, SPSCRIPT_HANDLE_SPARE), (std::vector<std::int32_t>{SPSCRIPT_HANDLE_SPARE, 0, -5904}));
  EXPECT_EQ(sub.Args(14, SPSCRIPT_HANDLE_SPARE), (std::vector<std::int32_t>{SPSCRIPT_HANDLE_SPARE, 0, 0, 102}));
  EXPECT_GE(sub.host.TickOf(41), 0);
}

}  // namespace
