#include "framework/qdx_window.h"

#include "framework/qdx_assert.h"
#include "framework/qdx_input.h"

namespace {

struct HookList {
  QDXList oList;
  std::int32_t bInitialised;
  std::int32_t bBusy;
};

HookList qdx_oWindowHooks{};
std::int32_t qdx_iDispatchDepth = 0;
HookList qdx_oActivateHooks{};
QDXMessageHookNode* qdx_poActivateDispatcher = nullptr;
std::int32_t qdx_bAppActive = 1;

void* qdx_pvInstance = nullptr;
QDXWindowProcFunc qdx_pfnWindowProc = nullptr;
platform::Window* qdx_poMainWindow = nullptr;
std::int32_t qdx_iWindowState = QDX_WINDOW_HIDDEN;
platform::Message qdx_oLastMessage;
std::int32_t qdx_bQuit = 0;
std::int32_t qdx_iQuitCode = 0;
std::int32_t qdx_bPumped = 0;

std::int32_t HooksInit(HookList* poHooks) {
  if (poHooks->bInitialised) return 0;
  QDXListInit(&poHooks->oList, sizeof(QDXMessageHookNode));
  poHooks->bBusy = 0;
  poHooks->bInitialised = 1;
  return 0;
}

QDXMessageHookNode* HookAdd(HookList* poHooks, QDXMessageHook pfnCallback) {
  QDX_ASSERT(qdx_iDispatchDepth == 0);
  if (!poHooks->bInitialised) return nullptr;
  poHooks->bBusy = 1;
  auto* poNode = QDXListAs<QDXMessageHookNode>(QDXListAddNode(&poHooks->oList));
  if (poNode) poNode->pfnCallback = pfnCallback;
  poHooks->bBusy = 0;
  return poNode;
}

void HookRemove(HookList* poHooks, QDXMessageHookNode* poNode) {
  QDX_ASSERT(qdx_iDispatchDepth == 0);
  if (!poNode || !poHooks->bInitialised || poNode->oNode.pList != &poHooks->oList) return;
  poHooks->bBusy = 1;
  QDXListRemoveNode(&poNode->oNode);
  poHooks->bBusy = 0;
}

std::int32_t HooksFree(HookList* poHooks) {
  QDX_ASSERT(qdx_iDispatchDepth == 0);
  if (poHooks->bBusy) return 7;
  if (!poHooks->bInitialised) return 0;
  poHooks->bBusy = 1;
  QDXListFreeAll(&poHooks->oList);
  poHooks->bBusy = 0;
  poHooks->bInitialised = 0;
  return 0;
}

// The window hook that feeds the activation hooks.
std::int64_t ActivateDispatch(QDXMessageHookNode*, platform::Window* poWindow, std::uint32_t uMessage,
                              std::uint64_t uWParam, std::int64_t iLParam, std::int64_t iResult) {
  if (uMessage != platform::kMsgActivateApp) return iResult;
  if (qdx_oActivateHooks.bBusy) return 0;
  std::int64_t iChain = iResult;
  for (QDXListNode* p = QDXListFirst(&qdx_oActivateHooks.oList); p; p = p->pNext) {
    auto* poNode = QDXListAs<QDXMessageHookNode>(p);
    if (poNode->pfnCallback) iChain = poNode->pfnCallback(poNode, poWindow, uMessage, uWParam, iLParam, iChain);
  }
  qdx_bAppActive = uWParam != 0 ? 1 : 0;
  return 0;
}

}  // namespace

// ---- Window ------------------------------------------------------------------

std::int32_t QDXRegisterClass(void* pvInstance, QDXWindowProcFunc pfnProc) {
  if (!pfnProc) return 0;
  qdx_pvInstance = pvInstance;
  qdx_pfnWindowProc = pfnProc;
  return 1;
}

platform::Window* QDXCreateWindow(std::int32_t iWidth, std::int32_t iHeight, void* pvInstance, std::int32_t) {
  platform::Window* poWindow = platform::createWindow(iWidth, iHeight);
  if (!poWindow) return nullptr;
  qdx_pvInstance = pvInstance;
  qdx_poMainWindow = poWindow;
  platform::setWindowTitle(poWindow, "QDX");
  platform::hideWindow(poWindow);
  qdx_iWindowState = QDX_WINDOW_HIDDEN;
  return poWindow;
}

void QDXDestroyWindow(platform::Window* poWindow) {
  if (!poWindow) return;
  platform::destroyWindow(poWindow);
  if (poWindow == qdx_poMainWindow) {
    qdx_poMainWindow = nullptr;
    qdx_iWindowState = QDX_WINDOW_HIDDEN;
  }
}

void QDXSetWindowTitle(platform::Window* poWindow, const char* pszText) {
  if (poWindow) platform::setWindowTitle(poWindow, pszText ? pszText : "");
}

void QDXShowWindow(platform::Window* poWindow) {
  if (!poWindow) return;
  platform::showWindow(poWindow);
  qdx_iWindowState = QDX_WINDOW_SHOWN;
}

void QDXHideWindow(platform::Window* poWindow) {
  if (!poWindow) return;
  platform::hideWindow(poWindow);
  qdx_iWindowState = QDX_WINDOW_HIDDEN;
}

void QDXMaximiseWindow(platform::Window* poWindow) {
  if (!poWindow) return;
  if (qdx_iWindowState != QDX_WINDOW_MAXIMISED) platform::maximiseWindow(poWindow);
  qdx_iWindowState = QDX_WINDOW_MAXIMISED;
}

