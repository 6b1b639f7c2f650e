// What the sound logic reads of the running game: the frame counter, the
// game modes, the score and minute, the ball, the players, the camera.
#include "audio/sound.h"
#include "engine/ball.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "matchflow/camera.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcmain_states.h"
#include "shell/texts.h"

std::int32_t soundmatch_Frame() { return input_iGetFrame(); }
std::int32_t soundmatch_GameMode() { return global_eGetGameMode(); }
std::int32_t soundmatch_ExtendedMode() { return global_eGetExtendedGameMode(); }
// While the application changes state (the new state's enter runs with no
// state current) the state being entered counts.
std::int32_t soundmatch_InFrontEnd() {
  const AppState e = pcmain_eCurrentState == APP_STATE_NONE ? pcmain_eRequestedState : pcmain_eCurrentState;
  return e != APP_STATE_MATCH && e != APP_STATE_MATCH_LOADING;
}
std::int32_t soundmatch_Minute() { return clock_MinuteGet(); }
std::int32_t soundmatch_HomeTeamId() { return match_TeamIdGet(&match.HomeTeam); }
std::int32_t soundmatch_AwayTeamId() { return match_TeamIdGet(&match.AwayTeam); }
std::int32_t soundmatch_Interface() { return mlang_iLanguage; }
std::int32_t soundmatch_HomeGoals() { return match.HomeGoals; }
std::int32_t soundmatch_AwayGoals() { return match.AwayGoals; }
std::int32_t soundmatch_BallHeight() { return ball_HeightGet(&ball_oBall); }
std::int32_t soundmatch_BallX() { return ball_XGet(&ball_oBall); }
std::int32_t soundmatch_BallY() { return ball_YGet(&ball_oBall); }

void soundmatch_BallForExcitement(std::int32_t* px, std::int32_t* py) {
  if (ball_oBall.iState == 15) {
    *px = ball_CurXGet();
    *py = ball_CurYGet();
  } else {
    *px = ball_PrevXGet();
    *py = ball_PrevYGet();
  }
}

std::int32_t soundmatch_BallOwnerSide(std::int32_t* piSide) {
  Player* pp = ball_OwnerGet();
  *piSide = pp ? soundmatch_Side(pp) : 0;
  return pp != nullptr;
}

std::int32_t soundmatch_OffsideKind() {
  std::int32_t iKind = 0;
  if (!offside_LineGet(&iKind)) return 0;
  return iKind;
}

std::int32_t soundmatch_HomeClubState() { return match_HomeClubStateGet(); }
std::int32_t soundmatch_Side(const Player* pp) { return pp->ID >= 11 ? 1 : 0; }
std::int32_t soundmatch_PlayerNumber(const Player* pp) { return pp->ID; }
std::int32_t soundmatch_PlayerDirection(const Player* pp) { return pp->Direction; }

void soundmatch_PlayerPosition(const Player* pp, std::int32_t aiPos[3]) {
  aiPos[0] = pp->x;
  aiPos[1] = pp->height;
  aiPos[2] = pp->y;
}

// The voices are heard from the match camera's eye, looking at its target.
void soundmatch_Camera(std::int32_t aiPos[3], std::int32_t aiTarget[3]) {
  const CameraView* v = camera_poViewGet();
  for (int n = 0; n < 3; ++n) {
    aiPos[n] = v->aiEye[n];
    aiTarget[n] = v->aiTarget[n];
  }
}

// The referee's phrases come from where he stands.
void soundmatch_Referee(std::int32_t aiPos[3]) { soundmatch_PlayerPosition(&player_oReferee, aiPos); }
