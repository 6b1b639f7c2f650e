#pragma once
// The action table, the per-tick action pass, the program records the
// off-ball players and the ball holder follow, the director that runs a few
// off-ball players a tick, and the closing-down choice.
#include <cstdint>

#include "engine/action_list.h"
#include "engine/aiopt.h"    // option search ids 23, 24, 39 and 46
#include "engine/offside.h"  // ACTION_ONSIDE

struct Player;
struct AIInfo;

constexpr std::int32_t ACTION_TABLE_SIZE = 47;

enum : std::int32_t {
  ACTION_STAND = 0,
  ACTION_NULL = 1,
  ACTION_CHASE = 2,
  ACTION_SETPIECE_EXIT = 3,
  ACTION_GOALKEEPER = 4,
  ACTION_HOLDER_CHOOSE = 6,
  ACTION_SUPPORT = 7,
  ACTION_SETPIECE_POSITION = 8,
  ACTION_WALL_RETREAT = 9,
  ACTION_RETREAT = 10,
  ACTION_MARK = 12,
  ACTION_SETPIECE_MOVE = 13,
  ACTION_PENALTY = 14,
  ACTION_FORMATION_RETREAT = 15,
  ACTION_FREEKICK = 16,
  ACTION_GOALKICK = 17,
  ACTION_CORNER = 18,
  ACTION_THROWIN = 19,
  ACTION_KICKOFF = 20,
  ACTION_SETPIECE_ENTER = 21,
  ACTION_TOUCH = 22,
  ACTION_FACE_CENTRE = 26,
  ACTION_RESERVED_27 = 27,
  ACTION_GOAL_REACT = 28,
  ACTION_ZONE_RUN = 29,
  ACTION_USER_SUPPORT = 30,
  ACTION_ATTACK_IDLE = 31,
  ACTION_GRID_SUPPORT = 32,
  ACTION_SHOOT_OR_PASS = 33,
  ACTION_RESERVED_34 = 34,
  ACTION_HOLDER_REACT = 35,
  ACTION_CLEAR = 36,
  ACTION_PASS_TO_MATE = 37,
  ACTION_GOAL_CELEBRATE = 38,
  ACTION_CROSS = 42,
  ACTION_SHOOT = 43,
  ACTION_KEEPER_HANDS = 44,
  ACTION_CLOSE_DOWN = 45,
};

constexpr std::int32_t ACTION_PROGRAM_SETS = 76;
constexpr std::int32_t ACTION_PROGRAM_ENTRIES = 64;

// The handlers by slot; an empty slot has none.
extern ActionHandler action_apfnHandlers[ACTION_TABLE_SIZE];

void action_TableInit();
// Runs one action for one player: true when the handler took him.
std::int32_t action_Run(Player* pp, std::int32_t eAction);
std::int32_t action_RecordLoad(Player* pp);
void action_RecordAdvance(ActionNode* poList);
void action_RunForPlayer(Player* pp);
void action_ProgramReset(Player* pPlayer);
void action_RecordClear(Player* pp);
void action_AttackingSet(Player* pp, std::int32_t bAttacking);
void action_FramePass(std::int32_t eGameMode);
// The point the teams steer by this tick.
void action_SteeringPointGet(std::int32_t* px, std::int32_t* py);
// The first record of a program set's entry (player class x 8 + ball class).
const std::uint8_t* action_ProgramGet(std::int32_t iSet, std::int32_t iEntry);

std::int32_t action_AngleInRange(std::int32_t a, std::int32_t iFrom, std::int32_t iTo);
std::int32_t action_AngleTan(std::int32_t iAngle);

// ---- Director ------------------------------------------------------------------------
void director_Update();
void director_Reset();
Player* director_NextPlayerGet();
Player* director_poPlayerGet();
void director_PlayerSet(Player* pp);

// ---- Closing down -------------------------------------------------------------------
void closedown_PlayerChoose();
void closedown_DelaySet(std::int32_t iTicks);
Player* closedown_poPlayerGet();
std::int32_t closedown_DelayGet();

// ---- Handlers of this module ----------------------------------------------------------
ActionNode* action_StandHandler(ActionNode* poList);
ActionNode* action_NullHandler(ActionNode* poList);
ActionNode* action_ChaseHandler(ActionNode* poList);
ActionNode* touch_Identity(ActionNode* poList);
ActionNode* touch_IdentityAlt(ActionNode* poList);

// ---- Ball-holder, reaction, support and after-goal handlers ------------------------------
ActionNode* action_HolderChooseHandler(ActionNode* poList);
ActionNode* action_SupportHandler(ActionNode* poList);
ActionNode* action_FaceCentreHandler(ActionNode* poList);
ActionNode* action_GoalReactHandler(ActionNode* poList);
ActionNode* action_UserSupportHandler(ActionNode* poList);
ActionNode* action_AttackIdleHandler(ActionNode* poList);
ActionNode* action_ShootOrPassHandler(ActionNode* poList);
ActionNode* action_HolderReactHandler(ActionNode* poList);
ActionNode* action_ClearHandler(ActionNode* poList);
ActionNode* action_PassToMateHandler(ActionNode* poList);
ActionNode* action_GoalCelebrateHandler(ActionNode* poList);
ActionNode* action_CrossHandler(ActionNode* poList);
ActionNode* action_ShootHandler(ActionNode* poList);
ActionNode* action_CloseDownHandler(ActionNode* poList);
// The common guard of the ball-holder actions: he holds the ball, is not
// kicking, is played and may act.
std::int32_t action_HolderGuard(const Player* pp);
