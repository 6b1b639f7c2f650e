// Soak configurations and totals.
#include "support/match_soak.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "frontend/mquick.h"
#include "frontend/frontend_services.h"
#include "shell/global.h"
#include "support/match_watch.h"

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

// ---- Statistics -------------------------------------------------------------------------------

namespace {

// A small mixer of the seed, apart from the game's own generator.
std::uint32_t Mix(std::uint32_t u) {
  u ^= u >> 16;
  u *= 0x7feb352du;
  u ^= u >> 15;
  u *= 0x846ca68bu;
  u ^= u >> 16;
  return u;
}

std::int32_t EditionOf(std::uint32_t uMask) {
  std::int32_t e = 0;
  while (e < 31 && !(uMask & (1u << e))) e++;
  return e;
}

}  // namespace

Config StatsConfig(std::uint32_t uSeed) {
  Config c = SoakConfig(uSeed);
  static const std::int32_t kLengths[] = {5, 10, 15};
  c.iLength = kLengths[uSeed % 3];
  const std::uint32_t a = Mix(uSeed * 2 + 1) % static_cast<std::uint32_t>(MQUICK_TEAMS);
  std::uint32_t b = Mix(uSeed * 2 + 2) % static_cast<std::uint32_t>(MQUICK_TEAMS - 1);
  if (b >= a) b++;
  c.aiTeam[0] = static_cast<std::int32_t>(mquick_aRows[a].uTeam);
  c.aiEdition[0] = EditionOf(mquick_aRows[a].uMask);
  c.aiTeam[1] = static_cast<std::int32_t>(mquick_aRows[b].uTeam);
  c.aiEdition[1] = EditionOf(mquick_aRows[b].uMask);
  // Fouls on in two matches of three, each referee with them on and off.
  c.bFouls = static_cast<std::int32_t>((uSeed / 3) % 3 != 0);
  c.iReferee = static_cast<std::int32_t>((uSeed / 9) % 3);
  return c;
}

Config PersonConfig(std::uint32_t uSeed, bool bComputer) {
  Config c = StatsConfig(uSeed);
  c.iLength = 2 + static_cast<std::int32_t>((uSeed / 4) % 3);
  c.uMonkeySeed = uSeed;
  if (bComputer) return c;
  const std::size_t k = (uSeed / 2) % 2;
  if (uSeed % 2 == 0) {
    c.aeSide[k] = SideKind::User;
    c.aoCommands[k] = PassTaps(90, c.cTickCap);
  } else {
    c.aeSide[k] = SideKind::Monkey;
  }
  return c;
}

Config CarryConfig(std::uint32_t uSeed, SideKind eKind) {
  Config c = SoakConfig(uSeed);
  c.iLength = 10;
  if (eKind == SideKind::Computer) return c;
  const std::size_t k = uSeed % 2;
  c.aeSide[k] = eKind;
  if (eKind == SideKind::User) {
    // Every input table's Pass press, held and release, posted as raw
    // events on three ticks in a row.
    for (std::int32_t t = 30; t <= c.cTickCap; t += 90)
      for (std::int32_t i = 0; i < 3; i++)
        for (std::int32_t e : kaaiPassEvents[i])
          if (e) c.aoCommands[k].push_back(Command{t + i, e, 0, 0});
  }
  c.uMonkeySeed = uSeed * 7 + 3;
  return c;
}

std::int32_t CarryMatchFaults(const MatchWatch& w, const Result& r, std::string* pOther) {
  std::int32_t c = 0;
  for (const MatchWatch::Worst& o : w.aoCarries) c += w.CarryIsFault(o) ? 1 : 0;
  *pOther = w.FaultsBesideCarries(r);
  return c + (pOther->empty() ? 0 : 1);
}

double SoakStats::Series::Mean() const {
  if (a.empty()) return 0;
  double d = 0;
  for (const Sample& x : a) d += x.d;
  return d / static_cast<double>(a.size());
}

double SoakStats::Series::MeanAt(std::int32_t iLength) const {
  double d = 0;
  std::int32_t n = 0;
  for (const Sample& x : a)
    if (x.iLength == iLength) d += x.d, n++;
  return n ? d / n : 0;
}

double SoakStats::Series::Spread() const {
  if (a.size() < 2) return 0;
  const double m = Mean();
  double d = 0;
  for (const Sample& x : a) d += (x.d - m) * (x.d - m);
  return std::sqrt(d / static_cast<double>(a.size() - 1));
}

