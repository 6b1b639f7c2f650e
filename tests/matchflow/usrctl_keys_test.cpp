// The keys of a match: the controls presets become the ports' active
// bindings before a match, real key presses on the headless keyboard give
// the match events, and those events charge and launch a kick. Also the
// power bar as it is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"
#include "framework/qdx_input.h"
#include "frontend/pccontrols.h"
#include "matchflow/usrctl.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/input_headless.h"
#include "platform/platform.h"
#include "scene3d/pcframe.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/usrmark.h"

// The pause menu's openings (counted by the user control tests' pause menu).
int usrctl_test_PauseOpenings();

namespace {

constexpr uint8_t kKeyJ = 36, kKeyH = 35, kKeyG = 34, kKeySpace = 57, kKeyY = 21, kKeyRightAlt = 184,
                  kKeyEscape = 1, kKeyTab = 15, kKeyS = 31;

class MatchKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::init(platform::BackendKind::Headless));
    platform::headlessInputReset();
    platform::inputSetForeground(true);
    QInputRelease();
    ASSERT_EQ(QKeyboardSetup(0), 0);
    game_UsersReset();
    input_BindingTablesClear();
    input_PortsInit();
    input_DefaultBindingsRegister();
    for (int32_t i = 0; i < input_iGetPortCount(); ++i) pccontrols_PresetSet(i, 0);
    pip = input_poGetPort(0);
    ASSERT_NE(pip, nullptr);
    ASSERT_EQ(pip->eDeviceType, INPUT_DEVICE_KEYBOARD);
    pip->bInUse = 1;
    pip->bEventsEnabled = 1;
    gmewidg_ConfigSet(0);
  }
  void TearDown() override {
    input_EventQueueFlush(&pip->oEvents);
    QInputRelease();
    platform::headlessInputReset();
  }
  static void Frame() {
    QKeyboardPoll();
    input_PortsRead();
    input_EventsGenerate();
  }
  std::vector<int32_t> Drain() {
    std::vector<int32_t> codes;
    while (ListNode* pNode = queue_RemoveHead(&pip->oEvents)) {
      InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
      if (pEvent->eEvent != 23 && pEvent->eEvent != 45) codes.push_back(pEvent->eEvent);  // not the stick
      input_EventFree(&pEvent);
    }
    return codes;
  }
  // Events of one frame with the key held (true) or let go.
  std::vector<int32_t> KeyFrame(uint8_t cKey, bool bDown) {
    platform::headlessKey(cKey, bDown);
    Frame();
    return Drain();
  }
  // The first user on the keyboard port, on the home side, steering player 9
  // with the ball at the centre spot, the port on open play's binding.
  void PersonOnTheBall(User* pusr) {
    pusr->iIndex = 0;
    pusr->pip = pip;
    pusr->bActive = 1;
    pusr->MyTeam = player_PlaysFor_Home;
    UserMarker* phl = nullptr;
    ASSERT_TRUE(usrmark_bAlloc(&phl));
    pusr->phl = phl;
    Player* pp = EnginePlayer(9);
    EnginePlace(pp, 0, 0, 0);
    user_PlayerSet(pusr, pp);
    newballA_OwnerSet(pp, 1);
    pccontrols_BindingsApply();
    input_PortBindingSet(4, pip);
  }
  InputPort* pip = nullptr;
};

