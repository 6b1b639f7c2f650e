// Every test of this program runs on the headless backend, with the settings
// roots and the executable's folder in a fresh temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "shell_env.h"

namespace {

std::filesystem::path g_oRoot;

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string oTemplate = (std::filesystem::temp_directory_path() / "korvena-shell-XXXXXX").string();
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
    ShellSettingsFresh();
  }
  void TearDown() override {
    platform::shutdown();
    std::error_code oError;
    std::filesystem::remove_all(g_oRoot, oError);
  }
};

const auto* const g_poEnvironment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

std::filesystem::path ShellTestRoot() { return g_oRoot; }

void ShellSettingsFresh() {
  static int s_iRun = 0;
  s_iRun++;
  platform::settingsReset();
  platform::settingsSetRootFile(platform::SettingsRoot::Machine,
                                (g_oRoot / ("settings" + std::to_string(s_iRun)) / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User,
                                (g_oRoot / ("config" + std::to_string(s_iRun)) / "user.txt").string());
}
