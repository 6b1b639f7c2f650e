#pragma once
// The temporary folder of this test program: bin/ is the executable's
// folder, data/ beside it.
#include <filesystem>

std::filesystem::path TestRoot();
