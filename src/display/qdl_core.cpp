// Set-up and shut-down of the display library, opening the display, the
// mode search, and the window and activation hooks.
#include <cstdlib>
#include <cstring>

#include "display/q2dx_internal.h"
#include "display/qdl_bank.h"
#include "display/qdl_device.h"
#include "display/qdl_internal.h"
#include "display/qdl_palette.h"
#include "display/qdl_pointer.h"
#include "display/qdl_present.h"
#include "framework/qdx_input.h"
#include "framework/qdx_window.h"
#include "platform/messagebox.h"
#include "platform/window.h"

namespace {

QDXMessageHookNode* g_pWindowHookNode = nullptr;
QDXMessageHookNode* g_pActivateHookNode = nullptr;
QDLPointerShownFunc g_pfnPointerShown = nullptr;
QDLPointerShowFunc g_pfnPointerShow = nullptr;

void FreeModeLists() {
  for (int32_t i = 0; i < qdlGlobals.modeListCount; ++i) std::free(qdlGlobals.pModeLists[i].modes);
  std::free(qdlGlobals.pModeLists);
  qdlGlobals.pModeLists = nullptr;
  qdlGlobals.modeListCount = 0;
}

void RemoveHooks() {
  if (g_pWindowHookNode) QDXRemoveWindowHook(g_pWindowHookNode);
  if (g_pActivateHookNode) QDXRemoveActivateHook(g_pActivateHookNode);
  g_pWindowHookNode = nullptr;
  g_pActivateHookNode = nullptr;
  qdlGlobals.hooksAdded = 0;
}

int64_t WindowHookAdapter(QDXMessageHookNode*, platform::Window* pWindow, uint32_t message, uint64_t wParam,
                          int64_t lParam, int64_t result) {
  return QDLWindowHook(pWindow, message, wParam, lParam, result);
}

int64_t ActivateHookAdapter(QDXMessageHookNode*, platform::Window*, uint32_t, uint64_t wParam, int64_t,
                            int64_t result) {
  QDLActivateHook(wParam != 0 ? 1u : 0u);
  return result;
}

// Step 6 of opening: the display record from the back buffer.
void FillDisplayRecord(QDLSurface* p, int32_t width, int32_t height, uint32_t flags) {
  QDLSurfaceWrap(p, Q2DXBackBuffer(), width, height,
                 QDLSURF_DISPLAY | ((flags & QDLOPEN_VIDEO_MEMORY) ? QDLSURF_VIDEO : 0u));
}

}  // namespace

void QDLPointerActivationSet(QDLPointerShownFunc pfnShown, QDLPointerShowFunc pfnShow) {
  g_pfnPointerShown = pfnShown;
  g_pfnPointerShow = pfnShow;
}

QDLSurface* QDLDisplaySurface() { return qdlGlobals.pDisplay; }
int32_t QDLCurrentDevice() { return qdlGlobals.device; }
int32_t QDLCurrentMode() { return qdlGlobals.mode; }
uint32_t QDLIsSetUp() { return qdlGlobals.setUp; }
uint32_t QDLIsDisplayOpen() { return qdlGlobals.setUp && !qdlGlobals.displayNotOpen; }
uint32_t QDLIsInactive() { return qdlGlobals.inactive; }
uint32_t QDLIsFullScreen() { return qdlGlobals.fullScreen; }
int32_t QDLModeListCount() { return qdlGlobals.modeListCount; }

const QDLModeList* QDLModeListGet(int32_t device) {
  if (device < 0 || device >= qdlGlobals.modeListCount) return nullptr;
  return &qdlGlobals.pModeLists[device];
}

