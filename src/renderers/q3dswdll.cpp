// The software renderer library: the rasteriser without a depth buffer.
#include "renderers/device.h"

extern "C" __attribute__((visibility("default"))) Q3DDevice* CreateDevice(uint32_t) { return q3dr::NewDevice(false); }
