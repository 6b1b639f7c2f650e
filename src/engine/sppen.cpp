// Penalty and shoot-out kick: the taker's aim sweeps across the goal (a user
// stops it and sets loft and power), the computer shoots after a delay; the
// others wait outside the area and react to the outcome.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/matcha.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/user.h"

namespace {

std::int32_t s_iEndCountdown;
std::int32_t s_iDelay;
bool s_bKickStarted;
bool s_bDone;
std::int32_t s_iSpotX, s_iSpotY;  // where the ball waits for the kick


bool IsKeeper(const Player* pp) { return pp->ID == 0 || pp->ID == 11; }

Player* OpposingKeeper(const Player* poTaker) {
  Player* po = poTaker->MyTeam == 1 ? match_AwayFirstPlayerGet() : match_HomeFirstPlayerGet();
  for (; po; po = po->pNext)
    if (IsKeeper(po)) return po;
  return nullptr;
}

void SectorDraw(const Player* poTaker) {
  const Player* poKeeper = OpposingKeeper(poTaker);
  if (!poKeeper || !poKeeper->pUser)
    setp_AimSectorSet(setp_AimSectorFromAngle(static_cast<std::int32_t>(QMathRandRange(359))));
}

void AimMarkerSet(const Player* poTaker) {
  const std::int32_t gx = poTaker->Direction == 1 ? 9360 : -9360;
  const std::int32_t a = setp_HeadingTo(setp_BallX(), setp_BallY(), gx, setp_AimOffsetGet());
  pcframe_AddAimMarker(setp_BallX(), setp_BallY(), static_cast<std::uint16_t>(a * 65536 / 802), 546);
}

// The strikes of the two kicks: the ball is in play from here on. The aim's
// swing belongs to this kick alone: cleared once it is struck, so that no
// later free kick or corner of the match takes it for a disturbance of its
// own aim.
void Struck() {
  setp_KickStruckSet();
  setp_AimSwingSet(0);
}
void TakerStrike(Player* poTaker) {
  Struck();
  setp_TakerKick(poTaker);
}
void ComputerStrike(Player* poTaker) {
  Struck();
  target_DoShotRandom(poTaker);
}

// Before the kick nobody but the taker plays the ball: should it have left
// the spot all the same, it is put back and the kick is taken again. The
// side's user keeps the taker he was given; with no user left on his side
// the computer takes the kick.
void KickWaitCheck(Player* pp, SetPieceRecord& rec) {
  const Ball* pb = &ball_oBall;
  if (pb->poOwner || ball_XGet(pb) != s_iSpotX || ball_YGet(pb) != s_iSpotY || ball_HeightGet(pb) != 0) {
    if (pb->poOwner) newballA_OwnerSet(nullptr, 0);
    ball_PositionSet(&ball_oBall, s_iSpotX, 0, s_iSpotY);
  }
  if (rec.iEnterState != 19 && rec.iEnterState != 28) return;
  if (pp->pUser) return;
  if (User* pu = setp_SideUserGet(pp)) {
    user_PlayerSet(pu, pp);
    return;
  }
  setp_CommandClear();
  s_iDelay = 135;
  rec.iEnterState = 21;
}

}  // namespace

// The aim sweeps across the goal line: offset += drift, the drift reversing
// at ±577.
void sppen_AimUpdate(Player* poTaker) {
  const std::int32_t dx = poTaker->Direction == 1 ? 1440 : -1440;
  setp_AimAngleSet(setp_Wrap802(ball_HeadingTo(dx, setp_AimOffsetGet())));
  std::int32_t iOffset = setp_AimOffsetGet() + setp_AimDriftGet();
  if (iOffset >= 577 || iOffset <= -577) setp_AimDriftSet(-setp_AimDriftGet());
  setp_AimOffsetSet(iOffset);
  AimMarkerSet(poTaker);
}

// User commands during the sweep; 1 once the kick is decided.
static std::int32_t UserCommands(Player* pp) {
  switch (setp_CommandGet()) {
    case SETP_CMD_KICK: {
      const std::int32_t n = PlayerO_Attr56Get(pp) * setp_PowerGet() * 44 / 10000;
      setp_LoftSet(setp_LoftGet() + static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(n))));
      setp_SpinSet(0);
      return 1;
    }
    case SETP_CMD_AIM_LEFT:
    case SETP_CMD_AIM_RIGHT:
      setp_LoftSet(22);
      break;
    case SETP_CMD_LOFT_DOWN:
      setp_LoftSet(11);
      break;
    case SETP_CMD_LOFT_UP:
      setp_LoftSet(33);
      break;
    case SETP_CMD_KEEPER_A:
      setp_PowerSet(50);
      setp_KickAngleSet(setp_AimAngleGet());
      break;
    case SETP_CMD_KEEPER_B:
      setp_PowerSet(setp_PowerGet() + 2);
      if (setp_PowerGet() >= 100) {
        setp_CommandSet(SETP_CMD_KICK);
        return UserCommands(pp);
      }
      return 0;
    default:
      return 0;
  }
  setp_CommandClear();
  return 0;
}

std::int32_t sppen_ReactUpdate(Player* pp) {
  Player* poTaker = setp_poGetKickTaker();
  const std::int32_t c = setp_CommandGet();
  // Scored: the taker's team-mates celebrate; missed: the keeper's side does.
  std::int32_t iSide = 0;
  if (poTaker && c == SETP_CMD_PEN_SCORED) iSide = poTaker->MyTeam;
  if (poTaker && c == SETP_CMD_PEN_MISSED) iSide = poTaker->MyTeam == 1 ? 2 : 1;
  if (iSide && pp != poTaker && pp->MyTeam == iSide && pp->oSetPiece.iWait != 1) {
    pp->oSetPiece.iWait = 1;
    anim_RequestSet(&pp->oAnimInfo, 13);
    anim_ActionAnimSet(&pp->oAnimData, 13);
    PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_WAIT);
  }
  return anim_IsEnded(&pp->oAnimData) ? SETP_DONE : SETP_NOT_YET;
}

