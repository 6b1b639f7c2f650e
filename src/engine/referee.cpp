// The referee's judgement of every stoppage, the restart modes it pushes, the
// foul tests of challenges and tackles, cards and the offside test.
#include "engine/referee.h"

#include <cstdint>
#include <cstdlib>

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "engine/refact.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/referee_services.h"
#include "engine/target.h"
#include "engine/team.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "matchflow/matchstate.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "matchflow/injuryg.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"

void clock_ResumeOnPlay();

RefereeCallRecord referee_oLastCall;

namespace {

constexpr GameMode kModeKeeperBall = static_cast<GameMode>(32);
constexpr GameMode kModeCpuSubs = GAME_MODE_CPU_SUBS;

struct RefereeState {
  std::int32_t iDecision;
  std::int32_t bLocked;       // restart modes pushed
  std::int32_t bJudged;       // a penalty's outcome already judged
  std::int32_t bFoulLatch;
  std::int32_t bOff;
  std::int32_t bOffsideSkip;
  std::int32_t bGoldenGoal;
  std::int32_t bMatchOver;
  std::int32_t bNoSendOffs;
  std::int32_t iRestartX;
  std::int32_t iRestartY;
  Player* poTest;
  Player* poOffender;
  Player* poFouled;
  std::int32_t iHomeClub;     // 0 takes the restart, 1 defends
  std::int32_t iAwayClub;
  std::int32_t iScoringSide;
  std::int32_t iDelay;
};
constexpr RefereeState kRefereeFresh = {};
RefereeState s = kRefereeFresh;

bool IsOpponent(const Player* a, const Player* b) { return a && b && a->MyTeam != b->MyTeam; }

// The side that takes a restart given away by a player: the home side when
// the player's direction equals the home kick-off flag (he is then an away
// player, or a home player of the other half).
void TakerFromPlayer(const Player* pp) {
  std::int32_t bHomeTakes = pp == nullptr || pp->Direction == match_HomeKickOffFlagGet();
  s.iHomeClub = bHomeTakes ? 0 : 1;
  s.iAwayClub = bHomeTakes ? 1 : 0;
}

void TakerSideSet(std::int32_t iSide) {
  s.iHomeClub = iSide == player_PlaysFor_Home ? 0 : 1;
  s.iAwayClub = iSide == player_PlaysFor_Home ? 1 : 0;
}

MatchStats* StatsOf(std::int32_t iSide) {
  return iSide == player_PlaysFor_Home ? &match_HomeTeamGet()->MatchStats : &match_AwayTeamGet()->MatchStats;
}

std::int32_t OtherSide(std::int32_t iSide) {
  return iSide == player_PlaysFor_Home ? player_PlaysFor_Away : player_PlaysFor_Home;
}

// The last player on the ball: the owner, the previous owner, the kicker.
Player* LastOnBall() {
  if (Player* pp = ball_OwnerGet()) return pp;
  if (Player* pp = ball_PrevOwnerGet()) return pp;
  return ball_WhoKickedGet();
}

std::int32_t BallInGoal() {
  return std::abs(ball_PathYAtGoalEdge()) < 576 && ball_PathHeightAtGoalEdge() < 384;
}

void SetPieceCommand(std::int32_t iCommand) {
  if (global_eGetGameMode() == GAME_MODE_PENALTY) setp_CommandSet(iCommand);
}

// The side attacking the end of a goal-line event (1 at -x, 2 at +x).
std::int32_t AttackingSideOf(std::int32_t iEvent) {
  std::int32_t bHomeAttacksLeft = match_HomeKickOffFlagGet() != 0;
  if (iEvent == REFEREE_EVENT_GOAL_LINE_LEFT) return bHomeAttacksLeft ? player_PlaysFor_Home : player_PlaysFor_Away;
  return bHomeAttacksLeft ? player_PlaysFor_Away : player_PlaysFor_Home;
}

void Goal(std::int32_t iEvent) {
  SetPieceCommand(15);
  const std::int32_t iSide = AttackingSideOf(iEvent);
  s.iScoringSide = iSide;
  s.iHomeClub = iSide == player_PlaysFor_Home ? 1 : 0;
  s.iAwayClub = 1 - s.iHomeClub;
  Player* poScorer = ball_LastPlayerGet();
  s.poTest = poScorer;
  QDX_ASSERT(s.poTest != nullptr && "referee_pTestPlayer != NULL");
  if (poScorer == nullptr) return;
  const bool bOwnGoal = poScorer->MyTeam != iSide;
  const bool bLeft = iEvent == REFEREE_EVENT_GOAL_LINE_LEFT;

  Player* poCelebrated = poScorer;
  if (bOwnGoal) {
    Player* po = nullptr;
    if (player_NearestOpponentFind(&po, poScorer, 18720) && po) poCelebrated = po;
  }
  global.poScorer = poCelebrated;

  // Caption, shout and whether the last user takes the scorer, by end and kind.
  bool bCaption = true;
  bool bUserTakes = true;
  std::int32_t iShout = 2;
  std::int32_t iDelay = bLeft ? 2 : 1;
  if (bOwnGoal) {
    iShout = 0;
    iDelay = bLeft && iSide == player_PlaysFor_Away ? 3 : 5;
    bUserTakes = bLeft;
    bCaption = bLeft || iSide == player_PlaysFor_Away;
  }
  if (bCaption) caption_Request(CAPTION_GOAL, reinterpret_cast<std::intptr_t>(poScorer));
  pchat_Say(poScorer, iShout, iDelay);
  User* pusr = ball_LastUserGet();
  if (bUserTakes && pusr && pusr->bActive && pusr->MyTeam == poScorer->MyTeam) user_PlayerSet(pusr, poScorer);

  if (iSide == player_PlaysFor_Home) match_HomeGoalScored();
  else match_AwayGoalScored();
  match_HomeClubStateSet(s.iHomeClub);
  match_AwayClubStateSet(s.iAwayClub);
  gstatso_GoalAdd(StatsOf(iSide), poScorer->pDBPlayer, bOwnGoal ? 1 : 0);
  s.iRestartX = 0;
  s.iRestartY = 0;
  s.iDecision = REFEREE_DECISION_GOAL;
  touch_ContactSet(poScorer, nullptr, 6);
}

void GoalLine(std::int32_t iEvent, std::int32_t y) {
  if (BallInGoal()) {
    Goal(iEvent);
    return;
  }
  SetPieceCommand(16);
  const bool bLeft = iEvent == REFEREE_EVENT_GOAL_LINE_LEFT;
  const std::int32_t iAttacking = AttackingSideOf(iEvent);
  Player* pp = LastOnBall();
  s.poTest = pp;
  const bool bAttackerLast = pp ? (pp->Direction == (bLeft ? 0 : 1)) : true;
  if (bAttackerLast) {
    crowd_ReactFoul();
    pchat_RefereeSay(4, 30);
    TakerSideSet(OtherSide(iAttacking));
    s.iRestartX = bLeft ? -8496 : 8496;
    s.iRestartY = y < 0 ? -1152 : 1152;
    s.iDecision = REFEREE_DECISION_GOAL_KICK;
  } else {
    if (pp == nullptr || player_IsGoalkeeper(pp)) crowd_ReactFoul();
    else pchat_Say(pp, 0, bLeft ? 4 : 5);
    pchat_RefereeSay(2, 30);
    gstatso_CornerAdd(StatsOf(iAttacking));
    TakerSideSet(iAttacking);
    s.iRestartX = bLeft ? -9156 : 9156;
    s.iRestartY = y < 0 ? -5712 : 5712;
    s.iDecision = REFEREE_DECISION_CORNER;
  }
}

void Judge(std::int32_t iEvent, std::int32_t x, std::int32_t y, bool bIgnoreLatch = false) {
  if (s.bLocked && !bIgnoreLatch) return;
  s.iDecision = iEvent;
  switch (iEvent) {
    case REFEREE_EVENT_TOUCH: {
      s.iRestartX = x;
      s.iRestartY = y < 0 ? -6048 : 6048;
      s.poTest = LastOnBall();
      TakerFromPlayer(s.poTest);
      if (s.poTest) touch_ContactSet(s.poTest, nullptr, 6);
      break;
    }
    case REFEREE_EVENT_GOAL_LINE_LEFT:
    case REFEREE_EVENT_GOAL_LINE_RIGHT: GoalLine(iEvent, y); break;
    case REFEREE_EVENT_FOUL: {
      Player* poOffender = s.poOffender;
      s.poTest = poOffender;
      const std::int32_t iTaker = poOffender ? OtherSide(poOffender->MyTeam) : player_PlaysFor_Home;
      TakerSideSet(iTaker);
      gstatso_FreeKickAdd(StatsOf(iTaker));
      if (s.poFouled && referee_bInPenaltyArea(s.poFouled)) {
        s.iDecision = REFEREE_DECISION_PENALTY;
        s.iRestartX = poOffender && poOffender->x < 0 ? -7632 : 7632;
        s.iRestartY = 0;
      } else {
        referee_FreeKickPointGet(x, y, &s.iRestartX, &s.iRestartY);
      }
      break;
    }
    case REFEREE_EVENT_OFFSIDE: {
      Player* poOffender = s.poOffender;
      s.poTest = poOffender;
      const std::int32_t iSide = poOffender ? poOffender->MyTeam : player_PlaysFor_Away;
      gstatso_OffsideAdd(StatsOf(iSide));
      TakerSideSet(OtherSide(iSide));
      referee_FreeKickPointGet(x, y, &s.iRestartX, &s.iRestartY);
      break;
    }
    default: break;
  }
}

// Matches with one side: throw-ins, goal kicks and corners, all the home side's.
void SimpleJudge(std::int32_t iEvent, std::int32_t x, std::int32_t y, bool bIgnoreLatch = false) {
  if (s.bLocked && !bIgnoreLatch) return;
  s.iDecision = iEvent;
  const std::int32_t iSignY = y < 0 ? -1 : 1;
  switch (iEvent) {
    case REFEREE_EVENT_TOUCH:
      s.iRestartX = x;
      s.iRestartY = iSignY * 6048;
      TakerSideSet(player_PlaysFor_Home);
      break;
    case REFEREE_EVENT_GOAL_LINE_LEFT:
      s.iRestartX = -8496;
      s.iRestartY = iSignY * 1152;
      TakerSideSet(player_PlaysFor_Home);
      s.iDecision = REFEREE_DECISION_GOAL_KICK;
      break;
    case REFEREE_EVENT_GOAL_LINE_RIGHT:
      s.iRestartX = 9156;
      s.iRestartY = iSignY * 5712;
      TakerSideSet(player_PlaysFor_Home);
      s.iDecision = REFEREE_DECISION_CORNER;
      break;
    default: break;
  }
}

// A foul outside open play: only its point, taker and count.
void FoulRecord(std::int32_t iEvent, std::int32_t x, std::int32_t y) {
  if (iEvent != REFEREE_EVENT_FOUL || s.bLocked) return;
  Player* poOffender = s.poOffender;
  TakerFromPlayer(poOffender);
  gstatso_FreeKickAdd(StatsOf(s.iHomeClub == 0 ? player_PlaysFor_Home : player_PlaysFor_Away));
  referee_FreeKickPointGet(x, y, &s.iRestartX, &s.iRestartY);
}

void ShootoutJudge(std::int32_t iEvent) {
  if ((iEvent == REFEREE_EVENT_GOAL_LINE_LEFT || iEvent == REFEREE_EVENT_GOAL_LINE_RIGHT) && BallInGoal()) {
    mpenso_RecordKick(1);
    s.iRestartX = 0;
    s.iRestartY = 0;
    s.iDecision = REFEREE_DECISION_GOAL;
  } else {
    mpenso_RecordKick(0);
  }
}

bool SingleTeam() { return global_bSpareFlagGet() != 0; }

void Push(GameModeFn pfnEnter, std::int32_t eMode, GameModeFn pfnExit = nullptr) {
  global_GameModePush(pfnEnter, static_cast<GameMode>(eMode), pfnExit);
}

void ComputerManagersRun() {
  MatchTeam* apo[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (MatchTeam* po : apo)
    if (po && team_IsComputerControlled(po)) cpuman_Update(po);
}

}  // namespace

// ---- Entry -------------------------------------------------------------------------------

void referee_Update(std::int32_t iEvent, std::int32_t x, std::int32_t y) {
  referee_oLastCall.cCalls++;
  referee_oLastCall.iEvent = iEvent;
  referee_oLastCall.x = x;
  referee_oLastCall.y = y;
  if (s.bOff) return;
  const GameMode eMode = global_eGetGameMode();
  if (eMode == GAME_MODE_SHOOTOUT) {
    ShootoutJudge(iEvent);
    return;
  }
  if (eMode == GAME_MODE_KEEPER_HANDS && iEvent <= REFEREE_EVENT_GOAL_LINE_RIGHT) {
    // Out during the keeper's ball: it ends, and open play judges the ball
    // where it lies on the next tick.
    sphands_BallOut();
    return;
  }
  if (eMode != GAME_MODE_PLAY && eMode != GAME_MODE_PENALTY) FoulRecord(iEvent, x, y);
  Player* poOwner = ball_OwnerGet();
  if (poOwner && poOwner->Control == PLAYER_CONTROL_USER && poOwner->pUser) {
    user_ControlWordClear(poOwner->pUser);
    target_Clear();
    user_PlayerRelease(poOwner->pUser);
  }

  if (eMode == GAME_MODE_PENALTY && s.iDecision == REFEREE_DECISION_PENALTY) {
    // The penalty's outcome is what open play restarts with. The latch set
    // when the penalty was given holds until the penalty's own reset, so
    // the outcome is judged through it.
    if (SingleTeam()) SimpleJudge(iEvent, x, y, true);
    else Judge(iEvent, x, y, true);
    s.bJudged = 1;
    return;
  }
  if (eMode != GAME_MODE_PLAY) return;

  if (!s.bJudged) {
    if (SingleTeam()) SimpleJudge(iEvent, x, y);
    else Judge(iEvent, x, y);
  }
  if (s.poOffender) touch_StateForce(s.poOffender, 10);
  if (!s.bLocked) {
    s.bLocked = 1;
    switch (s.iDecision) {
      case REFEREE_DECISION_PENALTY:
        referee_RestartDecide();
        Push(spscript_StartPenalty, GAME_MODE_SET_PIECE_SCRIPT);
        break;
      case REFEREE_DECISION_GOAL:
        if (s.bMatchOver) {
          clock_ResumeOnPlay();
          Push(mftime_Enter, GAME_MODE_PERIOD_END);
        }
        Push(celebrate_Enter, GAME_MODE_GOAL_CELEBRATION);
        Push(returnpos_EnterLong, GAME_MODE_RETURN_POSITIONS);
        break;
      case REFEREE_DECISION_KEEPER_HANDS: Push(mhands_Start, GAME_MODE_KEEPER_HANDS); break;
      case REFEREE_DECISION_OFFSIDE:
        if (SingleTeam()) break;
        refact_ActionSet(REFACT_STAND);
        referee_RestartDecide();
        Push(spscript_StartFreeKick, GAME_MODE_SET_PIECE_SCRIPT);
        break;
      default: referee_RestartDecide(); break;
    }
  }
  s.bJudged = 0;
}

// ---- Restart modes -----------------------------------------------------------------------

void referee_RestartDecide() {
  clock_ResumeOnPlay();
  const std::int32_t iDecision = s.iDecision;
  switch (iDecision) {
    case REFEREE_DECISION_THROW_IN:
      Push(mthrowin_Start, GAME_MODE_THROW_IN);
      Push(spscript_StartThrowIn, GAME_MODE_SET_PIECE_SCRIPT);
      break;
    case REFEREE_DECISION_FREE_KICK: {
      // Advantage: a shot on its way in plays on, unless the foul earned a
      // card (every card decided is shown and written).
      const std::int32_t iAction = refact_ActionGet();
      const bool bCard = iAction == REFACT_YELLOW || iAction == REFACT_RED;
      if (ball_OutcomeGet() == BALL_OUTCOME_GOAL && !(s.poFouled && player_IsGoalkeeper(s.poFouled)) && !bCard) {
        pchat_RefereeSay(1, 7);
        referee_DecisionUnlock();
        s.bFoulLatch = 0;
        refact_ActionSet(REFACT_FOLLOW);
        return;
      }
      playon_CountSet(15);
      Push(playon_Enter, GAME_MODE_PLAY_ON);
      Push(freekick_Setup, GAME_MODE_FREE_KICK);
      if (subs_bIsPending()) Push(subs_Mode67Enter, 67, subs_Mode67Check);
      ComputerManagersRun();
      Push(spscript_StartFreeKick, GAME_MODE_SET_PIECE_SCRIPT);
      break;
    }
    case REFEREE_DECISION_PENALTY:
      playon_CountSet(15);
      Push(playon_Enter2, GAME_MODE_PLAY_ON);
      Push(penalty_Start, GAME_MODE_PENALTY);
      break;
    case REFEREE_DECISION_GOAL: Push(kickoffwait_Enter, GAME_MODE_INTERVAL); break;
    case REFEREE_DECISION_CORNER:
      playon_CountSet(15);
      Push(playon_Enter, GAME_MODE_PLAY_ON);
      Push(corner_Setup, GAME_MODE_CORNER);
      Push(spscript_StartCorner, GAME_MODE_SET_PIECE_SCRIPT);
      if (ball_oBall.iKind == BALL_KIND_NUDGE) crowd_ReactTension();
      break;
    case REFEREE_DECISION_GOAL_KICK:
      Push(mgoalkic_Start, GAME_MODE_GOAL_KICK);
      if (!s.bJudged) Push(returnpos_EnterFade, GAME_MODE_RETURN_POSITIONS);
      break;
    case REFEREE_DECISION_OFFSIDE:
      playon_CountSet(15);
      Push(playon_Enter, GAME_MODE_PLAY_ON);
      Push(freekick_Setup, GAME_MODE_FREE_KICK);
      break;
    default: QDX_ASSERT(!"referee: no restart for the decision"); return;
  }
  match_HomeClubStateSet(s.iHomeClub);
  match_AwayClubStateSet(s.iAwayClub);
  if (iDecision == REFEREE_DECISION_THROW_IN || iDecision == REFEREE_DECISION_CORNER ||
      iDecision == REFEREE_DECISION_GOAL_KICK) {
    if (subs_bIsPending()) {
      Push(subs_Mode67Enter, 67, subs_Mode67Check);
      Push(returnpos_Enter, GAME_MODE_RETURN_POSITIONS);
    }
    if (team_IsComputerControlled(match_HomeTeamGet()) || team_IsComputerControlled(match_AwayTeamGet())) {
      Push(nullptr, kModeCpuSubs);
      Push(returnpos_Enter, GAME_MODE_RETURN_POSITIONS);
    }
  }
}

// ---- Fouls ---------------------------------------------------------------------------------

std::int32_t referee_ChallengeJudge(Player* poChallenger, Player* poHolder) {
  if (!mcondi_FoulsGet() || s.bFoulLatch || global_eGetGameMode() == GAME_MODE_PLAY_ON) return 0;
  if (poHolder && player_IsGoalkeeper(poHolder) && global_eGetGameMode() == kModeKeeperBall) {
    target_DoRandomNudge(poHolder);
    if (IsOpponent(poChallenger, poHolder)) {
      pchat_Say(poHolder, 3, 1);
      s.bFoulLatch = 1;
      return 1;
    }
    Push(usrctl_StartPlay, GAME_MODE_PLAY);
    s.bFoulLatch = 1;
    return 0;
  }
  if (!IsOpponent(poChallenger, poHolder)) return 0;
  referee_CardDecide(poChallenger, poHolder, 70 + static_cast<std::int32_t>(QMathRandRange(329)));
  s.bFoulLatch = 1;
  return 1;
}

std::int32_t referee_TackleScore(const Player* poTackler, const Player* poVictim) {
  const std::int32_t a = (poTackler->iFacing * 65536 / 803) & 0xFFFF;
  const std::int32_t b = (poVictim->iFacing * 65536 / 803) & 0xFFFF;
  std::int32_t iDiff = (a - b) & 0xFFFF;
  if (iDiff > 32768) iDiff = 65536 - iDiff;
  const std::int32_t iAngleScore = 100 * (32768 - iDiff) / 32768;
  const std::int32_t d = player_Dist(ball_CurXGet() - poTackler->x, ball_CurYGet() - poTackler->y);
  std::int32_t iBall = d / 4 * 3;
  if (d >= 288) iBall *= 2;
  iBall /= 25;
  std::int32_t iScore = iAngleScore + iBall - iBall * PlayerO_Attr61Get(poTackler) / 100;
  if (poTackler->oAnimData.eActionAnim == 8) iScore -= 15;
  return iScore;
}

std::int32_t referee_ChallengeJudgeShot(Player* poTackler, Player* poVictim, std::int32_t* piSeverity) {
  if (!mcondi_FoulsGet() || s.bFoulLatch || global_eGetGameMode() == GAME_MODE_PLAY_ON) return 0;
  if (!poTackler || !poVictim) return 0;
  if (player_IsGoalkeeper(poVictim) && IsOpponent(poTackler, poVictim) && ball_OwnerGet() != poVictim) {
    const std::uint32_t e = poVictim->oAnimData.eActionAnim;
    if (e != 105 && e != 129 && e != 136 && e != 161 && e != 169) {
      if (piSeverity) *piSeverity = 40 + static_cast<std::int32_t>(QMathRandRange(60));
      pchat_Say(poVictim, 3, 1);
      s.bFoulLatch = 1;
      return 1;
    }
  }
  if (player_IsGoalkeeper(poTackler) || !IsOpponent(poTackler, poVictim)) return 0;
  const std::int32_t iScore = referee_TackleScore(poTackler, poVictim);
  if (iScore < 80) {
    if (QMathRandRange(1) == 0) pchat_RefereeSay(0, 5);
    else pchat_RefereeSay(1, 7);
    return 0;
  }
  if (static_cast<std::int32_t>(QMathRandRange(99)) < referee_StrictnessGet()) {
    if (piSeverity) *piSeverity = iScore;
    s.bFoulLatch = 1;
    return 1;
  }
  return 0;
}

std::int32_t referee_StrictnessFor(std::int32_t iOption) {
  switch (iOption) {
    case 0: return 20;
    case 2: return 80;
    default: return 50;
  }
}
std::int32_t referee_StrictnessGet() { return referee_StrictnessFor(mcondi_RefereeGet()); }

std::int32_t referee_CardChoose(std::int32_t iSeverity, std::int32_t iOption, std::int32_t iCardState,
                                std::int32_t bNoSendOffs) {
  std::int32_t iYellow = 95;
  std::int32_t iRed = 110;
  switch (iOption) {
    case 0: iYellow = 105; iRed = 115; break;
    case 1: iYellow = 95; iRed = 110; break;
    case 2: iYellow = 90; iRed = 100; break;
    default: QDX_ASSERT(!"referee: Referee option outside 0..2"); break;
  }
  if (iSeverity > iRed && !bNoSendOffs) return 2;
  if (iSeverity <= iYellow) return 0;
  std::int32_t iCard = iCardState + 1;
  if (iCard > 2) iCard = 2;
  return iCard == 2 && bNoSendOffs ? 0 : iCard;
}

void referee_CardDecide(Player* poOffender, Player* poVictim, std::int32_t iSeverity) {
  s.poOffender = poOffender;
  if (poOffender == nullptr) return;
  DBPlayer* poDb = poOffender->pDBPlayer;
  const std::int32_t iOption = mcondi_RefereeGet();
  const std::int32_t iCard = referee_CardChoose(iSeverity, iOption, poOffender->iCardState, s.bNoSendOffs);
  // A straight red card, or a booking (a second one sends him off).
  const bool bStraightRed = referee_CardChoose(iSeverity, iOption, 0, s.bNoSendOffs) == 2;
  if (poDb && iCard != 0) {
    if (bStraightRed) dbplayer_RedCardAdd(poDb);
    else dbplayer_YellowCardAdd(poDb);
  }
  MatchStats* poStats = StatsOf(poOffender->MyTeam);
  if (iCard == 0) {
    refact_ActionSet(REFACT_STAND);
    return;
  }
  if (iCard == 1) {
    gstatso_BookedAdd(poStats);
    refact_ActionSet(REFACT_YELLOW);
    injuryg_BookedPlayerSet(poOffender);
  } else {
    gstatso_SentOffAdd(poStats);
    refact_ActionSet(REFACT_RED);
    if (poOffender->iCardState == 1) refact_SecondBookingSet(1);
    if (poDb) injuryg_SuspensionSet(poDb);
    injuryg_InjuredPlayerSet(poOffender);
  }
  if (poVictim) poVictim->iKnocks = static_cast<std::int16_t>(poVictim->iKnocks + 5 + QMathRandRange(4));
}

std::int32_t referee_KnockedOut(const Player* pp) { return pp->iKnocks > 100 ? 1 : 0; }

// ---- Offside ---------------------------------------------------------------------------------

void referee_OffsideIgnoreNext() { s.bOffsideSkip = 1; }

void referee_OffsideCheck(Ball* poBall) {
  if (s.bOff || global_eGetGameMode() != GAME_MODE_PLAY) return;
  if (s.bOffsideSkip) {
    s.bOffsideSkip = 0;
    return;
  }
  Player* poAttacker = nullptr;
  Player* poDefender = nullptr;
  const std::int32_t iMargin = offside_CandidateFind(poBall, &poAttacker, &poDefender);
  const std::int32_t iStrict = referee_StrictnessGet();
  const std::int32_t iAllowed = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(6 * iStrict)) +
                                                         QMathRandRange(432));
  if (iMargin > iAllowed && poAttacker) {
    s.poFouled = nullptr;
    s.poOffender = poAttacker;
    referee_Update(REFEREE_EVENT_OFFSIDE, poAttacker->x, poAttacker->y);
  }
}

