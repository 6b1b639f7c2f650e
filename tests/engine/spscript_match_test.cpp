// The shipped set-piece scripts on the engine test match: each restart is
// staged (restart point, taker, offender, fouled player, referee action), the
// script started by its start operation and ticked with the match until it
// ends. A plain model of the driver steps beside it, asking the same match
// for its conditions and waits; both must agree every tick. The places the
// script leaves are checked against what it stages.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "audio/sound.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/spscript.h"
#include "engine/spscript_core.h"
#include "engine_env.h"
#include "matchflow/camera.h"
#include "tournament/dbplayer.h"

const SpScriptMachine* spscript_poMachineGet();
void spscript_StepObserverSet(void (*pfn)());

namespace {

Player* FromHandle(std::int32_t h) {
  if (h >= 1 && h <= 11) return &player_aHome[h - 1];
  if (h >= 12 && h <= 22) return &player_aAway[h - 12];
  if (h == 23) return &player_oReferee;
  return nullptr;
}
std::int32_t ToHandle(const Player* pp) {
  if (!pp) return 0;
  if (pp >= player_aHome && pp < player_aHome + 11) return static_cast<std::int32_t>(pp - player_aHome) + 1;
  if (pp >= player_aAway && pp < player_aAway + 11) return static_cast<std::int32_t>(pp - player_aAway) + 12;
  if (pp == &player_oReferee) return 23;
  return 0;
}

// The driver as the rules read: a wait counts down and then spends a resume
// tick; a block runs whole up to its end, which runs the tick after; every
// other tick runs one unit (skipped instruction, or true conditions and met
// waits with the instruction after them).
struct Model {
  const std::int32_t* code = nullptr;
  std::vector<std::pair<const std::int32_t*, std::int32_t>> stack;
  std::int32_t pc = 0, wait = 0, vars[26] = {};
  bool skip = false, waiting = false, resume = false, done = false;
  std::int32_t holder = 0;

