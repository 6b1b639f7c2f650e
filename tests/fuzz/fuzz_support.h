#pragma once
// Shared by the fuzz targets: every target defines LLVMFuzzerTestOneInput and
// may define KorvenaFuzzSeeds to write seed inputs made by our own writers.
// The same sources build the libFuzzer programs (clang) and the regression
// runners that ctest runs over the kept corpus (any compiler).
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Writes seed files into dir (which exists). Optional.
void KorvenaFuzzSeeds(const std::string& dir) __attribute__((weak));

namespace korvena_fuzz {

// A folder of this process's own (on a memory file system when there is
// one), removed at exit.
const std::string& WorkDir();
// Writes the bytes to WorkDir()/name and returns its host path.
std::string WriteInput(const uint8_t* data, size_t size, const char* name = "input");
// Makes WorkDir()/game the game's root (its executable folder game/bin), once,
// and returns that root's host path. Nothing else is in it at first.
const std::string& EmptyGameRoot();
// Starts the platform layer on its headless backend, once.
void StartHeadless();
// Writes bytes as a seed file dir/name.
void WriteSeed(const std::string& dir, const std::string& name, const void* data, size_t size);
// Writes the target's seeds into dir; false when the target has none.
bool WriteSeeds(const std::string& dir);
// Stops the target when an invariant breaks, like a sanitizer finding.
[[noreturn]] void Fail(const char* what);

}  // namespace korvena_fuzz
