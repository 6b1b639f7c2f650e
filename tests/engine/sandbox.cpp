// The open-play sandbox (see sandbox.h).
#include "sandbox.h"

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "shell/global.h"
#include "shell/vsync.h"
#include "tournament/dbplayer.h"

namespace {

constexpr std::int32_t kGoalLine = 9360;
constexpr std::int32_t kTouchLine = 5760;
constexpr std::int32_t kPostY = 576;        // half the goal's width
constexpr std::int32_t kBarHeight = 384;
constexpr std::int64_t kThirtyMetres = 4724;  // 30 m in pitch units (144 a yard)
constexpr std::int32_t kKeeperHoldTicks = 90;

struct Watch {
  std::int32_t tick = 0;
  Player* poOwner = nullptr;
  Player* poKicker = nullptr;
  std::int32_t iStepCounter = 0;
  Player* poPassFrom = nullptr;  // a pass on its way
  std::int32_t iKeeperHeld = 0;  // ticks a keeper has held the ball
  double lineSum[2][3] = {};
  std::int32_t lineCount[2][3] = {};
  double depthSum[2] = {};
  double backSum[2] = {};
  std::int32_t depthCount[2] = {};
};
Watch s_oWatch;

std::int32_t Side(const Player* pp) { return pp->MyTeam == player_PlaysFor_Home ? 0 : 1; }

std::int32_t Position(const Player* pp) {
  return pp->pDBPlayer && pp->pDBPlayer->poSlot ? pp->pDBPlayer->poSlot->iPosition : 0;
}

// 0 back line, 1 midfield, 2 attack, -1 the goalkeeper.
std::int32_t Line(const Player* pp) {
  switch (Position(pp)) {
    case 0: return -1;
    case 1: case 2: case 6: case 7: case 8: case 12: case 13: case 24: return 0;
    case 5: case 19: case 20: case 21: case 22: case 23: return 2;
    default: return 1;
  }
}

// x along the player's attack direction.
std::int32_t Ahead(const Player* pp, std::int32_t x) { return pp->Direction == 1 ? x : -x; }

void CentreSpot() {
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  ball_oBall.iState = BALL_STATE_FREE;
  ball_oBall.iKind = BALL_KIND_NONE;
  ball_iPathLength = 0;
  ball_iPathApex = 0;
  ball_iPathIndex = 0;
  ball_iPathCursor = 0;
  ball_iStepCounter = 0;
  ball_OutcomeClear();
  chaser_Clear();
  target_Clear();
  touch_ContactClear();
}

// A restart from the centre spot: the side's outfield player nearest the
// spot takes the ball there.
void KickOff(std::int32_t iSide) {
  CentreSpot();
  Player* poBest = nullptr;
  std::int64_t best = 0;
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    if (Side(pp) != iSide || Line(pp) < 0) continue;
    std::int64_t d = static_cast<std::int64_t>(pp->x) * pp->x + static_cast<std::int64_t>(pp->y) * pp->y;
    if (!poBest || d < best) {
      poBest = pp;
      best = d;
    }
  }
  EnginePlace(poBest, 0, 0, poBest->Direction == 1 ? 0 : 401);
  newballA_OwnerSet(poBest, 1);
}

// A goalkeeper holding the ball waits for the referee's restart; with none
// he hands it after a while to the team-mate nearest him.
void KeeperRelease(Player* poKeeper) {
  Player* poBest = nullptr;
  std::int64_t best = 0;
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    if (Side(pp) != Side(poKeeper) || Line(pp) < 0) continue;
    std::int64_t dx = pp->x - poKeeper->x, dy = pp->y - poKeeper->y;
    if (!poBest || dx * dx + dy * dy < best) {
      poBest = pp;
      best = dx * dx + dy * dy;
    }
  }
  CentreSpot();
  ball_PlaceAt(&ball_oBall, poBest->x, 0, poBest->y);
  newballA_OwnerSet(poBest, 1);
}

void ResolvePass(Player* poNext, SandboxStats* st) {
  Player* poFrom = s_oWatch.poPassFrom;
  if (!poFrom || poNext == poFrom) return;
  s_oWatch.poPassFrom = nullptr;
  if (st && poNext && Side(poNext) == Side(poFrom)) st->passesReached++;
}

}  // namespace

void SandboxStart(std::uint32_t seed) {
  EngineMatchSetupFromSquads();
  action_TableInit();
  // The sandbox keeps its own rules (out of play: back to the centre spot);
  // the referee judges nothing.
  referee_OffSet(1);
  closedown_DelaySet(0);
  // Everybody at his kick-off place: the centre of the kick-off zone of the
  // tree he starts with (the home side kicks off).
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    action_AttackingSet(pp, Side(pp) == 0);
    QMathPoint pt{pp->x, pp->y};
    if (Line(pp) >= 0 && zone_bCentreGet(pp, &pt, 35)) EnginePlace(pp, pt.x, pt.y, pp->Direction == 1 ? 0 : 401);
  }
  KickOff(0);
  QMathRandSkip(seed & 0xFFFF);
  s_oWatch = Watch{};
  s_oWatch.poOwner = ball_oBall.poOwner;
}

void SandboxTick(SandboxStats* st) {
  SandboxTickStart();
  player_FrameUpdate();
  SandboxTickEnd(st);
}

void SandboxTickStart() {
  vsync_iFrame++;
  engine_MatchClockSet(s_oWatch.tick);
  global_SetGameMode(GAME_MODE_PLAY);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
  ball_Update();
  offside_LineUpdate();
}

