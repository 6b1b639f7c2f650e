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
  if (pusr->pip != nullptr) input_PortBindingRestore(pusr->pip);
  global_SetPauseUser(pusr);
  // The camera distance is changed from open play only.
  const bool bOpenPlay = global_eGetGameMode() == GAME_MODE_PLAY;
  global_GameModePush(pausemenu_Enter, GAME_MODE_PAUSE_MENU, pfnResume);
  pause_Set();
  menu_ItemTypeSet(PAUSEMENU_NAME, bOpenPlay ? MENU_ITEM_SELECTABLE : MENU_ITEM_DIMMED, PAUSEMENU_CAMERA_ITEM);
  if (demo_bIsRunning()) demo_Stop();
}
