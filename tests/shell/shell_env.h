#pragma once
// The temporary folder of the shell's test program: bin/ is the executable's
// folder, data/ beside it.
#include <filesystem>

std::filesystem::path ShellTestRoot();
// Points both settings roots at new, empty files: the next read is a first run.
void ShellSettingsFresh();
// The global record, its game-mode stack and the per-frame tasks as at start-up.
void ShellGameStateFresh();
