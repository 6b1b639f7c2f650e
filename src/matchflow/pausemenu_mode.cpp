// Mode 7's tick: only the user who paused steers the menu; the match is drawn
// without being simulated. The Start of a set piece's staging, which brings
// the menu up over it.
#include "frontend/pctext.h"
#include "matchflow/menu.h"
#include "matchflow/mflow_services.h"
#include "matchflow/pausemenu.h"
#include "matchflow/usrctl.h"
#include "scene3d/scene3d_services.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pause.h"
#include "shell/user.h"

void pausemenu_UserInput(User* pusr) {
  static const std::int32_t kaiCleared[] = {MENU_FLAG_UP, MENU_FLAG_DOWN, MENU_FLAG_SELECT, MENU_FLAG_BACK, 7, 8};
  for (std::int32_t i : kaiCleared) menu_FlagSet(i, 0);
  if (pusr->pip == nullptr) return;
  while (ListNode* pNode = queue_RemoveHead(&pusr->pip->oEvents)) {
    InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
    switch (pEvent->eEvent) {
      case 5:
        usrctl_oKick.iShown = 0;
        input_PortBindingRestore(pusr->pip);
        global_GameModePopRequest();
        menu_Close(PAUSEMENU_NAME);
        pause_Clear();
        break;
      case 6: menu_FlagSet(MENU_FLAG_SELECT, 1); break;
      case 7: menu_FlagSet(MENU_FLAG_BACK, 1); break;
      case 8: menu_FlagSet(MENU_FLAG_UP, 1); break;
      case 9: menu_FlagSet(MENU_FLAG_DOWN, 1); break;
      case 10: menu_FlagSet(7, 1); break;
      case 11: menu_FlagSet(8, 1); break;
      default: break;
    }
    input_EventFree(&pEvent);
  }
}

void options_DebugUpdate() {
  User* poPause = global_poGetPauseUser();
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    if (&u == poPause) pausemenu_UserInput(&u);
    else input_EventQueueFlush(&u.pip->oEvents);
  }
  pctext_FontSet(0);
  menu_Step(PAUSEMENU_NAME);
  if (global_eGetPrevGameMode() == GAME_MODE_SET_PIECE_SCRIPT) pausemenu_StandingFrame();
  else game_MatchFrameNoSim();
}

// A staging's camera is the script's (its fade, the view it set up, the
// broadcast view before it): moved on behind the menu, it would meet the
// resumed script ahead of it. Its picture is drawn from the camera as it was
// left.
void pausemenu_StandingFrame() {
  pcframe_CameraStore();
  game_DrawStep();
}

namespace {

// Each user's binding as the staging had it when its pause menu came up (0:
// the user was not there).
std::int32_t s_aeHeldBinding[USER_MAX];

// The pause menu closed: the users get back the bindings the staging gave
// them (the menu's user had the menu's own).
void StagingResume() {
  for (std::int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    if (s_aeHeldBinding[i] != 0 && u.bActive && u.pip) input_PortBindingSet(s_aeHeldBinding[i], u.pip);
  }
}

}  // namespace

bool pausemenu_StagingInput() {
  const std::int32_t iDepth = global.iStackPointer;
  std::int32_t aeBinding[USER_MAX] = {};
  for (std::int32_t i = 0; i < USER_MAX; i++)
    if (user_aUsers[i].bActive && user_aUsers[i].pip) aeBinding[i] = user_aUsers[i].pip->eBinding;
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (iEvent == 4) pausemenu_Open(pusr, StagingResume);
  });
  if (global.iStackPointer <= iDepth) return false;
  for (std::int32_t i = 0; i < USER_MAX; i++) s_aeHeldBinding[i] = aeBinding[i];
  pausemenu_StandingFrame();
  return true;
}