  static const std::int32_t* Code(std::int32_t id) {
    for (int i = 0; spscript_List[i].id != -1; i++)
      if (spscript_List[i].id == id) return spscript_List[i].code;
    return nullptr;
  }
  std::int32_t V(std::int32_t w) const { return SPSCRIPT_IS_VAR(w) ? vars[w - SPSCRIPT_VAR_BASE] : w; }
  std::int32_t& Ref(std::int32_t w) { return vars[w - SPSCRIPT_VAR_BASE]; }
  static bool IsCond(std::int32_t op) {
    return op == 11 || op == 12 || op == 26 || op == 27 || op == 28 || op == 29 || op == 32 || op == 33 || op == 37;
  }
  static bool IsWait(std::int32_t op) { return op == 23 || op == 31 || op == 40; }
  bool Cond(std::int32_t op, const std::int32_t* a) const {
    const std::int32_t rx = referee_RestartXGet(), ry = referee_RestartYGet(), act = refact_ActionGet();
    switch (op) {
      case 11: return ry < 0;
      case 12: return ry >= 0;
      case 26: return rx < 0;
      case 27: return rx > 0;
      case 28:
      case 29: {
        const Player* pp = FromHandle(V(a[0]));
        return pp && pp->Direction == (op == 28 ? 0 : 1);
      }
      case 32: return act == 4;
      case 33: return act == 2;
      default: return act == 3;
    }
  }
  bool WaitMet(std::int32_t op, const std::int32_t* a) const {
    const Player* pp = FromHandle(V(a[0]));
    if (!pp) return true;
    if (op == 23) return anim_IsEnded(&pp->oAnimData) != 0;
    if (op == 31) return anim_FrameGet(&pp->oAnimData) >= V(a[1]);
    const std::int64_t dx = pp->oAnimInfo.iTargetX - pp->x, dy = pp->oAnimInfo.iTargetY - pp->y;
    return dx * dx + dy * dy < 5184;
  }
  void Unit() {
    for (;;) {
      const std::int32_t op = code[pc];
      const std::int32_t len = 1 + spscript_aArgc[op];
      const std::int32_t* a = code + pc + 1;
      if (skip && op != 34 && op != 35 && op != 36) {
        if (op == 3) {
          skip = false;
        } else {
          pc += len;
          if (!IsCond(op) && !IsWait(op)) skip = false;
        }
        return;
      }
      if (IsCond(op)) {
        pc += len;
        if (Cond(op, a)) continue;
        skip = true;
        return;
      }
      if (IsWait(op)) {
        if (!WaitMet(op, a)) return;
        pc += len;
        continue;
      }
      pc += len;
      switch (op) {
        case 1: vars[23] = referee_RestartXGet(); vars[25] = referee_RestartYGet(); break;
        case 2: wait = V(a[0]); waiting = true; break;
        case 3: pc -= len; done = true; break;
        case 6: Ref(a[0]) = V(a[1]); break;
        case 7: Ref(a[0]) += V(a[1]); break;
        case 8: Ref(a[0]) -= V(a[1]); break;
        case 9: code = stack.back().first; pc = stack.back().second; stack.pop_back(); break;
        case 10: stack.push_back({code, pc}); code = Code(V(a[0])); pc = 0; break;
        case 15: Ref(a[0]) = ToHandle(referee_poOffenderGet()); break;
        case 16: Ref(a[0]) = ToHandle(referee_poFouledGet()); break;
        case 17: Ref(a[0]) = 23; break;
        case 18: Ref(a[0]) = ToHandle(setp_poGetKickTaker()); break;
        case 22: Ref(a[0]) = -Ref(a[0]); break;
        case 38: case 39: Ref(a[0]) = 0; break;
        case 45: Ref(a[0]) = holder; break;
        case 49: Ref(a[0]) = 0; break;
        default: break;
      }
      return;
    }
  }
  bool Running() const { return !waiting && !resume && !done; }
  // One step.
  void Step() {
    if (done) return;
    if (waiting) {
      if (--wait < 0) waiting = false, resume = true;
      return;
    }
    if (resume) {
      resume = false;
      return;
    }
    Unit();
  }
  // One tick of the driver.
  void Tick() {
    if (waiting || done) {
      Step();
      return;
    }
    if (code[pc] == 34) {
      do Step(); while (Running() && code[pc] != 35);
      return;
    }
    Step();
  }
};

Model* s_poModel;
void ModelStep() { s_poModel->Step(); }

struct Staging {
  std::int32_t rx, ry;
  Player* poTaker;
  Player* poOffender;
  Player* poFouled;
  std::int32_t iAction;
};

class SpScriptMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    camera_TypesRegister();
    camera_Init();
    setp_Init();
    match_SentOffSet(nullptr);
  }
  void Stage(const Staging& s) {
    referee_RestartPointSet(s.rx, s.ry);
    setp_KickTakerSet(s.poTaker);
    referee_OffenderSet(s.poOffender);
    referee_FouledPlayerSet(s.poFouled);
    refact_ActionSet(s.iAction);
    ball_PositionSet(&ball_oBall, s.rx, 0, s.ry);
  }
  // Ticks the started script beside the model; returns the ticks it took.
  // afterBlock runs once, on the tick the top-level script's block ran.
  // The script actors step the machine too, so the block may also run a
  // step at a time: afterBlock runs at the first look after it has run.
  int RunToEnd(std::int32_t iScript, std::int32_t iHolder = 0, const std::function<void()>& afterBlock = {}) {
    bool bBlockSeen = false;
    const std::int32_t* code = Model::Code(iScript);
    std::int32_t iClose = 0;
    while (code[iClose] != 35) iClose += 1 + spscript_aArgc[code[iClose]];
    auto seeBlock = [&] {
      const SpScriptMachine* pm = spscript_poMachineGet();
      if (bBlockSeen || pm->Script() != code || pm->Pc() < iClose) return;
      bBlockSeen = true;
      if (afterBlock) afterBlock();
    };
    Model m;
    m.code = Model::Code(iScript);
    m.holder = iHolder;
    const SpScriptMachine* pm = spscript_poMachineGet();
    int t = 0;
    for (; t < 4000 && pm->State() != SPSCRIPT_FINISHED; t++) {
      m.Tick();
      spscript_UpdateScript();
      seeBlock();
      // Actors whose gesture ends step the script during the movement pass:
      // the model steps at the same moment.
      s_poModel = &m;
      spscript_StepObserverSet(ModelStep);
      EngineTick();
      spscript_StepObserverSet(nullptr);
      seeBlock();
      EXPECT_EQ(m.pc, pm->Pc()) << "script " << iScript << " tick " << t;
      EXPECT_EQ(m.done, pm->State() == SPSCRIPT_FINISHED) << "script " << iScript << " tick " << t;
      if (m.pc != pm->Pc()) break;
    }
    EXPECT_TRUE(bBlockSeen);
    EXPECT_LT(t, 4000) << "script " << iScript << " never ended";
    EXPECT_EQ(pm->Script(), Model::Code(iScript)) << "ended inside a subroutine";
    return t;
  }
};

