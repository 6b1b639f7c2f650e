#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_draw.h"

namespace {

struct PrimitivesTest : ::testing::Test {
  void SetUp() override { QDLSurfacePoolInit(); }
  void TearDown() override { QDLSurfaceFreeAll(); }

  static QDLSurface* Make16(int w, int h, uint16_t fill = 0) {
    QDLSurface* p = QDLSurfaceCreate(w, h, 16, QDLCREATE_MEMORY);
    EXPECT_NE(p, nullptr);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Px(p, x, y) = fill;
    return p;
  }
  static uint16_t& Px(QDLSurface* p, int x, int y) {
    return reinterpret_cast<uint16_t*>(p->pixels + y * p->pitch)[x];
  }
  static std::set<std::pair<int, int>> Drawn(QDLSurface* p, uint16_t background = 0) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < p->height; ++y)
      for (int x = 0; x < p->width; ++x)
        if (Px(p, x, y) != background) s.insert({x, y});
    return s;
  }
};

TEST_F(PrimitivesTest, FillRectClipsTheCallersRectangle) {
  QDLSurface* s = Make16(20, 10);
  QDLRectI16 r{-5, 2, 10, 3};
  EXPECT_EQ(QDLFillRect(s, &r, 0x1234, 0), 0u);
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.width, 5);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(Px(s, x, y), (x < 5 && y >= 2 && y < 5) ? 0x1234 : 0) << x << "," << y;
  QDLRectI16 past{15, 8, 100, 100};
  EXPECT_EQ(QDLFillRect(s, &past, 7, 0), 0u);
  EXPECT_EQ(past.width, 5);
  EXPECT_EQ(past.height, 2);
  EXPECT_EQ(Px(s, 19, 9), 7);
  QDLRectI16 outside{20, 0, 4, 4};
  EXPECT_EQ(QDLFillRect(s, &outside, 7, 0), 4u);
  EXPECT_EQ(QDLFillRect(nullptr, nullptr, 7, 0), 3u);
  // Odd start and odd width exercise the paired writes.
  QDLRectI16 odd{1, 0, 7, 1};
  EXPECT_EQ(QDLFillRect(s, &odd, 0xABCD, 0), 0u);
  EXPECT_EQ(Px(s, 0, 0), 0);
  for (int x = 1; x < 8; ++x) EXPECT_EQ(Px(s, x, 0), 0xABCD);
  EXPECT_EQ(Px(s, 8, 0), 0);
}

TEST_F(PrimitivesTest, FillWritesByThePixelSizeOfTheSurface) {
  QDLSurface* s8 = QDLSurfaceCreate(5, 3, 8, QDLCREATE_MEMORY);
  QDLSurface* s24 = QDLSurfaceCreate(5, 3, 24, QDLCREATE_MEMORY);
  QDLSurface* s32 = QDLSurfaceCreate(5, 3, 32, QDLCREATE_MEMORY);
  ASSERT_TRUE(s8 && s24 && s32);
  QDLRectI16 r{1, 1, 3, 1};
  EXPECT_EQ(QDLFillRect(s8, &r, 0x42, 0), 0u);
  EXPECT_EQ(QDLFillRect(s24, &r, 0x112233, 0), 0u);
  EXPECT_EQ(QDLFillRect(s32, &r, 0xA1B2C3D4, 0), 0u);
  for (int x = 0; x < 5; ++x) {
    const bool in = x >= 1 && x <= 3;
    EXPECT_EQ(s8->pixels[s8->pitch + x], in ? 0x42 : 0);
    const uint8_t* p24 = s24->pixels + s24->pitch + x * 3;
    EXPECT_EQ(p24[0], in ? 0x33 : 0);
    EXPECT_EQ(p24[1], in ? 0x22 : 0);
    EXPECT_EQ(p24[2], in ? 0x11 : 0);
    EXPECT_EQ(reinterpret_cast<uint32_t*>(s32->pixels + s32->pitch)[x], in ? 0xA1B2C3D4u : 0u);
  }
  // Row 0 and 2 untouched in the 24-bit surface (no 16-bit overrun).
  for (int i = 0; i < 15; ++i) EXPECT_EQ(s24->pixels[i], 0);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(s24->pixels[2 * s24->pitch + i], 0);
  // Blending needs 16 bits.
  EXPECT_EQ(QDLFillRect(s32, &r, 1, QDLDRAW_DARKEN), 4u);
}

