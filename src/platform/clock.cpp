// The monotonic clock, sleep and idle waits; the headless virtual clock.
#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/internal.h"

namespace platform {

uint64_t nowNs() { return internal::ops().now(); }

void sleepNs(uint64_t ns) { internal::ops().sleep(ns); }

void sleepMs(uint32_t ms) { sleepNs(static_cast<uint64_t>(ms) * 1000000ull); }

void idleUntil(uint64_t deadlineNs) { internal::ops().idleUntil(deadlineNs); }

namespace internal {
namespace {
std::atomic<uint64_t> g_virtualNow{0};
thread_local int t_advancing = 0;
}  // namespace

uint64_t realNow() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

void realSleep(uint64_t ns) {
  if (ns == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
}

void realIdleUntil(uint64_t deadlineNs) {
  // Sleep until shortly before the deadline, then give the processor away in
  // yields for the last fraction of a millisecond: a sleep wakes late by the
  // system's timer slack (tens of microseconds), a yield by next to nothing.
  for (;;) {
    const uint64_t now = realNow();
    if (now >= deadlineNs) return;
    const uint64_t left = deadlineNs - now;
    if (left > kIdleYieldNs)
      std::this_thread::sleep_for(std::chrono::nanoseconds(left - kIdleYieldNs));
    else
      std::this_thread::yield();
  }
}

uint64_t headlessNow() { return g_virtualNow.load(std::memory_order_acquire); }

void setHeadlessNow(uint64_t ns) { g_virtualNow.store(ns, std::memory_order_release); }

void headlessAdvanceTo(uint64_t ns) {
  if (ns <= headlessNow()) return;
  if (t_advancing == 0) {
    // Ticks due on the way run first, each at its own deadline.
    ++t_advancing;
    runHeadlessTimersUntil(ns);
    --t_advancing;
  }
  if (ns > headlessNow()) setHeadlessNow(ns);
}

// Adds without wrapping: the clock stops at its end instead of going back.
uint64_t addSaturated(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

void headlessSleep(uint64_t ns) { headlessAdvanceTo(addSaturated(headlessNow(), ns)); }

void headlessIdleUntil(uint64_t deadlineNs) { headlessAdvanceTo(deadlineNs); }

}  // namespace internal

bool headlessAdvanceClock(uint64_t ns) {
  if (internal::backend() != BackendKind::Headless) return false;
  internal::headlessAdvanceTo(internal::addSaturated(internal::headlessNow(), ns));
  return true;
}

}  // namespace platform
