// The controls screen: its three pages for a keyboard and a pad, the row
// marked by a pressed key, custom bindings taken from held keys and pressed
// buttons against a small model, Exit handing the chosen set to the port, the
// bindings of a match and the front end's set coming back, and the screen
// run from the options screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pccontrols.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "frontend_env.h"
#include "matchflow/options.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/input_headless.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"

namespace {

constexpr uint8_t kKeyA = 30, kKeyS = 31, kKeyJ = 36, kKeyK = 37, kKeyEscape = 1, kKeyTab = 15, kKeyUp = 0xC8;

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headlessInputReset();
    platform::inputSetForeground(true);
    QInputRelease();
    ASSERT_EQ(QKeyboardSetup(0), 0);
    // Two pads found at start-up: ports 1 and 2.
    ASSERT_GE(platform::headlessJoystickPlug("Pad A", 6, 12, 1), 0);
    ASSERT_GE(platform::headlessJoystickPlug("Pad B", 6, 12, 1), 0);
    QInputJoystickCloseAll();
    game_UsersReset();
    input_BindingTablesClear();
    input_PortsInit();
    input_DefaultBindingsRegister();
    ASSERT_EQ(input_iGetPortCount(), 3);
    pccontrols_DefaultSet();
    for (int i = 0; i < 3; ++i) {
      InputPort* pip = input_poGetPort(i);
      pip->bInUse = 1;
      pip->bEventsEnabled = 1;
      input_PortBindingSet(13, pip);
      user_aUsers[i].pip = pip;
      user_aUsers[i].bActive = 1;
      user_aUsers[i].iIndex = i;
      pip->pusr = &user_aUsers[i];
    }
    pccontrols_oScreen = PCControlsScreen{0, 0, -1};
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) input_EventQueueFlush(&input_poGetPort(i)->oEvents);
    game_UsersReset();
    QInputJoystickCloseAll();
    QInputRelease();
    platform::headlessInputReset();
    input_PortsInit();
    pccontrols_DefaultSet();
  }
  static void Push(User* pusr, int32_t e) {
    InputEvent* pe = nullptr;
    ASSERT_TRUE(input_bEventAlloc(&pe));
    pe->eEvent = e;
    pe->pWidget = nullptr;
    queue_Append(&pusr->pip->oEvents, &pe->oLink);
  }
  // One frame of the current page with the events given.
  static int32_t Page(User* pusr, std::vector<int32_t> events = {}) {
    for (int32_t e : events) Push(pusr, e);
    switch (pccontrols_oScreen.iPage) {
      case 0: return pccontrols_PresetInput(pusr);
      case 1: return pccontrols_CustomInput(pusr);
      default: return pccontrols_Page2Input(pusr);
    }
  }
  // The keys held from now on (the others let go).
  void Hold(std::vector<uint8_t> keys) {
    for (uint8_t k : held_) platform::headlessKey(k, false);
    for (uint8_t k : keys) platform::headlessKey(k, true);
    held_ = keys;
    QKeyboardPoll();
  }
  std::vector<uint8_t> held_;
  User* kb() { return &user_aUsers[0]; }
  User* pad() { return &user_aUsers[1]; }
};

// ---- Pages --------------------------------------------------------------------------

struct PageCase {
  bool bPad;
  int32_t iPage, iRow, iPreset, eEvent;
  bool bFullCustom;  // the custom set has no empty entry
  int32_t iPageAfter, iRowAfter, iPresetAfter, eMode;
};

