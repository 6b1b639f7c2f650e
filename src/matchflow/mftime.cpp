// The period end (mode 35): caption pages, then the match rules decide on
// extra time, a replayed match, a shoot-out, drawn lots or the end, with a
// Play Again / Main Menu choice after a friendly.
#include <cstdio>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/pctext.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "matchflow/virtdir.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/tournament_services.h"

namespace {

constexpr std::int32_t kTextExtraTime = 19;
constexpr std::int32_t kTextGoldenGoal = 21;
constexpr std::int32_t kTextPlayAgain = 47;
constexpr std::int32_t kTextMainMenu = 49;
// The game function the choice's select (event 37, on its release) is read
// from.
constexpr std::int32_t kFunctionSelect = 16;

struct PeriodEndState {
  std::int32_t iStep;
  std::int32_t iTimer;
  std::int32_t bSkip;
  std::int32_t iNext;
  std::int32_t bDone;
  std::int32_t iCursor;
  std::int32_t bFirstPass;
  // Scores kept between the stages of one match.
  std::int32_t aiNormal[2];
  std::int32_t aiBeforeShootout[2];
  // The Play Again / Main Menu choice has been drawn: a press counts from
  // the next step on.
  std::int32_t bChoiceShown;
  // By user: his select was already down on the step that first drew the
  // choice and has not been up since; its release chooses nothing.
  std::int32_t abSelectHeld[USER_MAX];
};
constexpr PeriodEndState kPeriodEndFresh = {};
PeriodEndState s = kPeriodEndFresh;

std::int32_t Home() { return match.HomeGoals; }
std::int32_t Away() { return match.AwayGoals; }
bool Level() { return match.HomeGoals == match.AwayGoals; }

void ShootoutGrant() {
  s.bFirstPass = 0;
  s.aiBeforeShootout[0] = Home();
  s.aiBeforeShootout[1] = Away();
  tmglobal_MatchPhaseSet(3);
}

void ExtraTimeGrant(bool bGoldenGoal, bool bMessage) {
  if (bMessage) kickoff_MessageSet(gstatso_StrGet(bGoldenGoal ? kTextGoldenGoal : kTextExtraTime));
  if (bGoldenGoal) referee_GoldenGoalSet(1);
  s.bFirstPass = 0;
}

// The match played again from the start: set-up, clock, goals, substitutions.
// The clock from the start: the per-frame tasks emptied first, so the
// clock's own task is listed once (listed twice it would run at twice the
// speed); goals 0 and three substitutions a side.
void ClockRestart() {
  clock_ResumeOnPlay();
  vsync_Init();
  clock_Init();
  match.HomeGoals = 0;
  match.AwayGoals = 0;
  team_SubsAllowedSet(match_HomeTeamGet(), TEAM_SUBS_AT_START);
  team_SubsAllowedSet(match_AwayTeamGet(), TEAM_SUBS_AT_START);
}

// The match played again is set up as a new match is (nothing of the last
// one, its players, captions, touches, shoot-out, aim, camera or replay,
// reaches it): the start (a friendly's from the team sheets its first match
// started from, a tournament's with the sheets the tournament carries), the
// players, clock, pools, users and captions, the sides' kick-off set-up and
// the players' own, the action table and its touch state; then its clock
// starts afresh and the player speech's cool-downs with it, as a new match's
// last loading step resets them. The period end that chose it goes on to
// its kick-off from its own fresh record and gives every player the kick-off
// set-up (first pass). Its director's path stays over the set-up until the
// kick-off, as the walk-on's does in a new match, so that the camera the
// start took from the ball is not moved before it.
void MatchReplay(MatchAgain eKind) {
  matchflow_MatchBeginAgain(eKind);
  s.bFirstPass = 1;
  matchflow_MatchSetup();
  match_KickOffSetup();
  matchflow_PlayersKickOffInit();
  action_TableInit();
  ClockRestart();
  pchat_Reset();
  virtdir_PathSet(3);
}

// The stage's score into the tournament record, by the phase that ended.
void StageRecord(std::int32_t iPhase) {
  switch (iPhase) {
    case 0:
    case 2:
      s.aiNormal[0] = Home();
      s.aiNormal[1] = Away();
      tmglobal_NormalTimeScoreSet(Home(), Away());
      break;
    case 1:
      // The setter takes the final score and keeps what exceeds normal time.
      tmglobal_ExtraTimeScoreSet(Home(), Away());
      break;
    case 3:
      tmglobal_PenaltyScoreSet(Home() - s.aiBeforeShootout[0], Away() - s.aiBeforeShootout[1]);
      break;
    case 4:
      tmglobal_ExtraTimeScoreAdd(Home() - s.aiNormal[0], Away() - s.aiNormal[1]);
      break;
    default:
      break;
  }
}

std::int32_t Decided() {
  tmglobal_MatchPhaseSet(5);
  return GAME_MODE_MATCH_END;
}

void PlayersRunOff() {
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
    PlayerO_MoveToSet(pp, 0, -11520, ANIM_TURN);
}

void BallToCentre() {
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
}

void ChoiceDraw() {
  pctext_FontSet(2);
  const char* pszA = gstatso_StrGet(kTextPlayAgain);
  const char* pszB = gstatso_StrGet(kTextMainMenu);
  const std::int32_t wa = pctext_WidthGet(pszA), wb = pctext_WidthGet(pszB);
  const std::int32_t w = (wa > wb ? wa : wb) + 40;
  // One priority draws its latest item first: the texts go in before their
  // box so that they are drawn over it.
  for (std::int32_t i = 0; i < 2; i++) {
    if (s.iCursor == i) draw2d_TextColourSet(200, 200, 0, 255);
    else draw2d_TextColourSet(200, 200, 200, 255);
    pctext_PrintCentred(i == 0 ? pszA : pszB, 320, 100 + mftime_ChoiceRowStepGet() * i, 0);
  }
  draw2d_FillColourSet(32, 32, 32, 255);
  draw2d_RectFill(320 - w / 2, 90, w, mftime_ChoiceBoxHeightGet(), 0);
}

// The user's select is down: its widget as his port read it this step.
bool SelectDown(const User& u) {
  if (!u.bActive || !u.pip) return false;
  const std::int32_t w = gmewidg_eGetWidget(kFunctionSelect, u.pip->cConfig);
  return w > 0 && w < INPUT_WIDGETS_MAX && u.pip->aoWidget[w].iCurrent != 0;
}

// A select event of the user that was pressed before the choice showed: the
// key or button went down on or before the step that first drew it.
bool SelectHeldSinceDraw(const User* pusr) {
  if (s.iStep != 12 || !s.bChoiceShown) return false;
  for (std::int32_t i = 0; i < USER_MAX; i++)
    if (&user_aUsers[i] == pusr) return s.abSelectHeld[i] != 0;
  return false;
}

void Choice() {
  ChoiceDraw();
  // Only a press made once the choice has been drawn chooses: the step that
  // first draws it drops what was pressed before (the steps read their
  // presses before they draw), and a select that was down then (a Pass held
  // on from the pages) chooses nothing when it is let go; once it has been
  // seen up, the user's next press counts.
  if (!s.bChoiceShown) {
    s.bChoiceShown = 1;
    s.bSkip = 0;
    for (std::int32_t i = 0; i < USER_MAX; i++) s.abSelectHeld[i] = SelectDown(user_aUsers[i]) ? 1 : 0;
    return;
  }
  for (std::int32_t i = 0; i < USER_MAX; i++)
    if (s.abSelectHeld[i] && !SelectDown(user_aUsers[i])) s.abSelectHeld[i] = 0;
  if (!s.bSkip) return;
  s.bSkip = 0;
  if (s.iCursor == 1) {
    s.iNext = GAME_MODE_MATCH_END;
    s.iStep = 0;
    return;
  }
  MatchReplay(MatchAgain::kFriendly);
  tmglobal_MatchPhaseSet(0);
  s.iStep = 0;
  camera_FadeStart();
  s.iNext = GAME_MODE_KICK_OFF;
}

void Decision() {
  if (!tmglobal_TournamentMatchGet()) {
    s.iNext = mftime_RulesFriendly();
    if (s.iNext != GAME_MODE_MATCH_END) {
      camera_FadeStart();
      s.bDone = 1;
      s.iStep = 0;
    } else {
      s.iNext = GAME_MODE_PERIOD_END;
      s.iStep = 12;
      s.bChoiceShown = 0;
    }
    return;
  }
  const std::int32_t iFormat = tmglobal_RoundFormatGet();
  if (iFormat == 3 || (iFormat >= 5 && iFormat <= 8)) {
    s.iNext = mftime_RulesFormat(iFormat);
  } else if (tmglobal_TieBreakGet() == 3) {
    s.iNext = mftime_RulesTwoLegged();
  } else {
    StageRecord(0);
    s.iNext = GAME_MODE_MATCH_END;
  }
  if (s.iNext != GAME_MODE_MATCH_END) {
    camera_FadeStart();
    s.bDone = 1;
  }
  s.iStep = 0;
}

}  // namespace

