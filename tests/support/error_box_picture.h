#pragma once
// The front end's error box as a player reads it in a captured frame: the
// black box found round the middle of the screen, and inside it nothing but
// "Error!" and the detail line, each as the front end prints them (the
// game's own large menu font, light grey, centred). A test including this
// links the display library (korvena_display).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"
#include "support/captured_pictures.h"
#include "support/headless_env.h"

namespace korvena_test {

// The black box round (320, 216): its first and last columns on that row,
// its first and last rows on its first column.
struct ErrorBoxBounds {
  bool bFound = false;
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

inline ErrorBoxBounds FindErrorBox(const Picture& pic) {
  ErrorBoxBounds b;
  if (pic.width != 640 || pic.height != 480 || pic.At(320, 216) != 0) return b;
  b.x0 = b.x1 = 320;
  while (b.x0 > 0 && pic.At(b.x0 - 1, 216) == 0) b.x0--;
  while (b.x1 < 639 && pic.At(b.x1 + 1, 216) == 0) b.x1++;
  b.y0 = b.y1 = 216;
  while (b.y0 > 0 && pic.At(b.x0, b.y0 - 1) == 0) b.y0--;
  while (b.y1 < 479 && pic.At(b.x0, b.y1 + 1) == 0) b.y1++;
  b.bFound = b.x1 - b.x0 >= 240 && b.y1 - b.y0 >= 60;
  return b;
}

// A 640 x 480 picture filled with one colour, drawn on by draw(surface,
// font) with the front end's large menu font; empty when the font cannot be
// read.
template <class Draw>
inline Picture MenuFontPicture(uint8_t r, uint8_t g, uint8_t b, Draw draw) {
  Picture pic;
  QDLSurfacePoolInit();
  QDLPalettePoolInit();
  QDLSpriteBankPoolInit();
  QDLSheetResetBackgroundColour();
  QDLSheetResetSeparatorColour();
  EXPECT_EQ(QDLTextSetup(0), 0u);
  const std::string font = BuildDir() + "/data/textures/Fonts/SW24pt.bmp";
  const QDLSheetDesc list[2] = {{font.c_str(), QDLSHEET_MODE_STRIPS, 0, 0, nullptr}, {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* bank = QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
  QDLSurface* s = QDLSurfaceCreate(640, 480, 16, QDLCREATE_MEMORY);
  EXPECT_TRUE(bank && bank->frameCount > 0 && s) << font;
  if (bank && bank->frameCount > 0 && s) {
    QDLFont* f = QDLFontCreate(bank);
    f->flags |= QDLFONT_OWNS_BANK;
    QDLFillRect(s, nullptr, QDLSurfaceRGBToPixel(s, r, g, b), 0);
    draw(s, f);
    pic.width = 640;
    pic.height = 480;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        pic.pixels.push_back(reinterpret_cast<const uint16_t*>(s->pixels + y * s->pitch)[x]);
    QDLFontFree(f);
  }
  QDLTextShutdown();
  QDLSpriteBankFreeAll();
  QDLPaletteFreeAll();
  QDLSurfaceFreeAll();
  return pic;
}

// A black 640 x 480 picture with the box's two lines as the front end
// prints them: "Error!" centred on (320, 240), the detail on (320, 276).
inline Picture ErrorBoxTextsDrawn(const std::string& detail) {
  return MenuFontPicture(0, 0, 0, [&](QDLSurface* s, QDLFont* f) {
    const uint32_t grey = QDLSurfaceRGBToPixel(s, 200, 200, 200);
    const uint32_t style = QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP;
    QDLPrintf(s, f, 320, 237, grey, 0, QDLLAYOUT_CENTRED_ON_CURSOR, style, "%s", "Error!");
    if (!detail.empty()) QDLPrintf(s, f, 320, 273, grey, 0, QDLLAYOUT_CENTRED_ON_CURSOR, style, "%s", detail.c_str());
  });
}

// How far two 5-6-5 pixels lie apart: the largest difference of their
// components, green counted in halves.
inline int PixelDistance(uint16_t a, uint16_t b) {
  auto d = [](int x, int y) { return x > y ? x - y : y - x; };
  const int r = d(a >> 11, b >> 11), g = d((a >> 5) & 63, (b >> 5) & 63) / 2, bl = d(a & 31, b & 31);
  return r > g ? (r > bl ? r : bl) : (g > bl ? g : bl);
}

// Whether a captured frame shows the error box reading "Error!" over the
// detail and nothing else: every pixel inside the box as the two lines
// printed on black give it. A font's glyphs are dithered as it loads, from
// a seed the loads before it move on, so a pixel may lie a few steps from
// the one printed here (kTolerance, of 31); a letter of another text, or
// anything drawn over the box, lies much further. *pszWhy says what differs.
inline bool ErrorBoxReads(const std::filesystem::path& capture, const std::string& detail, std::string* pszWhy) {
  constexpr int kTolerance = 6;
  const Picture pic = ReadTga(capture);
  const ErrorBoxBounds b = FindErrorBox(pic);
  if (!b.bFound) {
    *pszWhy = capture.string() + ": no error box";
    return false;
  }
  const Picture want = ErrorBoxTextsDrawn(detail);
  if (want.pixels.empty()) {
    *pszWhy = "the box's texts could not be drawn";
    return false;
  }
  int cDiffer = 0, xFirst = 0, yFirst = 0, iFarthest = 0;
  for (int y = b.y0; y <= b.y1; ++y)
    for (int x = b.x0; x <= b.x1; ++x) {
      const int i = PixelDistance(pic.At(x, y), want.At(x, y));
      if (i > iFarthest) iFarthest = i;
      if (i > kTolerance && cDiffer++ == 0) xFirst = x, yFirst = y;
    }
  int cText = 0;  // the detail line drawn at all
  for (int y = 262; y < 300; ++y)
    for (int x = 0; x < 640; ++x) cText += want.At(x, y) != 0;
  if (cDiffer == 0 && (detail.empty() || cText > 0)) return true;
  *pszWhy = capture.string() + ": box " + std::to_string(b.x0) + "," + std::to_string(b.y0) + " to " +
            std::to_string(b.x1) + "," + std::to_string(b.y1) + ", " + std::to_string(cDiffer) +
            " pixels differ from \"Error!\" over \"" + detail + "\", the first at " + std::to_string(xFirst) + "," +
            std::to_string(yFirst) + " (at most by " + std::to_string(iFarthest) + ")";
  return false;
}

}  // namespace korvena_test
