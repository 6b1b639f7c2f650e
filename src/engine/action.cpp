// The action table and the per-tick action pass: every player on the pitch
// is given an action once a tick. In open play the holder runs his program
// from the top each tick; the director runs at most a batch of off-ball
// players a tick, each one record further down his program until an action
// takes him. Also the closing-down choice of the defender who presses.
#include "engine/action.h"
#include "engine/action_react.h"

#include <cstdint>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/grid.h"
#include "engine/player.h"
#include "engine/touch.h"
#include "engine/zone.h"
#include "framework/math/g_fixpt.h"
#include "framework/math/trigw.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/pcstub.h"
#include "shell/user.h"

// Handlers of modules that install into the table.
ActionNode* setp_ExitHandler(ActionNode* poList);
ActionNode* newgoal_ActionHandler(ActionNode* poList);
ActionNode* setp_WallHandler(ActionNode* poList);
ActionNode* referee_WallRetreatHandler(ActionNode* poList);
ActionNode* referee_RetreatHandler(ActionNode* poList);
ActionNode* match_MarkingUpdate(ActionNode* poList);
ActionNode* setp_ZoneWanderHandler(ActionNode* poList);
ActionNode* sppen_Handler(ActionNode* poList);
ActionNode* referee_FormationRetreatHandler(ActionNode* poList);
ActionNode* spfk_Handler(ActionNode* poList);
ActionNode* spgk_Handler(ActionNode* poList);
ActionNode* spcorn_Handler(ActionNode* poList);
ActionNode* spthrow_Handler(ActionNode* poList);
ActionNode* spko_Handler(ActionNode* poList);
ActionNode* setp_EnterHandler(ActionNode* poList);
ActionNode* team_ZoneRunHandler(ActionNode* poList);
ActionNode* sphands_Handler(ActionNode* poList);
// Per-tick services of the goalkeepers and the referee, and the players the
// goal and restart modes name.
void newgoal_StateMachineRun(Player* poKeeper);
void newgoal_CelebrationStand(Player* poKeeper);
void refact_Update();
Player* referee_poInjuredGet();
Player* setp_poSubstituteGet(std::int32_t i);

ActionHandler action_apfnHandlers[ACTION_TABLE_SIZE];

namespace {
std::int32_t s_iSteerX;
std::int32_t s_iSteerY;
Player* s_poDirector;
Player* s_poCloseDown;
std::int32_t s_iCloseDownDelay;
bool s_bTableReady;

// The open-play choice list of the players without the ball.
constexpr std::uint8_t kOpenPlayChoices[3] = {ACTION_TOUCH, ACTION_SUPPORT, ACTION_CHASE};

bool IsKeeperByRole(const Player* pp) { return pp->PositionCode == 0; }

template <typename F>
void EachPlayer(F&& f) {
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) f(pp);
}

Player* HomeKeeper() {
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = pp->pNext)
    if (pp->ID == 0) return pp;
  return nullptr;
}
Player* AwayKeeper() {
  for (Player* pp = match_AwayFirstPlayerGet(); pp; pp = pp->pNext)
    if (pp->ID == 11) return pp;
  return nullptr;
}

// Runs the program of the player from its current record until an action
// takes him (the last record always does).
void ProgramRun(Player* pp) {
  while (pp->iLastActionResult == 0) {
    std::int32_t e = action_RecordLoad(pp);
    if (action_Run(pp, e)) {
      pp->iLastActionResult = 1;
    } else {
      action_RunForPlayer(pp);
    }
  }
}

std::int32_t ClassOf(const Player* pp, std::int32_t x, std::int32_t y) {
  std::int32_t ai[4] = {0, 0, 0, 0};
  QMathPoint pt{x, y};
  std::int32_t r = zone_ClassesAtPoint(pp, &pt, ai);
  std::int32_t c = r != 0 ? r : ai[0];
  return c >= 0 && c <= 7 ? c : 0;
}

