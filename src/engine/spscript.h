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
