#pragma once
// The reading panels of the history options' backdrop ("fhops"), in 640 x 480
// units: one under the rows with their values, one under Exit. The rows are
// placed in 512 x 240 units (x 1.25, y 2); the art generator paints the
// panels and the tests check the rows lie on them.
#include <cstdint>

struct MFHOptsPanel {
  std::int16_t x, y, w, h;
};

constexpr int MFHOPTS_PANELS = 2;

inline constexpr MFHOptsPanel mfhopts_aoPanels[MFHOPTS_PANELS] = {{104, 134, 380, 254}, {500, 402, 100, 42}};
