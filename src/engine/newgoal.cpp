// The goalkeepers' state machine: the decision by the ball's predicted
// outcome, the smother, the penalty guess, the save set-up, the save move and
// its judgement (catch, parry or miss), the end of a save and the recovery,
// holding the ball.
#include "engine/newgoal.h"

#include <cstdlib>

#include "audio/audio_services.h"
#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/colmodl.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoal_internal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/target.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/debuglog.h"
#include "shell/global.h"

void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind);

namespace {

std::int32_t s_iHoldCount;
std::int32_t s_abSideFlag[3];    // by side 1, 2
std::int32_t s_abKeeperFlag[2];  // by motion index
std::int32_t s_bGuessed;
std::int32_t s_abPenaltyStop[2];  // by motion index: he stopped the penalty and has the ball
std::int32_t s_bPenaltyMissCalled;  // the struck penalty kick has been called missed
NewgoalMotion s_aoMotion[2];
std::int32_t s_aaiHands[2][3];   // the hands at the save animation's end, from his origin
std::int32_t s_iMotion;

GameMode Mode() { return global_eGetGameMode(); }

std::int32_t MotionIndex(const Player* pp) { return pp->MyTeam == player_PlaysFor_Home ? 0 : 1; }

const std::int32_t* Row(std::int32_t iRow) { return newgoal_aaiSaveTable[iRow]; }

std::uint32_t SaveAnim(const GoalieObject* g) {
  return static_cast<std::uint32_t>(Row(g->iSaveRow)[g->iSaveColumn == 1 ? NEWGOAL_WORD_ANIM1 : NEWGOAL_WORD_ANIM2]);
}

// Starts the clip from the given frame, even when it is the one playing.
void Play(Player* pp, std::uint32_t eAnim, std::int32_t iFrame) {
  anim_RequestSet(&pp->oAnimInfo, eAnim);
  if (pp->oAnimData.eActionAnim == eAnim) anim_ActionAnimSet(&pp->oAnimData, eAnim == ANIM_STAND ? ANIM_SHUFIDLE : ANIM_STAND);
  if (iFrame > 0) {
    anim_ActionAnimSetAt(&pp->oAnimData, eAnim, iFrame);
  } else {
    anim_ActionAnimSet(&pp->oAnimData, eAnim);
  }
}

// The keeper's position follows his motion record.
void MotionStep(Player* pp) {
  NewgoalMotion& m = s_aoMotion[s_iMotion];
  m.iX128 += m.iStepX;
  m.iY128 += m.iStepY;
  m.iHeight128 += m.iStepHeight;
  if (m.iHeight128 < 0) m.iHeight128 = 0;
  pp->x = static_cast<std::int16_t>(m.iX128 / 128);
  pp->y = static_cast<std::int16_t>(m.iY128 / 128);
  pp->height = static_cast<std::int16_t>(m.iHeight128 / 128);
}

void StepsZero(bool bHeightToo) {
  NewgoalMotion& m = s_aoMotion[s_iMotion];
  m.iStepX = 0;
  m.iStepY = 0;
  if (bHeightToo) m.iStepHeight = 0;
}

void HandsPointGet(const Player* pp, std::int32_t ai[3]) {
  const std::int32_t* h = s_aaiHands[s_iMotion];
  ai[0] = pp->x + h[0];
  ai[1] = pp->height + h[1];
  ai[2] = pp->y + h[2];
}

void BallPointGet(std::int32_t ai[3]) { ball_PositionGet(&ball_oBall, &ai[0], &ai[1], &ai[2]); }

void Parry(Player* pp, GoalieObject* g) {
  target_DoKeeperParry(pp);
  g->bParryPending = 1;
}

std::int32_t BodyHit(Player* pp, std::int32_t iRaise, std::int32_t iRadius) {
  std::int32_t ai[3];
  BallPointGet(ai);
  ai[1] += iRaise;
  std::int32_t iOut = 0;
  return colmodl_KeeperBallHit(&iOut, pp, ai, iRadius);
}

void SaveAnimStart(Player* pp, GoalieObject* g) {
  Play(pp, SaveAnim(g), g->iStartFrame);
  newgoalo_StateSet(g, GOALIE_STATE_SAVE_MOVE);
  s_abKeeperFlag[s_iMotion] = 1;
}

// The run of a contact player to his approach point.
void ContactRun(Player* pp, GoalieObject* g) {
  touch_ContactSet(pp, pp, 4);
  action_Run(pp, ACTION_TOUCH);
  chaser_PlayerSet(pp);
  g->bMoveFlag = 1;
  std::uint32_t eAnim = std::abs(pp->iApproachX) <= std::abs(static_cast<std::int32_t>(pp->x)) ? ANIM_RUN : 7;
  PlayerO_MoveToSet(pp, pp->iApproachX, pp->iApproachY, eAnim);
}

// Turns the point of the save into the made-up point of a wrong guess.
void PenaltyGuess(const Player* pp, const GoalieObject* g, BallPathEntry* pe) {
  std::int32_t iSector = newgoal_PenaltySectorGet(g->iSide, pe->iY, pe->iHeight);
  std::int32_t iAim = setp_AimSectorGet();
  s_bGuessed = iSector == iAim ? 1 : 0;
  if (s_bGuessed) return;
  (void)pp;
  std::int32_t y;
  if (iAim >= 1 && iAim <= 3) {
    y = newgoal_Rand(287) + 288;
  } else if (iAim >= 5 && iAim <= 7) {
    y = -(newgoal_Rand(287) + 288);
  } else {
    std::int32_t v = QMathRandBetween(-144, 144);
    y = v < 0 ? v - 144 : v + 144;
  }
  if (g->iSide == 1) y = -y;
  std::int32_t h;
  if (iAim == 0 || iAim == 1 || iAim == 7) {
    h = newgoal_Rand(95) + 240;
  } else if (iAim >= 3 && iAim <= 5) {
    h = newgoal_Rand(95);
  } else {
    h = newgoal_Rand(143) + 96;
  }
  pe->iY = y;
  pe->iHeight = h;
}

// Smother inside his box when the ball's next point is within his reach.
bool SmotherTry(Player* pp, GoalieObject* g) {
  const Ball* pb = &ball_oBall;
  std::int32_t bx = ball_XGet(pb), bh = ball_HeightGet(pb), by = ball_YGet(pb);
  std::int32_t X = newgoal_Sign(g) * bx;
  std::int32_t iReach = 144;
  if (s_abSideFlag[g->iSide] || (X > 8064 && std::abs(by) < 1296)) iReach = 720;
  std::int32_t iHeading = pb->poOwner ? pb->poOwner->iFacing : pb->iHeading;
  std::int32_t iDeg = iHeading * 180 / 401;
  std::int32_t px = bx + ball_CosDeg(iDeg) * 144 / 16384;
  std::int32_t py = by + ball_SinDeg(iDeg) * 144 / 16384;
  if (bh >= 96 || player_Dist(px - pp->x, py - pp->y) > iReach) return false;
  std::int32_t iColumn = newgoal_ColumnGet(pp, px, py);
  newgoalo_SaveSet(g, NEWGOAL_SMOTHER_ROW, iColumn);
  player_FaceTowards(pp, px, py);
  PlayerO_MoveToSet(pp, px, py, static_cast<std::uint32_t>(Row(NEWGOAL_SMOTHER_ROW)[iColumn == 1 ? 0 : 3]));
  PlayerO_SpeedSet(pp, 41);
  newgoalo_StateSet(g, GOALIE_STATE_SMOTHER);
  // The slide's length: the movement pass may start it again once it ends.
  const AnimRecord* pr = anim_RecordGet(static_cast<std::uint32_t>(Row(NEWGOAL_SMOTHER_ROW)[iColumn == 1 ? 0 : 3]));
  g->iCounter = pr->end - pr->start + 1;
  return true;
}

void Decide(Player* pp, GoalieObject* g) {
  if (Mode() == GAME_MODE_SET_PIECE_SCRIPT) {
    if (pp != setp_poGetKickTaker() && pp != setp_poPartnerGet()) {
      g->bMoveFlag = 1;
      PlayerO_MoveToSet(pp, pp->Direction == 0 ? 9360 : -9360, 0, ANIM_TURN);
    }
    return;
  }
  s_abKeeperFlag[s_iMotion] = 0;
  // The ball on the penalty spot is the taker's until he has struck it (the
  // struck ball carries the penalty's outcome): the keeper takes up his
  // place on his line and comes for nothing. (A side
  // alert left from open play would otherwise let him smother the ball off
  // the spot.)
  if ((Mode() == GAME_MODE_PENALTY || Mode() == GAME_MODE_SHOOTOUT) && !setp_bKickStruck() &&
      ball_OutcomeGet() != BALL_OUTCOME_PENALTY) {
    newgoal_Position(pp);
    return;
  }
  const std::int32_t o = ball_OutcomeGet();
  const std::int32_t s = ball_OutcomeSideGet();
  const Ball* pb = &ball_oBall;
  // A user's keeper with the ball at his feet is the user's to run and kick,
  // as any player on the ball: placing him would undo each of his kicks.
  if (pp->Control == PLAYER_CONTROL_USER && pb->poOwner == pp) {
    action_Run(pp, ACTION_SUPPORT);
    return;
  }
  if (o != BALL_OUTCOME_ON_TARGET && o != BALL_OUTCOME_GOAL && !newgoal_IsBallHis(pp) &&
      pp->Control == PLAYER_CONTROL_USER) {
    ContactRun(pp, g);
    return;
  }
  if (s != g->iSide) {
    if (Mode() == GAME_MODE_FREE_KICK || Mode() == GAME_MODE_CORNER) {
      newgoal_Position(pp);
      return;
    }
    std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
    std::int32_t X = newgoal_Sign(g) * bx;
    bool bInBox = X >= 6913 && X < 9360 && std::abs(by) < 3168;
    if (pp->oAIInfo.bIsAttacking || !bInBox) {
      std::int32_t d = player_Dist(bx - pp->x, by - pp->y);
      if (pb->poOwner || d >= 72 || ball_HeightGet(pb) >= 96 || !newgoal_IsBallHis(pp)) {
        newgoal_Position(pp);
      } else {
        newballA_OwnerSet(pp, 1);
      }
      return;
    }
    if (!SmotherTry(pp, g)) newgoal_Position(pp);
    return;
  }
  QDX_ASSERT(o <= 9);
  switch (o) {
    case 0:
      newgoal_Position(pp);
      return;
    case 1:
    case 2:
      if (pb->poOwner || pb->iKind == BALL_KIND_NONE) ball_OutcomeClear();
      newgoal_Position(pp);
      return;
    case 3:
      newgoalo_StateSet(g, GOALIE_STATE_INVALID);
      return;
    case 4: {
      BallPathEntry e;
      bool bEntry = newgoal_KeeperEntryGet(pp, &e);
      if (Mode() != GAME_MODE_PLAY) ball_OutcomeClear();
      if (bEntry && newgoal_ReachTest(pp, &e) && newgoal_IsBallHis(pp) && newgoal_SaveSetUp(pp, &e)) {
        ball_OutcomeClear();
      } else {
        ball_OutcomeSet(BALL_OUTCOME_NOTHING, s);
        newgoal_Position(pp);
      }
      return;
    }
    case 5:
      newgoalo_StateSet(g, GOALIE_STATE_IDLE);
      return;
    case 6:
    case 7: {
      if (!newgoal_IsBallHis(pp)) {
        ContactRun(pp, g);
        return;
      }
      BallPathEntry e;
      if (newgoal_KeeperEntryGet(pp, &e) && newgoal_SaveSetUp(pp, &e)) {
        ball_OutcomeClear();
      } else {
        newgoal_Position(pp);
      }
      return;
    }
    case 8: {
      BallPathEntry e;
      if (!newgoal_KeeperEntryGet(pp, &e)) {
        newgoal_Position(pp);
        return;
      }
      PenaltyGuess(pp, g, &e);
      if (newgoal_SaveSetUp(pp, &e)) {
        ball_OutcomeClear();
      } else {
        newgoal_Position(pp);
      }
      return;
    }
    default:
      newgoal_Position(pp);
      ball_OutcomeClear();
      return;
  }
}

// The judgement at the end of the save move.
void SaveJudge(Player* pp, GoalieObject* g) {
  const std::int32_t iClass = Row(g->iSaveRow)[NEWGOAL_WORD_REACH];
  const std::int32_t iSkill = PlayerO_Attr68Get(pp);
  std::int32_t aiHands[3], aiBall[3];
  HandsPointGet(pp, aiHands);
  BallPointGet(aiBall);
  const std::int32_t dx = std::abs(aiBall[0] - aiHands[0]);
  const std::int32_t dh = std::abs(aiBall[1] - aiHands[1]);
  const std::int32_t dy = std::abs(aiBall[2] - aiHands[2]);
  const std::int32_t iReach = newgoal_ReachGet(iClass, iSkill);
  newgoalo_StateSet(g, GOALIE_STATE_SAVE_END);
  if (dx > iReach || dy > iReach || dh > iReach) {
    if (BodyHit(pp, ball_RadiusGet() / 2, ball_RadiusGet())) {
      debuglog_Printf("Type 2 collision\n");
      Parry(pp, g);
    } else {
      debuglog_Printf("DOH! - missed it - %d, %d, %d\n", dx, dy, dh);
      g->bParryPending = 1;  // the ball has passed him: no late touch
    }
    return;
  }
  const std::int32_t bx = std::abs(aiBall[0]);
  bool bCatch = false;
  if (iClass == 2) {
    const std::int32_t r = g->iSaveRow;
    bCatch = r == 3 || r == 6 || r == 10 || r == 11 ||
             (newgoal_Rand(100) <= iSkill && bx < 9345);
  }
  if (bCatch) {
    newballA_OwnerSet(pp, 1);
    StepsZero(false);
    newgoalo_StateSet(g, GOALIE_STATE_CATCH);
    return;
  }
  if (newgoal_Rand(102) > (100 - iSkill) / 2 || iClass == 2) {
    Parry(pp, g);
  } else if (bx < 9345) {
    debuglog_Printf("Newgoalie - Random miss\n");
    g->bParryPending = 1;  // the ball goes on past his hands
  } else {
    Parry(pp, g);
  }
}

// The clip's travel carried into his position when it ends, and the half
// turn of the row that needs it.
void SaveEndMove(Player* pp, const GoalieObject* g) {
  std::int32_t x, h, y;
  anim_FramePointGet(pp, &x, &h, &y);
  pp->x = static_cast<std::int16_t>(x);
  pp->y = static_cast<std::int16_t>(y);
  if (Row(g->iSaveRow)[NEWGOAL_WORD_MOVE_AFTER] && g->iSaveRow == 2) {
    std::int32_t f = move_FacingWrap(pp->iFacing + 401);
    pp->iFacing = static_cast<std::int16_t>(f);
    pp->uWantedFacing = static_cast<std::uint16_t>(f);
    pp->iDisplayFacing = static_cast<std::int16_t>(f);
  }
}

bool OpenPlayMode() { return Mode() == GAME_MODE_PLAY || Mode() == GAME_MODE_PLAY_ON; }

void HoldStart(Player* pp, GoalieObject* g) {
  if (OpenPlayMode()) referee_Update(9, 0, 0);
  newgoalo_StateSet(g, GOALIE_STATE_HOLD);
  s_abKeeperFlag[s_iMotion] = 0;
  g->bMoveFlag = 0;
  Play(pp, ANIM_GOALIE_STANCE, 0);
}

// The end of a save (states 8 and 11) once its animation has played.
void SaveEnd(Player* pp, GoalieObject* g, bool bCatch) {
  pp->height = 0;
  const std::int32_t* r = Row(g->iSaveRow);
  const std::int32_t iRecover = r[g->iSaveColumn == 1 ? NEWGOAL_WORD_RECOVER1 : NEWGOAL_WORD_RECOVER2];
  const std::int32_t iParam = r[g->iSaveColumn == 1 ? NEWGOAL_WORD_PARAM1 : NEWGOAL_WORD_PARAM2];
  SaveEndMove(pp, g);
  if (iRecover == static_cast<std::int32_t>(ANIM_NONE)) {
    g->iPossession = 0;
    ball_OutcomeClear();
    if (bCatch && ball_oBall.poOwner == pp) {
      HoldStart(pp, g);
      return;
    }
    Play(pp, ANIM_SHUFIDLE, 0);
    newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
    s_abKeeperFlag[s_iMotion] = 0;
    return;
  }
  Play(pp, static_cast<std::uint32_t>(iRecover), iParam);
  anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
  newgoalo_StateSet(g, GOALIE_STATE_RECOVER);
}

bool AnimEnded(const Player* pp) { return anim_IsEnded(&pp->oAnimData) != 0; }

void StateRun(Player* pp, GoalieObject* g) {
  Ball* pb = &ball_oBall;
  switch (g->eState) {
    case GOALIE_STATE_UNDEFINED:
      newgoalo_StateSet(g, GOALIE_STATE_START);
      return;
    case GOALIE_STATE_START:
      if (pp->Control == PLAYER_CONTROL_USER || pp->Control == PLAYER_CONTROL_NONE) {
        action_Run(pp, pp->Control == PLAYER_CONTROL_USER ? ACTION_USER_SUPPORT : ACTION_ATTACK_IDLE);
        return;
      }
      Decide(pp, g);
      return;
    case GOALIE_STATE_DECIDE:
      Decide(pp, g);
      return;
    case GOALIE_STATE_WAIT:
      if (pb->poOwner) {
        newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
        return;
      }
      g->bMoveFlag = 0;
      if (newgoalo_CounterDecTest(g)) SaveAnimStart(pp, g);
      return;
    case GOALIE_STATE_SAVE_WAIT:
    case GOALIE_STATE_REACT_WAIT:
      if (pb->poOwner || (s_abSideFlag[g->iSide] && g->iFrameLimit > 30)) {
        newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
        return;
      }
      g->bMoveFlag = 0;
      MotionStep(pp);
      g->iFrameCount++;
      if (g->eState == GOALIE_STATE_REACT_WAIT) {
        g->iReactionCount--;
        if (g->iReactionCount <= 0) newgoalo_StateSet(g, GOALIE_STATE_SAVE_WAIT);
      }
      if (newgoalo_CounterDecTest(g)) SaveAnimStart(pp, g);
      return;
    case GOALIE_STATE_SAVE_MOVE:
      MotionStep(pp);
      g->iFrameCount++;
      g->bMoveFlag = 0;
      if (g->iFrameCount < g->iFrameLimit) {
        if (!g->bParryPending && pb->poOwner != pp && BodyHit(pp, ball_RadiusGet() / 2, ball_RadiusGet()))
          Parry(pp, g);
        return;
      }
      if (g->bParryPending) {
        newgoalo_StateSet(g, GOALIE_STATE_SAVE_END);
        return;
      }
      SaveJudge(pp, g);
      return;
    case GOALIE_STATE_IDLE:
      return;
    case GOALIE_STATE_SAVE_END:
      if (!g->bParryPending && pb->poOwner != pp && BodyHit(pp, 0, ball_RadiusGet() / 2)) Parry(pp, g);
      if (pp->height < 49) StepsZero(true);
      MotionStep(pp);
      g->bMoveFlag = 0;
      if (AnimEnded(pp)) SaveEnd(pp, g, false);
      return;
    case GOALIE_STATE_RECOVER:
      g->bMoveFlag = 0;
      if (pb->poOwner == pp) touch_ContactClear();
      if (!AnimEnded(pp)) return;
      g->iPossession = 0;
      ball_OutcomeClear();
      if (pb->poOwner == pp && OpenPlayMode()) {
        HoldStart(pp, g);
        return;
      }
      Play(pp, ANIM_STAND, 0);
      newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
      s_abKeeperFlag[s_iMotion] = 0;
      return;
    case GOALIE_STATE_RUN_OUT: {
      newgoalo_CounterInc(g);
      std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
      std::int32_t x0 = pp->x < bx ? pp->x : bx, x1 = pp->x < bx ? bx : pp->x;
      std::int32_t y0 = pp->y < by ? pp->y : by, y1 = pp->y < by ? by : pp->y;
      for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
        if (po != pp && po->x >= x0 && po->x <= x1 && po->y >= y0 && po->y <= y1) {
          PlayerO_SpeedSet(pp, 0);
          newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
          return;
        }
      }
      BallPathEntry e;
      const BallPathEntry* pc = ball_PathClosestGet(pp);
      if (!pc || !ball_PathEntryGet(pc->iIndex - g->iCounter, &e)) {
        newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
        newgoal_Position(pp);
        return;
      }
      g->bMoveFlag = 1;
      PlayerO_MoveToSet(pp, e.iX, e.iY, ANIM_RUN);
      return;
    }
    case GOALIE_STATE_CATCH:
      touch_ContactClear();
      g->bMoveFlag = 0;
      if (pp->height < 49) StepsZero(true);
      MotionStep(pp);
      if (AnimEnded(pp)) SaveEnd(pp, g, true);
      return;
    case GOALIE_STATE_SMOTHER: {
      if (pb->poOwner == pp) touch_ContactClear();
      const std::uint32_t ePlaying = pp->oAnimData.eActionAnim;
      const bool bSmother = ePlaying == 78 || ePlaying == 79;
      const std::uint32_t eReq = pp->oAnimInfo.eActionAnim;
      const bool bCounted = newgoalo_CounterDecTest(g) != 0;
      if ((bSmother && (AnimEnded(pp) || bCounted)) || (!bSmother && eReq != 78 && eReq != 79)) {
        g->bMoveFlag = 0;
        PlayerO_SpeedSet(pp, 0);
        Play(pp, g->iSaveColumn == 1 ? 61 : 60, 9);
        newgoalo_StateSet(g, GOALIE_STATE_RECOVER);
      }
      return;
    }
    case GOALIE_STATE_HOLD:
      g->bMoveFlag = 0;
      if (pb->poOwner != pp || setp_iGetEnterCount() == 0) newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
      return;
    default:
      return;
  }
}

