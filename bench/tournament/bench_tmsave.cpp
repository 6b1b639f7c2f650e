// History saves and campaigns: writing and reading the largest tournament
// (the 1998 qualifiers and finals; the reading re-reads both year files), and
// a whole run from 1958 to 1998 with scripted results of the human team.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "../tests/tournament/campaign_driver.h"
#include "shell/global.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmsave.h"

// The campaign driver's copy of the year files goes to a folder of its own.
namespace korvena_test {
std::filesystem::path HeadlessRoot() { return std::filesystem::temp_directory_path() / "korvena_bench_tmsave"; }
}  // namespace korvena_test
std::filesystem::path BuildDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

namespace {

// The data folder is found from the program's own folder.
void FromProgramFolder() {
  static const bool b = [] {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return chdir(exe.parent_path().c_str()) == 0;
  }();
  (void)b;
}

std::vector<std::uint8_t> Largest() {
  FromProgramFolder();
  CampaignReset(1);
  tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
  tmglobal.cHumans = 1;
  tmglobal.bHolderOption = 1;
  tmmain_YearStart(0, 0, 98);
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE);
  v.resize(static_cast<std::size_t>(tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()))));
  return v;
}

void BM_SaveLargest(benchmark::State& state) {
  const std::vector<std::uint8_t> a = Largest();
  if (a.empty() || !TheYearList || !TheYearList->pNext) state.SkipWithError("no 1998 tournament");
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE);
  for (auto _ : state) benchmark::DoNotOptimize(tmsave_Write(v.data(), static_cast<std::int32_t>(v.size())));
  state.counters["bytes"] = static_cast<double>(a.size());
}
BENCHMARK(BM_SaveLargest)->Unit(benchmark::kMillisecond);

void BM_LoadLargest(benchmark::State& state) {
  const std::vector<std::uint8_t> a = Largest();
  if (a.empty() || !tmsave_Read(a.data(), static_cast<std::int32_t>(a.size()))) state.SkipWithError("refused");
  for (auto _ : state) benchmark::DoNotOptimize(tmsave_Read(a.data(), static_cast<std::int32_t>(a.size())));
}
BENCHMARK(BM_LoadLargest)->Unit(benchmark::kMillisecond);

void BM_CampaignWinning(benchmark::State& state) {
  FromProgramFolder();
  for (auto _ : state) {
    Campaign c(static_cast<std::uint32_t>(tla_IDFind("SCO")), Script::Win, 7);
    benchmark::DoNotOptimize(c.Run().size());
  }
}
BENCHMARK(BM_CampaignWinning)->Unit(benchmark::kMillisecond);

void BM_CampaignDrawing(benchmark::State& state) {
  FromProgramFolder();
  for (auto _ : state) {
    Campaign c(static_cast<std::uint32_t>(tla_IDFind("MEX")), Script::Draw, 7);
    benchmark::DoNotOptimize(c.Run().size());
  }
}
BENCHMARK(BM_CampaignDrawing)->Unit(benchmark::kMillisecond);

}  // namespace
