// The fonts our generator writes, cut and measured as the front end, the
// match and start-up load them; and a whole frame drawn from generated data:
// text in every font, sprites from the generated demonstration bank,
// primitives, captured as a TGA file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_image.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"
#include "draw_test_util.h"
#include "support/headless_env.h"

namespace {

using korvena_test::BuildDir;
std::string FontPath(const char* name) { return BuildDir() + "/data/textures/Fonts/" + name; }

struct FontsTest : ::testing::Test {
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
    QDLSheetResetBackgroundColour();
    QDLSheetResetSeparatorColour();
    ASSERT_EQ(QDLTextSetup(0), 0u);
  }
  void TearDown() override {
    QDLTextShutdown();
    QDLSpriteBankFreeAll();
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
  }
  // Each match font as the match loads it, drawn on one small surface.
  template <class Fn>
  static void EachMatchFont(Fn fn) {
    QDLSurface* s = QDLSurfaceCreate(20, 20, 16, QDLCREATE_MEMORY);
    ASSERT_NE(s, nullptr);
    for (const char* name : {"SWfont3a3.bmp", "font3a3.tga"}) {
      SCOPED_TRACE(name);
      QDLFont* f = Load(name);
      ASSERT_NE(f, nullptr);
      fn(s, f);
      QDLFontFree(f);
    }
    QDLSurfaceFree(s);
  }
  // The font as QDLFontCreateFromSheet(path, 3, 0, 0) builds it on a 5-6-5 display.
  static QDLFont* Load(const char* name) {
    const std::string path = FontPath(name);
    const QDLSheetDesc list[2] = {{path.c_str(), QDLSHEET_MODE_STRIPS | QDLSHEET_NO_DITHER, 0, 0, nullptr},
                                  {nullptr, 0, 0, 0, nullptr}};
    QDLSpriteBank* b = QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
    if (b == nullptr || b->frameCount == 0) return nullptr;
    QDLFont* f = QDLFontCreate(b);
    f->flags |= QDLFONT_OWNS_BANK;
    return f;
  }
};

bool DefinedCp1252(int c) { return !(c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D); }

TEST_F(FontsTest, GeneratedFontsHaveAGlyphPerCodeOnOneBaseline) {
  for (const char* name : {"SWfont18pt.bmp", "SW24pt.bmp", "SWfont3a3.bmp", "debug.bmp"}) {
    SCOPED_TRACE(name);
    QDLFont* f = Load(name);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->bank->frameCount, 256);
    const int h = QDLFontHeight(f);
    EXPECT_GE(h, 12);
    for (int c = 0; c < 256; ++c) {
      const QDLFrame& fr = f->frames[c];
      EXPECT_EQ(fr.height, h) << c;  // every glyph keeps the common height
      if (c < 32) {
        EXPECT_EQ(fr.width, 1) << c;
        EXPECT_EQ(fr.encoding, QDLENC_NONE) << c;
      } else if (c == ' ' || c == 0xA0 || c == 0x7F || !DefinedCp1252(c)) {
        EXPECT_GT(fr.width, 2) << c;  // blanks with a width
        EXPECT_EQ(fr.encoding, QDLENC_NONE) << c;
      } else {
        EXPECT_NE(fr.encoding, QDLENC_NONE) << c;  // ink for every printable code
        EXPECT_NE(fr.encoding, QDLENC_RAW) << c;   // glyphs have transparent pixels
      }
    }
  }
}

TEST_F(FontsTest, TgaCopiesCutLikeTheirSheets) {
  for (auto [bmp, tga] : {std::pair{"SW24pt.bmp", "24pt.tga"}, std::pair{"SWfont3a3.bmp", "font3a3.tga"}}) {
    QDLFont* a = Load(bmp);
    QDLFont* b = Load(tga);
    ASSERT_TRUE(a && b) << tga;
    ASSERT_EQ(a->bank->frameCount, b->bank->frameCount);
    for (int c = 0; c < 256; ++c) {
      EXPECT_EQ(a->frames[c].width, b->frames[c].width) << c;
      EXPECT_EQ(a->frames[c].height, b->frames[c].height) << c;
      EXPECT_EQ(a->frames[c].encoding, b->frames[c].encoding) << c;
    }
  }
}

