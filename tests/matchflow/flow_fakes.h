#pragma once
// Fakes of what the clock, statistics, environment and injury modules call,
// with the knobs the tests turn.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/player.h"
#include "engine/team.h"
#include "shell/global.h"

namespace flowfake {

extern std::int32_t iMatchLength;
extern std::int32_t iDayNight;
struct Stadium {
  std::int32_t iModel, iSpecial, iPitch;
};
extern Stadium aStadiums[400];
extern MatchTeam oHome, oAway;
extern std::vector<std::string> aoTrace;  // pushes, locks, removals
void Reset();
// Links the players of each side into its chain (home first).
void ChainsSet(std::vector<Player*> apoHome, std::vector<Player*> apoAway);

}  // namespace flowfake
