// Handlers and services the action table installs before their modules
// exist: each returns its list unchanged (nobody is taken, the program moves
// on) or does nothing. Each goes when its module lands.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/zone.h"

// ---- Set pieces and restarts ----------------------------------------------------------
ActionNode* setp_ExitHandler(ActionNode* poList) { return poList; }
ActionNode* setp_WallHandler(ActionNode* poList) { return poList; }
ActionNode* setp_ZoneWanderHandler(ActionNode* poList) { return poList; }
ActionNode* setp_EnterHandler(ActionNode* poList) { return poList; }
ActionNode* sppen_Handler(ActionNode* poList) { return poList; }
ActionNode* spfk_Handler(ActionNode* poList) { return poList; }
ActionNode* spgk_Handler(ActionNode* poList) { return poList; }
ActionNode* spcorn_Handler(ActionNode* poList) { return poList; }
ActionNode* spthrow_Handler(ActionNode* poList) { return poList; }
ActionNode* spko_Handler(ActionNode* poList) { return poList; }
ActionNode* sphands_Handler(ActionNode* poList) { return poList; }
Player* referee_poInjuredGet() { return nullptr; }
Player* setp_poSubstituteGet(std::int32_t) { return nullptr; }
void refact_Update() {}
Player* match_poScorerGet() { return ball_WhoKickedGet(); }

// ---- Goalkeepers ------------------------------------------------------------------------
ActionNode* newgoal_ActionHandler(ActionNode* poList) { return poList; }
void newgoal_StateMachineRun(Player*) {}
void newgoal_CelebrationStand(Player* poKeeper) {
  PlayerO_SpeedSet(poKeeper, 0);
  PlayerO_MoveToSet(poKeeper, poKeeper->x, poKeeper->y, ANIM_STAND);
}

// ---- Ball-holder and reaction actions, retreats, touch machine -------------------------------
ActionNode* action_HolderChooseHandler(ActionNode* poList) { return poList; }
ActionNode* action_SupportHandler(ActionNode* poList) { return poList; }
ActionNode* touch_Handler(ActionNode* poList) { return poList; }
ActionNode* action_UserSupportHandler(ActionNode* poList) { return poList; }
ActionNode* action_AttackIdleHandler(ActionNode* poList) { return poList; }
ActionNode* action_ShootOrPassHandler(ActionNode* poList) { return poList; }
ActionNode* action_ClearHandler(ActionNode* poList) { return poList; }
ActionNode* action_PassToMateHandler(ActionNode* poList) { return poList; }
ActionNode* action_GoalCelebrateHandler(ActionNode* poList) { return poList; }
ActionNode* action_CrossHandler(ActionNode* poList) { return poList; }

// ---- Program sets -----------------------------------------------------------------------------
// Two programs until the generated sets land: the holder tries a shot, a
// cross and passes into the forward sectors; the others react, press and
// take up a formation point.
namespace {
const std::uint8_t kHolderProgram[] = {43, 0, 42, 0, 6, 3, 1, 2, 50, 6, 3, 8, 3, 50, 6, 3, 2, 3, 50,
                                       6,  3, 7, 3, 50, 6, 3, 3, 3, 50, 46, 1, 1, 23, 1, 0, 0, 0};
const std::uint8_t kOffBallProgram[] = {35, 0, 45, 0, 15, 3, 8, 5, 60, 0, 0};
}  // namespace

const std::uint8_t* action_ProgramGet(std::int32_t iSet, std::int32_t) {
  for (std::int32_t i = 0; i < ROLES_CODES; i++)
    if (roles_aTable[i][6] == iSet) return kHolderProgram;
  return kOffBallProgram;
}
