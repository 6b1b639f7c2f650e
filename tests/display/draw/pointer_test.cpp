// The software pointer on the headless display: drawn into the back buffer
// around each present, restored afterwards, clipped at the edges.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "display/qdl_image.h"
#include "display/qdl_text.h"
#include "display/qdl_draw.h"
#include "display/qdl_pointer.h"
#include "display/qdl_palette.h"
#include "display/qdl_present.h"
#include "framework/qdx_mouse.h"
#include "framework/qdx_window.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "support/headless_env.h"
#include "draw_test_util.h"

namespace {

// The device cache file in the program's temporary folder; the executable's
// folder is the real one until a test points it elsewhere.
void PointerUp() {
  QDLDeviceInfoFileNameSet((korvena_test::HeadlessRoot() / "dxinfo.bin").c_str());
  platform::setExecutableDir("");
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-pointer", true, PointerUp, nullptr});

struct PointerTest : ::testing::Test {
  QDLSurface* d = nullptr;
  void SetUp() override {
    QDLShutdown();
    ASSERT_EQ(QDLSetup(), 0u);
    const int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
    ASSERT_GE(mode, 0);
    d = QDLOpenDisplay(0, mode, 8);
    ASSERT_NE(d, nullptr);
  }
  void TearDown() override {
    QDLPointerShutdown();
    platform::setExecutableDir("");
    QDLShutdown();
  }
  uint16_t Px(int x, int y) {
    QDLSurfaceLock(d);
    const uint16_t v = reinterpret_cast<uint16_t*>(d->pixels + y * d->pitch)[x];
    QDLSurfaceUnlock(d);
    return v;
  }
  // The presented frame's pixel as r, g, b.
  static std::vector<uint8_t> FramePixel(int x, int y) {
    std::vector<uint8_t> rgb;
    int w = 0, h = 0;
    if (!platform::displayLastFrame(&rgb, &w, &h) || x >= w || y >= h) return {};
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
  static void UseGeneratedPointer() {
    const char* build = std::getenv("KORVENA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    platform::setExecutableDir(std::string(build) + "/bin");
  }
};

TEST(PointerSetup, NeedsTheLibraryAndADisplay) {
  QDLShutdown();
  EXPECT_EQ(QDLPointerSetup(0, 0, 0), 5u);
  ASSERT_EQ(QDLSetup(), 0u);
  EXPECT_EQ(QDLPointerSetup(0, 0, 0), 5u);  // no display yet
  QDLShutdown();
}

TEST_F(PointerTest, AMissingImageFileGivesABlankPointer) {
  platform::setExecutableDir(korvena_test::HeadlessRoot().string());  // no Pointer.bmp there
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  ASSERT_NE(QDLPointerImage(), nullptr);
  EXPECT_EQ(QDLPointerImage()->width, 16);
  EXPECT_EQ(QDLPointerImage()->height, 27);
  // It shows nothing.
  QDLFillRect(d, nullptr, 0x1234, 0);
  QDLPointerSetPosition(nullptr, 200, 100);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(FramePixel(205, 105), FramePixel(300, 300));
  EXPECT_EQ(QDLPointerSetup(0, 0, 0), 0u);  // set up already: nothing
}

TEST_F(PointerTest, DrawnAroundThePresentAndRestored) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  QDLSurface* img = QDLPointerImage();
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->width, 16);
  EXPECT_EQ(img->height, 24);
  const uint16_t fill = static_cast<uint16_t>(QDLSurfaceRGBToPixel(d, 0, 0, 255));
  QDLFillRect(d, nullptr, fill, 0);
  QDLPointerSetPosition(nullptr, 100, 100);
  ASSERT_EQ(QDLPresent(0), 0u);
  // In the presented frame: the arrow's black tip and white body at the
  // mouse; the key colour shows the background.
  EXPECT_EQ(FramePixel(100, 100), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(FramePixel(101, 103), (std::vector<uint8_t>{255, 255, 255}));
  EXPECT_EQ(FramePixel(110, 101), (std::vector<uint8_t>{0, 0, 255}));
  // The back buffer has its own pixels back.
  EXPECT_EQ(Px(100, 100), fill);
  EXPECT_EQ(Px(101, 103), fill);
  const QDLPointerRect r = QDLPointerDrawnRect();
  EXPECT_EQ(r.left, -1);
  // Tracking off: nothing drawn.
  QDLPointerTrackOff();
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(FramePixel(100, 100), (std::vector<uint8_t>{0, 0, 255}));
  QDLPointerTrackOn();
  // Suspended by the application's deactivation: nothing drawn until resumed.
  QDLPointerSuspend();
  EXPECT_EQ(QDLPointerIsVisible(), 0);
  QDLPointerResume();
  EXPECT_EQ(QDLPointerIsVisible(), 1);
}

// A present that clears the back buffer afterwards leaves it clear: the
// pixels saved under the pointer are not written back into it.
TEST_F(PointerTest, APresentThatClearsLeavesNoOldPixelsBehind) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  const uint16_t fill = static_cast<uint16_t>(QDLSurfaceRGBToPixel(d, 0, 0, 255));
  QDLFillRect(d, nullptr, fill, 0);
  QDLPointerSetPosition(nullptr, 100, 100);
  ASSERT_EQ(QDLPresent(1), 0u);
  EXPECT_EQ(FramePixel(100, 100), (std::vector<uint8_t>{0, 0, 0}));  // drawn in the frame
  EXPECT_EQ(Px(100, 100), 0);
  EXPECT_EQ(Px(105, 110), 0);
  EXPECT_EQ(Px(300, 300), 0);
  EXPECT_EQ(QDLPointerDrawnRect().left, -1);
  // The next present draws over the new frame and restores it.
  QDLFillRect(d, nullptr, 0x1234, 0);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(Px(100, 100), 0x1234);
}

TEST_F(PointerTest, RectanglesAtTheEdges) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  QDLPointerSetHotSpot(5, 5);
  QDLPointerSetPosition(nullptr, 0, 0);
  QDLPointerRect r;
  ASSERT_EQ(QDLPointerRectCompute(&r, 640, 480), 1);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 11);
  EXPECT_EQ(r.bottom, 19);
  QDLPointerSetHotSpot(0, 0);
  QDLPointerSetPosition(nullptr, 639, 479);
  ASSERT_EQ(QDLPointerRectCompute(&r, 640, 480), 1);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, 480);
  // Drawn clipped at the corner, without writing outside the back buffer.
  QDLFillRect(d, nullptr, 0, 0);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(FramePixel(639, 479), (std::vector<uint8_t>{0, 0, 0}));
  QDLPointerSetPosition(nullptr, 700, 10);
  EXPECT_EQ(QDLPointerRectCompute(&r, 640, 480), 0);
  // The mouse is clamped to the display when read.
  ASSERT_EQ(QDLPresent(0), 0u);
  QMousePoint p{};
  QDLPointerGetPosition(nullptr, &p);
  EXPECT_EQ(p.x, 639);
}