TEST_F(Controls, EachPageAnswersItsEventsOnBothDevices) {
  const PageCase cases[] = {
      // Preset page: down to the Exit row, or into the custom set.
      {false, 0, -1, 0, 9, false, 2, 10, 0, 70},
      {true, 0, -1, 2, 9, false, 2, 10, 2, 70},
      {false, 0, -1, 3, 9, false, 1, 0, 3, 70},
      {true, 0, 4, 3, 9, false, 1, 0, 3, 70},
      // Left and right step the preset within 0..3; past either end nothing.
      {false, 0, -1, 0, 11, false, 0, -1, 1, 70},
      {false, 0, -1, 2, 10, false, 0, -1, 1, 70},
      {false, 0, -1, 0, 10, false, 0, -1, 0, 70},
      {true, 0, -1, 3, 11, false, 0, -1, 3, 70},
      {true, 0, -1, 2, 11, false, 0, -1, 3, 70},
      // Help and the events the page does not take.
      {false, 0, -1, 1, 114, false, 0, -1, 1, 70},
      {false, 0, -1, 1, 37, false, 0, -1, 1, 70},
      {true, 0, -1, 1, 8, false, 0, -1, 1, 70},
      // Custom page: up and down through the rows.
      {false, 1, 0, 3, 8, false, 0, -1, 3, 70},
      {false, 1, 3, 3, 8, false, 1, 2, 3, 70},
      {false, 1, 6, 3, 9, false, 1, 7, 3, 70},
      {true, 1, 7, 3, 9, false, 1, 8, 3, 70},
      // The last row: Exit only without an empty entry; a keyboard stops at 7.
      {false, 1, 7, 3, 9, false, 1, 7, 3, 70},
      {false, 1, 7, 3, 9, true, 2, 10, 3, 70},
      {true, 1, 9, 3, 9, false, 1, 9, 3, 70},
      {true, 1, 9, 3, 9, true, 2, 10, 3, 70},
      // Exit row: up to the last editable row or the preset page, select leaves.
      {false, 2, 10, 3, 8, true, 1, 7, 3, 70},
      {true, 2, 10, 3, 8, true, 1, 9, 3, 70},
      {false, 2, 10, 1, 8, false, 0, -1, 1, 70},
      {true, 2, 10, 0, 8, false, 0, -1, 0, 70},
      {false, 2, 10, 1, 37, false, 2, 10, 1, 41},
      {true, 2, 10, 3, 37, true, 2, 10, 3, 41},
      {false, 2, 10, 2, 9, false, 2, 10, 2, 70},
  };
  int n = 0;
  for (const PageCase& c : cases) {
    SCOPED_TRACE(n++);
    pccontrols_DefaultSet();
    if (c.bFullCustom) {
      pccontrols_aaKeyPresets[3] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 15};
      pccontrols_aaButtonPresets[3] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    }
    User* pusr = c.bPad ? pad() : kb();
    pusr->pip->iPreset = c.iPreset;
    pccontrols_oScreen = PCControlsScreen{0, c.iPage, c.iRow};
    EXPECT_EQ(Page(pusr, {c.eEvent}), c.eMode);
    EXPECT_EQ(pccontrols_oScreen.iPage, c.iPageAfter);
    EXPECT_EQ(pccontrols_oScreen.iRow, c.iRowAfter);
    EXPECT_EQ(pusr->pip->iPreset, c.iPresetAfter);
    EXPECT_EQ(pusr->pip->oEvents.pHead, nullptr);
  }
}

TEST_F(Controls, APressedKeyOrButtonMarksTheRowOfThePresetThatHoldsIt) {
  InputPort* pip = kb()->pip;
  pip->iPreset = 1;
  pip->uFirstPressed = kKeyS;  // Pass in the second preset
  Page(kb());
  EXPECT_EQ(pccontrols_oScreen.iRow, 0);
  EXPECT_EQ(pip->uFirstPressed, INPUT_NO_BUTTON_CONTROLS);
  // With a shift key held the key still names its row (SPACE: Jump Challenge).
  pip->uFirstPressed = 0x200u | 57u;
  Page(kb());
  EXPECT_EQ(pccontrols_oScreen.iRow, 7);
  // A key of no row leaves the mark.
  pip->uFirstPressed = kKeyK;
  Page(kb());
  EXPECT_EQ(pccontrols_oScreen.iRow, 7);
  // A pad's button: 4 is Long Pass in the first pad preset.
  pad()->pip->uFirstPressed = 4;
  Page(pad());
  EXPECT_EQ(pccontrols_oScreen.iRow, 4);
  EXPECT_EQ(pad()->pip->uFirstPressed, INPUT_NO_BUTTON_CONTROLS);
  // The ports read the screen's "none" as none and take the next press.
  EXPECT_EQ(input_iGetFirstPressedButton(pad()->pip), -1);
  platform::headlessJoystickButton(0, 6, true);
  input_PortsRead();
  EXPECT_EQ(input_iGetFirstPressedButton(pad()->pip), 6);
  platform::headlessJoystickButton(0, 6, false);
}

