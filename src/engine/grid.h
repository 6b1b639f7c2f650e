#pragma once
// The support grid: every 120-unit cell of the pitch rated for the side
// attacking toward +x (low near its own goal, high near the goal it attacks,
// highest along the middle), and each player's support state.
#include <cstdint>

struct Player;

constexpr std::int32_t GRID_ROWS = 48;      // touch line to centre line; 48..95 mirror
constexpr std::int32_t GRID_COLUMNS = 156;
extern const std::uint8_t grid_aSupport[GRID_ROWS][GRID_COLUMNS];

std::int32_t grid_ValueGet(std::int32_t iColumn, std::int32_t iRow);
std::int32_t grid_ValueGetMirror(std::int32_t iColumn, std::int32_t iRow);
void grid_SupportStateSet(Player* pp, std::int32_t iState);
std::int32_t grid_SupportStateGet(const Player* pp);
void grid_SupportStateInit(Player* pp);

struct ActionNode;
// Support states 1..5; each keeps its state.
std::int32_t grid_SupportState1(Player* pp);
std::int32_t grid_SupportState2(Player* pp);
std::int32_t grid_SupportState3(Player* pp);
std::int32_t grid_SupportState4(Player* pp);
std::int32_t grid_SupportState5(Player* pp);
ActionNode* grid_SupportHandler(ActionNode* poList);
// An unmarked attacker runs for goal (or 1440 straight ahead).
ActionNode* grid_TargetRunHandler(ActionNode* poList);
