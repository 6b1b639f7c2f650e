#pragma once
// The layout of the groups and tables sheet ("fhgt", sheet 11): one record
// per region and per sprite, in sprite order, in 640 x 480 units. The screen
// adds its regions from these records and the art generator paints each
// sprite at this size. The backdrop layers show on their own; the panels,
// score covers and arrows are drawn by name where the screen needs them.
#include "frontend/mteam_layout.h"

constexpr int MFHGROUP_LAYOUT_RECORDS = 21;

inline constexpr FrontEndLayoutRecord mfhgroup_aoLayout[MFHGROUP_LAYOUT_RECORDS] = {
    {"Layer4", 0, 0, 640, 480, 1, 255},     // the backdrop
    {"Layer8", 100, 44, 440, 30, 1, 255},   // the confederation selector's bar
    {"Layer7", 100, 78, 440, 30, 1, 255},   // the group selector's bar
    {"Layer5", 100, 426, 440, 32, 1, 255},  // the view switch and exit bar
    {"League1", 60, 146, 520, 36, 0, 255},  {"League2", 60, 186, 520, 36, 0, 255},
    {"League3", 60, 226, 520, 36, 0, 255},  {"League4", 60, 266, 520, 36, 0, 255},
    {"League5", 60, 306, 520, 36, 0, 255},  {"Results", 60, 116, 520, 300, 0, 255},
    {"Results1", 60, 116, 520, 26, 0, 255},  // the column titles' strip
    {"Leg1", 60, 116, 256, 300, 0, 255},    {"Leg2", 324, 116, 256, 300, 0, 255},
    {"ScoreCov", 0, 0, 56, 22, 0, 255},     {"ScoreCov_1", 0, 0, 56, 22, 0, 255},
    {"YArwLU", 106, 51, 9, 17, 0, 255},     {"YArwRU", 525, 51, 9, 17, 0, 255},
    {"YArwLL", 106, 85, 9, 17, 0, 255},     {"YArwRL", 525, 85, 9, 17, 0, 255},
    {"YArwU", 590, 150, 17, 9, 0, 255},     {"YArwD", 590, 330, 17, 9, 0, 255},
};
