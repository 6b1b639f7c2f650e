#pragma once
// The history news (game mode 57): scripts of page codes that show the news
// between matches (the year's draw, rules, results, injuries, suspensions,
// qualification) and drive the tournament on (days simulated, years
// finished, finals loaded, the next edition started).
#include <cstdint>

#include "shell/texts_data.h"

struct User;

constexpr std::int32_t MFHNEWS_MODE = 57;
constexpr std::int32_t MFHNEWS_WINDOW_LINES = 11;

enum MFHNewsScript : std::int32_t {
  MFHNEWS_START_QUALIFYING, MFHNEWS_START_FINALS, MFHNEWS_QUALIFYING, MFHNEWS_FINALS, MFHNEWS_FAILED,
  MFHNEWS_QUALIFIED, MFHNEWS_ELIMINATED, MFHNEWS_AFTER_FINAL, MFHNEWS_NEXT_QUALIFYING, MFHNEWS_NEXT_FINALS,
  MFHNEWS_OVER, MFHNEWS_SCRIPTS
};

// The codes of each script, ended by -1.
extern const std::int8_t mfhnews_aaScripts[MFHNEWS_SCRIPTS][24];

struct MFHNewsScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iScript;         // MFHNewsScript
  std::int32_t iPos;            // index of the current code in the script
  std::int32_t iPendingScript;  // taking effect at the next step; -1 none
  std::int32_t iPage;           // the code being shown
  std::int32_t bPageDone;       // the code showed nothing: the next runs at once
  std::int32_t bBlocked;        // a code running over several frames is busy
  std::int32_t bShowExit;
  std::int32_t bFirstFrame;
  std::int32_t cFrames;         // frames the current code has run
  std::int32_t iFirstLine, iLastLine, cLines;  // the text window [first, last)
  std::int32_t iNextMode;       // set by a code that hands over; 57 none
  std::int32_t iNote;           // codes 3 and 12: 0 note A shows, 1 note B
};
extern MFHNewsScreen mfhnews_oScreen;

// The news markers that survive the front end's re-arming.
struct MFHNewsMarkers {
  std::int32_t iIntroYear;      // year whose introduction was last shown
  std::int32_t aiLast[3];       // day, month, year of the last results page
  std::int32_t aiBefore[3];     // and of the one before it
  char szDrawRound[56], szDrawGroup[56];  // the draw page's last round and group
  std::int32_t iDrawStage;      // and the tournament they belong to (-1 none)
};
extern MFHNewsMarkers mfhnews_oMarkers;

extern std::int32_t mfhnews_bPending;
extern std::int32_t mfhnews_bArrived;

void mfhnews_Reset();
// The set-up's reset of a new history: year markers -1, results dates 0.
void mfhnews_NewsReset();
// The draw page's markers of a loaded history: the human team's next round
// and group, as the news left them before the hub (none without a fixture).
void mfhnews_DrawMarkersRestore();
void mfhnews_Enter();
// Runs the current code (and every code after it that shows nothing).
void mfhnews_Draw();
// The room of a team's name on the results page (display units, in the
// current font), the same on either side of a result: a wider name is
// fitted to it as every team name is (pcfe_TeamNameFit).
std::int32_t mfhnews_ResultNameRoom();
std::int32_t mfhnews_Input(User* poUser);
void mfhnews_Run();
void mfhnews_PageTitleDraw(std::int32_t iCode);
void mfhnews_InjuriesPageDraw();
void mfhnews_SuspensionsPageDraw();
// The page the injury (bSuspensions 0) or suspension news builds for the
// two match sides: entries {id, spacing} ended by {1007, 0} and the strings
// its 1006 entries take, each a sentence with the player's name or the
// number of weeks or months written in it. Returns the entry count, the end
// included.
constexpr std::int32_t MFHNEWS_PAGE_ENTRIES = 100, MFHNEWS_PAGE_STRINGS = 50, MFHNEWS_STRING_SIZE = 160;
std::int32_t mfhnews_PlayerPageBuild(std::int32_t bSuspensions, MHelpEntry* paoEntries,
                                     char (*paszStrings)[MFHNEWS_STRING_SIZE], std::int32_t* pcStrings);
