// The display of the Q2DX layer: the driver and its modes, the back buffer,
// window rectangles and presentation through the platform layer.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/q2dx_internal.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/window.h"

Q2DXState q2dxState = {};

namespace {

platform::Window* Win(void* p) { return static_cast<platform::Window*>(p); }

void CopyText(char* pOut, const std::string& text) {
  // Texts longer than the field are cut to fit it.
  size_t n = text.size() < 255 ? text.size() : 255;
  std::memcpy(pOut, text.data(), n);
  pOut[n] = 0;
}

void ReleaseFront() {
  Q2DXRelease(q2dxState.pFront);
  q2dxState.pFront = nullptr;
  q2dxState.frontPending = 0;
}

void ReleaseSurfaces() {
  Q2DXState& s = q2dxState;
  ReleaseFront();
  if (s.pBack && s.pBack != s.pPrimary) Q2DXRelease(s.pBack);
  if (s.pPrimary) Q2DXRelease(s.pPrimary);
  s.pBack = nullptr;
  s.pPrimary = nullptr;
}

Q2DXSurface* NewDisplaySurface(int32_t width, int32_t height, const QDLPixelFormatDesc& format,
                               uint32_t caps) {
  Q2DXSurface* p = Q2DXSurfaceCreateFormat(width, height, static_cast<int32_t>(format.bitCount),
                                           (caps & QDLCAPS_VIDEOMEMORY) ? static_cast<uint32_t>(Q2DXSURF_VIDEO) : 0u);
  if (!p) return nullptr;
  p->pixelFormat = format;
  p->caps = caps;
  p->isDisplay = 1;
  return p;
}

// The frame the platform shows for the back buffer.
bool FrameOf(Q2DXSurface* p, platform::Frame* pFrame, uint32_t* pPalette) {
  const QDLPixelFormatDesc& f = p->pixelFormat;
  pFrame->pixels = p->pixels;
  pFrame->width = p->width;
  pFrame->height = p->height;
  pFrame->pitch = p->pitch;
  pFrame->palette = nullptr;
  switch (f.bitCount) {
    case 8: {
      pFrame->layout = platform::PixelLayout::Indexed8;
      Q2DXPalette* pPal = p->palette ? p->palette : (q2dxState.pPrimary ? q2dxState.pPrimary->palette : nullptr);
      for (int i = 0; i < 256; ++i)
        pPalette[i] = pPal ? (static_cast<uint32_t>(pPal->entries[i].red) << 16) |
                                 (static_cast<uint32_t>(pPal->entries[i].green) << 8) | pPal->entries[i].blue
                           : static_cast<uint32_t>(i * 0x010101);
      pFrame->palette = pPalette;
      return true;
    }
    case 16:
      pFrame->layout = f.greenMask == 0x07E0 ? platform::PixelLayout::Rgb565 : platform::PixelLayout::Rgb555;
      return true;
    case 24: pFrame->layout = platform::PixelLayout::Rgb888; return true;
    case 32: pFrame->layout = platform::PixelLayout::Xrgb8888; return true;
    default: return false;
  }
}

// Shows a surface through the platform.
bool Show(Q2DXSurface* p) {
  platform::Frame frame;
  uint32_t palette[256];
  return FrameOf(p, &frame, palette) && platform::displayPresent(frame);
}

// Copies a surface into the front surface, made (again) in its size and format.
bool CopyToFront(Q2DXSurface* pShow) {
  Q2DXState& s = q2dxState;
  Q2DXSurface*& f = s.pFront;
  if (f && (f->width != pShow->width || f->height != pShow->height ||
            f->pixelFormat.bitCount != pShow->pixelFormat.bitCount)) {
    Q2DXRelease(f);
    f = nullptr;
  }
  if (!f) {
    f = Q2DXSurfaceCreateFormat(pShow->width, pShow->height, static_cast<int32_t>(pShow->pixelFormat.bitCount), 0);
    if (!f) return false;
  }
  f->pixelFormat = pShow->pixelFormat;
  const Q2DXRect all{0, 0, pShow->width, pShow->height};
  if (Q2DXSurfaceCopyRect(f, 0, 0, pShow, &all) != 0) return false;
  // An 8-bit frame keeps its colours.
  if (pShow->palette != f->palette) Q2DXSurfacePaletteCopy(f, pShow);
  return true;
}

void SetRects(int32_t clientW, int32_t clientH) {
  Q2DXState& s = q2dxState;
  s.clientRect = Q2DXRect{0, 0, clientW, clientH};
  s.destRect = Q2DXRect{s.originX, s.originY, s.originX + clientW, s.originY + clientH};
}

// Windowed steps 1-5: style, window size, rectangles, display size and format.
uint32_t WindowedCommon(void* pWindow, int32_t width, int32_t height, uint32_t option) {
  Q2DXState& s = q2dxState;
  if (!s.setUp || !pWindow || width <= 0 || height <= 0) return 1;
  s.pWindow = pWindow;
  s.fullScreen = 0;
  platform::setWindowFrame(Win(pWindow), false);
  if (!platform::displayOpen(Win(pWindow), width, height, false)) {
    s.lastResult = Q2DX_E_FAIL;
    return 1;
  }
  int cw = width, ch = height;
  platform::windowSize(Win(pWindow), &cw, &ch);
  if (cw <= 0 || ch <= 0) {
    cw = width;
    ch = height;
  }
  s.originX = 0;
  s.originY = 0;
  SetRects(cw, ch);
  s.displayWidth = cw;
  s.displayHeight = ch;
  s.displayBits = s.desktopBits;
  s.displayFormat = s.desktopFormat;
  s.backWidth = cw;
  s.backHeight = ch;
  s.sourceRect = Q2DXRect{0, 0, cw, ch};
  s.currentDriver = -1;
  s.currentMode = -1;
  s.sameSize = 1;
  s.modeOption = option;
  return 0;
}

uint32_t CreateFullScreenSurfaces(uint32_t option) {
  Q2DXState& s = q2dxState;
  s.singleBuffer = 0;
  if (s.sameSize && !s.sysMemBack && (option & Q2DXOPT_SINGLE)) {
    s.pPrimary = NewDisplaySurface(s.displayWidth, s.displayHeight, s.displayFormat, QDLCAPS_VIDEOMEMORY);
    if (!s.pPrimary) return 1;
    s.pBack = s.pPrimary;
    s.singleBuffer = 1;
  } else {
    s.pPrimary = NewDisplaySurface(s.displayWidth, s.displayHeight, s.displayFormat, QDLCAPS_VIDEOMEMORY);
    s.pBack = NewDisplaySurface(s.backWidth, s.backHeight, s.displayFormat,
                                s.sysMemBack ? QDLCAPS_SYSTEMMEMORY : QDLCAPS_VIDEOMEMORY);
    if (!s.pPrimary || !s.pBack) {
      ReleaseSurfaces();
      return 1;
    }
  }
  s.destRect = Q2DXRect{0, 0, s.displayWidth, s.displayHeight};
  s.sourceRect = Q2DXRect{0, 0, s.backWidth, s.backHeight};
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Set-up and drivers.

uint32_t Q2DXSetup(void* pInstance) {
  if (q2dxState.setUp) return 0;
  q2dxState.pInstance = pInstance;
  q2dxState.currentDriver = -1;
  q2dxState.currentMode = -1;
  Q2DXDesktopModeRead();
  q2dxState.setUp = 1;
  return 0;
}

uint32_t Q2DXIsSetUp() { return q2dxState.setUp; }

uint32_t Q2DXDesktopModeRead() {
  platform::DisplayMode d = platform::desktopMode();
  q2dxState.desktopWidth = d.width;
  q2dxState.desktopHeight = d.height;
  q2dxState.desktopBits = d.bits;
  Q2DXFormatForBits(d.bits, &q2dxState.desktopFormat);
  q2dxState.lastResult = Q2DX_OK;
  return 0;
}

int Q2DXModeCompare(const Q2DXMode* pA, const Q2DXMode* pB) {
  if (pA->bitsPerPixel != pB->bitsPerPixel) return pA->bitsPerPixel > pB->bitsPerPixel ? -1 : 1;
  if (pA->width != pB->width) return pA->width > pB->width ? -1 : 1;
  if (pA->height != pB->height) return pA->height > pB->height ? -1 : 1;
  return 0;
}

void Q2DXModesSort(Q2DXMode* pModes, uint32_t count) {
  if (!pModes) return;
  std::stable_sort(pModes, pModes + count,
                   [](const Q2DXMode& a, const Q2DXMode& b) { return Q2DXModeCompare(&a, &b) < 0; });
}

uint32_t Q2DXDriversEnumerate() {
  Q2DXDriversFree();
  if (!q2dxState.desktopBits) Q2DXDesktopModeRead();
  // One driver: the platform's display.
  Q2DXDriver* pDrivers = static_cast<Q2DXDriver*>(std::calloc(1, sizeof(Q2DXDriver)));
  if (!pDrivers) return 1;
  q2dxState.pDrivers = pDrivers;
  q2dxState.driverCount = 1;
  Q2DXDriver& d = pDrivers[0];
  d.pGuid = nullptr;
  CopyText(d.description, "Korvena display");
  CopyText(d.name, platform::displayDriverName());
  platform::displayIdentifier(d.deviceIdentifier);
  std::vector<platform::DisplayMode> modes = platform::displayModes();
  if (!modes.empty()) {
    d.modes = static_cast<Q2DXMode*>(std::calloc(modes.size(), sizeof(Q2DXMode)));
    if (!d.modes) return 1;
    d.modeCount = static_cast<uint32_t>(modes.size());
    for (size_t i = 0; i < modes.size(); ++i) {
      d.modes[i].width = static_cast<uint32_t>(modes[i].width);
      d.modes[i].height = static_cast<uint32_t>(modes[i].height);
      d.modes[i].bitsPerPixel = static_cast<uint32_t>(modes[i].bits);
    }
    Q2DXModesSort(d.modes, d.modeCount);
  }
  return 0;
}

void Q2DXDriversFree() {
  for (uint32_t i = 0; i < q2dxState.driverCount; ++i) {
    std::free(q2dxState.pDrivers[i].pGuid);
    std::free(q2dxState.pDrivers[i].modes);
  }
  std::free(q2dxState.pDrivers);
  q2dxState.pDrivers = nullptr;
  q2dxState.driverCount = 0;
}

uint32_t Q2DXDriverCount() { return q2dxState.driverCount; }

Q2DXDriver* Q2DXDriverGet(uint32_t index) {
  return index < q2dxState.driverCount ? &q2dxState.pDrivers[index] : nullptr;
}

int32_t Q2DXFindModeIn(const Q2DXMode* pModes, uint32_t count, int32_t width, int32_t height,
                       int32_t bits, uint32_t option) {
  if (!pModes || count == 0) return -1;
  if (option & Q2DXOPT_EXACT) {
    for (uint32_t i = 0; i < count; ++i)
      if (static_cast<int32_t>(pModes[i].width) == width && static_cast<int32_t>(pModes[i].height) == height &&
          static_cast<int32_t>(pModes[i].bitsPerPixel) == bits)
        return static_cast<int32_t>(i);
    return -1;
  }
  auto dist = [](uint32_t a, int32_t b) {
    int64_t d = static_cast<int64_t>(a) - b;
    return d < 0 ? -d : d;
  };
  int64_t best = 65536;
  int32_t bestWidth = -1;
  for (uint32_t i = 0; i < count; ++i)
    if (dist(pModes[i].width, width) < best) {
      best = dist(pModes[i].width, width);
      bestWidth = static_cast<int32_t>(pModes[i].width);
    }
  if (bestWidth < 0) return -1;
  best = 65536;
  int32_t bestHeight = -1;
  for (uint32_t i = 0; i < count; ++i)
    if (static_cast<int32_t>(pModes[i].width) == bestWidth && dist(pModes[i].height, height) < best) {
      best = dist(pModes[i].height, height);
      bestHeight = static_cast<int32_t>(pModes[i].height);
    }
  if (bestHeight < 0) return -1;
  best = 65536;
  int32_t found = -1;
  for (uint32_t i = 0; i < count; ++i)
    if (static_cast<int32_t>(pModes[i].width) == bestWidth &&
        static_cast<int32_t>(pModes[i].height) == bestHeight && dist(pModes[i].bitsPerPixel, bits) < best) {
      best = dist(pModes[i].bitsPerPixel, bits);
      found = static_cast<int32_t>(i);
    }
  return found;
}

int32_t Q2DXFindMode(int32_t driver, int32_t width, int32_t height, int32_t bits, uint32_t option) {
  if (driver < 0 || static_cast<uint32_t>(driver) >= q2dxState.driverCount) return -1;
  const Q2DXDriver& d = q2dxState.pDrivers[driver];
  return Q2DXFindModeIn(d.modes, d.modeCount, width, height, bits, option);
}

uint32_t Q2DXShutdown() {
  Q2DXState& s = q2dxState;
  if (!s.setUp) return 0;
  ReleaseSurfaces();
  platform::displayClose();
  Q2DXDriversFree();
  Q2DXPaletteRelease(s.pPalette);
  s = Q2DXState{};
  s.currentDriver = -1;
  s.currentMode = -1;
  return 0;
}

// ---------------------------------------------------------------------------
// Display set-up.

uint32_t Q2DXInitWindowed(void* pWindow, int32_t width, int32_t height, uint32_t option) {
  if (WindowedCommon(pWindow, width, height, option) != 0) return 1;
  Q2DXState& s = q2dxState;
  ReleaseSurfaces();
  s.singleBuffer = 0;
  s.sysMemBack = (option & Q2DXOPT_VIDEO_BACK) ? 0 : 1;
  s.pPrimary = nullptr;  // the window itself
  s.pBack = NewDisplaySurface(s.backWidth, s.backHeight, s.displayFormat,
                              s.sysMemBack ? QDLCAPS_SYSTEMMEMORY : QDLCAPS_VIDEOMEMORY);
  return s.pBack ? 0 : 1;
}

uint32_t Q2DXResizePrimaryWindowed(void* pWindow, int32_t width, int32_t height, uint32_t option) {
  if (WindowedCommon(pWindow, width, height, option) != 0) return 1;
  Q2DXState& s = q2dxState;
  ReleaseFront();
  if (s.pBack && s.pBack != s.pPrimary) Q2DXRelease(s.pBack);
  s.pBack = NewDisplaySurface(s.backWidth, s.backHeight, s.displayFormat,
                              (option & Q2DXOPT_VIDEO_BACK) ? QDLCAPS_VIDEOMEMORY : QDLCAPS_SYSTEMMEMORY);
  return s.pBack ? 0 : 1;
}

uint32_t Q2DXInitFullScreenMode(void* pWindow, int32_t driver, int32_t mode, int32_t width,
                                int32_t height, uint32_t option) {
  Q2DXState& s = q2dxState;
  if (!s.setUp || !pWindow || driver < 0 || static_cast<uint32_t>(driver) >= s.driverCount) return 1;
  const Q2DXDriver& d = s.pDrivers[driver];
  if (mode < 0 || static_cast<uint32_t>(mode) >= d.modeCount) return 1;
  if (option & Q2DXOPT_SINGLE) width = height = 0;
  const Q2DXMode& m = d.modes[mode];
  s.pWindow = pWindow;
  s.fullScreen = 1;
  ReleaseSurfaces();
  s.displayWidth = static_cast<int32_t>(m.width);
  s.displayHeight = static_cast<int32_t>(m.height);
  s.displayBits = static_cast<int32_t>(m.bitsPerPixel);
  Q2DXFormatForBits(s.displayBits, &s.displayFormat);
  s.modeOption = 0;
  s.currentDriver = driver;
  s.currentMode = mode;
  s.backWidth = width ? width : s.displayWidth;
  s.backHeight = height ? height : s.displayHeight;
  s.sameSize = (s.backWidth == s.displayWidth && s.backHeight == s.displayHeight) ? 1 : 0;
  s.sysMemBack = (s.sysMemBlit || (option & Q2DXOPT_SYSMEM_BACK)) ? 1 : 0;
  // The platform shows the back buffer scaled to the screen; its shape is kept.
  if (!platform::displayOpen(Win(pWindow), s.displayWidth, s.displayHeight, true)) {
    s.lastResult = Q2DX_E_FAIL;
    return 1;
  }
  if (CreateFullScreenSurfaces(option) != 0) return 1;
  s.originX = 0;
  s.originY = 0;
  s.clientRect = Q2DXRect{0, 0, s.displayWidth, s.displayHeight};
  return 0;
}

uint32_t Q2DXInitFullScreen(void* pWindow, int32_t width, int32_t height, int32_t bits, uint32_t option) {
  int32_t mode = Q2DXFindMode(0, width, height, bits, option);
  if (mode < 0) return 1;
  return Q2DXInitFullScreenMode(pWindow, 0, mode, 0, 0, 0) != 0 ? 1 : 0;
}

uint32_t Q2DXChangeFullScreenMode(int32_t mode, int32_t width, int32_t height, uint32_t option) {
  Q2DXState& s = q2dxState;
  if (!s.setUp || s.currentDriver < 0) return 1;
  const Q2DXDriver& d = s.pDrivers[s.currentDriver];
  if (mode < 0 || static_cast<uint32_t>(mode) >= d.modeCount) return 1;
  return Q2DXInitFullScreenMode(s.pWindow, s.currentDriver, mode, width, height, option);
}

uint32_t Q2DXWindowRectsUpdate(void* pWindow) {
  Q2DXState& s = q2dxState;
  if (!pWindow) return 1;
  int cw = 0, ch = 0;
  platform::windowSize(Win(pWindow), &cw, &ch);
  SetRects(cw, ch);
  s.sameSize = (s.backWidth == s.displayWidth && s.backHeight == s.displayHeight) ? 1 : 0;
  return 0;
}

uint32_t Q2DXWindowSizeSet(void* pWindow, int32_t width, int32_t height) {
  if (!pWindow || width <= 0 || height <= 0) return 1;
  if (!platform::displayOpen(Win(pWindow), width, height, false)) return 1;
  return Q2DXWindowRectsUpdate(pWindow);
}

uint32_t Q2DXSurfacesRecreate() {
  Q2DXState& s = q2dxState;
  if (!s.setUp) return 1;
  if (!s.fullScreen) {
    if (s.pBack) return 0;
    s.pBack = NewDisplaySurface(s.backWidth, s.backHeight, s.displayFormat, QDLCAPS_SYSTEMMEMORY);
    return s.pBack ? 0 : 1;
  }
  ReleaseSurfaces();
  return CreateFullScreenSurfaces(s.singleBuffer ? static_cast<uint32_t>(Q2DXOPT_SINGLE) : 0u);
}

uint32_t Q2DXSurfacesRelease() {
  if (!q2dxState.fullScreen) return 1;
  ReleaseSurfaces();
  return 0;
}

// ---------------------------------------------------------------------------
// Presentation.

uint32_t Q2DXFlip(uint32_t flipOption) {
  Q2DXState& s = q2dxState;
  if (s.destRect.left == s.destRect.right) return 0;
  if (!s.setUp) {
    s.lastResult = Q2DX_E_FAIL;
    return Q2DX_E_FAIL;
  }
  Q2DXSurface* pShow = s.pBack ? s.pBack : s.pPrimary;
  if (!pShow) {
    s.lastResult = Q2DX_E_FAIL;
    return Q2DX_E_FAIL;
  }
  if (s.frontMode) {
    // The front surface takes the frame; it is shown at the end of the present.
    if (!CopyToFront(pShow)) {
      s.lastResult = Q2DX_E_FAIL;
      return Q2DX_E_FAIL;
    }
    s.frontPending = 1;
  } else if (!Show(pShow)) {
    s.lastResult = Q2DX_E_FAIL;
    return Q2DX_E_FAIL;
  }
  s.lastResult = Q2DX_OK;
  Q2DXFrameRateUpdate();
  return Q2DXPostFlipClear(flipOption);
}

void Q2DXFrontModeSet(uint32_t on) {
  q2dxState.frontMode = on ? 1 : 0;
  if (!on) ReleaseFront();
}

uint32_t Q2DXFrontMode() { return q2dxState.frontMode; }
Q2DXSurface* Q2DXFrontBuffer() { return q2dxState.pFront; }

uint32_t Q2DXFrontShow(uint32_t force) {
  Q2DXState& s = q2dxState;
  if (!s.frontMode || !s.pFront || (!force && !s.frontPending)) return 0;
  s.frontPending = 0;
  if (!Show(s.pFront)) {
    s.lastResult = Q2DX_E_FAIL;
    return Q2DX_E_FAIL;
  }
  return 0;
}

uint32_t Q2DXPostFlipClear(uint32_t flipOption) {
  Q2DXState& s = q2dxState;
  if (!(flipOption & Q2DXFLIP_CLEAR)) return 0;
  if (s.pBack) Q2DXSurfaceFill(s.pBack, 0);
  // There is no z-buffer of this layer to fill: option 4 changes nothing.
  return 0;
}

uint32_t Q2DXClearSurfaces() {
  Q2DXState& s = q2dxState;
  if (s.pBack) Q2DXSurfaceFill(s.pBack, 0);
  if (s.fullScreen && !s.singleBuffer && s.pPrimary) Q2DXSurfaceFill(s.pPrimary, 0);
  s.lastResult = Q2DX_OK;
  return s.lastResult;
}

uint32_t Q2DXFlipToGDI() { return 0; }

Q2DXSurface* Q2DXBackBuffer() { return q2dxState.pBack; }
uint32_t Q2DXIsFullScreen() { return q2dxState.fullScreen; }
uint32_t Q2DXLastResult() { return q2dxState.lastResult; }
void Q2DXDisplaySize(int32_t* pWidth, int32_t* pHeight, int32_t* pBits) {
  if (pWidth) *pWidth = q2dxState.displayWidth;
  if (pHeight) *pHeight = q2dxState.displayHeight;
  if (pBits) *pBits = q2dxState.displayBits;
}
void Q2DXDesktopMode(int32_t* pWidth, int32_t* pHeight, int32_t* pBits) {
  if (pWidth) *pWidth = q2dxState.desktopWidth;
  if (pHeight) *pHeight = q2dxState.desktopHeight;
  if (pBits) *pBits = q2dxState.desktopBits;
}
Q2DXRect Q2DXDestRect() { return q2dxState.destRect; }
Q2DXRect Q2DXSourceRect() { return q2dxState.sourceRect; }
int32_t Q2DXCurrentDriver() { return q2dxState.currentDriver; }
int32_t Q2DXCurrentMode() { return q2dxState.currentMode; }

// ---------------------------------------------------------------------------
// Frame-rate meter.

void Q2DXFrameRateReset() {
  q2dxState.rateLastMs = platform::nowNs() / 1000000u;
  q2dxState.rateCalls = 0;
  q2dxState.rateFrames = 0;
  q2dxState.rate = 0.0f;
}

void Q2DXFrameRateUpdate() {
  Q2DXState& s = q2dxState;
  s.rateFrames++;
  if (++s.rateCalls % 100 != 0) return;
  uint64_t now = platform::nowNs() / 1000000u;
  uint64_t elapsed = now - s.rateLastMs;
  if (elapsed > 0) s.rate = static_cast<float>(s.rateFrames) / (static_cast<float>(elapsed) * 0.001f);
  s.rateLastMs = now;
  s.rateFrames = 0;
}

float Q2DXFrameRate() { return q2dxState.rate; }
