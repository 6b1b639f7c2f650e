// The framework's mouse: position, buttons, press and release positions and
// the per-button click machines with their event rings.
#include "framework/qdx_mouse.h"

#include <cstring>

#include "framework/qdx_input.h"
#include "framework/qdx_input_internal.h"
#include "framework/qdx_mouse_hook.h"
#include "platform/input.h"
#include "platform/window.h"

namespace {

enum : int32_t { kClickIdle = 0, kClickPressed = 1, kClickReleased = 2, kClickPressedAgain = 3, kClickHeld = 5 };

struct ClickMachine {
  int32_t iState;
  uint64_t uTime;      // time of the last change
  uint64_t uTimePrev;  // time of the change before
  QMousePoint oPos;    // position at the change
};

struct MouseData {
  int32_t bSetup;
  int32_t bMessageMode;
  int32_t bCreated;
  int32_t bAcquired;
  int32_t iSpeedX, iSpeedY;
  int32_t x, y, z;
  uint8_t abButtons[QMOUSE_BUTTONS];  // 128 down, 0 up
  uint8_t abLastSeen[QMOUSE_BUTTONS];
  QMousePoint aoPress[QMOUSE_BUTTONS];
  QMousePoint aoRelease[QMOUSE_BUTTONS];
  ClickMachine aoClick[QMOUSE_BUTTONS];
  QMouseEventQueue aoQueue[QMOUSE_BUTTONS];
  int32_t aiButtonMap[QMOUSE_BUTTONS];
  uint64_t uHoldInterval;
  uint64_t uDoubleInterval;
};

MouseData s_oMouse;

void DriveCursorCount(int iTarget) {
  int iCount = platform::showCursor(true);
  while (iCount > iTarget) iCount = platform::showCursor(false);
  while (iCount < iTarget) iCount = platform::showCursor(true);
}

void ClearPositions() {
  for (int32_t i = 0; i < QMOUSE_BUTTONS; ++i) {
    s_oMouse.aoPress[i] = QMousePoint{-1, -1};
    s_oMouse.aoRelease[i] = QMousePoint{-1, -1};
  }
}

QMousePoint Position() { return QMousePoint{s_oMouse.x, s_oMouse.y}; }

void StepClickMachine(int32_t iButton, uint64_t uNow) {
  ClickMachine* pClick = &s_oMouse.aoClick[iButton];
  QMouseEventQueue* pQueue = &s_oMouse.aoQueue[iButton];
  const bool bDown = s_oMouse.abButtons[iButton] != 0;
  const QMousePoint oNow = Position();
  auto noteChange = [&](int32_t iState) {
    pClick->uTimePrev = pClick->uTime;
    pClick->uTime = uNow;
    pClick->oPos = oNow;
    pClick->iState = iState;
  };
  switch (pClick->iState) {
    case kClickIdle:
      if (bDown) noteChange(kClickPressed);
      break;
    case kClickPressed:
      if (bDown) {
        if (uNow - pClick->uTime > s_oMouse.uHoldInterval) {
          QInputMousePushEvent(pQueue, QMOUSE_EVENT_HOLD, &pClick->oPos);
          pClick->iState = kClickHeld;
        }
      } else {
        noteChange(kClickReleased);
      }
      break;
    case kClickReleased:
      if (bDown) {
        QInputMousePushEvent(pQueue, QMOUSE_EVENT_DOUBLE_PRESS, &pClick->oPos);
        QInputMousePushEvent(pQueue, QMOUSE_EVENT_DOUBLE_PRESS2, &oNow);
        noteChange(kClickPressedAgain);
      } else if (uNow - pClick->uTime > s_oMouse.uDoubleInterval) {
        QInputMousePushEvent(pQueue, QMOUSE_EVENT_CLICK, &pClick->oPos);
        pClick->iState = kClickIdle;
      }
      break;
    case kClickPressedAgain:
      if (!bDown) {
        QInputMousePushEvent(pQueue, QMOUSE_EVENT_DOUBLE_RELEASE, &oNow);
        noteChange(kClickIdle);
      }
      break;
    case kClickHeld:
      if (!bDown) {
        QInputMousePushEvent(pQueue, QMOUSE_EVENT_HOLD_RELEASE, &oNow);
        noteChange(kClickIdle);
      }
      break;
    default: pClick->iState = kClickIdle; break;
  }
}

}  // namespace

