// Rectangle copies between surfaces: a random differential test of the
// same-format copies against a model (overlap included), the conversion,
// the paletted copy, the double-size copy and every refused rectangle.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "blit_test_util.h"

using namespace blittest;

namespace {

std::mt19937& Rng() {
  static std::mt19937 rng(4242);
  return rng;
}

QDLRect R(int32_t l, int32_t t, int32_t r, int32_t b) { return QDLRect{l, t, r, b}; }

}  // namespace

TEST(SurfaceCopy, SameFormatMatchesModel) {
  std::mt19937& rng = Rng();
  for (int n = 0; n < 3000; ++n) {
    const int bytes = (rng() & 1) ? 2 : 1;
    const uint16_t fmt = bytes == 1 ? 1 : 0x42;
    const int32_t W = 1 + static_cast<int32_t>(rng() % 20), H = 1 + static_cast<int32_t>(rng() % 12);
    TestSurface dst(W, H, bytes, fmt, rng);
    const bool same = rng() % 4 == 0;
    TestSurface srcOwn(1 + static_cast<int32_t>(rng() % 20), 1 + static_cast<int32_t>(rng() % 12),
                       bytes, fmt, rng);
    TestSurface& src = same ? dst : srcOwn;
    const int32_t SW = src.surface.width, SH = src.surface.height;
    const int32_t sl = static_cast<int32_t>(rng() % (SW + 2)) - 1;
    const int32_t st = static_cast<int32_t>(rng() % (SH + 2)) - 1;
    const int32_t sr = sl + static_cast<int32_t>(rng() % (SW + 2)) - 1;
    const int32_t sb = st + static_cast<int32_t>(rng() % (SH + 2)) - 1;
    const QDLRect srect = R(sl, st, sr, sb);
    const QDLRect drect = R(static_cast<int32_t>(rng() % (W + 2)) - 1,
                            static_cast<int32_t>(rng() % (H + 2)) - 1, 0, 0);
    uint32_t flags = 0x1000000;
    if (rng() & 1) flags |= QDLCOPY_MIRROR_X;
    if (rng() & 1) flags |= QDLCOPY_MIRROR_Y;
    if (rng() % 3 == 0) flags |= QDLCOPY_KEY_SOURCE;
    // The key is a pixel of the source rectangle (when it has one), with
    // random bits above the pixel's own.
    const int32_t kc = sl < 0 ? 0 : (sl >= SW ? SW - 1 : sl);
    const int32_t kr = st < 0 ? 0 : (st >= SH ? SH - 1 : st);
    src.surface.colourKey = src.get(kc, kr) | (rng() & 0xFFFF0000u);

    // Model: refused unless both rectangles fit; otherwise every source pixel
    // (read before anything is written) lands mirrored, keyed pixels skipped.
    const int32_t w = sr - sl, h = sb - st;
    const bool fits = drect.left >= 0 && drect.top >= 0 && w > 0 && h > 0 &&
                      drect.left + w <= W && drect.top + h <= H && sl >= 0 && st >= 0 &&
                      sr <= SW && sb <= SH;
    std::vector<uint32_t> srcPixels;
    if (fits)
      for (int32_t j = 0; j < h; ++j)
        for (int32_t i = 0; i < w; ++i) srcPixels.push_back(src.get(sl + i, st + j));
    std::vector<uint8_t> saved = dst.buffer;
    if (fits) {
      const uint32_t key = src.surface.colourKey & (bytes == 1 ? 0xFFu : 0xFFFFu);
      for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
          const uint32_t v = srcPixels[static_cast<size_t>(j) * w + i];
          if ((flags & QDLCOPY_KEY_SOURCE) && v == key) continue;
          const int32_t c = (flags & QDLCOPY_MIRROR_X) ? w - 1 - i : i;
          const int32_t r = (flags & QDLCOPY_MIRROR_Y) ? h - 1 - j : j;
          dst.set(drect.left + c, drect.top + r, v);
        }
      }
    }
    std::vector<uint8_t> expected = dst.buffer;
    dst.buffer = saved;
    QDLSurfaceCopyRect(&dst.surface, &drect, &src.surface, &srect, flags);
    ASSERT_EQ(dst.buffer, expected) << "copy " << n << " bytes " << bytes << " same " << same
                                    << " src " << sl << "," << st << "-" << sr << "," << sb
                                    << " dst " << drect.left << "," << drect.top << " flags "
                                    << flags;
  }
}

