#include "scene3d/scene3d_query.h"

#include "matchflow/environ.h"
#include "shell/pcinstall.h"

std::int32_t scene3d_bNightGet() { return environ_bIsNight(); }
std::int32_t scene3d_iStadiumLookGet() { return environ_LookGet(); }
std::int32_t scene3d_iDetailSettingGet() { return pcinstall_iLODBias; }
// The kit table comes with the player kits; until then the match is drawn in
// colour.
void scene3d_KitColoursFind() {}