void OpenPlay() {
  Player* poHolder = ball_OwnerGet();
  if (poHolder && poHolder->Control == PLAYER_CONTROL_COMPUTER) {
    Player* poMate = nullptr;
    if (player_NearestUserMateFind(poHolder, &poMate))
      if (User* pu = player_UserGet(poMate)) user_SelectPlayer(pu);
  }
  EachPlayer([](Player* pp) {
    if (pp->Control == PLAYER_CONTROL_USER && !pp->oAIInfo.bIsAttacking) {
      std::int32_t x = pp->x + (pp->Direction ? -2160 : 2160);
      Player* po = nullptr;
      if (!player_Search(&po, x, pp->y, 0, 14400, 0, PLAYER_SEARCH_POSSESSION | PLAYER_SEARCH_NOT_BEYOND))
        if (User* pu = player_UserGet(pp)) user_SelectPlayer(pu);
    }
    if (IsKeeperByRole(pp)) return;
    for (std::uint8_t e : kOpenPlayChoices) {
      if (action_Run(pp, e)) {
        pp->iLastActionResult = 1;
        break;
      }
    }
  });
  poHolder = ball_OwnerGet();
  bool bRunHolder = poHolder && poHolder->Control == PLAYER_CONTROL_COMPUTER && !player_IsGoalkeeper(poHolder);
  if (bRunHolder) {
    action_ProgramReset(poHolder);
    ProgramRun(poHolder);
  }
  director_Update();
  if (bRunHolder) poHolder->iLastActionResult = 0;
}

void CelebrationPass() {
  Player* poScorer = match_poScorerGet();
  if (poScorer) {
    Player* poMate = nullptr;
    if (poScorer->Control == PLAYER_CONTROL_COMPUTER && player_NearestUserMateFind(poScorer, &poMate))
      if (User* pu = player_UserGet(poMate)) user_PlayerSet(pu, poMate);
    if (poScorer->Control != PLAYER_CONTROL_USER) action_Run(poScorer, ACTION_GOAL_CELEBRATE);
  }
  EachPlayer([poScorer](Player* pp) {
    if (pp == poScorer) return;
    if (player_IsGoalkeeper(pp)) {
      newgoal_CelebrationStand(pp);
      return;
    }
    bool bMate = poScorer && pp->MyTeam == poScorer->MyTeam;
    action_Run(pp, bMate ? ACTION_GOAL_REACT : ACTION_FACE_CENTRE);
  });
}

void EveryPlayer(std::int32_t e) {
  EachPlayer([e](Player* pp) { action_Run(pp, e); });
}
}  // namespace

// ---- The table ------------------------------------------------------------------------------
void action_TableInit() {
  s_bTableReady = true;
  s_poDirector = nullptr;
  s_poCloseDown = nullptr;
  s_iCloseDownDelay = 0;
  s_iSteerX = 0;
  s_iSteerY = 0;
  touch_Init();
  action_UserSteerReset();
  for (ActionHandler& h : action_apfnHandlers) h = nullptr;
  ActionHandler* t = action_apfnHandlers;
  t[0] = action_StandHandler;
  t[1] = action_NullHandler;
  t[2] = action_ChaseHandler;
  t[3] = setp_ExitHandler;
  t[4] = newgoal_ActionHandler;
  t[5] = offside_OnsideHandler;
  t[6] = action_HolderChooseHandler;
  t[7] = action_SupportHandler;
  t[8] = setp_WallHandler;
  t[9] = referee_WallRetreatHandler;
  t[10] = referee_RetreatHandler;
  t[12] = match_MarkingUpdate;
  t[13] = setp_ZoneWanderHandler;
  t[14] = sppen_Handler;
  t[15] = referee_FormationRetreatHandler;
  t[16] = spfk_Handler;
  t[17] = spgk_Handler;
  t[18] = spcorn_Handler;
  t[19] = spthrow_Handler;
  t[20] = spko_Handler;
  t[21] = setp_EnterHandler;
  t[22] = touch_Handler;
  t[23] = aiopt_OptionBHandler;
  t[24] = aiopt_OptionAHandler;
  t[26] = action_FaceCentreHandler;
  t[27] = touch_IdentityAlt;
  t[28] = action_GoalReactHandler;
  t[29] = team_ZoneRunHandler;
  t[30] = action_UserSupportHandler;
  t[31] = action_AttackIdleHandler;
  t[32] = grid_SupportHandler;
  t[33] = action_ShootOrPassHandler;
  t[34] = touch_Identity;
  t[35] = action_HolderReactHandler;
  t[36] = action_ClearHandler;
  t[37] = action_PassToMateHandler;
  t[38] = action_GoalCelebrateHandler;
  t[39] = aiopt_OptionCHandler;
  t[42] = action_CrossHandler;
  t[43] = action_ShootHandler;
  t[44] = sphands_Handler;
  t[45] = action_CloseDownHandler;
  t[46] = grid_TargetRunHandler;
}

