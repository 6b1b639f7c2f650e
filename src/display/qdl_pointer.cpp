// The software mouse pointer.
#include "display/qdl_pointer.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_internal.h"
#include "display/qdl_present.h"
#include "display/qdl_sheet.h"
#include "display/q2dx.h"
#include "framework/qdx_time.h"
#include "platform/window.h"

namespace {

constexpr uint8_t kKeyR = 0, kKeyG = 130, kKeyB = 132;
constexpr QDLPointerRect kNoRect{-1, -1, -1, -1};

// The words the timer thread shares with the main thread are atomics. The
// main thread keeps the timer away from the front surface, the save-unders
// and the image by clearing `timerAllowed` and waiting out `busy`; the timer
// claims `busy` before it looks at `timerAllowed`, so the two never draw at
// once. Everything else is the main thread's, or the timer's only while the
// main thread lets it draw.
struct PointerGlobals {
  bool setUp = false;
  bool mouseOwned = false;  // the pointer set the framework mouse up and shuts it
  int32_t width = 32, height = 32;
  std::atomic<int32_t> x{100}, y{100};
  std::atomic<int32_t> hotX{0}, hotY{0};
  // The mouse position the main thread last read, for the timer thread (the
  // framework's mouse is read on the main thread only).
  std::atomic<int32_t> mouseX{100}, mouseY{100};
  QDLSurface* pImage = nullptr;
  QDLSurface* pSaveUnderA = nullptr;   // under the pointer in the back buffer
  QDLSurface* pSaveUnderB = nullptr;   // under the pointer on the front surface
  QDLPointerRect rect1 = kNoRect;      // drawn in the back buffer
  QDLPointerRect rect2 = kNoRect;      // drawn on the front surface
  QDLSurface* pFront = nullptr;        // record over the front surface
  int32_t displayWidth = 0, displayHeight = 0;  // as the timer may clamp to
  std::atomic<bool> visible{false};
  std::atomic<bool> tracking{false};
  std::atomic<bool> timerMode{false};
  std::atomic<bool> timerAllowed{false};
  std::atomic<bool> busy{false};
  std::atomic<int32_t> lastTimerX{-1}, lastTimerY{-1};
  std::atomic<uint32_t> timerDraws{0};
  bool noImage = false;
  bool suspendedVisible = false;
  QDXTimerCallback* pTimer = nullptr;
  QDLPresentHook* pHook = nullptr;
};
PointerGlobals qdlPointer;

// Resets every field for a new set-up (the atomics cannot be assigned whole).
void ResetGlobals() {
  PointerGlobals& p = qdlPointer;
  p.setUp = p.mouseOwned = false;
  p.width = p.height = 32;
  p.x = p.y = 100;
  p.hotX = p.hotY = 0;
  p.mouseX = p.mouseY = 100;
  p.pImage = p.pSaveUnderA = p.pSaveUnderB = p.pFront = nullptr;
  p.rect1 = p.rect2 = kNoRect;
  p.displayWidth = p.displayHeight = 0;
  p.visible = p.tracking = p.timerMode = p.timerAllowed = p.busy = false;
  p.lastTimerX = p.lastTimerY = -1;
  p.timerDraws = 0;
  p.noImage = p.suspendedVisible = false;
  p.pTimer = nullptr;
  p.pHook = nullptr;
}

// Keeps the timer thread from drawing and waits until it is not.
void TimerStop() {
  qdlPointer.timerAllowed.store(false);
  while (qdlPointer.busy.load()) std::this_thread::yield();
}

void TimerAllow() { qdlPointer.timerAllowed.store(true); }

QDLSurface* Display() { return qdlGlobals.pDisplay; }

// Clamps a position to the display and makes it the pointer's.
void TakePosition(int32_t x, int32_t y, int32_t w, int32_t h) {
  qdlPointer.x = std::clamp(x, 0, std::max(w - 1, 0));
  qdlPointer.y = std::clamp(y, 0, std::max(h - 1, 0));
}

// Reads the framework's mouse (main thread), clamps it to the display and
// writes it back.
void ReadMouse() {
  QInputMousePoll();
  QMousePoint p{};
  QInputMouseGetPosition(&p);
  QDLSurface* d = Display();
  TakePosition(p.x, p.y, d ? d->width : 640, d ? d->height : 480);
  QInputMouseSetPosition(qdlPointer.x, qdlPointer.y);
  qdlPointer.mouseX = qdlPointer.x.load();
  qdlPointer.mouseY = qdlPointer.y.load();
}

// Puts back the pixels under the pointer at a rectangle of a surface.
void RestoreAt(QDLSurface* pTarget, QDLPointerRect* pRect, QDLSurface* pSaveUnder) {
  const QDLPointerRect r = *pRect;
  *pRect = kNoRect;
  if (pTarget == nullptr || pSaveUnder == nullptr || r.left < 0) return;
  QDLSurfaceBlitXY(pTarget, r.left, r.top, pSaveUnder, 0, 0, r.right - r.left, r.bottom - r.top, 0);
}

// Saves what lies under the pointer on a surface and draws the image there
// with its key; the rectangle records where (-1s when off screen).
void DrawAt(QDLSurface* pTarget, QDLPointerRect* pRect, QDLSurface* pSaveUnder, int32_t dw, int32_t dh) {
  if (pTarget == nullptr || qdlPointer.pImage == nullptr || pSaveUnder == nullptr) return;
  if (pRect->left >= 0) RestoreAt(pTarget, pRect, pSaveUnder);
  QDLPointerRect r;
  if (!QDLPointerRectCompute(&r, dw, dh)) return;
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  QDLSurfaceBlitXY(pSaveUnder, 0, 0, pTarget, r.left, r.top, w, h, 0);
  // The image's source moves by what was cut at the top or left.
  const int32_t sx = r.left - (qdlPointer.x - qdlPointer.hotX);
  const int32_t sy = r.top - (qdlPointer.y - qdlPointer.hotY);
  QDLSurfaceBlitXY(pTarget, r.left, r.top, qdlPointer.pImage, sx, sy, w, h, QDLSURFBLIT_KEY);
  *pRect = r;
}

// The back buffer: rectangle 1 with save-under A.
void RestoreBack() { RestoreAt(Display(), &qdlPointer.rect1, qdlPointer.pSaveUnderA); }
void DrawBack() {
  QDLSurface* d = Display();
  if (d != nullptr) DrawAt(d, &qdlPointer.rect1, qdlPointer.pSaveUnderA, d->width, d->height);
}

// The front surface: rectangle 2 with save-under B.
void RestoreFront() { RestoreAt(qdlPointer.pFront, &qdlPointer.rect2, qdlPointer.pSaveUnderB); }
void DrawFront() {
  DrawAt(qdlPointer.pFront, &qdlPointer.rect2, qdlPointer.pSaveUnderB, qdlPointer.displayWidth,
         qdlPointer.displayHeight);
}

// The record over the Q2DX front surface, made or refilled when that surface
// changed; null before the first flip in front-surface mode. Main thread.
QDLSurface* FrontRecord() {
  Q2DXSurface* f = Q2DXFrontBuffer();
  QDLSurface*& p = qdlPointer.pFront;
  if (f == nullptr) {
    if (p != nullptr) QDLSurfaceFree(p);
    p = nullptr;
    return nullptr;
  }
  if (p != nullptr && p->ddSurface == f && p->width == f->width && p->height == f->height) return p;
  if (p == nullptr) {
    p = static_cast<QDLSurface*>(QDLPoolAdd(&qdlGlobals.surfacePool));
    if (p == nullptr) return nullptr;
  }
  // Pixels of the presentation layer's, never freed with the record.
  QDLSurfaceWrap(p, f, f->width, f->height, 0);
  // The pointer's rectangle on the old front means nothing on the new one.
  qdlPointer.rect2 = kNoRect;
  return p;
}

// A surface of the display's format.
QDLSurface* DisplayFormatSurface(int32_t w, int32_t h) {
  QDLSurface* d = Display();
  return QDLSurfaceCreate(w, h, d ? d->bitsPerPixel : 16, QDLCREATE_SYSTEM);
}

// The blank pointer: the key colour everywhere, so nothing shows.
QDLSurface* BlankImage() {
  QDLSurface* p = DisplayFormatSurface(16, 27);
  if (p == nullptr) return nullptr;
  QDLSurfaceSetColourKey(p, kKeyR, kKeyG, kKeyB);
  if (QDLSurfaceLock(p) == 0) {
    const uint32_t key = QDLSurfaceRGBToPixel(p, kKeyR, kKeyG, kKeyB);
    for (int32_t y = 0; y < p->height; ++y)
      for (int32_t x = 0; x < p->width; ++x)
        for (uint32_t i = 0; i < p->bytesPerPixel; ++i)
          p->pixels[y * p->pitch + x * p->bytesPerPixel + i] = static_cast<uint8_t>(key >> (8 * i));
    QDLSurfaceUnlock(p);
  }
  return p;
}

// "Pointer.bmp" in the display's format, or null when it cannot be read.
QDLSurface* LoadImageFile() {
  QDLSurface* pFile = QDLImageLoadBMP(nullptr, "Pointer.bmp", QDLIMAGE_MEMORY);
  if (pFile == nullptr) return nullptr;
  QDLSurface* p = DisplayFormatSurface(pFile->width, pFile->height);
  if (p != nullptr) QDLSurfaceCopy(p, pFile, 0);
  QDLSurfaceFree(pFile);
  return p;
}

bool ResizeSaveUnders() {
  const int32_t w = std::max(qdlPointer.width, qdlPointer.pImage ? qdlPointer.pImage->width : 0);
  const int32_t h = std::max(qdlPointer.height, qdlPointer.pImage ? qdlPointer.pImage->height : 0);
  qdlPointer.width = w;
  qdlPointer.height = h;
  bool ok = true;
  for (QDLSurface** pp : {&qdlPointer.pSaveUnderA, &qdlPointer.pSaveUnderB}) {
    if (*pp && (*pp)->width >= w && (*pp)->height >= h) continue;
    if (*pp) QDLSurfaceFree(*pp);
    *pp = DisplayFormatSurface(w, h);
    ok = ok && *pp != nullptr;
  }
  return ok;
}

uint32_t PointerShown() { return qdlPointer.setUp && qdlPointer.visible ? 1 : 0; }
void PointerShow(uint32_t show) {
  if (show) QDLPointerResume();
  else QDLPointerSuspend();
}

// Offsets of a surface's view chain (a view's parent is never a view).
void ViewOffset(QDLSurface* pSurface, int32_t* pX, int32_t* pY) {
  *pX = *pY = 0;
  if (pSurface != nullptr && (pSurface->flags & QDLSURF_VIEW)) {
    *pX = pSurface->viewX;
    *pY = pSurface->viewY;
  }
}

}  // namespace