TEST_F(MatchKeys, PresetsBecomeTheActiveKeysBeforeAMatch) {
  pccontrols_Init();
  EXPECT_EQ(pip->aoKeyMap[8].cKey, 57);  // the front end's Start is SPACE
  pccontrols_BindingsApply();
  const uint8_t aPreset0[10] = {kKeyJ, kKeyH, kKeyG, kKeySpace, kKeyY, kKeyRightAlt, 28, 22, kKeyEscape, kKeyTab};
  for (int f = 0; f < 10; f++) {
    EXPECT_EQ(pip->aoKeyMap[f].cKey, aPreset0[f]) << f;
    EXPECT_EQ(pip->aoKeyMap[f].cFlags, INPUT_KEYMAP_KEY) << f;
  }
  // The directions stay the port's own.
  EXPECT_EQ(pip->aoKeyMap[10].cKey, 0xCB);

  pccontrols_PresetSet(0, 1);
  pccontrols_BindingsApply();
  EXPECT_EQ(pip->aoKeyMap[0].cKey, kKeyS);
  EXPECT_EQ(pip->aoKeyMap[5].cKey, 82);
  EXPECT_EQ(pip->aoKeyMap[8].cKey, kKeyEscape);

  // The custom set starts empty but for Start and Select: its empty entries
  // (key 255) read nothing.
  pccontrols_PresetSet(0, 3);
  pccontrols_BindingsApply();
  for (int f = 0; f < 8; f++) EXPECT_EQ(pip->aoKeyMap[f].cKey, 255) << f;
  EXPECT_EQ(pip->aoKeyMap[8].cKey, kKeyEscape);
  EXPECT_EQ(pip->aoKeyMap[9].cKey, kKeyTab);
  input_PortBindingSet(4, pip);
  EXPECT_TRUE(KeyFrame(kKeyJ, true).empty());
  KeyFrame(kKeyJ, false);

  // Out-of-range presets are refused.
  pccontrols_PresetSet(0, 4);
  EXPECT_EQ(pccontrols_PresetGet(0), 3);
  const InputKeyMapEntry* po = pccontrols_poConfiguredGet(0);
  ASSERT_NE(po, nullptr);
  EXPECT_EQ(po[9].cKey, kKeyTab);

  // The joypad presets, by button.
  EXPECT_EQ(pccontrols_aaButtonPresets[0][2], 6);
  EXPECT_EQ(pccontrols_aaButtonPresets[2][6], 1);
}

TEST_F(MatchKeys, KeyPressesGiveTheMatchEvents) {
  pccontrols_BindingsApply();
  input_PortBindingSet(4, pip);
  struct {
    uint8_t cKey;
    std::vector<int32_t> press, held, release;
  } aKeys[] = {
      {kKeyJ, {26}, {27}, {28}},          // Pass
      {kKeyH, {29}, {30}, {31}},          // configuration 0 gives H the chip
      {kKeyG, {48}, {49}, {50}},          // and G the kick ahead
      {kKeySpace, {53}, {54}, {55}},      // Shoot
      {kKeyY, {58}, {59}, {60}},          // Long Pass, Cross
      {kKeyEscape, {}, {}, {4}},          // Start: on release
      {kKeyTab, {}, {}, {137}},           // Select
  };
  for (auto& k : aKeys) {
    EXPECT_EQ(KeyFrame(k.cKey, true), k.press) << int(k.cKey);
    EXPECT_EQ(KeyFrame(k.cKey, true), k.held) << int(k.cKey);
    EXPECT_EQ(KeyFrame(k.cKey, false), k.release) << int(k.cKey);
    // Past the Pass button's double-press window.
    for (int i = 0; i < 8; i++) KeyFrame(k.cKey, false);
  }
  // Sprint is held in the bindings without the ball.
  input_PortBindingSet(3, pip);
  EXPECT_TRUE(KeyFrame(kKeyRightAlt, true).empty());
  EXPECT_EQ(KeyFrame(kKeyRightAlt, true), std::vector<int32_t>({33}));
  KeyFrame(kKeyRightAlt, false);
}

