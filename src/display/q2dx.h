#pragma once
// The Q2DX layer: the lowest level of the display library. It keeps the
// drivers and their display modes, the back buffer the program draws into,
// the window's placement in windowed play and presentation through the
// platform layer. Off-screen surfaces and 8-bit palettes are made here too.
// Operations return 0 for success and 1 for failure unless noted.
#include <cstdint>

#include "display/qdl_types.h"

// Option bits of the set-up operations.
enum : uint32_t {
  Q2DXOPT_EXACT = 0x1,          // Q2DXFindMode: exact match only
  Q2DXOPT_3D = 0x2,             // back buffer is a 3D rendering target
  Q2DXOPT_VIDEO_BACK = 0x8,     // windowed back buffer in video memory
  Q2DXOPT_SYSMEM_BACK = 0x20,   // full-screen back buffer separate, in system memory
  Q2DXOPT_SINGLE = 0x200,       // full screen without a back buffer
};

// Flags of Q2DXSurfaceCreate / Q2DXSurfaceCreateFormat.
enum : uint32_t {
  Q2DXSURF_OPTION2 = 0x2,
  Q2DXSURF_VIDEO = 0x10,
  Q2DXSURF_SYSTEM = 0x20,
  Q2DXSURF_TEXTURE = 0x40,
  Q2DXSURF_ALLOCONLOAD = 0x80,
  Q2DXSURF_PALETTED = 0x400,
};

// Flip options.
enum : uint32_t {
  Q2DXFLIP_CLEAR = 0x2,
  Q2DXFLIP_CLEAR_Z = 0x4,
  Q2DXFLIP_KEYSRC = 0x100,
};

// Results kept as the last result.
enum : uint32_t {
  Q2DX_OK = 0,
  Q2DX_E_FAIL = 0x80004005u,
  Q2DX_E_NOTIMPL = 0x80004001u,
  Q2DX_ERR_SURFACELOST = 0x887601C2u,
  Q2DX_ERR_NOZBUFFERHW = 0x88760154u,
};

// A display mode: six 32-bit words, also the on-disk form in the device cache.
struct Q2DXMode {
  uint32_t width;
  uint32_t height;
  uint32_t bitsPerPixel;
  uint32_t zero;
  uint32_t testPassed;
  uint32_t spare;
};

// One display driver with its modes (we have one: the platform's display).
struct Q2DXDriver {
  uint8_t* pGuid;               // null for the primary display driver
  char description[256];
  char name[256];
  uint32_t modeCount;
  Q2DXMode* modes;              // null when empty
  uint8_t deviceIdentifier[16]; // key of the device cache file
};

// A surface of this layer: a block of pixels with its format.
struct Q2DXSurface {
  int32_t width;
  int32_t height;
  int32_t pitch;
  QDLPixelFormatDesc pixelFormat;
  uint32_t caps;
  uint8_t* pixels;
  uint32_t locked;
  Q2DXPalette* palette;
  uint32_t colourKey;
  uint32_t colourKeySet;
  uint32_t isDisplay;           // the back buffer of the open display
  uint32_t ownsPixels;          // the pixel block is freed with the surface
};

struct Q2DXPalette {
  QDLPaletteEntry entries[256];
  uint32_t refCount;
};

// Rectangles as left, top, right, bottom.
struct Q2DXRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Set-up and drivers.
uint32_t Q2DXSetup(void* pInstance);
uint32_t Q2DXDesktopModeRead();
uint32_t Q2DXDriversEnumerate();
void Q2DXDriversFree();
int Q2DXModeCompare(const Q2DXMode* pA, const Q2DXMode* pB);
void Q2DXModesSort(Q2DXMode* pModes, uint32_t count);
int32_t Q2DXFindMode(int32_t driver, int32_t width, int32_t height, int32_t bits, uint32_t option);
int32_t Q2DXFindModeIn(const Q2DXMode* pModes, uint32_t count, int32_t width, int32_t height,
                       int32_t bits, uint32_t option);
uint32_t Q2DXDriverCount();
Q2DXDriver* Q2DXDriverGet(uint32_t index);
uint32_t Q2DXShutdown();
uint32_t Q2DXIsSetUp();

// Display set-up.
uint32_t Q2DXInitWindowed(void* pWindow, int32_t width, int32_t height, uint32_t option);
uint32_t Q2DXResizePrimaryWindowed(void* pWindow, int32_t width, int32_t height, uint32_t option);
uint32_t Q2DXInitFullScreenMode(void* pWindow, int32_t driver, int32_t mode, int32_t width,
                                int32_t height, uint32_t option);