uint32_t QDLSetup() {
  if (qdlGlobals.setUp) return QDL_OK;
  QDLSurfacePoolInit();
  QDLPalettePoolInit();
  QDLSpriteBankPoolInit();
  uint32_t result = QDLDeviceLayerInit(QDXGetInstance());
  if (result != 0 && result != QDL_ERR_ALREADY) return result;
  uint32_t count = QDLDeviceCount();
  FreeModeLists();
  if (count) {
    qdlGlobals.pModeLists = static_cast<QDLModeList*>(std::calloc(count, sizeof(QDLModeList)));
    if (!qdlGlobals.pModeLists) return QDL_ERR_NO_MEMORY;
    qdlGlobals.modeListCount = static_cast<int32_t>(count);
    for (uint32_t i = 0; i < count; ++i) {
      const QDLDeviceInfo* d = QDLDeviceGet(i);
      QDLModeList& l = qdlGlobals.pModeLists[i];
      l.deviceId = d->guid[0] | (d->guid[1] << 8) | (d->guid[2] << 16) | (static_cast<uint32_t>(d->guid[3]) << 24);
      l.driverIndex = d->driverIndex;
      if (d->modeCount) {
        l.modes = static_cast<QDLMode*>(std::calloc(d->modeCount, sizeof(QDLMode)));
        if (!l.modes) {
          FreeModeLists();
          return QDL_ERR_NO_MEMORY;
        }
        l.modeCount = static_cast<int32_t>(d->modeCount);
        for (uint32_t m = 0; m < d->modeCount; ++m) {
          l.modes[m].width = static_cast<int32_t>(d->modes[m].width);
          l.modes[m].height = static_cast<int32_t>(d->modes[m].height);
          l.modes[m].bitsPerPixel = static_cast<int32_t>(d->modes[m].bitsPerPixel);
        }
      }
    }
  }
  qdlGlobals.defaultKeyIndex = 0;
  qdlGlobals.defaultKeyR = qdlGlobals.defaultKeyG = qdlGlobals.defaultKeyB = 0;
  qdlGlobals.pDisplay = nullptr;
  QDLPresentHooksInit();
  QDLPresentFunctionSet(QDLFlip);
  qdlGlobals.setUp = 1;
  qdlGlobals.displayNotOpen = 1;
  qdlGlobals.inactive = 0;
  qdlGlobals.frameCounter1 = 0;
  qdlGlobals.frameCounter2 = 0;
  return QDL_OK;
}

uint32_t QDLShutdown() {
  if (!qdlGlobals.setUp) return QDL_OK;
  // The pointer's timer callback stops before its surfaces go.
  QDLPointerShutdown();
  RemoveHooks();
  qdlGlobals.displayNotOpen = 1;
  QDLPresentHooksFree();
  QDLSpriteBankFreeAll();
  QDLPaletteFreeAll();
  QDLSurfaceFreeAll();
  FreeModeLists();
  QDLDeviceLayerShutdown();
  qdlGlobals.pDisplay = nullptr;
  qdlGlobals.device = -1;
  qdlGlobals.mode = -1;
  qdlGlobals.inactive = 0;
  platform::Window* pWindow = QDXGetMainWindow();
  if (pWindow) {
    if (qdlGlobals.keepWindow) QDXMaximiseWindow(pWindow);
    else QDXHideWindow(pWindow);
  }
  qdlGlobals.setUp = 0;
  return QDL_OK;
}

int32_t QDLFindMode(int32_t device, int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  const QDLModeList* l = QDLModeListGet(device);
  if (!l || l->modeCount <= 0) return -1;
  // The mode search over the device's list, exactly as the Q2DX layer's.
  Q2DXMode stack[64];
  Q2DXMode* pModes = l->modeCount <= 64 ? stack
                                        : static_cast<Q2DXMode*>(std::calloc(l->modeCount, sizeof(Q2DXMode)));
  if (!pModes) return -1;
  for (int32_t i = 0; i < l->modeCount; ++i)
    pModes[i] = Q2DXMode{static_cast<uint32_t>(l->modes[i].width), static_cast<uint32_t>(l->modes[i].height),
                         static_cast<uint32_t>(l->modes[i].bitsPerPixel), 0, 0, 0};
  int32_t found = Q2DXFindModeIn(pModes, static_cast<uint32_t>(l->modeCount), width, height, bits, flags & 1u);
  if (pModes != stack) std::free(pModes);
  return found;
}

uint32_t QDLSetWindowStyle(uint32_t fullScreen) {
  platform::Window* pWindow = QDXGetMainWindow();
  if (!pWindow) return 0;
  if (fullScreen) {
    // Pop-up and visible.
    QDXSetWindowFrame(1);
    QDXShowWindow(pWindow);
  } else {
    QDXShowWindow(pWindow);
    QDXSetWindowFrame(0);
  }
  return 1;
}