TEST_F(Controls, ACustomKeyTakenTwiceEmptiesItsOldRowAndBarsTheExit) {
  User* u = kb();
  u->pip->iPreset = 3;
  pccontrols_oScreen = PCControlsScreen{0, 1, 0};
  // Rows 0 to 7 take J, K, A, ... in turn.
  const uint8_t keys[8] = {kKeyJ, kKeyK, kKeyA, 16, 17, 18, 19, 20};
  for (int r = 0; r < 8; ++r) {
    Hold({keys[r]});
    Page(u, r ? std::vector<int32_t>{9} : std::vector<int32_t>{});
    EXPECT_EQ(pccontrols_oScreen.iRow, r);
    Hold({});
  }
  const auto& custom = pccontrols_aaKeyPresets[3];
  EXPECT_EQ(custom[3], 16);
  // Down from the last row: to Exit, then back up.
  Page(u, {9});
  EXPECT_EQ(pccontrols_oScreen.iPage, 2);
  Page(u, {8});
  EXPECT_EQ(pccontrols_oScreen.iRow, 7);
  // A on Pass while A is on Chip: Chip empties and Exit is out of reach.
  for (int r = 7; r > 0; --r) Page(u, {8});
  ASSERT_EQ(pccontrols_oScreen.iRow, 0);
  Hold({kKeyA});
  Page(u);
  Hold({});
  EXPECT_EQ(custom[0], kKeyA);
  EXPECT_EQ(custom[2], PCCONTROLS_EMPTY);
  for (int r = 0; r < 8; ++r) Page(u, {9});
  EXPECT_EQ(pccontrols_oScreen.iPage, 1);
  EXPECT_EQ(pccontrols_oScreen.iRow, 7);
  // Escape, Tab and the arrows are never taken; Start and Select stay.
  Hold({kKeyEscape, kKeyTab, kKeyUp});
  Page(u);
  Hold({});
  EXPECT_EQ(custom[7], 20);
  EXPECT_EQ(custom[8], kKeyEscape);
  EXPECT_EQ(custom[9], kKeyTab);
  // Two keys held: the first of the key-name table's order wins (1 before J).
  Hold({kKeyJ, 2});
  Page(u);
  Hold({});
  EXPECT_EQ(custom[7], 2);
}