// The pixels of one character drawn white on black in the alpha-map mode,
// a row a string: '#' at least half ink, '.' less, ' ' none.
std::vector<std::string> Lit(QDLSurface* s, QDLFont* f, unsigned char c) {
  QDLFillRect(s, nullptr, 0, 0);
  const char sz[2] = {static_cast<char>(c), '\0'};
  QDLPrintText(s, f, 0, 0, 0xFFFF, 0, QDLLAYOUT_PLAIN, QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, sz);
  std::vector<std::string> a;
  for (int y = 0; y < s->height; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(s->pixels + y * s->pitch);
    std::string line;
    for (int x = 0; x < s->width; ++x) {
      const int g = (row[x] >> 5) & 63;  // green of 5-6-5
      line += g >= 32 ? '#' : g > 0 ? '.' : ' ';
    }
    a.push_back(line);
  }
  return a;
}

bool RowLit(const std::string& row) { return row.find('#') != std::string::npos; }

// The lit pixels of rows [from, to) and how many columns they span.
std::pair<int, int> LitIn(const std::vector<std::string>& a, int from, int to) {
  int n = 0, x0 = 1 << 30, x1 = -1;
  for (int y = from; y < to; ++y)
    for (int x = 0; x < static_cast<int>(a[static_cast<size_t>(y)].size()); ++x)
      if (a[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#') {
        ++n;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
      }
  return {n, x1 < 0 ? 0 : x1 - x0 + 1};
}

std::string Picture(const std::vector<std::string>& a) {
  std::string s;
  for (const std::string& r : a) s += "|" + r + "|\n";
  return s;
}

// Every accented capital of the match font shows its mark at a glance, over
// the dark of the match's pictures: four pixels of at least half ink, two
// columns wide at least, above the letter with a row free between them
// (under it for the cedilla). A plain capital is one piece of ink, so the
// mark is the accent's own.
TEST_F(FontsTest, MatchFontsAccentedCapitalsShowAClearMark) {
  struct Capital {
    unsigned char c, plain;
  };
  const Capital kAbove[] = {{0x8A, 'S'}, {0x8E, 'Z'}, {0x9F, 'Y'}, {0xC0, 'A'}, {0xC1, 'A'}, {0xC2, 'A'}, {0xC3, 'A'},
                            {0xC4, 'A'}, {0xC5, 'A'}, {0xC8, 'E'}, {0xC9, 'E'}, {0xCA, 'E'}, {0xCB, 'E'}, {0xCC, 'I'},
                            {0xCD, 'I'}, {0xCE, 'I'}, {0xCF, 'I'}, {0xD1, 'N'}, {0xD2, 'O'}, {0xD3, 'O'}, {0xD4, 'O'},
                            {0xD5, 'O'}, {0xD6, 'O'}, {0xD9, 'U'}, {0xDA, 'U'}, {0xDB, 'U'}, {0xDC, 'U'}, {0xDD, 'Y'}};
  constexpr int kMarkPixels = 4;
  EachMatchFont([&](QDLSurface* s, QDLFont* f) {
    for (const Capital& k : kAbove) {
      const std::vector<std::string> a = Lit(s, f, k.c), plain = Lit(s, f, k.plain);
      SCOPED_TRACE("code " + std::to_string(k.c) + "\n" + Picture(a));
      const int h = static_cast<int>(a.size());
      // The plain capital: no free row between its top and its foot.
      int top = 0, foot = h - 1;
      while (top < h && !RowLit(plain[static_cast<size_t>(top)])) ++top;
      while (foot > top && !RowLit(plain[static_cast<size_t>(foot)])) --foot;
      ASSERT_LT(top, h);
      for (int y = top; y <= foot; ++y) EXPECT_TRUE(RowLit(plain[static_cast<size_t>(y)])) << "plain row " << y;
      // The accented one: the mark, a free row, the letter.
      int markTop = 0;
      while (markTop < h && !RowLit(a[static_cast<size_t>(markTop)])) ++markTop;
      int gap = markTop;
      while (gap < h && RowLit(a[static_cast<size_t>(gap)])) ++gap;
      int letter = gap;
      while (letter < h && !RowLit(a[static_cast<size_t>(letter)])) ++letter;
      if (letter >= h) {
        ADD_FAILURE() << "no free row between the mark and the letter";
        continue;
      }
      const auto [n, w] = LitIn(a, markTop, gap);
      EXPECT_GE(n, kMarkPixels);
      EXPECT_GE(w, 2);
    }
    // The cedilla: ink under the foot of the plain "C".
    const std::vector<std::string> a = Lit(s, f, 0xC7), plain = Lit(s, f, 'C');
    int foot = static_cast<int>(plain.size()) - 1;
    while (foot > 0 && !RowLit(plain[static_cast<size_t>(foot)])) --foot;
    const auto [n, w] = LitIn(a, foot + 1, static_cast<int>(a.size()));
    EXPECT_GE(n, kMarkPixels) << Picture(a);
    EXPECT_GE(w, 2) << Picture(a);
  });
}

// The mark of an accented capital as Lit draws it: its rows, from the first
// lit one to the free row over the letter, cut to the columns its ink spans;
// and the width of the letter under it.
struct MarkInk {
  std::vector<std::string> rows;
  int letterWidth = 0;
};
MarkInk MarkOf(const std::vector<std::string>& a) {
  MarkInk m;
  const int h = static_cast<int>(a.size());
  int top = 0;
  while (top < h && !RowLit(a[static_cast<size_t>(top)])) ++top;
  int gap = top;
  while (gap < h && RowLit(a[static_cast<size_t>(gap)])) ++gap;
  size_t x0 = std::string::npos, x1 = 0;
  for (int y = top; y < gap; ++y) {
    x0 = std::min(x0, a[static_cast<size_t>(y)].find('#'));
    x1 = std::max(x1, a[static_cast<size_t>(y)].rfind('#'));
  }
  if (top == gap) return m;
  for (int y = top; y < gap; ++y) m.rows.push_back(a[static_cast<size_t>(y)].substr(x0, x1 - x0 + 1));
  m.letterWidth = LitIn(a, gap, h).second;
  return m;
}

// The pieces of ink of a mark, pixels joined by a side or a corner.
int Pieces(std::vector<std::string> m) {
  int n = 0;
  const auto Fill = [&m](auto&& self, int y, int x) -> void {
    if (y < 0 || y >= static_cast<int>(m.size()) || x < 0 || x >= static_cast<int>(m[0].size())) return;
    if (m[static_cast<size_t>(y)][static_cast<size_t>(x)] != '#') return;
    m[static_cast<size_t>(y)][static_cast<size_t>(x)] = ' ';
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) self(self, y + dy, x + dx);
  };
  for (size_t y = 0; y < m.size(); ++y)
    for (size_t x = 0; x < m[y].size(); ++x)
      if (m[y][x] == '#') {
        ++n;
        Fill(Fill, static_cast<int>(y), static_cast<int>(x));
      }
  return n;
}

