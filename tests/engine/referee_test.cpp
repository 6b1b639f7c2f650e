// The referee on a match set up without the match flow: each kind of
// stoppage at each end gives its decision, restart point, taking side and
// the chain of restart modes; the free-kick point, the penalty area, the goal
// table, cards, tackles and the referee's movements on the pitch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/action.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/refact.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/referee_services.h"
#include "engine/target.h"
#include "engine/team.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "frontend/frontend_services.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {

struct Pushed {
  std::int32_t eMode;
  GameModeFn pfnEnter;
  bool operator==(const Pushed& o) const { return eMode == o.eMode && pfnEnter == o.pfnEnter; }
};

std::vector<Pushed> Stack() {
  std::vector<Pushed> a;
  for (std::int32_t i = 0; i < global.iStackPointer; i++)
    a.push_back({global.aStack[i].eMode, global.aStack[i].pfnInit});
  return a;
}

bool Computer() {
  return team_IsComputerControlled(match_HomeTeamGet()) || team_IsComputerControlled(match_AwayTeamGet());
}

// The substitution pause the referee adds after throw-ins, corners and goal
// kicks while a computer manages a side.
std::vector<Pushed> WithCpuPause(std::vector<Pushed> a) {
  if (Computer()) {
    a.push_back({GAME_MODE_CPU_SUBS, nullptr});
    a.push_back({GAME_MODE_RETURN_POSITIONS, returnpos_Enter});
  }
  return a;
}

class Referee : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    global_ResetGameModeStack();
    global_SetGameMode(GAME_MODE_PLAY);
    referee_DecisionClear();
    referee_DecisionUnlock();
    referee_FoulLatchClear();
    referee_MatchOverSet(0);
    referee_NoSendOffsClear();
    referee_OffSet(0);
    refact_Init();
    caption_Init();
    match.HomeGoals = match.AwayGoals = 0;
    gstatso_Clear(&match_HomeTeamGet()->MatchStats);
    gstatso_Clear(&match_AwayTeamGet()->MatchStats);
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->iCardState = 0;
  }
  void TearDown() override { global_ResetGameModeStack(); }

  static Player* Home(std::int32_t k) { return EnginePlayer(k); }
  static Player* Away(std::int32_t k) { return EnginePlayer(PLAYER_TEAM_SIZE + k); }
  static MatchStats* HomeStats() { return &match_HomeTeamGet()->MatchStats; }
  static MatchStats* AwayStats() { return &match_AwayTeamGet()->MatchStats; }

  // A loose ball last played by a player, its last step from a to b.
  static void LooseBall(Player* poLast, std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by,
                        std::int32_t h = 100) {
    Ball* pb = &ball_oBall;
    pb->poOwner = nullptr;
    pb->poPrevOwner = poLast;
    pb->pplyrWhoKicked = poLast;
    pb->poLastPlayer = poLast;
    pb->poLastUser = nullptr;
    pb->iStepStartX = ax;
    pb->iStepStartHeight = h;
    pb->iStepStartY = ay;
    pb->iX128 = bx * 128;
    pb->iHeight128 = h * 128;
    pb->iY128 = by * 128;
  }
};

// ---- Every event type and end --------------------------------------------------------

TEST_F(Referee, TouchLineGivesAThrowInToTheOtherSide) {
  // Home attacks toward +x (direction 1); the home kick-off flag is 0.
  for (std::int32_t iSign : {-1, 1}) {
    SetUp();
    LooseBall(Home(6), 1000, iSign * 5700, 1000, iSign * 5800);
    referee_Update(REFEREE_EVENT_TOUCH, 1000, iSign * 5800);
    EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_THROW_IN);
    EXPECT_EQ(referee_RestartXGet(), 1000);
    EXPECT_EQ(referee_RestartYGet(), iSign * 6048);
    EXPECT_EQ(referee_poTestPlayerGet(), Home(6));
    EXPECT_EQ(match_AwayClubStateGet(), 0);
    EXPECT_EQ(match_HomeClubStateGet(), 1);
    EXPECT_EQ(Stack(), WithCpuPause({{GAME_MODE_THROW_IN, mthrowin_Start},
                                     {GAME_MODE_SET_PIECE_SCRIPT, spscript_StartThrowIn}}));
    EXPECT_TRUE(referee_bDecisionLocked());
  }
  // The away side's touch: the home side throws.
  SetUp();
  LooseBall(Away(3), -200, 5700, -200, 5800);
  referee_Update(REFEREE_EVENT_TOUCH, -200, 5800);
  EXPECT_EQ(match_HomeClubStateGet(), 0);
  EXPECT_EQ(match_AwayClubStateGet(), 1);
}

