// Font rasteriser: renders the 256 character codes of Windows-1252 from a
// TrueType font into a glyph-strip sheet that the display library cuts into
// a font with its "strips" mode (mode 3).
//
// Sheet layout (every generated font uses it):
// - background magenta (255, 0, 255), separator cyan (0, 255, 255);
// - a cyan marker row at the top, below every strip and at the bottom; the
//   rows between two marker rows are one strip;
// - column 0 stays background in every strip row (a separator pixel there
//   would start a marker row);
// - each glyph is a run of columns with a cyan pixel in the strip's top and
//   bottom rows, so every frame has the strip's full height and all glyphs
//   share one baseline; blanks (space, control codes) have only those
//   pixels and thereby keep their width; one background column separates
//   two glyphs;
// - ink is anti-aliased grey (v, v, v), v the coverage, so the printer can
//   draw text in the blitter's alpha-map mode (coverage read from red);
//   pixels without coverage stay background (transparent);
// - frame n is the glyph of code n, in strip order left to right, top to
//   bottom, for n = 0 .. 255.
//
// The printer advances a glyph's width plus the font spacing of -1, so a
// frame is one pixel wider than the pen advance the font asks for.
//
// Usage: korvena_fontgen --font FILE.ttf --size PX [--cell W] [--rows R]
//                        [--sheet-width W] --out FILE.bmp [--tga FILE.tga]
//   --cell W: every frame W pixels wide, glyph centred (fixed-pitch cells);
//   --rows R: glyph rows between the separator rows (default: the font's
//             tallest glyph extent over all codes); a glyph of the codes
//             128..255 taller than the rows is drawn less tall to fit, an
//             accented capital as its capital less tall under a mark of
//             whole pixels (acute, grave, circumflex, tilde, diaeresis, ring
//             or caron) one free row above it;
//   --xsize X: the glyphs' horizontal pixel size (default: as tall as wide),
//             so a face can be widened to fill fixed-pitch cells;
//   --fit: with --cell, narrows the horizontal size until the widest
//          printable ASCII glyph leaves a pixel free in its cell;
//   --edge-gamma G: a glyph's partly covered pixels drawn fainter, coverage
//          c of 255 becoming 255 (c / 255)^G (1, the default, keeps them),
//          so that a soft edge lying over the text's own dark shadow leaves
//          the shadow dark.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "art/art_image.h"

namespace {

constexpr int kCodes = 256;

// Unicode of each Windows-1252 code from 0x80 to 0x9F; 0 where the code page
// defines no character.
constexpr uint32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t Cp1252ToUnicode(int code) {
  if (code >= 0x80 && code < 0xA0) return kCp1252High[code - 0x80];
  return static_cast<uint32_t>(code);
}

struct Glyph {
  int iAdvance = 0;  // pen advance in pixels
  int iLeft = 0;     // bitmap left bearing
  int iTop = 0;      // rows above the baseline
  int iWidth = 0;
  int iRows = 0;
  std::vector<uint8_t> abCoverage;
  bool bBlank = true;
  int iFrameWidth = 0;
  int iInkX = 0;  // ink offset inside the frame
};

struct Options {
  std::string font, out, tga;
  int iSize = 0;
  int iCell = 0;
  int iRows = 0;
  int iSheetWidth = 512;
  int iXSize = 0;
  bool bFit = false;
  double dEdgeGamma = 1.0;
};

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "korvena_fontgen: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
  std::exit(1);
}

Options ParseArgs(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) Fail("missing value after", a);
      return argv[++i];
    };
    if (a == "--font") o.font = next();
    else if (a == "--size") o.iSize = std::atoi(next().c_str());
    else if (a == "--cell") o.iCell = std::atoi(next().c_str());
    else if (a == "--rows") o.iRows = std::atoi(next().c_str());
    else if (a == "--sheet-width") o.iSheetWidth = std::atoi(next().c_str());
    else if (a == "--xsize") o.iXSize = std::atoi(next().c_str());
    else if (a == "--fit") o.bFit = true;
    else if (a == "--edge-gamma") o.dEdgeGamma = std::atof(next().c_str());
    else if (a == "--out") o.out = next();
    else if (a == "--tga") o.tga = next();
    else Fail("unknown argument", a);
  }
  if (o.font.empty() || o.out.empty() || o.iSize < 4 || o.iSize > 128)
    Fail("usage: --font FILE --size PX [--cell W] [--rows R] [--sheet-width W] --out FILE.bmp [--tga FILE.tga]");
  if (o.iSheetWidth < 64 || o.iSheetWidth > 4096) Fail("sheet width out of range");
  if (o.iXSize < 0 || o.iXSize > 128) Fail("horizontal size out of range");
  if (o.bFit && o.iCell <= 2) Fail("--fit needs --cell");
  if (o.dEdgeGamma < 1.0 || o.dEdgeGamma > 4.0) Fail("edge gamma out of range");
  return o;
}

