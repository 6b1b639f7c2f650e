// Worked values of the direct-colour kernels and the rectangle copies that
// the other blitter tests leave out: exact bytes of 24-bit and 32-bit
// copies and fills, 16-bit coverage masks against their indexed twins, a
// 50% blend drawn twice, and the pixel-size pairs that copy nothing.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "blit_test_util.h"

using namespace blittest;

namespace {

std::mt19937& Rng() {
  static std::mt19937 rng(1107);
  return rng;
}

using Frame = RowFrame;

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> pixels, int P) {
  std::vector<uint8_t> out;
  for (uint32_t v : pixels) PutPixel(out, v, P);
  return out;
}

// The buffer offset of pixel (c, r) of a test surface.
size_t At(const TestSurface& s, int32_t c, int32_t r) {
  return static_cast<size_t>(s.margin + r) * s.pitch + static_cast<size_t>(s.margin + c) * s.bytes;
}

}  // namespace

TEST(BlitDirect, WidePixelsMoveExactlyTheirBytes) {
  // 24-bit raw rows of 1..4 pixels copy exactly 3, 6, 9 and 12 bytes, each
  // pixel's bytes in frame order; mirrored, the pixels reverse but not their bytes.
  for (int P : {3, 4}) {
    const uint16_t fmt = P == 3 ? 8 : 16;
    const uint32_t px[4] = {0xAB112233u, 0xCD445566u, 0xEF778899u, 0x01AABBCCu};
    for (int32_t n = 1; n <= 4; ++n) {
      for (uint32_t mirror : {0u, static_cast<uint32_t>(QDLBLIT_MIRROR_X)}) {
        std::vector<uint8_t> body;
        for (int32_t i = 0; i < n; ++i) PutPixel(body, px[i], P);
        Frame f(P, fmt, static_cast<int16_t>(n), QDLENC_RAW, {body});
        TestSurface surf(7, 1, P, fmt, Rng());
        std::vector<uint8_t> expected = surf.buffer;
        for (int32_t i = 0; i < n; ++i) {
          const int32_t col = mirror ? 1 + n - 1 - i : 1 + i;
          for (int b = 0; b < P; ++b) expected[At(surf, col, 0) + b] = static_cast<uint8_t>(px[i] >> (8 * b));
        }
        ASSERT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, mirror, nullptr), 0u);
        EXPECT_EQ(surf.buffer, expected) << "P " << P << " n " << n << " mirror " << mirror;
      }
    }
  }
  // A fill run of 5 changes exactly 5 x P bytes; mirrored it covers the same
  // pixels; a fill run and the same run spelled out give the same result.
  for (int P : {3, 4}) {
    const uint16_t fmt = P == 3 ? 8 : 16;
    const uint32_t v = 0xFE123456u;
    std::vector<uint8_t> fillBody = {5};
    PutPixel(fillBody, v, P);
    fillBody.push_back(0);
    std::vector<uint8_t> litBody = {5};
    for (int i = 0; i < 5; ++i) PutPixel(litBody, v, P);
    litBody.push_back(0);
    for (uint32_t mirror : {0u, static_cast<uint32_t>(QDLBLIT_MIRROR_X)}) {
      Frame fill(P, fmt, 8, QDLENC_RLE_FILL, {fillBody});
      Frame lit(P, fmt, 8, QDLENC_RLE, {litBody});
      TestSurface a(12, 1, P, fmt, Rng());
      std::vector<uint8_t> expected = a.buffer;
      const int32_t first = mirror ? 2 + 8 - 5 : 2;
      for (int32_t i = 0; i < 5; ++i)
        for (int b = 0; b < P; ++b) expected[At(a, first + i, 0) + b] = static_cast<uint8_t>(v >> (8 * b));
      std::vector<uint8_t> before = a.buffer;
      ASSERT_EQ(QDLBlit(&a.surface, &fill.frame, 2, 0, mirror, nullptr), 0u);
      EXPECT_EQ(a.buffer, expected) << "fill P " << P << " mirror " << mirror;
      a.buffer = before;
      ASSERT_EQ(QDLBlit(&a.surface, &lit.frame, 2, 0, mirror, nullptr), 0u);
      EXPECT_EQ(a.buffer, expected) << "literal P " << P << " mirror " << mirror;
    }
  }
}

