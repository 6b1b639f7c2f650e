// The edition's introduction film (mode 79): it leaves for the news screen
// when the film ends or is skipped (event 161, or Escape or Return let go).
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfmv.h"
#include "frontend/wcqual.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/tournament_services.h"

namespace {
int32_t s_bNeedsEnter = 1;
int32_t s_bSkip = 0;
PCFMVSkipKeys s_oSkipKeys;
}  // namespace

void wcintro_Enter() {
  input_ActiveUsersBind(WC_BINDING_INTRO);
  const int32_t iFilm = wc_MovieGet(WC_MODE_INTRO, mlang_iLanguage, tmglobal_YearGet());
  QDX_ASSERT(iFilm >= 0);
  if (iFilm >= 0) pcfmv_PlayById(iFilm);
  s_bSkip = 0;
  pcfmv_SkipKeysArm(&s_oSkipKeys);
}

void wcintro_Input(User* poUser) {
  if (poUser == nullptr || poUser->pip == nullptr) return;
  while (ListNode* poNode = queue_RemoveHead(&poUser->pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    if (poEvent->eEvent == 161) s_bSkip = 1;
    input_EventFree(&poEvent);
  }
}

void wcintro_Run() {
  if (s_bNeedsEnter) {
    wcintro_Enter();
    s_bNeedsEnter = 0;
  }
  for (User& usr : user_aUsers)
    if (usr.bActive) wcintro_Input(&usr);
  // Escape and Return skip the film as the skip button does.
  if (pcfmv_bSkipKeyReleased(&s_oSkipKeys)) s_bSkip = 1;
  if (!pcfmv_IsIdle() && !s_bSkip) return;
  pcfmv_Stop();
  global_SetGameMode(GAME_MODE_NEWS);
  s_bNeedsEnter = 1;
  mfhnews_bArrived = 1;
}
