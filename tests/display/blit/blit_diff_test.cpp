// Seeded random differential tests: every slot of every kernel table, drawn
// through QDLBlit over random frames, encodings, mirrors, clips and wrapping
// views, against the reference model; sentinel borders prove that nothing
// outside the drawn pixels changes. Run once per vector set of the machine.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_test_util.h"
#include "display/blit/qdl_blit_simd.h"

using namespace blittest;

namespace {

struct TableCase {
  int srcBytes;
  int dstBytes;
  uint32_t records;
};
const TableCase kTables[] = {{1, 1, 7}, {1, 2, 7}, {2, 2, 7}, {3, 3, 1}, {4, 4, 1}};

uint32_t ModeFlags(uint32_t record, uint16_t* level, std::mt19937& rng) {
  switch (record) {
    case QDLBLIT_RECORD_PLAIN:
      return 0;
    case QDLBLIT_RECORD_KEY:
      return QDLBLIT_KEY;
    case QDLBLIT_RECORD_SOLID:
      return QDLBLIT_SOLID;
    case QDLBLIT_RECORD_PATTERN: {
      const uint32_t others[] = {2, 3, 5, 0x100004, 0x20000000, 0x10001, 8};
      return others[rng() % 7];
    }
    case QDLBLIT_RECORD_TRANS: {
      const uint16_t levels[] = {0, 1, 8, 16, 24, 30, 31, 31, 14, 16, 32, 47, 63, 200};
      *level = levels[rng() % 14];
      if (*level == 15) *level = 16;
      return QDLBLIT_TRANSLUCENT;
    }
    case QDLBLIT_RECORD_HALF:
      *level = 15;
      return QDLBLIT_TRANSLUCENT;
    default:
      return QDLBLIT_ALPHAMAP;
  }
}

// One random blit of one table slot; returns a description on mismatch.
std::string RunOne(const TableCase& t, uint32_t record, uint32_t flip, int encoding,
                   std::mt19937& rng) {
  const bool is555 = t.dstBytes == 2 && (rng() & 1);
  const uint16_t formatCode =
      t.dstBytes == 1 ? 1 : t.dstBytes == 2 ? (is555 ? (rng() & 1 ? 4 : 0x504) : 0x42)
                                            : t.dstBytes == 3 ? 8 : 16;
  const int32_t W = 1 + static_cast<int32_t>(rng() % 37);
  const int32_t H = 1 + static_cast<int32_t>(rng() % 23);
  TestSurface surf(W, H, t.dstBytes, formatCode, rng);

  // The frame: a grid of cells with runs of equal values.
  Grid g;
  g.width = static_cast<int32_t>(rng() % 8 == 0 ? rng() % 3 : rng() % 48);
  g.height = static_cast<int32_t>(rng() % 8 == 0 ? rng() % 2 : 1 + rng() % 20);
  if (rng() % 16 == 0) g.width = 127 + static_cast<int32_t>(rng() % 200);
  g.cells.resize(static_cast<size_t>(g.width) * g.height);
  const uint32_t valueMask = t.srcBytes == 4 ? 0xFFFFFFFFu : (1u << (8 * t.srcBytes)) - 1;
  uint32_t palette[6];
  for (uint32_t& v : palette) v = rng() & valueMask;
  for (int32_t j = 0; j < g.height; ++j) {
    uint32_t value = palette[0];
    bool opaque = true;
    for (int32_t i = 0; i < g.width; ++i) {
      if (rng() % 5 == 0) value = (rng() & 1) ? palette[rng() % 6] : rng() & valueMask;
      if (rng() % 6 == 0) opaque = !opaque;
      g.at(i, j).opaque = encoding == QDLENC_RAW || opaque;
      g.at(i, j).value = value;
    }
  }
  std::vector<uint8_t> data = Encode(g, encoding, t.srcBytes, rng);
  if (data.empty()) data.push_back(0);  // a frame of no rows still has a data pointer

  QDLSpriteBank bank{};
  bank.formatCode = t.srcBytes == 1 ? 1 : t.srcBytes == 2 ? formatCode : t.srcBytes == 3 ? 8 : 16;
  bank.sourceBytesPerPixel = (rng() & 1) ? static_cast<uint32_t>(t.srcBytes) : 0;
  uint16_t table[256];
  for (uint16_t& e : table) e = static_cast<uint16_t>(rng());
  QDLPalette pal{};
  pal.colourTable = table;
  bank.colourTable = table;
  bank.palette = &pal;
  QDLFrame frame{};
  frame.width = static_cast<int16_t>(g.width);
  frame.height = static_cast<int16_t>(g.height);
  frame.encoding = static_cast<int16_t>(encoding);
  frame.pixels = data.data();
  frame.bank = &bank;

  QDLBlitParams params{};
  params.colour = (rng() & 1) ? palette[rng() % 6] : static_cast<uint32_t>(rng());
  if (rng() & 1) params.colour |= 0xABCD0000u & ~valueMask;
  // Stale clip fields must not matter.
  params.clipSkipX = params.clipSkipY = params.wrapWidth = params.wrapHeight = 77777;
  uint16_t level = 0;
  uint32_t flags = ModeFlags(record, &level, rng) | (flip << 24);
  params.level = level;
  if (rng() % 8 == 0) flags |= 0x1C000000;  // ignored bits 26..28

  // Where to draw: anywhere from wholly outside to overhanging every edge.
  const int32_t x = static_cast<int32_t>(rng() % (W + g.width + 8)) - g.width - 4;
  const int32_t y = static_cast<int32_t>(rng() % (H + g.height + 8)) - g.height - 4;
  const bool wrap = rng() % 3 == 0;
  const int32_t viewX = wrap ? static_cast<int32_t>(rng() % (3 * W)) - W : 0;
  const int32_t viewY = wrap ? static_cast<int32_t>(rng() % (3 * H)) - H : 0;
  QDLSurface view = MakeWrapView(&surf.surface, viewX, viewY);

  // The model.
  Request q;
  q.srcBytes = t.srcBytes;
  q.dstBytes = t.dstBytes;
  q.record = record;
  q.mirrorX = flip & 1;
  q.mirrorY = flip & 2;
  q.encoding = encoding;
  q.is555 = is555;
  q.colour = params.colour;
  q.level = level;
  q.colourTable = table;
  std::vector<uint32_t> model(static_cast<size_t>(W) * H);
  for (int32_t r = 0; r < H; ++r)
    for (int32_t c = 0; c < W; ++c) model[static_cast<size_t>(r) * W + c] = surf.get(c, r);
  Counters ctr;
  if (t.dstBytes == 1) {
    ctr.a = qdlPatternCounter8To8;
  } else if (t.srcBytes == 1) {
    ctr.a = qdlPatternCounter8To16;
    ctr.b = qdlPatternFillCounter8To16;
  } else {
    ctr.a = qdlPatternCounter16To16;
    ctr.b = qdlPatternFillCounter16To16;
  }
  RefDraw(q, g, x, y, W, H, wrap, viewX, viewY, model, ctr);
  std::vector<uint8_t> expectedBuffer = surf.buffer;
  {
    // Write the model into a copy of the buffer: everything else must stay.
    TestSurface& s = surf;
    std::vector<uint8_t> saved = s.buffer;
    for (int32_t r = 0; r < H; ++r)
      for (int32_t c = 0; c < W; ++c) s.set(c, r, model[static_cast<size_t>(r) * W + c]);
    expectedBuffer = s.buffer;
    s.buffer = saved;
    s.surface.pixels = s.surface.block = s.origin();
  }

  const uint32_t result = QDLBlit(wrap ? &view : &surf.surface, &frame, x, y, flags, &params);
  const bool outside = x >= W || y >= H || x + g.width < 0 || y + g.height < 0;
  const uint32_t expectedResult = outside ? 7u : 0u;
  std::string where = "table " + std::to_string(t.srcBytes) + "->" + std::to_string(t.dstBytes) +
                      " record " + std::to_string(record) + " flip " + std::to_string(flip) +
                      " enc " + std::to_string(encoding) + " frame " + std::to_string(g.width) +
                      "x" + std::to_string(g.height) + " at " + std::to_string(x) + "," +
                      std::to_string(y) + " on " + std::to_string(W) + "x" + std::to_string(H) +
                      (wrap ? " wrap view " + std::to_string(viewX) + "," + std::to_string(viewY)
                            : std::string()) +
                      " level " + std::to_string(level);
  if (result != expectedResult) return where + ": result " + std::to_string(result);
  if (surf.buffer != expectedBuffer) {
    for (size_t i = 0; i < surf.buffer.size(); ++i) {
      if (surf.buffer[i] != expectedBuffer[i]) {
        const int32_t row = static_cast<int32_t>(i / surf.pitch) - surf.margin;
        const int32_t col = static_cast<int32_t>((i % surf.pitch) / surf.bytes) - surf.margin;
        return where + ": first difference at column " + std::to_string(col) + " row " +
               std::to_string(row) + " got byte " + std::to_string(surf.buffer[i]) + " want " +
               std::to_string(expectedBuffer[i]);
      }
    }
  }
  Counters after;
  if (t.dstBytes == 1) {
    after.a = qdlPatternCounter8To8;
  } else if (t.srcBytes == 1) {
    after.a = qdlPatternCounter8To16;
    after.b = qdlPatternFillCounter8To16;
  } else {
    after.a = qdlPatternCounter16To16;
    after.b = qdlPatternFillCounter16To16;
  }
  if (t.dstBytes <= 2 && (after.a != ctr.a || after.b != ctr.b)) {
    return where + ": pattern counters " + std::to_string(after.a) + "/" + std::to_string(after.b) +
           " want " + std::to_string(ctr.a) + "/" + std::to_string(ctr.b);
  }
  return {};
}

void RunAllSlots(uint32_t seed, int perSlot) {
  std::mt19937 rng(seed);
  int failures = 0;
  for (const TableCase& t : kTables) {
    for (uint32_t record = 0; record < t.records; ++record) {
      for (uint32_t flip = 0; flip < 4; ++flip) {
        for (int enc = 1; enc <= 3; ++enc) {
          for (int n = 0; n < perSlot; ++n) {
            std::string err = RunOne(t, record, flip, enc, rng);
            if (!err.empty()) {
              ADD_FAILURE() << err;
              if (++failures > 10) return;
            }
          }
        }
      }
    }
  }
}

class SimdSets : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    saved_ = qdlBlitSimd;
    if (!QDLBlitSimdSelectForTest(GetParam())) GTEST_SKIP() << "vector set not available here";
  }
  void TearDown() override { qdlBlitSimd = saved_; }
  const QDLBlitSimdSet* saved_ = nullptr;
};

}  // namespace

