// Game start-up, the frame-loop step, shut-down and the application states.
#include "shell/pcmain_states.h"

#include "audio/audio_services.h"
#include "display/qdl.h"
#include "display/qdl_present.h"
#include "framework/qdx_input.h"
#include "framework/qdx_time.h"
#include "frontend/frontend_services.h"
#include "platform/window.h"
#include "scene3d/scene3d_services.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/match_services.h"
#include "shell/pause.h"
#include "shell/pcinstall.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "shell/vsync.h"

const AppStateOps pcmain_StateTable[APP_STATE_COUNT] = {
    {pcmain_NoneEnter, pcmain_NoneLeave, pcmain_NoneRun},
    {pcmain_FrontEndEnter, pcmain_FrontEndLeave, pcmain_FrontEndRun},
    {pcmain_MatchEnter, pcmain_MatchLeave, pcmain_MatchRun},
    {pcfe_ConvertEnter, pcfe_ConvertLeave, pcfe_ConvertStep},
    {pcfe_OutroEnter, pcfe_OutroLeave, pcfe_OutroRun},
    {pcmain_LoadingEnter, pcmain_LoadingLeave, pcmain_LoadingRun},
};

AppState pcmain_eRequestedState;
AppState pcmain_eCurrentState;
int32_t pcmain_bQuit;

uint64_t pcmain_uPrevFrameStart;
uint64_t pcmain_uFrameLength;
uint64_t pcmain_uTickAccumulator;
int32_t pcmain_iMatchFrame;

int32_t pcmain_bSoundUpdate = 1;
QDLSurface* pcmain_poDisplaySurface;
QDLFont* pcmain_poDebugFont;
int32_t pcmain_bDisplayUp;
int32_t pcmain_bHiResFrontEnd;

namespace {
platform::Window* pcmain_poMainWindow;
// What start-up completed, so that shut-down undoes only that.
bool pcmain_bSettingsRead;
bool pcmain_bKeyboardUp;
bool pcmain_bFramePoolsUp;
bool pcmain_bCursorHidden;
}  // namespace

void game_FrontEndRequest() { pcmain_eRequestedState = APP_STATE_FRONT_END; }
void game_MatchRequest() { pcmain_eRequestedState = APP_STATE_MATCH; }

int32_t pcmain_Startup(int32_t iArgCount, const char* const* ppszArgs) {
  (void)iArgCount;
  (void)ppszArgs;
  pcmain_bSettingsRead = pcmain_bKeyboardUp = pcmain_bFramePoolsUp = pcmain_bCursorHidden = false;

  pcmain_poMainWindow = platform::mainWindow();
  platform::setWindowTitle(pcmain_poMainWindow, "Korvena Football");
  QDLKeepWindowOnShutdown();

  if (!pcinstall_Check()) return 0;
  pcmain_bSettingsRead = true;

  pcmain_VideoTestTextsSet(mlang_iLanguage);

  if (!vidselect_bProbeRenderers()) {
    pcmain_StartupError(vidselect_pszProbeFailure());
    return 0;
  }

  if (QKeyboardSetup(0) != 0) {
    QDLErrorBox("Error calling QKeyboardSetup");
    return 0;
  }
  pcmain_bKeyboardUp = true;

  pcframe_Init();
  pcmain_bFramePoolsUp = true;
  pcmain_bQuit = 0;
  pcmain_bDisplayUp = 0;
  pcmain_bHiResFrontEnd = 0;
  pcmain_poDebugFont = nullptr;
  pcmain_poDisplaySurface = nullptr;

  game_Startup();
  pccontrols_DefaultSet();
  platform::showCursor(false);
  pcmain_bCursorHidden = true;

  if (!pcmain_DisplayStartup()) return 0;

  pcmain_eCurrentState = APP_STATE_NONE;
  pcmain_eRequestedState = pcfe_ConvertNeeded() ? APP_STATE_GFX_CONVERT : APP_STATE_FRONT_END;
  platform::showWindow(pcmain_poMainWindow);
  return 1;
}

