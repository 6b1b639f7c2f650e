#pragma once
// What the referee calls outside the match engine: the enter and exit
// operations of the restart modes he pushes, the play-on countdown, the end
// of the standing pause, the set-piece scripts' start operations, the goal
// and period-end modes, substitutions and the computer manager, and the
// touch machine's contact player.
#include <cstdint>

struct MatchTeam;
struct Player;

// Restart modes.
void mthrowin_Start();
void freekick_Setup();
void penalty_Start();
void corner_Setup();
void mgoalkic_Start();
void mhands_Start();
void playon_Enter();
void playon_Enter2();
void playon_CountSet(std::int32_t iTicks);
void returnpos_Enter();
void returnpos_EnterFade();
void returnpos_EnterLong();
void returnpos_LeaveSet();

// Set-piece scripts.
void spscript_StartThrowIn();
void spscript_StartFreeKick();
void spscript_StartPenalty();
void spscript_StartCorner();

// Goals and the end of the match.
void kickoffwait_Enter();
void celebrate_Enter();
void mftime_Enter();

// Substitutions and the computer manager.
void subs_Mode67Enter();
void subs_Mode67Check();
std::int32_t subs_bIsPending();
void cpuman_Update(MatchTeam* poTeam);

// Open play resumed from the keeper's ball.
void usrctl_StartPlay();

// The touch machine's contact player of a side.
void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind);

// The shoot-out's kick record.
void mpenso_RecordKick(std::int32_t bScored);

// The replay recorder stops.
void replay_ClearRecording();
