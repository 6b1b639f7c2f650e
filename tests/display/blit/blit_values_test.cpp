// Worked values of the kernels: halving chains, 50%, alpha coverage, colour
// key, solid colour, pattern counters and the walk's clip and wrap cases.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "blit_test_util.h"

using namespace blittest;

namespace {

// A frame whose colour table holds 0x1000 + i.
struct TestFrame : RowFrame {
  TestFrame(int srcBytes, uint32_t formatCode, int16_t width, int encoding,
            const std::vector<std::vector<uint8_t>>& rows)
      : RowFrame(srcBytes, formatCode, width, encoding, rows, 0x1000) {}
};

std::vector<uint8_t> Px16(std::initializer_list<uint16_t> px) {
  std::vector<uint8_t> out;
  for (uint16_t p : px) {
    out.push_back(static_cast<uint8_t>(p));
    out.push_back(static_cast<uint8_t>(p >> 8));
  }
  return out;
}

std::mt19937& Rng() {
  static std::mt19937 rng(99);
  return rng;
}

// One 16-bit pixel S drawn over D with the given mode, from an indexed frame
// (S through the colour table) or a 16-bit frame, raw or as a fill run.
uint16_t Blend1(bool indexed, int encoding, uint32_t mode, uint16_t level, uint16_t s, uint16_t d,
                uint16_t formatCode = 0x42, uint32_t colour = 0) {
  std::vector<uint8_t> body;
  if (encoding == QDLENC_RAW) {
    body = indexed ? std::vector<uint8_t>{7} : Px16({s});
  } else {
    body = {1};
    if (indexed) {
      body.push_back(7);
    } else {
      auto p = Px16({s});
      body.insert(body.end(), p.begin(), p.end());
    }
    body.push_back(0);
  }
  TestFrame f(indexed ? 1 : 2, indexed ? 1 : formatCode, 1, encoding, {body});
  f.table[7] = s;
  TestSurface surf(3, 1, 2, formatCode, Rng());
  surf.set(1, 0, d);
  QDLBlitParams p{};
  p.level = level;
  p.colour = colour;
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, mode, &p), 0u);
  return static_cast<uint16_t>(surf.get(1, 0));
}

}  // namespace

TEST(BlitValues, TranslucentHalvingChains) {
  struct Row {
    uint16_t level;
    uint16_t whiteOverBlack;
    uint16_t blackOverWhite;
  };
  const Row rows[] = {{0, 0x0000, 0xF7BE},  {1, 0x0841, 0xEF7D},  {8, 0x4208, 0xB5B6},
                      {16, 0x7BEF, 0x7BCF}, {24, 0xBDF7, 0x39C7}, {30, 0xEF7D, 0x0841}};
  for (bool indexed : {true, false}) {
    for (int enc : {QDLENC_RAW, QDLENC_RLE_FILL}) {
      for (const Row& r : rows) {
        EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, r.level, 0xFFFF, 0x0000), r.whiteOverBlack)
            << r.level;
        EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, r.level, 0x0000, 0xFFFF), r.blackOverWhite)
            << r.level;
      }
    }
    // Level 31: raw rows and literal runs copy; fill runs blend (every field loses ceil(f/32)).
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 31, 0xFFFF, 0x0000), 0xFFFF);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 31, 0x0000, 0xFFFF), 0x0000);
    EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_TRANSLUCENT, 31, 0xFFFF, 0x0000), 0xF7BE);
    EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_TRANSLUCENT, 31, 0xFFFF, 0x1234), 0xF7BE);
    // Above 31: the low five bits only, never the copy.
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 63, 0xFFFF, 0x0000), 0xF7BE);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 32, 0x0000, 0xFFFF), 0xF7BE);
    // Level 16: black over white gives fields 15, 30, 15; white over black 15, 31, 15.
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 16, 0x0000, 0xFFFF),
              (15 << 11) | (30 << 5) | 15);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 16, 0xFFFF, 0x0000),
              (15 << 11) | (31 << 5) | 15);
    // Equal source and destination: c - ceil(c/32) per field at any level.
    for (uint16_t level : {0, 5, 16, 30}) {
      EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, level, 0xFFFF, 0xFFFF), 0xF7BE);
    }
    // RGB555: bit 15 of a blended pixel is always clear.
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 0, 0x0000, 0x8000, 4) & 0x8000, 0);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_TRANSLUCENT, 31, 0x8000, 0x0000, 4), 0x8000);
  }
}

