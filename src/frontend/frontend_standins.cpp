// Minimal versions of the front-end services, so that the game links and
// runs before the screens exist: default match options, no screens,
// no text; a screen that is not built yet returns to the main menu.
// Each function here is replaced, one by one, by the real module that
// provides it.
#include "frontend/frontend_services.h"

#include "framework/qdx_assert.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "tournament/dbindex.h"
#include "tournament/tla.h"


