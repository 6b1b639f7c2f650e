// The penalty shoot-out (mode 66): each kick's set-up, the record of every
// kick, and the phase machine of five kicks each followed by sudden death.
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/mflow_services.h"
#include "matchflow/restart.h"
#include "shell/debuglog.h"
#include "shell/game.h"
#include "shell/global.h"
#include "tournament/tournament_services.h"

MPensoState mpenso_oState = {};

namespace {

constexpr std::int32_t kSpotX = 7632;
constexpr std::int32_t kKeeperX = 9376;

std::int32_t SideIndex(const Player* pp) { return pp && pp->MyTeam == player_PlaysFor_Away ? 1 : 0; }

Player* Keeper(Player* poFirst) {
  for (Player* pp = poFirst; pp; pp = pp->pNext)
    if (player_IsGoalkeeper(pp)) return pp;
  return nullptr;
}

// A player put at his shoot-out place stands on the ground there: a keeper
// whose last save ended in the air would otherwise stay at its height.
void Place(Player* pp, std::int32_t x, std::int32_t y, std::int32_t fx, std::int32_t fy) {
  pp->x = static_cast<std::int16_t>(x);
  pp->y = static_cast<std::int16_t>(y);
  pp->height = 0;
  PlayerO_SpeedSet(pp, 0);
  anim_TargetPointSet(&pp->oAnimInfo, x, y);
  player_FaceTowards(pp, fx, fy);
}

}  // namespace

void mpenso_Clear() { matchstate_Clear(mpenso_oState); }

void mpenso_BallPlace() {
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, kSpotX, 0, 0);
}

void mpenso_Bindings() {
  const std::int32_t iKicking = mpenso_oState.poTaker ? mpenso_oState.poTaker->MyTeam : 0;
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip || !u.MyTeam) continue;
    input_PortBindingSet(u.MyTeam == iKicking ? 33 : 48, u.pip);
  }
}

void mpenso_Start() {
  MPensoState& m = mpenso_oState;
  m.bKickPending = 1;
  clock_oClock.bPeriodOver = 0;
  setp_PenaltyFlagSet(0);
  setp_Init();

  const std::int32_t iSide = match_HomeClubStateGet() == 0 ? player_PlaysFor_Home : player_PlaysFor_Away;
  Player* poTaker = dbplayer_poPenaltyTakerChoose(iSide, 1);
  QDX_ASSERT(poTaker && "poPlayer");
  m.poTaker = poTaker;
  for (Player* pp = iSide == player_PlaysFor_Home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet(); pp;
       pp = pp->pNext)
    PlayerO_DirectionSet(pp, 1);
  setp_KickTakerSet(poTaker);

  Player* poDefending = iSide == player_PlaysFor_Home ? match_AwayFirstPlayerGet() : match_HomeFirstPlayerGet();
  Player* poKicking = iSide == player_PlaysFor_Home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet();
  for (Player* pp = poDefending; pp; pp = pp->pNext) PlayerO_DirectionSet(pp, 0);
  if (Player* pk = Keeper(poDefending)) {
    setp_PartnerSet(pk);
    Place(pk, kKeeperX, 0, 0, 0);
    // He guards the goal at +x whichever end his side defended in play.
    if (pk->pGoalie) {
      pk->pGoalie->iSide = 2;
      newgoalo_StateSet(pk->pGoalie, 2);
    }
    ball_OutcomeClear();
    celebrate_ScorerSet(pk, pk->MyTeam);
  }
  if (Player* pk = Keeper(poKicking)) {
    Place(pk, 0, 0, 100, 0);
    if (pk->pGoalie) {
      pk->pGoalie->iSide = 1;
      newgoalo_StateSet(pk->pGoalie, 2);
    }
  }
  camera_PushIfNew(CAMERA_PEN);
  camera_FadeRelease();
  caption_Request(CAPTION_SHOOTOUT, 0);
  mpenso_Bindings();
  mpenso_BallPlace();
  referee_RestartPointSet(kSpotX, 0);
  m.iNextKick = 0;
}

