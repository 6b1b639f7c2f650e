// Platform hooks of the portable game code.
#include "shell/pcstub.h"

#include "frontend/frontend_services.h"

void pcstub_TickHook() {}
void pcstub_MessageDrawForward() { pctext_MessageDraw(); }
int32_t pcstub_iGetScreenWidth() { return 640; }
int32_t pcstub_iGetScreenHeight() { return 240; }
void pcstub_FrontEndHook() {}
void pcstub_OptionsHook() {}
void pcstub_MatchStartHook1() {}
void pcstub_MatchStartHook2() {}
void pcstub_HistoryDrawHook() {}
int32_t pcstub_iGetDirectorBatch() { return 7; }
float pcstub_fGetHandicap() { return 1.0f; }
void pcstub_Nop1() {}
void pcstub_Nop2() {}
