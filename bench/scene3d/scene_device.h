#pragma once
// The headless display and 640 x 480 renderer device the scene benchmarks
// draw on: the platform and window come up once per program (settings in a
// temporary folder of the benchmark's name), the display library and the
// renderer are opened afresh for each benchmark.
#include <cstdlib>
#include <cstring>
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
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"

// First call only: pfnOnce (may be null) runs after the frame packet is set up.
inline Q3DDevice* bench_SceneDeviceOpen(const char* dll, QDLContext* ctx, const char* pszTempName,
                                        void (*pfnOnce)(), std::string* why) {
  static bool up = false;
  if (!up) {
    const std::string dir = (std::filesystem::temp_directory_path() / pszTempName).string();
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    if (!platform::init(platform::BackendKind::Headless, why)) return nullptr;
    platform::setExecutableDir(KORVENA_BIN_DIR);
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    QDXCreateWindow(640, 480, nullptr, 0);
    QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
    std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
    std::strcpy(pcinstall_szModelPath, "..\\data\\models\\");
    pcframe_Init();
    if (pfnOnce) pfnOnce();
    up = true;
  }
  QDLShutdown();
  QDLSetup();
  const int32_t device = std::string(dll) == "q3dd3ddll.dll" ? 1 : 0;
  QDLContextModeSet(ctx, device, QDLFindMode(device, 640, 480, 16, 0), QDLOPEN_WINDOWED);
  Q3DDevice* d = Q3DDeviceCreate(dll);
  if (d == nullptr || Q3DDeviceInitialise(d, ctx) != 0) {
    *why = "the renderer did not open";
    return nullptr;
  }
  scene3d_StartOnDevice(d, device == 0 ? 1 : 0, 640, 480);
  return d;
}

inline void bench_SceneDeviceClose(Q3DDevice* d) {
  scene3d_StopOnDevice();
  d->DisplayShut();
  d->Destroy();
  Q3DDeviceUnload();
}

// The match camera from the main stand, 22 m up and 70 m back, looking at the
// centre spot, with the ball's count set.
inline void bench_MainStandCameraSet(FramePacket* p) {
  p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 1;
  const float f[3] = {0.0f, -0.3f, 0.954f}, r[3] = {1.0f, 0.0f, 0.0f}, u[3] = {0.0f, 0.954f, 0.3f};
  for (int k = 0; k < 3; ++k) {
    p->oCamera.aafRotation[k][0] = r[k];
    p->oCamera.aafRotation[k][1] = u[k];
    p->oCamera.aafRotation[k][2] = f[k];
  }
  p->oCamera.aiEye[0] = 0;
  p->oCamera.aiEye[1] = static_cast<int32_t>(22.0 / 0.00635);
  p->oCamera.aiEye[2] = static_cast<int32_t>(-70.0 / 0.00635);
  p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
}