int32_t QInputMouseSetup(uint32_t uFlags) {
  if (s_oMouse.bSetup) return 0;
  if (QInputCreate(nullptr) != 0) return 7;
  std::memset(&s_oMouse, 0, sizeof s_oMouse);
  s_oMouse.iSpeedX = 100;
  s_oMouse.iSpeedY = 100;
  s_oMouse.bMessageMode = (uFlags & QMOUSE_SETUP_MESSAGE_MODE) ? 1 : 0;
  if (s_oMouse.bMessageMode) {
    DriveCursorCount(-1);
    QInputMouseHookInstall();
  } else {
    QInputMouseCreate();
  }
  ClearPositions();
  s_oMouse.uHoldInterval = QInputIntervalFromRate(100);
  s_oMouse.uDoubleInterval = QInputIntervalFromRate(100);
  s_oMouse.bSetup = 1;
  return 0;
}

void QInputMouseShutdown() {
  if (!s_oMouse.bSetup) return;
  if (s_oMouse.bMessageMode) QInputMouseHookRemove();
  else QInputMouseRelease();
  DriveCursorCount(0);
  s_oMouse.bSetup = 0;
}

// The input object's release takes the mouse device (relative mode); the
// message-mode hook belongs to the hook chain, which the program entry frees
// on its own.
void QInputMouseReleaseAll() {
  if (!s_oMouse.bSetup) return;
  if (!s_oMouse.bMessageMode) QInputMouseRelease();
  s_oMouse.bSetup = 0;
}

void QInputMousePoll() {
  if (!s_oMouse.bSetup) return;
  if (!s_oMouse.bMessageMode) QInputMouseReadState();
  const QMousePoint oNow = Position();
  for (int32_t i = 0; i < QMOUSE_BUTTONS; ++i) {
    if (s_oMouse.abButtons[i] == s_oMouse.abLastSeen[i]) continue;
    if (s_oMouse.abButtons[i]) s_oMouse.aoPress[i] = oNow;
    else s_oMouse.aoRelease[i] = oNow;
    s_oMouse.abLastSeen[i] = s_oMouse.abButtons[i];
  }
  const uint64_t uNow = QInputReadClock();
  for (int32_t i = 0; i < QMOUSE_BUTTONS; ++i) StepClickMachine(i, uNow);
}

void QInputMouseSetPosition(int32_t x, int32_t y) {
  s_oMouse.x = x;
  s_oMouse.y = y;
}

void QInputMouseSetPositionPt(const QMousePoint* pPoint) {
  if (pPoint) QInputMouseSetPosition(pPoint->x, pPoint->y);
}

void QInputMouseGetPosition(QMousePoint* pPoint) {
  if (pPoint) *pPoint = Position();
}

int32_t QInputMouseAcquire() { return QInputMouseSetAcquired(1); }

void QInputMouseUnacquire() { QInputMouseSetAcquired(0); }

int32_t QInputMousePushEvent(QMouseEventQueue* pQueue, int32_t iCode, const QMousePoint* pPosition) {
  if (!pQueue) return 7;
  if (pQueue->uHead - pQueue->uTail >= QMOUSE_QUEUE_SIZE) {
    // Full: the newest entry (the one before the head) says so.
    pQueue->aoEvents[(pQueue->uHead - 1) % QMOUSE_QUEUE_SIZE].iCode = QMOUSE_EVENT_OVERFLOW;
    return 7;
  }
  QMouseEvent* pEvent = &pQueue->aoEvents[pQueue->uHead % QMOUSE_QUEUE_SIZE];
  pEvent->iCode = iCode;
  pEvent->x = pPosition ? pPosition->x : -1;
  pEvent->y = pPosition ? pPosition->y : -1;
  ++pQueue->uHead;
  return 0;
}

int32_t QInputMousePopEvent(QMouseEventQueue* pQueue, QMousePoint* pPosition) {
  if (!pQueue || pQueue->uHead == pQueue->uTail) return QMOUSE_EVENT_NONE;
  const QMouseEvent* pEvent = &pQueue->aoEvents[pQueue->uTail % QMOUSE_QUEUE_SIZE];
  ++pQueue->uTail;
  if (pPosition) *pPosition = QMousePoint{pEvent->x, pEvent->y};
  return pEvent->iCode;
}

void QInputMouseSetButtonMap(int32_t n, int32_t iCode) {
  if (n >= 0 && n < QMOUSE_BUTTONS) s_oMouse.aiButtonMap[n] = iCode;
}

void QInputMouseSetPollRate(int32_t n) { s_oMouse.uHoldInterval = QInputIntervalFromRate(n); }

void QInputMouseSetDoubleClickRate(int32_t n) { s_oMouse.uDoubleInterval = QInputIntervalFromRate(n); }