TEST_F(PointerTest, ImagesKeysAndSetUpFlags) {
  // Without flag 4 the image is 16 x 27 of the key colour, keyed.
  ASSERT_EQ(QDLPointerSetup(0, 0, 0), 0u);
  QDLSurface* blank = QDLPointerImage();
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->width, 16);
  EXPECT_EQ(blank->height, 27);
  EXPECT_EQ(blank->colourKeySet, 1u);
  EXPECT_EQ(blank->colourKey, QDLSurfaceRGBToPixel(blank, 0, 130, 132));
  EXPECT_EQ(QDLPointerIsTracking(), 1);
  EXPECT_EQ(QDLPointerSetup(0, 0, 8), 0u);  // already set up: nothing changes
  EXPECT_EQ(QDLPointerIsTracking(), 1);
  // An image without a key gets black unless flag 2 asks for the pointer's key.
  QDLSurface* a = QDLSurfaceCreate(40, 8, 16, QDLCREATE_MEMORY);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(QDLPointerSetImage(a, 0), 0u);
  EXPECT_EQ(QDLPointerImage(), a);
  EXPECT_EQ(a->colourKeySet, 1u);
  EXPECT_EQ(a->colourKey, QDLSurfaceRGBToPixel(a, 0, 0, 0));
  QDLSurface* b = QDLSurfaceCreate(8, 8, 16, QDLCREATE_MEMORY);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(QDLPointerSetImage(b, QDLPOINTER_IMAGE_KEY), 0u);
  EXPECT_EQ(b->colourKey, QDLSurfaceRGBToPixel(b, 0, 130, 132));
  // A null image keeps the current one; flag 2 still sets its key.
  QDLSurfaceSetColourKey(b, 1, 2, 3);
  EXPECT_EQ(QDLPointerSetImage(nullptr, QDLPOINTER_IMAGE_KEY), 0u);
  EXPECT_EQ(QDLPointerImage(), b);
  EXPECT_EQ(b->colourKey, QDLSurfaceRGBToPixel(b, 0, 130, 132));
  QDLPointerShutdown();
  // Flag 8 starts without tracking, flag 32 keeps no image.
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_NO_TRACKING | QDLPOINTER_NO_IMAGE), 0u);
  EXPECT_EQ(QDLPointerIsTracking(), 0);
  EXPECT_EQ(QDLPointerIsVisible(), 1);
  EXPECT_EQ(QDLPointerImage(), nullptr);
  QDLPointerTrackOn();
  EXPECT_EQ(QDLPointerIsTracking(), 1);
  QDLFillRect(d, nullptr, 0, 0);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(QDLPointerDrawnRect().left, -1);
}

