#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fake_device.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"

namespace {

using Calls = std::vector<std::string>;

struct SceneTest : ::testing::Test {
  RecordingDevice device;
  void SetUp() override { pcframe_Init(); }
  void TearDown() override {
    scene3d_StopOnDevice();
    pcframe_Shutdown();
  }
  void Start(int32_t software) {
    scene3d_StartOnDevice(&device, software, 640, 480);
    scene3d_FontsLoad();
    scene3d_bSpriteSheetCreate();
    device.calls.clear();
  }
  // A packet whose camera is valid (identity rotation, eye at the origin
  // unless given).
  FramePacket* Packet(bool camera, int32_t ex = 0, int32_t eh = 0, int32_t ey = 0) {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = camera ? 1 : 0;
    p->oCamera.aiEye[0] = ex;
    p->oCamera.aiEye[1] = eh;
    p->oCamera.aiEye[2] = ey;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) p->oCamera.aafRotation[r][c] = r == c ? 1.0f : 0.0f;
    return p;
  }
  Calls Frame() {
    device.calls.clear();
    lastResult = scene3d_DrawFrame();
    return device.calls;
  }
  int32_t lastResult = -1;
};

TEST_F(SceneTest, StartSetsTheStatesTheCameraAndTheTextMode) {
  scene3d_StartOnDevice(&device, 1, 640, 480);
  ASSERT_GE(device.calls.size(), 9u);
  const Calls head(device.calls.begin(), device.calls.begin() + 9);
  EXPECT_EQ(head, (Calls{"BackgroundSet", "RenderStateSet 2 0", "RenderStateSet 3 8", "RenderStateSet 10 1",
                         "RenderStateSet 11 1", "RenderStateSet 4 16", "RenderStateSet 9 0", "CameraSet",
                         "ParameterSet 6"}));
  EXPECT_EQ(scene3d_oCamera.uFov, 5824);
  EXPECT_FLOAT_EQ(scene3d_oCamera.fNear, 3.0f);
  EXPECT_FLOAT_EQ(scene3d_oCamera.fFar, 400.0f);
  EXPECT_EQ(scene3d_bDisplay3DUp, 1);
  EXPECT_EQ(scene3d_bBuilt, 1);
  EXPECT_NE(scene3d_poSortList, nullptr);  // software only
  scene3d_FontsLoad();
  EXPECT_NE(scene3d_apoFont[0], nullptr);
  EXPECT_NE(scene3d_apoFont[1], nullptr);
  EXPECT_FLOAT_EQ(scene3d_mMirror.m[10], -1.0f);
  scene3d_StopOnDevice();
  EXPECT_EQ(scene3d_bDisplay3DUp, 0);
  EXPECT_EQ(scene3d_poDevice, nullptr);
  scene3d_StartOnDevice(&device, 0, 800, 600);
  EXPECT_EQ(scene3d_poSortList, nullptr);
}

TEST_F(SceneTest, TheFirstFramesOnlyClearOrSetTheBackgroundAndPresent) {
  Start(1);
  EXPECT_TRUE(Frame().empty());  // no packet
  EXPECT_EQ(lastResult, 0);
  Packet(false);
  EXPECT_EQ(Frame(), (Calls{"SceneBegin", "BackgroundSet", "Clear", "Present 1"}));
  EXPECT_EQ(lastResult, 0);
  Packet(false);  // still no camera: still the first frame
  EXPECT_EQ(Frame(), (Calls{"SceneBegin", "BackgroundSet", "Clear", "Present 1"}));
  Packet(true);
  EXPECT_EQ(Frame(), (Calls{"SceneBegin", "BackgroundSet", "Present 1"}));
  EXPECT_EQ(lastResult, 0);
  Packet(true);
  EXPECT_EQ(Frame(), (Calls{"SceneBegin", "Clear", "SceneEnd", "RenderStateSet 11 0", "RenderStateSet 11 1",
                            "Present 0"}));
  EXPECT_EQ(lastResult, 1);
  EXPECT_TRUE(Frame().empty());  // the packet was taken
}

TEST_F(SceneTest, AHardwareFrameKeepsItsFrameToTheDeviceAndPresentsWithClear) {
  Start(0);
  Packet(true);
  Frame();
  Packet(true);
  EXPECT_EQ(Frame(), (Calls{"SceneBegin", "SceneEnd", "RenderStateSet 11 0", "RenderStateSet 11 1", "Present 1"}));
}

