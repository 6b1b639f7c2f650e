// Input ports: reading the ports' widgets, the binding tables, the event pool
// and the per-port event queues.
#include "shell/input.h"

#include <cmath>
#include <cstring>

#include "framework/qdx_assert.h"
#include "framework/qdx_input.h"
#include "shell/gmewidg.h"
#include "shell/imath.h"
#include "shell/user.h"

const InputPortBinding* input_apipbInputBindings[INPUT_PORT_BINDINGS_MAX];

namespace {

InputPort s_aoPorts[INPUT_PORTS_MAX];
int32_t s_cPorts = 0;
int32_t s_iFrame = 0;
int32_t s_iRepeatInitial = 8;  // frames from a press to the first repeat event, less one
int32_t s_iRepeatNext = 2;     // frames between repeat events, less one

InputPortAddedFn s_pfnPortAdded = nullptr;
bool s_bStarted = false;  // the ports found at start-up are set up

InputEvent s_aoEventPool[INPUT_EVENT_POOL_SIZE];
InputEvent* s_pFreeEvents = nullptr;  // the pool, linked through oLink.pNext

constexpr int32_t kAxisThreshold = 16383;

// Key/button map entries.
constexpr int32_t kMapLeft = 10;
constexpr int32_t kMapRight = 11;
constexpr int32_t kMapUp = 12;
constexpr int32_t kMapDown = 13;
constexpr int32_t kMapAnalogueX = 14;
constexpr int32_t kMapAnalogueY = 15;

constexpr uint8_t kKeyboardDefaultKeys[14] = {0x50, 0x4D, 0x48, 0x4B, 0xD2, 0x37, 0xC7,
                                              0x0C, 0x39, 0x2A, 0xCB, 0xCD, 0xC8, 0xD0};

InputEvent* NextFree(InputEvent* pEvent) { return reinterpret_cast<InputEvent*>(pEvent->oLink.pNext); }

void PoolInit() {
  std::memset(s_aoEventPool, 0, sizeof s_aoEventPool);
  for (int32_t i = 0; i + 1 < INPUT_EVENT_POOL_SIZE; ++i) s_aoEventPool[i].oLink.pNext = &s_aoEventPool[i + 1].oLink;
  s_pFreeEvents = &s_aoEventPool[0];
}

void KeyboardDefaultMap(InputPort* pip) {
  std::memset(pip->aoKeyMap, 0, sizeof pip->aoKeyMap);
  for (int32_t i = 0; i < 14; ++i) pip->aoKeyMap[i] = InputKeyMapEntry{0, kKeyboardDefaultKeys[i], INPUT_KEYMAP_KEY};
}

void JoystickDefaultMap(InputPort* pip) {
  std::memset(pip->aoKeyMap, 0, sizeof pip->aoKeyMap);
  for (int32_t i = 0; i < INPUT_KEYMAP_SIZE; ++i) {
    if (i < 10 && i >= pip->cButtons) continue;
    pip->aoKeyMap[i] = InputKeyMapEntry{static_cast<uint8_t>(i), 0, INPUT_KEYMAP_JOYSTICK};
  }
}

void PortDeviceSet(InputPort* pip, int32_t iDevice, int32_t eType, QInputJoystick* pJoystick) {
  pip->iDevice = iDevice;
  pip->eDeviceType = eType;
  pip->pfnRead = input_PCControllerRead;
  pip->pJoystick = pJoystick;
  pip->cButtons = pJoystick ? QInputJoystickGetButtonCount(pJoystick) : 0;
  queue_Init(&pip->oEvents);
  pip->bEventsEnabled = 0;
  pip->uFirstPressed = INPUT_NO_BUTTON;
  if (eType == INPUT_DEVICE_KEYBOARD) KeyboardDefaultMap(pip);
  else JoystickDefaultMap(pip);
}

// Joysticks plugged in after start-up get ports of their own, set up as the
// ones found at start-up, while ports are left.
void PortsAddNewJoysticks() {
  int32_t cJoysticks = QInputJoystickEnumerateNew();
  while (s_cPorts < INPUT_PORTS_MAX && s_cPorts - 1 < cJoysticks) {
    InputPort* pip = &s_aoPorts[s_cPorts];
    PortDeviceSet(pip, s_cPorts, INPUT_DEVICE_JOYSTICK, QInputJoystickGet(s_cPorts - 1));
    ++s_cPorts;
    if (s_bStarted && s_pfnPortAdded) s_pfnPortAdded(pip);
  }
}

int32_t AxisValue(const InputPort* pip, int32_t iAxis) {
  return pip->pJoystick ? QInputJoystickGetAxis(pip->pJoystick, iAxis) : 0;
}

bool EntryUsesJoystick(const InputPort* pip, int32_t iEntry) {
  return (pip->aoKeyMap[iEntry].cFlags & INPUT_KEYMAP_JOYSTICK) != 0;
}

bool KeyDown(uint8_t cKey) {
  const uint8_t* pabState = QKeyboardGetState();
  return pabState && (pabState[cKey] & 0x80) != 0;
}

int32_t DirectionRead(const InputPort* pip, int32_t iEntry) {
  const InputKeyMapEntry& e = pip->aoKeyMap[iEntry];
  if (e.cFlags & INPUT_KEYMAP_JOYSTICK) {
    switch (iEntry) {
      case kMapLeft: return AxisValue(pip, 0) < -kAxisThreshold;
      case kMapRight: return AxisValue(pip, 0) > kAxisThreshold;
      case kMapUp: return AxisValue(pip, 1) < -kAxisThreshold;
      default: return AxisValue(pip, 1) >= kAxisThreshold + 1;
    }
  }
  if (e.cFlags & INPUT_KEYMAP_KEY) return KeyDown(e.cKey) ? 1 : 0;
  return 0;
}

int32_t StickRead(InputPort* pip) {
  if (EntryUsesJoystick(pip, kMapAnalogueX)) {
    int64_t x = AxisValue(pip, 0);
    int64_t y = -static_cast<int64_t>(AxisValue(pip, 1));
    int64_t iLength = static_cast<int64_t>(std::sqrt(static_cast<double>(x * x + y * y)));
    int32_t iMagnitude = static_cast<int32_t>(static_cast<double>(iLength) * 0.0128);
    if (iMagnitude > 128) iMagnitude = 128;
    if (iMagnitude == 0) return 0;
    double dAngle = static_cast<double>(imath_Atan2(static_cast<int32_t>(y), static_cast<int32_t>(x)) - 200) * 180.0 / 401.0;
    int32_t iAngle = dAngle < 0 ? 360 - static_cast<int32_t>(-dAngle) : static_cast<int32_t>(dAngle);
    return static_cast<int32_t>(static_cast<uint32_t>(iAngle) << 16 | static_cast<uint32_t>(iMagnitude));
  }
  const bool bLeft = pip->pfnRead(INPUT_WIDGET_LEFT, pip) != 0;
  const bool bRight = pip->pfnRead(INPUT_WIDGET_RIGHT, pip) != 0;
  const bool bUp = pip->pfnRead(INPUT_WIDGET_UP, pip) != 0;
  const bool bDown = pip->pfnRead(INPUT_WIDGET_DOWN, pip) != 0;
  int32_t iAngle;
  if (bLeft) iAngle = bUp ? 45 : (bDown ? 135 : 90);
  else if (bRight) iAngle = bUp ? 315 : (bDown ? 225 : 270);
  else if (bUp) iAngle = 0;
  else if (bDown) iAngle = 180;
  else return 0;
  return (iAngle << 16) | 128;
}

// The widget an entry reads through the port's configuration; 0 for none
// (such an entry is skipped: it neither reads nor ends the table).
int32_t EntryWidget(const InputPort* pip, const InputPortBinding* pEntry) {
  int32_t eWidget = gmewidg_eGetWidget(static_cast<int32_t>(pEntry->eFunction), pip->cConfig);
  return (eWidget > 0 && eWidget < INPUT_WIDGETS_MAX) ? eWidget : 0;
}

void EventQueue(InputPort* pip, const InputPortBinding* pEntry, InputWidgetState* pS) {
  InputEvent* pEvent = nullptr;
  if (!input_bEventAlloc(&pEvent)) return;  // an exhausted pool drops the event
  pEvent->eEvent = static_cast<int32_t>(pEntry->eEvent);
  pEvent->pWidget = pS;
  queue_Append(&pip->oEvents, &pEvent->oLink);
}

void PortRead(InputPort* pip) {
  if (pip->eDeviceType == INPUT_DEVICE_JOYSTICK && pip->pJoystick) {
    QInputJoystickAcquire(pip->pJoystick, 1);
    pip->cButtons = QInputJoystickGetButtonCount(pip->pJoystick);
    QInputJoystickPoll(pip->pJoystick);
  }
  const InputPortBinding* pipbInputPortBinding = pip->pipbInputPortBinding;
  QDX_ASSERT(pipbInputPortBinding != NULL);
  for (const InputPortBinding* pEntry = pipbInputPortBinding; pEntry->eTrigger != INPUT_TRIGGER_END; ++pEntry) {
    int32_t eWidget = EntryWidget(pip, pEntry);
    if (eWidget == 0) continue;
    InputWidgetState* pS = &pip->aoWidget[eWidget];
    if (pS->iReadStamp == s_iFrame) continue;  // a widget bound several times is read once
    pS->iReadStamp = s_iFrame;
    pS->iPrevious = pS->iCurrent;
    pS->iCurrent = pip->pfnRead ? pip->pfnRead(eWidget, pip) : 0;
  }
  if (pip->uFirstPressed == INPUT_NO_BUTTON || pip->uFirstPressed == INPUT_NO_BUTTON_CONTROLS) {
    if (pip->eDeviceType == INPUT_DEVICE_KEYBOARD) {
      uint32_t uKey = QKeyboardGetLastKey();
      if (uKey != 0) {
        pip->uFirstPressed = uKey;
        QKeyboardClearLastKey();
      }
    } else {
      for (int32_t i = 0; i < pip->cButtons; ++i)
        if (QInputJoystickGetButton(pip->pJoystick, i)) {
          pip->uFirstPressed = static_cast<uint32_t>(i);
          break;
        }
    }
  }
  if (pip->eDeviceType == INPUT_DEVICE_JOYSTICK && pip->pJoystick) QInputJoystickAcquire(pip->pJoystick, 0);
}

void PortEventsGenerate(InputPort* pip) {
  for (const InputPortBinding* pEntry = pip->pipbInputPortBinding; pEntry->eTrigger != INPUT_TRIGGER_END; ++pEntry) {
    int32_t eWidget = EntryWidget(pip, pEntry);
    if (eWidget == 0) continue;
    InputWidgetState* pS = &pip->aoWidget[eWidget];
    if (pS->iTapState == 2 && pS->iTapStamp < s_iFrame) pS->iTapState = 0;
    const bool bPrev = pS->iPrevious != 0;
    const bool bCur = pS->iCurrent != 0;
    switch (pEntry->eTrigger) {
      case INPUT_TRIGGER_ALWAYS: EventQueue(pip, pEntry, pS); break;
      case INPUT_TRIGGER_PRESS:
        if (!bPrev && bCur && pS->iTapState != 2) EventQueue(pip, pEntry, pS);
        break;
      case INPUT_TRIGGER_RELEASE:
        if (bPrev && !bCur && (pS->iTapState == 0 || pS->iTapState == 1)) EventQueue(pip, pEntry, pS);
        break;
      case INPUT_TRIGGER_HELD:
        if (bPrev && bCur) EventQueue(pip, pEntry, pS);
        break;
      case INPUT_TRIGGER_REPEAT:
        if (!bPrev && bCur && pS->iTapState != 2) {
          EventQueue(pip, pEntry, pS);
          pS->iRepeat = s_iRepeatInitial;
        } else if (bPrev && bCur) {
          if (pS->iRepeat == 0) {
            EventQueue(pip, pEntry, pS);
            pS->iRepeat = s_iRepeatNext;
          } else {
            --pS->iRepeat;
          }
        }
        break;
      case INPUT_TRIGGER_DOUBLE_TAP:
        if (pS->iTapState == 0) {
          if (bPrev && !bCur) {
            pS->iTapState = 1;
            pS->iTapStamp = s_iFrame;
          }
        } else if (pS->iTapState == 1) {
          if (s_iFrame >= pS->iTapStamp + 6) {
            pS->iTapState = 0;
            // Still released: release entries later in the table report the
            // release in this frame.
            if (!bCur) pS->iPrevious = 1;
          } else if (bPrev && !bCur) {
            InputEvent* pEvent = nullptr;
            if (input_bEventAlloc(&pEvent)) {
              pEvent->eEvent = static_cast<int32_t>(pEntry->eEvent);
              pEvent->pWidget = pS;
              queue_Append(&pip->oEvents, &pEvent->oLink);
              pS->iTapState = 2;
              pS->iTapStamp = s_iFrame;
            } else {
              pS->iTapState = 0;
            }
          }
        }
        break;
      default: break;
    }
  }
}

// The id of the registered table that stands in for an empty slot: the
// nearest registered id below, else the lowest registered one above; -1 when
// no table is registered at all.
int32_t BindingFallback(int32_t eBinding) {
  for (int32_t i = eBinding - 1; i >= 0; --i)
    if (input_apipbInputBindings[i]) return i;
  for (int32_t i = eBinding + 1; i < INPUT_PORT_BINDINGS_MAX; ++i)
    if (input_apipbInputBindings[i]) return i;
  return -1;
}

}  // namespace

