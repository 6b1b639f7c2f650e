// Controls: the front end's own key and button set, the three presets of
// each device kind (and the custom set) for the ten match functions, each
// port's configured bindings and their application before a match, and the
// controls screen that chooses a preset or edits the custom set.
#include "frontend/pccontrols.h"

#include <cstdint>
#include <cstdio>

#include "audio/audio_services.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/options.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"

PCControlsScreen pccontrols_oScreen = {1, 0, -1};

namespace {

static_assert(PCCONTROLS_FUNCTIONS == INPUT_PORT_FUNCTIONS);

// The configured port's layout when the screen was entered.
int32_t s_iEnterPreset = 0;

// The front end's active bindings, one per function in binding order: keys
// RETURN, NUMPAD6, NUMPAD8, NUMPAD4, INSERT, MULTIPLY, HOME, MINUS, SPACE,
// LEFT SHIFT on keyboard ports, and the joypad buttons counted from 0.
const uint8_t pccontrols_aFrontEndKeys[PCCONTROLS_FUNCTIONS] = {28, 77, 72, 75, 210, 55, 199, 12, 57, 42};
const uint8_t pccontrols_aFrontEndButtons[PCCONTROLS_FUNCTIONS] = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9};

// Each row's label, in row order.
constexpr int32_t kaiRowLabels[PCCONTROLS_FUNCTIONS] = {
    IDS_FE_CONTROLS_PASS,      IDS_FE_CONTROLS_CHIP,   IDS_FE_CONTROLS_KICK,         IDS_FE_CONTROLS_SHOOT,
    IDS_FE_CONTROLS_LONG_PASS, IDS_FE_CONTROLS_SPRINT, IDS_FE_CONTROLS_KEEPER_PANIC, IDS_FE_CONTROLS_JUMP_CHALLENGE,
    IDS_FE_CONTROLS_START,     IDS_FE_CONTROLS_SELECT,
};

constexpr int32_t kSheet = 18, kBinding = 13, kModeOptions = OPTIONS_MODE, kMovie = 163;
constexpr int32_t kLastKeyboardRow = 7, kLastJoypadRow = 9, kKeyColumnEnd = 632;

// The backdrop with the panel behind the rows, the two device drawings and
// the button face under "Exit" (640 x 480 units).
const RegionDef kaoRegions[4] = {
    {"main", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1},
    {"keyboard", 60, 410, 320, 56, 254, {}, 255, 0, 0, 1, 0, 1},
    {"joypad", 150, 406, 160, 64, 253, {}, 255, 0, 0, 1, 0, 1},
    {"exit", 510, 418, 100, 40, 252, {}, 255, 0, 0, 1, 0, 1},
};

bool PortIsKeyboard(const InputPort* pip) { return pip->eDeviceType == INPUT_DEVICE_KEYBOARD; }

// A configured binding of a preset byte, kind 2 (key) or 1 (button); an
// empty entry keeps 255, which the ports read as never pressed.
InputKeyMapEntry EntryOf(bool bKeyboard, uint8_t c) {
  return bKeyboard ? InputKeyMapEntry{0, c, INPUT_KEYMAP_KEY} : InputKeyMapEntry{c, 0, INPUT_KEYMAP_JOYSTICK};
}

uint8_t* PresetOf(const InputPort* pip) {
  int32_t p = pip->iPreset;
  if (p < 0 || p >= PCCONTROLS_PRESETS) p = 0;
  return PortIsKeyboard(pip) ? pccontrols_aaKeyPresets[p].data() : pccontrols_aaButtonPresets[p].data();
}

void PortConfiguredFromPreset(InputPort* pip) {
  const uint8_t* pc = PresetOf(pip);
  for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f) pip->aoConfigured[f] = EntryOf(PortIsKeyboard(pip), pc[f]);
}

