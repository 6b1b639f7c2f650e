#pragma once
// The software mouse pointer: a small keyed image drawn at the mouse
// position minus a hot spot, with the pixels under it kept in a save-under
// surface. It is drawn into the back buffer by a present hook just before
// each present and taken out again just after it, on the main thread; the
// timer thread never draws. The position and buttons come from the
// framework's mouse, made relative to a surface or view on request.
#include <cstdint>

#include "display/qdl_types.h"
#include "framework/qdx_mouse.h"

// Flags of QDLPointerSetup.
enum : uint32_t {
  QDLPOINTER_TIMER = 1,         // the old timer-driven drawing: accepted, drawing stays around presents
  QDLPOINTER_LOAD_IMAGE = 4,    // the image is "Pointer.bmp" (a blank pointer when it cannot be read)
  QDLPOINTER_NO_TRACKING = 8,   // start without following the mouse
  QDLPOINTER_MOUSE_OPTION = 16, // passed to the mouse set-up (message mode)
  QDLPOINTER_NO_IMAGE = 32,     // keep only the mouse position
};
// Flag of QDLPointerSetImage: key colour red 0, green 130, blue 132.
enum : uint32_t { QDLPOINTER_IMAGE_KEY = 2 };

// A screen rectangle of the pointer: left, top, right, bottom (-1 when nothing
// is drawn).
struct QDLPointerRect {
  int32_t left, top, right, bottom;
};

uint32_t QDLPointerSetup(int32_t width, int32_t height, uint32_t flags);
uint32_t QDLPointerShutdown();
uint32_t QDLPointerSetImage(QDLSurface* pImage, uint32_t flags);
uint32_t QDLPointerSetHotSpot(int32_t x, int32_t y);
uint32_t QDLPointerTrackOn();
uint32_t QDLPointerTrackOff();
uint32_t QDLPointerSetPosition(QDLSurface* pSurface, int32_t x, int32_t y);
uint32_t QDLPointerSetPositionPoint(QDLSurface* pSurface, const QMousePoint* pPoint);
uint32_t QDLPointerGetPosition(QDLSurface* pSurface, QMousePoint* pPoint);
int32_t QDLPointerGetX(QDLSurface* pSurface);
int32_t QDLPointerGetY(QDLSurface* pSurface);
int32_t QDLPointerGetPressPos(QDLSurface* pSurface, int32_t button, QMousePoint* pPoint);
int32_t QDLPointerGetReleasePos(QDLSurface* pSurface, int32_t button, QMousePoint* pPoint);
void QDLPointerClearPressPos(int32_t button);
void QDLPointerClearReleasePos(int32_t button);
int32_t QDLPointerPopEvent(QDLSurface* pSurface, QMouseEventQueue* pQueue, QMousePoint* pPoint);
uint32_t QDLPointerSuspend();
uint32_t QDLPointerResume();

// Present hooks (installed by the set-up).
void QDLPointerPrePresent(uint32_t argument);
void QDLPointerPostPresent(uint32_t argument);
void QDLPointerPrePresentPlain(uint32_t argument);
void QDLPointerPostPresentPlain(uint32_t argument);

// The pointer's rectangle on a display of the given size: 1 and the
// rectangle clipped to the display, or 0 and -1s when it is off screen.
int32_t QDLPointerRectCompute(QDLPointerRect* pRect, int32_t displayWidth, int32_t displayHeight);

// State for tests and the frame's users.
int32_t QDLPointerIsSetUp();
int32_t QDLPointerIsVisible();
int32_t QDLPointerIsTracking();
QDLSurface* QDLPointerImage();
QDLPointerRect QDLPointerDrawnRect();   // where the pointer is drawn now, -1s when not
