// The renderer images' TGA reader (alpha kept), as the texture loader reads
// every texture of a match: decoded, and loaded into an image of the file's
// size and of another size.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "render3d/q3d_imagefile.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  // 32-bit run-length with alpha, bottom row first.
  const std::vector<uint8_t> rle32 = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 2, 0, 32, 0x08,
                                      0x83, 1, 2, 3, 128, 0x03, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 0, 0, 0, 0};
  korvena_fuzz::WriteSeed(dir, "rle32.tga", rle32.data(), rle32.size());
  // 16-bit, right to left, top first.
  const std::vector<uint8_t> t16 = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 16, 0x30, 0x1F, 0x7C, 0xE0, 0x03};
  korvena_fuzz::WriteSeed(dir, "plain16.tga", t16.data(), t16.size());
  // Colour-mapped with a 32-bit map and an image ID.
  const std::vector<uint8_t> mapped = {2, 1, 1, 0, 0, 2, 0, 32, 0, 0, 0, 0, 3, 0, 1, 0, 8, 0x20, 0xAA, 0xBB,
                                       1, 2, 3, 4, 5, 6, 7, 8, 0, 1, 9};
  korvena_fuzz::WriteSeed(dir, "mapped32.tga", mapped.data(), mapped.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> rgba;
  int32_t w = -1, h = -1;
  if (Q3DImageDecodeTGA(data, size, &rgba, &w, &h) == 0) {
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096) korvena_fuzz::Fail("an image outside the size limits was accepted");
    if (rgba.size() != static_cast<size_t>(w) * h * 4) korvena_fuzz::Fail("the pixels do not match the size");
  } else if (w != -1 || h != -1 || !rgba.empty()) {
    korvena_fuzz::Fail("a refused file changed the outputs");
  }
  // Through the file reader into images of the file's size and of another.
  korvena_fuzz::StartHeadless();
  const std::string path = korvena_fuzz::WriteInput(data, size, "image.tga");
  for (int32_t k = 0; k < 2; ++k) {
    const int32_t iw = (w > 0 ? w : 2) + k, ih = h > 0 ? h : 2;
    std::vector<uint8_t> out(static_cast<size_t>(iw) * ih * 4 + 16, 0x5A);
    const uint32_t r = Q3DImageFileRead(path.c_str(), iw, ih, out.data());
    if (k == 1 && r == 0) korvena_fuzz::Fail("a file of another size was taken");
    for (size_t i = out.size() - 16; i < out.size(); ++i)
      if (out[i] != 0x5A) korvena_fuzz::Fail("the reader wrote past the image");
  }
  return 0;
}
