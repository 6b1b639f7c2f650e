#pragma once
// The 2D display library (QDL): set-up, the display, surfaces and colours.
#include <cstdint>

#include "display/qdl_types.h"

// ---------------------------------------------------------------------------
// Set-up and the display.

// Flags of QDLOpenDisplay.
enum : uint32_t {
  QDLOPEN_FULLSCREEN_OPT32 = 4,  // full screen: Q2DX option 32 in place of 8
  QDLOPEN_WINDOWED = 8,          // windowed (else full screen)
  QDLOPEN_OPTION2 = 32,          // Q2DX option 2
  QDLOPEN_VIDEO_MEMORY = 64,     // back buffer in video memory
};

uint32_t QDLSetup();
uint32_t QDLShutdown();
QDLSurface* QDLOpenDisplay(int32_t device, int32_t mode, uint32_t flags);
int32_t QDLFindMode(int32_t device, int32_t width, int32_t height, int32_t bits, uint32_t flags);
uint32_t QDLSetWindowStyle(uint32_t fullScreen);
void QDLKeepWindowOnShutdown();
uint32_t QDLErrorBox(const char* pText);
uint32_t QDLFrameCountersGet(uint32_t* pSecond);
void QDLDisplaySurfacesRelease();
void QDLDisplaySurfacesRecreate();
void QDLPostQuit();
void QDLActivateHook(uint32_t active);
namespace platform {
struct Window;
}
// The library's window-message hook: returns the result to pass on.
int64_t QDLWindowHook(platform::Window* pWindow, uint32_t message, uint64_t wParam, int64_t lParam, int64_t result);

// Library state that other modules and tests read.
QDLSurface* QDLDisplaySurface();       // null until a display is opened
int32_t QDLCurrentDevice();            // -1 until a display is opened
int32_t QDLCurrentMode();
uint32_t QDLIsSetUp();
uint32_t QDLIsDisplayOpen();
uint32_t QDLIsInactive();
uint32_t QDLIsFullScreen();

// The software pointer's part in deactivation: the display library hides a
// shown pointer while the program is in the background and shows it again
// afterwards. The pointer module installs its two operations here.
typedef uint32_t (*QDLPointerShownFunc)();
typedef void (*QDLPointerShowFunc)(uint32_t show);
void QDLPointerActivationSet(QDLPointerShownFunc pfnShown, QDLPointerShowFunc pfnShow);

// Modes of one device, in the device layer's order.
struct QDLModeList {
  uint32_t deviceId;
  uint32_t driverIndex;
  int32_t modeCount;
  QDLMode* modes;
};
int32_t QDLModeListCount();
const QDLModeList* QDLModeListGet(int32_t device);

// ---------------------------------------------------------------------------
// Surfaces.
QDLSurface* QDLSurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags);
QDLSurface* QDLSurfaceWrap(void* pPixelsOrSurface, int32_t width, int32_t height, int32_t bits,
                           uint32_t flags);
QDLSurface* QDLSurfaceCreateView(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width,
                                 int32_t height, uint32_t flags);
uint32_t QDLSurfaceMoveView(QDLSurface* pView, int32_t x, int32_t y, int32_t width, int32_t height);
uint32_t QDLSurfaceCopyRecord(QDLSurface* pRecord, QDLSurface* pSource);
uint32_t QDLSurfaceFree(QDLSurface* pSurface);
uint32_t QDLSurfaceLock(QDLSurface* pSurface);
uint32_t QDLSurfaceUnlock(QDLSurface* pSurface);
uint32_t QDLSurfaceSetRestoreCallback(QDLSurface* pSurface, QDLRestoreCallback pfnCallback);
uint32_t QDLSurfaceBytesPerPixel(QDLSurface* pSurface);
uint32_t QDLSurfaceComputeShifts(QDLSurface* pSurface);
uint32_t QDLSurfaceClassifyFormat(QDLSurface* pSurface);
uint32_t QDLSurfaceSetColourKey(QDLSurface* pSurface, uint8_t r, uint8_t g, uint8_t b);
uint32_t QDLSetDefaultColourKey(uint8_t r, uint8_t g, uint8_t b);
uint32_t QDLRestoreSurfaces();
uint32_t QDLSurfacePoolInit();     // also done by QDLSetup; tests may call it alone
uint32_t QDLSurfaceFreeAll();
QDLSurface* QDLSurfaceFirst();     // the pool in creation order (links.pNext for the next)

// ---------------------------------------------------------------------------
// Colours.
uint32_t QDLSurfaceRGBToPixel(QDLSurface* pSurface, uint8_t r, uint8_t g, uint8_t b);
uint32_t QDLSurfacePixelToRGB(QDLSurface* pSurface, uint32_t pixel, uint8_t* pR, uint8_t* pG,
                              uint8_t* pB);
uint32_t QDLRGBToPixel(uint32_t formatCode, uint8_t r, uint8_t g, uint8_t b);
uint32_t QDLRGBToPixelDither(uint32_t formatCode, uint8_t r, uint8_t g, uint8_t b);
uint32_t QDLPixelToRGB(uint32_t pixel, uint32_t formatCode, uint8_t* pR, uint8_t* pG, uint8_t* pB);
uint32_t QDLFormatBitsPerPixel(uint32_t formatCode);
uint32_t QDLRandom();
void QDLRandomSeed(uint32_t seed);   // the seed starts at 9431459
