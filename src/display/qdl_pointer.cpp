// The software mouse pointer.
#include "display/qdl_pointer.h"

#include <algorithm>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_internal.h"
#include "display/qdl_present.h"
#include "display/qdl_sheet.h"
#include "platform/window.h"

namespace {

constexpr uint8_t kKeyR = 0, kKeyG = 130, kKeyB = 132;
constexpr QDLPointerRect kNoRect{-1, -1, -1, -1};

struct PointerGlobals {
  bool setUp = false;
  bool mouseOwned = false;  // the pointer set the framework mouse up and shuts it
  int32_t width = 32, height = 32;
  int32_t x = 100, y = 100;
  int32_t hotX = 0, hotY = 0;
  QDLSurface* pImage = nullptr;
  QDLSurface* pSaveUnder = nullptr;
  QDLPointerRect drawn = kNoRect;  // where the pointer is in the back buffer
  bool visible = false;
  bool tracking = false;
  bool timerMode = false;
  bool noImage = false;
  bool suspendedVisible = false;
  QDLPresentHook* pHook = nullptr;
} qdlPointer;

QDLSurface* Display() { return qdlGlobals.pDisplay; }

// Reads the framework's mouse and clamps it to the display.
void ReadMouse() {
  QInputMousePoll();
  QMousePoint p{};
  QInputMouseGetPosition(&p);
  QDLSurface* d = Display();
  const int32_t w = d ? d->width : 640, h = d ? d->height : 480;
  p.x = std::clamp(p.x, 0, std::max(w - 1, 0));
  p.y = std::clamp(p.y, 0, std::max(h - 1, 0));
  QInputMouseSetPosition(p.x, p.y);
  qdlPointer.x = p.x;
  qdlPointer.y = p.y;
}

// Puts back the pixels under the pointer.
void Restore() {
  QDLSurface* d = Display();
  const QDLPointerRect r = qdlPointer.drawn;
  qdlPointer.drawn = kNoRect;
  if (d == nullptr || qdlPointer.pSaveUnder == nullptr || r.left < 0) return;
  QDLSurfaceBlitXY(d, r.left, r.top, qdlPointer.pSaveUnder, 0, 0, r.right - r.left, r.bottom - r.top, 0);
}

// Saves what lies under the pointer and draws the image with its key.
void Draw() {
  QDLSurface* d = Display();
  if (d == nullptr || qdlPointer.pImage == nullptr || qdlPointer.pSaveUnder == nullptr) return;
  if (qdlPointer.drawn.left >= 0) Restore();
  QDLPointerRect r;
  if (!QDLPointerRectCompute(&r, d->width, d->height)) return;
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  QDLSurfaceBlitXY(qdlPointer.pSaveUnder, 0, 0, d, r.left, r.top, w, h, 0);
  // The image's source moves by what was cut at the top or left.
  const int32_t sx = r.left - (qdlPointer.x - qdlPointer.hotX);
  const int32_t sy = r.top - (qdlPointer.y - qdlPointer.hotY);
  QDLSurfaceBlitXY(d, r.left, r.top, qdlPointer.pImage, sx, sy, w, h, QDLSURFBLIT_KEY);
  qdlPointer.drawn = r;
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

bool ResizeSaveUnder() {
  const int32_t w = std::max(qdlPointer.width, qdlPointer.pImage ? qdlPointer.pImage->width : 0);
  const int32_t h = std::max(qdlPointer.height, qdlPointer.pImage ? qdlPointer.pImage->height : 0);
  qdlPointer.width = w;
  qdlPointer.height = h;
  if (qdlPointer.pSaveUnder && qdlPointer.pSaveUnder->width >= w && qdlPointer.pSaveUnder->height >= h) return true;
  if (qdlPointer.pSaveUnder) QDLSurfaceFree(qdlPointer.pSaveUnder);
  qdlPointer.pSaveUnder = DisplayFormatSurface(w, h);
  return qdlPointer.pSaveUnder != nullptr;
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
  qdlPointer = PointerGlobals{};
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
    ResizeSaveUnder();
  }
  // Timer mode is recorded only: the pointer is drawn around presents on the
  // main thread, never from the timer thread.
  qdlPointer.timerMode = (flags & QDLPOINTER_TIMER) != 0 && !qdlPointer.noImage;
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
  Restore();
  if (qdlPointer.pHook) QDLPresentHookRemove(qdlPointer.pHook);
  QDLPointerActivationSet(nullptr, nullptr);
  if (qdlPointer.pImage) QDLSurfaceFree(qdlPointer.pImage);
  if (qdlPointer.pSaveUnder) QDLSurfaceFree(qdlPointer.pSaveUnder);
  if (qdlPointer.suspendedVisible) platform::showCursor(false);  // undo the suspension's cursor
  if (qdlPointer.mouseOwned) QInputMouseShutdown();
  qdlPointer = PointerGlobals{};
  return QDL_OK;
}

uint32_t QDLPointerSetImage(QDLSurface* pImage, uint32_t flags) {
  if (!qdlPointer.setUp) return QDL_ERR_FAILED;
  QDLSurface* p = pImage != nullptr ? pImage : qdlPointer.pImage;
  if (p != nullptr && ((flags & QDLPOINTER_IMAGE_KEY) || !p->colourKeySet)) {
    if (flags & QDLPOINTER_IMAGE_KEY) QDLSurfaceSetColourKey(p, kKeyR, kKeyG, kKeyB);
    else QDLSurfaceSetColourKey(p, 0, 0, 0);
  }
  if (pImage == nullptr) return QDL_OK;
  Restore();
  if (qdlPointer.pImage != nullptr && qdlPointer.pImage != pImage) QDLSurfaceFree(qdlPointer.pImage);
  qdlPointer.pImage = pImage;  // the pointer owns its image from now on
  ResizeSaveUnder();
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
    Restore();
  }
  return QDL_OK;
}

