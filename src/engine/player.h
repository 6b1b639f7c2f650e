#pragma once
// The Player record: every footballer on the pitch and the referee. Twenty-two
// live in two arrays of eleven (home ids 0..10, away 11..21; 0 and 11 keep
// goal); the referee has id 255. The PlayerO_ accessors read and write its
// fields; the player_ queries search the players on the pitch.
#include <cstdint>

#include "engine/anim.h"

struct DBPlayer;
struct GoalieObject;
struct User;
struct ZoneBox;

constexpr std::int32_t PLAYER_TEAM_SIZE = 11;
constexpr std::int32_t PLAYER_MAX = 22;
constexpr std::uint8_t PLAYER_ID_REFEREE = 255;
constexpr std::uint16_t PLAYER_STAMINA_FULL = 700;  // a fresh player's stamina, its most

enum : std::int32_t {
  player_PlaysFor_Home = 1,
  player_PlaysFor_Away = 2,
};
enum : std::int32_t {
  PLAYER_CONTROL_USER = 1,
  PLAYER_CONTROL_COMPUTER = 2,
  PLAYER_CONTROL_NONE = 3,  // skipped by the action handlers
};

// Player search flags.
enum : std::int32_t {
  PLAYER_SEARCH_ALL = 1,
  PLAYER_SEARCH_POSSESSION = 2,
  PLAYER_SEARCH_DEFENDING = 4,
  PLAYER_SEARCH_HOME = 8,
  PLAYER_SEARCH_AWAY = 16,
  PLAYER_SEARCH_NOT_BEYOND = 32,  // skip players beyond the point toward their goal
};

constexpr std::int32_t PLAYER_GRID_ROWS = 15;
constexpr std::int32_t MOVE_EVENT_MAX = 8;  // events 1..7; slot 0 unused

struct AIInfo {
  const std::uint8_t* pbProgram;   // the current action record
  std::int8_t eAction;
  std::uint8_t ePrevAction;
  std::uint8_t abParams[3];        // parameter bytes of the current record
  std::int8_t cParams;
  std::uint8_t abKeeperProgram[2]; // {4, 0}
  std::int32_t iPlayerZoneClass;
  std::int32_t iBallZoneClass;
  const std::uint8_t* pbChoices;   // choice list and its count
  std::int32_t cChoices;
  // Option-search window.
  std::int32_t iWinMinCol;
  std::int32_t iWinMaxCol;
  std::int32_t iWinMinRow;
  std::int32_t iWinMaxRow;
  std::int32_t iLowerBound;
  std::int32_t iUpperBound;
  std::int32_t iZoneCountdown;
  const std::int8_t* piRowOrder;
  std::int32_t iWantedValue;
  // Zones.
  const ZoneBox* poZoneBoxList;    // root of the current zone tree
  std::int32_t iAttackingMode;
  std::int32_t iZoneFlip;
  std::int32_t bIsAttacking;
  std::int32_t iFlags;             // 2 an option cell found, 32 a line cell found
};

struct TouchRecord {
  std::int32_t iState;             // 1..7
  std::int32_t iContactMark;       // 1 = his team's contact player
  std::int32_t iTimer;
  std::int32_t aiOffset[2];
};

struct ReceiverRecord {
  Player* poReceiver;
  std::int32_t x;
  std::int32_t y;
  std::int32_t bBent;
};

struct SetPieceRecord {
  std::int32_t iEnterState;        // 1 initially
  std::int32_t iPosState;          // 1 moving, 2 waiting, 3 choosing, 4 kicking
  std::int32_t iAnim;
  std::int16_t iTargetX;
  std::int16_t iTargetY;
  std::int32_t iWait;
  const std::int32_t* piOptions;   // up to three zone ids, -1 none
  std::int32_t cOptions;
  std::int32_t iTreeKey;
};

struct SetPieceRoleWords {
  std::int32_t iWanderState;       // 1 choose, 2 moving, 3 waiting
  std::int32_t iRole;
  std::int32_t iWanderWait;
  std::int32_t iWanderX;
  std::int32_t iWanderY;
  std::int32_t iWanderAnim;
  std::int32_t iWallNumber;
};

struct RoleRecord {
  std::int32_t iAttackTree;
  std::int32_t iDefendTree;
  std::int32_t iBallTree;
  std::int32_t iSetPieceTree;
  std::int32_t iAttackSet;
  std::int32_t iDefendSet;
  std::int32_t iBallSet;
  std::int32_t iFlip;
};