// Each row of each keyboard preset: its key, pressed, held and let go in a
// match, gives the events of the function the row's label names on the
// controls screen, and none of another row's function. The functions by
// their labels: Pass 4, Chip 7, Kick 6 (the kick ahead), Shoot 5, Long
// Pass/Cross 8, Sprint 9, Keeper Panic 72, Jump Challenge 61, Start 3,
// Select 2; they are read in the bindings of a user on the ball (4), Keeper
// Panic in those of his side in possession without it (3).
TEST_F(MatchKeys, EachRowsKeyDrivesTheFunctionItsLabelNames) {
  const struct {
    int32_t iLabel;
    uint32_t eFunction;
  } aoNamed[] = {{IDS_FE_CONTROLS_PASS, 4},         {IDS_FE_CONTROLS_CHIP, 7},
                 {IDS_FE_CONTROLS_KICK, 6},         {IDS_FE_CONTROLS_SHOOT, 5},
                 {IDS_FE_CONTROLS_LONG_PASS, 8},    {IDS_FE_CONTROLS_SPRINT, 9},
                 {IDS_FE_CONTROLS_KEEPER_PANIC, 72}, {IDS_FE_CONTROLS_JUMP_CHALLENGE, 61},
                 {IDS_FE_CONTROLS_START, 3},        {IDS_FE_CONTROLS_SELECT, 2}};
  // The function of each event of a binding table; -1 when it has none.
  auto FunctionOf = [](int32_t eBinding, int32_t eEvent) -> int64_t {
    for (const InputPortBinding* p = input_apipbInputBindings[eBinding]; gmewidg_eGetWidget(p->eFunction, 0) != 0; p++)
      if (static_cast<int32_t>(p->eEvent) == eEvent) return p->eFunction;
    return -1;
  };
  for (int32_t iPreset = 0; iPreset < PCCONTROLS_CUSTOM; iPreset++) {
    pccontrols_PresetSet(0, iPreset);
    pccontrols_BindingsApply();
    for (int32_t iRow = 0; iRow < PCCONTROLS_FUNCTIONS; iRow++) {
      uint32_t eFunction = 0;
      for (const auto& o : aoNamed)
        if (o.iLabel == pccontrols_RowLabelGet(iRow)) eFunction = o.eFunction;
      ASSERT_NE(eFunction, 0u) << "row " << iRow << " has no function's label";
      const int32_t eBinding = eFunction == 72 ? 3 : 4;
      input_PortBindingSet(eBinding, pip);
      const uint8_t cKey = pccontrols_aaKeyPresets[iPreset][iRow];
      std::vector<int32_t> aEvents;
      for (bool bDown : {true, true, false}) {
        const std::vector<int32_t> a = KeyFrame(cKey, bDown);
        aEvents.insert(aEvents.end(), a.begin(), a.end());
      }
      for (int i = 0; i < 8; i++) KeyFrame(cKey, false);  // past the double-press window
      bool bOwn = false;
      for (int32_t e : aEvents) {
        const int64_t f = FunctionOf(eBinding, e);
        bOwn = bOwn || f == eFunction;
        for (const auto& o : aoNamed)
          EXPECT_FALSE(o.eFunction != eFunction && f == o.eFunction)
              << "preset " << iPreset << " row " << iRow << ": event " << e << " of function " << f;
      }
      EXPECT_TRUE(bOwn) << "preset " << iPreset << " row " << iRow << " (key " << int(cKey) << ") gives no event of function "
                        << eFunction;
    }
  }
  pccontrols_PresetSet(0, 0);
}

TEST_F(MatchKeys, PadButtonsFromTheirPresetEvenForAPadPluggedInLate) {
  platform::headlessJoystickPlug("Pad", 6, 12, 1);
  QInputJoystickCloseAll();
  input_PortsInit();
  input_DefaultBindingsRegister();
  ASSERT_GE(input_iGetPortCount(), 2);
  InputPort* pad = input_poGetPort(1);
  ASSERT_EQ(pad->eDeviceType, INPUT_DEVICE_JOYSTICK);
  pad->bInUse = 1;
  pad->bEventsEnabled = 1;
  // No preset was set for it at start-up: the match applies preset 0.
  pccontrols_BindingsApply();
  const uint8_t aPreset0[10] = {1, 2, 6, 0, 4, 7, 5, 3, 8, 9};
  for (int f = 0; f < 10; f++) {
    EXPECT_EQ(pad->aoKeyMap[f].cJoystick, aPreset0[f]) << f;
    EXPECT_EQ(pad->aoKeyMap[f].cFlags, INPUT_KEYMAP_JOYSTICK) << f;
  }
  pccontrols_PresetSet(1, 2);
  pccontrols_BindingsApply();
  EXPECT_EQ(pad->aoKeyMap[0].cJoystick, 0);  // Pass on button 0 in the third preset
  input_PortBindingSet(4, pad);
  auto PadFrame = [&](bool bDown) {
    platform::headlessJoystickButton(0, 0, bDown);
    Frame();
    std::vector<int32_t> codes;
    while (ListNode* pNode = queue_RemoveHead(&pad->oEvents)) {
      InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
      if (pEvent->eEvent != 23 && pEvent->eEvent != 45) codes.push_back(pEvent->eEvent);
      input_EventFree(&pEvent);
    }
    return codes;
  };
  EXPECT_EQ(PadFrame(true), std::vector<int32_t>({26}));
  EXPECT_EQ(PadFrame(true), std::vector<int32_t>({27}));
  EXPECT_EQ(PadFrame(false), std::vector<int32_t>({28}));
  for (int i = 0; i < 8; i++) PadFrame(false);
  pccontrols_PresetSet(1, 0);
  QInputJoystickCloseAll();
}

