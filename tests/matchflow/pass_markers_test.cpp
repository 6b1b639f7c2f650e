// The user's pass markers in a whole match: while a person's player holds the
// ball in open play, a spot in the person's colour lies under the team-mate a
// pass would go to and an arrow at the holder points at the pass point; the
// chosen team-mate calls for the ball.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "audio/sound.h"
#include "engine/aiopt.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "framework/math/qmatrix.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

// Players move a little in the rest of the tick after the markers are placed.
constexpr std::int32_t kMoved = 100;

struct Watch {
  std::int32_t cHeld = 0;         // ticks a person's player held the ball through
  std::int32_t cMarked = 0;       // ... with the two markers
  std::int32_t cStray = 0;        // markers on ticks the ball was loose through
  std::int32_t cWrong = 0;
  std::int32_t iFirstWrong = -1;
  std::int32_t cCalls = 0;        // the chosen receiver called for the ball
  std::int32_t iLastCall = 0;
  const Player* poPrevOwner = nullptr;

  void Wrong(std::int32_t iTick) {
    if (cWrong++ == 0) iFirstWrong = iTick;
  }

  void Tick(std::int32_t iTick) {
    const Player* poOwner = ball_OwnerGet();
    const bool bUserHolds = global.eGameMode == GAME_MODE_PLAY && poOwner && poOwner == poPrevOwner &&
                            poOwner->Control == PLAYER_CONTROL_USER;
    const bool bLoose = !poOwner && !poPrevOwner;
    poPrevOwner = poOwner;
    const PacketMarker* poSpot = nullptr;
    const PacketMarker* poArrow = nullptr;
    ASSERT_NE(pcframe_poCurrent, nullptr);
    const FramePacket& p = *pcframe_poCurrent;
    for (std::int32_t i = 0; i < p.aiSnapshotCounts[PCFRAME_COUNT_MARKERS] && i < PCFRAME_MARKERS_MAX; i++) {
      const PacketMarker& m = p.aoMarkers[i];
      if (m.iKind == PCFRAME_MARKER_SPOT) poSpot = &m;
      if (m.iKind == PCFRAME_MARKER_ARROW) poArrow = &m;
    }
    if (pchat_o.iLastCallFrame != iLastCall) {
      iLastCall = pchat_o.iLastCallFrame;
      const ReceiverRecord* pr = pass_UserRecordGet();
      if (pchat_o.poShoutSpeaker == pr->poReceiver && pr->poReceiver) cCalls++;
    }
    if (!bUserHolds) {
      if ((poSpot || poArrow) && bLoose) cStray++;
      return;
    }
    cHeld++;
    if (!poSpot || !poArrow) return;
    cMarked++;
    const ReceiverRecord* pr = pass_UserRecordGet();
    const Player* poReceiver = pr->poReceiver;
    if (!poReceiver || poReceiver->MyTeam != poOwner->MyTeam || poReceiver == poOwner) return Wrong(iTick);
    // The spot under the receiver, the arrow at the holder, both in the
    // colour of the person at the controls.
    if (std::abs(poSpot->aiCoord[0] - poReceiver->x) > kMoved || std::abs(poSpot->aiCoord[2] - poReceiver->y) > kMoved)
      return Wrong(iTick);
    if (std::abs(poArrow->aiCoord[0] - poOwner->x) > kMoved || std::abs(poArrow->aiCoord[2] - poOwner->y) > kMoved)
      return Wrong(iTick);
    const User* pu = player_UserGet(poOwner);
    if (!pu || poSpot->uIndex != pu->iIndex || poArrow->uIndex != pu->iIndex) return Wrong(iTick);
    // The arrow turned as the scene turns it points at the pass point.
    const double dx = pr->x - poArrow->aiCoord[0], dy = pr->y - poArrow->aiCoord[2];
    const double d = std::hypot(dx, dy);
    if (d < 48) return;
    QMathMatrix m;
    QMathMatrixIdentity(&m);
    QMathMatrixSetRotateY(&m, static_cast<std::uint16_t>(
                                  static_cast<std::int32_t>(poArrow->dAngle * 180.0 / 3.14159265358979 * 65536.0 / 360.0)));
    const QMathVec3 z = {0.0f, 0.0f, 1.0f};
    QMathVec3 v;
    QMathMatrixRotateVector(&m, &v, &z);
    if ((v.x * dx + v.z * dy) / d < std::cos(2.0 * 3.14159265358979 / 180.0)) Wrong(iTick);
  }
  static void Observe(std::int32_t iTick, void* pv) { static_cast<Watch*>(pv)->Tick(iTick); }
};

TEST(PassMarkers, APersonsHolderSeesWhereHisPassGoesAndTheReceiverCallsForIt) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  Watch w;
  for (std::uint32_t s : {1u, 2u}) {
    mh::Config c;
    c.uSeed = s;
    c.aeSide[0] = mh::SideKind::Monkey;
    c.cTickCap = 12000;
    w.poPrevOwner = nullptr;
    mh::Run(c, nullptr, Watch::Observe, &w);
  }
  EXPECT_EQ(w.cWrong, 0) << "first at tick " << w.iFirstWrong;
  EXPECT_EQ(w.cStray, 0);
  EXPECT_GE(w.cHeld, 100);
  EXPECT_GE(w.cMarked * 10, w.cHeld * 9) << w.cMarked << " of " << w.cHeld;
  EXPECT_GE(w.cCalls, 1);
}

}  // namespace
