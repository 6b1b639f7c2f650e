#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_palette.h"
#include "display/qdl_text.h"

namespace {

constexpr int kW = 12, kH = 10, kSpaceW = 6;

struct TextTest : ::testing::Test {
  QDLSurface* s = nullptr;
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
    ASSERT_EQ(QDLTextSetup(0), 0u);
    s = QDLSurfaceCreate(240, 80, 16, QDLCREATE_MEMORY);
  }
  void TearDown() override {
    QDLTextShutdown();
    QDLSpriteBankFreeAll();
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
  }
  // A font of 16-bit raw glyphs: code c is kW x kH pixels of value
  // `value(c)` (default c itself), the space kSpaceW wide.
  static QDLFont* MakeFont(int frames, uint16_t (*value)(int) = nullptr) {
    const int rowBytes = 2 + kW * 2;
    QDLSpriteBank* b = QDLSpriteBankCreate(frames, static_cast<uint32_t>(frames * rowBytes * kH), 0);
    b->formatCode = QDLFORMAT_RGB16;
    b->sourceBytesPerPixel = 2;
    for (int c = 0; c < frames; ++c) {
      QDLFrame& f = b->frames[c];
      f.width = static_cast<int16_t>(c == ' ' ? kSpaceW : kW);
      f.height = kH;
      f.encoding = QDLENC_RAW;
      f.pixels = b->pixelData + c * rowBytes * kH;
      for (int y = 0; y < kH; ++y) {
        uint8_t* row = f.pixels + y * rowBytes;
        const int len = y == kH - 1 ? 0 : 2 + f.width * 2;
        row[0] = static_cast<uint8_t>(len);
        row[1] = 0;
        for (int x = 0; x < f.width; ++x) {
          const uint16_t v = value ? value(c) : static_cast<uint16_t>(c);
          row[2 + x * 2] = static_cast<uint8_t>(v);
          row[3 + x * 2] = static_cast<uint8_t>(v >> 8);
        }
      }
    }
    QDLFont* f = QDLFontCreate(b);
    f->flags |= QDLFONT_OWNS_BANK;
    return f;
  }
  uint16_t Px(int x, int y) const { return reinterpret_cast<uint16_t*>(s->pixels + y * s->pitch)[x]; }
  // Leftmost column of row y holding the glyph of code c, -1 when none.
  int Find(uint8_t c, int y) const {
    for (int x = 0; x < s->width; ++x)
      if (Px(x, y) == c) return x;
    return -1;
  }
  void Clear() { std::memset(s->pixels, 0, static_cast<size_t>(s->pitch) * s->height); }
};

TEST_F(TextTest, ResultCodes) {
  EXPECT_EQ(QDLPrint(s, nullptr, 0, 0, "A"), 1006u);          // no font at all
  EXPECT_EQ(QDLPrint(nullptr, nullptr, 0, 0, "A"), 1006u);    // the font is checked before the surface
  EXPECT_EQ(QDLPrint(s, nullptr, 0, 0, ""), 1003u);
  EXPECT_EQ(QDLPrint(s, nullptr, 0, 0, nullptr), 0u);
  QDLFont* f = MakeFont(128);
  EXPECT_EQ(QDLFontGetCurrent(), f);
  EXPECT_EQ(QDLPrint(nullptr, nullptr, 0, 0, "A"), 1007u);
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 8, 0, "A"), 1002u);
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, -1, 0, "A"), 1002u);
  EXPECT_EQ(QDLFontSetCurrent(nullptr), 1001u);
  EXPECT_EQ(QDLTextSetLayout(9), 1002u);
  std::string longText(5000, 'A');
  EXPECT_EQ(QDLPrintfDefault(s, f, 0, 0, "%s", longText.c_str()), 1005u);
  EXPECT_EQ(Find('A', 0), -1);  // nothing printed
  EXPECT_EQ(QDLPrintfDefault(s, f, 0, 0, "%d", 42), 0u);
  EXPECT_EQ(Find('4', 0), 0);
  QDLTextShutdown();
  EXPECT_EQ(QDLPrintf(s, nullptr, 0, 0, 0, 0, 0, 0, "x"), 1004u);
}

