#pragma once
// Texture loading: a TGA file from the textures folder, or an image the
// caller composed, converted to the match's colour mode and registered
// with the scene's device.
#include <cstdint>

#include "render3d/q3d.h"

// name: a file under the textures folder when pImage is null, else a label.
// repeat: non-zero tiles (both addressings repeat), zero clamps.
// A file that cannot be read gives a small grey placeholder texture (its
// path is logged once) so loading goes on.
Q3DImageTexture* texture_poLoad(const char* pszName, Q3DImage* pImage, int32_t bRepeat, int32_t iMipLevels);
// Releases a texture made by texture_poLoad (the device forgets it first).
void texture_Free(Q3DImageTexture* poTexture);
// Converts every texel of the image by the scene's colour mode.
void texture_ImageColourConvert(Q3DImage* pImage);
// Converts one red, green, blue triple in place by the scene's colour mode.
// Magenta (the transparent key) is never converted.
void texture_TexelColourConvert(uint8_t* pTexel);
