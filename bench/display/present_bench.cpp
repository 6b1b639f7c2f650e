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
#include "platform/window.h"

namespace {

bool StartPlatform(std::string* why) {
  static bool started = false;
  static bool ok = false;
  if (started) return ok;
  started = true;
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
  if (!platform::init(kind, why)) return false;
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  if (!QDXCreateWindow(640, 480, nullptr, 0)) {
    *why = "no window";
    return false;
  }
  QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
  ok = true;
  return ok;
}

// Opens the 640 x 480 x 16 display with the given flags (36 full screen,
// 8 windowed), closing whatever was open.
QDLSurface* OpenDisplay(uint32_t flags, std::string* why) {
  if (!StartPlatform(why)) return nullptr;
  QDLShutdown();
  if (QDLSetup() != 0) {
    *why = "set-up failed";
    return nullptr;
  }
  int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  QDLSurface* pDisplay = QDLOpenDisplay(0, mode, flags);
  if (!pDisplay) *why = "the display did not open";
  return pDisplay;
}

void FillFrame(QDLSurface* d) {
  QDLSurfaceLock(d);
  for (int y = 0; y < d->height; ++y)
    for (int x = 0; x < d->width; ++x) {
      uint16_t v = static_cast<uint16_t>((x * 31 / 640) << 11 | (y * 63 / 480) << 5 | ((x + y) & 31));
      d->pixels[y * d->pitch + x * 2] = static_cast<uint8_t>(v);
      d->pixels[y * d->pitch + x * 2 + 1] = static_cast<uint8_t>(v >> 8);
    }
  QDLSurfaceUnlock(d);
}

// state.range(0): the opening flags; state.range(1): the present argument
// (1 clears the back buffer after each present).
void BM_Present640x480x16(benchmark::State& state) {
  std::string why;
  QDLSurface* d = OpenDisplay(static_cast<uint32_t>(state.range(0)), &why);
  if (!d) {
    state.SkipWithError(why.c_str());
    return;
  }
  FillFrame(d);
  uint32_t argument = static_cast<uint32_t>(state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(QDLPresent(argument));
  state.SetItemsProcessed(state.iterations());
  int w = 0, h = 0;
  platform::windowSize(QDXGetMainWindow(), &w, &h);
  if (state.range(0) != 8) {
    platform::DisplayMode desktop = platform::desktopMode();
    w = desktop.width;
    h = desktop.height;
  }
  state.SetLabel(platform::displayRendererName() + (state.range(0) == 8 ? " windowed " : " full screen ") +
                 std::to_string(w) + "x" + std::to_string(h));
}
BENCHMARK(BM_Present640x480x16)
    ->ArgNames({"flags", "clear"})
    ->Args({8, 0})
    ->Args({36, 0})
    ->Args({36, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
