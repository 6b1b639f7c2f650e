#pragma once
// The front end's confirmation panel as a player reads it in a captured
// frame: the dark blue panel in its light frame round the middle of the
// screen, and inside the frame nothing but the question over "Yes" and "No",
// each over its black shadow as the front end prints them (the large menu
// font, the question grey, the chosen answer yellow). A test including this
// links the display library (korvena_display).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/captured_pictures.h"
#include "support/error_box_picture.h"

namespace korvena_test {

// The panel's inside: the rows and columns within its frame.
struct ConfirmPanelBounds {
  bool bFound = false;
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

inline uint16_t ConfirmPanelFill() { return To565(16, 24, 56); }
inline uint16_t ConfirmPanelFrame() { return To565(150, 168, 200); }

// The frame round (200, 200), a point of the panel left of its texts: the
// nearest frame pixels along that row and along the column x = 200.
inline ConfirmPanelBounds FindConfirmPanel(const Picture& pic) {
  ConfirmPanelBounds b;
  if (pic.width != 640 || pic.height != 480 || pic.At(200, 200) != ConfirmPanelFill()) return b;
  int x0 = 200, x1 = 200, y0 = 200, y1 = 200;
  while (x0 > 0 && pic.At(x0 - 1, 200) != ConfirmPanelFrame()) x0--;
  while (x1 < 639 && pic.At(x1 + 1, 200) != ConfirmPanelFrame()) x1++;
  while (y0 > 0 && pic.At(200, y0 - 1) != ConfirmPanelFrame()) y0--;
  while (y1 < 479 && pic.At(200, y1 + 1) != ConfirmPanelFrame()) y1++;
  b = {x0 > 0 && x1 < 639 && y0 > 0 && y1 < 479 && x1 - x0 >= 200 && y1 - y0 >= 60, x0, x1, y0, y1};
  return b;
}

// The panel's inside as the front end draws it: the fill, the question
// centred on (320, 164), "Yes" on (270, 220) and "No" on (370, 220), each
// over its shadow a pixel down and right; a text is printed 3 pixels above
// its point, as the frame packet does.
inline Picture ConfirmPanelDrawn(const std::string& question, bool bYes) {
  return MenuFontPicture(16, 24, 56, [&](QDLSurface* s, QDLFont* f) {
    const uint32_t style = QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP;
    const uint32_t black = QDLSurfaceRGBToPixel(s, 0, 0, 0), grey = QDLSurfaceRGBToPixel(s, 200, 200, 200),
                   yellow = QDLSurfaceRGBToPixel(s, 200, 200, 0);
    auto Print = [&](const char* psz, int x, int y, uint32_t colour) {
      QDLPrintf(s, f, x + 1, y - 2, black, 0, QDLLAYOUT_CENTRED_ON_CURSOR, style, "%s", psz);
      QDLPrintf(s, f, x, y - 3, colour, 0, QDLLAYOUT_CENTRED_ON_CURSOR, style, "%s", psz);
    };
    Print(question.c_str(), 320, 164, grey);
    Print("Yes", 270, 220, bYes ? yellow : grey);
    Print("No", 370, 220, bYes ? grey : yellow);
  });
}

// Whether a captured frame shows the confirmation panel reading the question
// over "Yes" and "No" (the chosen one yellow) and nothing else inside its
// frame: no label of the screen under it drawn over it. A pixel may lie a
// few steps from the one printed here (the font's dithering); a letter of
// another text lies much further. *pszWhy says what differs.
inline bool ConfirmPanelReads(const std::filesystem::path& capture, const std::string& question, bool bYes,
                              std::string* pszWhy) {
  constexpr int kTolerance = 6;
  const Picture pic = ReadTga(capture);
  const ConfirmPanelBounds b = FindConfirmPanel(pic);
  if (!b.bFound) {
    *pszWhy = capture.string() + ": no confirmation panel";
    return false;
  }
  const Picture want = ConfirmPanelDrawn(question, bYes);
  if (want.pixels.empty()) {
    *pszWhy = "the panel's texts could not be drawn";
    return false;
  }
  int cDiffer = 0, xFirst = 0, yFirst = 0, iFarthest = 0, cText = 0;
  for (int y = b.y0; y <= b.y1; ++y)
    for (int x = b.x0; x <= b.x1; ++x) {
      const int i = PixelDistance(pic.At(x, y), want.At(x, y));
      cText += want.At(x, y) != ConfirmPanelFill();
      if (i > iFarthest) iFarthest = i;
      if (i > kTolerance && cDiffer++ == 0) xFirst = x, yFirst = y;
    }
  if (cDiffer == 0 && cText > 0) return true;
  *pszWhy = capture.string() + ": panel " + std::to_string(b.x0) + "," + std::to_string(b.y0) + " to " +
            std::to_string(b.x1) + "," + std::to_string(b.y1) + ", " + std::to_string(cDiffer) +
            " pixels differ from \"" + question + "\" over Yes and No, the first at " + std::to_string(xFirst) + "," +
            std::to_string(yFirst) + " (at most by " + std::to_string(iFarthest) + ")";
  return false;
}

}  // namespace korvena_test
