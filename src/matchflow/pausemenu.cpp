// The pause menu's pages and items, built once per match.
#include "matchflow/pausemenu.h"

#include "matchflow/camera.h"
#include "matchflow/gstatso.h"
#include "matchflow/menu.h"
#include "matchflow/replay.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pause.h"
#include "shell/user.h"

namespace {

char s_aszPages[3][MENU_NAME_MAX + 1];
std::int32_t s_bQuit = 0;

// The pause menu pushed by this tick's Start and not yet entered: where it
// lies on the game-mode stack (-1 none), what its opening changed, and
// whether a mode pushed earlier in the tick was still waiting for its enter
// (the stack's push flag before the menu's push).
struct Opening {
  std::int32_t iAt = -1;
  User* poUser = nullptr;
  User* poPauseUserBefore = nullptr;
  const InputPortBinding* pipbBefore = nullptr;
  std::int32_t bPushPendingBefore = 0;
};
Opening s_oOpening;

bool IsPauseEntry(std::int32_t i) {
  return i >= 0 && i < global.iStackPointer && global.aStack[i].eMode == GAME_MODE_PAUSE_MENU &&
         global.aStack[i].pfnInit == pausemenu_Enter;
}

void Copy(char* psz, const char* pszFrom) {
  std::int32_t i = 0;
  for (; pszFrom != nullptr && i < MENU_NAME_MAX && pszFrom[i] != '\0'; i++) psz[i] = pszFrom[i];
  psz[i] = '\0';
}

std::int32_t Resume(Menu*) {
  global_GameModePopRequest();
  menu_Close(PAUSEMENU_NAME);
  pause_Clear();
  return 0;
}

std::int32_t Replay(Menu*) {
  global_GameModePush(replay_Enter, GAME_MODE_REPLAY, nullptr);
  menu_Close(PAUSEMENU_NAME);
  return 0;
}

std::int32_t CameraSet(std::int32_t iId) {
  camera_Pop();
  camera_Push(iId);
  return 0;
}
std::int32_t VeryClose(Menu*) { return CameraSet(15); }
std::int32_t Close(Menu*) { return CameraSet(3); }
std::int32_t Normal(Menu*) { return CameraSet(1); }
std::int32_t Far(Menu*) { return CameraSet(2); }
std::int32_t VeryFar(Menu*) { return CameraSet(18); }

std::int32_t Quit(Menu*) {
  s_bQuit = 1;
  global_GameModePush(nullptr, GAME_MODE_MATCH_END, nullptr);
  menu_Close(PAUSEMENU_NAME);
  // The match ends here: nothing of it is paused any more, and nothing of it
  // resumes (its clock and music are the next match's to start).
  pause_FlagClear();
  return 0;
}

}  // namespace

void pausemenu_Build() {
  s_bQuit = 0;
  Copy(s_aszPages[0], gstatso_StrGet(PAUSEMENU_T_GAME_PAUSED));
  Copy(s_aszPages[1], gstatso_StrGet(PAUSEMENU_T_CAMERA));
  const bool bHistory = global_eGetExtendedGameMode() == GAME_MODE_HISTORY;
  Copy(s_aszPages[2], gstatso_StrGet(bHistory ? PAUSEMENU_T_QUIT_HISTORY : PAUSEMENU_T_QUIT_MATCH));
  const char* pszPaused = s_aszPages[0];
  const char* pszCamera = s_aszPages[1];
  const char* pszQuit = s_aszPages[2];

  menu_Reset();
  menu_MenuAdd(PAUSEMENU_NAME);
  menu_PositionSet(255, 125);
  menu_RowHeightSet(16);
  menu_RowsSet(6);
  menu_PageAdd(PAUSEMENU_NAME, pszPaused, MENU_LAYOUT_LIST, 0);
  menu_PageAdd(PAUSEMENU_NAME, pszCamera, MENU_LAYOUT_LIST, 0);
  menu_PageAdd(PAUSEMENU_NAME, pszQuit, MENU_LAYOUT_LIST, 0);

  menu_ItemAdd(PAUSEMENU_NAME, pszPaused, gstatso_StrGet(PAUSEMENU_T_RESUME), MENU_ITEM_SELECTABLE, nullptr, nullptr,
               Resume);
  menu_ItemAdd(PAUSEMENU_NAME, pszPaused, gstatso_StrGet(PAUSEMENU_T_REPLAY), MENU_ITEM_SELECTABLE, nullptr, nullptr,
               Replay);
  menu_ItemAdd(PAUSEMENU_NAME, pszPaused, gstatso_StrGet(PAUSEMENU_T_CAMERA), MENU_ITEM_SELECTABLE, pszCamera,
               nullptr, nullptr);
  menu_ItemAdd(PAUSEMENU_NAME, pszPaused, pszQuit, MENU_ITEM_SELECTABLE, pszQuit, nullptr, nullptr);

  static const struct {
    std::int32_t iText;
    MenuOperation pfn;
  } kaCameras[] = {{PAUSEMENU_T_VERY_CLOSE, VeryClose},
                   {PAUSEMENU_T_CLOSE, Close},
                   {PAUSEMENU_T_NORMAL, Normal},
                   {PAUSEMENU_T_FAR, Far},
                   {PAUSEMENU_T_VERY_FAR, VeryFar}};
  for (const auto& o : kaCameras) {
    menu_ItemAdd(PAUSEMENU_NAME, pszCamera, gstatso_StrGet(o.iText), MENU_ITEM_SELECTABLE, nullptr, pszPaused, o.pfn);
  }
  menu_ItemAdd(PAUSEMENU_NAME, pszQuit, gstatso_StrGet(PAUSEMENU_T_NO), MENU_ITEM_SELECTABLE, pszPaused, pszPaused,
               nullptr);
  menu_ItemAdd(PAUSEMENU_NAME, pszQuit, gstatso_StrGet(PAUSEMENU_T_YES), MENU_ITEM_SELECTABLE, nullptr, pszPaused,
               Quit);
}

