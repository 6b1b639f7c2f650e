#pragma once
// The per-team match statistics kept in each match side: counters of shots,
// corners, free kicks, offsides and cards, possession and action-area time,
// and the list of goals with scorer, minute and kind.
#include <cstdint>

struct DBPlayer;

constexpr std::int32_t GSTATSO_GOALS_MAX = 30;

struct MatchStats {
  // Counters that wrap at 256.
  std::uint8_t Shots;
  std::uint8_t OnTarget;
  std::uint8_t Corners;
  std::uint8_t FreeKicks;
  std::uint8_t Offsides;
  std::uint8_t Booked;
  std::uint8_t SentOff;
  std::int32_t Possession;     // clock units while the team had the ball
  std::int32_t ActionArea[3];  // clock units with the ball at x < -3119, between, x > 3119
  std::uint8_t GoalCount;      // goals in the list, 0..30
  DBPlayer* GoalScorer[GSTATSO_GOALS_MAX];
  std::uint8_t GoalMinute[GSTATSO_GOALS_MAX];
  std::uint8_t GoalKind[GSTATSO_GOALS_MAX];  // 0 an ordinary goal
};
