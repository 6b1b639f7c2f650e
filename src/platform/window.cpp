// The main window and the message queue, common to both backends.
#include "platform/window.h"

#include <deque>
#include <mutex>

#include "platform/input_internal.h"
#include "platform/internal.h"
#include "platform/paths.h"

namespace platform {
namespace {
Window* g_main = nullptr;
std::mutex g_queueMutex;
std::deque<Message> g_queue;
int g_cursorCount = 0;
}  // namespace

namespace internal {
void queueMessage(uint32_t code, uint64_t wParam, int64_t lParam) {
  // Input devices read in the foreground only.
  if (code == kMsgActivateApp) inputFocusChanged(wParam != 0);
  Message m;
  m.window = g_main;
  m.code = code;
  m.wParam = wParam;
  m.lParam = lParam;
  postMessage(m);
}
}  // namespace internal

Window* createWindow(int width, int height) {
  if (g_main || width <= 0 || height <= 0) return nullptr;
  auto* w = new Window;
  w->width = width;
  w->height = height;
  if (!internal::ops().windowCreate(w, width, height)) {
    delete w;
    return nullptr;
  }
  g_main = w;
  return w;
}

void destroyWindow(Window* window) {
  if (!window || window != g_main) return;
  internal::queueMessage(kMsgDestroy, 0, 0);
  internal::ops().windowDestroy(window);
  g_main = nullptr;
  delete window;
  // Messages still queued for the window lose their target.
  std::lock_guard<std::mutex> g(g_queueMutex);
  for (Message& m : g_queue)
    if (m.window == window) m.window = nullptr;
}

Window* mainWindow() { return g_main; }

void setWindowTitle(Window* window, const char* title) {
  if (!window || !title) return;
  internal::ops().windowTitle(window, cp1252ToUtf8(title).c_str());
}

void showWindow(Window* window) {
  if (!window || window->visible) return;
  window->visible = true;
  internal::ops().windowShow(window, true);
}

void hideWindow(Window* window) {
  if (!window || !window->visible) return;
  window->visible = false;
  internal::ops().windowShow(window, false);
}

bool isWindowVisible(const Window* window) { return window && window->visible; }

void maximiseWindow(Window* window) {
  if (!window) return;
  int w = 0, h = 0;
  screenSize(&w, &h);
  internal::ops().windowPlace(window, 0, 0, w, h);
}

void setWindowFrame(Window* window, bool popup) {
  if (!window) return;
  window->popup = popup;
  internal::ops().windowFrame(window, popup);
}

void screenSize(int* width, int* height) {
  int w = 0, h = 0;
  internal::ops().screenSize(&w, &h);
  if (width) *width = w;
  if (height) *height = h;
}

void windowSize(const Window* window, int* width, int* height) {
  if (width) *width = window ? window->width : 0;
  if (height) *height = window ? window->height : 0;
}

int showCursor(bool show) {
  bool wasVisible = g_cursorCount >= 0;
  g_cursorCount += show ? 1 : -1;
  bool visible = g_cursorCount >= 0;
  if (visible != wasVisible) internal::ops().cursorVisible(visible);
  return g_cursorCount;
}

void pumpEvents() { internal::ops().pump(); }

bool pollMessage(Message* out) {
  std::lock_guard<std::mutex> g(g_queueMutex);
  if (g_queue.empty()) return false;
  if (out) *out = g_queue.front();
  g_queue.pop_front();
  return true;
}

void postMessage(const Message& message) {
  std::lock_guard<std::mutex> g(g_queueMutex);
  g_queue.push_back(message);
}

void postQuit(int exitCode) {
  internal::queueMessage(kMsgQuit, static_cast<uint64_t>(static_cast<uint32_t>(exitCode)), 0);
}

void waitMessage() {
  {
    std::lock_guard<std::mutex> g(g_queueMutex);
    if (!g_queue.empty()) return;
  }
  internal::ops().wait();
}

int64_t defaultWindowProc(const Message& message) {
  switch (message.code) {
    case kMsgClose:
      postQuit(0);
      return 0;
    case kMsgSysCommand:
      if ((message.wParam & 0xFFF0u) == kSysCommandClose) internal::queueMessage(kMsgClose, 0, 0);
      return 0;
    default:
      return 0;
  }
}

namespace internal {
void clearMessages() {
  std::lock_guard<std::mutex> g(g_queueMutex);
  g_queue.clear();
  g_cursorCount = 0;
}
}  // namespace internal

}  // namespace platform