TEST(SurfaceCopy, EdgesOfTheDestination) {
  for (int bytes : {1, 2}) {
    const uint16_t fmt = bytes == 1 ? 1 : 0x42;
    TestSurface dst(8, 4, bytes, fmt, Rng());
    TestSurface src(8, 4, bytes, fmt, Rng());
    dst.fill(0);
    const QDLRect s = R(0, 0, 3, 2);
    QDLRect d = R(5, 2, 0, 0);  // last column and row of the destination
    QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &s, 0);
    EXPECT_EQ(dst.get(7, 3), src.get(2, 1));
    const std::vector<uint8_t> before = dst.buffer;
    for (QDLRect bad : {R(6, 2, 0, 0), R(5, 3, 0, 0), R(-1, 0, 0, 0), R(0, -1, 0, 0)}) {
      QDLSurfaceCopyRect(&dst.surface, &bad, &src.surface, &s, 0);
      EXPECT_EQ(dst.buffer, before);
    }
    // Empty, inverted and outside source rectangles.
    for (QDLRect bad : {R(0, 0, 0, 2), R(2, 0, 1, 2), R(0, 2, 3, 2), R(0, 1, 3, 0), R(6, 0, 9, 1),
                        R(-1, 0, 1, 1), R(0, 3, 1, 5)}) {
      QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &bad, 0);
      QDLRect zero = R(0, 0, 0, 0);
      QDLSurfaceCopyRect(&dst.surface, &zero, &src.surface, &bad, 0);
      EXPECT_EQ(dst.buffer, before);
    }
  }
  // 16-bit copies of widths 1..4 at even and odd columns.
  for (int32_t w = 1; w <= 4; ++w) {
    for (int32_t col = 0; col < 2; ++col) {
      TestSurface dst(8, 1, 2, 0x42, Rng());
      TestSurface src(8, 1, 2, 0x42, Rng());
      const uint32_t left = dst.get(col == 0 ? 0 : col - 1, 0);
      const QDLRect s = R(1, 0, 1 + w, 1);
      const QDLRect d = R(col + 1, 0, 0, 0);
      const uint32_t before = dst.get(col, 0);
      const uint32_t after = dst.get(col + 1 + w, 0);
      QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &s, 0);
      for (int32_t i = 0; i < w; ++i) EXPECT_EQ(dst.get(col + 1 + i, 0), src.get(1 + i, 0));
      EXPECT_EQ(dst.get(col, 0), before);
      EXPECT_EQ(dst.get(col + 1 + w, 0), after);
      (void)left;
    }
  }
}

TEST(SurfaceCopy, ConvertAndDispatch) {
  // 24-bit source with shifts 16, 8, 0 (blue, green, red in memory) onto RGB565.
  TestSurface src(3, 1, 3, 8, Rng());
  src.surface.redShift = 16;
  src.surface.greenShift = 8;
  src.surface.blueShift = 0;
  src.set(0, 0, 0xFF8010);  // bytes 10 80 FF: B at 0, G at 1, R at 2
  src.set(1, 0, 0x010203);
  src.set(2, 0, 0x112233);
  src.surface.colourKey = 0xAA010203;
  TestSurface dst(4, 2, 2, 0x42, Rng());
  dst.fill(0x5A5A);
  const QDLRect s = R(0, 0, 3, 1);
  const QDLRect d = R(1, 1, 0, 0);
  QDLSurfaceCopyRect(&dst.surface, &d, &src.surface, &s, QDLCOPY_KEY_SOURCE | QDLCOPY_MIRROR_X);
  EXPECT_EQ(dst.get(1, 1), 0xFC02u);   // unmirrored despite the flag
  EXPECT_EQ(dst.get(2, 1), 0x5A5Au);   // keyed by its own three bytes
  EXPECT_EQ(dst.get(3, 1), static_cast<uint32_t>(((0x11 >> 3) << 11) | ((0x22 >> 2) << 5) | (0x33 >> 3)));
  // Pairs that are not copied.
  TestSurface s16(2, 1, 2, 0x42, Rng());
  TestSurface d24(2, 1, 3, 8, Rng());
  std::vector<uint8_t> before = d24.buffer;
  const QDLRect one = R(0, 0, 1, 1);
  const QDLRect at0 = R(0, 0, 0, 0);
  QDLSurfaceCopyRect(&d24.surface, &at0, &s16.surface, &one, 0);
  EXPECT_EQ(d24.buffer, before);
  TestSurface a32(2, 1, 4, 16, Rng()), b32(2, 1, 4, 16, Rng());
  before = b32.buffer;
  QDLSurfaceCopyRect(&b32.surface, &at0, &a32.surface, &one, 0);
  EXPECT_EQ(b32.buffer, before);
  TestSurface o1(2, 1, 2, 0x42, Rng()), o2(2, 1, 2, 0x142, Rng());
  before = o2.buffer;
  QDLSurfaceCopyRect(&o2.surface, &at0, &o1.surface, &one, 0);
  EXPECT_EQ(o2.buffer, before);
}

