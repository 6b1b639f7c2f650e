// Builds a sprite-bank file (".spr") from a TGA or BMP sheet with the display
// library's own sheet cutter and bank writer, and checks what it wrote by
// loading it back.
//
// Usage: korvena_sprtool --sheet FILE --mode N [--cell W H] [--format CODE]
//                        [--raw] [--paletted] [--frames N] --out FILE.spr
//   --mode: cutting mode 1 grid, 2 rows, 3 strips, 4 boxes, 6 whole
//   --format: pixel-format code of the bank (default 0x42, 5-6-5)
//   --frames: fail unless exactly N frames were cut
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "korvena_sprtool: %s\n", what.c_str());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string sheet, out;
  uint32_t mode = 0, format = QDLFORMAT_RGB565, extra = 0;
  int32_t cellW = 0, cellH = 0, frames = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> const char* {
      if (i + 1 >= argc) Fail("missing value after " + a);
      return argv[++i];
    };
    if (a == "--sheet") sheet = next();
    else if (a == "--out") out = next();
    else if (a == "--mode") mode = static_cast<uint32_t>(std::strtoul(next(), nullptr, 0));
    else if (a == "--format") format = static_cast<uint32_t>(std::strtoul(next(), nullptr, 0));
    else if (a == "--frames") frames = static_cast<int32_t>(std::strtol(next(), nullptr, 0));
    else if (a == "--raw") extra |= QDLSHEET_RAW;
    else if (a == "--paletted") extra |= QDLSHEET_PALETTED;
    else if (a == "--cell") {
      cellW = static_cast<int32_t>(std::strtol(next(), nullptr, 0));
      cellH = static_cast<int32_t>(std::strtol(next(), nullptr, 0));
    } else Fail("unknown argument " + a);
  }
  if (sheet.empty() || out.empty() || mode < 1 || mode > 6 || mode == QDLSHEET_MODE_TABLE)
    Fail("usage: --sheet FILE --mode 1|2|3|4|6 [--cell W H] [--format CODE] [--raw] [--paletted] [--frames N] --out FILE.spr");
  if (QDLFormatBitsPerPixel(format) == 0) Fail("unknown pixel format");

  QDLSurfacePoolInit();
  QDLPalettePoolInit();
  QDLSpriteBankPoolInit();
  const QDLSheetDesc list[2] = {{sheet.c_str(), mode | extra, cellW, cellH, nullptr}, {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* pBank = QDLSpriteBankFromSheets(list, format);
  if (pBank == nullptr || pBank->frameCount == 0) Fail("no frames cut from " + sheet);
  if (frames >= 0 && pBank->frameCount != frames)
    Fail("cut " + std::to_string(pBank->frameCount) + " frames, expected " + std::to_string(frames));
  if (QDLSpriteBankSave(pBank, out.c_str()) != 0) Fail("cannot write " + out);
  QDLSpriteBank* pCheck = QDLSpriteBankLoad(out.c_str(), nullptr, 0);
  if (pCheck == nullptr || pCheck->frameCount != pBank->frameCount || pCheck->pixelDataSize != pBank->pixelDataSize ||
      (pBank->pixelDataSize && std::memcmp(pCheck->pixelData, pBank->pixelData, pBank->pixelDataSize) != 0))
    Fail("the written bank does not read back: " + out);
  std::printf("korvena_sprtool: %s: %d frames, %u bytes of pixels\n", out.c_str(), pBank->frameCount,
              static_cast<unsigned>(pBank->pixelDataSize));
  QDLSpriteBankFreeAll();
  QDLPaletteFreeAll();
  QDLSurfaceFreeAll();
  return 0;
}
