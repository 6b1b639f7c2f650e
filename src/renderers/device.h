#pragma once
// The renderer device both libraries build: the software device (no depth
// buffer) and the z-buffered one. Reaches the display only through the
// display context's record and service table.
#include <cstdint>

#include "render3d/q3d.h"

namespace q3dr {
// A new device; zBuffered adds the 16-bit depth test and write.
Q3DDevice* NewDevice(bool zBuffered);
}  // namespace q3dr
