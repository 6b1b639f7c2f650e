#pragma once
// The main menu (game mode 12): seven choices on a 3 x 3 grid of buttons
// drawn from the language's sheet, an exit confirmation, and the watch that
// starts the attract mode after idle time.
#include <cstdint>

struct User;

enum : int32_t {
  PCGAME_FRIENDLY = 0,
  PCGAME_TRAINING = 1,
  PCGAME_HISTORY = 2,
  PCGAME_OPTIONS = 3,
  PCGAME_RESTORE = 4,
  PCGAME_QUICK_START = 5,
  PCGAME_EXIT = 6,
  PCGAME_MENU_BINDING = 13,
  PCGAME_LAYOUT_RECORDS = 8,
};

// Cursor moves of pcgame_CursorMove.
enum : int32_t { PCGAME_LEFT = 1, PCGAME_RIGHT = 2, PCGAME_UP = 3, PCGAME_DOWN = 4 };

struct RegionDef;
extern const RegionDef pcgame_aaoLayouts[6][PCGAME_LAYOUT_RECORDS];

extern int32_t pcgame_iColumn;
extern int32_t pcgame_iRow;
extern int32_t pcgame_iChoice;
extern int32_t pcgame_bConfirmOpen;
extern int32_t pcgame_bConfirmYes;
extern int32_t pcgame_bNeedsEnter;
extern int32_t pcgame_bEnteredOnce;

void pcgame_MainMenuReset();
void pcgame_MainMenuRun();
void pcgame_MainMenuEnter();
void pcgame_MainMenuDraw(int32_t iChoice);
int32_t pcgame_MainMenuInput(int32_t iPort);
int32_t pcgame_CursorMove(int32_t iDirection);
User* pcgame_MenuUserTake(int32_t iPort);
