// Platform hooks of the portable game code.
#include "shell/pcstub.h"

#include "engine/team.h"
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

namespace {
// iSide: 1 home, 2 away, as the computer's side is given.
void pcstub_StrengthAdjust(MatchTeam* poTeam, int32_t iSide) {
  team_RatingUpdate(poTeam);
  if (pcsides_ComputerSideGet() == iSide)
    poTeam->iRating = static_cast<int32_t>(static_cast<float>(poTeam->iRating) * pcstub_fGetHandicap());
}
}  // namespace

void pcstub_HomeStrengthAdjust(MatchTeam* poTeam) { pcstub_StrengthAdjust(poTeam, 1); }
void pcstub_AwayStrengthAdjust(MatchTeam* poTeam) { pcstub_StrengthAdjust(poTeam, 2); }
void pcstub_Nop1() {}
void pcstub_Nop2() {}