TEST_F(SpScriptMatchTest, ThrowInsOnBothTouchLines) {
  for (std::int32_t ry : {-6048, 6048}) {
    SetUp();
    Player* poTaker = EnginePlayer(5);
    Player* poHolder = EnginePlayer(14);
    Stage({-3000, ry, poTaker, nullptr, nullptr, 1});
    newballA_OwnerSet(poHolder, 1);
    ASSERT_EQ(ball_OwnerGet(), poHolder);
    spscript_StartThrowIn();
    EXPECT_EQ(ball_OwnerGet(), nullptr);  // the holder let it go
    const std::int32_t line = ry < 0 ? -5760 : 5760;
    const int t = RunToEnd(1, ToHandle(poHolder), [&] {
      // The thrower on the touch line at the restart x with the ball; the
      // old holder 720 units inside the pitch; the throw-in camera pushed.
      EXPECT_EQ(poTaker->x, -3000);
      EXPECT_EQ(poTaker->y, line);
      EXPECT_EQ(poHolder->y, ry + (ry < 0 ? 720 : -720));
      EXPECT_EQ(poHolder->x, -3000);
      EXPECT_EQ(ball_OwnerGet(), poTaker);
    });
    EXPECT_GT(t, 30 + 15);
    EXPECT_EQ(poTaker->oAnimInfo.eActionAnim, 152u);  // throwing
    EXPECT_EQ(camera_aiThrowView[0], -3000);
    EXPECT_EQ(camera_aiThrowView[1], 720);
    EXPECT_EQ(camera_aiThrowView[2], ry + (ry < 0 ? 1728 : -1728));
    EXPECT_EQ(camera_aiThrowView[4], 288);
    EXPECT_EQ(refact_ActionGet(), 1);  // the referee follows play again
  }
}

TEST_F(SpScriptMatchTest, CornersAtTheFourCorners) {
  const std::int32_t aCorners[4][2] = {{-9360, -5760}, {-9360, 5760}, {9360, -5760}, {9360, 5760}};
  for (const auto& c : aCorners) {
    SetUp();
    Player* poTaker = EnginePlayer(c[0] > 0 ? 7 : 18);
    Stage({c[0], c[1], poTaker, nullptr, nullptr, 1});
    spscript_StartCorner();
    // The corner's set-up chooses its own taker from the side in possession.
    poTaker = setp_poGetKickTaker();
    ASSERT_NE(poTaker, nullptr);
    RunToEnd(4, 0, [&] {
      // The taker put at the ball in the corner with it, stepping into the
      // side's placing animation (its first steps may have moved him).
      EXPECT_LT(setp_Distance(poTaker->x - c[0], poTaker->y - c[1]), 300);
      EXPECT_EQ(ball_OwnerGet(), poTaker);
      const bool bLeftLow = (c[0] < 0) == (c[1] < 0);
      EXPECT_EQ(poTaker->oAnimInfo.eActionAnim, bLeftLow ? 175u : 174u);
    });
    // The ball let go where the taker placed it in the corner; the camera
    // 720 high over the restart point.
    EXPECT_LT(setp_Distance(ball_XGet(&ball_oBall) - c[0], ball_YGet(&ball_oBall) - c[1]), 300);
    EXPECT_EQ(ball_OwnerGet(), nullptr);
    EXPECT_EQ(camera_aiThrowView[1], 720);
    EXPECT_EQ(camera_aiThrowView[5], c[1]);
  }
}

