// The front-end tick and the match tick.
#include "shell/game.h"

#include "framework/math/qmath.h"
#include "frontend/frontend_services.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/match_services.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "audio/audio_services.h"
#include "tournament/tournament_services.h"

int32_t teamadj_FrontEndPoll() { return 0; }
int32_t teamadj_MatchPoll() { return 0; }

int32_t game_FrontEndTick() {
  input_PortsRead();
  input_EventsGenerate();
  // A kept error box takes the player's keys until one takes it away.
  pctext_ErrorBoxKeyTake();
  (void)QMathRandNext();

  switch (static_cast<int32_t>(global.eGameMode)) {
    case 1:
      replay_Mode1Enter();
      break;
    case 4:
    case 5:
    case 25:
      break;
    case 8:
      caption_ControllerMsgDraw();
      if (global.eExtendedGameMode == GAME_MODE_HISTORY) {
        global_SetGameMode(GAME_MODE_NEWS);
      } else {
        matchflow_TitleRun();
      }
      break;
    case 9: caption_ControllerMsgDraw(); mteam_Run(); break;
    case 11: caption_ControllerMsgDraw(); pcsides_Run(); break;
    case 12: caption_ControllerMsgDraw(); pcgame_MainMenuRun(); break;
    case 13: caption_ControllerMsgDraw(); mtatics_Run(); break;
    case 14:
    case 19: caption_ControllerMsgDraw(); mquick_MatchStart(); break;
    case 15: caption_ControllerMsgDraw(); demo_MatchSetup(); break;
    case 17: caption_ControllerMsgDraw(); mfhsquad_Run(); break;
    case 20: caption_ControllerMsgDraw(); mcondi_Run(); break;
    case 21:
      caption_ControllerMsgDraw();
      global_SetGameMode(GAME_MODE_MAIN_MENU);
      break;
    case 22:
    case 33:
      pcfmv_Stop();
      vsync_Init();
      return 0;
    case 41: caption_ControllerMsgDraw(); options_Run(); break;
    case 42: caption_ControllerMsgDraw(); pcsave_SaveRun(); break;
    case 43: caption_ControllerMsgDraw(); pcsave_LoadRun(); break;
    case 45: caption_ControllerMsgDraw(); mfhsetup_Run(); break;
    case 47: caption_ControllerMsgDraw(); mfhmain_Run(); break;
    case 48: caption_ControllerMsgDraw(); mfhfixtr_Run(); break;
    case 52: caption_ControllerMsgDraw(); mfhopts_Run(); break;
    case 55: caption_ControllerMsgDraw(); mfhgroup_Run(); break;
    case 56: caption_ControllerMsgDraw(); mfhrole_Run(); break;
    case 57: caption_ControllerMsgDraw(); mfhnews_Run(); break;
    case 70: caption_ControllerMsgDraw(); pccontrols_Run(); break;
    case 73:
      switch (static_cast<int32_t>(global.eExtendedGameMode)) {
        case GAME_MODE_HISTORY:
          if (pausemenu_bQuitGet()) {
            // "Quit History" in the match: the history ends, unrecorded.
            mfhmain_HistoryLeave();
            global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
          } else if (global.bHistory && mfhmain_State == 3) {
            global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
          } else {
            global_SetGameMode(GAME_MODE_NEWS);
          }
          break;
        case 74:
        case GAME_MODE_START_FRIENDLY:
        case GAME_MODE_START_TRAINING:
          global_SetGameMode(GAME_MODE_MAIN_MENU);
          break;
        case GAME_MODE_DEMO:
          global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
          break;
        default:
          intro_Run();
          break;
      }
      break;
    case 75: wcwin_Run(); break;
    case 76: wcqual_Run(); break;
    case 77:
    case 78: wcelim_Run(); break;
    case 79: wcintro_Run(); break;
    case 81:
      caption_ControllerMsgDraw();
      (void)teamadj_FrontEndPoll();
      mlang_Enter();
      break;
    case 83: pausemenu_AttractMovieRun(); break;
    case 84: histintro_Run(); break;
    case 88: mhelp_Run(); break;
    default:
      global_SetGameMode(GAME_MODE_REPLAY_BINDINGS);
      break;
  }
  pcfe_EscapeTrack();
  return 1;
}

int32_t game_MatchTick() {
  input_PortsRead();
  input_EventsGenerate();
  pctext_FontSet(0);

  int32_t iResult = 1;
  switch (static_cast<int32_t>(global.eGameMode)) {
    case 2: usrctl_Update(); break;
    case 7: options_DebugUpdate(); break;
    case 22: matchstart_Update(); break;
    case 23: kickoff_Update(); break;
    case 24: matchflow_InMatchSetup(); break;
    case 26: mgoalkic_Update(); break;
    case 27: corner_Run(); break;
    case 32: keeperball_Run(); break;
    case 33:
      vsync_Init();
      iResult = 0;
      break;
    case 34: periodbreak_Update(); break;
    case 35: mftime_Run(); break;
    case 36: returnpos_Update(); break;
    case 40: mthrowin_Update(); break;
    case 44: freekick_Run(); break;
    case 46: replay_Update(); break;
    case 58: penalty_Update(); break;
    case 59: subs_Update(); break;
    case 61: mformation_Update(); break;
    case 62: subs_Mode62Update(); break;
    case 64: celebrate_Run(); break;
    case 66: mpenso_Update(); break;
    case 67: subs_Mode67Update(); break;
    case 72: kickoffwait_Update(); break;
    case 80: mhands_Update(); break;
    case 82: spscript_Update(); break;
    case 85: cpuman_ModeRun(); break;
    case 86: playon_Update(); break;
    default: break;
  }
  caption_Draw();
  demo_Update();
  pausemenu_Settle();
  global_GameModeTransition();
  return iResult;
}

void game_MatchFrame() {
  bool bHeld = teamadj_MatchPoll() != 0 || input_bControllerMissing() != 0 || usrctl_bSimulationHeld() != 0;
  if (!bHeld) {
    replay_RecordFrame();
    game_SimStep();
  }
  game_DrawStep();
}

void game_MatchFrameNoSim() {
  camera_Update();
  game_DrawStep();
}

void game_SimStep() {
  pctext_FontSet(0);
  clock_Update();
  camera_Update();
  ball_Update();
  offside_LineUpdate();
  player_FrameUpdate();
  user_Update();
}

void game_DrawStep() {
  crowd_UpdateExcitement();
  ticktape_Update();
  anim_BallAtHolderPlace();
  pcframe_BallStore(0);
  pcframe_PlayersStore();
}

void game_Start() {
  global_SetGameMode(GAME_MODE_REPLAY_BINDINGS);
  if (global.eExtendedGameMode != GAME_MODE_HISTORY) {
    match_Clear();
    team_PlayersInit();
  }
  game_UsersStart();
  if (global.eExtendedGameMode != GAME_MODE_HISTORY) squadcache_Clear();
}

void game_MatchEnter() {
  global_SetGameMode(GAME_MODE_IN_MATCH_SETUP);
  global.bHistory = 0;
  matchflow_LineupReset();
  ticktape_Init();
  camera_ViewInvalidate();
  referee_DecisionClear();
  // An error box kept for a front-end screen says nothing about the match.
  pctext_ErrorBoxDismiss();
}
