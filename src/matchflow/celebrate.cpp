// The goal celebration (mode 64): the scorer's user steers him and plays
// celebration animations; then the replay and the kick-off, or the period
// end when the match is decided.
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "matchflow/camera.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "engine/action_react.h"
#include "matchflow/replay.h"
#include "matchflow/matcha.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/user.h"
#include "shell/usrmark.h"

namespace {

// One match's goal celebration: its count, the scoring side, and each
// user's sprint, request, aim step and last stick reading.
struct CelebrateState {
  std::int32_t iCounter;
  std::int32_t bEnd;
  std::int32_t iScoringSide;
  std::int32_t abSprint[USER_MAX];
  std::int32_t abRequest[USER_MAX];
  std::int32_t aiAimStep[USER_MAX];
  std::uint32_t auLastStick[USER_MAX];
};
constexpr CelebrateState kCelebrateFresh = {};
CelebrateState s_o = kCelebrateFresh;

constexpr std::int32_t kTargetX = 9358;
constexpr std::int32_t kTargetY = 5758;

Player* Scorer() { return global.poScorer; }

Player* UserPlayer(const User* pusr) { return pusr->phl ? pusr->phl->pplyr : nullptr; }

// A point ahead of the player along the heading (degrees), kept within
// the run box.
void RunTarget(const Player* pp, std::int32_t iDegrees, std::int32_t* px, std::int32_t* py) {
  std::int32_t x = pp->x + imath_CosScale(4000, iDegrees);
  std::int32_t y = pp->y + imath_SinScale(4000, iDegrees);
  *px = x < -kTargetX ? -kTargetX : x > kTargetX ? kTargetX : x;
  *py = y < -kTargetY ? -kTargetY : y > kTargetY ? kTargetY : y;
}

}  // namespace

std::int32_t celebrate_CounterGet() { return s_o.iCounter; }

MatchStateBlock celebrate_MatchState() { return {"celebrate", &s_o, sizeof s_o}; }
void celebrate_Reset() {
  matchstate_Restore(s_o, kCelebrateFresh);
  global.poScorer = nullptr;
  // A celebration armed by the last goal of a match that ended before it
  // was danced does not carry into the next match's first goal.
  react_GoalCelebrationDisarm();
}
Player* celebrate_poScorerGet() { return Scorer(); }

void celebrate_ScorerSet(Player* poScorer, std::int32_t iSide) {
  global.poScorer = poScorer;
  s_o.iScoringSide = iSide;
}

void celebrate_Enter() {
  ball_Release(&ball_oBall);
  for (User& u : user_aUsers)
    if (u.bActive && u.pip && u.MyTeam) input_PortBindingSet(2, u.pip);
  Player* pp = Scorer();
  if (pp) {
    if (s_o.iScoringSide == 0) s_o.iScoringSide = pp->MyTeam;
    if (pp->pUser && pp->pUser->pip) {
      input_PortBindingSet(35, pp->pUser->pip);
      global_SetPauseUser(pp->pUser);
    } else {
      for (User& u : user_aUsers) {
        if (!u.bActive || !u.pip || u.MyTeam != pp->MyTeam || u.MyTeam != s_o.iScoringSide) continue;
        input_PortBindingSet(35, u.pip);
        global_SetPauseUser(&u);
        user_PlayerSet(&u, pp);
        break;
      }
    }
  }
  for (std::int32_t i = 0; i < USER_MAX; i++) s_o.abSprint[i] = s_o.abRequest[i] = s_o.aiAimStep[i] = 0;
  s_o.iCounter = 0;
  s_o.bEnd = 0;
  camera_Push(CAMERA_CEL);
  replay_ClearRecording();
}

void celebrate_UserInput(User* pusr) { (void)pusr; }

namespace {

void Event(User* pusr, std::int32_t iEvent) {
  Player* pp = UserPlayer(pusr);
  const std::int32_t i = pusr->iIndex & (USER_MAX - 1);
  const bool bScorer = pp && pp == Scorer();
  switch (iEvent) {
    case 83: s_o.bEnd = 1; break;
    case 23: {
      if (!pp) break;
      const std::uint32_t u = pusr->uStickDirection;
      const std::int32_t iMag = static_cast<std::int32_t>(u & 0xFFFF);
      const std::int32_t iDeg = static_cast<std::int32_t>(u >> 16);
      if ((u >> 16) != (s_o.auLastStick[i] >> 16)) s_o.aiAimStep[i] = 0;
      s_o.auLastStick[i] = u;
      if (iMag < USER_STICK_STEER_MIN) s_o.aiAimStep[i] = 0;
      if (!bScorer) {
        if (iMag >= USER_STICK_CELEBRATE_STEP_MIN) {
          std::int32_t x, y;
          RunTarget(pp, iDeg, &x, &y);
          PlayerO_MoveToSet(pp, x, y, ANIM_TURN);
        }
        break;
      }
      if (iMag < USER_STICK_CELEBRATE_STEP_MIN) {
        PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
      } else {
        std::int32_t x, y;
        RunTarget(pp, iDeg, &x, &y);
        std::uint32_t eAnim = ANIM_TURN;
        if (iMag >= USER_STICK_CELEBRATE_RUN_MIN) {
          eAnim = 10;
          if (s_o.abSprint[i]) {
            eAnim = 11;
            s_o.abSprint[i] = 0;
          } else if (s_o.abRequest[i]) {
            eAnim = 18;
            s_o.abRequest[i] = 0;
          }
        }
        PlayerO_MoveToSet(pp, x, y, eAnim);
      }
      break;
    }
    case 120: if (bScorer) PlayerO_MoveToSet(pp, pp->x, pp->y, 12); break;
    case 121: if (bScorer) PlayerO_MoveToSet(pp, pp->x, pp->y, 14); break;
    case 122: if (bScorer) PlayerO_MoveToSet(pp, pp->x, pp->y, 172); break;
    case 123: if (bScorer) PlayerO_MoveToSet(pp, pp->x, pp->y, 13); break;
    case 124: s_o.abSprint[i] = 1; break;
    case 125: s_o.abRequest[i] = 1; break;
    default: break;
  }
}

}  // namespace

void celebrate_Run() {
  s_o.iCounter++;
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (pusr->MyTeam) Event(pusr, iEvent);
  });
  if (s_o.iCounter == 90) {
    replay_ClearRecording();
    react_GoalCelebrationArm();
  }
  const Player* pp = Scorer();
  const bool bUserScorer = pp && pp->Control == PLAYER_CONTROL_USER;
  if (s_o.bEnd || (s_o.iCounter >= 210 && !bUserScorer) || s_o.iCounter >= 451) {
    celebrate_End();
    return;
  }
  game_MatchFrame();
}

void celebrate_End() {
  s_o.bEnd = 0;
  global_ResetGameModeStack();
  if (referee_MatchOverGet()) {
    global_GameModePush(mftime_Enter, GAME_MODE_PERIOD_END, nullptr);
    global_GameModePush(replay_Enter, GAME_MODE_REPLAY, nullptr);
  } else {
    global_GameModePush(kickoff_Start, GAME_MODE_KICK_OFF, nullptr);
    setp_StandStillSet(1);
    camera_Pop();
    if (global_eGetExtendedGameMode() != GAME_MODE_DEMO)
      global_GameModePush(replay_Enter, GAME_MODE_REPLAY, nullptr);
  }
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
}
