// The demo match's tick: it reads the players' queues itself, blinks "DEMO"
// and decides when the match is left.
#include <cstdint>

#include "framework/qdx_assert.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/clock.h"
#include "matchflow/demo.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"

namespace {

// Empties every active user's queue; answers whether one asked to stop.
// Nobody plays a side in the demo, so the kick-off and the restarts would
// leave the players the empty binding: each keeps the demo's own, so that
// Start or the first button ends the demo whatever the match is doing.
bool QueuesDrain() {
  bool bQuit = false;
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    input_PortBindingSet(DEMO_BINDING, u.pip);
    while (ListNode* pNode = queue_RemoveHead(&u.pip->oEvents)) {
      InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
      if (pEvent->eEvent == 158) bQuit = true;
      input_EventFree(&pEvent);
    }
  }
  return bQuit;
}

void TextDraw() {
  const char* psz = gstatso_StrGet(DEMO_TEXT);
  pctext_FontSet(2);
  draw2d_TextColourSet(186, 186, 118, 255);
  pctext_PrintCentred(psz, pcfe_ScaleX640(320), pcfe_ScaleY480(110), 1);
  draw2d_TextColourSet(73, 73, 37, 255);
  pctext_PrintCentred(psz, pcfe_ScaleX640(321), pcfe_ScaleY480(111), 1);
  pctext_FontSet(0);
}

}  // namespace

void demo_Update() {
  DemoMachine& d = demo_oMachine;
  switch (d.eState) {
    case DEMO_OFF:
      return;
    case DEMO_RUNNING: {
      if (QueuesDrain()) {
        d.eState = DEMO_LEAVE;
        return;
      }
      d.uBlink++;
      if (demo_bTextShows(d.uBlink)) TextDraw();
      const bool bLate = clock_MinuteGet() >= DEMO_LAST_MINUTE;
      if (match.HomeGoals != 0 || match.AwayGoals != 0) {
        d.iCountdown = DEMO_COUNTDOWN_GOAL;
        d.eState = DEMO_GOAL_SCORED;
      }
      if (bLate) {
        d.iCountdown = DEMO_COUNTDOWN_MINUTE;
        d.eState = DEMO_COUNTDOWN;
      }
      return;
    }
    case DEMO_GOAL_SCORED:
      if (global_eGetGameMode() == GAME_MODE_KICK_OFF) d.eState = DEMO_LEAVE;
      return;
    case DEMO_COUNTDOWN:
      if (d.iCountdown >= 1) d.iCountdown--;
      else d.eState = DEMO_LEAVE;
      return;
    case DEMO_STOP_REQUESTED:
      d.eState = DEMO_LEAVE;
      return;
    case DEMO_LEAVE:
      global_GameModePush(nullptr, GAME_MODE_MATCH_END, nullptr);
      return;
    default:
      QDX_ASSERT(d.eState <= DEMO_LEAVE);
      return;
  }
}