int32_t pcmain_LoopStep() {
  if (QDLIsInactive()) {
    // Nothing runs or draws while another application has the foreground.
    platform::waitMessage();
  } else {
    if (pcmain_eCurrentState != pcmain_eRequestedState) {
      pcmain_StateTable[pcmain_eCurrentState].pfnLeave();
      pcmain_eCurrentState = APP_STATE_NONE;
      // A leave that ends the program (the display could not be reopened)
      // enters nothing more.
      if (!pcmain_bQuit) {
        pcmain_StateTable[pcmain_eRequestedState].pfnEnter();
        pcmain_eCurrentState = pcmain_eRequestedState;
      }
    }
    if (!pcmain_bQuit) {
      pcmain_StateTable[pcmain_eCurrentState].pfnRun();
      if (pcmain_bSoundUpdate) {
        sfx_Update();
        if (qal_bCDOpened) crowd_CDUpdate();
      }
    }
  }
  if (pcmain_bQuit) {
    // The state that was entered is the one to leave; a requested state that
    // never became current was never entered.
    pcmain_StateTable[pcmain_eCurrentState].pfnLeave();
    pcmain_eCurrentState = APP_STATE_NONE;
    pcmain_eRequestedState = APP_STATE_NONE;
    return 1;
  }
  return 0;
}

void pcmain_Shutdown() {
  // A quit from the window (closed, or the session ending) stops the loop in
  // the middle of a state: leave it first, so that a match shuts its 3D scene
  // and sound down. A match still loading has its scene partly built; it is
  // shut down like the match, without the after-match passes.
  pcmain_bQuit = 1;
  if (pcmain_eCurrentState == APP_STATE_MATCH_LOADING)
    pcmain_MatchSceneShutdown();
  else
    pcmain_StateTable[pcmain_eCurrentState].pfnLeave();
  pcmain_eCurrentState = pcmain_eRequestedState = APP_STATE_NONE;
  if (pcmain_bSettingsRead) pcinstall_Save();
  if (pcmain_bFramePoolsUp) pcframe_Shutdown();
  if (pcmain_bDisplayUp) pcmain_DisplayShutdown();
  QDXTimerStop();
  if (pcmain_bKeyboardUp) {
    QKeyboardShutdown();
    QInputJoystickCloseAll();
  }
  if (pcmain_bCursorHidden) platform::showCursor(true);
  pcmain_bSettingsRead = pcmain_bKeyboardUp = pcmain_bFramePoolsUp = pcmain_bCursorHidden = false;
}

// ---- State 0: none ---------------------------------------------------------------------

void pcmain_NoneEnter() {}
void pcmain_NoneLeave() {}
void pcmain_NoneRun() {}

// ---- State 1: front end ---------------------------------------------------------------

void pcmain_FrontEndEnter() {
  pcfe_Start();
  pcstub_FrontEndHook();
  game_Start();
}

void pcmain_FrontEndLeave() {
  pcfmv_Stop();
  pcfe_Stop();
}

void pcmain_FrontEndRun() {
  vsync_TasksRun();
  pcframe_Begin();
  pcstub_TickHook();
  if (!game_FrontEndTick()) pcmain_eRequestedState = APP_STATE_MATCH_LOADING;
  pcstub_MessageDrawForward();

  if (pcfmv_bPlaying) {
    pcfmv_FrameShow(1);
    // Catch up while the movie is behind the frame it should show by now; a
    // movie that does not move on ends the catch-up.
    int32_t iShown = pcfmv_CurrentFrameGet();
    while (pcfmv_bPlaying && iShown < pcfmv_ExpectedFrameGet()) {
      pcfmv_FrameShow(1);
      int32_t iNow = pcfmv_CurrentFrameGet();
      if (iNow <= iShown) break;
      iShown = iNow;
    }
  } else {
    pcframe_ScreenClear();
  }
  pcframe_Render();

  int32_t iRate = static_cast<int32_t>(pcfmv_bPlaying ? pcfmv_FrameRateGet() : 25.0f);
  if (iRate < 1) iRate = 1;
  while (!QDXRateGate(static_cast<uint32_t>(iRate))) {
    if (pcfmv_bPlaying) pcfmv_StreamPump();
  }
  // The back buffer holds the movie's frame (if any) under the frame packet.
  QDLPresent(0);
}

