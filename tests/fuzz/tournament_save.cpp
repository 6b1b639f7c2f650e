// Tournament save streams: checked whole before anything changes; a stream
// that is read saves again to a stream that reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/team.h"
#include "fuzz_support.h"
#include "save_teams.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/tmsave.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

const std::string& Text(std::uint32_t uKey) { return korvena_fuzz::YearText78(uKey); }

void Fresh() {
  tmmain_PoolsReset();
  tmglobal_Reset();
  history_PatternsReset();
  result_RandSeed(1);
  tmglobal_YearSet(78);
  tmsave_YearTextSourceSet(korvena_fuzz::YearText78Source);
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  Fresh();
  for (std::uint32_t uKey : {11u, 12u}) {
    const std::string& s = Text(uKey);
    history_YearTextParse(s.data(), static_cast<std::int32_t>(s.size()));
  }
  for (Year* y = TheYearList; y; y = y->pNext) history_YearFixturesBuild(y);
  // The human team: the first team of the first round; the finals loaded,
  // as the tree holds them.
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = TheYearList->pConfs->pGroups->pRounds->pTeams->Name;
  tmglobal.bFinalsLoaded = tmglobal.bQualifiersExtracted = 1;
  global.iDay = 31;
  global.iMonth = 12;
  global.iYear = 99;
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE);
  std::int32_t n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  korvena_fuzz::WriteSeed(dir, "fresh.sav", v.data(), static_cast<std::size_t>(n));
  if (!tmsave_Read(v.data(), n)) korvena_fuzz::Fail("our own fresh stream is refused");
  // Streams whose current human team is past their one human team (once
  // loaded into a hub without a fixture), and one of two human teams.
  const auto seedWith = [&](const char* pszName, std::vector<std::pair<std::int32_t, std::uint32_t>> words) {
    std::vector<std::uint8_t> w(v.begin(), v.begin() + n);
    for (const auto& [at, value] : words)
      for (int i = 0; i < 4; i++) w[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    korvena_fuzz::WriteSeed(dir, pszName, w.data(), w.size());
  };
  constexpr std::int32_t kSecondHuman =
      4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS + 4 * 19;
  seedWith("current1.sav", {{4 + 48, 1u}});
  seedWith("current3.sav", {{4 + 48, 3u}});
  const std::uint32_t Second = TheYearList->pConfs->pGroups->pRounds->pTeams->pNext->Name;
  seedWith("two-humans-current1.sav", {{4 + 48, 1u}, {4 + 116, 2u}, {kSecondHuman, Second}});
  seedWith("two-humans-current2.sav", {{4 + 48, 2u}, {4 + 116, 2u}, {kSecondHuman, Second}});
  history_DaySimulate(TheYearList);
  history_YearCompleteCheck(TheYearList);
  n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  korvena_fuzz::WriteSeed(dir, "played.sav", v.data(), static_cast<std::size_t>(n));
  if (!tmsave_Read(v.data(), n)) korvena_fuzz::Fail("our own stream is refused");
  // Squads in both slots, handed to the match sides and set up: the team
  // state with lists, formation slots and a scorer.
  std::vector<DBPlayer> a(18);
  for (std::size_t i = 0; i < a.size(); i++) {
    std::snprintf(a[i].szName, sizeof(a[i].szName), "Player %d", static_cast<int>(i));
    a[i].auPosition[0] = i == 0 ? 0u : static_cast<std::uint32_t>(1 + i % 9);
    a[i].uFlags = i < 11 ? DBPLAYER_FLAG_STARTER : i < 16 ? DBPLAYER_FLAG_BENCH : DBPLAYER_FLAG_RESERVE;
  }
  squadcache_SlotSet("Home", 1, a.data(), 18, 5, 0);
  squadcache_SlotSet("Away", 2, a.data(), 16, 5, 1);
  match_SquadBuffersPoint();
  match_HomeSquadSet(squadcache_SlotGet(0));
  match_AwaySquadSet(squadcache_SlotGet(1));
  team_SetUp(0, match_HomeTeamGet());
  team_SetUp(3, match_AwayTeamGet());
  team_FormationSave(match_HomeTeamGet());
  match.HomeGoals = 1;
  match.HomeTeam.MatchStats.GoalCount = 1;
  match.HomeTeam.MatchStats.GoalScorer[0] = match.HomeTeam.poPitchList;
  n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  korvena_fuzz::WriteSeed(dir, "squads.sav", v.data(), static_cast<std::size_t>(n));
  if (n <= 0 || !tmsave_Read(v.data(), n)) korvena_fuzz::Fail("our own stream with squads is refused");
  // Saves whose ids are past the name table: the first new qualifier, a roll
  // of honour's winner, the human team (each once loaded, and the news or the
  // hub stopped the game).
  for (const auto& [name, at, id] : {std::tuple{"newqual205.sav", 4 + 352, 205u}, std::tuple{"roll300.sav", 4 + 156, 300u},
                                     std::tuple{"human500.sav", 4 + 108, 500u},
                                     std::tuple{"human0.sav", 4 + 108, 0u}, std::tuple{"human204.sav", 4 + 108, 204u}}) {
    std::vector<std::uint8_t> bad(v.begin(), v.begin() + n);
    for (int i = 0; i < 4; i++) bad[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(id >> (8 * i));
    korvena_fuzz::WriteSeed(dir, name, bad.data(), bad.size());
  }
  // The qualifiers alone, being played: with the Play Qualifiers setting on,
  // and with it off (once loaded into a hub without a fixture).
  Fresh();
  const std::string& q = Text(11);
  history_YearTextParse(q.data(), static_cast<std::int32_t>(q.size()));
  history_YearFixturesBuild(TheYearList);
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = TheYearList->pConfs->pGroups->pRounds->pTeams->Name;
  tmglobal.bPlayQualifiers = 1;
  n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  korvena_fuzz::WriteSeed(dir, "qualifying.sav", v.data(), static_cast<std::size_t>(n));
  if (n <= 0 || !tmsave_Read(v.data(), n)) korvena_fuzz::Fail("our own stream of the qualifiers is refused");
  v[4 + 124] = 0;
  korvena_fuzz::WriteSeed(dir, "qualifying-setting-off.sav", v.data(), static_cast<std::size_t>(n));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Fresh();
  if (size > static_cast<size_t>(TMSAVE_BLOCK_SIZE)) return 0;
  std::vector<std::uint8_t> in(data, data + size);
  if (!tmsave_Read(in.data(), static_cast<std::int32_t>(in.size()))) {
    if (TheYearList != nullptr) korvena_fuzz::Fail("a refused stream changed the tournament");
    if (tmsave_RefusalGet()[0] == 0) korvena_fuzz::Fail("a refused stream gave no reason");
    return 0;
  }
  korvena_fuzz::LoadedTeamsShownCheck();
  korvena_fuzz::HumansInTreeCheck();
  korvena_fuzz::CurrentHumanAndYearCheck();
  std::vector<std::uint8_t> a(TMSAVE_BLOCK_SIZE), b(TMSAVE_BLOCK_SIZE);
  const std::int32_t na = tmsave_Write(a.data(), static_cast<std::int32_t>(a.size()));
  if (na <= 0 || !tmsave_Read(a.data(), na)) korvena_fuzz::Fail("a written stream does not read back");
  const std::int32_t nb = tmsave_Write(b.data(), static_cast<std::int32_t>(b.size()));
  if (na != nb || std::memcmp(a.data(), b.data(), static_cast<std::size_t>(na)) != 0)
    korvena_fuzz::Fail("save, load and save differ");
  return 0;
}