Glyph Render(FT_Face face, int code, const Options& o) {
  Glyph g;
  const uint32_t uc = Cp1252ToUnicode(code);
  const FT_UInt space = FT_Get_Char_Index(face, ' ');
  if (FT_Load_Glyph(face, space, FT_LOAD_DEFAULT) != 0) Fail("cannot load the space glyph");
  const int spaceAdvance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  if (code < 32) {
    g.iAdvance = 0;  // control codes are never drawn
    return g;
  }
  if (uc == 0 || uc == 0xA0 || uc == 0x20 || uc == 0x7F) {
    g.iAdvance = spaceAdvance;  // undefined codes, DEL and the spaces are blanks
    return g;
  }
  const FT_UInt index = FT_Get_Char_Index(face, uc);
  if (index == 0) Fail("the font has no glyph for code", std::to_string(code));
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0 ||
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
    Fail("cannot render code", std::to_string(code));
  const FT_GlyphSlot s = face->glyph;
  g.iAdvance = static_cast<int>((s->advance.x + 32) >> 6);
  g.iLeft = s->bitmap_left;
  g.iTop = s->bitmap_top;
  g.iWidth = static_cast<int>(s->bitmap.width);
  g.iRows = static_cast<int>(s->bitmap.rows);
  g.abCoverage.resize(static_cast<size_t>(g.iWidth) * static_cast<size_t>(g.iRows));
  for (int y = 0; y < g.iRows; ++y)
    for (int x = 0; x < g.iWidth; ++x) {
      uint8_t v = s->bitmap.buffer[y * s->bitmap.pitch + x];
      // A partly covered pixel fainter by the edge gamma; ink stays ink.
      if (v != 0 && v != 255 && o.dEdgeGamma != 1.0)
        v = static_cast<uint8_t>(std::max(1L, std::lround(255.0 * std::pow(v / 255.0, o.dEdgeGamma))));
      g.abCoverage[static_cast<size_t>(y * g.iWidth + x)] = v;
      if (v != 0) g.bBlank = false;
    }
  return g;
}

// The marks drawn over an accented capital that fixed rows leave too little
// room for at full size: whole pixels, '#' ink, two rows (three for the
// ring), so that the accent reads at a glance in a small bold face.
enum class Mark { kAcute, kGrave, kCircumflex, kTilde, kDiaeresis, kRing, kCaron };

struct MarkShape {
  const char* apszRows[3];
};

constexpr MarkShape kMarkShapes[] = {
    {{"..##", ".##.", nullptr}},       // acute
    {{"##..", ".##.", nullptr}},       // grave
    {{".###.", "##.##", nullptr}},     // circumflex
    {{".##..#", "#..##.", nullptr}},   // tilde
    {{"##..##", "##..##", nullptr}},   // diaeresis
    {{".##.", "#..#", ".##."}},        // ring
    {{"##.##", ".###.", nullptr}},     // caron
};

struct AccentedCapital {
  int iCode;    // Windows-1252
  char cPlain;  // the capital under the mark
  Mark eMark;
};

constexpr AccentedCapital kAccentedCapitals[] = {
    {0x8A, 'S', Mark::kCaron},      {0x8E, 'Z', Mark::kCaron},      {0x9F, 'Y', Mark::kDiaeresis},
    {0xC0, 'A', Mark::kGrave},      {0xC1, 'A', Mark::kAcute},      {0xC2, 'A', Mark::kCircumflex},
    {0xC3, 'A', Mark::kTilde},      {0xC4, 'A', Mark::kDiaeresis},  {0xC5, 'A', Mark::kRing},
    {0xC8, 'E', Mark::kGrave},      {0xC9, 'E', Mark::kAcute},      {0xCA, 'E', Mark::kCircumflex},
    {0xCB, 'E', Mark::kDiaeresis},  {0xCC, 'I', Mark::kGrave},      {0xCD, 'I', Mark::kAcute},
    {0xCE, 'I', Mark::kCircumflex}, {0xCF, 'I', Mark::kDiaeresis},  {0xD1, 'N', Mark::kTilde},
    {0xD2, 'O', Mark::kGrave},      {0xD3, 'O', Mark::kAcute},      {0xD4, 'O', Mark::kCircumflex},
    {0xD5, 'O', Mark::kTilde},      {0xD6, 'O', Mark::kDiaeresis},  {0xD9, 'U', Mark::kGrave},
    {0xDA, 'U', Mark::kAcute},      {0xDB, 'U', Mark::kCircumflex}, {0xDC, 'U', Mark::kDiaeresis},
    {0xDD, 'Y', Mark::kAcute},
};

