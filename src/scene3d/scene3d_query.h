#pragma once
// What the match scene asks of the rest of the game: thin accessors over
// the match's environment and options.
#include <cstdint>

std::int32_t scene3d_bNightGet();
std::int32_t scene3d_iStadiumLookGet();
std::int32_t scene3d_iDetailSettingGet();
// Finds the kits' colour equivalents and sets the scene's colour mode.
void scene3d_KitColoursFind();