// Drawing on the display surface: an operation that locks it unlocks it
// again; a surface the caller locked stays locked.
TEST_F(PointerTest, DrawingKeepsTheCallersLockState) {
  ASSERT_EQ(d->flags & QDLSURF_MEMORY, 0u);
  ASSERT_EQ(d->locked, 0u);
  EXPECT_EQ(QDLPutPixel(d, 3, 3, 0xFFFF, 0), 0u);
  EXPECT_EQ(QDLLine(d, 0, 0, 9, 9, 0xFFFF, 0), 0u);
  EXPECT_EQ(QDLRect(d, 1, 1, 8, 8, 0xFFFF, 0), 0u);
  QDLRectI16 r{0, 0, 4, 4};
  EXPECT_EQ(QDLFillRect(d, &r, 0x1234, QDLDRAW_DARKEN), 0u);
  EXPECT_EQ(QDLCircle(d, 20, 20, 5, 0xFFFF, QDLDRAW_FILLED), 0u);
  EXPECT_EQ(d->locked, 0u);
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  EXPECT_EQ(QDLPutPixel(d, 3, 3, 0xF800, 0), 0u);
  EXPECT_EQ(QDLSpanH(d, 0, 5, 6, 0xF800, 0), 0u);
  EXPECT_EQ(QDLFillRect(d, &r, 0x1234, 0), 0u);
  EXPECT_EQ(d->locked, 1u);
  EXPECT_EQ(reinterpret_cast<uint16_t*>(d->pixels + 6 * d->pitch)[5], 0xF800);
  QDLSurfaceUnlock(d);
  EXPECT_EQ(d->locked, 0u);
}

