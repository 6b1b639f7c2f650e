// The mouse's window hook in the framework's hook chain.
#include "framework/qdx_mouse_hook.h"

#include "framework/qdx_mouse.h"

namespace {
int32_t s_bHookInstalled = 0;
}  // namespace

void QInputMouseHookInstall() { s_bHookInstalled = 1; }

void QInputMouseHookRemove() { s_bHookInstalled = 0; }
