#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/q2dx.h"
#include "display/q2dx_internal.h"
#include "display/qdl.h"
#include "display/qdl_internal.h"
#include "display/qdl_image.h"
#include "display/qdl_palette.h"
#include "display/qdl_present.h"
#include "display_env.h"
#include "framework/qdx_window.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/window.h"

namespace {

struct DisplayOpen : ::testing::Test {
  void SetUp() override {
    QDLShutdown();
    ASSERT_EQ(QDLSetup(), 0u);
    mode = QDLFindMode(0, 640, 480, 16, 0);
    ASSERT_GE(mode, 0);
  }
  void TearDown() override { QDLShutdown(); }
  int32_t mode = -1;
};

void PutPixel16(QDLSurface* s, int x, int y, uint16_t v) {
  ASSERT_EQ(QDLSurfaceLock(s), 0u);
  uint8_t* p = s->pixels + y * s->pitch + x * 2;
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  QDLSurfaceUnlock(s);
}

TEST_F(DisplayOpen, FullScreenDisplayRecordAndPresent) {
  QDLSurface* d = QDLOpenDisplay(0, mode, 36);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(QDLDisplaySurface(), d);
  EXPECT_EQ(QDLCurrentDevice(), 0);
  EXPECT_EQ(QDLCurrentMode(), mode);
  EXPECT_EQ(d->flags, QDLSURF_DISPLAY);
  EXPECT_EQ(d->width, 640);
  EXPECT_EQ(d->height, 480);
  EXPECT_EQ(d->bitsPerPixel, 16);
  EXPECT_EQ(d->formatCode, QDLFORMAT_RGB565);
  EXPECT_EQ(d->redShift, 11);
  EXPECT_EQ(QDLIsFullScreen(), 1u);
  EXPECT_EQ(QDLSurfaceRGBToPixel(nullptr, 255, 0, 0), 0xF800u);
  // Black until something is drawn.
  uint64_t before = platform::displayPresentCount();
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(platform::displayPresentCount(), before + 1);
  std::vector<uint8_t> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(platform::displayLastFrame(&rgb, &w, &h));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  for (uint8_t v : rgb) ASSERT_EQ(v, 0);
  // A red pixel and a white one; present with clear-after (bit 0).
  PutPixel16(d, 3, 2, 0xF800);
  PutPixel16(d, 639, 479, 0xFFFF);
  ASSERT_EQ(QDLPresent(1), 0u);
  ASSERT_TRUE(platform::displayLastFrame(&rgb, &w, &h));
  size_t at = (2 * 640 + 3) * 3;
  EXPECT_EQ(rgb[at], 255);
  EXPECT_EQ(rgb[at + 1], 0);
  EXPECT_EQ(rgb[at + 2], 0);
  EXPECT_EQ(rgb[(479 * 640 + 639) * 3 + 1], 255);
  // The back buffer was cleared after that present (both bytes of the red pixel).
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  EXPECT_EQ(d->pixels[2 * d->pitch + 6], 0);
  EXPECT_EQ(d->pixels[2 * d->pitch + 7], 0);
  QDLSurfaceUnlock(d);
  // Without bit 0 the back buffer keeps what was drawn.
  PutPixel16(d, 3, 2, 0xF800);
  ASSERT_EQ(QDLPresent(0), 0u);
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  EXPECT_EQ(d->pixels[2 * d->pitch + 7], 0xF8);
  QDLSurfaceUnlock(d);
  // Re-opening full screen is refused.
  EXPECT_EQ(QDLOpenDisplay(0, mode, 36), nullptr);
  EXPECT_EQ(QDLDisplaySurface(), d);
  // Shut-down frees the display record with every other surface.
  EXPECT_EQ(QDLShutdown(), 0u);
  EXPECT_EQ(QDLDisplaySurface(), nullptr);
  EXPECT_EQ(QDLSurfaceFirst(), nullptr);
  EXPECT_FALSE(platform::isWindowVisible(QDXGetMainWindow()));
}

TEST_F(DisplayOpen, HeadlessCaptureOfAFrame) {
  QDLSurface* d = QDLOpenDisplay(0, mode, 36);
  ASSERT_NE(d, nullptr);
  PutPixel16(d, 10, 20, 0x07E0);
  std::string name = DisplayTestFile("frame.tga");
  std::string why;
  // The script's capture command asks for the next presented frame.
  ASSERT_TRUE(platform::headlessLoadScriptText("1 capture " + name + "\n", &why)) << why;
  for (int i = 0; i < 3 && platform::headlessPendingScriptLines(); ++i) platform::pumpEvents();
  platform::Message m;
  while (platform::pollMessage(&m)) {
  }
  ASSERT_EQ(QDLPresent(0), 0u);
  QDLSurfaceDesc desc;
  uint8_t* p = static_cast<uint8_t*>(QDLTGARead(name.c_str(), nullptr, &desc, QDLIMG_MEMORY));
  ASSERT_NE(p, nullptr) << QDLImageLastError();
  EXPECT_EQ(desc.width, 640);
  EXPECT_EQ(desc.height, 480);
  const uint8_t* px = p + (20 * 640 + 10) * 4;
  EXPECT_EQ(px[2], 0);
  EXPECT_EQ(px[1], 255);
  EXPECT_EQ(px[0], 0);
  EXPECT_EQ(p[0] | p[1] | p[2], 0);
  std::free(p);
  std::remove(name.c_str());
}

TEST_F(DisplayOpen, WindowHookAndErrorTexts) {
  platform::Window* win = QDXGetMainWindow();
  // Activation messages are swallowed while no display is open.
  EXPECT_EQ(QDLWindowHook(win, platform::kMsgActivate, 1, 0, 123), 0);
  QDLSurface* d = QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED | QDLOPEN_VIDEO_MEMORY);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->flags, QDLSURF_DISPLAY | QDLSURF_VIDEO);
  EXPECT_EQ(QDLWindowHook(win, platform::kMsgActivate, 1, 0, 123), 123);
  // Re-opening in full screen is refused with its message.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(QDLOpenDisplay(0, mode, 36), nullptr);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("QDX Error: Resizing of FullScreen modes currently not supported"), std::string::npos) << err;
  // Shut-down maximises a window that is to be kept, else hides it.
  QDLKeepWindowOnShutdown();
  EXPECT_EQ(QDLShutdown(), 0u);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_MAXIMISED);
  EXPECT_TRUE(platform::isWindowVisible(win));
  qdlGlobals.keepWindow = 0;
}