TEST(BlitValues, FiftyPercent) {
  struct Row {
    uint16_t s, d, result;
  };
  const Row rows[] = {{0xFFFF, 0x0000, 0x7BEF}, {0x0000, 0xFFFF, 0x7BEF}, {0xFFFF, 0xFFFF, 0xF7DE},
                      {0xF800, 0x001F, 0x780F}, {0x0841, 0x0841, 0x0040}, {0x0001, 0x0001, 0x0000}};
  for (bool indexed : {true, false}) {
    for (int enc : {QDLENC_RAW, QDLENC_RLE_FILL}) {
      for (const Row& r : rows) {
        EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, 15, r.s, r.d), r.result);
      }
      // RGB555: white over black gives 15, 15, 15; white over white 0x7BDE; bit 15 cleared.
      EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, 15, 0x7FFF, 0x0000, 4), 0x3DEF);
      EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, 15, 0x7FFF, 0x7FFF, 4), 0x7BDE);
      EXPECT_EQ(Blend1(indexed, enc, QDLBLIT_TRANSLUCENT, 15, 0x0000, 0xFFFF, 4) & 0x8000, 0);
    }
  }
}

TEST(BlitValues, AlphaCoverage) {
  struct Row {
    uint16_t coverage, raw, fill;
  };
  // RGB565, colour white over black; the coverage is the red field of the source.
  const Row rows[] = {{0, 0x0000, 0x0000}, {1, 0x0841, 0x0841},  {15, 0x7BCF, 0x7BCF},
                      {16, 0x7BEF, 0x7BEF}, {30, 0xEF7D, 0xEF7D}, {31, 0xFFFF, 0xF7BE}};
  for (bool indexed : {true, false}) {
    for (const Row& r : rows) {
      const uint16_t s = static_cast<uint16_t>((r.coverage << 11) | 0x07E0);  // green ignored
      EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_ALPHAMAP, 0, s, 0, 0x42, 0xFFFFFFFF), r.raw);
      EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_ALPHAMAP, 0, s, 0, 0x42, 0xFFFF), r.fill);
    }
    // Coverage 0 keeps the destination in raw rows; a fill run of coverage 0 halves it.
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_ALPHAMAP, 0, 0x001F, 0x1234, 0x42, 0xFFFF), 0x1234);
    EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_ALPHAMAP, 0, 0x0000, 0xFFFF, 0x42, 0), 0xF7BE);
    // RGB555 fill runs: coverage 16 gives fields 15, 15, 15; 31 gives 0x7BDE.
    EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_ALPHAMAP, 0, 16 << 10, 0, 4, 0x7FFF), 0x3DEF);
    EXPECT_EQ(Blend1(indexed, QDLENC_RLE_FILL, QDLBLIT_ALPHAMAP, 0, 31 << 10, 0, 4, 0x7FFF), 0x7BDE);
    // RGB555 keeps the top bit of a pixel left alone or set to the colour.
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_ALPHAMAP, 0, 0, 0x8001, 4, 0x7FFF), 0x8001);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_ALPHAMAP, 0, 31 << 10, 0, 4, 0xFFFF), 0xFFFF);
    EXPECT_EQ(Blend1(indexed, QDLENC_RAW, QDLBLIT_ALPHAMAP, 0, 8 << 10, 0x8000, 4, 0xFFFF) & 0x8000,
              0);
  }
}

