// JASC palette files, loaded and looked up.
#include <string>

#include "display/qdl_palette.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
  for (int i = 0; i < 16; ++i)
    text += std::to_string(i * 16) + " " + std::to_string(255 - i * 16) + " " + std::to_string(i * 5) + "\r\n";
  korvena_fuzz::WriteSeed(dir, "sixteen.pal", text.data(), text.size());
  const std::string full = "JASC-PAL\n0100\n300\n1 2 3\n4 5 6\n";
  korvena_fuzz::WriteSeed(dir, "short.pal", full.data(), full.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = QDLPalettePoolInit() == 0 || true;
  (void)started;
  const std::string path = korvena_fuzz::WriteInput(data, size, "input.pal");
  if (QDLPalette* p = QDLPaletteLoadJasc(path.c_str())) {
    QDLPaletteFindColour(p, 128, 64, 32);
    QDLPaletteFree(p);
  }
  return 0;
}