std::int32_t action_Run(Player* pp, std::int32_t eAction) {
  QDX_ASSERT(eAction >= 0);
  QDX_ASSERT(eAction < ACTION_TABLE_SIZE);
  ActionHandler pfn = action_apfnHandlers[eAction];
  QDX_ASSERT(pfn != nullptr);
  ActionNode oNode{nullptr, nullptr, pp};
  return pfn(&oNode) == nullptr ? 1 : 0;
}

void action_Set(Player* pp, std::int32_t eAction) {
  AIInfo& ai = pp->oAIInfo;
  if (ai.eAction == eAction) return;
  ai.ePrevAction = static_cast<std::uint8_t>(ai.eAction);
  ai.eAction = static_cast<std::int8_t>(eAction);
}

std::int32_t action_RecordLoad(Player* pp) {
  AIInfo& ai = pp->oAIInfo;
  const std::uint8_t* pb = ai.pbProgram;
  if (!pb) return 0;
  std::int32_t n = pb[1];
  for (std::int32_t i = 0; i < 3; i++) ai.abParams[i] = i < n ? pb[2 + i] : 0;
  ai.cParams = static_cast<std::int8_t>(n);
  return pb[0];
}

void action_RecordAdvance(ActionNode* poList) {
  for (ActionNode* po = poList; po; po = po->poNext) {
    AIInfo& ai = po->poPlayer->oAIInfo;
    if (ai.pbProgram) ai.pbProgram += ai.pbProgram[1] + 2;
  }
}

void action_RunForPlayer(Player* pp) {
  ActionNode oNode{nullptr, nullptr, pp};
  action_RecordAdvance(&oNode);
}

void action_ProgramReset(Player* pPlayer) {
  QDX_ASSERT(pPlayer);
  AIInfo& ai = pPlayer->oAIInfo;
  if (global_eGetGameMode() != GAME_MODE_PLAY || IsKeeperByRole(pPlayer)) {
    ai.pbProgram = ai.abKeeperProgram;
    return;
  }
  std::int32_t iSet = pPlayer == ball_OwnerGet() ? zone_iOwnerSetIndexGet(pPlayer) : zone_iSetIndexGet(pPlayer);
  ai.pbProgram = action_ProgramGet(iSet, (ai.iPlayerZoneClass & 7) * 8 + (ai.iBallZoneClass & 7));
}

void action_RecordClear(Player* pp) { pp->oAIInfo.pbProgram = nullptr; }

void action_AttackingSet(Player* pp, std::int32_t bAttacking) {
  AIInfo& ai = pp->oAIInfo;
  ai.bIsAttacking = bAttacking ? 1 : 0;
  std::int32_t iFlip = bAttacking ? 4 : 0;
  if (pp->Direction == 0) iFlip |= 3;
  ai.iZoneFlip = iFlip ^ (pp->oRole.iFlip & 3);
  // The defending tree without the ball, the on-the-ball tree for its holder,
  // else the attacking tree.
  std::int32_t iTree = !bAttacking ? pp->oRole.iDefendTree
                       : pp == ball_OwnerGet() ? pp->oRole.iBallTree
                                               : pp->oRole.iAttackTree;
  ai.poZoneBoxList = iTree > 0 && iTree < ZONE_BOX_COUNT ? &zone_aBoxes[iTree] : nullptr;
  ai.iPlayerZoneClass = ClassOf(pp, pp->x, pp->y);
  ai.iBallZoneClass = ClassOf(pp, s_iSteerX, s_iSteerY);
}

