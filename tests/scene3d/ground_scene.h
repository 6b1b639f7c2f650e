// A match scene on one of the renderer libraries, loaded through the real
// loading steps for a chosen pitch type, stadium look and time of day, and
// frames drawn from packets with a camera looking from an eye to a target.
#pragma once

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "capture_shot.h"
#include "display/qdl.h"
#include "display/qdl_context.h"
#include "matchflow/environ.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "scene3d/loading.h"
#include "scene3d/pcframe.h"
#include "scene3d/pcframe_lookat.h"
#include "scene3d/scene3d.h"
#include "shell/pcinstall.h"
#include "support/headless_env.h"
#include "display/qdl_device.h"

namespace ground_scene {

using korvena_test::BuildDir;

// The headless game tree a scene test draws in: both renderer libraries and
// the build's textures, models and kit table.
inline void GameTreeUp() {
  namespace fs = std::filesystem;
  const fs::path root = korvena_test::HeadlessRoot();
  std::error_code ec;
  korvena_test::RendererLibrariesCopy();
  fs::create_directories(root / "data" / "database", ec);
  for (const char* dir : {"textures", "models", "database/pc"})
    fs::copy(fs::path(BuildDir()) / "data" / dir, root / "data" / dir,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  QDLDeviceInfoFileNameSet((root / "dxinfo.bin").string().c_str());
  std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
  std::strcpy(pcinstall_szModelPath, "..\\data\\models\\");
}

// Where pictures written to be looked at go.
inline std::string CaptureDir() {
  const char* p = std::getenv("KORVENA_CAPTURE_DIR");
  return p ? p : BuildDir() + "/captures";
}

}  // namespace ground_scene

struct GroundScene {
  QDLContext ctx{};
  Q3DDevice* d = nullptr;
  bool bZBuffer = false;

  bool Open(bool zbuffer) {
    bZBuffer = zbuffer;
    if (QDLSetup() != 0) return false;
    const int32_t dev = zbuffer ? 1 : 0;
    QDLContextModeSet(&ctx, dev, QDLFindMode(dev, 640, 480, 16, 0), QDLOPEN_WINDOWED);
    d = Q3DDeviceCreate(zbuffer ? "q3dd3ddll.dll" : "q3dswdll.dll");
    if (d == nullptr || Q3DDeviceInitialise(d, &ctx) != 0) return false;
    pcframe_Init();
    scene3d_StartOnDevice(d, zbuffer ? 0 : 1, 640, 480);
    return true;
  }

  // Runs the thirteen loading steps for the ground; the number of frames.
  int Load(int32_t pitchType, int32_t look, int32_t night) {
    environ_oEnvironment.iPitchType = pitchType;
    environ_oEnvironment.iLook = look;
    environ_oEnvironment.bNight = night;
    scene3d_bFirstFrame = 0;  // as after the scene's start
    loading_bRunStep(0);
    for (int i = 1; i < 1000; ++i)
      if (loading_bRunStep(1)) return i;
    return -1;
  }

  // A packet with a valid camera at eye looking at target (scene metres:
  // x along the pitch, y up, z across).
  static FramePacket* Packet(const float eye[3], const float target[3]) {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    pcframe_CameraLookAt(p, eye, target);
    return p;
  }

  // Draws the frame (the first frame after loading only sets the
  // background) and captures it; fill adds the ball, markers and trails.
  capture::Shot Frame(const float eye[3], const float target[3],
                      const std::function<void(FramePacket*)>& fill = nullptr) {
    for (int i = 0; i < 2; ++i) {
      FramePacket* p = Packet(eye, target);
      if (fill) fill(p);
      if (scene3d_DrawFrame() != 0) break;
    }
    return capture::LastPresented();
  }

  void Close() {
    scene3d_StopOnDevice();
    if (d != nullptr) {
      d->DisplayShut();
      d->Destroy();
      Q3DDeviceUnload();
    }
    d = nullptr;
    pcframe_Shutdown();
    QDLShutdown();
  }
};
