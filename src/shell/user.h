#pragma once
// The four users: each is attached to one input port, chooses a side and in a
// match steers one player. Only what the shell needs before the match engine
// exists is here; user_standins.cpp holds minimal versions of the operations.
#include <cstdint>

struct InputPort;
struct UserMarker;

constexpr int32_t USER_MAX = 4;

struct User {
  int32_t iIndex;
  InputPort* pip;
  uint32_t uStickDirection;  // angle in degrees << 16 | magnitude 0..128
  int32_t bActive;
  UserMarker* phl;
  int32_t MyTeam;  // 0 none, 1 home, 2 away
  int32_t aiControlWords[4];
  int32_t bAttachPending;
};

extern User user_aUsers[USER_MAX];

void game_UsersReset();
void game_UsersStart();
void user_Update();
// Flushes the event queue of every active user's port.
void user_ActiveEventQueuesFlush();
