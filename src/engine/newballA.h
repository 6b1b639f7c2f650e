#pragma once
// Who owns the ball: the owner, the previous owner and the kicker kept
// consistent, the teams' possession switched, user control re-targeted and
// the touch machine told; beside them the ball's target player and point.
#include <cstdint>

struct Ball;
struct Player;

void newballA_OwnerSet(Player* pp, std::int32_t bForce);
void newballA_TargetPlayerSet(Ball* poBall, Player* pp);
Player* newballA_TargetPlayerGet(const Ball* poBall);
// Stores the target point and returns its direction from the ball (802 a turn).
std::int32_t newballA_TargetSet(Ball* poBall, std::int32_t x, std::int32_t y);
std::int32_t newballA_TargetXGet(const Ball* poBall);
std::int32_t newballA_TargetYGet(const Ball* poBall);
std::int32_t newballA_KindGet(const Ball* poBall);
// The next owner change does not hand a user to the keeper's team-mate.
void newballA_QuietReleaseSet();
std::int32_t newballA_QuietReleaseGet();
// Clears the quiet-release flag (match set-up).
void newballA_MatchReset();
std::int32_t ball_IsJustReleasedBy(const Player* pp);
// Closing-down delay of the defending side for a team rating (0..10 used).
std::int32_t newballA_CloseDownDelayGet(std::int32_t iRating);
