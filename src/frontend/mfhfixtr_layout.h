#pragma once
// The places on the history fixtures sheet ("fhfl", sheet 10) and on the roll
// of honour sheet ("fhroh", sheet 14), in 640 x 480 units: the screens add
// their regions from these records and the art generator paints each sprite
// at this size. Record i shows sprite i; only the backdrop is visible, the
// others are drawn by name.
#include <cstdint>

#include "mteam_layout.h"  // the layout record

inline constexpr int MFHFIXTR_LAYOUT_RECORDS = 5;
inline constexpr FrontEndLayoutRecord mfhfixtr_aoLayout[MFHFIXTR_LAYOUT_RECORDS] = {
    {"main", 0, 0, 640, 480, 1, 255},
    // The highlight under a fixture row, and the narrower one under its venue.
    {"frame", 136, 0, 440, 26, 0, 160},
    {"framev", 432, 0, 40, 26, 0, 160},
    {"YArrowU", 592, 166, 17, 9, 0, 255},
    {"YArrowD", 592, 300, 17, 9, 0, 255},
};
// The row frames are drawn this far above a row's text (640 x 480 units).
inline constexpr std::int32_t MFHFIXTR_FRAME_RISE = 5;

inline constexpr int MFHROLE_LAYOUT_RECORDS = 3;
inline constexpr FrontEndLayoutRecord mfhrole_aoLayout[MFHROLE_LAYOUT_RECORDS] = {
    {"main", 0, 0, 640, 480, 1, 255},
    {"YArrowL", 122, 146, 12, 20, 0, 255},
    {"YArrowR", 502, 146, 12, 20, 0, 255},
};

// The roll of honour's panel behind the title and the four places, centred
// on the screen, and the plate under "Exit" (640 x 480 units).
struct MFHRoleBox {
  std::int16_t x, y, w, h;
};
inline constexpr MFHRoleBox MFHROLE_PANEL = {110, 136, 420, 196};
inline constexpr MFHRoleBox MFHROLE_EXIT_PLATE = {386, 334, 116, 34};
