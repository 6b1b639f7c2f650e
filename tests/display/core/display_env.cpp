// Every test of this program runs on the headless backend with the
// framework's hook chains and a main window, in a fresh temporary folder.
#include "display_env.h"

#include "display/qdl_device.h"
#include "support/headless_env.h"

namespace {

void DisplayUp() { QDLDeviceInfoFileNameSet(DisplayTestFile("dxinfo.bin").c_str()); }

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-display", true, DisplayUp, nullptr});

}  // namespace

std::filesystem::path DisplayTestRoot() { return korvena_test::HeadlessRoot(); }
std::string DisplayTestFile(const char* pName) { return (korvena_test::HeadlessRoot() / pName).string(); }