TEST_F(PrimitivesTest, BlendFlags) {
  QDLSurface* s = Make16(4, 1, 0xFFFF);
  EXPECT_EQ(QDLPutPixel(s, 0, 0, 0, QDLDRAW_DARKEN), 0u);
  EXPECT_EQ(Px(s, 0, 0), 0x7BEF);
  EXPECT_EQ(QDLPutPixel(s, 0, 0, 0, QDLDRAW_BRIGHTEN), 0u);
  EXPECT_EQ(Px(s, 0, 0), 0xF7DE);
  // Brightening saturates each component and clears its lowest bit.
  Px(s, 1, 0) = 0xFFFF;
  QDLPutPixel(s, 1, 0, 0, QDLDRAW_BRIGHTEN);
  EXPECT_EQ(Px(s, 1, 0), 0xF7DE);
  // Mix: the truncated mean per component.
  Px(s, 2, 0) = static_cast<uint16_t>((31 << 11) | (10 << 5) | 3);
  QDLPutPixel(s, 2, 0, (0 << 11) | (20 << 5) | 6, QDLDRAW_MIX);
  EXPECT_EQ(Px(s, 2, 0), (15 << 11) | (15 << 5) | 4);
  // Mix is tested before darken, darken before brighten.
  Px(s, 3, 0) = 0xFFFF;
  QDLPutPixel(s, 3, 0, 0xFFFF, QDLDRAW_MIX | QDLDRAW_DARKEN);
  EXPECT_EQ(Px(s, 3, 0), 0xFFFF);
  // The fill's mix halves both with the mask.
  QDLRectI16 r{0, 0, 1, 1};
  Px(s, 0, 0) = 0xFFFF;
  QDLFillRect(s, &r, 0x0000, QDLDRAW_MIX);
  EXPECT_EQ(Px(s, 0, 0), 0x7BEF);
  EXPECT_EQ(QDLPutPixel(s, 4, 0, 1, 0), 4u);
  EXPECT_EQ(QDLPutPixel(s, -1, 0, 1, 0), 4u);
}

TEST_F(PrimitivesTest, Blend555UsesItsMasks) {
  QDLSurface* s = Make16(2, 1, 0x7FFF);
  s->desc.pixelFormat.redMask = 0x7C00;
  s->desc.pixelFormat.greenMask = 0x03E0;
  s->desc.pixelFormat.blueMask = 0x001F;
  s->redShift = 0;
  QDLSurfaceClassifyFormat(s);
  ASSERT_EQ(s->formatCode & QDLFORMAT_CLASS_MASK, QDLFORMAT_RGB15);
  QDLPutPixel(s, 0, 0, 0, QDLDRAW_DARKEN);
  EXPECT_EQ(Px(s, 0, 0), 15855);
  QDLPutPixel(s, 1, 0, 0, QDLDRAW_BRIGHTEN);
  EXPECT_EQ(Px(s, 1, 0), 0x7BDE);
  // The fill's mix halves with 0xBDEF on 5-5-5; its darken is the table's.
  QDLRectI16 r{0, 0, 1, 1};
  Px(s, 0, 0) = 0x7FFF;
  EXPECT_EQ(QDLFillRect(s, &r, 0x0000, QDLDRAW_MIX), 0u);
  EXPECT_EQ(Px(s, 0, 0), 0x3DEF);
  Px(s, 0, 0) = 0x7FFF;
  EXPECT_EQ(QDLFillRect(s, &r, 0x7FFF, QDLDRAW_MIX), 0u);
  EXPECT_EQ(Px(s, 0, 0), 0x7BDE);
  Px(s, 0, 0) = 0x7FFF;
  EXPECT_EQ(QDLFillRect(s, &r, 0, QDLDRAW_DARKEN), 0u);
  EXPECT_EQ(Px(s, 0, 0), 15855);
}