// Converting an indexed bank to format 0 on the 16-bit display gives frames
// of the display's format with the same encodings and the palette's colours.
TEST_F(PointerTest, IndexedBankConvertsToTheDisplayFormat) {
  const uint8_t data[] = {
      4, 0, 1, 2,             // frame 0, raw 2 x 2: row 0
      0, 0, 3, 1,             // row 1 (last)
      0, 0, 2, 2, 3, 0,       // frame 1, literal runs 3 x 1: 2 pixels, then the terminator
  };
  QDLSpriteBank* b = QDLSpriteBankCreate(2, sizeof data, 0);
  ASSERT_NE(b, nullptr);
  std::memcpy(b->pixelData, data, sizeof data);
  b->formatCode = QDLFORMAT_INDEXED8;
  b->sourceBytesPerPixel = 1;
  b->frames[0] = QDLFrame{2, 2, QDLENC_RAW, b->pixelData, b};
  b->frames[1] = QDLFrame{3, 1, QDLENC_RLE, b->pixelData + 8, b};
  QDLPalette* pal = QDLPaletteCreate(256, 1, 0);
  ASSERT_NE(pal, nullptr);
  QDLPaletteEntry e[256] = {};
  e[1] = QDLPaletteEntry{255, 0, 0, 0};
  e[2] = QDLPaletteEntry{0, 255, 0, 0};
  e[3] = QDLPaletteEntry{0, 0, 255, 0};
  QDLPaletteSetEntries(pal, e, 0, 256);
  QDLSpriteBankAdoptPalette(b, pal);
  QDLSpriteBank* c = QDLSpriteBankConvert(b, 0, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->formatCode, d->formatCode);
  EXPECT_EQ(c->sourceBytesPerPixel, 2u);
  ASSERT_EQ(c->frameCount, 2);
  EXPECT_EQ(c->frames[0].encoding, QDLENC_RAW);
  EXPECT_EQ(c->frames[1].encoding, QDLENC_RLE);
  auto px = [&](uint8_t i) { return static_cast<int64_t>(QDLRGBToPixel(d->formatCode, e[i].red, e[i].green, e[i].blue)); };
  const auto f0 = drawtest::Decode(c->frames[0], 2);
  EXPECT_EQ(f0, (std::vector<int64_t>{px(1), px(2), px(3), px(1)}));
  const auto f1 = drawtest::Decode(c->frames[1], 2);
  EXPECT_EQ(f1, (std::vector<int64_t>{px(2), px(3), -1}));
  // Raw row 0 of 2 pixels: length 2 + 4.
  EXPECT_EQ(c->frames[0].pixels[0], 6);
  QDLSpriteBankFree(c);
  QDLSpriteBankFree(b);
}

TEST_F(PointerTest, PositionsRelativeToViews) {
  ASSERT_EQ(QDLPointerSetup(0, 0, 0), 0u);
  QDLSurface* view = QDLSurfaceCreateView(d, 100, 50, 200, 200, 0);
  ASSERT_NE(view, nullptr);
  QDLPointerSetPosition(view, 10, 10);
  QMousePoint p{};
  QInputMouseGetPosition(&p);
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 60);
  EXPECT_EQ(QDLPointerGetX(view), 10);
  EXPECT_EQ(QDLPointerGetY(view), 10);
  QMousePoint untouched{-7, -8};
  EXPECT_EQ(QDLPointerGetPressPos(view, 2, &untouched), 0);
  EXPECT_EQ(untouched.x, -7);
  EXPECT_EQ(untouched.y, -8);
  QDLSurfaceFree(view);
}

// The pointer sets the framework mouse up only when nobody has, and then shuts
// it with itself; a suspension shows the system's cursor until the resume.
TEST_F(PointerTest, OwnsTheMouseOnlyWhenItSetItUp) {
  QInputMouseShutdown();
  ASSERT_EQ(QInputMouseIsSetUp(), 0);
  ASSERT_EQ(QDLPointerSetup(0, 0, 0), 0u);
  EXPECT_EQ(QInputMouseIsSetUp(), 1);
  QDLPointerShutdown();
  EXPECT_EQ(QInputMouseIsSetUp(), 0);

  ASSERT_EQ(QInputMouseSetup(0), 0);
  ASSERT_EQ(QDLPointerSetup(0, 0, 0), 0u);
  QDLPointerShutdown();
  EXPECT_EQ(QInputMouseIsSetUp(), 1);  // someone else's mouse stays

  auto cursorCount = [] {
    platform::showCursor(true);
    return platform::showCursor(false);
  };
  ASSERT_EQ(QDLPointerSetup(0, 0, 0), 0u);
  const int before = cursorCount();
  QDLPointerSuspend();
  EXPECT_EQ(cursorCount(), before + 1);
  QDLPointerResume();
  EXPECT_EQ(cursorCount(), before);
  QDLPointerSuspend();
  QDLPointerShutdown();  // shut while suspended: the cursor count is put back
  EXPECT_EQ(cursorCount(), before);
  QInputMouseShutdown();
}

