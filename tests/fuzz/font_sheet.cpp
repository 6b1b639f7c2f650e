// Fonts: a glyph-strip sheet (BMP, or TGA by name) cut into a font as the
// game's fonts are made, measured and printed into a 5-6-5 surface.
#include <string>

#include "bank_seeds.h"
#include "display/qdl_text.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  // A strip sheet through the image writers: glyph columns split by the
  // cyan separator, on the sheets' background.
  korvena_fuzz::StartBanks();
  QDLPixelFormatDesc f = {QDLPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
  static uint16_t pixels[48 * 8];
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 48; ++x) {
      uint16_t v = 0;
      if (x % 6 == 0) v = 0x07FF;  // cyan separator
      else if ((x + y) % 3 == 0) v = 0xFFFF;
      pixels[y * 48 + x] = v;
    }
  Q2DXSurface* s = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(pixels), 48, 8, 96, &f);
  QDLBMPWrite((dir + "/strip.bmp").c_str(), s, nullptr, 0);
  QDLTGAWrite((dir + "/strip.tga").c_str(), s, nullptr, 0);
  Q2DXRelease(s);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartBanks();
  static bool textUp = QDLTextSetup(0) == 0;
  static QDLSurface* target = QDLSurfaceCreate(96, 32, 16, 0);
  (void)textUp;
  // The reader is chosen by the name, as the game names its fonts.
  const bool bmp = size >= 2 && data[0] == 'B' && data[1] == 'M';
  const std::string path = korvena_fuzz::WriteInput(data, size, bmp ? "font.bmp" : "font.tga");
  const QDLSheetDesc list[2] = {{path.c_str(), QDLSHEET_MODE_STRIPS, 0, 0, nullptr}, {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* bank = QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
  if (!bank) return 0;
  if (bank->frameCount == 0) {
    QDLSpriteBankFree(bank);
    return 0;
  }
  QDLFont* font = QDLFontCreate(bank);
  if (!font) {
    QDLSpriteBankFree(bank);
    return 0;
  }
  font->flags |= QDLFONT_OWNS_BANK;
  char text[96];
  for (int i = 0; i < 95; ++i) text[i] = static_cast<char>(32 + (i * 7) % 224);
  text[95] = 0;
  QDLFontTextWidth(font, text);
  QDLFontHeight(font);
  QDLPrint(target, font, 2, 3, text);
  QDLPrint(target, font, -40, 20, "Korvena \xE9\xFC\x80\n\tend");
  QDLFontFree(font);
  return 0;
}