// The keeper facing a penalty or a shoot-out kick who has the ball once it is
// struck, however he came by it (a catch, a slide onto a slow ball, a
// pick-up), has stopped the kick: a shoot-out kick is recorded missed (the
// next kick is set up); a penalty whose ball has not yet gone in or out is
// missed (his side reacts) and he keeps the ball for his keeper's ball.
// The miss is called once per kick: he holds the ball for many ticks, and
// the command word is the set piece's from then on (its end clears it).
void KickStopped(const Player* pp) {
  const GameMode eMode = Mode();
  if (eMode != GAME_MODE_PENALTY && eMode != GAME_MODE_SHOOTOUT) return;
  if (pp == nullptr || !player_IsGoalkeeper(pp) || !setp_bKickStruck()) return;
  const Player* poTaker = setp_poGetKickTaker();
  if (poTaker == nullptr || poTaker->MyTeam == pp->MyTeam) return;
  if (eMode == GAME_MODE_SHOOTOUT) {
    mpenso_RecordKick(0);
    return;
  }
  if (referee_DecisionGet() != REFEREE_DECISION_PENALTY) return;
  s_abPenaltyStop[MotionIndex(pp)] = 1;
  if (s_bPenaltyMissCalled) return;
  s_bPenaltyMissCalled = 1;
  setp_CommandSet(SETP_CMD_PEN_MISSED);
}

}  // namespace

