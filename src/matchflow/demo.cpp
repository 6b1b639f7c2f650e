// The attract-mode demo's state.
#include "matchflow/demo.h"

DemoMachine demo_oMachine;

void demo_Start() {
  demo_oMachine.eState = DEMO_RUNNING;
  demo_oMachine.uBlink = 0;
}

void demo_Stop() { demo_oMachine.eState = DEMO_OFF; }

void demo_StopRequest() {
  if (demo_oMachine.eState == DEMO_RUNNING) demo_oMachine.eState = DEMO_STOP_REQUESTED;
}

std::int32_t demo_bIsRunning() { return demo_oMachine.eState != DEMO_OFF ? 1 : 0; }

std::int32_t demo_bTextShows(std::uint32_t uBlink) { return (uBlink % 32u) > 12u ? 1 : 0; }
