// The per-frame task list.
#include "shell/vsync.h"

#include "framework/qdx_assert.h"

namespace {
struct VSyncTask {
  VSyncTaskFn pfnTask;
  int32_t iSpare;
};
VSyncTask vsync_aTasks[VSYNC_TASKS_MAX];
}  // namespace

int32_t cVSync_Tasks;
int32_t vsync_iFrame;

void vsync_Init() {
  for (VSyncTask& t : vsync_aTasks) t = {nullptr, 0};
  cVSync_Tasks = 0;
  vsync_iFrame = 0;
}

void vsync_TaskAdd(VSyncTaskFn pfnTask) {
  if (cVSync_Tasks >= VSYNC_TASKS_MAX) return;
  // The first empty slot: a task that removed itself leaves a hole that may
  // lie below slots still in use, so the count is not a free slot's index.
  for (VSyncTask& t : vsync_aTasks) {
    if (t.pfnTask == nullptr) {
      t.pfnTask = pfnTask;
      t.iSpare = 0;
      cVSync_Tasks++;
      break;
    }
  }
  QDX_ASSERT(cVSync_Tasks < 11);
}

int32_t vsync_bTaskListed(VSyncTaskFn pfnTask) {
  for (const VSyncTask& t : vsync_aTasks)
    if (t.pfnTask == pfnTask) return 1;
  return 0;
}

void vsync_TasksRun() {
  for (VSyncTask& t : vsync_aTasks) {
    if (t.pfnTask == nullptr) continue;
    if (t.pfnTask() == 0) {
      t.pfnTask = nullptr;
      cVSync_Tasks--;
    }
  }
  vsync_iFrame++;
}
