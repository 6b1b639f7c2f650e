// The renderer choice over fake device lists and fake Glide libraries, the
// screen size per renderer, and loading renderer libraries by DLL name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "platform/library.h"
#include "platform/settings.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_transform.h"
#include "render3d/vidselect.h"
#include "render3d_env.h"
#include "shell/pcinstall.h"
#include "support/headless_env.h"

namespace {

// A renderer with a hardware description (3D-capable).
const QDLRendererEntry kFakeHardware[2] = {
    {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
     "Software",
     "",
     {0, 0, 0, 0, 0, 0, 0, 0},
     {1, QDL_DDBD_16, QDL_DDBD_16, 1, 1024, 1024, 1, 1}},
    {{9, 9, 9, 9, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
     "Fake accelerator",
     "",
     {1, QDL_DDBD_16, QDL_DDBD_16, 1, 256, 256, 1, 1},
     {0, 0, 0, 0, 0, 0, 0, 0}},
};

struct Probe : ::testing::Test {
  void SetUp() override {
    korvena_test::FreshSettings();
    Reset();
    std::filesystem::remove(Render3DRoot() / "dxinfo.bin");
    QDLDeviceRenderersSet(nullptr, 0);
  }
  void TearDown() override {
    QDLShutdown();
    QDLDeviceLayerShutdown();
    QDLDeviceRenderersSet(nullptr, 0);
    Render3DTestLibrary("libglide2x.so", false);
    Render3DTestLibrary("libq3dglidedll.so", false);
    unsetenv("KORVENA_FAKE_GLIDE_FOUND");
    std::filesystem::remove(Render3DRoot() / "dxinfo.bin");
  }
  static void Reset() {
    pcinstall_uVidMode = pcinstall_uVidRes = pcinstall_uVidDevice = pcinstall_uGlidePresent = 0;
  }
  // The four values as the settings hold them.
  static void Stored(uint32_t out[4]) {
    Reset();
    pcinstall_TableRead(pcinstall_aVideoValues, PCINSTALL_VIDEO_VALUES);
    out[0] = pcinstall_uVidMode;
    out[1] = pcinstall_uVidRes;
    out[2] = pcinstall_uVidDevice;
    out[3] = pcinstall_uGlidePresent;
  }
  static void Restart() { QDLDeviceLayerShutdown(); }
};

TEST_F(Probe, FreshEnumerationChoosesSoftwareThenTheCacheStands) {
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  EXPECT_EQ(pcinstall_uVidMode, 0u);
  EXPECT_EQ(vidselect_bDirect3DCapable, 0u);
  uint32_t v[4];
  Stored(v);
  EXPECT_EQ(v[0], 0u);
  EXPECT_EQ(v[3], 0u);
  EXPECT_TRUE(std::filesystem::exists(Render3DRoot() / "dxinfo.bin"));

  // A readable cache and no Glide: nothing probed, nothing written.
  Restart();
  pcinstall_uVidMode = 2;  // the player's choice in memory
  pcinstall_uVidDevice = 1;
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  EXPECT_EQ(pcinstall_uVidMode, 2u);
  Stored(v);
  EXPECT_EQ(v[0], 0u);
}

TEST_F(Probe, AThreeDCapableDeviceChoosesDirect3D) {
  QDLDeviceRenderersSet(kFakeHardware, 2);
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  EXPECT_EQ(vidselect_bDirect3DCapable, 1u);
  uint32_t v[4];
  Stored(v);
  EXPECT_EQ(v[0], 2u);
  EXPECT_EQ(v[2], 1u);  // the accelerator is device 1
  QDLSetup();
  const QDLModeList* l = QDLModeListGet(1);
  ASSERT_NE(l, nullptr);
  ASSERT_LT(static_cast<int32_t>(v[1]), l->modeCount);
  EXPECT_EQ(l->modes[v[1]].width, 640);
  EXPECT_EQ(l->modes[v[1]].height, 480);
}

TEST_F(Probe, GlideHardwareWinsOverDirect3D) {
  QDLDeviceRenderersSet(kFakeHardware, 2);
  Render3DTestLibrary("libglide2x.so", true);
  Render3DTestLibrary("libq3dglidedll.so", true);
  setenv("KORVENA_FAKE_GLIDE_FOUND", "1", 1);
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  uint32_t v[4];
  Stored(v);
  EXPECT_EQ(v[0], 1u);
  EXPECT_EQ(v[3], 1u);
  EXPECT_EQ(vidselect_oGlideBlock.bProbe, 0u);
  EXPECT_EQ(Q3DDeviceLoaded(), 0u);  // the probe lets the library go

  // With the cache readable, GlidePresent 1 still probes but keeps the choice.
  Restart();
  pcinstall_uVidMode = 0;
  unsetenv("KORVENA_FAKE_GLIDE_FOUND");
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  EXPECT_EQ(pcinstall_uGlidePresent, 0u);
  EXPECT_EQ(pcinstall_uVidMode, 0u);
  Stored(v);
  EXPECT_EQ(v[0], 1u);  // not written again
}

// The menus open on device 0: when it can draw in no mode the driver offers,
// the probe fails and says which device has none and where the list is
// kept; a probe that succeeds has nothing to say.
TEST_F(Probe, ADisplayDeviceWithoutAModeFailsTheProbeSayingWhy) {
  static const QDLRendererEntry kEightBitsOnly[1] = {
      {{7, 7, 7, 7, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       "Eight-bit renderer",
       "",
       {0, 0, 0, 0, 0, 0, 0, 0},
       {1, QDL_DDBD_8, 0, 1, 1024, 1024, 1, 1}}};
  QDLDeviceRenderersSet(kEightBitsOnly, 1);
  EXPECT_EQ(vidselect_bProbeRenderers(), 0);
  EXPECT_EQ(std::string(vidselect_pszProbeFailure()),
            "The display device \"Eight-bit renderer\" has no display mode that it can draw in. The mode list is "
            "kept in " + std::string(QDLDeviceInfoFileName()) + " and is built anew at the next start.");
  Restart();
  QDLDeviceRenderersSet(nullptr, 0);
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  EXPECT_STREQ(vidselect_pszProbeFailure(), "");
}

TEST_F(Probe, GlideRuntimeWithoutHardwareFallsBack) {
  Render3DTestLibrary("libglide2x.so", true);
  Render3DTestLibrary("libq3dglidedll.so", true);
  setenv("KORVENA_FAKE_GLIDE_FOUND", "0", 1);
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  uint32_t v[4];
  Stored(v);
  EXPECT_EQ(v[0], 0u);
  EXPECT_EQ(v[3], 0u);
}

TEST_F(Probe, LibrariesByDllName) {
  EXPECT_EQ(Q3DDeviceCreate("q3dmissing.dll"), nullptr);
  EXPECT_EQ(Q3DDeviceLoaded(), 0u);
  // A library without CreateDevice is let go again.
  Render3DTestLibrary("libglide2x.so", true);
  EXPECT_EQ(Q3DDeviceCreate("glide2x.dll"), nullptr);
  EXPECT_EQ(Q3DDeviceLoaded(), 0u);
  for (const char* name : {"q3dswdll.dll", "Q3DD3DDLL.DLL"}) {
    Q3DDevice* d = Q3DDeviceCreate(name);
    ASSERT_NE(d, nullptr) << name;
    EXPECT_EQ(Q3DDeviceLoaded(), 1u);
    d->Destroy();
    Q3DDeviceUnload();
    Q3DDeviceUnload();  // once is enough; a second call does nothing
    EXPECT_EQ(Q3DDeviceLoaded(), 0u);
  }
}

TEST_F(Probe, ScreenSizeByRenderer) {
  ASSERT_EQ(vidselect_bProbeRenderers(), 1);
  ASSERT_EQ(QDLSetup(), 0u);
  pcinstall_uVidMode = 0;
  vidselect_SetScreenSize();
  EXPECT_EQ(vidselect_uScreenWidth, 640u);
  EXPECT_EQ(qdlContext.device, 0);
  EXPECT_EQ(qdlContext.mode, QDLFindMode(0, 640, 480, 16, 0));
  EXPECT_EQ(qdlContext.modeFlags, 36u);

  pcinstall_uVidMode = 2;
  pcinstall_uVidDevice = 1;
  pcinstall_uVidRes = static_cast<uint32_t>(QDLFindMode(1, 1024, 768, 16, 0));
  vidselect_SetScreenSize();
  EXPECT_EQ(vidselect_uScreenWidth, 1024u);
  EXPECT_EQ(vidselect_uScreenHeight, 768u);
  EXPECT_EQ(qdlContext.device, 1);
  EXPECT_EQ(qdlContext.modeFlags, 96u);

  // A stored mode that no longer exists: 640 x 480 on device 0.
  pcinstall_uVidRes = 999;
  vidselect_SetScreenSize();
  EXPECT_EQ(vidselect_uScreenWidth, 640u);
  EXPECT_EQ(qdlContext.device, 0);
  QDLContextModeSet(&qdlContext, -1, -1, 0);
}

// A library reads the records the program wrote at the same places.
TEST_F(Probe, ALibraryReadsBackTheRecords) {
  Render3DTestLibrary("libglide2x.so", true);
  platform::Library* lib = platform::loadLibrary("glide2x.dll");
  ASSERT_NE(lib, nullptr);
  typedef void (*ReadFn)(const Q3DCamera*, const Q3DVertexList*, const Q3DImageTexture*, const Q3DMaterial*,
                         const Q3DScreenQuad*, double*);
  auto read = reinterpret_cast<ReadFn>(platform::librarySymbol(lib, "KorvenaLayoutRead"));
  ASSERT_NE(read, nullptr);
  Q3DCamera cam;
  const uint32_t size[2] = {800, 600};
  Q3DCameraSetScreen(&cam, size, 0.75f);
  Q3DCameraSetWindow(&cam, 0.25f, 0.0f, 1.0f);
  QMathVec3 pts[3] = {{0, 0, 10}, {1, 0, 10}, {0, 1, 10}};
  Q3DVertexList vl;
  vl.pVertices = pts;
  vl.uCount = 3;
  Q3DVertexListClipTransform(&vl, 0, 3, nullptr, &cam);
  Q3DImageTexture tex("pitch\\x.tga");
  tex.iHandle = 17;
  tex.uHeight = 64;
  tex.uAddressV = 1;
  Q3DMaterial mat(&tex);
  mat.oColour.b = 99;
  Q3DScreenQuad quad;
  quad.aiRect[3] = 321;
  double out[18];
  read(&cam, &vl, &tex, &mat, &quad, out);
  EXPECT_EQ(out[0], cam.fLeft);
  EXPECT_EQ(out[1], 800.0);
  EXPECT_EQ(out[2], 1000.0);
  EXPECT_EQ(out[3], cam.mViewport.m[0]);
  EXPECT_EQ(out[4], cam.aiScreenRect[2]);
  EXPECT_EQ(out[5], 9648.0);
  EXPECT_EQ(out[6], 3.0);
  EXPECT_EQ(out[7], 2.0);
  EXPECT_EQ(out[8], vl.pScreen[1].x);
  EXPECT_EQ(out[9], 3.0);
  EXPECT_EQ(out[10], 17.0);
  EXPECT_EQ(out[11], 64.0);
  EXPECT_EQ(out[12], 1.0);
  EXPECT_EQ(out[13], 'p');
  EXPECT_EQ(out[14], 99.0);
  EXPECT_EQ(out[15], 1.0);
  EXPECT_EQ(out[16], 321.0);
  EXPECT_EQ(out[17], 1.0);
  Q3DVertexListRelease(&vl);
  platform::freeLibrary(lib);
}

}  // namespace
