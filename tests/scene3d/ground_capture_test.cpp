// The match ground drawn by both renderer libraries into a headless display
// after the real loading steps, from the generated art and models: pitch,
// markings, surround, stadium, hoardings, goals, ball and markers. Frames
// are written out to look at (KORVENA_CAPTURE_DIR) and compared with small
// downscaled pictures kept as text (golden/ground_*.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "capture_shot.h"
#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "ground_scene.h"
#include "matchflow/environ.h"
#include "render3d/vidselect.h"
#include "scene3d/loading.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/goals3d.h"
#include "scene3d/scene3d_services.h"
#include "scene3d/stadium3d.h"
#include "shell/pcmain_states.h"
#include "shell/pcinstall.h"
#include "support/golden.h"
#include "support/headless_env.h"

namespace {

namespace fs = std::filesystem;
using capture::Shot;

using ground_scene::BuildDir;
using ground_scene::CaptureDir;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-ground-capture", true, ground_scene::GameTreeUp, nullptr});

// Loads the golden downscaled picture, or writes it when asked to.
void CompareGolden(const std::string& name, const Shot& shot, int tolerance, int allowedCells) {
  const std::vector<uint8_t> small = capture::Downscale(shot, 32, 24);
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  const std::string path = std::string(src) + "/tests/scene3d/golden/ground_" + name + ".txt";
  if (korvena_test::UpdatingGolden()) {
    std::ofstream out(path);
    for (size_t i = 0; i < small.size(); ++i) out << int(small[i]) << ((i % 96) == 95 ? '\n' : ' ');
    korvena_test::GoldenRewritten(path);
    return;
  }
  std::ifstream in(path);
  ASSERT_TRUE(in.good()) << path << " (KORVENA_UPDATE_GOLDEN=1 makes it)";
  std::vector<int> want;
  int v;
  while (in >> v) want.push_back(v);
  ASSERT_EQ(want.size(), small.size()) << path;
  int differing = 0;
  for (size_t i = 0; i < small.size(); i += 3) {
    int worst = 0;
    for (size_t k = 0; k < 3; ++k) worst = std::max(worst, std::abs(int(small[i + k]) - want[i + k]));
    differing += worst > tolerance;
  }
  EXPECT_LE(differing, allowedCells) << differing << " cells of " << name << " differ from " << path;
}

}  // namespace

namespace {

class Ground : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { ASSERT_TRUE(scene.Open(GetParam())); }
  void TearDown() override { scene.Close(); }
  std::string Name(const std::string& what) const { return what + (GetParam() ? "_zbuffer" : "_software"); }
  void Write(const std::string& what, const Shot& s) const {
    EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name(what) + ".tga", s));
  }
  GroundScene scene;
};

// The broadcast view from the main stand's side, above the halfway line.
const float kBroadcastEye[3] = {0.0f, 22.0f, -70.0f};
const float kBroadcastTarget[3] = {0.0f, 0.0f, 0.0f};

// Over the corner of the stadium's shadow (the -x end and the -z side).
const float kShadowEye[3] = {-20.0f, 18.0f, -62.0f};
const float kShadowTarget[3] = {-50.0f, 0.0f, -20.0f};

TEST_P(Ground, TheGroundOfEveryPitchTypeByDay) {
  for (int32_t type = 0; type < 6; ++type) {
    ASSERT_GT(scene.Load(type, 1, 0), 12);
    const Shot s = scene.Frame(kBroadcastEye, kBroadcastTarget);
    ASSERT_EQ(s.w, 640);
    Write("pitch" + std::to_string(type), s);
    CompareGolden(Name("pitch" + std::to_string(type)), s, 12, 8);
    // Grass green (dry ground and snow otherwise).
    int r, g, b;
    s.rgb(200, 400, &r, &g, &b);
    if (type != 4 && type != 3) {
      EXPECT_GT(g, r + 20) << type;
    }
  }
}

TEST_P(Ground, TheStadiumShadowDarkensTheGroundOnlyWithTheZBuffer) {
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  const Shot s = scene.Frame(kShadowEye, kShadowTarget);
  Write("shadow", s);
  CompareGolden(Name("shadow"), s, 12, 8);
  // Bottom left lies in the shadow, bottom right in the light.
  auto green = [&](int x0, int y0) {
    long sum = 0;
    for (int y = y0; y < y0 + 40; ++y)
      for (int x = x0; x < x0 + 80; ++x) {
        int r, g, b;
        s.rgb(x, y, &r, &g, &b);
        sum += g;
      }
    return sum / (40 * 80);
  };
  const long shade = green(40, 420), light = green(500, 420);
  if (GetParam()) {
    EXPECT_LT(shade * 10, light * 7) << shade << " " << light;
  } else {
    EXPECT_GT(shade * 10, light * 8) << shade << " " << light;
  }
}

