#pragma once
// Runs the real game executable headless with its own environment and
// collects its exit code and output.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace korvena_test {

struct GameRun {
  int exitCode = -1;  // -1: killed after the time limit or by a signal
  bool timedOut = false;
  std::string out;
  std::string err;
};

// A started game process; its output goes to stdout.txt and stderr.txt in
// outputDir.
struct GameProcess {
  int pid = -1;
  std::string outputDir;
};

// env: variables to set ("" as value removes the variable). workingDir ""
// keeps the test's own working directory.
GameProcess startGame(const std::string& exe, const std::map<std::string, std::string>& env,
                      const std::string& outputDir, const std::string& workingDir = "");
// Waits for the process to end (killed after the time limit) and collects it.
GameRun finishGame(const GameProcess& process, int timeLimitSeconds = 120);

// startGame and finishGame in one.
GameRun runGame(const std::string& exe, const std::map<std::string, std::string>& env,
                const std::string& outputDir, int timeLimitSeconds = 120);

// A run of one of the build's tools through the shell.
struct ToolRun {
  int exitCode = -1;  // -1: ended by a signal or not started
  std::string out;    // stdout and stderr together
};

// Runs a shell command line (program and arguments) and collects its output
// and exit code.
ToolRun runTool(const std::string& commandLine);

// The start-up films end when Escape is held: a script that wants the menu
// holds it from its first step until the menu shows (it does by step 10).
inline constexpr const char* kSkipIntro = "1 keydown ESCAPE\n3 keyup ESCAPE\n";

// A script's key pressed at a step and let go two steps later.
inline std::string scriptKey(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 2) + " keyup " + pszKey + "\n";
}

// scriptKey at a step of a game run in this process; with bPadPass, a Pass
// (the key J) also presses the first pad's Pass (its button 1) on the same
// steps, for a second person.
inline std::string scriptTap(std::uint64_t uStep, const char* pszKey, bool bPadPass) {
  std::string s = scriptKey(static_cast<int>(uStep), pszKey);
  if (bPadPass && std::string(pszKey) == "J")
    s += std::to_string(uStep) + " joybutton 0 1 down\n" + std::to_string(uStep + 2) + " joybutton 0 1 up\n";
  return s;
}

// A script written as it goes: each key pressed at the current step, which
// then moves on by the gap.
struct KeyScript {
  std::string text;
  int step = 100;
  void key(const char* pszKey, int iGap = 6) {
    text += scriptKey(step, pszKey);
    step += iGap;
  }
};

// Keys from the main menu: a Quick Start with the keyboard at home, kicked
// off and quit through the pause menu ("Quit Match", "Yes"); then Training,
// the keyboard at home, Albania 1998 on the map, and the session loaded,
// walked on and kicked off (the first J ends the wait, the second kicks off,
// at step 2050).
inline std::string scriptQuickStartThenTraining() {
  std::string s = scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  s += scriptKey(700, "ESCAPE") + scriptKey(740, "ESCAPE") + scriptKey(770, "J") + scriptKey(820, "ESCAPE");
  for (int t : {840, 846, 852}) s += scriptKey(t, "DOWN");
  s += scriptKey(870, "J") + scriptKey(890, "DOWN") + scriptKey(900, "J");
  s += scriptKey(960, "RIGHT") + scriptKey(970, "RETURN") + scriptKey(990, "LEFT") + scriptKey(1010, "RETURN");
  for (int t : {1030, 1040, 1050, 1060}) s += scriptKey(t, "RETURN");
  s += scriptKey(2000, "J") + scriptKey(2050, "J");
  return s;
}

// A test of the whole game: the built executable, a home folder of its own
// (settings, saves and the instance lock stay inside) and a scripted run.
class GameRunner : public ::testing::Test {
 protected:
  void SetUp() override;
  // Writes the headless script and runs the game with it, the start-up films
  // skipped (kSkipIntro after the script's lines); runWithIntro keeps them.
  GameRun run(const std::string& script);
  GameRun runWithIntro(const std::string& script);

  std::string exe_;
  TempDir home_;
  std::map<std::string, std::string> env_;
  // How long a run may take before it is killed (a long run of the sanitized
  // game on a loaded machine needs more than the default).
  int timeLimitSeconds_ = 120;
};

}  // namespace korvena_test