TEST(BlitDirect, SixteenBitCoverageMasks) {
  // A raw row of 4 drawn at x = 10 with mirror X: source pixels 0..3 land in
  // columns 13..10, each blended once with the pixel that was there.
  const uint16_t src[4] = {1 << 11, 15 << 11 | 0x07FF, 31 << 11, 20 << 11 | 0x001F};
  Frame f(2, 0x42, 4, QDLENC_RAW, {Bytes({src[0], src[1], src[2], src[3]}, 2)});
  TestSurface surf(16, 1, 2, 0x42, Rng());
  for (int32_t c = 0; c < 16; ++c) surf.set(c, 0, static_cast<uint32_t>(0x1041u * static_cast<uint32_t>(c)));
  std::vector<uint32_t> old(16);
  for (int32_t c = 0; c < 16; ++c) old[c] = surf.get(c, 0);
  QDLBlitParams p{};
  p.colour = 0xFFFF;
  ASSERT_EQ(QDLBlit(&surf.surface, &f.frame, 10, 0, QDLBLIT_ALPHAMAP | QDLBLIT_MIRROR_X, &p), 0u);
  for (int32_t i = 0; i < 4; ++i) {
    const uint32_t cov = src[i] >> 11;
    const uint32_t want = cov == 31 ? 0xFFFFu : RefTrans(0xFFFF, old[13 - i], cov, false);
    EXPECT_EQ(surf.get(13 - i, 0), want) << i;
  }
  EXPECT_EQ(surf.get(9, 0), old[9]);
  EXPECT_EQ(surf.get(14, 0), old[14]);

  // The same mask as an 8-bit frame with colour-table entries of the same red
  // fields draws the same pixels, in every encoding and flip.
  for (bool is555 : {false, true}) {
    const uint16_t fmt = is555 ? 4 : 0x42;
    const int shift = is555 ? 10 : 11;
    for (int enc : {QDLENC_RAW, QDLENC_RLE, QDLENC_RLE_FILL}) {
      for (uint32_t flip = 0; flip < 4; ++flip) {
        std::vector<uint8_t> body8, body16;
        uint16_t tableValues[6];
        for (int k = 0; k < 6; ++k) {
          tableValues[k] = static_cast<uint16_t>(((Rng()() % 32) << shift) | (Rng()() & 0x3FF & ~(0x1Fu << shift)));
        }
        if (enc == QDLENC_RAW) {
          for (int k = 0; k < 6; ++k) {
            body8.push_back(static_cast<uint8_t>(k));
            PutPixel(body16, tableValues[k], 2);
          }
        } else {
          // literal/fill 2, skip 1, literal/fill 3
          const int lens[2] = {2, 3};
          int k = 0;
          for (int r = 0; r < 2; ++r) {
            body8.push_back(static_cast<uint8_t>(lens[r]));
            body16.push_back(static_cast<uint8_t>(lens[r]));
            const int count = enc == QDLENC_RLE ? lens[r] : 1;
            for (int m = 0; m < count; ++m, ++k) {
              body8.push_back(static_cast<uint8_t>(k));
              PutPixel(body16, tableValues[k], 2);
            }
            if (r == 0) {
              body8.push_back(0xFF);
              body16.push_back(0xFF);
            }
          }
          body8.push_back(0);
          body16.push_back(0);
        }
        Frame f8(1, 1, 6, enc, {body8, body8});
        Frame f16(2, fmt, 6, enc, {body16, body16});
        for (int k = 0; k < 6; ++k) f8.table[k] = tableValues[k];
        TestSurface a(9, 3, 2, fmt, Rng());
        TestSurface b(9, 3, 2, fmt, Rng());
        b.buffer = a.buffer;
        QDLBlitParams pa{};
        pa.colour = 0x5AA5;
        QDLBlitParams pb = pa;
        const uint32_t flags = QDLBLIT_ALPHAMAP | (flip << 24);
        ASSERT_EQ(QDLBlit(&a.surface, &f8.frame, 2, 1, flags, &pa), 0u);
        ASSERT_EQ(QDLBlit(&b.surface, &f16.frame, 2, 1, flags, &pb), 0u);
        EXPECT_EQ(a.buffer, b.buffer) << "555 " << is555 << " enc " << enc << " flip " << flip;
      }
    }
  }
}

