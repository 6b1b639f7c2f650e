#pragma once
// Set pieces: the one block of state every restart shares (taker, partner,
// the command word user input and the computer steer the kick through, the
// kind, the aim), the per-player set-piece record, the generic handlers
// (walk-on, walk-off, zone wandering, the wall), the taker's aim and the
// set-piece kick; and the seven kinds' handlers (corner, free kick, goal
// kick, keeper's ball in hand, kick-off, penalty, throw-in).
#include <cstdint>

struct ActionNode;
struct Player;
struct PowerGauge;

// ---- Commands and kinds ---------------------------------------------------------------
enum SetpCommand : std::int32_t {
  SETP_CMD_NONE = 0,
  SETP_CMD_KICK = 1,
  SETP_CMD_AIM_LEFT = 4,    // aim +4
  SETP_CMD_AIM_RIGHT = 5,   // aim -4
  SETP_CMD_RELEASE = 6,     // goal kick, keeper's ball: pass short / roll
  SETP_CMD_LOFT_DOWN = 7,
  SETP_CMD_LOFT_UP = 8,
  SETP_CMD_KEEPER_A = 13,   // penalty keeper choices of the penalty modes
  SETP_CMD_KEEPER_B = 14,
  SETP_CMD_PEN_SCORED = 15,
  SETP_CMD_PEN_MISSED = 16,
  SETP_CMD_HOLD = 18,       // attackers stop choosing (free kick: direct shot ready)
  SETP_CMD_READY = 19,      // goal kick and keeper's ball: kick long / throw
};

// 0..7 throw-in by eighth of the pitch length, 8 corner, 9..14 free kick by
// the fouled player's zone 70..75, 15 any other free kick.
constexpr std::int32_t SETP_KIND_CORNER = 8;
constexpr std::int32_t SETP_KIND_FREEKICK_FIRST = 9;
constexpr std::int32_t SETP_KIND_OTHER_FREEKICK = 15;
constexpr std::int32_t SETP_KINDS = 16;

// Player-record states.
constexpr std::int32_t SETP_POS_MOVING = 1;
constexpr std::int32_t SETP_POS_WAITING = 2;
constexpr std::int32_t SETP_POS_CHOOSING = 3;
constexpr std::int32_t SETP_POS_KICKING = 4;

// Results of the taker operations.
constexpr std::int32_t SETP_DONE = 2;
constexpr std::int32_t SETP_NOT_YET = 3;

// Arrival range of the walks (units, Euclidean).
constexpr std::int32_t SETP_ARRIVE = 72;

// ---- Shared state --------------------------------------------------------------------------
void setp_Init();
// Everything of the set pieces of one match (the aim and its swing among it)
// as the program starts it.
struct MatchStateBlock;
MatchStateBlock setp_MatchState();
void setp_MatchReset();
void setp_Reset(Player* pp);
void setp_RecordInit(Player* pp);
void setp_AimDefaults();

void setp_KickTakerSet(Player* pp);
Player* setp_poGetKickTaker();
Player* setp_poGetKickTakerPlayer();
void setp_PartnerSet(Player* pp);
Player* setp_poGetPartner();
Player* setp_poPartnerGet();

void setp_CommandSet(std::int32_t iCommand);
std::int32_t setp_CommandGet();
void setp_CommandClear();

// A kind outside 0..15 asserts.
void setp_KindSet(std::int32_t iKind);
std::int32_t setp_KindGet();
std::int32_t setp_KindGetAlt();  // the same kind, for the restart modes
// Throw-in kind of a restart at x: the eighth of the pitch length, counted
// from the end the throwing side defends (0..7).
std::int32_t setp_ThrowInKindGet(std::int32_t x, std::int32_t iDirection);

void setp_AimAngleSet(std::int32_t iAngle);  // 802 a turn
std::int32_t setp_AimAngleGet();
std::int32_t setp_AngleGet();  // the same aim, for the camera and users
void setp_KickDistanceSet(std::int32_t iDistance);
std::int32_t setp_KickDistanceGet();
void setp_AimPointSet(std::int32_t x, std::int32_t y);
void setp_AimPointGet(std::int32_t* px, std::int32_t* py);
PowerGauge* setp_poGetAimMarker();
void setp_AimMarkerRefresh();
void setp_PowerSet(std::int32_t iPower);
std::int32_t setp_PowerGet();
void setp_LoftSet(std::int32_t iLoft);
std::int32_t setp_LoftGet();
void setp_SpinSet(std::int32_t iSpin);
std::int32_t setp_SpinGet();
void setp_KickAngleSet(std::int32_t iAngle);
std::int32_t setp_KickAngleGet();
void setp_AimSectorSet(std::int32_t iSector);
std::int32_t setp_AimSectorGet();
// Penalty aim sector (0..7, 45-degree sectors) of a direction in degrees;
// the -x end turns it by a half turn.
std::int32_t setp_AimSectorFromAngle(std::int32_t iDegrees);
void setp_PenaltyFlagSet(std::int32_t bFlag);
std::int32_t setp_PenaltyFlagGet();
void setp_AimSwingSet(std::int32_t iSwing);
std::int32_t setp_AimSwingGet();
void setp_AimDriftSet(std::int32_t iDrift);
std::int32_t setp_AimDriftGet();
void setp_AimOffsetSet(std::int32_t iOffset);
std::int32_t setp_AimOffsetGet();

void setp_EnterCountInc();
void setp_EnterCountDec();
std::int32_t setp_iGetEnterCount();
void setp_WallCountClear();
void setp_StandStillSet(std::int32_t bFlag);
std::int32_t setp_StandStillGet();
std::int32_t setp_UserAimGet();

