// The history tree: reading an edition's two year files and building their
// fixtures, and simulating a whole edition (qualifiers and finals).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace fs = std::filesystem;

namespace {

std::string Read(int yy, bool bFinals) {
  const fs::path data = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "data";
  std::ifstream in(data / "database" / "tm" / "english" / ("year" + std::to_string(yy) + (bFinals ? "f" : "") + ".csv"),
                   std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Load(const std::string& q, const std::string& f, int yy) {
  tmmain_PoolsReset();
  tmglobal_Reset();
  tmglobal_YearSet(yy);
  history_YearTextParse(q.data(), static_cast<int>(q.size()));
  history_YearFixturesBuild(TheYearList);
  history_YearTextParse(f.data(), static_cast<int>(f.size()));
  if (TheYearList) history_YearFixturesBuild(TheYearList->pNext);
}

void PlayOut(Year* y) {
  for (int i = 0; y && !y->bComplete && i < 40; i++) {
    history_DaySimulate(y);
    history_PlaceholdersResolve(y);
    history_YearCompleteCheck(y);
    tmteam_GroupTablesCollect(y);
    tmteam_GroupTablesSortAll(y);
  }
}

void BM_EditionLoad(benchmark::State& state) {
  const int yy = static_cast<int>(state.range(0));
  const std::string q = Read(yy, false), f = Read(yy, true);
  if (q.empty() || f.empty()) state.SkipWithError("no year files");
  for (auto _ : state) {
    Load(q, f, yy);
    benchmark::DoNotOptimize(TheYearList);
  }
}
BENCHMARK(BM_EditionLoad)->Arg(58)->Arg(98)->Unit(benchmark::kMillisecond);

void BM_EditionSimulate(benchmark::State& state) {
  const int yy = static_cast<int>(state.range(0));
  const std::string q = Read(yy, false), f = Read(yy, true);
  if (q.empty() || f.empty()) state.SkipWithError("no year files");
  std::uint32_t seed = 1;
  for (auto _ : state) {
    Load(q, f, yy);
    result_RandSeed(seed++);
    global.iDay = 31;
    global.iMonth = 12;
    global.iYear = 99;
    tmglobal_FinalsSet(0);
    PlayOut(TheYearList);
    tmglobal_FinalsSet(1);
    PlayOut(TheYearList ? TheYearList->pNext : nullptr);
  }
}
BENCHMARK(BM_EditionSimulate)->Arg(58)->Arg(98)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