TEST_P(SimdSets, EverySlotMatchesTheReferenceModel) { RunAllSlots(1234u + GetParam(), 40); }

INSTANTIATE_TEST_SUITE_P(Blit, SimdSets, ::testing::Values(0, 1, 2, 3));

// Every slot 1..3 of every record of every table is filled; slot 0 is empty.
TEST(BlitTables, EverySlotFilledAndEncodingZeroEmpty) {
  const uint32_t keys[] = {0x11, 0x12, 0x22, 0x33, 0x44};
  const uint32_t counts[] = {7, 7, 7, 1, 1};
  for (int k = 0; k < 5; ++k) {
    const QDLBlitTable* t = QDLBlitTableFind(keys[k]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->recordCount, counts[k]);
    for (uint32_t r = 0; r < t->recordCount; ++r) {
      for (int flip = 0; flip < 4; ++flip) {
        EXPECT_EQ(t->records[r].kernel[flip * 4], nullptr);
        for (int e = 1; e <= 3; ++e) EXPECT_NE(t->records[r].kernel[flip * 4 + e], nullptr);
      }
    }
  }
  for (uint32_t key : {0x00u, 0x13u, 0x21u, 0x14u, 0x24u, 0x34u, 0x23u}) {
    EXPECT_EQ(QDLBlitTableFind(key), nullptr) << key;
  }
}

