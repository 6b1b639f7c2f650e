#include "platform/input.h"

#include <cstring>

#include "platform/input_internal.h"
#include "platform/internal.h"

namespace platform {
namespace {

struct DeviceFlags {
  bool foreground = true;
  bool keyboardAcquired = false;
  bool mouseAcquired = false;
  bool joystickAcquired[kJoystickMax] = {};
};
DeviceFlags g_flags;

// Keys that went down since the last read. A key pressed and released between
// two reads still reads down once, so a short tap is never lost.
uint8_t g_keyLatch[kKeyCount] = {};

void keyLatchClear() { std::memset(g_keyLatch, 0, sizeof g_keyLatch); }

const internal::InputOps& inputOps() {
  return internal::backend() == BackendKind::Sdl ? internal::kSdlInputOps : internal::kHeadlessInputOps;
}

bool validSlot(int slot) { return slot >= 0 && slot < inputOps().joystickCount(); }

}  // namespace

void inputSetForeground(bool foreground) {
  g_flags.foreground = foreground;
  keyLatchClear();
  if (!foreground) {
    // Foreground devices lose their acquisition with the focus.
    g_flags.keyboardAcquired = false;
    g_flags.mouseAcquired = false;
    for (bool& a : g_flags.joystickAcquired) a = false;
  }
}

bool inputForeground() { return g_flags.foreground; }

namespace internal {
void inputFocusChanged(bool focused) { inputSetForeground(focused); }

void inputKeyPressed(uint8_t scanCode) {
  // Keys pressed in the background or before the keyboard is acquired never count.
  if (scanCode != 0 && g_flags.foreground && g_flags.keyboardAcquired) g_keyLatch[scanCode] = kKeyDown;
}

void inputKeysForget() { keyLatchClear(); }
}  // namespace internal

// ---- Keyboard ----

InputResult keyboardAcquire() {
  if (!g_flags.foreground) return InputResult::Lost;
  if (!g_flags.keyboardAcquired) keyLatchClear();
  g_flags.keyboardAcquired = true;
  return InputResult::Ok;
}

void keyboardUnacquire() {
  g_flags.keyboardAcquired = false;
  keyLatchClear();
}

InputResult keyboardRead(uint8_t state[kKeyCount]) {
  if (!g_flags.foreground || !g_flags.keyboardAcquired) return InputResult::Lost;
  inputOps().keyboardState(state);
  for (int i = 0; i < kKeyCount; ++i) state[i] |= g_keyLatch[i];
  keyLatchClear();
  return InputResult::Ok;
}

// ---- Joysticks ----

int joystickCount() { return inputOps().joystickCount(); }

bool joystickInfo(int slot, JoystickInfo* info) {
  if (!validSlot(slot)) return false;
  return inputOps().joystickInfo(slot, info);
}

InputResult joystickAcquire(int slot) {
  if (!validSlot(slot)) return InputResult::Failed;
  if (!g_flags.foreground || !inputOps().joystickPresent(slot)) return InputResult::Lost;
  g_flags.joystickAcquired[slot] = true;
  return InputResult::Ok;
}

void joystickUnacquire(int slot) {
  if (slot >= 0 && slot < kJoystickMax) g_flags.joystickAcquired[slot] = false;
}

InputResult joystickRead(int slot, JoystickState* state) {
  if (!validSlot(slot)) return InputResult::Failed;
  if (!g_flags.foreground || !g_flags.joystickAcquired[slot]) return InputResult::Lost;
  if (!inputOps().joystickPresent(slot)) {
    // Unplugged: the acquisition is gone until the device comes back.
    g_flags.joystickAcquired[slot] = false;
    return InputResult::Lost;
  }
  inputOps().joystickState(slot, state);
  return InputResult::Ok;
}

// ---- Mouse ----

InputResult mouseAcquire() {
  if (!g_flags.foreground) return InputResult::Lost;
  if (!g_flags.mouseAcquired) {
    MouseState discard;
    inputOps().mouseTake(&discard);  // motion from before the acquisition does not count
  }
  g_flags.mouseAcquired = true;
  return InputResult::Ok;
}

void mouseUnacquire() { g_flags.mouseAcquired = false; }

InputResult mouseRead(MouseState* state) {
  if (!g_flags.foreground || !g_flags.mouseAcquired) return InputResult::Lost;
  inputOps().mouseTake(state);
  return InputResult::Ok;
}

void mousePosition(int32_t* x, int32_t* y) { inputOps().mousePosition(x, y); }

}  // namespace platform
