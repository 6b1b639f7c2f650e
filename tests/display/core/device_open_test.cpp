// The device layer's procedural device on the headless display: full-screen
// and windowed opening for a device of the table, the z-buffer, viewport,
// material and transforms it starts with, scenes, the matrix helpers and the
// record of a device's 640 x 480 x 16 mode.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_device_open.h"
#include "display_env.h"
#include "platform/window.h"

namespace {

// Device 1 of the table is the z-buffered renderer on the display driver.
constexpr int32_t kZBuffered = 1;

struct DeviceOpenTest : ::testing::Test {
  void SetUp() override {
    QDLShutdown();
    ASSERT_EQ(QDLSetup(), 0u);
    ASSERT_GT(QDLDeviceCount(), 1u);
  }
  void TearDown() override {
    QDLDeviceClose();
    QDLShutdown();
  }
  static int32_t ModeOf(int32_t device, uint32_t w, uint32_t h) {
    const QDLDeviceInfo* d = QDLDeviceGet(static_cast<uint32_t>(device));
    for (uint32_t i = 0; d != nullptr && i < d->modeCount; ++i)
      if (d->modes[i].width == w && d->modes[i].height == h && d->modes[i].bitsPerPixel == 16)
        return static_cast<int32_t>(i);
    return -1;
  }
};

void ExpectMatrix(const float* got, const std::vector<float>& want) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[static_cast<size_t>(i)], 1e-5f) << "element " << i;
}

TEST_F(DeviceOpenTest, FullScreenOpensTheDevicesModeWithAZBufferViewportAndTransforms) {
  const int32_t mode = ModeOf(kZBuffered, 800, 600);
  ASSERT_GE(mode, 0);
  ASSERT_EQ(QDLDeviceOpenFullScreen(platform::mainWindow(), kZBuffered, mode, 0, 0, 1), 0u);
  EXPECT_EQ(QDLDeviceLastError(), 0u);
  EXPECT_EQ(Q2DXIsFullScreen(), 1u);
  int32_t w = 0, h = 0, bits = 0;
  Q2DXDisplaySize(&w, &h, &bits);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(bits, 16);

  const QDLOpenDevice* d = QDLDeviceOpened();
  ASSERT_EQ(d->created, 1u);
  EXPECT_EQ(d->device, kZBuffered);
  EXPECT_EQ(d->pTarget, Q2DXBackBuffer());
  ASSERT_NE(d->pZBuffer, nullptr);
  EXPECT_EQ(d->zBufferDepth, 16u);
  EXPECT_EQ(d->pZBuffer->width, 800);
  EXPECT_EQ(d->pZBuffer->height, 600);
  // The background: black, opaque, power 40, ramp 32.
  EXPECT_NE(d->background.handle, 0u);
  EXPECT_EQ(d->background.diffuse[0] + d->background.diffuse[1] + d->background.diffuse[2], 0.0f);
  EXPECT_EQ(d->background.diffuse[3], 1.0f);
  EXPECT_EQ(d->background.power, 40.0f);
  EXPECT_EQ(d->background.rampSize, 32u);
  // The viewport over the whole target: clip height 2 x 600 / 800.
  EXPECT_EQ(d->viewport.created, 1u);
  EXPECT_EQ(d->viewport.width, 800);
  EXPECT_EQ(d->viewport.height, 600);
  EXPECT_EQ(d->viewport.clipX, -1.0f);
  EXPECT_EQ(d->viewport.clipWidth, 2.0f);
  EXPECT_FLOAT_EQ(d->viewport.clipHeight, 1.5f);
  EXPECT_FLOAT_EQ(d->viewport.clipY, 0.75f);
  EXPECT_EQ(d->viewport.minZ, 0.0f);
  EXPECT_EQ(d->viewport.maxZ, 1.0f);
  EXPECT_EQ(d->viewport.background, d->background.handle);
  // World and view identity; the projection 1 at (0,0), (1,1), (2,2), (2,3), -1 at (3,2).
  float m[16];
  ASSERT_EQ(QDLDeviceTransformGet(QDLTRANSFORM_WORLD, m), 0u);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  ASSERT_EQ(QDLDeviceTransformGet(QDLTRANSFORM_VIEW, m), 0u);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  ASSERT_EQ(QDLDeviceTransformGet(QDLTRANSFORM_PROJECTION, m), 0u);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0});
  EXPECT_NE(d->world.handle, 0u);
  EXPECT_NE(d->world.handle, d->view.handle);
  EXPECT_NE(d->view.handle, d->projection.handle);
}

