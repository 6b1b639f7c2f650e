// TGA files, as every TGA of the game is read: into a 32-bit block, and into
// an 8-bit paletted surface (colour-mapped and grey images keep indices).
#include <cstdlib>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl_image.h"
#include "fuzz_support.h"

namespace {

// A 32-bit TGA of a small picture, as the screenshot writer makes it.
std::vector<uint8_t> TrueColour(uint8_t type, uint8_t depth, int w, int h) {
  std::vector<uint8_t> b = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(w), 0,
                            static_cast<uint8_t>(h), 0, depth, 0x20};
  for (int i = 0; i < w * h; ++i)
    for (int k = 0; k < depth / 8; ++k) b.push_back(static_cast<uint8_t>(i * 37 + k * 11));
  return b;
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  // The writers' own output: a screenshot-sized strip through the buffer writer.
  std::vector<uint8_t> pixels(16 * 8 * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
  const std::string path = dir + "/buffer32.tga";
  QDLTGAWriteBuffer(path.c_str(), pixels.data(), 16, 8);
  const std::vector<uint8_t> t24 = TrueColour(2, 24, 4, 3);
  korvena_fuzz::WriteSeed(dir, "plain24.tga", t24.data(), t24.size());
  // Colour-mapped, 4 entries of 24 bits, run-length: one run and one raw packet.
  const std::vector<uint8_t> mapped = {0, 1, 9, 0, 0, 4, 0, 24, 0, 0, 0, 0, 4, 0, 2, 0, 8, 0x20,
                                       1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0x83, 1, 0x03, 0, 1, 2, 3};
  korvena_fuzz::WriteSeed(dir, "mapped-rle.tga", mapped.data(), mapped.size());
  const std::vector<uint8_t> grey = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 0, 8, 0, 0x82, 0x40};
  korvena_fuzz::WriteSeed(dir, "grey-rle.tga", grey.data(), grey.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QDLSurfaceDesc desc;
  void* block = QDLTGAReadMemory(data, size, nullptr, &desc, QDLIMG_MEMORY);
  if (block) {
    // Whatever was accepted is within the limits the readers promise.
    if (desc.width <= 0 || desc.height <= 0 || desc.width > 16384 || desc.height > 16384)
      korvena_fuzz::Fail("an image outside the size limits was accepted");
    std::free(block);
  }
  Q2DXRelease(static_cast<Q2DXSurface*>(QDLTGAReadMemory(data, size, nullptr, nullptr, QDLIMG_PALETTED)));
  return 0;
}
