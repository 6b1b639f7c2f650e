// Every test of this program runs on the headless backend with the
// framework's hook chains and a main window, in a fresh temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "display/qdl_device.h"
#include "display_env.h"
#include "framework/qdx_window.h"
#include "platform/platform.h"

namespace {

std::filesystem::path g_root;

class DisplayEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string t = (std::filesystem::temp_directory_path() / "korvena-display-XXXXXX").string();
    ASSERT_NE(mkdtemp(t.data()), nullptr);
    g_root = t;
    setenv("XDG_CONFIG_HOME", (g_root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (g_root / "share").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", g_root.c_str(), 1);
    std::string why;
    ASSERT_TRUE(platform::init(platform::BackendKind::Headless, &why)) << why;
    QDXInitWindowHooks();
    QDXInitActivateHooks();
    ASSERT_NE(QDXCreateWindow(640, 480, nullptr, 0), nullptr);
    QDLDeviceInfoFileNameSet(DisplayTestFile("dxinfo.bin").c_str());
  }
  void TearDown() override {
    QDXDestroyWindow(QDXGetMainWindow());
    QDXFreeActivateHooks();
    QDXFreeWindowHooks();
    platform::shutdown();
    std::error_code e;
    std::filesystem::remove_all(g_root, e);
  }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

std::filesystem::path DisplayTestRoot() { return g_root; }
std::string DisplayTestFile(const char* pName) { return (g_root / pName).string(); }
