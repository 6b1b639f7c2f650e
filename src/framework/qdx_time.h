#pragma once
// Timing of the framework: a 64-bit nanosecond clock, the rate gate that the
// frame loop waits on, the periodic timer with its clock (ticks, seconds,
// minutes, hours), frames-per-second figure and list of callbacks each called
// every n-th tick, and a high-resolution interval timer.
#include <cstdint>

#include "framework/qdx_list.h"

// The clock counts nanoseconds: QDXReadTSC values are in these units.
constexpr std::uint64_t QDX_TSC_PER_SECOND = 1000000000ull;

// Prepares the clock and restarts the rate gate from now. Returns 0.
std::int32_t QDXCalibrateTSC();
// Ticks of QDXReadTSC per second.
std::uint64_t QDXTSCPerSecond();
// Stores and returns the clock (pOut may be null).
std::uint64_t QDXReadTSC(std::uint64_t* pOut);

// 1 when one period at the given rate has passed since the gate last opened
// (the gate then restarts from now), else 0. A rate below 65536 is in passes
// per second; 65536 or more is 16.16 fixed point. A rate of 0 has no period:
// the gate opens at once. A closed gate idles until the opening (the
// platform sleeps, collecting window events, and returns at the opening), so
// a caller's loop on the gate neither burns the processor nor stalls a clock
// that moves only when waited on; the call after the wait opens the gate.
std::int32_t QDXRateGate(std::uint32_t uRate);

// ---- Periodic timer ------------------------------------------------------------
struct QDXTimerCallback;
using QDXTimerFunc = void (*)(QDXTimerCallback* poNode);

// A node of the timer's callback list.
struct QDXTimerCallback {
  QDXListNode oNode;
  QDXTimerFunc pfnCallback;
  std::uint16_t uDivisor;  // called every uDivisor-th tick
  std::uint16_t uCount;
  std::uint8_t bRemoved;   // removed while the list was being run; freed after the pass
};

// Starts the timer at uRate ticks a second (0 means 60). Returns 0, or 7 when
// no timer can be started. Starting a running timer does nothing.
std::int32_t QDXTimerStart(std::uint16_t uRate);
// Stops the timer and removes every callback. Returns 0. Not from a callback.
std::int32_t QDXTimerStop();
// Adds a callback called every uDivisor-th tick (0 counts as 1), starting the
// timer at 60 a second first when it is not running. Null when it cannot.
QDXTimerCallback* QDXTimerAddCallback(QDXTimerFunc pfnCallback, std::uint16_t uDivisor);
// Removes a callback: it is not called again once this returns. Safe from any
// thread, including from inside a callback.
void QDXTimerRemoveCallback(QDXTimerCallback* poNode);
// The timer's clock; any pointer may be null. 7 (nothing written) when the
// timer is not running, else 0.
std::int32_t QDXTimerGetTime(std::uint16_t* puHours, std::uint16_t* puMinutes, std::uint16_t* puSeconds,
                             std::uint16_t* puTicks);
std::int32_t QDXTimerSetTime(std::uint16_t uHours, std::uint16_t uMinutes, std::uint16_t uSeconds,
                             std::uint16_t uTicks);
bool QDXTimerIsRunning();
std::uint16_t QDXTimerRateGet();
// Ticks since the timer started.
std::uint32_t QDXTimerTotalTicks();
// One frame presented (the display's present counts its frames here).
void QDXTimerFrameCount();
// Frames presented in the last full second of the timer's clock.
std::uint16_t QDXTimerFramesPerSecond();

// ---- High-resolution interval timer -----------------------------------------------
struct QDXHiResTimer {
  std::int64_t iStart;
  std::int64_t iStartCopy;
  std::int64_t iLast;       // last elapsed interval
  std::int64_t iFrequency;  // clock ticks per second
  std::int64_t iTotal;      // accumulated intervals
};

void QDXHiResTimerConstruct(QDXHiResTimer* poTimer);
void QDXHiResTimerReset(QDXHiResTimer* poTimer);
void QDXHiResTimerStart(QDXHiResTimer* poTimer);
// Last interval = now minus start, added to the total; returns the
// interval's high 32 bits.
std::uint32_t QDXHiResTimerElapsed(QDXHiResTimer* poTimer);
// The total (Seconds) or the last interval (SecondsScaled) in nanoseconds
// divided by the factor (0 counts as 1).
double QDXHiResTimerSeconds(const QDXHiResTimer* poTimer, double dFactor);
double QDXHiResTimerSecondsScaled(const QDXHiResTimer* poTimer, double dFactor);
