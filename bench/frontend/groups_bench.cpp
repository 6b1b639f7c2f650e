// One frame of the history groups and tables screen on the largest
// confederation of the 1998 qualifiers: its group-order list built, the
// league table sorted and the screen drawn into the frame packet.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include "frontend/mfhgroup.h"
#include "frontend/mfhgroup_layout.h"
#include "frontend/mregion.h"
#include "history_display.h"
#include "scene3d/pcframe.h"
#include "shell/texts.h"

namespace {

// The 1998 qualifiers loaded; the index of the confederation with the most
// teams in its rounds.
int LargestConf() {
  static const int i = [] {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    if (chdir(exe.parent_path().c_str()) != 0 || !bench_history::DisplayUp(640, 480)) return -1;
    bench_history::Start1998();
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
  const std::int32_t iView = static_cast<std::int32_t>(state.range(0));
  const int iConf = LargestConf();
  if (iConf < 0) {
    state.SkipWithError("no year");
    return;
  }
  Confederation* c = history_ConfByIndexGet(tmgame_CurrentYearGet(), iConf);
  // The screen's regions, and its fullest round (the most teams) in both views.
  mregion_Reset();
  mregion_LayoutAdd(mfhgroup_aoLayout, MFHGROUP_LAYOUT_RECORDS, 11);
  mfhgroup_OrderListBuild(c);
  std::int32_t iEntry = 0;
  for (std::int32_t e = 0; e < mfhgroup_OrderListSize(); e++)
    if (history_TeamCountGet(mfhgroup_OrderRoundGet(e)) > history_TeamCountGet(mfhgroup_OrderRoundGet(iEntry))) iEntry = e;
  mfhgroup_oScreen.iConf = iConf;
  mfhgroup_oScreen.iEntry = iEntry;
  mfhgroup_oScreen.iView = iView;
  TMTeam* ap[MFHGROUP_TABLE_MAX];
  for (auto _ : state) {
    pcframe_Begin();
    mfhgroup_OrderListBuild(c);
    benchmark::DoNotOptimize(mfhgroup_LeagueSort(mfhgroup_OrderRoundGet(iEntry), ap));
    mfhgroup_Draw();
  }
  state.counters["entries"] = mfhgroup_OrderListSize();
  int cItems = 0, cTexts = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* d = l->poFirstItem; d; d = d->pNext) {
      cItems++;
      cTexts += d->uKind == PCFRAME_KIND_TEXT;
    }
  state.counters["items"] = cItems;
  state.counters["texts"] = cTexts;
  state.counters["teams"] = history_TeamCountGet(mfhgroup_OrderRoundGet(iEntry));
  pcframe_Begin();
}
BENCHMARK(BM_GroupsFrameLargestConfederation)->Arg(MFHGROUP_VIEW_TABLE)->Arg(MFHGROUP_VIEW_RESULTS)->Unit(benchmark::kMicrosecond);

}  // namespace
