#include "platform/platform.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/audio_internal.h"
#include "platform/internal.h"

namespace platform {
namespace {
BackendKind g_kind = BackendKind::Headless;
bool g_initialised = false;
bool g_sdlStarted = false;
}  // namespace

bool sdlStartVideo(std::string* why);  // sdl/sdl_backend.cpp
void sdlStop();
namespace internal {
void headlessInterrupt();  // headless/headless_backend.cpp
void clearMessages();      // window.cpp
void setHeadlessNow(uint64_t ns);  // clock.cpp
}  // namespace internal

namespace {
// Ctrl+C on a headless run closes the window like a desktop would.
void onInterrupt(int) { internal::headlessInterrupt(); }
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

bool init(BackendKind kind, std::string* why) {
  if (g_initialised) return true;
  std::string reason;
  if (kind == BackendKind::Sdl) {
    if (!sdlStartVideo(&reason)) {
      if (why) *why = reason;
      return false;
    }
    g_sdlStarted = true;
    g_kind = kind;
  } else {
    g_kind = kind;
    internal::setHeadlessNow(0);  // every headless run starts at 0
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    internal::resetScript();
    if (!internal::loadScriptFromEnvironment(&reason)) {
      if (why) *why = reason;
      return false;
    }
  }
  g_initialised = true;
  return true;
}

void shutdown() {
  internal::stopAllTimers();
  internal::settingsFlushAll();
  if (mainWindow()) destroyWindow(mainWindow());
  if (g_sdlStarted) {
    sdlStop();
    g_sdlStarted = false;
  }
  if (g_kind == BackendKind::Headless && g_initialised) {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
  }
  internal::resetScript();
  internal::clearMessages();
  internal::audioForgetSilence();
  g_initialised = false;
}

bool isRunning() { return g_initialised; }

namespace internal {
BackendKind backend() { return g_kind; }
bool initialised() { return g_initialised; }
const BackendOps& ops() { return g_kind == BackendKind::Sdl ? kSdlOps : kHeadlessOps; }
}  // namespace internal

}  // namespace platform
