// Presenting one 640 x 480 x 16 frame: the display library's present (hooks,
// flip, the platform's presentation) on one backend.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_present.h"
#include "framework/qdx_window.h"
#include "platform/display.h"
#include "platform/platform.h"

namespace {

QDLSurface* OpenDisplay(std::string* why) {
  static QDLSurface* pDisplay = nullptr;
  static bool tried = false;
  if (tried) return pDisplay;
  tried = true;
#if KORVENA_BENCH_HEADLESS
  platform::BackendKind kind = platform::BackendKind::Headless;
#else
  platform::BackendKind kind = platform::BackendKind::Sdl;
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
#endif
  std::string dir = (std::filesystem::temp_directory_path() / "korvena-bench-display").string();
  std::filesystem::create_directories(dir);
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  if (!platform::init(kind, why)) return nullptr;
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  if (!QDXCreateWindow(640, 480, nullptr, 0)) {
    *why = "no window";
    return nullptr;
  }
  QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
  if (QDLSetup() != 0) {
    *why = "set-up failed";
    return nullptr;
  }
  int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  pDisplay = QDLOpenDisplay(0, mode, 36);
  if (!pDisplay) *why = "the display did not open";
  return pDisplay;
}

void BM_Present640x480x16(benchmark::State& state) {
  std::string why;
  QDLSurface* d = OpenDisplay(&why);
  if (!d) {
    state.SkipWithError(why.c_str());
    return;
  }
  // A frame with content, so that nothing is trivially black.
  QDLSurfaceLock(d);
  for (int y = 0; y < d->height; ++y)
    for (int x = 0; x < d->width; ++x) {
      uint16_t v = static_cast<uint16_t>((x * 31 / 640) << 11 | (y * 63 / 480) << 5 | ((x + y) & 31));
      d->pixels[y * d->pitch + x * 2] = static_cast<uint8_t>(v);
      d->pixels[y * d->pitch + x * 2 + 1] = static_cast<uint8_t>(v >> 8);
    }
  QDLSurfaceUnlock(d);
  for (auto _ : state) benchmark::DoNotOptimize(QDLPresent(0));
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(platform::displayRendererName());
}
BENCHMARK(BM_Present640x480x16)->Unit(benchmark::kMicrosecond);

// The same with the back buffer cleared after each present (flag bit 0).
void BM_Present640x480x16ClearAfter(benchmark::State& state) {
  std::string why;
  if (!OpenDisplay(&why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(QDLPresent(1));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Present640x480x16ClearAfter)->Unit(benchmark::kMicrosecond);

}  // namespace
