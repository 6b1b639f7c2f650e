#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "art/art_image.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "draw_test_util.h"

namespace {

using art::Image;
using art::Rgb;

constexpr uint32_t kRGB32 = QDLFORMAT_RGB32;  // the sheets' own format: pixels are stored unchanged
constexpr Rgb kRed{200, 0, 0}, kGreen{0, 180, 0}, kBlue{0, 0, 250}, kWhite{255, 255, 255};

struct SheetTest : ::testing::Test {
  drawtest::TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
    QDLSheetResetBackgroundColour();
    QDLSheetResetSeparatorColour();
  }
  void TearDown() override {
    QDLSpriteBankFreeAll();
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
  }
  std::string Save(const Image& img, const std::string& name) {
    const std::string path = dir.File(name);
    if (name.size() > 3 && (name.substr(name.size() - 3) == "tga" || name.substr(name.size() - 3) == "TGA"))
      EXPECT_TRUE(art::WriteTGA24(img, path));
    else
      EXPECT_TRUE(art::WriteBMP24(img, path));
    return path;
  }
  QDLSpriteBank* Cut(const std::string& path, uint32_t flags, int32_t cw = 0, int32_t ch = 0,
                     uint32_t format = kRGB32, const QDLSheetPosition* table = nullptr) {
    const QDLSheetDesc list[2] = {{path.c_str(), flags, cw, ch, table}, {nullptr, 0, 0, 0, nullptr}};
    return QDLSpriteBankFromSheets(list, format);
  }
  // The frame as the colours of the sheet (-1 transparent), for format 32.
  static std::vector<int64_t> Expect(const Image& img, int x, int y, int w, int h) {
    std::vector<int64_t> v;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const Rgb c = img.Get(x + i, y + j);
        if (c == art::kMagenta || c == art::kCyan) v.push_back(-1);
        else v.push_back((c.r << 16) | (c.g << 8) | c.b);
      }
    return v;
  }
};

TEST_F(SheetTest, GridCutsWholeCellsOnly) {
  Image img(100, 40, art::kMagenta);
  img.Fill(3, 3, 5, 5, kRed);
  img.Fill(70, 25, 10, 4, kBlue);
  QDLSpriteBank* b = Cut(Save(img, "grid.bmp"), QDLSHEET_MODE_GRID, 32, 20);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 6);
  EXPECT_EQ(b->creationFlags, QDLBANK_FROM_SHEETS);
  EXPECT_EQ(b->formatCode, kRGB32);
  EXPECT_EQ(b->sourceBytesPerPixel, 4u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(b->frames[i].width, 32);
    EXPECT_EQ(b->frames[i].height, 20);
    EXPECT_EQ(b->frames[i].bank, b);
  }
  EXPECT_EQ(b->frames[0].encoding, QDLENC_RLE_FILL);  // one colour
  EXPECT_EQ(b->frames[1].encoding, QDLENC_NONE);      // all transparent
  EXPECT_EQ(b->frames[5].encoding, QDLENC_RLE_FILL);
  EXPECT_EQ(drawtest::Decode(b->frames[0], 4), Expect(img, 0, 0, 32, 20));
  EXPECT_EQ(drawtest::Decode(b->frames[5], 4), Expect(img, 64, 20, 32, 20));
}

