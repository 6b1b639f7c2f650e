// Input ports: reading, trigger kinds, the stick, the event pool, joysticks
// coming and going, users attaching.
#include <string>

#include "platform/input_scancodes.h"
#include "ports_fixture.h"

namespace {

// A table of one entry and its terminator.
InputPortBinding g_aipbOne[2];
void RegisterOne(int32_t cBinding, uint32_t eEvent, uint32_t eFunction, uint32_t eTrigger) {
  g_aipbOne[0] = InputPortBinding{eEvent, eFunction, eTrigger};
  g_aipbOne[1] = InputPortBinding{0, 0, INPUT_TRIGGER_END};
  input_BindingTableSet(g_aipbOne, cBinding);
}

TEST_F(PortsTest, StartUpMakesTheKeyboardPortAndOnePortPerJoystick) {
  EXPECT_EQ(input_iGetPortCount(), 1);
  InputPort* pip = input_poGetPort(0);
  EXPECT_EQ(input_iGetDeviceType(pip), INPUT_DEVICE_KEYBOARD);
  EXPECT_EQ(pip->bInUse, 0);
  EXPECT_EQ(pip->bEventsEnabled, 0);
  EXPECT_EQ(pip->uFirstPressed, INPUT_NO_BUTTON);
  const uint8_t kKeys[14] = {0x50, 0x4D, 0x48, 0x4B, 0xD2, 0x37, 0xC7, 0x0C, 0x39, 0x2A, 0xCB, 0xCD, 0xC8, 0xD0};
  for (int32_t i = 0; i < 14; ++i) {
    EXPECT_EQ(pip->aoKeyMap[i].cKey, kKeys[i]) << i;
    EXPECT_EQ(pip->aoKeyMap[i].cFlags, INPUT_KEYMAP_KEY) << i;
  }
  EXPECT_EQ(pip->aoKeyMap[14].cFlags, 0);
  EXPECT_EQ(pip->aoKeyMap[15].cFlags, 0);

  platform::headlessJoystickPlug("Pad A", 6, 6, 1);
  platform::headlessJoystickPlug("Pad B", 6, 32, 1);
  QInputJoystickCloseAll();
  input_PortsInit();
  ASSERT_EQ(input_iGetPortCount(), 3);
  InputPort* pJoyPort = input_poGetPort(1);
  EXPECT_EQ(input_iGetDeviceType(pJoyPort), INPUT_DEVICE_JOYSTICK);
  EXPECT_EQ(pJoyPort->iDevice, 1);
  EXPECT_EQ(pJoyPort->cButtons, 6);
  for (int32_t i = 0; i < 16; ++i) {
    bool bUsed = i < 6 || i >= 10;
    EXPECT_EQ(pJoyPort->aoKeyMap[i].cFlags, bUsed ? INPUT_KEYMAP_JOYSTICK : 0) << i;
    if (bUsed) {
      EXPECT_EQ(pJoyPort->aoKeyMap[i].cJoystick, i);
    }
  }
}

// Every key the keyboard port reads comes from some SDL key.
TEST_F(PortsTest, ScancodeMapCoversTheKeyboardPortKeys) {
  InputPort* pip = input_poGetPort(0);
  for (const InputKeyMapEntry& e : pip->aoKeyMap) {
    if (!(e.cFlags & INPUT_KEYMAP_KEY)) continue;
    int sdl = platform::sdlScancodeFromScanCode(e.cKey);
    ASSERT_GE(sdl, 0) << "no SDL key for scan code " << int(e.cKey);
    EXPECT_EQ(platform::scanCodeFromSdl(sdl), e.cKey);
  }
}

TEST_F(PortsTest, RepeatKindHeldFifteenFramesQueuesOnFramesZeroNineTwelveFifteen) {
  RegisterOne(40, 77, 4, INPUT_TRIGGER_REPEAT);  // function 4 reads widget 17, the key of entry 0
  InputPort* pip = Use(0, 40);
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
  platform::headlessKey(kKeyEntry0, true);
  std::vector<int32_t> frames;
  for (int32_t iFrame = 0; iFrame <= 15; ++iFrame) {
    Frame();
    for (int32_t iCode : Drain(pip)) {
      EXPECT_EQ(iCode, 77);
      frames.push_back(iFrame);
    }
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{0, 9, 12, 15}));
  platform::headlessKey(kKeyEntry0, false);
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
}