int32_t QDLPointerRectCompute(QDLPointerRect* pRect, int32_t dw, int32_t dh) {
  const int32_t iw = qdlPointer.pImage ? qdlPointer.pImage->width : qdlPointer.width;
  const int32_t ih = qdlPointer.pImage ? qdlPointer.pImage->height : qdlPointer.height;
  QDLPointerRect r{qdlPointer.x - qdlPointer.hotX, qdlPointer.y - qdlPointer.hotY, 0, 0};
  r.right = r.left + iw;
  r.bottom = r.top + ih;
  if (r.bottom < 0 || r.top >= dh || r.right < 0 || r.left >= dw) {
    *pRect = QDLPointerRect{-1, -1, 0, 0};
    return 0;
  }
  if (r.top < 0) r.top = 0;
  if (r.bottom > dh) r.bottom = dh;
  if (r.left < 0) r.left = 0;
  if (r.right > dw) r.right = dw;
  *pRect = r;
  return 1;
}

uint32_t QDLPointerSetup(int32_t width, int32_t height, uint32_t flags) {
  if (!QDLIsSetUp() || Display() == nullptr) return 5;
  if (qdlPointer.setUp) return QDL_OK;
  ResetGlobals();
  // The framework mouse is set up here when nobody has done it yet; the
  // pointer then shuts it again with itself.
  if (!QInputMouseIsSetUp())
    qdlPointer.mouseOwned =
        QInputMouseSetup((flags & QDLPOINTER_MOUSE_OPTION) ? QMOUSE_SETUP_MESSAGE_MODE : 0) == 0 &&
        QInputMouseIsSetUp();
  qdlPointer.width = width ? width : 32;
  qdlPointer.height = height ? height : 32;
  qdlPointer.noImage = (flags & QDLPOINTER_NO_IMAGE) != 0;
  if (!qdlPointer.noImage) {
    if (flags & QDLPOINTER_LOAD_IMAGE) qdlPointer.pImage = LoadImageFile();
    // Without the file (or without flag 4) the pointer starts blank.
    if (qdlPointer.pImage == nullptr) qdlPointer.pImage = BlankImage();
    if (qdlPointer.pImage != nullptr) QDLSurfaceSetColourKey(qdlPointer.pImage, kKeyR, kKeyG, kKeyB);
    ResizeSaveUnders();
    // Presents go through the front surface, which the pointer draws on.
    Q2DXFrontModeSet(1);
  }
  QDLSurface* d = Display();
  qdlPointer.displayWidth = d->width;
  qdlPointer.displayHeight = d->height;
  if ((flags & QDLPOINTER_TIMER) && !qdlPointer.noImage) {
    qdlPointer.timerMode = true;
    qdlPointer.pTimer = QDXTimerAddCallback(QDLPointerTimerProc, 1);
  }
  qdlPointer.visible = true;
  qdlPointer.tracking = (flags & QDLPOINTER_NO_TRACKING) == 0;
  qdlPointer.pHook = qdlPointer.noImage ? QDLPresentHookAdd(QDLPointerPrePresentPlain, QDLPointerPostPresentPlain)
                                        : QDLPresentHookAdd(QDLPointerPrePresent, QDLPointerPostPresent);
  QDLPointerActivationSet(PointerShown, PointerShow);
  qdlPointer.setUp = true;
  return QDL_OK;
}

