#pragma once
// The reading panels of the options screen's backdrop ("options"), in
// 640 x 480 units: one under the rows with their values and sliders (wide
// enough that the longest value, a renderer's name from x 321, keeps a
// margin from its right edge, which lines up with the other's), one under
// Exit. The rows are placed in 512 x 240 units (x 1.25, y 2); the art
// generator paints the panels and the tests check the rows lie on them.
#include <cstdint>

struct OptionsPanel {
  std::int16_t x, y, w, h;
};

constexpr int OPTIONS_PANELS = 2;

inline constexpr OptionsPanel options_aoPanels[OPTIONS_PANELS] = {{60, 126, 542, 256}, {500, 388, 102, 38}};
