#pragma once
// The match pause flag.
#include <cstdint>

extern int32_t pause_bFlag;

void pause_Set();
void pause_Clear();
void pause_FlagClear();
int32_t pause_bIsPaused();