void action_SteeringPointGet(std::int32_t* px, std::int32_t* py) {
  *px = s_iSteerX;
  *py = s_iSteerY;
}

void action_FramePass(std::int32_t eGameMode) {
  if (!s_bTableReady) action_TableInit();
  if (ball_HeightGet(&ball_oBall) < 481) {
    s_iSteerX = ball_CurXGet();
    s_iSteerY = ball_CurYGet();
  } else {
    std::int32_t x = ball_PrevXGet(), y = ball_PrevYGet();
    s_iSteerX = x < -9360 ? -9360 : x > 9360 ? 9360 : x;
    s_iSteerY = y < -5760 ? -5760 : y > 5760 ? 5760 : y;
  }
  for (Player* pp = match_StateTeamFirstPlayerGet(); pp; pp = pp->pNext) action_AttackingSet(pp, 1);
  for (Player* pp = match_OtherTeamFirstPlayerGet(); pp; pp = pp->pNext) action_AttackingSet(pp, 0);

  if (eGameMode != GAME_MODE_GOAL_KICK && eGameMode != GAME_MODE_KEEPER_HANDS &&
      eGameMode != GAME_MODE_GOAL_CELEBRATION) {
    if (Player* pk = HomeKeeper()) newgoal_StateMachineRun(pk);
    if (global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING)
      if (Player* pk = AwayKeeper()) newgoal_StateMachineRun(pk);
  }
  if (eGameMode != GAME_MODE_SET_PIECE_SCRIPT) refact_Update();

  Player* poTaker = setp_poGetKickTaker();
  switch (eGameMode) {
    case GAME_MODE_PLAY:
      OpenPlay();
      break;
    case GAME_MODE_KICK_OFF:
      EveryPlayer(ACTION_KICKOFF);
      break;
    case GAME_MODE_GOAL_KICK:
      EveryPlayer(ACTION_GOALKICK);
      break;
    case GAME_MODE_CORNER:
      EachPlayer([poTaker](Player* pp) {
        if (IsKeeperByRole(pp)) return;
        if (pp->oAIInfo.bIsAttacking) {
          action_Run(pp, ACTION_CORNER);
          if (pp != poTaker) action_Run(pp, ACTION_SUPPORT);
        } else if (!action_Run(pp, ACTION_SUPPORT)) {
          action_Run(pp, ACTION_MARK);
        }
      });
      break;
    case GAME_MODE_PERIOD_BREAK:
    case GAME_MODE_PERIOD_END:
      break;
    case GAME_MODE_RETURN_POSITIONS: {
      std::int32_t eBelow = global_eGetPrevGameMode();
      if (eBelow == GAME_MODE_PENALTY || eBelow == GAME_MODE_SHOOTOUT) {
        EveryPlayer(ACTION_PENALTY);
      } else if (eBelow != 65) {
        EveryPlayer(ACTION_STAND);
      }
      break;
    }
    case GAME_MODE_THROW_IN:
      // As at a corner or a free kick, a person who has the thrower does not
      // steer him: his stance and his throw are the throw-in's own.
      EachPlayer([poTaker](Player* pp) {
        if (IsKeeperByRole(pp)) return;
        action_Run(pp, pp->oAIInfo.bIsAttacking ? ACTION_THROWIN : ACTION_MARK);
        if (pp != poTaker) action_Run(pp, ACTION_SUPPORT);
      });
      break;
    case GAME_MODE_FREE_KICK: {
      Player* poInjured = referee_poInjuredGet();
      EachPlayer([poTaker, poInjured](Player* pp) {
        if (IsKeeperByRole(pp)) return;
        if (pp->oAIInfo.bIsAttacking || pp == poInjured) {
          action_Run(pp, ACTION_FREEKICK);
          if (pp != poTaker) action_Run(pp, ACTION_SUPPORT);
        } else if (!action_Run(pp, ACTION_SUPPORT)) {
          action_Run(pp, pp->oSetPieceRole.iRole == 8 ? ACTION_SETPIECE_POSITION : ACTION_MARK);
        }
      });
      break;
    }
    case GAME_MODE_PENALTY:
    case GAME_MODE_SHOOTOUT:
      EveryPlayer(ACTION_PENALTY);
      break;
    case GAME_MODE_GOAL_CELEBRATION:
      CelebrationPass();
      break;
    case GAME_MODE_INTERVAL:
      EachPlayer([](Player* pp) {
        if (!IsKeeperByRole(pp)) action_Run(pp, ACTION_SETPIECE_ENTER);
      });
      break;
    case GAME_MODE_KEEPER_HANDS:
      EveryPlayer(ACTION_KEEPER_HANDS);
      break;
    case GAME_MODE_SET_PIECE_SCRIPT: {
      Player* apoSkip[5] = {poTaker, referee_poOffenderGet(), referee_poFouledGet(), setp_poSubstituteGet(0),
                            setp_poSubstituteGet(1)};
      EachPlayer([&apoSkip](Player* pp) {
        for (Player* po : apoSkip)
          if (po == pp) return;
        action_Run(pp, ACTION_STAND);
      });
      break;
    }
    case GAME_MODE_PLAY_ON:
      EachPlayer([](Player* pp) {
        if (chaser_PlayerGet(pp) == pp) {
          if (!action_Run(pp, ACTION_TOUCH) && !action_Run(pp, ACTION_SUPPORT)) action_Run(pp, ACTION_CHASE);
        } else {
          action_Run(pp, ACTION_STAND);
        }
      });
      break;
    default:
      EveryPlayer(ACTION_STAND);
      break;
  }
}

