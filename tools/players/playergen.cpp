// playergen: builds the player bodies (five detail levels, VSK files) from
// the skeleton the animations use, checks every one against it and writes
// them under the models folder.
//   playergen --skeleton <skeleton.txt> --out <data/models> [--stamp <file>]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "art/art_image.h"
#include "playergeom.h"

int main(int argc, char** argv) {
  std::string skeleton, out, stamp;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--skeleton")) skeleton = argv[i + 1];
    else if (!std::strcmp(argv[i], "--out")) out = argv[i + 1];
    else if (!std::strcmp(argv[i], "--stamp")) stamp = argv[i + 1];
  }
  if (skeleton.empty() || out.empty()) {
    std::fprintf(stderr, "usage: playergen --skeleton FILE --out DIR [--stamp FILE]\n");
    return 2;
  }
  std::ifstream in(skeleton, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    std::fprintf(stderr, "playergen: cannot read %s\n", skeleton.c_str());
    return 1;
  }
  playergeom::Skeleton skel;
  std::string err;
  if (!playergeom::SkeletonParse(text.str(), skel, err)) {
    std::fprintf(stderr, "playergen: %s\n", err.c_str());
    return 1;
  }
  const std::vector<playergeom::Body> bodies = playergeom::BodiesBuildAll(skel);
  for (const playergeom::Body& b : bodies) {
    err = playergeom::BodyValidate(skel, b);
    if (!err.empty()) {
      std::fprintf(stderr, "playergen: %s\n", err.c_str());
      return 1;
    }
  }
  for (const playergeom::Body& b : bodies)
    if (!art::WriteFileAtomic(out + "/" + b.sPath, playergeom::BodyBytes(b))) return 1;
  if (!stamp.empty() && !art::WriteFileAtomic(stamp, std::vector<uint8_t>{'o', 'k', '\n'})) return 1;
  return 0;
}
