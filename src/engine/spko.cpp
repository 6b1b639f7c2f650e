// Kick-off: the taker and his partner walk to the centre spot, the others to
// their kick-off places; the taker holds the ball until the kick (a user's
// button, or at once for the computer), then open play starts.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/clock.h"
#include "shell/global.h"

namespace {
bool s_bDone;
}

static bool KickOffStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  Player* poTaker = setp_poGetKickTaker();
  Player* poPartner = setp_poGetPartner();
  switch (rec.iEnterState) {
    case 1: {
      if (setp_iGetEnterCount() == 0) s_bDone = false;
      setp_EnterCountInc();
      QMathPoint c{0, 0};
      if (!zone_bCentreGet(pp, &c, 35)) c = QMathPoint{0, 0};
      setp_TargetPointSet(pp, c.x, c.y);
      if (pp == poTaker) {
        if (pp->Direction == 1) {
          setp_WalkStart(pp, -72, 72, ANIM_WALK);
        } else {
          setp_WalkStart(pp, 72, -72, ANIM_WALK);
        }
        setp_PutAt(&player_oReferee, 0, 1440);
        player_FaceTowards(&player_oReferee, 0, 0);
        refact_ActionSet(1);
        rec.iEnterState = 6;
      } else if (pp == poPartner) {
        setp_WalkStart(pp, 0, pp->Direction == 1 ? -72 : 72, ANIM_WALK);
        camera_FadeRelease();
        rec.iEnterState = 6;
      } else {
        setp_Leave(pp);
      }
      return true;
    }
    case 6:
      if (setp_WalkUpdate(pp)) {
        setp_Stand(pp);
        player_FaceTowards(pp, 0, 0);
        rec.iEnterState = 5;
      }
      return true;
    case 5:
      if (pp == poTaker) {
        newballA_OwnerSet(pp, 1);
        anim_RequestSet(&pp->oAnimInfo, 107);
        if (!setp_UserMateExists(pp)) setp_CommandSet(SETP_CMD_KICK);
        const std::int32_t iPartnerState = poPartner ? poPartner->oSetPiece.iEnterState : 2;
        if (setp_CommandGet() == SETP_CMD_KICK && (iPartnerState == 5 || iPartnerState == 2)) {
          setp_KickStart(pp, 108, target_DoGiveToPartner);
          clock_Start();
          setp_Leave(pp);
        }
      } else if (setp_CommandGet() == SETP_CMD_KICK) {
        setp_Stand(pp);
        setp_Leave(pp);
      }
      return true;
    case 2: {
      // Nobody waits for the kick in the other half.
      const std::int32_t tx = pp->oAnimInfo.iTargetX;
      if ((tx < 0) != (pp->x < 0) && tx != 0) anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->oAnimInfo.iTargetY);
      if (!s_bDone && setp_iGetEnterCount() == 0) {
        s_bDone = true;
        global_GameModePush(usrctl_StartPlay, GAME_MODE_PLAY, nullptr);
        setp_CommandClear();
        setp_Reset(pp);
      }
      return true;
    }
    default:
      QDX_ASSERT(!"kick-off: no such state");
      return true;
  }
}

ActionNode* spko_Handler(ActionNode* poList) { return setp_ListRun(poList, KickOffStep); }
