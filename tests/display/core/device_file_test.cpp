#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display_env.h"
#include "platform/display.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

using korvena_test::readBytes;

void Spit(const std::string& name, const Bytes& b) {
  FILE* f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

uint32_t U32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

void P32(Bytes* b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct DeviceFile : ::testing::Test {
  std::string name = DisplayTestFile("dxinfo.bin");
  void SetUp() override {
    QDLShutdown();
    std::remove(name.c_str());
    QDLDeviceRenderersSet(nullptr, 0);
    QDLDeviceTestChoiceSet(1);
  }
  void TearDown() override {
    QDLShutdown();
    QDLDeviceRenderersSet(nullptr, 0);
    QDLDeviceTestChoiceSet(1);
    std::remove(name.c_str());
  }
  // Loads the layer on its own (the library's set-up does the same).
  uint32_t Load() {
    QDLDeviceLayerShutdown();
    return QDLDeviceInfoLoad();
  }
  // The 16-bit modes of the live driver, in its order.
  std::vector<Q2DXMode> Modes16() {
    std::vector<Q2DXMode> out;
    Q2DXDriver* d = Q2DXDriverGet(0);
    for (uint32_t i = 0; d && i < d->modeCount; ++i)
      if (d->modes[i].bitsPerPixel == 16) out.push_back(d->modes[i]);
    return out;
  }
};

TEST_F(DeviceFile, LayoutOfTheWrittenFile) {
  EXPECT_EQ(Load(), 1u);  // no file: built anew and written
  Bytes b = readBytes(name);
  std::vector<Q2DXMode> m16 = Modes16();
  ASSERT_FALSE(m16.empty());
  // Two devices (the software renderer and the z-buffered one), same modes.
  ASSERT_EQ(b.size(), 4u + 16u + 4u + 2u * (4u + 24u * m16.size()));
  EXPECT_EQ(U32(b, 0), 1u);
  uint8_t key[16];
  platform::displayIdentifier(key);
  EXPECT_EQ(0, std::memcmp(&b[4], key, 16));
  EXPECT_EQ(U32(b, 20), 2u);
  for (size_t dev = 0; dev < 2; ++dev) {
    const size_t list = 24 + dev * (4 + 24 * m16.size());
    EXPECT_EQ(U32(b, list), m16.size());
    for (size_t i = 0; i < m16.size(); ++i) {
      size_t at = list + 4 + 24 * i;
      EXPECT_EQ(U32(b, at), m16[i].width);
      EXPECT_EQ(U32(b, at + 4), m16[i].height);
      EXPECT_EQ(U32(b, at + 8), 16u);
      EXPECT_EQ(U32(b, at + 12), 0u);
      EXPECT_EQ(U32(b, at + 16), 0u);  // a software device's modes are not tested
      EXPECT_EQ(U32(b, at + 20), 0u);
    }
  }
  // A second run reads it.
  EXPECT_EQ(Load(), 0u);
  EXPECT_EQ(readBytes(name), b);
}

TEST_F(DeviceFile, AMatchingFileGivesTheModeLists) {
  ASSERT_EQ(Load(), 1u);
  Bytes b = readBytes(name);
  // Keep one mode per device only: the layer must take its lists from the file.
  Bytes one(b.begin(), b.begin() + 24);
  for (int dev = 0; dev < 2; ++dev) {
    P32(&one, 1);
    P32(&one, 640);
    P32(&one, 480);
    P32(&one, 16);
    P32(&one, 0);
    P32(&one, 1);
    P32(&one, 0);
  }
  Spit(name, one);
  EXPECT_EQ(Load(), 0u);
  QDLDeviceInfo* d = QDLDeviceGet(0);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->modeCount, 1u);
  EXPECT_EQ(d->modes[0].width, 640u);
  EXPECT_EQ(d->modes[0].testPassed, 1u);
  EXPECT_EQ(readBytes(name), one);
  // The library's set-up builds its mode lists from the same records.
  QDLDeviceLayerShutdown();
  ASSERT_EQ(QDLSetup(), 0u);
  ASSERT_EQ(QDLModeListGet(0)->modeCount, 1);
  EXPECT_EQ(QDLFindMode(0, 1024, 768, 16, 0), 0);
}

TEST_F(DeviceFile, ShortOrInconsistentFilesAreRefusedAndRewritten) {
  ASSERT_EQ(Load(), 1u);
  const Bytes good = readBytes(name);
  std::vector<Bytes> bad;
  for (size_t n = 0; n < good.size(); n += 3) bad.push_back(Bytes(good.begin(), good.begin() + n));
  Bytes b = good;
  b[0] = 2;  // another driver count
  bad.push_back(b);
  b = good;
  b[9] ^= 0x40;  // a changed driver key
  bad.push_back(b);
  b = good;
  b[20] = 3;  // another device count
  bad.push_back(b);
  b = good;
  b[24] = 200;  // a mode count past the end of the file
  bad.push_back(b);
  b = good;
  b.push_back(0);  // bytes after the last list
  bad.push_back(b);
  b = good;
  b[28 + 8] = 13;  // a depth that is no depth
  bad.push_back(b);
  // Modes the display cannot give: each field of the first mode in turn.
  struct Field {
    size_t at;
    uint32_t value;
  };
  for (const Field& f : {Field{0, 0xFFFFFF9Cu},  // a negative width
                         Field{0, 1000000},      // a million pixels wide
                         Field{4, 0},            // no height
                         Field{4, 16385},        // past the image readers' limit
                         Field{8, 8},            // a depth the driver does not offer here
                         Field{8, 12},
                         Field{0, 641},          // a size the driver does not offer
                         Field{12, 5},           // words written as 0
                         Field{20, 1},
                         Field{16, 2}}) {        // the test mark is 0 or 1
    b = good;
    for (int i = 0; i < 4; ++i) b[28 + f.at + i] = static_cast<uint8_t>(f.value >> (8 * i));
    bad.push_back(b);
  }
  // No modes at all.
  b = Bytes(good.begin(), good.begin() + 24);
  P32(&b, 0);
  bad.push_back(b);
  // The display's device (0) without a mode while the other keeps its own:
  // the menus would have nothing to open.
  const size_t list1 = 28 + 24 * U32(good, 24);
  ASSERT_LT(list1, good.size());
  b = Bytes(good.begin(), good.begin() + 24);
  P32(&b, 0);
  b.insert(b.end(), good.begin() + static_cast<std::ptrdiff_t>(list1), good.end());
  bad.push_back(b);
  for (size_t i = 0; i < bad.size(); ++i) {
    Spit(name, bad[i]);
    EXPECT_EQ(Load(), 1u) << "case " << i;
    EXPECT_EQ(readBytes(name), good) << "case " << i;
  }
  // A null file is refused.
  EXPECT_EQ(QDLDeviceInfoRead(nullptr), 1u);
  // The other device without a mode (as a hardware device whose every mode
  // failed the test) is read as it is.
  b = Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(list1));
  P32(&b, 0);
  Spit(name, b);
  EXPECT_EQ(Load(), 0u);
  EXPECT_EQ(QDLDeviceGet(0)->modeCount, U32(good, 24));
  EXPECT_EQ(QDLDeviceGet(1)->modeCount, 0u);
  EXPECT_EQ(readBytes(name), b);
}

