#pragma once
// Private to src/platform/: the SDL event pump lets other areas of the layer
// (input, display, audio) see every raw SDL event before the window area
// translates it into messages. Observers run on the main thread, in the order
// they were added, inside pumpEvents and waitMessage.
#include <SDL.h>

namespace platform::sdl {

using EventObserver = void (*)(const SDL_Event& event, void* user);

// Returns an id for removeEventObserver (never 0); 0 when the table is full.
int addEventObserver(EventObserver observer, void* user);
void removeEventObserver(int id);

// The SDL window of the main window, null when none exists.
SDL_Window* mainSdlWindow();

// Areas that need SDL subsystems beyond video and events start them with
// SDL_InitSubSystem themselves; the layer quits SDL as a whole at shutdown.

}  // namespace platform::sdl