TEST_F(SheetTest, EncodingFollowsTheColours) {
  Image img(30, 10, art::kMagenta);
  img.Fill(0, 0, 10, 10, kRed);  // one colour, opaque: fill runs
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) img.Set(x, y, (x + y) & 1 ? kGreen : kBlue);  // two colours, opaque: raw
  img.Fill(20, 0, 10, 10, kWhite);
  img.Set(25, 5, art::kMagenta);
  img.Set(22, 2, kGreen);  // two colours with a hole: literal runs
  const std::string path = Save(img, "enc.bmp");
  QDLSpriteBank* b = Cut(path, QDLSHEET_MODE_GRID, 10, 10);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 3);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_RLE_FILL);
  EXPECT_EQ(b->frames[1].encoding, QDLENC_RAW);
  EXPECT_EQ(b->frames[2].encoding, QDLENC_RLE);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(drawtest::Decode(b->frames[i], 4), Expect(img, i * 10, 0, 10, 10)) << i;
  // Flag 0x8000 stores every frame as raw rows, even a transparent one.
  Image empty(10, 10, art::kMagenta);
  QDLSpriteBank* r = Cut(Save(empty, "empty.bmp"), QDLSHEET_MODE_WHOLE | QDLSHEET_RAW);
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->frameCount, 1);
  EXPECT_EQ(r->frames[0].encoding, QDLENC_RAW);
  QDLSpriteBank* n = Cut(Save(empty, "empty2.bmp"), QDLSHEET_MODE_WHOLE);
  EXPECT_EQ(n->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(n->frames[0].width, 10);
  EXPECT_EQ(n->pixelData, nullptr);
}

TEST_F(SheetTest, RowsAreEvenAndTheLastRowHasLengthZero) {
  Image img(7, 5, art::kMagenta);
  img.Fill(0, 0, 7, 5, kRed);
  img.Set(3, 2, kBlue);
  img.Fill(5, 4, 2, 1, art::kMagenta);
  QDLSpriteBank* b = Cut(Save(img, "rows.bmp"), QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_RGB24);
  ASSERT_NE(b, nullptr);
  const QDLFrame& f = b->frames[0];
  ASSERT_EQ(f.encoding, QDLENC_RLE);
  const uint8_t* row = f.pixels;
  for (int y = 0; y < f.height; ++y) {
    const uint32_t len = static_cast<uint32_t>(row[0] | (row[1] << 8));
    if (y == f.height - 1) {
      EXPECT_EQ(len, 0u);
    } else {
      EXPECT_EQ(len % 2, 0u);
      row += len;
    }
  }
  EXPECT_EQ(QDLFrameDataSize(&f, 3, b->pixelDataSize), b->pixelDataSize);
}