// High behind the goal at -x, looking down the pitch.
const float kEndEye[3] = {-100.0f, 24.0f, -25.0f};
const float kEndTarget[3] = {20.0f, 10.0f, 15.0f};
// From the side, looking up at the far stand.
const float kStandEye[3] = {10.0f, 20.0f, -90.0f};
const float kStandTarget[3] = {-10.0f, 12.0f, 40.0f};

// How much of the frame shows the background colour.
double SkyShare(const Shot& s, int br, int bg, int bb) {
  long n = 0;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      int r, g, b;
      s.rgb(x, y, &r, &g, &b);
      n += std::abs(r - br) < 9 && std::abs(g - bg) < 9 && std::abs(b - bb) < 9;
    }
  return static_cast<double>(n) / (s.w * s.h);
}

TEST_P(Ground, ThreeStadiumsByDayAndNightFromTwoCameras) {
  const int32_t looks[3] = {1, 5, 17};
  for (int32_t look : looks)
    for (int32_t night = 0; night < 2; ++night) {
      ASSERT_GT(scene.Load(0, look, night), 12);
      const std::string base = "look" + std::to_string(look) + (night ? "_night" : "_day");
      const Shot a = scene.Frame(kStandEye, kStandTarget);
      const Shot b = scene.Frame(kEndEye, kEndTarget);
      Write(base + "_side", a);
      Write(base + "_end", b);
      CompareGolden(Name(base + "_side"), a, 14, 12);
      CompareGolden(Name(base + "_end"), b, 14, 12);
      // The stands fill much of what was sky.
      const Q3DColour bgc = scene3d_poScene->oBackground;
      EXPECT_LT(SkyShare(a, bgc.r, bgc.g, bgc.b), 0.6) << base;
    }
}

TEST_P(Ground, EveryStadiumLookLoadsAndFillsTheFrame) {
  for (int32_t look = 1; look <= 23; ++look) {
    if (look == 8) continue;  // no files: the look table's empty entry
    for (int32_t night = 0; night < 2; ++night) {
      ASSERT_GT(scene.Load(0, look, night), 12);
      ASSERT_NE(scene3d_poScene->poStadium, nullptr);
      EXPECT_GT(scene3d_poScene->poStadium->cGroups, 0) << look;
      const Shot a = scene.Frame(kStandEye, kStandTarget);
      const Q3DColour bgc = scene3d_poScene->oBackground;
      EXPECT_LT(SkyShare(a, bgc.r, bgc.g, bgc.b), 0.6) << look << " " << night;
      if (night == 0) Write("every_look" + std::to_string(look), a);
    }
  }
}

// The goal at +x from the pitch, its net struck by the ball a few frames
// ago; the ball on the penalty spot with its markers round it.
TEST_P(Ground, AGoalMidRippleTheBallAndTheMarkers) {
  ASSERT_GT(scene.Load(2, 1, 0), 12);
  const float eye[3] = {40.0f, 3.0f, -6.0f}, target[3] = {59.0f, 1.2f, 0.0f};
  pcmain_iMatchFrame = 1000;
  auto fill = [](FramePacket* p) {
    PacketTrail& t = p->aoTrails[0];  // slot 1: the goal at +x
    const float a[3] = {58.0f, 1.0f, 1.0f}, b[3] = {62.5f, 1.2f, 1.5f};
    std::copy(a, a + 3, t.afStart);
    std::copy(b, b + 3, t.afEnd);
    t.fSpeed = 60.0f;
    t.uValue = 1;
    t.iStartFrame = 991;
    t.bActive = 1;
    t.bReplayed = 0;
    p->oBall.iX = static_cast<int32_t>(48.5 / 0.00635);
    p->oBall.iHeight = 0;
    p->oBall.iY = static_cast<int32_t>(-1.0 / 0.00635);
    p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
    pcframe_AddSpotMarker(static_cast<int32_t>(53.0 / 0.00635), static_cast<int32_t>(2.0 / 0.00635), 1);
    pcframe_AddArrowMarker(static_cast<int32_t>(48.5 / 0.00635), static_cast<int32_t>(-1.0 / 0.00635), 0.5, 0);
    pcframe_AddSpotMarker(static_cast<int32_t>(48.5 / 0.00635), static_cast<int32_t>(-1.0 / 0.00635), 0);
    pcframe_AddUserMarker(static_cast<int32_t>(52.0 / 0.00635), static_cast<int32_t>(-3.0 / 0.00635), 2);
    pcframe_AddAimMarker(static_cast<int32_t>(45.0 / 0.00635), static_cast<int32_t>(4.0 / 0.00635), 60000, 2000);
    const int32_t quad[4][3] = {{static_cast<int32_t>(44 / 0.00635), 0, static_cast<int32_t>(-6 / 0.00635)},
                                {static_cast<int32_t>(46 / 0.00635), 0, static_cast<int32_t>(-6 / 0.00635)},
                                {static_cast<int32_t>(44 / 0.00635), 0, static_cast<int32_t>(-5 / 0.00635)},
                                {static_cast<int32_t>(46 / 0.00635), 0, static_cast<int32_t>(-5 / 0.00635)}};
    pcframe_AddQuadMarker(quad, 1);
  };
  scene.Frame(eye, target, fill);
  ASSERT_NE(goals_apoNets[1], nullptr);
  EXPECT_EQ(goals_apoNets[1]->oState.bActive, 1);
  pcmain_iMatchFrame = 1009;  // 0.3 s after the hit
  const Shot s = scene.Frame(eye, target, fill);
  Write("goal_ball_markers", s);
  CompareGolden(Name("goal_ball_markers"), s, 14, 12);
  pcmain_iMatchFrame = 0;
}