TEST_F(Referee, GoalLineGivesGoalKickOrCornerByWhoTouchedLast) {
  struct Case {
    std::int32_t iEvent;
    bool bHomeLast;
    std::int32_t y;
    std::int32_t iDecision;
    std::int32_t x0, y0;
    bool bHomeTakes;
  };
  // Home attacks +x: at +x a home player last gives a goal kick to the away
  // side, an away player a corner to the home side; mirrored at -x.
  const Case aCases[] = {
      {REFEREE_EVENT_GOAL_LINE_RIGHT, true, 2000, REFEREE_DECISION_GOAL_KICK, 8496, 1152, false},
      {REFEREE_EVENT_GOAL_LINE_RIGHT, true, -2000, REFEREE_DECISION_GOAL_KICK, 8496, -1152, false},
      {REFEREE_EVENT_GOAL_LINE_RIGHT, false, 2000, REFEREE_DECISION_CORNER, 9156, 5712, true},
      {REFEREE_EVENT_GOAL_LINE_RIGHT, false, -2000, REFEREE_DECISION_CORNER, 9156, -5712, true},
      {REFEREE_EVENT_GOAL_LINE_LEFT, false, 2000, REFEREE_DECISION_GOAL_KICK, -8496, 1152, true},
      {REFEREE_EVENT_GOAL_LINE_LEFT, false, -2000, REFEREE_DECISION_GOAL_KICK, -8496, -1152, true},
      {REFEREE_EVENT_GOAL_LINE_LEFT, true, 2000, REFEREE_DECISION_CORNER, -9156, 5712, false},
      {REFEREE_EVENT_GOAL_LINE_LEFT, true, -2000, REFEREE_DECISION_CORNER, -9156, -5712, false},
  };
  for (const Case& c : aCases) {
    SetUp();
    const std::int32_t xs = c.iEvent == REFEREE_EVENT_GOAL_LINE_RIGHT ? 1 : -1;
    LooseBall(c.bHomeLast ? Home(9) : Away(9), xs * 9300, c.y, xs * 9400, c.y);
    referee_Update(c.iEvent, xs * 9400, c.y);
    SCOPED_TRACE("event " + std::to_string(c.iEvent) + " y " + std::to_string(c.y));
    EXPECT_EQ(referee_DecisionGet(), c.iDecision);
    EXPECT_EQ(referee_RestartXGet(), c.x0);
    EXPECT_EQ(referee_RestartYGet(), c.y0);
    EXPECT_EQ(match_HomeClubStateGet(), c.bHomeTakes ? 0 : 1);
    EXPECT_EQ(match_AwayClubStateGet(), c.bHomeTakes ? 1 : 0);
    if (c.iDecision == REFEREE_DECISION_CORNER) {
      EXPECT_EQ(gstatso_CornersGet(c.bHomeTakes ? HomeStats() : AwayStats()), 1);
      EXPECT_EQ(Stack(), WithCpuPause({{GAME_MODE_PLAY_ON, playon_Enter},
                                       {GAME_MODE_CORNER, corner_Setup},
                                       {GAME_MODE_SET_PIECE_SCRIPT, spscript_StartCorner}}));
    } else {
      EXPECT_EQ(gstatso_CornersGet(HomeStats()) + gstatso_CornersGet(AwayStats()), 0);
      EXPECT_EQ(Stack(), WithCpuPause({{GAME_MODE_GOAL_KICK, mgoalkic_Start},
                                       {GAME_MODE_RETURN_POSITIONS, returnpos_EnterFade}}));
    }
  }
}

TEST_F(Referee, AKeeperParryOverHisLineIsACorner) {
  // The away side shoots at the home goal (-x); the home keeper parries it
  // wide over his line: the keeper touched it last.
  Player* poShooter = Away(9);
  Player* poKeeper = Home(0);
  LooseBall(poShooter, -9000, 2000, -9000, 2000);
  ball_oBall.iHeading = 401;
  target_DoKeeperParry(poKeeper);
  Ball* pb = &ball_oBall;
  pb->iStepStartX = -9300;
  pb->iStepStartY = 2000;
  pb->iX128 = -9400 * 128;
  pb->iY128 = 2000 * 128;
  referee_Update(REFEREE_EVENT_GOAL_LINE_LEFT, -9400, 2000);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_CORNER);
  EXPECT_EQ(referee_poTestPlayerGet(), poKeeper);
  EXPECT_EQ(referee_RestartXGet(), -9156);
  EXPECT_EQ(referee_RestartYGet(), 5712);
  EXPECT_EQ(match_AwayClubStateGet(), 0);
}

TEST_F(Referee, AKeeperParryTowardHisGoalIsNoSecondShotOfTheStriker) {
  // The away side's shot at the home goal (-x) is parried from just in front
  // of the line, over and over: the parry's flight is judged with the keeper
  // as the last to strike it, so however it runs on it adds no shot and no
  // shot on target to the striker's side.
  Player* poShooter = Away(9);
  Player* poKeeper = Home(0);
  std::int32_t cTowardGoal = 0;
  for (std::int32_t i = 0; i < 200; i++) {
    gstatso_Clear(AwayStats());
    gstatso_Clear(HomeStats());
    const std::int32_t y = (i % 9 - 4) * 96;
    LooseBall(poShooter, -8600, y, -8700, y);
    ball_oBall.iHeading = 401;
    ball_oBall.iHSpeed = 6000;
    target_DoKeeperParry(poKeeper);
    const std::int32_t o = ball_OutcomeGet();
    if ((o == BALL_OUTCOME_ON_TARGET || o == BALL_OUTCOME_GOAL) && ball_OutcomeSideGet() == 1) cTowardGoal++;
    SCOPED_TRACE("parry " + std::to_string(i) + " outcome " + std::to_string(o));
    EXPECT_EQ(gstatso_ShotsGet(AwayStats()), 0);
    EXPECT_EQ(gstatso_OnTargetGet(AwayStats()), 0);
    EXPECT_EQ(gstatso_ShotsGet(HomeStats()), 0);
    EXPECT_EQ(ball_WhoKickedGet(), poKeeper);
    EXPECT_EQ(ball_PrevOwnerGet(), poKeeper);
  }
  // Some of them do run on toward or into his goal.
  EXPECT_GT(cTowardGoal, 0);
}

