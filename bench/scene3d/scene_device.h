#pragma once
// The headless display and 640 x 480 renderer device the scene benchmarks
// draw on (see render_device.h), with the frame packet and the scene.
#include <cstring>
#include <string>

#include "../render3d/render_device.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"

// First call only: pfnOnce (may be null) runs after the frame packet is set up.
inline Q3DDevice* bench_SceneDeviceOpen(const char* dll, QDLContext* ctx, const char* pszTempName,
                                        void (*pfnOnce)(), std::string* why) {
  static bool up = false;
  if (!up) {
    if (!bench_HeadlessWindowUp(pszTempName, why)) return nullptr;
    std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
    std::strcpy(pcinstall_szModelPath, "..\\data\\models\\");
    pcframe_Init();
    if (pfnOnce) pfnOnce();
    up = true;
  }
  Q3DDevice* d = bench_RendererOpen(dll, ctx, why);
  if (d == nullptr) return nullptr;
  scene3d_StartOnDevice(d, std::string(dll) == "q3dd3ddll.dll" ? 0 : 1, 640, 480);
  return d;
}

inline void bench_SceneDeviceClose(Q3DDevice* d) {
  scene3d_StopOnDevice();
  bench_RendererClose(d);
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