void QDLKeepWindowOnShutdown() { qdlGlobals.keepWindow = 1; }

uint32_t QDLErrorBox(const char* pText) {
  Q2DXFlipToGDI();
  platform::messageBox(QDXGetMainWindow(), pText ? pText : "", "QDX Error", platform::MessageIcon::Stop);
  return 0;
}

uint32_t QDLFrameCountersGet(uint32_t* pSecond) {
  if (pSecond) *pSecond = qdlGlobals.frameCounter2;
  return qdlGlobals.frameCounter1;
}

void QDLPostQuit() { platform::postQuit(0); }

QDLSurface* QDLOpenDisplay(int32_t device, int32_t mode, uint32_t flags) {
  if (!qdlGlobals.setUp) return nullptr;
  bool fullScreen = (flags & QDLOPEN_WINDOWED) == 0;
  platform::Window* pWindow = QDXGetMainWindow();
  uint32_t option = (flags & QDLOPEN_VIDEO_MEMORY) ? Q2DXOPT_VIDEO_BACK : 0u;
  if (flags & QDLOPEN_OPTION2) option = (flags & QDLOPEN_VIDEO_MEMORY) ? 10u : 2u;

  if (qdlGlobals.pDisplay && !qdlGlobals.displayNotOpen) {
    // Re-opening: the current device is kept; views of the display are rescaled.
    device = qdlGlobals.device;
    const QDLModeList* l = QDLModeListGet(device);
    if (!l || mode < 0 || mode >= l->modeCount) return nullptr;
    QDLSurface* pDisplay = qdlGlobals.pDisplay;
    int32_t newW = l->modes[mode].width, newH = l->modes[mode].height;
    if (fullScreen) {
      QDLErrorBox("Resizing of FullScreen modes currently not supported");
      return nullptr;
    }
    if (Q2DXResizePrimaryWindowed(pWindow, newW, newH, option) == 1) {
      QDLErrorBox("Error calling Q2DXResizePrimaryWindowed");
      return nullptr;
    }
    double sx = pDisplay->width ? static_cast<double>(newW) / pDisplay->width : 1.0;
    double sy = pDisplay->height ? static_cast<double>(newH) / pDisplay->height : 1.0;
    for (QDLSurface* v = QDLSurfaceFirst(); v; v = reinterpret_cast<QDLSurface*>(v->links.pNext)) {
      if (!(v->flags & QDLSURF_VIEW) || v->parent != pDisplay) continue;
      v->width = static_cast<int32_t>(v->width * sx);
      v->height = static_cast<int32_t>(v->height * sy);
      v->viewX = static_cast<int32_t>(v->viewX * sx);
      v->viewY = static_cast<int32_t>(v->viewY * sy);
    }
    FillDisplayRecord(pDisplay, newW, newH, flags);
    for (QDLSurface* v = QDLSurfaceFirst(); v; v = reinterpret_cast<QDLSurface*>(v->links.pNext))
      if ((v->flags & QDLSURF_VIEW) && v->parent == pDisplay) {
        v->ddSurface = pDisplay->ddSurface;
        v->locked = 0;
        v->lockCount = 0;
        v->pixels = nullptr;
      }
    qdlGlobals.mode = mode;
    return pDisplay;
  }

  const QDLModeList* l = QDLModeListGet(device);
  if (!l || mode < 0 || mode >= l->modeCount) {
    QDLErrorBox("Error calling Q2DXFindMode");
    return nullptr;
  }
  const QDLMode& m = l->modes[mode];
  qdlGlobals.displayNotOpen = 1;
  if (!qdlGlobals.hooksAdded) {
    g_pWindowHookNode = QDXAddWindowHook(WindowHookAdapter);
    g_pActivateHookNode = QDXAddActivateHook(ActivateHookAdapter);
    qdlGlobals.hooksAdded = 1;
  }
  qdlGlobals.fullScreen = fullScreen ? 1 : 0;
  QDLSetWindowStyle(qdlGlobals.fullScreen);
  if (!fullScreen) {
    uint32_t r = Q2DXInitWindowed(pWindow, m.width, m.height, option);
    if (r != 0 && (flags & QDLOPEN_VIDEO_MEMORY))
      r = Q2DXInitWindowed(pWindow, m.width, m.height, option & ~static_cast<uint32_t>(Q2DXOPT_VIDEO_BACK));
    if (r != 0) {
      QDLErrorBox("Error calling Q2DXInitWindowed");
      return nullptr;
    }
  } else {
    int32_t driver = static_cast<int32_t>(l->driverIndex);
    int32_t found = Q2DXFindMode(driver, m.width, m.height, m.bitsPerPixel, option | 1u);
    if (found == -1) {
      QDLErrorBox("Error calling Q2DXFindMode");
      return nullptr;
    }
    if (flags & QDLOPEN_FULLSCREEN_OPT32) option = (option & ~static_cast<uint32_t>(Q2DXOPT_VIDEO_BACK)) | Q2DXOPT_SYSMEM_BACK;
    if (Q2DXInitFullScreenMode(pWindow, driver, found, 0, 0, option) != 0) {
      QDLErrorBox("Error calling Q2DXInitFullScreenMode");
      return nullptr;
    }
  }
  QDLSurfacePoolInit();
  QDLSurface* p = static_cast<QDLSurface*>(QDLPoolAdd(&qdlGlobals.surfacePool));
  if (!p) return nullptr;
  qdlGlobals.displayNotOpen = 0;
  FillDisplayRecord(p, m.width, m.height, flags);
  qdlGlobals.device = device;
  qdlGlobals.mode = mode;
  qdlGlobals.pDisplay = p;
  Q2DXFrameRateReset();
  return p;
}