// The custom sets against a model: random held keys, pressed buttons and
// moves on the keyboard and both pads.
TEST_F(Controls, CustomCaptureKeepsEachKeyOrButtonOnOneRowAtMost) {
  const uint8_t candidates[] = {kKeyJ, kKeyK, kKeyA, kKeyS, 57, 184, 28, kKeyEscape, kKeyTab, kKeyUp, 0xD0, 2, 0x52};
  uint32_t seed = 12345;
  auto Next = [&](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  std::array<uint8_t, 10> keyModel = pccontrols_aaKeyPresets[3], padModel = pccontrols_aaButtonPresets[3];
  for (int i = 0; i < 3; ++i) input_poGetPort(i)->iPreset = 3;
  int exits = 0;
  for (int step = 0; step < 4000; ++step) {
    User* u = &user_aUsers[Next(3)];
    const bool bKeyboard = u == kb();
    std::array<uint8_t, 10>& model = bKeyboard ? keyModel : padModel;
    const int32_t iLast = bKeyboard ? 7 : 9;
    pccontrols_oScreen = PCControlsScreen{0, 1, static_cast<int32_t>(Next(iLast + 1))};
    const int32_t iRow = pccontrols_oScreen.iRow;
    int32_t v = -1;
    Hold({});
    if (bKeyboard) {
      const uint8_t k = candidates[Next(sizeof candidates)];
      Hold({k});
      const PCControlsKeyName* pk = pccontrols_poKeyNameFind(k);
      if (pk && pk->bAllowed) v = k;
    } else if (Next(4)) {
      v = static_cast<int32_t>(Next(12));
      u->pip->uFirstPressed = static_cast<uint32_t>(v);
    }
    const bool bDown = iRow == iLast && Next(2);
    Page(u, bDown ? std::vector<int32_t>{9} : std::vector<int32_t>{});
    bool bEmpty = false;
    for (uint8_t c : model) bEmpty |= c == PCCONTROLS_EMPTY;
    if (bDown && !bEmpty) {
      EXPECT_EQ(pccontrols_oScreen.iPage, 2);
      ++exits;
    } else if (bDown) {
      EXPECT_EQ(pccontrols_oScreen.iPage, 1);
    }
    if (v >= 0 && pccontrols_oScreen.iPage == 1) {
      for (uint8_t& c : model)
        if (c == v) c = PCCONTROLS_EMPTY;
      model[static_cast<size_t>(iRow)] = static_cast<uint8_t>(v);
    }
    ASSERT_EQ(pccontrols_aaKeyPresets[3], keyModel) << step;
    ASSERT_EQ(pccontrols_aaButtonPresets[3], padModel) << step;
    for (size_t f = 0; f < 10; ++f)
      for (size_t g = f + 1; g < 10; ++g) {
        if (model[f] != PCCONTROLS_EMPTY) {
          ASSERT_NE(model[f], model[g]);
        }
      }
    ASSERT_EQ(keyModel[8], kKeyEscape);
    ASSERT_EQ(keyModel[9], kKeyTab);
  }
  Hold({});
  EXPECT_GT(exits, 0);
  // One custom set per kind: the second pad binds buttons 9 down to 0, and
  // both pads leave with them.
  for (int r = 0; r < 10; ++r) {
    pccontrols_oScreen = PCControlsScreen{0, 1, r};
    user_aUsers[2].pip->uFirstPressed = static_cast<uint32_t>(9 - r);
    Page(&user_aUsers[2]);
  }
  for (User* u : {pad(), &user_aUsers[2]}) {
    pccontrols_oScreen = PCControlsScreen{0, 2, 10};
    EXPECT_EQ(Page(u, {37}), 41);
    for (int f = 0; f < 10; ++f) EXPECT_EQ(u->pip->aoConfigured[f].cJoystick, 9 - f);
  }
}

// ---- Apply and reset ------------------------------------------------------------------

TEST_F(Controls, ExitGivesThePortItsSetForTheMatchAndTheFrontEndGetsItsOwnBack) {
  InputPort* kp = kb()->pip;
  InputPort* pp = pad()->pip;
  kp->iPreset = 1;
  pp->iPreset = 2;
  for (User* u : {kb(), pad()}) {
    pccontrols_oScreen = PCControlsScreen{0, 2, 10};
    EXPECT_EQ(Page(u, {37}), 41);
  }
  // The third port kept its preset 0; a port set up after the defaults plays its preset.
  InputPort* other = input_poGetPort(2);
  other->aoConfigured[0] = InputKeyMapEntry{0, 0, 0};
  pccontrols_BindingsApply();
  for (int f = 0; f < 10; ++f) {
    EXPECT_EQ(kp->aoKeyMap[f].cKey, pccontrols_kaaKeyPresets[1][static_cast<size_t>(f)]) << f;
    EXPECT_EQ(kp->aoKeyMap[f].cFlags, INPUT_KEYMAP_KEY);
    EXPECT_EQ(pp->aoKeyMap[f].cJoystick, pccontrols_kaaButtonPresets[2][static_cast<size_t>(f)]) << f;
    EXPECT_EQ(pp->aoKeyMap[f].cFlags, INPUT_KEYMAP_JOYSTICK);
    EXPECT_EQ(other->aoKeyMap[f].cJoystick, pccontrols_kaaButtonPresets[0][static_cast<size_t>(f)]) << f;
  }
  // The front end's next start: its own keys and buttons, the choice kept.
  pccontrols_Init();
  EXPECT_EQ(kp->aoKeyMap[0].cKey, 28);
  EXPECT_EQ(kp->aoKeyMap[8].cKey, 57);
  EXPECT_EQ(pp->aoKeyMap[2].cJoystick, 0);
  pccontrols_BindingsApply();
  EXPECT_EQ(kp->aoKeyMap[0].cKey, kKeyS);
  // Presets chosen on the screen but not left through Exit do not play.
  kp->iPreset = 2;
  pccontrols_BindingsApply();
  EXPECT_EQ(kp->aoKeyMap[0].cKey, kKeyS);
}

TEST_F(Controls, APadPluggedInLaterGetsItsPresetAndTheFrontEndSet) {
  ASSERT_GE(platform::headlessJoystickPlug("Late Pad", 6, 12, 1), 0);
  input_PortsRead();
  ASSERT_EQ(input_iGetPortCount(), 4);
  InputPort* late = input_poGetPort(3);
  ASSERT_EQ(late->eDeviceType, INPUT_DEVICE_JOYSTICK);
  for (int f = 0; f < 10; ++f) {
    EXPECT_EQ(late->aoConfigured[f].cJoystick, pccontrols_kaaButtonPresets[0][static_cast<size_t>(f)]) << f;
    EXPECT_EQ(late->aoConfigured[f].cFlags, INPUT_KEYMAP_JOYSTICK);
  }
  EXPECT_EQ(late->aoKeyMap[0].cJoystick, 1);  // the front end's select
  EXPECT_EQ(late->aoKeyMap[2].cJoystick, 0);
}

// ---- The screen from the options screen ------------------------------------------------

TEST_F(Controls, TheOptionsScreensUserConfiguresAndLeavesWithThePortMarksRestored) {
  pcframe_Begin();
  options_ScreenReset();
  options_RowsLoad();
  ASSERT_EQ(options_oScreen.paoRows[0].eRow, OPTIONS_ROW_CONTROLLER);
  User* u = kb();
  ASSERT_EQ(options_EventApply(37, u), PCCONTROLS_MODE);
  ASSERT_EQ(options_poControllerUserGet(), u);
  for (int i = 0; i < 3; ++i) input_poGetPort(i)->iMark = 0;
  pccontrols_ActivePortsMark();
  EXPECT_EQ(u->pip->iMark, 1);
  EXPECT_EQ(u->pip->iMarkSaved, 0);
  u->pip->uFirstPressed = kKeyJ;
  pad()->pip->uFirstPressed = 3;
  pccontrols_oScreen.bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(PCCONTROLS_MODE));
  pccontrols_Run();
  // Entered: four regions of sheet 18, no pressed key, the menu binding.
  EXPECT_EQ(pccontrols_oScreen.bNeedsEnter, 0);
  EXPECT_EQ(mregion_cCount, 4);
  EXPECT_EQ(pcfe_SheetGet(), 18);
  for (const char* name : {"main", "keyboard", "joypad", "exit"}) EXPECT_GE(mregion_FindByName(name), 0) << name;
  EXPECT_EQ(u->pip->uFirstPressed, INPUT_NO_BUTTON_CONTROLS);
  EXPECT_EQ(pad()->pip->uFirstPressed, INPUT_NO_BUTTON_CONTROLS);
  EXPECT_EQ(u->pip->eBinding, 13);
  EXPECT_EQ(pccontrols_oScreen.iPage, 0);
  // Right, down to Exit, select: back to the options screen with preset 1.
  for (int32_t e : {11, 9, 37}) {
    Push(u, e);
    pcframe_Begin();
    pccontrols_Run();
  }
  EXPECT_EQ(global_eGetGameMode(), 41);
  EXPECT_EQ(pccontrols_oScreen.bNeedsEnter, 1);
  EXPECT_EQ(u->pip->iMark, 0);
  EXPECT_EQ(u->pip->aoConfigured[0].cKey, kKeyS);
  // A user who is not active leaves the screen as it is.
  u->bActive = 0;
  global_SetGameMode(static_cast<GameMode>(PCCONTROLS_MODE));
  Push(u, 9);
  pcframe_Begin();
  pccontrols_Run();
  EXPECT_EQ(global_eGetGameMode(), PCCONTROLS_MODE);
  EXPECT_EQ(pccontrols_oScreen.iPage, 0);
  options_ScreenReset();
}