TEST_F(PrimitivesTest, PixelsNeedA16BitSurface) {
  QDLSurface* s32 = QDLSurfaceCreate(4, 4, 32, QDLCREATE_MEMORY);
  EXPECT_EQ(QDLPutPixel(s32, 1, 1, 1, 0), 4u);
  EXPECT_EQ(QDLLine(s32, 0, 0, 3, 3, 1, 0), 4u);
  EXPECT_EQ(QDLSpanH(s32, 0, 3, 1, 1, 0), 4u);
  EXPECT_EQ(QDLEllipse(s32, 0, 0, 3, 3, 1, 0), 4u);
  EXPECT_EQ(QDLPutPixel(nullptr, 1, 1, 1, 0), 3u);
  // Reading works at any depth.
  uint32_t v = 0;
  reinterpret_cast<uint32_t*>(s32->pixels + s32->pitch)[2] = 0x00ABCDEF;
  EXPECT_EQ(QDLGetPixel(s32, 2, 1, &v), 0u);
  EXPECT_EQ(v, 0x00ABCDEFu);
  uint8_t r, g, b;
  EXPECT_EQ(QDLGetPixelRGB(s32, 2, 1, &r, &g, &b), 0u);
  EXPECT_EQ(r, 0xAB);
  EXPECT_EQ(g, 0xCD);
  EXPECT_EQ(b, 0xEF);
  EXPECT_EQ(QDLGetPixel(s32, 4, 1, &v), 4u);
}