uint32_t QDLPointerShutdown() {
  if (!qdlPointer.setUp) return QDL_OK;
  TimerStop();
  if (qdlPointer.pTimer) QDXTimerRemoveCallback(qdlPointer.pTimer);
  qdlPointer.pTimer = nullptr;
  RestoreBack();
  RestoreFront();
  if (qdlPointer.pHook) QDLPresentHookRemove(qdlPointer.pHook);
  QDLPointerActivationSet(nullptr, nullptr);
  if (qdlPointer.pImage) QDLSurfaceFree(qdlPointer.pImage);
  if (qdlPointer.pSaveUnderA) QDLSurfaceFree(qdlPointer.pSaveUnderA);
  if (qdlPointer.pSaveUnderB) QDLSurfaceFree(qdlPointer.pSaveUnderB);
  if (qdlPointer.pFront) QDLSurfaceFree(qdlPointer.pFront);
  if (!qdlPointer.noImage) Q2DXFrontModeSet(0);
  if (qdlPointer.suspendedVisible) platform::showCursor(false);  // undo the suspension's cursor
  if (qdlPointer.mouseOwned) QInputMouseShutdown();
  ResetGlobals();
  return QDL_OK;
}

uint32_t QDLPointerSetImage(QDLSurface* pImage, uint32_t flags) {
  if (!qdlPointer.setUp) return QDL_ERR_FAILED;
  QDLSurface* p = pImage != nullptr ? pImage : qdlPointer.pImage;
  // Timer drawing stops for the change and comes back only if it was allowed.
  const bool allowed = qdlPointer.timerAllowed.load();
  TimerStop();
  if (p != nullptr && ((flags & QDLPOINTER_IMAGE_KEY) || !p->colourKeySet)) {
    if (flags & QDLPOINTER_IMAGE_KEY) QDLSurfaceSetColourKey(p, kKeyR, kKeyG, kKeyB);
    else QDLSurfaceSetColourKey(p, 0, 0, 0);
  }
  if (pImage != nullptr) {
    // Shown: the old image comes off the front surface and the new one goes on.
    const bool shown = qdlPointer.visible && qdlPointer.rect2.left >= 0;
    RestoreBack();
    RestoreFront();
    if (qdlPointer.pImage != nullptr && qdlPointer.pImage != pImage) QDLSurfaceFree(qdlPointer.pImage);
    qdlPointer.pImage = pImage;  // the pointer owns its image from now on
    ResizeSaveUnders();
    if (shown) {
      DrawFront();
      Q2DXFrontShow(1);
    }
  }
  if (allowed) TimerAllow();
  return QDL_OK;
}

