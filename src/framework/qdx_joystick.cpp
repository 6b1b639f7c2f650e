// Up to 20 joysticks, enumerated once (joysticks plugged in later are added
// behind them), each read as a full joystick state. A joystick that is
// unplugged or whose application lost the foreground reads as released.
#include <cstring>

#include "framework/qdx_input.h"
#include "framework/qdx_input_internal.h"
#include "platform/input.h"

namespace {

QInputJoystick s_aoJoysticks[QINPUT_JOYSTICK_MAX];
int32_t s_cJoysticks = 0;
int32_t s_bEnumerated = 0;

constexpr int32_t kResultLost = 8;  // the device is not available this time

void ClearState(QInputJoystick* pJoy) {
  std::memset(&pJoy->oState, 0, sizeof pJoy->oState);
  for (uint32_t& uPov : pJoy->oState.rgdwPOV) uPov = 0xFFFFFFFFu;
}

int32_t ResultCode(platform::InputResult eResult) {
  switch (eResult) {
    case platform::InputResult::Ok: return 0;
    case platform::InputResult::Lost: return kResultLost;
    default: return 7;
  }
}

// Scales a reading of the platform's range -32767..32767 into the device
// range [iLow, iHigh].
int32_t Scale(int32_t iValue, int32_t iLow, int32_t iHigh) {
  if (iLow == QINPUT_AXIS_MIN && iHigh == QINPUT_AXIS_MAX) return iValue;
  int64_t lSpan = static_cast<int64_t>(iHigh) - iLow;
  return static_cast<int32_t>(iLow + (static_cast<int64_t>(iValue) - QINPUT_AXIS_MIN) * lSpan /
                                         (static_cast<int64_t>(QINPUT_AXIS_MAX) - QINPUT_AXIS_MIN));
}

int32_t* AxisField(QInputJoyState* pState, int32_t iAxis) {
  switch (iAxis) {
    case 0: return &pState->lX;
    case 1: return &pState->lY;
    case 2: return &pState->lZ;
    case 3: return &pState->lRx;
    case 4: return &pState->lRy;
    case 5: return &pState->lRz;
    default: return nullptr;
  }
}

int32_t ReadState(QInputJoystick* pJoy) {
  platform::JoystickState oRaw;
  platform::InputResult eResult = platform::joystickRead(pJoy->oInstance.iDevice, &oRaw);
  if (eResult != platform::InputResult::Ok) return ResultCode(eResult);
  ClearState(pJoy);
  for (int32_t iAxis = 0; iAxis < QINPUT_JOYSTICK_AXES; ++iAxis) {
    int32_t iLow = pJoy->aiRangeMin[iAxis] < pJoy->aiRangeMax[iAxis] ? pJoy->aiRangeMin[iAxis] : pJoy->aiRangeMax[iAxis];
    int32_t iHigh = pJoy->aiRangeMin[iAxis] < pJoy->aiRangeMax[iAxis] ? pJoy->aiRangeMax[iAxis] : pJoy->aiRangeMin[iAxis];
    *AxisField(&pJoy->oState, iAxis) = Scale(oRaw.axis[iAxis], iLow, iHigh);
  }
  std::memcpy(pJoy->oState.rgdwPOV, oRaw.pov, sizeof pJoy->oState.rgdwPOV);
  std::memcpy(pJoy->oState.rgbButtons, oRaw.buttons, sizeof pJoy->oState.rgbButtons);
  return 0;
}

void AddRecord(int32_t iSlot) {
  QInputJoystick* pJoy = &s_aoJoysticks[s_cJoysticks++];
  std::memset(pJoy, 0, sizeof *pJoy);
  pJoy->oInstance.iDevice = iSlot;
  platform::JoystickInfo oInfo;
  if (platform::joystickInfo(iSlot, &oInfo)) {
    std::memcpy(pJoy->oInstance.szInstanceName, oInfo.name, sizeof pJoy->oInstance.szInstanceName);
    std::memcpy(pJoy->oInstance.szProductName, oInfo.productName, sizeof pJoy->oInstance.szProductName);
    pJoy->oInstance.szInstanceName[sizeof pJoy->oInstance.szInstanceName - 1] = '\0';
    pJoy->oInstance.szProductName[sizeof pJoy->oInstance.szProductName - 1] = '\0';
  }
  ClearState(pJoy);
}

}  // namespace

void QInputJoystickInitAll() {
  std::memset(s_aoJoysticks, 0, sizeof s_aoJoysticks);
  s_cJoysticks = 0;
  s_bEnumerated = 0;
}

int32_t QInputJoystickEnumerate() {
  if (s_bEnumerated) return s_cJoysticks;
  if (QInputCreate(nullptr) != 0) return 0;
  s_bEnumerated = 1;
  int32_t cDevices = platform::joystickCount();
  for (int32_t iSlot = 0; iSlot < cDevices && s_cJoysticks < QINPUT_JOYSTICK_MAX; ++iSlot) AddRecord(iSlot);
  for (int32_t i = 0; i < s_cJoysticks; ++i) QInputJoystickCreate(&s_aoJoysticks[i]);
  return s_cJoysticks;
}

int32_t QInputJoystickEnumerateNew() {
  if (!s_bEnumerated) return QInputJoystickEnumerate();
  int32_t cDevices = platform::joystickCount();
  while (s_cJoysticks < cDevices && s_cJoysticks < QINPUT_JOYSTICK_MAX) {
    // Platform slots are handed out in order, so record n is slot n.
    int32_t i = s_cJoysticks;
    AddRecord(i);
    QInputJoystickCreate(&s_aoJoysticks[i]);
  }
  return s_cJoysticks;
}

int32_t QInputJoystickGetCount() { return s_cJoysticks; }

