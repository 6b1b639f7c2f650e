// Periodic timers: a thread per timer on the SDL backend, ticks run by the
// virtual clock on the headless backend.
#include "platform/timer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/internal.h"

namespace platform {

namespace internal {
void setHeadlessNow(uint64_t ns);
uint64_t realNow();
}  // namespace internal

struct PeriodicTimer {
  uint32_t rate = 60;
  TimerProc proc = nullptr;
  void* user = nullptr;
  uint64_t startNs = 0;
  uint64_t tick = 0;  // index of the next tick (1-based deadlines)
  bool headless = false;
  std::thread thread;
  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  bool deleteOnExit = false;  // stopped from its own callback: the thread frees it

  // Whole seconds and the remainder apart, so k * 10^9 cannot wrap.
  uint64_t deadline(uint64_t k) const {
    return startNs + (k / rate) * kNanosecondsPerSecond + ((k % rate) * kNanosecondsPerSecond) / rate;
  }
};

namespace {
std::mutex g_listMutex;
std::vector<PeriodicTimer*> g_timers;  // every running timer

void threadMain(PeriodicTimer* t) {
  std::unique_lock<std::mutex> lock(t->mutex);
  while (!t->stopping) {
    uint64_t due = t->deadline(t->tick + 1);
    uint64_t now = internal::realNow();
    if (now < due) {
      auto when = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(due));
      t->wake.wait_until(lock, when, [t] { return t->stopping; });
      if (t->stopping) break;
      if (internal::realNow() < due) continue;
    } else if (now - due > kNanosecondsPerSecond) {
      // Far behind (the machine slept): count again from now.
      t->startNs = now;
      t->tick = 0;
      continue;
    }
    ++t->tick;
    lock.unlock();
    t->proc(t->user);
    lock.lock();
  }
  if (t->deleteOnExit) {
    lock.unlock();
    delete t;
  }
}
}  // namespace

PeriodicTimer* timerStart(uint32_t ticksPerSecond, TimerProc proc, void* user) {
  if (!proc) return nullptr;
  auto* t = new PeriodicTimer;
  t->rate = ticksPerSecond ? ticksPerSecond : 60;
  t->proc = proc;
  t->user = user;
  t->startNs = nowNs();
  t->headless = internal::backend() == BackendKind::Headless;
  if (!t->headless) {
    try {
      t->thread = std::thread(threadMain, t);
    } catch (...) {
      delete t;
      return nullptr;
    }
  }
  std::lock_guard<std::mutex> g(g_listMutex);
  g_timers.push_back(t);
  return t;
}

void timerStop(PeriodicTimer* timer) {
  if (!timer) return;
  {
    std::lock_guard<std::mutex> g(g_listMutex);
    auto it = std::find(g_timers.begin(), g_timers.end(), timer);
    if (it == g_timers.end()) return;
    g_timers.erase(it);
  }
  if (timer->thread.joinable()) {
    if (timer->thread.get_id() == std::this_thread::get_id()) {
      // Stopped from its own callback: the thread ends after the callback
      // returns and frees the timer itself.
      std::lock_guard<std::mutex> g(timer->mutex);
      timer->stopping = true;
      timer->deleteOnExit = true;
      timer->thread.detach();
      return;
    }
    {
      std::lock_guard<std::mutex> g(timer->mutex);
      timer->stopping = true;
    }
    timer->wake.notify_all();
    timer->thread.join();
  }
  delete timer;
}

namespace internal {

void runHeadlessTimersUntil(uint64_t ns) {
  for (;;) {
    PeriodicTimer* next = nullptr;
    uint64_t nextDue = 0;
    {
      std::lock_guard<std::mutex> g(g_listMutex);
      for (PeriodicTimer* t : g_timers) {
        if (!t->headless) continue;
        uint64_t due = t->deadline(t->tick + 1);
        if (due <= ns && (!next || due < nextDue)) {
          next = t;
          nextDue = due;
        }
      }
      if (!next) return;
      ++next->tick;
    }
    if (nextDue > headlessNow()) setHeadlessNow(nextDue);
    // The callback may stop its own timer (or another); the list is looked
    // at afresh on every pass.
    next->proc(next->user);
  }
}

void stopAllTimers() {
  for (;;) {
    PeriodicTimer* t = nullptr;
    {
      std::lock_guard<std::mutex> g(g_listMutex);
      if (g_timers.empty()) return;
      t = g_timers.back();
    }
    timerStop(t);
  }
}

}  // namespace internal
}  // namespace platform
