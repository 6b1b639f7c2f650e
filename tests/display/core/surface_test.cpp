#include <gtest/gtest.h>

#include "display/q2dx.h"
#include "display/qdl.h"

#include <cstdlib>

namespace {

struct SurfaceTest : ::testing::Test {
  void SetUp() override { QDLSurfacePoolInit(); }
  void TearDown() override { QDLSurfaceFreeAll(); }
};

TEST_F(SurfaceTest, MemorySurfaceIsLockedAndFormatted) {
  QDLSurface* p = QDLSurfaceCreate(20, 10, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->flags, QDLSURF_OWN | QDLSURF_MEMORY);
  EXPECT_NE(p->locked, 0u);
  EXPECT_NE(p->pixels, nullptr);
  EXPECT_EQ(p->pitch, 40);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB565);
  EXPECT_EQ(p->bytesPerPixel, 2);
  EXPECT_EQ(p->redShift, 11);
  EXPECT_EQ(p->greenShift, 5);
  EXPECT_EQ(p->blueShift, 0);
  EXPECT_EQ(p->redLoss, 3);
  EXPECT_EQ(p->greenLoss, 2);
  EXPECT_EQ(p->blueLoss, 3);
  // Memory surfaces stay locked after an unlock.
  EXPECT_EQ(QDLSurfaceUnlock(p), 0u);
  EXPECT_NE(p->locked, 0u);
  EXPECT_NE(p->pixels, nullptr);
  for (int i = 0; i < 20 * 10 * 2; ++i) ASSERT_EQ(p->pixels[i], 0);
}

TEST_F(SurfaceTest, MemorySurfaceFormatsByDepth) {
  QDLSurface* p8 = QDLSurfaceCreate(4, 4, 8, QDLCREATE_MEMORY);
  QDLSurface* p24 = QDLSurfaceCreate(4, 4, 24, QDLCREATE_MEMORY);
  QDLSurface* p32 = QDLSurfaceCreate(4, 4, 32, QDLCREATE_MEMORY);
  ASSERT_TRUE(p8 && p24 && p32);
  EXPECT_EQ(p8->formatCode, QDLFORMAT_INDEXED8);
  EXPECT_NE(p8->flags & QDLSURF_PALETTED, 0u);
  EXPECT_EQ(p8->bytesPerPixel, 1);
  EXPECT_EQ(p24->formatCode, QDLFORMAT_RGB24);
  EXPECT_EQ(p24->bytesPerPixel, 3);
  EXPECT_EQ(p32->formatCode, QDLFORMAT_RGB32);
  EXPECT_EQ(p32->redShift, 16);
  EXPECT_EQ(p32->redLoss, 0);
  EXPECT_EQ(QDLSurfaceRGBToPixel(p8, 77, 1, 2), 77u);
}