// ---- Shared with the positioning ---------------------------------------------------------
std::int32_t newgoal_Rand(std::int32_t n) {
  return n > 0 ? static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(n))) : 0;
}
std::int32_t newgoal_Sign(const GoalieObject* g) { return g->iSide == 2 ? 1 : -1; }
std::int32_t newgoal_AlertGet(std::int32_t iSide) { return s_abSideFlag[iSide]; }

// The entry the keeper meets a shot at; a ball flying straight at a keeper on
// his line is met at the last entry in front of it.
bool newgoal_KeeperEntryGet(const Player* pp, BallPathEntry* pe) {
  const BallPathEntry* p = ball_PathKeeperPointGet(pp, 408);
  if (p) {
    *pe = *p;
    return true;
  }
  bool bFound = false;
  BallPathEntry e;
  for (std::int32_t i = ball_PathIndexGet(); ball_PathEntryGet(i, &e); i++) {
    std::int32_t ax = std::abs(e.iX);
    if (ax >= 9384) break;
    if (ax >= 6913 && std::abs(e.iY) < 2736 && e.iHeight < 408) {
      *pe = e;
      bFound = true;
    }
  }
  return bFound;
}

// ---- The machine --------------------------------------------------------------------------
ActionNode* newgoal_ActionHandler(ActionNode* poList) {
  ActionNode* po = poList;
  while (po) {
    Player* pp = po->poPlayer;
    action_Set(pp, ACTION_GOALKEEPER);
    newgoal_Update(pp);
    po = director_ListUnlink(po);
  }
  return nullptr;
}