TEST_F(SceneTest, TheCameraComesFromThePacketAndAnInvalidOneKeepsThePrevious) {
  Start(1);
  Packet(true);
  Frame();
  // A quarter turn about the vertical axis: right = (0, 0, -1), up = (0, 1, 0),
  // forward = (1, 0, 0); rows hold the x, y and z components of the three.
  FramePacket* p = Packet(true, 1000, 200, -500);
  const float rot[3][4] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) p->oCamera.aafRotation[r][c] = rot[r][c];
  Frame();
  const double k = SCENE3D_METRES_PER_UNIT;
  const QMathMatrix& m = scene3d_oCamera.mView;
  // A world point's view coordinates: (p - eye) x R.
  const double eye[3] = {1000 * k, 200 * k, -500 * k};
  const double pt[3] = {10.0, 1.0, 4.0};
  for (int c = 0; c < 3; ++c) {
    double want = 0;
    for (int r = 0; r < 3; ++r) want += (pt[r] - eye[r]) * rot[r][c];
    const double got = pt[0] * m.m[c] + pt[1] * m.m[4 + c] + pt[2] * m.m[8 + c] + m.m[12 + c];
    EXPECT_NEAR(got, want, 1e-4) << c;
  }
  EXPECT_NEAR(scene3d_oCameraPosition.x, eye[0], 1e-5);
  const QMathMatrix before = scene3d_oCamera.mView;
  const QMathMatrix vpBefore = scene3d_oCamera.mViewProj;
  Packet(false, 5, 5, 5);
  EXPECT_EQ(Frame().size(), 6u);
  EXPECT_EQ(lastResult, 1);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(scene3d_oCamera.mView.m[i], before.m[i]);
    EXPECT_EQ(scene3d_oCamera.mViewProj.m[i], vpBefore.m[i]);
  }
}

TEST_F(SceneTest, EveryOverlayKindDrawsThroughTheDeviceFromTheHighestPriority) {
  for (int32_t software : {1, 0}) {
    SCOPED_TRACE(software);
    Start(software);
    Packet(true);
    Frame();
    Packet(true);
    ASSERT_EQ(pcframe_AddText(10, 20, 5, 200, 100, 50, "GOAL", 1, 0, 2), 1);
    pcframe_AddText(10, 20, 5, 1, 2, 3, "lost", 3, 0, 0);  // no such font
    pcframe_AddSheetSprite(30, 40, 9, 1);
    pcframe_AddBox(9, 9, 9, 9, 7, 2, 2, 2, 60, 5);  // drawn last of its layer: keeps the kind before
    pcframe_AddBox(1, 2, 3, 4, 7, 9, 8, 7, 128, 0);
    pcframe_AddBox(5, 6, 7, 8, 7, 1, 1, 1, 255, 1);
    pcframe_AddShadedBox(0, 0, 100, 50, 3, pcframe_uCornerColour(10, 11, 12, 99),
                         pcframe_uCornerColour(20, 21, 22, 0), pcframe_uCornerColour(30, 31, 32, 0),
                         pcframe_uCornerColour(40, 41, 42, 0), 0);
    pcframe_AddTriangle(1, 2, 3, 4, 5, 6, 2, 70, 80, 90, 33, 0);
    pcframe_AddLine(0, 0, 5, 5, 1, 1, 1, 1, 0);  // not a 3D overlay item
    const Calls c = Frame();
    const size_t from = 4;  // after SceneBegin, [Clear], SceneEnd, state 11 0
    Calls got(c.begin() + static_cast<long>(from - (software ? 0 : 1)), c.end());
    Calls expect;
    expect.push_back("BatchBegin 0");
    if (!software) expect.push_back("TextureSet sheet");
    for (const char* s :
         {"RenderStateSet 4 32", "SheetSpriteDraw 1 30 40", "BatchEnd",
          // priority 7: the most recently added box first
          "BatchBegin 0", "RenderStateSet 4 3", "ParameterSet 1 1,1,1,255",
          "ScreenQuadDraw 0 5 6 7 8 1,1,1,255 1,1,1,255 1,1,1,255 1,1,1,255", "BatchEnd", "BatchBegin 0",
          "RenderStateSet 4 3", "ParameterSet 1 9,8,7,128", "ScreenQuadDraw 1 1 2 3 4 9,8,7,128 9,8,7,128 9,8,7,128 9,8,7,128",
          "BatchEnd", "BatchBegin 0", "RenderStateSet 4 3", "ParameterSet 1 2,2,2,60",
          "ScreenQuadDraw 1 9 9 9 9 2,2,2,60 2,2,2,60 2,2,2,60 2,2,2,60", "BatchEnd",
          // priority 5: the text in font 1; the one in font 3 is not drawn
          "BatchBegin 0", "RenderStateSet 4 33", "ParameterSet 1 200,100,50,255", "TEXT",
          "BatchEnd",
          // priority 3: corners 0, 1, 3, 2 with corner 0's alpha
          "BatchBegin 0", "RenderStateSet 4 12",
          "ScreenQuadDraw 0 0 0 100 50 10,11,12,99 20,21,22,99 40,41,42,99 30,31,32,99", "BatchEnd",
          // priority 2
          "BatchBegin 0", "RenderStateSet 4 12", "VertexListDraw 3 1,2,70,33 3,4,70,33 5,6,70,33", "BatchEnd",
          "RenderStateSet 11 1"})
      expect.push_back(std::string(s) == "TEXT" ? "TextDraw " + std::to_string(scene3d_apoFont[1]->iHandle) + " 10 20 2 GOAL"
                                                : std::string(s));
    expect.push_back(software ? "Present 0" : "Present 1");
    EXPECT_EQ(got, expect);
    scene3d_StopOnDevice();
  }
}

}  // namespace
