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

// ---- User control ----------------------------------------------------------------------------------
void aiopt_PassMarkersDraw() {}
