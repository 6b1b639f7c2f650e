// SDL backend of the input devices. The keyboard is read from SDL's key
// state through the scan-code table; joysticks and game controllers are
// opened as they appear (at start and when plugged in later) and keep their
// slot when unplugged, so the same pad plugged in again is found again.
#include <SDL.h>

#include <cstring>

#include "platform/input_internal.h"
#include "platform/input_scancodes.h"
#include "platform/internal.h"
#include "platform/sdl/sdl_events.h"

namespace platform {
namespace {

struct SdlJoystick {
  bool present = false;
  SDL_Joystick* joystick = nullptr;
  SDL_GameController* controller = nullptr;
  SDL_JoystickID instance = -1;
  SDL_JoystickGUID guid{};
  JoystickInfo info{};
};

struct SdlInput {
  bool started = false;
  int observer = 0;
  SdlJoystick slots[kJoystickMax];
  int count = 0;
  int32_t mouseDx = 0, mouseDy = 0, mouseDz = 0;
  uint8_t mouseButtons[kMouseButtons] = {};
};
SdlInput g_in;

// Controller buttons in the order the game numbers them: the four face
// buttons first (south, east, north, west), shoulders, stick clicks, then
// Start and Back, which the default maps read as the two menu buttons.
constexpr SDL_GameControllerButton kControllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_GUIDE,      SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_PADDLE1,   SDL_CONTROLLER_BUTTON_PADDLE2,    SDL_CONTROLLER_BUTTON_PADDLE3,
    SDL_CONTROLLER_BUTTON_PADDLE4,   SDL_CONTROLLER_BUTTON_TOUCHPAD,
};
constexpr int kControllerButtonCount = static_cast<int>(sizeof kControllerButtons / sizeof kControllerButtons[0]);
constexpr SDL_GameControllerAxis kControllerAxes[kJoystickAxes] = {
    SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,  SDL_CONTROLLER_AXIS_TRIGGERLEFT,
    SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};

int32_t clampAxis(int v) { return v < -kJoystickAxisMax ? -kJoystickAxisMax : (v > kJoystickAxisMax ? kJoystickAxisMax : v); }

uint32_t povFromHat(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return kPovCentred;
  }
}

void copyName(char* to, size_t size, const char* from) {
  std::memset(to, 0, size);
  std::strncpy(to, from ? from : "Joystick", size - 1);
}

void closeSlot(SdlJoystick& s) {
  if (s.controller) SDL_GameControllerClose(s.controller);
  else if (s.joystick) SDL_JoystickClose(s.joystick);
  s.controller = nullptr;
  s.joystick = nullptr;
  s.instance = -1;
  s.present = false;
}

void deviceAdded(int deviceIndex) {
  SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  for (int i = 0; i < g_in.count; ++i)
    if (g_in.slots[i].present && g_in.slots[i].instance == id) return;  // already open
  SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(deviceIndex);
  const char* name = SDL_JoystickNameForIndex(deviceIndex);
  int slot = -1;
  for (int i = 0; i < g_in.count && slot < 0; ++i)
    if (!g_in.slots[i].present && std::memcmp(&g_in.slots[i].guid, &guid, sizeof guid) == 0) slot = i;
  if (slot < 0) {
    if (g_in.count >= kJoystickMax) return;
    slot = g_in.count;
  }
  SdlJoystick& s = g_in.slots[slot];
  s = SdlJoystick{};
  if (SDL_IsGameController(deviceIndex)) s.controller = SDL_GameControllerOpen(deviceIndex);
  s.joystick = s.controller ? SDL_GameControllerGetJoystick(s.controller) : SDL_JoystickOpen(deviceIndex);
  if (!s.joystick) return;
  s.present = true;
  s.instance = SDL_JoystickInstanceID(s.joystick);
  s.guid = guid;
  if (slot == g_in.count) ++g_in.count;
  JoystickInfo& info = s.info;
  if (s.controller) {
    copyName(info.name, sizeof info.name, SDL_GameControllerName(s.controller));
    copyName(info.productName, sizeof info.productName, name);
    info.axes = kJoystickAxes;
    info.buttons = kControllerButtonCount;
    info.povs = 1;  // the d-pad
    info.gameController = true;
  } else {
    copyName(info.name, sizeof info.name, name);
    copyName(info.productName, sizeof info.productName, name);
    int axes = SDL_JoystickNumAxes(s.joystick);
    int buttons = SDL_JoystickNumButtons(s.joystick);
    int hats = SDL_JoystickNumHats(s.joystick);
    info.axes = axes < 0 ? 0 : (axes > kJoystickAxes ? kJoystickAxes : axes);
    info.buttons = buttons < 0 ? 0 : (buttons > kJoystickButtons ? kJoystickButtons : buttons);
    info.povs = hats < 0 ? 0 : (hats > kJoystickPovs ? kJoystickPovs : hats);
    info.gameController = false;
  }
}