TEST(BlitValues, ColourKeyOnIndices) {
  // Key 0, raw row 1, 2, 0, 4 drawn at x = 3.
  TestFrame f(1, 1, 4, QDLENC_RAW, {{1, 2, 0, 4}});
  TestSurface surf(12, 1, 2, 0x42, Rng());
  surf.fill(0xAAAA);
  QDLBlitParams p{};
  p.colour = 0;
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 3, 0, QDLBLIT_KEY, &p), 0u);
  EXPECT_EQ(surf.get(3, 0), f.table[1]);
  EXPECT_EQ(surf.get(4, 0), f.table[2]);
  EXPECT_EQ(surf.get(5, 0), 0xAAAAu);
  EXPECT_EQ(surf.get(6, 0), f.table[4]);
  EXPECT_EQ(surf.get(7, 0), 0xAAAAu);

  // Only the low byte of colour keys: 0xAB03 keys index 3, index 0xAB is drawn;
  // equal table entries are still told apart; key 255 leaves index 0 drawn.
  TestFrame g(1, 1, 4, QDLENC_RAW, {{3, 0xAB, 7, 9}});
  g.table[7] = g.table[9] = 0x5555;
  surf.fill(0xAAAA);
  p.colour = 0xAB03;
  QDLBlit(&surf.surface, &g.frame, 0, 0, QDLBLIT_KEY, &p);
  EXPECT_EQ(surf.get(0, 0), 0xAAAAu);
  EXPECT_EQ(surf.get(1, 0), g.table[0xAB]);
  surf.fill(0xAAAA);
  p.colour = 7;
  QDLBlit(&surf.surface, &g.frame, 0, 0, QDLBLIT_KEY, &p);
  EXPECT_EQ(surf.get(2, 0), 0xAAAAu);
  EXPECT_EQ(surf.get(3, 0), 0x5555u);
  TestFrame z(1, 1, 2, QDLENC_RAW, {{255, 0}});
  surf.fill(0xAAAA);
  p.colour = 255;
  QDLBlit(&surf.surface, &z.frame, 0, 0, QDLBLIT_KEY, &p);
  EXPECT_EQ(surf.get(0, 0), 0xAAAAu);
  EXPECT_EQ(surf.get(1, 0), z.table[0]);

  // A keyed fill run straddling the left clip edge draws nothing; the next run
  // starts at the right column.
  TestFrame k(1, 1, 6, QDLENC_RLE_FILL, {{3, 5, 3, 6, 0}});
  surf.fill(0xAAAA);
  p.colour = 5;
  QDLBlit(&surf.surface, &k.frame, -2, 0, QDLBLIT_KEY, &p);
  EXPECT_EQ(surf.get(0, 0), 0xAAAAu);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(surf.get(c, 0), k.table[6]);
  EXPECT_EQ(surf.get(4, 0), 0xAAAAu);

  // Mirrored keyed fill run of 3 in a frame 8 wide at x = 10: columns 17, 16, 15.
  TestFrame m(1, 1, 8, QDLENC_RLE_FILL, {{3, 9, 0}});
  TestSurface wide(24, 1, 2, 0x42, Rng());
  wide.fill(0xAAAA);
  p.colour = 0;
  QDLBlit(&wide.surface, &m.frame, 10, 0, QDLBLIT_KEY | QDLBLIT_MIRROR_X, &p);
  for (int c = 0; c < 24; ++c) {
    EXPECT_EQ(wide.get(c, 0), (c >= 15 && c <= 17) ? m.table[9] : 0xAAAAu) << c;
  }
}

TEST(BlitValues, ColourKeyOnDirectColour) {
  TestFrame f(2, 0x42, 4, QDLENC_RAW, {Px16({0xF81F, 0x07E0, 0xF81F, 0x07E0})});
  TestSurface surf(4, 1, 2, 0x42, Rng());
  for (uint32_t colour : {0xF81Fu, 0x1234F81Fu}) {
    surf.fill(0x1111);
    QDLBlitParams p{};
    p.colour = colour;
    QDLBlit(&surf.surface, &f.frame, 0, 0, QDLBLIT_KEY, &p);
    EXPECT_EQ(surf.get(0, 0), 0x1111u);
    EXPECT_EQ(surf.get(1, 0), 0x07E0u);
    EXPECT_EQ(surf.get(2, 0), 0x1111u);
    EXPECT_EQ(surf.get(3, 0), 0x07E0u);
  }
}

