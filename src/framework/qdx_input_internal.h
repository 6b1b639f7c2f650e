#pragma once
// Private to the framework's input modules.
#include <cstdint>

// The time-stamp clock the repeat and click intervals are measured on.
uint64_t QInputReadClock();
uint64_t QInputClockTicksPerSecond();
// Whether the input object exists.
int32_t QInputIsCreated();
// The mouse's part of QInputRelease.
void QInputMouseReleaseAll();