void deviceRemoved(SDL_JoystickID id) {
  for (int i = 0; i < g_in.count; ++i)
    if (g_in.slots[i].present && g_in.slots[i].instance == id) closeSlot(g_in.slots[i]);
}

void observe(const SDL_Event& e, void*) {
  switch (e.type) {
    case SDL_JOYDEVICEADDED: deviceAdded(e.jdevice.which); break;
    case SDL_JOYDEVICEREMOVED: deviceRemoved(e.jdevice.which); break;
    case SDL_KEYDOWN:
      if (!e.key.repeat) internal::inputKeyPressed(scanCodeFromSdl(e.key.keysym.scancode));
      break;
    case SDL_MOUSEMOTION:
      g_in.mouseDx += e.motion.xrel;
      g_in.mouseDy += e.motion.yrel;
      break;
    case SDL_MOUSEWHEEL: g_in.mouseDz += e.wheel.y * 120; break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int b = -1;
      if (e.button.button == SDL_BUTTON_LEFT) b = 0;
      else if (e.button.button == SDL_BUTTON_RIGHT) b = 1;
      else if (e.button.button == SDL_BUTTON_MIDDLE) b = 2;
      else if (e.button.button == SDL_BUTTON_X1) b = 3;
      if (b >= 0) g_in.mouseButtons[b] = e.type == SDL_MOUSEBUTTONDOWN ? kKeyDown : 0;
      break;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) internal::inputFocusChanged(true);
      else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) internal::inputFocusChanged(false);
      break;
    default: break;
  }
}

void start() {
  // SDL quits as a whole when the layer stops: a later start begins afresh.
  if (g_in.started && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) return;
  if (g_in.observer != 0) sdl::removeEventObserver(g_in.observer);
  g_in = SdlInput{};
  g_in.started = true;
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);  // plain joysticks still work without the controller mapping
  }
  g_in.observer = sdl::addEventObserver(observe, nullptr);
  int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) deviceAdded(i);
}

// ---- backend operations ----

void opKeyboardState(uint8_t state[kKeyCount]) {
  start();
  std::memset(state, 0, kKeyCount);
  int n = 0;
  const Uint8* keys = SDL_GetKeyboardState(&n);
  for (int sc = 0; sc < n; ++sc)
    if (keys[sc]) {
      uint8_t code = scanCodeFromSdl(sc);
      if (code) state[code] = kKeyDown;
    }
}

int opJoystickCount() {
  start();
  return g_in.count;
}

bool opJoystickInfo(int slot, JoystickInfo* info) {
  if (slot < 0 || slot >= g_in.count) return false;
  *info = g_in.slots[slot].info;
  return true;
}

bool opJoystickPresent(int slot) {
  return slot >= 0 && slot < g_in.count && g_in.slots[slot].present && SDL_JoystickGetAttached(g_in.slots[slot].joystick);
}