struct Player {
  std::uint8_t ID;                 // 0..21; 255 the referee
  std::int32_t Control;            // PLAYER_CONTROL_*
  std::int32_t MyTeam;             // player_PlaysFor_*
  std::int32_t Direction;          // 1 attacks toward +x, 0 toward -x
  std::int32_t iResetWord;         // cleared at kick-off, kept at restarts
  std::int32_t PositionCode;       // 0..24; 0 the goalkeeper
  DBPlayer* pDBPlayer;
  std::int32_t MoveState;
  std::int32_t PrevMoveState;
  std::int16_t iFacing;            // 802 a turn
  std::uint16_t uWantedFacing;
  std::int16_t iDisplayFacing;
  std::int16_t iTurnStep;
  std::int16_t iSpeed;             // units a tick
  std::int16_t iWantedSpeed;
  std::int16_t x;
  std::int16_t height;
  std::int16_t y;
  User* pUser;
  std::int32_t bUserSteered;
  std::uint16_t uStickMagnitude;
  std::uint16_t uStickAngle;
  std::int32_t bHidden;            // no user marker while set
  Player* pNext;                   // next player of his side's chain on the pitch
  std::int32_t aiMarking[4];       // marking state, marked flag, marked player index, spare
  std::uint16_t auOpponentGrid[PLAYER_GRID_ROWS];
  std::uint16_t auOccupancy[PLAYER_GRID_ROWS];
  Player* poStrikeLink;
  AIInfo oAIInfo;
  AnimData oAnimData;
  AnimInfo oAnimInfo;
  std::uint8_t abMoveEvents[MOVE_EVENT_MAX];
  std::int32_t aiCover[7];
  std::int16_t iKnocks;
  std::uint16_t uPower;            // 100 x database byte 66
  std::uint16_t uStamina;          // 0..700
  SetPieceRoleWords oSetPieceRole;
  GoalieObject* pGoalie;           // goalkeepers only
  TouchRecord oTouch;
  std::int32_t iApproachX;
  std::int32_t iApproachY;
  std::int32_t iNextTouchState;
  std::uint32_t eKickAnim;
  std::int32_t iInterceptEntry;
  std::int32_t iInterceptX;
  std::int32_t iInterceptHeight;
  std::int32_t iInterceptY;
  ReceiverRecord oReceiver;
  std::int32_t iRunDistance;
  std::int32_t iRunAngle;
  std::int32_t iLastActionResult;
  std::int32_t iSupportState;
  SetPieceRecord oSetPiece;
  std::int32_t iReactionDelay;
  RoleRecord oRole;
  std::uint16_t uHeadAngle;        // 16-bit angle of the head turn
  // Movement.
  std::int16_t iTurnAboutAngle;    // degrees, turn-about only
  std::int16_t iTurnRate;
  std::int16_t iTurnRateMag;
  std::uint8_t abPendingEvents[MOVE_EVENT_MAX];   // the priority dispatcher's pending set
  std::uint32_t aePendingAnims[MOVE_EVENT_MAX];
  std::int32_t bCollide;           // takes part in collision pushes
  std::int32_t bFouled;            // recorded as fouled (the referee reads it)
  std::int32_t iCardState;         // 0 none, 1 booked, 2 sent off in this match
  std::int32_t bOnScreen;          // set by the match drawing: 1 when his model was last in view
};

extern Player player_aHome[PLAYER_TEAM_SIZE];
extern Player player_aAway[PLAYER_TEAM_SIZE];
extern Player player_oReferee;

// ---- Accessors --------------------------------------------------------------
std::int32_t PlayerO_PositionCodeGet(const Player* pPlayerO);
void PlayerO_PositionCodeSet(Player* pPlayerO, std::int32_t iCode);
std::int32_t PlayerO_ControlGet(const Player* pPlayerO);
void PlayerO_ControlSet(Player* pPlayerO, std::int32_t iControl);
std::int32_t PlayerO_MyTeamGet(const Player* pPlayerO);
void PlayerO_MyTeamSet(Player* pPlayerO, std::int32_t iTeam);
std::int32_t PlayerO_DirectionGet(const Player* pPlayerO);
void PlayerO_DirectionSet(Player* pPlayerO, std::int32_t iDirection);
std::int32_t PlayerO_MoveStateGet(const Player* pPlayerO);
void PlayerO_MoveStateSet(Player* pPlayerO, std::int32_t iState);
std::int32_t PlayerO_AngleGet(const Player* pPlayerO);
void PlayerO_AngleSet(Player* pPlayerO, std::int32_t iAngle);
std::int32_t PlayerO_TargetAngleGet(const Player* pPlayerO);
void PlayerO_TargetAngleSet(Player* pPlayerO, std::int32_t iAngle);
std::int32_t PlayerO_SpeedGet(const Player* pPlayerO);
void PlayerO_SpeedSet(Player* pPlayerO, std::int32_t iSpeed);
void PlayerO_SpeedAdd(Player* pPlayerO, std::int32_t iDelta);
void PlayerO_SpeedSub(Player* pPlayerO, std::int32_t iDelta);
std::int32_t PlayerO_XGet(const Player* pPlayerO);
void PlayerO_XSet(Player* pPlayerO, std::int32_t x);
void PlayerO_XAdd(Player* pPlayerO, std::int32_t dx);
std::int32_t PlayerO_YGet(const Player* pPlayerO);
void PlayerO_YSet(Player* pPlayerO, std::int32_t y);
void PlayerO_YAdd(Player* pPlayerO, std::int32_t dy);
std::int32_t PlayerO_KnocksGet(const Player* pPlayerO);
void PlayerO_StrikeLinkSet(Player* pPlayerO, Player* poTarget);
void PlayerO_UserSteerClear(Player* pPlayerO);
DBPlayer* PlayerO_DBPlayerGet(const Player* pPlayer);
// Database attribute bytes, clamped to 0..100.
std::int32_t PlayerO_Attr52Get(const Player* pPlayer);
std::int32_t PlayerO_Attr52Get2(const Player* pPlayer);
std::int32_t PlayerO_Attr54Get(const Player* pPlayer);
std::int32_t PlayerO_Attr55Get(const Player* pPlayer);
std::int32_t PlayerO_Attr56Get(const Player* pPlayer);
std::int32_t PlayerO_Attr57Get(const Player* pPlayer);
std::int32_t PlayerO_Attr60Get(const Player* pPlayer);
std::int32_t PlayerO_Attr61Get(const Player* pPlayer);
std::int32_t PlayerO_Attr66Get(const Player* pPlayer);
std::int32_t PlayerO_Attr67Get(const Player* pPlayer);
std::int32_t PlayerO_Attr68Get(const Player* pPlayer);
std::int32_t PlayerO_Attr69Get(const Player* pPlayer);
std::int32_t PlayerO_Attr70Get(const Player* pPlayer);
void PlayerO_MoveToSet(Player* pPlayer, std::int32_t x, std::int32_t y, std::uint32_t eAnim);
std::int32_t PlayerO_IsFreeToAct(const Player* pPlayer);

