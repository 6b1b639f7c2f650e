#pragma once
// A renderer library on the headless display for the benchmarks: the
// platform and a 640 x 480 window come up once per program (settings in a
// temporary folder of the benchmark's name), the display library and the
// renderer are opened afresh for each benchmark.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"

// The platform, the window and the display's device file, the first time
// only; false (with why) while the platform does not start.
inline bool bench_HeadlessWindowUp(const char* pszTempName, std::string* why) {
  static bool up = false;
  if (up) return true;
  const std::string dir = (std::filesystem::temp_directory_path() / pszTempName).string();
  std::filesystem::create_directories(dir);
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  if (!platform::init(platform::BackendKind::Headless, why)) return false;
  platform::setExecutableDir(KORVENA_BIN_DIR);
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  QDXCreateWindow(640, 480, nullptr, 0);
  QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
  up = true;
  return true;
}

// The display library set up again and the renderer library opened on it in
// a 640 x 480 16-bit window.
inline Q3DDevice* bench_RendererOpen(const char* dll, QDLContext* ctx, std::string* why) {
  QDLShutdown();
  QDLSetup();
  const int32_t device = std::string(dll) == "q3dd3ddll.dll" ? 1 : 0;
  QDLContextModeSet(ctx, device, QDLFindMode(device, 640, 480, 16, 0), QDLOPEN_WINDOWED);
  Q3DDevice* d = Q3DDeviceCreate(dll);
  if (d == nullptr || Q3DDeviceInitialise(d, ctx) != 0) {
    *why = "the renderer did not open";
    return nullptr;
  }
  return d;
}

inline void bench_RendererClose(Q3DDevice* d) {
  d->DisplayShut();
  d->Destroy();
  Q3DDeviceUnload();
}

// The renderer library a benchmark's first argument names (1: the
// z-buffered one).
inline const char* bench_RendererName(const benchmark::State& state) {
  return state.range(0) ? "q3dd3ddll.dll" : "q3dswdll.dll";
}

// That library opened by pfnOpen; null, the benchmark skipped, when it does
// not open.
inline Q3DDevice* bench_RendererOrSkip(benchmark::State& state, QDLContext* ctx,
                                       Q3DDevice* (*pfnOpen)(const char*, QDLContext*, std::string*)) {
  std::string why;
  Q3DDevice* d = pfnOpen(bench_RendererName(state), ctx, &why);
  if (d == nullptr) state.SkipWithError(why.c_str());
  return d;
}
