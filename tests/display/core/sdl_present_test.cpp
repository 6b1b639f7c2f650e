// The display opened on the SDL backend: SDL's dummy video driver and its
// software renderer, no screen needed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_present.h"
#include "framework/qdx_window.h"
#include "platform/display.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace {

class SdlPresent : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    dir = (std::filesystem::temp_directory_path() / ("korvena-sdl-display-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    std::string why;
    ASSERT_TRUE(platform::init(platform::BackendKind::Sdl, &why)) << why;
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    ASSERT_NE(QDXCreateWindow(640, 480, nullptr, 0), nullptr);
    QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
    ASSERT_EQ(QDLSetup(), 0u);
  }
  void TearDown() override {
    QDLShutdown();
    QDXDestroyWindow(QDXGetMainWindow());
    QDXFreeActivateHooks();
    QDXFreeWindowHooks();
    platform::shutdown();
    std::error_code e;
    std::filesystem::remove_all(dir, e);
  }
  std::string dir;
};

TEST_F(SdlPresent, ModesAndPresentWindowedAndFullScreen) {
  std::vector<platform::DisplayMode> modes = platform::displayModes();
  bool has640 = false;
  for (const platform::DisplayMode& m : modes) has640 |= (m.width == 640 && m.height == 480 && m.bits == 16);
  EXPECT_TRUE(has640);
  int32_t mode = QDLFindMode(0, 640, 480, 16, 1);
  ASSERT_GE(mode, 0);
  QDLSurface* d = QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->formatCode, QDLFORMAT_RGB565);
  uint64_t n = platform::displayPresentCount();
  EXPECT_EQ(QDLPresent(0), 0u);
  EXPECT_EQ(QDLPresent(1), 0u);
  EXPECT_EQ(platform::displayPresentCount(), n + 2);
  EXPECT_NE(platform::displayRendererName(), "none");
  // A capture works on this backend too.
  std::string name = dir + "/shot.tga";
  platform::displayCaptureNext(name);
  EXPECT_EQ(QDLPresent(0), 0u);
  EXPECT_TRUE(std::filesystem::exists(name));
  // The SDL backend keeps no copy of the frames.
  EXPECT_FALSE(platform::displayLastFrame(nullptr, nullptr, nullptr));
  QDLShutdown();
  ASSERT_EQ(QDLSetup(), 0u);
  d = QDLOpenDisplay(0, mode, 36);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(QDLIsFullScreen(), 1u);
  EXPECT_EQ(QDLPresent(0), 0u);
}

}  // namespace