TEST_F(DisplayOpen, AnEmptyWindowRectanglePresentsNothing) {
  QDLSurface* d = QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED);
  ASSERT_NE(d, nullptr);
  PutPixel16(d, 1, 1, 0xFFFF);
  uint64_t before = platform::displayPresentCount();
  // A window minimised to nothing: left equal to right.
  Q2DXRect saved = q2dxState.destRect;
  q2dxState.destRect.right = q2dxState.destRect.left;
  EXPECT_EQ(Q2DXFlip(Q2DXFLIP_CLEAR), 0u);
  EXPECT_EQ(platform::displayPresentCount(), before);
  // Nothing was presented, so nothing was cleared either.
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  EXPECT_EQ(d->pixels[d->pitch + 3], 0xFF);
  QDLSurfaceUnlock(d);
  q2dxState.destRect = saved;
  EXPECT_EQ(Q2DXFlip(0), 0u);
  EXPECT_EQ(platform::displayPresentCount(), before + 1);
}

TEST_F(DisplayOpen, WindowedReopenRescalesViewsOfTheDisplay) {
  QDLSurface* d = QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(QDLIsFullScreen(), 0u);
  EXPECT_TRUE(platform::isWindowVisible(QDXGetMainWindow()));
  int cw = 0, ch = 0;
  platform::windowSize(QDXGetMainWindow(), &cw, &ch);
  EXPECT_EQ(cw, 640);
  EXPECT_EQ(ch, 480);
  QDLSurface* v = QDLSurfaceCreateView(d, 10, 20, 100, 50, 0);
  ASSERT_NE(v, nullptr);
  int32_t bigger = QDLFindMode(0, 800, 600, 16, 1);
  ASSERT_GE(bigger, 0);
  QDLSurface* d2 = QDLOpenDisplay(0, bigger, QDLOPEN_WINDOWED);
  ASSERT_EQ(d2, d);
  EXPECT_EQ(d->width, 800);
  EXPECT_EQ(d->height, 600);
  EXPECT_EQ(v->viewX, 12);
  EXPECT_EQ(v->viewY, 25);
  EXPECT_EQ(v->width, 125);
  EXPECT_EQ(v->height, 62);
  platform::windowSize(QDXGetMainWindow(), &cw, &ch);
  EXPECT_EQ(cw, 800);
  // The view draws into the new back buffer.
  PutPixel16(v, 0, 0, 0x001F);
  ASSERT_EQ(QDLPresent(0), 0u);
  std::vector<uint8_t> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(platform::displayLastFrame(&rgb, &w, &h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(rgb[(25 * 800 + 12) * 3 + 2], 255);
  // The window's rectangles follow a resize of the window.
  Q2DXRect r = Q2DXDestRect();
  EXPECT_EQ(r.right - r.left, 800);
  QDLKeepWindowOnShutdown();
}

TEST_F(DisplayOpen, PresentHooksRunInOrder) {
  ASSERT_NE(QDLOpenDisplay(0, mode, 36), nullptr);
  static std::string log;
  log.clear();
  QDLPresentHook* a = QDLPresentHookAdd([](uint32_t x) { log += "Apre" + std::to_string(x) + " "; },
                                        [](uint32_t) { log += "Apost "; });
  QDLPresentHook* b = QDLPresentHookAdd(nullptr, [](uint32_t) { log += "Bpost "; });
  ASSERT_TRUE(a && b);
  QDLPresentFunctionSet([](uint32_t x) -> uint32_t {
    log += "present" + std::to_string(x) + " ";
    return 0;
  });
  EXPECT_EQ(QDLPresent(5), 0u);
  EXPECT_EQ(log, "Apre5 present5 Bpost Apost ");
  // Inactive: no hook, no present.
  log.clear();
  QDLActivateHook(0);
  EXPECT_EQ(QDLIsInactive(), 1u);
  EXPECT_EQ(QDLPresent(1), 0u);
  EXPECT_EQ(log, "");
  QDLActivateHook(1);
  EXPECT_EQ(QDLIsInactive(), 0u);
  QDLPresentHookRemove(a);
  EXPECT_EQ(QDLPresent(2), 0u);
  EXPECT_EQ(log, "present2 Bpost ");
  // The flip reports a failing presentation as 7.
  QDLPresentFunctionSet(QDLFlip);
  EXPECT_EQ(QDLFlip(0), 0u);
  // Initialising the hook list clears the present function; a second
  // initialisation changes nothing.
  QDLPresentHooksFree();
  QDLPresentFunctionSet([](uint32_t) -> uint32_t {
    log += "late ";
    return 0;
  });
  QDLPresentHooksInit();
  log.clear();
  EXPECT_EQ(QDLPresent(3), 0u);
  EXPECT_EQ(log, "");
  QDLPresentFunctionSet([](uint32_t) -> uint32_t {
    log += "again ";
    return 0;
  });
  QDLPresentHooksInit();
  EXPECT_EQ(QDLPresent(3), 0u);
  EXPECT_EQ(log, "again ");
  QDLPresentFunctionSet(QDLFlip);
}

TEST_F(DisplayOpen, ActivationRestoresSurfacesOnce) {
  ASSERT_NE(QDLOpenDisplay(0, mode, 36), nullptr);
  static int calls = 0;
  calls = 0;
  QDLSurface* s = QDLSurfaceCreate(8, 8, 16, 0);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(QDLSurfaceSetRestoreCallback(s, [](QDLSurface*) { ++calls; }), 0u);
  static int pointerShown = 1;
  QDLPointerActivationSet([]() -> uint32_t { return static_cast<uint32_t>(pointerShown); },
                          [](uint32_t show) { pointerShown = static_cast<int>(show); });
  // The framework's activation chain reaches the library's hook.
  QDLSurface* d = QDLDisplaySurface();
  PutPixel16(d, 5, 5, 0xFFFF);
  QDXWindowProc(QDXGetMainWindow(), platform::kMsgActivateApp, 0, 0);
  EXPECT_EQ(QDLIsInactive(), 1u);
  EXPECT_EQ(pointerShown, 0);
  EXPECT_EQ(s->restorePending, 1u);
  QDLActivateHook(0);  // once only
  QDXWindowProc(QDXGetMainWindow(), platform::kMsgActivateApp, 1, 0);
  EXPECT_EQ(QDLIsInactive(), 0u);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(pointerShown, 1);
  EXPECT_EQ(s->restorePending, 0u);
  // Coming back clears the display surfaces.
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  EXPECT_EQ(d->pixels[5 * d->pitch + 10], 0);
  EXPECT_EQ(d->pixels[5 * d->pitch + 11], 0);
  QDLSurfaceUnlock(d);
  QDLActivateHook(1);
  EXPECT_EQ(calls, 1);
  QDLPointerActivationSet(nullptr, nullptr);
}

TEST_F(DisplayOpen, PalettedDisplayPresentsThroughItsPalette) {
  // An 8-bit full-screen mode is not in the software renderer's list; the
  // Q2DX layer opens one on the driver directly.
  Q2DXDriver* drv = Q2DXDriverGet(0);
  ASSERT_NE(drv, nullptr);
  std::vector<Q2DXMode> saved(drv->modes, drv->modes + drv->modeCount);
  drv->modes[0] = Q2DXMode{320, 200, 8, 0, 0, 0};
  ASSERT_EQ(Q2DXInitFullScreenMode(QDXGetMainWindow(), 0, 0, 0, 0, 0), 0u);
  Q2DXSurface* back = Q2DXBackBuffer();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pixelFormat.bitCount, 8u);
  QDLPaletteEntry e[256] = {};
  e[7] = {10, 20, 30, 0};
  Q2DXPalette* pal = Q2DXPaletteCreate(e);
  Q2DXSurfaceSetPalette(back, pal);
  Q2DXPaletteRelease(pal);
  back->pixels[0] = 7;
  EXPECT_EQ(Q2DXFlip(0), 0u);
  std::vector<uint8_t> rgb;
  int w, h;
  ASSERT_TRUE(platform::displayLastFrame(&rgb, &w, &h));
  EXPECT_EQ(w, 320);
  EXPECT_EQ(rgb[0], 10);
  EXPECT_EQ(rgb[2], 30);
  std::copy(saved.begin(), saved.end(), drv->modes);
}

TEST(DisplayFrameRate, MeterMeasuresEveryHundredFrames) {
  Q2DXFrameRateReset();
  for (int i = 0; i < 99; ++i) Q2DXFrameRateUpdate();
  EXPECT_EQ(Q2DXFrameRate(), 0.0f);
  platform::headlessAdvanceClock(2000000000ull);  // two seconds
  Q2DXFrameRateUpdate();
  EXPECT_FLOAT_EQ(Q2DXFrameRate(), 50.0f);
}

}  // namespace