void PortFrontEndSet(InputPort* pip) {
  const bool bKeyboard = PortIsKeyboard(pip);
  for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
    pip->aoKeyMap[f] = bKeyboard ? InputKeyMapEntry{0, pccontrols_aFrontEndKeys[f], INPUT_KEYMAP_KEY}
                                 : InputKeyMapEntry{pccontrols_aFrontEndButtons[f], 0, INPUT_KEYMAP_JOYSTICK};
}

// A pad plugged in after start-up: its preset's bindings to play with and the
// front end's set to reach the match.
void PortAdded(InputPort* pip) {
  PortConfiguredFromPreset(pip);
  PortFrontEndSet(pip);
}

int32_t LastRow(const InputPort* pip) { return PortIsKeyboard(pip) ? kLastKeyboardRow : kLastJoypadRow; }

bool PresetHasEmpty(const InputPort* pip) {
  const uint8_t* pc = PresetOf(pip);
  for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
    if (pc[f] == PCCONTROLS_EMPTY) return true;
  return false;
}

bool LastPressedIsNone(uint32_t u) { return u == INPUT_NO_BUTTON || u == INPUT_NO_BUTTON_CONTROLS; }

// The key or button taken by the custom row this frame; -1 when none.
int32_t CaptureGet(InputPort* pip) {
  if (PortIsKeyboard(pip)) {
    const uint8_t* pab = QKeyboardGetState();
    if (pab == nullptr) return -1;
    for (const PCControlsKeyName& k : pccontrols_aoKeyNames)
      if (k.bAllowed && (pab[k.cScanCode] & 0x80)) return k.cScanCode;
    return -1;
  }
  if (LastPressedIsNone(pip->uFirstPressed)) return -1;
  // Taken once: the row below does not take the same press again.
  const int32_t iButton = static_cast<int32_t>(pip->uFirstPressed);
  pip->uFirstPressed = INPUT_NO_BUTTON_CONTROLS;
  return iButton < PCCONTROLS_EMPTY ? iButton : -1;
}

// Escape: back to the options screen. A complete set is kept as Exit keeps
// it; a custom set with a function left empty is not taken, and the port
// plays the layout and the bindings it had.
int32_t EscapeLeave(User* pusr) {
  InputPort* pip = pusr->pip;
  input_EventQueueFlush(&pip->oEvents);
  sfx_Play(2);
  if (PresetHasEmpty(pip)) pip->iPreset = s_iEnterPreset;
  else PortConfiguredFromPreset(pip);
  return kModeOptions;
}

InputEvent* EventTake(User* pusr) {
  return reinterpret_cast<InputEvent*>(queue_RemoveHead(&pusr->pip->oEvents));
}

void Print(const char* psz, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, bool bCentred) {
  auto Out = bCentred ? pctext_PrintCentred : pctext_PrintLeft;
  draw2d_TextColourSet(0, 0, 0, 255);
  Out(psz, pcfe_ScaleX640(static_cast<int16_t>(x + 1)), pcfe_ScaleY480(static_cast<int16_t>(y + 1)), 1);
  draw2d_TextColourSet(r, g, b, 255);
  Out(psz, pcfe_ScaleX640(static_cast<int16_t>(x)), pcfe_ScaleY480(static_cast<int16_t>(y)), 1);
}

}  // namespace

PCControlsPresets pccontrols_aaKeyPresets = pccontrols_kaaKeyPresets;
PCControlsPresets pccontrols_aaButtonPresets = pccontrols_kaaButtonPresets;

int32_t pccontrols_RowLabelGet(int32_t iRow) {
  return iRow >= 0 && iRow < PCCONTROLS_FUNCTIONS ? kaiRowLabels[iRow] : 0;
}

const PCControlsKeyName* pccontrols_poKeyNameFind(uint8_t cScanCode) {
  for (const PCControlsKeyName& k : pccontrols_aoKeyNames)
    if (k.cScanCode == cScanCode) return &k;
  return nullptr;
}

void pccontrols_Init() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) PortFrontEndSet(input_poGetPort(i));
}

