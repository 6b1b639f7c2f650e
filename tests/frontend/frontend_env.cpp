#include "frontend_env.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "display/qdl.h"
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
