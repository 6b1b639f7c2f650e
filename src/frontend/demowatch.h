#pragma once
// The attract-mode watch: when the front end sees no input for 1500 runs of
// the per-frame task list it requests the attract mode, which alternates
// between a demo match (game mode 15) and the attract movie (83).
#include <cstdint>

enum : int32_t { DEMO_IDLE_FRAMES = 1500 };

void demo_IdleWatchStart();
void demo_IdleWatchStop();
void demo_IdleCountReset();
int32_t demo_bStartRequested();
int32_t demo_eNextModeGet();
// The task the watch keeps in the task list: non-zero while it stays.
int32_t demo_IdleTick();