// ---- set-up ----

void input_PortsInit() {
  s_iRepeatInitial = 8;
  s_iRepeatNext = 2;
  gmewidg_DefaultsSet();
  s_iFrame = 0;
  for (int32_t i = 0; i < INPUT_PORTS_MAX; ++i) {
    InputPort* pip = &s_aoPorts[i];
    std::memset(pip, 0, sizeof *pip);
    pip->iIndex = i;
    pip->uFirstPressed = INPUT_NO_BUTTON;
  }
  s_cPorts = 0;
  s_bStarted = false;
  QInputJoystickEnumerate();
  PortDeviceSet(&s_aoPorts[0], 0, INPUT_DEVICE_KEYBOARD, nullptr);
  s_cPorts = 1;
  PortsAddNewJoysticks();
  s_bStarted = true;
  PoolInit();
}

void input_PortAddedHookSet(InputPortAddedFn pfn) { s_pfnPortAdded = pfn; }

void input_PortsClear() {
  for (int32_t i = 0; i < INPUT_PORTS_MAX; ++i) {
    s_aoPorts[i].iIndex = i;
    s_aoPorts[i].bInUse = 0;
    s_aoPorts[i].bEventsEnabled = 0;
    s_aoPorts[i].pusr = nullptr;
  }
}

void input_PortsReinit() {
  for (int32_t i = 0; i < s_cPorts; ++i) {
    InputPort* pip = &s_aoPorts[i];
    pip->bInUse = 1;
    input_EventQueueFlush(&pip->oEvents);
    pip->bEventsEnabled = 1;
    pip->pusr = nullptr;
  }
}

