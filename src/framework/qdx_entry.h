#pragma once
// The program entry: one instance, the hook chains, the clock, the hidden
// main window, then the game shell's start-up, a frame loop of its step and
// the message pump, and its shut-down.
#include <cstdint>

// Returns the process exit code: the code of the quit message that ended the
// loop (0 when the loop ended otherwise, and for a second instance).
int WinMain(void* pvInstance, void* pvPrevInstance, const char* pszCommandLine, int iShowCommand);
