#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

// The game folder of this test program (bin/ and data/ beside it).
std::filesystem::path Scene3DRoot();
// Writes an uncompressed 24-bit TGA (rgb rows top first) under
// data/textures/<name> and points the textures folder there.
void Scene3DWriteTexture(const char* pszName, int32_t w, int32_t h, const std::vector<uint8_t>& rgb);
