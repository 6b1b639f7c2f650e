// The squad loader on the largest block, one side's hand-over and set-up,
// and a whole run of the database generator. The database file's size is
// reported as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>

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
  // The work runs in the generator's own process: the time reported is the
  // wall time of each run, and its CPU time is read from the children's usage.
  auto childCpuSeconds = [] {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
  };
  const double cpuBefore = childCpuSeconds();
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(out);
    state.ResumeTiming();
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("dbgen failed");
  }
  state.counters["generator_cpu_ms"] =
      (childCpuSeconds() - cpuBefore) * 1000.0 / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  std::error_code ec;
  state.counters["dump_bytes"] = static_cast<double>(fs::file_size(out / "dump.dat", ec));
  fs::remove_all(out, ec);
}
BENCHMARK(BM_DatabaseGenerator)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
