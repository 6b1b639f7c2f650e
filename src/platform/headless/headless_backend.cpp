// The headless backend: no window system, a virtual clock, scripted events.
#include <csignal>
#include <cstdio>

#include <atomic>

#include "platform/headless/script.h"
#include "platform/internal.h"

namespace platform::internal {

uint64_t headlessNow();
void headlessSleep(uint64_t ns);
void headlessIdleUntil(uint64_t deadlineNs);

namespace {
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
bool g_appActive = false;
std::atomic<int> g_interrupted{0};

bool hlWindowCreate(Window* window, int width, int height) {
  window->native = nullptr;
  g_appActive = false;
  return true;
}
void hlWindowDestroy(Window*) { g_appActive = false; }
void hlWindowTitle(Window*, const char*) {}
void hlWindowShow(Window* window, bool show) {
  // Showing the window brings the application to the foreground, as a
  // desktop would.
  if (show && !g_appActive) {
    g_appActive = true;
    queueMessage(kMsgActivateApp, 1, 0);
    queueMessage(kMsgActivate, 1, 0);
  }
}
void hlWindowPlace(Window* window, int x, int y, int width, int height) {
  bool moved = window->x != x || window->y != y;
  bool sized = window->width != width || window->height != height;
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
  if (moved) queueMessage(kMsgMove, 0, static_cast<int64_t>((x & 0xFFFF) | ((y & 0xFFFF) << 16)));
  if (sized) queueMessage(kMsgSize, 0, static_cast<int64_t>((width & 0xFFFF) | ((height & 0xFFFF) << 16)));
}
void hlWindowFrame(Window*, bool) {}
void hlScreenSize(int* width, int* height) {
  *width = kScreenWidth;
  *height = kScreenHeight;
}
void hlCursorVisible(bool) {}
void hlPump() {
  if (g_interrupted.exchange(0)) queueMessage(kMsgClose, 0, 0);
  headless::runScriptStep();
}
void hlWait() {}
bool hlMessageBox(const char*, const char*, uint32_t) { return false; }
}  // namespace

void headlessSetAppActive(bool active) { g_appActive = active; }

void headlessInterrupt() { g_interrupted.store(1); }

const BackendOps kHeadlessOps = {
    headlessNow,   headlessSleep,     headlessIdleUntil, hlWindowCreate, hlWindowDestroy,
    hlWindowTitle, hlWindowShow,      hlWindowPlace,     hlWindowFrame,  hlScreenSize,
    hlCursorVisible, hlPump,          hlWait,            hlMessageBox,
};

}  // namespace platform::internal