static bool PenaltyStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  const GameMode eMode = global_eGetGameMode();
  Player* poTaker = setp_poGetKickTaker();
  switch (rec.iEnterState) {
    case 1:
      if (setp_iGetEnterCount() == 0) s_bDone = false;
      s_iEndCountdown = 660;
      rec.iWait = 0;
      if (pp == poTaker) {
        setp_EnterCountInc();
        s_bKickStarted = false;
        if (eMode == GAME_MODE_PENALTY)
          ball_PositionSet(&ball_oBall, pp->Direction == 1 ? 7632 : -7632, 0, 0);
        s_iSpotX = setp_BallX();
        s_iSpotY = setp_BallY();
        setp_Stand(pp);
        setp_AimAngleSet(setp_HeadingTo(setp_BallX(), setp_BallY(), pp->Direction == 1 ? 9360 : -9360, 0));
        setp_KickAngleSet(setp_AimAngleGet());
        setp_TakerPlace(pp);
        setp_PowerSet(10);
        setp_KickDistanceSet(setp_PowerGet() * 10080 / 100);
        setp_LoftSet(22);
        setp_SpinSet(0);
        const std::int32_t iSwing = ((130 - PlayerO_Attr56Get(pp)) * 64 / 130) * 4;
        setp_AimSwingSet(iSwing);
        setp_AimDriftSet(iSwing);
        setp_AimOffsetSet(0);
        if (setp_UserMateExists(pp)) {
          // The side's user takes the kick himself: he is given the taker.
          if (!pp->pUser)
            if (User* pu = setp_SideUserGet(pp)) user_PlayerSet(pu, pp);
          rec.iEnterState = 19;
        } else {
          s_iDelay = 135;
          rec.iEnterState = 21;
        }
      } else if (pp == match_poSentOffGet()) {
        if (User* pu = player_UserGet(pp)) user_SelectPlayer(pu);
        match_PlayerRemove(pp);
        match_SentOffSet(nullptr);
        rec.iEnterState = 2;
      } else if (eMode == GAME_MODE_SHOOTOUT && poTaker && IsKeeper(pp) && pp->MyTeam == poTaker->MyTeam) {
        // The kicking side's keeper stays where the shoot-out placed him.
        setp_EnterCountInc();
        if (pp->pGoalie) newgoalo_StateSet(pp->pGoalie, 2);
        rec.iEnterState = 25;
      } else if (!IsKeeper(pp) && poTaker && pp->MyTeam == poTaker->MyTeam) {
        setp_EnterCountInc();
        QMathPoint pt{pp->x, pp->y};
        if (!zone_bRandomPoint(pp, &pt, eMode == GAME_MODE_SHOOTOUT ? 114 : 113)) pt = QMathPoint{pp->x, pp->y};
        pt.x += QMathRandBetween(-1440, 1440);
        pt.y += QMathRandBetween(-1440, 1440);
        setp_WalkStart(pp, pt.x, pt.y, ANIM_RUN);
        rec.iEnterState = 3;
      } else {
        rec.iEnterState = 2;
      }
      return true;
    case 3:
      if (setp_TakerRunUpdate(pp) == SETP_DONE) {
        setp_Stand(pp);
        if (poTaker) player_FaceTowards(pp, poTaker->x, poTaker->y);
        setp_Leave(pp);
      }
      return true;
    case 19:
      KickWaitCheck(pp, rec);
      if (rec.iEnterState != 19) return true;
      sppen_AimUpdate(pp);
      if (UserCommands(pp)) {
        setp_KickAngleSet(setp_AimAngleGet());
        s_iDelay = QMathRandBetween(15, 60);
        rec.iEnterState = 28;
      }
      return true;
    case 28:
      KickWaitCheck(pp, rec);
      if (rec.iEnterState != 28) return true;
      sppen_AimUpdate(pp);
      if (--s_iDelay <= 0) rec.iEnterState = 18;
      return true;
    case 18:
      if (!s_bKickStarted) {
        s_bKickStarted = true;
        setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, TakerStrike);
        SectorDraw(pp);
      }
      rec.iEnterState = 11;
      return true;
    case 21:
      KickWaitCheck(pp, rec);
      if (--s_iDelay <= 0) {
        setp_CommandSet(SETP_CMD_KICK);
        rec.iEnterState = 27;
      }
      return true;
    case 27:
      if (!s_bKickStarted) {
        s_bKickStarted = true;
        setp_KickStart(pp, ANIM_GOALIE_PLACEKIK, ComputerStrike);
        setp_CommandSet(SETP_CMD_KICK);
        SectorDraw(pp);
      }
      rec.iEnterState = 11;
      return true;
    case 11:
      if (setp_BallInPlayState(pp) == SETP_DONE) setp_Leave(pp);
      return true;
    case 25:
      if (setp_CommandGet() == SETP_CMD_KICK) setp_Leave(pp);
      return true;
    case 2:
      sppen_ReactUpdate(pp);
      if (eMode == GAME_MODE_PENALTY && setp_iGetEnterCount() == 0 && !s_bDone) {
        if (--s_iEndCountdown < 0) {
          s_bDone = true;
          setp_CommandClear();
          global_GameModePopRequest();
          camera_Reset();
          setp_Reset(pp);
        }
      }
      return true;
    default:
      QDX_ASSERT(!"penalty: no such state");
      return true;
  }
}

ActionNode* sppen_Handler(ActionNode* poList) { return setp_ListRun(poList, PenaltyStep); }
