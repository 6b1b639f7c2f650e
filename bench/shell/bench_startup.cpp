// Start-up to the first front-end frame on the headless backend, with the data
// tree already generated: window, settings, data paths, keyboard, game-wide
// set-up, the 2D display with its debug font, then one pass of the frame loop.
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

void BM_StartupToFirstFrontEndFrame(benchmark::State& state) {
  std::string oWhy;
  if (!platform::init(platform::BackendKind::Headless, &oWhy)) {
    state.SkipWithError(oWhy.c_str());
    return;
  }
  platform::setExecutableDir(KORVENA_BENCH_BIN_DIR);
  std::filesystem::path oSettings = std::filesystem::temp_directory_path() / "korvena-bench-settings";
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, (oSettings / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User, (oSettings / "user.txt").string());
  // The program entry's part: hooks, clock and the hidden main window.
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  QDXCalibrateTSC();
  QDXRegisterClass(nullptr, QDXWindowProc);
  platform::Window* poWindow = QDXCreateWindow(640, 480, nullptr, 1);
  for (auto _ : state) {
    const char* apszArgs[1] = {"korvena"};
    if (!pcmain_Startup(1, apszArgs)) {
      state.SkipWithError("start-up failed");
      pcmain_Shutdown();
      break;
    }
    // The first pass enters the first state; loop until a front-end frame ran.
    for (int i = 0; i < 100 && pcmain_eCurrentState != APP_STATE_FRONT_END; i++) pcmain_LoopStep();
    state.PauseTiming();
    if (pcmain_eCurrentState != APP_STATE_FRONT_END) state.SkipWithError("no front-end frame");
    pcmain_bQuit = 1;
    pcmain_LoopStep();
    pcmain_Shutdown();
    state.ResumeTiming();
  }
  QDXTimerStop();
  QDXFreeActivateHooks();
  QDXFreeWindowHooks();
  QInputRelease();
  QDXDestroyWindow(poWindow);
  std::filesystem::remove_all(oSettings);
  platform::shutdown();
}

}  // namespace

BENCHMARK(BM_StartupToFirstFrontEndFrame)->Unit(benchmark::kMillisecond)->Iterations(20);
