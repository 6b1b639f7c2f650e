#pragma once
// The goalkeepers' state machine: positioning between ball and goal, the
// come-out alert, smothering, the save chosen from the save table and moved
// along its animation toward the ball, catches, parries and misses, the
// recovery and holding of the ball, the penalty guess.
#include <cstdint>

struct ActionNode;
struct BallPathEntry;
struct Player;

constexpr std::int32_t NEWGOAL_SAVE_ROWS = 19;
constexpr std::int32_t NEWGOAL_SAVE_WORDS = 10;
constexpr std::int32_t NEWGOAL_HEIGHT_CLASSES = 18;
constexpr std::int32_t NEWGOAL_SPEED_CLASSES = 14;
constexpr std::int32_t NEWGOAL_SMOTHER_ROW = 18;

// Words of a save-table row.
enum : std::int32_t {
  NEWGOAL_WORD_ANIM1 = 0,
  NEWGOAL_WORD_RECOVER1 = 1,
  NEWGOAL_WORD_PARAM1 = 2,
  NEWGOAL_WORD_ANIM2 = 3,
  NEWGOAL_WORD_RECOVER2 = 4,
  NEWGOAL_WORD_PARAM2 = 5,
  NEWGOAL_WORD_MOVE_AFTER = 6,
  NEWGOAL_WORD_REACH = 7,
};

extern const std::int32_t newgoal_aaiSaveTable[NEWGOAL_SAVE_ROWS][NEWGOAL_SAVE_WORDS];
extern const std::int8_t newgoal_aaiSaveChoice[2][NEWGOAL_HEIGHT_CLASSES][NEWGOAL_SPEED_CLASSES];

// The motion record of a keeper's save (0 home, 1 away).
struct NewgoalMotion {
  std::int32_t iStartX;
  std::int32_t iStartHeight;
  std::int32_t iStartY;
  std::int32_t iX128;
  std::int32_t iY128;
  std::int32_t iHeight128;
  std::int32_t iStepX;
  std::int32_t iStepY;
  std::int32_t iStepHeight;
  std::int32_t aiSaveOffset[3];  // ball point minus the hands at the animation's end
  std::int32_t iStepLimit;
};

// ---- The machine -------------------------------------------------------------------
ActionNode* newgoal_ActionHandler(ActionNode* poList);
// The keeper's joints refreshed from his pose, then one tick of his machine.
void newgoal_StateMachineRun(Player* poKeeper);
// After a goal: the keeper the celebration does not name stands.
void newgoal_CelebrationStand(Player* poKeeper);
void newgoal_Update(Player* poKeeper);
// Hold count, flags, alerts and motion records back to rest (match set-up).
void newgoal_MatchReset();

// ---- Shared words --------------------------------------------------------------------
void newgoal_KeeperCountSet();
std::int32_t newgoal_KeeperCountGet();
void newgoal_SideFlagSet(std::int32_t iSide, std::int32_t bFlag);
std::int32_t newgoal_SideFlagGet(std::int32_t iSide);
void newgoal_KeeperFlagSet(const Player* poKeeper, std::int32_t bFlag);
std::int32_t newgoal_IsAnyKeeperFlagged();
std::int32_t newgoal_GuessedFlagGet();
const NewgoalMotion* newgoal_MotionGet(std::int32_t i);

// Queries of other modules.
void newgoal_FollowUp(Player* poKeeper);
std::int32_t newgoal_StateGet(const Player* poKeeper);
std::int32_t newgoal_SaveRowGet(const Player* poKeeper);
std::int32_t newgoal_SaveSideGet(const Player* poKeeper);
std::int32_t newgoal_CatchFlagGet(const Player* poKeeper);
void newgoal_ReactionDelaySet(Player* poKeeper, std::int32_t iTicks);

// ---- Pieces of the decision ------------------------------------------------------------
std::int32_t newgoal_HeightClassGet(std::int32_t iHeight);
std::int32_t newgoal_SpeedClassGet(std::int32_t iLateral, std::int32_t iTicks);
std::int32_t newgoal_SaveRowChoose(std::int32_t iTable, std::int32_t iHeightClass, std::int32_t iSpeedClass);
// Column 2 when the point lies to the keeper's left of his facing, else 1.
std::int32_t newgoal_ColumnGet(const Player* poKeeper, std::int32_t x, std::int32_t y);
// Distance across the keeper's facing to the point.
std::int32_t newgoal_LateralGet(const Player* poKeeper, std::int32_t x, std::int32_t y);
// Reach of a save of the given reach class (draws one random for classes 1, 2).
std::int32_t newgoal_ReachGet(std::int32_t iClass, std::int32_t iSkill);
// Whether the keeper can get to a path entry (random draws).
std::int32_t newgoal_ReachTest(const Player* poKeeper, const BallPathEntry* poEntry);
// Sector 0..8 of a penalty's entry for the keeper of the given side.
std::int32_t newgoal_PenaltySectorGet(std::int32_t iSide, std::int32_t y, std::int32_t iHeight);
std::int32_t newgoal_IsBallHis(const Player* poKeeper);
// The frame at which a save clip meets the ball: its contact frame, or the
// frame it holds at its end when it has none.
std::int32_t newgoal_MeetFrameGet(std::uint32_t eAnim);
// Sets up the save toward a path entry; 0 when none was set up.
std::int32_t newgoal_SaveSetUp(Player* poKeeper, const BallPathEntry* poEntry);
// The point the positioning sends the keeper to.
void newgoal_PositionTargetGet(const Player* poKeeper, std::int32_t* px, std::int32_t* py);
void newgoal_Position(Player* poKeeper);
void newgoal_AlertUpdate(Player* poKeeper);