TEST(BlitValues, SolidColour) {
  // Literal 4, transparent 2, literal 1: positions 0-3 and 6; mirrored from the right.
  for (int srcBytes : {1, 2}) {
    std::vector<uint8_t> body{4};
    for (int i = 0; i < 4 * srcBytes; ++i) body.push_back(static_cast<uint8_t>(i + 1));
    body.push_back(0xFE);
    body.push_back(1);
    for (int i = 0; i < srcBytes; ++i) body.push_back(9);
    body.push_back(0);
    TestFrame f(srcBytes, srcBytes == 1 ? 1 : 0x42, 7, QDLENC_RLE, {body});
    for (bool mirror : {false, true}) {
      TestSurface surf(9, 1, 2, 0x42, Rng());
      surf.fill(0x0101);
      QDLBlitParams p{};
      p.colour = 0xABCD7C1F;
      EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, QDLBLIT_SOLID | (mirror ? static_cast<uint32_t>(QDLBLIT_MIRROR_X) : 0u), &p), 0u);
      const bool drawn[7] = {true, true, true, true, false, false, true};
      for (int i = 0; i < 7; ++i) {
        const int col = mirror ? 1 + 6 - i : 1 + i;
        EXPECT_EQ(surf.get(col, 0), drawn[i] ? 0x7C1Fu : 0x0101u) << i << mirror;
      }
      EXPECT_EQ(surf.get(0, 0), 0x0101u);
      EXPECT_EQ(surf.get(8, 0), 0x0101u);
    }
  }
  // 8-bit surface: low byte only; a solid raw frame of 5 x 3 fills exactly its rectangle.
  TestFrame r(1, 1, 5, QDLENC_RAW, {{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}});
  TestSurface s8(9, 6, 1, 1, Rng());
  s8.fill(0x33);
  QDLBlitParams p{};
  p.colour = 0x1F4;
  QDLBlit(&s8.surface, &r.frame, 2, 1, QDLBLIT_SOLID, &p);
  for (int row = 0; row < 6; ++row)
    for (int col = 0; col < 9; ++col)
      EXPECT_EQ(s8.get(col, row), (col >= 2 && col <= 6 && row >= 1 && row <= 3) ? 0xF4u : 0x33u);
  // A fill run of index 9 drawn with colour 3 stores 3.
  TestFrame fr(1, 1, 4, QDLENC_RLE_FILL, {{4, 9, 0}});
  p.colour = 3;
  QDLBlit(&s8.surface, &fr.frame, 0, 5, QDLBLIT_SOLID, &p);
  for (int col = 0; col < 4; ++col) EXPECT_EQ(s8.get(col, 5), 3u);
}

