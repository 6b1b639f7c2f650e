// The dispatcher: clip blocks, reject and accept, routing of modes, the
// halving mask and level, colour tables, views, locks and refused requests.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "blit_test_util.h"

using namespace blittest;

namespace {

std::mt19937& Rng() {
  static std::mt19937 rng(7);
  return rng;
}

// A raw frame of w x h whose pixels are all `value`.
struct RawFrame {
  std::vector<uint8_t> data;
  QDLSpriteBank bank{};
  QDLPalette palette{};
  uint16_t table[256] = {};
  QDLFrame frame{};
  RawFrame(int srcBytes, uint32_t formatCode, int16_t w, int16_t h, uint32_t value = 1) {
    for (int j = 0; j < h; ++j) {
      const size_t len = 2 + static_cast<size_t>(w) * srcBytes;
      data.push_back(static_cast<uint8_t>(len));
      data.push_back(static_cast<uint8_t>(len >> 8));
      for (int i = 0; i < w; ++i) PutPixel(data, value, srcBytes);
    }
    if (data.empty()) data.push_back(0);
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(0x4000 + i);
    palette.colourTable = table;
    bank.formatCode = formatCode;
    bank.sourceBytesPerPixel = static_cast<uint32_t>(srcBytes);
    bank.colourTable = table;
    bank.palette = &palette;
    frame.width = w;
    frame.height = h;
    frame.encoding = QDLENC_RAW;
    frame.pixels = data.data();
    frame.bank = &bank;
  }
};

QDLBlitParams Stale() {
  QDLBlitParams p{};
  p.clipSkipX = p.clipSkipY = p.clipWidth = p.clipHeight = 0x5555;
  p.clipX = p.clipY = p.clipExtentX = p.clipExtentY = 0x5555;
  p.wrapWidth = p.wrapHeight = 0x5555;
  return p;
}

}  // namespace

TEST(BlitDispatch, RejectAcceptAndClipBlocks) {
  TestSurface surf(20, 10, 2, 0x42, Rng());
  RawFrame f(2, 0x42, 8, 4, 0x1234);
  struct Case {
    int32_t x, y;
    uint32_t flags;
    uint32_t result;
    bool written;
    int32_t skipX, width, clipX, skipY, height, clipY;
  };
  const Case cases[] = {
      // Inside: no clip block written.
      {0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0},
      {12, 6, 0, 0, false, 0, 0, 0, 0, 0, 0},
      // Wholly outside.
      {20, 0, 0, 7, false, 0, 0, 0, 0, 0, 0},
      {0, 10, 0, 7, false, 0, 0, 0, 0, 0, 0},
      {-9, 0, 0, 7, false, 0, 0, 0, 0, 0, 0},
      {0, -5, 0, 7, false, 0, 0, 0, 0, 0, 0},
      // Ends exactly at column 0 / row 0: accepted, nothing visible.
      {-8, 0, 0, 0, true, 8, 0, 0, 0, 4, 0},
      {0, -4, 0, 0, true, 0, 8, 0, 4, 0, 0},
      // Left clip: skip -x without mirror, 0 with mirror X.
      {-3, 0, 0, 0, true, 3, 5, 0, 0, 4, 0},
      {-3, 0, QDLBLIT_MIRROR_X, 0, true, 0, 5, 0, 0, 4, 0},
      // Right clip: skip 0 without mirror, w - W + x with mirror X.
      {15, 0, 0, 0, true, 0, 5, 15, 0, 4, 0},
      {15, 0, QDLBLIT_MIRROR_X, 0, true, 3, 5, 15, 0, 4, 0},
      // Top and bottom likewise with mirror Y.
      {0, -1, 0, 0, true, 0, 8, 0, 1, 3, 0},
      {0, -1, QDLBLIT_MIRROR_Y, 0, true, 0, 8, 0, 0, 3, 0},
      {0, 8, QDLBLIT_MIRROR_Y, 0, true, 0, 8, 0, 2, 2, 8},
      {0, 8, 0, 0, true, 0, 8, 0, 0, 2, 8},
  };
  for (const Case& c : cases) {
    QDLBlitParams p = Stale();
    EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, c.x, c.y, c.flags, &p), c.result) << c.x << "," << c.y;
    if (!c.written) {
      EXPECT_EQ(p.clipSkipX, 0x5555) << c.x << "," << c.y;
      continue;
    }
    EXPECT_EQ(p.clipSkipX, c.skipX) << c.x << "," << c.y;
    EXPECT_EQ(p.clipWidth, c.width) << c.x << "," << c.y;
    EXPECT_EQ(p.clipExtentX, c.width);
    EXPECT_EQ(p.clipX, c.clipX);
    EXPECT_EQ(p.clipSkipY, c.skipY) << c.x << "," << c.y;
    EXPECT_EQ(p.clipHeight, c.height) << c.x << "," << c.y;
    EXPECT_EQ(p.clipExtentY, c.height);
    EXPECT_EQ(p.clipY, c.clipY);
    EXPECT_EQ(p.wrapWidth, 0x5555);
  }
  // Both sides overhang: W columns; skip w - W + x with mirror X, else -x.
  RawFrame wide(2, 0x42, 26, 1);
  QDLBlitParams p = Stale();
  EXPECT_EQ(QDLBlit(&surf.surface, &wide.frame, -2, 0, QDLBLIT_MIRROR_X, &p), 0u);
  EXPECT_EQ(p.clipSkipX, 4);
  EXPECT_EQ(p.clipWidth, 20);
  EXPECT_EQ(p.clipX, 0);
  EXPECT_EQ(QDLBlit(&surf.surface, &wide.frame, -2, 0, 0, &p), 0u);
  EXPECT_EQ(p.clipSkipX, 2);
  // A frame exactly filling the surface.
  RawFrame full(2, 0x42, 20, 10, 0x2222);
  p = Stale();
  EXPECT_EQ(QDLBlit(&surf.surface, &full.frame, 0, 0, 0, &p), 0u);
  EXPECT_EQ(p.clipSkipX, 0x5555);
  EXPECT_EQ(surf.get(19, 9), 0x2222u);
  // Unclipped: no test, no clip block.
  p = Stale();
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 1, QDLBLIT_UNCLIPPED, &p), 0u);
  EXPECT_EQ(p.clipSkipX, 0x5555);
  EXPECT_EQ(surf.get(1, 1), 0x1234u);
}