void newgoal_StateMachineRun(Player* poKeeper) {
  if (!poKeeper->pGoalie) return;
  colmodl_JointsUpdate(poKeeper);
  newgoal_Update(poKeeper);
}

void newgoal_CelebrationStand(Player* poKeeper) {
  GoalieObject* g = poKeeper->pGoalie;
  if (!g) return;
  g->bMoveFlag = 1;
  if (poKeeper == match_poScorerGet()) {
    ball_OutcomeClear();
    action_Run(poKeeper, ACTION_ATTACK_IDLE);
    return;
  }
  newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
  player_FaceTowards(poKeeper, 0, 0);
  PlayerO_SpeedSet(poKeeper, 0);
  PlayerO_MoveToSet(poKeeper, poKeeper->x, poKeeper->y, ANIM_STAND);
}

// One tick of the keeper's machine.
static void KeeperTick(Player* pp) {
  s_iMotion = MotionIndex(pp);
  GoalieObject* g = pp->pGoalie;
  if (!g) return;
  if (Mode() == GAME_MODE_SHOOTOUT && pp->oAIInfo.bIsAttacking && g->eState == GOALIE_STATE_DECIDE) {
    if (s_iHoldCount > 0) s_iHoldCount--;
    if (ball_oBall.poOwner != pp) {
      g->bMoveFlag = 1;
      PlayerO_MoveToSet(pp, 0, 0, ANIM_TURN);
    } else {
      g->bMoveFlag = 0;
      Play(pp, ANIM_GOALIE_STANCE, 0);
    }
    return;
  }
  g->bMoveFlag = 1;
  if (Mode() == GAME_MODE_GOAL_CELEBRATION) {
    newgoal_CelebrationStand(pp);
    return;
  }
  // The keeper who stopped a penalty and has the ball, his save over, stands
  // holding it while the penalty and its play-on last (deciding, he would
  // walk back to his line with it), and has his keeper's ball once open play
  // goes on, as after a catch in open play.
  std::int32_t& bStop = s_abPenaltyStop[s_iMotion];
  if (bStop && ball_oBall.poOwner != pp) bStop = 0;
  if (bStop && (g->eState == GOALIE_STATE_DECIDE || g->eState == GOALIE_STATE_HOLD)) {
    if (Mode() == GAME_MODE_PLAY) {
      bStop = 0;
      HoldStart(pp, g);
      return;
    }
    if (g->eState != GOALIE_STATE_HOLD) {
      newgoalo_StateSet(g, GOALIE_STATE_HOLD);
      Play(pp, ANIM_GOALIE_STANCE, 0);
    }
    g->bMoveFlag = 0;
    PlayerO_SpeedSet(pp, 0);
    return;
  }
  if (s_iHoldCount > 0) {
    s_iHoldCount--;
    if (g->eState == GOALIE_STATE_WAIT || g->eState == GOALIE_STATE_SAVE_WAIT ||
        g->eState == GOALIE_STATE_REACT_WAIT)
      newgoalo_StateSet(g, GOALIE_STATE_DECIDE);
    // The kick's tick: he takes up his position and decides on the next.
    if (g->eState == GOALIE_STATE_DECIDE) {
      if (Mode() != GAME_MODE_SET_PIECE_SCRIPT) newgoal_Position(pp);
      return;
    }
  }
  QDX_ASSERT(g->eState <= GOALIE_STATE_REACT_WAIT);
  QDX_ASSERT(g->eState != GOALIE_STATE_INVALID);
  StateRun(pp, g);
}