// Press, release, held and double tap on one widget over a sequence of frames.
TEST_F(PortsTest, TriggerKindsOverFrames) {
  static const InputPortBinding kTable[] = {{13, 4, INPUT_TRIGGER_DOUBLE_TAP},
                                            {11, 4, INPUT_TRIGGER_RELEASE},
                                            {10, 4, INPUT_TRIGGER_PRESS},
                                            {12, 4, INPUT_TRIGGER_HELD},
                                            {14, 10, INPUT_TRIGGER_ALWAYS},
                                            {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 40);
  InputPort* pip = Use(0, 40);
  // Key state in frames 1 to 15 and the events expected (14, every frame, left out).
  const bool abDown[16] = {false, true, true, false, true, false, false, true, false, false, false, false, false, false, false, false};
  const std::vector<int32_t> kExpected[16] = {{}, {10}, {12}, {11}, {10}, {13}, {}, {10}, {11}, {}, {}, {}, {}, {}, {11}, {}};
  for (int32_t f = 1; f < 16; ++f) {
    platform::headlessKey(kKeyEntry0, abDown[f]);
    Frame();
    std::vector<int32_t> codes = Drain(pip);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 14) << "frame " << f;
    codes.pop_back();
    EXPECT_EQ(codes, kExpected[f]) << "frame " << f;
  }
  // A key pressed and released between two reads makes no event.
  platform::headlessKey(kKeyEntry0, true);
  QKeyboardPoll();
  platform::headlessKey(kKeyEntry0, false);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{14});
}

TEST_F(PortsTest, ATableIsNotCutShortByAControlMappedToNone) {
  // Function 21 reads no widget: its entry is skipped, the rest still counts.
  static const InputPortBinding kTable[] = {{1, 21, INPUT_TRIGGER_ALWAYS}, {2, 4, INPUT_TRIGGER_PRESS}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 40);
  InputPort* pip = Use(0, 40);
  platform::headlessKey(kKeyEntry0, true);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{2});

  // Mapping a control of the menu table to "none" leaves the entries after it working.
  gmewidg_WidgetSet(16, 0, 0);  // 37/16/release is table 13's first entry
  input_PortBindingSet(13, pip);
  platform::headlessKey(kKeyEntry0, false);
  platform::headlessKey(kKeyLeft, true);  // 10/30/release: widget 1
  Frame();
  platform::headlessKey(kKeyLeft, false);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{10});
}

TEST_F(PortsTest, UnregisteredBindingFallsBackToARegisteredTable) {
  InputPort* pip = Use(0, 4);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[4]);
  input_PortBindingSet(5, pip);  // never registered: the table below it
  EXPECT_EQ(pip->eBinding, 5);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[4]);
  input_PortBindingSet(21, pip);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[20]);
  input_PortBindingSet(0, pip);  // nothing below: the lowest above
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[1]);
  Frame();  // reads fine
  EXPECT_DEATH(input_PortBindingSet(50, pip), "eBinding");
  input_PortBindingSet(3, nullptr);  // a null port: nothing happens
}

TEST_F(PortsTest, SwitchingTablesMakesAHeldKeyNew) {
  RegisterOne(40, 5, 4, INPUT_TRIGGER_PRESS);
  InputPort* pip = Use(0, 1);
  platform::headlessKey(kKeyEntry0, true);
  Frame();
  Frame();
  Drain(pip);
  input_PortBindingSet(40, pip);
  EXPECT_EQ(pip->aoWidget[17].iPrevious, 0);
  EXPECT_EQ(pip->aoWidget[17].iCurrent, 0);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{5});
  // Setting the active id again changes nothing.
  input_PortBindingSet(40, pip);
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
  // Save and restore the table pointer.
  input_PortBindingSave(pip);
  input_PortBindingSet(13, pip);
  input_PortBindingRestore(pip);
  EXPECT_EQ(pip->pipbInputPortBinding, g_aipbOne);
}

