// The z-buffered renderer library: the same rasteriser with a 16-bit depth
// buffer, in place of a hardware renderer.
#include "renderers/device.h"

extern "C" __attribute__((visibility("default"))) Q3DDevice* CreateDevice(uint32_t) { return q3dr::NewDevice(true); }
