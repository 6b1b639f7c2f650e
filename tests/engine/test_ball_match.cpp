// Two minutes of loose-ball football: computer players chase the ball, take
// it and play it on with the strike callbacks, the ball flies, bounces,
// rolls, hits the goal frame and leaves the pitch. Every tick is hashed
// (ball in 1/128 units, owners, path index, random state); two runs must
// agree and match the recorded file (KORVENA_UPDATE_GOLDEN=1 rewrites it).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2_fixture.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/target.h"
#include "framework/math/qmath.h"
#include "shell/vsync.h"
#include "support/golden.h"

namespace {

constexpr int kTicks = 2 * 60 * 30;

struct Tally {
  int cKicks = 0;
  int cBounces = 0;
  int cStops = 0;
  int cRestarts = 0;
  int cFrameHits = 0;  // posts and crossbar
  int cNetHits = 0;
  int iMaxAbsX = 0;
  int iMaxAbsY = 0;
  int cHeaders = 0;  // high balls met with the head
};

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
  for (int i = 0; i < 8; i++) {
    h ^= (v >> (8 * i)) & 0xFF;
    h *= 1099511628211ull;
  }
  return h;
}

int Rand(int n) { return static_cast<int>(QMathRandRange(static_cast<std::uint32_t>(n))); }

