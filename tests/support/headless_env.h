#pragma once
// The environment of a test program that runs on the headless backend: a
// fresh temporary folder holding the executable's folder (bin/), data/ beside
// it, the settings roots, the save folder and the instance lock; optionally
// the framework's hook chains and a 640x480 main window.
#include <filesystem>
#include <string>

namespace korvena_test {

struct HeadlessSetup {
  const char* pszName = "korvena";  // prefix of the temporary folder's name
  bool bMainWindow = false;
  void (*pfnUp)() = nullptr;    // after the platform (and window) are up
  void (*pfnDown)() = nullptr;  // before they go down
};

// Registers the environment with GoogleTest; call once per test program at
// namespace scope: `const bool g_b = korvena_test::AddHeadlessEnvironment({...});`
bool AddHeadlessEnvironment(const HeadlessSetup& oSetup);

// The temporary folder of this test program.
std::filesystem::path HeadlessRoot();

// Points both settings roots at new, empty files: the next read is a first run.
void FreshSettings();

// The build tree the tests run from (KORVENA_BUILD_DIR; "." when unset).
std::string BuildDir();
// Both renderer libraries copied from the build's bin/ into this program's.
void RendererLibrariesCopy();

}  // namespace korvena_test
