#pragma once
// The match clock: match time in thirtieths of a second, advanced each tick
// of open play at a rate set by the match length, the four period ends with
// their overrun and hold, and the per-tick possession and action-area
// statistics.
#include <cstdint>

constexpr std::int32_t CLOCK_UNITS_PER_SECOND = 30;
constexpr std::int32_t CLOCK_UNITS_PER_MINUTE = 1800;

enum : std::int32_t {
  CLOCK_STOPPED = 0,
  CLOCK_RUNNING = 1,
  CLOCK_RESUME = 2,  // runs again from the next tick of open play
};

struct MatchClock {
  std::int32_t iClock;          // 1/30 s of match time
  std::int32_t iStep;           // units a tick: 90 / match length
  std::int32_t iLength;         // the match length option, minutes (1..90)
  std::int32_t iPeriod;         // 0, 1 halves; 2, 3 extra time; 4, 5 after it
  std::int32_t iRunState;
  std::int32_t iSavedRunState;
  std::int32_t aiPeriodEnd[4];  // seconds of match time
  std::int32_t bPeriodOver;
};
extern MatchClock clock_oClock;

void clock_Init();
void clock_Start();
void clock_ResumeOnPlay();
void clock_StateSave();
void clock_StateRestore();
std::int32_t clock_Tick();  // the per-tick task; always stays registered
void clock_Update();        // once per simulation step
void clock_PeriodEndAdd(std::int32_t iSeconds);
std::int32_t clock_ValueGet();
std::int32_t clock_SecondsGet();
std::int32_t clock_SecondOfMinuteGet();
std::int32_t clock_MinuteGet();
std::int32_t clock_MinuteOf(std::int32_t iValue);
std::int32_t clock_StepGet();
std::int32_t clock_PeriodGet();
std::int32_t clock_bPeriodOverGet();

// What the clock calls in the match flow and the referee when a period ends.
void periodbreak_Enter();    // game mode 34: walk off, pages, ends swapped, kick-off
void periodend_Enter();      // game mode 35: extra time, replay, shoot-out or the end
void referee_DecisionLock();
