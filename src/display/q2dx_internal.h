#pragma once
// State of the Q2DX layer, shared by its modules.
#include <cstdint>

#include "display/q2dx.h"

struct Q2DXState {
  uint32_t setUp;
  void* pInstance;
  Q2DXSurface* pPrimary;       // stands for the window (or the screen) presented to
  Q2DXSurface* pBack;          // the back buffer the program draws into
  Q2DXSurface* pFront;         // front-surface mode: a copy of what the screen shows
  uint32_t frontMode;
  uint32_t frontPending;       // copied by a flip, not yet shown
  uint32_t depthFillUnsupported;
  void* pWindow;
  uint32_t fullScreen;
  uint32_t sysMemBlit;
  uint32_t singleBuffer;
  uint32_t sameSize;
  uint32_t sysMemBack;
  uint32_t lastResult;
  int32_t desktopWidth;
  int32_t desktopHeight;
  int32_t desktopBits;
  QDLPixelFormatDesc desktopFormat;
  int32_t displayWidth;
  int32_t displayHeight;
  int32_t displayBits;
  uint32_t modeOption;
  QDLPixelFormatDesc displayFormat;
  int32_t backWidth;
  int32_t backHeight;
  int32_t currentDriver;
  int32_t currentMode;
  Q2DXRect clientRect;
  int32_t originX;
  int32_t originY;
  Q2DXRect destRect;
  Q2DXRect sourceRect;
  Q2DXPalette* pPalette;       // 8-bit displays only
  uint64_t rateLastMs;
  uint32_t rateCalls;
  uint32_t rateFrames;
  float rate;
  uint32_t driverCount;
  Q2DXDriver* pDrivers;
};

extern Q2DXState q2dxState;

// The pixel format of a mode's depth (16 bits: 5-6-5 unless the platform says 5-5-5).
void Q2DXFormatForBits(int32_t bits, QDLPixelFormatDesc* pFormat);