// The screen names each row by the function its key drives: on the first
// keyboard layout J passes, H chips, G kicks the ball ahead, SPACE shoots.
TEST_F(Controls, TheFirstKeyboardLayoutShowsEachKeyBesideItsFunction) {
  pcframe_Begin();
  options_ScreenReset();
  options_RowsLoad();
  ASSERT_EQ(options_EventApply(37, kb()), PCCONTROLS_MODE);
  pcframe_Begin();
  pccontrols_Draw();
  // The lines of the screen, left to right: the texts drawn (not their black
  // copies) at one height.
  std::map<int32_t, std::map<int32_t, std::string>> lines;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && (i->aRed[0] | i->aGreen[0] | i->aBlue[0]) != 0)
        lines[i->aiCoord[1]][i->aiCoord[0]] = i->pszText;
  std::vector<std::string> rows;
  std::string all;
  for (const auto& line : lines) {
    std::string row;
    for (const auto& text : line.second) row += (row.empty() ? "" : " ") + text.second;
    rows.push_back(row);
    all += "\n  " + row;
  }
  for (const char* psz : {"Pass J", "Chip H", "Kick G", "Shoot SPACE"})
    EXPECT_TRUE(std::find(rows.begin(), rows.end(), psz) != rows.end()) << psz << " in" << all;
  options_ScreenReset();
}

