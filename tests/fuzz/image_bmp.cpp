// BMP files (4- and 8-bit, 8-bit run-length, 24-bit), as fonts and the
// pointer are read: into a 32-bit block and into an 8-bit paletted surface.
#include <cstdlib>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl_image.h"
#include "fuzz_support.h"

namespace {

void Put16(std::vector<uint8_t>* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>* b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// An 8-bit file with a 4-entry table; compression 1 takes the bytes as codes.
std::vector<uint8_t> Indexed(int w, int h, uint32_t compression, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> b;
  Put16(&b, 0x4D42);
  Put32(&b, static_cast<uint32_t>(14 + 40 + 16 + pixels.size()));
  Put32(&b, 0);
  Put32(&b, 14 + 40 + 16);
  Put32(&b, 40);
  Put32(&b, static_cast<uint32_t>(w));
  Put32(&b, static_cast<uint32_t>(h));
  Put16(&b, 1);
  Put16(&b, 8);
  Put32(&b, compression);
  Put32(&b, static_cast<uint32_t>(pixels.size()));
  Put32(&b, 0);
  Put32(&b, 0);
  Put32(&b, 4);
  Put32(&b, 0);
  for (int i = 0; i < 16; ++i) b.push_back(static_cast<uint8_t>(i * 16));
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  // The writer's own output: a small 5-6-5 surface saved as a 24-bit file.
  QDLPixelFormatDesc f = {QDLPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
  uint16_t pixels[5 * 3];
  for (int i = 0; i < 15; ++i) pixels[i] = static_cast<uint16_t>(i * 4099);
  Q2DXSurface* s = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(pixels), 5, 3, 10, &f);
  const std::string path = dir + "/surface24.bmp";
  QDLBMPWrite(path.c_str(), s, nullptr, 0);
  Q2DXRelease(s);
  const std::vector<uint8_t> plain = Indexed(3, 2, 0, {0, 1, 2, 0, 3, 2, 1, 0});
  korvena_fuzz::WriteSeed(dir, "indexed8.bmp", plain.data(), plain.size());
  const std::vector<uint8_t> rle = Indexed(4, 2, 1, {2, 1, 0, 3, 3, 2, 1, 0, 0, 0, 2, 1, 0, 0, 1});
  korvena_fuzz::WriteSeed(dir, "indexed8-rle.bmp", rle.data(), rle.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QDLSurfaceDesc desc;
  void* block = QDLBMPReadMemory(data, size, nullptr, &desc, QDLIMG_MEMORY);
  if (block) {
    if (desc.width <= 0 || desc.height <= 0 || desc.width > 16384 || desc.height > 16384)
      korvena_fuzz::Fail("an image outside the size limits was accepted");
    std::free(block);
  }
  Q2DXRelease(static_cast<Q2DXSurface*>(QDLBMPReadMemory(data, size, nullptr, nullptr, QDLIMG_PALETTED)));
  return 0;
}
