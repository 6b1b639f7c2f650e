// The headless backend's display: no screen; a fixed desktop and mode list.
// Presented frames are kept and captured by the common display area.
#include "platform/display_internal.h"
#include "platform/internal.h"

namespace platform::internal {
namespace {

std::vector<DisplayMode> headlessModes() {
  return {{1024, 768, 32}, {800, 600, 32}, {640, 480, 32}};
}
DisplayMode headlessDesktop() { return {1024, 768, 16}; }
std::string headlessDriverName() { return "headless"; }
std::string headlessRendererName() { return "headless capture"; }
bool headlessOpen(Window* window, int width, int height, bool fullScreen) {
  // Windowed: the client area takes the size asked for.
  if (!fullScreen) ops().windowPlace(window, window->x, window->y, width, height);
  return true;
}
void headlessClose() {}
bool headlessPresent(const Frame&) { return true; }

}  // namespace

const DisplayBackend kHeadlessDisplay = {headlessModes,   headlessDesktop, headlessDriverName,
                                         headlessRendererName, headlessOpen, headlessClose,
                                         headlessPresent};

}  // namespace platform::internal