TEST_F(DeviceOpenTest, WithoutZOrADepthTheDeviceHasNoZBuffer) {
  const int32_t mode = ModeOf(kZBuffered, 640, 480);
  ASSERT_GE(mode, 0);
  ASSERT_EQ(QDLDeviceOpenFullScreen(platform::mainWindow(), kZBuffered, mode, 0, 0, 0), 0u);
  EXPECT_EQ(QDLDeviceOpened()->pZBuffer, nullptr);
  EXPECT_EQ(QDLDeviceOpened()->zBufferDepth, 0u);
  // A device whose description lists no z-buffer depth gets none even when asked.
  QDLDeviceInfo* info = QDLDeviceGet(kZBuffered);
  const uint32_t depths = info->deviceDesc.deviceZBufferBitDepth;
  info->deviceDesc.deviceZBufferBitDepth = 0;
  EXPECT_EQ(QDLDeviceCreate(kZBuffered, Q2DXBackBuffer(), 1), 0u);
  EXPECT_EQ(QDLDeviceOpened()->pZBuffer, nullptr);
  info->deviceDesc.deviceZBufferBitDepth = depths;
}

TEST_F(DeviceOpenTest, AModeOrDeviceThatDoesNotExistOpensNothingAndIsReported) {
  EXPECT_EQ(QDLDeviceOpenFullScreen(platform::mainWindow(), kZBuffered, 100000, 0, 0, 1), 1u);
  EXPECT_NE(QDLDeviceLastError(), 0u);
  EXPECT_EQ(QDLDeviceOpened()->created, 0u);
  EXPECT_EQ(QDLDeviceOpenFullScreen(platform::mainWindow(), 99, 0, 0, 0, 1), 1u);
  EXPECT_EQ(QDLDeviceOpenWindowed(platform::mainWindow(), -1), 1u);
  EXPECT_EQ(QDLDeviceCreate(kZBuffered, nullptr, 1), 1u);
  EXPECT_EQ(QDLDeviceOpened()->created, 0u);
  // Nothing to set or begin without a device.
  float m[16] = {};
  EXPECT_EQ(QDLDeviceWorldSet(m), 1u);
  EXPECT_EQ(QDLDeviceSceneBegin(), 1u);
  EXPECT_EQ(QDLDeviceViewportSetup(0, 0, 10, 10), 1u);
}

TEST_F(DeviceOpenTest, WindowedOpensAtTheWindowsClientSize) {
  platform::Window* win = platform::mainWindow();
  int cw = 0, ch = 0;
  platform::windowSize(win, &cw, &ch);
  ASSERT_GT(cw, 0);
  ASSERT_EQ(QDLDeviceOpenWindowed(win, kZBuffered), 0u);
  EXPECT_EQ(QDLDeviceLastError(), 0u);
  EXPECT_EQ(Q2DXIsFullScreen(), 0u);
  ASSERT_NE(Q2DXBackBuffer(), nullptr);
  EXPECT_EQ(Q2DXBackBuffer()->width, cw);
  EXPECT_EQ(Q2DXBackBuffer()->height, ch);
  // The device is then created on the back buffer by the caller.
  EXPECT_EQ(QDLDeviceOpened()->created, 0u);
  ASSERT_EQ(QDLDeviceCreate(kZBuffered, Q2DXBackBuffer(), 1), 0u);
  EXPECT_EQ(QDLDeviceOpened()->viewport.width, cw);
}

