#pragma once
// A periodic timer on its own thread. Tick k is due at start + k / rate
// seconds exactly (absolute deadlines, no drift). A tick that comes late runs
// at once; when the timer falls more than a second behind (the machine was
// suspended) it skips the missed ticks and starts counting again from now.
//
// Headless: there is no thread; the due ticks run on the thread that moves the
// virtual clock, in order, before the clock passes their deadline.
#include <cstdint>

namespace platform {

struct PeriodicTimer;  // opaque
using TimerProc = void (*)(void* user);

// Starts calling proc(user) ticksPerSecond times a second (0 means 60).
// Returns null when no thread can be started.
PeriodicTimer* timerStart(uint32_t ticksPerSecond, TimerProc proc, void* user);
// Stops the timer and waits until a running tick has returned; from the
// timer's own callback it stops it without waiting (no further tick runs).
// Null is fine.
void timerStop(PeriodicTimer* timer);

}  // namespace platform