TEST(BlitValues, PatternCounters) {
  QDLBlitPatternCountersResetForTest();
  TestSurface surf(8, 8, 2, 0x42, Rng());
  // 8-to-16 raw 2 x 2: 0x0000, 0x1111 / 0x2222, 0x3333; the counter ends at 0x4444.
  TestFrame raw(1, 1, 2, QDLENC_RAW, {{5, 6}, {7, 8}});
  EXPECT_EQ(QDLBlit(&surf.surface, &raw.frame, 0, 0, 2, nullptr), 0u);
  EXPECT_EQ(surf.get(0, 0), 0x0000u);
  EXPECT_EQ(surf.get(1, 0), 0x1111u);
  EXPECT_EQ(surf.get(0, 1), 0x2222u);
  EXPECT_EQ(surf.get(1, 1), 0x3333u);
  EXPECT_EQ(qdlPatternCounter8To16, 0x4444);
  // Literal 2, transparent 3, literal 1: three successive values; the gap untouched.
  TestFrame lit(1, 1, 6, QDLENC_RLE, {{2, 1, 1, 0xFD, 1, 1, 0}});
  surf.fill(0x0F0F);
  QDLBlit(&surf.surface, &lit.frame, 0, 0, 3 | QDLBLIT_MIRROR_X, nullptr);  // never mirrored
  EXPECT_EQ(surf.get(0, 0), 0x4444u);
  EXPECT_EQ(surf.get(1, 0), 0x5555u);
  for (int c = 2; c <= 4; ++c) EXPECT_EQ(surf.get(c, 0), 0x0F0Fu);
  EXPECT_EQ(surf.get(5, 0), 0x6666u);
  // Fill runs store the fill counter, which stays 0.
  TestFrame fill(1, 1, 3, QDLENC_RLE_FILL, {{3, 1, 0}});
  for (int n = 0; n < 2; ++n) {
    QDLBlit(&surf.surface, &fill.frame, 0, 2, 5, nullptr);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(surf.get(c, 2), 0u);
  }
  EXPECT_EQ(qdlPatternCounter8To16, 0x7777);

  // 16-to-16: two 4 x 4 raw frames; the second starts at 0x1110.
  std::vector<std::vector<uint8_t>> rows(4, Px16({1, 2, 3, 4}));
  TestFrame r16(2, 0x42, 4, QDLENC_RAW, rows);
  QDLBlit(&surf.surface, &r16.frame, 0, 0, 0x20000000, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(surf.get(i % 4, i / 4), 0x1111u * i);
  QDLBlit(&surf.surface, &r16.frame, 4, 4, 0x20000000, nullptr);
  EXPECT_EQ(surf.get(4, 4), 0x1110u);
  EXPECT_EQ(qdlPatternFillCounter16To16, 0);
  // The 16-bit fill counter runs on by itself.
  TestFrame f16(2, 0x42, 3, QDLENC_RLE_FILL, {{3, 0x34, 0x12, 0}});
  QDLBlit(&surf.surface, &f16.frame, 0, 7, 2, nullptr);
  EXPECT_EQ(surf.get(0, 7), 0u);
  EXPECT_EQ(surf.get(2, 7), 0x2222u);
  EXPECT_EQ(qdlPatternFillCounter16To16, 0x3333);
  EXPECT_EQ(qdlPatternCounter16To16, static_cast<uint16_t>(0x1111u * 32));

  // 8-to-8 fill runs: the low byte, stepping by 0x11; raw copies leave the counter.
  TestSurface s8(20, 1, 1, 1, Rng());
  TestFrame f8(1, 1, 18, QDLENC_RLE_FILL, {{18, 4, 0}});
  QDLBlit(&s8.surface, &f8.frame, 0, 0, 2, nullptr);
  const uint8_t want[] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                          0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x10, 0x21};
  for (int c = 0; c < 18; ++c) EXPECT_EQ(s8.get(c, 0), want[c]);
  TestFrame raw8(1, 1, 2, QDLENC_RAW, {{4, 5}});
  QDLBlit(&s8.surface, &raw8.frame, 0, 0, 2, nullptr);
  EXPECT_EQ(s8.get(0, 0), 4u);
  EXPECT_EQ(qdlPatternCounter8To8, static_cast<uint16_t>(0x1111u * 18));
  QDLBlitPatternCountersResetForTest();
  EXPECT_EQ(qdlPatternCounter8To8, 0);
}

