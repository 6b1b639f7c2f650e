#include "support/headless_env.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"

namespace korvena_test {
namespace {

std::filesystem::path g_oRoot;

class HeadlessEnvironment : public ::testing::Environment {
 public:
  explicit HeadlessEnvironment(const HeadlessSetup& oSetup) : m_oSetup(oSetup) {}
  void SetUp() override {
    std::string oTemplate = (std::filesystem::temp_directory_path() / (std::string(m_oSetup.pszName) + "-XXXXXX")).string();
    ASSERT_NE(mkdtemp(oTemplate.data()), nullptr);
    g_oRoot = oTemplate;
    std::filesystem::create_directories(g_oRoot / "bin");
    std::filesystem::create_directories(g_oRoot / "data");
    std::filesystem::create_directories(g_oRoot / "run");
    setenv("XDG_CONFIG_HOME", (g_oRoot / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (g_oRoot / "share").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (g_oRoot / "run").c_str(), 1);
    std::string oWhy;
    ASSERT_TRUE(platform::init(platform::BackendKind::Headless, &oWhy)) << oWhy;
    platform::setExecutableDir((g_oRoot / "bin").string());
    FreshSettings();
    if (m_oSetup.bMainWindow) {
      QDXInitWindowHooks();
      QDXInitActivateHooks();
      ASSERT_NE(QDXCreateWindow(640, 480, nullptr, 0), nullptr);
    }
    if (m_oSetup.pfnUp) m_oSetup.pfnUp();
  }
  void TearDown() override {
    if (m_oSetup.pfnDown) m_oSetup.pfnDown();
    if (m_oSetup.bMainWindow) {
      QDXDestroyWindow(QDXGetMainWindow());
      QDXFreeActivateHooks();
      QDXFreeWindowHooks();
    }
    platform::shutdown();
    std::error_code oError;
    std::filesystem::remove_all(g_oRoot, oError);
  }

 private:
  HeadlessSetup m_oSetup;
};

}  // namespace

bool AddHeadlessEnvironment(const HeadlessSetup& oSetup) {
  ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment(oSetup));
  return true;
}

std::filesystem::path HeadlessRoot() { return g_oRoot; }

void FreshSettings() {
  static int s_iRun = 0;
  s_iRun++;
  platform::settingsReset();
  platform::settingsSetRootFile(platform::SettingsRoot::Machine,
                                (g_oRoot / ("settings" + std::to_string(s_iRun)) / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User,
                                (g_oRoot / ("config" + std::to_string(s_iRun)) / "user.txt").string());
}

std::string BuildDir() {
  const char* p = std::getenv("KORVENA_BUILD_DIR");
  return p ? p : ".";
}

void RendererLibrariesCopy() {
  std::error_code ec;
  for (const char* lib : {"libq3dswdll.so", "libq3dd3ddll.so"})
    std::filesystem::copy_file(std::filesystem::path(BuildDir()) / "bin" / lib, HeadlessRoot() / "bin" / lib,
                               std::filesystem::copy_options::overwrite_existing, ec);
}

}  // namespace korvena_test