void QInputJoystickPollAll() {
  for (int32_t i = 0; i < s_cJoysticks; ++i) QInputJoystickPoll(&s_aoJoysticks[i]);
}

void QInputJoystickCloseAll() {
  for (int32_t i = 0; i < s_cJoysticks; ++i) QInputJoystickRelease(&s_aoJoysticks[i]);
  s_cJoysticks = 0;
  s_bEnumerated = 0;
}

QInputJoystick* QInputJoystickGet(int32_t n) {
  if (n < 0 || n >= s_cJoysticks) return nullptr;
  return &s_aoJoysticks[n];
}

int32_t QInputJoystickCreate(QInputJoystick* pJoy) {
  if (!pJoy) return 7;
  platform::JoystickInfo oInfo;
  if (!platform::joystickInfo(pJoy->oInstance.iDevice, &oInfo)) return 7;
  pJoy->bCreated = 1;
  QInputJoystickCooperate(pJoy);
  pJoy->oCaps.cAxes = oInfo.axes;
  pJoy->oCaps.cButtons = oInfo.buttons;
  pJoy->oCaps.cPovs = oInfo.povs;
  for (int32_t iAxis = 0; iAxis < QINPUT_JOYSTICK_AXES; ++iAxis)
    QInputJoystickSetRange(pJoy, iAxis, QINPUT_AXIS_MIN, QINPUT_AXIS_MAX);
  return 0;
}

void QInputJoystickRelease(QInputJoystick* pJoy) {
  if (!pJoy) return;
  QInputJoystickAcquire(pJoy, 0);
  pJoy->bCreated = 0;
  ClearState(pJoy);
}

int32_t QInputJoystickSetRange(QInputJoystick* pJoy, int32_t iAxis, int32_t iMin, int32_t iMax) {
  if (!pJoy || iAxis < 0 || iAxis >= QINPUT_JOYSTICK_AXES) return 7;
  // The stored minimum and maximum keep the order given; the device range
  // is taken in ascending order when the state is read.
  pJoy->aiRangeMin[iAxis] = iMin;
  pJoy->aiRangeMax[iAxis] = iMax;
  return 0;
}

int32_t QInputJoystickGetAxis(QInputJoystick* pJoy, int32_t iAxis) {
  if (!pJoy) return 0;
  int32_t* piField = AxisField(&pJoy->oState, iAxis);
  if (!piField) return 0;
  // A range given with its minimum above its maximum reads the axis the
  // other way round.
  if (pJoy->aiRangeMin[iAxis] > pJoy->aiRangeMax[iAxis])
    return static_cast<int32_t>(static_cast<int64_t>(pJoy->aiRangeMin[iAxis]) + pJoy->aiRangeMax[iAxis] - *piField);
  return *piField;
}

int32_t QInputJoystickAcquire(QInputJoystick* pJoy, int32_t bFlag) {
  if (!pJoy) return 7;
  if (!bFlag) {
    platform::joystickUnacquire(pJoy->oInstance.iDevice);
    pJoy->bAcquired = 0;
    pJoy->bFirstAcquireDone = 0;
    return 0;
  }
  int32_t iResult = pJoy->bCreated ? ResultCode(platform::joystickAcquire(pJoy->oInstance.iDevice)) : 7;
  if (!pJoy->bFirstAcquireDone) {
    if (iResult != 0) {
      pJoy->bAcquired = 0;
      return iResult;
    }
    pJoy->bFirstAcquireDone = 1;
  }
  pJoy->bAcquired = 1;
  return iResult;
}

int32_t QInputJoystickPoll(QInputJoystick* pJoy) {
  if (!pJoy) return 7;
  if (!pJoy->bAcquired) {
    ClearState(pJoy);
    return 0;
  }
  int32_t iResult = ReadState(pJoy);
  if (iResult == kResultLost) {
    QInputJoystickAcquire(pJoy, 1);
    iResult = ReadState(pJoy);
    if (iResult == kResultLost) {
      ClearState(pJoy);
      return 0;
    }
  }
  if (iResult != 0) ClearState(pJoy);
  return iResult;
}

uint8_t QInputJoystickGetButton(QInputJoystick* pJoy, int32_t n) {
  if (!pJoy || n < 0 || n >= 128) return 0;
  return pJoy->oState.rgbButtons[n];
}

uint32_t QInputJoystickGetPov(QInputJoystick* pJoy, int32_t n) {
  if (!pJoy || n < 0 || n >= 4) return 0xFFFFFFFFu;
  return pJoy->oState.rgdwPOV[n];
}

int32_t QInputJoystickGetButtonCount(QInputJoystick* pJoy) { return pJoy ? pJoy->oCaps.cButtons : 0; }
int32_t QInputJoystickGetAxisCount(QInputJoystick* pJoy) { return pJoy ? pJoy->oCaps.cAxes : 0; }
int32_t QInputJoystickGetPovCount(QInputJoystick* pJoy) { return pJoy ? pJoy->oCaps.cPovs : 0; }
const char* QInputJoystickGetName(QInputJoystick* pJoy) { return pJoy ? pJoy->oInstance.szInstanceName : ""; }
const char* QInputJoystickGetProductName(QInputJoystick* pJoy) { return pJoy ? pJoy->oInstance.szProductName : ""; }

void QInputJoystickClearButtons(QInputJoystick* pJoy) {
  if (pJoy) std::memset(pJoy->oState.rgbButtons, 0, sizeof pJoy->oState.rgbButtons);
}

int32_t QInputJoystickCooperate(QInputJoystick* pJoy) {
  // Non-exclusive, foreground: the platform's devices read in the foreground only.
  return pJoy ? 0 : 7;
}
