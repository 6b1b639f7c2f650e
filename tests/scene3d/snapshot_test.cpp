#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/ball.h"
#include "scene3d/pcframe.h"
#include "scene3d/pcframe_snapshot.h"
#include "scene3d/scene3d_services.h"
#include "shell/pcmain_states.h"

namespace {

struct Snapshot : ::testing::Test {
  void SetUp() override {
    pcframe_Init();
    pcframe_Begin();
  }
  void TearDown() override { pcframe_Shutdown(); }
  FramePacket* P() { return pcframe_poCurrent; }
};

TEST(HeadTurn, TargetsAndSteps) {
  // Facing 0 looks along +x; the target is the ball's direction relative
  // to the facing.
  struct Case {
    int32_t px, py, bx, by;
    uint16_t facing, want;
  } cases[] = {
      {0, 0, 100, 0, 0, 0},                // ahead
      {0, 0, 100, -100, 0, 8192},          // 45 degrees: unchanged
      {0, 0, 0, -100, 0, 10922},           // 90 degrees: clamped to 60
      {0, 0, -100, 0, 0, 0},               // behind: look ahead
      {0, 0, 0, 100, 0, 54614},            // 90 degrees the other way: clamped
      {0, 0, 100, 100, 0, 57344},          // -45: unchanged
      {0, 0, 0, -100, 16384, 0},           // the facing turns with it
      {0, 0, -17364, -98481, 0, 0},        // exactly 18204 (100 degrees): look ahead
      {5000, 7000, 5100, 6900, 0, 8192},   // only the difference counts
  };
  for (const Case& c : cases)
    EXPECT_EQ(pcframe_iHeadTargetGet(c.px, c.py, c.bx, c.by, c.facing), c.want) << c.bx << "," << c.by;
  // Turning toward 60 degrees right, 8 a frame, stopping at the limit.
  uint16_t head = 0;
  std::vector<uint16_t> seen;
  for (int i = 0; i < 10; ++i) seen.push_back(head = pcframe_HeadTurn(head, 10922));
  EXPECT_EQ(seen, (std::vector<uint16_t>{1456, 2912, 4368, 5824, 7280, 8736, 10192, 10922, 10922, 10922}));
  // And back to 0 when the ball goes behind.
  for (int i = 0; i < 7; ++i) head = pcframe_HeadTurn(head, 0);
  EXPECT_EQ(head, 730);
  EXPECT_EQ(pcframe_HeadTurn(head, 0), 0);
  // Left to right through 0, and right to left below 0.
  EXPECT_EQ(pcframe_HeadTurn(64000, 1000), 65456);  // left, target right: on through 0
  EXPECT_EQ(pcframe_HeadTurn(65000, 500), 500);   // wraps to 920, past the target: snaps
  EXPECT_EQ(pcframe_HeadTurn(1000, 60000), static_cast<uint16_t>(1000 - 1456));
  EXPECT_EQ(pcframe_HeadTurn(500, 65000), 65000);  // wraps to 64580, below the target: snaps
  EXPECT_EQ(pcframe_HeadTurn(60000, 56000), 58544);
  EXPECT_EQ(pcframe_HeadTurn(57000, 56000), 56000);
  // Facing from a heading of 802 a turn.
  EXPECT_EQ(pcframe_FacingFromHeading(0), 0);
  EXPECT_EQ(pcframe_FacingFromHeading(401), static_cast<uint16_t>(-180 * 182));
  EXPECT_EQ(pcframe_FacingFromHeading(-200), static_cast<uint16_t>(89 * 182));
}

TEST_F(Snapshot, MarkersAreStoredUpToSixteen) {
  pcframe_AddSpotMarker(10, 20, 1);
  pcframe_AddArrowMarker(30, 40, 1.5, 2);
  pcframe_AddRingMarker(nullptr, 3, 1);
  pcframe_AddUserMarker(50, 60, 0);
  pcframe_AddAimMarker(70, 80, 1234, 99);
  const int32_t quad[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  pcframe_AddQuadMarker(quad, 7);
  const PacketMarker* m = P()->aoMarkers;
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 6);
  EXPECT_EQ(m[0].iKind, PCFRAME_MARKER_SPOT);
  EXPECT_EQ(m[0].uIndex, 1);
  EXPECT_EQ(m[0].aiCoord[0], 10);
  EXPECT_EQ(m[0].aiCoord[2], 20);
  EXPECT_EQ(m[1].iKind, PCFRAME_MARKER_ARROW);
  EXPECT_DOUBLE_EQ(m[1].dAngle, 1.5);
  EXPECT_EQ(m[2].iKind, PCFRAME_MARKER_RING);
  EXPECT_EQ(m[2].iValue, 1);
  EXPECT_EQ(m[2].uIndex, 3);
  EXPECT_EQ(m[3].iKind, PCFRAME_MARKER_USER);
  EXPECT_EQ(m[4].iKind, PCFRAME_MARKER_AIM);
  EXPECT_EQ(m[4].auValue[0], 1234);
  EXPECT_EQ(m[4].auValue[1], 99);
  EXPECT_EQ(m[5].iKind, PCFRAME_MARKER_QUAD);
  EXPECT_EQ(m[5].aiCoord[11], 12);
  EXPECT_EQ(m[5].iValue, 7);
  for (int i = 6; i < 20; ++i) pcframe_AddSpotMarker(i, i, 0);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 16);
  EXPECT_EQ(P()->aoMarkers[15].aiCoord[0], 15);  // the 17th and later were dropped
  pcframe_Begin();
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 0);
}

