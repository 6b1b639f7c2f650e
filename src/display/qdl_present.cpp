// Present hooks, the present function and the flip.
#include "display/qdl_present.h"

#include "display/q2dx.h"
#include "display/qdl_internal.h"
#include "framework/qdx_time.h"

namespace {
QDLPool g_hooks;
uint32_t g_hooksReady = 0;
QDLPresentFunc g_pfnPresent = nullptr;
}  // namespace

uint32_t QDLPresentHooksInit() {
  if (g_hooksReady) return QDL_OK;
  QDLPoolInit(&g_hooks, sizeof(QDLPresentHook));
  g_hooksReady = 1;
  g_pfnPresent = nullptr;
  return QDL_OK;
}

uint32_t QDLPresentHooksFree() {
  if (g_hooksReady) QDLPoolFreeAll(&g_hooks);
  g_hooksReady = 0;
  return QDL_OK;
}

QDLPresentHook* QDLPresentHookAdd(QDLPresentHookFunc pfnPre, QDLPresentHookFunc pfnPost) {
  if (!g_hooksReady) return nullptr;
  QDLPresentHook* p = static_cast<QDLPresentHook*>(QDLPoolAdd(&g_hooks));
  if (!p) return nullptr;
  p->pfnPre = pfnPre;
  p->pfnPost = pfnPost;
  // The most recently added hook runs first.
  QDLPoolMoveToHead(p);
  return p;
}

uint32_t QDLPresentHookRemove(QDLPresentHook* pHook) {
  if (pHook && pHook->links.pList == &g_hooks) QDLPoolRemove(pHook);
  return QDL_OK;
}

uint32_t QDLPresentFunctionSet(QDLPresentFunc pfnPresent) {
  g_pfnPresent = pfnPresent;
  return QDL_OK;
}

uint32_t QDLPresent(uint32_t argument) {
  if (qdlGlobals.inactive) return QDL_OK;
  uint32_t result = QDL_OK;
  if (g_hooksReady)
    for (void* n = QDLPoolFirst(&g_hooks); n; n = QDLPoolNext(n)) {
      QDLPresentHook* h = static_cast<QDLPresentHook*>(n);
      if (h->pfnPre) h->pfnPre(argument);
    }
  if (g_pfnPresent) result = g_pfnPresent(argument);
  if (g_hooksReady)
    for (void* n = QDLPoolFirst(&g_hooks); n; n = QDLPoolNext(n)) {
      QDLPresentHook* h = static_cast<QDLPresentHook*>(n);
      if (h->pfnPost) h->pfnPost(argument);
    }
  // In front-surface mode the frame shows now, with what the hooks drew on it.
  Q2DXFrontShow(0);
  QDXTimerFrameCount();
  return result;
}

uint32_t QDLFlip(uint32_t flags) {
  uint32_t r = Q2DXFlip((flags & 1u) ? static_cast<uint32_t>(Q2DXFLIP_CLEAR) : 0u);
  return r != 0 ? QDL_ERR_FAILED : QDL_OK;
}

uint32_t QDLNop() { return QDL_OK; }
