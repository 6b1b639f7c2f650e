// The users: set-up and reset, the per-step update of their markers, the
// choice of the player a user steers, the binding table each user's port
// gets in open play, and the stick mapping of set pieces.
#include "shell/user.h"

#include "engine/aiopt.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/input.h"
#include "shell/usrmark.h"

User user_aUsers[USER_MAX];

const int32_t user_aiSectorTable[USER_SECTOR_ROWS][4] = {
    {0, 576, 0, 180}, {0, 2160, 0, 30},  {0, 2160, 30, 60}, {0, 2160, 60, 90},
    {0, 1440, 90, 180}, {0, 2880, 0, 60}, {0, 2880, 60, 90}, {0, 7200, 0, 180},
};

static int32_t s_iChoiceMin;
static int32_t s_iChoiceMax = 1;
static int32_t s_iChoiceCursor = -1;

static void ControlWordsClear(User& u) {
  for (int32_t& w : u.aiControlWords) w = 0;
}

void game_UsersReset() {
  for (int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    u = User{};
    u.iIndex = i;
  }
  global_RecentUsersClear();
}

void game_UsersStart() {
  for (int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    if (u.pip == nullptr) continue;
    input_PortBindingSet(1, u.pip);
    u.bActive = 1;
    u.iIndex = i;
    ControlWordsClear(u);
  }
}

void user_Init() {
  for (User& u : user_aUsers) {
    if (!u.pip) break;
    // A fresh marker while the pool lasts; once it is used up the user keeps
    // the one he has, so no two users ever share one.
    UserMarker* phl = nullptr;
    if (usrmark_bAlloc(&phl)) u.phl = phl;
    if (u.phl) {
      u.phl->iState = USRMARK_STATE_NONE;
      u.phl->pplyr = nullptr;
    }
    ControlWordsClear(u);
  }
  s_iChoiceMin = 0;
  s_iChoiceMax = 1;
  s_iChoiceCursor = -1;
}

void user_MatchReset() {
  for (int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    if (!u.pip) continue;
    u.bActive = 1;
    if (!u.phl) continue;
    u.phl->iState = USRMARK_STATE_NONE;
    u.phl->x = 0;
    u.phl->y = 0;
    u.iIndex = i;
    u.uStickDirection = 0;
    ControlWordsClear(u);
  }
}

void user_ActiveEventQueuesFlush() {
  for (User& u : user_aUsers) {
    if (u.bActive && u.pip) input_EventQueueFlush(&u.pip->oEvents);
  }
}

void user_ControlWordClear(User* pusr) { pusr->aiControlWords[USER_WORD_REFEREE_STOP] = 0; }

static bool TeamHasBall(int32_t iSide) {
  const Player* po = ball_oBall.poOwner;
  return po && po->MyTeam == iSide;
}

static void TakePlayer(User& u, Player* pp) {
  pp->Control = PLAYER_CONTROL_USER;
  pp->pUser = &u;
  u.phl->pplyr = pp;
  u.phl->iState = USRMARK_STATE_ON_PLAYER;
}

void user_Update() {
  for (User& u : user_aUsers) {
    if (!u.bActive || u.MyTeam == 0 || !u.phl) continue;
    UserMarker* phl = u.phl;
    switch (phl->iState) {
      case USRMARK_STATE_ON_PLAYER: {
        Player* pp = phl->pplyr;
        if (!pp) break;
        phl->x = pp->x;
        phl->y = pp->y;
        if (ball_oBall.poOwner == pp) {
          phl->iColour = USRMARK_COLOUR_HAS_BALL;
        } else {
          phl->iColour = TeamHasBall(pp->MyTeam) ? USRMARK_COLOUR_TEAM_HAS_BALL : USRMARK_COLOUR_DEFENDING;
        }
        break;
      }
      case USRMARK_STATE_ROAMING: {
        int32_t s = static_cast<int32_t>(u.uStickDirection & 0xFFFF) / 100;
        if (s > 20) {
          int32_t iDeg = static_cast<int32_t>(u.uStickDirection >> 16) + 90;
          phl->x += imath_CosScale(s * 288, iDeg);
          phl->y += imath_SinScale(s * 288, iDeg);
        }
        Player* poBest = nullptr;
        int64_t iBest = INT64_MAX;
        for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
          if (pp->MyTeam != u.MyTeam || PlayerO_ControlGet(pp) != PLAYER_CONTROL_COMPUTER) continue;
          int64_t d = player_Dist2(pp->x - phl->x, pp->y - phl->y);
          if (d < iBest) {
            iBest = d;
            poBest = pp;
          }
        }
        phl->pplyr = poBest;
        QDX_ASSERT(phl->pplyr != nullptr);
        int32_t d = player_Dist(poBest->x - phl->x, poBest->y - phl->y);
        if (QMathISqrt(d) < 48) TakePlayer(u, poBest);
        break;
      }
      case USRMARK_STATE_HOMING: {
        Player* pp = phl->pplyr;
        if (!pp) break;
        int32_t d = player_Dist(pp->x - phl->x, pp->y - phl->y);
        if (d < 419904) {
          TakePlayer(u, pp);
          phl->iColour = TeamHasBall(pp->MyTeam) ? USRMARK_COLOUR_TEAM_HAS_BALL : USRMARK_COLOUR_DEFENDING;
        } else {
          int32_t iDeg = imath_Atan2(pp->y - phl->y, pp->x - phl->x) * 180 / 401;
          phl->x += imath_CosScale(1152, iDeg);
          phl->y += imath_SinScale(1152, iDeg);
        }
        break;
      }
      default:
        break;
    }
    usrmark_Draw(&u);
  }
  plyrInit_UserMarkersUpdate();
  usrctl_PowerBarDraw();
  if (global_eGetGameMode() == GAME_MODE_PLAY) pass_UserMarkersUpdate();
}