// The mean column of a row's ink, times its pixel count of the other row, so
// that two rows compare without a division: Lean(top, bottom) > 0 when the
// top row's ink lies right of the bottom row's.
int Lean(const std::string& top, const std::string& bottom) {
  const auto Ink = [](const std::string& r, int* pSum, int* pCount) {
    for (size_t x = 0; x < r.size(); ++x)
      if (r[x] == '#') {
        *pSum += static_cast<int>(x);
        ++*pCount;
      }
  };
  int s0 = 0, n0 = 0, s1 = 0, n1 = 0;
  Ink(top, &s0, &n0);
  Ink(bottom, &s1, &n1);
  return s0 * n1 - s1 * n0;
}

// Each accented capital of the match font shows its own mark, not just any:
// the tilde of "Ñ" one wave across more than half the letter, the diaeresis
// of "Ü" two dots, the acute of "É" rising to the right and the grave of "È"
// to the left, the circumflex of "Ô" a peak (its top row inside its bottom).
TEST_F(FontsTest, MatchFontsAccentedCapitalsShowTheirOwnMark) {
  EachMatchFont([&](QDLSurface* s, QDLFont* f) {
    const MarkInk tilde = MarkOf(Lit(s, f, 0xD1)), dots = MarkOf(Lit(s, f, 0xDC)), acute = MarkOf(Lit(s, f, 0xC9)),
                  grave = MarkOf(Lit(s, f, 0xC8)), peak = MarkOf(Lit(s, f, 0xD4));
    for (const MarkInk* m : {&tilde, &dots, &acute, &grave, &peak}) ASSERT_EQ(m->rows.size(), 2u) << Picture(m->rows);
    EXPECT_EQ(Pieces(tilde.rows), 1) << Picture(tilde.rows);
    EXPECT_GT(2 * static_cast<int>(tilde.rows[0].size()), tilde.letterWidth) << Picture(tilde.rows);
    EXPECT_EQ(Pieces(dots.rows), 2) << Picture(dots.rows);
    EXPECT_EQ(Pieces(acute.rows), 1) << Picture(acute.rows);
    EXPECT_GT(Lean(acute.rows[0], acute.rows[1]), 0) << Picture(acute.rows);
    EXPECT_EQ(Pieces(grave.rows), 1) << Picture(grave.rows);
    EXPECT_LT(Lean(grave.rows[0], grave.rows[1]), 0) << Picture(grave.rows);
    EXPECT_EQ(Pieces(peak.rows), 1) << Picture(peak.rows);
    EXPECT_EQ(Lean(peak.rows[0], peak.rows[1]), 0) << Picture(peak.rows);
    EXPECT_GT(peak.rows[0].find('#'), peak.rows[1].find('#')) << Picture(peak.rows);
    EXPECT_LT(peak.rows[0].rfind('#'), peak.rows[1].rfind('#')) << Picture(peak.rows);
  });
}

