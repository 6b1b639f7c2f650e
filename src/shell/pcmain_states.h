#pragma once
// The six application states that the frame-loop step runs, the match
// state's fixed 30-tick timing, and the display start-up and shut-down.
#include <cstdint>

#include "shell/pcmain.h"

struct QDLSurface;
struct QDLFont;

enum AppState : int32_t {
  APP_STATE_NONE = 0,
  APP_STATE_FRONT_END = 1,
  APP_STATE_MATCH = 2,
  APP_STATE_GFX_CONVERT = 3,
  APP_STATE_OUTRO = 4,
  APP_STATE_MATCH_LOADING = 5,
  APP_STATE_COUNT = 6,
};

struct AppStateOps {
  void (*pfnEnter)();
  void (*pfnLeave)();
  void (*pfnRun)();
};

extern const AppStateOps pcmain_StateTable[APP_STATE_COUNT];

extern AppState pcmain_eRequestedState;
extern AppState pcmain_eCurrentState;
extern int32_t pcmain_bQuit;

// Match timing: the clock at the start of the previous match frame, the last
// frame's length, the 16.16 tick accumulator and the match frame counter.
extern uint64_t pcmain_uPrevFrameStart;
extern uint64_t pcmain_uFrameLength;
extern uint64_t pcmain_uTickAccumulator;
extern int32_t pcmain_iMatchFrame;
constexpr int32_t PCMAIN_TICKS_PER_SECOND = 30;
constexpr int32_t PCMAIN_MAX_TICKS_PER_FRAME = 3;

extern int32_t pcmain_bSoundUpdate;
extern QDLSurface* pcmain_poDisplaySurface;
extern QDLFont* pcmain_poDebugFont;
extern int32_t pcmain_bDisplayUp;
extern int32_t pcmain_bHiResFrontEnd;

// The logic ticks one match frame of the given length runs (0 to 3), keeping
// the fraction in the accumulator; a frame of a second or more runs none.
int32_t pcmain_iTicksForFrame(uint64_t uFrameLength);

void game_FrontEndRequest();
void game_MatchRequest();

int32_t pcmain_DisplayStartup();
// Start-up checks that say what is missing and where it was looked for.
int32_t pcmain_bDataPresent();
int32_t pcmain_bFontFolderPresent();
void pcmain_StartupError(const char* pszText);
int32_t pcmain_DisplayShutdown();

void pcmain_NoneEnter();
void pcmain_NoneLeave();
void pcmain_NoneRun();
void pcmain_FrontEndEnter();
void pcmain_FrontEndLeave();
void pcmain_FrontEndRun();
void pcmain_MatchEnter();
// The match's 3D scene and sound shut down (the first half of the match leave).
void pcmain_MatchSceneShutdown();
void pcmain_MatchLeave();
void pcmain_MatchRun();
void pcmain_LoadingEnter();
void pcmain_LoadingLeave();
void pcmain_LoadingRun();
