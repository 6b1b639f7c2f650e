#pragma once
// The framework's mouse: the pointer position, four buttons with their press
// and release positions, and per button a click machine (click, double click,
// hold) that queues click events in a small ring. It reads the platform's
// mouse device (relative mode) or, in message mode, the window's mouse
// messages through a window hook.
#include <cstdint>

constexpr int32_t QMOUSE_BUTTONS = 4;
constexpr int32_t QMOUSE_QUEUE_SIZE = 10;
constexpr uint32_t QMOUSE_SETUP_MESSAGE_MODE = 0x10;  // flag bit 4 of the set-up flags

// Click event codes.
enum : int32_t {
  QMOUSE_EVENT_NONE = 0,
  QMOUSE_EVENT_HOLD = 1,
  QMOUSE_EVENT_HOLD_RELEASE = 2,
  QMOUSE_EVENT_CLICK = 3,
  QMOUSE_EVENT_DOUBLE_PRESS = 4,
  QMOUSE_EVENT_DOUBLE_PRESS2 = 5,
  QMOUSE_EVENT_DOUBLE_RELEASE = 6,
  QMOUSE_EVENT_OVERFLOW = 7,
};

struct QMousePoint {
  int32_t x;
  int32_t y;
};

struct QMouseEvent {
  int32_t iCode;
  int32_t x;
  int32_t y;
};

// A ring of click events; head and tail count up, the slot is the count
// modulo the ring size.
struct QMouseEventQueue {
  QMouseEvent aoEvents[QMOUSE_QUEUE_SIZE];
  uint32_t uHead;  // next to write
  uint32_t uTail;  // oldest
};

int32_t QInputMouseSetup(uint32_t uFlags);
void QInputMouseShutdown();
void QInputMousePoll();
void QInputMouseSetPosition(int32_t x, int32_t y);
void QInputMouseSetPositionPt(const QMousePoint* pPoint);
void QInputMouseGetPosition(QMousePoint* pPoint);
int32_t QInputMouseAcquire();
void QInputMouseUnacquire();
int32_t QInputMousePushEvent(QMouseEventQueue* pQueue, int32_t iCode, const QMousePoint* pPosition);
int32_t QInputMousePopEvent(QMouseEventQueue* pQueue, QMousePoint* pPosition);
void QInputMouseSetButtonMap(int32_t n, int32_t iCode);
void QInputMouseSetPollRate(int32_t n);
void QInputMouseSetDoubleClickRate(int32_t n);
int32_t QInputMouseGetReleasePos(int32_t n, QMousePoint* pPosition);
void QInputMouseClearReleasePos(int32_t n);
void QInputMouseClearPressPos(int32_t n);

// The platform mouse device (relative mode).
int32_t QInputMouseCreate();
void QInputMouseRelease();
int32_t QInputMouseSetAcquired(int32_t bFlag);
int32_t QInputMouseReadState();

// Read access for the pointer and its users.
QMouseEventQueue* QInputMouseGetQueue(int32_t n);
uint8_t QInputMouseGetButton(int32_t n);
int32_t QInputMouseGetPressPos(int32_t n, QMousePoint* pPosition);
int32_t QInputMouseIsMessageMode();
// 1 while the mouse is set up.
int32_t QInputMouseIsSetUp();

// The message-mode window hook: sets the buttons and the position from the
// window's mouse messages and passes every message on with the result given.
int64_t QInputMouseMessageHook(uint32_t uMessage, uint64_t wParam, int64_t lParam, int64_t lResult);