TEST_F(Referee, GoalTableByEndAndKind) {
  struct Row {
    std::int32_t iEvent;
    std::int32_t iHomeKickOff;  // 1: home attacks -x
    bool bScorerHome;
    bool bCaption;
  };
  // (end, kind) rows of the goal table; the kick-off flag picks which side
  // scores at that end.
  const Row aRows[] = {
      {REFEREE_EVENT_GOAL_LINE_LEFT, 1, true, true},    // -x goal
      {REFEREE_EVENT_GOAL_LINE_LEFT, 1, false, true},   // -x own goal, home scores
      {REFEREE_EVENT_GOAL_LINE_LEFT, 0, true, true},    // -x own goal, away scores
      {REFEREE_EVENT_GOAL_LINE_RIGHT, 0, true, true},   // +x goal
      {REFEREE_EVENT_GOAL_LINE_RIGHT, 0, false, false}, // +x own goal, home scores
      {REFEREE_EVENT_GOAL_LINE_RIGHT, 1, true, true},   // +x own goal, away scores
  };
  for (const Row& r : aRows) {
    SetUp();
    match.HomeTeam.KickOff = r.iHomeKickOff;
    match.AwayTeam.KickOff = 1 - r.iHomeKickOff;
    const std::int32_t xs = r.iEvent == REFEREE_EVENT_GOAL_LINE_RIGHT ? 1 : -1;
    Player* poScorer = r.bScorerHome ? Home(9) : Away(9);
    poScorer->x = static_cast<std::int16_t>(xs * 8000);
    poScorer->y = 0;
    LooseBall(poScorer, xs * 9300, 100, xs * 9450, 100);
    const bool bHomeScores = (xs < 0) == (r.iHomeKickOff == 1);
    const bool bOwnGoal = bHomeScores != r.bScorerHome;
    referee_Update(r.iEvent, xs * 9450, 100);
    SCOPED_TRACE("event " + std::to_string(r.iEvent) + " home kick-off " + std::to_string(r.iHomeKickOff) +
                 (r.bScorerHome ? " home scorer" : " away scorer"));
    EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_GOAL);
    EXPECT_EQ(referee_RestartXGet(), 0);
    EXPECT_EQ(referee_RestartYGet(), 0);
    EXPECT_EQ(referee_ScoringSideGet(), bHomeScores ? 1 : 2);
    EXPECT_EQ(match.HomeGoals, bHomeScores ? 1 : 0);
    EXPECT_EQ(match.AwayGoals, bHomeScores ? 0 : 1);
    EXPECT_EQ(match_HomeClubStateGet(), bHomeScores ? 1 : 0);  // the other side kicks off
    MatchStats* poStats = bHomeScores ? HomeStats() : AwayStats();
    ASSERT_EQ(gstatso_GoalCountGet(poStats), 1);
    EXPECT_EQ(gstatso_GoalScorerGet(poStats, 0), poScorer->pDBPlayer);
    EXPECT_EQ(gstatso_GoalKindGet(poStats, 0), bOwnGoal ? 1 : 0);
    EXPECT_EQ(caption_bIsPending() && caption_iTypeGet() == CAPTION_GOAL, r.bCaption);
    if (bOwnGoal) {
      ASSERT_NE(global.poScorer, nullptr);
      EXPECT_NE(global.poScorer->MyTeam, poScorer->MyTeam);  // the nearest opponent celebrates
    } else {
      EXPECT_EQ(global.poScorer, poScorer);
    }
    EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_GOAL_CELEBRATION, celebrate_Enter},
                                            {GAME_MODE_RETURN_POSITIONS, returnpos_EnterLong}}));
  }
  // At the end of a golden-goal match the period end follows the celebration.
  SetUp();
  referee_MatchOverSet(1);
  LooseBall(Home(9), 9300, 0, 9450, 0);
  referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9450, 0);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_PERIOD_END, mftime_Enter},
                                          {GAME_MODE_GOAL_CELEBRATION, celebrate_Enter},
                                          {GAME_MODE_RETURN_POSITIONS, returnpos_EnterLong}}));
}

TEST_F(Referee, AnOwnGoalIsCelebratedByTheNearestOpponent) {
  // The away number 5 turns the ball into his own goal at -x (home attacks
  // -x); of the home side, number 7 stands nearest him.
  match.HomeTeam.KickOff = 1;
  match.AwayTeam.KickOff = 0;
  for (std::int32_t k = 1; k < PLAYER_TEAM_SIZE; k++) {
    Home(k)->x = static_cast<std::int16_t>(-2000 + 300 * k);
    Home(k)->y = 3000;
  }
  Player* poOwnGoal = Away(5);
  poOwnGoal->x = -8000;
  poOwnGoal->y = 0;
  Home(7)->x = -7500;
  Home(7)->y = 400;
  LooseBall(poOwnGoal, -9300, 100, -9450, 100);
  referee_Update(REFEREE_EVENT_GOAL_LINE_LEFT, -9450, 100);
  ASSERT_EQ(referee_ScoringSideGet(), 1);
  EXPECT_EQ(ball_WhoKickedGet(), poOwnGoal);
  EXPECT_EQ(match_poScorerGet(), Home(7));
  // The celebration follows him: he celebrates, his team-mates gather round
  // him, and the side that scored against itself goes to the centre spot.
  action_TableInit();  // the real actions in place of the set-up's standing orders
  global_SetGameMode(GAME_MODE_GOAL_CELEBRATION);
  action_FramePass(GAME_MODE_GOAL_CELEBRATION);
  EXPECT_EQ(Home(7)->oAIInfo.eAction, ACTION_GOAL_CELEBRATE);
  EXPECT_EQ(Home(3)->oAIInfo.eAction, ACTION_GOAL_REACT);
  EXPECT_EQ(poOwnGoal->oAIInfo.eAction, ACTION_FACE_CENTRE);
  EXPECT_EQ(Away(3)->oAIInfo.eAction, ACTION_FACE_CENTRE);
}