void pccontrols_DefaultSet() {
  pccontrols_aaKeyPresets = pccontrols_kaaKeyPresets;
  pccontrols_aaButtonPresets = pccontrols_kaaButtonPresets;
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) PortConfiguredFromPreset(input_poGetPort(i));
  input_PortAddedHookSet(PortAdded);
}

void pccontrols_BindingsApply() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    // A port never configured (set up after the start-up defaults) plays its preset.
    if (pip->aoConfigured[0].cFlags == 0) PortConfiguredFromPreset(pip);
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f) pip->aoKeyMap[f] = pip->aoConfigured[f];
  }
}

void pccontrols_ActivePortsMark() {
  input_ActiveUsersPortMarkSave();
  input_ActiveUsersPortMarkSet();
}

void pccontrols_PresetSet(int32_t iPort, int32_t iPreset) {
  InputPort* pip = input_poGetPort(iPort);
  if (pip == nullptr || iPreset < 0 || iPreset >= PCCONTROLS_PRESETS) return;
  pip->iPreset = iPreset;
  PortConfiguredFromPreset(pip);
}

int32_t pccontrols_PresetGet(int32_t iPort) {
  const InputPort* pip = input_poGetPort(iPort);
  return pip ? pip->iPreset : 0;
}

const InputKeyMapEntry* pccontrols_poConfiguredGet(int32_t iPort) {
  InputPort* pip = input_poGetPort(iPort);
  return pip ? pip->aoConfigured : nullptr;
}

void pccontrols_UsersConfigApply() {
  for (const User& u : user_aUsers)
    if (u.bActive && u.pip != nullptr) gmewidg_ConfigSet(u.pip->cConfig);
}

// ---- The controls screen ----

void pccontrols_Enter() {
  PCControlsScreen& s = pccontrols_oScreen;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mregion_Reset();
  for (int32_t i = 0; i < 4; ++i) mregion_Add(&kaoRegions[i], i, kSheet);
  pcfe_ScreenSet(kSheet);
  for (User& u : user_aUsers)
    if (u.bActive && u.pip) u.pip->uFirstPressed = INPUT_NO_BUTTON_CONTROLS;
  s.iPage = 0;
  s.iRow = -1;
  User* pusr = options_poControllerUserGet();
  if (pusr && pusr->pip) input_PortBindingSet(kBinding, pusr->pip);
  s_iEnterPreset = pusr && pusr->pip ? pusr->pip->iPreset : 0;
  pcfmv_PlayById(kMovie);
  s.bNeedsEnter = 0;
}

int32_t pccontrols_PresetInput(User* pusr) {
  PCControlsScreen& s = pccontrols_oScreen;
  InputPort* pip = pusr->pip;
  while (InputEvent* pEvent = EventTake(pusr)) {
    switch (pEvent->eEvent) {
      case 9:
        sfx_Play(0);
        if (pip->iPreset == PCCONTROLS_CUSTOM) {
          s.iPage = 1;
          s.iRow = 0;
        } else {
          s.iPage = 2;
          s.iRow = PCCONTROLS_EXIT_ROW;
        }
        break;
      case 10:
      case 11: {
        const int32_t iNext = pip->iPreset + (pEvent->eEvent == 10 ? -1 : 1);
        if (iNext >= 0 && iNext < PCCONTROLS_PRESETS) {
          sfx_Play(0);
          pip->iPreset = iNext;
        }
        break;
      }
      case 114:
        sfx_Play(1);
        mhelp_HelpShownToggle();
        break;
      default: break;
    }
    input_EventFree(&pEvent);
    if (s.iPage != 0) return PCCONTROLS_MODE;
  }
  // The row that holds the key or button just pressed is marked.
  if (!LastPressedIsNone(pip->uFirstPressed)) {
    const uint32_t u = PortIsKeyboard(pip) ? (pip->uFirstPressed & 0xFFu) : pip->uFirstPressed;
    const uint8_t* pc = PresetOf(pip);
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
      if (pc[f] != PCCONTROLS_EMPTY && pc[f] == u) s.iRow = f;
    pip->uFirstPressed = INPUT_NO_BUTTON_CONTROLS;
  }
  return PCCONTROLS_MODE;
}