TEST(BlitDirect, FiftyPercentTwiceMovesHalfwayAgain) {
  Frame f(2, 0x42, 5, QDLENC_RLE, {{2, 0xFF, 0xFF, 0x00, 0xF8, 0xFE, 1, 0x1F, 0x00, 0}});
  TestSurface surf(6, 1, 2, 0x42, Rng());
  surf.fill(0x0841);
  QDLBlitParams p{};
  p.level = 15;
  ASSERT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, QDLBLIT_TRANSLUCENT, &p), 0u);
  ASSERT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, QDLBLIT_TRANSLUCENT, &p), 0u);
  EXPECT_EQ(surf.get(1, 0), RefHalf(0xFFFF, RefHalf(0xFFFF, 0x0841, false), false));
  EXPECT_EQ(surf.get(2, 0), RefHalf(0xF800, RefHalf(0xF800, 0x0841, false), false));
  EXPECT_EQ(surf.get(3, 0), 0x0841u);  // the skip of 2 positions
  EXPECT_EQ(surf.get(4, 0), 0x0841u);
  EXPECT_EQ(surf.get(5, 0), RefHalf(0x001F, RefHalf(0x001F, 0x0841, false), false));
  EXPECT_EQ(surf.get(0, 0), 0x0841u);
}

TEST(SurfaceCopy, PairsThatCopyNothing) {
  const QDLRect s{0, 0, 2, 1};
  const QDLRect at0{0, 0, 0, 0};
  // Two 24-bit surfaces of one format: the same-format copy handles 1 and 2 bytes only.
  TestSurface a24(2, 1, 3, 8, Rng()), b24(2, 1, 3, 8, Rng());
  std::vector<uint8_t> before = b24.buffer;
  QDLSurfaceCopyRect(&b24.surface, &at0, &a24.surface, &s, 0);
  EXPECT_EQ(b24.buffer, before);
  // 24-bit onto 32-bit: the converting copy draws only onto 2-byte pixels.
  TestSurface d32(2, 1, 4, 16, Rng());
  before = d32.buffer;
  QDLSurfaceCopyRect(&d32.surface, &at0, &a24.surface, &s, 0);
  EXPECT_EQ(d32.buffer, before);
  // A 24-bit source whose format code carries component-order bits is not
  // code 8: the general copy converts nothing.
  TestSurface ordered(2, 1, 3, 8 | 0x40, Rng());
  ordered.surface.redShift = 16;
  ordered.surface.greenShift = 8;
  TestSurface d565(2, 1, 2, 0x42, Rng());
  before = d565.buffer;
  QDLSurfaceCopyRect(&d565.surface, &at0, &ordered.surface, &s, 0);
  EXPECT_EQ(d565.buffer, before);
  // Double size between 8-bit and 16-bit surfaces draws nothing.
  TestSurface s8(2, 1, 1, 1, Rng());
  TestSurface d16(4, 2, 2, 0x42, Rng());
  before = d16.buffer;
  QDLSurfaceBlitRectI16(&d16.surface, nullptr, &s8.surface, nullptr);
  EXPECT_EQ(d16.buffer, before);
  // Without rectangles the double-size copy takes the whole source to 0, 0.
  TestSurface s16(2, 1, 2, 0x42, Rng());
  QDLSurfaceBlitRectI16(&d16.surface, nullptr, &s16.surface, nullptr);
  for (int32_t r = 0; r < 2; ++r)
    for (int32_t c = 0; c < 4; ++c) EXPECT_EQ(d16.get(c, r), s16.get(c / 2, 0)) << c << "," << r;
}

TEST(SurfaceCopy, KeyedCopiesCompareOnlyThePixelsBytes) {
  // 16-bit: the low 16 bits of the key count; 8-bit: its low byte.
  for (int bytes : {1, 2}) {
    const uint16_t fmt = bytes == 1 ? 1 : 0x42;
    const uint32_t keyPixel = bytes == 1 ? 0x05 : 0xF81F;
    TestSurface src(4, 2, bytes, fmt, Rng());
    TestSurface dst(4, 2, bytes, fmt, Rng());
    for (int32_t i = 0; i < 8; ++i) src.set(i % 4, i / 4, (i % 2) ? keyPixel : 0x0700u + static_cast<uint32_t>(i));
    src.surface.colourKey = keyPixel | 0x12340000u | (bytes == 1 ? 0x1200u : 0u);
    for (uint32_t flags : {0u, static_cast<uint32_t>(QDLCOPY_MIRROR_X), static_cast<uint32_t>(QDLCOPY_MIRROR_Y)}) {
      dst.fill(bytes == 1 ? 0x77 : 0x7777);
      const QDLRect s{0, 0, 4, 2};
      const QDLRect d{0, 0, 0, 0};
      QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &s, flags | QDLCOPY_KEY_SOURCE);
      for (int32_t j = 0; j < 2; ++j) {
        for (int32_t i = 0; i < 4; ++i) {
          const int32_t c = (flags & QDLCOPY_MIRROR_X) ? 3 - i : i;
          const int32_t r = (flags & QDLCOPY_MIRROR_Y) ? 1 - j : j;
          const uint32_t v = src.get(i, j);
          EXPECT_EQ(dst.get(c, r), v == keyPixel ? (bytes == 1 ? 0x77u : 0x7777u) : v)
              << bytes << " " << flags << " " << i << "," << j;
        }
      }
    }
  }
}

