// Exact cases of the indexed blitters that the random differential tests
// reach only by chance: the halving-mask rule on odd format codes, the
// fields written for 8-bit destinations, the translucent and 50% kernels
// called directly, and the walk's named split and clip cases.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "blit_test_util.h"

using namespace blittest;

namespace {

std::mt19937& Rng() {
  static std::mt19937 rng(1010);
  return rng;
}

// A frame of 8-bit indices whose colour table holds 0x2000 + i.
struct IndexFrame : RowFrame {
  IndexFrame(int16_t width, int encoding, const std::vector<std::vector<uint8_t>>& rows)
      : RowFrame(1, 1, width, encoding, rows, 0x2000) {}
};

// Everything of the surface's buffer (sentinel border included) except the
// listed pixels must equal `before`.
void ExpectOnlyChanged(const TestSurface& s, const std::vector<uint8_t>& before,
                       const std::vector<std::pair<int, int>>& pixels) {
  std::vector<uint8_t> want = before;
  for (auto [c, r] : pixels) {
    const size_t at = static_cast<size_t>(s.margin + r) * s.pitch + (s.margin + c) * s.bytes;
    for (int b = 0; b < s.bytes; ++b) want[at + b] = s.buffer[at + b];
  }
  EXPECT_EQ(s.buffer, want);
}

}  // namespace

TEST(BlitIndexedCases, HalvingMaskFollowsTheMaskedFormatCode) {
  // (formatCode & 0xF81F) == 4 is RGB555; component-order bits 5..10 do not
  // count, any bit from 11 up makes it another format.
  struct Case {
    uint16_t formatCode;
    uint16_t mask;
  };
  const Case cases[] = {{0x7E4, 0xBDEF}, {0x804, 0x7BEF}, {0x1004, 0x7BEF}, {0x8004, 0x7BEF},
                        {0x24, 0xBDEF},  {0x14, 0x7BEF}};
  IndexFrame f(1, QDLENC_RAW, {{3}});
  for (const Case& c : cases) {
    for (uint32_t mode : {QDLBLIT_TRANSLUCENT, QDLBLIT_ALPHAMAP}) {
      TestSurface surf(2, 1, 2, c.formatCode, Rng());
      QDLBlitParams p{};
      p.level = 7;
      EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, mode, &p), 0u);
      EXPECT_EQ(p.halveMask, c.mask) << std::hex << c.formatCode << " mode " << mode;
    }
  }
}

TEST(BlitIndexedCases, EightBitDestinationKeepsTheMaskAndTakesItsRedShift) {
  // The mask is written for 2-byte destinations only; alpha-map mode still
  // stores the destination's redShift in level. Every such request draws the
  // plain copy on an 8-bit surface.
  IndexFrame f(3, QDLENC_RAW, {{9, 0, 200}});
  for (uint32_t mode : {QDLBLIT_TRANSLUCENT, QDLBLIT_ALPHAMAP}) {
    for (uint16_t level : {0, 15, 31}) {
      TestSurface surf(4, 1, 1, 1, Rng());
      surf.surface.redShift = 5;
      QDLBlitParams p{};
      p.level = level;
      p.colour = 0x77;
      p.halveMask = 0x1234;
      EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 1, 0, mode, &p), 0u);
      EXPECT_EQ(p.halveMask, 0x1234);
      EXPECT_EQ(p.level, mode == QDLBLIT_ALPHAMAP ? 5 : level);
      EXPECT_EQ(surf.get(1, 0), 9u);
      EXPECT_EQ(surf.get(2, 0), 0u);
      EXPECT_EQ(surf.get(3, 0), 200u);
    }
  }
}