class BallMatch : public EngineSides {
 protected:
  // iSkip draws are taken from the generator first: another course of play.
  std::vector<std::uint64_t> Run(Tally* poTally, std::uint32_t iSkip = 0) {
    SetUp();
    QMathRandState oState;
    QMathRandStateInitial(&oState);
    QMathRandStateRestore(&oState);
    if (iSkip > 0) QMathRandSkip(iSkip);
    vsync_iFrame = 0;
    // Loose-ball football without a referee: stoppages are only reported.
    referee_OffSet(1);
    int cReports = referee_oLastCall.cCalls;
    Player* poHolder = Home(6);
    Place(poHolder, 0, 0, 0);
    newballA_OwnerSet(poHolder, 1);
    int iHeld = 0;
    int iRestartAt = -1;
    int iOutX = 0;
    int iOutY = 0;
    std::uint64_t iChain = 1469598103934665603ull;
    std::vector<std::uint64_t> aHashes;
    for (int iTick = 0; iTick < kTicks; iTick++) {
      vsync_iFrame = iTick;
      Ball* pb = &ball_oBall;
      int iKindBefore = pb->iKind;
      int iHeadingBefore = pb->iHeading;
      int iNetSoundBefore = ball_iNetSoundFrame;
      ball_Update();
      if (pb->iKind == BALL_KIND_NONE && iKindBefore != BALL_KIND_NONE && pb->poOwner == nullptr) poTally->cStops++;
      if (pb->iT == 0 && iKindBefore != BALL_KIND_NONE && pb->iState == BALL_STATE_FREE) poTally->cBounces++;
      if (iRestartAt < 0) {
        poTally->iMaxAbsX = std::max(poTally->iMaxAbsX, std::abs(ball_CurXGet()));
        poTally->iMaxAbsY = std::max(poTally->iMaxAbsY, std::abs(ball_CurYGet()));
      }

      if (pb->iHeading != iHeadingBefore && std::abs(ball_CurXGet()) == BALL_GOAL_LINE_X - 28) poTally->cFrameHits++;
      if (ball_iNetSoundFrame != iNetSoundBefore) poTally->cNetHits++;

      if (referee_oLastCall.cCalls != cReports && iRestartAt < 0) {
        // Out of play: the ball runs on (into the net, off the pitch) for the
        // moments before the whistle, then a player of the other side
        // restarts from where it went out.
        iRestartAt = iTick + 40;
        iOutX = referee_oLastCall.x;
        iOutY = referee_oLastCall.y;
      }
      cReports = referee_oLastCall.cCalls;
      if (iTick == iRestartAt) {
        iRestartAt = -1;
        poTally->cRestarts++;
        int x = std::max(-9000, std::min(9000, iOutX));
        int y = std::max(-5600, std::min(5600, iOutY));
        Player* poLast = pb->pplyrWhoKicked;
        Player* poTaker = poLast != nullptr && poLast->MyTeam == player_PlaysFor_Home ? Away(1 + Rand(9)) : Home(1 + Rand(9));
        Place(poTaker, x, y, 0);
        ball_PositionSet(pb, x, 0, y);
        pb->iState = BALL_STATE_FREE;
        newballA_OwnerSet(poTaker, 1);
        iHeld = 0;
      }

      if (pb->poOwner != nullptr) {
        Player* pp = pb->poOwner;
        ball_PlaceAt(pb, PlayerO_XGet(pp), 0, PlayerO_YGet(pp));
        if (++iHeld >= 8) {
          Kick(pp);
          poTally->cKicks++;
          iHeld = 0;
        }
      } else if (iRestartAt < 0) {
        // The chasers run (or walk out their delays); near the ball, where the
        // touch machine would take over, they take it.
        for (int iSide : {player_PlaysFor_Home, player_PlaysFor_Away}) {
          Player* pp = chaser_poGet(iSide);
          if (pp == nullptr) continue;
          Player* apo[1] = {pp};
          if (chaser_ChaseTake(apo, 1) != pp) continue;
          std::uint32_t eAnim = anim_RequestGet(&pp->oAnimInfo);
          int iSpeed = eAnim == ANIM_RUN ? 26 : (eAnim == ANIM_WALK ? 10 : 0);
          int dx = pp->iInterceptX - PlayerO_XGet(pp);
          int dy = pp->iInterceptY - PlayerO_YGet(pp);
          int d = static_cast<int>(ball_ISqrt(static_cast<std::uint64_t>(dx * dx + dy * dy)));
          if (d > 0) {
            int iStep = std::min(d, iSpeed);
            Place(pp, PlayerO_XGet(pp) + dx * iStep / d, PlayerO_YGet(pp) + dy * iStep / d,
                  ball_HeadingTo(dx, dy));
          }
          int bx = ball_CurXGet() - PlayerO_XGet(pp);
          int by = ball_CurYGet() - PlayerO_YGet(pp);
          bool bMayTake = pp != pb->pplyrWhoKicked || pb->iFramesWithoutOwner > 20;
          if (bMayTake && bx * bx + by * by < 160 * 160 && ball_HeightGet(pb) < 96) {
            newballA_OwnerSet(pp, 1);
            iHeld = 0;
            break;
          }
          if (bMayTake && bx * bx + by * by < 160 * 160 && ball_HeightGet(pb) < 260) {
            // A high ball within reach is headed on toward a mate.
            Head(pp);
            if (pb->iKind == BALL_KIND_HIGH_HEADER) poTally->cHeaders++;
            break;
          }
        }
      }

      QMathRandState oRand;
      QMathRandStateSave(&oRand);
      iChain = Mix(iChain, static_cast<std::uint32_t>(pb->iX128));
      iChain = Mix(iChain, static_cast<std::uint32_t>(pb->iHeight128));
      iChain = Mix(iChain, static_cast<std::uint32_t>(pb->iY128));
      iChain = Mix(iChain, pb->poOwner != nullptr ? pb->poOwner->ID : 255);
      iChain = Mix(iChain, pb->poPrevOwner != nullptr ? pb->poPrevOwner->ID : 255);
      iChain = Mix(iChain, static_cast<std::uint32_t>(ball_PathIndexGet()));
      for (std::uint32_t w : oRand.table) iChain = Mix(iChain, w);
      iChain = Mix(iChain, oRand.j * 256u + oRand.k);
      if ((iTick + 1) % 30 == 0) aHashes.push_back(iChain);
    }
    referee_OffSet(0);
    return aHashes;
  }

  // A player meets a loose high ball with his head, toward a mate.
  void Head(Player* pp) {
    int iGoalX = pp->Direction == 1 ? 9360 : -9360;
    target_Start(nullptr, ball_HeadingTo(iGoalX - PlayerO_XGet(pp), -PlayerO_YGet(pp)), 0);
    Player* poMate = (pp->MyTeam == player_PlaysFor_Home ? Home(1) : Away(1)) + Rand(9);
    target_ReceiverSet(poMate != pp ? poMate : nullptr);
    target_HeaderSet(pp, 100, 12);
    target_DoTapHeader(pp);
  }