// The pixels of a 24-bit BMP sheet as the rasteriser writes it, red, green
// and blue, top row first; empty when the file is not one.
struct SheetPixels {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
};
SheetPixels ReadSheet(const std::string& path) {
  const std::vector<uint8_t> b = drawtest::ReadFile(path);
  SheetPixels o;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || drawtest::U16(b, 28) != 24) return o;
  const uint32_t off = drawtest::U32(b, 10);
  const int w = static_cast<int32_t>(drawtest::U32(b, 18)), h = static_cast<int32_t>(drawtest::U32(b, 22));
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  if (w <= 0 || h <= 0 || b.size() < off + stride * static_cast<size_t>(h)) return o;
  o.w = w;
  o.h = h;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = b.data() + off + stride * static_cast<size_t>(h - 1 - y);  // bottom-up
    for (int x = 0; x < w; ++x) o.rgb.insert(o.rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return o;
}

// The match font's soft edges are fainter than plain anti-aliasing, so that
// the dark shadow under its texts shows through them: drawn again by the
// rasteriser with its other arguments and straight edges, every partly
// covered pixel of coverage c is 255 (c / 255)^2 in the match font (edge
// gamma 2), and every other pixel is the same.
TEST_F(FontsTest, MatchFontsSoftEdgesAreFainterByTheEdgeGamma) {
  std::vector<std::string> args;
  std::string all = KORVENA_MATCH_FONT_ARGS;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t bar = all.find('|', at);
    args.push_back(all.substr(at, bar == std::string::npos ? std::string::npos : bar - at));
    at = bar == std::string::npos ? bar : bar + 1;
  }
  std::string cmd = BuildDir() + "/tools/korvena_fontgen";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--edge-gamma") {
      ++i;  // and its value
      continue;
    }
    cmd += " '" + args[i] + "'";
  }
  const drawtest::TempDir dir("match_font_straight_edges");
  cmd += " --out '" + dir.File("straight.bmp") + "' >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  const SheetPixels straight = ReadSheet(dir.File("straight.bmp"));
  const SheetPixels font = ReadSheet(FontPath("SWfont3a3.bmp"));
  ASSERT_GT(straight.w, 0);
  ASSERT_EQ(font.w, straight.w);
  ASSERT_EQ(font.h, straight.h);
  int cEdges = 0, cFainter = 0, cWrong = 0;
  for (size_t i = 0; i < straight.rgb.size(); i += 3) {
    const uint8_t* p = &straight.rgb[i];
    const uint8_t* q = &font.rgb[i];
    const bool bEdge = p[0] == p[1] && p[1] == p[2] && p[0] > 0 && p[0] < 255;  // grey: ink, partly covered
    long want[3] = {p[0], p[1], p[2]};
    if (bEdge) {
      ++cEdges;
      want[0] = want[1] = want[2] = std::max(1L, std::lround(255.0 * std::pow(p[0] / 255.0, 2.0)));
      cFainter += q[0] < p[0];
    }
    if (q[0] != want[0] || q[1] != want[1] || q[2] != want[2]) {
      if (++cWrong <= 5)
        ADD_FAILURE() << "pixel " << i / 3 % straight.w << ", " << i / 3 / straight.w << ": " << int{q[0]} << " for "
                      << want[0] << " (straight " << int{p[0]} << ")";
    }
  }
  EXPECT_EQ(cWrong, 0);
  EXPECT_GT(cEdges, 0);
  EXPECT_GT(cFainter, 0);
}