void mpenso_RecordKick(std::int32_t bScored) {
  MPensoState& m = mpenso_oState;
  if (!m.bKickPending) return;
  m.bKickPending = 0;
  Player* poTaker = m.poTaker;
  const std::int32_t k = SideIndex(poTaker);
  const std::int32_t iIndex = (m.iRow % 5) + 5 * k;
  if (bScored) {
    m.aiResult[iIndex] = 1;
    m.aiGoals[k]++;
    m.aiKicks[k]++;
    if (k == 0) match_HomeGoalScored();
    else match_AwayGoalScored();
    MatchTeam* poTeam = k == 0 ? match_HomeTeamGet() : match_AwayTeamGet();
    gstatso_GoalAdd(&poTeam->MatchStats, poTaker ? poTaker->pDBPlayer : nullptr, 0);
    if (poTaker) celebrate_ScorerSet(poTaker, poTaker->MyTeam);
    setp_CommandSet(15);
  } else {
    m.aiResult[iIndex] = 2;
    m.aiKicks[k]++;
    setp_CommandSet(16);
  }
  caption_ShootoutMarkSet(k, m.iRow % 5, bScored ? 1 : 0);
  m.cTotal++;
  // The other side takes the next kick: the club states of the next restart
  // (which the set-piece set-up of the next kick hands to the match record).
  const std::int32_t iHome = k == 0 ? 1 : 0;
  referee_RestartClubStatesSet(iHome, 1 - iHome);
  match_HomeClubStateSet(iHome);
  match_AwayClubStateSet(1 - iHome);
  m.bRowComplete = (m.cTotal % 2) == 0 ? 1 : 0;
  if (m.bRowComplete) m.iRow++;
  m.iNextKick = 60;
}

void mpenso_PhaseStep() {
  MPensoState& m = mpenso_oState;
  switch (m.iPhase) {
    case 0:
      if (m.aiGoals[0] > m.aiGoals[1] + (5 - m.aiKicks[1])) {
        debuglog_Printf("home win score: %d %d\n", m.aiGoals[0], m.aiGoals[1]);
        m.iPhase = 3;
      } else if (m.aiGoals[1] > m.aiGoals[0] + (5 - m.aiKicks[0])) {
        debuglog_Printf("away win score: %d %d\n", m.aiGoals[0], m.aiGoals[1]);
        m.iPhase = 4;
      } else if (m.iRow >= 5) {
        debuglog_Printf("draw score: %d %d\n", m.aiGoals[0], m.aiGoals[1]);
        m.iPhase = 2;
      }
      m.bRowComplete = 0;
      break;
    case 2:
      for (std::int32_t& r : m.aiResult) r = 0;
      m.iRow = 0;
      m.iPhase = 1;
      break;
    case 1:
      if (m.bRowComplete) {
        m.bRowComplete = 0;
        if (m.aiGoals[0] > m.aiGoals[1]) {
          debuglog_Printf("home\n");
          m.iPhase = 3;
        } else if (m.aiGoals[1] > m.aiGoals[0]) {
          debuglog_Printf("away\n");
          m.iPhase = 4;
        } else if (m.iRow >= 5) {
          m.iRow = 0;
          for (std::int32_t& r : m.aiResult) r = 0;
        }
      }
      break;
    case 3:
    case 4:
      m.iPhase = 5;
      break;
    default:
      break;
  }
}

// A user with a side plays the kick as a penalty (the taker's aim, loft and
// kick; the keeper's user his dive sector); event 162 also resets the
// ball's predicted outcome.
void mpenso_UserInput(User* pusr) {
  if (pusr->pip == nullptr) return;
  for (const ListNode* pn = pusr->pip->oEvents.pHead; pn; pn = pn->pNext)
    if (reinterpret_cast<const InputEvent*>(pn)->eEvent == 162) ball_OutcomeClear();
  penalty_UserInput(pusr);
}

void mpenso_Update() {
  MPensoState& m = mpenso_oState;
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    if (u.MyTeam != 0) {
      mpenso_UserInput(&u);
      continue;
    }
    // A user without a side has nothing to do here.
    while (ListNode* pn = queue_RemoveHead(&u.pip->oEvents)) {
      InputEvent* pe = reinterpret_cast<InputEvent*>(pn);
      input_EventFree(&pe);
    }
  }
  if (m.iNextKick > 0 && --m.iNextKick == 0 && m.iPhase != 5 && m.iPhase != 3 && m.iPhase != 4) {
    if (m.poTaker) m.poTaker->oSetPiece.iPosState = 0;
    mpenso_Start();
  }
  mpenso_PhaseStep();
  if (m.iPhase == 5) {
    global_GameModePopRequest();
    camera_Reset();
    mpenso_Clear();
    referee_MatchOverSet(1);
    caption_Clear();
    return;
  }
  game_MatchFrame();
}
