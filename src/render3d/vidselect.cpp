// The renderer choice and the renderer libraries.
#include "render3d/vidselect.h"

#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "framework/qdx_window.h"
#include "platform/library.h"
#include "shell/pcinstall.h"

VidGlideBlock vidselect_oGlideBlock = {nullptr, 0, 0, 0};
uint32_t vidselect_bDirect3DCapable = 0;
uint32_t vidselect_uD3DDevice = 0;
uint32_t vidselect_uD3DMode = 0;
uint32_t vidselect_uScreenWidth = 640;
uint32_t vidselect_uScreenHeight = 480;

namespace {
platform::Library* g_pLibrary = nullptr;
// Why the last probe failed ("" after one that succeeded).
std::string g_oProbeFailure;
}  // namespace

Q3DDevice* Q3DDeviceCreate(const char* pDllName) {
  Q3DDeviceUnload();
  g_pLibrary = platform::loadLibrary(pDllName);
  if (g_pLibrary == nullptr) return nullptr;
  auto pfnCreate = reinterpret_cast<Q3DCreateDeviceFunc>(platform::librarySymbol(g_pLibrary, "CreateDevice"));
  if (pfnCreate == nullptr) {
    // Never called through a null address: the library goes again.
    Q3DDeviceUnload();
    return nullptr;
  }
  return pfnCreate(0);
}

void Q3DDeviceUnload() {
  if (g_pLibrary == nullptr) return;
  platform::freeLibrary(g_pLibrary);
  g_pLibrary = nullptr;
}

uint32_t Q3DDeviceLoaded() { return g_pLibrary != nullptr ? 1 : 0; }

const char* vidselect_pszProbeFailure() { return g_oProbeFailure.c_str(); }

std::int32_t vidselect_bProbeRenderers() {
  g_oProbeFailure.clear();
  const bool fresh = QDLDeviceInfoLoad() != 0;
  if (const uint32_t uError = QDLSetup(); uError != 0) {
    g_oProbeFailure = "The display library could not be set up (error " + std::to_string(uError) + ").";
    return 0;
  }
  if (QDLFindMode(0, 640, 480, 16, 0) < 0) {
    // The menus open on device 0; the search takes the nearest mode, so it
    // fails only when the device has none at all.
    const QDLDeviceInfo* pInfo = QDLDeviceGet(0);
    g_oProbeFailure = pInfo == nullptr ? std::string("No display device was found.")
                                       : "The display device \"" + std::string(pInfo->name) +
                                             "\" has no display mode that it can draw in. The mode list is kept in " +
                                             QDLDeviceInfoFileName() + " and is built anew at the next start.";
    QDLShutdown();
    return 0;
  }
  vidselect_bDirect3DCapable = 0;
  vidselect_uD3DDevice = 0;
  vidselect_uD3DMode = 0;
  for (uint32_t d = 0; d < QDLDeviceCount(); ++d) {
    const QDLDeviceInfo* pInfo = QDLDeviceGet(d);
    if (pInfo == nullptr || !pInfo->hardware) continue;
    const int32_t mode = QDLFindMode(static_cast<int32_t>(d), 640, 480, 16, 0);
    vidselect_uD3DDevice = d;
    vidselect_uD3DMode = mode < 0 ? 0 : static_cast<uint32_t>(mode);
    vidselect_bDirect3DCapable = 1;
    break;
  }
  QDLShutdown();

  if (!fresh && pcinstall_uGlidePresent == 0) return 1;  // the stored choice stands

  platform::Library* pGlide = platform::loadLibrary("glide2x.dll");
  if (pGlide != nullptr) {
    platform::freeLibrary(pGlide);
    vidselect_oGlideBlock.pWindow = QDXGetMainWindow();
    vidselect_oGlideBlock.bProbe = 1;
    vidselect_oGlideBlock.bHardwareFound = 0;
    Q3DDevice* pDevice = Q3DDeviceCreate("q3dglidedll.dll");
    if (pDevice != nullptr) {
      pDevice->Initialise(&vidselect_oGlideBlock);
      pDevice->DisplayShut();
      pDevice->Destroy();
    }
    Q3DDeviceUnload();
    pcinstall_uGlidePresent = vidselect_oGlideBlock.bHardwareFound;
    vidselect_oGlideBlock.bProbe = 0;
  } else {
    pcinstall_uGlidePresent = 0;
  }

  if (!fresh) return 1;

  if (pcinstall_uGlidePresent) {
    pcinstall_uVidMode = 1;
    vidselect_oGlideBlock.uMatchWord = 0;
  } else if (vidselect_bDirect3DCapable) {
    pcinstall_uVidMode = 2;
    pcinstall_uVidDevice = vidselect_uD3DDevice;
    pcinstall_uVidRes = vidselect_uD3DMode;
  } else {
    pcinstall_uVidMode = 0;
  }
  pcinstall_TableWrite(pcinstall_aVideoValues, PCINSTALL_VIDEO_VALUES);
  return 1;
}

void vidselect_SetScreenSize() {
  switch (pcinstall_uVidMode) {
    case 0: {
      vidselect_uScreenWidth = 640;
      vidselect_uScreenHeight = 480;
      const int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
      QDLContextModeSet(&qdlContext, 0, mode < 0 ? 0 : mode, QDLOPEN_FULLSCREEN_OPT32 | QDLOPEN_OPTION2);
      break;
    }
    case 1:
      vidselect_uScreenWidth = 640;
      vidselect_uScreenHeight = 480;
      break;
    default: {
      int32_t device = static_cast<int32_t>(pcinstall_uVidDevice);
      int32_t mode = static_cast<int32_t>(pcinstall_uVidRes);
      const QDLModeList* pList = QDLModeListGet(device);
      if (pList == nullptr || mode < 0 || mode >= pList->modeCount || pList->modes[mode].bitsPerPixel != 16) {
        // A stored device or mode that no longer exists: 640 x 480 on device 0.
        device = 0;
        mode = QDLFindMode(0, 640, 480, 16, 0);
        if (mode < 0) mode = 0;
        pList = QDLModeListGet(0);
      }
      if (pList != nullptr && mode < pList->modeCount) {
        vidselect_uScreenWidth = static_cast<uint32_t>(pList->modes[mode].width);
        vidselect_uScreenHeight = static_cast<uint32_t>(pList->modes[mode].height);
      } else {
        vidselect_uScreenWidth = 640;
        vidselect_uScreenHeight = 480;
      }
      QDLContextModeSet(&qdlContext, device, mode, QDLOPEN_VIDEO_MEMORY | QDLOPEN_OPTION2);
      break;
    }
  }
}
