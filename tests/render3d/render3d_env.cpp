// Every test of this program runs on the headless backend with a main
// window, in a fresh game folder whose bin/ holds the renderer libraries.
#include "render3d_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "display/qdl_device.h"
#include "support/headless_env.h"

namespace {

namespace fs = std::filesystem;

using korvena_test::BuildDir;

void Up() {
  const fs::path root = korvena_test::HeadlessRoot();
  std::error_code ec;
  korvena_test::RendererLibrariesCopy();
  fs::create_directories(root / "data" / "textures" / "Fonts");
  for (const char* font : {"SWfont3a3.bmp", "font3a3.tga", "24pt.tga", "SW24pt.bmp", "debug.bmp"})
    fs::copy_file(fs::path(BuildDir()) / "data" / "textures" / "Fonts" / font, root / "data" / "textures" / "Fonts" / font,
                  fs::copy_options::overwrite_existing, ec);
  QDLDeviceInfoFileNameSet((root / "dxinfo.bin").string().c_str());
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-render3d", true, Up, nullptr});

}  // namespace

fs::path Render3DRoot() { return korvena_test::HeadlessRoot(); }

void Render3DTestLibrary(const char* pName, bool present) {
  const fs::path to = korvena_test::HeadlessRoot() / "bin" / pName;
  std::error_code ec;
  if (present) fs::copy_file(fs::path(BuildDir()) / "tests" / pName, to, fs::copy_options::overwrite_existing, ec);
  else fs::remove(to, ec);
}