void opJoystickState(int slot, JoystickState* out) {
  SdlJoystick& s = g_in.slots[slot];
  std::memset(out, 0, sizeof *out);
  for (uint32_t& p : out->pov) p = kPovCentred;
  if (s.controller) {
    for (int a = 0; a < kJoystickAxes; ++a) out->axis[a] = clampAxis(SDL_GameControllerGetAxis(s.controller, kControllerAxes[a]));
    for (int b = 0; b < kControllerButtonCount; ++b)
      out->buttons[b] = SDL_GameControllerGetButton(s.controller, kControllerButtons[b]) ? kKeyDown : 0;
    bool up = SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
    bool down = SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    bool left = SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    bool right = SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Uint8 hat = SDL_HAT_CENTERED;
    if (up) hat |= SDL_HAT_UP;
    if (down) hat |= SDL_HAT_DOWN;
    if (left) hat |= SDL_HAT_LEFT;
    if (right) hat |= SDL_HAT_RIGHT;
    out->pov[0] = povFromHat(hat);
    // The d-pad steers like the stick: the game reads directions from X and Y.
    if (left != right) out->axis[0] = left ? -kJoystickAxisMax : kJoystickAxisMax;
    if (up != down) out->axis[1] = up ? -kJoystickAxisMax : kJoystickAxisMax;
    return;
  }
  for (int a = 0; a < s.info.axes; ++a) out->axis[a] = clampAxis(SDL_JoystickGetAxis(s.joystick, a));
  for (int b = 0; b < s.info.buttons; ++b) out->buttons[b] = SDL_JoystickGetButton(s.joystick, b) ? kKeyDown : 0;
  for (int h = 0; h < s.info.povs; ++h) out->pov[h] = povFromHat(SDL_JoystickGetHat(s.joystick, h));
}

void opMouseTake(MouseState* state) {
  start();
  state->dx = g_in.mouseDx;
  state->dy = g_in.mouseDy;
  state->dz = g_in.mouseDz;
  std::memcpy(state->buttons, g_in.mouseButtons, kMouseButtons);
  g_in.mouseDx = g_in.mouseDy = g_in.mouseDz = 0;
}

void opMousePosition(int32_t* x, int32_t* y) {
  int mx = 0, my = 0;
  SDL_GetMouseState(&mx, &my);
  *x = mx;
  *y = my;
}

}  // namespace

namespace internal {
const InputOps kSdlInputOps = {opKeyboardState, opJoystickCount, opJoystickInfo, opJoystickPresent,
                               opJoystickState, opMouseTake,     opMousePosition};
}  // namespace internal

}  // namespace platform

// ---- virtual joysticks for tests ----

#include "platform/input_sdl_testing.h"

namespace platform {
namespace {

SDL_Joystick* openSlot(int slot) {
  if (internal::backend() != BackendKind::Sdl || slot < 0 || slot >= g_in.count || !g_in.slots[slot].present) return nullptr;
  return g_in.slots[slot].joystick;
}

}  // namespace

bool sdlTestJoystickAttach(const char* name, bool controller) {
  if (internal::backend() != BackendKind::Sdl) return false;
  start();
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.name = name;
  if (controller) {
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
  } else {
    desc.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    desc.naxes = 6;
    desc.nbuttons = 40;
    desc.nhats = 1;
  }
  return SDL_JoystickAttachVirtualEx(&desc) >= 0;
}

bool sdlTestJoystickDetach(int slot) {
  SDL_Joystick* joystick = openSlot(slot);
  if (!joystick) return false;
  SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) return SDL_JoystickDetachVirtual(i) == 0;
  return false;
}

bool sdlTestJoystickButton(int slot, int button, bool down) {
  SDL_Joystick* joystick = openSlot(slot);
  return joystick && SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED) == 0;
}

bool sdlTestJoystickAxis(int slot, int axis, int16_t value) {
  SDL_Joystick* joystick = openSlot(slot);
  return joystick && SDL_JoystickSetVirtualAxis(joystick, axis, value) == 0;
}

bool sdlTestJoystickHat(int slot, int hat, uint8_t sdlHatBits) {
  SDL_Joystick* joystick = openSlot(slot);
  return joystick && SDL_JoystickSetVirtualHat(joystick, hat, sdlHatBits) == 0;
}

bool sdlTestKeyEvent(uint8_t scanCode, bool down) {
  int sc = sdlScancodeFromScanCode(scanCode);
  if (internal::backend() != BackendKind::Sdl || sc < 0) return false;
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(sc);
  return SDL_PushEvent(&e) == 1;
}

}  // namespace platform
