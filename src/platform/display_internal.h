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

// The window's renderer: KORVENA_RENDERER=software or =accelerated forces one;
// otherwise (unset or anything else) an accelerated renderer is kept only when
// graphics hardware draws it.
enum class RendererChoice { Automatic, Software, Accelerated };
RendererChoice rendererChoiceFromEnvironment(const char* value);
// True for the names software OpenGL drivers report as GL_RENDERER (and for
// no name at all).
bool glRendererIsSoftware(const char* glRenderer);
// In a copy of the game started with KORVENA_GL_PROBE: the exit code that
// tells whether graphics hardware draws an accelerated renderer.
int answerGraphicsProbe();
extern const DisplayBackend kHeadlessDisplay;

}  // namespace platform::internal
