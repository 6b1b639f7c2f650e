#pragma once
// Sprite banks made the way the game and our tools make them: a sheet image
// cut into frames in several pixel formats and saved as .spr files.
#include <string>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_image.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "fuzz_support.h"

namespace korvena_fuzz {

inline void StartBanks() {
  static bool started = false;
  if (started) return;
  started = true;
  QDLSurfacePoolInit();
  QDLPalettePoolInit();
  QDLSpriteBankPoolInit();
}

// Writes banks cut from a small sheet of solid, keyed and graded cells.
inline void WriteBankSeeds(const std::string& dir) {
  StartBanks();
  QDLPixelFormatDesc f = {QDLPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
  static uint16_t pixels[40 * 10];
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) {
      uint16_t v = 0xF81F;  // the key colour (magenta) around the cells
      if (x >= 10 && x < 20) v = static_cast<uint16_t>((x * 3) << 11 | (y * 6) << 5 | 7);
      else if (x >= 1 && x < 7 && y >= 1 && y < 7) v = 0xC000;
      else if (x >= 21 && x < 28 && y >= 2 && y < 7) v = 0x001F;
      pixels[y * 40 + x] = v;
    }
  Q2DXSurface* s = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(pixels), 40, 10, 80, &f);
  const std::string sheet = WorkDir() + "/seed-sheet.bmp";
  QDLBMPWrite(sheet.c_str(), s, nullptr, 0);
  Q2DXRelease(s);
  const uint32_t formats[] = {QDLFORMAT_RGB565, QDLFORMAT_RGB15, QDLFORMAT_RGB24, QDLFORMAT_RGB32};
  const uint32_t modes[] = {QDLSHEET_MODE_GRID, QDLSHEET_MODE_STRIPS};
  int n = 0;
  for (uint32_t mode : modes)
    for (uint32_t format : formats) {
      const QDLSheetDesc list[2] = {{sheet.c_str(), mode, 10, 10, nullptr}, {nullptr, 0, 0, 0, nullptr}};
      QDLSpriteBank* b = QDLSpriteBankFromSheets(list, format);
      if (!b) continue;
      const std::string path = dir + "/bank" + std::to_string(n++) + ".spr";
      QDLSpriteBankSave(b, path.c_str());
      QDLSpriteBankFree(b);
    }
}

}  // namespace korvena_fuzz