uint32_t QDLPointerSetHotSpot(int32_t x, int32_t y) {
  qdlPointer.hotX = x;
  qdlPointer.hotY = y;
  return QDL_OK;
}

uint32_t QDLPointerTrackOn() {
  qdlPointer.tracking = true;
  return QDL_OK;
}

uint32_t QDLPointerTrackOff() {
  if (qdlPointer.tracking) {
    qdlPointer.tracking = false;
    TimerStop();
    RestoreFront();
    // Timer drawing stays stopped until the next present lets it again.
  }
  return QDL_OK;
}

uint32_t QDLPointerSetPosition(QDLSurface* pSurface, int32_t x, int32_t y) {
  int32_t ox, oy;
  ViewOffset(pSurface, &ox, &oy);
  QInputMouseSetPosition(x + ox, y + oy);
  qdlPointer.x = x + ox;
  qdlPointer.y = y + oy;
  qdlPointer.mouseX = x + ox;
  qdlPointer.mouseY = y + oy;
  return QDL_OK;
}

uint32_t QDLPointerSetPositionPoint(QDLSurface* pSurface, const QMousePoint* pPoint) {
  if (pPoint == nullptr) return QDL_ERR_INVALID;
  return QDLPointerSetPosition(pSurface, pPoint->x, pPoint->y);
}