void newgoal_Update(Player* pp) {
  // Until a kick is struck there is no miss to call: the next kick may be.
  if (!setp_bKickStruck()) s_bPenaltyMissCalled = 0;
  KeeperTick(pp);
  // Checked once his tick is over, so that a ball only parried or spilled
  // off him does not count.
  if (ball_oBall.poOwner == pp) KickStopped(pp);
}

void newgoal_MatchReset() {
  s_iHoldCount = 0;
  s_abSideFlag[0] = s_abSideFlag[1] = s_abSideFlag[2] = 0;
  s_abKeeperFlag[0] = s_abKeeperFlag[1] = 0;
  s_bGuessed = 0;
  s_abPenaltyStop[0] = s_abPenaltyStop[1] = 0;
  s_bPenaltyMissCalled = 0;
  s_aoMotion[0] = NewgoalMotion{};
  s_aoMotion[1] = NewgoalMotion{};
  for (auto& a : s_aaiHands) a[0] = a[1] = a[2] = 0;
  s_iMotion = 0;
  newgoal_AlertReset();
  for (auto& a : colmodl_aiHomeKeeperJoints) a[0] = a[1] = a[2] = 0;
  for (auto& a : colmodl_aiAwayKeeperJoints) a[0] = a[1] = a[2] = 0;
}