TEST_F(DeviceFile, RefusingTheTestKeepsOneSafeModePerDevice) {
  static const QDLRendererEntry kTwo[] = {
      {{1}, "hardware", "hw", {1, QDL_DDBD_16 | QDL_DDBD_32, QDL_DDBD_16 | QDL_DDBD_24, 1, 0, 0, 0, 0}, {}},
      {{2}, "deep only", "sw", {0, 0, 0, 0, 0, 0, 0, 0}, {1, QDL_DDBD_32, 0, 0, 0, 0, 0, 0}},
  };
  QDLDeviceRenderersSet(kTwo, 2);
  QDLDeviceTestChoiceSet(0);
  EXPECT_EQ(Load(), 1u);
  ASSERT_EQ(QDLDeviceCount(), 2u);
  QDLDeviceInfo* hw = QDLDeviceGet(0);
  QDLDeviceInfo* sw = QDLDeviceGet(1);
  EXPECT_EQ(hw->hardware, 1u);
  EXPECT_EQ(hw->zBuffer, 1u);
  EXPECT_EQ(hw->perspective, 1u);
  ASSERT_EQ(hw->modeCount, 1u);
  EXPECT_EQ(hw->modes[0].width, 640u);
  EXPECT_EQ(hw->modes[0].height, 480u);
  EXPECT_EQ(hw->modes[0].bitsPerPixel, 16u);
  // No 16-bit mode in its depths: the driver's first mode.
  ASSERT_EQ(sw->modeCount, 1u);
  EXPECT_EQ(sw->modes[0].width, Q2DXDriverGet(0)->modes[0].width);
  EXPECT_EQ(sw->modes[0].bitsPerPixel, Q2DXDriverGet(0)->modes[0].bitsPerPixel);
  Bytes b = readBytes(name);
  EXPECT_EQ(b.size(), 4u + 16u + 4u + 2 * (4u + 24u));
  // Later runs read the file and do not test again.
  QDLDeviceTestChoiceSet(1);
  EXPECT_EQ(Load(), 0u);
  EXPECT_EQ(QDLDeviceGet(0)->modeCount, 1u);
}

