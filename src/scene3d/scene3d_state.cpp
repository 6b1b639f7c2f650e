#include "scene3d/scene3d_state.h"

Q3DDevice* scene3d_poDevice = nullptr;
Q3DCamera* scene3d_poCamera = nullptr;
uint8_t scene3d_eColourMode = SCENE3D_COLOUR;