TEST(BlitWalk, LeftClipAndWrapSplits) {
  TestSurface surf(10, 1, 1, 1, Rng());
  // Left clip 3 over transparent 3 then literal 4: all 4 drawn from column 0.
  TestFrame a(1, 1, 7, QDLENC_RLE, {{0xFD, 4, 1, 2, 3, 4, 0}});
  surf.fill(0xEE);
  QDLBlit(&surf.surface, &a.frame, -3, 0, 0, nullptr);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(surf.get(c, 0), static_cast<uint32_t>(c + 1));
  EXPECT_EQ(surf.get(4, 0), 0xEEu);
  // Left clip 2 over literal 5 then literal 1: pixels 3..5 then the next run.
  TestFrame b(1, 1, 6, QDLENC_RLE, {{5, 1, 2, 3, 4, 5, 1, 9, 0}});
  surf.fill(0xEE);
  QDLBlit(&surf.surface, &b.frame, -2, 0, 0, nullptr);
  EXPECT_EQ(surf.get(0, 0), 3u);
  EXPECT_EQ(surf.get(2, 0), 5u);
  EXPECT_EQ(surf.get(3, 0), 9u);
  // Left clip 4 over fill 3 then fill 4: the second drawn over 3 positions.
  TestFrame c(1, 1, 7, QDLENC_RLE_FILL, {{3, 7, 4, 8, 0}});
  surf.fill(0xEE);
  QDLBlit(&surf.surface, &c.frame, -4, 0, 0, nullptr);
  for (int col = 0; col < 3; ++col) EXPECT_EQ(surf.get(col, 0), 8u);
  EXPECT_EQ(surf.get(3, 0), 0xEEu);
  // Mirror X, raw width 4 at x = 3: source 0..3 at columns 6..3.
  TestFrame d(1, 1, 4, QDLENC_RAW, {{1, 2, 3, 4}});
  surf.fill(0xEE);
  QDLBlit(&surf.surface, &d.frame, 3, 0, QDLBLIT_MIRROR_X, nullptr);
  EXPECT_EQ(surf.get(6, 0), 1u);
  EXPECT_EQ(surf.get(3, 0), 4u);
  // Wrapping view: a literal run of 5 starting 2 before the wrap point.
  TestFrame e(1, 1, 5, QDLENC_RLE, {{5, 1, 2, 3, 4, 5, 0}});
  QDLSurface view = MakeWrapView(&surf.surface, 5, 0);
  surf.fill(0xEE);
  QDLBlitParams p{};
  EXPECT_EQ(QDLBlit(&view, &e.frame, 3, 0, 0, &p), 0u);
  EXPECT_EQ(p.wrapWidth, 2);
  EXPECT_EQ(surf.get(8, 0), 1u);
  EXPECT_EQ(surf.get(9, 0), 2u);
  EXPECT_EQ(surf.get(0, 0), 3u);
  EXPECT_EQ(surf.get(2, 0), 5u);
  EXPECT_EQ(surf.get(3, 0), 0xEEu);
  // 16-bit literal run of 10 with 3 before the wrap point; the next run follows it.
  TestSurface s16(12, 1, 2, 0x42, Rng());
  std::vector<uint8_t> body{10};
  auto px = Px16({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  body.insert(body.end(), px.begin(), px.end());
  body.push_back(1);
  body.push_back(0x77);
  body.push_back(0x77);
  body.push_back(0);
  TestFrame g(2, 0x42, 11, QDLENC_RLE, {body});
  QDLSurface v16 = MakeWrapView(&s16.surface, 9, 0);
  s16.fill(0xEEEE);
  EXPECT_EQ(QDLBlit(&v16, &g.frame, 0, 0, 0, &p), 0u);
  EXPECT_EQ(s16.get(9, 0), 0u);
  EXPECT_EQ(s16.get(11, 0), 2u);
  for (int col = 0; col < 7; ++col) EXPECT_EQ(s16.get(col, 0), static_cast<uint32_t>(col + 3));
  EXPECT_EQ(s16.get(7, 0), 0x7777u);
  EXPECT_EQ(s16.get(8, 0), 0xEEEEu);
}

TEST(BlitValues, Workers) {
  std::mt19937 rng(8);
  uint16_t table[256];
  for (uint16_t& e : table) e = static_cast<uint16_t>(rng());
  QDLBlitParams p{};
  p.colour = 0xFFFF;
  p.level = 11;
  p.halveMask = 0x7BEF;
  p.colourTable = table;
  uint8_t idx[9];
  uint16_t px[9];
  for (int i = 0; i < 9; ++i) {
    idx[i] = static_cast<uint8_t>(rng());
    px[i] = table[idx[i]];
  }
  auto alpha = [&](uint16_t s, uint16_t d) -> uint16_t {
    const uint32_t c = (s >> 11) & 31u;
    if (c == 0) return d;
    if (c == 31) return 0xFFFF;
    return RefTrans(0xFFFF, d, c, false);
  };
  uint16_t a[12], b[12], want[12];
  for (int i = 0; i < 12; ++i) a[i] = b[i] = want[i] = static_cast<uint16_t>(rng());
  // Spans left to right and mirrored from the rightmost pixel.
  for (int i = 0; i < 9; ++i) want[1 + i] = alpha(px[i], want[1 + i]);
  QDLBlit8To16AlphaSpan(a + 1, idx, 9, &p);
  QDLBlit16To16AlphaSpan(b + 1, px, 9, &p);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a[i], want[i]) << i;
    EXPECT_EQ(b[i], want[i]) << i;
  }
  for (int i = 0; i < 9; ++i) want[9 - i] = alpha(px[i], want[9 - i]);
  QDLBlit8To16AlphaSpanMirrorX(a + 9, idx, 9, &p);
  QDLBlit16To16AlphaSpanMirrorX(b + 9, px, 9, &p);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a[i], want[i]) << i;
    EXPECT_EQ(b[i], want[i]) << i;
  }
  // Fill runs: always the blend, covering the count pixels from (or ending at) the pointer.
  const uint16_t cov = static_cast<uint16_t>(31 << 11);
  table[200] = cov;
  for (int i = 2; i < 6; ++i) want[i] = RefTrans(0xFFFF, want[i], 31, false);
  QDLBlit8To16AlphaFillRun(a + 2, 200, 4, &p);
  QDLBlit16To16AlphaFillRunMirrorX(b + 5, cov, 4, &p);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a[i], want[i]) << i;
    EXPECT_EQ(b[i], want[i]) << i;
  }
  QDLBlit8To16AlphaFillRunMirrorX(a + 5, 200, 4, &p);
  QDLBlit16To16AlphaFillRun(b + 2, cov, 4, &p);
  EXPECT_EQ(a[6], want[6]);
  EXPECT_EQ(a[1], want[1]);
  EXPECT_EQ(a[2], b[2]);
  // Translucent fill runs at level 9.
  p.level = 9;
  for (int i = 0; i < 12; ++i) a[i] = b[i] = want[i] = static_cast<uint16_t>(rng());
  for (int i = 3; i < 8; ++i) want[i] = RefTrans(table[17], want[i], 9, false);
  QDLBlit8To16TransFillRunMirrorX(a + 7, 17, 5, &p);
  QDLBlit16To16TransFillRun(b + 3, 0xABCD0000u | table[17], 5, 0x42, 0, &p);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a[i], want[i]) << i;
    EXPECT_EQ(b[i], want[i]) << i;
  }
  QDLBlit16To16TransFillRunMirrorX(b + 7, table[17], 5, 0x42, 0, &p);
  for (int i = 3; i < 8; ++i) want[i] = RefTrans(table[17], want[i], 9, false);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(b[i], want[i]) << i;
  // A count of 0 writes nothing.
  const std::vector<uint16_t> before(a, a + 12);
  QDLBlit8To16AlphaSpan(a, idx, 0, &p);
  QDLBlit8To16AlphaSpanMirrorX(a, idx, 0, &p);
  QDLBlit8To16AlphaFillRun(a, 1, 0, &p);
  QDLBlit8To16AlphaFillRunMirrorX(a, 1, 0, &p);
  QDLBlit8To16TransFillRunMirrorX(a, 1, 0, &p);
  QDLBlit16To16TransFillRun(a, 1, 0, 0, 0, &p);
  EXPECT_EQ(std::vector<uint16_t>(a, a + 12), before);
}