TEST_F(Snapshot, BallSpinIsConsumedOnceAndAppliedAgainInAReplay) {
  Ball& b = ball_oBall;
  const Ball saved = b;
  b.iSpinAxisX = 0;
  b.iSpinAxisY = 0;
  b.iSpinAxisZ = 5;
  b.iSpinRate = 16384;  // a quarter turn about z
  b.iKind = 3;
  b.bActive = 1;
  b.iStepStartX = 111;
  b.iStepStartY = 222;
  pcframe_BallStore(0);
  EXPECT_EQ(b.iSpinRate, 0);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_BALL], 1);
  const float* q = P()->oBall.afOrientation;
  const float q1[4] = {q[0], q[1], q[2], q[3]};
  EXPECT_NEAR(std::fabs(q1[2]), std::sqrt(0.5), 1e-3);
  EXPECT_NEAR(std::fabs(q1[3]), std::sqrt(0.5), 1e-3);
  // The ground marker at the previous step.
  ASSERT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 1);
  EXPECT_EQ(P()->aoMarkers[0].iKind, PCFRAME_MARKER_BALL_GROUND);
  EXPECT_EQ(P()->aoMarkers[0].aiCoord[0], 111);
  EXPECT_EQ(P()->aoMarkers[0].aiCoord[2], 222);
  // Live again with no new spin: the orientation stays.
  pcframe_Begin();
  pcframe_BallStore(0);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(P()->oBall.afOrientation[k], q1[k]);
  // A replayed frame applies the kept spin of the last live frame (none now),
  // so keep one and replay twice: each replayed frame turns it once more.
  b.iSpinRate = 16384;
  pcframe_Begin();
  pcframe_BallStore(0);  // half a turn in all
  pcframe_Begin();
  pcframe_BallStore(1);  // three quarters
  EXPECT_NEAR(std::fabs(P()->oBall.afOrientation[2]), std::sqrt(0.5), 1e-3);
  pcframe_Begin();
  pcframe_BallStore(1);  // a whole turn: the identity up to sign
  EXPECT_NEAR(std::fabs(P()->oBall.afOrientation[3]), 1.0, 1e-3);
  // Flight kinds 9 and 15 and an inactive ball add no ground marker.
  for (int32_t kind : {9, 15}) {
    pcframe_Begin();
    b.iKind = kind;
    pcframe_BallStore(0);
    EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 0);
  }
  pcframe_Begin();
  b.iKind = 3;
  b.bActive = 0;
  pcframe_BallStore(0);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], 0);
  b = saved;
}

