// Soak configurations and totals.
#include "support/match_soak.h"

#include <sstream>

#include "shell/global.h"

namespace match_harness {

Config SoakConfig(std::uint32_t uSeed) {
  Config c;
  c.uSeed = uSeed;
  c.iLength = 1 + static_cast<std::int32_t>(uSeed % 3);
  // Team editions of the quick-match table, varied by seed.
  static const std::int32_t kTeams[][2] = {{144, 3}, {88, 3}, {144, 6}, {88, 6}};
  c.aiTeam[0] = kTeams[uSeed % 4][0];
  c.aiEdition[0] = kTeams[uSeed % 4][1];
  c.aiTeam[1] = kTeams[(uSeed / 4 + 1) % 4][0];
  c.aiEdition[1] = kTeams[(uSeed / 4 + 1) % 4][1];
  if (c.aiTeam[0] == c.aiTeam[1] && c.aiEdition[0] == c.aiEdition[1]) c.aiEdition[1] = c.aiEdition[1] == 3 ? 6 : 3;
  switch (uSeed % 8) {
    case 0: c.iExtraTime = 0; break;
    case 1: c.iExtraTime = 1; c.bPenalties = 1; break;
    case 2: c.iExtraTime = 2; c.bPenalties = 1; break;
    case 3: c.iExtraTime = 1; c.bPenalties = 0; break;
    case 4: c.bTournament = 1; c.iRoundFormat = 7; break;
    case 5: c.bTournament = 1; c.iRoundFormat = 8; break;
    case 6: c.bTournament = 1; c.iRoundFormat = 3; break;
    default: c.bTournament = 1; c.iRoundFormat = 6; break;
  }
  c.bFouls = static_cast<std::int32_t>((uSeed / 8) % 2 == 0);
  c.iReferee = static_cast<std::int32_t>(uSeed % 3);
  return c;
}

void SoakTotals::Add(const Config& c, const Result& r) {
  cMatches++;
  if (!r.bFinished) {
    cUnfinished++;
    if (oFirstFault.empty()) oFirstFault = r.Describe(c);
  }
  cGoals += r.aiScore[0] + r.aiScore[1] - r.aiPenalties[0] - r.aiPenalties[1];  // not the shoot-out's
  cShots += r.cShots;
  cSaves += r.cSaves;
  cCards += r.cCards;
  auto n = [&r](std::int32_t e) {
    auto it = r.mapEntries.find(e);
    return it == r.mapEntries.end() ? 0 : it->second;
  };
  cThrowIns += n(GAME_MODE_THROW_IN);
  cCorners += n(GAME_MODE_CORNER);
  cGoalKicks += n(GAME_MODE_GOAL_KICK);
  cFreeKicks += n(GAME_MODE_FREE_KICK);
  cPenalties += n(58);
  cShootouts += n(66) > 0 ? 1 : 0;
  for (std::int32_t d : r.aiDistance) cStill += d == 0 ? 1 : 0;
}

std::string SoakTotals::Describe() const {
  std::ostringstream o;
  o << cMatches << " matches, " << cUnfinished << " unfinished, " << cGoals << " goals, " << cShots << " shots, "
    << cSaves << " saves, " << cCards << " cards, " << cThrowIns << " throw-ins, " << cCorners << " corners, "
    << cGoalKicks << " goal kicks, " << cFreeKicks << " free kicks, " << cPenalties << " penalties, " << cShootouts
    << " shoot-outs, " << cStill << " players who never moved";
  return o.str();
}

std::string SoakTotals::OutOfBands() const {
  std::ostringstream o;
  if (cMatches == 0) return o.str();
  // Per match in hundredths: [lo, hi].
  auto band = [&](const char* name, std::int32_t c, std::int32_t lo, std::int32_t hi) {
    const std::int64_t r = 100LL * c / cMatches;
    if (r < lo || r > hi) o << name << " " << r / 100.0 << " a match (band " << lo / 100.0 << ".." << hi / 100.0 << "); ";
  };
  band("corners", cCorners, 30, 600);
  band("goal kicks", cGoalKicks, 30, 800);
  band("free kicks", cFreeKicks, 20, 1000);
  band("throw-ins", cThrowIns, 50, 2000);
  // The ball goes out at the sides more often than behind the goals.
  if (cThrowIns < cCorners) o << "fewer throw-ins (" << cThrowIns << ") than corners (" << cCorners << "); ";
  return o.str();
}

}  // namespace match_harness