void SandboxTickEnd(SandboxStats* st) {
  Watch& w = s_oWatch;
  anim_BallAtHolderPlace();
  w.tick++;

  Player* poOwner = ball_oBall.poOwner;
  Player* poKicker = ball_WhoKickedGet();
  bool bLaunch = (ball_iStepCounter == 0 && w.iStepCounter != 0) || (poKicker && poKicker != w.poKicker);
  bLaunch = bLaunch && !poOwner && ball_oBall.iKind != BALL_KIND_NONE && poKicker;
  if (st) {
    st->ticks++;
    if (poOwner) {
      st->ownerTicks[Side(poOwner)]++;
      if (poOwner->Control == PLAYER_CONTROL_COMPUTER && Line(poOwner) >= 0) {
        std::int32_t a = poOwner->oAIInfo.eAction;
        if (a >= 0 && a < ACTION_TABLE_SIZE) st->holderActions[a]++;
      }
    }
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
      Player* pp = EnginePlayer(i);
      std::int32_t line = Line(pp);
      if (line < 0) continue;
      std::int32_t a = pp->oAIInfo.eAction;
      if (a < 0 || a >= ACTION_TABLE_SIZE || !action_apfnHandlers[a]) st->actionless++;
      w.lineSum[Side(pp)][line] += Ahead(pp, pp->x);
      w.lineCount[Side(pp)][line]++;
    }
    // The length of each side from its back line to its attack while the
    // other side has the ball.
    Player* poHeld = poOwner ? poOwner : ball_LastPlayerGet();
    if (poHeld) {
      std::int32_t iDefending = 1 - Side(poHeld);
      double sum[3] = {}, n[3] = {};
      for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
        Player* pp = EnginePlayer(i);
        std::int32_t line = Line(pp);
        if (line < 0 || Side(pp) != iDefending) continue;
        sum[line] += Ahead(pp, pp->x);
        n[line] += 1;
      }
      if (n[0] > 0 && n[2] > 0) {
        w.depthSum[iDefending] += sum[2] / n[2] - sum[0] / n[0];
        w.backSum[iDefending] += sum[0] / n[0] + kGoalLine;
        w.depthCount[iDefending]++;
      }
    }
  }

  // Kicks: a shot by its distance, anything else played to somebody is a
  // pass reaching a team-mate when a team-mate is the next to hold or play it.
  if (st && poOwner && !w.poOwner && Line(poOwner) >= 0) st->pickups++;
  if (poOwner && poOwner != w.poOwner) ResolvePass(poOwner, st);
  if (bLaunch) {
    ResolvePass(poKicker, st);
    std::int32_t k = ball_oBall.iKind;
    if (st) {
      std::int32_t a = poKicker->oAIInfo.eAction;
      if (a >= 0 && a < ACTION_TABLE_SIZE) st->kicksByAction[a]++;
    }
    // A goalkeeper's long kick is played to his side, not at goal.
    if (k == BALL_KIND_SHOT && Line(poKicker) >= 0) {
      if (st) {
        st->shots++;
        std::int64_t dx = (poKicker->Direction == 1 ? kGoalLine : -kGoalLine) - poKicker->x;
        std::int64_t dy = poKicker->y;
        if (dx * dx + dy * dy < kThirtyMetres * kThirtyMetres) st->shotsInside30++;
      }
      w.poPassFrom = nullptr;
    } else if (k != BALL_KIND_NUDGE && k != BALL_KIND_KNOCK_ON && k != BALL_KIND_DEFLECT) {
      if (st) st->passes++;
      w.poPassFrom = poKicker;
    }
  }

  // Out of the pitch: back to the centre spot (a goal counted first).
  std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
  if (bx > kGoalLine || bx < -kGoalLine || by > kTouchLine || by < -kTouchLine) {
    if (st && (bx > kGoalLine || bx < -kGoalLine) && by > -kPostY && by < kPostY &&
        ball_HeightGet(&ball_oBall) < kBarHeight) {
      // The side attacking toward that goal line scores.
      std::int32_t iScorer = (bx > 0) == (EnginePlayer(0)->Direction == 1) ? 0 : 1;
      st->goals[iScorer]++;
    }
    if (st) st->resets++;
    w.poPassFrom = nullptr;
    // The side that did not play it out restarts.
    Player* poLast = ball_oBall.poOwner ? ball_oBall.poOwner : ball_LastPlayerGet();
    KickOff(poLast ? 1 - Side(poLast) : 0);
    poOwner = ball_oBall.poOwner;
  }
  // A keeper's catch.
  w.iKeeperHeld = poOwner && Line(poOwner) < 0 ? w.iKeeperHeld + 1 : 0;
  if (w.iKeeperHeld > kKeeperHoldTicks) {
    w.iKeeperHeld = 0;
    KeeperRelease(poOwner);
    poOwner = ball_oBall.poOwner;
  }
  w.poOwner = poOwner;
  w.poKicker = ball_WhoKickedGet();
  w.iStepCounter = ball_iStepCounter;

  if (st) {
    for (std::int32_t s = 0; s < 2; s++) {
      for (std::int32_t l = 0; l < 3; l++) st->lineX[s][l] = w.lineCount[s][l] ? w.lineSum[s][l] / w.lineCount[s][l] : 0;
      st->depthDefending[s] = w.depthCount[s] ? w.depthSum[s] / w.depthCount[s] : 0;
      st->backLineDefending[s] = w.depthCount[s] ? w.backSum[s] / w.depthCount[s] : 0;
    }
  }
}

SandboxStats SandboxRun(std::uint32_t seed, std::int32_t ticks, std::vector<std::uint64_t>* hashes) {
  SandboxStats st;
  SandboxStart(seed);
  for (std::int32_t t = 0; t < ticks; t++) {
    SandboxTick(&st);
    if (hashes) hashes->push_back(EngineStateHash());
  }
  return st;
}
