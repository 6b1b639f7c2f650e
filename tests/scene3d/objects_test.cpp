// The stadium, goals, ball and markers over a recording device: what each
// builds from its tables and files and what it asks the device to draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_device.h"
#include "framework/math/qmatrix.h"
#include "framework/math/qrand.h"
#include "render3d/q3d_camera.h"
#include "scene3d/ball3d.h"
#include "scene3d/goals3d.h"
#include "scene3d/groundtab.h"
#include "scene3d/markers3d.h"
#include "scene3d/model.h"
#include "scene3d/pcframe.h"
#include "scene3d/pcframe_snapshot.h"
#include "scene3d/pitch3d.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_services.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/stadium3d.h"
#include "scene3d_test_env.h"

namespace {

using Calls = std::vector<std::string>;
namespace fs = std::filesystem;

// A PCS model under the models folder: one triangle per page id given.
void WriteShell(const std::string& name, const std::vector<uint32_t>& pages) {
  ModelRecord r{};
  std::vector<QMathVec3> v;
  std::vector<ModelFace> f;
  for (size_t i = 0; i < pages.size(); ++i) {
    const float x = 110.0f + static_cast<float>(i);
    v.push_back({x, 0, 80});
    v.push_back({x + 1, 5, 80});
    v.push_back({x, 5, 85});
    ModelFace face{};
    face.auIndex[0] = static_cast<uint32_t>(3 * i);
    face.auIndex[1] = static_cast<uint32_t>(3 * i + 1);
    face.auIndex[2] = static_cast<uint32_t>(3 * i + 2);
    face.uPage = pages[i];
    const float uv[6] = {0, 0, 1, 0, 1, 1};
    std::copy(uv, uv + 6, face.afUV);
    f.push_back(face);
  }
  r.uVertexCount = static_cast<uint32_t>(v.size());
  r.uFaceCount = static_cast<uint32_t>(f.size());
  r.pVertices = v.data();
  r.pFaces = f.data();
  fs::create_directories(Scene3DRoot() / "data" / "models" / "stadiums");
  ASSERT_EQ(model_bPCSSave(("..\\data\\models\\stadiums\\" + name).c_str(), r), 1);
}

// A frame model under models/Goals: one small triangle at each x given.
void WriteFrame(const std::string& name, const std::vector<float>& xs) {
  ModelRecord r{};
  std::vector<QMathVec3> v;
  std::vector<ModelFace> f;
  for (size_t i = 0; i < xs.size(); ++i) {
    v.push_back({xs[i], 0, 0});
    v.push_back({xs[i] + 0.1f, 2, 0});
    v.push_back({xs[i], 2, 0.1f});
    ModelFace face{};
    for (int k = 0; k < 3; ++k) face.auIndex[k] = static_cast<uint32_t>(3 * i + k);
    f.push_back(face);
  }
  r.uVertexCount = static_cast<uint32_t>(v.size());
  r.uFaceCount = static_cast<uint32_t>(f.size());
  r.pVertices = v.data();
  r.pFaces = f.data();
  fs::create_directories(Scene3DRoot() / "data" / "models" / "Goals");
  ASSERT_EQ(model_bPCSSave(("..\\data\\models\\Goals\\" + name).c_str(), r), 1);
}

struct ObjectsTest : ::testing::Test {
  RecordingDevice device;
  void SetUp() override { pcframe_Init(); }
  void TearDown() override {
    scene3d_StopOnDevice();
    pcframe_Shutdown();
    scene3d_eColourMode = SCENE3D_COLOUR;
  }
  // The scene on the recording device; the camera at eye looking along +z
  // (identity rotation), lights made as the scene's resources step makes them.
  void Start(int32_t software, uint8_t night, uint8_t look, QMathVec3 eye = {0, 10, -80}) {
    scene3d_StartOnDevice(&device, software, 640, 480);
    Scene3D* s = scene3d_poScene;
    s->bNight = night;
    s->uStadiumLook = look;
    s->cLights = night ? 4 : 1;
    for (uint8_t i = 0; i < s->cLights; ++i) s->apoLights[i] = new SceneLight(0);
    const int32_t e[3] = {static_cast<int32_t>(eye.x / SCENE3D_METRES_PER_UNIT),
                          static_cast<int32_t>(eye.y / SCENE3D_METRES_PER_UNIT),
                          static_cast<int32_t>(eye.z / SCENE3D_METRES_PER_UNIT)};
    const float rot[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    scene3d_CameraFromPacket(e, rot);
    device.calls.clear();
  }
  static size_t Count(const Calls& c, const std::string& s) { return static_cast<size_t>(std::count(c.begin(), c.end(), s)); }
  static bool Has(const Calls& c, const std::string& s) { return Count(c, s) != 0; }
};

// ---- Stadium -------------------------------------------------------------------------------

TEST_F(ObjectsTest, ByDayTheNightPagesAreLeftOutAndNoLightsAreLoaded) {
  WriteShell("gen1.pcs", {1, 0, 3, 7, 2, 5, 0});
  Start(0, 0, 1);
  Stadium3D st;
  ASSERT_EQ(st.cGroups, 4);
  EXPECT_EQ(st.auGroupPage[0], 0u);
  EXPECT_EQ(st.auGroupPage[1], 1u);
  EXPECT_EQ(st.auGroupPage[2], 2u);
  EXPECT_EQ(st.auGroupPage[3], 5u);
  EXPECT_EQ(st.aoGroups[0].uCount, 2u);  // both faces of id 0, in file order
  EXPECT_EQ(st.apoTextures[3], nullptr);
  // The sun.
  QMathVec3 sun;
  scene3d_poScene->apoLights[0]->PositionGet(&sun);
  EXPECT_FLOAT_EQ(sun.x, -200.0f);
  EXPECT_FLOAT_EQ(sun.y, 300.0f);
  EXPECT_FLOAT_EQ(sun.z, -200.0f);
  device.calls.clear();
  st.Draw();
  EXPECT_EQ(device.calls.front(), "RenderStateSet 4 32");
  EXPECT_EQ(Count(device.calls, "MeshDraw 2 63"), 1u);
  EXPECT_EQ(Count(device.calls, "MeshDraw 1 63"), 3u);
}

TEST_F(ObjectsTest, AtNightTheLightsPageAndTheFloodlightsComeIn) {
  WriteShell("gen1.pcs", {1, 0, 3, 7});
  Start(0, 1, 1);
  Stadium3D st;
  ASSERT_EQ(st.cGroups, 4);
  EXPECT_EQ(st.auGroupPage[2], 3u);
  EXPECT_EQ(st.auGroupPage[3], 7u);
  ASSERT_NE(st.apoTextures[3], nullptr);
  EXPECT_TRUE(std::string(st.apoTextures[3]->oHeader.szName).ends_with("stadiums\\gen1\\night\\norm\\full\\lights.tga"));
  QMathVec3 l;
  scene3d_poScene->apoLights[0]->PositionGet(&l);
  EXPECT_FLOAT_EQ(l.x, -100.0f);
  EXPECT_FLOAT_EQ(l.y, 55.0f);
  EXPECT_FLOAT_EQ(l.z, 60.0f);
  scene3d_poScene->apoLights[3]->PositionGet(&l);
  EXPECT_FLOAT_EQ(l.x, 100.0f);
  EXPECT_FLOAT_EQ(l.z, -60.0f);
}

TEST_F(ObjectsTest, AStadiumWithoutItsModelIsEmptyAndPageIdsAboveSevenAreSkipped) {
  Start(0, 0, 19);  // no sansiro model written
  {
    Stadium3D st;
    EXPECT_EQ(st.cGroups, 0);
    st.Draw();
  }
  WriteShell("sansiro.pcs", {9, 0, 12});
  Stadium3D st;
  EXPECT_EQ(st.cGroups, 1);
  EXPECT_EQ(st.aoGroups[0].uCount, 1u);
}

TEST_F(ObjectsTest, TheSoftwareStadiumHasOneRemappedGroupOnTheComposedPage) {
  WriteShell("SWgen2.pcs", {0, 1, 2, 3, 4, 5, 6, 7});
  Start(1, 0, 2);
  Stadium3D st;
  ASSERT_EQ(st.cGroups, 1);
  ASSERT_EQ(st.aoGroups[0].uCount, 6u);  // 3 and 7 left out
  // The recording device scales texels by the page size (512): face of id 1
  // corner 1 (u 1, v 0) lands at (1 / 2 + 0.5) x 512.
  const Q3DFace& f1 = st.aoGroups[0].pFaces[1];
  EXPECT_FLOAT_EQ(f1.aTexel[1].u, 512.0f);
  EXPECT_FLOAT_EQ(f1.aTexel[1].v, 0.0f);
  const Q3DFace& f2 = st.aoGroups[0].pFaces[2];  // id 2: the hoardings quarter
  EXPECT_FLOAT_EQ(f2.aTexel[2].v, 512.0f);
  EXPECT_FLOAT_EQ(f2.aTexel[0].v, 256.0f);
  EXPECT_TRUE(Has(device.calls, "ImageCreate 512x512"));
  device.calls.clear();
  st.DrawSoftware();
  EXPECT_EQ(device.calls.front(), "RenderStateSet 4 16");
}

TEST_F(ObjectsTest, LooksWithoutHoardingsBuildNoneAndOldMatchesUseTheOlderBoards) {
  Start(0, 0, 17);
  {
    Stadium3D st;
    EXPECT_EQ(st.poHoardings, nullptr);
  }
  scene3d_StopOnDevice();
  Start(0, 0, 21);
  {
    Stadium3D st;
    EXPECT_EQ(st.poHoardings, nullptr);
  }
  scene3d_StopOnDevice();
  scene3d_eColourMode = SCENE3D_SEPIA;
  Start(0, 0, 20);
  Stadium3D st;
  ASSERT_NE(st.poHoardings, nullptr);
  EXPECT_TRUE(std::string(st.poHoardings->poTexture->oHeader.szName).ends_with("stadiums\\misc\\hord2.tga"));
}

TEST_F(ObjectsTest, ConsecutiveBoardsShowConsecutiveAdvertsAndTheMatchRandomSequenceIsKept) {
  Start(0, 0, 1);
  QMathRandState before, after;
  QMathRandStateSave(&before);
  Hoardings3D h;
  QMathRandStateSave(&after);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  const uint32_t w = h.poTexture->uWidth, hh = h.poTexture->uHeight;
  for (int i = 0; i < kHoardingCount; ++i) {
    const int k = (h.iFirstAdvert + i) % 16;
    EXPECT_FLOAT_EQ(h.aQuad[i].aTexel[0].u, (k % 2) * 0.5f * static_cast<float>(w)) << i;
    EXPECT_FLOAT_EQ(h.aQuad[i].aTexel[0].v, (k / 2) * 0.125f * static_cast<float>(hh)) << i;
  }
  // The board at +z faces the pitch; the one behind the goal at -x turned.
  EXPECT_FLOAT_EQ(h.aMatrix[0].m[14], 42.977f);
  EXPECT_FLOAT_EQ(h.aMatrix[39].m[12], -67.666f);
}

// ---- Goals ---------------------------------------------------------------------------------

TEST_F(ObjectsTest, TheGoalsLoadTheirStyleAndPublishTheNetDepth) {
  Start(0, 0, 1);
  goals_Load(3);
  ASSERT_NE(goals_apoNets[0], nullptr);
  ASSERT_NE(goals_apoNets[1], nullptr);
  EXPECT_EQ(goals_NetDepth, static_cast<int32_t>(std::min(1.22f + 0.6096f, 1.46f + 0.6096f) * 39.37f));
  EXPECT_FLOAT_EQ(goals_apoNets[0]->mLocal.m[12], -59.4367f);
  EXPECT_FLOAT_EQ(goals_apoNets[1]->mLocal.m[12], 59.4367f);
  goals_Load(2);
  EXPECT_EQ(goals_NetDepth, static_cast<int32_t>(1.22f * 39.37f));
  goals_Free();
}

// A ball through the net at pitch +z (scene z) bulges the panel the ball
// went through, at either goal.
TEST_F(ObjectsTest, ASideHitBulgesTheSideTheBallWentThroughAtBothGoals) {
  Start(0, 0, 1);
  goals_Load(1);
  for (int32_t goal = 0; goal < 2; ++goal) {
    GoalNet* g = goals_apoNets[goal];
    const float sx = goal == 0 ? -1.0f : 1.0f;
    // From inside the net's mouth out through its side at pitch +z.
    const float a[3] = {sx * 60.0f, 1.0f, 2.5f}, b[3] = {sx * 60.3f, 1.0f, 4.6f};
    ASSERT_NE(goalnet_PathApply(g, 4, 100, a, b, 40.0f), 0) << goal;
    goalnet_Animate(&g->oState, 0.3f);
    // The most displaced vertex lies on the side at pitch +z.
    float best = 0;
    QMathVec3 at{};
    for (size_t i = 0; i < g->oState.aVertices.size(); ++i) {
      const QMathVec3 r = g->oState.pGeometry->aRest[i], v = g->oState.aVertices[i];
      const float d = std::fabs(v.x - r.x) + std::fabs(v.y - r.y) + std::fabs(v.z - r.z);
      if (d > best) {
        best = d;
        QMathVec3 w;
        const QMathMatrix& m = g->mLocal;
        w.z = r.x * m.m[2] + r.y * m.m[6] + r.z * m.m[10] + m.m[14];
        at = w;
      }
    }
    EXPECT_GT(best, 0.01f) << goal;
    EXPECT_GT(at.z, 3.0f) << goal;
  }
  goals_Free();
}

TEST_F(ObjectsTest, ALiveTrailIsHandedToItsNetOnceAndAReplayedOneEveryFrame) {
  Start(0, 0, 1, {0, 10, -80});
  goals_Load(1);
  scene3d_bFirstFrame = 1;
  auto frame = [&](int32_t start, int32_t replayed, int32_t replayFrame) {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 0;
    PacketTrail& t = p->aoTrails[0];  // slot 1: the goal at +x
    const float a[3] = {58.0f, 1.0f, 0.0f}, b[3] = {62.0f, 1.0f, 0.0f};
    std::copy(a, a + 3, t.afStart);
    std::copy(b, b + 3, t.afEnd);
    t.fSpeed = 40.0f;
    t.uValue = 1;
    t.iStartFrame = start;
    t.iReplayFrame = replayFrame;
    t.bActive = 1;
    t.bReplayed = replayed;
    scene3d_DrawFrame();
  };
  frame(50, 0, 0);
  GoalNet* g = goals_apoNets[1];
  EXPECT_EQ(g->iLastTrailFrame, 50);
  EXPECT_EQ(g->oState.bActive, 1);
  EXPECT_EQ(goals_apoNets[0]->oState.bActive, 0);
  g->oState.bActive = 0;
  frame(50, 0, 0);  // the same path again: left alone
  EXPECT_EQ(g->oState.bActive, 0);
  frame(40, 1, 70);  // a replay gives it again, on the replay's time
  EXPECT_EQ(g->oState.bActive, 1);
  EXPECT_EQ(g->bExternalTime, 1);
  EXPECT_FLOAT_EQ(g->fSeconds, (70 - 40) / 30.0f);
  goals_Free();
}

// A live path is taken by its start frame alone: an entry whose active word
// is already 0 still moves its net, and the drawing clears the word.
TEST_F(ObjectsTest, ALiveTrailWithItsActiveWordClearStillMovesItsNet) {
  Start(0, 0, 1, {0, 10, -80});
  goals_Load(1);
  scene3d_bFirstFrame = 1;
  pcframe_Begin();
  FramePacket* p = pcframe_poCurrent;
  p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 0;
  PacketTrail& t = p->aoTrails[1];  // slot 0: the goal at -x
  const float a[3] = {-58.0f, 1.0f, 0.0f}, b[3] = {-62.0f, 1.0f, 0.0f};
  std::copy(a, a + 3, t.afStart);
  std::copy(b, b + 3, t.afEnd);
  t.fSpeed = 40.0f;
  t.uValue = 1;
  t.iStartFrame = 30;
  t.bActive = 0;
  t.bReplayed = 0;
  scene3d_DrawFrame();
  GoalNet* g = goals_apoNets[0];
  EXPECT_EQ(g->iLastTrailFrame, 30);
  EXPECT_EQ(g->oState.bActive, 1);
  EXPECT_EQ(goals_apoNets[1]->oState.bActive, 0);
  EXPECT_EQ(t.bActive, 0);
  goals_Free();
}

TEST_F(ObjectsTest, TheNetPanelsAreDrawnBackToFrontForTheCamera) {
  GoalParams p = goals_ParamsGet(1, false);
  NetGeometry g;
  netgeom_Build(&g, p);
  int32_t order[4];
  // In front of the goal, at head height: roof first... the back behind
  // the sides? From the mouth the back is farthest.
  goalnet_PanelOrder(g, QMathVec3{0.0f, 1.5f, -20.0f}, order);
  EXPECT_EQ(order[0], kNetRoof);
  EXPECT_EQ(order[1], kNetBack);
  // High above the net: the roof last.
  goalnet_PanelOrder(g, QMathVec3{0.0f, 30.0f, 1.0f}, order);
  EXPECT_EQ(order[3], kNetRoof);
  // Behind the goal, low: the back last.
  goalnet_PanelOrder(g, QMathVec3{0.0f, 0.5f, 10.0f}, order);
  EXPECT_EQ(order[3], kNetBack);
  // Beyond the side at +x: that side last.
  goalnet_PanelOrder(g, QMathVec3{10.0f, 1.0f, 1.0f}, order);
  EXPECT_EQ(order[3], kNetSideHigh);
  goalnet_PanelOrder(g, QMathVec3{-10.0f, 1.0f, 1.0f}, order);
  EXPECT_EQ(order[3], kNetSideLow);
}

TEST_F(ObjectsTest, TheSoftwareGoalSortsItsSevenPiecesAndAGoalOutOfViewDrawsNothing) {
  Start(1, 0, 1, {60.0f, 1.5f, -25.0f});  // down the goal line at +x
  WriteFrame("62postb.pcs", {-3.7f, 3.7f});
  WriteFrame("62bar.pcs", {0.0f});
  goals_Load(1);
  GoalNet* g = goals_apoNets[1];
  goalnet_ViewUpdate(g);
  ASSERT_NE(g->iClip, 63);
  scene3d_poSortList->Reset();
  goalnet_DrawSoftware(g, scene3d_poSortList);
  EXPECT_EQ(scene3d_poSortList->uCount, 7u);
  // Looking away (the camera turned round): nothing.
  const int32_t e[3] = {0, 0, 0};
  const float back[3][4] = {{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}};
  scene3d_CameraFromPacket(e, back);
  goalnet_ViewUpdate(g);
  EXPECT_EQ(g->iClip, 63);
  device.calls.clear();
  g->Draw();
  EXPECT_FALSE(Has(device.calls, "BatchBegin 0"));
  goals_Free();
}

// ---- Ball ----------------------------------------------------------------------------------

TEST_F(ObjectsTest, TheBallRestsOnTheGrassAndDrawsItsHighlightOnBothDevices) {
  for (int32_t software = 0; software < 2; ++software) {
    Start(software, 0, 1, {0, 1, -20});
    BallObject b;
    PacketBall pb{};
    pb.iX = 0;
    pb.iHeight = -300;
    pb.iY = 0;
    b.Update(pb);
    EXPECT_FLOAT_EQ(b.mLocal.m[13], 0.127f);

    float su, sv;
    ball_ScrollGet(&su, &sv);
    EXPECT_GE(su, 0.0f);
    EXPECT_LE(su, 0.5f);
    device.calls.clear();
    b.Draw();
    EXPECT_EQ(Count(device.calls, "FaceListDraw"), 2u) << software;  // disc and highlight
    EXPECT_TRUE(Has(device.calls, "RenderStateSet 4 16"));
    EXPECT_TRUE(Has(device.calls, "RenderStateSet 4 32"));
    scene3d_StopOnDevice();
  }
}

// ---- Markers -------------------------------------------------------------------------------

TEST_F(ObjectsTest, AMarkerPlacedTwiceIsDrawnOnceAtTheLastPlace) {
  Start(0, 0, 1, {0, 30, -20});
  MarkerCrosshair m(0);
  m.Place(1.0f, 2.0f);
  m.Place(3.0f, 4.0f);
  EXPECT_FLOAT_EQ(m.oMatrix.m[12], 3.0f);
  EXPECT_FLOAT_EQ(m.oMatrix.m[14], 4.0f);
  m.Draw();
  m.Draw();
  EXPECT_EQ(Count(device.calls, "FaceListDraw"), 1u);
  EXPECT_EQ(device.calls.front(), "RenderStateSet 4 4");
}

TEST_F(ObjectsTest, TheRingTurnsOnlyWhileItsPlayerHasTheBall) {
  Start(0, 0, 1);
  MarkerRing r(2);
  r.Place(0, 0, 1);
  EXPECT_EQ(r.uAngle, 2912);
  EXPECT_EQ(r.iStyle, 2);
  r.Draw();
  r.Place(0, 0, 0);
  EXPECT_EQ(r.uAngle, 2912);
  EXPECT_EQ(r.iStyle, 1);
  device.calls.clear();
  r.Draw();
  EXPECT_TRUE(Has(device.calls, "RenderStateSet 4 36"));
  r.Place(0, 0, 1);
  EXPECT_EQ(r.uAngle, 5824);
  EXPECT_EQ(r.aColours[0].b, 250);  // user 2's colour
}

// The ring of a player with the ball wears his user's numbered texture, of
// one without the plain one: told apart by the first texel of the image the
// set material's texture was registered with.
TEST_F(ObjectsTest, TheRingWearsTheNumberedTextureWithTheBallAndThePlainOneWithout) {
  Scene3DWriteTexture("markers\\plainring.tga", 1, 1, {10, 20, 30});
  Scene3DWriteTexture("markers\\ring3.tga", 1, 1, {200, 100, 50});
  Start(0, 0, 1);
  MarkerRing r(2);
  auto TexelOfLastSet = [&]() {
    EXPECT_FALSE(device.textures.empty());
    if (device.textures.empty()) return std::vector<uint8_t>{};
    const auto* m = static_cast<const Q3DMaterial*>(device.textures.back());
    const auto h = static_cast<size_t>(m->pTexture->iHandle);
    EXPECT_LT(h, device.registered.size());
    if (h >= device.registered.size() || device.registered[h].size() < 3) return std::vector<uint8_t>{};
    return std::vector<uint8_t>(device.registered[h].begin(), device.registered[h].begin() + 3);
  };
  r.Place(0, 0, 1);
  r.Draw();
  EXPECT_EQ(TexelOfLastSet(), (std::vector<uint8_t>{200, 100, 50}));
  r.Place(0, 0, 0);
  r.Draw();
  EXPECT_EQ(TexelOfLastSet(), (std::vector<uint8_t>{10, 20, 30}));
}

TEST_F(ObjectsTest, ThePulseRepeatsItsPairOfColours) {
  // Ten steps of 0.1 in single precision take the blend from full highlight
  // below 0, where it wraps back to full, the phase on.
  MarkerPulse p;
  std::vector<Q3DColour> c1, c2;
  for (int i = 0; i < 40; ++i) {
    Q3DColour a, b;
    p.Step(1, &a, &b);
    c1.push_back(a);
    c2.push_back(b);
  }
  EXPECT_EQ(p.iPhase, (40 / 10) % 3);
  for (int i = 0; i + 10 < 40; ++i) {
    EXPECT_EQ(c1[i].r, c1[i + 10].r) << i;
    EXPECT_EQ(c2[i].g, c2[i + 10].g) << i;
  }
  // Full highlight: C1 is the highlight, C2 the user colour.
  MarkerPulse q;
  q.fBlend = 1.1f;
  Q3DColour a, b;
  q.Step(0, &a, &b);
  EXPECT_EQ(a.r, 222);
  EXPECT_EQ(b.r, 181);
}

TEST_F(ObjectsTest, TheQuadMarkerTakesItsCornersAndItsFlagsColour) {
  Start(0, 0, 1);
  MarkerQuad q;
  const float c[12] = {0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1};
  q.Place(c, 1);
  EXPECT_EQ(q.aColours[0].g, 0);
  EXPECT_FLOAT_EQ(q.aCorner[3].z, 1.0f);
  q.Place(c, 0);
  EXPECT_EQ(q.aColours[2].g, 200);
}

TEST_F(ObjectsTest, TheUserPointerPointsAtItsPlayerFromTheViewsCentreSide) {
  Start(0, 0, 1, {0, 10, -30});
  MarkerUserPointer u(3);
  u.Place(0.0f, 0.0f);
  EXPECT_EQ(u.bVisible, 1);
  EXPECT_EQ(u.aVertex[1].oColour.a, 192);
  // Below the view's centre the pointer's base lies 30 pixels above its tip.
  EXPECT_NEAR(u.aVertex[1].y - u.aVertex[0].y, -30.0f, 1.0f);
  EXPECT_NEAR(u.aVertex[1].x - u.aVertex[0].x, -10.0f, 1.0f);
  u.Draw();
  EXPECT_EQ(u.bVisible, 0);
}

TEST_F(ObjectsTest, TheAimArrowsShadowLiesFlatOnTheGrass) {
  Start(1, 0, 1);
  MarkerAimArrow a;
  a.Place(5.0f, 6.0f, 16384, 4000);
  EXPECT_FLOAT_EQ(a.oShadowMatrix.m[1], 0.0f);
  EXPECT_FLOAT_EQ(a.oShadowMatrix.m[5], 0.0f);
  EXPECT_FLOAT_EQ(a.oShadowMatrix.m[9], 0.0f);
  EXPECT_FLOAT_EQ(a.oShadowMatrix.m[12], 5.0f);
  EXPECT_NE(a.oMatrix.m[9], 0.0f);  // the arrow itself is lofted
  a.ShadowDraw();
  EXPECT_TRUE(Has(device.calls, "ParameterSet 1 0,0,0,48"));
  EXPECT_EQ(a.bVisible, 1);
  a.Draw();
  EXPECT_TRUE(Has(device.calls, "ParameterSet 1 181,0,16,96"));
  EXPECT_EQ(a.bVisible, 0);
}

}  // namespace

namespace {

TEST_F(ObjectsTest, TheReplayViewIsKeptAndNoReplayBufferWritesNoPlayers) {
  pcframe_Begin();
  const uint32_t words[3] = {7, 8, 9};
  pcframe_ReplayViewSet(words, -12);
  EXPECT_EQ(pcframe_oReplayView.auWords[2], 9u);
  EXPECT_EQ(pcframe_oReplayView.iValue, -12);
  pcframe_PlayersStoreReplay();
  EXPECT_EQ(pcframe_poCurrent->aiSnapshotCounts[PCFRAME_COUNT_HOME], 0);
  EXPECT_EQ(pcframe_poCurrent->aiSnapshotCounts[PCFRAME_COUNT_AWAY], 0);
}

TEST_F(ObjectsTest, TheMatchIsDrawnThroughTheSceneWhileARendererRuns) {
  EXPECT_EQ(scene3d_bDrawsMatch(), 0);
  Start(1, 0, 1);
  EXPECT_EQ(scene3d_bDrawsMatch(), 1);
  scene3d_StopOnDevice();
  EXPECT_EQ(scene3d_bDrawsMatch(), 0);
}

}  // namespace

namespace {

size_t First(const Calls& c, const std::string& s, size_t from = 0) {
  for (size_t i = from; i < c.size(); ++i)
    if (c[i] == s) return i;
  return c.size();
}

// The hardware pass lays the ground's shading, then the ball, then
// multiplies the grass over them; the stadium follows the ground, the nets
// come last. The software pass starts from a cleared frame and paints the
// grass plainly.
TEST_F(ObjectsTest, ThePassesDrawTheGroundObjectsInTheirOrder) {
  for (int32_t software = 0; software < 2; ++software) {
    WriteShell("gen1.pcs", {0, 1});
    WriteShell("SWgen1.pcs", {0, 1});
    Start(software, 0, 1, {0, 3, -40});
    Scene3D* s = scene3d_poScene;
    s->poPitch = new Pitch3D(0);
    s->poStadium = new Stadium3D();
    s->MarkersCreate();
    goals_Load(1);
    s->BallCreate();
    scene3d_bFirstFrame = 1;
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 1;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) p->oCamera.aafRotation[r][c] = r == c ? 1.0f : 0.0f;
    p->oCamera.aiEye[1] = static_cast<int32_t>(3 / SCENE3D_METRES_PER_UNIT);
    p->oCamera.aiEye[2] = static_cast<int32_t>(-40 / SCENE3D_METRES_PER_UNIT);
    p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
    device.calls.clear();
    ASSERT_EQ(scene3d_DrawFrame(), 1);
    const Calls& c = device.calls;
    if (!software) {
      const size_t shading = First(c, "RenderStateSet 4 4"), ball = First(c, "RenderStateSet 4 16"),
                   grass = First(c, "RenderStateSet 4 18"), stadium = First(c, "RenderStateSet 4 32", grass);
      EXPECT_LT(shading, ball);
      EXPECT_LT(ball, grass);
      EXPECT_LT(grass, stadium);
      EXPECT_LT(stadium, c.size());
      EXPECT_NE(First(c, "MeshDraw 1 63"), c.size());  // the stadium's groups
      EXPECT_EQ(c.back(), "Present 1");
    } else {
      EXPECT_EQ(c[1], "Clear");
      EXPECT_LT(First(c, "RenderStateSet 4 16"), First(c, "RenderStateSet 4 32"));
      // The four flags and the ball; both goals lie outside this view.
      EXPECT_EQ(scene3d_poSortList->uCount, 4u + 1u);
      EXPECT_EQ(c.back(), "Present 0");
    }
    scene3d_StopOnDevice();
  }
}

}  // namespace