uint32_t QDLPointerSetPosition(QDLSurface* pSurface, int32_t x, int32_t y) {
  int32_t ox, oy;
  ViewOffset(pSurface, &ox, &oy);
  QInputMouseSetPosition(x + ox, y + oy);
  qdlPointer.x = x + ox;
  qdlPointer.y = y + oy;
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
  QInputMouseUnacquire();
  Restore();
  qdlPointer.suspendedVisible = true;
  qdlPointer.visible = false;
  platform::showCursor(true);  // the system's cursor stands in while we are away
  return QDL_OK;
}

uint32_t QDLPointerResume() {
  if (!qdlPointer.suspendedVisible) return QDL_OK;
  qdlPointer.suspendedVisible = false;
  qdlPointer.visible = true;
  QInputMouseAcquire();
  platform::showCursor(false);
  return QDL_OK;
}

void QDLPointerPrePresent(uint32_t) {
  if (!qdlPointer.setUp || !qdlPointer.visible || !qdlPointer.tracking) return;
  ReadMouse();
  Draw();
}

void QDLPointerPostPresent(uint32_t argument) {
  if (!qdlPointer.setUp || !qdlPointer.visible) return;
  // A present with bit 0 cleared the back buffer after showing it: what was
  // saved under the pointer belongs to the old frame and is dropped.
  if (argument & 1u) {
    qdlPointer.drawn = kNoRect;
    return;
  }
  // The back buffer gets its own pixels back for the next frame.
  Restore();
}

void QDLPointerPrePresentPlain(uint32_t) {
  if (qdlPointer.setUp && qdlPointer.visible) ReadMouse();
}

void QDLPointerPostPresentPlain(uint32_t) {}

int32_t QDLPointerIsSetUp() { return qdlPointer.setUp ? 1 : 0; }
int32_t QDLPointerIsVisible() { return qdlPointer.visible ? 1 : 0; }
int32_t QDLPointerIsTracking() { return qdlPointer.tracking ? 1 : 0; }
QDLSurface* QDLPointerImage() { return qdlPointer.pImage; }
QDLPointerRect QDLPointerDrawnRect() { return qdlPointer.drawn; }