static User* OtherUserOf(const User* pusr, const Player* pp) {
  for (User& u : user_aUsers) {
    if (&u != pusr && u.bActive && u.phl && u.phl->pplyr == pp) return &u;
  }
  return nullptr;
}

void user_PlayerSet(User* pusr, Player* poPlayer) {
  QDX_ASSERT(pusr);
  QDX_ASSERT(poPlayer);
  QDX_ASSERT(pusr->MyTeam == poPlayer->MyTeam);
  if (OtherUserOf(pusr, poPlayer)) return;
  UserMarker* phl = pusr->phl;
  if (!phl) return;
  if (phl->pplyr && phl->pplyr != poPlayer) {
    phl->pplyr->Control = PLAYER_CONTROL_COMPUTER;
    phl->pplyr->pUser = nullptr;
  }
  TakePlayer(*pusr, poPlayer);
  phl->iColour = USRMARK_COLOUR_INITIAL;
}

static Player* Controlled(const User* pusr) { return pusr && pusr->phl ? pusr->phl->pplyr : nullptr; }

void user_PlayerRelease(User* pusr) {
  if (Player* pp = Controlled(pusr)) pp->bUserSteered = 0;
}
void user_PlayerSteerFlagSet(User* pusr) {
  if (Player* pp = Controlled(pusr)) pp->bUserSteered = 1;
}
void user_PlayerSteerApply(User* pusr) {
  Player* pp = Controlled(pusr);
  if (!pp) return;
  pp->uStickMagnitude = static_cast<uint16_t>(pusr->uStickDirection & 0xFFFF);
  pp->bUserSteered = 1;
  pp->uStickAngle = static_cast<uint16_t>((pusr->uStickDirection >> 16) + 90);
}
void user_PlayerSteerStop(User* pusr) {
  if (Player* pp = Controlled(pusr)) pp->uStickMagnitude = 0;
}
int32_t user_iGetPlayerHeading(User* pusr) {
  Player* pp = Controlled(pusr);
  return pp ? pp->iFacing : 0;
}

void user_SelectPlayer(User* pusr) { user_PlayerChoose(pusr, 0); }

static bool OnPitch(const Player* pp) { return pp->x >= -9360 && pp->x <= 9360 && pp->y >= -5760 && pp->y <= 5760; }

// Rank of a candidate: the first sector row that holds him as seen from the
// ball, angles measured from the direction of the goal point; 99 for none.
static int32_t SectorRank(int32_t bx, int32_t by, const Player* pp, int32_t iGoalX) {
  int32_t iHeading = QMathAtan2(iGoalX - bx, -by) & 0xFFFF;
  int32_t r = roles_SectorFind(bx, by, pp->x, pp->y, iHeading, user_aiSectorTable, USER_SECTOR_ROWS);
  return r >= USER_SECTOR_ROWS ? USER_SECTOR_NONE : r;
}

static Player* ChainOf(int32_t iSide) {
  return iSide == player_PlaysFor_Home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet();
}

static bool SideAttacks(int32_t iSide) {
  return (iSide == player_PlaysFor_Home ? match_HomeClubStateGet() : match_AwayClubStateGet()) == 0;
}

