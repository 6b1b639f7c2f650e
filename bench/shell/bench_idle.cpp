// Cost of idling at the main menu: the game's own frame loop on the real
// clock and the SDL backend (SDL's dummy video driver unless SDL_VIDEODRIVER
// names another), run for a few seconds once the menu shows. Reports the
// process's processor time over wall time (1.0 is one whole core), the frame
// rate, and how far frames strayed from the front end's 40 ms period.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "display/qdl_device.h"
#include "framework/qdx_input.h"
#include "framework/qdx_time.h"
#include "framework/qdx_window.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "shell/pcmain.h"
#include "shell/pcmain_states.h"

namespace {

namespace fs = std::filesystem;

uint64_t CpuNs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000000ull + static_cast<uint64_t>(t.tv_nsec);
}

// One pass of the program entry's frame loop.
bool LoopPass() {
  QDXClearPumped();
  const int32_t bQuit = pcmain_LoopStep();
  if (!QDXPumpedThisPass()) QDXPumpMessages();
  return bQuit == 0 && !QDXQuitSeen();
}

void BM_MenuIdle(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string oWhy;
  if (!platform::init(platform::BackendKind::Sdl, &oWhy)) {
    state.SkipWithError(oWhy.c_str());
    return;
  }
  platform::setExecutableDir(KORVENA_BENCH_BIN_DIR);
  const fs::path oSettings = fs::temp_directory_path() / "korvena-bench-idle-settings";
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, (oSettings / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User, (oSettings / "user.txt").string());
  // The display's device cache goes beside the settings, not into the
  // working folder.
  const std::string sDeviceCache = (oSettings / "dxinfo.bin").string();
  fs::create_directories(oSettings);
  QDLDeviceInfoFileNameSet(sDeviceCache.c_str());
  QDXClearQuit();
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  QDXCalibrateTSC();
  QDXRegisterClass(nullptr, QDXWindowProc);
  platform::Window* poWindow = QDXCreateWindow(640, 480, nullptr, 1);
  const char* apszArgs[1] = {"korvena"};
  if (!poWindow || !pcmain_Startup(1, apszArgs)) {
    state.SkipWithError("start-up failed");
  } else {
    // Into the menu (after the first run's conversion, if any), then a
    // second of settling.
    bool bRunning = true;
    for (int i = 0; bRunning && i < 200 && pcmain_eCurrentState != APP_STATE_FRONT_END; i++) bRunning = LoopPass();
    const uint64_t uSettle = platform::nowNs() + 1000000000ull;
    while (bRunning && platform::nowNs() < uSettle) bRunning = LoopPass();
    const uint64_t uSeconds = static_cast<uint64_t>(state.range(0));
    for (auto _ : state) {
      const uint64_t uWall0 = platform::nowNs(), uCpu0 = CpuNs();
      uint64_t uPrev = uWall0, uFrames = 0, uWorst = 0;
      double dSum = 0;
      while (bRunning && platform::nowNs() - uWall0 < uSeconds * 1000000000ull) {
        bRunning = LoopPass();
        const uint64_t uNow = platform::nowNs();
        const uint64_t uFrame = uNow - uPrev;
        uPrev = uNow;
        // The first pass may end a frame begun before the measurement.
        if (uFrames++ == 0) continue;
        const uint64_t uOff = uFrame > 40000000ull ? uFrame - 40000000ull : 40000000ull - uFrame;
        uWorst = std::max(uWorst, uOff);
        dSum += static_cast<double>(uFrame);
      }
      const double dWall = static_cast<double>(platform::nowNs() - uWall0);
      const double dCpu = static_cast<double>(CpuNs() - uCpu0);
      state.SetIterationTime(dWall / 1e9);
      state.counters["cpu_over_wall"] = dCpu / dWall;
      state.counters["frames_per_s"] = static_cast<double>(uFrames) * 1e9 / dWall;
      state.counters["mean_frame_ms"] = uFrames > 1 ? dSum / static_cast<double>(uFrames - 1) / 1e6 : 0.0;
      state.counters["worst_off_ms"] = static_cast<double>(uWorst) / 1e6;
    }
    if (!bRunning) state.SkipWithError("the game ended while idling");
    if (pcmain_eCurrentState != APP_STATE_FRONT_END) state.SkipWithError("the menu never showed");
  }
  pcmain_Shutdown();
  QDXTimerStop();
  QDXFreeActivateHooks();
  QDXFreeWindowHooks();
  QInputRelease();
  QDXDestroyWindow(poWindow);
  fs::remove_all(oSettings);
  platform::shutdown();
}

}  // namespace

BENCHMARK(BM_MenuIdle)->Arg(4)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