TEST_F(SurfaceTest, ClassificationFromMasks) {
  QDLSurface* p = QDLSurfaceCreate(2, 2, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  p->desc.pixelFormat.redMask = 0x7C00;
  p->desc.pixelFormat.greenMask = 0x03E0;
  p->desc.pixelFormat.blueMask = 0x001F;
  p->redShift = 0;
  QDLSurfaceClassifyFormat(p);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB15);
  EXPECT_EQ(p->redShift, 10);
  EXPECT_EQ(p->greenLoss, 3);
  // Blue, green, red from the top bit down on a 32-bit surface.
  QDLSurface* q = QDLSurfaceCreate(2, 2, 32, QDLCREATE_MEMORY);
  ASSERT_NE(q, nullptr);
  q->desc.pixelFormat.redMask = 0x0000FF00;
  q->desc.pixelFormat.greenMask = 0x00FF0000;
  q->desc.pixelFormat.blueMask = 0xFF000000;
  QDLSurfaceComputeShifts(q);
  QDLSurfaceClassifyFormat(q);
  EXPECT_EQ(q->formatCode, QDLFORMAT_RGB32 | QDLFORMAT_ORDER_BGR);
  // A 5-5-6 layout with the six-bit field in blue.
  p->desc.pixelFormat.redMask = 0xF800;
  p->desc.pixelFormat.greenMask = 0x07C0;
  p->desc.pixelFormat.blueMask = 0x003F;
  QDLSurfaceComputeShifts(p);
  QDLSurfaceClassifyFormat(p);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB16 | QDLFORMAT_SIX_BLUE);
  EXPECT_EQ(p->blueLoss, 2);
  // Red and green both six bits wide: red is checked first.
  p->desc.pixelFormat.redMask = 0xFC00;
  p->desc.pixelFormat.greenMask = 0x03F0;
  p->desc.pixelFormat.blueMask = 0x000F;
  QDLSurfaceComputeShifts(p);
  QDLSurfaceClassifyFormat(p);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB16 | QDLFORMAT_SIX_RED);
  // Green and blue six bits wide: green before blue.
  p->desc.pixelFormat.redMask = 0xF000;
  p->desc.pixelFormat.greenMask = 0x0FC0;
  p->desc.pixelFormat.blueMask = 0x003F;
  QDLSurfaceComputeShifts(p);
  QDLSurfaceClassifyFormat(p);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB16 | QDLFORMAT_SIX_GREEN);
}

TEST_F(SurfaceTest, ClassifiedOrderAgreesWithThePackingOfItsCode) {
  // Every component order, with 5-bit and 8-bit fields: the code the masks
  // classify as packs colours exactly as the surface's own masks do.
  struct Layout {
    uint32_t order;
    int hi, mid, lo;  // 0 red, 1 green, 2 blue, from the highest field down
  };
  const Layout layouts[] = {{QDLFORMAT_ORDER_RGB, 0, 1, 2}, {QDLFORMAT_ORDER_RBG, 0, 2, 1},
                            {QDLFORMAT_ORDER_GRB, 1, 0, 2}, {QDLFORMAT_ORDER_GBR, 1, 2, 0},
                            {QDLFORMAT_ORDER_BRG, 2, 0, 1}, {QDLFORMAT_ORDER_BGR, 2, 1, 0}};
  for (int bits : {16, 32}) {
    QDLSurface* p = QDLSurfaceCreate(2, 2, bits, QDLCREATE_MEMORY);
    ASSERT_NE(p, nullptr);
    uint32_t width = bits == 16 ? 5 : 8, field = (1u << width) - 1;
    for (const Layout& l : layouts) {
      uint32_t masks[3] = {0, 0, 0};
      masks[l.hi] = field << (2 * width);
      masks[l.mid] = field << width;
      masks[l.lo] = field;
      p->desc.pixelFormat.redMask = masks[0];
      p->desc.pixelFormat.greenMask = masks[1];
      p->desc.pixelFormat.blueMask = masks[2];
      QDLSurfaceComputeShifts(p);
      QDLSurfaceClassifyFormat(p);
      uint32_t size = bits == 16 ? QDLFORMAT_RGB15 : QDLFORMAT_RGB32;
      ASSERT_EQ(p->formatCode, size | l.order) << "order " << l.order;
      for (uint32_t c = 0; c < 256; c += 15) {
        uint8_t r = static_cast<uint8_t>(c), g = static_cast<uint8_t>(255 - c), b = static_cast<uint8_t>(c * 7);
        ASSERT_EQ(QDLRGBToPixel(p->formatCode, r, g, b), QDLSurfaceRGBToPixel(p, r, g, b)) << "order " << l.order;
      }
    }
  }
}