// ---- Shared words ------------------------------------------------------------------------
void newgoal_KeeperCountSet() {
  s_iHoldCount = global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING ? 1 : 2;
}
std::int32_t newgoal_KeeperCountGet() { return s_iHoldCount; }
void newgoal_SideFlagSet(std::int32_t iSide, std::int32_t bFlag) {
  if (iSide >= 1 && iSide <= 2) s_abSideFlag[iSide] = bFlag;
}
std::int32_t newgoal_SideFlagGet(std::int32_t iSide) { return iSide >= 1 && iSide <= 2 ? s_abSideFlag[iSide] : 0; }
void newgoal_KeeperFlagSet(const Player* poKeeper, std::int32_t bFlag) { s_abKeeperFlag[MotionIndex(poKeeper)] = bFlag; }
std::int32_t newgoal_IsAnyKeeperFlagged() { return s_abKeeperFlag[0] || s_abKeeperFlag[1] ? 1 : 0; }
std::int32_t newgoal_GuessedFlagGet() { return s_bGuessed; }
const NewgoalMotion* newgoal_MotionGet(std::int32_t i) { return &s_aoMotion[i]; }

std::int32_t newgoal_StateGet(const Player* poKeeper) {
  return poKeeper && poKeeper->pGoalie ? poKeeper->pGoalie->eState : 0;
}
std::int32_t newgoal_SaveRowGet(const Player* poKeeper) {
  return poKeeper && poKeeper->pGoalie ? poKeeper->pGoalie->iSaveRow : 0;
}
std::int32_t newgoal_SaveSideGet(const Player* poKeeper) {
  return poKeeper && poKeeper->pGoalie ? poKeeper->pGoalie->iSaveColumn : 0;
}
std::int32_t newgoal_CatchFlagGet(const Player* poKeeper) {
  return poKeeper && poKeeper->pGoalie ? poKeeper->pGoalie->iPossession : 0;
}
void newgoal_ReactionDelaySet(Player* poKeeper, std::int32_t iTicks) {
  if (poKeeper && poKeeper->pGoalie) poKeeper->pGoalie->iReactionDelay = iTicks;
}