void QDXMarkWindowState(platform::Window* poWindow) {
  if (poWindow) qdx_iWindowState = QDX_WINDOW_MARKED;
}

std::int32_t QDXSetWindowFrame(std::int32_t bPopup) {
  if (!qdx_poMainWindow) return 0;
  platform::setWindowFrame(qdx_poMainWindow, bPopup != 0);
  return 1;
}

platform::Window* QDXGetMainWindow() { return qdx_poMainWindow; }
void* QDXGetInstance() { return qdx_pvInstance; }
std::int32_t QDXGetWindowState() { return qdx_iWindowState; }
std::int32_t QDXIsAppActive() { return qdx_bAppActive; }

// ---- Message pump and window procedure --------------------------------------------

void QDXPumpMessages() {
  qdx_bPumped = 1;
  QKeyboardPoll();
  platform::pumpEvents();
  platform::Message oMessage;
  while (platform::pollMessage(&oMessage)) {
    qdx_oLastMessage = oMessage;
    if (oMessage.code == platform::kMsgQuit) {
      // A quit message is not dispatched to a window.
      qdx_bQuit = 1;
      qdx_iQuitCode = static_cast<std::int32_t>(oMessage.wParam);
      continue;
    }
    if (qdx_pfnWindowProc)
      qdx_pfnWindowProc(oMessage.window, oMessage.code, oMessage.wParam, oMessage.lParam);
    else
      platform::defaultWindowProc(oMessage);
  }
}

void QDXWaitMessage() { platform::waitMessage(); }

std::int64_t QDXWindowProc(platform::Window* poWindow, std::uint32_t uMessage, std::uint64_t uWParam,
                           std::int64_t iLParam) {
  const platform::Message oMessage{poWindow, uMessage, uWParam, iLParam};
  if (uMessage == platform::kMsgSysCommand) {
    const std::uint64_t uCommand = uWParam & 0xFFF0;
    if (uCommand == platform::kSysCommandScreenSave || uCommand == platform::kSysCommandMonitorPower) return 0;
  }
  if (qdx_oWindowHooks.bBusy) return platform::defaultWindowProc(oMessage);
  qdx_iDispatchDepth++;
  std::int64_t iResult = QDX_HOOK_UNHANDLED;
  for (QDXListNode* p = QDXListFirst(&qdx_oWindowHooks.oList); p; p = p->pNext) {
    auto* poNode = QDXListAs<QDXMessageHookNode>(p);
    if (poNode->pfnCallback) iResult = poNode->pfnCallback(poNode, poWindow, uMessage, uWParam, iLParam, iResult);
  }
  qdx_iDispatchDepth--;
  if (iResult != QDX_HOOK_UNHANDLED) return iResult;
  return platform::defaultWindowProc(oMessage);
}

std::int32_t QDXQuitSeen() { return qdx_bQuit; }
std::int32_t QDXQuitCode() { return qdx_iQuitCode; }
void QDXClearQuit() {
  qdx_bQuit = 0;
  qdx_iQuitCode = 0;
}
std::int32_t QDXPumpedThisPass() { return qdx_bPumped; }
void QDXClearPumped() { qdx_bPumped = 0; }

// ---- Hook chains -------------------------------------------------------------------

std::int32_t QDXInitWindowHooks() {
  if (qdx_oWindowHooks.bInitialised) return 0;
  qdx_iDispatchDepth = 0;
  return HooksInit(&qdx_oWindowHooks);
}

std::int32_t QDXFreeWindowHooks() {
  const std::int32_t iResult = HooksFree(&qdx_oWindowHooks);
  if (iResult == 0) qdx_poActivateDispatcher = nullptr;  // it was one of them
  return iResult;
}

QDXMessageHookNode* QDXAddWindowHook(QDXMessageHook pfnCallback) { return HookAdd(&qdx_oWindowHooks, pfnCallback); }

void QDXRemoveWindowHook(QDXMessageHookNode* poNode) {
  if (poNode && poNode == qdx_poActivateDispatcher) qdx_poActivateDispatcher = nullptr;
  HookRemove(&qdx_oWindowHooks, poNode);
}

std::int32_t QDXInitActivateHooks() {
  if (qdx_oActivateHooks.bInitialised) return 0;
  if (!qdx_oWindowHooks.bInitialised) QDXInitWindowHooks();
  HooksInit(&qdx_oActivateHooks);
  qdx_poActivateDispatcher = QDXAddWindowHook(ActivateDispatch);
  if (!qdx_poActivateDispatcher) {
    HooksFree(&qdx_oActivateHooks);
    return 7;
  }
  qdx_bAppActive = 1;
  return 0;
}

std::int32_t QDXFreeActivateHooks() {
  if (qdx_oActivateHooks.bBusy) return 7;
  if (qdx_poActivateDispatcher) QDXRemoveWindowHook(qdx_poActivateDispatcher);
  return HooksFree(&qdx_oActivateHooks);
}

QDXMessageHookNode* QDXAddActivateHook(QDXMessageHook pfnCallback) { return HookAdd(&qdx_oActivateHooks, pfnCallback); }

void QDXRemoveActivateHook(QDXMessageHookNode* poNode) { HookRemove(&qdx_oActivateHooks, poNode); }
