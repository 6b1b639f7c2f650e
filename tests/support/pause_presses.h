#pragma once
// What a test's person presses for the pause menu on the first user's port:
// Start let go, which brings the menu up, and the way down the menu to
// "Quit Match" (or "Quit History") and "Yes".
#include <cstdint>
#include <cstring>

#include "matchflow/gstatso.h"
#include "matchflow/menu.h"
#include "matchflow/pausemenu.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/input_ports.h"

namespace korvena_test {

// The pad's Start; the pause menu's down, select and Start (which resumes).
constexpr std::int32_t kPadStart = 3, kMenuDown = 9, kMenuSelect = 6, kMenuStart = 5;

// The events Start let go gives through the first user's active binding (the
// centre-spot wait's gives two: the wait ended, and the pause); how many.
inline std::int32_t StartLetGoPost() {
  const User& u = user_aUsers[0];
  if (!u.pip || !u.pip->pipbInputPortBinding) return 0;
  std::int32_t c = 0;
  for (const InputPortBinding* pe = u.pip->pipbInputPortBinding; pe->eTrigger != INPUT_TRIGGER_END; ++pe)
    if (pe->eFunction == kPadStart && pe->eTrigger == INPUT_TRIGGER_RELEASE) {
      FirstUserEventPost(static_cast<std::int32_t>(pe->eEvent));
      c++;
    }
  return c;
}

// The press a tick takes the pause menu towards "Quit Match", "Yes": down
// to the quit page's item and select, then down to "Yes" and select.
enum class QuitPress { None, Down, Select, Yes };

// Posts the next press (None: the menu has no current item, nothing posted;
// Yes: "Yes" selected, the match is left on the tick that hears it).
inline QuitPress QuitMatchPress() {
  const Menu* m = menu_MenuFind(PAUSEMENU_NAME);
  if (!m || !m->poCurrentPage || !m->poCurrentPage->poCurrent) return QuitPress::None;
  const char* pszQuit = pausemenu_pszPageGet(2);
  const bool bOnQuitPage = std::strcmp(m->szCurrentPage, pszQuit) == 0;
  const char* pszWanted = bOnQuitPage ? gstatso_StrGet(PAUSEMENU_T_YES) : pszQuit;
  if (std::strcmp(m->poCurrentPage->poCurrent->szLabel, pszWanted) != 0) {
    FirstUserEventPost(kMenuDown);
    return QuitPress::Down;
  }
  FirstUserEventPost(kMenuSelect);
  return bOnQuitPage ? QuitPress::Yes : QuitPress::Select;
}

}  // namespace korvena_test
