// The input object: created once, it follows the application's activation so
// the devices read in the foreground only.
#include "framework/qdx_input.h"
#include "framework/qdx_input_internal.h"
#include "platform/clock.h"
#include "platform/input.h"

namespace {
int32_t s_bInputCreated = 0;
}  // namespace

uint64_t QInputReadClock() { return platform::nowNs(); }

uint64_t QInputClockTicksPerSecond() { return platform::kNanosecondsPerSecond; }

int32_t QInputIsCreated() { return s_bInputCreated; }

int32_t QInputCreate(void* pInstance) {
  (void)pInstance;
  if (s_bInputCreated) return 0;
  s_bInputCreated = 1;
  return 0;
}

void QInputRelease() {
  QInputMouseReleaseAll();
  QKeyboardShutdown();
  s_bInputCreated = 0;
}
