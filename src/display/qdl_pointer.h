#pragma once
// The software mouse pointer: a small keyed image drawn at the mouse
// position minus a hot spot, with the pixels under it kept in save-under
// surfaces so it can be taken out again. Presents go through the display's
// front surface while it is set up. Full screen, a present hook draws it into
// the back buffer before the flip (save-under A) and takes it out after;
// windowed, it is drawn onto the front surface after the flip (save-under B).
// In timer mode the framework's timer thread moves it on the front surface
// between presents, only while the main thread lets it. The position and
// buttons come from the framework's mouse, made relative to a surface or view
// on request.
#include <cstdint>

#include "display/qdl_types.h"
#include "framework/qdx_mouse.h"
#include "framework/qdx_time.h"

// Flags of QDLPointerSetup.
enum : uint32_t {
  QDLPOINTER_TIMER = 1,         // the timer thread moves the pointer between presents
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

// The timer callback (on the timer thread in timer mode): moves the pointer
// on the front surface to the last mouse position the main thread read, when
// drawing is allowed, the pointer visible and tracking and the display
// surface not locked.
void QDLPointerTimerProc(QDXTimerCallback* pNode);

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
QDLPointerRect QDLPointerDrawnRect();   // where the pointer is in the back buffer, -1s when not
QDLPointerRect QDLPointerFrontRect();   // where it is on the front surface, -1s when not
QDLSurface* QDLPointerFrontSurface();   // the front surface's record, null before a present
int32_t QDLPointerTimerDrawingAllowed();
uint32_t QDLPointerTimerDraws();        // moves the timer made since the set-up