int32_t QInputMouseGetReleasePos(int32_t n, QMousePoint* pPosition) {
  if (n < 0 || n >= QMOUSE_BUTTONS || s_oMouse.aoRelease[n].x == -1) return 0;
  if (pPosition) *pPosition = s_oMouse.aoRelease[n];
  return 1;
}

int32_t QInputMouseGetPressPos(int32_t n, QMousePoint* pPosition) {
  if (n < 0 || n >= QMOUSE_BUTTONS || s_oMouse.aoPress[n].x == -1) return 0;
  if (pPosition) *pPosition = s_oMouse.aoPress[n];
  return 1;
}

void QInputMouseClearReleasePos(int32_t n) {
  if (n >= 0 && n < QMOUSE_BUTTONS) s_oMouse.aoRelease[n] = QMousePoint{-1, -1};
}

void QInputMouseClearPressPos(int32_t n) {
  if (n >= 0 && n < QMOUSE_BUTTONS) s_oMouse.aoPress[n] = QMousePoint{-1, -1};
}

int32_t QInputMouseCreate() {
  s_oMouse.bCreated = 1;
  return QInputMouseSetAcquired(1);
}

void QInputMouseRelease() {
  QInputMouseSetAcquired(0);
  s_oMouse.bCreated = 0;
}

int32_t QInputMouseSetAcquired(int32_t bFlag) {
  if (!s_oMouse.bCreated) return 7;
  if (!bFlag) {
    platform::mouseUnacquire();
    s_oMouse.bAcquired = 0;
    return 0;
  }
  // Acquiring starts the accumulated motion afresh.
  s_oMouse.bAcquired = 1;
  return platform::mouseAcquire() == platform::InputResult::Ok ? 0 : 7;
}

int32_t QInputMouseReadState() {
  if (!s_oMouse.bCreated || !s_oMouse.bAcquired) return 7;
  platform::MouseState oState;
  if (platform::mouseRead(&oState) != platform::InputResult::Ok) {
    if (platform::mouseAcquire() != platform::InputResult::Ok || platform::mouseRead(&oState) != platform::InputResult::Ok) {
      std::memset(s_oMouse.abButtons, 0, sizeof s_oMouse.abButtons);
      return 7;
    }
  }
  s_oMouse.x += static_cast<int32_t>(static_cast<int64_t>(oState.dx) * s_oMouse.iSpeedX / 100);
  s_oMouse.y += static_cast<int32_t>(static_cast<int64_t>(oState.dy) * s_oMouse.iSpeedY / 100);
  s_oMouse.z += oState.dz;
  std::memcpy(s_oMouse.abButtons, oState.buttons, sizeof s_oMouse.abButtons);
  return 0;
}

QMouseEventQueue* QInputMouseGetQueue(int32_t n) {
  if (n < 0 || n >= QMOUSE_BUTTONS) return nullptr;
  return &s_oMouse.aoQueue[n];
}

uint8_t QInputMouseGetButton(int32_t n) {
  if (n < 0 || n >= QMOUSE_BUTTONS) return 0;
  return s_oMouse.abButtons[n];
}

int32_t QInputMouseIsMessageMode() { return s_oMouse.bMessageMode; }
int32_t QInputMouseIsSetUp() { return s_oMouse.bSetup ? 1 : 0; }

int64_t QInputMouseMessageHook(uint32_t uMessage, uint64_t wParam, int64_t lParam, int64_t lResult) {
  switch (uMessage) {
    case platform::kMsgMouseMove:
    case platform::kMsgLeftButtonDown:
    case platform::kMsgLeftButtonUp:
    case platform::kMsgRightButtonDown:
    case platform::kMsgRightButtonUp:
    case platform::kMsgMiddleButtonDown:
    case platform::kMsgMiddleButtonUp: {
      s_oMouse.abButtons[0] = (wParam & platform::kMouseFlagLeft) ? 128 : 0;
      s_oMouse.abButtons[1] = (wParam & platform::kMouseFlagRight) ? 128 : 0;
      s_oMouse.abButtons[2] = (wParam & platform::kMouseFlagMiddle) ? 128 : 0;
      DriveCursorCount(-1);
      // Client pixels of the window, 16 bits each.
      s_oMouse.x = static_cast<int32_t>(static_cast<uint64_t>(lParam) & 0xFFFFu);
      s_oMouse.y = static_cast<int32_t>((static_cast<uint64_t>(lParam) >> 16) & 0xFFFFu);
      break;
    }
    case platform::kMsgActivate: DriveCursorCount(wParam ? -1 : 0); break;
    default: break;
  }
  return lResult;
}
