// The mouse's window hook in the framework's hook chain.
#include "framework/qdx_mouse_hook.h"

#include "framework/qdx_mouse.h"
#include "framework/qdx_window.h"

namespace {

QDXMessageHookNode* s_poMouseHook = nullptr;

std::int64_t MouseHook(QDXMessageHookNode* poNode, platform::Window* poWindow, std::uint32_t uMessage,
                       std::uint64_t uWParam, std::int64_t iLParam, std::int64_t iResult) {
  (void)poNode;
  (void)poWindow;
  return QInputMouseMessageHook(uMessage, uWParam, iLParam, iResult);
}

}  // namespace

void QInputMouseHookInstall() {
  if (!s_poMouseHook) s_poMouseHook = QDXAddWindowHook(MouseHook);
}

void QInputMouseHookRemove() {
  if (s_poMouseHook) QDXRemoveWindowHook(s_poMouseHook);
  s_poMouseHook = nullptr;
}