TEST_F(SurfaceTest, ViewsOfViewsAndResultCodes) {
  QDLSurface* p = QDLSurfaceCreate(100, 50, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  QDLSurface* v = QDLSurfaceCreateView(p, 10, 5, 40, 20, 0);
  ASSERT_NE(v, nullptr);
  QDLSurface* vv = QDLSurfaceCreateView(v, 3, 4, 500, 500, 0);
  ASSERT_NE(vv, nullptr);
  EXPECT_EQ(vv->parent, p);
  EXPECT_EQ(vv->viewX, 13);
  EXPECT_EQ(vv->viewY, 9);
  EXPECT_EQ(vv->width, 87);   // cut at the parent's right edge
  EXPECT_EQ(vv->height, 41);
  EXPECT_EQ(vv->flags & (QDLSURF_VIEW | QDLSURF_WRAP_VIEW), QDLSURF_VIEW);
  // Parent is a memory buffer, locked: the view is locked at once.
  EXPECT_NE(vv->locked, 0u);
  EXPECT_EQ(vv->pixels, p->pixels + 9 * p->pitch + 13 * 2);
  EXPECT_EQ(vv->pitch, p->pitch);
  // A view at x = width is accepted with width 0; past it refused.
  QDLSurface* edge = QDLSurfaceCreateView(p, 100, 0, 10, 10, 0);
  ASSERT_NE(edge, nullptr);
  EXPECT_EQ(edge->width, 0);
  EXPECT_EQ(QDLSurfaceCreateView(p, 101, 0, 10, 10, 0), nullptr);
  // Likewise a view at y = height has height 0.
  QDLSurface* bottom = QDLSurfaceCreateView(p, 0, 50, 10, 10, 0);
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(bottom->height, 0);
  EXPECT_EQ(QDLSurfaceCreateView(p, 0, 51, 10, 10, 0), nullptr);
  EXPECT_EQ(QDLSurfaceCreateView(nullptr, 0, 0, 10, 10, 0), nullptr);
  // Wrapping view spans the whole parent.
  QDLSurface* w = QDLSurfaceCreateView(v, 5, 5, 1, 1, QDLCREATE_WRAP_VIEW);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->flags & (QDLSURF_VIEW | QDLSURF_WRAP_VIEW), QDLSURF_VIEW | QDLSURF_WRAP_VIEW);
  EXPECT_EQ(w->width, 100);
  EXPECT_EQ(w->height, 50);
  EXPECT_EQ(w->viewX, 15);
  EXPECT_EQ(w->viewY, 10);
  // Moving views.
  EXPECT_EQ(QDLSurfaceMoveView(nullptr, 0, 0, 0, 0), QDL_ERR_NULL_SURFACE);
  EXPECT_EQ(QDLSurfaceMoveView(p, 0, 0, 0, 0), QDL_ERR_INVALID);
  EXPECT_EQ(QDLSurfaceMoveView(v, 200, 0, 0, 0), QDL_ERR_INVALID);
  EXPECT_EQ(QDLSurfaceMoveView(v, -1, 30, 0, 0), QDL_OK);
  EXPECT_EQ(v->viewX, 10);
  EXPECT_EQ(v->viewY, 30);
  EXPECT_EQ(v->width, 40);
  EXPECT_EQ(v->height, 20);
  EXPECT_EQ(v->pixels, p->pixels + 30 * p->pitch + 10 * 2);
  EXPECT_EQ(QDLSurfaceMoveView(v, 90, -1, 0, 0), QDL_OK);
  EXPECT_EQ(v->width, 10);
  // Restore callbacks are refused on views.
  EXPECT_EQ(QDLSurfaceSetRestoreCallback(v, nullptr), QDL_ERR_INVALID);
  EXPECT_EQ(QDLSurfaceSetRestoreCallback(nullptr, nullptr), QDL_ERR_NULL_SURFACE);
  EXPECT_EQ(QDLSurfaceFree(nullptr), QDL_ERR_NULL_SURFACE);
  EXPECT_EQ(QDLSurfaceLock(nullptr), QDL_ERR_FAILED);
  EXPECT_EQ(QDLSurfaceUnlock(nullptr), QDL_ERR_NULL_SURFACE);
}