TEST_F(Referee, FoulsGiveFreeKickOrPenaltyOffsideAndKeeperHands) {
  // A foul in midfield: free kick to the other side at the free-kick point.
  Player* poOffender = Away(5);
  Player* poVictim = Home(7);
  poOffender->x = 9300;
  poVictim->x = 0;
  poVictim->y = 0;
  referee_CardDecide(poOffender, poVictim, 10);
  referee_FouledSet(poVictim);
  referee_Update(REFEREE_EVENT_FOUL, 9300, 100);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_FREE_KICK);
  EXPECT_EQ(referee_RestartXGet(), 8352);
  EXPECT_EQ(referee_RestartYGet(), 100);
  EXPECT_EQ(match_HomeClubStateGet(), 0);
  EXPECT_EQ(gstatso_FreeKicksGet(HomeStats()), 1);
  EXPECT_EQ(refact_ActionGet(), REFACT_STAND);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_PLAY_ON, playon_Enter},
                                          {GAME_MODE_FREE_KICK, freekick_Setup},
                                          {GAME_MODE_SET_PIECE_SCRIPT, spscript_StartFreeKick}}));

  // The fouled home player stands in the area he attacks (+x): a penalty at
  // the spot on the offender's side of the pitch.
  SetUp();
  poOffender = Away(4);
  poVictim = Home(9);
  poOffender->x = 7100;
  poVictim->x = 7000;
  poVictim->y = -3000;
  referee_CardDecide(poOffender, poVictim, 10);
  referee_FouledSet(poVictim);
  referee_Update(REFEREE_EVENT_FOUL, 7100, -3000);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_PENALTY);
  EXPECT_EQ(referee_RestartXGet(), 7632);
  EXPECT_EQ(referee_RestartYGet(), 0);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_PLAY_ON, playon_Enter2},
                                          {static_cast<GameMode>(58), penalty_Start},
                                          {GAME_MODE_SET_PIECE_SCRIPT, spscript_StartPenalty}}));

  // Offside: the offender's side defends a free kick; the referee stands.
  SetUp();
  poOffender = Home(10);
  referee_CardDecide(poOffender, nullptr, 0);
  referee_Update(REFEREE_EVENT_OFFSIDE, 9300, 6000);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_OFFSIDE);
  EXPECT_EQ(referee_RestartXGet(), 9216);
  EXPECT_EQ(referee_RestartYGet(), 5616);
  EXPECT_EQ(gstatso_OffsidesGet(HomeStats()), 1);
  EXPECT_EQ(match_AwayClubStateGet(), 0);
  EXPECT_EQ(refact_ActionGet(), REFACT_STAND);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_PLAY_ON, playon_Enter},
                                          {GAME_MODE_FREE_KICK, freekick_Setup},
                                          {GAME_MODE_SET_PIECE_SCRIPT, spscript_StartFreeKick}}));

  // The keeper holds the ball.
  SetUp();
  referee_Update(REFEREE_EVENT_KEEPER_HOLDS, 0, 0);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_KEEPER_HANDS);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_KEEPER_HANDS, mhands_Start}}));
}

// An out during the keeper's ball (the ball carried, thrown or kicked over
// a line) ends the keeper's ball on the tick the referee hears of it, with
// nothing judged yet: open play judges where the ball went out.
TEST_F(Referee, AnOutAtTheKeepersBallEndsItForOpenPlayToJudge) {
  for (const std::int32_t iEvent : {REFEREE_EVENT_TOUCH, REFEREE_EVENT_GOAL_LINE_LEFT, REFEREE_EVENT_GOAL_LINE_RIGHT}) {
    SetUp();
    global_SetGameMode(GAME_MODE_KEEPER_HANDS);
    global.bPopRequest = 0;
    sphands_Start();
    setp_KickTakerSet(Home(0));
    Home(0)->oSetPieceRole.iRole = 2;
    referee_Update(iEvent, -9400, 100);
    EXPECT_EQ(global.bPopRequest, 1) << iEvent;
    EXPECT_EQ(setp_poGetKickTaker(), nullptr) << iEvent;
    EXPECT_EQ(Home(0)->oSetPieceRole.iRole, -1) << iEvent;
    EXPECT_EQ(referee_DecisionGet(), 0) << iEvent;
    EXPECT_TRUE(Stack().empty()) << iEvent;
  }
}

TEST_F(Referee, LatchHoldsTheDecisionUntilUnlocked) {
  LooseBall(Home(6), 1000, 5700, 1000, 5800);
  referee_Update(REFEREE_EVENT_TOUCH, 1000, 5800);
  const std::vector<Pushed> aFirst = Stack();
  // The ball stays out for more ticks: nothing changes.
  for (int i = 0; i < 5; i++) referee_Update(REFEREE_EVENT_TOUCH, 1000 + i, 5800);
  EXPECT_EQ(Stack(), aFirst);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_THROW_IN);
  EXPECT_EQ(referee_RestartXGet(), 1000);
  // Outside open play nothing is pushed.
  global_ResetGameModeStack();
  referee_DecisionUnlock();
  global_SetGameMode(GAME_MODE_THROW_IN);
  referee_Update(REFEREE_EVENT_TOUCH, 1000, 5800);
  EXPECT_TRUE(Stack().empty());
  // The referee switched off hears nothing.
  global_SetGameMode(GAME_MODE_PLAY);
  referee_OffSet(1);
  referee_Update(REFEREE_EVENT_TOUCH, 1000, 5800);
  EXPECT_TRUE(Stack().empty());
}

