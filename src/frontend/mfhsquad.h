#pragma once
// The history squad pages inside the team sheet (game mode 13, extended mode
// 54): the whole pool of the human team's players in two lists side by side,
// where two players are exchanged by selecting one and then the other (page
// 23), and the buttons "Change Squad" and "Exit" (page 24). The team sheet
// hands its draw, cursor, select and back steps to these while in mode 54.
#include <cstdint>

#include "frontend/listctrl.h"

struct DBPlayer;
struct MatchTeam;
struct TacticsSide;

constexpr std::int32_t MFHSQUAD_ROWS_MAX = 36;
constexpr std::int32_t MFHSQUAD_VISIBLE_ROWS = 8;
constexpr std::int32_t MFHSQUAD_PAGE_LISTS = 23;
constexpr std::int32_t MFHSQUAD_PAGE_BUTTONS = 24;
constexpr std::int32_t MFHSQUAD_LIST_X[2] = {25, 260};

// The rows of the pool, 0..10 in the left list, 11..21 in the right one,
// then alternating: each list entry's text is the player's name, its value
// the position code, its second value the shirt number and its selection
// word the row in the pool. Both lists scroll together (the same top row).
struct MFHSquadScreen {
  std::int32_t bDrawn;  // 0 until the first draw filled the lists
  std::int32_t cRows;   // players in the pool, at most 36
  ListControl aoLists[2];
};
extern MFHSquadScreen mfhsquad_oScreen;

void mfhsquad_Reset();
void mfhsquad_CursorReset();
void mfhsquad_Run();
void mfhsquad_Draw();
// Direction: the events 8 up, 9 down, 10 left, 11 right.
void mfhsquad_Move(MatchTeam* poTeam, std::int32_t eDirection);
void mfhsquad_Select(MatchTeam* poTeam, std::int32_t* peNext);
void mfhsquad_Back(MatchTeam* poTeam, std::int32_t* peNext);
// The pool from the pitch, the bench and the reserves, split into the lists.
void mfhsquad_RowsFill(MatchTeam* poTeam);
// The pitch, bench or reserve player named by the highlighted row.
DBPlayer* mfhsquad_PlayerFind(MatchTeam* poTeam);
// Exchanges the two chosen players; 0 when the team refused the exchange.
std::int32_t mfhsquad_Swap(MatchTeam* poTeam);
// The list (0 left, 1 right) of a row of the pool.
std::int32_t mfhsquad_ListOfRow(std::int32_t iRow);
// The side whose team the pages edit (the displayed side when none).
TacticsSide* mfhsquad_SideOf(const MatchTeam* poTeam);
