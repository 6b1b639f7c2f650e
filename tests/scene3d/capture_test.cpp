// The loading screen drawn by both renderer libraries into a headless
// display from the generated art and fonts: written out as images to look
// at, and compared with stored golden images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <algorithm>
#include <fstream>

#include "capture_shot.h"

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "display/qdl_image.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "scene3d/loading.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"
#include "support/golden.h"
#include "support/headless_env.h"

namespace {

namespace fs = std::filesystem;

using korvena_test::BuildDir;

void Up() {
  const fs::path root = korvena_test::HeadlessRoot();
  std::error_code ec;
  korvena_test::RendererLibrariesCopy();
  fs::copy(fs::path(BuildDir()) / "data" / "textures", root / "data" / "textures",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  QDLDeviceInfoFileNameSet((root / "dxinfo.bin").string().c_str());
  std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-scene3d-capture", true, Up, nullptr});

using capture::Capture;
using capture::Shot;
using capture::WriteShot;

class LoadingScreen : public ::testing::TestWithParam<const char*> {};

TEST_P(LoadingScreen, IsDrawnOnTwoFramesWithItsTextsAndClock) {
  const bool z = std::strcmp(GetParam(), "q3dd3ddll.dll") == 0;
  ASSERT_EQ(QDLSetup(), 0u);
  QDLContext ctx;
  const int32_t dev = z ? 1 : 0;
  QDLContextModeSet(&ctx, dev, QDLFindMode(dev, 640, 480, 16, 0), QDLOPEN_WINDOWED);
  Q3DDevice* d = Q3DDeviceCreate(GetParam());
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(Q3DDeviceInitialise(d, &ctx), 0u);
  pcframe_Init();
  scene3d_StartOnDevice(d, z ? 0 : 1, 640, 480);
  loading_bRunStep(0);
  loading_bRunStep(1);
  loading_bRunStep(1);
  const Shot first = Capture(ctx.pDisplay);
  loading_bRunStep(1);
  const Shot second = Capture(ctx.pDisplay);
  ASSERT_EQ(first.w, 640);
  ASSERT_EQ(second.px, first.px);  // the same screen on both frames
  const std::string out = BuildDir() + "/captures/loading_" + (z ? "zbuffer" : "software") + ".tga";
  EXPECT_TRUE(WriteShot(out, first));
  // The backdrop's green pitch at the bottom, the clock's white face, the
  // texts' light grey over the backdrop.
  int r, g, b;
  first.rgb(100, 470, &r, &g, &b);
  EXPECT_GT(g, r + 40);
  first.rgb(540, 350, &r, &g, &b);
  EXPECT_GT(r + g + b, 600);
  int lightText = 0;
  for (int y = 430; y < 460; ++y)
    for (int x = 240; x < 400; ++x) {
      first.rgb(x, y, &r, &g, &b);
      lightText += r >= 180 && g >= 180 && b >= 180;
    }
  EXPECT_GT(lightText, 20);  // front-end text 10, centred at the bottom
  // The golden picture: the screen's mean colours in 8 by 8 pixel cells,
  // kept as text.
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  const std::string golden = std::string(src) + "/tests/scene3d/golden/loading_" + (z ? "zbuffer" : "software") + ".txt";
  const std::vector<uint8_t> small = capture::Downscale(first, 80, 60);
  if (korvena_test::UpdatingGolden()) {
    std::ofstream out(golden);
    for (size_t i = 0; i < small.size(); ++i) out << int(small[i]) << ((i % 240) == 239 ? '\n' : ' ');
    korvena_test::GoldenRewritten(golden);
  } else {
    std::ifstream in(golden);
    ASSERT_TRUE(in.good()) << golden << " (KORVENA_UPDATE_GOLDEN=1 makes it)";
    std::vector<int> want;
    int v;
    while (in >> v) want.push_back(v);
    ASSERT_EQ(want.size(), small.size());
    int differing = 0;
    for (size_t i = 0; i < small.size(); i += 3) {
      int worst = 0;
      for (size_t k = 0; k < 3; ++k) worst = std::max(worst, std::abs(int(small[i + k]) - want[i + k]));
      differing += worst > 10;
    }
    EXPECT_LE(differing, 24) << differing << " cells differ from " << golden;
  }
  // The progress clock of the later steps sweeps over the screen.
  for (int i = 0; i < 4; ++i) loading_bRunStep(1);  // steps 3 to 6: 0.25 at the last
  scene3d_StopOnDevice();
  d->DisplayShut();
  d->Destroy();
  Q3DDeviceUnload();
  pcframe_Shutdown();
  QDLShutdown();
}

INSTANTIATE_TEST_SUITE_P(BothDevices, LoadingScreen, ::testing::Values("q3dswdll.dll", "q3dd3ddll.dll"));

}  // namespace