const AccentedCapital* AccentedCapitalOf(int code) {
  for (const AccentedCapital& a : kAccentedCapitals)
    if (a.iCode == code) return &a;
  return nullptr;
}

// The accented capital as its plain capital drawn less tall, as wide as
// before, with the mark centred over it and one free row between them; the
// whole fits the baseline's rows above and the rows below it.
Glyph ComposeAccented(FT_Face face, const AccentedCapital& a, FT_UInt xppem, int above, int below,
                      const Options& o) {
  const MarkShape& m = kMarkShapes[static_cast<int>(a.eMark)];
  int markRows = 0, markWidth = 0;
  for (const char* r : m.apszRows)
    if (r != nullptr) {
      ++markRows;
      markWidth = std::max(markWidth, static_cast<int>(std::strlen(r)));
    }
  Glyph body;
  for (int ysize = o.iSize;; --ysize) {
    if (ysize < o.iSize / 2) Fail("no height fits the rows for code", std::to_string(a.iCode));
    if (FT_Set_Pixel_Sizes(face, xppem, static_cast<FT_UInt>(ysize)) != 0) Fail("cannot set the pixel size");
    body = Render(face, a.cPlain, o);
    if (body.iTop + 1 + markRows <= above && body.iRows - body.iTop <= below) break;
  }
  const int markX = (body.iWidth - markWidth) / 2;
  const int left = std::min(0, markX);
  Glyph g;
  g.iAdvance = body.iAdvance;
  g.iLeft = body.iLeft + left;
  g.iTop = body.iTop + 1 + markRows;
  g.iWidth = std::max(body.iWidth, markX + markWidth) - left;
  g.iRows = body.iRows + 1 + markRows;
  g.bBlank = false;
  g.abCoverage.assign(static_cast<size_t>(g.iWidth) * static_cast<size_t>(g.iRows), 0);
  for (int y = 0; y < markRows; ++y)
    for (int x = 0; m.apszRows[y][x] != '\0'; ++x)
      if (m.apszRows[y][x] == '#') g.abCoverage[static_cast<size_t>(y * g.iWidth + markX - left + x)] = 255;
  for (int y = 0; y < body.iRows; ++y)
    for (int x = 0; x < body.iWidth; ++x)
      g.abCoverage[static_cast<size_t>((y + 1 + markRows) * g.iWidth + x - left)] =
          body.abCoverage[static_cast<size_t>(y * body.iWidth + x)];
  return g;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseArgs(argc, argv);

  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) Fail("cannot start FreeType");
  FT_Face face;
  if (FT_New_Face(lib, o.font.c_str(), 0, &face) != 0) Fail("cannot open the font", o.font);
  std::vector<Glyph> glyphs;
  for (int xsize = o.iXSize > 0 ? o.iXSize : 0;; --xsize) {
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(xsize), static_cast<FT_UInt>(o.iSize)) != 0)
      Fail("cannot set the pixel size");
    glyphs.clear();
    glyphs.reserve(kCodes);
    for (int c = 0; c < kCodes; ++c) glyphs.push_back(Render(face, c, o));
    if (!o.bFit) break;
    // The printable ASCII glyphs set the width (a wider glyph of the upper
    // codes loses its edge columns to its frame).
    int widest = 0;
    for (int c = 32; c < 127; ++c) {
      const Glyph& g = glyphs[static_cast<size_t>(c)];
      widest = std::max(widest, g.bBlank ? 0 : g.iWidth);
    }
    if (widest <= o.iCell - 2) break;
    if (xsize == 0) xsize = o.iSize + 1;  // from the square size down
    else if (xsize <= 4) Fail("no horizontal size fits the cell");
  }
  const FT_UInt xppem = face->size->metrics.x_ppem;

  // Common baseline and height: the tallest extent above and below it.
  int above = 0, below = 0;
  for (const Glyph& g : glyphs) {
    if (g.bBlank) continue;
    above = std::max(above, g.iTop);
    below = std::max(below, g.iRows - g.iTop);
  }
  int rows = above + below;
  int baseline = above;
  if (o.iRows > 0) {
    // Fixed rows: keep the baseline where the bulk of the glyphs need it and
    // let the rare tall accents lose their top rows.
    const int asc = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int desc = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    baseline = std::min(asc, o.iRows - std::min(desc, o.iRows / 4));
    rows = o.iRows;
    // A letter of the upper codes that the rows would cut is drawn again
    // less tall, as wide as before, until it fits whole; an accented capital
    // (cut, "É" would read as "E"; shrunk whole, its accent would thin to a
    // pixel or two) becomes its capital drawn less tall under a mark of
    // whole pixels. The printable ASCII glyphs keep their size.
    for (int c = 128; c < kCodes; ++c) {
      Glyph& g = glyphs[static_cast<size_t>(c)];
      const auto Cut = [&] { return !g.bBlank && (g.iTop > baseline || g.iRows - g.iTop > rows - baseline); };
      const AccentedCapital* a = AccentedCapitalOf(c);
      if (a != nullptr && Cut()) g = ComposeAccented(face, *a, xppem, baseline, rows - baseline, o);
      for (int ysize = o.iSize - 1; Cut() && ysize >= o.iSize / 2; --ysize) {
        if (FT_Set_Pixel_Sizes(face, xppem, static_cast<FT_UInt>(ysize)) != 0) Fail("cannot set the pixel size");
        g = Render(face, c, o);
      }
      if (Cut()) Fail("no height fits the rows for code", std::to_string(c));
    }
  }

  // Frame widths and ink placement.
  for (int c = 0; c < kCodes; ++c) {
    Glyph& g = glyphs[static_cast<size_t>(c)];
    if (o.iCell > 0) {
      g.iFrameWidth = c < 32 ? 1 : o.iCell;
      const int ink = g.bBlank ? 0 : g.iWidth;
      g.iInkX = std::max(0, (o.iCell - 1 - ink) / 2);
    } else {
      g.iInkX = std::max(0, g.iLeft);
      const int inkEnd = g.bBlank ? 0 : g.iInkX + g.iWidth;
      g.iFrameWidth = std::max(g.iAdvance, inkEnd) + 1;
    }
  }

  // Pack the frames into strips.
  const int stripHeight = rows + 2;  // separator row, glyph rows, separator row
  std::vector<int> frameX(kCodes), frameStrip(kCodes);
  int x = 1, strip = 0;
  for (int c = 0; c < kCodes; ++c) {
    const int w = glyphs[static_cast<size_t>(c)].iFrameWidth;
    if (w + 2 > o.iSheetWidth) Fail("glyph wider than the sheet", std::to_string(c));
    if (x + w + 1 > o.iSheetWidth) {
      x = 1;
      ++strip;
    }
    frameX[static_cast<size_t>(c)] = x;
    frameStrip[static_cast<size_t>(c)] = strip;
    x += w + 1;
  }
  const int strips = strip + 1;
  const int sheetHeight = 1 + strips * (stripHeight + 1);
  art::Image img(o.iSheetWidth, sheetHeight, art::kMagenta);
  for (int s = 0; s <= strips; ++s) img.Fill(0, s * (stripHeight + 1), o.iSheetWidth, 1, art::kCyan);

  for (int c = 0; c < kCodes; ++c) {
    const Glyph& g = glyphs[static_cast<size_t>(c)];
    const int fx = frameX[static_cast<size_t>(c)];
    const int top = 1 + frameStrip[static_cast<size_t>(c)] * (stripHeight + 1);
    img.Fill(fx, top, g.iFrameWidth, 1, art::kCyan);
    img.Fill(fx, top + stripHeight - 1, g.iFrameWidth, 1, art::kCyan);
    if (g.bBlank) continue;
    const int inkTop = top + 1 + baseline - g.iTop;
    for (int y = 0; y < g.iRows; ++y) {
      const int py = inkTop + y;
      if (py <= top || py >= top + stripHeight - 1) continue;  // outside the glyph rows
      for (int i = 0; i < g.iWidth; ++i) {
        const int px = fx + g.iInkX + i;
        if (px >= fx + g.iFrameWidth) continue;
        const uint8_t v = g.abCoverage[static_cast<size_t>(y * g.iWidth + i)];
        if (v != 0) img.Set(px, py, art::Rgb{v, v, v});
      }
    }
  }

  // Validation of what the display library relies on: column 0 free in
  // strip rows, a glyph for '!' that sets the height, 256 frames.
  for (int y = 0; y < sheetHeight; ++y) {
    const bool marker = y % (stripHeight + 1) == 0;
    if (marker != (img.Get(0, y) == art::kCyan)) Fail("column 0 is not free");
  }
  if (glyphs['!'].bBlank) Fail("'!' has no ink");
  if (frameStrip[kCodes - 1] != strips - 1) Fail("frames were lost");

  if (!art::WriteBMP24(img, o.out)) Fail("cannot write", o.out);
  if (!o.tga.empty() && !art::WriteTGA24(img, o.tga)) Fail("cannot write", o.tga);

  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  std::printf("korvena_fontgen: %s: %d x %d, %d strips, glyph height %d\n", o.out.c_str(), o.iSheetWidth,
              sheetHeight, strips, stripHeight);
  return 0;
}