TEST_F(Referee, PenaltyOutcomeIsTheNextRestart) {
  // Decision 5 in the penalty mode: a miss wide of the post is judged there
  // and open play restarts with the goal kick, without the faded pause.
  Player* poOffender = Away(4);
  Player* poVictim = Home(9);
  poVictim->x = 8000;
  poVictim->y = 0;
  referee_CardDecide(poOffender, poVictim, 10);
  referee_FouledSet(poVictim);
  referee_Update(REFEREE_EVENT_FOUL, 8000, 0);
  ASSERT_EQ(referee_DecisionGet(), REFEREE_DECISION_PENALTY);
  global_ResetGameModeStack();
  global_SetGameMode(static_cast<GameMode>(58));  // the latch still set
  LooseBall(Home(9), 9300, 2000, 9400, 2000);
  referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_GOAL_KICK);
  EXPECT_TRUE(Stack().empty());
  // Later ticks with the ball still out change nothing.
  referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9420, 2000);
  EXPECT_EQ(referee_DecisionGet(), REFEREE_DECISION_GOAL_KICK);
  referee_DecisionUnlock();  // the penalty's reset
  global_SetGameMode(GAME_MODE_PLAY);
  referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
  EXPECT_EQ(Stack(), WithCpuPause({{GAME_MODE_GOAL_KICK, mgoalkic_Start}}));
  // The judged flag lasts one stoppage.
  global_ResetGameModeStack();
  referee_DecisionUnlock();
  referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
  EXPECT_EQ(Stack(), WithCpuPause({{GAME_MODE_GOAL_KICK, mgoalkic_Start},
                                   {GAME_MODE_RETURN_POSITIONS, returnpos_EnterFade}}));
}

TEST_F(Referee, AdvantageClearsTheLatchAndFollowsPlayButNeverForACard) {
  referee_CardDecide(Away(5), Home(7), 10);  // no card
  referee_FouledSet(Home(7));
  ASSERT_EQ(referee_ChallengeJudge(Away(5), Home(7)), 1);  // sets the foul latch
  ASSERT_TRUE(referee_bFoulLatchGet());
  ball_OutcomeSet(BALL_OUTCOME_GOAL, 1);
  refact_ActionSet(REFACT_STAND);
  referee_Update(REFEREE_EVENT_FOUL, 0, 0);
  EXPECT_TRUE(Stack().empty());
  EXPECT_FALSE(referee_bDecisionLocked());
  EXPECT_FALSE(referee_bFoulLatchGet());
  EXPECT_EQ(refact_ActionGet(), REFACT_FOLLOW);
  // A foul that earned a card is given.
  SetUp();
  referee_CardDecide(Away(5), Home(7), 100);
  ASSERT_EQ(refact_ActionGet(), REFACT_YELLOW);
  referee_FouledSet(Home(7));
  ball_OutcomeSet(BALL_OUTCOME_GOAL, 1);
  referee_Update(REFEREE_EVENT_FOUL, 0, 0);
  EXPECT_FALSE(Stack().empty());
  EXPECT_EQ(refact_ActionGet(), REFACT_YELLOW);
  // A foul on the keeper is given too.
  SetUp();
  referee_CardDecide(Away(5), Home(0), 10);
  referee_FouledSet(Home(0));
  ball_OutcomeSet(BALL_OUTCOME_GOAL, 1);
  referee_Update(REFEREE_EVENT_FOUL, 0, 0);
  EXPECT_FALSE(Stack().empty());
  ball_OutcomeClear();
}

// ---- Points ------------------------------------------------------------------------------

TEST(RefereePoints, FreeKickPointClamps) {
  const std::int32_t aCases[][4] = {
      {9300, 100, 8352, 100},      {9300, 2000, 9216, 2000},    {0, 6000, 0, 5616},
      {0, -6000, 0, -5616},        {-9300, -100, -8352, -100},  {8497, 0, 7633, 0},
      {8496, 0, 8496, 0},          {-8496, 0, -8496, 0},        {-8497, 0, -7633, 0},
      {9000, 1439, 8136, 1439},    {9000, 1440, 9000, 1440},    {9000, -1439, 8136, -1439},
      {-12000, 9000, -9216, 5616}, {12000, 500, 8352, 500},     {1234, -321, 1234, -321},
  };
  for (const auto& c : aCases) {
    std::int32_t x = 0, y = 0;
    referee_FreeKickPointGet(c[0], c[1], &x, &y);
    EXPECT_EQ(x, c[2]) << c[0] << "," << c[1];
    EXPECT_EQ(y, c[3]) << c[0] << "," << c[1];
  }
}

TEST(RefereePoints, PenaltyAreaOfTheEndAttacked) {
  struct Case {
    std::int32_t x, y, iDirection;
    bool bIn;
  };
  const Case aCases[] = {
      {6768, 0, 1, true},     {6767, 0, 1, false},   {9000, 3168, 1, true},  {9000, 3169, 1, false},
      {9000, -3168, 1, true}, {-7000, 0, 1, false},  {-6768, 0, 0, true},    {-9300, -3000, 0, true},
      {7000, 0, 0, false},    {-6767, 100, 0, false},
  };
  for (const Case& c : aCases) {
    Player o{};
    o.x = static_cast<std::int16_t>(c.x);
    o.y = static_cast<std::int16_t>(c.y);
    o.Direction = c.iDirection;
    EXPECT_EQ(referee_bInPenaltyArea(&o) != 0, c.bIn) << c.x << "," << c.y << " dir " << c.iDirection;
  }
}

// ---- Cards ----------------------------------------------------------------------------------

TEST(RefereeCards, ThresholdsByOption) {
  const std::int32_t aaiLimits[3][2] = {{105, 115}, {95, 110}, {90, 100}};
  EXPECT_EQ(referee_StrictnessFor(0), 20);
  EXPECT_EQ(referee_StrictnessFor(1), 50);
  EXPECT_EQ(referee_StrictnessFor(2), 80);
  EXPECT_EQ(referee_StrictnessFor(7), 50);
  for (std::int32_t iOpt = 0; iOpt < 3; iOpt++) {
    const std::int32_t iYellow = aaiLimits[iOpt][0], iRed = aaiLimits[iOpt][1];
    for (std::int32_t sev = 0; sev <= 400; sev++) {
      for (std::int32_t iState = 0; iState < 2; iState++) {
        for (std::int32_t bBar = 0; bBar < 2; bBar++) {
          std::int32_t iWant = 0;
          if (sev > iRed && !bBar) iWant = 2;
          else if (sev > iYellow) iWant = iState == 1 ? (bBar ? 0 : 2) : 1;
          ASSERT_EQ(referee_CardChoose(sev, iOpt, iState, bBar), iWant)
              << "option " << iOpt << " severity " << sev << " state " << iState << " barred " << bBar;
        }
      }
    }
  }
}

