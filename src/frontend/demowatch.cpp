// The attract-mode watch.
#include "frontend/demowatch.h"

#include "shell/input.h"
#include "shell/vsync.h"

namespace {
int32_t demo_iIdleFrames = 0;
int32_t demo_bRequest = 0;
int32_t demo_bEnabled = 0;
int32_t demo_bAlternate = 0;
int32_t demo_iLastFrame = -1;
}  // namespace

int32_t demo_IdleTick() {
  if (!demo_bEnabled) return 0;
  // A watch started again while its earlier task was still listed has two
  // tasks: each task-list run counts once.
  if (vsync_iFrame == demo_iLastFrame) return 1;
  demo_iLastFrame = vsync_iFrame;
  if (input_bControllerMissing()) {
    demo_iIdleFrames = 0;
    return 1;
  }
  if (++demo_iIdleFrames >= DEMO_IDLE_FRAMES) {
    demo_bRequest = 1;
    demo_bEnabled = 0;
    return 0;
  }
  return 1;
}

void demo_IdleWatchStart() {
  demo_iIdleFrames = 0;
  demo_bRequest = 0;
  demo_bEnabled = 1;
  vsync_TaskAdd(demo_IdleTick);
}

void demo_IdleWatchStop() { demo_bEnabled = 0; }
void demo_IdleCountReset() { demo_iIdleFrames = 0; }
int32_t demo_bStartRequested() { return demo_bRequest; }

int32_t demo_eNextModeGet() {
  demo_bAlternate = !demo_bAlternate;
  return demo_bAlternate ? 15 : 83;
}