// The drawing modules fill their slots of the context's service table.
TEST(PointerContext, DrawingServicesAreInstalled) {
  QDLContext c;
  const int32_t mode = [] {
    QDLShutdown();
    QDLSetup();
    return QDLFindMode(0, 640, 480, 16, 0);
  }();
  QDLContextModeSet(&c, 0, mode, 8);
  ASSERT_EQ(QDLContextSetup(&c), 0u);
  EXPECT_EQ(c.services[QDLSVC_FONT_CREATE_FROM_SHEET], reinterpret_cast<QDLServiceFn>(QDLFontCreateFromSheet));
  EXPECT_EQ(c.services[QDLSVC_PRINT], reinterpret_cast<QDLServiceFn>(QDLPrint));
  EXPECT_EQ(c.services[QDLSVC_FILL_RECT], reinterpret_cast<QDLServiceFn>(QDLFillRect));
  EXPECT_EQ(c.services[QDLSVC_SPRITE_BANK_FROM_SHEETS], reinterpret_cast<QDLServiceFn>(QDLSpriteBankFromSheets));
  EXPECT_EQ(c.services[QDLSVC_SURFACE_BLIT_STRETCH], reinterpret_cast<QDLServiceFn>(QDLSurfaceBlitStretch));
  // The context set the printer up: a print works at once.
  EXPECT_EQ(QDLPrint(c.pDisplay, nullptr, 0, 0, "x"), 1006u);
  QDLContextShutdown(&c);
}

// The whole chain on the headless display: fonts loaded by their game paths
// as the front end loads them, text, sprites of the generated bank and the
// pointer, presented and captured.
TEST_F(PointerTest, HeadlessFrameOfTextSpritesAndPointer) {
  UseGeneratedPointer();  // the executable's folder is <build>/bin
  const std::string build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_EQ(QDLTextSetup(0), 0u);
  QDLFont* small = QDLFontCreateFromSheet("..\\data\\textures\\Fonts\\SWfont18pt.bmp", 3, 0, 0);
  QDLFont* large = QDLFontCreateFromSheet("..\\data\\textures\\Fonts\\SW24pt.bmp", 3, 0, 0);
  QDLFont* debug = QDLFontCreateFromSheet("..\\data\\textures\\fonts\\debug.bmp", 3, 0, 0);
  ASSERT_TRUE(small && large && debug);
  EXPECT_EQ(large->bank->frameCount, 256);
  EXPECT_EQ(large->flags & QDLFONT_OWNS_BANK, static_cast<uint32_t>(QDLFONT_OWNS_BANK));
  QDLSpriteBank* demo = QDLSpriteBankLoad((build + "/tools/art/demo_sprites.spr").c_str(), nullptr, 0);
  ASSERT_NE(demo, nullptr);

  QDLFillRect(d, nullptr, QDLSurfaceRGBToPixel(d, 16, 40, 90), 0);
  QDLRectI16 band{0, 0, 640, 64};
  QDLFillRect(d, &band, QDLSurfaceRGBToPixel(d, 10, 20, 50), 0);
  const uint32_t aa = QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP;
  QDLTextSetStyle(aa);
  QDLTextSetColour(QDLSurfaceRGBToPixel(d, 255, 210, 60));
  QDLTextSetLayout(QDLLAYOUT_CENTRED);
  EXPECT_EQ(QDLPrintfBox(d, large, 0, 18, nullptr, "MAIN MENU"), 0u);
  const char* items[] = {"Friendly Match", "Quick Match", "History", "Training", "Options", "Load Game"};
  for (int i = 0; i < 6; ++i) {
    QDLTextSetColour(i == 2 ? QDLSurfaceRGBToPixel(d, 255, 255, 255) : QDLSurfaceRGBToPixel(d, 170, 190, 220));
    EXPECT_EQ(QDLPrintfBox(d, i == 2 ? large : small, 0, static_cast<int16_t>(110 + i * 40), nullptr, "%s", items[i]), 0u);
  }
  QDLRect(d, 200, 182, 439, 214, QDLSurfaceRGBToPixel(d, 255, 210, 60), 0);
  for (int i = 0; i < demo->frameCount; ++i) QDLBlit(d, &demo->frames[i], 64 + i * 68, 400, 0, nullptr);
  EXPECT_EQ(QDLPrintText(d, debug, 8, 462, QDLSurfaceRGBToPixel(d, 200, 200, 200), 0, QDLLAYOUT_PLAIN, aa,
                         "debug font \x80 \xA9 0123456789"),
            0u);
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  QDLPointerSetPosition(nullptr, 330, 200);
  const std::string capture = build + "/tests/headless_frame.tga";
  std::filesystem::remove(capture);
  platform::displayCaptureNext(capture);
  ASSERT_EQ(QDLPresent(0), 0u);
  QDLSurface* shot = QDLImageLoadTGA(nullptr, capture.c_str(), 0x200);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->width, 640);
  EXPECT_EQ(shot->height, 480);
  uint8_t r, g, b;
  QDLGetPixelRGB(shot, 330, 200, &r, &g, &b);  // the pointer's black tip
  EXPECT_EQ(r + g + b, 0);
  QDLGetPixelRGB(shot, 331, 203, &r, &g, &b);  // its white body
  EXPECT_GT(r, 240);
  QDLTextShutdown();
}