TEST_F(SheetTest, MarkerColoursDefaultSetAndReset) {
  Image img(20, 10, art::kMagenta);
  img.Fill(0, 0, 10, 10, art::kCyan);  // separator: transparent
  img.Fill(10, 0, 10, 10, Rgb{10, 20, 30});
  const std::string path = Save(img, "markers.bmp");
  QDLSpriteBank* a = Cut(path, QDLSHEET_MODE_GRID, 10, 10);
  EXPECT_EQ(a->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(a->frames[1].encoding, QDLENC_RLE_FILL);
  // Another background: magenta becomes opaque, the new colour transparent.
  QDLSheetSetBackgroundColour(10, 20, 30);
  QDLSpriteBank* b = Cut(path, QDLSHEET_MODE_GRID, 10, 10);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(b->frames[1].encoding, QDLENC_NONE);
  QDLSheetSetSeparatorColour(1, 2, 3);
  QDLSpriteBank* c = Cut(path, QDLSHEET_MODE_GRID, 10, 10);
  EXPECT_EQ(c->frames[0].encoding, QDLENC_RLE_FILL);  // cyan is an ordinary colour now
  QDLSheetResetBackgroundColour();
  QDLSheetResetSeparatorColour();
  QDLSpriteBank* d = Cut(path, QDLSHEET_MODE_GRID, 10, 10);
  EXPECT_EQ(d->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(d->frames[1].encoding, QDLENC_RLE_FILL);
}

TEST_F(SheetTest, StripsKeepTheGlyphHeightAndSkipBlankColumns) {
  // Two strips between marker rows 0, 8 and 15; glyph frames marked by
  // separator pixels at their top and bottom rows.
  Image img(40, 16, art::kMagenta);
  for (int y : {0, 8, 15}) img.Fill(0, y, 40, 1, art::kCyan);
  img.Fill(2, 1, 4, 1, art::kCyan);
  img.Fill(2, 7, 4, 1, art::kCyan);
  img.Fill(3, 3, 2, 2, kRed);
  img.Fill(8, 1, 3, 1, art::kCyan);  // a blank with a width
  img.Fill(8, 7, 3, 1, art::kCyan);
  img.Fill(36, 10, 4, 2, kBlue);     // reaches the right edge
  img.Fill(12, 4, 3, 1, kGreen);     // no separators: trimmed to its ink
  QDLSpriteBank* b = Cut(Save(img, "strips.bmp"), QDLSHEET_MODE_STRIPS);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 4);
  EXPECT_EQ(b->frames[0].width, 4);
  EXPECT_EQ(b->frames[0].height, 7);
  EXPECT_EQ(drawtest::Decode(b->frames[0], 4), Expect(img, 2, 1, 4, 7));
  EXPECT_EQ(b->frames[1].width, 3);
  EXPECT_EQ(b->frames[1].height, 7);
  EXPECT_EQ(b->frames[1].encoding, QDLENC_NONE);
  EXPECT_EQ(b->frames[2].width, 3);
  EXPECT_EQ(b->frames[2].height, 1);
  EXPECT_EQ(b->frames[3].width, 4);
  EXPECT_EQ(b->frames[3].height, 2);
  EXPECT_EQ(drawtest::Decode(b->frames[3], 4), Expect(img, 36, 10, 4, 2));
}

TEST_F(SheetTest, RowsModeNeedsAnEmptyColumnAndRowAfterAFrame) {
  Image img(30, 12, art::kMagenta);
  img.Fill(0, 8, 20, 1, art::kCyan);  // marker row; the strip is 20 wide
  img.Fill(2, 2, 3, 3, kRed);
  img.Fill(8, 1, 2, 7, kBlue);        // touches the strip's bottom: not cut
  img.Fill(12, 3, 4, 2, kGreen);
  QDLSpriteBank* b = Cut(Save(img, "rows.bmp"), QDLSHEET_MODE_ROWS);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 2);
  EXPECT_EQ(drawtest::Decode(b->frames[0], 4), Expect(img, 2, 2, 3, 3));
  EXPECT_EQ(drawtest::Decode(b->frames[1], 4), Expect(img, 12, 3, 4, 2));
}

TEST_F(SheetTest, BoxesAndWholeImages) {
  Image img(30, 20, art::kMagenta);
  img.Fill(1, 1, 10, 1, art::kCyan);
  img.Fill(1, 1, 1, 8, art::kCyan);
  img.Fill(3, 3, 4, 4, kGreen);
  img.Fill(14, 2, 6, 1, art::kCyan);
  img.Fill(14, 2, 1, 5, art::kCyan);
  img.Fill(15, 3, 5, 4, kRed);
  QDLSpriteBank* b = Cut(Save(img, "boxes.bmp"), QDLSHEET_MODE_BOXES);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 2);
  EXPECT_EQ(b->frames[0].width, 9);
  EXPECT_EQ(b->frames[0].height, 7);
  EXPECT_EQ(drawtest::Decode(b->frames[0], 4), Expect(img, 2, 2, 9, 7));
  EXPECT_EQ(b->frames[1].width, 5);
  EXPECT_EQ(b->frames[1].height, 4);
  QDLSpriteBank* w = Cut(Save(img, "whole.TGA"), QDLSHEET_MODE_WHOLE);  // "TGA" in any case
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->frameCount, 1);
  EXPECT_EQ(drawtest::Decode(w->frames[0], 4), Expect(img, 0, 0, 30, 20));
}

