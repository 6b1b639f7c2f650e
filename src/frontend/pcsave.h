#pragma once
// The save screen (game mode 42) and the load screen (game mode 43) of the
// history mode, and the save file: six settings bytes, then the 65536-byte
// block holding the tournament's stream. Both screens share one layout, one
// file list and one sub-state machine.
#include <cstddef>
#include <cstdint>
#include <cstdio>

enum : int32_t {
  PCSAVE_SETTINGS_BYTES = 6,
  PCSAVE_IMAGE_SIZE = 65542,  // the settings bytes and the tournament block
  PCSAVE_FILES_MAX = 64,
  PCSAVE_NAME_SIZE = 32,      // a listed name holds 31 characters
  PCSAVE_PATH_SIZE = 128,
  PCSAVE_ROWS = 9,
  PCSAVE_MESSAGE_FRAMES = 30,
  PCSAVE_SHEET = 17,          // "loadsave"
  PCSAVE_RECORDS = 8,
  PCSAVE_MENU_BINDING = 13,
  PCSAVE_MODE_SAVE = 42,
  PCSAVE_MODE_LOAD = 43,
  PCSAVE_RESTORE_FAILED = 5,
  PCSAVE_RESTORE_DONE = 9,
};

// Sub-states of the screens.
enum : int32_t {
  PCSAVE_LIST = 0,              // choosing a file
  PCSAVE_ICONS = 1,             // choosing Save/Load, Delete or Exit
  PCSAVE_PERFORM = 2,           // save or load
  PCSAVE_DELETE = 3,
  PCSAVE_OVERWRITE = 4,         // replace the file of the name being saved
  PCSAVE_CONFIRM_DELETE = 6,
  PCSAVE_CONFIRM_OVERWRITE = 7,
  PCSAVE_ERROR = 8,
  PCSAVE_SUCCESS = 9,
};

struct PCSaveScreen {
  int32_t bNeedsEnter;
  int32_t iSubState;
  int32_t iIcon;      // 0 Save/Load, 1 Delete, 2 Exit
  int32_t iPending;   // the sub-state a choice in the list enters
  int32_t bYes;       // the confirmation's choice
  int32_t eMode;      // 42 or 43
  int32_t eReturnMode;
  int32_t eLoadedMode;  // where a successful load goes on (0: the return mode)
  int32_t bMessage;     // the error box shows
  int32_t iErrorFrames;
  int32_t iSuccessFrames;
  int32_t iTop;  // the first entry shown
  int32_t iRow;  // the cursor row 0..8
  int32_t cFiles;
  char aszFiles[PCSAVE_FILES_MAX][PCSAVE_NAME_SIZE];
  char szSavePath[PCSAVE_PATH_SIZE];  // the game path of the save being written
};
extern PCSaveScreen pcsave_oScreen;
extern uint8_t pcsave_abImage[PCSAVE_IMAGE_SIZE];

struct RegionDef;
extern const RegionDef pcsave_aoLayout[PCSAVE_RECORDS];

// The image from the running tournament; 0 when its stream does not fit.
int32_t pcsave_ImageBuild();
// The tournament from the image: PCSAVE_RESTORE_DONE, or PCSAVE_RESTORE_FAILED
// with the running tournament and settings left as they were.
int32_t pcsave_ImageRestore();
// The game path of the running campaign's save ("..\savegame\<team> 19<yy>
// <d>.<m>.<y>.SAV"); false when it does not fit or has no team.
bool pcsave_SaveNameMake(char* pszPath, std::size_t cb);
// Lists the save folder (made when missing) into the screen's list.
void pcsave_FilesList();

void pcsave_SaveReset();
void pcsave_LoadReset();
void pcsave_SaveEnter();
void pcsave_LoadEnter();
void pcsave_SaveRun();
void pcsave_LoadRun();
void pcsave_Draw();
// One sub-state step with the menu user's events (the screens' run calls it
// once a frame); the next game mode.
int32_t pcsave_Step();

// Writes the bytes of a save; tests put in a layer that fails.
using PCSaveWriteFn = std::size_t (*)(const void* pv, std::size_t cb, std::FILE* pFile);
void pcsave_WriteFnSet(PCSaveWriteFn pfn);  // null: fwrite
// What makes a written save lasting before it replaces the old one (0 done).
using PCSaveSyncFn = int (*)(int fd);
void pcsave_SyncFnSet(PCSaveSyncFn pfn);  // null: fsync
