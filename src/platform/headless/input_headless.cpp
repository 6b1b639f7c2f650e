// Headless backend of the input devices: virtual keyboard, joysticks and
// mouse, driven by the script and by the test controls.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless/script.h"
#include "platform/input_headless.h"
#include "platform/input_internal.h"
#include "platform/input_scancodes.h"
#include "platform/internal.h"
#include "platform/window.h"

namespace platform {
namespace {

struct VirtualJoystick {
  bool used = false;
  bool present = false;
  JoystickInfo info{};
  JoystickState state{};
};

struct VirtualDevices {
  uint8_t keys[kKeyCount] = {};
  VirtualJoystick joysticks[kJoystickMax];
  int joystickCount = 0;
  MouseState mouse{};
  int32_t mouseX = 0;
  int32_t mouseY = 0;
};
VirtualDevices g_dev;

bool isHeadless() { return internal::backend() == BackendKind::Headless; }

void clearJoystickState(JoystickState* s) {
  std::memset(s, 0, sizeof *s);
  for (uint32_t& p : s->pov) p = kPovCentred;
}

bool validPresent(int slot) { return slot >= 0 && slot < g_dev.joystickCount && g_dev.joysticks[slot].present; }

uint32_t mouseFlags() {
  uint32_t f = 0;
  if (g_dev.mouse.buttons[0]) f |= kMouseFlagLeft;
  if (g_dev.mouse.buttons[1]) f |= kMouseFlagRight;
  if (g_dev.mouse.buttons[2]) f |= kMouseFlagMiddle;
  return f;
}

void postMouse(uint32_t code) {
  Message m;
  m.window = mainWindow();
  m.code = code;
  m.wParam = mouseFlags();
  m.lParam = static_cast<int64_t>((static_cast<uint32_t>(g_dev.mouseX) & 0xFFFFu) |
                                  ((static_cast<uint32_t>(g_dev.mouseY) & 0xFFFFu) << 16));
  postMessage(m);
}

// ---- backend operations ----

void opKeyboardState(uint8_t state[kKeyCount]) { std::memcpy(state, g_dev.keys, kKeyCount); }
int opJoystickCount() { return g_dev.joystickCount; }
bool opJoystickInfo(int slot, JoystickInfo* info) {
  if (slot < 0 || slot >= g_dev.joystickCount) return false;
  *info = g_dev.joysticks[slot].info;
  return true;
}
bool opJoystickPresent(int slot) { return validPresent(slot); }
void opJoystickState(int slot, JoystickState* state) { *state = g_dev.joysticks[slot].state; }
void opMouseTake(MouseState* state) {
  *state = g_dev.mouse;
  g_dev.mouse.dx = g_dev.mouse.dy = g_dev.mouse.dz = 0;
}
void opMousePosition(int32_t* x, int32_t* y) {
  *x = g_dev.mouseX;
  *y = g_dev.mouseY;
}

// ---- script commands ----

using headless::ScriptLine;

bool parseInt(const std::string& s, long lo, long hi, long* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 0);
  if (!end || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool parseUpDown(const std::string& s, bool* down) {
  if (s == "down") {
    *down = true;
    return true;
  }
  if (s == "up") {
    *down = false;
    return true;
  }
  return false;
}

int parseAxis(const std::string& s) {
  static const char* const kNames[kJoystickAxes] = {"X", "Y", "Z", "RX", "RY", "RZ"};
  std::string u;
  for (char c : s) u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (int i = 0; i < kJoystickAxes; ++i)
    if (u == kNames[i]) return i;
  long v;
  return parseInt(s, 0, kJoystickAxes - 1, &v) ? static_cast<int>(v) : -1;
}

bool parseHat(const std::string& s, uint32_t* out) {
  static const struct {
    const char* name;
    uint32_t value;
  } kHats[] = {{"centre", kPovCentred}, {"center", kPovCentred}, {"up", 0},        {"up-right", 4500},
               {"right", 9000},         {"down-right", 13500},   {"down", 18000},  {"down-left", 22500},
               {"left", 27000},         {"up-left", 31500}};
  for (const auto& h : kHats)
    if (s == h.name) {
      *out = h.value;
      return true;
    }
  long v;
  if (!parseInt(s, 0, 359, &v)) return false;
  *out = static_cast<uint32_t>(v) * 100u;
  return true;
}

bool checkKey(const ScriptLine& line, std::string* why) {
  if (scanCodeFromName(line.args[0].c_str()) != 0) return true;
  *why = "expects a key name or scan code, not \"" + line.args[0] + "\"";
  return false;
}
void runKeyDown(const ScriptLine& line) { headlessKey(scanCodeFromName(line.args[0].c_str()), true); }
void runKeyUp(const ScriptLine& line) { headlessKey(scanCodeFromName(line.args[0].c_str()), false); }

bool checkPlug(const ScriptLine& line, std::string* why) {
  long v;
  if (line.args.size() == 1) return true;
  if (line.args.size() == 4 && parseInt(line.args[1], 0, kJoystickAxes, &v) &&
      parseInt(line.args[2], 0, kJoystickButtons, &v) && parseInt(line.args[3], 0, kJoystickPovs, &v))
    return true;
  *why = "expects <name> [axes 0-6 buttons 0-128 povs 0-4]";
  return false;
}
void runPlug(const ScriptLine& line) {
  long axes = 6, buttons = 32, povs = 1;
  if (line.args.size() == 4) {
    parseInt(line.args[1], 0, kJoystickAxes, &axes);
    parseInt(line.args[2], 0, kJoystickButtons, &buttons);
    parseInt(line.args[3], 0, kJoystickPovs, &povs);
  }
  headlessJoystickPlug(line.args[0].c_str(), static_cast<int>(axes), static_cast<int>(buttons), static_cast<int>(povs));
}

bool checkSlot(const std::string& s, std::string* why) {
  long v;
  if (parseInt(s, 0, kJoystickMax - 1, &v)) return true;
  *why = "expects a joystick slot 0-19, not \"" + s + "\"";
  return false;
}
bool checkUnplug(const ScriptLine& line, std::string* why) { return checkSlot(line.args[0], why); }
void runUnplug(const ScriptLine& line) { headlessJoystickUnplug(std::atoi(line.args[0].c_str())); }

bool checkButton(const ScriptLine& line, std::string* why) {
  long v;
  bool d;
  if (!checkSlot(line.args[0], why)) return false;
  if (parseInt(line.args[1], 0, kJoystickButtons - 1, &v) && parseUpDown(line.args[2], &d)) return true;
  *why = "expects <slot> <button 0-127> <down|up>";
  return false;
}
void runButton(const ScriptLine& line) {
  bool down = false;
  parseUpDown(line.args[2], &down);
  headlessJoystickButton(std::atoi(line.args[0].c_str()), std::atoi(line.args[1].c_str()), down);
}

bool checkAxis(const ScriptLine& line, std::string* why) {
  long v;
  if (!checkSlot(line.args[0], why)) return false;
  if (parseAxis(line.args[1]) >= 0 && parseInt(line.args[2], -32767, 32767, &v)) return true;
  *why = "expects <slot> <X|Y|Z|RX|RY|RZ> <value -32767..32767>";
  return false;
}
void runAxis(const ScriptLine& line) {
  long v = 0;
  parseInt(line.args[2], -32767, 32767, &v);
  headlessJoystickAxis(std::atoi(line.args[0].c_str()), parseAxis(line.args[1]), static_cast<int32_t>(v));
}

bool checkHat(const ScriptLine& line, std::string* why) {
  long v;
  uint32_t h;
  if (!checkSlot(line.args[0], why)) return false;
  if (parseInt(line.args[1], 0, kJoystickPovs - 1, &v) && parseHat(line.args[2], &h)) return true;
  *why = "expects <slot> <hat 0-3> <centre|up|up-right|...|degrees>";
  return false;
}
void runHat(const ScriptLine& line) {
  uint32_t h = kPovCentred;
  parseHat(line.args[2], &h);
  headlessJoystickPov(std::atoi(line.args[0].c_str()), std::atoi(line.args[1].c_str()), h);
}

bool checkTwoInts(const ScriptLine& line, std::string* why) {
  long v;
  if (parseInt(line.args[0], -65535, 65535, &v) && parseInt(line.args[1], -65535, 65535, &v)) return true;
  *why = "expects two whole numbers";
  return false;
}
void runMouseMove(const ScriptLine& line) {
  headlessMouseMove(std::atoi(line.args[0].c_str()), std::atoi(line.args[1].c_str()));
}
void runMouseAt(const ScriptLine& line) {
  headlessMouseAt(std::atoi(line.args[0].c_str()), std::atoi(line.args[1].c_str()));
}
bool checkMouseButton(const ScriptLine& line, std::string* why) {
  long v;
  bool d;
  if (parseInt(line.args[0], 0, kMouseButtons - 1, &v) && parseUpDown(line.args[1], &d)) return true;
  *why = "expects <button 0-3> <down|up>";
  return false;
}
void runMouseButton(const ScriptLine& line) {
  bool down = false;
  parseUpDown(line.args[1], &down);
  headlessMouseButton(std::atoi(line.args[0].c_str()), down);
}
bool checkOneInt(const ScriptLine& line, std::string* why) {
  long v;
  if (parseInt(line.args[0], -65535, 65535, &v)) return true;
  *why = "expects a whole number";
  return false;
}
void runMouseWheel(const ScriptLine& line) { headlessMouseWheel(std::atoi(line.args[0].c_str())); }

struct Registrar {
  Registrar() {
    headless::registerScriptCommand("keydown", 1, 1, checkKey, runKeyDown);
    headless::registerScriptCommand("keyup", 1, 1, checkKey, runKeyUp);
    headless::registerScriptCommand("joyplug", 1, 4, checkPlug, runPlug);
    headless::registerScriptCommand("joyunplug", 1, 1, checkUnplug, runUnplug);
    headless::registerScriptCommand("joybutton", 3, 3, checkButton, runButton);
    headless::registerScriptCommand("joyaxis", 3, 3, checkAxis, runAxis);
    headless::registerScriptCommand("joyhat", 3, 3, checkHat, runHat);
    headless::registerScriptCommand("mousemove", 2, 2, checkTwoInts, runMouseMove);
    headless::registerScriptCommand("mouseat", 2, 2, checkTwoInts, runMouseAt);
    headless::registerScriptCommand("mousebutton", 2, 2, checkMouseButton, runMouseButton);
    headless::registerScriptCommand("mousewheel", 1, 1, checkOneInt, runMouseWheel);
  }
};
const Registrar g_registrar;

}  // namespace

namespace internal {
const InputOps kHeadlessInputOps = {opKeyboardState, opJoystickCount,  opJoystickInfo, opJoystickPresent,
                                    opJoystickState, opMouseTake,      opMousePosition};
}  // namespace internal

// ---- test controls ----

bool headlessKey(uint8_t scanCode, bool down) {
  if (!isHeadless() || scanCode == 0) return false;
  if (down && !(g_dev.keys[scanCode] & kKeyDown)) internal::inputKeyPressed(scanCode);
  g_dev.keys[scanCode] = down ? kKeyDown : 0;
  return true;
}

int headlessJoystickPlug(const char* name, int axes, int buttons, int povs) {
  if (!isHeadless() || !name) return -1;
  int slot = -1;
  for (int i = 0; i < g_dev.joystickCount; ++i)
    if (!g_dev.joysticks[i].present && std::strncmp(g_dev.joysticks[i].info.name, name, sizeof g_dev.joysticks[i].info.name - 1) == 0) {
      slot = i;  // the same device back in its old slot
      break;
    }
  if (slot < 0) {
    if (g_dev.joystickCount >= kJoystickMax) return -1;
    slot = g_dev.joystickCount++;
  }
  VirtualJoystick& j = g_dev.joysticks[slot];
  j.used = true;
  j.present = true;
  std::memset(&j.info, 0, sizeof j.info);
  std::strncpy(j.info.name, name, sizeof j.info.name - 1);
  std::strncpy(j.info.productName, name, sizeof j.info.productName - 1);
  j.info.axes = axes < 0 ? 0 : (axes > kJoystickAxes ? kJoystickAxes : axes);
  j.info.buttons = buttons < 0 ? 0 : (buttons > kJoystickButtons ? kJoystickButtons : buttons);
  j.info.povs = povs < 0 ? 0 : (povs > kJoystickPovs ? kJoystickPovs : povs);
  clearJoystickState(&j.state);
  return slot;
}

bool headlessJoystickUnplug(int slot) {
  if (!isHeadless() || !validPresent(slot)) return false;
  g_dev.joysticks[slot].present = false;
  clearJoystickState(&g_dev.joysticks[slot].state);
  return true;
}

bool headlessJoystickButton(int slot, int button, bool down) {
  if (!isHeadless() || !validPresent(slot) || button < 0 || button >= g_dev.joysticks[slot].info.buttons) return false;
  g_dev.joysticks[slot].state.buttons[button] = down ? kKeyDown : 0;
  return true;
}

bool headlessJoystickAxis(int slot, int axis, int32_t value) {
  if (!isHeadless() || !validPresent(slot) || axis < 0 || axis >= kJoystickAxes) return false;
  if (value < -kJoystickAxisMax) value = -kJoystickAxisMax;
  if (value > kJoystickAxisMax) value = kJoystickAxisMax;
  g_dev.joysticks[slot].state.axis[axis] = value;
  return true;
}

bool headlessJoystickPov(int slot, int pov, uint32_t hundredthsOfDegree) {
  if (!isHeadless() || !validPresent(slot) || pov < 0 || pov >= g_dev.joysticks[slot].info.povs) return false;
  g_dev.joysticks[slot].state.pov[pov] = hundredthsOfDegree;
  return true;
}

bool headlessMouseMove(int32_t dx, int32_t dy) {
  if (!isHeadless()) return false;
  g_dev.mouse.dx += dx;
  g_dev.mouse.dy += dy;
  g_dev.mouseX += dx;
  g_dev.mouseY += dy;
  if (g_dev.mouseX < 0) g_dev.mouseX = 0;
  if (g_dev.mouseY < 0) g_dev.mouseY = 0;
  postMouse(kMsgMouseMove);
  return true;
}

bool headlessMouseAt(int32_t x, int32_t y) {
  if (!isHeadless()) return false;
  g_dev.mouseX = x < 0 ? 0 : x;
  g_dev.mouseY = y < 0 ? 0 : y;
  postMouse(kMsgMouseMove);
  return true;
}

bool headlessMouseButton(int button, bool down) {
  if (!isHeadless() || button < 0 || button >= kMouseButtons) return false;
  g_dev.mouse.buttons[button] = down ? kKeyDown : 0;
  static const uint32_t kDown[3] = {kMsgLeftButtonDown, kMsgRightButtonDown, kMsgMiddleButtonDown};
  static const uint32_t kUp[3] = {kMsgLeftButtonUp, kMsgRightButtonUp, kMsgMiddleButtonUp};
  if (button < 3) postMouse(down ? kDown[button] : kUp[button]);
  return true;
}

bool headlessMouseWheel(int32_t dz) {
  if (!isHeadless()) return false;
  g_dev.mouse.dz += dz;
  return true;
}

void headlessInputReset() {
  g_dev = VirtualDevices{};
  internal::inputKeysForget();
}

}  // namespace platform