TEST_F(SheetTest, TableEntriesKeepTheirIndexAndValue) {
  Image img(64, 32, art::kMagenta);
  img.Fill(10, 5, 8, 8, kRed);
  img.Fill(30, 20, 8, 8, kBlue);
  QDLSheetPosition table[QDLSHEET_POSITIONS] = {};
  table[1] = {10, 5, 0, -7};
  table[2] = {30, 20, 0, 42};
  QDLSpriteBank* b = Cut(Save(img, "table.bmp"), QDLSHEET_MODE_TABLE, 8, 8, kRGB32, table);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 128);
  ASSERT_NE(b->valueTable, nullptr);
  EXPECT_EQ(b->frames[0].width, 0);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(b->frames[1].encoding, QDLENC_RLE_FILL);
  EXPECT_EQ(b->valueTable[1], -7);
  EXPECT_EQ(b->valueTable[2], 42);
  EXPECT_EQ(b->valueTable[3], 0);
  EXPECT_EQ(drawtest::Decode(b->frames[2], 4), Expect(img, 30, 20, 8, 8));
  // No table, no frames.
  QDLSpriteBank* none = Cut(dir.File("table.bmp"), QDLSHEET_MODE_TABLE, 8, 8);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->frameCount, 0);
}

TEST_F(SheetTest, RunsStopAt127AndTrailingTransparencyIsTheTerminator) {
  Image img(300, 3, art::kMagenta);
  img.Fill(0, 0, 300, 1, kRed);       // one long opaque run
  img.Fill(0, 1, 10, 1, kRed);        // 10 opaque, then 290 transparent
  img.Fill(150, 2, 2, 1, kBlue);      // 150 transparent, 2 opaque, 148 transparent
  QDLSpriteBank* b = Cut(Save(img, "runs.bmp"), QDLSHEET_MODE_WHOLE);
  ASSERT_NE(b, nullptr);
  const QDLFrame& f = b->frames[0];
  ASSERT_EQ(f.encoding, QDLENC_RLE);
  EXPECT_EQ(drawtest::Decode(f, 4), Expect(img, 0, 0, 300, 3));
  // Row 0: 127 + 127 + 46 red pixels, then the terminator.
  const uint8_t* row = f.pixels;
  uint32_t len = static_cast<uint32_t>(row[0] | (row[1] << 8));
  EXPECT_EQ(len, 2u + 127 * 4 + 1 + 127 * 4 + 1 + 46 * 4 + 1 + 1);
  EXPECT_EQ(row[2], 127);
  EXPECT_EQ(row[3 + 127 * 4], 127);
  EXPECT_EQ(row[4 + 254 * 4], 46);
  EXPECT_EQ(row[5 + 300 * 4], 0);
  // Row 1: 10 pixels and 0 in place of the long skip.
  row += len;
  len = static_cast<uint32_t>(row[0] | (row[1] << 8));
  EXPECT_EQ(len, 2u + 1 + 10 * 4 + 1);
  EXPECT_EQ(row[2], 10);
  EXPECT_EQ(row[3 + 40], 0);
  // Row 2 (the last, length 0): skips of at most 127, 2 pixels, terminator.
  row += len;
  EXPECT_EQ(row[0] | (row[1] << 8), 0);
  EXPECT_EQ(static_cast<int8_t>(row[2]), -127);
  EXPECT_EQ(static_cast<int8_t>(row[3]), -23);
  EXPECT_EQ(row[4], 2);
  EXPECT_EQ(row[5 + 8], 0);
  EXPECT_EQ(QDLFrameDataSize(&f, 4, b->pixelDataSize), b->pixelDataSize);
}

TEST_F(SheetTest, IndexedTargetsDropFramesOf256ColoursOrMore) {
  // Distinct sheet colours are counted; none of these is a marker in an
  // indexed target (red 0 or 255).
  Image many(16, 16, kRed);
  for (int i = 0; i < 256; ++i)
    many.Set(i % 16, i / 16, Rgb{static_cast<uint8_t>(1 + i % 200), static_cast<uint8_t>(1 + i / 200), 9});
  Image fewer = many;
  fewer.Set(15, 15, many.Get(0, 0));  // 255 colours
  QDLSpriteBank* a = Cut(Save(many, "many.bmp"), QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_INDEXED8);
  QDLSpriteBank* b = Cut(Save(fewer, "fewer.bmp"), QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_INDEXED8);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->frameCount, 1);
  EXPECT_EQ(a->frames[0].encoding, QDLENC_NONE);
  EXPECT_EQ(a->frames[0].width, 16);
  ASSERT_EQ(b->frameCount, 1);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_RAW);
  // A deeper target keeps every colour.
  QDLSpriteBank* c = Cut(dir.File("many.bmp"), QDLSHEET_MODE_WHOLE);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->frames[0].encoding, QDLENC_RAW);
}

