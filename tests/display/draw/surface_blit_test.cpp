#include <gtest/gtest.h>

#include "art/art_image.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "draw_test_util.h"

namespace {

struct SurfaceBlitTest : ::testing::Test {
  drawtest::TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
  }
  void TearDown() override {
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
  }
  static QDLSurface* Make16(int w, int h, uint16_t v) {
    QDLSurface* p = QDLSurfaceCreate(w, h, 16, QDLCREATE_MEMORY);
    QDLRectI16 r{0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h)};
    QDLFillRect(p, &r, v, 0);
    return p;
  }
  static uint16_t Px(QDLSurface* p, int x, int y) { return reinterpret_cast<uint16_t*>(p->pixels + y * p->pitch)[x]; }
  static int Count(QDLSurface* p, uint16_t v) {
    int n = 0;
    for (int y = 0; y < p->height; ++y)
      for (int x = 0; x < p->width; ++x) n += Px(p, x, y) == v;
    return n;
  }
};

TEST_F(SurfaceBlitTest, BlitsClipAtTheEdges) {
  QDLSurface* dst = Make16(20, 10, 0);
  QDLSurface* src = Make16(6, 4, 7);
  EXPECT_EQ(QDLSurfaceBlit(dst, -6, 0, src, nullptr, 0), 0u);  // ends exactly at the left edge
  EXPECT_EQ(QDLSurfaceBlit(dst, 20, 0, src, nullptr, 0), 0u);  // starts at the width
  EXPECT_EQ(Count(dst, 7), 0);
  EXPECT_EQ(QDLSurfaceBlit(dst, -2, -1, src, nullptr, 0), 0u);
  EXPECT_EQ(Count(dst, 7), 4 * 3);
  EXPECT_EQ(Px(dst, 3, 2), 7);
  EXPECT_EQ(Px(dst, 4, 2), 0);
  // "No clipping" does not write outside either.
  EXPECT_EQ(QDLSurfaceBlit(dst, 17, 8, src, nullptr, QDLSURFBLIT_NO_CLIP), 0u);
  EXPECT_EQ(Count(dst, 7), 12 + 3 * 2);
  // A source rectangle, and one hanging over the source's edge.
  QDLSurface* d2 = Make16(20, 10, 0);
  const QDLRectI16 part{4, 2, 10, 10};
  EXPECT_EQ(QDLSurfaceBlit(d2, 1, 1, src, &part, 0), 0u);
  EXPECT_EQ(Count(d2, 7), 2 * 2);
  QDLSurface* none = QDLSurfaceCreate(4, 4, 16, QDLCREATE_NO_PIXELS);
  EXPECT_EQ(QDLSurfaceBlit(none, 0, 0, src, nullptr, 0), 4u);
  EXPECT_EQ(QDLSurfaceBlitXY(none, 0, 0, src, 0, 0, 2, 2, 0), 4u);
  EXPECT_EQ(QDLSurfaceBlitStretch(none, nullptr, src, nullptr, 0), 4u);
  // Only the destination's pixels decide the result: a source without them
  // draws nothing and the blit returns 0; a whole-surface copy fails with 1.
  QDLSurface* d3 = Make16(6, 6, 0);
  EXPECT_EQ(QDLSurfaceBlit(d3, 0, 0, none, nullptr, 0), 0u);
  EXPECT_EQ(QDLSurfaceBlitStretch(d3, nullptr, none, nullptr, 0), 0u);
  EXPECT_EQ(Count(d3, 0), 36);
  EXPECT_EQ(QDLSurfaceCopy(d3, none, 0), 1u);
  EXPECT_EQ(QDLSurfaceCopy(none, src, 0), 1u);
  EXPECT_EQ(QDLSurfaceCopy(d3, src, 0), 0u);
  EXPECT_EQ(Count(d3, 7), 24);
}

TEST_F(SurfaceBlitTest, ColourKeyAndFormatConversion) {
  QDLSurface* dst = Make16(8, 8, 0x1111);
  QDLSurface* src = QDLSurfaceCreate(4, 4, 32, QDLCREATE_MEMORY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) reinterpret_cast<uint32_t*>(src->pixels + y * src->pitch)[x] = x == 0 ? 0xFF00FF : 0x00FF00;
  QDLSurfaceSetColourKey(src, 255, 0, 255);
  EXPECT_EQ(QDLSurfaceBlitXY(dst, 2, 2, src, 0, 0, 4, 4, QDLSURFBLIT_KEY), 0u);
  EXPECT_EQ(Px(dst, 2, 2), 0x1111);  // keyed
  EXPECT_EQ(Px(dst, 3, 2), 0x07E0);  // green converted to 5-6-5
  EXPECT_EQ(QDLSurfaceCopy(dst, src, 0), 0u);
  EXPECT_EQ(Px(dst, 0, 0), 0xF81F);  // magenta without the key
  // A view of the destination receives at its offset.
  QDLSurface* view = QDLSurfaceCreateView(dst, 4, 4, 4, 4, 0);
  EXPECT_EQ(QDLSurfaceBlitXY(view, 0, 0, src, 1, 0, 3, 1, 0), 0u);
  EXPECT_EQ(Px(dst, 4, 4), 0x07E0);
  EXPECT_EQ(Px(dst, 7, 4), 0x1111);
}

