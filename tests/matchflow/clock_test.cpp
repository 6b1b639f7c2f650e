// The match clock: rate by match length, period ends with their hold, the
// run states, and the per-tick statistics.
#include <gtest/gtest.h>

#include "engine/ball.h"
#include "flow_fakes.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "shell/vsync.h"

namespace {

void Fresh(std::int32_t iLength = 10) {
  flowfake::Reset();
  flowfake::iMatchLength = iLength;
  vsync_Init();
  clock_Init();
  clock_Start();
}

// One logic tick: the task list, then the simulation step's clock update.
void Tick() {
  vsync_TasksRun();
  clock_Update();
}

void BallAt(std::int32_t x, std::int32_t y, std::int32_t h) {
  ball_oBall.iX128 = x * 128;
  ball_oBall.iY128 = y * 128;
  ball_oBall.iHeight128 = h * 128;
}

TEST(MatchClock, StepByMatchLengthWithClamps) {
  const std::int32_t table[][2] = {{10, 9}, {5, 18}, {1, 90}, {90, 1}, {45, 2}, {7, 12},
                                   {0, 90}, {-4, 90}, {91, 1}, {1000, 1}};
  for (auto& row : table) {
    Fresh(row[0]);
    EXPECT_EQ(clock_StepGet(), row[1]) << row[0];
  }
  // Length 10: 45 minutes of match time take 9000 ticks (5 minutes at 30 a second).
  Fresh(10);
  clock_oClock.aiPeriodEnd[0] = 100000;
  for (int i = 0; i < 9000; i++) Tick();
  EXPECT_EQ(clock_ValueGet(), 81000);
  EXPECT_EQ(clock_MinuteGet(), 45);
  EXPECT_EQ(clock_SecondOfMinuteGet(), 0);
  EXPECT_EQ(clock_MinuteOf(162000), 90);
}

TEST(MatchClock, EndTimesAreDrawnInTheirRanges) {
  for (int k = 0; k < 200; k++) {
    Fresh();
    const std::int32_t* e = clock_oClock.aiPeriodEnd;
    EXPECT_GE(e[0], 2700);
    EXPECT_LE(e[0], 2730);
    EXPECT_GE(e[1], 5400);
    EXPECT_LE(e[1], 5460);
    EXPECT_GE(e[2], 6300);
    EXPECT_LE(e[2], 6330);
    EXPECT_GE(e[3], 7200);
    EXPECT_LE(e[3], 7230);
  }
}

TEST(MatchClock, EachPeriodEndsAtTheFirstStepPastItsEnd) {
  // {period, end second, clock after, mode pushed, enter}
  struct Row {
    std::int32_t iEnd;
    std::int32_t iClockAfter;
    const char* pszPush;
  };
  const Row rows[] = {{2710, 81000, "push 34 break"}, {5430, 162000, "push 35 end"},
                      {6315, 189000, "push 34 break"}, {7205, 216000, "push 35 end"}};
  Fresh(10);
  for (std::int32_t p = 0; p < 4; p++) {
    const Row& r = rows[p];
    clock_oClock.aiPeriodEnd[p] = r.iEnd;
    clock_Start();
    flowfake::aoTrace.clear();
    std::int32_t iTicks = 0;
    while (clock_PeriodGet() == p && iTicks < 200000) {
      Tick();
      iTicks++;
      if (clock_PeriodGet() == p) {
        EXPECT_LE(clock_SecondsGet(), r.iEnd);
      }
    }
    ASSERT_EQ(clock_PeriodGet(), p + 1);
    EXPECT_EQ(clock_ValueGet(), r.iClockAfter);
    EXPECT_EQ(clock_oClock.iRunState, CLOCK_STOPPED);
    EXPECT_EQ(clock_bPeriodOverGet(), 1);
    const std::vector<std::string> expected = {"reset", r.pszPush, "lock"};
    EXPECT_EQ(flowfake::aoTrace, expected) << p;
    // The clock stays stopped until a mode starts it again.
    const std::int32_t iClock = clock_ValueGet();
    Tick();
    EXPECT_EQ(clock_ValueGet(), iClock);
  }
  // A first half ending at 2710 s ends where the clock passes 81330.
  Fresh(10);
  clock_oClock.aiPeriodEnd[0] = 2710;
  std::int32_t iLast = 0;
  while (clock_PeriodGet() == 0) {
    iLast = clock_ValueGet();
    Tick();
  }
  EXPECT_EQ(iLast + 9, 81333);  // 9037 ticks: the first value past 81330 - 1
  // After extra time nothing ends, and stoppage time is not added.
  clock_oClock.iPeriod = 4;
  clock_oClock.iClock = 300000;
  clock_Start();
  flowfake::aoTrace.clear();
  clock_PeriodEndAdd(30);
  Tick();
  EXPECT_EQ(clock_PeriodGet(), 4);
  EXPECT_TRUE(flowfake::aoTrace.empty());
}

TEST(MatchClock, StoppageTimeMovesTheCurrentEnd) {
  Fresh();
  clock_oClock.iPeriod = 1;
  const std::int32_t iEnd = clock_oClock.aiPeriodEnd[1];
  clock_PeriodEndAdd(30);
  EXPECT_EQ(clock_oClock.aiPeriodEnd[1], iEnd + 30);
  EXPECT_EQ(clock_oClock.aiPeriodEnd[0] >= 2700, true);
}

TEST(MatchClock, TheHoldWhileAnAttackIsLive) {
  Player holder{};
  struct Row {
    std::int32_t x, y, h;
    bool bHeld;       // someone holds the ball
    std::int32_t iSpeed;
    bool bHolds;      // the half is held
  };
  const Row rows[] = {
      {7000, 0, 30, false, 0, true},     // in the air near goal
      {-7000, 3599, 25, false, 0, true},
      {7000, 0, 24, false, 0, false},    // rolling on the ground, below 25
      {6768, 0, 30, false, 0, false},    // not beyond 6768
      {7000, 3600, 30, false, 0, false}, // wide
      {7000, 0, 0, true, 5, true},       // carried by a running player
      {7000, 0, 0, true, 0, false},      // held by a standing player
  };
  for (const Row& r : rows) {
    Fresh();
    clock_oClock.aiPeriodEnd[0] = 100;
    clock_oClock.iClock = 101 * 30;
    BallAt(r.x, r.y, r.h);
    holder.iSpeed = static_cast<std::int16_t>(r.iSpeed);
    ball_oBall.poOwner = r.bHeld ? &holder : nullptr;
    clock_Update();
    EXPECT_EQ(clock_PeriodGet(), r.bHolds ? 0 : 1) << r.x << "," << r.y << "," << r.h;
  }
  // The hold lasts fewer than 60 seconds past the end.
  Fresh();
  clock_oClock.aiPeriodEnd[0] = 100;
  BallAt(7000, 0, 30);
  clock_oClock.iClock = 159 * 30 + 29;
  clock_Update();
  EXPECT_EQ(clock_PeriodGet(), 0);
  clock_oClock.iClock = 160 * 30;
  clock_Update();
  EXPECT_EQ(clock_PeriodGet(), 1);
}

TEST(MatchClock, OnlyOpenPlayRunsAndEndsTheClock) {
  Fresh();
  clock_oClock.aiPeriodEnd[0] = 10;
  clock_oClock.iClock = 20 * 30;
  global.eGameMode = GAME_MODE_THROW_IN;  // a restart at the end time
  for (int i = 0; i < 100; i++) Tick();
  EXPECT_EQ(clock_PeriodGet(), 0);
  EXPECT_EQ(clock_ValueGet(), 600);
  global.eGameMode = GAME_MODE_PLAY;
  Tick();
  EXPECT_EQ(clock_PeriodGet(), 1);
  // Resume: the first tick of open play only starts the clock again.
  Fresh();
  clock_ResumeOnPlay();
  Tick();
  EXPECT_EQ(clock_ValueGet(), 0);
  EXPECT_EQ(clock_oClock.iRunState, CLOCK_RUNNING);
  Tick();
  EXPECT_EQ(clock_ValueGet(), 9);
  // The pause keeps the run state.
  clock_StateSave();
  clock_oClock.iRunState = CLOCK_STOPPED;
  Tick();
  EXPECT_EQ(clock_ValueGet(), 9);
  clock_StateRestore();
  Tick();
  EXPECT_EQ(clock_ValueGet(), 18);
}

TEST(MatchClock, PossessionAndActionAreas) {
  Fresh(10);
  Player home{}, away{};
  flowfake::ChainsSet({&home}, {&away});
  const std::int32_t aiX[] = {-3120, -3119, 0, 3119, 3120};
  const std::int32_t aiArea[] = {0, 1, 1, 1, 2};
  for (int i = 0; i < 5; i++) {
    BallAt(aiX[i], 0, 0);
    std::int32_t before[3];
    for (int k = 0; k < 3; k++) before[k] = flowfake::oHome.MatchStats.ActionArea[k];
    Tick();
    for (int k = 0; k < 3; k++)
      EXPECT_EQ(flowfake::oHome.MatchStats.ActionArea[k] - before[k], k == aiArea[i] ? 9 : 0) << aiX[i];
  }
  EXPECT_EQ(flowfake::oAway.MatchStats.ActionArea[0] + flowfake::oAway.MatchStats.ActionArea[2], 0);
  EXPECT_EQ(flowfake::oHome.MatchStats.Possession + flowfake::oAway.MatchStats.Possession, 0);  // nobody had it
  ball_oBall.poOwner = &home;
  Tick();
  EXPECT_EQ(flowfake::oHome.MatchStats.Possession, 9);
  ball_oBall.poOwner = nullptr;
  ball_oBall.poPrevOwner = &away;
  Tick();
  Tick();
  EXPECT_EQ(flowfake::oAway.MatchStats.Possession, 18);
  EXPECT_EQ(flowfake::oHome.MatchStats.Possession, 9);
}

}  // namespace