static void ChooseDefender(User* pusr, Player* poCur, int32_t iMode) {
  Ball* pb = &ball_oBall;
  int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
  if (poCur && OnPitch(poCur) && player_Dist2(poCur->x - bx, poCur->y - by) < 1327104) {
    user_PlayerSet(pusr, poCur);
    return;
  }
  Player* poAny = ChainOf(pusr->MyTeam);
  int32_t iGoalX = (poAny && poAny->Direction == 1) ? -9360 : 9360;
  Player* poTaker = setp_poGetKickTaker();
  Player* poBestTeammate = nullptr;
  int32_t iBestRank = USER_SECTOR_NONE + 1;
  int64_t iBestDist = INT64_MAX;
  for (Player* poTeammate = ChainOf(pusr->MyTeam); poTeammate; poTeammate = match_TeamNextPlayerGet(poTeammate)) {
    QDX_ASSERT(!poTeammate->oAIInfo.bIsAttacking);
    if (player_IsGoalkeeper(poTeammate) || poTeammate == pb->poOwner) continue;
    if (poTeammate->Control == PLAYER_CONTROL_USER && poTeammate != poCur) continue;
    if ((iMode & USER_CHOOSE_NOT_TAKER) && poTeammate == poTaker) continue;
    if (poTeammate->MoveState == 8) continue;
    if (!(iMode & USER_CHOOSE_ANY) && poTeammate == poCur) continue;
    bool bOn = OnPitch(poTeammate);
    if ((iMode & USER_CHOOSE_ANY) && !bOn) continue;
    int32_t iRank = SectorRank(bx, by, poTeammate, iGoalX);
    int32_t dx = poTeammate->x - bx;
    if (!bOn) dx = (dx < 0 ? -dx : dx) + 2880;
    int64_t iDist = player_Dist2(dx, poTeammate->y - by);
    if (iRank < iBestRank || (iRank == iBestRank && iDist < iBestDist)) {
      iBestRank = iRank;
      iBestDist = iDist;
      poBestTeammate = poTeammate;
    }
  }
  if (!poBestTeammate) return;
  QDX_ASSERT(pusr->MyTeam == poBestTeammate->MyTeam);
  user_PlayerSet(pusr, poBestTeammate);
}

static void ChooseLooseBall(User* pusr, Player* poCur) {
  Player* poTaker = setp_poGetKickTaker();
  Player* poInterceptPlayer = nullptr;
  if (poTaker && poTaker->MyTeam == pusr->MyTeam && poTaker->Control != PLAYER_CONTROL_USER && poTaker != poCur) {
    poInterceptPlayer = poTaker;
  } else {
    Player* poChaser = chaser_poGet(pusr->MyTeam);
    if (poChaser && poChaser->Control != PLAYER_CONTROL_USER && poChaser != poCur) {
      poInterceptPlayer = poChaser;
    } else if (poCur) {
      Ball* pb = &ball_oBall;
      Player* po = nullptr;
      if (player_NearestFreeMateFind(&po, poCur, ball_XGet(pb), ball_YGet(pb), 18720)) poInterceptPlayer = po;
    }
  }
  if (!poInterceptPlayer) return;
  QDX_ASSERT(pusr->MyTeam == poInterceptPlayer->MyTeam);
  user_PlayerSet(pusr, poInterceptPlayer);
}

static void ChooseAttacker(User* pusr, Player* poCur, Player* poHolder, int32_t iMode) {
  Player* poPlayer = nullptr;
  if (poHolder->Control != PLAYER_CONTROL_USER && !(iMode & (USER_CHOOSE_NOT_TAKER | USER_CHOOSE_CYCLE))) {
    poPlayer = poHolder;
  } else if (iMode & USER_CHOOSE_CYCLE) {
    s_iChoiceCursor++;
    if (s_iChoiceCursor >= s_iChoiceMax || s_iChoiceCursor < s_iChoiceMin) s_iChoiceCursor = s_iChoiceMin;
    Ball* pb = &ball_oBall;
    int32_t iFlags = pusr->MyTeam == player_PlaysFor_Home ? PLAYER_SEARCH_HOME : PLAYER_SEARCH_AWAY;
    Player* po = nullptr;
    if (player_Search(&po, ball_XGet(pb), ball_YGet(pb), 0, 14400, s_iChoiceCursor, iFlags)) poPlayer = po;
  } else {
    Ball* pb = &ball_oBall;
    int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
    int32_t iGoalX = poHolder->Direction == 1 ? 9360 : -9360;
    int32_t iBestRank = INT32_MAX;
    int64_t iBestDist = INT64_MAX;
    // The same candidates as in defence: no keeper, not the holder, nobody
    // another user steers, nobody stopping.
    Player* poTaker = setp_poGetKickTaker();
    for (Player* pp = ChainOf(pusr->MyTeam); pp; pp = match_TeamNextPlayerGet(pp)) {
      if (player_IsGoalkeeper(pp) || pp == poHolder) continue;
      if (pp->Control == PLAYER_CONTROL_USER && pp != poCur) continue;
      if ((iMode & USER_CHOOSE_NOT_TAKER) && pp == poTaker) continue;
      if (pp->MoveState == 8) continue;
      if (!(iMode & USER_CHOOSE_ANY) && pp == poCur) continue;
      int32_t iRank = SectorRank(bx, by, pp, iGoalX) + (OnPitch(pp) ? 0 : 8);
      int64_t iDist = player_Dist2(pp->x - poHolder->x, pp->y - poHolder->y);
      if (iRank < iBestRank || (iRank == iBestRank && iDist < iBestDist)) {
        iBestRank = iRank;
        iBestDist = iDist;
        poPlayer = pp;
      }
    }
  }
  if (!poPlayer) return;
  QDX_ASSERT(pusr->MyTeam == poPlayer->MyTeam);
  user_PlayerSet(pusr, poPlayer);
}