using RefereeDeathTest = Referee;
TEST_F(RefereeDeathTest, UnknownOptionsAndActionsAssert) {
  EXPECT_DEATH(referee_CardChoose(100, 3, 0, 0), "Referee option");
  EXPECT_DEATH(
      {
        refact_ActionSet(9);
        refact_Update();
      },
      "refact");
  EXPECT_DEATH(
      {
        referee_Update(3, 0, 0);  // a decision without a restart
      },
      "no restart");
}

TEST_F(Referee, CardsShownAndWritten) {
  // The normal option: a booking above 95, a sending-off above 110.
  Player* poOff = Away(6);
  Player* poVictim = Home(6);
  DBPlayer* poDb = poOff->pDBPlayer;
  poDb->uFlags &= ~DBPLAYER_CARD_MASK;
  const std::int32_t iKnocks = poVictim->iKnocks;
  referee_CardDecide(poOff, poVictim, 95);
  EXPECT_EQ(refact_ActionGet(), REFACT_STAND);
  EXPECT_EQ(poVictim->iKnocks, iKnocks);
  referee_CardDecide(poOff, poVictim, 96);
  EXPECT_EQ(refact_ActionGet(), REFACT_YELLOW);
  EXPECT_EQ(gstatso_BookedGet(AwayStats()), 1);
  EXPECT_EQ(dbplayer_CardStateGet(poDb), DBPLAYER_CARD_BOOKED);
  EXPECT_EQ(referee_poOffenderGet(), poOff);
  EXPECT_GE(poVictim->iKnocks, iKnocks + 5);
  EXPECT_LE(poVictim->iKnocks, iKnocks + 9);
  // The script wrote the booking; a second one sends him off.
  poOff->iCardState = 1;
  referee_CardDecide(poOff, poVictim, 100);
  EXPECT_EQ(refact_ActionGet(), REFACT_RED);
  EXPECT_EQ(gstatso_SentOffGet(AwayStats()), 1);
  EXPECT_TRUE(refact_SecondBookingGet());
  EXPECT_TRUE(referee_bSecondBookingGet());
  // Send-offs barred: the second booking is no card.
  SetUp();
  poOff->iCardState = 1;
  referee_NoSendOffsSet();
  referee_CardDecide(poOff, poVictim, 105);
  EXPECT_EQ(refact_ActionGet(), REFACT_STAND);
  // A straight red card.
  SetUp();
  poDb->uFlags &= ~DBPLAYER_CARD_MASK;
  referee_CardDecide(poOff, poVictim, 111);
  EXPECT_EQ(refact_ActionGet(), REFACT_RED);
  EXPECT_FALSE(refact_SecondBookingGet());
  EXPECT_EQ(dbplayer_CardStateGet(poDb) & (DBPLAYER_CARD_SENT_OFF | DBPLAYER_CARD_SENT_OFF_BOOKED) ? 1 : 0, 1);
  // The card in the referee's hand follows the gesture he last made.
  refact_ActionSet(REFACT_YELLOW);
  refact_Update();
  EXPECT_EQ(referee_bCardFlagGet(), 1);
  refact_ActionSet(REFACT_RED);
  refact_Update();
  EXPECT_EQ(referee_bCardFlagGet(), 0);
}

// ---- Challenges and tackles -----------------------------------------------------------------

// The score as a player of the game would work it out: how far from behind
// the tackle came, how far the tackler was from the ball, less what his
// tackling skill makes up.
double ModelScore(double fTacklerHeading, double fVictimHeading, double d, double fTackling, bool bSlide) {
  double fDiff = std::fabs(std::fmod(fTacklerHeading - fVictimHeading + 1.5 * 802.0 * 8, 802.0) - 401.0);
  // fDiff is 401 for the same heading, 0 head-on (in 802 a turn).
  double fAngle = 100.0 * fDiff / 401.0;
  double fBall = d * 0.75 * (d >= 288 ? 2.0 : 1.0) / 25.0;
  return fAngle + fBall * (1.0 - fTackling / 100.0) - (bSlide ? 15.0 : 0.0);
}

TEST_F(Referee, TackleScoreAgainstAModel) {
  std::mt19937 oRng(20261207);
  Player* poTackler = Away(5);
  Player* poVictim = Home(5);
  std::int32_t cChecked = 0;
  for (int i = 0; i < 3000; i++) {
    const std::int32_t a = static_cast<std::int32_t>(oRng() % 802);
    const std::int32_t b = static_cast<std::int32_t>(oRng() % 802);
    const std::int32_t d = static_cast<std::int32_t>(oRng() % 2000);
    const std::int32_t t = static_cast<std::int32_t>(oRng() % 101);
    const bool bSlide = oRng() % 4 == 0;
    poTackler->iFacing = static_cast<std::int16_t>(a);
    poVictim->iFacing = static_cast<std::int16_t>(b);
    poTackler->x = 0;
    poTackler->y = 0;
    EngineDbPlayer(PLAYER_TEAM_SIZE + 5)->uTackling = static_cast<std::uint8_t>(t);
    poTackler->oAnimData.eActionAnim = bSlide ? 8 : 136;
    ball_PlaceAt(&ball_oBall, d, 0, 0);
    const double fModel = ModelScore(a, b, d, t, bSlide);
    const std::int32_t iScore = referee_TackleScore(poTackler, poVictim);
    // Whole-number steps of the angle (16-bit angles over 803) and the
    // quarter, thirds and twenty-fifths of the distance cost a few points.
    ASSERT_NEAR(iScore, fModel, 3.0) << "headings " << a << "," << b << " d " << d << " tackling " << t;
    cChecked++;
  }
  EXPECT_EQ(cChecked, 3000);
  // Exact corners: from behind at the ball 100, head-on 0, 288 away 17 more.
  poTackler->iFacing = 100;
  poVictim->iFacing = 100;
  poTackler->oAnimData.eActionAnim = 136;
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  EXPECT_EQ(referee_TackleScore(poTackler, poVictim), 100);
  poVictim->iFacing = 100 + 401;
  EXPECT_EQ(referee_TackleScore(poTackler, poVictim), 0);
  EngineDbPlayer(PLAYER_TEAM_SIZE + 5)->uTackling = 0;
  ball_PlaceAt(&ball_oBall, 288, 0, 0);
  EXPECT_EQ(referee_TackleScore(poTackler, poVictim), 17);
}