TEST_F(TextTest, PlainPrinterAdvancesTabsAndLineFeeds) {
  QDLFont* f = MakeFont(128);
  EXPECT_EQ(QDLPrint(s, f, 0, 0, "ABC"), 0u);
  EXPECT_EQ(Find('A', 0), 0);
  EXPECT_EQ(Find('B', 0), 11);  // 12 wide, spacing -1
  EXPECT_EQ(Find('C', 0), 22);
  Clear();
  EXPECT_EQ(QDLPrint(s, f, 0, 0, "A\tB"), 0u);
  EXPECT_EQ(Find('B', 0), 32);
  Clear();
  EXPECT_EQ(QDLPrint(s, f, 5, 3, "A\nB\x0b" "C"), 0u);
  EXPECT_EQ(Find('A', 3), 5);
  EXPECT_EQ(Find('B', 13), 0);  // x back to 0, y + the font height
  EXPECT_EQ(Find('C', 32), 11);  // vertical tab to the next multiple of 32
  const QDLPrintState* st = QDLPrintStateGet();
  EXPECT_EQ(st->lastCharWidth, kW);
}

TEST_F(TextTest, CodesPastTheFontAndControlBytesAtTheEnd) {
  QDLFont* f = MakeFont(100);
  EXPECT_EQ(QDLFontCharWidth(f, 200), 8);
  EXPECT_EQ(QDLPrint(s, f, 0, 0, "A\xC8" "B"), 0u);
  EXPECT_EQ(Find('B', 0), 11 + 7);  // the missing glyph advances 8 - 1
  // Control arguments cut short by the terminator: nothing is read past it.
  for (const char* tail : {"\x01", "\x01\x10", "\x01\x10\x20", "\x02\x05", "\x03"}) {
    const size_t n = 1 + std::strlen(tail) + 1;
    std::unique_ptr<char[]> text(new char[n]);
    text[0] = 'A';
    std::memcpy(text.get() + 1, tail, n - 1);
    EXPECT_EQ(QDLPrint(s, f, 0, 0, text.get()), 0u);
    EXPECT_EQ(QDLPrintText(s, f, 0, 20, 0, 0, QDLLAYOUT_LEFT, 0, text.get()), 0u);
  }
}

TEST_F(TextTest, ControlBytesChangeColourAndStyle) {
  QDLFont* f = MakeFont(128, [](int) -> uint16_t { return 0xF800; });
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0x1234, 0, 0, QDLSTYLE_SOLID, "A\x01\xFF\xFF\xFF" "B\x05" "C"), 0u);
  EXPECT_EQ(Px(0, 0), 0x1234);
  EXPECT_EQ(Px(11, 0), 0xFFFF);  // colour from the control bytes
  EXPECT_EQ(Px(22, 0), 0xF800);  // solid style switched off: the glyph's own pixels
  // Style bytes set, toggle and are carried in the state.
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, 0, "\x10\x0f\x18\x17" "A"), 0u);
  EXPECT_EQ(QDLPrintStateGet()->style, 0u);
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, 0, "\x16\x1c" "A"), 0u);
  EXPECT_EQ(QDLPrintStateGet()->style, 0x100u | 64u);
  // Alpha-map text: full coverage draws the colour itself.
  Clear();
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0x07E0, 0, 0, QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, "A"), 0u);
  EXPECT_EQ(Px(3, 3), 0x07E0);
}

TEST_F(TextTest, LayoutsPlaceTheLine) {
  QDLFont* f = MakeFont(128);
  // "AB CD": words of 23, the second costing 23 + 5 - 1; line width 50.
  struct Case { int32_t layout; int16_t x; int expectA; };
  const Case cases[] = {{1, 7, 0}, {2, 7, 7}, {3, 7, 100 - 50}, {4, 90, 40}, {5, 7, 25}, {6, 90, 65}};
  const QDLRectI16 box{0, 0, 100, 60};
  for (const Case& c : cases) {
    Clear();
    QDLTextSetLayout(c.layout);
    EXPECT_EQ(QDLPrintfBox(s, f, c.x, 0, &box, "AB CD"), 0u);
    EXPECT_EQ(Find('A', 0), c.expectA) << "layout " << c.layout;
    EXPECT_EQ(Find(' ', 0), c.expectA + 22) << "layout " << c.layout;  // one space glyph between words
    EXPECT_EQ(Find('C', 0), c.expectA + 27) << "layout " << c.layout;
    EXPECT_EQ(QDLPrintStateGet()->lineWidth, 50);
  }
  // The box moves the text and bounds its lines.
  Clear();
  QDLTextSetLayout(1);
  const QDLRectI16 moved{50, 20, 60, 40};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &moved, "AB CD EF"), 0u);
  EXPECT_EQ(Find('A', 20), 50);
  EXPECT_EQ(Find('E', 30), 50);  // the third word did not fit: next line
}