uint32_t Q2DXInitFullScreen(void* pWindow, int32_t width, int32_t height, int32_t bits,
                            uint32_t option);
uint32_t Q2DXChangeFullScreenMode(int32_t mode, int32_t width, int32_t height, uint32_t option);
uint32_t Q2DXWindowRectsUpdate(void* pWindow);
uint32_t Q2DXWindowSizeSet(void* pWindow, int32_t width, int32_t height);
uint32_t Q2DXSurfacesRecreate();
uint32_t Q2DXSurfacesRelease();

// Presentation.
uint32_t Q2DXFlip(uint32_t flipOption);
uint32_t Q2DXPostFlipClear(uint32_t flipOption);
uint32_t Q2DXClearSurfaces();
uint32_t Q2DXFlipToGDI();
// Front-surface mode: a flip copies the back buffer into a front surface that
// stands for the screen, and the front surface is shown by Q2DXFrontShow
// (the display library does it at the end of each present), so what is drawn
// onto the front after the flip shows with the frame. Off by default.
void Q2DXFrontModeSet(uint32_t on);
uint32_t Q2DXFrontMode();
Q2DXSurface* Q2DXFrontBuffer();   // null unless front-surface mode has flipped
// Shows the front surface: always when force is set, else only after a flip
// that has not been shown yet. 0, or a result as Q2DXFlip's. Main thread.
uint32_t Q2DXFrontShow(uint32_t force);

// State read by the display library and tests.
Q2DXSurface* Q2DXBackBuffer();
uint32_t Q2DXIsFullScreen();
uint32_t Q2DXLastResult();
void Q2DXDisplaySize(int32_t* pWidth, int32_t* pHeight, int32_t* pBits);
void Q2DXDesktopMode(int32_t* pWidth, int32_t* pHeight, int32_t* pBits);
Q2DXRect Q2DXDestRect();
Q2DXRect Q2DXSourceRect();
int32_t Q2DXCurrentDriver();
int32_t Q2DXCurrentMode();

// Off-screen surfaces and utilities.
Q2DXSurface* Q2DXSurfaceCreate(int32_t width, int32_t height, uint32_t flags);
Q2DXSurface* Q2DXSurfaceCreateFormat(int32_t width, int32_t height, int32_t bits, uint32_t flags);
uint32_t Q2DXSurfaceLock(Q2DXSurface* pSurface, uint32_t flags, QDLSurfaceDesc* pDesc);
uint32_t Q2DXSurfaceUnlock(Q2DXSurface* pSurface);
uint32_t Q2DXSurfaceGetDesc(Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc);
uint32_t Q2DXSurfaceSetColourKey(Q2DXSurface* pSurface, uint32_t key);
uint32_t Q2DXSurfaceFill(Q2DXSurface* pSurface, uint32_t value);
uint32_t Q2DXSurfaceCopyRect(Q2DXSurface* pDest, int32_t destX, int32_t destY, Q2DXSurface* pSource,
                             const Q2DXRect* pSourceRect);
uint32_t Q2DXSurfacePaletteCopy(Q2DXSurface* pDest, Q2DXSurface* pSource);
uint32_t Q2DXSurfaceSetPalette(Q2DXSurface* pSurface, Q2DXPalette* pPalette);
Q2DXPalette* Q2DXSurfaceGetPalette(Q2DXSurface* pSurface);
void Q2DXRelease(Q2DXSurface* pSurface);
// A surface over pixels the caller keeps (released without freeing them).
Q2DXSurface* Q2DXSurfaceWrapMemory(uint8_t* pPixels, int32_t width, int32_t height, int32_t pitch,
                                   const QDLPixelFormatDesc* pFormat);
uint32_t Q2DXBytesPerPixel(int32_t bits);

Q2DXPalette* Q2DXPaletteCreate(const QDLPaletteEntry* pEntries);
void Q2DXPaletteAddRef(Q2DXPalette* pPalette);
void Q2DXPaletteRelease(Q2DXPalette* pPalette);
uint32_t Q2DXPaletteSetEntries(Q2DXPalette* pPalette, uint32_t first, uint32_t count,
                               const QDLPaletteEntry* pEntries);
uint32_t Q2DXPaletteGetEntries(Q2DXPalette* pPalette, uint32_t first, uint32_t count,
                               QDLPaletteEntry* pEntries);

// Frame-rate meter.
void Q2DXFrameRateReset();
void Q2DXFrameRateUpdate();
float Q2DXFrameRate();
