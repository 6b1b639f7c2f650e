// The break between periods (mode 34): whistle, ends swapped, the players
// walk off, three caption pages, a white fade and the next kick-off.
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "matchflow/virtdir.h"
#include "shell/game.h"
#include "shell/global.h"

namespace {

// One match's period break.
struct BreakState {
  std::int32_t iPhase;
  std::int32_t iTimer;
  std::int32_t bSkip;
};
constexpr BreakState kBreakFresh = {};
BreakState s_o = kBreakFresh;

}  // namespace

std::int32_t periodbreak_PhaseGet() { return s_o.iPhase; }

MatchStateBlock periodbreak_MatchState() { return {"periodbreak", &s_o, sizeof s_o}; }
void periodbreak_Reset() { matchstate_Restore(s_o, kBreakFresh); }

void periodbreak_EndsSwap() {
  // Toss 1 before: toss 0, home defending; toss 0 before: toss 1, home in possession.
  const std::int32_t iToss = match_CoinTossGet() == 1 ? 0 : 1;
  match_CoinTossSet(iToss);
  const std::int32_t iHome = iToss == 1 ? 0 : 1;
  for (std::int32_t k = 0; k < 2; k++) {
    match_HomeClubStateSet(iHome);
    match_AwayClubStateSet(1 - iHome);
  }
  // The ends: home takes the away side's old end, away the other one (0 or 1,
  // never a negative end).
  MatchTeam* poHome = match_HomeTeamGet();
  MatchTeam* poAway = match_AwayTeamGet();
  const std::int32_t iOldAway = poAway->KickOff;
  poHome->KickOff = iOldAway;
  poAway->KickOff = 1 - iOldAway;
}

void periodbreak_Enter() {
  usrctl_oKick.iShown = 0;
  refact_ActionSet(8);
  for (User& u : user_aUsers)
    if (u.bActive && u.pip && u.MyTeam) input_PortBindingSet(27, u.pip);
  sfx_WhistleSequenceA();
  periodbreak_EndsSwap();
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  s_o.iPhase = 1;
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
    PlayerO_MoveToSet(pp, 0, -11520, ANIM_WALK);
}

void periodbreak_UserInput(User*) {}

namespace {
// A caption page of the break: shown, its timer and skip cleared, then waited on.
void PageStart(std::int32_t eCaption) {
  caption_Request(eCaption, 0);
  s_o.iTimer = 0;
  s_o.bSkip = 0;
  s_o.iPhase++;
}
}  // namespace

void periodbreak_Sequence() {
  switch (s_o.iPhase) {
    case 1:
      virtdir_PathSet(2);
      s_o.iPhase = 2;
      break;
    case 2:
      PageStart(CAPTION_SCORERS_HALF);
      break;
    case 3:
    case 6:
    case 9:
      s_o.iTimer++;
      if (s_o.iTimer >= 200 || (s_o.bSkip && (s_o.iPhase != 3 || s_o.iTimer >= 51))) {
        caption_Clear();
        s_o.bSkip = 0;
        s_o.iTimer = 0;
        s_o.iPhase++;
      }
      break;
    case 4:
    case 7:
    case 10:
      if (++s_o.iTimer >= 20) {
        s_o.iTimer = 0;
        if (s_o.iPhase == 10) camera_FadeStart();
        s_o.iPhase++;
      }
      break;
    case 5:
      PageStart(CAPTION_STATS_HALF);
      break;
    case 8:
      PageStart(CAPTION_AREAS_HALF);
      break;
    case 11:
      if (camera_bIsFadeHolding()) {
        global_ResetGameModeStack();
        global_GameModePush(kickoff_Start, GAME_MODE_KICK_OFF, nullptr);
        for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) plyrInit_RestartInit(pp);
        gstatso_ActionAreasSwap(&match_HomeTeamGet()->MatchStats);
        s_o.iPhase = 0;
      }
      break;
    default:
      break;
  }
}

void periodbreak_Update() {
  mflow_UserEventsEach([](User*, std::int32_t iEvent) {
    if (iEvent == 37) {
      s_o.bSkip = 1;
    } else if (iEvent == 8 || iEvent == 9) {
      if (iEvent == 8) caption_ScorersScrollUp();
      else caption_ScorersScrollDown();
      s_o.iTimer = 0;
    }
  });
  periodbreak_Sequence();
  game_MatchFrame();
}
