#pragma once
// The tactics screen (game mode 13): a side's team sheet, where a human side
// chooses the formation and swaps players between the starting eleven, the
// bench and the reserves before a match. A friendly or quick match (extended
// modes 50 and 74) edits one sheet, or two side by side with "Complete"; the
// history hub shows the human team (51), the opponent (71, view only) and
// the squad pages (54).
#include <cstdint>

#include "frontend/mteam.h"

constexpr std::int32_t MTATICS_MODE = 13;
constexpr std::int32_t MTATICS_LIST = 0;       // cursor item: the squad list
constexpr std::int32_t MTATICS_FORMATIONS = 17;  // cursor item: the formation list
constexpr std::int32_t MTATICS_FORMATION_COUNT = 19;

extern std::int32_t mtatics_bNeedsEnter;
extern std::int32_t mtatics_bOneSheet;
extern std::int32_t mtatics_bHomeComplete, mtatics_bAwayComplete;
extern TacticsSide* mtatdisp_Players;  // the displayed side (the first of two)

void mtatics_Run();
std::int32_t mtatics_Input(User* poUser);
void mtatics_PlayerPick(TacticsSide* ps);
// Writes both sides' teams, editions, formations and starters to the debug log.
void mtatics_SidesLog(const char* pszWhen);
// The listed player at an ordinal: 0..10 the starters, then the bench, then
// the reserves; null past the end.
DBPlayer* mtatics_PlayerAt(MatchTeam* poTeam, std::int32_t iOrdinal);

void mtatdisp_Enter();
void mtatdisp_Draw();
void mtatdisp_OneSheetDraw();
void mtatdisp_TwoSheetsDraw();
void mtatdisp_SquadSideDraw(TacticsSide* ps, std::int32_t iSideNumber, std::int32_t bRight);
void mtatdisp_TacticsSideDraw(TacticsSide* ps, std::int32_t iSideNumber, std::int32_t bRight);
void mtatdisp_ListFill(ListControl* poList, TacticsSide* ps);
void mtatdisp_RowsDraw(TacticsSide* ps);
void mtatdisp_AttributePanelDraw(TacticsSide* ps, std::int32_t bRight);
// The translucent box and the attribute bars of one player (none: the box)
// at list x 25 or 260.
void mtatdisp_AttributesDraw(const DBPlayer* p, std::int32_t x);
void mtatdisp_AttributeBarDraw(std::int32_t iRow, std::int32_t x, std::int32_t iSkill, const char* pszLabel,
                               std::uint8_t r, std::uint8_t g, std::uint8_t b);
void mtatdisp_FormationListDraw(TacticsSide* ps, std::int32_t bRight);
void mtatdisp_PitchMarkersDraw(TacticsSide* ps, std::int32_t bRight);
void mtatdisp_CompleteDraw(std::int32_t bHomeComplete, std::int32_t bAwayComplete);
void mtatdisp_MatchHeaderDraw();
void mtatdisp_HistoryHeaderDraw();
// The width (display units) a team name may take on the bottom bar, centred
// where it stands and clear of the bar's ends.
std::int32_t mtatdisp_BarNameRoom();
void mtatdisp_FrameDraw1(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h);
void mtatdisp_FrameDraw2(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h);
void mtatdisp_PanelFrameDraw(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
// The filled length of an attribute bar, 0..200 units: a skill of 30 or less
// fills none, 100 or more the whole track.
std::int32_t mtatdisp_BarLength(std::int32_t iSkill);
// The colour of a position code: 0 green, 1 blue, 2 purple, 3 red.
std::int32_t mtatdisp_PositionColour(std::int32_t iCode);
