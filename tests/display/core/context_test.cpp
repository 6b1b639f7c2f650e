#include <gtest/gtest.h>

#include <cstring>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/blit/qdl_blit.h"
#include "display/qdl_bank.h"
#include "display/qdl_context.h"
#include "display/qdl_draw.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"
#include "display/qdl_present.h"
#include "display/qdl_wrappers.h"

namespace {

struct ContextTest : ::testing::Test {
  void SetUp() override { QDLShutdown(); }
  void TearDown() override {
    QDLContextShutdown(&ctx);
    QDLShutdown();
  }
  QDLContext ctx;
};

template <typename F>
QDLServiceFn Fn(F* pfn) {
  return reinterpret_cast<QDLServiceFn>(pfn);
}

TEST_F(ContextTest, SetupFillsServicesAndShutdownClears) {
  EXPECT_EQ(ctx.device, -1);
  EXPECT_EQ(ctx.mode, -1);
  EXPECT_EQ(ctx.pfnSetup, QDLContextSetup);
  ASSERT_EQ(QDLSetup(), 0u);
  int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  QDLContextModeSet(&ctx, 0, mode, 36);
  EXPECT_EQ(ctx.modeFlags, 36u);
  ASSERT_EQ(QDLContextSetup(&ctx), 0u);
  EXPECT_EQ(ctx.setUp, 1u);
  EXPECT_EQ(ctx.servicesFilled, 1u);
  ASSERT_NE(ctx.pDisplay, nullptr);
  EXPECT_EQ(ctx.pDisplay, QDLDisplaySurface());
  EXPECT_EQ(ctx.pDevice3D, &ctx.device3D);
  EXPECT_EQ(ctx.pfnCreateObjects, QDLContextCreateObjects);
  EXPECT_EQ(ctx.services[QDLSVC_SURFACE_LOCK], reinterpret_cast<QDLServiceFn>(QDLSurfaceLock));
  EXPECT_EQ(ctx.services[QDLSVC_FRAME_COUNTERS_GET], reinterpret_cast<QDLServiceFn>(QDLFrameCountersGet));
  EXPECT_EQ(ctx.services[QDLSVC_PRESENT], reinterpret_cast<QDLServiceFn>(QDLPresent));
  for (uint32_t i = 0; i < QDL_SERVICE_COUNT; ++i) EXPECT_NE(ctx.services[i], nullptr) << "slot " << i;
  // The table's order, slot by slot.
  const QDLServiceFn order[] = {
      Fn(QDLSurfaceLock),        Fn(QDLSurfaceUnlock),       Fn(QDLSurfaceFree),
      Fn(QDLNop),                Fn(QDLPresent),             Fn(QDLImageLoadTGA),
      Fn(QDLSurfaceRGBToPixel),  Fn(QDLFillRect),            Fn(QDLSpriteBankFromSheets),
      Fn(QDLSpriteBankFree),     Fn(QDLBlit),                Fn(QDLFontCreateFromSheet),
      Fn(QDLFontFree),           Fn(QDLPrintfDefault),       Fn(QDLPrint),
      Fn(QDLLine),               Fn(QDLRect),                Fn(QDLSurfaceCreate),
      Fn(QDLSurfaceCopy),        Fn(QDLPutPixel),            Fn(QDLGetPixelRGB),
      Fn(QDLSurfaceSaveTGA),     Fn(QDLSurfaceBlitStretch),  Fn(QDLTextSetLayout),
      Fn(QDLTextSetStyleFlag),   Fn(QDLTextSetStyleFlag16),  Fn(QDLTextSetColour),
      Fn(QDLFrameCountersGet)};
  static_assert(sizeof order / sizeof order[0] == 28);
  ASSERT_EQ(QDL_SERVICE_COUNT, 28u);
  for (uint32_t i = 0; i < 28; ++i) EXPECT_EQ(ctx.services[i], order[i]) << "slot " << i;
  // Through the table, as the renderer calls it.
  auto lock = reinterpret_cast<uint32_t (*)(QDLSurface*)>(ctx.services[QDLSVC_SURFACE_LOCK]);
  auto unlock = reinterpret_cast<uint32_t (*)(QDLSurface*)>(ctx.services[QDLSVC_SURFACE_UNLOCK]);
  EXPECT_EQ(lock(ctx.pDisplay), 0u);
  EXPECT_EQ(unlock(ctx.pDisplay), 0u);
  uint32_t second = 5;
  EXPECT_EQ(QDLFrameCountersGet(&second), 0u);
  EXPECT_EQ(second, 0u);
  // Set up again: nothing happens.
  QDLSurface* d = ctx.pDisplay;
  EXPECT_EQ(QDLContextSetup(&ctx), 0u);
  EXPECT_EQ(ctx.pDisplay, d);
  EXPECT_EQ(QDLContextShutdown(&ctx), 0u);
  EXPECT_EQ(ctx.setUp, 0u);
  EXPECT_EQ(ctx.servicesFilled, 0u);
  EXPECT_EQ(ctx.pDisplay, nullptr);
  EXPECT_EQ(QDLIsSetUp(), 0u);
  // ... and again after shutting down.
  ASSERT_EQ(QDLContextSetup(&ctx), 0u);
  EXPECT_NE(ctx.pDisplay, nullptr);
  // Close frees the display surface once and shuts down.
  EXPECT_EQ(QDLContextClose(&ctx), 0u);
  EXPECT_EQ(ctx.servicesFilled, 0u);
  EXPECT_EQ(QDLDisplaySurface(), nullptr);
}

TEST_F(ContextTest, AFailedStepStopsTheSetup) {
  QDLContextModeSet(&ctx, 0, 999, 36);  // no such mode
  EXPECT_EQ(QDLContextSetup(&ctx), 7u);
  EXPECT_EQ(ctx.servicesFilled, 0u);
  EXPECT_EQ(ctx.setUp, 0u);
  EXPECT_EQ(ctx.pDisplay, nullptr);
}

TEST_F(ContextTest, ObjectsInCallOrder) {
  ASSERT_EQ(QDLSetup(), 0u);
  QDLContextModeSet(&ctx, 0, QDLFindMode(0, 640, 480, 16, 0), 36);
  ASSERT_EQ(QDLContextSetup(&ctx), 0u);
  ASSERT_EQ(QDLContextCreateObjects(&ctx), 0u);
  EXPECT_EQ(ctx.manager.initialised, 1u);
  ASSERT_NE(ctx.pPrimary, nullptr);
  EXPECT_EQ(ctx.pPrimary->type, QDDSURFACE_DISPLAY);
  EXPECT_EQ(ctx.pPrimary->pSurface, QDLDisplaySurface()->ddSurface);
  EXPECT_EQ(ctx.device3D.pManager, &ctx.manager);
  EXPECT_EQ(ctx.device3D.pTarget, ctx.pPrimary);
  EXPECT_EQ(ctx.manager.count, 1u);
  EXPECT_GT(ctx.manager.modeCount, 0u);
  // The device opens on the primary: z-buffer, default viewport, formats.
  ASSERT_EQ(ctx.device3D.Open(ctx.pPrimary), 0u);
  EXPECT_EQ(ctx.device3D.created, 1u);
  EXPECT_STREQ(ctx.device3D.name, "Korvena software renderer");
  EXPECT_EQ(ctx.device3D.zBufferDepth, 16u);
  EXPECT_NE(ctx.pPrimary->pAttached, nullptr);
  EXPECT_EQ(ctx.device3D.ViewportCurrent(), &ctx.device3D.defaultViewport);
  EXPECT_EQ(ctx.device3D.defaultViewport.viewport.width, 640);
  EXPECT_EQ(ctx.device3D.defaultViewport.clearRect.right, 640);
  EXPECT_EQ(ctx.device3D.targetBits, 16);
  EXPECT_EQ(ctx.device3D.TextureWidthMax(), 1024u);
  // A device that reports no maximum (0) has none: the largest positive value.
  const uint32_t savedWidth = ctx.device3D.deviceDesc.maxTextureWidth;
  const uint32_t savedHeight = ctx.device3D.deviceDesc.maxTextureHeight;
  ctx.device3D.deviceDesc.maxTextureWidth = 0;
  ctx.device3D.deviceDesc.maxTextureHeight = 0;
  EXPECT_EQ(ctx.device3D.TextureWidthMax(), 0x7FFFFFFFu);
  EXPECT_EQ(ctx.device3D.TextureHeightMax(), 0x7FFFFFFFu);
  ctx.device3D.deviceDesc.maxTextureWidth = savedWidth;
  ctx.device3D.deviceDesc.maxTextureHeight = savedHeight;
  // Texture format choice.
  const QDLPixelFormatDesc* f = ctx.device3D.TextureFormat16(1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->alphaMask, 0x8000u);            // 1-5-5-5
  f = ctx.device3D.TextureFormat16(2);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->alphaMask, 0xF000u);            // 4-4-4-4: nearest with more
  f = ctx.device3D.TextureFormat16(8);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->alphaMask, 0xFF00u);            // an exact match is taken at once
  f = ctx.device3D.TextureFormat16(6);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->alphaMask, 0xF000u);            // 8-3-3-2 is left out of the ranking: nearest with fewer
  f = ctx.device3D.TextureFormat16(0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->greenMask, 0x07E0u);            // the first without alpha
  f = ctx.device3D.TextureFormat32(8);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->alphaMask, 0xFF000000u);
  EXPECT_EQ(ctx.device3D.TextureFormatChoose(24, 0), nullptr);
  // Objects: owned ones are deleted, others only unlinked, newest first.
  QD3DMaterial* m = ctx.device3D.MaterialCreate();
  m->SetColour(255, 0, 0);
  EXPECT_FLOAT_EQ(m->diffuse[0], 1.0f);
  EXPECT_EQ(m->rampSize, 32u);
  QD3DViewport given;
  ctx.device3D.ViewportAdd(&given);
  EXPECT_EQ(ctx.device3D.pHead, &given);
  EXPECT_EQ(ctx.device3D.count, 3u);
  QDDSurface* tex = ctx.manager.SurfaceCreate(32, 32, 16, Q2DXSURF_TEXTURE);
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(ctx.manager.pHead, tex);
  QD3DTextureBinding* bind = ctx.device3D.TextureBindingCreate(tex);
  EXPECT_EQ(bind->hasTexture, 1u);
  EXPECT_EQ(ctx.device3D.SceneBegin(), 0u);
  EXPECT_EQ(ctx.device3D.SceneBegin(), 1u);
  EXPECT_EQ(ctx.device3D.SceneEnd(), 0u);
  ctx.device3D.Release();
  EXPECT_EQ(ctx.device3D.created, 0u);
  EXPECT_EQ(ctx.device3D.count, 0u);
  EXPECT_EQ(given.pOwner, nullptr);
  EXPECT_EQ(ctx.pPrimary->pAttached, nullptr);
  // The binding took its surface object with it.
  EXPECT_EQ(ctx.manager.count, 1u);
  QDDSurface mine;
  ctx.manager.SurfaceRegister(&mine, 8, 8, 16, 0);
  EXPECT_EQ(ctx.manager.count, 2u);
  ctx.manager.Shutdown();
  EXPECT_EQ(mine.pManager, nullptr);     // only unlinked
  EXPECT_EQ(ctx.manager.count, 0u);
  ctx.pPrimary = nullptr;
}