TEST_F(SheetTest, WorkBankLimitsAreKept) {
  Image img(40, 30, kRed);  // 1200 cells of one pixel
  QDLSpriteBank* b = Cut(Save(img, "many.bmp"), QDLSHEET_MODE_GRID, 1, 1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->frameCount, static_cast<int32_t>(QDLSHEET_MAX_FRAMES));
  // Two sheets in one list share the limit.
  const std::string path = dir.File("many.bmp");
  const QDLSheetDesc list[3] = {{path.c_str(), QDLSHEET_MODE_GRID, 2, 2, nullptr},
                                {path.c_str(), QDLSHEET_MODE_GRID, 2, 2, nullptr},
                                {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* two = QDLSpriteBankFromSheets(list, kRGB32);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->frameCount, 600);
}

TEST_F(SheetTest, MissingSheetsArePassedOverAndModesOutsideMakeNoFrames) {
  Image img(10, 10, kRed);
  const std::string path = Save(img, "one.bmp");
  const std::string missing = dir.File("missing.bmp");
  const QDLSheetDesc list[4] = {{missing.c_str(), QDLSHEET_MODE_WHOLE, 0, 0, nullptr},
                                {path.c_str(), 0, 0, 0, nullptr},
                                {path.c_str(), QDLSHEET_MODE_WHOLE, 0, 0, nullptr},
                                {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* b = QDLSpriteBankFromSheets(list, kRGB32);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->frameCount, 1);
  // Format 0 without a display has no format to build for.
  EXPECT_EQ(QDLSpriteBankFromSheets(list, 0), nullptr);
  EXPECT_TRUE(QDLSheetIsTGA("a\\b\\Sheet.Tga"));
  EXPECT_FALSE(QDLSheetIsTGA("tga\\sheet.bmp"));
  EXPECT_FALSE(QDLSheetIsTGA("sheet.tgax"));
}

TEST_F(SheetTest, SixteenBitTargetsAreDitheredFromTheSheetColours) {
  Image img(16, 4, art::kMagenta);
  img.Fill(0, 0, 16, 2, Rgb{128, 64, 200});
  img.Fill(0, 2, 8, 2, Rgb{40, 220, 90});
  QDLSpriteBank* b = Cut(Save(img, "dither.bmp"), QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_RGB565);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->formatCode, 2u);  // the 6-bit and order bits are dropped
  EXPECT_EQ(b->sourceBytesPerPixel, 2u);
  const auto px = drawtest::Decode(b->frames[0], 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) {
      const Rgb c = img.Get(x, y);
      const int64_t v = px[static_cast<size_t>(y * 16 + x)];
      if (c == art::kMagenta) {
        EXPECT_EQ(v, -1);
        continue;
      }
      // Dither moves each component by less than 8 before it is cut to 5 bits.
      EXPECT_LE(std::abs(static_cast<int>((v >> 11) & 31) - c.r / 8), 1);
      EXPECT_LE(std::abs(static_cast<int>((v >> 6) & 31) - c.g / 8), 1);
      EXPECT_LE(std::abs(static_cast<int>(v & 31) - c.b / 8), 1);
    }
}

// An 8-bit BMP with a palette: index 0 magenta, 1 cyan, 2 red, 3 green.
std::vector<uint8_t> PalettedBmp(int w, int h, const std::vector<uint8_t>& indices) {
  const int stride = (w + 3) & ~3;
  std::vector<uint8_t> v;
  auto u16 = [&](uint32_t x) { v.push_back(static_cast<uint8_t>(x)); v.push_back(static_cast<uint8_t>(x >> 8)); };
  auto u32 = [&](uint32_t x) { u16(x & 0xFFFF); u16(x >> 16); };
  const uint32_t offset = 14 + 40 + 256 * 4;
  u16(0x4D42); u32(offset + static_cast<uint32_t>(stride * h)); u16(0); u16(0); u32(offset);
  u32(40); u32(static_cast<uint32_t>(w)); u32(static_cast<uint32_t>(h)); u16(1); u16(8); u32(0);
  u32(static_cast<uint32_t>(stride * h)); u32(0); u32(0); u32(256); u32(0);
  const uint8_t pal[4][3] = {{255, 0, 255}, {0, 255, 255}, {200, 0, 0}, {0, 180, 0}};
  for (int i = 0; i < 256; ++i) {
    const uint8_t* c = i < 4 ? pal[i] : pal[0];
    v.push_back(i < 4 ? c[2] : static_cast<uint8_t>(i));
    v.push_back(i < 4 ? c[1] : static_cast<uint8_t>(i));
    v.push_back(i < 4 ? c[0] : static_cast<uint8_t>(i));
    v.push_back(0);
  }
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) v.push_back(indices[static_cast<size_t>(y * w + x)]);
    for (int x = w; x < stride; ++x) v.push_back(0);
  }
  return v;
}

TEST_F(SheetTest, PalettedSheetsKeepIndicesAndGiveTheBankAPalette) {
  std::vector<uint8_t> idx(6 * 4, 0);
  idx[1] = 2;
  idx[2] = 3;
  idx[7] = 1;
  idx[8] = 2;
  const std::string path = dir.File("pal.bmp");
  drawtest::WriteFile(path, PalettedBmp(6, 4, idx));
  QDLSpriteBank* b = Cut(path, QDLSHEET_PALETTED | QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_INDEXED8);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 1);
  ASSERT_NE(b->palette, nullptr);
  EXPECT_EQ(b->ownsPalette, 1u);
  EXPECT_EQ(b->palette->entries[2].red, 200);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_RLE);
  const auto px = drawtest::Decode(b->frames[0], 1);
  EXPECT_EQ(px[0], -1);
  EXPECT_EQ(px[1], 2);
  EXPECT_EQ(px[2], 3);
  EXPECT_EQ(px[7], -1);  // the separator index is transparent
  EXPECT_EQ(px[8], 2);
  // Converted to 32 bits the indices take the palette's colours.
  QDLSpriteBank* c = QDLSpriteBankConvert(b, kRGB32, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->frames[0].encoding, QDLENC_RLE);
  const auto cx = drawtest::Decode(c->frames[0], 4);
  EXPECT_EQ(cx[1], 200 << 16);
  EXPECT_EQ(cx[2], 180 << 8);
  EXPECT_EQ(cx[0], -1);
}

TEST_F(SheetTest, PalettedSheetsReducedTo32Colours) {
  std::vector<uint8_t> idx(4 * 2, 0);
  idx[1] = 16;   // grey 16 in the file's palette
  idx[2] = 200;  // grey 200
  idx[5] = 17;   // shares entry 2 once reduced
  const std::string path = dir.File("pal32.bmp");
  drawtest::WriteFile(path, PalettedBmp(4, 2, idx));
  QDLSpriteBank* b =
      Cut(path, QDLSHEET_PALETTED | QDLSHEET_32_COLOURS | QDLSHEET_MODE_WHOLE, 0, 0, QDLFORMAT_INDEXED8);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(b->palette, nullptr);
  // Entry i takes entry 8 i; every index is shifted right by 3.
  EXPECT_EQ(b->palette->entries[2].red, 16);
  EXPECT_EQ(b->palette->entries[25].red, 200);
  const auto px = drawtest::Decode(b->frames[0], 1);
  EXPECT_EQ(px[0], -1);
  EXPECT_EQ(px[1], 2);
  EXPECT_EQ(px[2], 25);
  EXPECT_EQ(px[5], 2);
}

}  // namespace
