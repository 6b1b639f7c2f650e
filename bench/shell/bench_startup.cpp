// Start-up to the first front-end frame on the headless backend: window,
// settings, data paths, keyboard, game-wide set-up, the 2D display with its
// debug font, then passes of the frame loop until a front-end frame ran.
// Cold: the converted front-end sheets are deleted before each start, so the
// first run's conversion is part of it. Warm: they are already there.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/qdx_input.h"
#include "framework/qdx_time.h"
#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "shell/pcmain.h"
#include "shell/pcmain_states.h"

namespace {

namespace fs = std::filesystem;

// The converted sheets are the "*16.spr" files beside their sources.
void DeleteConvertedSheets() {
  const fs::path oFolder = fs::path(KORVENA_BENCH_BIN_DIR) / ".." / "data" / "frontend";
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(oFolder, ec)) {
    const std::string sName = e.path().filename().string();
    if (sName.size() > 6 && sName.compare(sName.size() - 6, 6, "16.spr") == 0) fs::remove(e.path(), ec);
  }
}

void StartupToFirstFrontEndFrame(benchmark::State& state, bool bCold) {
  std::string oWhy;
  if (!platform::init(platform::BackendKind::Headless, &oWhy)) {
    state.SkipWithError(oWhy.c_str());
    return;
  }
  platform::setExecutableDir(KORVENA_BENCH_BIN_DIR);
  fs::path oSettings = fs::temp_directory_path() / "korvena-bench-settings";
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, (oSettings / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User, (oSettings / "user.txt").string());
  // The program entry's part: hooks, clock and the hidden main window.
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  QDXCalibrateTSC();
  QDXRegisterClass(nullptr, QDXWindowProc);
  platform::Window* poWindow = QDXCreateWindow(640, 480, nullptr, 1);
  int cConversions = 0;
  for (auto _ : state) {
    if (bCold) {
      state.PauseTiming();
      DeleteConvertedSheets();
      state.ResumeTiming();
    }
    const char* apszArgs[1] = {"korvena"};
    if (!pcmain_Startup(1, apszArgs)) {
      state.SkipWithError("start-up failed");
      pcmain_Shutdown();
      break;
    }
    if (pcmain_eRequestedState == APP_STATE_GFX_CONVERT) cConversions++;
    // The first pass enters the first state; loop until a front-end frame ran.
    for (int i = 0; i < 100 && pcmain_eCurrentState != APP_STATE_FRONT_END; i++) pcmain_LoopStep();
    state.PauseTiming();
    if (pcmain_eCurrentState != APP_STATE_FRONT_END) state.SkipWithError("no front-end frame");
    pcmain_bQuit = 1;
    pcmain_LoopStep();
    pcmain_Shutdown();
    state.ResumeTiming();
  }
  state.counters["conversions"] = cConversions;
  QDXTimerStop();
  QDXFreeActivateHooks();
  QDXFreeWindowHooks();
  QInputRelease();
  QDXDestroyWindow(poWindow);
  fs::remove_all(oSettings);
  platform::shutdown();
}

void BM_StartupCold(benchmark::State& state) { StartupToFirstFrontEndFrame(state, true); }
void BM_StartupWarm(benchmark::State& state) { StartupToFirstFrontEndFrame(state, false); }

}  // namespace

// Cold first: it leaves the converted sheets for the warm runs.
BENCHMARK(BM_StartupCold)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartupWarm)->Unit(benchmark::kMillisecond)->Iterations(20);
