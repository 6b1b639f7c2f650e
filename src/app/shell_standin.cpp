// A stand-in for the game shell until it exists: it opens nothing, and ends
// the program after the steps a headless script runs (the script quits it),
// or else after one second of steps at 30 a second.
#include "framework/qdx_time.h"
#include "platform/headless.h"
#include "shell/pcmain.h"

namespace {
std::int32_t shellstandin_cSteps = 0;
constexpr std::int32_t SHELLSTANDIN_STEPS = 30;
}  // namespace

std::int32_t pcmain_Startup(std::int32_t, const char* const*) {
  shellstandin_cSteps = 0;
  return 1;
}

std::int32_t pcmain_LoopStep() {
  while (!QDXRateGate(30)) {
  }
  // While script lines are waiting, the script decides when to quit.
  if (platform::headlessPendingScriptLines() > 0) return 0;
  return ++shellstandin_cSteps >= SHELLSTANDIN_STEPS ? 1 : 0;
}

void pcmain_Shutdown() {}
