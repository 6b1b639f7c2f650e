// The display of the Q2DX layer: drivers and modes, the back buffer,
// window rectangles and presentation through the platform layer.
#include "display/q2dx_internal.h"

Q2DXState q2dxState = {};