// ---- reading and events ----

void input_PortsRead() {
  ++s_iFrame;
  PortsAddNewJoysticks();
  for (int32_t i = 0; i < s_cPorts; ++i)
    if (s_aoPorts[i].bInUse) PortRead(&s_aoPorts[i]);
}

void input_EventsGenerate() {
  for (int32_t i = 0; i < s_cPorts; ++i) {
    InputPort* pip = &s_aoPorts[i];
    if (pip->bInUse && pip->bEventsEnabled && pip->pipbInputPortBinding) PortEventsGenerate(pip);
  }
}

int32_t input_bButtonRead(const InputPort* pip, int32_t iEntry) {
  if (iEntry < 0 || iEntry >= INPUT_KEYMAP_SIZE) return 0;
  const InputKeyMapEntry& e = pip->aoKeyMap[iEntry];
  if (e.cFlags & INPUT_KEYMAP_JOYSTICK) return pip->pJoystick ? QInputJoystickGetButton(pip->pJoystick, e.cJoystick) : 0;
  if (e.cFlags & INPUT_KEYMAP_KEY) return KeyDown(e.cKey) ? 1 : 0;
  return 0;
}

int32_t input_PCControllerRead(int32_t eWidget, InputPort* pip) {
  switch (eWidget) {
    case INPUT_WIDGET_LEFT: return DirectionRead(pip, kMapLeft);
    case INPUT_WIDGET_RIGHT: return DirectionRead(pip, kMapRight);
    case INPUT_WIDGET_UP: return DirectionRead(pip, kMapUp);
    case INPUT_WIDGET_DOWN: return DirectionRead(pip, kMapDown);
    case INPUT_WIDGET_ANALOGUE_X: return EntryUsesJoystick(pip, kMapAnalogueX) ? AxisValue(pip, 0) : 0;
    case INPUT_WIDGET_ANALOGUE_Y: return EntryUsesJoystick(pip, kMapAnalogueY) ? -AxisValue(pip, 1) : 0;
    case 15: return input_bButtonRead(pip, 8);
    case 16: return input_bButtonRead(pip, 9);
    case INPUT_WIDGET_STICK: return StickRead(pip);
    default:
      if (eWidget >= 17 && eWidget <= 24) return input_bButtonRead(pip, eWidget - 17);
      return 0;
  }
}