int32_t pccontrols_CustomInput(User* pusr) {
  PCControlsScreen& s = pccontrols_oScreen;
  InputPort* pip = pusr->pip;
  const int32_t iLast = LastRow(pip);
  while (InputEvent* pEvent = EventTake(pusr)) {
    const int32_t e = pEvent->eEvent;
    input_EventFree(&pEvent);
    if (e == 8) {
      sfx_Play(0);
      if (s.iRow > 0) {
        s.iRow--;
      } else {
        s.iPage = 0;
        s.iRow = -1;
        return PCCONTROLS_MODE;
      }
    } else if (e == 9) {
      if (s.iRow < iLast) {
        sfx_Play(0);
        s.iRow++;
      } else if (!PresetHasEmpty(pip)) {
        sfx_Play(0);
        s.iPage = 2;
        s.iRow = PCCONTROLS_EXIT_ROW;
        return PCCONTROLS_MODE;
      }
    }
  }
  const int32_t v = CaptureGet(pip);
  if (v >= 0 && s.iRow >= 0 && s.iRow <= iLast) {
    uint8_t* pc = PresetOf(pip);
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
      if (f != s.iRow && pc[f] == v) pc[f] = PCCONTROLS_EMPTY;
    pc[s.iRow] = static_cast<uint8_t>(v);
  }
  return PCCONTROLS_MODE;
}

int32_t pccontrols_Page2Input(User* pusr) {
  PCControlsScreen& s = pccontrols_oScreen;
  InputPort* pip = pusr->pip;
  while (InputEvent* pEvent = EventTake(pusr)) {
    const int32_t e = pEvent->eEvent;
    input_EventFree(&pEvent);
    if (e == 8) {
      sfx_Play(0);
      if (pip->iPreset == PCCONTROLS_CUSTOM) {
        s.iPage = 1;
        s.iRow = LastRow(pip);
      } else {
        s.iPage = 0;
        s.iRow = -1;
      }
      return PCCONTROLS_MODE;
    }
    if (e == 37) {
      sfx_Play(1);
      PortConfiguredFromPreset(pip);
      return kModeOptions;
    }
  }
  return PCCONTROLS_MODE;
}