TEST(BlitDispatch, RoutingMaskAndLevel) {
  // One pixel of black over white tells the records apart: level 15 is the
  // 50% record (0x7BEF), 14 and 16 the general one, unknown modes the pattern.
  struct Case {
    uint32_t flags;
    uint16_t level;
    uint16_t want;
  };
  const Case cases[] = {{4, 15, 0x7BEF}, {4, 16, 0x7BCF}, {4, 14, 0x8430},
                        {0, 0, 0x0000}};
  RawFrame f(2, 0x42, 1, 1, 0x0000);
  for (const Case& c : cases) {
    TestSurface surf(2, 1, 2, 0x42, Rng());
    surf.set(0, 0, 0xFFFF);
    QDLBlitParams p{};
    p.level = c.level;
    EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, c.flags, &p), 0u);
    EXPECT_EQ(surf.get(0, 0), c.want) << c.flags << " " << c.level;
  }
  for (uint32_t mode : {5u, 2u, 0x100004u, 0x20000000u, 0x10001u}) {
    QDLBlitPatternCountersResetForTest();
    qdlPatternCounter16To16 = 0xBEEF;
    TestSurface surf(2, 1, 2, 0x42, Rng());
    QDLBlitParams p{};
    EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, mode, &p), 0u);
    EXPECT_EQ(surf.get(0, 0), 0xBEEFu) << mode;
  }
  // Ignored bits 26..28 and the palette bit 0x40 do not change the mode.
  {
    TestSurface surf(2, 1, 2, 0x42, Rng());
    RawFrame g(2, 0x42, 1, 1, 0x4321);
    QDLBlitParams p{};
    EXPECT_EQ(QDLBlit(&surf.surface, &g.frame, 0, 0, 0x1C000000, &p), 0u);
    EXPECT_EQ(surf.get(0, 0), 0x4321u);
  }
  // halveMask by destination format; alpha-map level = redShift.
  struct Mask {
    uint16_t formatCode;
    uint16_t mask;
    uint16_t redShift;
  };
  const Mask masks[] = {{0x42, 0x7BEF, 11}, {4, 0xBDEF, 10}, {0x504, 0xBDEF, 10}, {2, 0x7BEF, 11}};
  for (const Mask& m : masks) {
    for (uint32_t mode : {4u, 0x100000u}) {
      TestSurface surf(2, 1, 2, m.formatCode, Rng());
      RawFrame g(2, m.formatCode, 1, 1, 0);
      QDLBlitParams p{};
      p.level = 3;
      EXPECT_EQ(QDLBlit(&surf.surface, &g.frame, 0, 0, mode, &p), 0u);
      EXPECT_EQ(p.halveMask, m.mask) << m.formatCode;
      EXPECT_EQ(p.level, mode == 4 ? 3 : m.redShift);
    }
  }
}

