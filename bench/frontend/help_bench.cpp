// Speed of the rules panel: the longest page of each language laid out with
// the front end's font and drawn into the frame packet, as every frame does
// while the panel or the rules screen is open (target under 100 us).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "framework/qdx_window.h"
#include "frontend/mhelp.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "platform/platform.h"
#include "scene3d/pcframe.h"
#include "shell/texts.h"
#include "tournament/tmtree.h"

namespace {

// The font is converted to the display's format: a headless 640 x 480 x 16
// display is opened first.
struct Setup {
  Setup() {
    const std::string dir = (std::filesystem::temp_directory_path() / "korvena-bench-help").string();
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    std::string why;
    if (!platform::init(platform::BackendKind::Headless, &why)) return;
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    if (!QDXCreateWindow(640, 480, nullptr, 0)) return;
    QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
    if (QDLSetup() != 0 || QDLOpenDisplay(0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED) == nullptr) return;
    QDLTextSetup(0);
    pcframe_Init();
    pcfe_ScaleSet(512, 240, 640, 480);
    font = QDLFontCreateFromSheet(KORVENA_BENCH_FONT, 3, 0, 0);
    pctext_aaoFontSets[PCTEXT_SET_FRONT_END][0].poFont = font;
    pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
  }
  QDLFont* font = nullptr;
};

// The edition whose finals page is longest in the language.
int LongestEdition() {
  int best = 0;
  size_t most = 0;
  for (int e = 0; e < RULES_EDITIONS; ++e) {
    tmglobal.iYear = 58 + 4 * e;
    mhelp_FinalsPageDraw(MHELP_STYLE_SCREEN);
    if (std::strlen(mhelp_szLayout) > most) most = std::strlen(mhelp_szLayout), best = e;
  }
  return best;
}

void BM_RulesPageLayoutAndDraw(benchmark::State& state) {
  static Setup setup;
  if (setup.font == nullptr) {
    state.SkipWithError("the front end's font did not load");
    return;
  }
  mlang_iLanguage = static_cast<int32_t>(state.range(0));
  tmglobal.bFinals = 1;
  tmglobal.iYear = 58 + 4 * LongestEdition();
  for (auto _ : state) {
    pcframe_Begin();
    mhelp_FinalsPageDraw(MHELP_STYLE_PANEL);
    benchmark::DoNotOptimize(mhelp_iLineCount);
  }
  pcframe_Begin();
  state.counters["lines"] = mhelp_iLineCount;
}
BENCHMARK(BM_RulesPageLayoutAndDraw)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace
