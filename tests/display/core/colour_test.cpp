#include <gtest/gtest.h>

#include "display/qdl.h"

namespace {

// A straightforward model: pack 8-bit components into fields of given widths.
uint32_t Model(uint32_t r, uint32_t g, uint32_t b, int wr, int wg, int wb, int sr, int sg, int sb) {
  return ((r >> (8 - wr)) << sr) | ((g >> (8 - wg)) << sg) | ((b >> (8 - wb)) << sb);
}

TEST(Colour, RGBToPixelMatchesModelForEveryCode) {
  for (uint32_t r = 0; r < 256; r += 17)
    for (uint32_t g = 0; g < 256; g += 13)
      for (uint32_t b = 0; b < 256; b += 11) {
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB565, r, g, b), Model(r, g, b, 5, 6, 5, 11, 5, 0));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB15, r, g, b), Model(r, g, b, 5, 5, 5, 10, 5, 0));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB24, r, g, b), Model(r, g, b, 8, 8, 8, 16, 8, 0));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB32 | QDLFORMAT_ORDER_BGR, r, g, b),
                  Model(r, g, b, 8, 8, 8, 0, 8, 16));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB15 | QDLFORMAT_ORDER_RBG, r, g, b),
                  Model(r, g, b, 5, 5, 5, 10, 0, 5));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB16 | QDLFORMAT_ORDER_BRG, r, g, b),
                  Model(r, g, b, 5, 6, 5, 6, 0, 11));
        ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_INDEXED8, r, g, b), r);
      }
}

TEST(Colour, PixelToRGBInvertsPacking) {
  uint8_t r, g, b;
  EXPECT_EQ(QDLPixelToRGB(0xF81F, QDLFORMAT_RGB565, &r, &g, &b), 0u);
  EXPECT_EQ(r, 0xF8);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0xF8);
  EXPECT_EQ(QDLPixelToRGB(0x03E0, QDLFORMAT_RGB15, &r, &g, &b), 0u);
  EXPECT_EQ(g, 0xF8);
  EXPECT_EQ(QDLPixelToRGB(0x123456, QDLFORMAT_RGB24, &r, &g, &b), 0u);
  EXPECT_EQ(r, 0x12);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x56);
  EXPECT_EQ(QDLPixelToRGB(5, QDLFORMAT_INDEXED8, &r, &g, &b), 7u);
  // Round trip of every 16-bit pixel.
  for (uint32_t p = 0; p < 65536; ++p) {
    ASSERT_EQ(QDLPixelToRGB(p, QDLFORMAT_RGB565, &r, &g, &b), 0u);
    ASSERT_EQ(QDLRGBToPixel(QDLFORMAT_RGB565, r, g, b), p);
  }
}

TEST(Colour, FormatBitsPerPixel) {
  EXPECT_EQ(QDLFormatBitsPerPixel(1), 8u);
  EXPECT_EQ(QDLFormatBitsPerPixel(2), 16u);
  EXPECT_EQ(QDLFormatBitsPerPixel(0x42), 16u);
  EXPECT_EQ(QDLFormatBitsPerPixel(4), 16u);
  EXPECT_EQ(QDLFormatBitsPerPixel(8), 24u);
  EXPECT_EQ(QDLFormatBitsPerPixel(16 | 0x500), 32u);
  EXPECT_EQ(QDLFormatBitsPerPixel(3), 0u);
  EXPECT_EQ(QDLFormatBitsPerPixel(0), 0u);
}

TEST(Colour, GeneratorAndDitherFirstOutputs) {
  QDLRandomSeed(9431459u);
  // seed = seed * 1103515245 + 12345, result (seed >> 16) & 0x7FFF.
  uint32_t seed = 9431459u;
  for (int i = 0; i < 5; ++i) {
    seed = seed * 1103515245u + 12345u;
    ASSERT_EQ(QDLRandom(), (seed >> 16) & 0x7FFFu);
  }
  QDLRandomSeed(9431459u);
  uint32_t first = QDLRandom();
  EXPECT_EQ(first, ((9431459u * 1103515245u + 12345u) >> 16) & 0x7FFFu);
  // Dither: the same draw applied to a mid grey.
  QDLRandomSeed(9431459u);
  uint32_t px = QDLRGBToPixelDither(QDLFORMAT_RGB565, 128, 128, 128);
  int dr = static_cast<int>(first & 15) - 8, dg = static_cast<int>((first >> 4) & 15) - 8,
      db = static_cast<int>((first >> 8) & 15) - 8;
  uint32_t expect = ((static_cast<uint32_t>(128 + dr) >> 3) << 11) |
                    ((static_cast<uint32_t>(128 + dg) >> 3) << 6) |
                    (static_cast<uint32_t>(128 + db) >> 3);
  EXPECT_EQ(px, expect);
  // Green keeps only 5 significant bits in 5-6-5: bit 5 is always clear.
  QDLRandomSeed(1);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(QDLRGBToPixelDither(QDLFORMAT_RGB565, 0, 255, 0) & 0x20, 0u);
  // Clamping at both ends.
  QDLRandomSeed(2);
  for (int i = 0; i < 200; ++i) {
    uint32_t v = QDLRGBToPixelDither(QDLFORMAT_RGB15, 255, 0, 255);
    ASSERT_GE((v >> 10) & 31, 30u);
    ASSERT_GE(v & 31, 30u);
    ASSERT_LE((v >> 5) & 31, 1u);
  }
  // Deep formats and indexed codes are not dithered and draw nothing.
  QDLRandomSeed(9431459u);
  EXPECT_EQ(QDLRGBToPixelDither(QDLFORMAT_RGB32, 1, 2, 3), 0x010203u);
  EXPECT_EQ(QDLRGBToPixelDither(QDLFORMAT_INDEXED8, 9, 2, 3), 9u);
  EXPECT_EQ(QDLRandom(), first);
}

TEST(Colour, GeneratorFirstValuesAndDitherAgainstAModel) {
  // The generator from its start value: the first values it gives.
  QDLRandomSeed(9431459u);
  EXPECT_EQ(QDLRandom(), 11656u);
  EXPECT_EQ(QDLRandom(), 148u);
  EXPECT_EQ(QDLRandom(), 20719u);
  EXPECT_EQ(QDLRandom(), 18605u);
  // Mid grey dithered into 5-6-5 by the first three draws.
  QDLRandomSeed(9431459u);
  EXPECT_EQ(QDLRGBToPixelDither(QDLFORMAT_RGB565, 128, 128, 128), 0x8410u);
  EXPECT_EQ(QDLRGBToPixelDither(QDLFORMAT_RGB565, 128, 128, 128), 0x7C0Fu);
  EXPECT_EQ(QDLRGBToPixelDither(QDLFORMAT_RGB565, 128, 128, 128), 0x840Fu);
  // Every draw against a model of its own generator and of the dither: noise
  // from bits 0-3, 4-7 and 8-11, clamped, top five bits kept, then packed.
  uint32_t seed = 12345u;
  QDLRandomSeed(seed);
  auto top5 = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)) >> 3; };
  for (int i = 0; i < 3000; ++i) {
    int r = (i * 37) & 255, g = (i * 101 + 7) & 255, b = (i * 53 + 200) & 255;
    bool is565 = (i & 1) != 0;
    seed = seed * 1103515245u + 12345u;
    uint32_t n = (seed >> 16) & 0x7FFFu;
    uint32_t rr = top5(r + static_cast<int>(n & 15) - 8);
    uint32_t gg = top5(g + static_cast<int>((n >> 4) & 15) - 8);
    uint32_t bb = top5(b + static_cast<int>((n >> 8) & 15) - 8);
    uint32_t expect = is565 ? (rr << 11) | (gg << 6) | bb : (rr << 10) | (gg << 5) | bb;
    ASSERT_EQ(QDLRGBToPixelDither(is565 ? QDLFORMAT_RGB565 : QDLFORMAT_RGB15, static_cast<uint8_t>(r),
                                  static_cast<uint8_t>(g), static_cast<uint8_t>(b)),
              expect)
        << "draw " << i;
  }
}

}  // namespace