TEST(BlitDispatch, ColourTablesAndSourceSize) {
  TestSurface surf(4, 1, 2, 0x42, Rng());
  // Null params: the dispatcher's own block carries the bank's table.
  RawFrame f(1, 1, 1, 1, 9);
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(surf.get(0, 0), f.table[9]);
  QDLBlitParams p{};
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, 0, &p), 0u);
  EXPECT_EQ(p.colourTable, f.table);
  EXPECT_EQ(p.colourTablePalette, &f.palette);
  // With QDLBLIT_PALETTE the parameter block's palette gives the colours.
  uint16_t other[256];
  for (int i = 0; i < 256; ++i) other[i] = static_cast<uint16_t>(0x7000 + i);
  QDLPalette pal{};
  pal.colourTable = other;
  p.palette = &pal;
  EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, QDLBLIT_PALETTE, &p), 0u);
  EXPECT_EQ(surf.get(1, 0), other[9]);
  EXPECT_EQ(p.colourTablePalette, &pal);
  // An indexed bank without a pixel size takes 1 from its format code (not 16-bit kernels).
  RawFrame g(1, 1, 2, 1, 5);
  g.bank.sourceBytesPerPixel = 0;
  EXPECT_EQ(QDLBlit(&surf.surface, &g.frame, 2, 0, 0, nullptr), 0u);
  EXPECT_EQ(g.bank.sourceBytesPerPixel, 1u);
  EXPECT_EQ(surf.get(2, 0), g.table[5]);
  EXPECT_EQ(surf.get(3, 0), g.table[5]);
  RawFrame h(2, 4, 1, 1, 0x0123);
  h.bank.sourceBytesPerPixel = 0;
  TestSurface s555(1, 1, 2, 4, Rng());
  EXPECT_EQ(QDLBlit(&s555.surface, &h.frame, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(h.bank.sourceBytesPerPixel, 2u);
  // An unknown format code and no pixel size: nothing drawn.
  RawFrame u(2, 3, 1, 1);
  u.bank.sourceBytesPerPixel = 0;
  EXPECT_EQ(QDLBlit(&surf.surface, &u.frame, 0, 0, 0, nullptr), 7u);
}

TEST(BlitDispatch, RefusedRequestsDrawNothing) {
  TestSurface surf(4, 2, 2, 0x42, Rng());
  const std::vector<uint8_t> before = surf.buffer;
  RawFrame idx(1, 1, 2, 1, 3);
  RawFrame px(2, 0x42, 2, 1, 0x1234);
  // Modes that read the caller's block need one.
  for (uint32_t mode : {0x10000u, 1u, 4u, 0x100000u, 0x40u}) {
    EXPECT_EQ(QDLBlit(&surf.surface, &px.frame, 0, 0, mode, nullptr), 7u) << mode;
    EXPECT_EQ(QDLBlit(&surf.surface, &idx.frame, -1, 0, mode, nullptr), 7u) << mode;
  }
  // An indexed bank without any colour table, where the kernel would translate.
  idx.bank.colourTable = nullptr;
  QDLBlitParams p{};
  EXPECT_EQ(QDLBlit(&surf.surface, &idx.frame, 0, 0, 0, &p), 7u);
  EXPECT_EQ(QDLBlit(&surf.surface, &idx.frame, 0, 0, 4, &p), 7u);
  p.palette = nullptr;
  EXPECT_EQ(QDLBlit(&surf.surface, &idx.frame, 0, 0, QDLBLIT_PALETTE, &p), 7u);
  // Encoding 0 or out of range; no pixel data; a pair of sizes without a table.
  RawFrame e(2, 0x42, 2, 1);
  for (int16_t enc : {0, 4, -1}) {
    e.frame.encoding = enc;
    EXPECT_EQ(QDLBlit(&surf.surface, &e.frame, 0, 0, 0, nullptr), 7u) << enc;
  }
  RawFrame n(2, 0x42, 2, 1);
  n.frame.pixels = nullptr;
  EXPECT_EQ(QDLBlit(&surf.surface, &n.frame, 0, 0, 0, nullptr), 7u);
  RawFrame deep(3, 8, 1, 1);
  EXPECT_EQ(QDLBlit(&surf.surface, &deep.frame, 0, 0, 0, nullptr), 7u);
  EXPECT_EQ(surf.buffer, before);
  // A 16-bit bank on an 8-bit surface has no table; 24-bit and 32-bit banks
  // have only the plain record.
  TestSurface s8(2, 1, 1, 1, Rng());
  EXPECT_EQ(QDLBlit(&s8.surface, &px.frame, 0, 0, 0, nullptr), 7u);
  TestSurface s24(2, 1, 3, 8, Rng());
  RawFrame f24(3, 8, 1, 1, 0xABCDEF);
  QDLBlitParams q{};
  EXPECT_EQ(QDLBlit(&s24.surface, &f24.frame, 0, 0, 1, &q), 7u);
  EXPECT_EQ(QDLBlit(&s24.surface, &f24.frame, 0, 0, 2, &q), 7u);
  EXPECT_EQ(QDLBlit(&s24.surface, &f24.frame, 0, 0, QDLBLIT_MIRROR_Y, &q), 0u);
  EXPECT_EQ(s24.get(0, 0), 0xABCDEFu);
  // Null surface or frame.
  EXPECT_EQ(QDLBlit(nullptr, &px.frame, 0, 0, 0, nullptr), 7u);
  EXPECT_EQ(QDLBlit(&surf.surface, nullptr, 0, 0, 0, nullptr), 7u);
}

TEST(BlitDispatch, WrappingViews) {
  TestSurface surf(10, 6, 2, 0x42, Rng());
  RawFrame f(2, 0x42, 4, 3, 0x0F0F);
  // Near the right and bottom edges: split at the parent's edges.
  QDLSurface view = MakeWrapView(&surf.surface, 7, 4);
  QDLBlitParams p = Stale();
  EXPECT_EQ(QDLBlit(&view, &f.frame, 1, 1, 0, &p), 0u);
  EXPECT_EQ(p.clipX, 8);
  EXPECT_EQ(p.clipY, 5);
  EXPECT_EQ(p.wrapWidth, 2);
  EXPECT_EQ(p.wrapHeight, 1);
  int drawn = 0;
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 10; ++c)
      if (surf.get(c, r) == 0x0F0F) ++drawn;
  EXPECT_EQ(drawn, 12);
  EXPECT_EQ(surf.get(8, 5), 0x0F0Fu);
  EXPECT_EQ(surf.get(1, 1), 0x0F0Fu);
  // Offsets outside the parent wrap by a true modulo.
  surf.fill(0);
  QDLSurface far = MakeWrapView(&surf.surface, -23, 17);
  EXPECT_EQ(QDLBlit(&far, &f.frame, 0, 0, 0, &p), 0u);
  EXPECT_EQ(surf.get(7, 5), 0x0F0Fu);  // (-23 mod 10, 17 mod 6)
  EXPECT_EQ(surf.get(0, 1), 0x0F0Fu);
  // A view whose size is not its parent's is refused.
  QDLSurface bad = MakeWrapView(&surf.surface, 0, 0);
  bad.width = 12;
  EXPECT_EQ(QDLBlit(&bad, &f.frame, 0, 0, 0, &p), 7u);
}

