#pragma once
// The environment of the tournament tests: headless, with the generated
// player database copied into the test's own data folder.
#include <cstdint>
#include <filesystem>
#include <vector>

// The data folder's database file and the generated one it was copied from.
std::filesystem::path TestDumpPath();
std::vector<std::uint8_t> GeneratedDump();
// Writes the bytes as the test's database file.
void TestDumpWrite(const std::vector<std::uint8_t>& ab);
// The build tree (KORVENA_BUILD_DIR) and the source tree (KORVENA_SOURCE_DIR).
std::filesystem::path BuildDir();
std::filesystem::path SourceDir();
