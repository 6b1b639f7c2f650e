// Speed of one history news frame on the results page of the largest
// edition (the 1998 qualifiers played to their end) and on its draw page, as
// every frame does while the page is shown (target under 200 us).
#include <benchmark/benchmark.h>

#include "frontend/mfhnews.h"
#include "history_display.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"

namespace {

bool Setup() {
  static const bool b = [] {
    if (!bench_history::DisplayUp(512, 240)) return false;
    pcframe_Init();
    // Every qualifier of 1998 played: the page lists them all.
    bench_history::Start1998();
    tmgame_YearFinish();
    global.iDay = 31;
    global.iMonth = 12;
    global.iYear = 99;
    return TheYearList != nullptr;
  }();
  return b;
}

void BM_NewsResultsFrame(benchmark::State& state) {
  if (!Setup()) state.SkipWithError("no display or year");
  mfhnews_NewsReset();
  mfhnews_oScreen.iScript = MFHNEWS_QUALIFYING;
  mfhnews_oScreen.iPos = 6;  // code 5
  mfhnews_oScreen.iPendingScript = -1;
  for (auto _ : state) {
    pcframe_Begin();
    mfhnews_Draw();
    benchmark::DoNotOptimize(mfhnews_oScreen.cLines);
  }
  pcframe_Begin();
  if (mfhnews_oScreen.iPage != 5 || mfhnews_oScreen.cLines < 100) state.SkipWithError("no results page");
  state.counters["lines"] = mfhnews_oScreen.cLines;
}
BENCHMARK(BM_NewsResultsFrame)->Unit(benchmark::kMicrosecond);

// The draw page of the same edition at its start: the human team's round and
// the same stage of every later group.
void BM_NewsDrawFrame(benchmark::State& state) {
  if (!Setup()) state.SkipWithError("no display or year");
  tmglobal.bStarted = 0;
  tmglobal.bFinalsLoaded = 0;
  tmmain_YearStart(1, 1, 98);
  mfhnews_NewsReset();
  mfhnews_oScreen.iScript = MFHNEWS_START_QUALIFYING;
  mfhnews_oScreen.iPos = 6;  // code 1
  mfhnews_oScreen.iPendingScript = -1;
  for (auto _ : state) {
    pcframe_Begin();
    mfhnews_oScreen.bFirstFrame = 0;
    mfhnews_Draw();
    benchmark::DoNotOptimize(mfhnews_oScreen.cLines);
  }
  pcframe_Begin();
  if (mfhnews_oScreen.iPage != 1) state.SkipWithError("no draw page");
  state.counters["lines"] = mfhnews_oScreen.cLines;
}
BENCHMARK(BM_NewsDrawFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