TEST_F(FontsTest, GeneratedFontsMeasureAsExpected) {
  QDLFont* small = Load("SWfont18pt.bmp");
  QDLFont* large = Load("SW24pt.bmp");
  QDLFont* match = Load("SWfont3a3.bmp");
  QDLFont* debug = Load("debug.bmp");
  ASSERT_TRUE(small && large && match && debug);
  // Sizes that read well at 640 x 480.
  EXPECT_GE(QDLFontHeight(small), 16);
  EXPECT_LE(QDLFontHeight(small), 22);
  EXPECT_GE(QDLFontHeight(large), 22);
  EXPECT_LE(QDLFontHeight(large), 30);
  EXPECT_EQ(QDLFontHeight(match), 16);
  // The match font: 16 pixels a character.
  for (int c = 32; c < 256; ++c) EXPECT_EQ(QDLFontCharWidth(match, static_cast<uint8_t>(c)), 16) << c;
  // Proportional fonts: wide and narrow letters, the large font wider.
  EXPECT_GT(QDLFontCharWidth(small, 'W'), QDLFontCharWidth(small, 'i'));
  EXPECT_GT(QDLFontCharWidth(large, 'W'), QDLFontCharWidth(small, 'W'));
  // The debug font is fixed-pitch.
  EXPECT_EQ(QDLFontCharWidth(debug, 'i'), QDLFontCharWidth(debug, 'W'));
  const char* title = "Korvena Football";
  const int w18 = QDLFontStringWidth(small, "Korvena", nullptr);
  EXPECT_GT(w18, 50);
  EXPECT_LT(w18, 90);
  EXPECT_LT(QDLFontTextWidth(large, title), 640 / 2);
  // Measuring agrees with the sum of the frames.
  int sum = 0;
  for (const char* p = "Korvena"; *p; ++p) sum += small->frames[static_cast<uint8_t>(*p)].width - 1;
  EXPECT_EQ(w18, sum + 1);
}

