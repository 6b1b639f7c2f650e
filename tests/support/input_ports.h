#pragma once
// The input ports of a test program that steers the game through them: the
// headless backend, the keyboard and the ports with the default bindings.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/player.h"
#include "framework/qdx_input.h"
#include "platform/platform.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"

namespace korvena_test {

inline void InputPortsUp() {
  ASSERT_TRUE(platform::init(platform::BackendKind::Headless));
  ASSERT_EQ(QKeyboardSetup(0), 0);
  input_BindingTablesClear();
  input_PortsInit();
  input_DefaultBindingsRegister();
}

// Events queued on a port as its stick (or button) widget gave them.
inline void EventsQueue(InputPort* pPort, InputWidgetState* pWidget, const std::vector<std::int32_t>& aeEvents) {
  for (std::int32_t e : aeEvents) {
    InputEvent* pEvent = nullptr;
    ASSERT_TRUE(input_bEventAlloc(&pEvent));
    pEvent->eEvent = e;
    pEvent->pWidget = pWidget;
    queue_Append(&pPort->oEvents, &pEvent->oLink);
  }
}

// An event on the first user's port, as a widget of his would queue it
// (nothing when he has no port or the event pool is empty).
inline void FirstUserEventPost(std::int32_t iEvent) {
  User& u = user_aUsers[0];
  InputEvent* pe = nullptr;
  if (!u.pip || !input_bEventAlloc(&pe)) return;
  pe->eEvent = iEvent;
  pe->pWidget = nullptr;
  queue_Append(&u.pip->oEvents, &pe->oLink);
}

// A stick's reading as its widget holds it: degrees << 16 | magnitude.
inline std::int32_t StickWord(std::int32_t iDegrees, std::int32_t iMagnitude) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(iDegrees) << 16 | static_cast<std::uint32_t>(iMagnitude));
}

// Port 0 emptied and listening, and user 0 on it for the home side with a
// marker of his own; *ppusr is that user.
inline void HomeUserUp(User** ppusr) {
  InputPort& oPort = *input_poGetPort(0);
  input_EventQueueFlush(&oPort.oEvents);
  oPort.bInUse = 1;
  oPort.bEventsEnabled = 1;
  User* pusr = &user_aUsers[0];
  pusr->iIndex = 0;
  pusr->pip = &oPort;
  pusr->bActive = 1;
  pusr->MyTeam = player_PlaysFor_Home;
  UserMarker* phl = nullptr;
  ASSERT_TRUE(usrmark_bAlloc(&phl));
  pusr->phl = phl;
  *ppusr = pusr;
}

}  // namespace korvena_test