std::int32_t mftime_StepGet() { return s.iStep; }
// The choice's rows and box follow the font's cell height: rows a cell and
// 10 pixels apart, 10 pixels above the first and below the second (20 and 50
// for a 10-pixel font).
std::int32_t mftime_ChoiceRowStepGet() {
  pctext_FontSet(2);
  return pctext_HeightGet() + 10;
}
std::int32_t mftime_ChoiceBoxHeightGet() {
  pctext_FontSet(2);
  return 10 + mftime_ChoiceRowStepGet() + pctext_HeightGet() + 10;
}
MatchStateBlock mftime_MatchState() { return {"mftime", &s, sizeof s}; }
void mftime_Reset() { matchstate_Restore(s, kPeriodEndFresh); }
std::int32_t mftime_NextModeGet() { return s.iNext; }

std::int32_t mftime_RulesFriendly() {
  const std::int32_t iPhase = tmglobal_MatchPhaseGet();
  StageRecord(iPhase);
  switch (iPhase) {
    case 0:
      if (Level() && mcondi_ExtraTimeGet() != 0) {
        ExtraTimeGrant(mcondi_ExtraTimeGet() == 2, true);
        tmglobal_MatchPhaseSet(1);
        return GAME_MODE_KICK_OFF;
      }
      return GAME_MODE_MATCH_END;
    case 1:
      if (Level() && mcondi_PenaltiesGet() != 0) {
        ShootoutGrant();
        return 66;
      }
      return Decided();
    case 3:
      if (Level()) {
        ShootoutGrant();
        return 66;
      }
      return Decided();
    default:
      QDX_ASSERT(!"mftime: phase without a friendly rule");
      return Decided();
  }
}

