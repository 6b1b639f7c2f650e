#pragma once
// State shared by the modules of the display library core.
#include <atomic>
#include <cstdint>

#include "display/qdl.h"
#include "display/qdl_pool.h"

struct QDLGlobals {
  uint32_t setUp;
  uint32_t displayNotOpen;
  uint32_t inactive;
  uint32_t fullScreen;
  uint32_t keepWindow;
  QDLSurface* pDisplay;
  int32_t device;
  int32_t mode;
  uint8_t defaultKeyIndex;
  uint8_t defaultKeyR;
  uint8_t defaultKeyG;
  uint8_t defaultKeyB;
  uint32_t pointerWasShown;
  uint32_t keyboardWasAcquired;
  uint32_t ditherSeed;
  QDLModeList* pModeLists;
  int32_t modeListCount;
  uint32_t frameCounter1;
  uint32_t frameCounter2;
  uint32_t hooksAdded;
  uint32_t surfacePoolReady;
  QDLPool surfacePool;
};

extern QDLGlobals qdlGlobals;
// 1 while the display surface is locked; read by the pointer's timer thread.
extern std::atomic<uint32_t> qdlDisplayLocked;

// Fills a surface record from the description of its presentation-layer
// surface or memory block, then classifies the format and computes shifts.
void QDLSurfaceReadDesc(QDLSurface* pSurface);
void QDLSurfaceFillMemoryDesc(QDLSurface* pSurface);
// Makes a record describe a presentation-layer surface it does not own:
// unlocked, no parent, view, palette or texture, the given flags, its
// description read and its format classified.
void QDLSurfaceWrap(QDLSurface* pSurface, Q2DXSurface* pDD, int32_t width, int32_t height, uint32_t flags);
// Views whose parent is being freed lose their pixels.
void QDLSurfaceOrphanViews(QDLSurface* pParent);