TEST(BlitDispatch, ViewsTakeFormatAndPixelsFromTheirParent) {
  TestSurface parent(8, 4, 2, 0x42, Rng());
  parent.fill(0);
  std::vector<uint8_t> elsewhere(256, 0xAB);
  QDLSurface view{};
  view.width = 4;
  view.height = 2;
  view.flags = QDLSURF_VIEW;
  view.parent = &parent.surface;
  view.viewX = 3;
  view.viewY = 1;
  // A stale lock: the view claims to be locked at some other memory, and
  // carries no format of its own.
  view.locked = 1;
  view.pixels = elsewhere.data();
  view.pitch = 16;
  RawFrame f(2, 0x42, 2, 1, 0x7777);
  EXPECT_EQ(QDLBlit(&view, &f.frame, 1, 1, 0, nullptr), 0u);
  EXPECT_EQ(parent.get(4, 2), 0x7777u);
  EXPECT_EQ(parent.get(5, 2), 0x7777u);
  EXPECT_EQ(parent.get(6, 2), 0u);
  for (uint8_t b : elsewhere) ASSERT_EQ(b, 0xAB);
  // Translucent mode reads the parent's format for its mask.
  QDLBlitParams p{};
  p.level = 15;
  parent.surface.formatCode = 4;
  EXPECT_EQ(QDLBlit(&view, &f.frame, 0, 0, QDLBLIT_TRANSLUCENT, &p), 0u);
  EXPECT_EQ(p.halveMask, 0xBDEF);
  EXPECT_EQ(parent.get(3, 1), static_cast<uint32_t>((0x7777 >> 1) & 0xBDEF));
}

