// The main menu.
#include "frontend/pcgame.h"

#include "audio/audio_services.h"
#include "frontend/demowatch.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcmain_states.h"
#include "shell/texts.h"
#include "shell/user.h"

namespace {

#define PCGAME_RECORD(name, x, y, w, h, priority) \
  { name, x, y, w, h, priority, {}, 255, 0, 0, 1, 0, 1 }
#define PCGAME_LAYOUT(qx, ox, oy, hx, tx, rx, ry)                                                          \
  {PCGAME_RECORD("main", 0, 0, 640, 480, 255),         PCGAME_RECORD("exit", 547, 417, 34, 34, 254),     \
   PCGAME_RECORD("friendly", 60, 83, 162, 131, 253),   PCGAME_RECORD("qstart", qx, 83, 162, 131, 252),   \
   PCGAME_RECORD("options", ox, oy, 162, 131, 251),    PCGAME_RECORD("history", hx, 266, 162, 131, 250), \
   PCGAME_RECORD("training", tx, 83, 162, 131, 249),   PCGAME_RECORD("restore", rx, ry, 162, 131, 248)}

// The region names of the choices 0 to 6.
const char* const pcgame_apszChoiceRegions[7] = {"friendly", "training", "history", "options",
                                                 "restore",  "qstart",   "exit"};
// Choice = grid[row + 3 x column].
const int32_t pcgame_aiGrid[9] = {0, 2, 6, 5, 3, 6, 1, 4, 6};

}  // namespace

// English, French, German, Spanish, Italian, Portuguese: the artwork of some
// languages sits a unit off in places.
const RegionDef pcgame_aaoLayouts[6][PCGAME_LAYOUT_RECORDS] = {
    PCGAME_LAYOUT(238, 238, 266, 60, 416, 416, 266), PCGAME_LAYOUT(239, 238, 266, 60, 416, 416, 266),
    PCGAME_LAYOUT(238, 238, 266, 60, 416, 416, 267), PCGAME_LAYOUT(238, 238, 266, 61, 416, 416, 266),
    PCGAME_LAYOUT(238, 238, 267, 60, 416, 416, 266), PCGAME_LAYOUT(238, 238, 266, 60, 417, 416, 266),
};

int32_t pcgame_iColumn = 0;
int32_t pcgame_iRow = 0;
int32_t pcgame_iChoice = 0;
int32_t pcgame_bConfirmOpen = 0;
int32_t pcgame_bConfirmYes = 0;
int32_t pcgame_bNeedsEnter = 1;
int32_t pcgame_bEnteredOnce = 0;

void pcgame_MainMenuReset() { pcgame_bNeedsEnter = 1; }

int32_t pcgame_CursorMove(int32_t iDirection) {
  switch (iDirection) {
    case PCGAME_LEFT: pcgame_iColumn = pcgame_iColumn > 0 ? pcgame_iColumn - 1 : 0; break;
    case PCGAME_RIGHT: pcgame_iColumn = pcgame_iColumn < 2 ? pcgame_iColumn + 1 : 2; break;
    case PCGAME_UP: pcgame_iRow = pcgame_iRow > 0 ? pcgame_iRow - 1 : 0; break;
    case PCGAME_DOWN: pcgame_iRow = pcgame_iRow < 2 ? pcgame_iRow + 1 : 2; break;
    default: break;
  }
  pcgame_iChoice = pcgame_aiGrid[pcgame_iRow + 3 * pcgame_iColumn];
  return pcgame_iChoice;
}

User* pcgame_MenuUserTake(int32_t iPort) {
  InputPort* pip = input_poGetPort(iPort);
  for (int32_t i = 0; i < INPUT_PORTS_MAX; ++i) {
    InputPort* po = input_poGetPort(i);
    if (po == nullptr || po == pip) continue;
    po->bInUse = 0;
    input_PortPendingClear(po);
    po->pusr = nullptr;
  }
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
  User* pusr = &user_aUsers[0];
  pusr->MyTeam = 0;
  pusr->pip = pip;
  if (pip != nullptr) {
    pip->bInUse = 1;
    pip->pusr = pusr;
  }
  pusr->bAttachPending = 1;
  input_bUserActivate(pusr);
  return pusr;
}

