// The squad loader on the largest block, one side's hand-over and set-up,
// and a whole run of the database generator. The database file's size is
// reported as a counter.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/team.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"

namespace {

namespace fs = std::filesystem;

struct Largest {
  std::int32_t iTeamId = 0, iKey = 0, iEdition = 0, iFormation = 0;
  std::uint32_t uSize = 0;
};

Largest FindLargest() {
  Largest l;
  for (std::int32_t k = 0; k < dbteams_cTeams; k++)
    for (std::int32_t e = 0; e < DB_EDITIONS; e++) {
      const DBTeamEditions& t = dbteams_aTeams[k];
      const std::uint32_t u = director_DumpBlockSizeGet(t.iNumber * DB_KEY_STEP, e);
      if (u > l.uSize) l = {t.iTeamId, t.iNumber * DB_KEY_STEP, e, t.aiFormation[e], u};
    }
  return l;
}

std::vector<std::uint8_t> g_ab(4 + 112 * TEAM_SQUADSIZE_MAX);

void BM_SquadLoadLargest(benchmark::State& state) {
  const Largest l = FindLargest();
  SquadTeamRef ref{l.iTeamId, l.iKey};
  for (auto _ : state) {
    Squad* s = squadcache_Load(&ref, l.iEdition, 0, g_ab.data(), static_cast<std::int32_t>(g_ab.size()));
    if (!s) state.SkipWithError("no database");
    benchmark::DoNotOptimize(s);
  }
  state.counters["block_bytes"] = l.uSize;
}
BENCHMARK(BM_SquadLoadLargest);

void BM_HandOverAndSetUp(benchmark::State& state) {
  const Largest l = FindLargest();
  SquadTeamRef ref{l.iTeamId, l.iKey};
  Squad* s = squadcache_Load(&ref, l.iEdition, 0, g_ab.data(), static_cast<std::int32_t>(g_ab.size()));
  if (!s) {
    state.SkipWithError("no database");
    return;
  }
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  match_SquadBuffersPoint();
  for (auto _ : state) {
    match_HomeSquadSet(s);
    match.HomeTeam.iFormation = -1;
    team_SetUp(l.iFormation, &match.HomeTeam);
    team_NumbersFromSlots(&match.HomeTeam);
    benchmark::DoNotOptimize(match.HomeTeam.poPitchList);
  }
}
BENCHMARK(BM_HandOverAndSetUp);

void BM_DatabaseGenerator(benchmark::State& state) {
  const char* pszSource = std::getenv("KORVENA_SOURCE_DIR");
  const fs::path exe = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path tools = exe.parent_path() / "tools";
  const std::string src = pszSource ? pszSource : (exe.parent_path().parent_path().parent_path()).string();
  const fs::path out = fs::temp_directory_path() / "korvena-bench-dbgen";
  const std::string cmd = (tools / "dbgen").string() + " --complete '" + src + "/assets' '" + (out / "dump.dat").string() +
                          "' '" + (out / "gen").string() + "' > /dev/null";
  for (auto _ : state) {
    fs::remove_all(out);
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("dbgen failed");
  }
  std::error_code ec;
  state.counters["dump_bytes"] = static_cast<double>(fs::file_size(out / "dump.dat", ec));
  fs::remove_all(out, ec);
}
BENCHMARK(BM_DatabaseGenerator)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