// ---- The save set-up ----------------------------------------------------------------------
std::int32_t newgoal_HeightClassGet(std::int32_t iHeight) {
  std::int32_t c = (18 + iHeight + 12) / 24;
  return c < 0 ? 0 : c > 17 ? 17 : c;
}
std::int32_t newgoal_SpeedClassGet(std::int32_t iLateral, std::int32_t iTicks) {
  if (iTicks < 1) iTicks = 1;
  std::int32_t c = (iLateral / 4) / iTicks;
  return c > 13 ? 13 : c;
}
std::int32_t newgoal_SaveRowChoose(std::int32_t iTable, std::int32_t iHeightClass, std::int32_t iSpeedClass) {
  return newgoal_aaiSaveChoice[iTable][iHeightClass][iSpeedClass];
}

std::int32_t newgoal_ColumnGet(const Player* pp, std::int32_t x, std::int32_t y) {
  std::int32_t a = QMathAtan2(x - pp->x, y - pp->y) & 0xFFFF;
  std::int32_t f = (pp->iFacing * 65536 / 803) & 0xFFFF;
  std::int32_t d = (a - f) & 0xFFFF;
  return d < 32769 ? 2 : 1;
}

std::int32_t newgoal_LateralGet(const Player* pp, std::int32_t x, std::int32_t y) {
  std::int32_t f = (pp->iFacing * 65536 / 803) & 0xFFFF;
  std::int64_t s = QMathSin(f), c = QMathCos(f);
  std::int64_t dx = x - pp->x, dy = y - pp->y;
  std::int64_t l = (dy * c - dx * s) / 65536;
  return static_cast<std::int32_t>(l < 0 ? -l : l);
}

std::int32_t newgoal_ReachGet(std::int32_t iClass, std::int32_t iSkill) {
  if (iClass != 1 && iClass != 2) return 48;
  std::int32_t r = (newgoal_Rand(28) + iSkill + 28) * 48 / 128;
  return iClass == 2 ? r + 48 : r;
}

std::int32_t newgoal_PenaltySectorGet(std::int32_t iSide, std::int32_t y, std::int32_t h) {
  if (iSide == 1) y = -y;
  if (y > 192) return h >= 240 ? 1 : h >= 96 ? 2 : 3;
  if (y < -192) return h >= 240 ? 7 : h >= 96 ? 6 : 5;
  return h >= 288 ? 0 : h >= 96 ? 8 : 4;
}

std::int32_t newgoal_MeetFrameGet(std::uint32_t eAnim) {
  const AnimRecord* pr = anim_RecordGet(eAnim);
  return pr->contact >= 0 ? pr->contact : pr->end - 1;
}

