#pragma once
// The last frame the headless display showed, 5-6-5 as the menu sheets hold
// it.
#include <cstdint>
#include <vector>

#include "platform/display.h"
#include "support/captured_pictures.h"

namespace korvena_test {

inline Picture LastFrame() {
  std::vector<std::uint8_t> rgb;
  int w = 0, h = 0;
  Picture p;
  if (!platform::displayLastFrame(&rgb, &w, &h)) return p;
  p.width = w;
  p.height = h;
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) p.pixels.push_back(To565(rgb[i], rgb[i + 1], rgb[i + 2]));
  return p;
}

}  // namespace korvena_test
