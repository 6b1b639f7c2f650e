// The pool of user markers and drawing a user's marker.
#include "shell/usrmark.h"

#include "engine/ball.h"
#include "engine/player.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/user.h"

static UserMarker s_aoMarkers[USRMARK_POOL_SIZE];
static int32_t s_iNextMarker;
int32_t usrmark_iTimer;

void usrmark_PoolInit() {
  for (int32_t i = 0; i < USRMARK_POOL_SIZE; i++) {
    s_aoMarkers[i] = UserMarker{};
    s_aoMarkers[i].iIndex = i;
    s_aoMarkers[i].iWidth = 8;
    s_aoMarkers[i].iHeight = 8;
  }
  s_iNextMarker = 0;
  usrmark_iTimer = 0;
}

int32_t usrmark_bAlloc(UserMarker** pphl) {
  if (s_iNextMarker >= USRMARK_POOL_SIZE) return 0;
  UserMarker* phl = &s_aoMarkers[s_iNextMarker++];
  phl->iState = USRMARK_STATE_NONE;
  phl->pplyr = nullptr;
  *pphl = phl;
  return 1;
}

void usrmark_Activate(UserMarker* phl) { phl->iState = USRMARK_STATE_ROAMING; }
void usrmark_TimerAdd() { usrmark_iTimer += 200; }

void usrmark_Draw(User* pusr) {
  if (global_eGetGameMode() == GAME_MODE_SET_PIECE_SCRIPT) return;
  UserMarker* phl = pusr->phl;
  if (!phl || !phl->pplyr || phl->pplyr->bHidden) return;
  pcframe_AddRingMarker(phl->pplyr, pusr->iIndex, ball_oBall.poOwner == phl->pplyr);
}
