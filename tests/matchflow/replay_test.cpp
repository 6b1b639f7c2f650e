// The action replay: the ring in the scratch buffer, playback and stepping,
// and a recorded engine run given back frame by frame.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/camera.h"
#include "matchflow/matcha.h"
#include "matchflow/replay.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/mem.h"

namespace {

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    replay_Reset();
    ASSERT_EQ(mem_Lock, 0);
    global_Init();
    global.bPopRequest = 0;
    match_Clear();
    team_PlayersInit();
    camera_TypesRegister();
    camera_Init();
    camera_oFade = CameraFade{};
  }
  void TearDown() override {
    replay_Reset();
    team_PlayersInit();
  }
  // Runs replay ticks until the shown frame stops changing while playing.
  std::int32_t PlayToRest() {
    std::int32_t n = 0, iLast = -1, cSame = 0;
    while (cSame < 4 && n < 2000) {
      replay_Update();
      cSame = replay_oState.iIndex == iLast ? cSame + 1 : 0;
      iLast = replay_oState.iIndex;
      n++;
    }
    return n - 4;
  }
};

TEST_F(ReplayTest, BufferIsHeldFromRecordingUntilReset) {
  replay_StartRecording();
  EXPECT_TRUE(replay_oState.bRecording);
  EXPECT_TRUE(replay_oState.bPrimed);
  EXPECT_EQ(replay_oState.iIndex, 0);
  EXPECT_EQ(replay_oState.iEnd, 317);
  ASSERT_NE(replay_poFrames, nullptr);
  EXPECT_EQ(mem_pvLock(), nullptr);  // nobody else may borrow it meanwhile
  replay_ClearRecording();
  EXPECT_EQ(mem_pvLock(), nullptr);  // stopping keeps the frames
  replay_StartRecording();           // a restart keeps the one borrow
  EXPECT_EQ(mem_Lock, 1);
  replay_Reset();
  EXPECT_EQ(replay_poFrames, nullptr);
  void* pv = mem_pvLock();
  EXPECT_NE(pv, nullptr);
  // With the buffer taken by somebody else, recording does not start.
  replay_StartRecording();
  EXPECT_FALSE(replay_oState.bRecording);
  replay_RecordFrame();
  EXPECT_EQ(replay_poFrames, nullptr);
  mem_Unlock();
}

TEST_F(ReplayTest, PlaybackAndSteppingBeforeTheFirstWrap) {
  replay_StartRecording();
  for (std::int32_t i = 0; i < 60; i++) replay_RecordFrame();
  EXPECT_EQ(replay_oState.iIndex, 60);
  EXPECT_EQ(replay_oState.iEnd, 59);
  replay_Enter();
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_RPY);
  EXPECT_EQ(replay_oState.iIndex, 0);
  EXPECT_EQ(replay_oState.iSavedIndex, 60);
  EXPECT_EQ(replay_oState.iPublished, -1);
  // One frame every second tick, then it stays on the last one.
  EXPECT_EQ(PlayToRest(), 59 * 2);
  EXPECT_EQ(replay_oState.iIndex, 59);
  EXPECT_EQ(replay_oState.iPublished, 59);
  replay_EventHandle(99);  // step forward at the end
  EXPECT_EQ(replay_oState.iIndex, 59);
  EXPECT_FALSE(replay_oState.bPlaying);
  for (std::int32_t i = 0; i < 70; i++) replay_EventHandle(100);
  EXPECT_EQ(replay_oState.iIndex, 0);  // the oldest frame stops the steps back
  replay_EventHandle(102);
  EXPECT_EQ(replay_oState.iIndex, 1);
  replay_EventHandle(101);
  EXPECT_TRUE(replay_oState.bPlaying);
  // Zoom and orbit keep their limits.
  for (std::int32_t i = 0; i < 30; i++) replay_EventHandle(104);
  EXPECT_EQ(replay_iDistanceGet(), 2880);
  for (std::int32_t i = 0; i < 30; i++) replay_EventHandle(105);
  EXPECT_EQ(replay_iDistanceGet(), 7200);
  replay_EventHandle(107);
  EXPECT_EQ(replay_uOrbitAngleGet(), 49152 - 546);

  // Leaving through the white fade: once it holds, the match goes on.
  replay_EventHandle(83);
  EXPECT_TRUE(replay_oState.bLeaving);
  std::int32_t n = 0;
  while (replay_oState.bLeaving && n < 100) {
    replay_Update();
    n++;
  }
  EXPECT_TRUE(camera_bIsFadeHolding());
  EXPECT_EQ(n, 10);  // start, wait, seven rising ticks, then the first white one
  EXPECT_TRUE(global.bPopRequest);
  EXPECT_TRUE(replay_oState.bRecording);
  EXPECT_EQ(replay_oState.iIndex, 60);
  EXPECT_NE(camera_iCurrentGet(), CAMERA_RPY);
}

