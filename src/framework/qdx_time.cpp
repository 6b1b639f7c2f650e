#include "framework/qdx_time.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "framework/qdx_assert.h"
#include "platform/clock.h"
#include "platform/timer.h"

namespace {

// ---- Clock and rate gate ----
std::atomic<std::uint64_t> qdx_uGateLast{0};
std::int32_t qdx_bCalibrated = 0;

// ---- Periodic timer ----
// The timer thread and the main thread share the callback list and the clock
// words. Every change of the list, every tick and every clock read holds the
// mutex; it is recursive because on some backends the ticks run on the thread
// that waits (a callback may then add or remove callbacks itself). A callback
// removed while the list is being run is only marked and freed after the pass.
std::recursive_mutex qdx_oTimerMutex;
platform::PeriodicTimer* qdx_poTimer = nullptr;
std::atomic<bool> qdx_bTimerRunning{false};
bool qdx_bTimerDispatching = false;
bool qdx_bTimerSweep = false;
QDXList qdx_oTimerList{nullptr, nullptr, sizeof(QDXTimerCallback)};
std::uint16_t qdx_uTimerRate = 60;
std::atomic<std::uint32_t> qdx_uTimerTotal{0};
std::uint16_t qdx_uTimerTicks = 0;
std::uint16_t qdx_uTimerSeconds = 0;
std::uint16_t qdx_uTimerMinutes = 0;
std::uint16_t qdx_uTimerHours = 0;
std::atomic<std::uint16_t> qdx_uTimerFrames{0};
std::atomic<std::uint16_t> qdx_uTimerFPS{0};

void TimerSweep() {
  QDXListNode* p = QDXListFirst(&qdx_oTimerList);
  while (p) {
    QDXListNode* pNext = p->pNext;
    if (QDXListAs<QDXTimerCallback>(p)->bRemoved) QDXListRemoveNode(p);
    p = pNext;
  }
  qdx_bTimerSweep = false;
}

// One timer tick, on the timer's thread.
void TimerProc(void*) {
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  if (!qdx_bTimerRunning.load()) return;
  qdx_uTimerTotal.fetch_add(1);
  if (++qdx_uTimerTicks >= qdx_uTimerRate) {
    qdx_uTimerFPS.store(qdx_uTimerFrames.exchange(0));
    qdx_uTimerTicks = 0;
    if (++qdx_uTimerSeconds >= 60) {
      qdx_uTimerSeconds = 0;
      if (++qdx_uTimerMinutes >= 60) {
        qdx_uTimerMinutes = 0;
        qdx_uTimerHours++;
      }
    }
  }
  qdx_bTimerDispatching = true;
  for (QDXListNode* p = QDXListFirst(&qdx_oTimerList); p; p = p->pNext) {
    auto* poNode = QDXListAs<QDXTimerCallback>(p);
    if (poNode->bRemoved) continue;
    if (++poNode->uCount >= poNode->uDivisor) {
      poNode->uCount = 0;
      if (poNode->pfnCallback) poNode->pfnCallback(poNode);
    }
  }
  qdx_bTimerDispatching = false;
  if (qdx_bTimerSweep) TimerSweep();
}

}  // namespace

// ---- Clock and rate gate --------------------------------------------------------

std::int32_t QDXCalibrateTSC() {
  qdx_uGateLast.store(platform::nowNs());
  qdx_bCalibrated = 1;
  return 0;
}

std::uint64_t QDXTSCPerSecond() { return QDX_TSC_PER_SECOND; }

std::uint64_t QDXReadTSC(std::uint64_t* pOut) {
  const std::uint64_t u = platform::nowNs();
  if (pOut) *pOut = u;
  return u;
}

std::int32_t QDXRateGate(std::uint32_t uRate) {
  const std::uint64_t uNow = platform::nowNs();
  if (uRate == 0) {
    qdx_uGateLast.store(uNow);
    return 1;
  }
  const std::uint64_t uInterval =
      uRate < 65536 ? QDX_TSC_PER_SECOND / uRate : (QDX_TSC_PER_SECOND * 65536ull) / uRate;
  const std::uint64_t uLast = qdx_uGateLast.load();
  const auto iElapsed = static_cast<std::int64_t>(uNow - uLast);
  if (iElapsed < 0 || static_cast<std::uint64_t>(iElapsed) < uInterval) {
    // Idle up to the opening (never more than one interval from now, should
    // the gate have been restarted ahead of the clock). The platform's wait
    // sleeps and keeps the window's events flowing meanwhile.
    platform::idleUntil(iElapsed < 0 ? uNow + uInterval : uLast + uInterval);
    return 0;
  }
  qdx_uGateLast.store(uNow);
  return 1;
}

// ---- Periodic timer ------------------------------------------------------------

std::int32_t QDXTimerStart(std::uint16_t uRate) {
  std::unique_lock<std::recursive_mutex> oLock(qdx_oTimerMutex);
  if (qdx_bTimerRunning.load()) return 0;
  qdx_uTimerRate = uRate ? uRate : 60;
  QDXListInit(&qdx_oTimerList, sizeof(QDXTimerCallback));
  qdx_uTimerTotal.store(0);
  qdx_uTimerTicks = qdx_uTimerSeconds = qdx_uTimerMinutes = qdx_uTimerHours = 0;
  qdx_uTimerFrames.store(0);
  qdx_uTimerFPS.store(0);
  qdx_bTimerRunning.store(true);
  platform::PeriodicTimer* poTimer = platform::timerStart(qdx_uTimerRate, TimerProc, nullptr);
  if (!poTimer) {
    qdx_bTimerRunning.store(false);
    return 7;
  }
  qdx_poTimer = poTimer;
  return 0;
}

