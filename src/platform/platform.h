#pragma once
// The platform layer: everything the game once took from the operating system
// goes through src/platform/ and nowhere else. The backend is chosen once, in
// main, and handed to the layer; game code never asks which one runs.
//
// Public headers of the layer:
//   platform/platform.h    backend choice, start and stop of the layer
//   platform/window.h      the main window, message codes, event polling, cursor
//   platform/clock.h       monotonic 64-bit nanosecond clock, sleep, idle waits
//   platform/timer.h       periodic timer thread on absolute deadlines
//   platform/settings.h    the settings store (two roots of keys and values)
//   platform/paths.h       game path resolver, files, drives and volume labels
//   platform/library.h     shared objects loaded by their DLL names
//   platform/messagebox.h  message boxes (stderr when there is no screen)
//   platform/instance.h    single-instance lock
//   platform/headless.h    controls of the headless backend for tests and tools
#include <string>

namespace platform {

enum class BackendKind { Sdl, Headless };

// Picks the backend from KORVENA_BACKEND ("sdl" or "headless"). When it is
// unset, the SDL backend is chosen if a display can be reached; otherwise the
// result is false and *why says so in words a player understands.
bool chooseBackend(BackendKind* kind, std::string* why);

// Starts the layer with the given backend. Called once, before anything else
// of the layer. The headless backend loads the script named by KORVENA_SCRIPT
// here. On failure the result is false and *why (when given) tells why.
bool init(BackendKind kind, std::string* why = nullptr);

// Stops the layer: closes the window system, stops timers, writes settings
// that were changed and not yet flushed. Safe to call when init failed.
void shutdown();

// True between a successful init and shutdown.
bool isRunning();

}  // namespace platform
