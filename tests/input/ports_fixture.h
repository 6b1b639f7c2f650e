#pragma once
// Input-port tests: the keyboard set up, the ports and the default binding
// tables as the game's start-up leaves them, on the headless devices (PortsTest)
// or on another backend's (a fixture of its own deriving from PortHelpers).
#include <vector>

#include "input_fixture.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/user.h"

class PortHelpers {
 protected:
  // The keyboard, the users, the ports and the default binding tables set up
  // once the platform is.
  static void PortsStart() {
    ASSERT_EQ(QKeyboardSetup(0), 0);
    game_UsersReset();
    input_BindingTablesClear();
    input_PortsInit();
    input_DefaultBindingsRegister();
  }
  // Puts a port in use with events on and the given table active.
  static InputPort* Use(int32_t iPort, int32_t eBinding) {
    InputPort* pip = input_poGetPort(iPort);
    pip->bInUse = 1;
    pip->bEventsEnabled = 1;
    input_PortBindingSet(eBinding, pip);
    return pip;
  }
  // One frame: the pump's keyboard poll, then the ports read and their events.
  static void Frame() {
    QKeyboardPoll();
    input_PortsRead();
    input_EventsGenerate();
  }
  // Takes every queued event of a port, returning their codes.
  static std::vector<int32_t> Drain(InputPort* pip) {
    std::vector<int32_t> codes;
    while (ListNode* pNode = queue_RemoveHead(&pip->oEvents)) {
      InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
      codes.push_back(pEvent->eEvent);
      input_EventFree(&pEvent);
    }
    return codes;
  }
};

class PortsTest : public InputTest, public PortHelpers {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    PortsStart();
  }
};

// Key scan codes of the keyboard port's default map.
constexpr uint8_t kKeyEntry0 = 0x50;  // widget 17
constexpr uint8_t kKeyLeft = 0xCB, kKeyRight = 0xCD, kKeyUp = 0xC8, kKeyDown = 0xD0;
