// Resetting a player for a kick-off and for a restart, and the user markers
// of the frame packet.
#include "engine/anim.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "tournament/dbplayer.h"
#include "tournament/tournament_services.h"

static const FormationSlot* SlotOf(const Player* pp) {
  return pp->pDBPlayer ? pp->pDBPlayer->poSlot : nullptr;
}

// Direction, goalkeeper object and role from the side's end and the
// player's formation slot; he then walks on from the touch line.
static void SideAndPlace(Player* pPlayer) {
  const FormationSlot* ps = SlotOf(pPlayer);
  bool bKeeperSlot = ps && ps->iSlot == 0;
  std::int32_t bKickOffFlag;
  if (PlayerO_MyTeamGet(pPlayer) == player_PlaysFor_Home) {
    bKickOffFlag = match_HomeKickOffFlagGet();
  } else {
    QDX_ASSERT(PlayerO_MyTeamGet(pPlayer) == player_PlaysFor_Away);
    bKickOffFlag = match_AwayKickOffFlagGet();
  }
  if (bKickOffFlag) {
    pPlayer->Direction = 0;
    if (bKeeperSlot) pPlayer->pGoalie = newgoalo_Alloc(2);
  } else {
    pPlayer->Direction = 1;
    if (bKeeperSlot) pPlayer->pGoalie = newgoalo_Alloc(1);
  }
  if (pPlayer->MyTeam == player_PlaysFor_Away) {
    for (std::int32_t& w : pPlayer->aiMarking) w = 0;
    pPlayer->oAIInfo.iZoneCountdown = 0;
  }
  std::int32_t iCode = ps ? ps->iPosition : (pPlayer->pDBPlayer ? dbplayer_CurrentPositionGet(pPlayer->pDBPlayer) : 0);
  pPlayer->PositionCode = iCode;
  roles_RoleSet(pPlayer, iCode, ps ? ps->iRoleFlip : 0);

  pPlayer->x = 0;
  pPlayer->y = -5760;
  pPlayer->oAnimInfo = AnimInfo{};
  PlayerO_MoveToSet(pPlayer, pPlayer->x, pPlayer->y, ANIM_STAND);
  PlayerO_MoveStateSet(pPlayer, MOVE_STATE_RUN);
  pPlayer->iSpeed = 0;
  for (std::uint8_t& b : pPlayer->abMoveEvents) b = 0;
}

void plyrInit_KickOffInit(Player* pPlayer, std::int32_t iControl) {
  QDX_ASSERT(pPlayer != nullptr);
  pPlayer->oAIInfo = AIInfo{};
  pPlayer->oAIInfo.abKeeperProgram[0] = 4;
  action_RecordClear(pPlayer);
  pPlayer->bUserSteered = 0;
  pPlayer->Control = iControl;
  pPlayer->uHeadAngle = 0;
  anim_Reset(&pPlayer->oAnimData);
  for (std::uint8_t& b : pPlayer->abPendingEvents) b = 0;
  pPlayer->bCollide = 1;
  SideAndPlace(pPlayer);
  pPlayer->iResetWord = 0;
  pPlayer->iKnocks = 0;
  pPlayer->uStamina = PLAYER_STAMINA_FULL;
  pPlayer->uPower = static_cast<std::uint16_t>(100 * PlayerO_Attr66Get(pPlayer));
  touch_StateInit(pPlayer);
  grid_SupportStateInit(pPlayer);
  setp_RecordInit(pPlayer);
  if (pPlayer->pDBPlayer) dbplayer_PenaltyTakenSet(pPlayer->pDBPlayer, 0);
}

void plyrInit_RestartInit(Player* pPlayer) {
  QDX_ASSERT(pPlayer != nullptr);
  SideAndPlace(pPlayer);
  pPlayer->iKnocks = static_cast<std::int16_t>(pPlayer->iKnocks / 2);
  touch_StateInit(pPlayer);
  setp_RecordInit(pPlayer);
}

void plyrInit_UserMarkersUpdate() {
  GameMode e = global_eGetGameMode();
  if (e != GAME_MODE_PLAY && e != GAME_MODE_FREE_KICK && e != GAME_MODE_CORNER && e != GAME_MODE_THROW_IN &&
      e != GAME_MODE_PLAY_ON) {
    return;
  }
  for (std::int32_t i = 0; i < USER_MAX; i++) {
    const User& u = user_aUsers[i];
    if (!u.bActive || u.MyTeam == 0 || !u.phl || !u.phl->pplyr) continue;
    const Player* pp = u.phl->pplyr;
    if (pp->bHidden) continue;
    pcframe_AddUserMarker(pp->x, pp->y, i);
  }
}
