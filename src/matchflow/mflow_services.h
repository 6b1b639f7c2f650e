#pragma once
// What the match-flow modes call in other modules of the match, and the
// event loop they share.
#include <cstdint>

#include "audio/audio_services.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "engine/setp.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"

struct GoalieObject;
struct MatchTeam;
struct Player;

void demo_StopRequest();

// Every queued event of every active user with a port, in user order. A
// demo's quit event is obeyed here too: these modes empty the queues before
// the demo looks at them.
template <class F>
void mflow_UserEventsEach(F f) {
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    while (ListNode* pn = queue_RemoveHead(&u.pip->oEvents)) {
      InputEvent* pe = reinterpret_cast<InputEvent*>(pn);
      const std::int32_t iEvent = pe->eEvent;
      input_EventFree(&pe);
      if (iEvent == 158) demo_StopRequest();
      f(&u, iEvent);
    }
  }
}

// ---- Pause menu, set pieces, referee action, user control -------------------------------
void pausemenu_Build();

// ---- Substitutions, computer manager, demo, reactions, user control ----------------------
std::int32_t subs_bIsPending();
void subs_Mode67Enter();
void subs_Mode67Check();
void cpuman_Update(MatchTeam* poTeam);
void demo_Start();