std::int32_t action_AngleInRange(std::int32_t a, std::int32_t iFrom, std::int32_t iTo) {
  std::uint16_t d = static_cast<std::uint16_t>(a - iFrom);
  std::uint16_t w = static_cast<std::uint16_t>(iTo - iFrom);
  return d <= w ? 1 : 0;
}

std::int32_t action_AngleTan(std::int32_t iAngle) {
  std::int32_t s = QMathSin(iAngle) >> 4;
  std::int32_t c = QMathCos(iAngle) >> 4;
  // A quarter turn has no tangent: the steepest value of the type stands in.
  if (c == 0) return s >= 0 ? INT32_MAX : INT32_MIN;
  std::int64_t t = static_cast<std::int64_t>(QMathFixDiv(s, c)) * 4;
  if (t > INT32_MAX) return INT32_MAX;
  if (t < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(t);
}

// ---- Handlers of this module -------------------------------------------------------------------
ActionNode* action_StandHandler(ActionNode* poList) {
  ActionNode* po = poList;
  while (po) {
    Player* pp = po->poPlayer;
    action_Set(pp, ACTION_STAND);
    PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
    po = director_ListUnlink(po);
  }
  return nullptr;
}

ActionNode* action_NullHandler(ActionNode* poList) { return poList; }
ActionNode* touch_Identity(ActionNode* poList) { return poList; }
ActionNode* touch_IdentityAlt(ActionNode* poList) { return poList; }

ActionNode* action_ChaseHandler(ActionNode* poList) {
  Player* apo[PLAYER_MAX] = {};
  std::int32_t c = 0;
  for (ActionNode* po = poList; po && c < PLAYER_MAX; po = po->poNext) apo[c++] = po->poPlayer;
  Player* poTaken = chaser_ChaseTake(apo, c);
  if (!poTaken) return poList;
  for (ActionNode* po = poList; po; po = po->poNext) {
    if (po->poPlayer != poTaken) continue;
    bool bHead = po == poList;
    ActionNode* poNext = director_ListUnlink(po);
    return bHead ? poNext : poList;
  }
  return poList;
}

ActionNode* director_ListUnlink(ActionNode* poNode) {
  ActionNode* poNext = poNode->poNext;
  if (poNode->poPrev) poNode->poPrev->poNext = poNext;
  if (poNext) poNext->poPrev = poNode->poPrev;
  poNode->poPrev = nullptr;
  poNode->poNext = nullptr;
  return poNext;
}

// ---- Director -----------------------------------------------------------------------------------
Player* director_poPlayerGet() { return s_poDirector; }
void director_PlayerSet(Player* pp) { s_poDirector = pp; }

void director_Reset() {
  s_poDirector = match_HomeFirstPlayerGet();
  EachPlayer([](Player* pp) {
    if (player_IsGoalkeeper(pp)) {
      pp->iLastActionResult = 1;
    } else {
      pp->iLastActionResult = 0;
      action_ProgramReset(pp);
    }
  });
}

// One pass over the players on the pitch in match order, starting after the
// last one run. A last player no longer on the pitch starts the walk at the
// first home player.
Player* director_NextPlayerGet() {
  Player* apo[PLAYER_MAX];
  std::int32_t c = 0;
  std::int32_t iAt = -1;
  EachPlayer([&](Player* pp) {
    if (c >= PLAYER_MAX) return;
    if (pp == s_poDirector) iAt = c;
    apo[c++] = pp;
  });
  Player* poFound = nullptr;
  std::int32_t cSteps = iAt >= 0 ? c - 1 : c;
  for (std::int32_t k = 1; k <= cSteps && !poFound; k++) {
    Player* pp = apo[(iAt + k) % c];
    if (pp->iLastActionResult == 0) poFound = pp;
  }
  if (!poFound && iAt >= 0 && s_poDirector->iLastActionResult == 0) poFound = s_poDirector;
  if (poFound) {
    QDX_ASSERT(poFound->ID < 22);
    s_poDirector = poFound;
  }
  return poFound;
}

void director_Update() {
  std::int32_t n = pcstub_iGetDirectorBatch();
  for (std::int32_t i = 0; i < n; i++) {
    Player* pp = director_NextPlayerGet();
    if (!pp) {
      director_Reset();
      return;
    }
    std::int32_t e = action_RecordLoad(pp);
    pp->iLastActionResult = action_Run(pp, e);
    if (pp->iLastActionResult) {
      action_ProgramReset(pp);
    } else {
      action_RunForPlayer(pp);
    }
  }
}

// ---- Closing down -------------------------------------------------------------------------
Player* closedown_poPlayerGet() { return s_poCloseDown; }
std::int32_t closedown_DelayGet() { return s_iCloseDownDelay; }
void closedown_DelaySet(std::int32_t iTicks) { s_iCloseDownDelay = iTicks; }

void closedown_PlayerChoose() {
  Player* poHolder = ball_OwnerGet();
  if (!poHolder) {
    s_poCloseDown = nullptr;
    return;
  }
  if (s_iCloseDownDelay > 0) {
    s_poCloseDown = nullptr;
    s_iCloseDownDelay--;
    return;
  }
  std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
  Player* poBest = nullptr;
  std::int32_t iBestSector = 0;
  std::int64_t iBestDist = 0;
  for (Player* pp = match_OtherTeamFirstPlayerGet(); pp; pp = pp->pNext) {
    if (player_IsGoalkeeper(pp)) continue;
    std::int32_t gx = pp->Direction == 1 ? -9360 : 9360;
    std::int32_t iHeading = QMathAtan2(gx - bx, -by) & 0xFFFF;
    std::int32_t s = roles_SectorFind(bx, by, pp->x, pp->y, iHeading, user_aiSectorTable, USER_SECTOR_ROWS);
    std::int64_t dx = pp->x - bx, dy = pp->y - by;
    std::int64_t d = dx * dx + dy * dy;
    if (!poBest || s < iBestSector || (s == iBestSector && d < iBestDist)) {
      poBest = pp;
      iBestSector = s;
      iBestDist = d;
    }
  }
  s_poCloseDown = poBest;
}