TEST(Wrappers, PixelFormatRecordAndFillByPitch) {
  QDLPixelFormatDesc f = {QDLPF_RGB | QDLPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
  QDDPixelFormat p;
  QDDPixelFormatFill(&p, f, QDLCAPS_SYSTEMMEMORY);
  EXPECT_EQ(p.rgb, 1u);
  EXPECT_EQ(p.alpha, 1u);
  EXPECT_EQ(p.memoryKind, 1u);
  EXPECT_EQ(p.redBits, 4u);
  EXPECT_EQ(p.alphaShift, 12u);
  EXPECT_EQ(p.greenLoss, 4u);
  EXPECT_EQ(p.bitCount, 16u);
  EXPECT_EQ(p.paletted, 0u);
  // Memory kinds: local video memory 2, neither 0.
  QDDPixelFormatFill(&p, f, QDLCAPS_VIDEOMEMORY);
  EXPECT_EQ(p.memoryKind, 2u);
  QDDPixelFormatFill(&p, f, 0);
  EXPECT_EQ(p.memoryKind, 0u);
  // A paletted format counts palette bits and keeps no component widths.
  QDLPixelFormatDesc pal = {QDLPF_PALETTEINDEXED8, 8, 0, 0, 0, 0};
  QDDPixelFormatFill(&p, pal, QDLCAPS_SYSTEMMEMORY);
  EXPECT_EQ(p.paletted, 1u);
  EXPECT_EQ(p.rgb, 0u);
  EXPECT_EQ(p.bitCount, 8u);
  EXPECT_EQ(p.redBits, 0u);
  // Fill a 3 x 2 surface whose pitch is wider than its rows.
  Q2DXSurface* s = Q2DXSurfaceCreateFormat(3, 2, 16, 0);
  ASSERT_NE(s, nullptr);
  s->pixelFormat = f;
  ASSERT_EQ(s->pitch, 8);
  QDDSurface o;
  o.Attach(s);
  uint8_t work[3 * 2 * 4];
  for (int i = 0; i < 6; ++i) {
    work[i * 4] = 0xF0;
    work[i * 4 + 1] = 0x80;
    work[i * 4 + 2] = 0x10;
    work[i * 4 + 3] = 0xFF;
  }
  ASSERT_EQ(o.FillFromWork(work, 3, 2), 0u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(s->pixels[y * 8 + x * 2] | (s->pixels[y * 8 + x * 2 + 1] << 8), 0xFF81);
  EXPECT_EQ(s->pixels[6], 0);  // the row's padding is left alone
  Q2DXRelease(s);
}

}  // namespace
