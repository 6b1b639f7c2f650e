// The scratch buffer.
#include "shell/mem.h"

#include "framework/qdx_assert.h"

namespace {
struct ScratchBlock {
  alignas(16) uint8_t abBuffer[MEM_SCRATCH_SIZE];
  uint32_t aulGuard[2];
};
ScratchBlock mem_oScratch;
}  // namespace

int32_t mem_Lock;

void mem_Init() {
  mem_oScratch.aulGuard[0] = MEM_GUARD_WORD_1;
  mem_oScratch.aulGuard[1] = MEM_GUARD_WORD_2;
  mem_Lock = 0;
}

void* mem_pvLock() {
  if (mem_Lock) return nullptr;
  mem_Lock++;
  return mem_oScratch.abBuffer;
}

int32_t mem_bIsAvailable() { return 1; }

void mem_Unlock() {
  mem_Lock--;
  QDX_ASSERT(mem_Lock == 0);
}

int32_t mem_bGuardsIntact() {
  return mem_oScratch.aulGuard[0] == MEM_GUARD_WORD_1 && mem_oScratch.aulGuard[1] == MEM_GUARD_WORD_2;
}