// Slots hold the kernels of their names: kernel[flip * 4 + encoding].
TEST(BlitTables, SlotsHoldTheNamedKernels) {
  EXPECT_EQ(qdlBlitTable8To16[1].kernel[1 * 4 + 2], &QDLBlit8To16KeyMirrorXRle);
  EXPECT_EQ(qdlBlitTable8To16[6].kernel[2 * 4 + 3], &QDLBlit8To16AlphaMirrorYRleFill);
  EXPECT_EQ(qdlBlitTable8To16[0].kernel[0 * 4 + 1], &QDLBlit8To16PlainRaw);
  EXPECT_EQ(qdlBlitTable16To16[5].kernel[1 * 4 + 1], &QDLBlit16To16HalfMirrorXRaw);
  EXPECT_EQ(qdlBlitTable16To16[4].kernel[3 * 4 + 3], &QDLBlit16To16TransMirrorXYRleFill);
  EXPECT_EQ(qdlBlitTable16To16[2].kernel[2 * 4 + 2], &QDLBlit16To16SolidMirrorYRle);
  EXPECT_EQ(qdlBlitTable8To8[4].kernel[2 * 4 + 1], &QDLBlit8To8TransMirrorYRaw);
  EXPECT_EQ(qdlBlitTable8To8[1].kernel[3 * 4 + 3], &QDLBlit8To8KeyMirrorXYRleFill);
  EXPECT_EQ(qdlBlitTable24To24[0].kernel[1 * 4 + 3], &QDLBlit24To24PlainMirrorXRleFill);
  EXPECT_EQ(qdlBlitTable32To32[0].kernel[3 * 4 + 1], &QDLBlit32To32PlainMirrorXYRaw);
  for (int flip = 0; flip < 4; ++flip) {
    EXPECT_EQ(qdlBlitTable8To16[3].kernel[flip * 4 + 1], &QDLBlit8To16PatternRaw);
    EXPECT_EQ(qdlBlitTable16To16[3].kernel[flip * 4 + 3], &QDLBlit16To16PatternRleFill);
    EXPECT_EQ(qdlBlitTable8To8[3].kernel[flip * 4 + 2], &QDLBlit8To8PatternRle);
  }
  const uint32_t modes[7] = {0, 0x10000, 1, 0, 4, 4, 0x100000};
  for (int r = 0; r < 7; ++r) {
    EXPECT_EQ(qdlBlitTable8To8[r].mode, modes[r]);
    EXPECT_EQ(qdlBlitTable8To16[r].mode, modes[r]);
    EXPECT_EQ(qdlBlitTable16To16[r].mode, modes[r]);
  }
  EXPECT_EQ(qdlBlitTable24To24[0].mode, 0u);
}
