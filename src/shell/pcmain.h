#pragma once
// The game shell's three operations that the framework's program entry runs.
#include <cstdint>

// Called once. 1 to run the frame loop, 0 to end the program. The arguments
// are not read.
std::int32_t pcmain_Startup(std::int32_t iArgc, const char* const* ppszArgv);
// Called once per pass of the frame loop. 1 to end the loop, 0 to go on.
std::int32_t pcmain_LoopStep();
// Called once at the end, also after a start-up that failed: it undoes only
// the start-up steps that completed.
void pcmain_Shutdown();
