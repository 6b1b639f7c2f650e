#pragma once
// Team selection (game mode 9): each human side picks a confederation on the
// world map, a national team of it and a World Cup edition the team played.
// The screen serves a friendly (extended mode 50), training (39), the choice
// of the human team of a new history (49) and the opponent of a history
// friendly (69). It also owns the six confederation tables and their lookups.
#include <cstdint>

#include "frontend/listctrl.h"
#include "frontend/mteam_conf.h"

struct DBPlayer;
struct MatchTeam;
struct User;

constexpr std::int32_t MTEAM_SIDES = 4;
constexpr std::int32_t MTEAM_MODE = 9;

// Phases of a side on the team selection.
enum : std::int32_t {
  MTEAM_IDLE = 0,
  MTEAM_MAP = 1,
  MTEAM_LIST = 2,
  MTEAM_EDITION = 3,
  MTEAM_DONE = 4,
};

// One side's record, shared by the team selection, the team sheet and the
// squad pages of the history hub.
struct TacticsSide {
  // Team selection.
  std::int32_t iButton;         // region index of the confederation button
  std::int32_t x, y;            // that button's place
  std::int32_t bHistoryEntry;   // 1 after a history entry
  std::int32_t iFurther;
  std::int32_t iEdition;        // 0..10
  std::int32_t iTeamIndex;      // raw table index (friendly, training) or among the edition's teams (history)
  std::int32_t iMoveCleared;    // cleared whenever the side changes button
  std::int32_t iPhase;          // MTEAM_IDLE .. MTEAM_DONE
  std::int32_t bSelectOrBack;   // 1 after every select or back
  // Team sheet.
  std::int32_t iCursorItem;     // 0 the squad list, 17 the formation list, 23 and 24 the squad pages
  std::int32_t iSubIndex;
  std::int32_t iHighlightedPlayer;  // ordinal among the listed players
  std::int32_t iCleared1;
  std::int32_t iHighlightedFormation;  // 0..18
  std::int32_t aiCleared2[2];
  std::int32_t iCurrentFormation;  // the formation last applied
  std::int32_t aiCleared3[3];
  DBPlayer* poFirstChosen;      // the pending swap
  DBPlayer* poSecondChosen;
  DBPlayer* playerOption;       // follows the highlighted player
  MatchTeam* poTeamPlayerTeam;  // the match team the side edits
  ListControl oList;            // selection word: the player's ordinal, -1 a heading
  std::int32_t bListSetUp;
  std::int32_t bAttributePanel;
  std::int32_t iFormationFirst, iFormationLast;  // the formation list's 7-row window
  // Squad pages of the history hub.
  std::int32_t iPage;           // 23 the lists, 24 the buttons
  std::int32_t iCursorRow, iCursorList;
  std::int32_t iMarkedRow, iMarkedList;
  std::int32_t iSquadButton;    // 0 "Change Squad", 1 "Exit"
  DBPlayer* MySub1DBPlayer;
  DBPlayer* MySub2DBPlayer;
  std::int32_t bDetailPanel;
  DBPlayer* poDetailPlayer;
};

extern TacticsSide mteam_aoSides[MTEAM_SIDES];

// Screen state.
extern std::int32_t mteam_bNeedsEnter;
extern std::int32_t mteam_bSingleSide;   // one user chooses both sides in turn
extern std::int32_t mteam_bSwapped;      // that user has been moved to the other side
extern std::int32_t mteam_bTeamChosen;   // history friendly: 0 when left without a choice
extern std::int32_t mteam_iListTop, mteam_iListBottom;  // history lists: four rows
extern std::int32_t mteam_iRedBlock, mteam_iBlueBlock;
extern std::int32_t mteam_bMarkerToggle, mteam_iMarkerCounter;

// Screen operations.
void mteam_Reset();
void mteam_Enter();
void mteam_Draw();
std::int32_t mteam_Input(User* poUser);
void mteam_Run();
void mteam_ButtonDraw(std::int32_t iSide);
void mteam_HighlightDraw(const char* pszSprite);
void mteam_EditionColumnDraw(std::int32_t iSide, std::int32_t x);
// The room of a team's name in a side's list (display units): about the
// list's x, 6 units (640 x 480) inside the side's box ("redbox" for sides 0
// and 2, "bluebox" for 1 and 3). A wider name is fitted to it as every team
// name is (pcfe_TeamNameFit).
std::int32_t mteam_ListNameRoom(std::int32_t iSide);

// Lookups over a side's current button.
ConferenceEntry* mteam_TableOfButton(std::int32_t iSide, std::int32_t* pcCount);
std::int32_t mteam_TeamCountForMask(std::int32_t iSide, std::uint32_t uMask, std::int32_t* pcCount);
ConferenceEntry* mteam_TeamByIndex(std::int32_t iSide, std::uint32_t uMask, std::int32_t n);
std::int32_t mteam_TableIndexOfTeam(std::int32_t iSide, std::uint32_t uMask);
const char* mteam_FederationName(const char* pszButton);
std::int32_t mteam_TableSize(std::int32_t iTable, std::int32_t* pcCount);
// Editions of the side's team (its entry at the team index, a raw index).
std::int32_t mteam_EditionFirst(std::int32_t iSide);
std::int32_t mteam_EditionLast(std::int32_t iSide);
std::int32_t mteam_EditionPrev(std::int32_t iSide);
std::int32_t mteam_EditionNext(std::int32_t iSide);
std::int32_t mteam_FormationGet(const ConferenceEntry* poConference, std::int32_t eYear);
// Orders a table by the folded display names of the current language;
// equal names keep their order.
void mteam_TableSort(ConferenceEntry* paTable, std::int32_t cCount);
// Replaces every accented letter of the folding table by its plain letter.
void mteam_NameFold(char* pszText);
// Sorts the six tables (each Enter does).
void mteam_TablesSort();

// Builds the match sides from the side records (the hand-overs to the team
// sheet and the news); 0 when a squad could not be loaded.
std::int32_t mteam_SidesBuild(std::int32_t eNext);
