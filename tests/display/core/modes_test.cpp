#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "platform/display.h"

namespace {

Q2DXMode M(uint32_t w, uint32_t h, uint32_t b) { return Q2DXMode{w, h, b, 0, 0, 0}; }

TEST(Modes, SortByBitsThenWidthThenHeightDescending) {
  std::vector<Q2DXMode> modes = {M(640, 480, 16), M(640, 480, 32), M(800, 600, 16), M(640, 400, 16),
                                 M(1024, 768, 8)};
  Q2DXModesSort(modes.data(), static_cast<uint32_t>(modes.size()));
  EXPECT_EQ(modes[0].bitsPerPixel, 32u);
  EXPECT_EQ(modes[1].width, 800u);
  EXPECT_EQ(modes[2].height, 480u);
  EXPECT_EQ(modes[3].height, 400u);
  EXPECT_EQ(modes[4].bitsPerPixel, 8u);
  Q2DXMode a = M(640, 480, 16), b = M(640, 480, 16);
  EXPECT_EQ(Q2DXModeCompare(&a, &b), 0);
}

TEST(Modes, NearestSearch) {
  std::vector<Q2DXMode> two = {M(800, 600, 16), M(640, 480, 16)};
  // 700 x 500: 640 is 60 away, 800 is 100.
  EXPECT_EQ(Q2DXFindModeIn(two.data(), 2, 700, 500, 16, 0), 1);
  // 720: both 80 away; the first in list order wins.
  EXPECT_EQ(Q2DXFindModeIn(two.data(), 2, 720, 500, 16, 0), 0);
  // Width first, then height at that width, then bits.
  std::vector<Q2DXMode> l = {M(1024, 768, 32), M(640, 480, 32), M(1024, 768, 16), M(640, 400, 16),
                             M(640, 480, 16), M(640, 480, 8)};
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 650, 470, 15, 0), 4);
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 650, 470, 40, 0), 1);
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 650, 410, 16, 0), 3);
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 0, 0, 0, 0), 3);   // 640 wide, 400 high, then the nearest bits
  // Exact search: the first equal mode, else -1.
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 640, 480, 16, 1), 4);
  EXPECT_EQ(Q2DXFindModeIn(l.data(), 6, 640, 480, 24, 1), -1);
  EXPECT_EQ(Q2DXFindModeIn(nullptr, 0, 640, 480, 16, 0), -1);
  // Ties in height and in bits keep the first mode in list order too.
  std::vector<Q2DXMode> ties = {M(640, 560, 16), M(640, 400, 16), M(640, 480, 24), M(640, 480, 8)};
  EXPECT_EQ(Q2DXFindModeIn(ties.data(), 2, 640, 480, 16, 0), 0);
  EXPECT_EQ(Q2DXFindModeIn(ties.data() + 2, 2, 640, 480, 16, 0), 0);
  // Candidates must be nearer than 65536.
  std::vector<Q2DXMode> far = {M(70000, 480, 16)};
  EXPECT_EQ(Q2DXFindModeIn(far.data(), 1, 0, 480, 16, 0), -1);
}

TEST(Modes, PlatformListHasDesktopModesAndTheGamesMode) {
  std::vector<platform::DisplayMode> modes = platform::displayModes();
  bool has640 = false;
  for (const platform::DisplayMode& m : modes) {
    if (m.width == 640 && m.height == 480 && m.bits == 16) has640 = true;
    int same = 0;
    for (const platform::DisplayMode& o : modes) same += (o.width == m.width && o.height == m.height && o.bits == m.bits);
    EXPECT_EQ(same, 1);
  }
  EXPECT_TRUE(has640);
  // Each desktop size is offered at 16 bits too.
  for (const platform::DisplayMode& m : modes) {
    bool at16 = false;
    for (const platform::DisplayMode& o : modes) at16 |= (o.width == m.width && o.height == m.height && o.bits == 16);
    EXPECT_TRUE(at16);
  }
  uint8_t a[16], b[16];
  platform::displayIdentifier(a);
  platform::displayIdentifier(b);
  EXPECT_EQ(0, std::memcmp(a, b, 16));
}

TEST(Modes, LibraryModeListAndFindMode) {
  ASSERT_EQ(QDLSetup(), 0u);
  // The software renderer and the z-buffered one, with the same modes.
  ASSERT_EQ(QDLModeListCount(), 2);
  ASSERT_EQ(QDLModeListGet(1)->modeCount, QDLModeListGet(0)->modeCount);
  const QDLModeList* l = QDLModeListGet(0);
  ASSERT_NE(l, nullptr);
  // The software renderer draws 16 bits: its modes are the 16-bit ones, sorted.
  ASSERT_GE(l->modeCount, 1);
  for (int i = 0; i < l->modeCount; ++i) {
    EXPECT_EQ(l->modes[i].bitsPerPixel, 16);
    if (i) {
      EXPECT_GE(l->modes[i - 1].width, l->modes[i].width);
    }
  }
  int32_t m = QDLFindMode(0, 640, 480, 16, 0);
  ASSERT_GE(m, 0);
  EXPECT_EQ(l->modes[m].width, 640);
  EXPECT_EQ(l->modes[m].height, 480);
  EXPECT_EQ(QDLFindMode(0, 640, 480, 16, 1), m);
  EXPECT_EQ(QDLFindMode(0, 640, 480, 32, 1), -1);
  EXPECT_EQ(QDLFindMode(1, 640, 480, 16, 0), m);
  EXPECT_EQ(QDLFindMode(2, 640, 480, 16, 0), -1);
  EXPECT_EQ(QDLFindMode(-1, 640, 480, 16, 0), -1);
  // The Q2DX search over a driver index out of range finds nothing.
  EXPECT_GE(Q2DXFindMode(0, 640, 480, 16, 0), 0);
  EXPECT_EQ(Q2DXFindMode(1, 640, 480, 16, 0), -1);
  EXPECT_EQ(Q2DXFindMode(-1, 640, 480, 16, 0), -1);
  // A second set-up does nothing.
  EXPECT_EQ(QDLSetup(), 0u);
  EXPECT_EQ(QDLShutdown(), 0u);
  EXPECT_EQ(QDLModeListGet(0), nullptr);
  EXPECT_EQ(QDLShutdown(), 0u);
}

}  // namespace
