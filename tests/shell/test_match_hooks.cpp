// The shell's match hooks over the match records, linked with small fakes of
// the tournament, front-end, animation and frame-packet services so that each
// call can be seen: the strength adjustment of a side and a replayed frame
// put into the frame packet.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/team.h"
#include "matchflow/replay.h"
#include "scene3d/scene3d_services.h"
#include "shell/game.h"
#include "shell/match_services.h"
#include "shell/pcstub.h"
#include "tournament/squad.h"
#include "tournament/tournament_services.h"

namespace {
struct HookFakes {
  int32_t iComputerSide = 0;
  int32_t cComputerSideCalls = 0;
  std::vector<std::pair<int32_t, int32_t>> aRatingCalls;
  std::vector<std::string> asCalls;
  Ball oBallAtStore{};
  int32_t iStoreFlag = -1;
  uint32_t auView[3] = {};
  int16_t iViewValue = -1;
  PCFrameTrail* poTrail = nullptr;
  int32_t iTrailFrame = -1;
};
HookFakes g_oFakes;

// A rating that depends on both words, so a swapped or stale word shows.
int32_t FakeRating(int32_t iTeam, int32_t iEdition) { return (iTeam * 7 + iEdition * 3) % 16; }
}  // namespace

// ---- Fakes of the services the hooks call ---------------------------------------
int32_t result_RatingGet(int32_t iWord1, int32_t iWord2) {
  g_oFakes.aRatingCalls.emplace_back(iWord1, iWord2);
  return FakeRating(iWord1, iWord2);
}
int32_t pcsides_ComputerSideGet() {
  ++g_oFakes.cComputerSideCalls;
  return g_oFakes.iComputerSide;
}
void pctext_MessageDraw() {}
void anim_BallAtHolderPlace() { g_oFakes.asCalls.push_back("holder"); }
void pcframe_ReplayViewSet(const uint32_t auWords[3], int16_t iValue) {
  g_oFakes.asCalls.push_back("view");
  std::memcpy(g_oFakes.auView, auWords, sizeof g_oFakes.auView);
  g_oFakes.iViewValue = iValue;
}
void pcframe_BallStore(int32_t bFlag) {
  g_oFakes.asCalls.push_back("ball");
  g_oFakes.oBallAtStore = *ball_Get();
  g_oFakes.iStoreFlag = bFlag;
  ball_Get()->iSpinRate = 0;  // the store consumes the spin
}
void pcframe_TrailReplay(PCFrameTrail* poTrail, int32_t iFrame) {
  g_oFakes.asCalls.push_back("trail");
  g_oFakes.poTrail = poTrail;
  g_oFakes.iTrailFrame = iFrame;
}
void pcframe_PlayersStoreReplay() { g_oFakes.asCalls.push_back("players"); }

namespace {
class MatchHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    g_oFakes = HookFakes{};
    ball_oBall = Ball{};
  }
};

TEST_F(MatchHooks, StrengthAdjustRecomputesTheRatingFromTheSquadsTeamAndEdition) {
  Squad oHomeSquad{};
  oHomeSquad.iTeamId = 17;
  oHomeSquad.iEdition = 4;
  Squad oAwaySquad{};
  oAwaySquad.iTeamId = 120;
  oAwaySquad.iEdition = 9;
  MatchTeam oHome{};
  oHome.Squad = &oHomeSquad;
  oHome.iRating = 99;  // stale
  MatchTeam oAway{};
  oAway.Squad = &oAwaySquad;
  oAway.iRating = 99;

  pcstub_HomeStrengthAdjust(&oHome);
  pcstub_AwayStrengthAdjust(&oAway);
  ASSERT_EQ(g_oFakes.aRatingCalls.size(), 2u);
  EXPECT_EQ(g_oFakes.aRatingCalls[0], std::make_pair(17, 4));
  EXPECT_EQ(g_oFakes.aRatingCalls[1], std::make_pair(120, 9));
  EXPECT_EQ(oHome.iRating, FakeRating(17, 4));
  EXPECT_EQ(oAway.iRating, FakeRating(120, 9));
  EXPECT_EQ(g_oFakes.cComputerSideCalls, 2);
}

TEST_F(MatchHooks, TheUnitHandicapLeavesTheRatingOfTheComputersSideWhole) {
  EXPECT_EQ(pcstub_fGetHandicap(), 1.0f);
  EXPECT_EQ(pcstub_iGetScreenWidth(), 640);
  EXPECT_EQ(pcstub_iGetScreenHeight(), 240);
  EXPECT_EQ(pcstub_iGetDirectorBatch(), 7);
  Squad oSquad{};
  MatchTeam oTeam{};
  oTeam.Squad = &oSquad;
  // Every rating 0..15, with the computer on no side, on this side or on the other.
  for (int32_t iSide = 0; iSide <= 2; ++iSide) {
    g_oFakes.iComputerSide = iSide;
    for (int32_t iTeam = 0; iTeam < 16; ++iTeam) {
      oSquad.iTeamId = iTeam;
      oSquad.iEdition = iTeam % 11;
      pcstub_HomeStrengthAdjust(&oTeam);
      EXPECT_EQ(oTeam.iRating, FakeRating(iTeam, iTeam % 11)) << "home, computer side " << iSide;
      oTeam.iRating = -1;
      pcstub_AwayStrengthAdjust(&oTeam);
      EXPECT_EQ(oTeam.iRating, FakeRating(iTeam, iTeam % 11)) << "away, computer side " << iSide;
    }
  }
}

