// Minimal users until the users module is built with the match engine: reset
// and front-end start keep the records tidy; the per-step update does nothing.
#include "shell/user.h"

#include "shell/global.h"
#include "shell/input.h"

User user_aUsers[USER_MAX];

void game_UsersReset() {
  for (int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    u = User{};
    u.iIndex = i;
  }
  global_RecentUsersClear();
}

void game_UsersStart() {
  for (int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    if (u.pip == nullptr) continue;
    input_PortBindingSet(1, u.pip);
    u.bActive = 1;
    u.iIndex = i;
    for (int32_t& w : u.aiControlWords) w = 0;
  }
}

void user_Update() {}

void user_ActiveEventQueuesFlush() {
  for (User& u : user_aUsers) {
    if (u.bActive && u.pip) input_EventQueueFlush(&u.pip->oEvents);
  }
}