// ---- bindings ----

void input_BindingTableSet(const InputPortBinding* pipbTable, int32_t cBinding) {
  QDX_ASSERT(cBinding >= 0 && cBinding < INPUT_PORT_BINDINGS_MAX);
  input_apipbInputBindings[cBinding] = pipbTable;
}

void input_BindingTablesClear() {
  for (const InputPortBinding*& pipb : input_apipbInputBindings) pipb = nullptr;
}

void input_PortBindingSet(int32_t eBinding, InputPort* pip) {
  QDX_ASSERT(eBinding < INPUT_PORT_BINDINGS_MAX);
  QDX_ASSERT(eBinding >= 0);
  if (!pip) return;
  int32_t eTable = eBinding;
  if (!input_apipbInputBindings[eTable]) {
    // A table that was never registered: use a registered one instead.
    eTable = BindingFallback(eBinding);
    if (eTable < 0) return;
  }
  // Already active: the id and the table in use both match (a restored table
  // pointer, or a port that never had a table, is not the id's table).
  if (pip->eBinding == eBinding && pip->pipbInputPortBinding == input_apipbInputBindings[eTable]) return;
  pip->eBinding = eBinding;
  pip->pipbInputPortBinding = input_apipbInputBindings[eTable];
  for (const InputPortBinding* pEntry = pip->pipbInputPortBinding; pEntry->eTrigger != INPUT_TRIGGER_END; ++pEntry) {
    int32_t eWidget = EntryWidget(pip, pEntry);
    if (eWidget == 0 || eWidget == INPUT_WIDGET_STICK) continue;
    InputWidgetState* pS = &pip->aoWidget[eWidget];
    if (pS->iTapStamp < s_iFrame) {
      // A key held across the switch starts afresh.
      pS->iTapState = 0;
      pS->iPrevious = 0;
      pS->iCurrent = 0;
    }
  }
}