TEST(SurfaceCopy, ConvertingCopyKeysOnAllThreeBytes) {
  // Key bytes 03 02 01 in memory; pixels that share only two of them are drawn.
  TestSurface src(4, 1, 3, 8, Rng());
  src.surface.redShift = 16;
  src.surface.greenShift = 8;
  src.surface.blueShift = 0;
  const uint32_t px[4] = {0x010203, 0x990203, 0x019903, 0x010299};
  for (int32_t i = 0; i < 4; ++i) src.set(i, 0, px[i]);
  src.surface.colourKey = 0xEE010203u;
  TestSurface dst(4, 1, 2, 0x42, Rng());
  dst.fill(0x5A5A);
  const QDLRect s{0, 0, 4, 1};
  const QDLRect d{0, 0, 0, 0};
  QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &s, QDLCOPY_KEY_SOURCE);
  EXPECT_EQ(dst.get(0, 0), 0x5A5Au);
  for (int32_t i = 1; i < 4; ++i) {
    const uint32_t r = px[i] >> 16, g = (px[i] >> 8) & 0xFF, b = px[i] & 0xFF;
    EXPECT_EQ(dst.get(i, 0), ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)) << i;
  }
}

TEST(SurfaceCopy, PalettedCopyMatchesModel) {
  std::mt19937& rng = Rng();
  uint16_t ownTable[256], argTable[256];
  for (int i = 0; i < 256; ++i) {
    ownTable[i] = static_cast<uint16_t>(rng());
    argTable[i] = static_cast<uint16_t>(rng());
  }
  QDLPalette own{}, arg{};
  own.colourTable = ownTable;
  arg.colourTable = argTable;
  for (int n = 0; n < 400; ++n) {
    const int32_t SW = 1 + static_cast<int32_t>(rng() % 9), SH = 1 + static_cast<int32_t>(rng() % 7);
    TestSurface src(SW, SH, 1, 1, rng);
    src.surface.palette = &own;
    for (int32_t r = 0; r < SH; ++r)
      for (int32_t c = 0; c < SW; ++c) src.set(c, r, rng() % 6);  // few values, so keys hit
    src.surface.colourKey = static_cast<uint32_t>(rng() % 6) | (rng() & 0xFFFFFF00u);
    TestSurface dst(10, 8, 2, 0x42, rng);
    const int32_t sl = static_cast<int32_t>(rng() % SW), st = static_cast<int32_t>(rng() % SH);
    const int32_t w = 1 + static_cast<int32_t>(rng() % (SW - sl)), h = 1 + static_cast<int32_t>(rng() % (SH - st));
    const QDLRect s{sl, st, sl + w, st + h};
    const QDLRect d{static_cast<int32_t>(rng() % (11 - w)), static_cast<int32_t>(rng() % (9 - h)), 0, 0};
    const uint32_t flags = (rng() & 1 ? QDLCOPY_MIRROR_X : 0u) | (rng() & 1 ? QDLCOPY_MIRROR_Y : 0u) |
                           (rng() % 3 == 0 ? QDLCOPY_KEY_SOURCE : 0u) | 0x1000000u;
    QDLPalette* pal = (rng() & 1) ? &arg : nullptr;
    const uint16_t* table = pal ? argTable : ownTable;
    std::vector<uint8_t> saved = dst.buffer;
    for (int32_t j = 0; j < h; ++j) {
      for (int32_t i = 0; i < w; ++i) {
        const uint32_t b = src.get(sl + i, st + j);
        if ((flags & QDLCOPY_KEY_SOURCE) && b == (src.surface.colourKey & 0xFF)) continue;
        const int32_t c = (flags & QDLCOPY_MIRROR_X) ? w - 1 - i : i;
        const int32_t r = (flags & QDLCOPY_MIRROR_Y) ? h - 1 - j : j;
        dst.set(d.left + c, d.top + r, table[b]);
      }
    }
    const std::vector<uint8_t> expected = dst.buffer;
    dst.buffer = saved;
    QDLSurfaceBlitRect(&dst.surface, &d, &src.surface, &s, pal, flags);
    ASSERT_EQ(dst.buffer, expected) << "copy " << n << " flags " << flags;
  }
}