TEST_F(SurfaceBlitTest, StretchScalesAndClips) {
  QDLSurface* src = Make16(2, 2, 0);
  reinterpret_cast<uint16_t*>(src->pixels)[1] = 9;
  QDLSurface* dst = Make16(10, 10, 0);
  const QDLRectI16 big{0, 0, 4, 4};
  EXPECT_EQ(QDLSurfaceBlitStretch(dst, &big, src, nullptr, 0), 0u);
  EXPECT_EQ(Px(dst, 2, 0), 9);
  EXPECT_EQ(Px(dst, 3, 1), 9);
  EXPECT_EQ(Px(dst, 1, 1), 0);
  EXPECT_EQ(Count(dst, 9), 4);
  const QDLRectI16 over{-2, 6, 4, 4};  // only its right half is on the surface
  EXPECT_EQ(QDLSurfaceBlitStretch(dst, &over, src, nullptr, 0), 0u);
  EXPECT_EQ(Count(dst, 9), 4 + 4);
  EXPECT_EQ(Px(dst, 0, 6), 9);
  EXPECT_EQ(Px(dst, 1, 7), 9);
  EXPECT_EQ(Px(dst, 0, 8), 0);
}

TEST_F(SurfaceBlitTest, SavedImagesReadBack) {
  QDLSurface* s = Make16(3, 2, 0xFFFF);
  reinterpret_cast<uint16_t*>(s->pixels + s->pitch)[2] = 0xF800;
  const std::string bmp = dir.File("s.bmp"), tga = dir.File("s.tga");
  ASSERT_EQ(QDLSurfaceSaveBMP(s, bmp.c_str(), nullptr), 0u);
  ASSERT_EQ(QDLSurfaceSaveTGA(s, tga.c_str(), nullptr), 0u);
  const auto b = drawtest::ReadFile(bmp);
  ASSERT_EQ(b.size(), 54u + 2u * 12u);  // width 3: 9 pixel bytes and 3 of padding a row
  EXPECT_EQ(drawtest::U32(b, 2), b.size());
  EXPECT_EQ(drawtest::U32(b, 10), 54u);
  // Bottom row first: the red pixel is the third of the first row; white is 248, 252, 248.
  EXPECT_EQ(b[54 + 6], 0);
  EXPECT_EQ(b[54 + 8], 248);
  EXPECT_EQ(b[54 + 0], 248);
  EXPECT_EQ(b[54 + 1], 252);
  QDLSurface* back = QDLImageLoadTGA(nullptr, tga.c_str(), QDLIMAGE_MEMORY);
  ASSERT_NE(back, nullptr);
  uint8_t r, g, bl;
  QDLGetPixelRGB(back, 2, 1, &r, &g, &bl);
  EXPECT_EQ(r, 248);
  EXPECT_EQ(g, 0);
  // A rectangle of a view.
  QDLSurface* view = QDLSurfaceCreateView(s, 1, 1, 2, 1, 0);
  ASSERT_EQ(QDLSurfaceSaveTGA(view, tga.c_str(), nullptr), 0u);
  const auto t = drawtest::ReadFile(tga);
  ASSERT_EQ(t.size(), 18u + 2u * 3u);
  EXPECT_EQ(t[18 + 3 + 2], 248);  // the red pixel's red
  EXPECT_EQ(QDLSurfaceSaveTGA(nullptr, tga.c_str(), nullptr), 3u);
  EXPECT_EQ(QDLSurfaceSaveBMP(s, dir.File("no/dir/x.bmp").c_str(), nullptr), 7u);
}

TEST_F(SurfaceBlitTest, ImageLoadersFlagsAndTargets) {
  art::Image img(6, 4, art::Rgb{255, 255, 255});
  img.Set(0, 0, art::Rgb{255, 0, 0});
  const std::string path = dir.File("img.bmp");
  ASSERT_TRUE(art::WriteBMP24(img, path));
  EXPECT_EQ(QDLImageLoadBMP(nullptr, path.c_str(), QDLIMAGE_NO_SURFACE), nullptr);
  EXPECT_EQ(QDLImageLoadBMP(nullptr, dir.File("missing.bmp").c_str(), 0), nullptr);
  // Into a smaller given surface: the smaller size is copied.
  QDLSurface* small = Make16(3, 2, 0);
  EXPECT_EQ(QDLImageLoadBMP(small, path.c_str(), 0), small);
  EXPECT_EQ(Px(small, 0, 0), 0xF800);
  EXPECT_EQ(Px(small, 2, 1), 0xFFFF);
  // Into a view of a bigger surface: at the view's offset.
  QDLSurface* big = Make16(10, 10, 0);
  QDLSurface* view = QDLSurfaceCreateView(big, 5, 5, 5, 5, 0);
  EXPECT_EQ(QDLImageLoadBMP(view, path.c_str(), 0), view);
  EXPECT_EQ(Px(big, 5, 5), 0xF800);
  EXPECT_EQ(Px(big, 9, 8), 0xFFFF);
  EXPECT_EQ(Px(big, 4, 4), 0);
  // Without a surface: a new one of the image's size.
  QDLSurface* n = QDLImageLoadBMP(nullptr, path.c_str(), 0);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->width, 6);
  EXPECT_EQ(n->height, 4);
  uint8_t r, g, b;
  QDLGetPixelRGB(n, 0, 0, &r, &g, &b);
  EXPECT_GE(r, 248);
  EXPECT_EQ(g, 0);
}

}  // namespace
