// The kick-off (mode 23): taker and partner at the centre spot, both sides
// standing in their halves, the message box, and the wait for the kick-off
// command that the set-piece handler turns into open play.
#include <cstring>
#include <initializer_list>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "frontend/pctext.h"
#include "matchflow/camera.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "matchflow/replay.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/usrmark.h"

namespace {

// One match's kick-off: the message shown at it (extra time, golden goal),
// its taker and his partner.
struct KickOffState {
  const char* pszMessage;
  Player* poTaker;
  Player* poPartner;
};
constexpr KickOffState kKickOffFresh = {};
KickOffState s_o = kKickOffFresh;

std::int32_t PossessionSide() { return match_HomeClubStateGet() == 0 ? player_PlaysFor_Home : player_PlaysFor_Away; }

// The kick-off's bindings: no side 16, the side in possession 19 (the
// kick-off command and Start), the other side 1.
void KickOffBind() {
  const std::int32_t iSide = PossessionSide();
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    const std::int32_t eBinding = u.MyTeam == 0 ? 16 : u.MyTeam == iSide ? 19 : 1;
    input_PortBindingSet(eBinding, u.pip);
  }
}

// Back from the pause menu the kick-off waits as before: the side in
// possession can still kick off.
void KickOffResume() { KickOffBind(); }

void Stand(Player* pp) {
  PlayerO_SpeedSet(pp, 0);
  PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
  pp->oAnimInfo.eActionAnim = ANIM_OFFENCE_IDLE;
  player_FaceTowards(pp, 0, 0);
}

// A player put at his kick-off place (the centre of his zone 35). One who has
// to be moved there starts from the standing clip, as the kick-off reset
// leaves a player: the rest of the clip he was playing where he stood (a
// scorer's last steps of his celebration) would carry him off his place when
// it ends. A keeper's clips are his own machine's. Everybody stands on the
// ground: a keeper whose last save ended in the air keeps its height else.
void PutAtPlace(Player* pp, const QMathPoint& pt) {
  if (!player_IsGoalkeeper(pp) && (pp->x != pt.x || pp->y != pt.y)) {
    anim_Reset(&pp->oAnimData);
    PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
  }
  pp->x = static_cast<std::int16_t>(pt.x);
  pp->y = static_cast<std::int16_t>(pt.y);
  pp->height = 0;
}

// The non-goalkeeper of the chain nearest the ball (within 253440 units; a
// tie goes to the later one), other than poSkip. Read as a squared distance
// the bound would leave no taker: at their kick-off places the nearest
// players stand some 730 units from the spot.
Player* NearestOutfield(Player* poFirst, const Player* poSkip) {
  Player* poBest = nullptr;
  std::int64_t iBest = static_cast<std::int64_t>(253440) * 253440;
  const std::int64_t bx = ball_CurXGet(), by = ball_CurYGet();
  for (Player* pp = poFirst; pp; pp = pp->pNext) {
    if (pp == poSkip || player_IsGoalkeeper(pp)) continue;
    const std::int64_t dx = pp->x - bx, dy = pp->y - by;
    const std::int64_t d = dx * dx + dy * dy;
    if (d <= iBest) {
      iBest = d;
      poBest = pp;
    }
  }
  return poBest;
}

}  // namespace

void kickoff_MessageSet(const char* pszText) { s_o.pszMessage = pszText; }
std::int32_t kickoff_MessageBoxHeightGet() {
  pctext_FontSet(2);
  return pctext_HeightGet() + 20;
}
MatchStateBlock kickoff_MatchState() { return {"kickoff", &s_o, sizeof s_o}; }
void kickoff_Reset() { matchstate_Restore(s_o, kKickOffFresh); }
const char* kickoff_MessageGet() { return s_o.pszMessage; }
Player* kickoff_poTakerGet() { return s_o.poTaker; }
Player* kickoff_poPartnerGet() { return s_o.poPartner; }