// Draws a 640 x 480 frame from generated data and writes it as a TGA file.
TEST_F(FontsTest, FrameOfGeneratedFontsAndSprites) {
  QDLSurface* s = QDLSurfaceCreate(640, 480, 16, QDLCREATE_MEMORY);
  ASSERT_NE(s, nullptr);
  QDLFont* small = Load("SWfont18pt.bmp");
  QDLFont* large = Load("SW24pt.bmp");
  QDLFont* match = Load("SWfont3a3.bmp");
  QDLFont* debug = Load("debug.bmp");
  ASSERT_TRUE(small && large && match && debug);
  QDLSpriteBank* demo = QDLSpriteBankLoad((BuildDir() + "/tools/art/demo_sprites.spr").c_str(), nullptr, 0);
  ASSERT_NE(demo, nullptr);
  ASSERT_EQ(demo->frameCount, 8);

  // A pitch-green backdrop with stripes and markings.
  QDLFillRect(s, nullptr, QDLSurfaceRGBToPixel(s, 20, 90, 40), 0);
  for (int i = 0; i < 8; i += 2) {
    QDLRectI16 stripe{static_cast<int16_t>(i * 80), 0, 80, 480};
    QDLFillRect(s, &stripe, QDLSurfaceRGBToPixel(s, 26, 104, 48), 0);
  }
  const uint16_t white = static_cast<uint16_t>(QDLSurfaceRGBToPixel(s, 235, 235, 235));
  QDLRect(s, 20, 20, 619, 459, white, 0);
  QDLLine(s, 320, 20, 320, 459, white, 0);
  QDLCircle(s, 320, 240, 60, white, 0);
  QDLCircle(s, 321, 241, 3, white, QDLDRAW_FILLED);
  QDLRectI16 panel{60, 60, 520, 230};
  QDLFillRect(s, &panel, 0, QDLDRAW_DARKEN);
  QDLRect(s, 60, 60, 579, 289, QDLSurfaceRGBToPixel(s, 250, 210, 40), 0);

  const uint32_t yellow = QDLSurfaceRGBToPixel(s, 250, 220, 60);
  const uint32_t textWhite = QDLSurfaceRGBToPixel(s, 255, 255, 255);
  const uint32_t aa = QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP;
  const QDLRectI16 box{80, 70, 480, 210};
  // Title centred in the large font, body justified in the small one.
  EXPECT_EQ(QDLPrintText(s, large, 0, 0, yellow, 0, QDLLAYOUT_PLAIN, aa, ""), 1003u);
  QDLTextSetStyle(aa);
  QDLTextSetColour(yellow);
  QDLTextSetLayout(QDLLAYOUT_CENTRED);
  EXPECT_EQ(QDLPrintfBox(s, large, 0, 0, &box, "Korvena Football %d", 1998), 0u);
  QDLTextSetColour(textWhite);
  QDLTextSetLayout(QDLLAYOUT_JUSTIFIED);
  EXPECT_EQ(QDLPrintfBox(s, small, 0, 40, &box, "%s",
                         "Eleven editions from 1958 to 1998: qualify with your team, "
                         "win the group and lift the trophy. Fran\xE7" "ais, Espa\xF1" "ol, Portugu\xEA" "s "
                         "and Deutsch texts need \xE7, \xF1, \xE3 and \xDF.\n\n"
                         "Press \x01\xFA\xDC\x3C" "Fire\x01\xFF\xFF\xFF to start the match."),
            0u);
  EXPECT_EQ(QDLPrintText(s, match, 80, 250, QDLSurfaceRGBToPixel(s, 120, 230, 255), 0, QDLLAYOUT_PLAIN, aa,
                         "ENG 2 - 1 GER  88:12"),
            0u);
  EXPECT_EQ(QDLPrintText(s, debug, 30, 450, QDLSurfaceRGBToPixel(s, 200, 200, 200), 0, QDLLAYOUT_PLAIN, aa,
                         "debug: 60 fps, 1234 polys"),
            0u);
  EXPECT_EQ(QDLPrintText(s, large, 620, 300, textWhite, 0, QDLLAYOUT_RIGHT_AT_CURSOR, aa, "Right \xA9 \x80 5"), 0u);

  // Sprites of the generated bank: a row of all eight, mirrored and clipped copies.
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(QDLBlit(s, &demo->frames[i], 80 + i * 64, 330, 0, nullptr), 0u) << i;
  EXPECT_EQ(QDLBlit(s, &demo->frames[7], 80, 380, QDLBLIT_MIRROR_X, nullptr), 0u);
  EXPECT_EQ(QDLBlit(s, &demo->frames[0], 624, 380, 0, nullptr), 0u);  // clipped at the right edge
  QDLBlitParams half{};
  half.level = 15;
  EXPECT_EQ(QDLBlit(s, &demo->frames[2], 150, 380, QDLBLIT_TRANSLUCENT, &half), 0u);

  // Text really landed: yellow pixels in the title row, the sprite's white.
  int yellowPixels = 0;
  for (int y = 70; y < 100; ++y)
    for (int x = 80; x < 560; ++x)
      if (reinterpret_cast<uint16_t*>(s->pixels + y * s->pitch)[x] == yellow) ++yellowPixels;
  EXPECT_GT(yellowPixels, 200);
  uint8_t r, g, b;
  QDLGetPixelRGB(s, 80 + 3 * 64 + 15, 330 + 10, &r, &g, &b);  // the shirt's white stripe
  EXPECT_GT(r, 200);
  EXPECT_GT(b, 200);

  // Capture the frame and read it back.
  const drawtest::TempDir dir("fonts_frame");
  const std::string out = dir.File("draw_frame.tga");
  ASSERT_EQ(QDLSurfaceSaveTGA(s, out.c_str(), nullptr), 0u);
  const auto bytes = drawtest::ReadFile(out);
  ASSERT_EQ(bytes.size(), 18u + 640u * 480u * 3u);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(drawtest::U16(bytes, 12), 640u);
  EXPECT_EQ(drawtest::U16(bytes, 14), 480u);
  QDLSurface* back = QDLImageLoadTGA(nullptr, out.c_str(), QDLIMAGE_MEMORY);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->width, 640);
  uint8_t r2, g2, b2;
  QDLGetPixelRGB(back, 80 + 3 * 64 + 15, 330 + 10, &r2, &g2, &b2);
  EXPECT_EQ(r2, r & 0xF8);
}

}  // namespace
