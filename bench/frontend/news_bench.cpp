// Speed of one history news frame on the results page of the largest
// edition (the 1998 qualifiers played to their end) and on its draw page, as
// every frame does while the page is shown (target under 200 us).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../tests/tournament/campaign_driver.h"
#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "framework/qdx_window.h"
#include "frontend/mfhnews.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "platform/platform.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace korvena_test {
std::filesystem::path HeadlessRoot() { return std::filesystem::temp_directory_path() / "korvena_bench_news"; }
}  // namespace korvena_test
std::filesystem::path BuildDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

namespace {

bool Setup() {
  static const bool b = [] {
    const std::string dir = korvena_test::HeadlessRoot().string();
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    std::string why;
    if (!platform::init(platform::BackendKind::Headless, &why)) return false;
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    if (!QDXCreateWindow(640, 480, nullptr, 0)) return false;
    QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
    if (QDLSetup() != 0 || QDLOpenDisplay(0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED) == nullptr)
      return false;
    QDLTextSetup(0);
    pcframe_Init();
    pcfe_ScaleSet(512, 240, 640, 480);
    pctext_aaoFontSets[PCTEXT_SET_FRONT_END][0].poFont = QDLFontCreateFromSheet(KORVENA_BENCH_FONT, 3, 0, 0);
    pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
    // Every qualifier of 1998 played: the page lists them all.
    CampaignReset(1);
    tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
    tmglobal.cHumans = 1;
    tmglobal.bHolderOption = 1;
    tmmain_YearStart(1, 1, 98);
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