TEST_F(SpScriptMatchTest, FreeKicksForEachRefereeAction) {
  struct Case {
    std::int32_t iAction;
    std::int32_t dxRef;
    std::int32_t iCard;
  } cases[] = {{4, 432, 0}, {2, 1008, 1}, {3, 1008, 2}};
  for (const Case& c : cases) {
    for (std::int32_t rx : {-4000, 4000}) {
      SetUp();
      Player* poTaker = EnginePlayer(8);
      Player* poOffender = EnginePlayer(15);
      Player* poFouled = EnginePlayer(9);
      poOffender->iCardState = 0;
      Stage({rx, 1000, poTaker, poOffender, poFouled, c.iAction});
      spscript_StartFreeKick();
      const std::int32_t s = rx < 0 ? 1 : -1;
      RunToEnd(11, 0, [&] {
        // Referee beside the ball (nearer for no card), the offender 144
        // away on the other side.
        EXPECT_EQ(player_oReferee.x, rx + s * c.dxRef) << c.iAction;
        EXPECT_EQ(player_oReferee.y, 1000);
        EXPECT_EQ(poOffender->x, rx - s * 144);
      });
      EXPECT_EQ(ball_XGet(&ball_oBall), rx);
      EXPECT_EQ(poOffender->iCardState, c.iCard) << c.iAction;
      EXPECT_EQ(match_poSentOffGet(), c.iAction == 3 ? poOffender : nullptr);
      EXPECT_EQ(refact_ActionGet(), 1);
    }
  }
}

// A card brings the reaction of the crowd of the side that did not offend:
// the away crowd's for a home offender, the home crowd's for an away one.
TEST_F(SpScriptMatchTest, ACardsCrowdReactionIsTheOtherSidesCrowds) {
  for (const std::int32_t iAction : {2, 3}) {
    for (const std::int32_t iOffender : {4, 15}) {
      SetUp();
      Player* poOffender = EnginePlayer(iOffender);
      poOffender->iCardState = 0;
      Stage({-4000, 1000, EnginePlayer(iOffender < 11 ? 16 : 8), poOffender, EnginePlayer(iOffender < 11 ? 17 : 9),
             iAction});
      crowd_o.bRunning = 0;
      crowd_o.iCurrent = CROWD_GOAL;
      spscript_StartFreeKick();
      RunToEnd(11);
      EXPECT_EQ(crowd_o.iCurrent, iOffender < 11 ? CROWD_AWAY : CROWD_HOME)
          << "action " << iAction << ", offender " << iOffender;
      EXPECT_EQ(poOffender->iCardState, iAction == 2 ? 1 : 2);
    }
  }
}

TEST_F(SpScriptMatchTest, PenaltyEndsWithTheRefereeAtTheSpot) {
  Player* poTaker = EnginePlayer(9);
  Player* poOffender = EnginePlayer(13);
  Stage({7632, 0, poTaker, poOffender, poTaker, 4});
  spscript_StartPenalty();
  RunToEnd(22);
  EXPECT_EQ(refact_ActionGet(), 5);
  EXPECT_EQ(camera_iCurrentGet(), 11);
}

TEST_F(SpScriptMatchTest, SubstitutionWithNobodyPendingStillEnds) {
  Stage({0, 0, nullptr, nullptr, nullptr, 1});
  spscript_StartSubstitution();
  RunToEnd(21);
}

}  // namespace
