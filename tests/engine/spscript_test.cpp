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
