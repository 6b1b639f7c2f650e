#pragma once
// The scratch buffer: one static block of 200 KB lent out under a lock, with
// two guard words behind it.
#include <cstdint>

constexpr int32_t MEM_SCRATCH_SIZE = 204800;
constexpr uint32_t MEM_GUARD_WORD_1 = 0xBADBABEEu;
constexpr uint32_t MEM_GUARD_WORD_2 = 0xCAFEBABEu;

extern int32_t mem_Lock;

void mem_Init();
void* mem_pvLock();
int32_t mem_bIsAvailable();
void mem_Unlock();
// 1 while both guard words behind the buffer are intact.
int32_t mem_bGuardsIntact();