TEST_F(DeviceFile, SafeModeTiesKeepTheFirstModeInListOrder) {
  ASSERT_EQ(Load(), 1u);
  Q2DXDriver* drv = Q2DXDriverGet(0);
  ASSERT_NE(drv, nullptr);
  ASSERT_GE(drv->modeCount, 4u);
  std::vector<Q2DXMode> saved(drv->modes, drv->modes + drv->modeCount);
  uint32_t savedCount = drv->modeCount;
  // 680 and 600 are both 40 from 640: the first listed wins; at that width
  // 520 and 440 are both 40 from 480: again the first.
  drv->modes[0] = Q2DXMode{680, 520, 16, 0, 0, 0};
  drv->modes[1] = Q2DXMode{680, 440, 16, 0, 0, 0};
  drv->modes[2] = Q2DXMode{600, 480, 16, 0, 0, 0};
  drv->modes[3] = Q2DXMode{640, 480, 32, 0, 0, 0};
  drv->modeCount = 4;
  ASSERT_EQ(QDLDeviceModesSafe(), 0u);
  QDLDeviceInfo* d = QDLDeviceGet(0);
  ASSERT_EQ(d->modeCount, 1u);
  EXPECT_EQ(d->modes[0].width, 680u);
  EXPECT_EQ(d->modes[0].height, 520u);
  EXPECT_EQ(d->modes[0].bitsPerPixel, 16u);
  std::copy(saved.begin(), saved.end(), drv->modes);
  drv->modeCount = savedCount;
}

TEST_F(DeviceFile, TheTestKeepsOnlySixteenBitModesOfHardwareDevices) {
  static const QDLRendererEntry kHw[] = {
      {{3}, "hardware", "hw", {1, QDL_DDBD_16 | QDL_DDBD_32, QDL_DDBD_16, 1, 0, 0, 0, 0}, {}},
      {{4}, "no z", "hw", {1, QDL_DDBD_16, 0, 1, 0, 0, 0, 0}, {}},
  };
  QDLDeviceRenderersSet(kHw, 2);
  EXPECT_EQ(Load(), 1u);
  QDLDeviceInfo* d = QDLDeviceGet(0);
  ASSERT_EQ(d->modeCount, Modes16().size());
  for (uint32_t i = 0; i < d->modeCount; ++i) {
    EXPECT_EQ(d->modes[i].bitsPerPixel, 16u);
    EXPECT_EQ(d->modes[i].testPassed, 1u);
  }
  EXPECT_EQ(d->hardware, 1u);
  // The file keeps each passed mode's test word.
  Bytes b = readBytes(name);
  ASSERT_GE(b.size(), 28u + 24u * d->modeCount);
  EXPECT_EQ(U32(b, 24), d->modeCount);
  for (uint32_t i = 0; i < d->modeCount; ++i) EXPECT_EQ(U32(b, 28 + 24 * i + 16), 1u);
  // A hardware device without a passing mode becomes a software device with none.
  EXPECT_EQ(QDLDeviceGet(1)->modeCount, 0u);
  EXPECT_EQ(QDLDeviceGet(1)->hardware, 0u);
}

TEST_F(DeviceFile, LayerInitialisesOnce) {
  QDLDeviceLayerShutdown();
  EXPECT_EQ(QDLDeviceLayerInit(nullptr), 0u);
  EXPECT_EQ(QDLDeviceLayerInit(nullptr), 6u);
  QDLDeviceLayerShutdown();
  EXPECT_EQ(QDLDeviceLayerInit(nullptr), 0u);
  QDLDeviceLayerShutdown();
}

TEST(DeviceTables, DepthFlagsAndZBufferPick) {
  const uint32_t bits[] = {1, 2, 4, 8, 16, 24, 32};
  const uint32_t flags[] = {0x4000, 0x2000, 0x1000, 0x800, 0x400, 0x200, 0x100};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(QDLDepthToDDBD(bits[i]), flags[i]);
    EXPECT_EQ(QDLDDBDToDepth(flags[i]), bits[i]);
  }
  EXPECT_EQ(QDLDepthToDDBD(15), 0u);
  EXPECT_EQ(QDLDDBDToDepth(0x401), 0u);
  const uint32_t z1[] = {32, 24, 16};
  EXPECT_EQ(QDLZBufferFormatPick(z1, 3), 16u);
  const uint32_t z2[] = {8, 24};   // equal distances: the first
  EXPECT_EQ(QDLZBufferFormatPick(z2, 2), 8u);
  EXPECT_EQ(QDLZBufferFormatPick(nullptr, 0), 0u);
}

}  // namespace