TEST(BlitIndexedCases, TranslucentAndHalfKernelsCalledDirectly) {
  // One pixel of colour-table entry 4 over one destination pixel, RGB565.
  IndexFrame raw(1, QDLENC_RAW, {{4}});
  IndexFrame fill(1, QDLENC_RLE_FILL, {{1, 4, 0}});
  auto run = [](QDLBlitKernel k, IndexFrame& f, uint16_t level, uint16_t s, uint16_t d) {
    f.table[4] = s;
    TestSurface surf(1, 1, 2, 0x42, Rng());
    surf.set(0, 0, d);
    QDLBlitParams p{};
    p.level = level;
    p.halveMask = 0x7BEF;
    p.colourTable = f.table;
    EXPECT_EQ(k(&surf.surface, &f.frame, 0, 0, QDLBLIT_INDEXED | QDLBLIT_TRANSLUCENT, &p, 0), 0u);
    return surf.get(0, 0);
  };
  // Level 15 given to the general kernels blends by the chain: white over
  // black keeps the source's second to fifth halvings (15, 30, 15), where the
  // 50% kernels give 15, 31, 15. Black over white keeps the destination's
  // first halving, which is the 50% result too.
  for (QDLBlitKernel k : {&QDLBlit8To16TransRaw, &QDLBlit8To16TransMirrorXYRaw}) {
    EXPECT_EQ(run(k, raw, 15, 0xFFFF, 0x0000), 0x7BCFu);
    EXPECT_EQ(run(k, raw, 15, 0x0000, 0xFFFF), 0x7BEFu);
  }
  for (QDLBlitKernel k : {&QDLBlit8To16TransRleFill, &QDLBlit8To16TransMirrorXRleFill}) {
    EXPECT_EQ(run(k, fill, 15, 0xFFFF, 0x0000), 0x7BCFu);
    EXPECT_EQ(run(k, fill, 15, 0x0000, 0xFFFF), 0x7BEFu);
  }
  // The 50% kernels ignore level.
  for (uint16_t level : {0, 15, 16, 31, 200}) {
    EXPECT_EQ(run(&QDLBlit8To16HalfRaw, raw, level, 0xFFFF, 0x0000), 0x7BEFu) << level;
    EXPECT_EQ(run(&QDLBlit8To16HalfMirrorXRleFill, fill, level, 0xFFFF, 0x0000), 0x7BEFu) << level;
  }
  // Level 31: the fill run blends (black over white gives black, white over
  // anything 0xF7BE), the raw row copies.
  EXPECT_EQ(run(&QDLBlit8To16TransRleFill, fill, 31, 0x0000, 0xFFFF), 0x0000u);
  EXPECT_EQ(run(&QDLBlit8To16TransRleFill, fill, 31, 0xFFFF, 0x5A5A), 0xF7BEu);
  EXPECT_EQ(run(&QDLBlit8To16TransMirrorXRaw, raw, 31, 0xFFFF, 0x5A5A), 0xFFFFu);
  // Level 0 leaves the source out: white loses ceil(f/32) per field, black stays black.
  EXPECT_EQ(run(&QDLBlit8To16TransRaw, raw, 0, 0x1234, 0xFFFF), 0xF7BEu);
  EXPECT_EQ(run(&QDLBlit8To16TransRaw, raw, 0, 0xFFFF, 0x0000), 0x0000u);
}

TEST(BlitIndexedCases, MirrorYWithTheBottomClipped) {
  // Five rows of one pixel at y = 1 on a surface 4 high, mirrored top-bottom:
  // clipSkipY = 2, and stream row 2 lands on the visible part's bottom row.
  for (int enc : {QDLENC_RAW, QDLENC_RLE, QDLENC_RLE_FILL}) {
    std::vector<std::vector<uint8_t>> rows;
    for (uint8_t v = 1; v <= 5; ++v) {
      if (enc == QDLENC_RAW) rows.push_back({v});
      else rows.push_back({1, v, 0});
    }
    IndexFrame f(1, enc, rows);
    TestSurface surf(1, 4, 1, 1, Rng());
    surf.fill(0xEE);
    const std::vector<uint8_t> before = surf.buffer;
    QDLBlitParams p{};
    EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 1, QDLBLIT_MIRROR_Y, &p), 0u);
    EXPECT_EQ(p.clipSkipY, 2);
    EXPECT_EQ(p.clipHeight, 3);
    EXPECT_EQ(surf.get(0, 3), 3u) << enc;
    EXPECT_EQ(surf.get(0, 2), 4u) << enc;
    EXPECT_EQ(surf.get(0, 1), 5u) << enc;
    ExpectOnlyChanged(surf, before, {{0, 1}, {0, 2}, {0, 3}});
  }
}

TEST(BlitIndexedCases, TransparentRunEndingAtTheWrapPoint) {
  // Literal 2, transparent 2, literal 2 at parent column 6 of a 10-wide
  // parent: the transparent run ends exactly at the wrap point, and the second
  // piece starts at column 0 with the next control byte.
  IndexFrame f(6, QDLENC_RLE, {{2, 1, 2, 0xFE, 2, 3, 4, 0}});
  TestSurface surf(10, 1, 1, 1, Rng());
  surf.fill(0xEE);
  const std::vector<uint8_t> before = surf.buffer;
  QDLSurface view = MakeWrapView(&surf.surface, 4, 0);
  QDLBlitParams p{};
  EXPECT_EQ(QDLBlit(&view, &f.frame, 2, 0, 0, &p), 0u);
  EXPECT_EQ(p.wrapWidth, 4);
  EXPECT_EQ(surf.get(6, 0), 1u);
  EXPECT_EQ(surf.get(7, 0), 2u);
  EXPECT_EQ(surf.get(0, 0), 3u);
  EXPECT_EQ(surf.get(1, 0), 4u);
  ExpectOnlyChanged(surf, before, {{6, 0}, {7, 0}, {0, 0}, {1, 0}});
  // Mirrored: the first two source positions land at columns 1, 0, the last
  // two (after the transparent pair at 9, 8) at 7, 6.
  surf.buffer = before;
  EXPECT_EQ(QDLBlit(&view, &f.frame, 2, 0, QDLBLIT_MIRROR_X, &p), 0u);
  EXPECT_EQ(surf.get(1, 0), 1u);
  EXPECT_EQ(surf.get(0, 0), 2u);
  EXPECT_EQ(surf.get(7, 0), 3u);
  EXPECT_EQ(surf.get(6, 0), 4u);
  ExpectOnlyChanged(surf, before, {{6, 0}, {7, 0}, {0, 0}, {1, 0}});
}

