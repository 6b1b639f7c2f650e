#pragma once
// Private to src/platform/: which backend runs and the backend's operations.
// Never include this outside the platform folder.
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"

namespace platform {
// The main window record shared by the window area and the backends.
struct Window {
  int x = 0, y = 0, width = 0, height = 0;
  bool visible = false;
  bool popup = true;
  void* native = nullptr;  // SDL_Window* on the SDL backend
};
}  // namespace platform

namespace platform::internal {

BackendKind backend();
bool initialised();

// Operations that differ between the backends, filled in by init.
struct BackendOps {
  uint64_t (*now)();
  void (*sleep)(uint64_t ns);
  void (*idleUntil)(uint64_t deadlineNs);
  bool (*windowCreate)(Window* window, int width, int height);
  void (*windowDestroy)(Window* window);
  void (*windowTitle)(Window* window, const char* utf8Title);
  void (*windowShow)(Window* window, bool show);
  void (*windowPlace)(Window* window, int x, int y, int width, int height);
  void (*windowFrame)(Window* window, bool popup);
  void (*screenSize)(int* width, int* height);
  void (*cursorVisible)(bool visible);
  void (*pump)();             // collect events into the message queue
  void (*wait)();             // block until an event arrives (headless: one script step)
  bool (*messageBox)(const char* utf8Text, const char* utf8Caption, uint32_t icon);  // false: use stderr
};
const BackendOps& ops();

extern const BackendOps kSdlOps;
extern const BackendOps kHeadlessOps;


// Real clock: idleUntil sleeps while more than this is left and yields the
// processor for the rest.
constexpr uint64_t kIdleYieldNs = 200000ull;
// A long idle wait on a window system sleeps in slices of at most this and
// collects the window's events between them.
constexpr uint64_t kIdleSliceNs = 4000000ull;

// Headless virtual clock (the timer area runs due ticks when it moves).
uint64_t headlessNow();
void headlessAdvanceTo(uint64_t ns);

// Timer ticks due up to a virtual time (headless).
void runHeadlessTimersUntil(uint64_t ns);
void stopAllTimers();

// Case folding of Windows-1252 text, shared by the path resolver and the
// settings store: game file names and settings names match without regard
// to case, accented capitals included.
unsigned char foldCp1252(unsigned char c);
bool sameNameCp1252(const std::string& a, const std::string& b);
// Counts the changes of the executable folder (and so of the game root):
// what is cached from resolved paths is stale once it moves.
uint32_t pathRootGeneration();

// Settings: write every changed root (shutdown).
void settingsFlushAll();

// Posts a message from a backend (thread-safe).
void queueMessage(uint32_t code, uint64_t wParam, int64_t lParam);

// Headless script state.
bool loadScriptFromEnvironment(std::string* why);
void resetScript();

}  // namespace platform::internal
