// Minimal versions of the tournament services not built yet, so that the
// game links and runs. Each function here is
// replaced, one by one, by the real module that provides it.
#include "tournament/tournament_services.h"

TMFirstLeg tmglobal_FirstLeg;


