// groundgen: paints the textures of the ground (pitch, ball, markers, goals,
// hoardings, stadium pages) from assets/ground into the textures folder,
// after checking them.
//   groundgen --assets <assets/ground> --fonts <dejavu folder> --out <data/textures> --stamp <file>
#include <cstdio>
#include <cstring>
#include <string>

#include "art/art_image.h"
#include "groundart.h"

int main(int argc, char** argv) {
  std::string assets, fonts, out, stamp;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--assets")) assets = argv[i + 1];
    else if (!std::strcmp(argv[i], "--fonts")) fonts = argv[i + 1];
    else if (!std::strcmp(argv[i], "--out")) out = argv[i + 1];
    else if (!std::strcmp(argv[i], "--stamp")) stamp = argv[i + 1];
  }
  if (assets.empty() || fonts.empty() || out.empty()) {
    std::fprintf(stderr, "usage: groundgen --assets DIR --fonts DIR --out DIR [--stamp FILE]\n");
    return 2;
  }
  groundart::Sources src;
  std::string err;
  if (!groundart::SourcesRead(assets, src, err)) {
    std::fprintf(stderr, "groundgen: %s\n", err.c_str());
    return 1;
  }
  std::vector<groundart::OutFile> files;
  if (!groundart::PaintAll(src, fonts, files, err)) {
    std::fprintf(stderr, "groundgen: %s\n", err.c_str());
    return 1;
  }
  err = groundart::Validate(files);
  if (!err.empty()) {
    std::fprintf(stderr, "groundgen: %s\n", err.c_str());
    return 1;
  }
  for (const groundart::OutFile& f : files)
    if (!art::WriteFileAtomic(out + "/" + f.sPath, groundart::TgaBytes(f.picture))) return 1;
  if (!stamp.empty() && !art::WriteFileAtomic(stamp, std::vector<uint8_t>{'o', 'k', '\n'})) return 1;
  return 0;
}
