#pragma once
// Image files for the renderer's images: TGA files read with their alpha
// (the display's readers keep colour only). The device is handed the file
// reader at initialisation (Q3DDeviceInitialise), so that the renderer
// libraries never resolve game paths themselves.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render3d/q3d.h"

// Decodes a TGA file held in memory: true colour (types 2 and 10, 16, 24 or
// 32 bits), grey (types 3 and 11, 8 bits) and colour-mapped (types 1 and 9,
// 8-bit indices into a 24- or 32-bit map). Out: RGBA bytes, row 0 on top;
// alpha 255 where the file has none. 0, or 7 for a truncated, corrupted or
// unsupported file (the outputs are then left alone).
uint32_t Q3DImageDecodeTGA(const uint8_t* pData, size_t size, std::vector<uint8_t>* pRgba, int32_t* pWidth,
                           int32_t* pHeight);

// The reader the devices call (Q3DImageReadFunc): reads the game path and
// fills pOut when the file is exactly width x height. 0; 4 when the file
// cannot be opened; 7 for a bad file or another size.
uint32_t Q3DImageFileRead(const char* pPath, int32_t width, int32_t height, uint8_t* pOut);

// Initialise, then hand the device the image file reader. 0 on success.
uint32_t Q3DDeviceInitialise(Q3DDevice* pDevice, void* pTarget);