// The heading names the device and its configuration after a colon, which
// French sets off with a space ("Configuration Clavier : 1"), the other
// languages not; for the keyboard and for a pad.
TEST_F(Controls, TheHeadingsColonHasASpaceBeforeItInFrench) {
  const int32_t saved = mlang_iLanguage;
  for (int32_t l : {LANGUAGE_ENGLISH, LANGUAGE_FRENCH, LANGUAGE_GERMAN})
    for (User* u : {kb(), pad()}) {
      mlang_iLanguage = l;
      pcframe_Begin();
      options_ScreenReset();
      options_RowsLoad();
      ASSERT_EQ(options_EventApply(37, u), PCCONTROLS_MODE);
      pcframe_Begin();
      pccontrols_Draw();
      std::vector<std::string> headings;
      for (DrawLayer* y = pcframe_poCurrent->poFirstLayer; y; y = y->pNext)
        for (DrawItem* i = y->poFirstItem; i; i = i->pNext)
          if (i->uKind == PCFRAME_KIND_TEXT && (i->aRed[0] | i->aGreen[0] | i->aBlue[0]) != 0 &&
              std::string(i->pszText).find(':') != std::string::npos)
            headings.push_back(i->pszText);
      ASSERT_EQ(headings.size(), 1u) << l;
      const std::string& h = headings[0];
      SCOPED_TRACE(h);
      EXPECT_NE(h.find(festr_IDToStr(IDS_FE_CONTROLS_CONFIGURATION)), std::string::npos);
      const size_t iColon = h.find(':');
      ASSERT_GT(iColon, 1u);
      EXPECT_EQ(h[iColon - 1] == ' ', l == LANGUAGE_FRENCH);
      if (l == LANGUAGE_FRENCH) {
        EXPECT_NE(h[iColon - 2], ' ');  // one space, not two
      }
      EXPECT_EQ(h.substr(iColon, 2), ": ");
      options_ScreenReset();
    }
  mlang_iLanguage = saved;
}

// Every language's key names fit between the key column (x 450) and the
// screen's edge, in the screen's font or else in the smaller one, and the
// labels centred at x 200 stay left of the column.
TEST(ControlsTexts, KeyNamesAndLabelsFitTheirColumnsInEveryLanguage) {
  const int32_t saved = mlang_iLanguage;
  std::vector<const char*> tooWide;
  {
    const FrontEndFont font("SW24pt.bmp");
    ASSERT_NE(font.get(), nullptr);
    pctext_FontSet(0);
    for (int32_t l = 0; l < 6; ++l) {
      mlang_iLanguage = l;
      for (const PCControlsKeyName& k : pccontrols_aoKeyNames)
        if (450 + pctext_WidthGet(festr_IDToStr(k.iText)) > 632) tooWide.push_back(festr_IDToStr(k.iText));
      for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
        EXPECT_LE(pctext_WidthGet(festr_IDToStr(IDS_FE_CONTROLS_PASS + f)), 320) << l << " " << f;  // x 40 to 360
    }
  }
  EXPECT_LT(tooWide.size(), 120u);
  const FrontEndFont small("SWfont18pt.bmp");
  ASSERT_NE(small.get(), nullptr);
  pctext_FontSet(0);
  for (const char* psz : tooWide) EXPECT_LE(450 + pctext_WidthGet(psz), 632) << psz;
  mlang_iLanguage = saved;
}

}  // namespace
