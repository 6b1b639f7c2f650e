#pragma once
// Set-piece scripts: small word programs that stage every restart before the
// restart mode takes over (see spscript_core.h for the machine).
#include <cstdint>

struct SpScriptEntry {
  std::int32_t id;
  const std::int32_t* code;
};

// Ids 1..22 ascending, ended by {-1, nullptr}; generated from
// assets/setpieces/scripts.txt.
extern const SpScriptEntry spscript_List[];

// ---- The script mode (game mode 82) ----------------------------------------------------
// Start operations (the mode's enter operations): each resets the machine,
// runs its restart's set-up and calls its top-level script.
void spscript_StartThrowIn();         // script 1
void spscript_StartCorner();          // script 4
void spscript_StartFreeKick();        // script 11
void spscript_StartSubstitution();    // script 21
void spscript_StartPenalty();         // script 22
void spscript_StartShootoutKick();    // script 22
struct MatchStateBlock;
MatchStateBlock spscript_MatchState();
// The machine as the program starts it, then spscript_Reset.
void spscript_MatchReset();
void spscript_Reset();
// Once per tick in mode 82: the users' Start opens the pause menu (the
// staging then stands on this tick until the resume) and their other input
// is dropped; steps the script, runs one match frame.
void spscript_Update();
// The driver's tick alone (the script, without the match frame).
void spscript_UpdateScript();
// One step of the machine (the movement pass's hook).
void spscript_Run();
void spscript_Call(std::int32_t id);
void spscript_Return();
const std::int32_t* spscript_poGetScript();