uint32_t QDLPointerGetPosition(QDLSurface* pSurface, QMousePoint* pPoint) {
  if (pPoint == nullptr) return QDL_ERR_INVALID;
  QInputMouseGetPosition(pPoint);
  int32_t ox, oy;
  ViewOffset(pSurface, &ox, &oy);
  pPoint->x -= ox;
  pPoint->y -= oy;
  return QDL_OK;
}

int32_t QDLPointerGetX(QDLSurface* pSurface) {
  QMousePoint p{};
  QDLPointerGetPosition(pSurface, &p);
  return p.x;
}

int32_t QDLPointerGetY(QDLSurface* pSurface) {
  QMousePoint p{};
  QDLPointerGetPosition(pSurface, &p);
  return p.y;
}

int32_t QDLPointerGetPressPos(QDLSurface* pSurface, int32_t button, QMousePoint* pPoint) {
  QMousePoint p{};
  if (pPoint == nullptr || !QInputMouseGetPressPos(button, &p)) return 0;
  int32_t ox, oy;
  ViewOffset(pSurface, &ox, &oy);
  *pPoint = QMousePoint{p.x - ox, p.y - oy};
  return 1;
}

int32_t QDLPointerGetReleasePos(QDLSurface* pSurface, int32_t button, QMousePoint* pPoint) {
  QMousePoint p{};
  if (pPoint == nullptr || !QInputMouseGetReleasePos(button, &p)) return 0;
  int32_t ox, oy;
  ViewOffset(pSurface, &ox, &oy);
  *pPoint = QMousePoint{p.x - ox, p.y - oy};
  return 1;
}

void QDLPointerClearPressPos(int32_t button) { QInputMouseClearPressPos(button); }
void QDLPointerClearReleasePos(int32_t button) { QInputMouseClearReleasePos(button); }

int32_t QDLPointerPopEvent(QDLSurface* pSurface, QMouseEventQueue* pQueue, QMousePoint* pPoint) {
  QMousePoint p{};
  const int32_t code = QInputMousePopEvent(pQueue, &p);
  if (pPoint != nullptr) {
    int32_t ox, oy;
    ViewOffset(pSurface, &ox, &oy);
    *pPoint = QMousePoint{p.x - ox, p.y - oy};
  }
  return code;
}

uint32_t QDLPointerSuspend() {
  if (!qdlPointer.visible) return QDL_OK;
  TimerStop();
  QInputMouseUnacquire();
  RestoreBack();
  RestoreFront();
  qdlPointer.suspendedVisible = true;
  qdlPointer.visible = false;
  platform::showCursor(true);  // the system's cursor stands in while we are away
  return QDL_OK;
}

uint32_t QDLPointerResume() {
  if (!qdlPointer.suspendedVisible) return QDL_OK;
  qdlPointer.suspendedVisible = false;
  qdlPointer.visible = true;
  TimerAllow();
  QInputMouseAcquire();
  platform::showCursor(false);
  return QDL_OK;
}