void pccontrols_Draw() {
  const PCControlsScreen& s = pccontrols_oScreen;
  const User* pusr = options_poControllerUserGet();
  if (pusr == nullptr || pusr->pip == nullptr) return;
  const InputPort* pip = pusr->pip;
  const bool bKeyboard = PortIsKeyboard(pip);
  const uint8_t* pc = PresetOf(pip);
  pctext_FontSet(1);
  mregion_DrawByName("main");
  mregion_DrawByName(bKeyboard ? "keyboard" : "joypad");
  mregion_DrawByName("exit");

  // The heading: the device and its configuration.
  char szConfig[32];
  if (pip->iPreset == PCCONTROLS_CUSTOM) std::snprintf(szConfig, sizeof szConfig, "%s", festr_IDToStr(IDS_FE_CONTROLS_CUSTOM));
  else std::snprintf(szConfig, sizeof szConfig, "%d", pip->iPreset + 1);
  char sz[160];
  const char* pszConfiguration = festr_IDToStr(IDS_FE_CONTROLS_CONFIGURATION);
  const bool bEnglishOrder = mlang_iLanguage == 0;
  // French sets its colon off with a space.
  const char* pszColon = mlang_iLanguage == LANGUAGE_FRENCH ? " :" : ":";
  if (bKeyboard) {
    // English and German name the keyboard first; the other languages the configuration.
    const char* pszKeyboard = festr_IDToStr(IDS_FE_CONTROLS_KEYBOARD);
    const bool bKeyboardFirst = bEnglishOrder || mlang_iLanguage == 2;
    std::snprintf(sz, sizeof sz, "%s %s%s %s", bKeyboardFirst ? pszKeyboard : pszConfiguration,
                  bKeyboardFirst ? pszConfiguration : pszKeyboard, pszColon, szConfig);
  } else if (bEnglishOrder) {
    std::snprintf(sz, sizeof sz, "%s %d %s%s %s", festr_IDToStr(IDS_FE_CONTROLS_CONTROLLER_PORT), pip->iIndex,
                  pszConfiguration, pszColon, szConfig);
  } else {
    std::snprintf(sz, sizeof sz, "%s %s %d%s %s", pszConfiguration, festr_IDToStr(IDS_FE_CONTROLS_CONTROLLER_PORT),
                  pip->iIndex, pszColon, szConfig);
  }
  if (s.iPage == 0) Print(sz, 340, 80, 255, 255, 0, true);
  else Print(sz, 340, 80, 200, 200, 200, true);

  for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f) {
    uint8_t r = 200, g = 200, b = 200;
    if (f == s.iRow) {
      if (s.iPage == 0) r = 150, g = 0, b = 0;
      else r = 255, g = 255, b = 0;
    }
    const int32_t y = 155 + 25 * f;
    Print(festr_IDToStr(kaiRowLabels[f]), 200, y, r, g, b, true);
    if (bKeyboard) {
      const PCControlsKeyName* pk = pc[f] == PCCONTROLS_EMPTY ? nullptr : pccontrols_poKeyNameFind(pc[f]);
      const char* pszKey = pk ? festr_IDToStr(pk->iText) : "-";
      // A long name too wide for the column before the screen's edge is
      // printed in the smaller font.
      const bool bSmall = pcfe_ScaleX640(450) + pctext_WidthGet(pszKey) > pcfe_ScaleX640(kKeyColumnEnd);
      if (bSmall) pctext_FontSet(0);
      Print(pszKey, 450, y, r, g, b, false);
      if (bSmall) pctext_FontSet(1);
    } else {
      if (pc[f] == PCCONTROLS_EMPTY) std::snprintf(sz, sizeof sz, "%s -", festr_IDToStr(IDS_FE_BUTTON));
      else std::snprintf(sz, sizeof sz, "%s %d", festr_IDToStr(IDS_FE_BUTTON), pc[f]);
      Print(sz, 450, y, r, g, b, false);
    }
  }
  if (s.iRow == PCCONTROLS_EXIT_ROW) Print(festr_IDToStr(IDS_FE_EXIT), 532, 427, 255, 255, 0, false);
  else Print(festr_IDToStr(IDS_FE_EXIT), 532, 427, 200, 200, 200, false);
  pctext_FontSet(0);
}

void pccontrols_Run() {
  PCControlsScreen& s = pccontrols_oScreen;
  if (s.bNeedsEnter) pccontrols_Enter();
  pccontrols_Draw();
  User* pusr = options_poControllerUserGet();
  if (pusr == nullptr || !pusr->bActive || pusr->pip == nullptr) return;
  int32_t eNext = PCCONTROLS_MODE;
  if (mhelp_bHelpShownGet()) mhelp_Input(pusr);
  // Escape is read from the keyboard once a press: the page reads the key
  // last pressed for itself, so the keyboard's state is asked too.
  else if (pcfe_bEscapeHeld() || pcfe_bEscapeLastKey()) eNext = EscapeLeave(pusr);
  else if (s.iPage == 0) eNext = pccontrols_PresetInput(pusr);
  else if (s.iPage == 1) eNext = pccontrols_CustomInput(pusr);
  else eNext = pccontrols_Page2Input(pusr);
  if (eNext == PCCONTROLS_MODE) return;
  s.bNeedsEnter = 1;
  input_ActiveUsersPortMarkRestore();
  global_SetGameMode(static_cast<GameMode>(eNext));
}
