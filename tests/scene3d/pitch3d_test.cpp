// The pitch object over a recording device: what it builds for each
// renderer, pitch type and environment, and the order of its drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_device.h"
#include "framework/math/qmatrix.h"
#include "render3d/q3d_camera.h"
#include "scene3d/groundtab.h"
#include "scene3d/pcframe.h"
#include "scene3d/pitch3d.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"

namespace {

using Calls = std::vector<std::string>;

struct PitchTest : ::testing::Test {
  RecordingDevice device;
  void SetUp() override { pcframe_Init(); }
  void TearDown() override {
    scene3d_StopOnDevice();
    pcframe_Shutdown();
    scene3d_eColourMode = SCENE3D_COLOUR;
  }
  void Start(int32_t software, uint8_t night = 0, uint8_t look = 1) {
    scene3d_StartOnDevice(&device, software, 640, 480);
    scene3d_poScene->bNight = night;
    scene3d_poScene->uStadiumLook = look;
    // Looking down on the centre spot from 300 m up: the whole ground in view.
    QMathMatrix& v = scene3d_oCamera.mView;
    QMathMatrixIdentity(&v);
    v.m[5] = 0.0f;
    v.m[6] = -1.0f;
    v.m[9] = 1.0f;
    v.m[10] = 0.0f;
    v.m[14] = 300.0f;
    scene3d_mWorldToView = v;
    scene3d_oCamera.uChanged |= Q3DCAM_VIEW;
    Q3DCameraUpdate(&scene3d_oCamera);
    device.calls.clear();
  }
  static size_t Count(const Calls& c, const std::string& s) { return static_cast<size_t>(std::count(c.begin(), c.end(), s)); }
};

TEST_F(PitchTest, ByDayTheHardwareGroundHasTheStadiumShadowAndItsSoftCorner) {
  Start(0);
  Pitch3D p(0);
  EXPECT_EQ(p.iShadowCellsX, 5);
  EXPECT_EQ(p.iShadowCellsZ, 3);
  ASSERT_EQ(p.oGround.uCount, 10u);
  EXPECT_FLOAT_EQ(p.oGround.pVertices[6].x, -45.72055f);
  EXPECT_FLOAT_EQ(p.oGround.pVertices[6].z, -32.004391f);
  EXPECT_FLOAT_EQ(p.oGround.pVertices[7].x, -45.47055f);
  // Lit vertices 1, 5, 7, 8; the rest in the shadow colour.
  for (uint32_t i = 0; i < 10; ++i) {
    const Q3DColour c = p.oGround.pColours[i];
    const bool lit = i == 1 || i == 5 || i == 7 || i == 8;
    EXPECT_EQ(c.r, lit ? 65 : 30) << i;
    EXPECT_EQ(c.g, lit ? 115 : 57) << i;
  }
  EXPECT_EQ(p.oShading.uCount, 5u);
  EXPECT_EQ(p.oShading.uFlags & Q3D_FACES_NO_COLOURS, 0u);  // vertex-coloured
  EXPECT_EQ(p.oGrass.uCount, 1u);
  EXPECT_EQ(p.cDecals, 1);
  EXPECT_FLOAT_EQ(p.aDecals[0].aVertex[1].x, -41.72055f);
  EXPECT_FLOAT_EQ(p.aDecals[0].aVertex[1].z, -28.004391f);
  EXPECT_EQ(p.oRing.uCount, 16u);
  EXPECT_FLOAT_EQ(p.oRing.pVertices[0].x, -105.15728f);
  EXPECT_FLOAT_EQ(p.oRing.pVertices[0].z, 73.15289f);
  EXPECT_EQ(p.oRing.pColours[1].r, 255);
  EXPECT_EQ(p.oRing.pColours[0].r, 220);
  EXPECT_EQ(p.oRingQuads.uCount, 8u);
  EXPECT_EQ(p.poTrackSides, nullptr);
  // The grass's colour and the light on the ground.
  EXPECT_EQ(p.poGrassMaterial->oColour.g, 96);
  EXPECT_EQ(p.poGrassMaterial->oColour.a, 210);
  const float x0 = pitch_fShadowX0(5);
  EXPECT_FLOAT_EQ(p.fLightLevelGet(x0 + 0.125f, 0.0f), 228.0f);
  EXPECT_FLOAT_EQ(p.fLightLevelGet(x0, 0.0f), 200.0f);
  EXPECT_FLOAT_EQ(p.fLightLevelGet(10.0f, 10.0f), 255.0f);
}

TEST_F(PitchTest, NightTrainingGroundAndDryPitchHaveNoShadow) {
  for (int c = 0; c < 3; ++c) {
    Start(0, c == 0 ? 1 : 0, c == 1 ? 21 : 1);
    Pitch3D p(c == 2 ? 4 : 0);
    EXPECT_EQ(p.iShadowCellsX, 0) << c;
    EXPECT_EQ(p.oGround.uCount, 4u) << c;
    EXPECT_EQ(p.oShading.uCount, 1u) << c;
    EXPECT_EQ(p.cDecals, 0) << c;
    EXPECT_FLOAT_EQ(p.fLightLevelGet(-60.0f, -40.0f), 255.0f) << c;
    const Q3DColour lit = p.oGround.pColours[3];
    EXPECT_EQ(lit.r, c == 2 ? 130 : 65) << c;
    scene3d_StopOnDevice();
  }
}

TEST_F(PitchTest, BlackAndWhiteConvertsTheGroundAndSurroundColours) {
  scene3d_eColourMode = SCENE3D_BLACK_AND_WHITE;
  Start(0, 1);
  Pitch3D p(1);
  const Q3DColour c = p.oGround.pColours[0];
  EXPECT_EQ(c.r, 97);
  EXPECT_EQ(c.g, 97);
  EXPECT_EQ(c.b, 97);
}

TEST_F(PitchTest, TheSoftwareGroundIsAGridOfQuartersWithFourTrackGrids) {
  Start(1);
  Pitch3D p(2);
  EXPECT_EQ(p.oGround.uCount, 31u * 21u);
  ASSERT_EQ(p.oGrass.uCount, 600u);
  const Q3DQuad& q = p.oGrass.pQuads[31];  // row 1, column 1
  EXPECT_EQ(q.auIndex[0], 32);
  EXPECT_EQ(q.auIndex[1], 33);
  EXPECT_EQ(q.auIndex[2], 64);
  EXPECT_EQ(q.auIndex[3], 63);
  EXPECT_FLOAT_EQ(p.oGround.pVertices[32].x, -68.58083f + 4.572056f);
  EXPECT_FLOAT_EQ(p.oGround.pVertices[32].z, 45.720554f - 4.572056f);
  ASSERT_NE(p.poTrackSides, nullptr);
  EXPECT_EQ(p.poTrackSides->oQuads.uCount, 45u);
  EXPECT_EQ(p.poTrackEnds->iRows, 16);
  EXPECT_EQ(p.poTrackEnds->iColumns, 4);
  EXPECT_EQ(p.iShadowCellsX, 0);
  scene3d_poSortList->Reset();
  p.CornerFlagsSort(scene3d_poSortList);
  EXPECT_EQ(scene3d_poSortList->uCount, 4u);
}

TEST_F(PitchTest, APitchTypeOutsideTheTableTakesTypeZeros) {
  Start(0);
  Pitch3D p(9);
  EXPECT_TRUE(std::string(p.poPatternTexture->oHeader.szName).ends_with("pitch\\tartan.tga"));
  EXPECT_EQ(p.aLit[1], 115);
}

TEST_F(PitchTest, TheHardwareDrawMultipliesTheGrassOverItsShadingAndEndsTheScene) {
  Start(0);
  Pitch3D p(0);
  device.calls.clear();
  p.GroundTransform();
  p.ShadowDraw();
  p.Draw();
  const Calls& c = device.calls;
  ASSERT_GE(c.size(), 8u);
  EXPECT_EQ(c[0], "RenderStateSet 4 4");
  EXPECT_EQ(c[1], "BatchBegin 0");
  EXPECT_EQ(c[2], "FaceListDraw");
  const auto grass = std::find(c.begin(), c.end(), "RenderStateSet 4 18");
  ASSERT_NE(grass, c.end());
  EXPECT_LT(std::find(c.begin(), c.end(), "RenderStateSet 4 32"), grass);  // the decal before the grass
  EXPECT_NE(std::find(c.begin(), c.end(), "ParameterSet 1 200,200,200,128"), c.end());
  EXPECT_NE(std::find(c.begin(), c.end(), "RenderStateSet 4 20"), c.end());  // the ring with its shade
  EXPECT_EQ(c.back(), "SceneEnd");
  EXPECT_EQ(Count(c, "ObjectDraw"), 10u);  // every marking's edges, then its quads
  EXPECT_EQ(Count(c, "FaceListDraw"), 1u + 1u + 1u + 10u + 1u);  // shading, decal, grass, markings, ring
}

TEST_F(PitchTest, TheHardwareCornerFlagsAreDrawnAtTheFourCorners) {
  Start(0);
  Pitch3D p(0);
  device.calls.clear();
  p.CornerFlagsDraw();
  EXPECT_EQ(device.calls.front(), "RenderStateSet 4 16");
}

}  // namespace