// Old matches: the whole ground, stands and hoardings in sepia or in black
// and white.
TEST_P(Ground, SepiaAndBlackAndWhiteMatchesThroughout) {
  for (uint8_t mode : {SCENE3D_SEPIA, SCENE3D_BLACK_AND_WHITE}) {
    scene3d_eColourMode = mode;
    ASSERT_GT(scene.Load(1, 9, 0), 12);
    const Shot s = scene.Frame(kStandEye, kStandTarget);
    scene3d_eColourMode = SCENE3D_COLOUR;
    const std::string name = mode == SCENE3D_SEPIA ? "sepia" : "black_and_white";
    Write(name, s);
    CompareGolden(Name(name), s, 14, 12);
    long off = 0;
    for (int y = 0; y < s.h; y += 4)
      for (int x = 0; x < s.w; x += 4) {
        int r, g, b;
        s.rgb(x, y, &r, &g, &b);
        if (mode == SCENE3D_SEPIA) {
          off += !(r + 12 >= g && g + 12 >= b);  // warm browns: red over green over blue
        } else {
          off += std::max({std::abs(r - g), std::abs(g - b), std::abs(r - b)}) > 16;  // greys
        }
      }
    EXPECT_LT(off, (s.w / 4) * (s.h / 4) / 50) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(BothDevices, Ground, ::testing::Values(false, true));

// The software stadium (its own shell, faces painted in list order, no
// depth) against the z-buffered one (the full shell in page groups) from
// several cameras: the stands' part of the frame agrees within a tolerance.
TEST(GroundBothDevices, TheSoftwareStadiumAgreesWithTheZBufferedOne) {
  const float cameras[4][6] = {{10, 20, -90, -10, 12, 40},
                               {-100, 24, -25, 20, 10, 15},
                               {90, 15, 60, -20, 8, -10},
                               {0, 35, 10, 0, 10, 80}};
  for (int32_t look : {5, 13, 17}) {
    std::vector<uint8_t> small[2][4];
    for (int z = 0; z < 2; ++z) {
      GroundScene scene;
      ASSERT_TRUE(scene.Open(z == 1));
      ASSERT_GT(scene.Load(0, look, 0), 12);
      for (int c = 0; c < 4; ++c) {
        const Shot s = scene.Frame(cameras[c], cameras[c] + 3);
        small[z][c] = capture::Downscale(s, 32, 24);
        capture::WriteShot(CaptureDir() + "/agree_" + std::to_string(look) + "_" + std::to_string(c) + (z ? "_z" : "_s") + ".tga", s);
      }
      scene.Close();
    }
    for (int c = 0; c < 4; ++c) {
      // The upper half of the frame: stands, roofs and sky.
      int cells = 0, differing = 0;
      for (size_t i = 0; i < small[0][c].size() / 2; i += 3) {
        int worst = 0;
        for (size_t k = 0; k < 3; ++k) worst = std::max(worst, std::abs(int(small[0][c][i + k]) - int(small[1][c][i + k])));
        ++cells;
        differing += worst > 40;
      }
      EXPECT_LT(differing * 100, cells * 15) << "look " << look << " camera " << c << ": " << differing << " of " << cells;
    }
  }
}


}  // namespace