TEST_F(SurfaceTest, LocksAreCountedPerBaseSurface) {
  QDLSurface* p = QDLSurfaceCreate(64, 32, 16, 0);  // a surface of the presentation layer
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->flags & (QDLSURF_OWN | QDLSURF_SYSTEM), QDLSURF_OWN | QDLSURF_SYSTEM);
  EXPECT_EQ(p->locked, 0u);
  EXPECT_EQ(p->pixels, nullptr);
  QDLSurface* v = QDLSurfaceCreateView(p, 4, 2, 8, 8, 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->locked, 0u);
  // Locking the view locks the parent.
  ASSERT_EQ(QDLSurfaceLock(v), 0u);
  EXPECT_NE(p->locked, 0u);
  ASSERT_NE(p->pixels, nullptr);
  EXPECT_EQ(v->pixels, p->pixels + 2 * p->pitch + 4 * 2);
  // The caller also holds the parent; unlocking the view must not take
  // the parent's pixels away from it.
  ASSERT_EQ(QDLSurfaceLock(p), 0u);
  EXPECT_EQ(QDLSurfaceUnlock(v), 0u);
  EXPECT_EQ(v->locked, 0u);
  EXPECT_NE(p->locked, 0u);
  EXPECT_NE(p->pixels, nullptr);
  EXPECT_EQ(QDLSurfaceUnlock(p), 0u);
  EXPECT_EQ(p->locked, 0u);
  EXPECT_EQ(p->pixels, nullptr);
  // Unlocking what is not locked changes nothing.
  EXPECT_EQ(QDLSurfaceUnlock(p), 0u);
  EXPECT_EQ(QDLSurfaceUnlock(v), 0u);
  // Lock the view alone, unlock it: the whole parent unlocks.
  ASSERT_EQ(QDLSurfaceLock(v), 0u);
  EXPECT_EQ(QDLSurfaceUnlock(v), 0u);
  EXPECT_EQ(p->locked, 0u);
  // A record without pixels cannot be locked.
  QDLSurface* n = QDLSurfaceCreate(5, 5, 16, QDLCREATE_NO_PIXELS);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->flags, QDLSURF_OWN | QDLSURF_NO_PIXELS);
  EXPECT_EQ(QDLSurfaceLock(n), QDL_ERR_FAILED);
}

