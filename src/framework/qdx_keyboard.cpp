// The framework's keyboard: a 256-byte key state read from the platform's
// keyboard in the foreground only, and the key-repeat generator that turns
// the held key into "last key pressed" reports.
#include <cstring>

#include "framework/qdx_input.h"
#include "framework/qdx_input_internal.h"
#include "platform/input.h"

namespace {

struct KeyboardDevice {
  int32_t bCreated;  // the keyboard device exists
  int32_t bSetup;
  int32_t bAcquired;
  uint8_t abState[QKEYBOARD_STATE_SIZE];
};

// Key-repeat state.
struct KeyRepeat {
  uint32_t uLastKey;   // scan code OR modifier bits; 0 when none is due
  uint32_t uHeldKey;
  uint64_t uHeldTime;  // when the held key was last reported
  int32_t iPhase;      // 0 none, 1 first report done, 2 repeating
  uint64_t uRepeatDelay;     // first-repeat delay in time-stamp ticks
  uint64_t uRepeatInterval;  // repeat interval in time-stamp ticks
};

KeyboardDevice s_oKeyboard;
KeyRepeat s_oRepeat;

uint32_t ModifierBit(int32_t iScan) {
  switch (iScan) {
    case 29:
    case 157: return QKEY_MOD_CTRL;
    case 42:
    case 54: return QKEY_MOD_SHIFT;
    case 56:
    case 184: return QKEY_MOD_ALT;
    case 70: return QKEY_MOD_SCROLL;
    case 58: return QKEY_MOD_CAPS;
    case 69: return QKEY_MOD_NUMLOCK;
    default: return 0;
  }
}

// Keyboard device operations.
int32_t KeyboardDeviceCreate() {
  s_oKeyboard.bCreated = 1;
  std::memset(s_oKeyboard.abState, 0, sizeof s_oKeyboard.abState);
  return 0;
}

int32_t KeyboardDeviceAcquire(int32_t bAcquire) {
  if (!s_oKeyboard.bCreated) return 7;
  if (!bAcquire) {
    platform::keyboardUnacquire();
    return 0;
  }
  return platform::keyboardAcquire() == platform::InputResult::Ok ? 0 : 7;
}

int32_t KeyboardDeviceRead() {
  if (!s_oKeyboard.bCreated) return 7;
  return platform::keyboardRead(s_oKeyboard.abState) == platform::InputResult::Ok ? 0 : 7;
}

void KeyboardDeviceClear() { std::memset(s_oKeyboard.abState, 0, sizeof s_oKeyboard.abState); }

void KeyboardDeviceRelease() {
  platform::keyboardUnacquire();
  s_oKeyboard.bCreated = 0;
  KeyboardDeviceClear();
}

void KeyRepeatStep() {
  uint32_t uModifiers = 0;
  uint32_t uCandidate = 0;
  for (int32_t iScan = 0; iScan < QKEYBOARD_STATE_SIZE; ++iScan) {
    if (!(s_oKeyboard.abState[iScan] & 0x80)) continue;
    uint32_t uBit = ModifierBit(iScan);
    if (uBit) uModifiers |= uBit;
    else uCandidate = static_cast<uint32_t>(iScan) | uModifiers;
  }
  if (uCandidate == 0) {
    s_oRepeat.uLastKey = 0;
    s_oRepeat.uHeldKey = 0;
    s_oRepeat.iPhase = 0;
    return;
  }
  uint64_t uNow = QInputReadClock();
  if (uCandidate != s_oRepeat.uHeldKey) {
    s_oRepeat.uHeldKey = uCandidate;
    s_oRepeat.uLastKey = uCandidate;
    s_oRepeat.uHeldTime = uNow;
    s_oRepeat.iPhase = 1;
    return;
  }
  uint64_t uWait = s_oRepeat.iPhase == 1 ? s_oRepeat.uRepeatDelay : s_oRepeat.uRepeatInterval;
  if (uNow - s_oRepeat.uHeldTime < uWait) {
    s_oRepeat.uLastKey = 0;
    return;
  }
  s_oRepeat.uLastKey = uCandidate;
  s_oRepeat.uHeldTime = uNow;
  s_oRepeat.iPhase = 2;
}

}  // namespace

uint64_t QInputIntervalFromRate(int32_t n) {
  // A rate of 0 or less has no interval; a rate above 1000 is read as 1000.
  if (n <= 0) return 0;
  int32_t iDivisor = 1000 / n;
  if (iDivisor < 1) iDivisor = 1;
  return QInputClockTicksPerSecond() / static_cast<uint64_t>(iDivisor);
}

int32_t QKeyboardSetup(int32_t iUnused) {
  (void)iUnused;
  if (s_oKeyboard.bSetup) return 0;
  if (QInputCreate(nullptr) != 0) return 7;
  KeyboardDeviceCreate();
  s_oKeyboard.bSetup = 1;
  QKeyboardAcquire();
  s_oRepeat = KeyRepeat{};
  QKeyboardSetPollRate(100);
  QKeyboardSetRepeatRate(300);
  return 0;
}

void QKeyboardShutdown() {
  if (!s_oKeyboard.bSetup) return;
  QKeyboardUnacquire();
  KeyboardDeviceRelease();
  s_oKeyboard.bSetup = 0;
  s_oRepeat = KeyRepeat{};
}

int32_t QKeyboardAcquire() {
  if (!s_oKeyboard.bSetup) return 7;
  int32_t iResult = KeyboardDeviceAcquire(1);
  // The keyboard stays marked acquired: while the application is in the
  // background every poll tries again and reads all keys up.
  s_oKeyboard.bAcquired = 1;
  return iResult;
}

void QKeyboardUnacquire() {
  if (s_oKeyboard.bCreated) KeyboardDeviceAcquire(0);
  s_oKeyboard.bAcquired = 0;
  KeyboardDeviceClear();
}

void QKeyboardSetPollRate(int32_t n) { s_oRepeat.uRepeatInterval = QInputIntervalFromRate(n); }

void QKeyboardSetRepeatRate(int32_t n) { s_oRepeat.uRepeatDelay = QInputIntervalFromRate(n); }

int32_t QKeyboardPoll() {
  if (!s_oKeyboard.bSetup || !s_oKeyboard.bAcquired) return 0;
  if (KeyboardDeviceRead() != 0) {
    if (KeyboardDeviceAcquire(1) != 0 || KeyboardDeviceRead() != 0) {
      KeyboardDeviceClear();
      KeyRepeatStep();  // nothing is down: the repeat state empties
      return 7;
    }
  }
  KeyRepeatStep();
  return 0;
}

const uint8_t* QKeyboardGetState() { return s_oKeyboard.abState; }

uint32_t QKeyboardGetLastKey() { return s_oRepeat.uLastKey; }

void QKeyboardClearLastKey() { s_oRepeat.uLastKey = 0; }
