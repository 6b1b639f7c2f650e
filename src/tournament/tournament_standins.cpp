// Minimal versions of the tournament services not built yet, so that the
// game links and runs: no stadiums, ratings 3, no results ticker, a friendly
// match of the last edition. Each function here is
// replaced, one by one, by the real module that provides it.
#include "tournament/tournament_services.h"

TMFirstLeg tmglobal_FirstLeg;

std::int32_t stadium_Choose(std::int32_t) { return 0; }
std::int32_t stadium_ModelGet(std::int32_t) { return 0; }
std::int32_t stadium_PitchGet(std::int32_t) { return 0; }
std::int32_t stadium_SpecialGet(std::int32_t) { return 0; }

void ticktape_Init() {}
void ticktape_Update() {}