// ---- State 5: match loading ------------------------------------------------------------

void pcmain_LoadingEnter() {
  vidselect_SetScreenSize();
  game_MatchEnter();
  pause_FlagClear();
  pccontrols_BindingsApply();
  scene3d_bBuilt = 0;
}

void pcmain_LoadingLeave() {}

void pcmain_LoadingRun() {
  while (!QDXRateGate(PCMAIN_TICKS_PER_SECOND)) {
  }
  vsync_TasksRun();
  pcmain_iMatchFrame++;
  if (!scene3d_bBuilt) {
    pcstub_TickHook();
    if (!game_MatchTick()) pcmain_eRequestedState = APP_STATE_FRONT_END;
    pcstub_MessageDrawForward();
    loading_bRunStep(0);
  } else if (loading_bRunStep(1)) {
    pcmain_eRequestedState = APP_STATE_MATCH;
  }
}

// ---- State 2: match ---------------------------------------------------------------------

void pcmain_MatchEnter() {
  crowd_CDStart();
  pchat_Reset();
  QDXReadTSC(&pcmain_uPrevFrameStart);
  pcframe_ReadyClear();
  pcmain_iMatchFrame = 0;
}

int32_t pcmain_iTicksForFrame(uint64_t uFrameLength) {
  // A frame of a second or more (the game was held up, or away) runs no tick
  // and leaves the accumulator as it is: the game does not try to catch up.
  if (uFrameLength >= QDXTSCPerSecond()) return 0;
  if (uFrameLength == 0) uFrameLength = 1;
  uint64_t uFramesPerSecond = QDXTSCPerSecond() / uFrameLength;
  pcmain_uTickAccumulator += (static_cast<uint64_t>(PCMAIN_TICKS_PER_SECOND) * 65536) / uFramesPerSecond;
  uint64_t uTicks = pcmain_uTickAccumulator >> 16;
  pcmain_uTickAccumulator &= 0xFFFF;
  // The surplus of a slow frame is dropped, not carried.
  return uTicks > PCMAIN_MAX_TICKS_PER_FRAME ? PCMAIN_MAX_TICKS_PER_FRAME : static_cast<int32_t>(uTicks);
}

void pcmain_MatchRun() {
  while (!QDXRateGate(PCMAIN_TICKS_PER_SECOND)) {
  }
  uint64_t uNow = QDXReadTSC(nullptr);
  pcmain_uFrameLength = uNow - pcmain_uPrevFrameStart;
  QDXReadTSC(&pcmain_uPrevFrameStart);

  int32_t cTicks = pcmain_iTicksForFrame(pcmain_uFrameLength);
  for (int32_t i = 0; i < cTicks; i++) {
    if (i == cTicks - 1) pcframe_Begin();  // only the last tick fills the frame packet
    vsync_TasksRun();
    pcmain_iMatchFrame++;
    pcstub_TickHook();
    if (!game_MatchTick()) pcmain_eRequestedState = APP_STATE_FRONT_END;
    pcstub_MessageDrawForward();
  }
  // A frame with no tick draws the last packet again.
  if (pcframe_bReadyGet()) scene3d_DrawFrame();
}

void pcmain_MatchSceneShutdown() {
  scene3d_Shutdown();
  crowd_StopAll();
  sfx_FreeAllBanks();
  if (qal_bStarted) {
    QALShutdown();
    qal_bStarted = 0;
  }
}

void pcmain_MatchLeave() {
  pcmain_MatchSceneShutdown();
  replay_Reset();
  injuryg_Update();
  injuryg_MatchEndUpdate();
  match_SquadsCopyBack();
  // A program that is ending does not open the 2D display again.
  if (!pcmain_bQuit && !pcmain_DisplayStartup()) {
    // Without a display the game cannot go on: say so and end the program
    // with a code that says it failed.
    QDLErrorBox("The display could not be opened again after the match.");
    platform::postQuit(1);
    pcmain_bQuit = 1;
  }
}