// ---- The front surface and timer-driven drawing -----------------------------------

// A pixel of the front surface the pointer draws on.
uint16_t FrontPx(int x, int y) {
  QDLSurface* f = QDLPointerFrontSurface();
  if (f == nullptr) return 0xDEAD;
  QDLSurfaceLock(f);
  const uint16_t v = reinterpret_cast<uint16_t*>(f->pixels + y * f->pitch)[x];
  QDLSurfaceUnlock(f);
  return v;
}

// The arrow's black tip at the hot spot and its white body three rows down.
void ExpectArrowAt(int x, int y, uint16_t background) {
  EXPECT_EQ(FrontPx(x, y), 0) << x << ", " << y;
  EXPECT_EQ(FrontPx(x + 1, y + 3), 0xFFFF) << x << ", " << y;
  EXPECT_EQ(FrontPx(x + 10, y + 1), background) << "the key colour shows what is under it";
}

void ExpectNoArrowAt(int x, int y, uint16_t background) {
  EXPECT_EQ(FrontPx(x, y), background) << x << ", " << y;
  EXPECT_EQ(FrontPx(x + 1, y + 3), background) << x << ", " << y;
}

TEST_F(PointerTest, WindowedTheFlipShowsThePointerOnTheFrontSurfaceNotInTheBackBuffer) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE), 0u);
  EXPECT_EQ(QDLPointerFrontSurface(), nullptr);  // no present yet
  const uint16_t fill = 0x1234;
  QDLFillRect(d, nullptr, fill, 0);
  QDLPointerSetPosition(nullptr, 200, 150);
  ASSERT_EQ(QDLPresent(0), 0u);
  ASSERT_NE(QDLPointerFrontSurface(), nullptr);
  ExpectArrowAt(200, 150, fill);
  const QDLPointerRect r = QDLPointerFrontRect();
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right, 216);
  EXPECT_EQ(r.bottom, 174);
  EXPECT_EQ(QDLPointerDrawnRect().left, -1);  // never in the back buffer windowed
  EXPECT_EQ(Px(200, 150), fill);
  EXPECT_EQ(FramePixel(200, 150), (std::vector<uint8_t>{0, 0, 0}));  // the shown frame has it
  // A new image replaces the old one on the front surface at once.
  QDLSurface* red = QDLSurfaceCreate(8, 8, 16, QDLCREATE_MEMORY);
  ASSERT_NE(red, nullptr);
  QDLFillRect(red, nullptr, 0xF800, 0);
  ASSERT_EQ(QDLPointerSetImage(red, 0), 0u);
  EXPECT_EQ(FrontPx(200, 150), 0xF800);
  EXPECT_EQ(FrontPx(207, 157), 0xF800);
  EXPECT_EQ(FrontPx(201, 160), fill);  // the arrow's old body is gone
  EXPECT_EQ(FramePixel(207, 157), (std::vector<uint8_t>{255, 0, 0}));
  // Tracking off takes it off the front surface.
  QDLPointerTrackOff();
  EXPECT_EQ(FrontPx(200, 150), fill);
  EXPECT_EQ(FrontPx(207, 157), fill);
  EXPECT_EQ(QDLPointerFrontRect().left, -1);
}