TEST_F(Referee, TacklesCalledByScoreAndStrictness) {
  Player* poTackler = Away(5);
  Player* poVictim = Home(5);
  poTackler->x = poTackler->y = 0;
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  poTackler->oAnimData.eActionAnim = 136;
  // Head-on: never a foul.
  poTackler->iFacing = 0;
  poVictim->iFacing = 401;
  for (int i = 0; i < 200; i++) {
    std::int32_t iSev = -1;
    ASSERT_EQ(referee_ChallengeJudgeShot(poTackler, poVictim, &iSev), 0);
  }
  // From behind: a foul about as often as the strictness (50 in 100).
  poVictim->iFacing = 0;
  std::int32_t cFouls = 0;
  for (int i = 0; i < 2000; i++) {
    referee_FoulLatchClear();
    std::int32_t iSev = -1;
    if (referee_ChallengeJudgeShot(poTackler, poVictim, &iSev)) {
      cFouls++;
      EXPECT_EQ(iSev, 100);
      EXPECT_TRUE(referee_bFoulLatchGet());
    }
  }
  EXPECT_GT(cFouls, 850);
  EXPECT_LT(cFouls, 1150);
  // The latch holds: no second foul.
  ASSERT_TRUE(referee_bFoulLatchGet());
  EXPECT_EQ(referee_ChallengeJudgeShot(poTackler, poVictim, nullptr), 0);
  referee_FoulLatchClear();
  // Team-mates, and a keeper's tackle, never.
  EXPECT_EQ(referee_ChallengeJudgeShot(Home(4), poVictim, nullptr), 0);
  EXPECT_EQ(referee_ChallengeJudgeShot(Away(0), poVictim, nullptr), 0);
  // The opposing keeper without the ball, not diving: a foul of 40..100.
  Player* poKeeper = Home(0);
  poKeeper->oAnimData.eActionAnim = 57;
  ball_oBall.poOwner = nullptr;
  for (int i = 0; i < 50; i++) {
    referee_FoulLatchClear();
    std::int32_t iSev = -1;
    ASSERT_EQ(referee_ChallengeJudgeShot(poTackler, poKeeper, &iSev), 1);
    EXPECT_GE(iSev, 40);
    EXPECT_LE(iSev, 100);
  }
  // Play on mode: no fouls.
  referee_FoulLatchClear();
  global_SetGameMode(GAME_MODE_PLAY_ON);
  EXPECT_EQ(referee_ChallengeJudgeShot(poTackler, poKeeper, nullptr), 0);
  EXPECT_EQ(referee_ChallengeJudge(poTackler, poVictim), 0);
}

TEST_F(Referee, ChallengeBetweenOpponentsIsAFoulWithACardDecision) {
  EXPECT_EQ(referee_ChallengeJudge(Home(3), Home(4)), 0);
  EXPECT_FALSE(referee_bFoulLatchGet());
  // The card the drawn severity (70..398) calls for under the normal
  // referee (yellow above 95, red above 110), for an offender not booked.
  auto Expected = [] {
    QMathRandState o;
    QMathRandStateSave(&o);
    const std::int32_t iSeverity = 70 + static_cast<std::int32_t>(QMathRandRange(329));
    QMathRandStateRestore(&o);
    return iSeverity > 110 ? REFACT_RED : iSeverity > 95 ? REFACT_YELLOW : REFACT_STAND;
  };
  const std::int32_t iOption = mcondi_RefereeGet();
  mcondi_RefereeSet(1);
  std::int32_t eWant = Expected();
  EXPECT_EQ(referee_ChallengeJudge(Away(3), Home(4)), 1);
  EXPECT_EQ(referee_poOffenderGet(), Away(3));
  EXPECT_TRUE(referee_bFoulLatchGet());
  EXPECT_EQ(refact_ActionGet(), eWant);
  EXPECT_EQ(referee_ChallengeJudge(Away(3), Home(4)), 0);  // latched
  // Over many draws, each outcome at its severities.
  std::int32_t acSeen[3] = {};
  for (std::uint32_t n = 0; n < 200; n++) {
    referee_FoulLatchClear();
    refact_ActionSet(REFACT_FOLLOW);
    QMathRandSkip(n);
    eWant = Expected();
    ASSERT_EQ(referee_ChallengeJudge(Away(3), Home(4)), 1);
    ASSERT_EQ(refact_ActionGet(), eWant) << n;
    acSeen[eWant == REFACT_STAND ? 0 : eWant == REFACT_YELLOW ? 1 : 2]++;
  }
  EXPECT_GT(acSeen[0], 0);
  EXPECT_GT(acSeen[1], 0);
  EXPECT_GT(acSeen[2], 0);
  mcondi_RefereeSet(iOption);
  // The keeper's ball: a team-mate's challenge hands back to open play.
  referee_FoulLatchClear();
  global_SetGameMode(static_cast<GameMode>(32));
  ball_oBall.poOwner = Home(0);
  EXPECT_EQ(referee_ChallengeJudge(Home(4), Home(0)), 0);
  EXPECT_EQ(Stack(), (std::vector<Pushed>{{GAME_MODE_PLAY, usrctl_StartPlay}}));
  ball_oBall.poOwner = nullptr;
}

