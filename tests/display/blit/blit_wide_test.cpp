// The blends and lookups on screen-wide frames, under every vector set of the
// machine, against the reference model: frames up to 300 pixels wide with
// runs of every length (so that spans cross whole vectors, end on ragged
// ones and start anywhere), mirrored, clipped at either edge and wrapped,
// in both 16-bit layouts. Sentinel borders prove that nothing outside the
// drawn pixels changes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_test_util.h"
#include "display/blit/qdl_blit_simd.h"

using namespace blittest;

namespace {

struct Family {
  int srcBytes;
  uint32_t record;
};
const Family kFamilies[] = {
    {2, QDLBLIT_RECORD_TRANS}, {2, QDLBLIT_RECORD_HALF}, {2, QDLBLIT_RECORD_ALPHA}, {1, QDLBLIT_RECORD_PLAIN},
    {1, QDLBLIT_RECORD_TRANS}, {1, QDLBLIT_RECORD_HALF}, {1, QDLBLIT_RECORD_ALPHA},
};

std::string DrawWide(const Family& fam, uint32_t flip, int encoding, std::mt19937& rng) {
  const bool is555 = rng() & 1;
  const uint16_t formatCode = is555 ? 4 : 0x42;
  const int32_t W = 200 + static_cast<int32_t>(rng() % 140);
  const int32_t H = 1 + static_cast<int32_t>(rng() % 4);
  TestSurface surf(W, H, 2, formatCode, rng, 40);

  // Runs of 1 to 127 positions, long runs likely.
  Grid g;
  g.width = 1 + static_cast<int32_t>(rng() % 300);
  g.height = 1 + static_cast<int32_t>(rng() % 3);
  g.cells.resize(static_cast<size_t>(g.width) * g.height);
  const uint32_t valueMask = fam.srcBytes == 1 ? 0xFFu : 0xFFFFu;
  for (int32_t j = 0; j < g.height; ++j) {
    uint32_t value = rng() & valueMask;
    bool opaque = true;
    int32_t left = 0;
    for (int32_t i = 0; i < g.width; ++i) {
      if (left-- <= 0) {
        left = static_cast<int32_t>(rng() % 4 == 0 ? rng() % 4 : rng() % 140);
        opaque = encoding == QDLENC_RAW || rng() % 3 != 0;
        value = rng() & valueMask;
      }
      g.at(i, j).opaque = opaque;
      // Literal runs change value at every pixel; fill runs keep one.
      g.at(i, j).value = encoding == QDLENC_RLE_FILL ? value : rng() & valueMask;
    }
  }
  std::vector<uint8_t> data = Encode(g, encoding, fam.srcBytes, rng);
  if (data.empty()) data.push_back(0);

  QDLSpriteBank bank{};
  bank.formatCode = fam.srcBytes == 1 ? 1 : formatCode;
  bank.sourceBytesPerPixel = static_cast<uint32_t>(fam.srcBytes);
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
  params.colour = static_cast<uint32_t>(rng());
  uint16_t level = 0;
  uint32_t flags = flip << 24;
  if (fam.record == QDLBLIT_RECORD_TRANS) {
    const uint16_t levels[] = {0, 1, 9, 16, 22, 30, 31, 31, 63, 200};
    level = levels[rng() % 10];
    flags |= QDLBLIT_TRANSLUCENT;
  } else if (fam.record == QDLBLIT_RECORD_HALF) {
    level = 15;
    flags |= QDLBLIT_TRANSLUCENT;
  } else if (fam.record == QDLBLIT_RECORD_ALPHA) {
    flags |= QDLBLIT_ALPHAMAP;
  }
  params.level = level;

  // Anywhere from hanging over the left edge to over the right one.
  const int32_t x = static_cast<int32_t>(rng() % (W + g.width)) - g.width + 1;
  const int32_t y = static_cast<int32_t>(rng() % 3) - 1;
  const bool wrap = rng() % 4 == 0;
  const int32_t viewX = wrap ? static_cast<int32_t>(rng() % W) : 0;
  QDLSurface view = MakeWrapView(&surf.surface, viewX, 0);

  Request q;
  q.srcBytes = fam.srcBytes;
  q.dstBytes = 2;
  q.record = fam.record;
  q.mirrorX = flip & 1;
  q.mirrorY = flip & 2;
  q.encoding = encoding;
  q.is555 = is555;
  q.colour = params.colour;
  q.level = fam.record == QDLBLIT_RECORD_ALPHA ? (is555 ? 10u : 11u) : level;
  q.colourTable = table;
  std::vector<uint32_t> model(static_cast<size_t>(W) * H);
  for (int32_t r = 0; r < H; ++r)
    for (int32_t c = 0; c < W; ++c) model[static_cast<size_t>(r) * W + c] = surf.get(c, r);
  Counters ctr;
  RefDraw(q, g, x, y, W, H, wrap, viewX, 0, model, ctr);
  std::vector<uint8_t> saved = surf.buffer;
  for (int32_t r = 0; r < H; ++r)
    for (int32_t c = 0; c < W; ++c) surf.set(c, r, model[static_cast<size_t>(r) * W + c]);
  const std::vector<uint8_t> expected = surf.buffer;
  surf.buffer = saved;
  surf.surface.pixels = surf.surface.block = surf.origin();

  QDLBlit(wrap ? &view : &surf.surface, &frame, x, y, flags, &params);
  if (surf.buffer == expected) return {};
  std::string where = std::string(qdlBlitSimd->name) + " source " + std::to_string(fam.srcBytes) + " record " +
                      std::to_string(fam.record) + " flip " + std::to_string(flip) + " enc " +
                      std::to_string(encoding) + " frame " + std::to_string(g.width) + "x" +
                      std::to_string(g.height) + " at " + std::to_string(x) + " on " + std::to_string(W) +
                      (is555 ? " 555" : " 565") + (wrap ? " wrapped" : "") + " level " + std::to_string(level);
  for (size_t i = 0; i < expected.size(); ++i)
    if (surf.buffer[i] != expected[i]) {
      const int32_t row = static_cast<int32_t>(i / surf.pitch) - surf.margin;
      const int32_t col = static_cast<int32_t>((i % surf.pitch) / 2) - surf.margin;
      return where + ": first difference at column " + std::to_string(col) + " row " + std::to_string(row);
    }
  return where;
}

class WideFrames : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    saved_ = qdlBlitSimd;
    if (!QDLBlitSimdSelectForTest(GetParam())) GTEST_SKIP() << "vector set not available here";
  }
  void TearDown() override { qdlBlitSimd = saved_; }
  const QDLBlitSimdSet* saved_ = nullptr;
};

}  // namespace

TEST_P(WideFrames, BlendsAndLookupsMatchTheReferenceModel) {
  std::mt19937 rng(777u + static_cast<uint32_t>(GetParam()));
  int failures = 0;
  for (const Family& fam : kFamilies)
    for (uint32_t flip = 0; flip < 4; ++flip)
      for (int enc = 1; enc <= 3; ++enc)
        for (int n = 0; n < 6; ++n) {
          const std::string err = DrawWide(fam, flip, enc, rng);
          if (!err.empty()) {
            ADD_FAILURE() << err;
            if (++failures > 10) return;
          }
        }
}

INSTANTIATE_TEST_SUITE_P(Blit, WideFrames, ::testing::Values(0, 1, 2, 3));