TEST_F(TextTest, JustifiedLines) {
  QDLFont* f = MakeFont(128);
  Clear();
  // Three words of 23 (glyph sum 69) in 79: 10 spare pixels, gaps of 6, no remainder.
  const QDLRectI16 box{0, 0, 79, 60};
  QDLTextSetLayout(QDLLAYOUT_JUSTIFIED);
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &box, "AB CD EF GH IJ"), 0u);
  EXPECT_EQ(Find('A', 0), 0);
  EXPECT_EQ(Find('C', 0), 28);
  EXPECT_EQ(Find('E', 0), 56);
  EXPECT_EQ(Find(' ', 0), -1);  // justified gaps draw no space glyph
  // The last line keeps gaps one space wide.
  EXPECT_EQ(Find('G', 10), 0);
  EXPECT_EQ(Find('I', 10), 22 + kSpaceW);
  // With a remainder the first gaps take one pixel more.
  Clear();
  const QDLRectI16 wider{0, 0, 80, 60};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &wider, "AB CD EF GH"), 0u);
  EXPECT_EQ(Find('C', 0), 22 + 6 + 1);
  EXPECT_EQ(Find('E', 0), 22 + 7 + 22 + 6);
}

TEST_F(TextTest, LongWordsParagraphsAndLineFeeds) {
  QDLFont* f = MakeFont(128);
  QDLTextSetLayout(QDLLAYOUT_LEFT);
  const QDLRectI16 box{0, 0, 50, 80};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &box, "AB ABCDEFGHIJ CD"), 0u);
  EXPECT_EQ(Find('A', 0), 0);
  EXPECT_EQ(Find('J', 10), 99);  // a word wider than the box overflows on its own line
  EXPECT_EQ(Find('C', 20), 0);
  Clear();
  const QDLRectI16 wide{0, 0, 200, 80};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &wide, "AB\nCD"), 0u);
  EXPECT_EQ(Find('C', 0), 27);  // a single line feed is a blank
  Clear();
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &wide, "AB\n\nCD"), 0u);
  EXPECT_EQ(Find('A', 0), 0);
  EXPECT_EQ(Find('C', 20), 0);  // a paragraph leaves one empty line
  Clear();
  // Empty paragraphs only move the text on; printing ends.
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &wide, "\n\n\n\n\n\nAB\n\n"), 0u);
  EXPECT_EQ(Find('A', 30), 0);
  // A layout byte outside 0..7 is ignored; control bytes take no width.
  Clear();
  const QDLRectI16 narrow{0, 0, 30, 80};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &narrow, "AB \x03\x08" "CD"), 0u);
  EXPECT_EQ(Find('C', 10), 0);
}

TEST_F(TextTest, Measures) {
  QDLFont* f = MakeFont(128);
  EXPECT_EQ(QDLFontCharWidth(f, 'A'), kW);
  EXPECT_EQ(QDLFontCharWidth(nullptr, 'A'), kW);  // the current font
  EXPECT_EQ(QDLFontCharWidth(f, 130), 8);
  EXPECT_EQ(QDLFontHeight(f), kH);
  const char* text = "AB CD";
  const char* stop = nullptr;
  EXPECT_EQ(QDLFontStringWidth(f, text, &stop), 23);
  EXPECT_EQ(stop, text + 2);
  EXPECT_EQ(QDLFontStringWidth(f, " x", nullptr), 0);
  EXPECT_EQ(QDLFontTextWidth(f, "AB"), 22);
  EXPECT_EQ(QDLFontTextWidth(f, ""), 0);
  // A font without a bank.
  QDLFont* empty = QDLFontCreate(nullptr);
  EXPECT_EQ(QDLFontCharWidth(empty, 'A'), 8);
  EXPECT_EQ(QDLFontHeight(empty), 0);
  EXPECT_EQ(empty->tabWidth, 32);
  EXPECT_EQ(empty->spacing, -1);
}

