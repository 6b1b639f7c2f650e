#pragma once
// Controls of the headless backend, for tests and tools. On the SDL backend
// they do nothing and return false / 0.
//
// The headless clock starts at 0 and moves only through these controls,
// sleepNs/idleUntil (platform/clock.h) and the script's "advance" command.
//
// The script (KORVENA_SCRIPT, or loadScript) is a text file of timed lines:
//   # comment (also after a command)
//   <step> <command> [arguments]
//   @<ms>  <command> [arguments]
// A step is one call of pumpEvents (one pass of the frame loop's message
// pump), counted from 1. "@<ms>" runs the line at the first pump at which the
// virtual clock has reached that many milliseconds. Lines due at one pump run
// in file order. Core commands:
//   quit [code]          queue kMsgQuit (code 0 by default)
//   quit-after <steps>   queue kMsgQuit with code 0 <steps> pumps later
//   close                queue kMsgClose for the main window
//   activate <0|1>       queue kMsgActivateApp (the application gains/loses the foreground)
//   advance <ms>         move the virtual clock forward by ms (decimals allowed)
//   capture <path>       ask the display area to write the next presented frame
//   echo <text>          print the text on stdout
// Other areas add commands (keys, buttons, axes, joystick plugs).
#include <cstdint>
#include <string>

namespace platform {

// Moves the virtual clock forward by ns, running due timer ticks in order.
bool headlessAdvanceClock(uint64_t ns);
// Loads a script (replacing the current one) from a file or from text.
// On error *why names the line and the fault; the current script stays.
bool headlessLoadScript(const std::string& path, std::string* why);
bool headlessLoadScriptText(const std::string& text, std::string* why);
// Number of pumps so far (the current step).
uint64_t headlessStep();
// Number of script lines not yet run, counting a quit-after whose quit is
// still to come as one.
uint32_t headlessPendingScriptLines();

}  // namespace platform
