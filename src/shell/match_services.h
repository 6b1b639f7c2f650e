#pragma once
// What the game shell calls in the match engine and the match flow: the
// match-mode handlers of the match tick, the screens of the front-end tick that
// the match flow owns, and the operations of match entry, leave and the
// simulation step.
#include <cstdint>

// ---- Front-end cases owned by the match flow ---------------------------------------
int32_t caption_ControllerMsgDraw();
void replay_Mode1Enter();
void matchflow_TitleRun();
void demo_MatchSetup();
void options_Run();
void pausemenu_AttractMovieRun();
void options_SetDefaults();
// Set when the last match was left through its pause menu's "Quit".
int32_t pausemenu_bQuitGet();

// ---- Match modes ---------------------------------------------------------------------
void usrctl_Update();
void options_DebugUpdate();
// A pause menu the tick's Start pushed under another mode taken back; the
// pause flag cleared when no pause menu is on the stack.
void pausemenu_Settle();
void matchstart_Update();
void kickoff_Update();
void matchflow_InMatchSetup();
void mgoalkic_Update();
void corner_Run();
void keeperball_Run();
void periodbreak_Update();
void mftime_Run();
void returnpos_Update();
void mthrowin_Update();
void freekick_Run();
void replay_Update();
void penalty_Update();
void subs_Update();
void mformation_Update();
void subs_Mode62Update();
void celebrate_Run();
void mpenso_Update();
void subs_Mode67Update();
void kickoffwait_Update();
void mhands_Update();
void spscript_Update();
void cpuman_ModeRun();
void playon_Update();

// ---- Common calls of every match tick ---------------------------------------------------
void caption_Draw();
void demo_Update();

// ---- Simulation and drawing steps ---------------------------------------------------------
int32_t usrctl_bSimulationHeld();  // the open-play hold flag set while its release flag is clear
void replay_RecordFrame();
void clock_Update();
void camera_Update();
void ball_Update();
void offside_LineUpdate();
void player_FrameUpdate();
void anim_BallAtHolderPlace();

// ---- Match entry and leave ------------------------------------------------------------------
void match_Clear();
void team_PlayersInit();
void matchflow_LineupReset();
void caption_Init();
void camera_ViewInvalidate();
void referee_DecisionClear();
void replay_Reset();
void injuryg_Update();
void injuryg_MatchEndUpdate();
void match_SquadsCopyBack();

// ---- Match clock, for the pause ----------------------------------------------------------------
void clock_StateSave();
void clock_StateRestore();
void clock_ResumeOnPlay();