TEST_F(PortsTest, DigitalStickFromTheDirectionKeys) {
  InputPort* pip = input_poGetPort(0);
  struct Case {
    bool left, right, up, down;
    int32_t iValue;
  };
  const Case kCases[] = {
      {false, false, false, false, 0},          {false, false, true, false, (0 << 16) | 128},
      {true, false, true, false, (45 << 16) | 128},   {true, false, false, false, (90 << 16) | 128},
      {true, false, false, true, (135 << 16) | 128},  {false, false, false, true, (180 << 16) | 128},
      {false, true, false, true, (225 << 16) | 128},  {false, true, false, false, (270 << 16) | 128},
      {false, true, true, false, (315 << 16) | 128},  {true, true, false, false, (90 << 16) | 128},
  };
  for (const Case& c : kCases) {
    platform::headlessKey(kKeyLeft, c.left);
    platform::headlessKey(kKeyRight, c.right);
    platform::headlessKey(kKeyUp, c.up);
    platform::headlessKey(kKeyDown, c.down);
    QKeyboardPoll();
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_STICK, pip), c.iValue) << c.left << c.right << c.up << c.down;
  }
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_X, pip), 0);
  EXPECT_EQ(input_PCControllerRead(5, pip), 0);
}

TEST_F(PortsTest, AnalogueStickFromTheJoystickAxes) {
  platform::headlessJoystickPlug("Pad", 6, 12, 1);
  QInputJoystickCloseAll();
  input_PortsInit();
  input_DefaultBindingsRegister();
  InputPort* pip = Use(1, 9);  // table 9 reads the stick every frame (23/1/always)
  struct Case {
    int32_t x, y;  // axis values: y below 0 is up
    int32_t iValue;
  };
  const Case kCases[] = {
      {0, 0, 0},
      {50, 0, 0},                          // magnitude 0.64 truncates to 0
      {100, 0, (271 << 16) | 1},           // right: heading 0 - 200 is -89.78 degrees
      {5000, 0, (271 << 16) | 64},
      {32767, 0, (271 << 16) | 128},
      {0, -32767, (0 << 16) | 128},        // up
      {-32767, 0, (90 << 16) | 128},       // left: heading 401
      {0, 32767, (180 << 16) | 128},       // down: heading 602
      {10000, 10000, (225 << 16) | 128},   // down-right: heading 703
  };
  for (const Case& c : kCases) {
    platform::headlessJoystickAxis(0, 0, c.x);
    platform::headlessJoystickAxis(0, 1, c.y);
    Frame();
    std::vector<int32_t> codes = Drain(pip);
    EXPECT_EQ(pip->aoWidget[INPUT_WIDGET_STICK].iCurrent, c.iValue) << c.x << "," << c.y;
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_STICK, pip), c.iValue);
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_X, pip), c.x);
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_Y, pip), -c.y);
  }
  // Directions from the axes: beyond half way.
  platform::headlessJoystickAxis(0, 0, -16384);
  platform::headlessJoystickAxis(0, 1, 16384);
  Frame();
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_LEFT, pip), 1);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_DOWN, pip), 1);
  platform::headlessJoystickAxis(0, 0, -16383);
  platform::headlessJoystickAxis(0, 1, 16383);
  Frame();
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_LEFT, pip), 0);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_DOWN, pip), 0);
}

