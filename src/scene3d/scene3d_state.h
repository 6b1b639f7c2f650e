#pragma once
// What every object of the match scene shares: the renderer device that
// draws it, the camera of the frame, and the colour mode of the match.
#include <cstdint>

#include "render3d/q3d.h"

enum : uint8_t {
  SCENE3D_COLOUR = 0,
  SCENE3D_BLACK_AND_WHITE = 1,
  SCENE3D_SEPIA = 2,
};

extern Q3DDevice* scene3d_poDevice;
extern Q3DCamera* scene3d_poCamera;
// Set while the kits load, fixed for the match; every conversion reads it.
extern uint8_t scene3d_eColourMode;