TEST_F(Snapshot, TrailsInMetresIntoTheirSlotsAndReplayedFromTheirStart) {
  pcmain_iMatchFrame = 100;
  pcframe_TrailAdd(1000, 0, -2000, 1000, 400, -2000, 0, 3);  // slot 0: the second entry
  const PacketTrail& t = P()->aoTrails[1];
  EXPECT_FLOAT_EQ(t.afStart[0], 6.35f);
  EXPECT_FLOAT_EQ(t.afStart[1], 0.142875f);
  EXPECT_FLOAT_EQ(t.afStart[2], -12.7f);
  EXPECT_FLOAT_EQ(t.afEnd[1], static_cast<float>(400 * 0.00635 + 0.142875));
  EXPECT_NEAR(t.fSpeed, 30.0 * 2.54, 1e-4);
  EXPECT_EQ(t.uValue, 3u);
  EXPECT_EQ(t.iStartFrame, 100);
  EXPECT_EQ(t.bActive, 1);
  EXPECT_EQ(t.bReplayed, 0);
  EXPECT_EQ(pcframe_oCurrentTrail.iSlot, 0);
  EXPECT_EQ(pcframe_oCurrentTrail.iStartFrame, 100);
  EXPECT_EQ(P()->aoTrails[0].bActive, 0);  // slot 1's entry untouched
  // A slot that has no net: dropped, the current record unchanged.
  pcframe_TrailAdd(1, 2, 3, 4, 5, 6, 2, 9);
  EXPECT_EQ(pcframe_oCurrentTrail.uValue, 3u);
  // Replayed only from its start frame on.
  PCFrameTrail stored = pcframe_oCurrentTrail;
  stored.iSlot = 1;
  pcframe_Begin();
  pcframe_TrailReplay(&stored, 99);
  EXPECT_EQ(P()->aoTrails[0].bReplayed, 0);
  EXPECT_EQ(P()->aoTrails[0].bActive, 0);
  pcframe_TrailReplay(&stored, 100);
  EXPECT_EQ(P()->aoTrails[0].bReplayed, 1);
  EXPECT_EQ(P()->aoTrails[0].iReplayFrame, 100);
  EXPECT_EQ(P()->aoTrails[0].iStartFrame, 100);
  EXPECT_FLOAT_EQ(P()->aoTrails[0].afStart[0], 6.35f);
  // Reset.
  pcmain_iMatchFrame = 140;
  pcframe_TrailReset(&stored);
  EXPECT_EQ(stored.iStartFrame, 140);
  EXPECT_EQ(stored.bActive, 0);
  EXPECT_EQ(stored.aiEnd[1], 0);
  EXPECT_EQ(pcframe_oCurrentTrail.iSlot, -1);
  pcmain_iMatchFrame = 0;
}

}  // namespace

#include "engine/player.h"
#include "matchflow/matcha.h"
#include "shell/global.h"

namespace {

TEST_F(Snapshot, PlayersBySideWithTheHeadTurnAndTheRefereeExceptInTraining) {
  Player* const savedHome = match.HomeTeam.poPlayers;
  Player* const savedAway = match.AwayTeam.poPlayers;
  const Player h0 = player_aHome[0], a0 = player_aAway[0];
  const GameMode savedMode = global.eExtendedGameMode;
  const Ball savedBall = ball_oBall;
  static const float pose[4] = {1, 2, 3, 4};
  Player& h = player_aHome[0];
  Player& a = player_aAway[0];
  h.MyTeam = player_PlaysFor_Home;
  h.pNext = nullptr;
  h.x = 0;
  h.y = 0;
  h.height = 7;
  h.iFacing = 0;
  h.uHeadAngle = 0;
  h.PositionCode = 0;
  h.oAnimData.bLookAtBall = 1;
  h.oAnimData.bMirror = 1;
  h.oAnimData.pfPose = pose;
  h.oAnimData.uPos = 130;
  a.MyTeam = player_PlaysFor_Away;
  a.pNext = nullptr;
  a.x = 500;
  a.y = 600;
  a.PositionCode = 5;
  a.oAnimData.bLookAtBall = 0;
  a.uHeadAngle = 2000;
  match.HomeTeam.poPlayers = &h;
  match.AwayTeam.poPlayers = &a;
  ball_oBall.iX128 = 0;
  ball_oBall.iY128 = -100 * 128;  // 90 degrees to the home player's side
  global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  std::vector<uint16_t> heads;
  for (int f = 0; f < 9; ++f) {
    pcframe_Begin();
    pcframe_PlayersStore();
    heads.push_back(static_cast<uint16_t>(P()->aoHome[0].uAngles >> 16));
  }
  ASSERT_EQ(ball_YGet(&ball_oBall), -100);
  EXPECT_EQ(heads, (std::vector<uint16_t>{1456, 2912, 4368, 5824, 7280, 8736, 10192, 10922, 10922}));
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_HOME], 1);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_AWAY], 1);
  const PacketPlayer& e = P()->aoHome[0];
  EXPECT_EQ(e.uMirror, 1u);
  EXPECT_EQ(e.uKeeper, 1u);
  EXPECT_EQ(e.iHeight, 7);
  EXPECT_EQ(e.pAnimation, pose);
  EXPECT_EQ(e.uFramePosition, 130u);
  EXPECT_EQ(e.poPlayer, &h);
  EXPECT_EQ(P()->aoAway[0].uKeeper, 0u);
  EXPECT_EQ(P()->aoAway[0].iX, 500);
  // Not watching: the head goes back toward 0.
  EXPECT_EQ(P()->aoAway[0].uAngles >> 16, 0u);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_REFEREE], 1);
  EXPECT_EQ(P()->oReferee.poPlayer, &player_oReferee);
  global.eExtendedGameMode = GAME_MODE_START_TRAINING;
  pcframe_Begin();
  pcframe_PlayersStore();
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_REFEREE], 0);
  match.HomeTeam.poPlayers = savedHome;
  match.AwayTeam.poPlayers = savedAway;
  player_aHome[0] = h0;
  player_aAway[0] = a0;
  global.eExtendedGameMode = savedMode;
  ball_oBall = savedBall;
}

}  // namespace

