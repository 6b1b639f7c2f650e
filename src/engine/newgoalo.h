#pragma once
// The goalkeeper's own record: the state of his machine, the save he is
// making (row and column of the save table, the point it aims at, its frame
// count and limit), the move flag that couples him to the movement pass, and
// his reaction delay. A pool of two, taken alternately.
#include <cstdint>

struct Player;

enum : std::int32_t {
  GOALIE_STATE_UNDEFINED = 0,
  GOALIE_STATE_START = 1,
  GOALIE_STATE_DECIDE = 2,
  GOALIE_STATE_WAIT = 3,
  GOALIE_STATE_SAVE_WAIT = 4,
  GOALIE_STATE_SAVE_MOVE = 5,
  GOALIE_STATE_IDLE = 6,
  GOALIE_STATE_INVALID = 7,
  GOALIE_STATE_SAVE_END = 8,
  GOALIE_STATE_RECOVER = 9,
  GOALIE_STATE_RUN_OUT = 10,
  GOALIE_STATE_CATCH = 11,
  GOALIE_STATE_SMOTHER = 12,
  GOALIE_STATE_HOLD = 13,
  GOALIE_STATE_REACT_WAIT = 14,
};

struct GoalieObject {
  std::int32_t eState;
  std::int32_t iCounter;         // ticks before the save animation starts
  std::int32_t iSaveRow;
  std::int32_t iSide;            // 1 guards the goal at -x, 2 the goal at +x
  std::int32_t iPossession;      // set by a save, cleared when it ends
  std::int32_t iSaveColumn;      // 1 or 2
  std::int32_t iTargetX;
  std::int32_t iTargetHeight;
  std::int32_t iTargetY;
  std::int32_t bMoveFlag;
  std::int32_t iFrameCount;
  std::int32_t iFrameLimit;
  std::int32_t aiLink[2];
  std::int32_t bParryPending;
  std::int32_t iReactionDelay;
  // Beside the listed words: the reaction count of state 14 and the frame
  // the save animation starts at.
  std::int32_t iReactionCount;
  std::int32_t iStartFrame;
};

// Both records cleared and the next one to hand out is the first (match set-up).
void newgoalo_PoolReset();
GoalieObject* newgoalo_Alloc(std::int32_t iSide);

std::int32_t newgoalo_StateGet(const GoalieObject* pgo);
void newgoalo_StateSet(GoalieObject* pgo, std::int32_t eState);
void newgoalo_SaveSet(GoalieObject* pgo, std::int32_t iRow, std::int32_t iColumn);
std::int32_t newgoalo_SaveRowGet(const GoalieObject* pgo);
std::int32_t newgoalo_SaveSideGet(const GoalieObject* pgo);  // the save column
std::int32_t newgoalo_FrameCountGet(const GoalieObject* pgo);
void newgoalo_FrameCountSet(GoalieObject* pgo, std::int32_t n);
std::int32_t newgoalo_FrameLimitGet(const GoalieObject* pgo);
void newgoalo_FrameLimitSet(GoalieObject* pgo, std::int32_t n);
std::int32_t newgoalo_MoveFlagGet(const GoalieObject* pgo);
void newgoalo_MoveFlagSet(GoalieObject* pgo, std::int32_t bFlag);
void newgoalo_TargetSet(GoalieObject* pgo, std::int32_t x, std::int32_t h, std::int32_t y);
void newgoalo_TargetGet(const GoalieObject* pgo, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
void newgoalo_CounterSet(GoalieObject* pgo, std::int32_t n);
std::int32_t newgoalo_CounterGet(const GoalieObject* pgo);
void newgoalo_CounterInc(GoalieObject* pgo);
// Counts down; 1 when the counter has run out (fallen below 1).
std::int32_t newgoalo_CounterDecTest(GoalieObject* pgo);
std::int32_t newgoalo_SideGet(const GoalieObject* pgo);
void newgoalo_Link0Set(GoalieObject* pgo, std::int32_t v);
void newgoalo_Link1Set(GoalieObject* pgo, std::int32_t v);
