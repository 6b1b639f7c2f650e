#pragma once
// Services of the ball-holder and reaction actions: the sector headings of
// the holder's passes, the touch-contact chance, the user steering step and
// the goal celebration's one-shot flag.
#include <cstdint>

struct Player;

// Headings of the sectors 1..8 (index 0..7) for a holder attacking toward
// +x (row 0) and toward -x (row 1): 802 a turn for the shoot-or-pass choice,
// degrees for the pass to a team-mate.
extern const std::int32_t action_aaiSectorHeading[2][8];
extern const std::int32_t action_aaiSectorDegrees[2][8];

// True when the touch-contact chance comes up for the side of `poRated`:
// a draw below (11 - rating) x 75 x 40 falls under the threshold.
std::int32_t action_ContactChance(const Player* poRated, std::int32_t iThreshold);

// One tick of a user-controlled player steered by his user's stick.
void action_UserSteer(Player* pp);
// The user steering's turn counter of a user (by index) and its reset.
std::int32_t action_UserTurnGet(std::int32_t iUser);
void action_UserSteerReset();

// Arms the one celebration the next goal-celebrate action plays.
void react_GoalCelebrationArm();
void react_GoalCelebrationDisarm();
std::int32_t react_GoalCelebrationArmed();
