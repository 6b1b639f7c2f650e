#include "frontend_env.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "scene3d/pcframe.h"
#include "shell/input.h"

namespace {

std::filesystem::path g_root;

class FrontEndEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string t = (std::filesystem::temp_directory_path() / "korvena-frontend-XXXXXX").string();
    ASSERT_NE(mkdtemp(t.data()), nullptr);
    g_root = t;
    std::filesystem::create_directories(g_root / "bin");
    std::filesystem::create_directories(g_root / "data" / "frontend");
    setenv("XDG_CONFIG_HOME", (g_root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (g_root / "share").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", g_root.c_str(), 1);
    std::string why;
    ASSERT_TRUE(platform::init(platform::BackendKind::Headless, &why)) << why;
    platform::setExecutableDir((g_root / "bin").string());
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    ASSERT_NE(QDXCreateWindow(640, 480, nullptr, 0), nullptr);
    QDLDeviceInfoFileNameSet((g_root / "dxinfo.bin").c_str());
    ASSERT_EQ(QDLSetup(), 0u);
    int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
    ASSERT_GE(mode, 0);
    ASSERT_NE(QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED), nullptr);
    QDLTextSetup(0);
    input_PortsInit();
    pcframe_Init();
  }
  void TearDown() override {
    pcframe_Shutdown();
    QDLTextShutdown();
    QDLShutdown();
    QDXDestroyWindow(QDXGetMainWindow());
    QDXFreeActivateHooks();
    QDXFreeWindowHooks();
    platform::shutdown();
    std::error_code e;
    std::filesystem::remove_all(g_root, e);
  }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new FrontEndEnvironment);

}  // namespace

std::filesystem::path FrontEndTestRoot() { return g_root; }

std::filesystem::path FrontEndBuildData() {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  return std::filesystem::path(build != nullptr ? build : ".") / "data";
}

QDLSpriteBank* FrontEndSolidBank(int w, int h, uint16_t v) {
  const uint32_t rowBytes = 2 + 2 * static_cast<uint32_t>(w);
  QDLSpriteBank* b = QDLSpriteBankCreate(1, rowBytes * static_cast<uint32_t>(h), 0);
  if (b == nullptr) return nullptr;
  b->formatCode = QDLDisplaySurface()->formatCode;
  b->sourceBytesPerPixel = 2;
  uint8_t* p = b->pixelData;
  for (int y = 0; y < h; ++y, p += rowBytes) {
    const uint32_t len = y == h - 1 ? 0 : rowBytes;  // the last row's length word is 0
    p[0] = static_cast<uint8_t>(len);
    p[1] = static_cast<uint8_t>(len >> 8);
    for (int x = 0; x < w; ++x) {
      p[2 + 2 * x] = static_cast<uint8_t>(v);
      p[3 + 2 * x] = static_cast<uint8_t>(v >> 8);
    }
  }
  b->frames[0] = QDLFrame{static_cast<int16_t>(w), static_cast<int16_t>(h), QDLENC_RAW, b->pixelData, b};
  return b;
}