// ---- Points ------------------------------------------------------------------------------------

void referee_FreeKickPointGet(std::int32_t x, std::int32_t y, std::int32_t* px, std::int32_t* py) {
  if (y < -5616) y = -5616;
  if (y > 5616) y = 5616;
  if (x < -9216) x = -9216;
  if (x > 9216) x = 9216;
  if (std::abs(y) < 1440) {
    if (x >= 8497) x -= 864;
    else if (x < -8496) x += 864;
  }
  *px = x;
  *py = y;
}

std::int32_t referee_bInPenaltyArea(const Player* pp) {
  if (std::abs(pp->x) < 6768 || std::abs(pp->y) > 3168) return 0;
  return pp->Direction == 0 ? pp->x < 0 : pp->x > 0;
}

// ---- State ---------------------------------------------------------------------------------------

void referee_DecisionClear() {
  s.iDecision = 0;
  s.poOffender = nullptr;
  s.poFouled = nullptr;
}
std::int32_t referee_DecisionGet() { return s.iDecision; }
void referee_DecisionLock() { s.bLocked = 1; }
void referee_DecisionUnlock() { s.bLocked = 0; }
std::int32_t referee_bDecisionLocked() { return s.bLocked; }
void referee_FoulLatchClear() { s.bFoulLatch = 0; }
std::int32_t referee_bFoulLatchGet() { return s.bFoulLatch; }
void referee_OffSet(std::int32_t bOff) { s.bOff = bOff; }
void referee_GoldenGoalSet(std::int32_t bFlag) { s.bGoldenGoal = bFlag; }
std::int32_t referee_GoldenGoalGet() { return s.bGoldenGoal; }
void referee_MatchOverSet(std::int32_t bFlag) { s.bMatchOver = bFlag; }
std::int32_t referee_MatchOverGet() { return s.bMatchOver; }
void referee_NoSendOffsSet() { s.bNoSendOffs = 1; }
void referee_NoSendOffsClear() { s.bNoSendOffs = 0; }

