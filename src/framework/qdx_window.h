#pragma once
// The main window, the message pump and the two hook chains every window
// message passes through: window-message hooks (the display library, the
// mouse, the framework's own activation dispatcher) and activation hooks,
// told when the application gains or loses the foreground.
#include <cstdint>

#include "framework/qdx_list.h"
#include "platform/window.h"

// A hook's result when it has not handled the message.
constexpr std::int64_t QDX_HOOK_UNHANDLED = 999999;

struct QDXMessageHookNode;
// Called with the node, the window, the message, its parameters and the
// result so far; returns the new result.
using QDXMessageHook = std::int64_t (*)(QDXMessageHookNode* poNode, platform::Window* poWindow, std::uint32_t uMessage,
                                        std::uint64_t uWParam, std::int64_t iLParam, std::int64_t iResult);

struct QDXMessageHookNode {
  QDXListNode oNode;
  QDXMessageHook pfnCallback;
};

// The class's window procedure.
using QDXWindowProcFunc = std::int64_t (*)(platform::Window* poWindow, std::uint32_t uMessage, std::uint64_t uWParam,
                                           std::int64_t iLParam);

// Show states of the main window.
enum : std::int32_t {
  QDX_WINDOW_HIDDEN = 0,
  QDX_WINDOW_MAXIMISED = 3,
  QDX_WINDOW_SHOWN = 5,
  QDX_WINDOW_MARKED = 9,
};

// ---- Window ------------------------------------------------------------------
// Keeps the window procedure the pump dispatches to; non-zero on success.
std::int32_t QDXRegisterClass(void* pvInstance, QDXWindowProcFunc pfnProc);
// Creates the main window hidden at 0,0 (the flag is not used); null on failure.
platform::Window* QDXCreateWindow(std::int32_t iWidth, std::int32_t iHeight, void* pvInstance, std::int32_t iFlag);
void QDXDestroyWindow(platform::Window* poWindow);
void QDXSetWindowTitle(platform::Window* poWindow, const char* pszText);
void QDXShowWindow(platform::Window* poWindow);
void QDXHideWindow(platform::Window* poWindow);
void QDXMaximiseWindow(platform::Window* poWindow);
void QDXMarkWindowState(platform::Window* poWindow);
// 1: pop-up (no caption or boxes); 0: caption with minimise and maximise
// boxes. 0 when there is no main window, else 1.
std::int32_t QDXSetWindowFrame(std::int32_t bPopup);

platform::Window* QDXGetMainWindow();
void* QDXGetInstance();
std::int32_t QDXGetWindowState();
// 1 while the application is in the foreground.
std::int32_t QDXIsAppActive();

// ---- Message pump and window procedure --------------------------------------------
// Polls the keyboard, then empties the message queue, dispatching each message
// to the window procedure; a quit message sets the quit flag.
void QDXPumpMessages();
// Blocks until a message arrives (never blocks without a window system).
void QDXWaitMessage();
// The framework's window procedure: refuses the screen saver and monitor
// power-down, runs the window-hook chain and leaves unhandled messages to the
// default procedure.
std::int64_t QDXWindowProc(platform::Window* poWindow, std::uint32_t uMessage, std::uint64_t uWParam,
                           std::int64_t iLParam);

// The frame loop's flags: the quit flag is set by a pumped quit message; the
// pumped flag tells whether this pass pumped already.
std::int32_t QDXQuitSeen();
std::int32_t QDXQuitCode();
void QDXClearQuit();
std::int32_t QDXPumpedThisPass();
void QDXClearPumped();

// ---- Hook chains -------------------------------------------------------------------
// Initialising an initialised list does nothing and returns 0. Freeing returns
// 7 while the list is busy. Hooks must not be added or removed while a message
// is being dispatched through the chain.
std::int32_t QDXInitWindowHooks();
std::int32_t QDXFreeWindowHooks();
// Appends a hook at the tail; null when the list is not initialised.
QDXMessageHookNode* QDXAddWindowHook(QDXMessageHook pfnCallback);
void QDXRemoveWindowHook(QDXMessageHookNode* poNode);

// Initialising also installs the activation dispatcher as a window hook.
std::int32_t QDXInitActivateHooks();
std::int32_t QDXFreeActivateHooks();
QDXMessageHookNode* QDXAddActivateHook(QDXMessageHook pfnCallback);
void QDXRemoveActivateHook(QDXMessageHookNode* poNode);