TEST_F(PrimitivesTest, LineBresenhamAndDots) {
  QDLSurface* s = Make16(8, 8);
  EXPECT_EQ(QDLLine(s, 0, 0, 4, 2, 9, 0), 0u);
  const std::set<std::pair<int, int>> expected{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
  EXPECT_EQ(Drawn(s), expected);
  QDLSurface* d = Make16(8, 8);
  EXPECT_EQ(QDLLine(d, 0, 3, 6, 3, 9, QDLDRAW_DOTTED), 0u);
  const std::set<std::pair<int, int>> dots{{0, 3}, {2, 3}, {4, 3}, {6, 3}};
  EXPECT_EQ(Drawn(d), dots);
  // Equal differences: y is the major axis, the diagonal is exact.
  QDLSurface* g = Make16(8, 8);
  QDLLine(g, 5, 5, 1, 1, 9, 0);
  const std::set<std::pair<int, int>> diag{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
  EXPECT_EQ(Drawn(g), diag);
}

TEST_F(PrimitivesTest, LinesAreAlwaysClipped) {
  // Flags 0 and 512 draw unclipped in the old library; here every line is cut.
  for (uint32_t flags : {0u, 512u, 1u}) {
    QDLSurface* s = Make16(20, 10);
    EXPECT_EQ(QDLLine(s, -30, 2, -1, 8, 9, flags), 4u);
    EXPECT_EQ(QDLLine(s, 0, 10, 19, 40, 9, flags), 4u);
    EXPECT_TRUE(Drawn(s).empty());
    EXPECT_EQ(QDLLine(s, 5, 5, 1000, 5, 9, flags), 0u);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(Px(s, x, 5), x >= 5 ? 9 : 0);
    EXPECT_EQ(QDLLine(s, -100, -100, 100, 100, 7, flags), 0u);
    EXPECT_EQ(Px(s, 0, 0), 7);
    EXPECT_EQ(Px(s, 9, 9), 7);
    for (const auto& p : Drawn(s)) EXPECT_TRUE(p.first < 20 && p.second < 10);
  }
  // A line that only passes a corner's outside draws nothing.
  QDLSurface* c = Make16(10, 10);
  EXPECT_EQ(QDLLine(c, -5, 3, 3, -5, 9, 0), 0u);
  EXPECT_TRUE(Drawn(c).empty());
}

TEST_F(PrimitivesTest, PenLines) {
  QDLSurface* s = Make16(10, 10);
  s->penX = 1;
  s->penY = 1;
  s->penColour = 5;
  EXPECT_EQ(QDLLineTo(s, 4, 1, 0), 0u);
  EXPECT_EQ(s->penX, 4);
  EXPECT_EQ(QDLLineBy(s, 0, 3, 0), 0u);
  EXPECT_EQ(s->penY, 4);
  EXPECT_EQ(Px(s, 1, 1), 5);
  EXPECT_EQ(Px(s, 4, 1), 5);
  EXPECT_EQ(Px(s, 4, 4), 5);
}

TEST_F(PrimitivesTest, SpansClampAndReject) {
  QDLSurface* s = Make16(10, 4);
  EXPECT_EQ(QDLSpanH(s, 12, -3, 1, 3, 0), 0u);  // swapped and clamped
  for (int x = 0; x < 10; ++x) EXPECT_EQ(Px(s, x, 1), 3);
  EXPECT_EQ(QDLSpanH(s, 0, 5, 4, 3, 0), 4u);
  EXPECT_EQ(QDLSpanH(s, 10, 12, 0, 3, 0), 4u);
  EXPECT_EQ(QDLSpanV(s, 9, -10, 10, 6, 0), 0u);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(Px(s, 9, y), 6);
  // Ordered ends given in decreasing order make an empty span.
  EXPECT_EQ(QDLSpanH(s, 5, 2, 2, 8, QDLDRAW_ORDERED), 0u);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(Px(s, x, 2), x == 9 ? 6 : 0);
  // "No clipping" still never writes outside the surface.
  EXPECT_EQ(QDLSpanH(s, -5, 50, 3, 2, QDLDRAW_NO_CLIP), 0u);
  QDLSpanExtent e{2, 4, 1};
  EXPECT_EQ(QDLSpanHPair(s, 0, 3, 1, 0, &e), 0u);
  EXPECT_EQ(Px(s, 2, 0), 1);
  EXPECT_EQ(Px(s, 4, 3), 1);
}

TEST_F(PrimitivesTest, RectOutlineAndFill) {
  QDLSurface* a = Make16(10, 10);
  QDLSurface* b = Make16(10, 10);
  EXPECT_EQ(QDLRect(a, 7, 8, 2, 1, 4, 0), 0u);
  EXPECT_EQ(QDLRect(b, 2, 1, 7, 8, 4, 0), 0u);
  EXPECT_EQ(Drawn(a), Drawn(b));
  EXPECT_EQ(Drawn(a).size(), 2u * 6 + 2u * 6);
  EXPECT_EQ(Px(a, 2, 1), 4);
  EXPECT_EQ(Px(a, 7, 8), 4);
  EXPECT_EQ(Px(a, 4, 4), 0);
  QDLSurface* f = Make16(10, 10);
  EXPECT_EQ(QDLRectWH(f, 1, 1, 3, 2, 4, QDLDRAW_FILLED), 0u);
  EXPECT_EQ(Drawn(f).size(), 6u);
  // With blend flags every pixel of the outline is blended once.
  QDLSurface* m = Make16(10, 10, 0xFFFF);
  QDLRect(m, 1, 1, 5, 5, 0, QDLDRAW_DARKEN);
  for (const auto& p : Drawn(m, 0xFFFF)) EXPECT_EQ(Px(m, p.first, p.second), 0x7BEF);
}

TEST_F(PrimitivesTest, CircleIsTheEllipseOfItsBox) {
  QDLSurface* c = Make16(40, 40);
  QDLSurface* e = Make16(40, 40);
  EXPECT_EQ(QDLCircle(c, 20, 20, 10, 1, QDLDRAW_FILLED), 0u);
  EXPECT_EQ(QDLEllipse(e, 10, 10, 29, 29, 1, QDLDRAW_FILLED), 0u);
  EXPECT_EQ(Drawn(c), Drawn(e));
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (const auto& p : Drawn(c)) {
    minX = std::min(minX, p.first);
    maxX = std::max(maxX, p.first);
    minY = std::min(minY, p.second);
    maxY = std::max(maxY, p.second);
  }
  // Radius 9 about (19, 19).
  EXPECT_EQ(minX, 10);
  EXPECT_EQ(maxX, 28);
  EXPECT_EQ(minY, 10);
  EXPECT_EQ(maxY, 28);
  EXPECT_EQ(Px(c, 19, 19), 1);
  // The outline lies inside the fill and reaches its four extremes.
  QDLSurface* o = Make16(40, 40);
  EXPECT_EQ(QDLCircle(o, 20, 20, 10, 1, 0), 0u);
  const auto fill = Drawn(c), outline = Drawn(o);
  for (const auto& p : outline) EXPECT_TRUE(fill.count(p)) << p.first << "," << p.second;
  EXPECT_TRUE(outline.count({10, 19}) && outline.count({28, 19}) && outline.count({19, 10}) && outline.count({19, 28}));
  EXPECT_LT(outline.size(), fill.size() / 2);
  // Tall ellipses go by columns.
  QDLSurface* t = Make16(40, 40);
  EXPECT_EQ(QDLEllipseWH(t, 15, 5, 7, 21, 1, QDLDRAW_FILLED), 0u);
  for (const auto& p : Drawn(t)) EXPECT_TRUE(p.first >= 15 && p.first <= 21 && p.second >= 5 && p.second <= 25);
}

TEST_F(PrimitivesTest, ZeroRadiusDrawsASpanOrAPixel) {
  QDLSurface* s = Make16(20, 20);
  EXPECT_EQ(QDLCircle(s, 5, 6, 0, 3, 0), 0u);
  const std::set<std::pair<int, int>> pixel{{5, 6}};
  EXPECT_EQ(Drawn(s), pixel);
  QDLSurface* h = Make16(20, 20);
  EXPECT_EQ(QDLEllipse(h, 2, 4, 10, 4, 3, 0), 0u);  // zero height
  EXPECT_EQ(Drawn(h).size(), 9u);
  QDLSurface* v = Make16(20, 20);
  EXPECT_EQ(QDLEllipse(v, 3, 2, 3, 12, 3, QDLDRAW_FILLED), 0u);  // zero width
  EXPECT_EQ(Drawn(v).size(), 11u);
  EXPECT_EQ(QDLCircle(s, 5, 5, -1, 3, 0), 4u);
}

TEST_F(PrimitivesTest, TriangleFillMeetsItsOutlineAndBlendsOnce) {
  const QDLPoint a{3, 2}, b{25, 9}, c{8, 20};
  QDLSurface* fill = Make16(30, 30, 0xFFFF);
  QDLSurface* line = Make16(30, 30, 0xFFFF);
  EXPECT_EQ(QDLTriangle(fill, &a, &b, &c, 0, QDLDRAW_FILLED | QDLDRAW_DARKEN), 0u);
  EXPECT_EQ(QDLTriangle(line, &a, &b, &c, 0, QDLDRAW_DARKEN), 0u);
  const auto f = Drawn(fill, 0xFFFF), o = Drawn(line, 0xFFFF);
  for (const auto& p : o) EXPECT_TRUE(f.count(p));
  for (const auto& p : f) {
    EXPECT_EQ(Px(fill, p.first, p.second), 0x7BEF);  // never darkened twice
    EXPECT_TRUE(p.first >= 3 && p.first <= 25 && p.second >= 2 && p.second <= 20);
  }
  EXPECT_TRUE(o.count({3, 2}) && o.count({25, 9}) && o.count({8, 20}));
  // A point well inside is filled, one outside is not.
  EXPECT_TRUE(f.count({12, 10}));
  EXPECT_FALSE(f.count({24, 18}));
}

TEST_F(PrimitivesTest, PolygonsQuadsDiamonds) {
  QDLSurface* s = Make16(30, 30);
  QDLPoint pts[17];
  for (int i = 0; i < 17; ++i) pts[i] = QDLPoint{i, i};
  EXPECT_EQ(QDLPolygon(s, pts, 2, 1, 0), 4u);
  EXPECT_EQ(QDLPolygon(s, pts, 17, 1, 0), 4u);
  // A concave polygon (a "U") leaves its notch empty.
  const QDLPoint u[8] = {{2, 2}, {8, 2}, {8, 12}, {20, 12}, {20, 2}, {26, 2}, {26, 20}, {2, 20}};
  EXPECT_EQ(QDLPolygon(s, u, 8, 1, QDLDRAW_FILLED), 0u);
  EXPECT_EQ(Px(s, 14, 6), 0);
  EXPECT_EQ(Px(s, 5, 6), 1);
  EXPECT_EQ(Px(s, 14, 16), 1);
  QDLSurface* q = Make16(30, 30);
  const QDLPoint q1{2, 2}, q2{12, 2}, q3{12, 8}, q4{2, 8};
  EXPECT_EQ(QDLQuad(q, &q1, &q2, &q3, &q4, 1, 0), 0u);
  EXPECT_EQ(Drawn(q).size(), 2u * 11 + 2u * 5);
  QDLSurface* d = Make16(30, 30);
  EXPECT_EQ(QDLDiamond(d, 15, 15, 6, 4, 1, QDLDRAW_FILLED), 0u);
  for (const auto& p : Drawn(d)) EXPECT_TRUE(p.first >= 9 && p.first <= 21 && p.second >= 11 && p.second <= 19);
  EXPECT_EQ(Px(d, 15, 15), 1);
  EXPECT_EQ(Px(d, 9, 15), 1);
  EXPECT_EQ(Px(d, 15, 11), 1);
  QDLSurface* o = Make16(30, 30);
  EXPECT_EQ(QDLDiamond(o, 15, 15, 6, 4, 1, 0), 0u);
  // The fill meets the outline: every outline pixel is filled or touches the fill.
  const auto filled = Drawn(d);
  for (const auto& p : Drawn(o)) {
    const bool meets = filled.count(p) || filled.count({p.first - 1, p.second}) ||
                       filled.count({p.first + 1, p.second}) || filled.count({p.first, p.second - 1}) ||
                       filled.count({p.first, p.second + 1});
    EXPECT_TRUE(meets) << p.first << "," << p.second;
  }
}

TEST_F(PrimitivesTest, ViewsOffsetAndClipToTheView) {
  QDLSurface* parent = Make16(30, 20);
  QDLSurface* view = QDLSurfaceCreateView(parent, 10, 5, 8, 6, 0);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(QDLPutPixel(view, 0, 0, 3, 0), 0u);
  EXPECT_EQ(Px(parent, 10, 5), 3);
  EXPECT_EQ(QDLPutPixel(view, 8, 0, 3, 0), 4u);
  EXPECT_EQ(QDLLine(view, -20, 2, 50, 2, 4, 0), 0u);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(Px(parent, x, 7), (x >= 10 && x < 18) ? 4 : 0);
  QDLRectI16 r{-2, -2, 100, 100};
  EXPECT_EQ(QDLFillRect(view, &r, 5, 0), 0u);
  EXPECT_EQ(Drawn(parent).size(), 48u);
  EXPECT_EQ(Px(parent, 17, 10), 5);
  EXPECT_EQ(Px(parent, 18, 10), 0);
}

TEST_F(PrimitivesTest, ShapesOfLinesAndHalvesRefuseOtherSurfaces) {
  // Quadrilaterals, diamonds and polygons report a surface they cannot draw
  // on like every other shape: 3 for none, 4 for one that is not 16-bit.
  QDLSurface* s32 = QDLSurfaceCreate(20, 20, 32, QDLCREATE_MEMORY);
  QDLSurface* none = QDLSurfaceCreate(20, 20, 16, QDLCREATE_NO_PIXELS);
  ASSERT_TRUE(s32 && none);
  const QDLPoint a{1, 1}, b{10, 1}, c{10, 10}, d{1, 10};
  const QDLPoint pts[3] = {a, b, c};
  for (uint32_t flags : {0u, static_cast<uint32_t>(QDLDRAW_FILLED)}) {
    EXPECT_EQ(QDLQuad(s32, &a, &b, &c, &d, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLDiamond(s32, 10, 10, 4, 4, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLPolygon(s32, pts, 3, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLQuad(none, &a, &b, &c, &d, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLDiamond(none, 10, 10, 4, 4, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLPolygon(none, pts, 3, 1, flags), 4u) << flags;
    EXPECT_EQ(QDLQuad(nullptr, &a, &b, &c, &d, 1, flags), 3u) << flags;
    EXPECT_EQ(QDLDiamond(nullptr, 10, 10, 4, 4, 1, flags), 3u) << flags;
  }
  for (int i = 0; i < 20 * 20; ++i) EXPECT_EQ(reinterpret_cast<uint32_t*>(s32->pixels)[i], 0u);
}

TEST_F(PrimitivesTest, FilledDiamondBlendsItsCentreRowOnce) {
  QDLSurface* s = Make16(30, 30, 0xFFFF);
  EXPECT_EQ(QDLDiamond(s, 15, 15, 6, 4, 0, QDLDRAW_FILLED | QDLDRAW_DARKEN), 0u);
  const auto drawn = Drawn(s, 0xFFFF);
  EXPECT_TRUE(drawn.count({9, 15}) && drawn.count({21, 15}) && drawn.count({15, 11}) && drawn.count({15, 19}));
  for (const auto& p : drawn) EXPECT_EQ(Px(s, p.first, p.second), 0x7BEF) << p.first << "," << p.second;
  // A flat diamond is its one row, blended once.
  QDLSurface* f = Make16(30, 30, 0xFFFF);
  EXPECT_EQ(QDLDiamond(f, 15, 15, 5, 0, 0, QDLDRAW_FILLED | QDLDRAW_DARKEN), 0u);
  EXPECT_EQ(Drawn(f, 0xFFFF).size(), 11u);
  for (const auto& p : Drawn(f, 0xFFFF)) EXPECT_EQ(Px(f, p.first, p.second), 0x7BEF);
  // A half on its own still reaches its base row.
  QDLSurface* h = Make16(30, 30);
  EXPECT_EQ(QDLDiamondHalf(h, 15, 19, 6, -4, 1, 0), 0u);
  EXPECT_EQ(Px(h, 9, 15), 1);
  EXPECT_EQ(Px(h, 21, 15), 1);
  EXPECT_EQ(Px(h, 15, 19), 1);
  EXPECT_EQ(Px(h, 15, 14), 0);
}

TEST_F(PrimitivesTest, DeepPixelsAreReadOnlyFromMemorySurfaces) {
  for (int bits : {24, 32}) {
    QDLSurface* s = QDLSurfaceCreate(4, 4, bits, QDLCREATE_MEMORY);
    ASSERT_NE(s, nullptr);
    s->pixels[s->pitch + 3] = 0x5A;
    uint32_t v = 0;
    EXPECT_EQ(QDLGetPixel(s, 1, 1, &v), 0u) << bits;
    EXPECT_EQ(v & 0xFF, bits == 24 ? 0x5Au : 0u) << bits;
    // The same pixels seen as a surface outside memory: 7.
    s->flags &= ~static_cast<uint32_t>(QDLSURF_MEMORY);
    v = 0xDEAD;
    EXPECT_EQ(QDLGetPixel(s, 1, 1, &v), 7u) << bits;
    uint8_t r, g, b;
    EXPECT_EQ(QDLGetPixelRGB(s, 1, 1, &r, &g, &b), 7u) << bits;
    s->flags |= QDLSURF_MEMORY;
  }
  // 8 and 16 bits are read from any surface.
  QDLSurface* s16 = Make16(4, 4, 0x1234);
  s16->flags &= ~static_cast<uint32_t>(QDLSURF_MEMORY);
  uint32_t v = 0;
  EXPECT_EQ(QDLGetPixel(s16, 2, 2, &v), 0u);
  EXPECT_EQ(v, 0x1234u);
  s16->flags |= QDLSURF_MEMORY;
}

TEST_F(PrimitivesTest, EllipseOutlineEndsAndRadii) {
  // Radii are the halved box sizes, the centre x1 + rx, y1 + ry; the outline's
  // first and last rows (columns when taller) are the fill's whole spans.
  for (const bool wide : {true, false}) {
    QDLSurface* f = Make16(40, 40);
    QDLSurface* o = Make16(40, 40);
    const int x2 = wide ? 25 : 15, y2 = wide ? 15 : 25;
    EXPECT_EQ(QDLEllipse(f, 5, 5, x2, y2, 1, QDLDRAW_FILLED), 0u);
    EXPECT_EQ(QDLEllipse(o, 5, 5, x2, y2, 1, 0), 0u);
    const auto fill = Drawn(f), outline = Drawn(o);
    for (int k = 0; k < 40; ++k) {
      // Row (column) 5 and 5 + 2 r of the minor axis.
      for (const int edge : {5, 15}) {
        const std::pair<int, int> p = wide ? std::make_pair(k, edge) : std::make_pair(edge, k);
        EXPECT_EQ(fill.count(p), outline.count(p)) << wide << " " << p.first << "," << p.second;
      }
    }
    // Extent: centre 15 along the major axis, radius 10.
    for (const auto& p : fill) {
      const int major = wide ? p.first : p.second, minor = wide ? p.second : p.first;
      EXPECT_TRUE(major >= 5 && major <= 25 && minor >= 5 && minor <= 15) << p.first << "," << p.second;
    }
    EXPECT_TRUE(wide ? fill.count({5, 10}) && fill.count({25, 10}) : fill.count({10, 5}) && fill.count({10, 25}));
  }
}

}  // namespace
