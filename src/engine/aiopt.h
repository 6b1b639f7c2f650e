#pragma once
// The option search: a player off the ball looks, in the 15 x 15 cells
// around him, inside his zone and away from opponents, for the cell whose
// support value best matches a wanted value, and runs there. Beside it the
// user's pass receiver and markers, and the record of the pass being
// launched.
#include <cstdint>

#include "engine/action_list.h"

struct Player;
struct ReceiverRecord;

enum : std::int32_t {
  ACTION_OPTION_B = 23,
  ACTION_OPTION_A = 24,
  ACTION_OPTION_C = 39,
  ACTION_TARGET_RUN = 46,
  AI_FLAG_OPTION = 2,
  AI_FLAG_LINE = 32,
};

extern const std::int8_t aiopt_aiRowsDown[15];  // 14, 13, ..., 0
extern const std::int8_t aiopt_aiRowsUp[15];    // 0, 1, ..., 14

// The support value of a cell for the player's side.
std::int32_t aiopt_CellValue(const Player* pp, std::int32_t iColumn, std::int32_t iRow);
void aiopt_OrderChoose(Player* pp);
std::int32_t aiopt_Search(Player* pp);
// The variant nothing calls: of the open cells of all 15 rows, the one
// nearest (squared cell distance) to the target cell; 1 and the cell.
std::int32_t aiopt_SearchNearest(Player* pp, std::int32_t iTargetCol, std::int32_t iTargetRow, std::int32_t* piCol,
                                 std::int32_t* piRow);
// The line search nothing reaches: in a row of the window, the set cells of
// the mask from the start column outward, for a value at or above the
// threshold and below the limit; 1 and the cell centre with flag 32.
std::int32_t aiopt_LineSearch(Player* pp, std::int32_t iRow, std::uint16_t uLine, std::int32_t iStartCol,
                              std::int32_t iThreshold, std::int32_t iLimit, std::int32_t* px, std::int32_t* py);
ActionNode* aiopt_OptionAHandler(ActionNode* poList);
ActionNode* aiopt_OptionBHandler(ActionNode* poList);
ActionNode* aiopt_OptionCHandler(ActionNode* poList);

void pass_Init();
void pass_KeeperHoldHook();
// A new match: no pass recorded, no user receiver chosen yet.
void pass_MatchReset();

// The record of the pass being launched, which a tap header aims by: at the
// receiver where he stands, at the recorded point, or ahead of the receiver
// along his heading.
enum PassRecordMode : std::int32_t {
  PASS_RECORD_AT_RECEIVER = 0,
  PASS_RECORD_AT_POINT = 1,
  PASS_RECORD_AHEAD = 2,
};
void pass_RecordSet(std::int32_t iMode, std::int32_t x, std::int32_t y);
std::int32_t pass_RecordModeGet();
void pass_RecordPointGet(std::int32_t* px, std::int32_t* py);
// The receiver of the user's next pass (none unless the owner is a user's).
Player* pass_UserReceiverChoose();
void pass_UserMarkersUpdate();
// The record of the last user pass choice.
const ReceiverRecord* pass_UserRecordGet();