// ---- Queries ------------------------------------------------------------------
std::int32_t player_IsGoalkeeper(const Player* pp);  // ids 0 and 11
std::int32_t player_Search(Player** ppOut, std::int32_t x, std::int32_t y, std::int32_t iRMin,
                           std::int32_t iRMax, std::int32_t iIndex, std::int32_t iFlags);
std::int32_t player_NearestFreeMateFind(Player** ppOut, const Player* pp, std::int32_t x, std::int32_t y,
                                        std::int32_t iRadius);
std::int32_t player_NearestMateFind(Player** ppOut, const Player* pp, std::int32_t x, std::int32_t y,
                                    std::int32_t iRadius);
std::int32_t player_NearestUserMateFind(const Player* pp, Player** ppOut);
std::int32_t player_NearestOpponentFind(Player** ppOut, const Player* pp, std::int32_t iRadius);
std::int32_t player_NearestOpponentDistGet(const Player* pp);
std::int32_t player_NearestAnyFind(Player** ppOut, std::int32_t x, std::int32_t y);
std::int32_t player_NearestAnyFind0(Player** ppOut, std::int32_t x, std::int32_t y);  // distance 0 too
Player* player_NearestOfSideFind(std::int32_t x, std::int32_t y, std::int32_t iSide);
std::int32_t player_NearestAttackerToBallFind(Player** ppOut);
void player_NearestToBallFind(std::int32_t iSide, Player** ppOut, std::int32_t* piDist2);
std::int32_t player_IsGoalSideOf(const Player* pp, std::int32_t x, std::int32_t iFlag);
std::int32_t player_IsBeyondX(const Player* pp, std::int32_t x);
std::int32_t player_IsShortOfX(const Player* pp, std::int32_t x);
std::int32_t player_IsAheadWithin(const Player* pp, const Player* poOther, std::int32_t d);
std::int32_t player_GoalDistanceGet(const Player* pp);
std::int32_t player_IsNear(const Player* pp, std::int32_t x, std::int32_t y);
std::int32_t player_IsAnimKick(const Player* pp);
std::int32_t player_IsAnimType4(const Player* pp);
std::int32_t player_IsAttacking(const Player* pp);
std::int32_t player_IsNotAttacking(const Player* pp);
std::int32_t player_IsUserControlled(const Player* pp);
void player_PositionGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
void player_FaceTowards(Player* pp, std::int32_t x, std::int32_t y);
void player_FacingSet(Player* pp, std::int32_t iAngle16);
User* player_UserGet(const Player* pp);
void player_PassUserSwitch(Player* pp, std::int32_t x, std::int32_t y);
void player_OpponentGridBuild(Player* pp);
// Whole-number distance (square root truncated) and squared distance.
std::int32_t player_Dist(std::int32_t dx, std::int32_t dy);
std::int64_t player_Dist2(std::int32_t dx, std::int32_t dy);

// The engine step of one match tick.
void player_FrameUpdate();

// ---- Initialisation ---------------------------------------------------------------
void plyrInit_KickOffInit(Player* pPlayer, std::int32_t iControl);
void plyrInit_RestartInit(Player* pPlayer);
void plyrInit_UserMarkersUpdate();
