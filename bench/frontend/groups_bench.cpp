// One frame of the history groups and tables screen on the largest
// confederation of the 1998 qualifiers: its group-order list built, the
// league table sorted and the screen drawn into the frame packet.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "../tests/tournament/campaign_driver.h"
#include "frontend/mfhgroup.h"
#include "scene3d/pcframe.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace korvena_test {
std::filesystem::path HeadlessRoot() { return std::filesystem::temp_directory_path() / "korvena_bench_groups"; }
}  // namespace korvena_test
std::filesystem::path BuildDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

namespace {

// The 1998 qualifiers loaded; the index of the confederation with the most
// teams in its rounds.
int LargestConf() {
  static const int i = [] {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    if (chdir(exe.parent_path().c_str()) != 0) return -1;
    CampaignReset(1);
    tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
    tmglobal.cHumans = 1;
    tmglobal.bHolderOption = 1;
    tmmain_YearStart(1, 1, 98);
    pcframe_Init();
    int best = -1, bestTeams = -1, k = 0;
    for (Confederation* c = tmgame_CurrentYearGet()->pConfs; c; c = c->pNext, k++) {
      int n = 0;
      for (Group* g = c->pGroups; g; g = g->pNext)
        for (Round* r = g->pRounds; r; r = r->pNext) n += history_TeamCountGet(r);
      if (n > bestTeams) best = k, bestTeams = n;
    }
    return best;
  }();
  return i;
}

void BM_GroupsFrameLargestConfederation(benchmark::State& state) {
  const int iConf = LargestConf();
  if (iConf < 0) {
    state.SkipWithError("no year");
    return;
  }
  Confederation* c = history_ConfByIndexGet(tmgame_CurrentYearGet(), iConf);
  mfhgroup_oScreen.iConf = iConf;
  mfhgroup_oScreen.iEntry = 0;
  mfhgroup_oScreen.iView = MFHGROUP_VIEW_TABLE;
  TMTeam* ap[MFHGROUP_TABLE_MAX];
  for (auto _ : state) {
    pcframe_Begin();
    mfhgroup_OrderListBuild(c);
    benchmark::DoNotOptimize(mfhgroup_LeagueSort(mfhgroup_OrderRoundGet(0), ap));
    mfhgroup_Draw();
  }
  pcframe_Begin();
}
BENCHMARK(BM_GroupsFrameLargestConfederation)->Unit(benchmark::kMicrosecond);

}  // namespace
