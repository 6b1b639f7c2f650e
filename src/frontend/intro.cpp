// The start-up movies and the history mode's intro.
#include "frontend/intro.h"

#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfmv.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"

int32_t intro_bNeedsEnter = 1;
int32_t intro_iStage = 2;
int32_t histintro_bNeedsEnter = 1;
int32_t histintro_bSkip = 0;

namespace {

constexpr int32_t kStay = GAME_MODE_INTRO;
constexpr int32_t kHistorySetup = 45;
constexpr int32_t kHistoryBinding = 47;
PCFMVSkipKeys s_oHistorySkipKeys;

// Plays the next movie of the chain: 172, then 171, 170 and 204.
void ChainAdvance() {
  switch (intro_iStage) {
    case 2: intro_iStage = 1; pcfmv_PlayById(171); break;
    case 1: intro_iStage = 0; pcfmv_PlayById(170); break;
    case 0: intro_iStage = 3; pcfmv_PlayById(204); break;
    default: intro_iStage = INTRO_STAGE_END; break;
  }
}

bool EscapeHeld() {
  const uint8_t* pabKeys = QKeyboardGetState();
  return pabKeys != nullptr && (pabKeys[1] & 0x80) != 0;
}

// Each event of the user's port, taken off its queue.
template <typename F>
void EventsEach(User* pusr, F f) {
  InputPort* pip = pusr ? pusr->pip : nullptr;
  if (pip == nullptr) return;
  while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    f(poEvent->eEvent);
    input_EventFree(&poEvent);
  }
}

}  // namespace

// ---- Start-up chain ---------------------------------------------------------------

void intro_Enter() {
  game_UsersReset();
  input_PortsClear();
  input_PortsReinit();
  for (int32_t i = 0; i < USER_MAX; ++i) {
    User& u = user_aUsers[i];
    InputPort* pip = input_poGetPort(i);
    u.iIndex = i;
    u.pip = pip;
    u.bAttachPending = 1;
    if (pip == nullptr) continue;
    pip->pusr = &u;
    pip->bInUse = 0;
    pip->bEventsEnabled = 0;
  }
  input_ActiveUsersBind(1);
  pcfmv_PlayById(172);
  intro_iStage = 2;
}

int32_t intro_Input(User* pusr) {
  int32_t eNext = kStay;
  EventsEach(pusr, [&](int32_t eEvent) {
    if (eEvent != 1 || eNext != kStay) return;
    global_RecentUserTouch(pusr);
    global_SetMenuUser(pusr);
    ChainAdvance();
    if (intro_iStage == INTRO_STAGE_END) {
      pcfmv_Stop();
      eNext = GAME_MODE_LANGUAGE;
    }
  });
  if (EscapeHeld()) eNext = GAME_MODE_LANGUAGE;
  return eNext;
}

void intro_Run() {
  if (intro_bNeedsEnter) {
    intro_Enter();
    intro_bNeedsEnter = 0;
  }
  for (User& u : user_aUsers)
    if (input_bUserActivate(&u)) input_PortBindingSet(1, u.pip);
  int32_t eNext = kStay;
  for (User& u : user_aUsers) {
    if (!u.bActive) continue;
    const int32_t e = intro_Input(&u);
    if (e != kStay) eNext = e;
  }
  if (eNext == kStay && pcfmv_IsIdle()) {
    ChainAdvance();
    if (intro_iStage == INTRO_STAGE_END) {
      pcfmv_Stop();
      global_SetMenuUser(&user_aUsers[0]);
      eNext = GAME_MODE_LANGUAGE;
    }
  }
  if (eNext == kStay) return;
  intro_bNeedsEnter = 1;
  pcfmv_Stop();
  global_SetGameMode(static_cast<GameMode>(eNext));
}

// ---- History intro ------------------------------------------------------------------

void histintro_Enter() {
  for (User& u : user_aUsers)
    if (u.bActive && u.pip) input_PortBindingSet(kHistoryBinding, u.pip);
  pcfmv_PlayById(351);
  histintro_bSkip = 0;
  pcfmv_SkipKeysArm(&s_oHistorySkipKeys);
}

void histintro_Input(User* pusr) {
  EventsEach(pusr, [](int32_t eEvent) {
    if (eEvent == 161) histintro_bSkip = 1;
  });
}

void histintro_Run() {
  if (histintro_bNeedsEnter) {
    histintro_Enter();
    histintro_bNeedsEnter = 0;
  }
  for (User& u : user_aUsers)
    if (u.bActive) histintro_Input(&u);
  // Escape and Return skip the film as the skip button does.
  if (pcfmv_bSkipKeyReleased(&s_oHistorySkipKeys)) histintro_bSkip = 1;
  if (!pcfmv_IsIdle() && !histintro_bSkip) return;
  pcfmv_Stop();
  global_SetGameMode(static_cast<GameMode>(kHistorySetup));
  histintro_bNeedsEnter = 1;
}
