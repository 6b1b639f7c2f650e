// Opening the pause menu from any in-match mode's Start. It has a file of its
// own so that tests can link a recording version in its place.
#include "matchflow/demo.h"
#include "matchflow/menu.h"
#include "matchflow/pausemenu.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pause.h"
#include "shell/user.h"

void pausemenu_Open(User* pusr, UsrctlResumeFn pfnResume) {
  if (pusr == nullptr || pusr->MyTeam == 0) return;
  const InputPortBinding* pipbBefore = pusr->pip != nullptr ? pusr->pip->pipbInputPortBinding : nullptr;
  User* poPauseUserBefore = global_poGetPauseUser();
  if (pusr->pip != nullptr) input_PortBindingRestore(pusr->pip);
  global_SetPauseUser(pusr);
  // The camera distance is changed from open play only.
  const bool bOpenPlay = global_eGetGameMode() == GAME_MODE_PLAY;
  const std::int32_t iDepth = global.iStackPointer;
  const std::int32_t bPushPending = global_bModeChanged;
  global_GameModePush(pausemenu_Enter, GAME_MODE_PAUSE_MENU, pfnResume);
  // The menu's enter pauses the match when the menu comes up at the end of
  // the tick; the tick's end takes the Start back if another mode comes up
  // this tick, before the Start or after it.
  if (global.iStackPointer > iDepth) pausemenu_OpenNote(pusr, poPauseUserBefore, pipbBefore, bPushPending);
  menu_ItemTypeSet(PAUSEMENU_NAME, bOpenPlay ? MENU_ITEM_SELECTABLE : MENU_ITEM_DIMMED, PAUSEMENU_CAMERA_ITEM);
  if (demo_bIsRunning()) demo_Stop();
}