std::int32_t QDXTimerStop() {
  platform::PeriodicTimer* poTimer;
  {
    std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
    QDX_ASSERT(!qdx_bTimerDispatching);
    if (!qdx_bTimerRunning.load()) return 0;
    qdx_bTimerRunning.store(false);
    poTimer = qdx_poTimer;
    qdx_poTimer = nullptr;
  }
  // Outside the lock: a tick waiting for it must be able to finish.
  platform::timerStop(poTimer);
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  QDXListFreeAll(&qdx_oTimerList);
  qdx_bTimerSweep = false;
  return 0;
}

QDXTimerCallback* QDXTimerAddCallback(QDXTimerFunc pfnCallback, std::uint16_t uDivisor) {
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  if (!qdx_bTimerRunning.load() && QDXTimerStart(60) != 0) return nullptr;
  auto* poNode = QDXListAs<QDXTimerCallback>(QDXListAddNode(&qdx_oTimerList));
  if (!poNode) return nullptr;
  poNode->pfnCallback = pfnCallback;
  poNode->uDivisor = uDivisor ? uDivisor : 1;
  poNode->uCount = 0;
  return poNode;
}

void QDXTimerRemoveCallback(QDXTimerCallback* poNode) {
  if (!poNode) return;
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  if (poNode->oNode.pList != &qdx_oTimerList) return;
  if (qdx_bTimerDispatching) {
    // Inside a tick on this very thread: the pass still walks the list.
    poNode->bRemoved = 1;
    qdx_bTimerSweep = true;
    return;
  }
  QDXListRemoveNode(&poNode->oNode);
}

std::int32_t QDXTimerGetTime(std::uint16_t* puHours, std::uint16_t* puMinutes, std::uint16_t* puSeconds,
                             std::uint16_t* puTicks) {
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  if (!qdx_bTimerRunning.load()) return 7;
  if (puHours) *puHours = qdx_uTimerHours;
  if (puMinutes) *puMinutes = qdx_uTimerMinutes;
  if (puSeconds) *puSeconds = qdx_uTimerSeconds;
  if (puTicks) *puTicks = qdx_uTimerTicks;
  return 0;
}

std::int32_t QDXTimerSetTime(std::uint16_t uHours, std::uint16_t uMinutes, std::uint16_t uSeconds,
                             std::uint16_t uTicks) {
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  qdx_uTimerHours = uHours;
  qdx_uTimerMinutes = uMinutes;
  qdx_uTimerSeconds = uSeconds;
  qdx_uTimerTicks = uTicks;
  return 0;
}

bool QDXTimerIsRunning() { return qdx_bTimerRunning.load(); }

std::uint16_t QDXTimerRateGet() {
  std::lock_guard<std::recursive_mutex> oLock(qdx_oTimerMutex);
  return qdx_uTimerRate;
}

std::uint32_t QDXTimerTotalTicks() { return qdx_uTimerTotal.load(); }

void QDXTimerFrameCount() { qdx_uTimerFrames.fetch_add(1); }

std::uint16_t QDXTimerFramesPerSecond() { return qdx_uTimerFPS.load(); }

// ---- High-resolution interval timer -----------------------------------------------

void QDXHiResTimerConstruct(QDXHiResTimer* poTimer) {
  QDXHiResTimerReset(poTimer);
  poTimer->iFrequency = static_cast<std::int64_t>(QDX_TSC_PER_SECOND);
}

void QDXHiResTimerReset(QDXHiResTimer* poTimer) {
  const std::int64_t iFrequency = poTimer->iFrequency;
  *poTimer = QDXHiResTimer{};
  poTimer->iFrequency = iFrequency;
}

void QDXHiResTimerStart(QDXHiResTimer* poTimer) {
  poTimer->iStart = static_cast<std::int64_t>(platform::nowNs());
  poTimer->iStartCopy = poTimer->iStart;
  poTimer->iLast = 0;
}

std::uint32_t QDXHiResTimerElapsed(QDXHiResTimer* poTimer) {
  poTimer->iLast = static_cast<std::int64_t>(platform::nowNs()) - poTimer->iStart;
  poTimer->iTotal += poTimer->iLast;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(poTimer->iLast) >> 32);
}

namespace {
double HiResScale(const QDXHiResTimer* poTimer, std::int64_t iTicks, double dFactor) {
  if (dFactor == 0.0) dFactor = 1.0;
  const double dFrequency = poTimer->iFrequency ? static_cast<double>(poTimer->iFrequency) : 1e9;
  return static_cast<double>(iTicks) * 1e9 / dFrequency / dFactor;
}
}  // namespace

double QDXHiResTimerSeconds(const QDXHiResTimer* poTimer, double dFactor) {
  return HiResScale(poTimer, poTimer->iTotal, dFactor);
}

double QDXHiResTimerSecondsScaled(const QDXHiResTimer* poTimer, double dFactor) {
  return HiResScale(poTimer, poTimer->iLast, dFactor);
}
