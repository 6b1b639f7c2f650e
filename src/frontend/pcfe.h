#pragma once
// The front-end state: what the front end sets up on entry and tears down on
// leaving, the background sheets with their two-slot cache, the scaling
// between layout units and the display, and the two small application
// states of the front end's graphics: the first-run conversion of the
// background sheets and the outro.
#include <cstddef>
#include <cstdint>

#include "tournament/tla.h"

struct QDLSpriteBank;
struct QDLFrame;

enum : int32_t {
  PCFE_SHEETS = 20,
  PCFE_SHEET_NAME_MAX = 80,
  PCFE_MAIN_SHEET_FIRST = 1,  // "maineng"; + language for the others
  PCFE_MARKER_SHEET = 19,     // "fhmain": its converted file marks a finished conversion
  PCFE_MARKER_MIN_BYTES = 200,
  PCFE_OUTRO_FRAMES = 3600,
};

extern const char pcfe_aszSheetNames[PCFE_SHEETS][PCFE_SHEET_NAME_MAX];

struct PCFESheetSlot {
  int32_t iSheet;  // -1 when empty
  QDLSpriteBank* poBank;
};
extern PCFESheetSlot pcfe_aoSlots[2];
extern int32_t pcfe_iCurrentSlot;
extern int32_t pcfe_iOtherSlot;
// Sheet files read from disc since start-up (the cache's tests count them).
extern int32_t pcfe_cSheetLoads;

void pcfe_Start();
void pcfe_Stop();
void pcfe_ScreenSet(int32_t iSheet);
void pcfe_SheetLoad(int32_t iSheet);
void pcfe_SlotClear(int32_t iSlot);
void pcfe_SheetCacheReset();
int32_t pcfe_SheetGet();
QDLFrame* pcfe_SheetSpriteGet(int32_t i);

void pcfe_ScaleSet(int16_t iVirtualWidth, int16_t iVirtualHeight, int16_t iScreenWidth, int16_t iScreenHeight);
int32_t pcfe_ScaleX(int16_t x);
int32_t pcfe_ScaleY(int16_t y);
int32_t pcfe_ScaleX640(int16_t x);
int32_t pcfe_ScaleY480(int16_t y);
// A text's room given in 640 x 480 units, on the display; 0 (or less) is
// no limit.
int32_t pcfe_RoomX640(int32_t iRoom);

int32_t pcfe_ConvertNeeded();
void pcfe_ConvertEnter();
void pcfe_ConvertStep();
void pcfe_ConvertLeave();
// Sheets the last conversion could not convert (their sources did not load
// or the result could not be written).
extern int32_t pcfe_cConvertFailures;
extern int32_t pcfe_iConvertCounter;

// The question (a text id) over "Yes" and "No" on a framed panel, the
// chosen answer yellow: the exit, the hub's and the save screens'
// confirmations. It is drawn over every label of the screen that opened it
// and under the error box: from PCFE_PANEL_LAYER to the three layers above.
enum : int32_t { PCFE_PANEL_LAYER = -900 };
void pcfe_ConfirmPanelDraw(int32_t eQuestion, int32_t bYes);
// That panel's frame on the display for the question (its shadow round it
// not counted).
void pcfe_ConfirmPanelRect(int32_t eQuestion, int32_t* px, int32_t* py, int32_t* pw, int32_t* ph);
// The game's error box: "Error!" on a black box in the middle of the
// screen, and under it, when given, a line saying what failed (the box
// widens to it). It is drawn over everything else on the screen: its box
// on PCFE_ERROR_BOX_LAYER, its texts on the layer above.
enum : int32_t { PCFE_ERROR_BOX_LAYER = -1000 };
void pcfe_ErrorBoxDraw(const char* pszDetail);
// Screens only the menu user steers: every other active user's events of
// this frame are dropped.
struct User;
void pcfe_OtherUsersInputFlush(const User* poMenu);
// The next event queued on a user's port, taken off and freed: its code in
// *peCode; false when none is queued.
bool pcfe_bEventCodeNext(User* poUser, int32_t* peCode);
// A frame of a screen the menu user steers, up to its input: the screen
// entered where *pbNeedsEnter asks for it, drawn, the help hook, the other
// users' events dropped; what pfnInput makes of the menu user's.
int32_t pcfe_MenuScreenStep(int32_t* pbNeedsEnter, void (*pfnEnter)(), void (*pfnDraw)(),
                            int32_t (*pfnInput)(User*));

// A team's name in a room (display units), measured in the current font:
// the one rule by which the menus and the match alike choose a team's
// name. Its whole name where the room holds it (also where only its last
// letter is too much: cut, "Costa Ric." would save less than a letter);
// else its display name where that is another and fits ("Papua New G.");
// else its short name where that fits; else its short name cut to the room
// with a full stop, written to pszCut (cb bytes). Never its abbreviation,
// never its whole name's initials. The form chosen is returned.
const char* pcfe_TeamNameFit(const TLANames& oNames, int32_t iRoom, char* pszCut, size_t cb);

// A text made to fit a width (display units): itself in the current font
// when it fits, else in the small font (0). When even that is too wide it is
// cut where it reads well: kept whole when only its last letter is too much,
// else its leading capitalised words cut to their initials ("C. Rica",
// "É.-Unis", one more word at a time, the last word whole), else its
// longest head with a full stop. A team's name is fitted by the team's rule
// instead (pcfe_TeamNameFit), in the small font where the current one does
// not hold it whole. The font it needs is current while the object lives;
// the font before comes back after it.
class PCFEFitted {
 public:
  PCFEFitted(const char* psz, int32_t iMaxWidth);
  PCFEFitted(const TLANames& oTeam, int32_t iMaxWidth);
  ~PCFEFitted();
  PCFEFitted(const PCFEFitted&) = delete;
  PCFEFitted& operator=(const PCFEFitted&) = delete;
  const char* c_str() const { return m_psz; }

 private:
  char m_sz[128];
  const char* m_psz;
  int32_t m_iFontBefore;
};

// Escape as the screens read it, held or as the keyboard's last key, only on
// the tick it goes down: one press is one step back, however long it is held
// and whichever screen the step leads to. Never while the kept error box
// takes the keys.
bool pcfe_bEscapeHeld();
bool pcfe_bEscapeLastKey();
// After each front-end tick: remembers whether Escape is down.
void pcfe_EscapeTrack();

void pcfe_OutroEnter();
void pcfe_OutroRun();
void pcfe_OutroLeave();
extern int32_t pcfe_iOutroCounter;
