#include "platform/platform.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/internal.h"

namespace platform {
namespace {
BackendKind g_kind = BackendKind::Headless;
bool g_initialised = false;
}  // namespace

bool chooseBackend(BackendKind* kind, std::string* why) {
  const char* env = std::getenv("KORVENA_BACKEND");
  if (env && *env) {
    if (std::strcmp(env, "headless") == 0) {
      *kind = BackendKind::Headless;
      return true;
    }
    if (std::strcmp(env, "sdl") == 0) {
      *kind = BackendKind::Sdl;
      return true;
    }
    if (why) *why = std::string("KORVENA_BACKEND must be \"sdl\" or \"headless\", not \"") + env + "\"";
    return false;
  }
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 && *x11) || (wayland && *wayland)) {
    *kind = BackendKind::Sdl;
    return true;
  }
  if (why)
    *why = "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set). "
           "Run the game on a desktop, or set KORVENA_BACKEND=headless to run it without a window.";
  return false;
}

bool init(BackendKind kind) {
  g_kind = kind;
  g_initialised = true;
  return true;
}

void shutdown() { g_initialised = false; }

namespace internal {
BackendKind backend() { return g_kind; }
bool initialised() { return g_initialised; }
}  // namespace internal

}  // namespace platform