TEST(SurfaceCopy, PalettedAndDoubleSize) {
  uint16_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(0x6000 + i);
  QDLPalette pal{};
  pal.colourTable = table;
  TestSurface src(3, 2, 1, 1, Rng());
  src.surface.palette = &pal;
  for (int i = 0; i < 6; ++i) src.set(i % 3, i / 3, static_cast<uint32_t>(i + 1));
  src.surface.colourKey = 0x1205;  // low byte 5
  TestSurface dst(5, 3, 2, 0x42, Rng());
  dst.fill(0);
  const QDLRect s = R(0, 0, 3, 2);
  const QDLRect d = R(1, 1, 0, 0);
  QDLSurfaceBlitRect(&dst.surface, &d, &src.surface, &s, nullptr,
                     QDLCOPY_KEY_SOURCE | QDLCOPY_MIRROR_X | QDLCOPY_MIRROR_Y);
  EXPECT_EQ(dst.get(3, 2), table[1]);  // source (0,0) mirrored both ways
  EXPECT_EQ(dst.get(1, 2), table[3]);
  EXPECT_EQ(dst.get(3, 1), table[4]);
  EXPECT_EQ(dst.get(2, 1), 0u);        // index 5 keyed
  EXPECT_EQ(dst.get(0, 0), 0u);
  // An 8-bit destination draws nothing; a missing palette draws nothing.
  TestSurface d8(4, 4, 1, 1, Rng());
  std::vector<uint8_t> before = d8.buffer;
  QDLSurfaceBlitRect(&d8.surface, &d, &src.surface, &s, &pal, 0);
  EXPECT_EQ(d8.buffer, before);
  src.surface.palette = nullptr;
  before = dst.buffer;
  QDLSurfaceBlitRect(&dst.surface, &d, &src.surface, &s, nullptr, 0);
  EXPECT_EQ(dst.buffer, before);

  // Double size: a 3 x 2 rectangle becomes a 6 x 4 block of 2 x 2 squares.
  for (int bytes : {1, 2}) {
    const uint16_t fmt = bytes == 1 ? 1 : 0x42;
    TestSurface a(4, 3, bytes, fmt, Rng());
    TestSurface b(8, 6, bytes, fmt, Rng());
    const std::vector<uint8_t> untouched = b.buffer;
    const QDLRectI16 sr{1, 1, 3, 2};
    const QDLRectI16 dr{2, 1, 99, 0};  // the width no longer matters for the rows
    QDLSurfaceBlitRectI16(&b.surface, &dr, &a.surface, &sr);
    for (int r = 0; r < 6; ++r) {
      for (int c = 0; c < 8; ++c) {
        const bool in = c >= 2 && r >= 1 && r < 5;
        if (in) {
          EXPECT_EQ(b.get(c, r), a.get(1 + (c - 2) / 2, 1 + (r - 1) / 2)) << c << "," << r;
        }
      }
    }
    // A block that does not fit is refused whole.
    TestSurface c(8, 6, bytes, fmt, Rng());
    before = c.buffer;
    const QDLRectI16 tooFar{3, 1, 0, 0};
    QDLSurfaceBlitRectI16(&c.surface, &tooFar, &a.surface, &sr);
    const QDLRectI16 tooLow{0, 3, 0, 0};
    QDLSurfaceBlitRectI16(&c.surface, &tooLow, &a.surface, &sr);
    const QDLRectI16 outside{3, 2, 2, 2};
    QDLSurfaceBlitRectI16(&c.surface, nullptr, &a.surface, &outside);
    EXPECT_EQ(c.buffer, before);
    (void)untouched;
  }
}

TEST(SurfaceCopy, LockFailureKeepsTheCallersLock) {
  TestSurface src(2, 2, 2, 0x42, Rng());
  QDLSurface none{};
  none.width = 4;
  none.height = 4;
  none.bitsPerPixel = 16;
  none.bytesPerPixel = 2;
  none.formatCode = 0x42;
  const QDLRect s = R(0, 0, 2, 2);
  const QDLRect d = R(0, 0, 0, 0);
  QDLSurfaceCopyRect(&none, &d, &src.surface, &s, 0);
  EXPECT_EQ(src.surface.locked, 1u);
  EXPECT_EQ(none.locked, 0u);
}