void pcgame_MainMenuEnter() {
  pcfmv_Stop();
  mregion_Reset();
  // A language setting outside 0 to 5 (a damaged settings file) shows the
  // English menu, as the texts do, rather than an empty screen.
  const int32_t iLanguage = mlang_iLanguage >= 0 && mlang_iLanguage < 6 ? mlang_iLanguage : 0;
  for (int32_t i = 0; i < PCGAME_LAYOUT_RECORDS; ++i)
    mregion_Add(&pcgame_aaoLayouts[iLanguage][i], i, PCFE_MAIN_SHEET_FIRST + iLanguage);
  pcfe_ScreenSet(PCFE_MAIN_SHEET_FIRST + iLanguage);
  input_ActiveUsersBind(PCGAME_MENU_BINDING);
  // The menu's movie: id 169 has no row in the movie table, so nothing plays.
  pcfmv_PlayById(169);
  if (!pcgame_bEnteredOnce) {
    pcgame_iColumn = 0;
    pcgame_iRow = 0;
    pcgame_iChoice = 0;
    pcgame_bEnteredOnce = 1;
  }
  game_UsersReset();
  input_PortsClear();
  input_PortsReinit();
  pcgame_bConfirmOpen = 0;
  pcgame_bConfirmYes = 0;
  demo_IdleWatchStart();
  pcsides_ChoicesForget();
}

void pcgame_MainMenuDraw(int32_t iChoice) {
  mregion_DrawByName("main");
  if (iChoice >= 0 && iChoice < 7) mregion_DrawByName(pcgame_apszChoiceRegions[iChoice]);
  if (!pcgame_bConfirmOpen) return;
  pcfe_ConfirmPanelDraw(IDS_FE_CONFIRM_EXIT, pcgame_bConfirmYes);
}

int32_t pcgame_MainMenuInput(int32_t iPort) {
  InputPort* pip = input_poGetPort(iPort);
  int32_t eNext = GAME_MODE_MAIN_MENU;
  if (pip == nullptr) return eNext;
  while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    const int32_t eCode = poEvent->eEvent;
    if (pcgame_bConfirmOpen) {
      if (eCode == 10) {
        pcgame_bConfirmYes = 1;
        sfx_Play(0);
      } else if (eCode == 11) {
        pcgame_bConfirmYes = 0;
        sfx_Play(0);
      } else if (eCode == 37) {
        sfx_Play(1);
        if (pcgame_bConfirmYes) pcmain_bQuit = 1;
        else pcgame_bConfirmOpen = 0;
      }
    } else if (eCode >= 8 && eCode <= 11) {
      static const int32_t aiMove[4] = {PCGAME_UP, PCGAME_DOWN, PCGAME_LEFT, PCGAME_RIGHT};
      pcgame_CursorMove(aiMove[eCode - 8]);
      sfx_Play(0);
      demo_IdleCountReset();
    } else if (eCode == 37 || eCode == 56) {
      sfx_Play(1);
      User* pusr = pcgame_MenuUserTake(iPort);
      pcsides_Reset();
      switch (pcgame_iChoice) {
        case PCGAME_FRIENDLY:
          global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
          pcsides_ChoicesForget();
          eNext = 11;
          break;
        case PCGAME_TRAINING:
          global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
          pcsides_ChoicesForget();
          eNext = 11;
          break;
        case PCGAME_HISTORY:
          global_SetExtendedGameMode(GAME_MODE_HISTORY);
          input_ActiveUsersPortMarkSet();
          global_SetMenuUser(pusr);
          eNext = GAME_MODE_HISTORY_INTRO;
          break;
        case PCGAME_OPTIONS:
          global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
          eNext = 41;
          break;
        case PCGAME_RESTORE:
          global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
          global_SetMenuUser(pusr);
          eNext = 43;
          break;
        case PCGAME_QUICK_START:
          global_SetExtendedGameMode(GAME_MODE_QUICK_START);
          input_ActiveUsersPortMarkSet();
          eNext = 11;
          break;
        default:
          pcgame_bConfirmOpen = 1;
          pcgame_bConfirmYes = 0;
          eNext = GAME_MODE_MAIN_MENU;
          break;
      }
    }
    input_EventFree(&poEvent);
  }
  return eNext;
}

void pcgame_MainMenuRun() {
  if (pcgame_bNeedsEnter) {
    pcgame_MainMenuEnter();
    pcgame_bNeedsEnter = 0;
  }
  pcgame_MainMenuDraw(pcgame_iChoice);
  mhelp_ScreenHook();
  if (pctext_bErrorBoxHeldGet()) {
    // The error box over the menu waits for a key (the front-end tick takes
    // every input while it shows); the attract mode waits with it.
    for (int32_t i = 0; i < input_iGetPortCount(); ++i)
      if (InputPort* pip = input_poGetPort(i)) input_PortBindingSet(PCGAME_MENU_BINDING, pip);
    demo_IdleCountReset();
    return;
  }
  int32_t eNext = GAME_MODE_MAIN_MENU;
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    input_PortBindingSet(PCGAME_MENU_BINDING, input_poGetPort(i));
    int32_t e = pcgame_MainMenuInput(i);
    if (e != GAME_MODE_MAIN_MENU) eNext = e;
  }
  if (demo_bStartRequested()) eNext = demo_eNextModeGet();
  if (eNext == GAME_MODE_MAIN_MENU) return;
  demo_IdleWatchStop();
  if (eNext != 8) global_SetGameMode(static_cast<GameMode>(eNext));
  pcgame_bNeedsEnter = 1;
}