TEST_F(PortsTest, EventPoolExhaustionDropsEventsSilently) {
  RegisterOne(40, 3, 1, INPUT_TRIGGER_ALWAYS);
  InputPort* pip = Use(0, 40);
  EXPECT_EQ(input_iGetFreeEventCount(), INPUT_EVENT_POOL_SIZE);
  for (int32_t i = 0; i < INPUT_EVENT_POOL_SIZE + 5; ++i) Frame();
  EXPECT_EQ(input_iGetFreeEventCount(), 0);
  InputEvent* pEvent = reinterpret_cast<InputEvent*>(0x1);
  EXPECT_EQ(input_bEventAlloc(&pEvent), 0);
  EXPECT_EQ(pEvent, nullptr);
  int32_t cQueued = 0;
  for (ListNode* p = pip->oEvents.pHead; p; p = p->pNext) ++cQueued;
  EXPECT_EQ(cQueued, INPUT_EVENT_POOL_SIZE);
  input_EventQueueFlush(&pip->oEvents);
  EXPECT_EQ(pip->oEvents.pHead, nullptr);
  EXPECT_EQ(input_iGetFreeEventCount(), INPUT_EVENT_POOL_SIZE);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{3});
}

TEST_F(PortsTest, FreedEventsGoBehindThePoolsFirst) {
  InputEvent *pA = nullptr, *pB = nullptr, *pC = nullptr;
  ASSERT_EQ(input_bEventAlloc(&pA), 1);
  ASSERT_EQ(input_bEventAlloc(&pB), 1);
  InputEvent* pB0 = pB;
  input_EventFree(&pB);
  EXPECT_EQ(pB, nullptr);
  ASSERT_EQ(input_bEventAlloc(&pC), 1);  // the first of the pool, not the one freed
  EXPECT_NE(pC, pB0);
  InputEvent* pD = nullptr;
  ASSERT_EQ(input_bEventAlloc(&pD), 1);
  EXPECT_EQ(pD, pB0);
  // An event freed into an empty pool becomes its only entry.
  std::vector<InputEvent*> all;
  InputEvent* p = nullptr;
  while (input_bEventAlloc(&p)) all.push_back(p);
  InputEvent* pLast = pA;
  input_EventFree(&pA);
  EXPECT_EQ(input_iGetFreeEventCount(), 1);
  ASSERT_EQ(input_bEventAlloc(&p), 1);
  EXPECT_EQ(p, pLast);
  input_EventFree(&p);
  input_EventFree(&pC);
  input_EventFree(&pD);
  for (InputEvent*& q : all) input_EventFree(&q);
  EXPECT_EQ(input_iGetFreeEventCount(), INPUT_EVENT_POOL_SIZE);
}

// A pad's port through the headless script: pressed, unplugged (released),
// plugged in again (pressed again), and a second pad plugged in mid-run gets a port.
TEST_F(PortsTest, JoystickUnplugAndReplugReachThePort) {
  std::string why;
  ASSERT_TRUE(LoadScript("1 joyplug Pad 6 16 1\n"
                                               "1 joybutton 0 0 down\n"
                                               "3 joyunplug 0\n"
                                               "5 joyplug Pad 6 16 1\n"
                                               "5 joybutton 0 0 down\n"
                                               "6 joyplug \"Second Pad\"\n",
                                               &why))
      << why;
  platform::pumpEvents();  // step 1: the pad is there at start-up
  QInputJoystickCloseAll();
  input_PortsInit();
  input_DefaultBindingsRegister();
  ASSERT_EQ(input_iGetPortCount(), 2);
  RegisterOne(40, 60, 4, INPUT_TRIGGER_PRESS);  // widget 17: button 0
  static const InputPortBinding kTable[] = {{60, 4, INPUT_TRIGGER_PRESS}, {61, 4, INPUT_TRIGGER_RELEASE}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 41);
  InputPort* pip = Use(1, 41);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{60});
  EXPECT_EQ(input_iGetFirstPressedButton(pip), 0);
  EXPECT_EQ(input_iGetFirstPressedButton(pip), -1);
  platform::pumpEvents();  // 2
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
  platform::pumpEvents();  // 3: unplugged
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{61});
  platform::pumpEvents();  // 4
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
  platform::pumpEvents();  // 5: back, button held
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{60});
  EXPECT_EQ(input_iGetPortCount(), 2);
  platform::pumpEvents();  // 6: a second pad appears
  Frame();
  ASSERT_EQ(input_iGetPortCount(), 3);
  InputPort* pNew = input_poGetPort(2);
  EXPECT_EQ(input_iGetDeviceType(pNew), INPUT_DEVICE_JOYSTICK);
  EXPECT_STREQ(QInputJoystickGetName(pNew->pJoystick), "Second Pad");
  EXPECT_EQ(pNew->cButtons, 32);
  EXPECT_EQ(pNew->bInUse, 0);
}