void pausemenu_Enter() {
  s_oOpening = Opening{};
  if (User* pusr = global_poGetPauseUser(); pusr != nullptr && pusr->pip != nullptr) {
    input_PortBindingSet(8, pusr->pip);
  }
  menu_Open(PAUSEMENU_NAME, s_aszPages[0]);
  // The match is paused from the tick its menu comes up (the tick that heard
  // Start was played as any other); coming back from a replay watched from
  // the menu it still is.
  if (!pause_bIsPaused()) pause_Set();
}

void pausemenu_OpenNote(User* pusr, User* poPauseUserBefore, const InputPortBinding* pipbBefore,
                        std::int32_t bPushPendingBefore) {
  s_oOpening = Opening{global.iStackPointer - 1, pusr, poPauseUserBefore, pipbBefore, bPushPendingBefore};
}

void pausemenu_Settle() {
  const Opening o = s_oOpening;
  s_oOpening = Opening{};
  const bool bOnTop = IsPauseEntry(o.iAt) && o.iAt == global.iStackPointer - 1;
  if (o.iAt >= 0 && !(bOnTop && !global.bPopRequest && !o.bPushPendingBefore)) {
    // The tick that heard Start also pushed another mode (before the Start
    // or after it), emptied the stack or ended its own mode: the menu would
    // lie under that mode, or over one whose enter would then never run
    // (the menu's resume runs in its place), or be gone, or be popped for
    // it. The Start is dropped as if never heard.
    if (IsPauseEntry(o.iAt)) {
      for (std::int32_t i = o.iAt; i + 1 < global.iStackPointer; i++) global.aStack[i] = global.aStack[i + 1];
      global.iStackPointer--;
      // With nothing pushed after the menu, the push flag is the one the
      // tick had before it: the mode transition neither enters the mode
      // below again now nor on the next tick.
      if (bOnTop) global_bModeChanged = o.bPushPendingBefore;
    }
    global_SetPauseUser(o.poPauseUserBefore);
    if (o.poUser != nullptr && o.poUser->pip != nullptr) o.poUser->pip->pipbInputPortBinding = o.pipbBefore;
  }
  // The flag says that the pause menu is up (or a replay watched from it
  // runs): with no pause menu on the stack, nothing is paused.
  if (pause_bIsPaused()) {
    bool bOnStack = false;
    for (std::int32_t i = 0; i < global.iStackPointer; i++) bOnStack = bOnStack || IsPauseEntry(i);
    if (!bOnStack) pause_FlagClear();
  }
}

std::int32_t pausemenu_bQuitGet() { return s_bQuit; }

const char* pausemenu_pszPageGet(std::int32_t iPage) {
  return iPage >= 0 && iPage < 3 ? s_aszPages[iPage] : "";
}
