#pragma once
// The platform layer: everything the game once took from the operating system
// goes through src/platform/ and nowhere else. The backend is chosen once, in
// main, and handed to the layer; game code never asks which one runs.
#include <string>

namespace platform {

enum class BackendKind { Sdl, Headless };

// Picks the backend from KORVENA_BACKEND ("sdl" or "headless"). When it is
// unset, the SDL backend is chosen if a display can be reached; otherwise the
// result is false and *why says so in words a player understands.
bool chooseBackend(BackendKind* kind, std::string* why);

// Starts the layer with the given backend. Called once, before anything else.
bool init(BackendKind kind);
void shutdown();

}  // namespace platform
