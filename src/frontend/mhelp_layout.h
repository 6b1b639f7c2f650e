#pragma once
// Places on the rules screen's sheet ("fhnews"), in 640 x 480 units: the
// screen's records and the painter of the sheet both read them. Record i
// shows sprite i: the backdrop with the reading panel, then the arrows
// beside the text window (drawn by name, only while the text can scroll).
#include <cstdint>

#include "mteam_layout.h"  // the layout record

inline constexpr int32_t MHELP_RECORDS = 5;
inline constexpr FrontEndLayoutRecord mhelp_aoLayout[MHELP_RECORDS] = {
    {"main", 0, 0, 640, 480, 1, 255},
    {"yarrowu2", 556, 134, 24, 24, 0, 255},
    {"yarrowd2", 556, 356, 24, 24, 0, 255},
    {"yarrowu", 556, 134, 24, 24, 0, 255},
    {"yarrowd", 556, 356, 24, 24, 0, 255},
};
// The reading panel framing the text window (x 60 to 438, y 67 to 190 of the
// 512 x 240 layout), the title's place (135, 42) and Exit's (428, 191).
inline constexpr int32_t MHELP_PANEL_X0 = 68, MHELP_PANEL_Y0 = 126, MHELP_PANEL_X1 = 552, MHELP_PANEL_Y1 = 384;