void SoakStats::Add(const Config& c, const Result& r) {
  cMatches++;
  if (!r.bFinished || r.iSeconds <= 0) {
    cUnfinished++;
    if (oFirstFault.empty()) oFirstFault = r.Describe(c);
    return;
  }
  // Minutes of football the match stands for: its length, stretched by the
  // time the clock ran past ninety (stoppage, extra time).
  const double dMinutes = static_cast<double>(c.iLength) * r.iSeconds / 5400.0;
  const double f = 90.0 / dMinutes;
  const std::int32_t cGoals = r.aiScore[0] + r.aiScore[1] - r.aiPenalties[0] - r.aiPenalties[1];
  oGoals.Add(cGoals * f, c.uSeed, c.iLength);
  cGoalsAll += cGoals;
  for (std::int32_t k = 0; k < 2; k++) {
    oShots.Add(r.aiShots[k] * f, c.uSeed, c.iLength);
    oOnTarget.Add(r.aiOnTarget[k] * f, c.uSeed, c.iLength);
    oCorners.Add(r.aiCorners[k] * f, c.uSeed, c.iLength);
    cShotsAll += r.aiShots[k];
    cOnTargetAll += r.aiOnTarget[k];
    if (c.bFouls) oFouls.Add(r.aiFouled[1 - k] * f, c.uSeed, c.iLength);
  }
  if (c.bFouls) {
    cFoulsOn++;
    oPenalties.Add(r.cPenaltyKicks * f, c.uSeed, c.iLength);
    // Cards: bookings and sendings-off together; a second booking counts
    // once, as the red card it becomes.
    oCards.Add(r.cCards * f, c.uSeed, c.iLength);
    oReds.Add(r.cSentOff * f, c.uSeed, c.iLength);
    if (c.iReferee == 2) oRedsHarsh.Add(r.cSentOff * f, c.uSeed, c.iLength);
  }
  const std::int32_t cBall = r.aiPossession[0] + r.aiPossession[1];
  if (cBall > 0) oPossession.Add(100.0 * r.aiPossession[0] / cBall, c.uSeed, c.iLength);
  const std::int32_t cKicks = r.aiShootoutKicks[0] + r.aiShootoutKicks[1];
  if (cKicks > 0) {
    cShootouts++;
    cShootoutKicks += cKicks;
    cShootoutGoals += r.aiPenalties[0] + r.aiPenalties[1];
    const std::int32_t cRows = std::max(r.aiShootoutKicks[0], r.aiShootoutKicks[1]);
    cShootoutsInFive += cRows <= 5 ? 1 : 0;
    cShootoutsPastEight += cRows > 8 ? 1 : 0;
    if (cRows > cLongestShootout) {
      cLongestShootout = cRows;
      uLongestShootoutSeed = c.uSeed;
    }
  }
}

namespace {

// Bands the game does not reach yet: reported, failing nothing.
bool KnownFailing(const std::string& oName) {
  static const char* const kKnown[] = {
      "share of shots on target",   "goals per shot on target",   "penalties a match",
      "shoot-out kicks scored",     "shoot-outs past eight rows", "shoot-outs decided in five rows",
  };
  for (const char* psz : kKnown)
    if (oName == psz) return true;
  return false;
}

double Share(std::int64_t n, std::int64_t d) { return d > 0 ? static_cast<double>(n) / static_cast<double>(d) : 0; }

}  // namespace

std::vector<SoakStats::Band> SoakStats::Bands() const {
  std::vector<Band> a;
  auto add = [&a](const char* psz, double d, double lo, double hi) { a.push_back({psz, d, lo, hi, KnownFailing(psz)}); };
  if (oGoals.a.empty()) return a;
  add("goals a match", oGoals.Mean(), 2.0, 3.6);
  add("shots a team", oShots.Mean(), 8, 18);
  add("share of shots on target", Share(cOnTargetAll, cShotsAll), 0.25, 0.45);
  add("goals per shot on target", Share(cGoalsAll, cOnTargetAll), 0.25, 0.35);
  add("corners a team", oCorners.Mean(), 3, 8);
  std::int64_t cEven = 0;
  for (const Sample& x : oPossession.a) cEven += x.d >= 35 && x.d <= 65 ? 1 : 0;
  add("matches with 35-65% possession", Share(cEven, static_cast<std::int64_t>(oPossession.a.size())), 0.75, 1);
  if (!oFouls.a.empty()) {
    add("fouls a team", oFouls.Mean(), 4, 20);
    add("penalties a match", oPenalties.Mean(), 0.12, 0.45);
    add("cards a match", oCards.Mean(), 2, 6);
    add("red cards a match", oReds.Mean(), 0, 0.6);
  }
  if (!oRedsHarsh.a.empty()) add("red cards a match under a Harsh referee", oRedsHarsh.Mean(), 0, 1.5);
  // A shoot-out band needs a dozen of them to say anything.
  if (cShootouts >= 12) {
    add("shoot-out kicks scored", Share(cShootoutGoals, cShootoutKicks), 0.65, 0.85);
    add("shoot-outs decided in five rows", Share(cShootoutsInFive, cShootouts), 0.5, 1);
    add("shoot-outs past eight rows", Share(cShootoutsPastEight, cShootouts), 0, 0.1);
  }
  return a;
}