TEST_F(MatchKeys, FrontEndKeysAreNotTheMatchKeys) {
  pccontrols_Init();
  input_PortBindingSet(4, pip);
  KeyFrame(kKeyJ, true);
  EXPECT_TRUE(KeyFrame(kKeyJ, false).empty());
  KeyFrame(kKeyEscape, true);
  EXPECT_TRUE(KeyFrame(kKeyEscape, false).empty());
  // In the front end SPACE is Start.
  KeyFrame(kKeySpace, true);
  EXPECT_EQ(KeyFrame(kKeySpace, false), std::vector<int32_t>({4}));
}

TEST_F(MatchKeys, EachActiveUsersConfigurationIsApplied) {
  User& u = user_aUsers[0];
  u.pip = pip;
  u.bActive = 1;
  pip->cConfig = 1;
  gmewidg_DefaultsSet();
  ASSERT_EQ(gmewidg_eGetWidget(5, 1), 20);
  pccontrols_UsersConfigApply();
  EXPECT_EQ(gmewidg_eGetWidget(5, 1), 18);  // Shoot read from the second button in configuration 1
  EXPECT_EQ(gmewidg_eGetWidget(5, 0), 20);  // the others untouched
  u.bActive = 0;
  pip->cConfig = 0;
  gmewidg_DefaultsSet();
  gmewidg_ConfigSet(0);
}

TEST_F(MatchKeys, HoldingJChargesAPassThatLeavesOnRelease) {
  EngineMatchSetup();
  usrctl_Reset();
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->oAIInfo.bIsAttacking = i < PLAYER_TEAM_SIZE;
  User* pusr = &user_aUsers[0];
  PersonOnTheBall(pusr);
  Player* pp = EnginePlayer(9);
  platform::headlessKey(kKeyJ, true);
  for (int t = 0; t < 6; t++) {
    Frame();
    usrctl_UserInput(pusr);
  }
  // The press and five held ticks.
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_PASS);
  EXPECT_EQ(usrctl_poWords(pusr)->iPassCharge, 5);
  // Escape while the bar shows: no pause (the pause would be asked for
  // otherwise; the bar is what the test can see).
  platform::headlessKey(kKeyEscape, true);
  Frame();
  usrctl_UserInput(pusr);
  platform::headlessKey(kKeyEscape, false);
  Frame();
  usrctl_UserInput(pusr);
  EXPECT_EQ(usrctl_oKick.iShown, 7);
  platform::headlessKey(kKeyJ, false);
  Frame();
  usrctl_UserInput(pusr);
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoHeaderPass);
  EXPECT_EQ(usrctl_PassExtraGet(), 3);
}

