// Stand-ins for the engine and match-flow modules that players, animation
// and movement call before those modules exist. Each is small and does what
// its caller needs to keep the players moving sensibly; each goes when its
// module lands.
#include <cstdlib>

#include "engine/action_list.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"

// ---- Chaser ----------------------------------------------------------------------------

// ---- Touch machine, support grid, actions ------------------------------------------------
void touch_StateInit(Player* pp) { pp->oTouch.iState = 1; }
void touch_StateForce(Player* pp, std::int32_t n) {
  if (pp->ID != 0 && pp->ID != 11 && pp->oTouch.iState == 1) pp->oTouch.iState = 5;
  pp->oTouch.iTimer = n;
}
void touch_ContactClear() {}
void touch_ContactSet(Player*, Player*, std::int32_t) {}

// ---- Set pieces ------------------------------------------------------------------------------
void spscript_Run() {}

// ---- User control ----------------------------------------------------------------------------------
void aiopt_PassMarkersDraw() {}