TEST_F(SurfaceTest, FreeingAParentInvalidatesItsViews) {
  QDLSurface* p = QDLSurfaceCreate(16, 16, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  QDLSurface* v = QDLSurfaceCreateView(p, 2, 2, 4, 4, 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(QDLSurfaceFree(p), 0u);
  EXPECT_EQ(v->parent, nullptr);
  EXPECT_EQ(v->pixels, nullptr);
  EXPECT_EQ(v->locked, 0u);
  EXPECT_EQ(QDLSurfaceLock(v), QDL_ERR_FAILED);
  EXPECT_EQ(QDLSurfaceCreateView(v, 0, 0, 1, 1, 0), nullptr);
  EXPECT_EQ(QDLSurfaceMoveView(v, 0, 0, 0, 0), QDL_ERR_INVALID);
  EXPECT_EQ(QDLSurfaceFree(v), 0u);
  EXPECT_EQ(QDLSurfaceFirst(), nullptr);
}

TEST_F(SurfaceTest, CopiedRecordIsCallerOwnedAndFreesNothing) {
  QDLSurface* p = QDLSurfaceCreate(8, 8, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  QDLSurface copy;
  ASSERT_EQ(QDLSurfaceCopyRecord(&copy, p), 0u);
  EXPECT_NE(copy.flags & QDLSURF_CALLER_OWNED, 0u);
  EXPECT_EQ(p->links.pNext, &copy.links);
  EXPECT_EQ(copy.pixels, p->pixels);
  EXPECT_EQ(QDLSurfaceFree(&copy), 0u);
  EXPECT_EQ(p->links.pNext, nullptr);
  p->pixels[0] = 7;  // still valid: the copy did not free it
  EXPECT_EQ(QDLSurfaceFree(p), 0u);
}

TEST_F(SurfaceTest, WrappedBlockIsTakenOver) {
  uint8_t* pBlock = static_cast<uint8_t*>(std::malloc(4 * 4 * 2));
  QDLSurface* p = QDLSurfaceWrap(pBlock, 4, 4, 16, QDLCREATE_MEMORY);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->pixels, pBlock);
  EXPECT_EQ(p->formatCode, QDLFORMAT_RGB565);
  EXPECT_EQ(QDLSurfaceFree(p), 0u);  // frees the block (ASan would report a leak otherwise)
}

TEST_F(SurfaceTest, ColourKeyOnViewSetsParent) {
  QDLSurface* p = QDLSurfaceCreate(8, 8, 16, QDLCREATE_MEMORY);
  QDLSurface* v = QDLSurfaceCreateView(p, 1, 1, 2, 2, 0);
  ASSERT_TRUE(p && v);
  EXPECT_EQ(p->colourKeySet, 0u);
  EXPECT_EQ(QDLSurfaceSetColourKey(v, 255, 0, 255), 0u);
  EXPECT_EQ(p->colourKey, 0xF81Fu);
  EXPECT_EQ(p->colourKeySet, 1u);
  // New surfaces take the default key.
  QDLSetDefaultColourKey(0, 255, 0);
  QDLSurface* q = QDLSurfaceCreate(2, 2, 16, QDLCREATE_MEMORY);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->colourKey, 0x07E0u);
  QDLSetDefaultColourKey(0, 0, 0);
}

TEST_F(SurfaceTest, CreationFlagsAndTheDefaultKey) {
  // Creation flag 32 is recorded as surface flag 0x80.
  QDLSurface* f32 = QDLSurfaceCreate(4, 4, 16, QDLCREATE_FLAG32);
  ASSERT_NE(f32, nullptr);
  EXPECT_EQ(f32->flags & (QDLSURF_OWN | QDLSURF_FLAG32), QDLSURF_OWN | QDLSURF_FLAG32);
  // The default key: the index for 8-bit surfaces, R, G, B for the others.
  QDLSetDefaultColourKey(7, 0, 255);
  QDLSurface* p8 = QDLSurfaceCreate(4, 4, 8, QDLCREATE_MEMORY);
  QDLSurface* p16 = QDLSurfaceCreate(4, 4, 16, QDLCREATE_MEMORY);
  ASSERT_TRUE(p8 && p16);
  EXPECT_EQ(p8->colourKey, 7u);
  EXPECT_EQ(p16->colourKey, 0x001Fu);
  QDLSetDefaultColourKey(0, 0, 0);
  // A view copies its parent's key and key-set flag.
  EXPECT_EQ(QDLSurfaceSetColourKey(p16, 255, 0, 0), 0u);
  QDLSurface* v = QDLSurfaceCreateView(p16, 1, 1, 2, 2, 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->colourKey, 0xF800u);
  EXPECT_EQ(v->colourKeySet, 1u);
}

TEST_F(SurfaceTest, ImpossibleSizesAreRefused) {
  EXPECT_EQ(QDLSurfaceCreate(-1, 5, 16, QDLCREATE_MEMORY), nullptr);
  EXPECT_EQ(QDLSurfaceCreate(70000, 70000, 32, QDLCREATE_MEMORY), nullptr);
  EXPECT_EQ(QDLSurfaceCreate(4, 4, 12, QDLCREATE_MEMORY), nullptr);
  EXPECT_EQ(QDLSurfaceFirst(), nullptr);
}

}  // namespace

