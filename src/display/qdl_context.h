#pragma once
// The display context: one whole set-up of the 2D library for the renderer
// side of the program — which device, mode and mode flags to open, set-up
// and shut-down, the wrapper objects, and a table of 28 services through
// which the renderer reaches the library without linking to it by name.
#include <cstdint>

#include "display/qdl_types.h"
#include "display/qdl_wrappers.h"

typedef void (*QDLServiceFn)();

// Service table slots, in order.
enum : uint32_t {
  QDLSVC_SURFACE_LOCK = 0,
  QDLSVC_SURFACE_UNLOCK = 1,
  QDLSVC_SURFACE_FREE = 2,
  QDLSVC_NOP = 3,
  QDLSVC_PRESENT = 4,
  QDLSVC_IMAGE_LOAD_TGA = 5,
  QDLSVC_SURFACE_RGB_TO_PIXEL = 6,
  QDLSVC_FILL_RECT = 7,
  QDLSVC_SPRITE_BANK_FROM_SHEETS = 8,
  QDLSVC_SPRITE_BANK_FREE = 9,
  QDLSVC_BLIT = 10,
  QDLSVC_FONT_CREATE_FROM_SHEET = 11,
  QDLSVC_FONT_FREE = 12,
  QDLSVC_PRINTF_DEFAULT = 13,
  QDLSVC_PRINT = 14,
  QDLSVC_LINE = 15,
  QDLSVC_RECT = 16,
  QDLSVC_SURFACE_CREATE = 17,
  QDLSVC_SURFACE_COPY = 18,
  QDLSVC_PUT_PIXEL = 19,
  QDLSVC_GET_PIXEL_RGB = 20,
  QDLSVC_SURFACE_SAVE_TGA = 21,
  QDLSVC_SURFACE_BLIT_STRETCH = 22,
  QDLSVC_TEXT_SET_LAYOUT = 23,
  QDLSVC_TEXT_SET_STYLE_FLAG = 24,
  QDLSVC_TEXT_SET_STYLE_FLAG16 = 25,
  QDLSVC_TEXT_SET_COLOUR = 26,
  QDLSVC_FRAME_COUNTERS_GET = 27,
  QDL_SERVICE_COUNT = 28,
};

struct QDLContext;
typedef uint32_t (*QDLContextFunc)(QDLContext* pContext);

struct QDLContext {
  QDLContext();
  ~QDLContext();
  QDLSurface* pDisplay = nullptr;
  int32_t device = -1;
  int32_t mode = -1;
  uint32_t modeFlags = 0;
  uint32_t servicesFilled = 0;
  uint32_t setUp = 0;
  QDLServiceFn services[QDL_SERVICE_COUNT] = {};
  QDLContextFunc pfnSetup = nullptr;
  QDLContextFunc pfnShutdown = nullptr;
  QDLContextFunc pfnCreateObjects = nullptr;
  QDDManager manager;
  QD3DDevice device3D;
  QD3DDevice* pDevice3D = nullptr;
  QDDSurface* pPrimary = nullptr;
};

// The one display context of the program.
extern QDLContext qdlContext;

uint32_t QDLContextModeSet(QDLContext* pContext, int32_t device, int32_t mode, uint32_t flags);
// 0, or the code of the step that failed (set-up stops there, after the
// error box): the library's set-up code, or 7 when the display did not open.
uint32_t QDLContextSetup(QDLContext* pContext);
uint32_t QDLContextShutdown(QDLContext* pContext);
uint32_t QDLContextClose(QDLContext* pContext);
uint32_t QDLContextCreateObjects(QDLContext* pContext);
uint32_t QDLContextFillServices(QDLContext* pContext, QDLSurface* pDisplay);
