#pragma once
// The ball holder's two choices: the team-mate a pass in a given direction
// goes to, and where on the goal a chip really goes for the striker's skill.
// Beside them the lead point of a header pass and the shot value grid.
#include <cstdint>

struct Player;
struct ReceiverRecord;

constexpr std::int32_t SHTPASS_SECTORS = 23;
extern const std::int32_t shtpass_aiSectorTable[SHTPASS_SECTORS][4];
// {0, distance to the chosen receiver, 0, 20}.
extern std::int32_t shtpass_aiLane[1][4];

// Direction in 802 units a turn; 1 with the record filled, 0 with no team-mate.
std::int32_t shtpass_PassChoose(Player* poHolder, ReceiverRecord* pOut, std::int32_t iDirection);
void shot_SpreadGet(Player* poStriker, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
void pass_LeadPointGet(Player* poPasser, Player* poReceiver, std::int32_t* px, std::int32_t* py,
                       std::int32_t iSkill);

// The shot value grid: 48 columns x 14 rows, peaks of 99 in front of the goal.
constexpr std::int32_t SHOT_GRID_COLUMNS = 48;
constexpr std::int32_t SHOT_GRID_ROWS = 14;
std::int32_t shot_GridValueGet(std::int32_t iColumn, std::int32_t iRow);
// Square spiral outward from the cell for the first value at or above the
// threshold: the value and the cell, or -1 once the spiral has left the grid
// on both axes. The mirror form searches the grid read right to left.
std::int32_t shot_GridNearestFind(std::int32_t* piColumn, std::int32_t* piRow, std::int32_t iThreshold);
std::int32_t shot_GridNearestFindMirror(std::int32_t* piColumn, std::int32_t* piRow, std::int32_t iThreshold);
std::int32_t shot_SkillGet(const Player* pp);
std::int32_t shot_InRange(const Player* pp);