std::int32_t mftime_RulesFormat(std::int32_t iFormat) {
  const std::int32_t iPhase = tmglobal_MatchPhaseGet();
  StageRecord(iPhase);
  switch (iPhase) {
    case 0:
      if (!Level()) return GAME_MODE_MATCH_END;
      ExtraTimeGrant(iFormat == 8, true);
      tmglobal_MatchPhaseSet(1);
      return GAME_MODE_KICK_OFF;
    case 1:
      if (!Level() || iFormat == 6) return Decided();
      if (iFormat == 3 || iFormat == 5) {
        MatchReplay(MatchAgain::kTournament);
        camera_FadeStart();
        tmglobal_MatchPhaseSet(2);
        return GAME_MODE_KICK_OFF;
      }
      ShootoutGrant();
      return 66;
    case 2:
      if (!Level()) return Decided();
      if (iFormat == 3) {
        ExtraTimeGrant(false, false);
        tmglobal_MatchPhaseSet(4);
        return GAME_MODE_KICK_OFF;
      }
      if (iFormat == 5) {
        ExtraTimeGrant(false, true);
        tmglobal_MatchPhaseSet(1);
        return GAME_MODE_KICK_OFF;
      }
      break;
    case 3:
      if (iFormat == 7 || iFormat == 8) return Decided();
      break;
    case 4:
      if (iFormat == 3) {
        if (Level()) {
          // Drawn lots: a random bit gives one side a 1-0 "shoot-out".
          if (QMathRandNext() & 1) tmglobal_PenaltyScoreSet(1, 0);
          else tmglobal_PenaltyScoreSet(0, 1);
        }
        return Decided();
      }
      break;
    default:
      break;
  }
  QDX_ASSERT(!"mftime: phase without a rule in this round format");
  return Decided();
}

std::int32_t mftime_RulesTwoLegged() {
  const std::int32_t iPhase = tmglobal_MatchPhaseGet();
  StageRecord(iPhase);
  TMFirstLeg& leg = tmglobal_FirstLeg;
  switch (iPhase) {
    case 0: {
      if (!leg.bPlayed) {
        leg.iHomeGoals = Home();
        leg.iAwayGoals = Away();
        leg.bPlayed = 1;
        return GAME_MODE_MATCH_END;
      }
      // The second leg's home side was the first leg's away side.
      const std::int32_t iAggHome = Home() + leg.iAwayGoals;
      const std::int32_t iAggAway = Away() + leg.iHomeGoals;
      if (iAggHome == iAggAway && Away() == leg.iAwayGoals) {
        ExtraTimeGrant(false, true);
        tmglobal_MatchPhaseSet(1);
        return GAME_MODE_KICK_OFF;
      }
      return GAME_MODE_MATCH_END;
    }
    case 1:
      // Extra time that brought no goal leaves the tie level: penalties.
      if (Home() == s.aiNormal[0] && Away() == s.aiNormal[1]) {
        ShootoutGrant();
        return 66;
      }
      return Decided();
    case 3:
      return Decided();
    default:
      QDX_ASSERT(!"mftime: phase without a two-legged rule");
      return Decided();
  }
}