int64_t QDLWindowHook(platform::Window* pWindow, uint32_t message, uint64_t wParam, int64_t lParam, int64_t result) {
  bool full = qdlGlobals.fullScreen != 0;
  switch (message) {
    case platform::kMsgDestroy:
      platform::postQuit(0);
      return result;
    case platform::kMsgMove:
    case platform::kMsgSize:
      if (full) return 0;
      if (qdlGlobals.pDisplay) Q2DXWindowRectsUpdate(pWindow);
      return result;
    case platform::kMsgActivate:
      if (qdlGlobals.displayNotOpen) return 0;
      return result;
    case platform::kMsgPaint:
      return full ? 0 : result;
    case platform::kMsgEraseBackground:
      return full ? 65535 : result;
    default:
      return result;
  }
}

void QDLActivateHook(uint32_t active) {
  if (!qdlGlobals.setUp || qdlGlobals.displayNotOpen) return;
  if (!active) {
    if (qdlGlobals.inactive) return;
    for (QDLSurface* p = QDLSurfaceFirst(); p; p = reinterpret_cast<QDLSurface*>(p->links.pNext))
      p->restorePending = 1;
    qdlGlobals.inactive = 1;
    qdlGlobals.pointerWasShown = 0;
    if (g_pfnPointerShown && g_pfnPointerShown()) {
      qdlGlobals.pointerWasShown = 1;
      if (g_pfnPointerShow) g_pfnPointerShow(0);
    }
    qdlGlobals.keyboardWasAcquired = 1;
    QKeyboardUnacquire();
    return;
  }
  if (!qdlGlobals.inactive) return;
  qdlGlobals.inactive = 0;
  // Our surfaces are never lost: there is nothing to restore in a loop, and
  // the restore callbacks run once.
  QDLRestoreSurfaces();
  if (qdlGlobals.pointerWasShown && g_pfnPointerShow) g_pfnPointerShow(1);
  if (qdlGlobals.keyboardWasAcquired) QKeyboardAcquire();
  qdlGlobals.pointerWasShown = 0;
  qdlGlobals.keyboardWasAcquired = 0;
  Q2DXClearSurfaces();
}

void QDLDisplaySurfacesRelease() { Q2DXSurfacesRelease(); }

void QDLDisplaySurfacesRecreate() {
  Q2DXSurfacesRecreate();
  QDLSurface* p = qdlGlobals.pDisplay;
  if (!p) return;
  uint32_t video = p->flags & QDLSURF_VIDEO;
  FillDisplayRecord(p, p->width, p->height, video ? static_cast<uint32_t>(QDLOPEN_VIDEO_MEMORY) : 0u);
}