namespace {

TEST(Q2DXSurfaces, CopyRectFillAndPalettes) {
  Q2DXSurface* a = Q2DXSurfaceCreateFormat(4, 3, 16, 0);
  Q2DXSurface* b = Q2DXSurfaceCreateFormat(3, 3, 16, 0);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->pitch, 8);          // rows padded to 4 bytes
  EXPECT_EQ(b->pitch, 8);
  ASSERT_EQ(Q2DXSurfaceFill(a, 0x1234), 0u);
  EXPECT_EQ(a->pixels[0] | (a->pixels[1] << 8), 0x1234);
  EXPECT_EQ(a->pixels[2 * 8 + 6] | (a->pixels[2 * 8 + 7] << 8), 0x1234);
  // A rectangle hanging over both surfaces' edges is clipped to them.
  Q2DXRect r = {2, 1, 6, 5};
  ASSERT_EQ(Q2DXSurfaceCopyRect(b, 1, 1, a, &r), 0u);
  EXPECT_EQ(b->pixels[1 * 8 + 2] | (b->pixels[1 * 8 + 3] << 8), 0x1234);
  EXPECT_EQ(b->pixels[2 * 8 + 4] | (b->pixels[2 * 8 + 5] << 8), 0x1234);
  EXPECT_EQ(b->pixels[0], 0);
  EXPECT_EQ(b->pixels[1 * 8 + 0], 0);
  EXPECT_EQ(Q2DXSurfaceCopyRect(b, 0, 0, nullptr, &r), 1u);
  // Palettes are shared by reference.
  QDLPaletteEntry e[256] = {};
  e[1] = {1, 2, 3, 0};
  Q2DXPalette* p = Q2DXPaletteCreate(e);
  ASSERT_NE(p, nullptr);
  Q2DXSurfaceSetPalette(a, p);
  Q2DXSurfacePaletteCopy(b, a);
  Q2DXPaletteRelease(p);
  EXPECT_EQ(Q2DXSurfaceGetPalette(b), p);
  EXPECT_EQ(p->refCount, 2u);
  QDLPaletteEntry out[2];
  EXPECT_EQ(Q2DXPaletteGetEntries(p, 0, 2, out), 0u);
  EXPECT_EQ(out[1].blue, 3);
  EXPECT_EQ(Q2DXPaletteSetEntries(p, 255, 2, out), 1u);   // past the end: refused
  Q2DXRelease(a);
  EXPECT_EQ(p->refCount, 1u);
  Q2DXRelease(b);
  EXPECT_EQ(Q2DXBytesPerPixel(15), 2u);
  EXPECT_EQ(Q2DXBytesPerPixel(12), 0u);
  EXPECT_EQ(Q2DXSurfaceCreateFormat(-1, 3, 16, 0), nullptr);
  EXPECT_EQ(Q2DXSurfaceCreateFormat(3, 3, 12, 0), nullptr);
}

TEST(Q2DXSurfaces, WrappedSurfaceLocksThroughTheLayer) {
  QDLSurfacePoolInit();
  Q2DXSurface* q = Q2DXSurfaceCreateFormat(8, 4, 32, 0);
  ASSERT_NE(q, nullptr);
  QDLSurface* s = QDLSurfaceWrap(q, 8, 4, 32, QDLCREATE_CALLER_OWNED);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->flags & (QDLSURF_OWN | QDLSURF_CALLER_OWNED), QDLSURF_OWN | QDLSURF_CALLER_OWNED);
  EXPECT_EQ(s->formatCode, QDLFORMAT_RGB32);
  EXPECT_EQ(s->locked, 0u);
  ASSERT_EQ(QDLSurfaceLock(s), 0u);
  EXPECT_EQ(s->pixels, q->pixels);
  EXPECT_EQ(s->pitch, 32);
  EXPECT_EQ(q->locked, 1u);
  QDLSurfaceUnlock(s);
  EXPECT_EQ(q->locked, 0u);
  EXPECT_EQ(QDLSurfaceSetColourKey(s, 1, 2, 3), 0u);
  EXPECT_EQ(q->colourKey, 0x010203u);
  // Restore callbacks run once for surfaces marked pending.
  static int calls = 0;
  QDLSurfaceSetRestoreCallback(s, [](QDLSurface*) { ++calls; });
  s->restorePending = 1;
  QDLRestoreSurfaces();
  QDLRestoreSurfaces();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(QDLSurfaceFree(s), 0u);  // caller-owned record: unlinked, the surface released
  std::free(s);
}

}  // namespace