TEST_F(PointerTest, TheTimerMovesThePointerOnTheFrontSurfaceOnlyBetweenPresents) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE | QDLPOINTER_TIMER), 0u);
  const uint16_t fill = 0x0F0F;
  QDLFillRect(d, nullptr, fill, 0);
  QDLPointerSetPosition(nullptr, 100, 100);
  // Before the first present the timer may not draw.
  EXPECT_EQ(QDLPointerTimerDrawingAllowed(), 0);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 0u);
  // Nor after an image change before it.
  QDLPointerSetImage(nullptr, QDLPOINTER_IMAGE_KEY);
  EXPECT_EQ(QDLPointerTimerDrawingAllowed(), 0);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(QDLPointerTimerDrawingAllowed(), 1);
  ExpectArrowAt(100, 100, fill);
  // Not moved: nothing to draw.
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 0u);
  // Moved: taken off at the old place with save-under B, drawn at the new one.
  QDLPointerSetPosition(nullptr, 300, 200);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 1u);
  ExpectNoArrowAt(100, 100, fill);
  ExpectArrowAt(300, 200, fill);
  EXPECT_EQ(QDLPointerFrontRect().left, 300);
  EXPECT_EQ(Px(300, 200), fill);  // the back buffer is not touched
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 1u);
  // Shown on request between presents.
  ASSERT_EQ(Q2DXFrontShow(1), 0u);
  EXPECT_EQ(FramePixel(300, 200), (std::vector<uint8_t>{0, 0, 0}));
  // While the display surface is locked the timer does not draw.
  QDLPointerSetPosition(nullptr, 50, 60);
  ASSERT_EQ(QDLSurfaceLock(d), 0u);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 1u);
  ExpectArrowAt(300, 200, fill);
  QDLSurfaceUnlock(d);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 2u);
  ExpectArrowAt(50, 60, fill);
  ExpectNoArrowAt(300, 200, fill);
  // Tracking off, suspended or not visible: no timer drawing.
  QDLPointerTrackOff();
  QDLPointerSetPosition(nullptr, 400, 400);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 2u);
  ExpectNoArrowAt(50, 60, fill);
  QDLPointerTrackOn();
  ASSERT_EQ(QDLPresent(0), 0u);
  QDLPointerSuspend();
  QDLPointerSetPosition(nullptr, 10, 10);
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 2u);
  QDLPointerResume();
  QDLPointerTimerProc(nullptr);
  EXPECT_EQ(QDLPointerTimerDraws(), 3u);
  ExpectArrowAt(10, 10, fill);
}

// A present function that notes whether the timer could draw while it runs.
int32_t g_iAllowedDuringFlip = -1;
uint32_t FlipNotingTimer(uint32_t argument) {
  g_iAllowedDuringFlip = QDLPointerTimerDrawingAllowed();
  return QDLFlip(argument);
}

TEST_F(PointerTest, TheTimerCallbackRunsOnTheFrameworkTimerAndNeverDuringAPresent) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE | QDLPOINTER_TIMER), 0u);
  ASSERT_TRUE(QDXTimerIsRunning());  // the callback started the timer
  QDLPresentFunctionSet(FlipNotingTimer);
  QDLFillRect(d, nullptr, 0, 0);
  QDLPointerSetPosition(nullptr, 20, 30);
  ASSERT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(g_iAllowedDuringFlip, 0);
  EXPECT_EQ(QDLPointerTimerDrawingAllowed(), 1);
  QDLPointerSetPosition(nullptr, 40, 50);
  ASSERT_TRUE(platform::headlessAdvanceClock(50'000'000));  // the timer's ticks
  EXPECT_EQ(QDLPointerTimerDraws(), 1u);
  ExpectArrowAt(40, 50, 0);
  ExpectNoArrowAt(20, 30, 0);
  // Shut down, the callback is gone with the pointer.
  QDLPointerShutdown();
  ASSERT_TRUE(platform::headlessAdvanceClock(50'000'000));
  EXPECT_EQ(QDLPointerTimerDraws(), 0u);
  QDLPresentFunctionSet(QDLFlip);
  QDXTimerStop();
}

