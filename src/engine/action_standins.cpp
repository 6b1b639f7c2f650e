// Handlers and services the action table installs before their modules
// exist: each returns its list unchanged (nobody is taken, the program moves
// on) or does nothing. Each goes when its module lands.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/zone.h"

// ---- Set pieces and restarts ----------------------------------------------------------
Player* match_poScorerGet() { return ball_WhoKickedGet(); }

// ---- Ball-holder and reaction actions, retreats, touch machine -------------------------------
