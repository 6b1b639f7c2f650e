#pragma once
#include <filesystem>

// The test program's temporary game folder: bin/ holds the renderer
// libraries copied from the build, data/textures/Fonts the match fonts.
std::filesystem::path Render3DRoot();
// Copies a test-only library from the build's test folder into bin/ (or
// removes it again).
void Render3DTestLibrary(const char* pName, bool present);