TEST_F(PointerTest, ATimerThreadDrawingWhileTheMainThreadPresentsLeavesOneCleanPointer) {
  UseGeneratedPointer();
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE | QDLPOINTER_TIMER), 0u);
  QDLFillRect(d, nullptr, 0x2222, 0);
  std::atomic<bool> stop{false};
  std::thread timer([&] {
    while (!stop.load()) QDLPointerTimerProc(nullptr);
  });
  for (int i = 0; i < 300; ++i) {
    QDLPointerSetPosition(nullptr, 10 + (i * 7) % 600, 10 + (i * 13) % 440);
    ASSERT_EQ(QDLPresent(0), 0u);
  }
  stop = true;
  timer.join();
  // The last present put the pointer at the last position; the front surface
  // is the back buffer everywhere else.
  QDLPointerSetPosition(nullptr, 320, 240);
  ASSERT_EQ(QDLPresent(0), 0u);
  ExpectArrowAt(320, 240, 0x2222);
  const QDLPointerRect r = QDLPointerFrontRect();
  int differing = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if ((x < r.left || x >= r.right || y < r.top || y >= r.bottom) && FrontPx(x, y) != 0x2222) ++differing;
  EXPECT_EQ(differing, 0);
  for (int y = 0; y < 480; y += 7)
    for (int x = 0; x < 640; x += 7) ASSERT_EQ(Px(x, y), 0x2222) << x << ", " << y;
}

TEST(PointerFullScreen, DrawnIntoTheBackBufferBeforeTheFlipAndMovedOnTheFrontAfter) {
  QDLShutdown();
  ASSERT_EQ(QDLSetup(), 0u);
  const int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  QDLSurface* d = QDLOpenDisplay(0, mode, QDLOPEN_FULLSCREEN_OPT32 | QDLOPEN_OPTION2);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(QDLIsFullScreen(), 1u);
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  platform::setExecutableDir(std::string(build) + "/bin");
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_LOAD_IMAGE | QDLPOINTER_TIMER), 0u);
  QDLFillRect(d, nullptr, 0x4321, 0);
  QDLPointerSetPosition(nullptr, 500, 400);
  ASSERT_EQ(QDLPresent(0), 0u);
  // The flip showed it; the back buffer has its pixels back; the front keeps
  // the pointer with what was under it.
  std::vector<uint8_t> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(platform::displayLastFrame(&rgb, &w, &h));
  EXPECT_EQ(rgb[(400u * 640u + 500u) * 3u], 0);
  EXPECT_EQ(QDLPointerDrawnRect().left, -1);
  QDLSurfaceLock(d);
  EXPECT_EQ(reinterpret_cast<uint16_t*>(d->pixels + 400 * d->pitch)[500], 0x4321);
  QDLSurfaceUnlock(d);
  EXPECT_EQ(QDLPointerFrontRect().left, 500);
  ExpectArrowAt(500, 400, 0x4321);
  QDLPointerSetPosition(nullptr, 100, 80);
  QDLPointerTimerProc(nullptr);
  ExpectNoArrowAt(500, 400, 0x4321);
  ExpectArrowAt(100, 80, 0x4321);
  // A present that clears: the front shows the pointer over the old frame,
  // the back buffer is left clear.
  ASSERT_EQ(QDLPresent(1), 0u);
  ExpectArrowAt(100, 80, 0x4321);
  QDLSurfaceLock(d);
  EXPECT_EQ(reinterpret_cast<uint16_t*>(d->pixels + 80 * d->pitch)[100], 0);
  QDLSurfaceUnlock(d);
  QDLPointerShutdown();
  EXPECT_EQ(Q2DXFrontMode(), 0u);
  platform::setExecutableDir("");
  QDLShutdown();
  QDXTimerStop();
}

TEST(PointerShutdown, TheLibrarysShutdownTakesThePointerAndItsTimerDown) {
  QDLShutdown();
  ASSERT_EQ(QDLSetup(), 0u);
  QDLSurface* d = QDLOpenDisplay(0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(QDLPointerSetup(0, 0, QDLPOINTER_TIMER), 0u);
  ASSERT_EQ(QDLPresent(0), 0u);
  QDLShutdown();
  EXPECT_EQ(QDLPointerIsSetUp(), 0);
  EXPECT_EQ(QDLPointerTimerDrawingAllowed(), 0);
  ASSERT_TRUE(platform::headlessAdvanceClock(50'000'000));  // no callback on freed surfaces
  EXPECT_EQ(QDLPointerTimerDraws(), 0u);
  QDXTimerStop();
}

}  // namespace
