#pragma once
// Private to src/platform/: the headless script (format in platform/headless.h).
// Areas of the layer register their own commands; registration must happen
// before the script is loaded, normally from a static registrar object in the
// area's source file or from the area's start-up before platform::init loads
// KORVENA_SCRIPT. A registrar object must sit in a source file that the
// program uses for something else too: the linker leaves unused object files
// of a static library out, registrar and all.
#include <cstdint>
#include <string>
#include <vector>

namespace platform::headless {

struct ScriptLine {
  uint64_t step = 0;         // pump number (when !atTime)
  bool atTime = false;
  uint64_t timeNs = 0;       // virtual clock time (when atTime)
  std::string command;
  std::vector<std::string> args;
  int lineNumber = 0;
};

// Checks a parsed line's arguments when the script is loaded: false with
// *why (e.g. "expects a key name") rejects the script.
using ScriptCheck = bool (*)(const ScriptLine& line, std::string* why);
// Runs a line when it is due.
using ScriptRun = void (*)(const ScriptLine& line);

// minArgs/maxArgs bound the argument count (maxArgs < 0: any number).
// Re-registering a name replaces it.
void registerScriptCommand(const char* name, int minArgs, int maxArgs, ScriptCheck check, ScriptRun run);
bool isScriptCommand(const std::string& name);

// Parses script text. On error: false, *why = "line N: ..." and *lines is
// left as it was.
bool parseScript(const std::string& text, std::vector<ScriptLine>* lines, std::string* why);

// The display area installs the frame-capture handler; the "capture" command
// hands it the path. Without a handler the command prints a warning.
using CaptureHandler = void (*)(const std::string& path);
void setCaptureHandler(CaptureHandler handler);
CaptureHandler captureHandler();

// Runs every line due at this pump (called by pumpEvents on the headless backend).
void runScriptStep();

}  // namespace platform::headless