TEST(BlitIndexedCases, WrappedLeftClippedRowEndingInTheCutPart) {
  // Frame 8 wide at view x = -3 on a view at 7 of a 10-wide parent:
  // clipSkipX 3, clipWidth 5, clipX 7, wrapWidth 3. Row 1 ends after two
  // positions, inside the cut part: it draws nothing, and row 2 still puts
  // its wrapped piece at column 0 of its own row.
  const std::vector<uint8_t> full{8, 10, 11, 12, 13, 14, 15, 16, 17, 0};
  IndexFrame f(8, QDLENC_RLE, {full, {2, 20, 21, 0}, full});
  TestSurface surf(10, 3, 2, 0x42, Rng());
  surf.fill(0xEEEE);
  const std::vector<uint8_t> before = surf.buffer;
  QDLSurface view = MakeWrapView(&surf.surface, 7, 0);
  QDLBlitParams p{};
  EXPECT_EQ(QDLBlit(&view, &f.frame, -3, 0, 0, &p), 0u);
  EXPECT_EQ(p.clipSkipX, 3);
  EXPECT_EQ(p.clipWidth, 5);
  EXPECT_EQ(p.clipX, 7);
  EXPECT_EQ(p.wrapWidth, 3);
  std::vector<std::pair<int, int>> changed;
  for (int r : {0, 2}) {
    EXPECT_EQ(surf.get(7, r), f.table[13]) << r;
    EXPECT_EQ(surf.get(9, r), f.table[15]) << r;
    EXPECT_EQ(surf.get(0, r), f.table[16]) << r;
    EXPECT_EQ(surf.get(1, r), f.table[17]) << r;
    for (int c : {7, 8, 9, 0, 1}) changed.push_back({c, r});
  }
  ExpectOnlyChanged(surf, before, changed);
}

TEST(BlitIndexedCases, LiteralRunEndingAtTheRightClipEdge) {
  // 50% kernels: a literal run of 3 ends exactly at the right edge and
  // another literal run follows; the row ends there, nothing else changes.
  IndexFrame f(6, QDLENC_RLE, {{3, 1, 2, 3, 3, 4, 5, 6, 0}});
  for (uint32_t flip : {0u, 1u}) {
    TestSurface surf(5, 1, 2, 0x42, Rng());
    const std::vector<uint8_t> before = surf.buffer;
    const uint32_t d2 = surf.get(2, 0);
    QDLBlitParams p{};
    p.level = 15;
    EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 2, 0, QDLBLIT_TRANSLUCENT | (flip << 24), &p), 0u);
    // Unmirrored, source 0 lands on column 2; mirrored, source 5 does (source
    // 0..2 are cut at the right).
    const uint8_t s2 = flip ? 6 : 1;
    EXPECT_EQ(surf.get(2, 0), static_cast<uint32_t>(((f.table[s2] >> 1) & 0x7BEF) + ((d2 >> 1) & 0x7BEF)));
    ExpectOnlyChanged(surf, before, {{2, 0}, {3, 0}, {4, 0}});
  }
}

TEST(BlitIndexedCases, LevelFifteenExactlyPicksTheHalfRecord) {
  // White over black tells the records apart at level 15: the 50% record
  // gives 15, 31, 15 (0x7BEF), the general one 15, 30, 15 (0x7BCF). Only the
  // exact value 15 picks the 50% record; 47 (low five bits 15) does not.
  struct Case {
    uint16_t level;
    uint16_t want;
  };
  const Case cases[] = {{15, 0x7BEF}, {47, 0x7BCF}, {14, 0x738E}, {16, 0x7BEF}, {31, 0xFFFF}};
  for (int enc : {QDLENC_RAW, QDLENC_RLE, QDLENC_RLE_FILL}) {
    std::vector<uint8_t> body = enc == QDLENC_RAW ? std::vector<uint8_t>{4}
                                                  : std::vector<uint8_t>{1, 4, 0};
    IndexFrame f(1, enc, {body});
    f.table[4] = 0xFFFF;
    for (const Case& c : cases) {
      for (uint32_t flip : {0u, 3u}) {
        TestSurface surf(1, 1, 2, 0x42, Rng());
        surf.set(0, 0, 0x0000);
        QDLBlitParams p{};
        p.level = c.level;
        EXPECT_EQ(QDLBlit(&surf.surface, &f.frame, 0, 0, QDLBLIT_TRANSLUCENT | (flip << 24), &p), 0u);
        const uint32_t want = (enc == QDLENC_RLE_FILL && c.level == 31) ? 0xF7BEu : c.want;
        EXPECT_EQ(surf.get(0, 0), want) << "level " << c.level << " enc " << enc << " flip " << flip;
      }
    }
  }
}