void kickoff_Start() {
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip || !u.MyTeam || !u.phl) continue;
    if (Player* pp = u.phl->pplyr) {
      pp->Control = PLAYER_CONTROL_COMPUTER;
      pp->pUser = nullptr;
      pp->bUserSteered = 0;
      u.phl->pplyr = nullptr;
    }
    user_SelectPlayer(&u);
  }
  matchflow_LineupReset();
  const std::int32_t iSide = PossessionSide();
  KickOffBind();
  sfx_PlayWhistle();
  setp_Init();
  // The ball waits on the spot: what was judged of its last flight (a shot
  // at the goal this keeper stands in once the ends are changed) is over.
  ball_OutcomeClear();
  camera_Reset();
  camera_TargetSourceDefault();

  Player* poAttack = match_StateTeamFirstPlayerGet();
  for (Player* pp = poAttack; pp; pp = pp->pNext) {
    QMathPoint pt{};
    if (zone_bCentreGet(pp, &pt, 35)) {
      PutAtPlace(pp, pt);
      pp->oSetPiece.iTargetX = static_cast<std::int16_t>(pt.x);
      pp->oSetPiece.iTargetY = static_cast<std::int16_t>(pt.y);
      anim_TargetPointSet(&pp->oAnimInfo, pt.x, pt.y);
    }
    Stand(pp);
  }
  s_o.poTaker = NearestOutfield(poAttack, nullptr);
  s_o.poPartner = NearestOutfield(poAttack, s_o.poTaker);
  setp_KickTakerSet(s_o.poTaker);
  setp_PartnerSet(s_o.poPartner);
  // The other side to its kick-off places: the keeper in his goal, the rest
  // in their own half outside the centre circle. Only the first kick-off of a
  // match comes after the walk-on, which has them there already; at any other
  // (after a goal, at the start of a half or of extra time, at a match played
  // again) they would wait where they last stood: the scorers where they
  // celebrated, or on the touch line the players walked off to, the keeper
  // with his goal empty behind the play.
  for (Player* pp = match_OtherTeamFirstPlayerGet(); pp; pp = pp->pNext) {
    QMathPoint pt{};
    if (zone_bCentreGet(pp, &pt, 35)) PutAtPlace(pp, pt);
    Stand(pp);
  }
  // A match's first kick-off: the keepers ran from the touch line to their
  // goals in the wait at the centre spot, which was no play. Everybody kicks
  // off fresh, as the same match played again (placed here straight from
  // the touch line) does.
  if (clock_SecondsGet() == 0)
    for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) pp->uStamina = PLAYER_STAMINA_FULL;
  replay_ClearRecording();
  replay_StartRecording();
  debuglog_Printf("kick-off: side %d, taker %d, partner %d\n", iSide, s_o.poTaker ? s_o.poTaker->ID : -1,
                  s_o.poPartner ? s_o.poPartner->ID : -1);
}

void kickoff_Update() {
  if (s_o.pszMessage) {
    pctext_FontSet(2);
    const std::int32_t w = pctext_WidthGet(s_o.pszMessage) + 40;
    // One priority draws its latest item first: the text goes in before its
    // box so that it is drawn over it. The box holds the font's whole cell
    // with 10 pixels above and below it (30 high for a 10-pixel font).
    draw2d_TextColourSet(200, 200, 0, 255);
    pctext_PrintCentred(s_o.pszMessage, 320, 100, 0);
    draw2d_FillColourSet(32, 32, 32, 255);
    draw2d_RectFill(320 - w / 2, 90, w, kickoff_MessageBoxHeightGet(), 0);
  }
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (iEvent == 1 && pusr->MyTeam) {
      pausemenu_Open(pusr, KickOffResume);
    } else if (iEvent == 63) {
      s_o.pszMessage = nullptr;
      setp_CommandSet(1);
    }
  });
  if (subs_bIsPending()) global_GameModePush(subs_Mode67Enter, static_cast<GameMode>(67), subs_Mode67Check);
  for (MatchTeam* poTeam : {match_HomeTeamGet(), match_AwayTeamGet()})
    if (poTeam->poPlayers && team_IsComputerControlled(poTeam)) cpuman_Update(poTeam);
  game_MatchFrame();
  // The kick given, by a user or by the computer for its side, ends the
  // message: it is not shown again at a later kick-off.
  if (setp_CommandGet() == SETP_CMD_KICK) s_o.pszMessage = nullptr;
}