TEST_F(DeviceOpenTest, ViewportsTransformsAndScenes) {
  ASSERT_EQ(QDLDeviceOpenFullScreen(platform::mainWindow(), kZBuffered, ModeOf(kZBuffered, 640, 480), 0, 0, 1), 0u);
  ASSERT_EQ(QDLDeviceViewportSetup(10, 20, 320, 240), 0u);
  const QDLOpenDevice* d = QDLDeviceOpened();
  EXPECT_EQ(d->viewport.x, 10);
  EXPECT_EQ(d->viewport.y, 20);
  EXPECT_FLOAT_EQ(d->viewport.clipHeight, 1.5f);
  ASSERT_EQ(QDLDeviceViewportUpdate(0, 0, 200, 100), 0u);
  EXPECT_FLOAT_EQ(d->viewport.clipHeight, 1.0f);
  EXPECT_FLOAT_EQ(d->viewport.clipY, 0.5f);
  EXPECT_EQ(QDLDeviceViewportUpdate(0, 0, 0, 100), 1u);

  // A setter keeps the matrix's handle; a getter returns what was set.
  const uint32_t handle = d->world.handle;
  float a[16];
  for (int i = 0; i < 16; ++i) a[i] = static_cast<float>(i + 1);
  ASSERT_EQ(QDLDeviceWorldSet(a), 0u);
  EXPECT_EQ(d->world.handle, handle);
  float b[16] = {};
  ASSERT_EQ(QDLDeviceTransformGet(QDLTRANSFORM_WORLD, b), 0u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(b[i], a[i]);
  EXPECT_EQ(QDLDeviceTransformSet(4, a), 1u);
  EXPECT_EQ(QDLDeviceTransformGet(0, b), 1u);

  EXPECT_EQ(QDLDeviceSceneEnd(), 1u);
  EXPECT_EQ(QDLDeviceSceneBegin(), 0u);
  EXPECT_EQ(QDLDeviceSceneBegin(), 1u);
  EXPECT_EQ(QDLDeviceSceneEnd(), 0u);
  EXPECT_EQ(d->scenes, 1u);

  QDLDeviceClose();
  EXPECT_EQ(d->created, 0u);
  EXPECT_EQ(d->pZBuffer, nullptr);
  EXPECT_EQ(d->viewport.created, 0u);
}

TEST(DeviceMatrices, TransformRotationsPerspectiveAndView) {
  const float pi = 3.14159265f;
  QDLTransform t = {{1, 0, 0, 0, 1, 0, 0, 0, 1}, {5, 6, 7}};
  float m[16];
  QDLMatrixFromTransform(m, &t, 0, 0, 0);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1});
  // A quarter turn about y takes x to -z and z to x; the translation turns too.
  QDLMatrixFromTransform(m, &t, 0, pi / 2, 0);
  ExpectMatrix(m, {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 7, 6, -5, 1});
  // About x: y to z; about z: x to y.
  QDLMatrixFromTransform(m, &t, pi / 2, 0, 0);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 5, -7, 6, 1});
  QDLMatrixFromTransform(m, &t, 0, 0, pi / 2);
  ExpectMatrix(m, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, -6, 5, 7, 1});
  // Angles of 0.0001 or less are not applied.
  QDLMatrixFromTransform(m, &t, 0.0001f, -0.0001f, 0.00005f);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1});

  QDLMatrixPerspective(m, 1.0f, 101.0f, pi / 2);
  ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0});

  // The view of a turned, moved camera undoes its matrix.
  QDLTransform cam = {{0, 0, -1, 0, 1, 0, 1, 0, 0}, {3, -2, 9}};
  float world[16], view[16];
  QDLMatrixFromTransform(world, &cam, 0, 0, 0);
  QDLMatrixView(view, &cam);
  float product[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += world[i * 4 + k] * view[k * 4 + j];
      product[i * 4 + j] = s;
    }
  ExpectMatrix(product, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  ExpectMatrix(view, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 9, 2, -3, 1});
}

std::vector<uint8_t> Written(int32_t device) {
  const std::string path = DisplayTestFile("moderecord.bin");
  FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  EXPECT_TRUE(QDLDeviceModeRecordWrite(f, device));
  std::fclose(f);
  std::vector<uint8_t> b;
  f = std::fopen(path.c_str(), "rb");
  for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return b;
}

TEST_F(DeviceOpenTest, TheModeRecordHoldsTheDevices640x480x16ModeOrZero) {
  const int32_t mode = ModeOf(kZBuffered, 640, 480);
  ASSERT_GE(mode, 0);
  const Q2DXMode& m = QDLDeviceGet(kZBuffered)->modes[mode];
  const std::vector<uint8_t> b = Written(kZBuffered);
  ASSERT_EQ(b.size(), 28u);
  const std::vector<uint8_t> head = {1, 0, 0, 0, 0x80, 2, 0, 0, 0xE0, 1, 0, 0, 16, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 16), head);
  EXPECT_EQ(b[20], static_cast<uint8_t>(m.testPassed));
  // A device without that mode, and no device at all, write a lone 0.
  QDLDeviceInfo* info = QDLDeviceGet(kZBuffered);
  const uint32_t count = info->modeCount;
  info->modeCount = static_cast<uint32_t>(mode);  // the list ends before the mode
  EXPECT_EQ(Written(kZBuffered), (std::vector<uint8_t>{0, 0, 0, 0}));
  info->modeCount = count;
  EXPECT_EQ(Written(57), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_FALSE(QDLDeviceModeRecordWrite(nullptr, kZBuffered));
}

}  // namespace
