// Soak configurations and totals.
#include "support/match_soak.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "frontend/mquick.h"
#include "frontend/frontend_services.h"
#include "shell/global.h"
#include "support/match_watch.h"
#include "support/temp_dir.h"

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

void SoakTotals::Add(const Config& c, const Result& r) { Add(RecordOf(c, r)); }

void SoakTotals::Add(const MatchRecord& o) {
  cMatches++;
  if (!o.bFinished) {
    cUnfinished++;
    if (oFirstFault.empty()) oFirstFault = o.sDescribe;
  }
  // Not the shoot-out's.
  cGoals += o.aiFinal[0] + o.aiFinal[1] - o.aiShootoutGoals[0] - o.aiShootoutGoals[1];
  cShots += o.cShotsAll;
  cSaves += o.cSavesAll;
  cCards += o.cCardsAll;
  cThrowIns += o.cThrowIns;
  cCorners += o.cCornerKicks;
  cGoalKicks += o.cGoalKicks;
  cFreeKicks += o.cFreeKicks;
  cPenalties += o.cPenalties;
  cShootouts += o.cShootouts;
  cStill += o.cStill;
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

// ---- The statistics soak at full time ---------------------------------------------------------

std::int32_t MatchRecord::ShotGoals() const {
  return Goals() - aiPenaltyGoals[0] - aiPenaltyGoals[1] - aiOwnGoals[0] - aiOwnGoals[1];
}

MatchRecord RecordOf(const Config& c, const Result& r, const std::string& sFault) {
  MatchRecord o;
  o.iKind = c.aeSide[0] != SideKind::Computer || c.aeSide[1] != SideKind::Computer ? 1 : 0;
  o.uSeed = c.uSeed;
  o.iLength = c.iLength;
  o.iExtraTime = c.iExtraTime;
  o.bPenalties = c.bPenalties;
  o.bFouls = c.bFouls;
  o.iReferee = c.iReferee;
  o.bTournament = c.bTournament;
  o.bFinished = r.bFinished ? 1 : 0;
  const Result::FullTime& f = r.oFullTime;
  o.bFullTime = f.bReached ? 1 : 0;
  // Origins are kept for both sides together.
  auto origins = [](std::int32_t* piTo, const std::int32_t* piFrom) {
    for (std::int32_t i = 0; i < kShotOrigins; i++) piTo[i] += piFrom[i];
  };
  for (std::int32_t k = 0; k < 2; k++) {
    o.aiGoals[k] = f.aiGoals[k];
    o.aiPenaltyGoals[k] = f.aiPenaltyGoals[k];
    o.aiOwnGoals[k] = f.aiOwnGoals[k];
    o.aiShots[k] = f.aiShots[k];
    o.aiOnTarget[k] = f.aiOnTarget[k];
    o.aiCorners[k] = f.aiCorners[k];
    o.aiCornersOffKeeper[k] = f.aiCornersOffKeeper[k];
    o.aiFouled[k] = f.aiFouled[k];
    o.aiBooked[k] = f.aiBooked[k];
    o.aiSentOff[k] = f.aiSentOff[k];
    o.aiPossession[k] = f.aiPossession[k];
    origins(o.aiShotOrigin, f.aaiShotOrigin[k]);
    o.aiShotKicks[k] = f.aiShotKicks[k];
    origins(o.aiShotKickOrigin, f.aaiShotKickOrigin[k]);
    o.aiStruck[k] = f.aiStruck[k];
    o.aiStruckOnTarget[k] = f.aiStruckOnTarget[k];
    o.aiStruckScored[k] = f.aiStruckScored[k];
    o.aiKeeperSaves[k] = f.aiKeeperSaves[k];
    o.aiStruckHeaders[k] = f.aiStruckHeaders[k];
    origins(o.aiStruckOrigin, f.aaiStruckOrigin[k]);
    o.aiFinal[k] = r.aiScore[k];
    o.aiShootoutKicks[k] = r.aiShootoutKicks[k];
    o.aiShootoutGoals[k] = r.aiPenalties[k];
  }
  o.cPenaltyKicks = f.cPenaltyKicks;
  o.cChallenges = f.cChallenges;
  o.cChallengesInArea = f.cChallengesInArea;
  o.cChallengesInAreaFoulScore = f.cChallengesInAreaFoulScore;
  o.cFoulsInArea = f.cFoulsInArea;
  o.bExtraTime = r.bExtraTime ? 1 : 0;
  o.aiExtraGoals[0] = r.aiExtraGoals[0];
  o.aiExtraGoals[1] = r.aiExtraGoals[1];
  o.bReplayed = r.bReplayed ? 1 : 0;
  auto n = [&r](std::int32_t e) {
    auto it = r.mapEntries.find(e);
    return it == r.mapEntries.end() ? 0 : it->second;
  };
  o.cThrowIns = n(GAME_MODE_THROW_IN);
  o.cCornerKicks = n(GAME_MODE_CORNER);
  o.cGoalKicks = n(GAME_MODE_GOAL_KICK);
  o.cFreeKicks = n(GAME_MODE_FREE_KICK);
  o.cPenalties = n(GAME_MODE_PENALTY);
  o.cShootouts = n(GAME_MODE_SHOOTOUT) > 0 ? 1 : 0;
  o.cShotsAll = r.cShots;
  o.cSavesAll = r.cSaves;
  o.cCardsAll = r.cCards;
  for (std::int32_t d : r.aiDistance) o.cStill += d == 0 ? 1 : 0;
  o.sFault = sFault;
  o.sDescribe = r.Describe(c);
  return o;
}

namespace {

// The record's numbers in their CSV order, by name (the seed comes first,
// the watch's finding and the description last, quoted).
struct Column {
  const char* psz;
  std::int32_t& (*pfn)(MatchRecord&);
};
#define KORVENA_COLUMN(name, member) \
  Column { name, [](MatchRecord& o) -> std::int32_t& { return o.member; } }
const Column kColumns[] = {
    KORVENA_COLUMN("kind", iKind),
    KORVENA_COLUMN("length", iLength),
    KORVENA_COLUMN("extra_time_rule", iExtraTime),
    KORVENA_COLUMN("penalties_rule", bPenalties),
    KORVENA_COLUMN("fouls_rule", bFouls),
    KORVENA_COLUMN("referee", iReferee),
    KORVENA_COLUMN("tournament", bTournament),
    KORVENA_COLUMN("finished", bFinished),
    KORVENA_COLUMN("full_time", bFullTime),
    KORVENA_COLUMN("home_goals", aiGoals[0]),
    KORVENA_COLUMN("away_goals", aiGoals[1]),
    KORVENA_COLUMN("home_penalty_goals", aiPenaltyGoals[0]),
    KORVENA_COLUMN("away_penalty_goals", aiPenaltyGoals[1]),
    KORVENA_COLUMN("home_own_goals_for", aiOwnGoals[0]),
    KORVENA_COLUMN("away_own_goals_for", aiOwnGoals[1]),
    KORVENA_COLUMN("home_shots", aiShots[0]),
    KORVENA_COLUMN("away_shots", aiShots[1]),
    KORVENA_COLUMN("home_on_target", aiOnTarget[0]),
    KORVENA_COLUMN("away_on_target", aiOnTarget[1]),
    KORVENA_COLUMN("home_corners", aiCorners[0]),
    KORVENA_COLUMN("away_corners", aiCorners[1]),
    KORVENA_COLUMN("home_corners_off_keeper", aiCornersOffKeeper[0]),
    KORVENA_COLUMN("away_corners_off_keeper", aiCornersOffKeeper[1]),
    KORVENA_COLUMN("home_fouled", aiFouled[0]),
    KORVENA_COLUMN("away_fouled", aiFouled[1]),
    KORVENA_COLUMN("home_booked", aiBooked[0]),
    KORVENA_COLUMN("away_booked", aiBooked[1]),
    KORVENA_COLUMN("home_sent_off", aiSentOff[0]),
    KORVENA_COLUMN("away_sent_off", aiSentOff[1]),
    KORVENA_COLUMN("home_possession", aiPossession[0]),
    KORVENA_COLUMN("away_possession", aiPossession[1]),
    KORVENA_COLUMN("penalty_kicks", cPenaltyKicks),
    KORVENA_COLUMN("shots_in_area", aiShotOrigin[kShotInArea]),
    KORVENA_COLUMN("shots_within_25_yards", aiShotOrigin[kShotWithin25]),
    KORVENA_COLUMN("shots_beyond_25_yards", aiShotOrigin[kShotBeyond25]),
    KORVENA_COLUMN("home_shot_kicks", aiShotKicks[0]),
    KORVENA_COLUMN("away_shot_kicks", aiShotKicks[1]),
    KORVENA_COLUMN("shot_kicks_in_area", aiShotKickOrigin[kShotInArea]),
    KORVENA_COLUMN("shot_kicks_within_25_yards", aiShotKickOrigin[kShotWithin25]),
    KORVENA_COLUMN("shot_kicks_beyond_25_yards", aiShotKickOrigin[kShotBeyond25]),
    KORVENA_COLUMN("home_struck", aiStruck[0]),
    KORVENA_COLUMN("away_struck", aiStruck[1]),
    KORVENA_COLUMN("home_struck_on_target", aiStruckOnTarget[0]),
    KORVENA_COLUMN("away_struck_on_target", aiStruckOnTarget[1]),
    KORVENA_COLUMN("home_struck_scored", aiStruckScored[0]),
    KORVENA_COLUMN("away_struck_scored", aiStruckScored[1]),
    KORVENA_COLUMN("home_keeper_saves_against", aiKeeperSaves[0]),
    KORVENA_COLUMN("away_keeper_saves_against", aiKeeperSaves[1]),
    KORVENA_COLUMN("home_struck_headers", aiStruckHeaders[0]),
    KORVENA_COLUMN("away_struck_headers", aiStruckHeaders[1]),
    KORVENA_COLUMN("struck_in_area", aiStruckOrigin[kShotInArea]),
    KORVENA_COLUMN("struck_within_25_yards", aiStruckOrigin[kShotWithin25]),
    KORVENA_COLUMN("struck_beyond_25_yards", aiStruckOrigin[kShotBeyond25]),
    KORVENA_COLUMN("challenges", cChallenges),
    KORVENA_COLUMN("challenges_in_area", cChallengesInArea),
    KORVENA_COLUMN("challenges_in_area_foul_score", cChallengesInAreaFoulScore),
    KORVENA_COLUMN("fouls_in_area", cFoulsInArea),
    KORVENA_COLUMN("extra_time", bExtraTime),
    KORVENA_COLUMN("home_extra_time_goals", aiExtraGoals[0]),
    KORVENA_COLUMN("away_extra_time_goals", aiExtraGoals[1]),
    KORVENA_COLUMN("replayed", bReplayed),
    KORVENA_COLUMN("home_final", aiFinal[0]),
    KORVENA_COLUMN("away_final", aiFinal[1]),
    KORVENA_COLUMN("home_shootout_kicks", aiShootoutKicks[0]),
    KORVENA_COLUMN("away_shootout_kicks", aiShootoutKicks[1]),
    KORVENA_COLUMN("home_shootout_goals", aiShootoutGoals[0]),
    KORVENA_COLUMN("away_shootout_goals", aiShootoutGoals[1]),
    KORVENA_COLUMN("throw_ins", cThrowIns),
    KORVENA_COLUMN("corner_kicks", cCornerKicks),
    KORVENA_COLUMN("goal_kicks", cGoalKicks),
    KORVENA_COLUMN("free_kicks", cFreeKicks),
    KORVENA_COLUMN("penalties", cPenalties),
    KORVENA_COLUMN("shootouts", cShootouts),
    KORVENA_COLUMN("shots_all", cShotsAll),
    KORVENA_COLUMN("saves_all", cSavesAll),
    KORVENA_COLUMN("cards_all", cCardsAll),
    KORVENA_COLUMN("still_players", cStill),
};
#undef KORVENA_COLUMN

std::string Quoted(const std::string& s) {
  std::string o = "\"";
  for (char ch : s) {
    if (ch == '"') o += '"';
    if (ch == '\n') {
      o += ' ';
      continue;
    }
    o += ch;
  }
  return o + "\"";
}

// A quoted field from position *pi (past its closing quote and the comma
// after it); false when there is none.
bool QuotedRead(const std::string& s, std::size_t* pi, std::string* pOut) {
  std::size_t i = *pi;
  if (i >= s.size() || s[i] != '"') return false;
  pOut->clear();
  for (i++; i < s.size(); i++) {
    if (s[i] == '"') {
      if (i + 1 < s.size() && s[i + 1] == '"') {
        *pOut += '"';
        i++;
        continue;
      }
      *pi = i + 1 < s.size() && s[i + 1] == ',' ? i + 2 : i + 1;
      return true;
    }
    *pOut += s[i];
  }
  return false;
}

}  // namespace

std::string CsvHeader() {
  std::string o = "seed";
  for (const Column& k : kColumns) o += std::string(",") + k.psz;
  return o + ",fault,description";
}

std::string CsvLine(const MatchRecord& oRecord) {
  MatchRecord o = oRecord;
  std::string s = std::to_string(o.uSeed);
  for (const Column& k : kColumns) s += "," + std::to_string(k.pfn(o));
  return s + "," + Quoted(o.sFault) + "," + Quoted(o.sDescribe);
}

bool CsvRead(const std::string& sLine, MatchRecord* po) {
  MatchRecord o;
  std::size_t i = 0;
  auto number = [&](long long* pl) {
    const std::size_t j = sLine.find(',', i);
    if (j == std::string::npos || j == i) return false;
    char* pszEnd = nullptr;
    const std::string w = sLine.substr(i, j - i);
    *pl = std::strtoll(w.c_str(), &pszEnd, 10);
    if (*pszEnd != 0) return false;
    i = j + 1;
    return true;
  };
  long long l = 0;
  if (!number(&l) || l < 0) return false;
  o.uSeed = static_cast<std::uint32_t>(l);
  for (const Column& k : kColumns) {
    if (!number(&l)) return false;
    k.pfn(o) = static_cast<std::int32_t>(l);
  }
  if (!QuotedRead(sLine, &i, &o.sFault) || !QuotedRead(sLine, &i, &o.sDescribe) || i != sLine.size()) return false;
  *po = o;
  return true;
}

namespace {

MatchRecord PlayOne(const Config& c) {
  MatchWatch w(c);
  const Result r = RunWatched(c, &w);
  return RecordOf(c, r, w.Faults(r));
}

}  // namespace

std::vector<MatchRecord> PlayRecords(const std::vector<Config>& aoConfigs, std::int32_t cJobs, std::string* pWhy) {
  std::vector<MatchRecord> a;
  const std::int32_t n = static_cast<std::int32_t>(aoConfigs.size());
  if (cJobs > n) cJobs = n;
  if (cJobs <= 1) {
    for (const Config& c : aoConfigs) a.push_back(PlayOne(c));
    return a;
  }
  const korvena_test::TempDir oDir;
  if (oDir.path().empty()) {
    if (pWhy) *pWhy = "no temporary folder";
    return {};
  }
  // Worker j plays the configs [aiFirst[j], aiFirst[j + 1]).
  std::vector<std::int32_t> aiFirst;
  for (std::int32_t j = 0; j <= cJobs; j++) aiFirst.push_back(static_cast<std::int32_t>(static_cast<std::int64_t>(n) * j / cJobs));
  auto fileOf = [&oDir](std::int32_t j) { return oDir / ("worker-" + std::to_string(j) + ".csv"); };
  std::vector<pid_t> aiPid;
  std::fflush(stdout);
  std::fflush(stderr);
  for (std::int32_t j = 0; j < cJobs; j++) {
    const pid_t pid = fork();
    if (pid < 0) {
      if (pWhy) *pWhy = "no worker process";
      for (pid_t p : aiPid) waitpid(p, nullptr, 0);
      return {};
    }
    if (pid == 0) {
      // The worker: a folder of its own, a line a match, flushed as it ends.
      std::string why;
      if (!FolderOwn(&why)) _exit(3);
      std::FILE* pf = std::fopen(fileOf(j).c_str(), "w");
      if (!pf) _exit(4);
      for (std::int32_t i = aiFirst[j]; i < aiFirst[j + 1]; i++) {
        std::fprintf(pf, "%s\n", CsvLine(PlayOne(aoConfigs[i])).c_str());
        std::fflush(pf);
      }
      std::fclose(pf);
      FolderRemove();
      _exit(0);
    }
    aiPid.push_back(pid);
  }
  std::vector<int> aiStatus(aiPid.size());
  for (std::size_t j = 0; j < aiPid.size(); j++) waitpid(aiPid[j], &aiStatus[j], 0);
  std::ostringstream oWhy;
  for (std::int32_t j = 0; j < cJobs; j++) {
    std::ifstream in(fileOf(j));
    std::string line;
    std::int32_t i = aiFirst[j];
    while (i < aiFirst[j + 1] && std::getline(in, line)) {
      MatchRecord o;
      if (!CsvRead(line, &o) || o.uSeed != aoConfigs[i].uSeed) break;
      a.push_back(o);
      i++;
    }
    const int st = aiStatus[j];
    if (i < aiFirst[j + 1] || !WIFEXITED(st) || WEXITSTATUS(st) != 0) {
      oWhy << "worker " << j << " ("
           << (WIFSIGNALED(st) ? "signal " + std::to_string(WTERMSIG(st))
                               : "exit " + std::to_string(WIFEXITED(st) ? WEXITSTATUS(st) : -1))
           << ") stopped at seed " << (i < aiFirst[j + 1] ? aoConfigs[i].uSeed : aoConfigs[i - 1].uSeed) << "; ";
    }
  }
  if (!oWhy.str().empty()) {
    if (pWhy) *pWhy = oWhy.str();
    return {};
  }
  return a;
}

Estimate MeanOf(const std::vector<double>& a) {
  Estimate e;
  e.n = static_cast<std::int32_t>(a.size());
  if (a.empty()) return e;
  double d = 0;
  for (double x : a) d += x;
  e.dMean = d / e.n;
  if (e.n < 2) return e;
  double v = 0;
  for (double x : a) v += (x - e.dMean) * (x - e.dMean);
  e.dError = std::sqrt(v / (e.n - 1) / e.n);
  return e;
}

Estimate RatioOf(const std::vector<double>& aNum, const std::vector<double>& aDen) {
  Estimate e;
  e.n = static_cast<std::int32_t>(std::min(aNum.size(), aDen.size()));
  double y = 0, x = 0;
  for (std::int32_t i = 0; i < e.n; i++) y += aNum[i], x += aDen[i];
  if (x == 0) return e;
  e.dMean = y / x;
  if (e.n < 2) return e;
  double v = 0;
  for (std::int32_t i = 0; i < e.n; i++) {
    const double d = aNum[i] - e.dMean * aDen[i];
    v += d * d;
  }
  e.dError = std::sqrt(v / (static_cast<double>(e.n) * (e.n - 1))) / (x / e.n);
  return e;
}

std::string Figure::BandText() const {
  if (!bBand) return "";
  char sz[64];
  if (std::isinf(dHi)) std::snprintf(sz, sizeof sz, "%s %.3g", bAboveLo ? ">" : ">=", dLo);
  else if (dLo <= 0 && !bAboveLo) std::snprintf(sz, sizeof sz, "<= %.3g", dHi);
  else std::snprintf(sz, sizeof sz, "%.3g-%.3g", dLo, dHi);
  return sz;
}

namespace {

bool Counted(const MatchRecord& o) { return o.iKind == 0 && o.bFinished && o.bFullTime; }

}  // namespace

std::vector<Figure> FullTimeFigures(const std::vector<MatchRecord>& aAll, std::int32_t iLength) {
  std::vector<const MatchRecord*> a, aFouls;
  for (const MatchRecord& o : aAll)
    if (Counted(o) && (iLength == 0 || o.iLength == iLength)) {
      a.push_back(&o);
      if (o.bFouls) aFouls.push_back(&o);
    }
  std::vector<Figure> af;
  af.reserve(32);  // the figures below are banded through pointers to them as they come
  const double kInf = std::numeric_limits<double>::infinity();
  // A figure of each match (or of the fouls-on matches); bPer90 counts each
  // match per 90 minutes of play: a match of L minutes plays the clock's
  // ninety in L, so its count stands for 90 / L times as much.
  auto figure = [&](const char* psz, const std::vector<const MatchRecord*>& ao, double (*pfn)(const MatchRecord&),
                    bool bPer90) {
    std::vector<double> ad;
    for (const MatchRecord* p : ao) ad.push_back(pfn(*p) * (bPer90 ? 90.0 / std::max<std::int32_t>(1, p->iLength) : 1.0));
    af.push_back(Figure{psz, MeanOf(ad)});
    return &af.back();
  };
  auto mean = [&](const char* psz, const std::vector<const MatchRecord*>& ao, double (*pfn)(const MatchRecord&)) {
    return figure(psz, ao, pfn, false);
  };
  auto per90 = [&](const char* psz, const std::vector<const MatchRecord*>& ao, double (*pfn)(const MatchRecord&)) {
    return figure(psz, ao, pfn, true);
  };
  // A share of sums.
  auto ratio = [&](const char* psz, double (*pfnNum)(const MatchRecord&), double (*pfnDen)(const MatchRecord&)) {
    std::vector<double> aNum, aDen;
    for (const MatchRecord* p : a) aNum.push_back(pfnNum(*p)), aDen.push_back(pfnDen(*p));
    af.push_back(Figure{psz, RatioOf(aNum, aDen)});
    return &af.back();
  };
  auto band = [](Figure* pf, double lo, double hi) {
    pf->bBand = true;
    pf->dLo = lo;
    pf->dHi = hi;
  };
  band(per90("goals a match", a, [](const MatchRecord& o) -> double { return o.Goals(); }), iLength == 10 ? 2.3 : 2.0,
       iLength == 10 ? 3.2 : 3.6);
  mean("goals on the scoreboard at full time", a, [](const MatchRecord& o) -> double { return o.Goals(); });
  mean("goalless share", a, [](const MatchRecord& o) -> double { return o.Goals() == 0; });
  // Shots as football counts them: every strike at goal (struck shots),
  // on target when it went in or the keeper stopped it bound for the goal;
  // the keepers' saves are of those.
  band(per90("struck shots a team", a, [](const MatchRecord& o) { return (o.aiStruck[0] + o.aiStruck[1]) / 2.0; }), 10,
       16);
  per90("struck shots on target a team",
        a, [](const MatchRecord& o) { return (o.aiStruckOnTarget[0] + o.aiStruckOnTarget[1]) / 2.0; });
  band(ratio("share of struck shots on target",
             [](const MatchRecord& o) -> double { return o.aiStruckOnTarget[0] + o.aiStruckOnTarget[1]; },
             [](const MatchRecord& o) -> double { return o.aiStruck[0] + o.aiStruck[1]; }),
       0.35, 0.50);
  band(ratio("keepers' saves of struck shots on target",
             [](const MatchRecord& o) -> double { return o.aiKeeperSaves[0] + o.aiKeeperSaves[1]; },
             [](const MatchRecord& o) -> double { return o.aiStruckOnTarget[0] + o.aiStruckOnTarget[1]; }),
       0.65, 0.80);
  ratio("struck shots from inside the area", [](const MatchRecord& o) -> double { return o.aiStruckOrigin[kShotInArea]; },
        [](const MatchRecord& o) -> double { return o.aiStruck[0] + o.aiStruck[1]; });
  ratio("struck shots from outside, within 25 yds",
        [](const MatchRecord& o) -> double { return o.aiStruckOrigin[kShotWithin25]; },
        [](const MatchRecord& o) -> double { return o.aiStruck[0] + o.aiStruck[1]; });
  ratio("struck shots from beyond 25 yards", [](const MatchRecord& o) -> double { return o.aiStruckOrigin[kShotBeyond25]; },
        [](const MatchRecord& o) -> double { return o.aiStruck[0] + o.aiStruck[1]; });
  Figure* pMore = per90("struck inside area less beyond 25, a team", a, [](const MatchRecord& o) {
    return (o.aiStruckOrigin[kShotInArea] - o.aiStruckOrigin[kShotBeyond25]) / 2.0;
  });
  band(pMore, 0, kInf);
  pMore->bAboveLo = true;
  ratio("share of struck shots headed",
        [](const MatchRecord& o) -> double { return o.aiStruckHeaders[0] + o.aiStruckHeaders[1]; },
        [](const MatchRecord& o) -> double { return o.aiStruck[0] + o.aiStruck[1]; });
  ratio("share of goals from struck shots",
        [](const MatchRecord& o) -> double { return o.aiStruckScored[0] + o.aiStruckScored[1]; },
        [](const MatchRecord& o) -> double { return o.Goals(); });
  // The match statistics' own count: every flight of a side bound for the
  // goal it attacks or passing close by (crosses and passes among them),
  // on target when bound for the goal; saves are those less the goals from
  // shots.
  per90("statistics' shots a team", a, [](const MatchRecord& o) { return (o.aiShots[0] + o.aiShots[1]) / 2.0; });
  ratio("statistics' share on target", [](const MatchRecord& o) -> double { return o.aiOnTarget[0] + o.aiOnTarget[1]; },
        [](const MatchRecord& o) -> double { return o.aiShots[0] + o.aiShots[1]; });
  ratio("statistics' on target not scored",
        [](const MatchRecord& o) -> double { return o.aiOnTarget[0] + o.aiOnTarget[1] - o.ShotGoals(); },
        [](const MatchRecord& o) -> double { return o.aiOnTarget[0] + o.aiOnTarget[1]; });
  ratio("statistics' shots from inside the area", [](const MatchRecord& o) -> double { return o.aiShotOrigin[kShotInArea]; },
        [](const MatchRecord& o) -> double { return o.aiShots[0] + o.aiShots[1]; });
  ratio("statistics' shots from beyond 25 yards",
        [](const MatchRecord& o) -> double { return o.aiShotOrigin[kShotBeyond25]; },
        [](const MatchRecord& o) -> double { return o.aiShots[0] + o.aiShots[1]; });
  // Every shot kick, the ones the statistics leave out (wide, blocked) too.
  per90("shot kicks a team", a, [](const MatchRecord& o) { return (o.aiShotKicks[0] + o.aiShotKicks[1]) / 2.0; });
  ratio("shot kicks from inside the area", [](const MatchRecord& o) -> double { return o.aiShotKickOrigin[kShotInArea]; },
        [](const MatchRecord& o) -> double { return o.aiShotKicks[0] + o.aiShotKicks[1]; });
  ratio("shot kicks from beyond 25 yards", [](const MatchRecord& o) -> double { return o.aiShotKickOrigin[kShotBeyond25]; },
        [](const MatchRecord& o) -> double { return o.aiShotKicks[0] + o.aiShotKicks[1]; });
  // Corners and penalties are held by the rules: the game follows them and
  // they keep these two out of football's band (FullTimeReport's section).
  Figure* pCorners =
      per90("corners a team", a, [](const MatchRecord& o) { return (o.aiCorners[0] + o.aiCorners[1]) / 2.0; });
  band(pCorners, 4, 6);
  pCorners->sHeld =
      "the keeper parries about half his saves behind, while a defender's deflection, header and clearance go the "
      "way he faces, away from his goal: nearly all corners come off the keeper";
  per90("corners off the keeper a team", a,
        [](const MatchRecord& o) { return (o.aiCornersOffKeeper[0] + o.aiCornersOffKeeper[1]) / 2.0; });
  mean("home possession %", a, [](const MatchRecord& o) {
    const double d = o.aiPossession[0] + o.aiPossession[1];
    return d > 0 ? 100.0 * o.aiPossession[0] / d : 50.0;
  });
  band(mean("home possession in 35-65%", a,
            [](const MatchRecord& o) -> double {
              const double d = o.aiPossession[0] + o.aiPossession[1];
              const double p = d > 0 ? 100.0 * o.aiPossession[0] / d : 50.0;
              return p >= 35 && p <= 65;
            }),
       0.85, 1);
  per90("challenges a match", a, [](const MatchRecord& o) -> double { return o.cChallenges; });
  per90("challenges in the own area a match", a, [](const MatchRecord& o) -> double { return o.cChallengesInArea; });
  per90("of them on the holder, scored a foul", a,
        [](const MatchRecord& o) -> double { return o.cChallengesInAreaFoulScore; });
  // Fouls, cards and penalties: the matches with fouls on.
  per90("fouls a team (fouls on)", aFouls, [](const MatchRecord& o) { return (o.aiFouled[0] + o.aiFouled[1]) / 2.0; });
  per90("fouls in a penalty area a match (fouls on)", aFouls, [](const MatchRecord& o) -> double { return o.cFoulsInArea; });
  Figure* pPenalties =
      per90("penalties a match (fouls on)", aFouls, [](const MatchRecord& o) -> double { return o.cPenaltyKicks; });
  band(pPenalties, 1.0 / 15, kInf);
  pPenalties->sHeld =
      "a challenge is a foul only from behind, a defender in his own area meets the attacker face on, and a "
      "keeper's challenge is never a foul";
  band(per90("cards a match (fouls on)", aFouls,
            [](const MatchRecord& o) -> double { return o.aiBooked[0] + o.aiBooked[1] + o.aiSentOff[0] + o.aiSentOff[1]; }),
       2, 5);
  band(per90("red cards a match (fouls on)", aFouls, [](const MatchRecord& o) -> double { return o.aiSentOff[0] + o.aiSentOff[1]; }),
       0, 0.4);
  return af;
}

std::string FullTimeReport(const std::vector<MatchRecord>& aAll) {
  std::ostringstream o;
  char sz[256];
  std::vector<std::int32_t> aiLengths;
  for (std::int32_t iLength : kSoakLengths) {
    bool b = false;
    for (const MatchRecord& r : aAll) b = b || (Counted(r) && r.iLength == iLength);
    if (b) aiLengths.push_back(iLength);
  }
  aiLengths.push_back(0);
  std::vector<std::vector<Figure>> aaf;
  std::vector<std::int32_t> acMatches, acFouls;
  for (std::int32_t iLength : aiLengths) {
    aaf.push_back(FullTimeFigures(aAll, iLength));
    std::int32_t n = 0, m = 0;
    for (const MatchRecord& r : aAll)
      if (Counted(r) && (iLength == 0 || r.iLength == iLength)) n++, m += r.bFouls;
    acMatches.push_back(n);
    acFouls.push_back(m);
  }
  o << "Computer matches at full time (the end of normal time), mean +- standard error; counts per 90 minutes of play\n"
       "(a match of L minutes counted 90 / L times: the clock runs its ninety in L); ! marks a figure out of its band\n";
  std::snprintf(sz, sizeof sz, "%-44s", "");
  o << sz;
  for (std::int32_t iLength : aiLengths) {
    if (iLength) std::snprintf(sz, sizeof sz, "  %-15s", (std::to_string(iLength) + " minutes").c_str());
    else std::snprintf(sz, sizeof sz, "  %-15s", "all");
    o << sz;
  }
  o << "  band\n";
  std::snprintf(sz, sizeof sz, "%-44s", "matches (fouls on)");
  o << sz;
  for (std::size_t i = 0; i < aiLengths.size(); i++) {
    std::snprintf(sz, sizeof sz, "  %-15s", (std::to_string(acMatches[i]) + " (" + std::to_string(acFouls[i]) + ")").c_str());
    o << sz;
  }
  o << "\n";
  // The figure's row: its mean and error at each length, then its bands.
  auto row = [&](std::size_t k) {
    std::snprintf(sz, sizeof sz, "%-44s", aaf.back()[k].sName.c_str());
    o << sz;
    std::string sBands;
    for (std::size_t i = 0; i < aiLengths.size(); i++) {
      const Figure& f = aaf[i][k];
      // Shares, and the held figures (a penalty is rarer than a hundredth), to three places.
      const bool bShare = !f.sHeld.empty() || f.sName.find("share") != std::string::npos ||
                          f.sName.find(" from ") != std::string::npos ||
                          f.sName.find("saves") != std::string::npos || f.sName.find("35-65") != std::string::npos ||
                          f.sName.find("not scored") != std::string::npos;
      std::snprintf(sz, sizeof sz, bShare ? "  %6.3f +-%5.3f%s" : "  %6.2f +-%5.2f%s", f.e.dMean, f.e.dError, f.In() ? " " : "!");
      o << sz;
      const std::string b = f.BandText();
      if (!b.empty() && sBands.find(b) == std::string::npos) {
        if (!sBands.empty()) sBands += ", ";
        sBands += b + (aiLengths[i] == 10 && f.sName == "goals a match" ? " at 10" : "");
      }
    }
    o << "  " << sBands << "\n";
  };
  for (std::size_t k = 0; k < aaf.back().size(); k++)
    if (aaf.back()[k].sHeld.empty()) row(k);
  o << "Held by the rules: the game follows its rules and they keep these out of football's band; reported, they fail\n"
       "nothing (one back in its band at every length is said, to be banded again)\n";
  for (std::size_t k = 0; k < aaf.back().size(); k++) {
    if (aaf.back()[k].sHeld.empty()) continue;
    row(k);
    bool bIn = true;
    for (const std::vector<Figure>& af : aaf) bIn = bIn && af[k].In();
    o << "  why: " << aaf.back()[k].sHeld << (bIn ? " (in its band now: band it again)" : "") << "\n";
  }
  // After full time.
  std::int32_t cRules = 0, cExtra = 0, cExtraGoals = 0, cReplayed = 0, cShootouts = 0, cKicks = 0, cScored = 0, cInFive = 0,
               cPastEight = 0, cLongest = 0;
  std::uint32_t uLongest = 0;
  for (const MatchRecord& r : aAll) {
    if (!Counted(r)) continue;
    cRules += r.iExtraTime != 0 || r.bTournament;
    cExtra += r.bExtraTime;
    cExtraGoals += r.aiExtraGoals[0] + r.aiExtraGoals[1];
    cReplayed += r.bReplayed;
    const std::int32_t c = r.aiShootoutKicks[0] + r.aiShootoutKicks[1];
    if (c == 0) continue;
    cShootouts++;
    cKicks += c;
    cScored += r.aiShootoutGoals[0] + r.aiShootoutGoals[1];
    const std::int32_t cRows = std::max(r.aiShootoutKicks[0], r.aiShootoutKicks[1]);
    cInFive += cRows <= 5;
    cPastEight += cRows > 8;
    if (cRows > cLongest) cLongest = cRows, uLongest = r.uSeed;
  }
  std::snprintf(sz, sizeof sz,
                "Extra time: %d matches went to it (of %d under rules that may give it), %d goals in it (%.2f a match of "
                "extra time); %d ties played again after it (their second match is not counted above)\n",
                cExtra, cRules, cExtraGoals, cExtra ? static_cast<double>(cExtraGoals) / cExtra : 0.0, cReplayed);
  o << sz;
  std::snprintf(sz, sizeof sz, "Shoot-outs: %d, %d kicks, %d scored (%.0f%%), %d decided in five rows, %d past eight, longest %d rows (seed %u)\n",
                cShootouts, cKicks, cScored, cKicks ? 100.0 * cScored / cKicks : 0.0, cInFive, cPastEight, cLongest, uLongest);
  o << sz;
  return o.str();
}

std::string FullTimeFailures(const std::vector<MatchRecord>& aAll) {
  std::ostringstream o;
  std::int32_t cUnfinished = 0, cShort = 0;
  std::string sFirst;
  for (const MatchRecord& r : aAll) {
    if (r.iKind != 0) continue;
    if (!r.bFinished) cUnfinished++;
    else if (!r.bFullTime) cShort++;
    else continue;
    if (sFirst.empty()) sFirst = r.sDescribe;
  }
  if (cUnfinished + cShort) o << cUnfinished << " unfinished, " << cShort << " ended before full time (first: " << sFirst << "); ";
  char sz[160];
  std::vector<std::int32_t> aiLengths(std::begin(kSoakLengths), std::end(kSoakLengths));
  aiLengths.push_back(0);
  for (std::int32_t iLength : aiLengths) {
    bool b = false;
    for (const MatchRecord& r : aAll) b = b || (Counted(r) && (iLength == 0 || r.iLength == iLength));
    if (!b) continue;
    for (const Figure& f : FullTimeFigures(aAll, iLength)) {
      if (!f.Fails()) continue;
      std::snprintf(sz, sizeof sz, "%s %s %.3f +- %.3f (band %s); ", f.sName.c_str(),
                    iLength ? ("at " + std::to_string(iLength) + " minutes").c_str() : "over all", f.e.dMean, f.e.dError,
                    f.BandText().c_str());
      o << sz;
    }
  }
  return o.str();
}

}  // namespace match_harness
