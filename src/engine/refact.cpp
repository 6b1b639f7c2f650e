// The referee on the pitch: following play on the diagonal with a little
// hysteresis, the card gestures, the penalty spot, walking back and leaving.
#include "engine/refact.h"

#include <cstdint>
#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {

constexpr std::uint32_t kAnimWalkBack = 7;
constexpr std::uint32_t kAnimLeave = 160;

struct RefactState {
  std::int32_t iAction;
  std::int32_t bCardShown;
  std::int32_t bSecondBooking;
  std::int32_t iHysteresis;
};
RefactState s;
DBPlayer s_oRefereeRecord;

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

void StandFacingBall(Player* pr) {
  player_FaceTowards(pr, ball_CurXGet(), ball_CurYGet());
  PlayerO_SpeedSet(pr, 0);
  PlayerO_MoveToSet(pr, pr->x, pr->y, ANIM_STAND);
}

// Toward the goal a player attacks.
std::int32_t Ahead(const Player* pp, std::int32_t d) { return pp->Direction == 1 ? d : -d; }

void Follow(Player* pr) {
  std::int32_t wx = 0;
  std::int32_t wy = 0;
  refact_FollowPointGet(&wx, &wy);
  const bool bFreeKick = global_eGetGameMode() == GAME_MODE_FREE_KICK;
  const std::int32_t d1 = player_Dist(ball_CurXGet() - pr->x, ball_CurYGet() - pr->y);
  const std::int32_t d2 = player_Dist(wx - pr->x, wy - pr->y);
  const std::int32_t h = s.iHysteresis;
  if (!bFreeKick && d1 <= (5 - h) * 144) {
    StandFacingBall(pr);
  } else if (d2 < (9 * h + 45) * 16) {
    StandFacingBall(pr);
    s.iHysteresis = 2;
  } else {
    s.iHysteresis = 0;
    PlayerO_MoveToSet(pr, wx, wy, d2 <= 2160 ? ANIM_WALK : ANIM_RUN);
  }
}

}  // namespace

void refact_FollowPointGet(std::int32_t* px, std::int32_t* py) {
  const Player* poOwner = ball_OwnerGet();
  std::int32_t wx;
  if (global_eGetGameMode() == GAME_MODE_FREE_KICK) {
    const Player* pp = poOwner ? poOwner : setp_poGetKickTaker();
    wx = pp ? pp->x + Ahead(pp, 7200) : ball_CurXGet();
  } else if (poOwner) {
    const bool bOwnHalf = poOwner->Direction == 1 ? poOwner->x < 0 : poOwner->x > 0;
    wx = bOwnHalf ? poOwner->x / 4 : poOwner->x + Ahead(poOwner, 720);
  } else {
    wx = ball_PrevXGet();
  }
  wx = Clamp(wx, -7200, 7200);
  *px = wx;
  *py = Clamp(wx + 720, -2880, 2880);
}

void refact_Init() {
  Player* pr = &player_oReferee;
  *pr = Player{};
  s_oRefereeRecord = DBPlayer{};
  s_oRefereeRecord.uSpeed = 70;
  pr->ID = PLAYER_ID_REFEREE;
  pr->Control = PLAYER_CONTROL_COMPUTER;
  pr->PositionCode = 1;
  pr->MoveState = MOVE_STATE_RUN;
  pr->pDBPlayer = &s_oRefereeRecord;
  pr->x = 0;
  pr->y = 1440;
  pr->bCollide = 1;
  pr->uStamina = PLAYER_STAMINA_FULL;
  pr->uPower = 10000;  // he never tires
  // Standing, once the clip table is filled (a match set up without the
  // engine's tables keeps him still).
  if (anim_aTable[ANIM_STAND].id == ANIM_STAND) anim_Reset(&pr->oAnimData);
  s = RefactState{};
}

void refact_Update() {
  Player* pr = &player_oReferee;
  if (global_eGetGameMode() == GAME_MODE_SET_PIECE_SCRIPT) {
    pr->MoveState = MOVE_STATE_SCRIPT;
    return;
  }
  if (global_bSpareFlagGet()) return;
  switch (s.iAction) {
    case REFACT_START: s.iAction = REFACT_FOLLOW; break;
    case REFACT_FOLLOW: Follow(pr); break;
    case REFACT_YELLOW: s.bCardShown = 1; break;
    case REFACT_RED: s.bCardShown = 0; break;
    case REFACT_STAND:
    case REFACT_NOTHING: break;
    case REFACT_PENALTY: {
      const bool bRight = ball_CurXGet() >= 0;
      pr->x = static_cast<std::int16_t>(bRight ? 7632 : -7632);
      pr->y = static_cast<std::int16_t>(bRight ? 720 : -720);
      pr->iSpeed = 0;
      pr->iWantedSpeed = 0;
      PlayerO_MoveToSet(pr, pr->x, pr->y, ANIM_STAND);
      pr->MoveState = MOVE_STATE_STAND;
      break;
    }
    case REFACT_WALK_BACK: {
      const std::int32_t d = player_Dist(ball_CurXGet() - pr->x, ball_CurYGet() - pr->y);
      if (d <= 2736 && (pr->x != 0 || pr->y != 0)) {
        PlayerO_MoveToSet(pr, 0, 0, kAnimWalkBack);
      } else {
        StandFacingBall(pr);
        s.iAction = REFACT_FOLLOW;
      }
      break;
    }
    case REFACT_LEAVE: PlayerO_MoveToSet(pr, 0, -5760, kAnimLeave); break;
    default: QDX_ASSERT(!"refact: action outside 0..8"); break;
  }
}

void refact_ActionSet(std::int32_t iAction) { s.iAction = iAction; }
std::int32_t refact_ActionGet() { return s.iAction; }
std::int32_t refact_CardShownGet() { return s.bCardShown; }
void refact_SecondBookingSet(std::int32_t bFlag) { s.bSecondBooking = bFlag; }
std::int32_t refact_SecondBookingGet() { return s.bSecondBooking; }
std::int32_t refact_HysteresisGet() { return s.iHysteresis; }
