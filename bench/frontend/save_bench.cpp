// The load screen's work: listing a full save folder of 64 saves, and one
// step that reads and restores the largest tournament (the 1998 qualifiers
// and finals) from its file.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../tests/tournament/campaign_driver.h"
#include "frontend/pcsave.h"
#include "platform/paths.h"
#include "shell/global.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

// The campaign driver's copy of the year files goes to a folder of its own.
namespace korvena_test {
std::filesystem::path HeadlessRoot() { return std::filesystem::temp_directory_path() / "korvena_bench_pcsave"; }
}  // namespace korvena_test
std::filesystem::path BuildDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

namespace {

// 64 saves of the largest tournament in a save folder of the benchmark's own.
bool FullFolder() {
  static const bool b = [] {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    if (chdir(exe.parent_path().c_str()) != 0) return false;
    const std::filesystem::path share = korvena_test::HeadlessRoot() / "share";
    setenv("XDG_DATA_HOME", share.c_str(), 1);
    std::filesystem::remove_all(share);
    std::filesystem::create_directories(platform::saveDir());
    CampaignReset(1);
    tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
    tmglobal.cHumans = 1;
    tmglobal.bHolderOption = 1;
    tmmain_YearStart(0, 0, 98);
    if (!pcsave_ImageBuild()) return false;
    for (int i = 0; i < PCSAVE_FILES_MAX; i++) {
      char sz[32];
      std::snprintf(sz, sizeof(sz), "Scotland 1998  %d.1.98.SAV", i + 1);
      std::ofstream out(std::filesystem::path(platform::saveDir()) / sz, std::ios::binary);
      out.write(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
    }
    return true;
  }();
  return b;
}

void BM_ListSixtyFourSaves(benchmark::State& state) {
  if (!FullFolder()) state.SkipWithError("no save folder");
  for (auto _ : state) {
    pcsave_FilesList();
    benchmark::DoNotOptimize(pcsave_oScreen.cFiles);
  }
  if (pcsave_oScreen.cFiles != PCSAVE_FILES_MAX) state.SkipWithError("not 64 listed");
}
BENCHMARK(BM_ListSixtyFourSaves)->Unit(benchmark::kMillisecond);

// The screen entered (its list made), the last save chosen and loaded.
void BM_EnterAndLoadLargest(benchmark::State& state) {
  if (!FullFolder()) state.SkipWithError("no save folder");
  global_SetExtendedGameMode(static_cast<GameMode>(52));
  for (auto _ : state) {
    pcsave_LoadEnter();
    pcsave_oScreen.iTop = PCSAVE_FILES_MAX - PCSAVE_ROWS;
    pcsave_oScreen.iRow = PCSAVE_ROWS - 1;
    pcsave_oScreen.iSubState = PCSAVE_PERFORM;
    pcsave_Step();
    if (pcsave_oScreen.iSubState != PCSAVE_SUCCESS) state.SkipWithError("refused");
  }
}
BENCHMARK(BM_EnterAndLoadLargest)->Unit(benchmark::kMillisecond);

}  // namespace
