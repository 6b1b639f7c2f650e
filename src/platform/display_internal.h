#pragma once
// Private to src/platform/: the backends' halves of the display area.
#include "platform/display.h"

namespace platform::internal {

struct DisplayBackend {
  std::vector<DisplayMode> (*modes)();
  DisplayMode (*desktop)();
  std::string (*driverName)();
  std::string (*rendererName)();
  bool (*open)(Window* window, int width, int height, bool fullScreen);
  void (*close)();
  bool (*present)(const Frame& frame);
};

extern const DisplayBackend kSdlDisplay;
extern const DisplayBackend kHeadlessDisplay;

}  // namespace platform::internal