TEST_F(ReplayTest, PlaybackAfterTheRingHasWrapped) {
  replay_StartRecording();
  for (std::int32_t i = 0; i < 318 + 100; i++) replay_RecordFrame();
  EXPECT_FALSE(replay_oState.bPrimed);
  EXPECT_EQ(replay_oState.iIndex, 100);
  EXPECT_EQ(replay_oState.iEnd, 99);
  replay_Enter();
  EXPECT_EQ(replay_oState.iIndex, 100);  // the oldest frame
  EXPECT_EQ(replay_iProgressGet(100, 99), 0);
  EXPECT_EQ(replay_iProgressGet(99, 99), 103);
  EXPECT_EQ(replay_iProgressGet(317, 99), (218 * 103) / 318);
  EXPECT_EQ(replay_iProgressGet(0, 99), (219 * 103) / 318);
  replay_EventHandle(100);  // step back at the oldest frame
  EXPECT_EQ(replay_oState.iIndex, 100);
  replay_oState.bPlaying = 1;
  EXPECT_EQ(PlayToRest(), 317 * 2);
  EXPECT_EQ(replay_oState.iIndex, 99);
  // Back across the wrap: 99 .. 0, 317 .. 100, and no further.
  for (std::int32_t i = 0; i < 100; i++) replay_EventHandle(103);
  EXPECT_EQ(replay_oState.iIndex, 317);
  for (std::int32_t i = 0; i < 400; i++) replay_EventHandle(103);
  EXPECT_EQ(replay_oState.iIndex, 100);
  for (std::int32_t i = 0; i < 218; i++) replay_EventHandle(99);
  EXPECT_EQ(replay_oState.iIndex, 0);
  for (std::int32_t i = 0; i < 500; i++) replay_EventHandle(99);
  EXPECT_EQ(replay_oState.iIndex, 99);
  // The pause menu's replay leaves at once.
  global.aStack[0].eMode = GAME_MODE_PAUSE_MENU;
  global.aStack[1].eMode = GAME_MODE_REPLAY;
  global.iStackPointer = 2;
  replay_EventHandle(83);
  EXPECT_FALSE(replay_oState.bLeaving);
  EXPECT_TRUE(global.bPopRequest);
  EXPECT_EQ(replay_oState.iIndex, 100);
}

TEST_F(ReplayTest, EventsOfTheUsersPortsDriveThePlayback) {
  input_BindingTablesClear();
  input_PortsInit();
  input_DefaultBindingsRegister();
  input_FirstFreeUserAttach();
  User* pu = &user_aUsers[0];
  input_bUserActivate(pu);
  ASSERT_TRUE(pu->bActive);
  ASSERT_NE(pu->pip, nullptr);
  replay_StartRecording();
  for (std::int32_t i = 0; i < 30; i++) replay_RecordFrame();
  replay_Enter();
  EXPECT_EQ(pu->pip->eBinding, 31);  // the replay controls
  auto queue = [&](std::int32_t iEvent) {
    InputEvent* e = nullptr;
    ASSERT_TRUE(input_bEventAlloc(&e));
    e->eEvent = iEvent;
    queue_Append(&pu->pip->oEvents, &e->oLink);
  };
  const std::int32_t cFree = input_iGetFreeEventCount();
  EXPECT_EQ(input_iGetFreeEventCount(), cFree);
  queue(101);  // pause
  queue(102);  // one step forward
  queue(105);  // further away
  EXPECT_EQ(input_iGetFreeEventCount(), cFree - 3);
  replay_Update();
  EXPECT_FALSE(replay_oState.bPlaying);
  EXPECT_EQ(replay_oState.iIndex, 1);
  EXPECT_EQ(replay_oState.uInputBits, 1);
  EXPECT_EQ(replay_iDistanceGet(), 4320 + 192);
  EXPECT_EQ(input_iGetFreeEventCount(), cFree);  // every event went back to the pool
  replay_Update();
  EXPECT_EQ(replay_oState.uInputBits, 0);
  EXPECT_EQ(replay_oState.iIndex, 1);
  queue(83);  // leave: the fade first
  replay_Update();
  EXPECT_TRUE(replay_oState.bLeaving);
  EXPECT_TRUE(camera_bIsFading());
  pu->bActive = 0;
}

struct Snapshot {
  std::int32_t x, h, y, iFacing, iTurn;
  std::uint32_t eAnim;
  std::uint16_t uPos;
  std::int32_t bMirror, bLook;
  DBPlayer* po;
  std::uint16_t uHead;
};

Snapshot Take(const Player* pp) {
  return {pp->x, pp->height, pp->y, static_cast<std::uint16_t>(pp->iDisplayFacing), pp->iTurnStep,
          pp->oAnimData.eActionAnim, pp->oAnimData.uPos, pp->oAnimData.bMirror ? 1 : 0,
          pp->oAnimData.bLookAtBall > 0 ? 1 : 0, pp->pDBPlayer, pp->uHeadAngle};
}