void user_PlayerChoose(User* pusr, int32_t iMode) {
  QDX_ASSERT(pusr);
  if (!pusr->phl || pusr->MyTeam == 0) return;
  Player* poCur = pusr->phl->pplyr;
  if (!poCur) {
    Player* poBest = nullptr;
    int64_t iBest = static_cast<int64_t>(18720) * 18720;
    Player* poTaker = setp_poGetKickTaker();
    for (Player* pp = ChainOf(pusr->MyTeam); pp; pp = match_TeamNextPlayerGet(pp)) {
      if (pp->Control != PLAYER_CONTROL_COMPUTER || player_IsGoalkeeper(pp) || pp == poTaker) continue;
      int64_t d = player_Dist2(pp->x, pp->y);
      if (d < iBest) {
        iBest = d;
        poBest = pp;
      }
    }
    if (poBest) user_PlayerSet(pusr, poBest);
    return;
  }
  Player* poHolder = ball_oBall.poOwner;
  if (!SideAttacks(pusr->MyTeam)) {
    ChooseDefender(pusr, poCur, iMode);
  } else if (!poHolder) {
    ChooseLooseBall(pusr, poCur);
  } else if (poHolder->MyTeam == pusr->MyTeam) {
    ChooseAttacker(pusr, poCur, poHolder, iMode);
  }
}

void user_PortBindingsUpdate() {
  GameMode eMode = global_eGetGameMode();
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.phl || !u.pip) continue;
    if (u.phl->iState == USRMARK_STATE_HOMING) {
      input_PortBindingSet(9, u.pip);
      continue;
    }
    if (u.phl->iState != USRMARK_STATE_ON_PLAYER) continue;
    if (eMode != GAME_MODE_PLAY && eMode != GAME_MODE_PLAY_ON) continue;
    Player* poHolder = ball_oBall.poOwner;
    Player* poMine = u.phl->pplyr;
    int32_t eBinding;
    if (poHolder && poHolder == poMine) {
      eBinding = u.aiControlWords[USER_WORD_HAS_BALL] ? 5 : 4;
    } else if (SideAttacks(u.MyTeam) && poHolder) {
      eBinding = 3;
    } else if (poHolder) {
      eBinding = 6;
    } else {
      eBinding = 7;
    }
    input_PortBindingSet(eBinding, u.pip);
  }
}

void user_DirectionMap(User* pusr, int32_t iDirection, int32_t iMagnitude) {
  int32_t a = (setp_AngleGet() * 65536 / 802) & 0xFFFF;
  int32_t iRot;
  if (a >= 8192 && a < 24576) {
    iRot = 0;
  } else if (a >= 24576 && a < 40960) {
    iRot = 16384;
  } else if (a >= 40960 && a < 57344) {
    iRot = 32768;
  } else {
    iRot = 49152;
  }
  uint32_t uDeg = static_cast<uint32_t>(((iDirection + iRot - 16384) & 0xFFFF) * 360 / 65536);
  pusr->uStickDirection = (uDeg << 16) | static_cast<uint32_t>(iMagnitude & 0xFFFF);
}

void user_ChoiceRangeSet(int32_t iMin, int32_t iMax) {
  QDX_ASSERT(iMin >= 0);
  QDX_ASSERT(iMin < iMax);
  s_iChoiceMin = iMin;
  s_iChoiceMax = iMax;
}

void user_ChoiceRangeGet(int32_t* piMin, int32_t* piMax, int32_t* piCursor) {
  *piMin = s_iChoiceMin;
  *piMax = s_iChoiceMax;
  *piCursor = s_iChoiceCursor;
}

void user_LineFit(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t* piSlope, int32_t* piIntercept) {
  if (x2 == x1) {
    *piSlope = 0;
    *piIntercept = x2;
    return;
  }
  int32_t iSlope = y2 == y1 ? 0 : static_cast<int32_t>(static_cast<int64_t>(y2 - y1) * 128 / (x2 - x1));
  *piSlope = iSlope;
  *piIntercept = static_cast<int32_t>((static_cast<int64_t>(y1) * 128 - static_cast<int64_t>(iSlope) * x1) / 128);
}