TEST_F(Referee, OffsideAfterACornerKickIsNotCalled) {
  referee_OffsideIgnoreNext();
  const std::int32_t cCalls = referee_oLastCall.cCalls;
  referee_OffsideCheck(&ball_oBall);
  EXPECT_EQ(referee_oLastCall.cCalls, cCalls);
  EXPECT_TRUE(Stack().empty());
}

// ---- The referee on the pitch ----------------------------------------------------------------

TEST_F(Referee, FollowsPlayOnTheDiagonal) {
  Player* poOwner = Home(8);  // attacks +x
  ball_oBall.poOwner = poOwner;
  struct Case {
    std::int32_t x;
    std::int32_t wx;
    std::int32_t wy;
  };
  const Case aCases[] = {
      {-4000, -1000, -280},  // own half: a quarter
      {2000, 2720, 2880},    // other half: 720 ahead, y clamped
      {-400, -100, 620},
      {8000, 7200, 2880},    // clamped
  };
  for (const Case& c : aCases) {
    poOwner->x = static_cast<std::int16_t>(c.x);
    std::int32_t wx = 0, wy = 0;
    refact_FollowPointGet(&wx, &wy);
    EXPECT_EQ(wx, c.wx) << c.x;
    EXPECT_EQ(wy, c.wy) << c.x;
  }
  Player* poAway = Away(8);  // attacks -x
  ball_oBall.poOwner = poAway;
  poAway->x = 3000;  // his own half
  std::int32_t wx = 0, wy = 0;
  refact_FollowPointGet(&wx, &wy);
  EXPECT_EQ(wx, 750);
  poAway->x = -1000;
  refact_FollowPointGet(&wx, &wy);
  EXPECT_EQ(wx, -1720);
  EXPECT_EQ(wy, -1000);
  ball_oBall.poOwner = nullptr;
}

TEST_F(Referee, HysteresisKeepsHimStillNearHisPoint) {
  Player* pr = &player_oReferee;
  Player* poOwner = Home(8);
  ball_oBall.poOwner = poOwner;
  poOwner->x = 2000;  // wanted point (2720, 2880)
  ball_PlaceAt(&ball_oBall, 5000, 0, -3000);
  refact_ActionSet(REFACT_FOLLOW);
  // 700 from his point: he stands and settles (h 2).
  pr->x = 2720 - 700;
  pr->y = 2880;
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_STAND);
  EXPECT_EQ(refact_HysteresisGet(), 2);
  // 1000 away: still within (9 x 2 + 45) x 16 = 1008 once settled.
  pr->x = 2720 - 1000;
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_STAND);
  // 1010 away: he walks.
  pr->x = 2720 - 1010;
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_WALK);
  EXPECT_EQ(refact_HysteresisGet(), 0);
  // Unsettled, 1000 away is too far; beyond 2160 he runs.
  pr->x = 2720 - 1000;
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_WALK);
  pr->x = 2720 - 2200;
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_RUN);
  // Near the ball he stops to watch (not at a free kick).
  ball_PlaceAt(&ball_oBall, pr->x + 600, 0, pr->y);
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), ANIM_STAND);
  ball_oBall.poOwner = nullptr;
}

TEST_F(Referee, SetPieceActions) {
  Player* pr = &player_oReferee;
  EXPECT_EQ(pr->ID, PLAYER_ID_REFEREE);
  EXPECT_EQ(pr->x, 0);
  EXPECT_EQ(pr->y, 1440);
  EXPECT_EQ(PlayerO_Attr52Get(pr), 70);
  EXPECT_EQ(refact_ActionGet(), REFACT_START);
  refact_Update();
  EXPECT_EQ(refact_ActionGet(), REFACT_FOLLOW);
  // The penalty spot at the ball's end.
  ball_PlaceAt(&ball_oBall, -100, 0, 0);
  refact_ActionSet(REFACT_PENALTY);
  refact_Update();
  EXPECT_EQ(pr->x, -7632);
  EXPECT_EQ(pr->y, -720);
  EXPECT_EQ(pr->MoveState, MOVE_STATE_STAND);
  ball_PlaceAt(&ball_oBall, 100, 0, 0);
  refact_Update();
  EXPECT_EQ(pr->x, 7632);
  EXPECT_EQ(pr->y, 720);
  // Walking back from a ball nearby, then following again.
  pr->x = 500;
  pr->y = 500;
  ball_PlaceAt(&ball_oBall, 1000, 0, 1000);
  refact_ActionSet(REFACT_WALK_BACK);
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), 7u);
  EXPECT_EQ(refact_ActionGet(), REFACT_WALK_BACK);
  ball_PlaceAt(&ball_oBall, 5000, 0, 1000);
  refact_Update();
  EXPECT_EQ(refact_ActionGet(), REFACT_FOLLOW);
  // Leaving the pitch.
  refact_ActionSet(REFACT_LEAVE);
  refact_Update();
  EXPECT_EQ(anim_RequestGet(&pr->oAnimInfo), 160u);
  // Held by the script in its mode.
  global_SetGameMode(GAME_MODE_SET_PIECE_SCRIPT);
  refact_Update();
  EXPECT_EQ(pr->MoveState, MOVE_STATE_SCRIPT);
}

}  // namespace