void input_PortBindingSave(InputPort* pip) {
  if (pip) pip->pipbSaved = pip->pipbInputPortBinding;
}

void input_PortBindingRestore(InputPort* pip) {
  if (pip) pip->pipbInputPortBinding = pip->pipbSaved;
}

void input_PortPendingSet(InputPort* pip) {
  if (pip) pip->bEventsEnabled = 1;
}

void input_PortPendingClear(InputPort* pip) {
  if (pip) pip->bEventsEnabled = 0;
}

// ---- events ----

int32_t input_bEventAlloc(InputEvent** ppEvent) {
  QDX_ASSERT(ppEvent);
  if (!s_pFreeEvents) {
    *ppEvent = nullptr;
    return 0;
  }
  InputEvent* pEvent = s_pFreeEvents;
  s_pFreeEvents = NextFree(pEvent);
  pEvent->oLink.pNext = nullptr;
  pEvent->oLink.pPrev = nullptr;
  *ppEvent = pEvent;
  return 1;
}

void input_EventFree(InputEvent** ppEvent) {
  if (!ppEvent || !*ppEvent) return;
  InputEvent* pEvent = *ppEvent;
  QDX_ASSERT(pEvent >= s_aoEventPool && pEvent < s_aoEventPool + INPUT_EVENT_POOL_SIZE);
  pEvent->pWidget = nullptr;
  pEvent->oLink.pPrev = nullptr;
  if (!s_pFreeEvents) {
    pEvent->oLink.pNext = nullptr;
    s_pFreeEvents = pEvent;
  } else {
    // Back into the pool directly behind its first event.
    pEvent->oLink.pNext = s_pFreeEvents->oLink.pNext;
    s_pFreeEvents->oLink.pNext = &pEvent->oLink;
  }
  *ppEvent = nullptr;
}

