// Do-nothing versions of the 3D presentation services, so that the game
// links and runs before the presentation exists. Each function here is
// replaced, one by one, by the real module that provides it.
#include "scene3d/scene3d_services.h"

std::int32_t goals_NetDepth = 60;









