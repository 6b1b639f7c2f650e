// Every test of this program runs on the headless backend, with the settings
// roots and the executable's folder in a fresh temporary folder.
#include "shell_env.h"

#include "shell/global.h"
#include "shell/vsync.h"
#include "support/headless_env.h"

namespace {
const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-shell"});
}  // namespace

std::filesystem::path ShellTestRoot() { return korvena_test::HeadlessRoot(); }
void ShellSettingsFresh() { korvena_test::FreshSettings(); }

void ShellGameStateFresh() {
  global = Global{};
  global_bModeChanged = 0;
  global_Init();
  vsync_Init();
}
