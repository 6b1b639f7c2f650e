#pragma once
// The present path: the present-hook list whose functions run before and
// after each present, and the installable present function.
#include <cstdint>

#include "display/qdl_types.h"

typedef void (*QDLPresentHookFunc)(uint32_t argument);
typedef uint32_t (*QDLPresentFunc)(uint32_t argument);

struct QDLPresentHook {
  QDLListLinks links;
  QDLPresentHookFunc pfnPre;
  QDLPresentHookFunc pfnPost;
};

uint32_t QDLPresentHooksInit();
uint32_t QDLPresentHooksFree();
QDLPresentHook* QDLPresentHookAdd(QDLPresentHookFunc pfnPre, QDLPresentHookFunc pfnPost);
uint32_t QDLPresentHookRemove(QDLPresentHook* pHook);
uint32_t QDLPresentFunctionSet(QDLPresentFunc pfnPresent);
uint32_t QDLPresent(uint32_t argument);
uint32_t QDLFlip(uint32_t flags);   // bit 0: clear the back buffer after the present
uint32_t QDLNop();