void QDLPointerPrePresent(uint32_t) {
  if (!qdlPointer.setUp || !qdlPointer.visible) return;
  TimerStop();
  // Full screen: the pointer goes into the back buffer before the flip.
  if (qdlPointer.tracking && Q2DXIsFullScreen()) {
    ReadMouse();
    DrawBack();
  }
}

void QDLPointerPostPresent(uint32_t argument) {
  if (!qdlPointer.setUp || !qdlPointer.visible) return;
  QDLSurface* d = Display();
  if (d != nullptr) {
    qdlPointer.displayWidth = d->width;
    qdlPointer.displayHeight = d->height;
  }
  // The flip copied the frame onto the front surface: what was drawn there
  // before is gone.
  QDLSurface* pFront = FrontRecord();
  qdlPointer.rect2 = kNoRect;
  if (qdlPointer.tracking) {
    if (Q2DXIsFullScreen()) {
      // The pointer drawn into the back buffer is on the front surface now,
      // over the pixels save-under A kept: the front's record takes them.
      if (pFront != nullptr && qdlPointer.rect1.left >= 0) {
        const QDLPointerRect r = qdlPointer.rect1;
        QDLSurfaceBlitXY(qdlPointer.pSaveUnderB, 0, 0, qdlPointer.pSaveUnderA, 0, 0, r.right - r.left,
                         r.bottom - r.top, 0);
        qdlPointer.rect2 = r;
      }
      // A present with bit 0 cleared the back buffer after showing it: what
      // was saved under the pointer belongs to the old frame and is dropped;
      // otherwise the back buffer gets its own pixels back.
      if (argument & 1u) qdlPointer.rect1 = kNoRect;
      else RestoreBack();
    } else {
      ReadMouse();
      DrawFront();
    }
  }
  qdlPointer.lastTimerX = qdlPointer.x.load();
  qdlPointer.lastTimerY = qdlPointer.y.load();
  TimerAllow();
}

void QDLPointerPrePresentPlain(uint32_t) {
  if (!qdlPointer.setUp || !qdlPointer.visible) return;
  TimerStop();
  ReadMouse();
}

void QDLPointerPostPresentPlain(uint32_t) {
  if (qdlPointer.setUp && qdlPointer.visible) TimerAllow();
}

void QDLPointerTimerProc(QDXTimerCallback*) {
  if (!qdlPointer.timerAllowed.load() || !qdlPointer.timerMode.load() || !qdlPointer.visible.load()) return;
  if (qdlPointer.busy.exchange(true)) return;
  // Looked at again now that the claim is made: the main thread may have
  // stopped timer drawing in between.
  if (!qdlPointer.timerAllowed.load() || qdlPointer.pFront == nullptr || qdlDisplayLocked.load() != 0) {
    qdlPointer.busy.store(false);
    return;
  }
  TakePosition(qdlPointer.mouseX, qdlPointer.mouseY, qdlPointer.displayWidth, qdlPointer.displayHeight);
  const int32_t x = qdlPointer.x, y = qdlPointer.y;
  if (qdlPointer.tracking.load() && (x != qdlPointer.lastTimerX || y != qdlPointer.lastTimerY)) {
    RestoreFront();
    DrawFront();
    qdlPointer.lastTimerX = x;
    qdlPointer.lastTimerY = y;
    qdlPointer.timerDraws.fetch_add(1);
  }
  qdlPointer.busy.store(false);
}

int32_t QDLPointerIsSetUp() { return qdlPointer.setUp ? 1 : 0; }
int32_t QDLPointerIsVisible() { return qdlPointer.visible ? 1 : 0; }
int32_t QDLPointerIsTracking() { return qdlPointer.tracking ? 1 : 0; }
QDLSurface* QDLPointerImage() { return qdlPointer.pImage; }
QDLPointerRect QDLPointerDrawnRect() { return qdlPointer.rect1; }
QDLPointerRect QDLPointerFrontRect() { return qdlPointer.rect2; }
QDLSurface* QDLPointerFrontSurface() { return qdlPointer.pFront; }
int32_t QDLPointerTimerDrawingAllowed() { return qdlPointer.timerAllowed.load() ? 1 : 0; }
uint32_t QDLPointerTimerDraws() { return qdlPointer.timerDraws.load(); }