// Pass tapped with one held tick (the bar shows a charge of 1 for that tick)
// and Escape tapped just after it. Let go on the same tick as J, the Start
// comes first in the binding (before the Pass release that launches the
// pass and clears the bar): the bar still shows, and Start is not heard.
// Let go a tick later, the bar is gone and the pause menu opens.
TEST_F(MatchKeys, EscapeLetGoWithATappedPassIsNotHeardButATickLaterIs) {
  for (const int iLater : {0, 1}) {
    SCOPED_TRACE("Escape let go " + std::to_string(iLater) + " ticks after J");
    EngineMatchSetup();
    usrctl_Reset();
    User* pusr = &user_aUsers[0];
    PersonOnTheBall(pusr);
    const int cBefore = usrctl_test_PauseOpenings();
    const auto Tick = [&] {
      Frame();
      usrctl_UserInput(pusr);
    };
    platform::headlessKey(kKeyJ, true);
    Tick();
    platform::headlessKey(kKeyEscape, true);
    Tick();
    EXPECT_EQ(usrctl_oKick.iShown, 1) << "the bar on the held tick";
    platform::headlessKey(kKeyJ, false);
    if (iLater == 0) platform::headlessKey(kKeyEscape, false);
    Tick();
    EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE) << "the pass launched";
    EXPECT_EQ(usrctl_oKick.iShown, 0);
    platform::headlessKey(kKeyEscape, false);
    Tick();
    EXPECT_EQ(usrctl_test_PauseOpenings() - cBefore, iLater == 0 ? 0 : 1);
    input_EventQueueFlush(&pip->oEvents);
  }
}

// ---- The power bar ------------------------------------------------------------------------

struct Box {
  int iLayer;
  uint32_t uKind;
  int x1, y1, x2, y2;
  int r, g, b;
};

std::vector<Box> Boxes() {
  std::vector<Box> v;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      v.push_back({l->iPriority, i->uKind, i->aiCoord[0], i->aiCoord[1], i->aiCoord[2], i->aiCoord[3], i->aRed[0],
                   i->aGreen[0], i->aBlue[0]});
  return v;
}

TEST(PowerBar, AtTheFootOfTheScreenInFrontOfItsFrame) {
  pcframe_Init();
  usrctl_Reset();
  pcframe_Begin();
  usrctl_oKick.iMax = 8;
  usrctl_oKick.iShown = 0;
  usrctl_PowerBarDraw();
  EXPECT_TRUE(Boxes().empty());  // no charge, no bar

  usrctl_oKick.iShown = 8;  // full: 100 units
  usrctl_PowerBarDraw();
  std::vector<Box> v = Boxes();
  ASSERT_EQ(v.size(), 3u);
  const Box* poFrame = nullptr;
  const Box* poSolid = nullptr;
  const Box* poRest = nullptr;
  for (const Box& b : v) {
    if (b.uKind == PCFRAME_KIND_SHADED_BOX) poRest = &b;
    else if (b.r == 255 && b.g == 255 && b.b == 0) poSolid = &b;
    else poFrame = &b;
  }
  ASSERT_TRUE(poFrame && poSolid && poRest);
  EXPECT_EQ(poFrame->x1, 320 - 54);
  EXPECT_EQ(poFrame->y1, 480 - 36);
  EXPECT_EQ(poFrame->x2 - poFrame->x1, 108);
  // The bar is drawn over the frame (a lower priority number), inside it.
  EXPECT_LT(poSolid->iLayer, poFrame->iLayer);
  EXPECT_LT(poRest->iLayer, poFrame->iLayer);
  EXPECT_EQ(poSolid->x2 - poSolid->x1, 15);
  EXPECT_EQ(poRest->x1, poSolid->x2);
  EXPECT_EQ(poRest->x2 - poSolid->x1, 100);
  EXPECT_EQ(poSolid->y2 - poSolid->y1, 7);
  EXPECT_GE(poSolid->x1, poFrame->x1);
  EXPECT_LE(poRest->x2, poFrame->x2);
  EXPECT_GE(poSolid->y1, poFrame->y1);
  EXPECT_LE(poSolid->y2, poFrame->y2);

  // Lengths by charge and maximum: 12800 / max x charge / 128.
  for (int iMax : {8, 9, 10, 13, 15})
    for (int c = 1; c <= iMax; c++) {
      pcframe_Begin();
      usrctl_oKick.iMax = iMax;
      usrctl_oKick.iShown = c;
      usrctl_PowerBarDraw();
      int iLength = 0;
      for (const Box& b : Boxes())
        if (b.iLayer == 1) iLength += b.x2 - b.x1;
      EXPECT_EQ(iLength, 12800 / iMax * c / 128) << iMax << " " << c;
    }
  pcframe_Begin();
  usrctl_Reset();
}

}  // namespace