std::int32_t newgoal_SaveSetUp(Player* pp, const BallPathEntry* poEntry) {
  GoalieObject* g = pp->pGoalie;
  s_iMotion = MotionIndex(pp);
  BallPathEntry e = *poEntry;
  const std::int32_t iNow = ball_PathIndexGet();
  std::int32_t n = e.iIndex - iNow;
  const std::int32_t rd = g->iReactionDelay;
  std::int32_t d = newgoal_Rand(rd);
  if (Mode() == GAME_MODE_FREE_KICK) d += newgoal_Rand(2 * rd);
  if (n > 10 && std::abs(ball_XGet(&ball_oBall)) < 6768) d += newgoal_Rand(rd);
  if (d > n / 4) d = n / 4;
  if (d < 0) d = 0;
  bool bLater = false;
  if (n - d < 1) {
    BallPathEntry e2;
    if (!ball_PathEntryGet(e.iIndex + 1 - (n - d), &e2)) return 0;
    e.iIndex = e2.iIndex;
    e.iX = e2.iX;
    e.iHeight = e2.iHeight;
    e.iY = e2.iY;
    n = e.iIndex - iNow;
    bLater = true;
  }
  const std::int32_t iDist = player_Dist(e.iX - pp->x, e.iY - pp->y);
  if (iDist > 96 * n || iDist >= 2161) {
    debuglog_Printf("Goalie - too far too go.\n");
    return 0;
  }
  const std::int32_t iLateral = newgoal_LateralGet(pp, e.iX, e.iY);
  const std::int32_t iSpeedClass = newgoal_SpeedClassGet(iLateral, n - d);
  const std::int32_t iHeightClass = newgoal_HeightClassGet(e.iHeight);
  const std::int32_t iTable = bLater || (n < 7 && newgoal_Rand(1) == 1) ? 1 : 0;
  const std::int32_t iRow = newgoal_SaveRowChoose(iTable, iHeightClass, iSpeedClass);
  if (iSpeedClass < 2 && n >= 18) pchat_Say(pp, 6, 8);
  const std::int32_t iColumn = newgoal_ColumnGet(pp, e.iX, e.iY);
  newgoalo_SaveSet(g, iRow, iColumn);
  newgoalo_TargetSet(g, e.iX, e.iHeight, e.iY);
  const std::uint32_t eAnim = SaveAnim(g);
  const std::int32_t iMeet = newgoal_MeetFrameGet(eAnim);

  // The hands where the clip meets the ball, turned by his facing.
  std::int32_t* aiHands = s_aaiHands[s_iMotion];
  if (!anim_BallPointAt(pp->iDisplayFacing, eAnim, aiHands, iMeet)) aiHands[0] = aiHands[1] = aiHands[2] = 0;
  NewgoalMotion& m = s_aoMotion[s_iMotion];
  m = NewgoalMotion{};
  m.iStartX = pp->x;
  m.iStartHeight = pp->height;
  m.iStartY = pp->y;
  m.iX128 = pp->x * 128;
  m.iY128 = pp->y * 128;
  m.iHeight128 = pp->height * 128;
  m.aiSaveOffset[0] = e.iX - (pp->x + aiHands[0]);
  m.aiSaveOffset[1] = e.iHeight + (iColumn == 1 ? ball_RadiusGet() / 2 : 0) - (pp->height + aiHands[1]);
  m.aiSaveOffset[2] = e.iY - (pp->y + aiHands[2]);
  m.iStepX = m.aiSaveOffset[0] * 128 / n;
  m.iStepY = m.aiSaveOffset[2] * 128 / n;
  m.iStepHeight = Row(iRow)[NEWGOAL_WORD_REACH] != 0 ? m.aiSaveOffset[1] * 128 / n : 0;
  m.iStepLimit = n;
  g->bParryPending = 0;
  const std::int32_t iMove = player_Dist(m.aiSaveOffset[0], m.aiSaveOffset[2]);
  if (iMove > 72 * n) {
    debuglog_Printf("Goalie - save move of %d cut\n", iMove);
    m.iStepX = static_cast<std::int32_t>(static_cast<std::int64_t>(m.iStepX) * 72 * n / iMove);
    m.iStepY = static_cast<std::int32_t>(static_cast<std::int64_t>(m.iStepY) * 72 * n / iMove);
    debuglog_Printf("Goalie - cut to %d, %d\n", m.iStepX, m.iStepY);
  }
  g->iFrameLimit = n;
  g->iFrameCount = 0;
  g->iPossession = 1;
  g->bMoveFlag = 0;
  if (d + iMeet + 1 >= n) {
    // Too little time for the clip up to the ball: it starts part-way, so
    // that it meets the ball when the ball arrives.
    std::int32_t s = iMeet - (n - d);
    g->iStartFrame = s < 0 ? 0 : s > iMeet ? iMeet : s;
    if (d < 1) {
      SaveAnimStart(pp, g);
    } else {
      g->iCounter = d;
      g->iReactionCount = d;
      newgoalo_StateSet(g, GOALIE_STATE_REACT_WAIT);
      s_abKeeperFlag[s_iMotion] = 1;
    }
  } else {
    g->iStartFrame = 0;
    g->iCounter = n - iMeet;
    g->iReactionCount = d;
    newgoalo_StateSet(g, d < 1 ? GOALIE_STATE_SAVE_WAIT : GOALIE_STATE_REACT_WAIT);
    s_abKeeperFlag[s_iMotion] = 1;
  }
  return 1;
}