  // The holder plays the ball on: a pass, a long ball, a lob, a volley, a
  // header to a mate, or a shot near goal.
  void Kick(Player* pp) {
    int iGoalX = pp->Direction == 1 ? 9360 : -9360;
    int iToGoal = ball_HeadingTo(iGoalX - PlayerO_XGet(pp), -PlayerO_YGet(pp));
    target_Start(nullptr, iToGoal + Rand(300) - 150, 0);
    Player* poMate = (pp->MyTeam == player_PlaysFor_Home ? Home(1) : Away(1)) + Rand(9);
    target_ReceiverSet(poMate != pp ? poMate : nullptr);
    target_PowerSet(20 + Rand(60));
    target_KindSet(Rand(2));
    target_DistanceSet(800 + Rand(3200));
    Place(pp, PlayerO_XGet(pp), PlayerO_YGet(pp), target_AngleGet());
    target_HeaderSet(pp, 100, 12);
    int iChoice = std::abs(iGoalX - PlayerO_XGet(pp)) < 3200 ? 6 : Rand(5);
    switch (iChoice) {
      case 0: target_DoAngledKick(pp); break;
      case 1: target_DoLob(pp); break;
      case 2: target_DoVolley(pp); break;
      case 3: target_DoTapHeader(pp); break;
      case 4: target_DoHeaderPass(pp); break;
      default: target_DoShotRandom(pp); break;
    }
    if (ball_oBall.poOwner == pp) newballA_OwnerSet(nullptr, 0);
  }
};

std::string GoldenPath() {
  const char* pszDir = std::getenv("KORVENA_SOURCE_DIR");
  return std::string(pszDir != nullptr ? pszDir : ".") + "/tests/engine/golden/ball_match.txt";
}

TEST_F(BallMatch, TwoMinutesAreDeterministic) {
  Tally oFirst, oSecond;
  std::vector<std::uint64_t> aFirst = Run(&oFirst);
  std::vector<std::uint64_t> aSecond = Run(&oSecond);
  ASSERT_EQ(aFirst.size(), static_cast<size_t>(kTicks / 30));
  for (size_t i = 0; i < aFirst.size(); i++) ASSERT_EQ(aFirst[i], aSecond[i]) << "second " << i + 1;

  // What a player sees: plenty of kicks, bounces that die into rolls, balls
  // that leave the pitch, posts or bar and nets struck, high balls headed on,
  // and the ball on the pitch or in the nets until the whistle.
  EXPECT_GT(oFirst.cKicks, 30);
  EXPECT_GT(oFirst.cBounces, 30);
  EXPECT_GT(oFirst.cStops, 3);
  EXPECT_GT(oFirst.cRestarts, 3);
  // Posts and bar are struck now and then: within a dozen courses of play.
  std::int32_t cFrameHits = oFirst.cFrameHits;
  for (std::uint32_t iSkip = 1; iSkip <= 12 && cFrameHits == 0; iSkip++) {
    Tally oOther;
    Run(&oOther, iSkip);
    cFrameHits += oOther.cFrameHits;
  }
  EXPECT_GT(cFrameHits, 0);
  EXPECT_GT(oFirst.cNetHits, 0);
  EXPECT_GT(oFirst.cHeaders, 0);
  EXPECT_LE(oFirst.iMaxAbsX, 9360 + 4 * 60 + 200);
  EXPECT_LE(oFirst.iMaxAbsY, 5760 + 200);

  std::ostringstream oText;
  for (std::uint64_t h : aFirst) {
    char sz[24];
    std::snprintf(sz, sizeof(sz), "%016llx\n", static_cast<unsigned long long>(h));
    oText << sz;
  }
  if (korvena_test::UpdatingGolden()) {
    std::ofstream(GoldenPath()) << oText.str();
    GTEST_SKIP() << "golden file rewritten";
  }
  std::ifstream oIn(GoldenPath());
  ASSERT_TRUE(oIn.good()) << GoldenPath();
  std::string sLine;
  for (size_t i = 0; i < aFirst.size(); i++) {
    ASSERT_TRUE(std::getline(oIn, sLine)) << "golden file ends at second " << i;
    char sz[24];
    std::snprintf(sz, sizeof(sz), "%016llx", static_cast<unsigned long long>(aFirst[i]));
    ASSERT_EQ(sLine, sz) << "first difference at second " << i + 1;
  }
}

}  // namespace