TEST_F(TextTest, FontsAndTheCurrentFont) {
  QDLFont* a = MakeFont(128);
  QDLFont* b = MakeFont(64);
  EXPECT_EQ(QDLFontGetCurrent(), a);
  EXPECT_EQ(QDLFontSetCurrent(b), 0u);
  EXPECT_EQ(QDLFontFree(b), 0u);
  EXPECT_EQ(QDLFontGetCurrent(), nullptr);  // freeing the current font clears it
  EXPECT_EQ(QDLPrint(s, nullptr, 0, 0, "A"), 1006u);
  QDLFont own{};
  EXPECT_EQ(QDLFontInit(&own, a->bank), 0u);
  EXPECT_EQ(QDLFontGetCurrent(), &own);
  EXPECT_EQ(QDLPrint(s, nullptr, 0, 0, "A"), 0u);
  EXPECT_EQ(QDLFontFree(&own), 0u);  // caller storage: only forgotten
  EXPECT_EQ(QDLFontFree(nullptr), 0u);
  EXPECT_EQ(QDLFontCreateFromSheet("no-such-sheet.bmp", 3, 0, 0), nullptr);
  // Defaults.
  QDLTextSetStyle(0x30);
  QDLTextSetStyleFlag(1);
  QDLTextSetStyleFlag16(0);
  EXPECT_EQ(QDLTextGetStyle(), 0x21u);
  QDLTextSetColour(5);
  QDLTextSetColour2(6);
  EXPECT_EQ(QDLTextGetColour(), 5u);
  EXPECT_EQ(QDLTextGetColour2(), 6u);
  EXPECT_EQ(QDLTextSetLayout(4), 0u);
  EXPECT_EQ(QDLTextGetLayout(), 4);
}

TEST_F(TextTest, ControlBytesInsideLaidOutText) {
  QDLFont* f = MakeFont(128);
  QDLTextSetLayout(QDLLAYOUT_LEFT);
  // A layout byte places the lines after the one it stands in; the running
  // line keeps its place.
  const QDLRectI16 box{0, 0, 60, 80};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &box, "AB\x03\x03 CD EF GH IJ"), 0u);
  EXPECT_EQ(Find('A', 0), 0);
  EXPECT_EQ(Find('C', 0), 27);
  EXPECT_EQ(Find('E', 10), 60 - 50);  // right-aligned from the second line on
  EXPECT_EQ(Find('I', 20), 60 - 23);
  EXPECT_EQ(QDLPrintStateGet()->layout, QDLLAYOUT_RIGHT);
  EXPECT_EQ(QDLTextGetLayout(), QDLLAYOUT_LEFT);  // every print starts from its own layout
  // Tabs and line feeds separate words like spaces; a vertical tab acts.
  Clear();
  const QDLRectI16 wide{0, 0, 200, 80};
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 0, &wide, "AB\tCD\nEF"), 0u);
  EXPECT_EQ(Find('C', 0), 27);
  EXPECT_EQ(Find('E', 0), 54);
  Clear();
  EXPECT_EQ(QDLPrintfBox(s, f, 0, 3, &wide, "AB\x0b" "CD"), 0u);
  EXPECT_EQ(Find('A', 3), 0);
  EXPECT_EQ(Find('C', 32), 22);
  // In plain text a layout byte changes nothing; a carriage return does nothing.
  Clear();
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, 0, "A\x03\x05\rB"), 0u);
  EXPECT_EQ(Find('B', 0), 11);
  // The second colour comes from RGB bytes like the first.
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, 0, "\x02\x10\x20\x30" "A"), 0u);
  EXPECT_EQ(QDLPrintStateGet()->colour2, QDLSurfaceRGBToPixel(s, 0x10, 0x20, 0x30));
  EXPECT_EQ(QDLPrintStateGet()->colour, 0u);
}

TEST_F(TextTest, MirroredAndTranslucentGlyphsDraw) {
  QDLFont* f = MakeFont(128, [](int) -> uint16_t { return 0xFFFF; });
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, QDLSTYLE_MIRROR_X | QDLSTYLE_MIRROR_Y, "A"), 0u);
  EXPECT_EQ(Px(0, 0), 0xFFFF);
  Clear();
  EXPECT_EQ(QDLPrintText(s, f, 0, 0, 0, 0, 0, QDLSTYLE_TRANSLUCENT, "A"), 0u);
  EXPECT_EQ(Px(2, 2), 0x7BEF);  // half of white over black
  // Glyphs off the surface are clipped.
  EXPECT_EQ(QDLPrint(s, f, 235, 75, "ABC"), 0u);
  EXPECT_EQ(QDLPrint(s, f, -30, -5, "ABC"), 0u);
}

}  // namespace