TEST(BlitDispatch, LocksAndPlainViews) {
  QDLSurfacePoolInit();
  QDLSurface* base = QDLSurfaceCreate(16, 8, 16, QDLCREATE_MEMORY);
  ASSERT_NE(base, nullptr);
  ASSERT_EQ(QDLSurfaceLock(base), 0u);
  std::memset(base->pixels, 0, static_cast<size_t>(base->pitch) * 8);
  ASSERT_EQ(QDLSurfaceUnlock(base), 0u);
  // A plain view draws at its origin, through its parent's memory.
  QDLSurface* view = QDLSurfaceCreateView(base, 4, 2, 8, 4, 0);
  ASSERT_NE(view, nullptr);
  RawFrame f(2, base->formatCode, 2, 2, 0x1357);
  EXPECT_EQ(QDLBlit(view, &f.frame, 1, 1, 0, nullptr), 0u);
  ASSERT_EQ(QDLSurfaceLock(base), 0u);
  auto at = [&](int c, int r) {
    uint16_t v;
    std::memcpy(&v, base->pixels + r * base->pitch + c * 2, 2);
    return v;
  };
  EXPECT_EQ(at(5, 3), 0x1357);
  EXPECT_EQ(at(6, 4), 0x1357);
  EXPECT_EQ(at(4, 2), 0);
  // Clipped against the view's own size.
  EXPECT_EQ(QDLBlit(view, &f.frame, 7, 3, 0, nullptr), 0u);
  EXPECT_EQ(at(11, 5), 0x1357);
  EXPECT_EQ(at(12, 5), 0);
  EXPECT_EQ(at(11, 6), 0);
  QDLSurfaceUnlock(base);
  // A wrapping view made by the library splits at the parent's edges.
  QDLSurface* wrap = QDLSurfaceCreateView(base, 6, 7, 0, 0, QDLCREATE_WRAP_VIEW);
  ASSERT_NE(wrap, nullptr);
  RawFrame g(2, base->formatCode, 4, 2, 0x2468);
  EXPECT_EQ(QDLBlit(wrap, &g.frame, 8, 0, 0, nullptr), 0u);
  ASSERT_EQ(QDLSurfaceLock(base), 0u);
  for (int c : {14, 15, 0, 1}) {
    EXPECT_EQ(at(c, 7), 0x2468) << c;
    EXPECT_EQ(at(c, 0), 0x2468) << c;
  }
  EXPECT_EQ(at(13, 7), 0);
  EXPECT_EQ(at(2, 0), 0);
  EXPECT_EQ(at(2, 1), 0);
  QDLSurfaceUnlock(base);
  QDLSurfaceFree(wrap);
  QDLSurfaceFree(view);
  QDLSurfaceFree(base);

  // A surface that cannot be locked: result 1, nothing drawn.
  QDLSurface none{};
  none.width = 4;
  none.height = 4;
  none.bitsPerPixel = 16;
  none.bytesPerPixel = 2;
  none.formatCode = 0x42;
  EXPECT_EQ(QDLBlit(&none, &f.frame, 0, 0, 0, nullptr), 1u);
}

TEST(BlitDispatch, FormatBitsPerPixel) {
  const uint32_t codes[] = {1, 2, 4, 8, 16, 0x702, 0x42, 0x7E1, 3, 32, 0};
  const uint32_t bits[] = {8, 16, 16, 24, 32, 16, 16, 8, 0, 0, 0};
  for (size_t i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
    EXPECT_EQ(QDLFormatBitsPerPixel(codes[i]), bits[i]) << codes[i];
  }
}