void input_EventQueueFlush(Queue* pQueue) {
  if (!pQueue) return;
  while (ListNode* pNode = queue_RemoveHead(pQueue)) {
    InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
    input_EventFree(&pEvent);
  }
}

int32_t input_iGetFreeEventCount() {
  int32_t n = 0;
  for (InputEvent* p = s_pFreeEvents; p && n <= INPUT_EVENT_POOL_SIZE; p = NextFree(p)) ++n;
  return n;
}

// ---- queries ----

int32_t input_iGetFrame() { return s_iFrame; }
int32_t input_iGetPortCount() { return s_cPorts; }

InputPort* input_poGetPort(int32_t i) {
  if (i < 0 || i >= INPUT_PORTS_MAX) return nullptr;
  return &s_aoPorts[i];
}

int32_t input_iGetDeviceType(const InputPort* pip) { return pip ? pip->eDeviceType : 0; }

int32_t input_iGetFirstPressedButton(InputPort* pip) {
  if (!pip || pip->uFirstPressed == INPUT_NO_BUTTON || pip->uFirstPressed == INPUT_NO_BUTTON_CONTROLS) return -1;
  // Taking the pending key or button makes room for the next one.
  int32_t iButton = static_cast<int32_t>(pip->uFirstPressed);
  pip->uFirstPressed = INPUT_NO_BUTTON;
  return iButton;
}

int32_t input_bAngleNear90(int32_t iAngle) { return (iAngle > 90 ? iAngle - 90 : 90 - iAngle) < 25; }
int32_t input_bAngleNear270(int32_t iAngle) { return (iAngle > 270 ? iAngle - 270 : 270 - iAngle) < 25; }

const char* input_pszGetControllerName() { return "PC CONTROLLER"; }
int32_t input_bControllerMissing() { return 0; }
int32_t input_bReturn1() { return 1; }
void input_Nop() {}

// ---- users ----

void input_ActiveUsersBind(int32_t eBinding) {
  for (User& usr : user_aUsers)
    if (usr.bActive && usr.pip) input_PortBindingSet(eBinding, usr.pip);
}

void input_ActiveUsersPortMarkSet() {
  for (User& usr : user_aUsers)
    if (usr.bActive && usr.pip) usr.pip->iMark = 1;
}

void input_ActiveUsersPortMarkSave() {
  for (User& usr : user_aUsers)
    if (usr.bActive && usr.pip) usr.pip->iMarkSaved = usr.pip->iMark;
}

void input_ActiveUsersPortMarkRestore() {
  for (User& usr : user_aUsers)
    if (usr.bActive && usr.pip) usr.pip->iMark = usr.pip->iMarkSaved;
}

void input_FirstFreeUserAttach() {
  game_UsersReset();
  input_PortsClear();
  User* pusr = &user_aUsers[0];
  InputPort* pip = &s_aoPorts[0];
  pusr->pip = pip;
  pusr->bAttachPending = 1;
  pip->pusr = pusr;
  pip->bInUse = 0;
  pip->bEventsEnabled = 0;
}

int32_t input_bUserActivate(User* pusr) {
  if (!pusr || !pusr->bAttachPending) return 0;
  pusr->bAttachPending = 0;
  pusr->bActive = 1;
  InputPort* pip = pusr->pip;
  if (pip) {
    pip->bInUse = 1;
    input_EventQueueFlush(&pip->oEvents);
    pip->bEventsEnabled = 1;
  }
  return 1;
}
