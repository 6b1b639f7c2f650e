#pragma once
// The panels of the history set-up ("fhset") and hub ("fhmain") backdrops,
// in 640 x 480 units: each frames a group of the screen's texts, which are
// placed in 512 x 240 units (x 1.25, y 2). The game and the art generator
// both read them.
#include <cstdint>

struct MFHPanel {
  std::int16_t x, y, w, h;
};

constexpr int MFHSETUP_PANELS = 1;
constexpr int MFHMAIN_PANELS = 3;

// The set-up's three rows: labels on the left, values on the right.
inline constexpr MFHPanel mfhsetup_aoPanels[MFHSETUP_PANELS] = {{80, 144, 500, 138}};

// The hub: the team, year and date line; the eight items in two columns; the
// next fixture with its round's title.
inline constexpr MFHPanel mfhmain_aoPanels[MFHMAIN_PANELS] = {
    {168, 82, 436, 40}, {168, 130, 436, 176}, {168, 314, 436, 94}};