#include <memory>

#include "engine/anim.h"
#include "matchflow/replay.h"

namespace {

// A replay recorded in training, after a match: the away side has no players
// on the pitch, but the away records still hold the last match's men. The
// replay shows the training side only; with an away side on the pitch its
// players show again.
TEST_F(Snapshot, AReplayShowsNoPlayersOfASideWithNobodyOnThePitch) {
  anim_TableInit();
  Player* const savedHome = match.HomeTeam.poPlayers;
  Player* const savedAway = match.AwayTeam.poPlayers;
  const Player h0 = player_aHome[0], a0 = player_aAway[0];
  const ReplayState savedState = replay_oState;
  ReplayFrame* const savedFrames = replay_poFrames;
  auto frames = std::make_unique<ReplayFrame[]>(REPLAY_FRAMES);
  static DBPlayer stale{};
  Player& h = player_aHome[0];
  Player& a = player_aAway[0];
  for (Player* pp : {&h, &a}) {
    pp->pNext = nullptr;
    pp->Control = 1;
    pp->oAnimData.eActionAnim = ANIM_STAND;
  }
  h.MyTeam = player_PlaysFor_Home;
  a.MyTeam = player_PlaysFor_Away;
  a.pDBPlayer = &stale;  // an earlier match's player
  a.x = 900;
  match.HomeTeam.poPlayers = &h;
  match.AwayTeam.poPlayers = nullptr;
  replay_poFrames = frames.get();
  replay_oState.bRecording = 1;
  replay_oState.iIndex = 0;
  replay_RecordFrame();
  replay_oState.iPublished = 0;
  pcframe_Begin();
  pcframe_PlayersStoreReplay();
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_HOME], 1);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_AWAY], 0);
  match.AwayTeam.poPlayers = &a;
  pcframe_Begin();
  pcframe_PlayersStoreReplay();
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_HOME], 1);
  ASSERT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_AWAY], 1);
  EXPECT_EQ(P()->aoAway[0].iX, 900);
  replay_poFrames = savedFrames;
  replay_oState = savedState;
  match.HomeTeam.poPlayers = savedHome;
  match.AwayTeam.poPlayers = savedAway;
  player_aHome[0] = h0;
  player_aAway[0] = a0;
}

}  // namespace

#include "matchflow/camera.h"

namespace {

TEST_F(Snapshot, TheCameraEyeAndBasisRowsWithItsValidity) {
  CameraView* v = camera_poViewGet();
  ASSERT_NE(v, nullptr);
  const CameraView saved = *v;
  v->aiEye[0] = 100;
  v->aiEye[1] = 2000;
  v->aiEye[2] = -300;
  for (int i = 0; i < 16; ++i) v->oRotation.m[i] = static_cast<float>(i + 1);
  pcframe_CameraStore();
  EXPECT_EQ(P()->oCamera.aiEye[0], 100);
  EXPECT_EQ(P()->oCamera.aiEye[1], 2000);
  EXPECT_EQ(P()->oCamera.aiEye[2], -300);
  EXPECT_EQ(P()->oCamera.aafRotation[0][2], 3.0f);
  EXPECT_EQ(P()->oCamera.aafRotation[1][0], 5.0f);
  EXPECT_EQ(P()->oCamera.aafRotation[2][1], 10.0f);
  EXPECT_EQ(P()->aiSnapshotCounts[PCFRAME_COUNT_CAMERA], camera_bIsViewValid() != 0 ? 1 : 0);
  *v = saved;
}

}  // namespace
