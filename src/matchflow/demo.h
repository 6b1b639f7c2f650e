#pragma once
// The attract-mode demo match: a computer-only match that blinks "DEMO" and
// leaves by itself after the first goal at the next kick-off, shortly after
// the fifth minute, or when a player asks it to stop.
#include <cstdint>

enum : std::int32_t {
  DEMO_OFF = 0,
  DEMO_RUNNING = 1,
  DEMO_GOAL_SCORED = 2,  // waiting for the kick-off
  DEMO_COUNTDOWN = 3,
  DEMO_STOP_REQUESTED = 4,
  DEMO_LEAVE = 5,
};

constexpr std::int32_t DEMO_COUNTDOWN_GOAL = 30;
constexpr std::int32_t DEMO_COUNTDOWN_MINUTE = 10;
constexpr std::int32_t DEMO_LAST_MINUTE = 5;
constexpr std::int32_t DEMO_TEXT = 64;  // "DEMO" in the in-match texts
constexpr std::int32_t DEMO_BINDING = 45;  // Start or the first button released: event 158

struct DemoMachine {
  std::int32_t eState;
  std::int32_t iCountdown;
  std::uint32_t uBlink;
};
extern DemoMachine demo_oMachine;

void demo_Start();
void demo_Stop();
void demo_StopRequest();
std::int32_t demo_bIsRunning();
// Once per logic tick of a match.
void demo_Update();
// Whether the blinking text shows on the tick the counter has reached.
std::int32_t demo_bTextShows(std::uint32_t uBlink);
