#pragma once
// The per-frame task list: run once per front-end frame and once per logic
// tick of the match.
#include <cstdint>

constexpr int32_t VSYNC_TASKS_MAX = 10;

using VSyncTaskFn = int32_t (*)();  // non-zero to stay in the list

extern int32_t cVSync_Tasks;
extern int32_t vsync_iFrame;

void vsync_Init();
// Stores the task in the first empty slot; a full list ignores the call.
void vsync_TaskAdd(VSyncTaskFn pfnTask);
void vsync_TasksRun();
// The task is in the list.
int32_t vsync_bTaskListed(VSyncTaskFn pfnTask);