std::string SoakStats::Report() const {
  std::ostringstream o;
  char sz[256];
  std::snprintf(sz, sizeof sz, "%d matches (%d unfinished), %d with fouls on; per 90 minutes:\n", cMatches, cUnfinished,
                cFoulsOn);
  o << sz;
  auto series = [&](const char* psz, const Series& s) {
    if (s.a.empty()) return;
    const auto lo = std::min_element(s.a.begin(), s.a.end(), [](const Sample& x, const Sample& y) { return x.d < y.d; });
    const auto hi = std::max_element(s.a.begin(), s.a.end(), [](const Sample& x, const Sample& y) { return x.d < y.d; });
    std::snprintf(sz, sizeof sz, "  %-22s mean %6.2f spread %6.2f  least %6.2f (seed %u)  most %6.2f (seed %u)\n", psz,
                  s.Mean(), s.Spread(), lo->d, lo->uSeed, hi->d, hi->uSeed);
    o << sz;
  };
  series("goals a match", oGoals);
  series("shots a team", oShots);
  series("on target a team", oOnTarget);
  series("corners a team", oCorners);
  series("fouls a team", oFouls);
  series("penalties a match", oPenalties);
  series("cards a match", oCards);
  series("red cards a match", oReds);
  series("reds, Harsh referee", oRedsHarsh);
  series("home possession %", oPossession);
  std::snprintf(sz, sizeof sz, "  %lld shots, %lld on target, %lld goals\n", static_cast<long long>(cShotsAll),
                static_cast<long long>(cOnTargetAll), static_cast<long long>(cGoalsAll));
  o << sz;
  // By length: a short match holds few events, so its share of goalless
  // matches says how often a match of that length ends 0-0, not a 90.
  for (std::int32_t iLength = 1; iLength <= 90; iLength++) {
    std::int32_t n = 0, cGoalless = 0;
    for (const Sample& x : oGoals.a)
      if (x.iLength == iLength) n++, cGoalless += x.d == 0 ? 1 : 0;
    if (n == 0) continue;
    std::snprintf(sz, sizeof sz, "  length %2d: %4d matches, goals %5.2f, shots a team %5.2f, goalless %5.1f%%\n", iLength,
                  n, oGoals.MeanAt(iLength), oShots.MeanAt(iLength), 100.0 * cGoalless / n);
    o << sz;
  }
  std::snprintf(sz, sizeof sz, "  %d shoot-outs: %d kicks, %d scored, %d in five rows, %d past eight, longest %d rows (seed %u)\n",
                cShootouts, cShootoutKicks, cShootoutGoals, cShootoutsInFive, cShootoutsPastEight, cLongestShootout,
                uLongestShootoutSeed);
  o << sz;
  for (const Band& b : Bands()) {
    std::snprintf(sz, sizeof sz, "  band %-40s %7.3f in %.2f..%.2f: %s\n", b.oName.c_str(), b.dValue, b.dLo, b.dHi,
                  b.In() ? (b.bKnown ? "in (marked known-failing: take the mark off)" : "in")
                         : (b.bKnown ? "OUT (known)" : "OUT"));
    o << sz;
  }
  return o.str();
}

std::string SoakStats::Failures() const {
  std::ostringstream o;
  if (cUnfinished) o << cUnfinished << " unfinished (first: " << oFirstFault << "); ";
  for (const Band& b : Bands())
    if (!b.In() && !b.bKnown) o << b.oName << " " << b.dValue << " (band " << b.dLo << ".." << b.dHi << "); ";
  return o.str();
}

}  // namespace match_harness
