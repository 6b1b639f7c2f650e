#pragma once
// The referee on the pitch: a Player record that follows play along the
// diagonal, shows cards, stands at the penalty spot, walks back and leaves.
#include <cstdint>

enum : std::int32_t {
  REFACT_START = 0,     // start following
  REFACT_FOLLOW = 1,    // follow play
  REFACT_YELLOW = 2,    // show the yellow card
  REFACT_RED = 3,       // show the red card
  REFACT_STAND = 4,     // stand (no card)
  REFACT_PENALTY = 5,   // stand at the penalty spot
  REFACT_NOTHING = 6,
  REFACT_WALK_BACK = 7,
  REFACT_LEAVE = 8,
};

// The referee's record at kick-off set-up.
void refact_Init();
// His behaviour for one tick.
void refact_Update();
void refact_ActionSet(std::int32_t iAction);
std::int32_t refact_ActionGet();
// 1 while the yellow card was shown last, 0 after the red.
std::int32_t refact_CardShownGet();
void refact_SecondBookingSet(std::int32_t bFlag);
std::int32_t refact_SecondBookingGet();
// Follow-play hysteresis: 0 while moving, 2 once stopped near his point.
std::int32_t refact_HysteresisGet();
// Where following play wants him.
void refact_FollowPointGet(std::int32_t* px, std::int32_t* py);