MatchStateBlock referee_MatchState() { return {"referee", &s, sizeof s}; }
void referee_MatchStart() {
  matchstate_Restore(s, kRefereeFresh);
  injuryg_InjuredPlayerSet(nullptr);
  injuryg_BookedPlayerSet(nullptr);
  match_SentOffSet(nullptr);
}

std::int32_t referee_RestartXGet() { return s.iRestartX; }
std::int32_t referee_RestartYGet() { return s.iRestartY; }
void referee_RestartPointSet(std::int32_t x, std::int32_t y) {
  s.iRestartX = x;
  s.iRestartY = y;
}
Player* referee_poTestPlayerGet() { return s.poTest; }
Player* referee_poOffenderGet() { return s.poOffender; }
Player* referee_poFouledGet() { return s.poFouled; }
void referee_FouledSet(Player* poVictim) {
  s.poFouled = poVictim;
  if (poVictim) poVictim->bFouled = 1;
}
void referee_OffenderSet(Player* pp) { s.poOffender = pp; }
void referee_FouledPlayerSet(Player* pp) { s.poFouled = pp; }
std::int32_t referee_HomeClubStateGet() { return s.iHomeClub; }
void referee_RestartClubStatesSet(std::int32_t iHomeClub, std::int32_t iAwayClub) {
  s.iHomeClub = iHomeClub;
  s.iAwayClub = iAwayClub;
}
std::int32_t referee_AwayClubStateGet() { return s.iAwayClub; }
Player* referee_poInjuredGet() { return injuryg_InjuredPlayerGet(); }
std::int32_t referee_ScoringSideGet() { return s.iScoringSide; }

void referee_RestartDelaySet(std::int32_t iTicks) { s.iDelay = iTicks; }
std::int32_t referee_RestartDelayGet() { return s.iDelay; }
std::int32_t referee_RestartDelayTick() {
  if (global_eGetGameMode() == GAME_MODE_RETURN_POSITIONS && s.iDelay < 30) replay_ClearRecording();
  s.iDelay--;
  if (s.iDelay < 0) {
    returnpos_LeaveSet();
    return 0;
  }
  return 1;
}

std::int32_t referee_bSecondBookingGet() { return refact_SecondBookingGet(); }
void referee_SecondBookingClear() { refact_SecondBookingSet(0); }
std::int32_t referee_bCardFlagGet() { return refact_CardShownGet(); }
