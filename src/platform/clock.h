#pragma once
// The layer's monotonic clock: 64-bit nanoseconds. On the headless backend the
// clock is virtual: it starts at 0 (at platform::init) and moves only through sleep, idleUntil and
// the headless controls (platform/headless.h), so tests drive exact frame
// lengths.
#include <cstdint>

namespace platform {

constexpr uint64_t kNanosecondsPerSecond = 1000000000ull;

// Nanoseconds since an arbitrary start; never goes back.
uint64_t nowNs();

// Gives up the processor for at least ns nanoseconds. Headless: the virtual
// clock advances by ns at once (due timer ticks run first).
void sleepNs(uint64_t ns);
void sleepMs(uint32_t ms);

// The caller has nothing to do until the clock reads deadlineNs (a busy wait
// point, such as a frame rate gate). Returns at or after the deadline: it
// sleeps until shortly before it and yields the processor for the rest. On a
// window system a long wait also collects the window's events into the
// message queue every few milliseconds (main thread only). Headless: the
// virtual clock jumps to the deadline when it is in the future.
void idleUntil(uint64_t deadlineNs);

}  // namespace platform
