// Stand-ins for what the ball, possession, kick, chaser and strike modules
// call in parts of the match engine and the match flow not built yet. Each
// does the least that keeps a match sound.
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"

// ---- Touch machine ------------------------------------------------------

// ---- Shoot-out, user control ---------------------------------------------

// ---- Passing, shot choice, set pieces -------------------------------------------------------
std::int32_t pass_RecordModeGet() { return 0; }
void pass_RecordPointGet(std::int32_t* px, std::int32_t* py) {
  *px = ball_CurXGet();
  *py = ball_CurYGet();
}