// ---- Per-player record ------------------------------------------------------------------
void setp_WordSet(Player* pp, std::int32_t iState);  // enter state
std::int32_t setp_WordGet(const Player* pp);
void setp_StateSet(Player* pp, std::int32_t iState);  // position state
std::int32_t setp_StateGet(const Player* pp);
void setp_TargetPointSet(Player* pp, std::int32_t x, std::int32_t y);
void setp_TargetPointGet(const Player* pp, std::int32_t* px, std::int32_t* py);
// Role: 2 and 6 start zone wandering, 8 joins the wall.
void setp_PlayerRoleSet(Player* pp, std::int32_t iRole);

// ---- Taker operations (2 done, 3 not yet) ----------------------------------------------
void setp_PlaceBehindBall(Player* pp, std::uint32_t eAnim);
void setp_ForEachUser(void (*pfn)(Player* poControlled));
std::int32_t setp_StateDone(Player* pp);
std::int32_t setp_BallInState(Player* pp);
std::int32_t setp_RefereeReadyState(Player* pp);
void setp_AttackPositionChoose(Player* pp);
std::int32_t setp_PositionUpdate(Player* pp);
std::int32_t setp_TakerAim(Player* poTaker);
std::int32_t setp_TakerRunUpdate(Player* pp);
std::int32_t setp_ExitRunUpdate(Player* pp);
std::int32_t setp_WaitIdleUpdate(Player* pp);
// Strike callbacks at the kick frame.
void setp_ShotChanceGet(Player* poTaker);
void setp_TakerKick(Player* poTaker);

// ---- Action handlers -------------------------------------------------------------------------
ActionNode* setp_EnterHandler(ActionNode* poList);
ActionNode* setp_ExitHandler(ActionNode* poList);
ActionNode* setp_ZoneWanderHandler(ActionNode* poList);
ActionNode* setp_WallHandler(ActionNode* poList);

// ---- Kinds ---------------------------------------------------------------------------------------
ActionNode* spcorn_Handler(ActionNode* poList);
ActionNode* spfk_Handler(ActionNode* poList);
ActionNode* spgk_Handler(ActionNode* poList);
ActionNode* sphands_Handler(ActionNode* poList);
ActionNode* spko_Handler(ActionNode* poList);
ActionNode* sppen_Handler(ActionNode* poList);
ActionNode* spthrow_Handler(ActionNode* poList);

// Corner: the aim arc (aim ±200 around the line to the penalty spot).
void spcorn_AimLimitsGet(std::int32_t* piLow, std::int32_t* piHigh);
// Clamps an aim into the arc [low, high] that may wrap at 802.
std::int32_t spcorn_AimClamp(std::int32_t iAim, std::int32_t iLow, std::int32_t iHigh);
// Free kick: the computer's choice for kind and draw r (0..99): the zone id
// (-1 a direct shot) and its tree.
std::int32_t spfk_ChoiceZoneGet(std::int32_t iKind, std::int32_t r, std::int32_t* piTree);
void spfk_ComputerUpdate(Player* poTaker);
// Goal kick: user commands and the launches.
void spgk_CommandUpdate(Player* poKeeper);
void spgk_AimPointKick(Player* poKeeper);
void spgk_PassLaunch(Player* poKeeper);
void spgk_KickLaunch(Player* poKeeper);
// Keeper's ball in hand: launches toward the stored launch point.
void sphands_LaunchPointSet(std::int32_t x, std::int32_t y);
void sphands_LaunchPointGet(std::int32_t* px, std::int32_t* py);
void sphands_RollLaunch(Player* poKeeper);
void sphands_DropKickLaunch(Player* poKeeper);
void sphands_ThrowLaunch(Player* poKeeper);
void sphands_Update(Player* poKeeper);
// A keeper's ball begins: nothing of the last one's end is left.
void sphands_Start();
// The ball went over a line, carried or kicked, while the keeper's ball
// lasts: the keeper's ball is over, and open play judges where it went out
// as it judges any held or moving ball that crosses a line.
void sphands_BallOut();
// Penalty: the aim sweep and the reaction to the outcome.
void sppen_AimUpdate(Player* poTaker);
std::int32_t sppen_ReactUpdate(Player* pp);
// The taker of a penalty, a shoot-out kick or a keeper's ball in hand has
// struck the ball: until then it is his alone. Every restart's set-up
// clears it.
void setp_KickStruckSet();
bool setp_bKickStruck();
// Throw-in: aim toward the partner (80 % of the way, clamped inside the lines).
void spthrow_AimUpdate(Player* poThrower);
void spthrow_ComputerUpdate(Player* poThrower);
void spthrow_AimPointClamp(std::int32_t* px, std::int32_t* py);

// ---- What the set pieces read and write in the referee ------------------------------------
// The restart record (restart point, offender, fouled player, each side's
// club state after the restart), the referee's action word and the decision
// latch.
std::int32_t referee_RestartXGet();
std::int32_t referee_RestartYGet();
void referee_RestartPointSet(std::int32_t x, std::int32_t y);
Player* referee_poOffenderGet();
void referee_OffenderSet(Player* pp);
Player* referee_poFouledGet();
void referee_FouledPlayerSet(Player* pp);
std::int32_t referee_HomeClubStateGet();
std::int32_t referee_AwayClubStateGet();
void referee_DecisionUnlock();
void referee_FoulLatchClear();
void referee_OffsideIgnoreNext();
void refact_ActionSet(std::int32_t iAction);
std::int32_t refact_ActionGet();