TEST_F(ReplayTest, RecordedEngineRunComesBackFrameByFrame) {
  EngineMatchSetup();
  match.HomeTeam.MySquad = match_aHomeSquad;
  match.AwayTeam.MySquad = match_aAwaySquad;
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    DBPlayer* po = i < PLAYER_TEAM_SIZE ? &match_aHomeSquad[i + 3] : &match_aAwaySquad[i - PLAYER_TEAM_SIZE];
    *po = *EngineDbPlayer(i);
    EnginePlayer(i)->pDBPlayer = po;
  }
  // Some players run and turn so that the frames differ.
  for (std::int32_t i : {3, 7, 15}) {
    Player* pp = EnginePlayer(i);
    pp->oAnimInfo.iTargetX = pp->x + 3000;
    pp->oAnimInfo.iTargetY = pp->y - 2000;
  }
  replay_StartRecording();
  constexpr std::int32_t N = 120;
  std::vector<std::vector<Snapshot>> aoTicks;
  std::vector<std::int32_t> aiBall;
  for (std::int32_t t = 0; t < N; t++) {
    EngineTick();
    Player* apo[REPLAY_ENTRIES - 1];
    const std::int32_t c = replay_iChainGet(apo);
    ASSERT_EQ(c, 22);
    std::vector<Snapshot> ao;
    for (std::int32_t i = 0; i < c; i++) ao.push_back(Take(apo[i]));
    ao.push_back(Take(&player_oReferee));
    aoTicks.push_back(ao);
    aiBall.push_back(ball_XGet(ball_Get()));
    replay_RecordFrame();
  }
  bool bChanged = false;
  for (std::int32_t f = 0; f < N; f++) {
    SCOPED_TRACE(f);
    ASSERT_EQ(replay_iEntriesGet(f), 23);
    for (std::int32_t e = 0; e < 23; e++) {
      ReplayPlayerView o;
      replay_EntryDecode(f, e, &o);
      const Snapshot& s = aoTicks[f][e];
      ASSERT_EQ(o.x, s.x) << e;
      ASSERT_EQ(o.height, s.h) << e;
      ASSERT_EQ(o.y, s.y) << e;
      ASSERT_EQ(o.uFacing, s.iFacing) << e;
      ASSERT_EQ(o.iTurnStep, s.iTurn) << e;
      ASSERT_EQ(o.eAnim, s.eAnim) << e;
      ASSERT_EQ(o.uFramePosition, s.uPos) << e;
      ASSERT_EQ(o.bMirror, s.bMirror) << e;
      ASSERT_EQ(o.bLookAtBall, s.bLook) << e;
      ASSERT_EQ(o.uHeadAngle, s.uHead) << e;
      ASSERT_EQ(o.poDBPlayer, e < 22 ? s.po : nullptr) << e;
      if (f > 0) {
        const Snapshot& p = aoTicks[f - 1][e];
        bChanged = bChanged || p.x != s.x || p.uPos != s.uPos || p.eAnim != s.eAnim;
      }
    }
    EXPECT_EQ(replay_poSideGet(f)->oBall.iX, aiBall[f]);
  }
  EXPECT_TRUE(bChanged);
}

TEST_F(ReplayTest, LongChainWritesNothingPastItsFrame) {
  // A substitute walking on: each side's chain holds a twelfth player.
  static Player oSpareHome, oSpareAway;
  oSpareHome = player_aHome[5];
  oSpareAway = player_aAway[5];
  team_PlayersLink(&match.HomeTeam, &match.AwayTeam);
  player_aHome[PLAYER_TEAM_SIZE - 1].pNext = &oSpareHome;
  oSpareHome.pNext = nullptr;
  player_aAway[PLAYER_TEAM_SIZE - 1].pNext = &oSpareAway;
  oSpareAway.pNext = nullptr;

  mem_Init();
  auto* pb = static_cast<std::uint8_t*>(mem_pvLock());
  ASSERT_NE(pb, nullptr);
  constexpr std::size_t kRing = sizeof(ReplayFrame) * REPLAY_FRAMES;
  static_assert(kRing == 204792);
  std::memset(pb + kRing, 0xA5, MEM_SCRATCH_SIZE - kRing);
  mem_Unlock();

  replay_StartRecording();
  for (std::int32_t i = 0; i < 400; i++) replay_RecordFrame();
  for (std::size_t i = kRing; i < MEM_SCRATCH_SIZE; i++) ASSERT_EQ(pb[i], 0xA5) << i;
  EXPECT_TRUE(mem_bGuardsIntact());
  EXPECT_EQ(replay_iEntriesGet(317), 23);
  ReplayPlayerView o;
  replay_EntryDecode(317, 22, &o);
  EXPECT_EQ(o.x, player_oReferee.x);
  EXPECT_EQ(o.poDBPlayer, nullptr);
}

}  // namespace
