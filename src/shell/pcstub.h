#pragma once
// Platform hooks the portable game code calls, with this platform's answers.
#include <cstdint>

struct MatchTeam;

void pcstub_TickHook();
void pcstub_MessageDrawForward();
int32_t pcstub_iGetScreenWidth();
int32_t pcstub_iGetScreenHeight();
void pcstub_FrontEndHook();
void pcstub_OptionsHook();
void pcstub_MatchStartHook1();
void pcstub_MatchStartHook2();
void pcstub_HistoryDrawHook();
int32_t pcstub_iGetDirectorBatch();
float pcstub_fGetHandicap();
// Recompute the side's rating; when the computer plays that side alone the
// rating is then scaled by the handicap factor and truncated.
void pcstub_HomeStrengthAdjust(MatchTeam* poTeam);
void pcstub_AwayStrengthAdjust(MatchTeam* poTeam);
void pcstub_Nop1();
void pcstub_Nop2();