TEST_F(PortsTest, KeyboardFirstPressedKeyAndFocus) {
  InputPort* pip = Use(0, 13);
  platform::headlessKey(0x2A, true);  // left Shift
  platform::headlessKey(0x2C, true);  // Z
  Frame();
  EXPECT_EQ(input_iGetFirstPressedButton(pip), 0x22C);
  EXPECT_EQ(input_iGetFirstPressedButton(pip), -1);
  // In the background the keyboard reads as released: the port sees releases.
  static const InputPortBinding kTable[] = {{70, 4, INPUT_TRIGGER_PRESS}, {71, 4, INPUT_TRIGGER_RELEASE}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 40);
  input_PortBindingSet(40, pip);
  platform::headlessKey(kKeyEntry0, true);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{70});
  platform::inputSetForeground(false);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{71});
  platform::inputSetForeground(true);
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{70});
}

TEST_F(PortsTest, UsersAttachActivateAndBind) {
  input_FirstFreeUserAttach();
  User* pusr = &user_aUsers[0];
  InputPort* pip = input_poGetPort(0);
  EXPECT_EQ(pusr->pip, pip);
  EXPECT_EQ(pip->pusr, pusr);
  EXPECT_EQ(pusr->bAttachPending, 1);
  EXPECT_EQ(pip->bInUse, 0);
  EXPECT_EQ(pip->bEventsEnabled, 0);
  EXPECT_EQ(input_bUserActivate(&user_aUsers[1]), 0);
  EXPECT_EQ(input_bUserActivate(pusr), 1);
  EXPECT_EQ(input_bUserActivate(pusr), 0);
  EXPECT_EQ(pusr->bActive, 1);
  EXPECT_EQ(pip->bInUse, 1);
  EXPECT_EQ(pip->bEventsEnabled, 1);
  input_ActiveUsersBind(13);
  EXPECT_EQ(pip->eBinding, 13);
  input_ActiveUsersPortMarkSet();
  input_ActiveUsersPortMarkSave();
  pip->iMark = 0;
  input_ActiveUsersPortMarkRestore();
  EXPECT_EQ(pip->iMark, 1);
  input_PortPendingClear(pip);
  EXPECT_EQ(pip->bEventsEnabled, 0);
  input_PortPendingSet(pip);
  EXPECT_EQ(pip->bEventsEnabled, 1);
  input_PortsClear();
  EXPECT_EQ(pip->bInUse, 0);
  EXPECT_EQ(pip->pusr, nullptr);
  input_PortsReinit();
  EXPECT_EQ(pip->bInUse, 1);
  EXPECT_EQ(pip->bEventsEnabled, 1);
}

TEST_F(PortsTest, SmallAnswers) {
  EXPECT_STREQ(input_pszGetControllerName(), "PC CONTROLLER");
  EXPECT_EQ(input_bControllerMissing(), 0);
  EXPECT_EQ(input_bReturn1(), 1);
  input_Nop();
  EXPECT_EQ(input_bAngleNear90(66), 1);
  EXPECT_EQ(input_bAngleNear90(65), 0);
  EXPECT_EQ(input_bAngleNear90(114), 1);
  EXPECT_EQ(input_bAngleNear90(115), 0);
  EXPECT_EQ(input_bAngleNear270(246), 1);
  EXPECT_EQ(input_bAngleNear270(295), 0);
  int32_t iFrame = input_iGetFrame();
  input_PortsRead();
  EXPECT_EQ(input_iGetFrame(), iFrame + 1);
}

}  // namespace