void mftime_Enter() {
  usrctl_oKick.iShown = 0;
  refact_ActionSet(8);
  s.iCursor = 0;
  for (User& u : user_aUsers)
    if (u.bActive && u.pip && u.MyTeam) input_PortBindingSet(44, u.pip);
  if (clock_PeriodGet() != 5) sfx_WhistleSequenceB();
  s.iNext = GAME_MODE_PERIOD_END;
  s.iStep = 1;
  s.iTimer = 0;
  s.bSkip = 0;
  match_HomeTeamGet()->SubRequest = 0;
  match_AwayTeamGet()->SubRequest = 0;
  BallToCentre();
  s.bDone = 0;
  s.bFirstPass = 1;
  PlayersRunOff();
}

void periodend_Enter() { mftime_Enter(); }

void mftime_UserInput(User*) {}

void mftime_Sequence() {
  switch (s.iStep) {
    case 1:
      virtdir_PathSet(3);
      s.iStep = 2;
      break;
    case 2:
    case 5:
    case 8:
      caption_Request(s.iStep == 2 ? CAPTION_SCORERS_FULL : s.iStep == 5 ? CAPTION_STATS_FULL : CAPTION_AREAS_FULL, 0);
      s.iTimer = 0;
      s.bSkip = 0;
      s.iStep++;
      break;
    case 3:
    case 6:
    case 9:
      s.iTimer++;
      if (s.iTimer >= 200 || (s.bSkip && (s.iStep != 3 || s.iTimer >= 51))) {
        caption_Clear();
        s.bSkip = 0;
        s.iTimer = 0;
        s.iStep++;
      }
      break;
    case 4:
    case 7:
    case 10:
      if (++s.iTimer >= 10) {
        s.iTimer = 0;
        s.iStep++;
      }
      break;
    case 11:
      if (!s.bDone) Decision();
      break;
    case 12:
      Choice();
      break;
    case 13:
      s.iStep = 0;
      break;
    default:
      break;
  }
}

void mftime_Run() {
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (iEvent == 8) {
      caption_ScorersScrollUp();
      s.iCursor = 0;
      s.iTimer = 0;
    } else if (iEvent == 9) {
      caption_ScorersScrollDown();
      s.iCursor = 1;
      s.iTimer = 0;
    } else if (iEvent == 37) {
      if (!SelectHeldSinceDraw(pusr)) s.bSkip = 1;
    }
  });
  mftime_Sequence();
  switch (s.iNext) {
    case GAME_MODE_KICK_OFF:
      if (!camera_bIsFadeHolding()) break;
      if (tmglobal_MatchPhaseGet() == 2) ClockRestart();
      periodbreak_EndsSwap();
      for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
        if (s.bFirstPass) plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
        else plyrInit_RestartInit(pp);
      }
      global_ResetGameModeStack();
      global_GameModePush(kickoff_Start, GAME_MODE_KICK_OFF, nullptr);
      // A match played again (first pass) kept the period end's director
      // over its set-up: the kick-off puts back the camera its start took
      // from the ball, unmoved, as a new match's kick-off does.
      if (!s.bFirstPass) camera_Pop();
      BallToCentre();
      s.bFirstPass = 1;
      s.iNext = GAME_MODE_PERIOD_END;
      break;
    case GAME_MODE_MATCH_END:
      global_ResetGameModeStack();
      global_GameModePush(nullptr, GAME_MODE_MATCH_END, nullptr);
      if (global_eGetExtendedGameMode() == GAME_MODE_HISTORY) global.bHistory = 1;
      break;
    case 66:
      if (!camera_bIsFadeHolding()) break;
      clock_ResumeOnPlay();
      global_GameModePush(celebrate_Enter, GAME_MODE_GOAL_CELEBRATION, nullptr);
      global_GameModePush(mpenso_Start, GAME_MODE_SHOOTOUT, nullptr);
      camera_Pop();
      s.iNext = GAME_MODE_PERIOD_END;
      break;
    default:
      break;
  }
  game_MatchFrame();
}