TEST_F(MatchHooks, ASideWithoutASquadKeepsItsRating) {
  MatchTeam oTeam{};
  oTeam.iRating = 6;
  g_oFakes.iComputerSide = 1;
  pcstub_HomeStrengthAdjust(&oTeam);
  EXPECT_EQ(oTeam.iRating, 6);
  EXPECT_TRUE(g_oFakes.aRatingCalls.empty());
}

// A live ball in flight and frame 5 of the ring with a replayed ball.
void LiveAndReplayedBallSet() {
  Ball* poBall = ball_Get();
  poBall->iX128 = 1000 * 128 + 77;
  poBall->iHeight128 = 200 * 128 + 5;
  poBall->iY128 = -3000 * 128 - 9;
  poBall->iHeading = 123;
  poBall->iElevation = 30;
  poBall->iRollAngle = 4567;
  poBall->iSpinAxisX = 4;
  poBall->iSpinAxisY = 0;
  poBall->iSpinAxisZ = -3;
  poBall->iSpinRate = 900;
  poBall->iKind = 5;
  poBall->iHSpeed = 1500;
  poBall->iPrevX128 = 999 * 128;

  ReplaySide* poSide = replay_poSideGet(5);
  poSide->oBall = ReplayBall{-9000, 300, 4000, 700, 12, -20000, 1, 2, 3, 456};
  poSide->auPresentation[0] = 0xA1;
  poSide->auPresentation[1] = 0xB2;
  poSide->auPresentation[2] = 0xC3;
  poSide->iReference = 250;
}

TEST_F(MatchHooks, AReplayedFrameStoresTheRecordedBallAndKeepsTheLiveOne) {
  LiveAndReplayedBallSet();
  const Ball oLive = ball_oBall;

  game_ReplayFrameApply(5, 5);

  EXPECT_EQ(g_oFakes.asCalls, (std::vector<std::string>{"holder", "view", "ball", "trail", "players"}));
  // The packet got the replayed ball, in its replay form.
  EXPECT_EQ(g_oFakes.iStoreFlag, 1);
  const Ball& oStored = g_oFakes.oBallAtStore;
  EXPECT_EQ(oStored.iX128, -9000 * 128);
  EXPECT_EQ(oStored.iHeight128, 300 * 128);
  EXPECT_EQ(oStored.iY128, 4000 * 128);
  EXPECT_EQ(ball_XGet(&oStored), -9000);
  EXPECT_EQ(oStored.iHeading, 700);
  EXPECT_EQ(oStored.iElevation, 12);
  EXPECT_EQ(oStored.iRollAngle, -20000);
  EXPECT_EQ(oStored.iSpinAxisX, 1);
  EXPECT_EQ(oStored.iSpinAxisY, 2);
  EXPECT_EQ(oStored.iSpinAxisZ, 3);
  EXPECT_EQ(oStored.iSpinRate, 456);
  // Words the frame does not carry are the live ones.
  EXPECT_EQ(oStored.iKind, 5);
  EXPECT_EQ(oStored.iHSpeed, 1500);
  EXPECT_EQ(oStored.iPrevX128, 999 * 128);

  // The live ball is back whole, the spin the store consumed included.
  EXPECT_EQ(std::memcmp(&ball_oBall, &oLive, sizeof oLive), 0);

  EXPECT_EQ(g_oFakes.auView[0], 0xA1u);
  EXPECT_EQ(g_oFakes.auView[1], 0xB2u);
  EXPECT_EQ(g_oFakes.auView[2], 0xC3u);
  EXPECT_EQ(g_oFakes.iViewValue, 0);  // at the reference frame
  EXPECT_EQ(g_oFakes.poTrail, &replay_poSideGet(5)->oTrail);
  EXPECT_EQ(g_oFakes.iTrailFrame, 5);
}

TEST_F(MatchHooks, TheReferenceValueIsNegatedBeforeTheReferenceFrame) {
  LiveAndReplayedBallSet();
  game_ReplayFrameApply(5, 9);
  EXPECT_EQ(g_oFakes.iViewValue, -250);
  game_ReplayFrameApply(5, 2);
  EXPECT_EQ(g_oFakes.iViewValue, 250);
  game_ReplayFrameApply(5, 6);
  EXPECT_EQ(g_oFakes.iViewValue, -250);
  game_ReplayFrameApply(5, 4);
  EXPECT_EQ(g_oFakes.iViewValue, 250);

  replay_poSideGet(5)->iReference = -32768;  // no 16-bit negation: the nearest value
  game_ReplayFrameApply(5, 6);
  EXPECT_EQ(g_oFakes.iViewValue, 32767);
  replay_poSideGet(5)->iReference = -7;
  game_ReplayFrameApply(5, 317);
  EXPECT_EQ(g_oFakes.iViewValue, 7);
}

TEST_F(MatchHooks, TheBallsPositionInUnitsDividesTheFinePositionTowardZero) {
  Ball oBall{};
  oBall.iX128 = -129;
  oBall.iHeight128 = 255;
  oBall.iY128 = -128;
  EXPECT_EQ(ball_XGet(&oBall), -1);
  EXPECT_EQ(ball_HeightGet(&oBall), 1);
  EXPECT_EQ(ball_YGet(&oBall), -1);
  EXPECT_EQ(ball_Get(), &ball_oBall);
}

TEST_F(MatchHooks, TheRingHas318FramesOf644Bytes) {
  EXPECT_EQ(sizeof(ReplayFrame) * REPLAY_FRAMES, 204792u);
  EXPECT_NE(replay_poSideGet(0), replay_poSideGet(317));
  EXPECT_DEATH(replay_poSideGet(318), "iFrame < REPLAY_FRAMES");
  EXPECT_DEATH(replay_poSideGet(-1), "iFrame >= 0");
  EXPECT_DEATH(game_ReplayFrameApply(318, 0), "REPLAY_FRAMES");
}
}  // namespace
