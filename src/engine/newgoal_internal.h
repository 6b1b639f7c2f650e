#pragma once
// What the keeper's machine and his positioning share.
#include <cstdint>

struct BallPathEntry;
struct GoalieObject;
struct Player;

// QMathRandRange of a term that can come out 0 or less (then 0, no draw).
std::int32_t newgoal_Rand(std::int32_t n);
// +1 for the keeper of the goal at +x, -1 for the other.
std::int32_t newgoal_Sign(const GoalieObject* g);
// The path entry he meets a shot at; false when none.
bool newgoal_KeeperEntryGet(const Player* pp, BallPathEntry* pe);
// The come-out alerts back to off.
void newgoal_AlertReset();
